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

TEST(Strategies, GeneratedNetworksInTheThreeUnits) {
    for (const int unit : {1, 2, 3}) {
        for (const bool odd : {false, true}) {
            RandomNetworkOptions options;
            options.points = 200;
            options.angleUnit = unit;
            options.oddLines = odd;
            options.seed = 31 + static_cast<std::uint32_t>(unit * 2 + (odd ? 1 : 0));
            SCOPED_TRACE(::testing::Message() << "unit " << unit << (odd ? ", odd lines" : ""));
            ExpectSameComputation(options);
        }
    }
}

TEST(Strategies, EveryMethodWithNoiseAndOddLines) {
    for (const int unit : {1, 2, 3}) {
        for (const bool noisy : {false, true}) {
            RandomNetworkOptions options;
            options.points = 300;
            options.angleUnit = unit;
            options.everyMethod = true;
            options.oddLines = noisy;
            options.angleSigma = noisy ? 3e-5 : 0.0;
            options.lengthSigma = noisy ? 0.004 : 0.0;
            options.seed = 57 + static_cast<std::uint32_t>(unit * 2 + (noisy ? 1 : 0));
            SCOPED_TRACE(::testing::Message() << "unit " << unit << (noisy ? ", noisy" : ""));
            ExpectSameComputation(options);
        }
    }
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
