// Residual lines of a completed point: columns, blanks, widths and units, on
// hand-built sights, and the zeros of exact data end to end.
#include "output/ResidualListing.h"

#include <cmath>
#include <optional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "engine/LoadPipeline.h"
#include "geometry/CONVERTI.h"
#include "support/Compare.h"
#include "support/NetworkGenerator.h"
#include "support/StateBuilder.h"
#include "support/TempFolder.h"

namespace calctopo {
namespace {

using testing::DeterminedPoint;
using testing::GivenPoint;
using testing::LoadedSurvey;
using testing::NetworkGenerator;
using testing::RadiationExample;
using testing::ReadBytes;
using testing::TempFolder;
using testing::UnknownPoint;

const std::string kBlankColumn(13, ' ');
const std::string kLineEnd = "\r\n";

// Two points A (station side) and P (the completed point), sights added by
// hand; only the observation indices' being non-zero matters to the listing.
class Listing {
  private:
    // Declared first so that it goes last, after the listing is closed.
    TempFolder folder_;

  public:
    Listing() {
        state.ListingFileName = folder_.File("residus.vek");
        state.ListingFile.Create(state.ListingFileName);
        a = AppendPoint(state, GivenPoint("A", 1000.0, 5000.0, 100.0));
        p = AppendPoint(state, DeterminedPoint("P", 1000.0, 5100.0, 102.0));
    }

    Sight& AddSight(int station, int target) {
        Sight sight;
        sight.station = station;
        sight.target = target;
        return state.SightTable[state.SightTable.Append(sight)];
    }

    // Indexes the sights, writes the residuals of P and returns what the
    // listing file holds.
    std::string WriteForP() {
        InitPointSightRanges(state);
        BuildPointSightRanges(state);
        WriteResiduals(state, p);
        return ReadBytes(state.ListingFileName);
    }

    SurveyState state;
    int a = 0;
    int p = 0;
};

// A direction on A -> P whose bearing is off the computed bearing (0, due
// north) by `misclosure` radians.
void Direction(Sight& sight, double misclosure) {
    sight.directionObs = 1;
    sight.bearing = misclosure;
    sight.bearingKnown = true;
}

TEST(ResidualListing, MisclosureInTenThousandthsOfGradeAndTransverseError) {
    // 0.0012 grade: 12.0; transverse error tan(0.0012 grade) x 1000 x 100 m =
    // 1.885 mm: 1.9. No distance: 13 blanks; no zenith angle: the line ends.
    Listing listing;
    Direction(listing.AddSight(listing.a, listing.p), GradesToRadians(0.0012));
    EXPECT_EQ(listing.WriteForP(),
              "       A            P         12.0          1.9" + kBlankColumn + kLineEnd);
}

TEST(ResidualListing, MisclosureFollowsTheAngleUnit) {
    // The same 0.0012 grade is 0.00108 degree (10.8), 3.888 seconds packed
    // as 0.00000388 D.MMSS... times 10000 (3.9), and, for a unit with no
    // conversion, 1.885e-5 radian (0.2).
    const struct {
        int unit;
        const char* misclosure;
    } cases[] = {{3, "         10.8"}, {2, "          3.9"}, {7, "          0.2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        Listing listing;
        listing.state.Parameters.angleUnit = c.unit;
        Direction(listing.AddSight(listing.a, listing.p), GradesToRadians(0.0012));
        EXPECT_EQ(listing.WriteForP(), std::string("       A            P") + c.misclosure +
                                           "          1.9" + kBlankColumn + kLineEnd);
    }
}

TEST(ResidualListing, AQuarterTurnMisclosureHasNoTransverseError) {
    // A fuzzing finding: a direction 100 grades off its computed bearing
    // wrote tan(100 grades) x 1000 x 100 m as some -1.6e21. The misclosure
    // stays (-100 grades: -1000000.0), the transverse column is blank.
    Listing listing;
    Direction(listing.AddSight(listing.a, listing.p), -GradesToRadians(100.0));
    EXPECT_EQ(listing.WriteForP(),
              "       A            P   -1000000.0" + kBlankColumn + kBlankColumn + kLineEnd);

    // Within the bound of lengths (1e10 m) the transverse error is written:
    // tan = 1e7 on 100 m is 1e9 m, 1e12 thousandths.
    Listing inside;
    Direction(inside.AddSight(inside.a, inside.p), std::atan(1e7));
    const std::string line = inside.WriteForP();
    const std::optional<double> transverse = ParseReal(line.substr(34, line.find(' ', 35) - 34));
    ASSERT_TRUE(transverse.has_value()) << line;
    // Near a quarter turn the angle's last bit (2e-16 rad) moves the tangent
    // by 2e-9 of itself: some 2000 thousandths here.
    EXPECT_REAL_NEAR(1e12, *transverse, 1e4);
}

TEST(ResidualListing, DistanceOnlyLineHas26BlanksAndNoHeightColumn) {
    // 101.5 observed for 100 computed: 1.5 m, written 1500.0.
    Listing listing;
    Sight& sight = listing.AddSight(listing.a, listing.p);
    sight.distanceObs = 1;
    sight.horizontalDistance = 101.5;
    sight.horizontalDistanceKnown = true;
    EXPECT_EQ(listing.WriteForP(),
              "       A            P" + kBlankColumn + kBlankColumn + "       1500.0" + kLineEnd);
}

TEST(ResidualListing, ZenithOnlyLineHas39BlanksThenHeightResidual) {
    // A has a height but no position: only the height residual, 2.0005
    // observed for 2.0 computed, 0.5 mm.
    Listing listing;
    listing.state.PointTable[listing.a].planimetricKnown = false;
    Sight& sight = listing.AddSight(listing.a, listing.p);
    sight.zenithObs = 1;
    sight.heightDifference = 2.0005;
    sight.heightDifferenceKnown = true;
    EXPECT_EQ(listing.WriteForP(), "       A            P" + kBlankColumn + kBlankColumn +
                                       kBlankColumn + "          0.5" + kLineEnd);
}

TEST(ResidualListing, IncomingSightsFirstThenOutgoingAndNoLineTowardsUnknownPoints) {
    // P -> A (outgoing) is written after A -> P (incoming) although it comes
    // first in the sight table; P -> U, towards a point neither placed nor
    // levelled, gives no line; a sight with no observation gives none either.
    Listing listing;
    const int u = AppendPoint(listing.state, UnknownPoint("U"));
    Sight& back = listing.AddSight(listing.p, listing.a);
    back.distanceObs = 1;
    back.horizontalDistance = 100.0;
    back.horizontalDistanceKnown = true;
    Sight& toUnknown = listing.AddSight(listing.p, u);
    toUnknown.distanceObs = 2;
    toUnknown.zenithObs = 1;
    listing.AddSight(listing.a, listing.p);  // nothing observed on it
    Sight& there = listing.AddSight(listing.a, listing.p);
    there.distanceObs = 3;
    there.horizontalDistance = 100.0;
    there.horizontalDistanceKnown = true;
    const std::string zeros = kBlankColumn + kBlankColumn + "          0.0" + kLineEnd;
    EXPECT_EQ(listing.WriteForP(),
              "       A            P" + zeros + "       P            A" + zeros);
}

TEST(ResidualListing, SignOfZeroAsPrintfAndWideNumbersWrittenInFull) {
    // A residual of -1e-9 m is written as printf's "%13.1f" writes it: "-0.0".
    // A residual of 12345678901.5 m does not fit in 13 characters and is
    // written whole.
    Listing listing;
    Sight& tiny = listing.AddSight(listing.a, listing.p);
    tiny.distanceObs = 1;
    tiny.horizontalDistance = 100.0 - 1e-9;
    tiny.horizontalDistanceKnown = true;
    Sight& huge = listing.AddSight(listing.p, listing.a);
    huge.distanceObs = 2;
    huge.horizontalDistance = 100.0 + 12345678901.5;
    huge.horizontalDistanceKnown = true;
    EXPECT_EQ(listing.WriteForP(), "       A            P" + kBlankColumn + kBlankColumn +
                                       "         -0.0" + kLineEnd + "       P            A" +
                                       kBlankColumn + kBlankColumn + "12345678901500.0" + kLineEnd);
}

TEST(ResidualListing, ClosedListingIsPassedOver) {
    Listing listing;
    listing.state.ListingFile.Close();
    Direction(listing.AddSight(listing.a, listing.p), 0.001);
    EXPECT_EQ(listing.WriteForP(), "");
}

#ifdef __linux__
TEST(ResidualListing, AListingThatCannotBeWrittenFailsWhenThePointIsWritten) {
    // The lines of a point reach the file together: a full disk is told by
    // WriteResiduals itself, for that point.
    Listing listing;
    listing.state.ListingFile.Create("/dev/full");
    Direction(listing.AddSight(listing.a, listing.p), 0.001);
    InitPointSightRanges(listing.state);
    BuildPointSightRanges(listing.state);
    EXPECT_THROW(WriteResiduals(listing.state, listing.p), IoFailure);
}
#endif

TEST(ResidualListing, ExactObservationsGiveZeroResidualsEndToEnd) {
    // Reading, slope distance and zenith angle from S1 to P1, generated from
    // the true coordinates: every column is zero (its sign is whatever the
    // last rounding of the arithmetic left, as printf shows it).
    NetworkGenerator net = RadiationExample();
    // P1 as a station too: a round on S1 and S2 and a horizontal distance to S2.
    net.Round("P1", {"S1", "S2"}, 5.5);
    net.HorizontalDistance("P1", "S2");
    LoadedSurvey survey(net);
    survey.Run("S1");
    const std::string zero = "          0.0";
    std::string listing = survey.Listing();
    // Fold "-0.0" into "0.0" (same width) before comparing the layout.
    for (std::size_t at = listing.find("         -0.0"); at != std::string::npos;
         at = listing.find("         -0.0", at)) {
        listing.replace(at, 13, zero);
    }
    EXPECT_EQ(listing, "      S1           P1" + zero + zero + zero + zero + kLineEnd +
                           "      P1           S1" + zero + zero + kBlankColumn + kLineEnd +
                           "      P1           S2" + zero + zero + zero + kLineEnd);
}

}  // namespace
}  // namespace calctopo
