// The program's computation (incremental derivation, no repeated failing
// attempts) against the literal one, on whole runs: the same pane lines in the
// same colours, the same tables after every derivation, the same listing and
// the same ".new" file, over several start points in a row and a second run
// on the same load.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "support/RandomNetwork.h"
#include "support/TableSnapshot.h"

namespace calctopo {
namespace {

using testing::Describe;
using testing::InEveryUnit;
using testing::LoadedSurvey;
using testing::MakeRandomNetwork;
using testing::RandomNetwork;
using testing::RandomNetworkOptions;
using testing::SameTables;
using testing::TablesFingerprint;

// The index of the first difference of two sequences, or their common length.
std::size_t FirstDifference(const std::vector<std::uint64_t>& a,
                            const std::vector<std::uint64_t>& b) {
    std::size_t k = 0;
    while (k < a.size() && k < b.size() && a[k] == b[k]) {
        ++k;
    }
    return k;
}

void ExpectSameComputation(const RandomNetworkOptions& options) {
    const RandomNetwork random = MakeRandomNetwork(options);
    LoadedSurvey literal(random.network, ComputationStrategy::Literal);
    LoadedSurvey incremental(random.network, ComputationStrategy::Incremental);
    // Every derivation in a run is followed by a pane line before the next
    // one (a method's line, or a point's green line): the tables seen at each
    // pane line are the tables after every derivation.
    std::vector<std::uint64_t> literalTables;
    std::vector<std::uint64_t> incrementalTables;
    literal.ui.afterAffiche = [&] { literalTables.push_back(TablesFingerprint(literal.state)); };
    incremental.ui.afterAffiche = [&] {
        incrementalTables.push_back(TablesFingerprint(incremental.state));
    };

    std::vector<std::string> starts = random.startPoints;
    starts.push_back(random.startPoints.front());  // a second run on the same load
    for (const std::string& start : starts) {
        SCOPED_TRACE("start point " + start);
        EXPECT_EQ(literal.Run(start), incremental.Run(start));
        ASSERT_TRUE(SameTables(literal.state, incremental.state));
    }
    const std::size_t first = FirstDifference(literalTables, incrementalTables);
    EXPECT_EQ(first, literalTables.size()) << "the tables differ at pane line " << first;
    EXPECT_EQ(literalTables.size(), incrementalTables.size());
    EXPECT_EQ(literal.WriteResults(), incremental.WriteResults());
    EXPECT_EQ(literal.Listing(), incremental.Listing());
    EXPECT_EQ(literal.ui.calls.size(), incremental.ui.calls.size());
}

// `base` in every unit, without and with the odd lines; the variants with
// odd lines also noisy when asked.
void ExpectSameComputationInEveryUnit(const RandomNetworkOptions& base, bool noisyWhenOdd) {
    for (RandomNetworkOptions options : InEveryUnit(base)) {
        if (noisyWhenOdd && options.oddLines) {
            options.angleSigma = 3e-5;
            options.lengthSigma = 0.004;
        }
        SCOPED_TRACE(Describe(options));
        ExpectSameComputation(options);
    }
}

TEST(Strategies, GeneratedNetworksInTheThreeUnits) {
    RandomNetworkOptions base;
    base.points = 200;
    base.seed = 31;
    ExpectSameComputationInEveryUnit(base, false);
}

TEST(Strategies, EveryMethodWithNoise) {
    RandomNetworkOptions base;
    base.points = 220;
    base.everyMethod = true;
    base.seed = 57;
    ExpectSameComputationInEveryUnit(base, true);
}

TEST(Strategies, PathologicalPairs) {
    RandomNetworkOptions options;
    options.points = 40;
    options.everyMethod = true;
    options.givenToUnknownReadings = 400;
    options.unknownToGivenReadings = 400;
    ExpectSameComputation(options);
}

}  // namespace
}  // namespace calctopo
