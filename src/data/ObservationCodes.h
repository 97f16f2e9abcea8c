// The codes of the observation lines and the field positions of both input
// files. Field positions are 1-based, as the users count the fields and as the
// readers' messages name them.
#pragma once

#include <cstdint>

namespace calctopo {

// Field 1 of an observation line.
enum class ObservationCode : std::int32_t {
    SlopeDistance =
        1,  // along the line of sight; reduced with a zenith angle or a height difference
    HorizontalDistance = 2,  //
    SlopeDistanceToo = 3,    // a slope distance, treated exactly as code 1
    HeightDifference = 4,    // target's height minus station's
    Direction = 5,           // a reading in the current round of the station
    Zenith = 6,              // zenith angle, with instrument and target heights
    RoundOpening = 7,        // opens a new round, then reads as a Direction
    Bearing = 8,             // from the station to the target
    Centring = 9,            // target one with the station in plan: zero distance and bearing
};

// The code as the file writes it.
constexpr std::int32_t CodeNumber(ObservationCode code) {
    return static_cast<std::int32_t>(code);
}

// The fields of a coordinates line (seven fields).
namespace coordinate_field {
constexpr int kFreeText = 1;  // any text, not read
constexpr int kName = 2;
constexpr int kX = 3;        // east
constexpr int kY = 4;        // north
constexpr int kZ = 5;        // height
constexpr int kSixth = 6;    // carried to the ".new" file
constexpr int kSeventh = 7;  // carried to the ".new" file
constexpr int kCount = 7;
}  // namespace coordinate_field

// The fields of an observation line: seven fields, or eight and more where
// field 6 is not read and the heights move one field on.
namespace observation_field {
constexpr int kCode = 1;
constexpr int kStation = 2;
constexpr int kTarget = 3;
constexpr int kValue = 4;
constexpr int kFifth = 5;                  // checked as a number, not used
constexpr int kInstrumentHeightShort = 6;  // on a line of seven fields
constexpr int kInstrumentHeightLong = 7;   // on a line of eight or more
constexpr int kShortCount = 7;
}  // namespace observation_field

}  // namespace calctopo
