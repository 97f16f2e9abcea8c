#include "data/TextNumbers.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace calctopo {
namespace {

TEST(TextNumbers, AcceptsTheStrictGrammar) {
    EXPECT_EQ(ParseReal("12.5"), 12.5);
    EXPECT_EQ(ParseReal("-12.5"), -12.5);
    EXPECT_EQ(ParseReal("+3"), 3.0);
    EXPECT_EQ(ParseReal(".5"), 0.5);
    EXPECT_EQ(ParseReal("-.5"), -0.5);
    EXPECT_EQ(ParseReal("5."), 5.0);
    EXPECT_EQ(ParseReal("1e3"), 1000.0);
    EXPECT_EQ(ParseReal("1.5E-2"), 0.015);
    EXPECT_EQ(ParseReal("2e+2"), 200.0);
}

TEST(TextNumbers, RejectsWhatIsNotANumber) {
    for (const char* bad : {"", "+", "-", ".", "e5", "1e", "1e+", "12,5", "nan", "inf", "NaN",
                            "0x10", "1.2.3", "1 2", " 1", "1 ", "--1", "1e5.0", "1e400"}) {
        EXPECT_FALSE(ParseReal(bad).has_value()) << bad;
    }
}

TEST(TextNumbers, UnderflowReadsAsZero) {
    EXPECT_EQ(ParseReal("1e-400"), 0.0);
    EXPECT_EQ(ParseReal("0e999"), 0.0);
}

TEST(TextNumbers, OverflowAndUnderflowAreToldByMagnitudeNotByTheWrittenExponent) {
    // "1", 310 zeros, "e-1" is 1e309: above the largest double, not a number.
    EXPECT_FALSE(ParseReal("1" + std::string(310, '0') + "e-1").has_value());
    // "0.", 330 zeros, "1e1" is 1e-330: below the smallest double, zero.
    EXPECT_EQ(ParseReal("0." + std::string(330, '0') + "1e1"), 0.0);
    // A fuzzing finding: 1e-346 without an exponent, and negative.
    EXPECT_EQ(ParseReal("-." + std::string(345, '0') + "1"), -0.0);
    // Many digits that still make a double: 1e300 written as 1, 400 zeros, e-100.
    EXPECT_EQ(ParseReal("1" + std::string(400, '0') + "e-100"), 1e300);
    // An exponent of a million digits saturates instead of wrapping round.
    EXPECT_FALSE(ParseReal("1e" + std::string(1000000, '9')).has_value());
    EXPECT_EQ(ParseReal("1e-" + std::string(1000000, '9')), 0.0);
}

TEST(TextNumbers, ParsesThirtyTwoBitIntegers) {
    EXPECT_EQ(ParseInteger("7"), 7);
    EXPECT_EQ(ParseInteger("-12"), -12);
    EXPECT_EQ(ParseInteger("+5"), 5);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "2147483648", "1.0", "1e2", "a", "0x1", "99999999999999"}) {
        EXPECT_FALSE(ParseInteger(bad).has_value()) << bad;
    }
}

TEST(TextNumbers, FixedPointRoundsAsPrintf) {
    // Reference values from the C library's own "%*.*f".
    for (double v : {0.125, 2.5, 2.675, -0.05, 1000.5, 1e22, -1234.56789, 0.0, 999.9996}) {
        for (int decimals : {0, 1, 3, 4}) {
            char expected[512];
            std::snprintf(expected, sizeof expected, "%*.*f", 12, decimals, v);
            EXPECT_EQ(FormatFixed(v, decimals, 12), expected) << v << " " << decimals;
        }
    }
    EXPECT_EQ(FormatFixed(123456.789, 3, 4), "123456.789");  // wider than its field: in full
    // The largest double in full, and more decimals than any double needs.
    EXPECT_EQ(FormatFixed(1.7976931348623157e308, 0).size(), 309u);
    EXPECT_EQ(FormatFixed(0.5, 1100), "0.5" + std::string(1099, '0'));
}

TEST(TextNumbers, FormatsIntegersAndPads) {
    EXPECT_EQ(Format("Nombre : %6d", 42), "Nombre :     42");
    EXPECT_EQ(Format("%8s|%s", "A1", "B"), "      A1|B");
    EXPECT_EQ(PadLeft("ABCDEFGHI", 8), "ABCDEFGHI");
}

TEST(TextNumbers, ConvertsWindows1252AndUtf8BothWays) {
    const std::string accented = "calcul\xE9 \x80 \x9C";
    EXPECT_EQ(Cp1252ToUtf8(accented), "calculé € œ");
    EXPECT_EQ(Utf8ToCp1252("calculé € œ"), accented);
    // The undefined bytes map to the code points of the same value.
    EXPECT_EQ(Cp1252ToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Utf8ToCp1252("\u0081\u009D"), "\x81\x9D");
    EXPECT_EQ(Utf8ToCp1252("日"), "?");
}

TEST(TextNumbers, ConvertsUtf16ToUtf8) {
    // Windows arguments and file names: one, two and three UTF-8 bytes per unit,
    // and a surrogate pair (U+1D11E, four bytes).
    EXPECT_EQ(Utf16ToUtf8(u"Relev\u00E9s \u20AC \u6E2C \U0001D11E"), "Relevés € 測 \U0001D11E");
    EXPECT_EQ(Utf8ToCp1252(Utf16ToUtf8(u"r\u00E9sultat \u0153")), "r\xE9sultat \x9C");
    // A lone half of a pair (which Windows file names may hold) is no character.
    const char16_t loneHigh[] = {u'a', 0xD834, u'b', 0};
    const char16_t loneLow[] = {0xDD1E, 0};
    EXPECT_EQ(Utf16ToUtf8(loneHigh),
              "a\uFFFD"
              "b");
    EXPECT_EQ(Utf16ToUtf8(loneLow), "\uFFFD");
    EXPECT_EQ(Utf8ToCp1252(Utf16ToUtf8(loneLow)), "?");
}

}  // namespace
}  // namespace calctopo
