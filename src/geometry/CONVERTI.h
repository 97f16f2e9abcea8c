// Angle units and their conversions to and from radians.
//
// Every angle inside the program is in radians; the user's unit is seen only in
// the observations file and the listing. π and the products are formed with a
// 64-bit mantissa (long double on x86-64) and rounded once to a double.
#pragma once

#include <cstdint>

namespace calctopo {

struct SurveyState;

// The user's angle unit, as held in ComputationParameters::angleUnit.
enum AngleUnit : std::int32_t {
    Grades = 1,              // 400 to the full turn
    SexagesimalDegrees = 2,  // packed D.MMSS: 12.304512 is 12°30'45.12"
    DecimalDegrees = 3,      // 360 to the full turn
};

// None of the six conversions normalises: the sign and any number of turns stay.
double GradesToRadians(double grades);
double RadiansToGrades(double radians);
double DegreesToRadians(double degrees);
double RadiansToDegrees(double radians);
double SexagesimalToRadians(double packed);   // packed D.MMSS -> radians
double RadiansToSexagesimal(double radians);  // radians -> packed D.MMSS

// An angle in radians in the user's unit (1 grades, 2 packed D.MMSS, 3
// decimal degrees), as the listing and the data check print it. A unit code
// outside 1..3 has no conversion: the angle is returned in radians, the unit
// the load left such angles in.
double RadiansToUserUnit(std::int32_t angleUnit, double radians);

// Converts in place, from the current angle unit to radians, the value of every
// direction, then zenith angle, then bearing observation. Runs once per load.
// A unit outside 1..3 leaves every value as read.
void ConvertObservationAngles(SurveyState& state);

}  // namespace calctopo
