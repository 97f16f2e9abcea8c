#include "geometry/Similarity.h"

#include <cmath>

#include "geometry/Primitives.h"

namespace calctopo {

namespace {

bool Finite(const PlaneSimilarity& s) {
    return std::isfinite(s.a) && std::isfinite(s.b) && std::isfinite(s.tx) && std::isfinite(s.ty);
}

// The translation that maps the local point (x, y) onto (X, Y) once (a, b)
// is chosen.
void Translate(PlaneSimilarity& s, long double x, long double y, long double globalX,
               long double globalY) {
    s.tx = globalX - (s.a * x - s.b * y);
    s.ty = globalY - (s.b * x + s.a * y);
}

}  // namespace

bool FitSimilarity(std::span<const CommonPoint> points, SimilarityScale scale,
                   PlaneSimilarity& result) {
    if (points.size() < 2) {
        return false;
    }
    const auto n = static_cast<long double>(points.size());
    long double lx = 0.0L;
    long double ly = 0.0L;
    long double gx = 0.0L;
    long double gy = 0.0L;
    for (const CommonPoint& p : points) {
        lx += p.localX;
        ly += p.localY;
        gx += p.globalX;
        gy += p.globalY;
    }
    lx /= n;
    ly /= n;
    gx /= n;
    gy /= n;

    // Σ p·q, Σ p×q and Σ |p|² on the centred positions.
    long double dot = 0.0L;
    long double cross = 0.0L;
    long double norm = 0.0L;
    for (const CommonPoint& p : points) {
        const long double px = p.localX - lx;
        const long double py = p.localY - ly;
        const long double qx = p.globalX - gx;
        const long double qy = p.globalY - gy;
        dot += px * qx + py * qy;
        cross += px * qy - py * qx;
        norm += px * px + py * py;
    }
    if (!(norm > 0.0L)) {
        return false;
    }
    PlaneSimilarity fitted;
    if (scale == SimilarityScale::Free) {
        fitted.a = dot / norm;
        fitted.b = cross / norm;
    } else {
        const long double length = std::hypot(dot, cross);
        if (!(length > 0.0L)) {
            return false;
        }
        fitted.a = dot / length;
        fitted.b = cross / length;
    }
    Translate(fitted, lx, ly, gx, gy);
    if (!Finite(fitted)) {
        return false;
    }
    result = fitted;
    return true;
}

PlaneSimilarity SimilarityFromPointAndShift(const CommonPoint& point, double bearingShift) {
    // A clockwise turn of the bearings is a counter-clockwise rotation by −shift.
    PlaneSimilarity s;
    s.a = std::cos(static_cast<long double>(bearingShift));
    s.b = -std::sin(static_cast<long double>(bearingShift));
    Translate(s, point.localX, point.localY, point.globalX, point.globalY);
    return s;
}

void ApplySimilarity(const PlaneSimilarity& s, double x, double y, double& globalX,
                     double& globalY) {
    globalX = static_cast<double>(s.tx + s.a * x - s.b * y);
    globalY = static_cast<double>(s.ty + s.b * x + s.a * y);
}

double ScaleOf(const PlaneSimilarity& s) {
    return static_cast<double>(std::hypot(s.a, s.b));
}

double BearingShiftOf(const PlaneSimilarity& s) {
    return NormalizeAngle(static_cast<double>(-std::atan2(s.b, s.a)));
}

}  // namespace calctopo
