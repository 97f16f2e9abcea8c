#include "output/ResidualListing.h"

#include <cmath>
#include <optional>
#include <string>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "data/ValueBounds.h"
#include "engine/PointSights.h"
#include "geometry/CONVERTI.h"
#include "geometry/Primitives.h"

namespace calctopo {

namespace {

// Width of every number column; a wider number is written in full.
constexpr int kColumnWidth = 13;
// One decimal in every column.
constexpr int kDecimals = 1;
// Misclosures are written in ten-thousandths of the angle unit (0.1 mgon in grades).
constexpr long double kAngleScale = 10000.0L;
// Lengths in thousandths of the coordinate unit (millimetres for metres).
constexpr long double kLengthScale = 1000.0L;
// Blanks between the two names.
constexpr const char* kNameGap = "     ";

const std::string& BlankColumn() {
    static const std::string blanks(kColumnWidth, ' ');
    return blanks;
}

// A number in its column, as printf's "%13.1f" writes it: a residual that is
// a tiny negative rounding remainder reads "-0.0", as it would in any listing
// printed by the C library.
std::string Column(long double value) {
    return FormatFixed(static_cast<double>(value), kDecimals, kColumnWidth);
}

// A misclosure (radians) in the user's angle unit. An unknown unit code has
// no conversion: the misclosure is then written in radians.
long double InAngleUnit(const SurveyState& state, double radians) {
    return RadiansToUserUnit(state.Parameters.angleUnit, radians);
}

// The residuals of one sight from station A to target B, one of them the
// completed point and the other `other`.
struct SightResiduals {
    std::optional<double> misclosure;        // radians, observed bearing minus computed
    std::optional<double> distance;          // observed minus computed horizontal distance
    std::optional<double> heightDifference;  // observed minus computed height difference
    double computedDistance = 0.0;           // horizontal distance from the coordinates
};

SightResiduals ResidualsOf(const SurveyState& state, const Sight& sight, int other) {
    SightResiduals result;
    const SurveyPoint& a = state.PointTable[sight.station];
    const SurveyPoint& b = state.PointTable[sight.target];
    const SurveyPoint& o = state.PointTable[other];
    // The derivation has just given every sight between two placed points its
    // bearing and distance, and between two levelled points its height
    // difference; the flags are checked all the same so that an unknown value
    // never reads as an observation.
    if (o.planimetricKnown) {
        double bearing = 0.0;
        BearingAndDistanceBetween(a.x, a.y, b.x, b.y, bearing, result.computedDistance);
        if (sight.directionObs != 0 && sight.bearingKnown) {
            result.misclosure = NormalizeAngle(
                static_cast<double>(static_cast<long double>(sight.bearing) - bearing));
        }
        if (sight.distanceObs != 0 && sight.horizontalDistanceKnown) {
            result.distance = static_cast<double>(
                static_cast<long double>(sight.horizontalDistance) - result.computedDistance);
        }
    }
    if (o.heightKnown && sight.zenithObs != 0 && sight.heightDifferenceKnown) {
        result.heightDifference =
            static_cast<double>(static_cast<long double>(sight.heightDifference) -
                                (static_cast<long double>(b.z) - a.z));
    }
    return result;
}

// Writes the line of one sight, field after field; the point's lines reach
// the file together, when WriteResiduals flushes them.
void WriteSightLine(SurveyState& state, const Sight& sight, const SightResiduals& residuals) {
    TextOutputFile& listing = state.ListingFile;
    listing.Append(PadLeft(state.PointTable[sight.station].name, kMaxNameLength));
    listing.Append(kNameGap);
    listing.Append(PadLeft(state.PointTable[sight.target].name, kMaxNameLength));
    if (residuals.misclosure) {
        const double angle = *residuals.misclosure;
        listing.Append(Column(InAngleUnit(state, angle) * kAngleScale));
        // A misclosure of a quarter turn has no transverse error (its tangent
        // is infinite; rounding makes it some 1e16): beyond the largest length
        // the program stores, the column is left blank like an absent value.
        const long double transverse =
            std::tan(static_cast<long double>(angle)) * kLengthScale * residuals.computedDistance;
        if (std::fabs(transverse) <= kMaxLengthMagnitude * kLengthScale) {
            listing.Append(Column(transverse));
        } else {
            listing.Append(BlankColumn());
        }
    } else {
        listing.Append(BlankColumn());
        listing.Append(BlankColumn());
    }
    if (residuals.distance) {
        listing.Append(Column(*residuals.distance * kLengthScale));
    } else {
        listing.Append(BlankColumn());
    }
    if (residuals.heightDifference) {
        listing.Append(Column(*residuals.heightDifference * kLengthScale));
    }
    listing.AppendLine("");
}

void WriteLinesOf(SurveyState& state, std::span<const std::int32_t> sights, int point) {
    for (const int number : sights) {
        const Sight& sight = state.SightTable[number];
        const SightResiduals residuals = ResidualsOf(state, sight, OtherPointOf(sight, point));
        if (residuals.misclosure || residuals.distance || residuals.heightDifference) {
            WriteSightLine(state, sight, residuals);
        }
    }
}

}  // namespace

void WriteResiduals(SurveyState& state, int point) {
    if (!state.ListingFile.IsOpen()) {
        return;
    }
    // Incoming sights (from another point to this one), then outgoing ones.
    WriteLinesOf(state, IncomingSightsOf(state, point), point);
    WriteLinesOf(state, OutgoingSightsOf(state, point), point);
    // One write per completed point: the listing on disk is complete up to
    // the last point determined.
    state.ListingFile.Flush();
}

}  // namespace calctopo
