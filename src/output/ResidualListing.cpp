#include "output/ResidualListing.h"

#include <cmath>
#include <cstdint>
#include <span>
#include <string>

#include "data/GLOBAL.h"
#include "data/PointSights.h"
#include "data/TextNumbers.h"
#include "geometry/CONVERTI.h"
#include "geometry/SightResiduals.h"

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

// Writes the line of one sight, field after field; the point's lines reach
// the file together, when WriteResiduals flushes them.
void WriteSightLine(SurveyState& state, const Sight& sight, const SightResiduals& residuals) {
    TextOutputFile& listing = state.ListingFile;
    listing.Append(PadLeft(state.PointTable[sight.station].name, kMaxNameLength));
    listing.Append(kNameGap);
    listing.Append(PadLeft(state.PointTable[sight.target].name, kMaxNameLength));
    if (residuals.misclosure) {
        listing.Append(Column(InAngleUnit(state, *residuals.misclosure) * kAngleScale));
        // The column in thousandths, formed in extended precision with the
        // tangent scaled first, as the listing has always printed it (the
        // rounded length of `transverse` would move a digit on a rounding
        // edge). A quarter turn has no transverse error: the column is left
        // blank like an absent value.
        if (residuals.transverse && residuals.computedDistance) {
            listing.Append(Column(std::tan(static_cast<long double>(*residuals.misclosure)) *
                                  kLengthScale * *residuals.computedDistance));
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
        const SightResiduals residuals = SightResidualsOf(state, number, point);
        if (residuals.Any()) {
            WriteSightLine(state, state.SightTable[number], residuals);
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
