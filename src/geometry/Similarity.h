// Plane similarities between two frames of the same plane: a block of points
// computed in a local frame of its own and the frame of the coordinates file.
//
// A similarity maps (x, y) to (X, Y) = (tx + a·x − b·y, ty + b·x + a·y): a
// rotation, a scale √(a² + b²) and a translation, never a reflection (both
// frames have X to the east and Y to the north). Lengths are in the unit of
// the coordinates; angles in radians. Intermediates are long double.
#pragma once

#include <span>

namespace calctopo {

struct PlaneSimilarity {
    long double a = 1.0L;   // scale × cos θ (θ counter-clockwise)
    long double b = 0.0L;   // scale × sin θ
    long double tx = 0.0L;  // translation, length units
    long double ty = 0.0L;
};

// One point known in both frames.
struct CommonPoint {
    double localX = 0.0;
    double localY = 0.0;
    double globalX = 0.0;
    double globalY = 0.0;
};

// Whether the fit may change the scale.
enum class SimilarityScale {
    Free,  // rotation, translation and scale: a figure built from angles alone
    Unit,  // rotation and translation only: distances fixed the figure's scale
};

// Least-squares similarity mapping the local positions of the common points
// onto their global positions (Helmert's closed form on the centroids: with
// p, q the centred local and global positions, a = Σ(p·q) / Σ|p|², b = Σ(p×q)
// / Σ|p|²; with the scale held to 1, (a, b) is the unit vector of (Σ p·q,
// Σ p×q)). Needs two common points at least. False, with `result`
// untouched, when fewer are given, when the local points all coincide or when
// the result is not finite.
bool FitSimilarity(std::span<const CommonPoint> points, SimilarityScale scale,
                   PlaneSimilarity& result);

// The similarity of scale 1 that turns every bearing by `bearingShift`
// (radians, clockwise, global bearing minus local bearing) and maps the local
// position of `point` onto its global one.
PlaneSimilarity SimilarityFromPointAndShift(const CommonPoint& point, double bearingShift);

// (X, Y), the image of the local (x, y).
void ApplySimilarity(const PlaneSimilarity& similarity, double x, double y, double& globalX,
                     double& globalY);

// The scale factor √(a² + b²).
double ScaleOf(const PlaneSimilarity& similarity);

// The turn the similarity gives every bearing (radians, clockwise, in [−π, π]).
double BearingShiftOf(const PlaneSimilarity& similarity);

}  // namespace calctopo
