#include "output/ecrit.h"

#include <algorithm>

#include "data/FileNames.h"
#include "data/GLOBAL.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"

namespace calctopo {

namespace {

// The range of significant digits the ".new" format knows; a value read from
// a hand-edited work-site file is held within it.
constexpr int kMinSignificantDigits = 0;
constexpr int kMaxSignificantDigits = 10;

// Extra characters of a coordinate field beyond its decimals, and of the two
// last fields beyond theirs (their decimals are one more than d).
constexpr int kCoordinateWidthExtra = 8;
constexpr int kLastFieldsWidthExtra = 5;

// Output codes: 1 for a point read from the coordinates file, 0 otherwise.
constexpr char kCodeGiven = '1';
constexpr char kCodeOther = '0';

std::string CoordinatesLine(const SurveyPoint& point, int digits) {
    std::string line;
    line += ' ';
    line += point.status == StatusGiven ? kCodeGiven : kCodeOther;
    line += ' ';
    line += PadLeft(point.name, kMaxNameLength);
    const int coordinateWidth = digits + kCoordinateWidthExtra;
    for (double value : {point.x, point.y, point.z}) {
        line += ' ';
        line += FormatFixed(value, digits, coordinateWidth);
    }
    line += ' ';
    const int lastWidth = digits + kLastFieldsWidthExtra;
    line += FormatFixed(point.sixthFieldValue, digits + 1, lastWidth);
    line += FormatFixed(point.seventhFieldValue, digits + 1, lastWidth);
    line += "\r\n";
    return line;
}

}  // namespace

std::string NewFileNameFor(const std::string& listingFileName) {
    return WithExtension(listingFileName, ".new");
}

void WriteCoordinatesOutput(SurveyState& state) {
    if (state.PointCount() == 0) {
        return;
    }
    state.NewFileName = NewFileNameFor(state.ListingFileName);
    const int digits = std::clamp(static_cast<int>(state.Parameters.significantDigits),
                                  kMinSignificantDigits, kMaxSignificantDigits);

    // The whole file is built first and replaces the old one in one step, so
    // a failed write leaves the previous results whole.
    std::string content;
    for (const SurveyPoint& point : state.PointTable) {
        if (point.planimetricKnown) {
            content += CoordinatesLine(point, digits);
        }
    }
    WriteFileReplacing(state.NewFileName, content);

    TextOutputFile& listing = state.ListingFile;
    listing.AppendLine(" ");
    listing.AppendLine(TextOf(texts::kPointsLeftHeading));
    listing.AppendLine(TextOf(texts::kPointsLeftHeadingFrench));
    listing.AppendLine(" ");
    int incomplete = 0;
    for (const SurveyPoint& point : state.PointTable) {
        if (!point.planimetricKnown || !point.heightKnown) {
            listing.AppendLine(point.name);
            ++incomplete;
        }
    }
    if (incomplete == 0) {
        listing.AppendLine(TextOf(texts::kAllPointsComputed));
    }
    // The closing block reaches the file in one write.
    listing.Flush();
}

}  // namespace calctopo
