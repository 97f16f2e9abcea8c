// π and the turns made of it, for every computation on angles.
//
// Angles are held in double, but turning, folding and reversing them, and
// converting between units, are done in long double so that adding a turn or
// multiplying by π/200 does not itself cost a rounding of the double's size.
// The constants must then carry the long double's full precision: a double π
// (std::numbers::pi, M_PI) would be wrong from its 17th digit and put that
// error into every angle it touches. One definition keeps every file on the
// same value.
#pragma once

namespace calctopo {

// More digits than any long double holds, so the literal rounds to the long
// double nearest to π whatever its width (64-bit or 113-bit mantissa).
inline constexpr long double kPi = 3.14159265358979323846264338327950288L;
// A full turn and a quarter turn (exact multiples: only the exponent changes).
inline constexpr long double kTwoPi = 2.0L * kPi;
inline constexpr long double kHalfPi = kPi / 2.0L;

}  // namespace calctopo
