#include "geometry/Resection.h"

#include <cmath>
#include <initializer_list>

#include "geometry/Angles.h"
#include "geometry/Primitives.h"

namespace calctopo {
namespace {

double ToDouble(long double value) {
    return static_cast<double>(value);
}

// Angle at the station between two sights (radians): the difference of the
// readings, taken the short way round.
double AngleBetweenReadings(double ra, double rb) {
    long double a = std::fabs(static_cast<long double>(ra) - rb);
    if (a > kPi) {
        a = kTwoPi - a;
    }
    return ToDouble(a);
}

// Twice the signed area of the triangle of the three points (length units²);
// zero when they are collinear.
long double TwiceSignedArea(long double x1, long double y1, long double x2, long double y2,
                            long double x3, long double y3) {
    return x1 * y2 - x2 * y1 + x2 * y3 - x3 * y2 + x3 * y1 - x1 * y3;
}

}  // namespace

// Method: a station on the circle through the three known points (the danger
// circle) sees every chord under the inscribed angle, so its readings cannot
// fix it. The widest angle amax at P spans a chord AB; on the circle it would
// equal the inscribed angle t of that chord on one arc or π − t on the other,
// t being π/2 minus the angle at B between the chord and the centre. The
// station is refused within 4 grades of either, and when two of its three
// angles are under 4 grades (sights too close together to be told apart).
// Coordinates in length units, readings radians (one round, any zero).
bool CheckResection(double x1, double y1, double x2, double y2, double x3, double y3, double r1,
                    double r2, double r3) {
    const double a12 = AngleBetweenReadings(r1, r2);
    const double a23 = AngleBetweenReadings(r2, r3);
    const double a31 = AngleBetweenReadings(r3, r1);
    const double amax = MaxOfThree(a12, a23, a31);

    double xa = x1;
    double ya = y1;
    double xb = x3;
    double yb = y3;
    if (amax == a12) {
        xb = x2;
        yb = y2;
    } else if (amax == a23) {
        xa = x2;
        ya = y2;
    }

    const long double lx1 = x1, ly1 = y1, lx2 = x2, ly2 = y2, lx3 = x3, ly3 = y3;
    const long double m = TwiceSignedArea(lx1, ly1, lx2, ly2, lx3, ly3);
    const long double s1 = lx1 * lx1 + ly1 * ly1;
    const long double s2 = lx2 * lx2 + ly2 * ly2;
    const long double s3 = lx3 * lx3 + ly3 * ly3;
    const long double nx = s1 * (ly2 - ly3) + s2 * (ly3 - ly1) + s3 * (ly1 - ly2);
    const long double ny = s1 * (lx3 - lx2) + s2 * (lx1 - lx3) + s3 * (lx2 - lx1);

    long double t = 0.0L;
    if (m == 0.0L) {
        // Collinear known points: the "circle" is their line.
        if (nx == 0.0L || ny == 0.0L) {
            return false;
        }
    } else {
        const double xc = ToDouble(nx / m / 2.0L);
        const double yc = ToDouble(ny / m / 2.0L);
        double g1 = 0.0;
        double g2 = 0.0;
        double distance = 0.0;
        BearingAndDistanceBetween(xb, yb, xa, ya, g1, distance);
        BearingAndDistanceBetween(xb, yb, xc, yc, g2, distance);
        long double delta = std::fabs(static_cast<long double>(g1) - g2);
        if (delta > kPi) {
            delta = kTwoPi - delta;
        }
        t = kHalfPi - delta;
    }

    const long double tolerance = GeometryTolerances::ResectionCircleTolerance;
    const long double lmax = amax;
    if (std::fabs(lmax - t) < tolerance || std::fabs(lmax - (kPi - t)) < tolerance) {
        return false;
    }

    int narrow = 0;
    for (double angle : {a12, a23, a31}) {
        if (angle < GeometryTolerances::ResectionMinAngle) {
            ++narrow;
        }
    }
    return narrow < 2;
}

// Method: P is the weighted mean of the three known points with barycentric
// weights k_i = 1 / (M·cot α_jk − (P_j − P_i)·(P_k − P_i)), M being twice the
// signed area of the triangle and α_jk the angle at P between the sights to
// the other two points (the tangent has period π, so the readings need no
// folding). Known points whose triangle has no area give no weights.
// Coordinates in length units, readings radians (one round, any zero).
bool ResectionPoint(double x1, double y1, double x2, double y2, double x3, double y3, double r1,
                    double r2, double r3, double& x, double& y) {
    const long double lx1 = x1, ly1 = y1, lx2 = x2, ly2 = y2, lx3 = x3, ly3 = y3;
    const long double m = TwiceSignedArea(lx1, ly1, lx2, ly2, lx3, ly3);
    if (m == 0.0L) {
        return false;  // every weighted mean would lie on the line of the points
    }
    const long double alpha12 = static_cast<long double>(r1) - r2;
    const long double alpha23 = static_cast<long double>(r2) - r3;
    const long double alpha31 = static_cast<long double>(r3) - r1;

    // One weight; false when a sight pair is parallel (tangent 0) or the bracket
    // vanishes, so that no infinity reaches the mean.
    auto weight = [m](long double alpha, long double dx1, long double dx2, long double dy1,
                      long double dy2, double& k) {
        const long double tangent = std::tan(alpha);
        if (tangent == 0.0L || !std::isfinite(tangent)) {
            return false;
        }
        const long double bracket = m / tangent - dx1 * dx2 - dy1 * dy2;
        if (bracket == 0.0L || !std::isfinite(bracket)) {
            return false;
        }
        k = ToDouble(1.0L / bracket);
        return std::isfinite(k);
    };

    double k1 = 0.0;
    double k2 = 0.0;
    double k3 = 0.0;
    if (!weight(alpha23, lx2 - lx1, lx3 - lx1, ly2 - ly1, ly3 - ly1, k1) ||
        !weight(alpha31, lx3 - lx2, lx1 - lx2, ly3 - ly2, ly1 - ly2, k2) ||
        !weight(alpha12, lx1 - lx3, lx2 - lx3, ly1 - ly3, ly2 - ly3, k3)) {
        return false;
    }
    const long double s = static_cast<long double>(k1) + k2 + k3;
    if (s == 0.0L || !std::isfinite(s)) {
        return false;
    }
    const long double w1 = k1 / s;
    const long double w2 = k2 / s;
    const long double w3 = 1.0L - w1 - w2;
    const double px = ToDouble(w1 * lx1 + w2 * lx2 + w3 * lx3);
    const double py = ToDouble(w1 * ly1 + w2 * ly2 + w3 * ly3);
    if (!std::isfinite(px) || !std::isfinite(py)) {
        return false;
    }
    x = px;
    y = py;
    return true;
}

}  // namespace calctopo
