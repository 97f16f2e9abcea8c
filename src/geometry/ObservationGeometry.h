// The value an observation should have, computed from the coordinates: what
// the data check compares every raw observation with. Each function works the
// way the sight derivation reduces observations, so that exact observations
// give residuals of zero:
// - a slope distance and its zenith angle join the instrument (station height
//   + hi) and the target (target height + ht), with the earth-curvature and
//   refraction term (Dh / 1000)² / 15 metres lowering the far end;
// - a direction reading plus the orientation of its round is a bearing.
// Lengths in the unit of the coordinates (metres for the curvature term),
// angles in radians. Intermediates are long double.
#pragma once

#include <vector>

namespace calctopo {

// Earth curvature and refraction over a horizontal distance dh (metres):
// (dh / 1000)² / 15 metres, the term of HeightDifferenceFromSlope and
// HeightDifferenceFromHorizontal.
double CurvatureAndRefraction(double dh);

// Vertical component (length units) of the line of sight from the instrument
// to the target: dz − hi + ht − CurvatureAndRefraction(dh), for a horizontal
// distance dh, a height difference dz (target minus station) and the
// instrument and target heights hi, ht.
double LineOfSightRise(double dh, double dz, double hi, double ht);

// Method: √(dh² + rise²) with the rise above. The slope distance (length
// units) an instrument at hi measures to a target at ht.
double ComputedSlopeDistance(double dh, double dz, double hi, double ht);

// Method: atan2(dh, rise). The zenith angle (radians, 0 at the zenith) the
// instrument reads towards the target. False when both dh and the rise are 0
// (instrument and target at one place: no line of sight).
bool ComputedZenith(double dh, double dz, double hi, double ht, double& zenith);

// Method: distance·sin(residual). The offset (length units) of the target
// from the ray actually observed, for an angular residual (radians) at a
// distance (length units); signed like the residual.
double TransverseOffset(double residual, double distance);

// Method: every angle is folded into [−π, π] about the first one, the median
// of the folded values is taken (the mean of the two middle ones for an even
// count) and the first angle is added back. A robust mean of angles
// (radians) that one wild value cannot move by more than the spread of the
// others; false for an empty list.
bool MedianAngle(const std::vector<double>& angles, double& median);

}  // namespace calctopo
