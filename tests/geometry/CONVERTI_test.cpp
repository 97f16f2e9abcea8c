#include "geometry/CONVERTI.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "support/Compare.h"

namespace calctopo {
namespace {

// A few units in the last place of an angle of a few radians.
constexpr double kAngleUlps = 4e-15;
// Agreement of packed D.MMSS values written to 1e-7 (a thousandth of a second)
// or better.
constexpr double kPackedTolerance = 1e-10;

constexpr double kPi = 3.141592653589793;

// The exact results (the truncations of the D.MMSS conversions, the single
// rounding of x × π / 200) need the 64-bit mantissa of the x87 long double,
// both as the compiler sees it and as the processor runs it: a compiler whose
// long double is a double (MSVC), or a runtime that sets the x87 unit to
// 53-bit precision, gives other results and must fail here.
TEST(ExtendedPrecision, LongDoubleCarriesA64BitMantissa) {
    EXPECT_EQ(std::numeric_limits<long double>::digits, 64);
    // 1 + 2^-63 needs all 64 bits; volatile keeps the sum at run time.
    volatile long double one = 1.0L;
    volatile long double lastBit = std::ldexp(1.0L, -63);
    EXPECT_NE(one + lastBit, one);
    // 12.29 × 100 is exact at that precision, just below 1229, where a
    // double rounds it to 1229 itself.
    volatile long double packed = 12.29;
    EXPECT_LT(packed * 100.0L, 1229.0L);
}

TEST(CONVERTI, ConvertsGradesAndDegrees) {
    EXPECT_EQ(GradesToRadians(400.0), 2.0 * kPi);
    EXPECT_EQ(DegreesToRadians(180.0), kPi);
    EXPECT_REAL_NEAR(100.0, RadiansToGrades(kPi / 2.0), 1e-13);
    EXPECT_REAL_NEAR(90.0, RadiansToDegrees(kPi / 2.0), 1e-13);
    // No normalising: sign and extra turns stay.
    EXPECT_EQ(GradesToRadians(-100.0), -kPi / 2.0);
    EXPECT_REAL_NEAR(5.0 * kPi, DegreesToRadians(900.0), kAngleUlps);
    EXPECT_REAL_NEAR(-450.0, RadiansToDegrees(-2.5 * kPi), 1e-12);
}

TEST(CONVERTI, DecodesPackedSexagesimalDegrees) {
    EXPECT_REAL_NEAR(DegreesToRadians(12.5125), SexagesimalToRadians(12.3045), kAngleUlps);
    EXPECT_EQ(SexagesimalToRadians(-12.3045), -SexagesimalToRadians(12.3045));
    EXPECT_REAL_NEAR(DegreesToRadians(1.0 / 120.0), SexagesimalToRadians(0.0030), kAngleUlps);
    EXPECT_REAL_NEAR(DegreesToRadians(12.0 + 30.0 / 60.0 + 45.12 / 3600.0),
                     SexagesimalToRadians(12.304512), kAngleUlps);
    // Minutes are not validated: 75 minutes are 1.25 degrees.
    EXPECT_REAL_NEAR(DegreesToRadians(13.25), SexagesimalToRadians(12.75), kAngleUlps);
    EXPECT_EQ(SexagesimalToRadians(0.0), 0.0);
}

TEST(CONVERTI, DecodesWholeMinutesExactly) {
    // 12.29 is held just below the decimal written; it is still 12°29'00".
    EXPECT_REAL_NEAR(DegreesToRadians(12.0 + 29.0 / 60.0), SexagesimalToRadians(12.29), kAngleUlps);
    EXPECT_REAL_NEAR(DegreesToRadians(0.5), SexagesimalToRadians(0.30), kAngleUlps);
    EXPECT_REAL_NEAR(DegreesToRadians(12.5), SexagesimalToRadians(12.30), kAngleUlps);
    // Every whole minute of a few degree values, either side of the decimal.
    for (int d : {0, 1, 12, 45, 89, 179, 359}) {
        for (int m = 0; m < 60; ++m) {
            const double packed = d + m / 100.0;
            EXPECT_REAL_NEAR(DegreesToRadians(d + m / 60.0), SexagesimalToRadians(packed),
                             kAngleUlps)
                << d << "°" << m << "'";
            EXPECT_REAL_NEAR(-DegreesToRadians(d + m / 60.0), SexagesimalToRadians(-packed),
                             kAngleUlps);
        }
    }
}

TEST(CONVERTI, PacksRadiansAsSexagesimalDegrees) {
    EXPECT_REAL_NEAR(45.0, RadiansToSexagesimal(kPi / 4.0), kPackedTolerance);
    EXPECT_REAL_NEAR(-45.0, RadiansToSexagesimal(-kPi / 4.0), kPackedTolerance);
    EXPECT_REAL_NEAR(12.304512, RadiansToSexagesimal(SexagesimalToRadians(12.304512)),
                     kPackedTolerance);
    EXPECT_REAL_NEAR(-12.304512, RadiansToSexagesimal(SexagesimalToRadians(-12.304512)),
                     kPackedTolerance);
}

TEST(CONVERTI, CarriesSecondsIntoMinutesAndDegrees) {
    // 10°59'59.9995": the seconds carry into the minutes, then into the degrees.
    EXPECT_REAL_NEAR(11.0,
                     RadiansToSexagesimal(DegreesToRadians(10.0 + 59.0 / 60.0 + 59.9995 / 3600.0)),
                     kPackedTolerance);
    // 59°59'59.9999" carries to 60°.
    EXPECT_REAL_NEAR(60.0,
                     RadiansToSexagesimal(DegreesToRadians(59.0 + 59.0 / 60.0 + 59.9999 / 3600.0)),
                     kPackedTolerance);
    // 10°30'59.9995" carries into the minutes only.
    EXPECT_REAL_NEAR(10.31, RadiansToSexagesimal(DegreesToRadians(10.5 + 59.9995 / 3600.0)),
                     kPackedTolerance);
    // 10°30'59.999" does not carry: about 10.3059999.
    EXPECT_REAL_NEAR(10.3059999, RadiansToSexagesimal(DegreesToRadians(10.5 + 59.999 / 3600.0)),
                     1e-9);
}

void FillAngles(SurveyState& state, int unit) {
    state.Parameters.angleUnit = unit;
    state.DirectionTable.Append({1, 2, 100.0, 1});
    state.DirectionTable.Append({1, 3, 12.3045, 1});
    state.ZenithTable.Append({1, 2, 90.0, 1.5, 1.6});
    state.BearingTable.Append({1, 2, 200.0});
    state.DistanceTable.Append({1, 2, 123.456, 1.5, 1.6, false});
}

TEST(CONVERTI, ConvertsEveryObservationAngleOnce) {
    SurveyState grades;
    FillAngles(grades, Grades);
    ConvertObservationAngles(grades);
    EXPECT_EQ(grades.DirectionTable[1].value, kPi / 2.0);
    EXPECT_EQ(grades.DirectionTable[2].value, GradesToRadians(12.3045));
    EXPECT_EQ(grades.ZenithTable[1].value, GradesToRadians(90.0));
    EXPECT_EQ(grades.BearingTable[1].value, kPi);
    EXPECT_EQ(grades.DistanceTable[1].value, 123.456);  // not an angle
    EXPECT_EQ(grades.ZenithTable[1].instrumentHeight, 1.5);

    // With sexagesimal degrees, 100.0000 is 100°, not 100 grades.
    SurveyState sexagesimal;
    FillAngles(sexagesimal, SexagesimalDegrees);
    ConvertObservationAngles(sexagesimal);
    EXPECT_EQ(sexagesimal.DirectionTable[1].value, DegreesToRadians(100.0));
    EXPECT_EQ(sexagesimal.DirectionTable[2].value, SexagesimalToRadians(12.3045));
    EXPECT_EQ(sexagesimal.BearingTable[1].value, DegreesToRadians(200.0));

    SurveyState degrees;
    FillAngles(degrees, DecimalDegrees);
    ConvertObservationAngles(degrees);
    EXPECT_EQ(degrees.DirectionTable[2].value, DegreesToRadians(12.3045));
    EXPECT_EQ(degrees.ZenithTable[1].value, kPi / 2.0);
}

TEST(CONVERTI, LeavesValuesOfAnUnknownUnitAsRead) {
    for (int unit : {0, 4, -1}) {
        SurveyState state;
        FillAngles(state, unit);
        ConvertObservationAngles(state);
        EXPECT_EQ(state.DirectionTable[1].value, 100.0);
        EXPECT_EQ(state.ZenithTable[1].value, 90.0);
        EXPECT_EQ(state.BearingTable[1].value, 200.0);
    }
}

}  // namespace
}  // namespace calctopo
