// The number parser against the C library's strtod and strtol, and the two
// real formats written back: the fixed point of the ".new" file and the
// listing, the scientific form of the work-site file.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "data/TextNumbers.h"
#include "shell/app/WorkSite.h"

namespace {

using calctopo::fuzz::Finding;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The grammar of a number field: sign, digits with an optional '.', or '.'
// and digits, then an optional exponent.
bool InGrammar(const std::string& text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    return i == text.size();
}

void CheckReal(const std::string& text) {
    const std::optional<double> parsed = calctopo::ParseReal(text);
    if (!InGrammar(text)) {
        if (parsed) {
            Finding("ParseReal accepted '" + text + "'");
        }
        return;
    }
    // strtod reads the same grammar (the C locale's '.' is the program's).
    const double expected = std::strtod(text.c_str(), nullptr);
    if (std::isinf(expected)) {
        if (parsed) {
            Finding("ParseReal read an overflow '" + text + "'");
        }
        return;
    }
    if (!parsed) {
        Finding("ParseReal refused '" + text + "'");
    }
    // A value too small for a double reads as zero (strtod may give the
    // nearest subnormal instead).
    const bool bothTiny = std::fabs(expected) < 1e-300 && std::fabs(*parsed) < 1e-300;
    if (*parsed != expected && !bothTiny) {
        Finding("ParseReal misread '" + text + "'");
    }
    // Fixed point and back, as the ".new" file is read again.
    for (int decimals : {0, 3, 11}) {
        const std::string fixed = calctopo::FormatFixed(*parsed, decimals);
        const std::optional<double> again = calctopo::ParseReal(fixed);
        if (!again || std::fabs(*again - *parsed) > std::fabs(*parsed) * 1e-15 + 1.0) {
            Finding("FormatFixed does not read back: '" + fixed + "'");
        }
    }
    // The work-site form must read back, with its 15 digits.
    const std::string scientific = calctopo::FormatWorkSiteReal(*parsed);
    // (a blank stands for the sign of a positive value)
    const std::optional<double> back =
        calctopo::ParseReal(scientific[0] == ' ' ? scientific.substr(1) : scientific);
    if (scientific.size() != 23 || !back ||
        std::fabs(*back - *parsed) > std::fabs(*parsed) * 1e-14 + 1e-300) {
        Finding("FormatWorkSiteReal does not read back: '" + scientific + "'");
    }
}

void CheckInteger(const std::string& text) {
    const std::optional<std::int32_t> parsed = calctopo::ParseInteger(text);
    std::size_t i = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    bool digits = i < text.size();
    for (; i < text.size(); ++i) {
        digits = digits && IsDigit(text[i]);
    }
    if (!digits) {
        if (parsed) {
            Finding("ParseInteger accepted '" + text + "'");
        }
        return;
    }
    errno = 0;
    const long long expected = std::strtoll(text.c_str(), nullptr, 10);
    const bool fits = errno == 0 && expected >= INT32_MIN && expected <= INT32_MAX;
    if (fits != parsed.has_value() || (parsed && *parsed != expected)) {
        Finding("ParseInteger misread '" + text + "'");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.find('\0') != std::string::npos) {
        return 0;  // strtod would stop at it
    }
    CheckReal(text);
    CheckInteger(text);
    return 0;
}
