#include "geometry/CONVERTI.h"

#include <algorithm>
#include <cmath>

#include "data/GLOBAL.h"
#include "geometry/Angles.h"

namespace calctopo {
namespace {

// Slack (in minutes of the packed D.MMSS value times 100, i.e. in units of
// t = a × 100) added before taking the whole minutes. A value typed on a whole
// minute, such as 12.29, is held as a double a few 1e-14 below the decimal
// written; without the slack it would decode as 28 minutes and 99.99... seconds.
// 1e-9 of a minute (6e-8 second) is far above that representation error and far
// below any second a surveyor types.
constexpr long double kWholeMinuteSlack = 1e-9L;

// Seconds above this value (arcseconds) are carried into the next minute when a
// packed D.MMSS value is formed, so that 10°59'59.9995" reads 11.0000 and not
// 10.5960; 59.999" itself stays as computed.
constexpr long double kSecondsCarryLimit = 59.999L;

double ToDouble(long double value) {
    return static_cast<double>(value);
}

}  // namespace

// Method: x × π / 200 in extended precision. Argument grades, result radians.
double GradesToRadians(double grades) {
    return ToDouble(static_cast<long double>(grades) * kPi / 200.0L);
}

// Method: x × 200 / π in extended precision. Argument radians, result grades.
double RadiansToGrades(double radians) {
    return ToDouble(static_cast<long double>(radians) * 200.0L / kPi);
}

// Method: x × π / 180 in extended precision. Argument degrees, result radians.
double DegreesToRadians(double degrees) {
    return ToDouble(static_cast<long double>(degrees) * kPi / 180.0L);
}

// Method: x × 180 / π in extended precision. Argument radians, result degrees.
double RadiansToDegrees(double radians) {
    return ToDouble(static_cast<long double>(radians) * 180.0L / kPi);
}

// Method: the magnitude a is scaled to t = a × 100, whose integer part holds
// degrees and minutes (DDMM) and whose fraction × 100 holds the seconds. The
// whole minutes are taken with a small slack so that a value on a whole minute
// decodes exactly; a fraction pushed just below zero by that slack reads as 0
// seconds. Minutes and seconds are not validated (12.75 is 13.25°).
// Argument packed sexagesimal degrees D.MMSS, result radians; the sign is kept.
double SexagesimalToRadians(double packed) {
    const long double sign = packed >= 0.0 ? 1.0L : -1.0L;
    const long double a = sign * static_cast<long double>(packed);
    const long double t = a * 100.0L;  // exact: 53 × 7 bits fit in 64
    const long double wholeMinutes = std::floor(t + kWholeMinuteSlack);
    const long double degrees = std::trunc(a);
    const long double minutes = wholeMinutes - 100.0L * degrees;
    const long double seconds = std::max(0.0L, (t - wholeMinutes) * 100.0L);
    const double decimalDegrees = ToDouble(degrees + minutes / 60.0L + seconds / 3600.0L);
    return ToDouble(sign * static_cast<long double>(DegreesToRadians(decimalDegrees)));
}

// Method: the magnitude is turned into decimal degrees, split into whole
// degrees, whole minutes and seconds by truncation; seconds above 59.999 are
// carried into the minutes and 60 minutes into the degrees; nothing is rounded.
// Argument radians, result packed sexagesimal degrees D.MMSS; the sign is kept.
double RadiansToSexagesimal(double radians) {
    const long double sign = radians >= 0.0 ? 1.0L : -1.0L;
    const double a = ToDouble(sign * static_cast<long double>(radians));
    const double b = RadiansToDegrees(a);
    long double degrees = std::trunc(static_cast<long double>(b));
    const double mm = ToDouble((static_cast<long double>(b) - degrees) * 60.0L);
    long double minutes = std::trunc(static_cast<long double>(mm));
    long double seconds = (static_cast<long double>(mm) - minutes) * 60.0L;
    if (seconds > kSecondsCarryLimit) {
        seconds = 0.0L;
        minutes += 1.0L;
        if (minutes == 60.0L) {
            minutes = 0.0L;
            degrees += 1.0L;
        }
    }
    return ToDouble(sign * (degrees + minutes / 100.0L + seconds / 10000.0L));
}

void ConvertObservationAngles(SurveyState& state) {
    double (*toRadians)(double) = nullptr;
    switch (state.Parameters.angleUnit) {
        case Grades:
            toRadians = GradesToRadians;
            break;
        case SexagesimalDegrees:
            toRadians = SexagesimalToRadians;
            break;
        case DecimalDegrees:
            toRadians = DegreesToRadians;
            break;
        default:
            // An unknown unit selects no conversion: the values are taken as
            // radians as they stand.
            return;
    }
    for (int i = 1; i <= state.DirectionTable.Count(); ++i) {
        state.DirectionTable[i].value = toRadians(state.DirectionTable[i].value);
    }
    for (int i = 1; i <= state.ZenithTable.Count(); ++i) {
        state.ZenithTable[i].value = toRadians(state.ZenithTable[i].value);
    }
    for (int i = 1; i <= state.BearingTable.Count(); ++i) {
        state.BearingTable[i].value = toRadians(state.BearingTable[i].value);
    }
}

double RadiansToUserUnit(std::int32_t angleUnit, double radians) {
    switch (angleUnit) {
        case Grades:
            return RadiansToGrades(radians);
        case SexagesimalDegrees:
            return RadiansToSexagesimal(radians);
        case DecimalDegrees:
            return RadiansToDegrees(radians);
        default:
            return radians;
    }
}

}  // namespace calctopo
