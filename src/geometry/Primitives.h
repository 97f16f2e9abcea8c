// Plane-survey primitives on plain numbers.
//
// Conventions: X grows to the east, Y to the north, Z is the height. A bearing is
// the horizontal angle in radians, clockwise from north (+Y) at the first point
// towards the second. A direction reading is a clockwise angle in radians with
// an arbitrary zero (bearing = orientation of its round + reading). A zenith
// angle is 0 at the zenith and π/2 on a horizontal sight. A height difference is
// target minus station; hi is the instrument height, ht the target height.
// Lengths are in the unit of the coordinates file (metres for the curvature
// term). Intermediates are long double; results are doubles.
//
// A primitive that can meet a geometry it cannot solve returns false and writes
// no output; no NaN or infinity ever leaves a primitive.
#pragma once

namespace calctopo {

// Fixed tolerances that decide whether a geometry is usable.
struct GeometryTolerances {
    // Two bearings closer than 1 grade to parallel or anti-parallel do not
    // intersect usably (radians).
    static constexpr double MinIntersectionAngle = 0.015707963267948967;  // π/200
    // A resection station within 4 grades of the danger circle is rejected (radians).
    static constexpr double ResectionCircleTolerance = 0.06283185307179587;  // π/50
    // A resection with two angles narrower than 4 grades is rejected (radians).
    static constexpr double ResectionMinAngle = 0.06283185307179587;  // π/50
    // Agreement of a control distance with a trilaterated point (length units).
    static constexpr double TrilaterationDistanceTolerance = 5.0;
    // Agreement of a control bearing with a trilaterated point (radians).
    static constexpr double TrilaterationBearingTolerance = 0.007853981633974483;  // π/400
};

// Kind of the control value of a trilateration.
enum TrilaterationControl : int {
    ControlByDistance = 1,
    ControlByBearing = 2,
};

// a folded into [-π, π] (radians); -π and π are returned unchanged.
double NormalizeAngle(double a);

// Bearing (radians, [0, 2π)) and distance of the vector (dx east, dy north).
// Bearing 0 under 0.0001 length units; exactly π/2 or 3π/2 when |dy| < 0.0001.
void BearingAndDistance(double dx, double dy, double& bearing, double& distance);

// Bearing and distance from (x1, y1) to (x2, y2).
void BearingAndDistanceBetween(double x1, double y1, double x2, double y2, double& bearing,
                               double& distance);

// z2 - z1.
double HeightDifferenceOfPoints(double z1, double z2);

// Height difference (length units) from a slope distance d, a zenith angle z
// (radians) and the instrument and target heights, with the earth-curvature and
// refraction term (horizontal distance in km)² / 15 metres.
double HeightDifferenceFromSlope(double d, double z, double hi, double ht);

// Height difference from a horizontal distance dh and a zenith angle z, with the
// same curvature term. False when tan(π/2 - z) gives no finite value.
bool HeightDifferenceFromHorizontal(double dh, double z, double hi, double ht,
                                    double& heightDifference);

// Horizontal distance d·sin z from a slope distance d and a zenith angle z.
double HorizontalFromSlope(double d, double z);

// True when two rays with bearings g1, g2 (radians) cross at more than 1 grade
// from parallel or anti-parallel.
bool CheckIntersectionAngle(double g1, double g2);

// Crossing (x, y) of the line through (x1, y1) with bearing g1 and the line
// through (x2, y2) with bearing g2. False when the lines are parallel.
bool IntersectBearings(double x1, double y1, double g1, double x2, double y2, double g2, double& x,
                       double& y);

// (x0 + d·sin g, y0 + d·cos g): the point at distance d and bearing g from (x0, y0).
void PolarPoint(double x0, double y0, double d, double g, double& x, double& y);

double AddHeightDifference(double z0, double dh);       // z0 + dh
double SubtractHeightDifference(double z0, double dh);  // z0 - dh

// Orientation of a round (radians): bearing from point 1 to point 2 minus the
// reading r towards point 2; not normalised.
double OrientationFromDirection(double x1, double y1, double r, double x2, double y2);

// True when the eccentric distance d is strictly shorter than the distance AB.
bool EccentricDistanceFits(double xa, double ya, double xb, double yb, double d);

// Eccentric station P at horizontal distance d from A, seeing A and B with the
// readings ra and rb (radians). False when the geometry gives no finite point.
bool EccentricPoint(double xa, double ya, double xb, double yb, double ra, double rb, double d,
                    double& x, double& y);

// P seeing A and B under the angle omega (reading to B minus reading to A,
// radians), at horizontal distances da from A and db from B. False when the
// triangle cannot be solved; x, y written only on success.
bool TriangulatedPoint(double xa, double ya, double xb, double yb, double omega, double da,
                       double db, double& x, double& y);

// P at distance da from A and db from B; the control (kind 1: distance v between
// C and P; kind 2: bearing v from C towards P) picks one of the two mirror
// solutions. False, with x, y unwritten, when A and B coincide or the circles
// do not meet.
bool TrilateratedPoint(int controlKind, double xa, double ya, double xb, double yb, double da,
                       double db, double xc, double yc, double v, double& x, double& y);

// The largest of a, b, c (the first of equals).
double MaxOfThree(double a, double b, double c);

}  // namespace calctopo
