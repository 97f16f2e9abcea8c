#include "data/UserTexts.h"

#include <clocale>
#include <cstddef>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace calctopo {
namespace {

using text_format::FormatFits;
using SV = std::string_view;

// The check that the constructor of Text runs at compile time. A format that
// disagrees with its types makes the constructor throw in a constant
// expression, which does not compile:
//
//     inline constexpr Text<int> kWrong{"Point : %8s"};   // error: not a constant
//
// The same check, callable in a constant expression, is proved here.
static_assert(FormatFits<SV, int, SV>("Erreur de lecture du fichier %s ligne %d champ %s : "));
static_assert(FormatFits<int>("Nombre de points connus : %6d"));
static_assert(FormatFits<std::size_t>("... (%zu caract\xe8res)"));
static_assert(FormatFits<SV, SV>("%-10s|%8s"));
static_assert(FormatFits<double>("%13.1f"));
static_assert(FormatFits<>("100 %% s\xfbr"));
static_assert(!FormatFits<int>("Point : %8s"));  // a string for an int
static_assert(!FormatFits<SV>("%d"));            // an int for a string
static_assert(!FormatFits<int>("%zu"));          // a size for an int
static_assert(!FormatFits<SV, SV>("%s"));        // one argument too many
static_assert(!FormatFits<SV>("%s et %s"));      // one argument missing
static_assert(!FormatFits<>("100 %"));           // a lone '%' at the end
static_assert(!FormatFits<double>("%e"));        // a conversion the catalogue lacks
static_assert(!FormatFits<SV>("%.3s"));          // precision on a string
// A text whose format fits can be defined; one that does not, cannot.
template <typename... Args>
concept DefinableAsConstant = requires {
    typename std::integral_constant<int, (Text<Args...>("%d"), 0)>;
};
static_assert(DefinableAsConstant<int>);
static_assert(!DefinableAsConstant<SV>);

// Exactly the bytes the program has always shown: accents as Windows-1252
// bytes, names right-aligned in eight, trailing blanks kept.
TEST(UserTexts, EntriesGiveTheBytesThePaneAndFilesShow) {
    EXPECT_EQ(TextOf(texts::kPointComputed, "P1"), "Point :       P1 calcul\xe9");
    EXPECT_EQ(TextOf(texts::kPointNotComputed, "LONGNOM9"), "Point : LONGNOM9 non calcul\xe9");
    EXPECT_EQ(TextOf(texts::kFileDoesNotExist, "C:\\a.cor"), "Le fichier C:\\a.cor n'existe pas ");
    EXPECT_EQ(TextOf(texts::kCoordinatesCannotOpen, "a.cor"),
              "L'ouverture du fichier  a.cor est impossible ");
    EXPECT_EQ(TextOf(texts::kObservationFieldError, "m.obs", 12, "x1"),
              "Erreur de lecture du fichier m.obs ligne 12 champ x1 : ");
    EXPECT_EQ(TextOf(texts::kCountHeightDifferences, 42),
              "Nombre de d\xe9nivell\xe9"
              "es   :     42");
    EXPECT_EQ(TextOf(texts::kIntersected, "P3", "P1", "P2"),
              "      P3 intersect\xe9 de       P1 et P2");
    EXPECT_EQ(TextOf(texts::kResected, "R", "A", "B", "C"),
              "       R relev\xe9 sur        A ,        B , et        C");
    EXPECT_EQ(TextOf(texts::kEchoedLength, std::size_t{4097}), "... (4097 caract\xe8res)");
    EXPECT_EQ(TextOf(texts::kCsvTolerance), "tol\xe9rance");
    EXPECT_EQ(TextOf(texts::kNothingDeterminable),
              "Aucun point ne peut \xea"
              "tre d\xe9termin\xe9");
}

// The formatter against the C library's own, for the conversions it knows.
TEST(UserTexts, FormattingAgreesWithPrintf) {
    constexpr Text<int, int> kNumbers{"[%d|%6d]"};
    EXPECT_EQ(TextOf(kNumbers, -12, -12345), "[-12|-12345]");
    EXPECT_EQ(TextOf(kNumbers, 0, 1234567), "[0|1234567]");  // a wider number kept whole
    constexpr Text<SV, SV> kStrings{"[%-10s|%3s]"};
    EXPECT_EQ(TextOf(kStrings, "abc", "abcdef"), "[abc       |abcdef]");
    EXPECT_EQ(TextOf(kStrings, "", ""), "[          |   ]");
    constexpr Text<double, double> kReals{"[%13.1f|%.3f]"};
    EXPECT_EQ(TextOf(kReals, -0.04, 2.0005), "[         -0.0|2.001]");
    constexpr Text<> kPercent{"100 %% s\xfbr"};
    EXPECT_EQ(TextOf(kPercent), "100 % s\xfbr");
    // %s writes its whole argument, a NUL byte too (a bad file name is shown
    // as it is); printf would stop there. No text of the program passed such
    // a string to printf: the readers refuse NUL bytes.
    constexpr Text<SV> kName{"<%s>"};
    EXPECT_EQ(TextOf(kName, std::string_view("ab\0cd", 5)), std::string("<ab\0cd>", 7));
    // Any string type passes for %s.
    const std::string name = "P7";
    EXPECT_EQ(TextOf(texts::kRadiated, name, std::string_view("S")),
              "      P7 rayonn\xe9 de        S");
}

// The batch command's texts go to the terminal in UTF-8: the catalogue's
// bytes are converted, the arguments, UTF-8 as typed, are not (a Polish name
// has no Windows-1252 spelling and must come back as it was given).
TEST(UserTexts, Utf8TextsKeepTheArgumentsAsTyped) {
    EXPECT_EQ(Utf8TextOf(texts::kBatchBadDigits,
                         "\xc5\x81\xc3\xb3"
                         "d\xc5\xba"),
              "--chiffres est un entier de 0 \xc3\xa0 10, pas \xc2\xab \xc5\x81\xc3\xb3"
              "d\xc5\xba "
              "\xc2\xbb");
    EXPECT_EQ(Utf8TextOf(texts::kBatchNoStartPoint),
              "il faut au moins un point de d\xc3\xa9part (--depart NOM)");
}

// A decimal comma in the user's locale changes nothing.
TEST(UserTexts, FormattingIgnoresTheLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) {
        GTEST_SKIP() << "no French locale on this machine";
    }
    constexpr Text<double> kReal{"%.2f"};
    const std::string text = TextOf(kReal, 1.5);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(text, "1.50");
}

}  // namespace
}  // namespace calctopo
