#include "data/TextNumbers.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <system_error>
#include <vector>

namespace calctopo {

namespace {

// Decimals that show any double exactly: the smallest subnormal, 2^-1074, has
// 1074 digits after the point.
constexpr int kMaxFixedDecimals = 1074;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Unicode code points of the bytes 0x80 to 0x9F in Windows-1252; the five
// undefined bytes keep their own value.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Saturation of the exponent arithmetic: far beyond any double's exponent
// (±324), far below overflowing a long long.
constexpr long long kExponentSaturation = 1'000'000'000'000LL;

long long Saturated(long long value) {
    return std::clamp(value, -kExponentSaturation, kExponentSaturation);
}

// The decimal exponent e of a number of the strict grammar with a non-zero
// digit: the number is d.ddd × 10^e with a first digit d from 1 to 9. The
// mantissa is text[mantissaStart, mantissaEnd), the exponent follows it.
long long DecimalExponent(std::string_view text, std::size_t mantissaStart,
                          std::size_t mantissaEnd) {
    long long integerDigits = 0;  // digits before the '.', leading zeros included
    long long firstNonZero = -1;  // position of the first non-zero digit among all digits
    long long position = 0;
    bool afterPoint = false;
    for (std::size_t i = mantissaStart; i < mantissaEnd; ++i) {
        if (text[i] == '.') {
            afterPoint = true;
            continue;
        }
        if (!afterPoint) {
            ++integerDigits;
        }
        if (firstNonZero < 0 && text[i] != '0') {
            firstNonZero = position;
        }
        ++position;
    }
    long long written = 0;
    if (mantissaEnd < text.size()) {
        std::string_view e = text.substr(mantissaEnd + 1);
        const bool negative = !e.empty() && e[0] == '-';
        if (!e.empty() && (e[0] == '+' || e[0] == '-')) {
            e.remove_prefix(1);
        }
        for (char c : e) {
            written = Saturated(written * 10 + (c - '0'));
        }
        written = negative ? -written : written;
    }
    return Saturated(written + integerDigits - firstNonZero - 1);
}

// Appends the Windows-1252 byte of a code point, or '?' (counted) when it has none.
void AppendCp1252(std::string& out, char32_t code, std::size_t* replaced) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
        out += static_cast<char>(code);
        return;
    }
    for (std::size_t k = 0; k < kCp1252High.size(); ++k) {
        if (kCp1252High[k] == code) {
            out += static_cast<char>(0x80 + k);
            return;
        }
    }
    out += '?';
    if (replaced != nullptr) {
        ++*replaced;
    }
}

}  // namespace

std::optional<double> ParseReal(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t integerDigits = 0;
    std::size_t fractionDigits = 0;
    bool nonZeroDigit = false;
    while (i < n && IsDigit(text[i])) {
        nonZeroDigit = nonZeroDigit || text[i] != '0';
        ++integerDigits;
        ++i;
    }
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) {
            nonZeroDigit = nonZeroDigit || text[i] != '0';
            ++fractionDigits;
            ++i;
        }
    }
    if (integerDigits + fractionDigits == 0) {
        return std::nullopt;
    }
    const std::size_t mantissaEnd = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            ++exponentDigits;
            ++i;
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != n) {
        return std::nullopt;
    }
    // from_chars takes no leading '+' and needs a digit before a lone '.'.
    std::string normal;
    normal.reserve(n + 2);
    if (text[0] == '-') {
        normal += '-';
    }
    if (integerDigits == 0) {
        normal += '0';
    }
    normal.append(text.substr(mantissaStart));
    double value = 0.0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (end != normal.data() + normal.size()) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        // Out of range is an overflow or an underflow, told apart by the
        // number's magnitude (its decimal exponent), not by the sign of the
        // written exponent: "1" and 310 zeros "e-1" is 1e309, too large, and
        // "0." with 330 zeros "1e1" is 1e-330, too small. A double overflows
        // only above 1e308 and underflows only below 1e-307, so the sign of
        // the decimal exponent decides.
        if (!nonZeroDigit || DecimalExponent(text, mantissaStart, mantissaEnd) < 0) {
            return text[0] == '-' ? -0.0 : 0.0;
        }
        return std::nullopt;
    }
    if (error != std::errc()) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1) {
            return std::nullopt;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::string FormatFixed(double value, int decimals, int width) {
    // to_chars gives the exact decimal expansion correctly rounded, as glibc's
    // printf does, and never looks at the locale. A double has at most 309
    // integer digits and needs at most kMaxFixedDecimals decimals to be shown
    // exactly, so more decimals would only add zeros.
    const int shown = std::clamp(decimals, 0, kMaxFixedDecimals);
    std::vector<char> buffer(static_cast<std::size_t>(shown) + 320);
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, shown);
    std::string text(buffer.data(), result.ec == std::errc() ? result.ptr : buffer.data());
    if (decimals > shown && std::isfinite(value)) {
        text.append(static_cast<std::size_t>(decimals - shown), '0');
    }
    return PadLeft(text, width < 0 ? 0 : static_cast<std::size_t>(width));
}

std::string Format(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list copy;
    va_copy(copy, arguments);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (size > 0) {
        text.resize(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(text.data(), text.size(), format, arguments);
        text.resize(static_cast<std::size_t>(size));
    }
    va_end(arguments);
    return text;
}

std::string PadLeft(std::string_view text, std::size_t width) {
    if (text.size() >= width) {
        return std::string(text);
    }
    return std::string(width - text.size(), ' ') + std::string(text);
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else if (byte < 0xA0) {
            AppendUtf8(out, kCp1252High[byte - 0x80]);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text, std::size_t* replaced) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        i += length;
        // An over-long form of an ASCII character (even of NUL) stands for
        // nothing a text may hold.
        AppendCp1252(out, code < 0x80 ? 0xFFFD : code, replaced);
    }
    return out;
}

std::string Utf16ToCp1252(std::string_view bytes, bool bigEndian, std::size_t* replaced) {
    std::string out;
    out.reserve(bytes.size() / 2 + 1);
    const auto unit = [&](std::size_t at) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    std::size_t i = 0;
    while (i + 1 < bytes.size()) {
        char32_t code = unit(i);
        i += 2;
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < bytes.size()) {
            const char32_t low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendCp1252(out, code, replaced);  // an unpaired surrogate has no byte
    }
    if (i < bytes.size()) {
        out += '?';
        if (replaced != nullptr) {
            ++*replaced;
        }
    }
    return out;
}

std::string WideToCp1252(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
                const auto low = static_cast<char32_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        AppendCp1252(out, code, nullptr);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    constexpr char32_t kReplacementCharacter = 0xFFFD;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            const char32_t next = text[++i];
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        } else if (high || low) {
            AppendUtf8(out, kReplacementCharacter);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace calctopo
