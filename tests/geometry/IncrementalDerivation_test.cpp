// The incremental derivation against the literal one on generated networks:
// after the load and after every call that follows stored positions and
// heights, the two leave the same bits in every sight, round and point.
#include "geometry/IncrementalDerivation.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "engine/LoadPipeline.h"
#include "geometry/SightDerivation.h"
#include "support/RandomNetwork.h"
#include "support/StateBuilder.h"
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

// Stores a position or a height (or both) in the point, as a method does.
// The position is the network's true one when the network knows the point.
void Store(SurveyState& state, const RandomNetwork& random, int point, bool plan, bool height) {
    SurveyPoint& p = state.PointTable[point];
    double x = 1000.0 + point;
    double y = 2000.0 - point;
    double z = 100.0 + 0.01 * point;
    try {
        const testing::TruePoint& truth = random.network.Point(Cp1252ToUtf8(p.name));
        x = truth.x;
        y = truth.y;
        z = truth.z;
    } catch (const std::invalid_argument&) {
        // A name the reader shortened: any place will do.
    }
    if (plan && !p.planimetricKnown) {
        p.x = x;
        p.y = y;
        p.planimetricKnown = true;
        NotePointStored(state, point);
    }
    if (height && !p.heightKnown) {
        p.z = z;
        p.heightKnown = true;
        NotePointStored(state, point);
    }
}

// Loads the network both ways, then stores the unknown points in a random
// order, a few at a time (sometimes none: a call right after another), and
// derives both ways after each batch.
void ExpectSameDerivations(const RandomNetworkOptions& options) {
    const RandomNetwork random = MakeRandomNetwork(options);
    LoadedSurvey literal(random.network, ComputationStrategy::Literal);
    LoadedSurvey incremental(random.network, ComputationStrategy::Incremental);
    ASSERT_TRUE(SameTables(literal.state, incremental.state)) << "after the load";

    std::vector<int> unknown;
    for (int point = 1; point <= literal.state.PointCount(); ++point) {
        if (!literal.state.PointTable[point].planimetricKnown) {
            unknown.push_back(point);
        }
    }
    std::mt19937 draw(options.seed);
    std::shuffle(unknown.begin(), unknown.end(), draw);
    for (std::size_t next = 0, call = 0; next < unknown.size(); ++call) {
        const std::size_t batch = std::min<std::size_t>(draw() % 4, unknown.size() - next);
        for (std::size_t k = 0; k < batch; ++k, ++next) {
            const unsigned what = draw() % 3;  // plan, height, or both
            for (LoadedSurvey* survey : {&literal, &incremental}) {
                Store(survey->state, random, unknown[next], what != 1, what != 0);
            }
        }
        DeriveSights(literal.state);
        DeriveSights(incremental.state);
        ASSERT_TRUE(SameTables(literal.state, incremental.state)) << "after call " << call;
    }
}

TEST(IncrementalDerivation, EveryCallLeavesTheTablesOfTheLiteralDerivation) {
    RandomNetworkOptions base;
    base.points = 160;
    base.seed = 100;
    for (const RandomNetworkOptions& options : InEveryUnit(base)) {
        SCOPED_TRACE(Describe(options));
        ExpectSameDerivations(options);
    }
}

TEST(IncrementalDerivation, EveryMethodNoisyDataAndHeavyPairs) {
    RandomNetworkOptions base;
    base.points = 240;
    base.everyMethod = true;
    base.seed = 7;
    for (RandomNetworkOptions options : InEveryUnit(base)) {
        if (options.angleUnit == 1 && !options.oddLines) {
            options.givenToUnknownReadings = 150;
            options.unknownToGivenReadings = 150;
        }
        if (options.angleUnit == 3) {
            options.angleSigma = 2e-5;
            options.lengthSigma = 0.003;
        }
        SCOPED_TRACE(Describe(options));
        ExpectSameDerivations(options);
    }
}

// A tiny network drawn at random, the same into both builders: a few points
// (some given), a few rounds, readings between random points (a point to
// itself too), random distances, zenith angles, height differences and
// bearings. The readings agree with nothing, so every order in which values
// reach a sight shows in the numbers.
void DrawTinyNetwork(std::mt19937& draw, testing::StateBuilder& a, testing::StateBuilder& b) {
    const auto unit = [&draw] { return static_cast<double>(draw()) / 4294967296.0; };
    const int points = 3 + static_cast<int>(draw() % 4);
    for (int p = 0; p < points; ++p) {
        const std::string name(1, static_cast<char>('A' + p));
        if (draw() % 3 == 0) {
            const double x = 1000.0 * unit();
            const double y = 1000.0 * unit();
            const double z = 100.0 * unit();
            a.KnownPoint(name, x, y, z);
            b.KnownPoint(name, x, y, z);
        } else {
            a.Point(name);
            b.Point(name);
        }
    }
    const int rounds = 1 + static_cast<int>(draw() % 3);
    for (int r = 0; r < rounds; ++r) {
        a.Round();
        b.Round();
    }
    const int observations = 3 + static_cast<int>(draw() % 14);
    for (int k = 0; k < observations; ++k) {
        const int station = 1 + static_cast<int>(draw() % static_cast<unsigned>(points));
        const int target = 1 + static_cast<int>(draw() % static_cast<unsigned>(points));
        const double value = 6.5 * unit();
        const double other = 1.0 + 2.0 * unit();
        const unsigned kind = draw() % 8;
        const int round = static_cast<int>(draw() % static_cast<unsigned>(rounds + 1));
        const bool horizontal = draw() % 2 == 0;
        for (testing::StateBuilder* n : {&a, &b}) {
            if (kind < 3) {
                n->Direction(station, target, value, round);
            } else if (kind == 3) {
                n->Distance(station, target, 100.0 * other, horizontal);
            } else if (kind == 4) {
                n->Zenith(station, target, other);
            } else if (kind == 5) {
                n->HeightDifference(station, target, value - 3.0);
            } else {
                n->Bearing(station, target, value);
            }
        }
    }
    a.Build();
    b.Build();
}

TEST(IncrementalDerivation, TinyRandomNetworksStoredPointByPoint) {
    std::mt19937 draw(99);
    for (int trial = 0; trial < 3000; ++trial) {
        testing::StateBuilder literal;
        testing::StateBuilder incremental;
        literal.state.Strategy = ComputationStrategy::Literal;
        DrawTinyNetwork(draw, literal, incremental);
        DeriveSights(literal.state);
        DeriveSights(incremental.state);
        ASSERT_TRUE(SameTables(literal.state, incremental.state)) << "trial " << trial;
        for (int p = 1; p <= literal.state.PointCount(); ++p) {
            if (literal.state.PointTable[p].planimetricKnown) {
                continue;
            }
            const double x = static_cast<double>(draw() % 1000);
            const double y = static_cast<double>(draw() % 1000);
            const bool height = draw() % 2 == 0;
            for (testing::StateBuilder* n : {&literal, &incremental}) {
                SurveyPoint& point = n->state.PointTable[p];
                point.x = x;
                point.y = y;
                point.planimetricKnown = true;
                point.z = height ? 50.0 : 0.0;
                point.heightKnown = height;
                NotePointStored(n->state, p);
                DeriveSights(n->state);
            }
            ASSERT_TRUE(SameTables(literal.state, incremental.state))
                << "trial " << trial << ", point " << p;
        }
    }
}

TEST(IncrementalDerivation, ASightTableBuiltAgainIsDerivedFromEverySight) {
    // A second load into the same state: nothing is kept from the first.
    RandomNetworkOptions options;
    options.points = 60;
    options.everyMethod = true;
    const RandomNetwork random = MakeRandomNetwork(options);
    LoadedSurvey literal(random.network, ComputationStrategy::Literal);
    LoadedSurvey incremental(random.network, ComputationStrategy::Incremental);
    literal.Run(random.startPoints.front());
    incremental.Run(random.startPoints.front());
    for (LoadedSurvey* survey : {&literal, &incremental}) {
        survey->state.ListingFile.Close();
        survey->state.ListingFile.Create(survey->state.ListingFileName);
        LoadSurveyData(survey->state, survey->ui);
    }
    EXPECT_TRUE(SameTables(literal.state, incremental.state));
}

}  // namespace
}  // namespace calctopo
