// What one sight of a completed point says about it: the observations the
// sight carries held against the coordinates the run found. A value that the
// sight does not observe, or that the coordinates cannot check yet, is absent.
#pragma once

#include <optional>

namespace calctopo {

struct SurveyState;

// The residuals of one sight from its station to its target (observed minus
// computed), seen from one of its two ends.
struct SightResiduals {
    // Observed bearing minus the bearing between the coordinates, radians in
    // (-π, π]; present when the sight has a direction reading and the other
    // end is placed.
    std::optional<double> misclosure;
    // The misclosure across the sight, length units: tan(misclosure) times the
    // horizontal distance between the coordinates. Absent with the misclosure,
    // and at a quarter turn, where it exceeds any length the program stores
    // (the tangent is infinite; rounding makes it some 1e16).
    std::optional<double> transverse;
    // The horizontal distance between the coordinates of the two ends, length
    // units; present with the misclosure.
    std::optional<double> computedDistance;
    // Observed minus computed horizontal distance, length units; present when
    // the sight has a distance observation and the other end is placed.
    std::optional<double> distance;
    // Observed minus computed height difference (target minus station),
    // length units; present when the sight has a zenith observation and the
    // other end is levelled.
    std::optional<double> heightDifference;

    // Whether the sight checks the point at all (it has a listing line).
    bool Any() const { return misclosure || distance || heightDifference; }
};

// The residuals of sight `number` for the completed point `point`, one of its
// two ends; the other end decides what can be checked. The sight's derived
// values are read as they stand: the derivation gives every sight between two
// placed points its bearing and distance, between two levelled points its
// height difference, and the flags are checked all the same so that an
// unknown value never reads as an observation.
SightResiduals SightResidualsOf(const SurveyState& state, int number, int point);

}  // namespace calctopo
