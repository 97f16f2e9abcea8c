// The bounds of the values the program stores from its input files.
//
// A value outside them is not a survey measurement but a typing or transfer
// error (a misplaced exponent, a merged column): the readers report it as a
// field error. Within them, every product, square and sum the geometry forms
// stays finite and keeps the digits the listing prints.
#pragma once

#include <cmath>

namespace calctopo {

// Largest magnitude of a stored length, in the length unit of the coordinates
// file: the coordinates X, Y, Z and the two values carried to the ".new" file,
// distances, height differences, instrument and target heights. National grids
// reach 1e7 m, so 1e10 admits them in millimetres; at 1e10 doubles are still
// 2e-6 apart, finer than the 1e-4 units the listing resolves (its columns give
// thousandths with one decimal), and squares of such lengths (1e20) are far
// from overflowing.
constexpr double kMaxLengthMagnitude = 1e10;

// Largest magnitude of a stored angle (directions, zenith angles, bearings),
// in the user's angle unit. A reading lies within one turn (400 grades, 360
// degrees); 1e4 units leaves room for readings carried over several turns,
// and a double is still 2e-12 units apart there, far finer than the 1e-5 of
// the unit the listing shows.
constexpr double kMaxAngleMagnitude = 1e4;

// A length within its bound (either sign: coordinates, heights, height
// differences).
inline bool IsAdmissibleLength(double value) {
    return std::isfinite(value) && std::fabs(value) <= kMaxLengthMagnitude;
}

// A measured distance: within the bound and not negative. A negative distance
// would mirror the point through its station; it can only be a typing error.
inline bool IsAdmissibleDistance(double value) {
    return IsAdmissibleLength(value) && value >= 0.0;
}

inline bool IsAdmissibleAngle(double value) {
    return std::isfinite(value) && std::fabs(value) <= kMaxAngleMagnitude;
}

}  // namespace calctopo
