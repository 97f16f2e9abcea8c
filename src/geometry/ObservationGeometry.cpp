#include "geometry/ObservationGeometry.h"

#include <algorithm>
#include <cmath>

#include "geometry/Primitives.h"

namespace calctopo {

namespace {

// (dh / 1000)² / 15 written as dh² / 15 000 000 (metres).
constexpr long double kCurvatureDivisor = 15.0L * 1000.0L * 1000.0L;

}  // namespace

double CurvatureAndRefraction(double dh) {
    const long double km = static_cast<long double>(dh) / 1000.0L;
    return static_cast<double>(km * km / 15.0L);
}

double LineOfSightRise(double dh, double dz, double hi, double ht) {
    const long double ldh = dh;
    return static_cast<double>(static_cast<long double>(dz) - hi + ht -
                               ldh * ldh / kCurvatureDivisor);
}

double ComputedSlopeDistance(double dh, double dz, double hi, double ht) {
    const long double ldh = dh;
    const long double rise = LineOfSightRise(dh, dz, hi, ht);
    return static_cast<double>(std::sqrt(ldh * ldh + rise * rise));
}

bool ComputedZenith(double dh, double dz, double hi, double ht, double& zenith) {
    const long double rise = LineOfSightRise(dh, dz, hi, ht);
    if (dh == 0.0 && rise == 0.0L) {
        return false;
    }
    const double result = static_cast<double>(std::atan2(static_cast<long double>(dh), rise));
    if (!std::isfinite(result)) {
        return false;
    }
    zenith = result;
    return true;
}

double TransverseOffset(double residual, double distance) {
    return static_cast<double>(static_cast<long double>(distance) *
                               std::sin(static_cast<long double>(residual)));
}

bool MedianAngle(const std::vector<double>& angles, double& median) {
    if (angles.empty()) {
        return false;
    }
    const long double reference = angles.front();
    std::vector<long double> folded;
    folded.reserve(angles.size());
    for (const double angle : angles) {
        folded.push_back(NormalizeAngle(static_cast<double>(angle - reference)));
    }
    std::sort(folded.begin(), folded.end());
    const std::size_t n = folded.size();
    const long double middle =
        n % 2 == 1 ? folded[n / 2] : (folded[n / 2 - 1] + folded[n / 2]) / 2.0L;
    median = static_cast<double>(reference + middle);
    return true;
}

}  // namespace calctopo
