#include "shell/app/WorkSite.h"

#include <filesystem>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "support/Compare.h"
#include "support/RecordingServices.h"
#include "support/TempFolder.h"

namespace calctopo {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RecordedCall;
using testing::RecordingServices;
using testing::TempFolder;
using testing::WriteBytes;

const char kReadError[] = "Erreur d'ouverture du fichier de configuration";

class WorkSiteFile : public ::testing::Test {
  protected:
    void SetUp() override { state.WorkSiteFileName = folder.File("chantier.bvk"); }
    // Writes `content` as the work-site file and reads it into the state.
    FileFields Read(const std::string& content) {
        WriteBytes(state.WorkSiteFileName, content);
        return Lit_Config(state, ui);
    }

    TempFolder folder;
    SurveyState state;
    RecordingServices ui;
};

TEST(WorkSiteReal, TwentyThreeCharacterScientificForm) {
    // The two examples of the format, and its other corners.
    EXPECT_EQ(FormatWorkSiteReal(45.0L), " 4.50000000000000E+0001");
    EXPECT_EQ(FormatWorkSiteReal(0.12L), " 1.20000000000000E-0001");
    EXPECT_EQ(FormatWorkSiteReal(0.0L), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatWorkSiteReal(-0.0L), " 0.00000000000000E+0000");
    EXPECT_EQ(FormatWorkSiteReal(-2.5L), "-2.50000000000000E+0000");
    EXPECT_EQ(FormatWorkSiteReal(600000.125L), " 6.00000125000000E+0005");
    EXPECT_EQ(FormatWorkSiteReal(1e-100L), " 1.00000000000000E-0100");
    EXPECT_EQ(FormatWorkSiteReal(1e300L).size(), 23u);
    // 15 significant digits, rounded: ...456789 ends in 46; 9.999...95 carries.
    EXPECT_EQ(FormatWorkSiteReal(1.23456789012345678L), " 1.23456789012346E+0000");
    EXPECT_EQ(FormatWorkSiteReal(9.9999999999999995L), " 1.00000000000000E+0001");
}

TEST(WorkSiteNames, ListingShownWithoutItsExtension) {
    EXPECT_EQ(WithoutExtension("resultat.vek"), "resultat");
    EXPECT_EQ(WithoutExtension("C:\\chantier\\resultat.vek"), "C:\\chantier\\resultat");
    EXPECT_EQ(WithoutExtension("/geo/res.v1.txt"), "/geo/res.v1");
    EXPECT_EQ(WithoutExtension("/geo.2024/resultat"), "/geo.2024/resultat");
    EXPECT_EQ(WithoutExtension("C:\\geo.2024\\resultat"), "C:\\geo.2024\\resultat");
    EXPECT_EQ(WithoutExtension(""), "");
}

TEST_F(WorkSiteFile, WrittenAndReadBackGivesEveryValue) {
    state.CoordinatesFileName = "  /geo/base.cor";  // leading blanks belong to the name
    state.ObservationsFileName = "/geo/mesures 2024.obs";
    state.ListingFileName = "/geo/resultat.vek";
    ComputationParameters& p = state.Parameters;
    p.angleUnit = 2;
    p.significantDigits = 5;
    p.meanLatitude = 46.123456789;
    p.refractionCoefficient = 0.13;
    p.originX = 600000.125L;
    p.originY = -200000.5L;
    p.originZ = -12.25L;
    Ecrit_Config(state);

    // All nine lines, CR LF, a blank before the negative Y and Z.
    EXPECT_EQ(ReadBytes(state.WorkSiteFileName),
              "1\r\n2\r\n5\r\n 4.61234567890000E+0001\r\n 1.30000000000000E-0001\r\n"
              "  /geo/base.cor\r\n/geo/mesures 2024.obs\r\n/geo/resultat.vek\r\n"
              " 6.00000125000000E+0005 -2.00000500000000E+0005 -1.22500000000000E+0001\r\n");

    SurveyState back;
    back.WorkSiteFileName = state.WorkSiteFileName;
    const FileFields fields = Lit_Config(back, ui);
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(back.Parameters.angleUnit, 2);
    EXPECT_EQ(back.Parameters.significantDigits, 5);
    EXPECT_EQ(back.Parameters.meanLatitude, 46.123456789);
    EXPECT_EQ(back.Parameters.refractionCoefficient, 0.13);
    EXPECT_EQ(back.Parameters.originX, 600000.125L);
    EXPECT_EQ(back.Parameters.originY, -200000.5L);
    EXPECT_EQ(back.Parameters.originZ, -12.25L);
    EXPECT_TRUE(back.Parameters.originGiven);
    EXPECT_EQ(back.CoordinatesFileName, "  /geo/base.cor");
    EXPECT_EQ(back.ObservationsFileName, "/geo/mesures 2024.obs");
    EXPECT_EQ(back.ListingFileName, "/geo/resultat.vek");
    EXPECT_EQ(fields.coordinates, "  /geo/base.cor");
    EXPECT_EQ(fields.observations, "/geo/mesures 2024.obs");
    EXPECT_EQ(fields.listing, "/geo/resultat");
}

TEST_F(WorkSiteFile, AccentedNamesAreWrittenInWindows1252AndReadBack) {
    // The work-site file itself lies in an accented folder, named in
    // Windows-1252 as the state holds it; on disk the folder is UTF-8.
    fs::create_directories(folder.Path() / fs::path(u8"Relevés"));
    state.WorkSiteFileName = folder.File("Relev\xE9s/chantier \xE9t\xE9.bvk");
    state.CoordinatesFileName = "Relev\xE9s/chantier \xE9t\xE9.cor";
    state.ObservationsFileName = "\xE9t\xE9.obs";
    state.ListingFileName = "r\xE9sultats";
    Ecrit_Config(state);

    const fs::path onDisk = folder.Path() / fs::path(u8"Relevés") / fs::path(u8"chantier été.bvk");
    ASSERT_TRUE(fs::exists(onDisk));
    const std::string written = ReadBytes(onDisk);
    EXPECT_NE(
        written.find("\r\nRelev\xE9s/chantier \xE9t\xE9.cor\r\n\xE9t\xE9.obs\r\nr\xE9sultats\r\n"),
        std::string::npos)
        << written;

    SurveyState back;
    back.WorkSiteFileName = state.WorkSiteFileName;
    const FileFields fields = Lit_Config(back, ui);
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(fields.coordinates, "Relev\xE9s/chantier \xE9t\xE9.cor");
    EXPECT_EQ(fields.observations, "\xE9t\xE9.obs");
    EXPECT_EQ(fields.listing, "r\xE9sultats");
}

TEST_F(WorkSiteFile, DefaultsWrittenAsTheFormatShows) {
    state.ListingFileName = "res";
    Ecrit_Config(state);
    EXPECT_EQ(ReadBytes(state.WorkSiteFileName),
              "1\r\n1\r\n3\r\n 4.50000000000000E+0001\r\n 1.20000000000000E-0001\r\n"
              "\r\n\r\nres\r\n"
              " 0.00000000000000E+0000 0.00000000000000E+0000 0.00000000000000E+0000\r\n");
}

TEST_F(WorkSiteFile, EightLinesLeaveTheOriginAsItWas) {
    state.Parameters.originX = 1.0L;
    state.Parameters.originY = 2.0L;
    state.Parameters.originZ = 3.0L;
    // Blank lines after line 8 are no origin line.
    Read("1\r\n3\r\n4\r\n 4.5E+0001\r\n 1.2E-0001\r\na.cor\r\nb.obs\r\nc.vek\r\n  \r\n\r\n");
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(state.Parameters.angleUnit, 3);
    EXPECT_EQ(state.Parameters.significantDigits, 4);
    EXPECT_EQ(state.ListingFileName, "c.vek");
    EXPECT_EQ(state.Parameters.originX, 1.0L);
    EXPECT_EQ(state.Parameters.originY, 2.0L);
    EXPECT_EQ(state.Parameters.originZ, 3.0L);
    EXPECT_FALSE(state.Parameters.originGiven);
}

TEST_F(WorkSiteFile, EndOfFileReadsAsZeroAndEmptyWithoutMessage) {
    state.CoordinatesFileName = "ancien.cor";
    state.ObservationsFileName = "ancien.obs";
    state.ListingFileName = "ancien.vek";
    const FileFields fields = Read("1\r\n3\r\n2\r\n");
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(state.Parameters.angleUnit, 3);
    EXPECT_EQ(state.Parameters.significantDigits, 2);
    EXPECT_EQ(state.Parameters.meanLatitude, 0.0);
    EXPECT_EQ(state.Parameters.refractionCoefficient, 0.0);
    EXPECT_EQ(state.CoordinatesFileName, "");
    EXPECT_EQ(state.ObservationsFileName, "");
    EXPECT_EQ(state.ListingFileName, "");
    EXPECT_EQ(fields.listing, "");
    EXPECT_FALSE(state.Parameters.originGiven);
}

TEST_F(WorkSiteFile, NumbersSkipBlanksAndLineEndsAndTheRestOfTheirLine) {
    // Line 2 behind blanks and a tab with a comment after it; an empty line
    // before line 3 is skipped by the number; line 9 split by tabs; LF alone.
    Read("1\n \t2 commentaire\n\n7\n45.5 x\n.25\nA.cor\n  B.obs\nC.txt\n\t1.5\t-2\t3e2 reste\n");
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(state.Parameters.angleUnit, 2);
    EXPECT_EQ(state.Parameters.significantDigits, 7);
    EXPECT_EQ(state.Parameters.meanLatitude, 45.5);
    EXPECT_EQ(state.Parameters.refractionCoefficient, 0.25);
    EXPECT_EQ(state.CoordinatesFileName, "A.cor");
    EXPECT_EQ(state.ObservationsFileName, "  B.obs");
    EXPECT_EQ(state.ListingFileName, "C.txt");
    EXPECT_EQ(state.Parameters.originX, 1.5L);
    EXPECT_EQ(state.Parameters.originY, -2.0L);
    EXPECT_EQ(state.Parameters.originZ, 300.0L);
    EXPECT_TRUE(state.Parameters.originGiven);
}

TEST_F(WorkSiteFile, ABadNumberKeepsTheValuesReadBefore) {
    // A decimal comma in the latitude: unit and digits are new, the rest old.
    state.CoordinatesFileName = "ancien.cor";
    state.ListingFileName = "ancien.vek";
    const FileFields fields =
        Read("1\r\n2\r\n6\r\n45,5\r\n0.2\r\nnouveau.cor\r\nb.obs\r\nc.vek\r\n1 2 3\r\n");
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox), std::vector<std::string>{kReadError});
    EXPECT_EQ(state.Parameters.angleUnit, 2);
    EXPECT_EQ(state.Parameters.significantDigits, 6);
    EXPECT_EQ(state.Parameters.meanLatitude, 45.0);
    EXPECT_EQ(state.Parameters.refractionCoefficient, 0.12);
    EXPECT_EQ(state.CoordinatesFileName, "ancien.cor");
    EXPECT_FALSE(state.Parameters.originGiven);
    // The fields show the names as they stand.
    EXPECT_EQ(fields.coordinates, "ancien.cor");
    EXPECT_EQ(fields.listing, "ancien");
}

TEST_F(WorkSiteFile, ARealWhereAnIntegerBelongsIsAFailure) {
    Read("1\r\n2.0\r\n6\r\n");
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox), std::vector<std::string>{kReadError});
    EXPECT_EQ(state.Parameters.angleUnit, 1);
    EXPECT_EQ(state.Parameters.significantDigits, 3);
}

TEST_F(WorkSiteFile, ABadOriginValueSetsNoOriginGiven) {
    Read("1\r\n1\r\n3\r\n45\r\n0.12\r\na\r\nb\r\nc\r\n10 nan 30\r\n");
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox), std::vector<std::string>{kReadError});
    EXPECT_EQ(state.Parameters.originX, 10.0L);  // read before the failure
    EXPECT_EQ(state.Parameters.originY, 0.0L);
    EXPECT_FALSE(state.Parameters.originGiven);
}

TEST_F(WorkSiteFile, AMissingFileShowsTheMessageAndTheNamesAsTheyStand) {
    state.WorkSiteFileName = folder.File("absent.bvk");
    state.ListingFileName = "res.vek";
    const FileFields fields = Lit_Config(state, ui);
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox), std::vector<std::string>{kReadError});
    EXPECT_EQ(fields.listing, "res");
    EXPECT_EQ(state.Parameters.angleUnit, 1);

    state.WorkSiteFileName.clear();
    Lit_Config(state, ui);
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox).size(), 2u);
}

TEST_F(WorkSiteFile, WriteFailuresThrow) {
    state.WorkSiteFileName.clear();
    EXPECT_THROW(Ecrit_Config(state), IoFailure);

    state.WorkSiteFileName = folder.File("absent/chantier.bvk");
    EXPECT_THROW(Ecrit_Config(state), IoFailure);

    // A failed write leaves the previous file whole (a 255-character name
    // leaves no room for the temporary file written beside it).
    state.WorkSiteFileName = folder.File(std::string(251, 'c') + ".bvk");
    WriteBytes(state.WorkSiteFileName, "ancien\r\n");
    EXPECT_THROW(Ecrit_Config(state), IoFailure);
    EXPECT_EQ(ReadBytes(state.WorkSiteFileName), "ancien\r\n");
}

// ---------------------------------------------------------------------------
// What a work-site file must survive

TEST(WorkSiteReal, TheLargestDoublesAreWrittenSoThatTheyReadBack) {
    // Rounded to 15 digits, 1.7976931348623157e308 was written as
    // 1.79769313486232E+0308, above the largest double: the next opening
    // failed and lost the file names. Its digits are cut instead.
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(FormatWorkSiteReal(largest), " 1.79769313486231E+0308");
    EXPECT_EQ(FormatWorkSiteReal(-largest), "-1.79769313486231E+0308");
    EXPECT_TRUE(ParseReal("1.79769313486231E+0308").has_value());
    // Just below the edge, rounding is kept.
    EXPECT_EQ(FormatWorkSiteReal(1.7976931348623e308L), " 1.79769313486230E+0308");
}

TEST_F(WorkSiteFile, ExtremeValuesAndNamesEndingInCrReadBack) {
    state.Parameters.meanLatitude = std::numeric_limits<double>::max();
    state.Parameters.originZ = -std::numeric_limits<double>::max();
    // A name ending in CR lost one CR at every save.
    state.CoordinatesFileName = "base.cor\r";
    state.ObservationsFileName = "mesures.obs\r\r";
    state.ListingFileName = " res";
    Ecrit_Config(state);
    for (int save = 0; save < 2; ++save) {
        SurveyState again;
        again.WorkSiteFileName = state.WorkSiteFileName;
        Lit_Config(again, ui);
        EXPECT_TRUE(ui.calls.empty());
        EXPECT_EQ(again.CoordinatesFileName, "base.cor\r");
        EXPECT_EQ(again.ObservationsFileName, "mesures.obs\r\r");
        EXPECT_EQ(again.ListingFileName, " res");
        EXPECT_REAL_NEAR(std::numeric_limits<double>::max(), again.Parameters.meanLatitude,
                         1e-14 * std::numeric_limits<double>::max());
        Ecrit_Config(again);
    }
}

TEST_F(WorkSiteFile, ANameThatCannotBeOneLineIsRefusedBeforeWriting) {
    WriteBytes(state.WorkSiteFileName, "ancien\r\n");
    state.CoordinatesFileName = "deux\nlignes.cor";
    EXPECT_THROW(Ecrit_Config(state), IoFailure);
    state.CoordinatesFileName = std::string("nul\0.cor", 8);
    EXPECT_THROW(Ecrit_Config(state), IoFailure);
    EXPECT_EQ(ReadBytes(state.WorkSiteFileName), "ancien\r\n");
}

TEST_F(WorkSiteFile, AnUnknownUnitOrDigitsAreKeptAndTold) {
    // An angle unit of 7 used to be taken silently: angles in radians,
    // coordinates wrong, nothing said.
    Read("1\r\n7\r\n99\r\n 4.5E+0001\r\n 0\r\na.cor\r\nb.obs\r\nres\r\n");
    EXPECT_EQ(state.Parameters.angleUnit, 7);
    EXPECT_EQ(state.Parameters.significantDigits, 99);
    EXPECT_EQ(state.CoordinatesFileName, "a.cor");
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox),
              std::vector<std::string>{
                  "Unité angulaire 7 inconnue (1 grades, 2 degrés sexagésimaux, 3 degrés "
                  "décimaux) : les angles des observations seront pris en radians\n"
                  "Nombre de chiffres significatifs 99 hors de 0 à 10 : le fichier .new en "
                  "aura 10"});
}

TEST_F(WorkSiteFile, GarbageMarksAndOldLineEnds) {
    // Binary garbage: the usual message, and why.
    Read(
        std::string("\x7F"
                    "ELF\0\0\x01",
                    7));
    EXPECT_EQ(ui.Texts(RecordedCall::Kind::MessageBox),
              std::vector<std::string>{
                  std::string(kReadError) + "\nLe fichier " + state.WorkSiteFileName +
                  " contient un octet nul ligne 1 : ce n'est pas un fichier texte (fichier "
                  "binaire, ou UTF-16 sans marque d'ordre des octets), il n'est pas lu"});
    // A file saved in UTF-8 with its mark, CR-only line ends: read, and told.
    RecordingServices told;
    WriteBytes(state.WorkSiteFileName,
               "\xEF\xBB\xBF"
               "1\r2\r3\r45\r0.12\rrelev\xC3\xA9s.cor\rm.obs\rres\r");
    Lit_Config(state, told);
    EXPECT_EQ(state.Parameters.angleUnit, 2);
    EXPECT_EQ(state.CoordinatesFileName, "relev\xE9s.cor");
    EXPECT_EQ(state.ListingFileName, "res");
    EXPECT_EQ(told.Texts(RecordedCall::Kind::MessageBox),
              std::vector<std::string>{
                  "Le fichier " + state.WorkSiteFileName +
                  " est en UTF-8 (il commence par une marque d'ordre des octets) : il est lu "
                  "converti en Windows-1252\nLe fichier " +
                  state.WorkSiteFileName +
                  " a des fins de ligne CR seules (ancien format Macintosh) : chaque CR y "
                  "termine une ligne"});
}

}  // namespace
}  // namespace calctopo
