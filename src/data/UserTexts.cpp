#include "data/UserTexts.h"

#include "data/TextNumbers.h"

namespace calctopo::text_format {

namespace {

// printf's default number of decimals for %f.
constexpr int kDefaultRealDecimals = 6;

// What a conversion writes before its width is applied.
std::string Converted(const Argument& argument, int decimals) {
    switch (argument.kind) {
        case ArgumentKind::Integer:
            return std::to_string(argument.integer);
        case ArgumentKind::Size:
            return std::to_string(argument.size);
        case ArgumentKind::Real:
            return FormatFixed(argument.real, decimals < 0 ? kDefaultRealDecimals : decimals);
        case ArgumentKind::String:
            break;
    }
    // Written whole, a NUL byte too: a bad file name is echoed as it is.
    return std::string(argument.text);
}

}  // namespace

std::string Apply(const char* format, std::initializer_list<Argument> arguments) {
    std::string text;
    const Argument* next = arguments.begin();
    for (std::size_t i = 0; format[i] != '\0'; ++i) {
        if (format[i] != '%') {
            text += format[i];
            continue;
        }
        ++i;
        if (format[i] == '%') {
            text += '%';
            continue;
        }
        bool left = false;
        while (format[i] == '-') {
            left = true;
            ++i;
        }
        std::size_t width = 0;
        while (IsDigit(format[i])) {
            width = width * 10 + static_cast<std::size_t>(format[i] - '0');
            ++i;
        }
        int decimals = -1;
        if (format[i] == '.') {
            decimals = 0;
            ++i;
            while (IsDigit(format[i])) {
                decimals = decimals * 10 + (format[i] - '0');
                ++i;
            }
        }
        if (format[i] == 'z') {
            ++i;
        }
        // The compile-time check guarantees one argument per conversion.
        std::string value = Converted(*next++, decimals);
        if (value.size() < width) {
            const std::string blanks(width - value.size(), ' ');
            value = left ? value + blanks : blanks + value;
        }
        text += value;
    }
    return text;
}

std::string ApplyUtf8(const char* format, std::initializer_list<Argument> arguments) {
    const std::string utf8 = Cp1252ToUtf8(format);
    return Apply(utf8.c_str(), arguments);
}

}  // namespace calctopo::text_format
