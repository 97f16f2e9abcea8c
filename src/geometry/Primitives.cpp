#include "geometry/Primitives.h"

#include <cmath>

#include "geometry/Angles.h"

namespace calctopo {
namespace {

// Below this length (length units: a tenth of a millimetre) two points are one
// and the line between them has no bearing; the bearing is reported as 0.
constexpr long double kCoincidentDistance = 0.0001L;

// A line whose north component is under a tenth of a millimetre (length units)
// is taken as exactly east–west: its bearing is π/2 or 3π/2, which also keeps
// the arcsine away from an argument rounded to ±1.
constexpr long double kEastWestTolerance = 0.0001L;

// Beyond this magnitude (radians, 64 turns) an angle is first reduced by an
// exact remainder instead of whole turns one at a time, so that folding always
// ends; angles of ordinary size never reach it and are folded turn by turn.
constexpr long double kTurnByTurnLimit = 64.0L * kTwoPi;

// Two lines whose directions differ by less than this (sine of the angle
// between them) are parallel to the rounding of bearings held in double: their
// crossing would lie beyond any survey and is no point at all. Callers reject
// crossings under 1 grade (MinIntersectionAngle) long before this.
constexpr long double kParallelSine = 1e-12L;

// A zenith angle within this (cosine of π/2 − z, i.e. |sin z|) of 0 or π is a
// vertical sight: the tangent of π/2 − z has a pole there and a horizontal
// distance gives no height difference.
constexpr long double kVerticalSightSine = 1e-12L;

double ToDouble(long double value) {
    return static_cast<double>(value);
}

bool Finite(double a, double b) {
    return std::isfinite(a) && std::isfinite(b);
}

// Hands a computed point to the caller only when both coordinates are finite:
// a point that overflowed or came out NaN is no point, and the caller's x and
// y are then left as they were.
bool GiveIfFinite(double px, double py, double& x, double& y) {
    if (!Finite(px, py)) {
        return false;
    }
    x = px;
    y = py;
    return true;
}

}  // namespace

// Method: whole turns are added while a < −π, then subtracted while a > π, each
// step rounded to a double; a huge angle is first brought near the range by an
// exact remainder of 2π. Argument and result radians. A non-finite a is
// returned as it is (no angle to fold).
double NormalizeAngle(double a) {
    if (!std::isfinite(a)) {
        return a;
    }
    if (std::fabs(static_cast<long double>(a)) > kTurnByTurnLimit) {
        a = ToDouble(std::remainder(static_cast<long double>(a), kTwoPi));
    }
    while (static_cast<long double>(a) < -kPi) {
        a = ToDouble(a + kTwoPi);
    }
    while (static_cast<long double>(a) > kPi) {
        a = ToDouble(a - kTwoPi);
    }
    return a;
}

// Method: the distance is √(dx² + dy²); the bearing is arcsin(dx / distance),
// taken as arctan(r / √(1 − r²)), moved into [0, 2π) north of the station and
// reflected as π − arcsin r south of it. Arguments dx (east) and dy (north) in
// length units; bearing in radians [0, 2π), distance in length units.
void BearingAndDistance(double dx, double dy, double& bearing, double& distance) {
    const long double ex = dx;
    const long double ey = dy;
    bearing = 0.0;
    distance = ToDouble(std::sqrt(ex * ex + ey * ey));
    if (static_cast<long double>(distance) < kCoincidentDistance) {
        return;
    }
    if (std::fabs(ey) < kEastWestTolerance) {
        bearing = dx > 0.0 ? ToDouble(kHalfPi) : ToDouble(3.0L * kHalfPi);
        return;
    }
    long double r = ex / static_cast<long double>(distance);
    // The stored distance may round below |dx| when dy is negligible beside dx.
    if (r > 1.0L) {
        r = 1.0L;
    } else if (r < -1.0L) {
        r = -1.0L;
    }
    const long double cosine = std::sqrt(1.0L - r * r);
    const long double arcsine = cosine > 0.0L ? std::atan(r / cosine) : std::copysign(kHalfPi, r);
    if (dy >= 0.0) {
        long double g = arcsine;
        if (g < 0.0L) {
            g += kTwoPi;
        }
        bearing = ToDouble(g);
    } else {
        bearing = ToDouble(kPi - arcsine);
    }
}

// Method: BearingAndDistance of the coordinate differences. Arguments in
// length units; bearing in radians [0, 2π), distance in length units.
void BearingAndDistanceBetween(double x1, double y1, double x2, double y2, double& bearing,
                               double& distance) {
    BearingAndDistance(ToDouble(static_cast<long double>(x2) - x1),
                       ToDouble(static_cast<long double>(y2) - y1), bearing, distance);
}

// Method: z2 − z1. Heights and result in length units.
double HeightDifferenceOfPoints(double z1, double z2) {
    return ToDouble(static_cast<long double>(z2) - z1);
}

// Method: d·cos z + hi − ht + (d·sin z / 1000)² / 15, the last term being the
// combined earth curvature and refraction in metres for a horizontal distance
// in kilometres. d, hi, ht and the result in length units (metres), z radians.
double HeightDifferenceFromSlope(double d, double z, double hi, double ht) {
    const long double ld = d;
    const long double lz = z;
    const long double horizontalKm = ld * std::sin(lz) / 1000.0L;
    return ToDouble(ld * std::cos(lz) + hi - ht + horizontalKm * horizontalKm / 15.0L);
}

// Method: dh·tan(π/2 − z) + hi − ht + (dh / 1000)² / 15 (curvature and
// refraction as above). dh, hi, ht and the result in length units (metres), z
// radians. False on a vertical sight, where the tangent has its pole.
bool HeightDifferenceFromHorizontal(double dh, double z, double hi, double ht,
                                    double& heightDifference) {
    const long double ldh = dh;
    const long double elevation = kHalfPi - static_cast<long double>(z);
    if (std::fabs(std::cos(elevation)) < kVerticalSightSine) {
        return false;
    }
    const long double km = ldh / 1000.0L;
    const double result = ToDouble(ldh * std::tan(elevation) + hi - ht + km * km / 15.0L);
    if (!std::isfinite(result)) {
        return false;
    }
    heightDifference = result;
    return true;
}

// Method: d·sin z. d and the result in length units, z radians.
double HorizontalFromSlope(double d, double z) {
    return ToDouble(static_cast<long double>(d) * std::sin(static_cast<long double>(z)));
}

// Method: the difference of the bearings is folded by half turns into
// (−π/2, π/2]; the rays cut usably when what is left exceeds 1 grade.
// Arguments radians.
bool CheckIntersectionAngle(double g1, double g2) {
    long double d = std::fabs(static_cast<long double>(g1) - g2);
    if (d > kTurnByTurnLimit) {
        d = std::fmod(d, kPi);  // huge or infinite: reduce at once (NaN fails below)
    }
    while (d > kHalfPi) {
        d -= kPi;
    }
    return std::fabs(d) > static_cast<long double>(GeometryTolerances::MinIntersectionAngle);
}

// Method: along line 1 the crossing lies at t1 = (ΔX·cos g2 − ΔY·sin g2) /
// sin(g1 − g2) from point 1 (ΔX, ΔY from point 1 to point 2); sines and cosines
// keep east–west and north–south lines exact at any size of coordinates.
// Coordinates in length units, bearings radians. False for parallel lines.
bool IntersectBearings(double x1, double y1, double g1, double x2, double y2, double g2, double& x,
                       double& y) {
    const long double lg1 = g1;
    const long double lg2 = g2;
    const long double sine = std::sin(lg1 - lg2);
    if (!(std::fabs(sine) >= kParallelSine)) {
        return false;
    }
    const long double dx = static_cast<long double>(x2) - x1;
    const long double dy = static_cast<long double>(y2) - y1;
    const long double t1 = (dx * std::cos(lg2) - dy * std::sin(lg2)) / sine;
    const double rx = ToDouble(x1 + t1 * std::sin(lg1));
    const double ry = ToDouble(y1 + t1 * std::cos(lg1));
    return GiveIfFinite(rx, ry, x, y);
}

// Method: (x0 + d·sin g, y0 + d·cos g). Coordinates and d in length units, g
// radians.
void PolarPoint(double x0, double y0, double d, double g, double& x, double& y) {
    const long double ld = d;
    const long double lg = g;
    x = ToDouble(x0 + ld * std::sin(lg));
    y = ToDouble(y0 + ld * std::cos(lg));
}

double AddHeightDifference(double z0, double dh) {
    return ToDouble(static_cast<long double>(z0) + dh);
}

double SubtractHeightDifference(double z0, double dh) {
    return ToDouble(static_cast<long double>(z0) - dh);
}

// Method: bearing from point 1 to point 2 minus the reading towards point 2.
// Coordinates in length units, r and the result radians.
double OrientationFromDirection(double x1, double y1, double r, double x2, double y2) {
    double bearing = 0.0;
    double distance = 0.0;
    BearingAndDistanceBetween(x1, y1, x2, y2, bearing, distance);
    return ToDouble(static_cast<long double>(bearing) - r);
}

// Method: d < distance AB, strictly. Coordinates and d in length units.
bool EccentricDistanceFits(double xa, double ya, double xb, double yb, double d) {
    double bearing = 0.0;
    double distance = 0.0;
    BearingAndDistanceBetween(xa, ya, xb, yb, bearing, distance);
    return d < distance;
}

// Method: in the triangle A B P the angle at P is α = rb − ra (folded into
// [−π, π]); the sine rule gives the angle at B, β = arcsin(sin α · d / AB), so
// the angle at A is γ = π − (β + α) and P lies at distance d from A on the
// bearing G(AB) + γ. Coordinates and d in length units, readings radians.
bool EccentricPoint(double xa, double ya, double xb, double yb, double ra, double rb, double d,
                    double& x, double& y) {
    double g = 0.0;
    double ab = 0.0;
    BearingAndDistanceBetween(xa, ya, xb, yb, g, ab);
    if (ab == 0.0) {
        return false;
    }
    const long double alpha = NormalizeAngle(ToDouble(static_cast<long double>(rb) - ra));
    const long double s = std::sin(alpha) * d / ab;
    if (!(std::fabs(s) <= 1.0L)) {
        return false;
    }
    const long double beta = std::asin(s);
    const long double gamma = kPi - (beta + alpha);
    double px = 0.0;
    double py = 0.0;
    PolarPoint(xa, ya, d, ToDouble(g + gamma), px, py);
    return GiveIfFinite(px, py, x, y);
}

// Method: in the triangle A B P with the angle ω at P and the sides dA = PA and
// dB = PB, the angle at A is β = atan2(dB·sin ω, dA − dB·cos ω), well
// conditioned at every shape of triangle; P lies at distance dA from A on the
// bearing G(AB) + β. A pair whose sine rule gives |sin β| = |sin ω|·dB / AB
// above 1 cannot be a triangle and is refused. Coordinates and distances in
// length units, ω radians.
bool TriangulatedPoint(double xa, double ya, double xb, double yb, double omega, double da,
                       double db, double& x, double& y) {
    double g = 0.0;
    double ab = 0.0;
    BearingAndDistanceBetween(xa, ya, xb, yb, g, ab);
    if (ab == 0.0) {
        return false;
    }
    const long double lomega = omega;
    const long double ldb = db;
    const long double s = std::sin(lomega) * ldb / ab;
    if (!(std::fabs(s) <= 1.0L)) {
        return false;
    }
    const long double beta = std::atan2(ldb * std::sin(lomega), da - ldb * std::cos(lomega));
    double px = 0.0;
    double py = 0.0;
    PolarPoint(xa, ya, da, ToDouble(g + beta), px, py);
    return GiveIfFinite(px, py, x, y);
}

// Method: the cosine rule gives the angle c at A between AB and AP; the first
// solution lies at distance dA from A on the bearing G(AB) + c, its mirror in
// AB on G(AB) − c. The control keeps the first solution when its distance from
// C lies strictly within 5 length units of v (kind 1), or when its bearing
// from C lies strictly within 0.5 grade of v, compared modulo a turn (kind 2);
// otherwise the mirror is taken. Coordinates, distances and a distance v in
// length units; a bearing v in radians.
bool TrilateratedPoint(int controlKind, double xa, double ya, double xb, double yb, double da,
                       double db, double xc, double yc, double v, double& x, double& y) {
    const double dx = ToDouble(static_cast<long double>(xb) - xa);
    const double dy = ToDouble(static_cast<long double>(yb) - ya);
    if (dx == 0.0 && dy == 0.0) {
        return false;
    }
    double g = 0.0;
    double ab = 0.0;
    BearingAndDistance(dx, dy, g, ab);
    const long double lda = da;
    const long double ldb = db;
    const long double lab = ab;
    const long double denominator = 2.0L * lda * lab;
    if (denominator == 0.0L) {
        return false;
    }
    const long double cosine = (lda * lda + lab * lab - ldb * ldb) / denominator;
    if (!(std::fabs(cosine) <= 1.0L)) {
        return false;  // the two circles do not meet
    }
    const long double c = std::acos(cosine);
    double px = 0.0;
    double py = 0.0;
    PolarPoint(xa, ya, da, ToDouble(g + c), px, py);
    double gc = 0.0;
    double dc = 0.0;
    BearingAndDistance(ToDouble(static_cast<long double>(px) - xc),
                       ToDouble(static_cast<long double>(py) - yc), gc, dc);
    bool keepFirst = true;
    if (controlKind == ControlByDistance) {
        const long double lv = v;
        const long double tolerance = GeometryTolerances::TrilaterationDistanceTolerance;
        keepFirst = lv - tolerance < dc && dc < lv + tolerance;
    } else if (controlKind == ControlByBearing) {
        const double offset = NormalizeAngle(ToDouble(static_cast<long double>(gc) - v));
        keepFirst = std::fabs(offset) < GeometryTolerances::TrilaterationBearingTolerance;
    }
    if (!keepFirst) {
        PolarPoint(xa, ya, da, ToDouble(g - c), px, py);
    }
    return GiveIfFinite(px, py, x, y);
}

// Method: a, then b if larger, then c if larger (the first of equals stays).
double MaxOfThree(double a, double b, double c) {
    double m = a;
    if (b > m) {
        m = b;
    }
    if (c > m) {
        m = c;
    }
    return m;
}

}  // namespace calctopo
