#include "data/ObservationCodes.h"

#include <gtest/gtest.h>

namespace calctopo {
namespace {

// The numbers are those the surveyors' field books write in field 1 (the
// user guide's table of codes); a renumbering would misread every file.
TEST(ObservationCodes, NumbersAreThoseOfTheFieldBook) {
    EXPECT_EQ(CodeNumber(ObservationCode::SlopeDistance), 1);
    EXPECT_EQ(CodeNumber(ObservationCode::HorizontalDistance), 2);
    EXPECT_EQ(CodeNumber(ObservationCode::SlopeDistanceToo), 3);
    EXPECT_EQ(CodeNumber(ObservationCode::HeightDifference), 4);
    EXPECT_EQ(CodeNumber(ObservationCode::Direction), 5);
    EXPECT_EQ(CodeNumber(ObservationCode::Zenith), 6);
    EXPECT_EQ(CodeNumber(ObservationCode::RoundOpening), 7);
    EXPECT_EQ(CodeNumber(ObservationCode::Bearing), 8);
    EXPECT_EQ(CodeNumber(ObservationCode::Centring), 9);
}

// Field positions as the users count them (from 1), and as the readers'
// messages name them.
TEST(ObservationCodes, FieldPositionsOfBothLayouts) {
    EXPECT_EQ(coordinate_field::kName, 2);
    EXPECT_EQ(coordinate_field::kX, 3);
    EXPECT_EQ(coordinate_field::kSeventh - coordinate_field::kX + 1, 5);  // five numbers
    EXPECT_EQ(coordinate_field::kCount, coordinate_field::kSeventh);
    EXPECT_EQ(observation_field::kValue, 4);
    // On a line of eight fields or more, field 6 is not read and the two
    // heights move one field on.
    EXPECT_EQ(observation_field::kInstrumentHeightShort + 1, observation_field::kShortCount);
    EXPECT_EQ(observation_field::kInstrumentHeightLong,
              observation_field::kInstrumentHeightShort + 1);
}

}  // namespace
}  // namespace calctopo
