// What the fast paths of the computation remember between calls, so that each
// call revisits only what can have changed since the one before.
//
// Three places, each with one writer:
// - PointChangeLog: written where a point's position, height or status is
//   stored (NotePointStored, NoteStatusStored in GLOBAL.h); read by the
//   incremental sight derivation and by the engine's retries.
// - IncrementalDerivationBookkeeping: owned by the incremental sight
//   derivation (geometry/IncrementalDerivation); a new sight table makes it
//   start afresh (ResetChangeTracking).
// - RetryBookkeeping: owned by the determination driver (engine/CALCUL).
//
// None of it is a result: the tables hold the results, and the literal
// computation, which ignores all of this, gives the same tables.
#pragma once

#include <cstdint>
#include <vector>

namespace calctopo {

// How the sights are derived and how often the engine retries a point. The
// program computes Incremental; Literal is the sweep-by-sweep reference that
// the tests and the benchmark hold it against. Both give the same bytes.
enum class ComputationStrategy {
    Incremental,  // revisit only what can have changed
    Literal,      // every sweep visits every sight; every candidate met is tried
};

struct PointChangeLog {
    // Bumped on every stored position, height or status: a determination
    // attempt on the same version reads the same tables and fails the same way.
    std::uint64_t version = 0;
    // Points given a position or a height since the derivation last looked:
    // their sights are the ones the rules may now fire on.
    std::vector<std::int32_t> storedPoints;
};

// The lines of the sight table, grouped for sharing: the sights between one
// unordered pair of points interact with no other sight when values are
// shared, so each line is shared on its own.
struct SightLine {
    std::int32_t first = 0;  // position of its first sight in lineSights
    // How many sights go from the higher-numbered point to the lower (for the
    // sights of a point to itself: all of them), then how many go back.
    std::int32_t towardsLowerCount = 0;
    std::int32_t towardsHigherCount = 0;
    bool toItself = false;  // the sights from one point to itself
};

struct IncrementalDerivationBookkeeping {
    // False until the derivation has indexed the current sight table; a load
    // (or any rebuilding of the sights) sets it back, and the next call then
    // visits every sight as the first sweep of a literal call would.
    bool prepared = false;
    // The table sizes it was prepared for, checked on every call.
    std::int32_t sightCount = 0;
    std::int32_t roundCount = 0;
    std::int32_t pointCount = 0;

    // The sights of every round in increasing number: round r holds
    // roundSights[roundFirst[r] .. roundFirst[r + 1]).
    std::vector<std::int32_t> roundFirst;
    std::vector<std::int32_t> roundSights;

    // Lines: lineOfSight[s] is the line of sight s; line l holds
    // lineSights[first .. first + towardsLowerCount + towardsHigherCount),
    // each part in increasing sight number.
    std::vector<SightLine> lines;
    std::vector<std::int32_t> lineSights;
    std::vector<std::int32_t> lineOfSight;

    // Sights whose inputs changed since the rules last looked at them: the
    // next sweep visits them. Kept from one call to the next.
    std::vector<std::int32_t> pendingSights;
    std::vector<char> isPending;
    // Lines with a value set since they were last shared.
    std::vector<std::int32_t> dirtyLines;
    std::vector<char> isDirty;

    // Working space of one sweep: the sights still to visit (a heap, lowest
    // number first), and the sights the sharing gave a value.
    std::vector<std::int32_t> sweep;
    std::vector<char> inSweep;
    std::vector<std::int32_t> received;
};

struct RetryBookkeeping {
    // Per point: the PointChangeLog version at the end of its last attempt
    // that left it incomplete, or kNever. Reset at the start of every run.
    static constexpr std::uint64_t kNever = UINT64_MAX;
    std::vector<std::uint64_t> failedAtVersion;
    // Per point: the generation of the given-centre list it was last added
    // to; it is in the current list when that is givenCentreGeneration, which
    // every emptying of the list increases.
    std::vector<std::uint32_t> givenCentreMark;
    std::uint32_t givenCentreGeneration = 1;
};

}  // namespace calctopo
