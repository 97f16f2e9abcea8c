#include "support/TableSnapshot.h"

#include <bit>
#include <string>
#include <vector>

namespace calctopo::testing {

namespace {

// Everything a computation may change, as numbers: doubles by their bits.
std::vector<std::uint64_t> SightBits(const Sight& s) {
    return {std::bit_cast<std::uint64_t>(s.bearing),
            std::bit_cast<std::uint64_t>(s.horizontalDistance),
            std::bit_cast<std::uint64_t>(s.heightDifference),
            static_cast<std::uint64_t>(s.bearingKnown),
            static_cast<std::uint64_t>(s.horizontalDistanceKnown),
            static_cast<std::uint64_t>(s.heightDifferenceKnown),
            static_cast<std::uint64_t>(s.station),
            static_cast<std::uint64_t>(s.target)};
}

std::vector<std::uint64_t> RoundBits(const StationRound& r) {
    return {std::bit_cast<std::uint64_t>(r.orientation),
            static_cast<std::uint64_t>(r.orientationKnown)};
}

std::vector<std::uint64_t> PointBits(const SurveyPoint& p) {
    return {std::bit_cast<std::uint64_t>(p.x),
            std::bit_cast<std::uint64_t>(p.y),
            std::bit_cast<std::uint64_t>(p.z),
            static_cast<std::uint64_t>(p.status),
            static_cast<std::uint64_t>(p.planimetricKnown),
            static_cast<std::uint64_t>(p.heightKnown)};
}

// FNV-1a over 64-bit words.
void Mix(std::uint64_t& hash, const std::vector<std::uint64_t>& words) {
    for (const std::uint64_t word : words) {
        hash ^= word;
        hash *= 0x100000001b3ULL;
    }
}

template <class TableT, class Bits>
::testing::AssertionResult SameEntries(const char* what, const TableT& a, const TableT& b,
                                       Bits bits) {
    if (a.Count() != b.Count()) {
        return ::testing::AssertionFailure()
               << what << ": " << a.Count() << " entries against " << b.Count();
    }
    for (int i = 1; i <= a.Count(); ++i) {
        if (bits(a[i]) != bits(b[i])) {
            return ::testing::AssertionFailure() << what << " " << i << " differs";
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

std::uint64_t TablesFingerprint(const SurveyState& state) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const Sight& s : state.SightTable) {
        Mix(hash, SightBits(s));
    }
    for (const StationRound& r : state.RoundTable) {
        Mix(hash, RoundBits(r));
    }
    for (const SurveyPoint& p : state.PointTable) {
        Mix(hash, PointBits(p));
    }
    return hash;
}

::testing::AssertionResult SameTables(const SurveyState& a, const SurveyState& b) {
    if (auto sights = SameEntries("sight", a.SightTable, b.SightTable, SightBits); !sights) {
        return sights;
    }
    if (auto rounds = SameEntries("round", a.RoundTable, b.RoundTable, RoundBits); !rounds) {
        return rounds;
    }
    return SameEntries("point", a.PointTable, b.PointTable, PointBits);
}

}  // namespace calctopo::testing
