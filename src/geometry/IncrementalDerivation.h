// The sight derivation as the program runs it: the sweeps of the literal
// derivation, each visiting only the sights whose inputs can have changed.
//
// A rule reads one sight, its round, its two points and its observations, and
// writes only that sight and that round; a sight on which no rule fired is
// left exactly as it was, so it would fire nothing again until one of those
// inputs changes. The incremental derivation therefore visits, in each sweep
// and in increasing sight number:
// - the sights of the points stored since the last call (a position or a
//   height; PointChangeLog);
// - the sights on which a rule fired in the sweep before, or that the sharing
//   after it gave a value;
// - when a round is oriented during a sweep, the sights of that round: a
//   higher-numbered one in the same sweep and a lower-numbered one in the next,
//   as the literal sweep meets them.
// The sharing after each sweep runs line by line (the sights between one pair
// of points share with no other sight), on the lines that got a value since
// they were last shared; a line shared once is left unchanged by sharing it
// again. The sweeps stop, as the literal ones do, after the first sweep in
// which no rule fired; what its sharing gave waits for the next call.
//
// The bookkeeping lives in state.Derivation (ChangeTracking.h).
#pragma once

namespace calctopo {

struct SurveyState;

// One call of the derivation; leaves the same tables, bit for bit, as
// DeriveSightsLiteral on the same state.
void DeriveSightsIncremental(SurveyState& state);

}  // namespace calctopo
