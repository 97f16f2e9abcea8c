#include "output/ecrit.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "support/StateBuilder.h"
#include "support/TempFolder.h"

namespace calctopo {
namespace {

namespace fs = std::filesystem;

using testing::DeterminedPoint;
using testing::GivenPoint;
using testing::ReadBytes;
using testing::TempFolder;
using testing::UnknownPoint;
using testing::WriteBytes;

// A loaded state whose listing is open in `folder` as res.vek.
class CoordinatesOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        state.ListingFileName = folder.File("res.vek");
        state.ListingFile.Create(state.ListingFileName);
    }
    // The ".new" file and the listing as written.
    std::string NewFile() { return ReadBytes(folder.File("res.new")); }
    std::string Listing() {
        state.ListingFile.Close();
        return Cp1252ToUtf8(ReadBytes(state.ListingFileName));
    }

    TempFolder folder;
    SurveyState state;
};

// The four lines that open the closing block of the listing.
const std::string kBlockHead =
    " \r\nList of points which can't be calculated\r\n  Liste des points non calculables :\r\n "
    "\r\n";

TEST(NewFileName, ReplacesTheExtensionAfterTheLastSeparator) {
    EXPECT_EQ(NewFileNameFor("C:\\chantier\\resultat.vek"), "C:\\chantier\\resultat.new");
    EXPECT_EQ(NewFileNameFor("C:\\chantier\\resultat.txt"), "C:\\chantier\\resultat.new");
    EXPECT_EQ(NewFileNameFor("/home/geo/res.v1.vek"), "/home/geo/res.v1.new");
    EXPECT_EQ(NewFileNameFor("resultat"), "resultat.new");
    // A dot in a folder name is no extension, with either separator.
    EXPECT_EQ(NewFileNameFor("/home/geo.2024/resultat"), "/home/geo.2024/resultat.new");
    EXPECT_EQ(NewFileNameFor("C:\\chantier.v2\\resultat"), "C:\\chantier.v2\\resultat.new");
}

TEST_F(CoordinatesOutput, LineWidthsFollowTheSignificantDigits) {
    // Widths d + 8 for the coordinates and d + 5 (d + 1 decimals) for the last
    // two fields, which stand side by side with no blank.
    state.Parameters.significantDigits = 3;
    AppendPoint(state, GivenPoint("P1", 1000.5, 2000.25, 100.125, 0.01, 0.02));
    WriteCoordinatesOutput(state);
    EXPECT_EQ(NewFile(), " 1       P1    1000.500    2000.250     100.125   0.0100  0.0200\r\n");
    EXPECT_EQ(state.NewFileName, folder.File("res.new"));
}

TEST_F(CoordinatesOutput, ZeroDigitsWriteNoDecimalPoint) {
    state.Parameters.significantDigits = 0;
    AppendPoint(state, GivenPoint("P1", 1000.4, 2000.6, 99.7, 0.04, -0.26));
    WriteCoordinatesOutput(state);
    EXPECT_EQ(NewFile(), " 1       P1     1000     2001      100   0.0 -0.3\r\n");
}

TEST_F(CoordinatesOutput, TenDigits) {
    state.Parameters.significantDigits = 10;
    AppendPoint(state, GivenPoint("ABCDEFGH", 1.5, -2.25, 0.0, 0.5, 0.0));
    WriteCoordinatesOutput(state);
    EXPECT_EQ(NewFile(),
              " 1 ABCDEFGH       1.5000000000      -2.2500000000       0.0000000000"
              "   0.50000000000  0.00000000000\r\n");
}

TEST_F(CoordinatesOutput, AWiderNumberIsWrittenInFull) {
    state.Parameters.significantDigits = 3;
    AppendPoint(state, GivenPoint("LONG", 123456789.012, -98765432.1, 5.0, 12345.6, 0.0));
    WriteCoordinatesOutput(state);
    EXPECT_EQ(NewFile(),
              " 1     LONG 123456789.012 -98765432.100       5.000 12345.6000  0.0000\r\n");
}

TEST_F(CoordinatesOutput, CodesAndWhichPointsGetALine) {
    state.Parameters.significantDigits = 1;
    // A control point at the local origin is a result like any other.
    AppendPoint(state, GivenPoint("ORIG", 0.0, 0.0, 50.0));
    AppendPoint(state, DeterminedPoint("D", 0.0, 100.0, 7.0));
    // Plan found, height not: written with z 0, and listed below.
    SurveyPoint planOnly = UnknownPoint("PLAN");
    planOnly.x = 10.0;
    planOnly.y = 20.0;
    planOnly.planimetricKnown = true;
    AppendPoint(state, planOnly);
    // Height found, plan not: no line, listed.
    SurveyPoint heightOnly = UnknownPoint("HAUT");
    heightOnly.z = 5.0;
    heightOnly.heightKnown = true;
    AppendPoint(state, heightOnly);
    AppendPoint(state, UnknownPoint("RIEN"));
    WriteCoordinatesOutput(state);

    EXPECT_EQ(NewFile(),
              " 1     ORIG       0.0       0.0      50.0   0.00  0.00\r\n"
              " 0        D       0.0     100.0       7.0   0.00  0.00\r\n"
              " 0     PLAN      10.0      20.0       0.0   0.00  0.00\r\n");
    EXPECT_EQ(Listing(), kBlockHead + "PLAN\r\nHAUT\r\nRIEN\r\n");
}

TEST_F(CoordinatesOutput, EveryPointCompleteClosesWithTheAllCalculatedLine) {
    AppendPoint(state, GivenPoint("A", 1.0, 2.0, 3.0));
    AppendPoint(state, DeterminedPoint("B", 4.0, 5.0, 6.0));
    state.ListingFile.WriteLine("residus");
    WriteCoordinatesOutput(state);
    EXPECT_EQ(Listing(), "residus\r\n" + kBlockHead +
                             "All the points are calculated / Tous les points sont calculés\r\n");
}

TEST_F(CoordinatesOutput, NothingAtAllWhenNoPointIsLoaded) {
    WriteCoordinatesOutput(state);
    EXPECT_FALSE(fs::exists(folder.File("res.new")));
    EXPECT_EQ(Listing(), "");
}

TEST_F(CoordinatesOutput, AFailedWriteThrowsAndLeavesTheOldFileWhole) {
    // A ".new" name of 255 characters is a valid file name, yet leaves no room
    // for the temporary file written beside it: the write fails.
    const std::string base = folder.File(std::string(251, 'x'));
    WriteBytes(base + ".new", "ancien\r\n");
    state.ListingFileName = base + ".vek";
    AppendPoint(state, GivenPoint("A", 1.0, 2.0, 3.0));
    EXPECT_THROW(WriteCoordinatesOutput(state), IoFailure);
    EXPECT_EQ(ReadBytes(base + ".new"), "ancien\r\n");
    // The failure came before the closing block: the listing is untouched.
    EXPECT_EQ(Listing(), "");
}

TEST_F(CoordinatesOutput, AMissingFolderThrows) {
    state.ListingFileName = folder.File("absent/res.vek");
    AppendPoint(state, GivenPoint("A", 1.0, 2.0, 3.0));
    EXPECT_THROW(WriteCoordinatesOutput(state), IoFailure);
    EXPECT_FALSE(fs::exists(folder.File("absent")));
}

TEST_F(CoordinatesOutput, ReplacesAnEarlierFile) {
    WriteBytes(folder.File("res.new"), "une ligne plus longue que la nouvelle\r\n\r\n\r\n");
    AppendPoint(state, GivenPoint("A", 1.0, 2.0, 3.0));
    WriteCoordinatesOutput(state);
    EXPECT_EQ(NewFile(), " 1        A       1.000       2.000       3.000   0.0000  0.0000\r\n");
}

}  // namespace
}  // namespace calctopo
