// The walks that pair readings give the pairs and triples of the plain nested
// loops, in the same order, on lists with runs of one target, several rounds
// and names given to two points.
#include "engine/CandidateWalks.h"

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

namespace calctopo {
namespace {

using Pairs = std::vector<std::pair<std::size_t, std::size_t>>;
using Triples = std::vector<std::tuple<std::size_t, std::size_t, std::size_t>>;

// Targets 1 to 4; points 3 and 4 bear the same name, as a name given twice
// in the coordinates file makes it possible.
const std::vector<std::string> kNames = {"", "A", "B", "C", "C"};

// A list of readings in runs: a run repeats one target in one round.
std::vector<ReadingCandidate> DrawCandidates(std::mt19937& draw) {
    std::vector<ReadingCandidate> candidates;
    const int runs = 1 + static_cast<int>(draw() % 7);
    for (int r = 0; r < runs; ++r) {
        const auto target = static_cast<std::int32_t>(1 + draw() % 4);
        const auto round = static_cast<std::int32_t>(draw() % 3);
        const int length = 1 + static_cast<int>(draw() % 4);
        for (int k = 0; k < length; ++k) {
            candidates.push_back({static_cast<std::int32_t>(candidates.size() + 1), target, round,
                                  &kNames[static_cast<std::size_t>(target)]});
        }
    }
    return candidates;
}

// The plain loops of triangulation, eccentric station and resection.
Pairs ForwardPairsByLoops(const std::vector<ReadingCandidate>& c) {
    Pairs pairs;
    for (std::size_t i = 0; i + 1 < c.size(); ++i) {
        for (std::size_t j = i + 1; j < c.size(); ++j) {
            if (*c[i].name != *c[j].name && c[i].round == c[j].round) {
                pairs.emplace_back(i, j);
            }
        }
    }
    return pairs;
}

Pairs CrossPairsByLoops(const std::vector<ReadingCandidate>& c,
                        const std::vector<std::size_t>& firsts) {
    Pairs pairs;
    for (const std::size_t a : firsts) {
        for (std::size_t b = 0; b < c.size(); ++b) {
            if (*c[b].name != *c[a].name && c[a].round == c[b].round) {
                pairs.emplace_back(a, b);
            }
        }
    }
    return pairs;
}

Triples ChainedTriplesByLoops(const std::vector<ReadingCandidate>& c) {
    Triples triples;
    for (std::size_t i = 0; i + 2 < c.size(); ++i) {
        for (std::size_t j = i + 1; j + 1 < c.size(); ++j) {
            const ReadingCandidate& s1 = c[i];
            const ReadingCandidate& s2 = c[j];
            const ReadingCandidate& s3 = c[j + 1];
            if (s2.round == s1.round && s3.round == s1.round && s1.target != s2.target &&
                s1.target != s3.target && s2.target != s3.target) {
                triples.emplace_back(i, j, j + 1);
            }
        }
    }
    return triples;
}

TEST(CandidateWalks, SamePairsAndTriplesInTheSameOrderAsTheLoops) {
    std::mt19937 draw(4242);
    for (int trial = 0; trial < 2000; ++trial) {
        const std::vector<ReadingCandidate> c = DrawCandidates(draw);
        std::vector<std::size_t> firsts;
        for (std::size_t k = 0; k < c.size(); ++k) {
            if (draw() % 2 == 0) {
                firsts.push_back(k);
            }
        }
        Pairs forward;
        ForEachForwardPair(c, [&](std::size_t i, std::size_t j) {
            forward.emplace_back(i, j);
            return false;
        });
        EXPECT_EQ(forward, ForwardPairsByLoops(c)) << "trial " << trial;
        Pairs cross;
        ForEachCrossPair(c, firsts, [&](std::size_t a, std::size_t b) {
            cross.emplace_back(a, b);
            return false;
        });
        EXPECT_EQ(cross, CrossPairsByLoops(c, firsts)) << "trial " << trial;
        Triples triples;
        ForEachChainedTriple(c, [&](std::size_t i, std::size_t j, std::size_t k) {
            triples.emplace_back(i, j, k);
            return false;
        });
        EXPECT_EQ(triples, ChainedTriplesByLoops(c)) << "trial " << trial;
    }
}

TEST(CandidateWalks, AVisitThatSucceedsEndsTheWalk) {
    std::mt19937 draw(7);
    std::vector<ReadingCandidate> c;
    do {
        c = DrawCandidates(draw);
    } while (ForwardPairsByLoops(c).size() < 3 || ChainedTriplesByLoops(c).size() < 3);
    // Stopping at the second pair or triple: the walk reports it and visits
    // nothing after it.
    int visits = 0;
    EXPECT_TRUE(ForEachForwardPair(c, [&](std::size_t, std::size_t) { return ++visits == 2; }));
    EXPECT_EQ(visits, 2);
    visits = 0;
    EXPECT_TRUE(ForEachChainedTriple(
        c, [&](std::size_t, std::size_t, std::size_t) { return ++visits == 2; }));
    EXPECT_EQ(visits, 2);
    EXPECT_FALSE(ForEachForwardPair({}, [](std::size_t, std::size_t) { return true; }));
    EXPECT_FALSE(ForEachCrossPair(c, {}, [](std::size_t, std::size_t) { return true; }));
}

TEST(CandidateWalks, ThousandsOfReadingsOfOneTargetPairWithTheOthersOnly) {
    // One round: 5000 readings of A, then B and C. Triangulation pairs each A
    // with B and C, and B with C; resection closes every A on (B, C).
    std::vector<ReadingCandidate> c;
    for (int k = 0; k < 5000; ++k) {
        c.push_back({k + 1, 1, 1, &kNames[1]});
    }
    c.push_back({5001, 2, 1, &kNames[2]});
    c.push_back({5002, 3, 1, &kNames[3]});
    std::size_t pairs = 0;
    ForEachForwardPair(c, [&](std::size_t, std::size_t) {
        ++pairs;
        return false;
    });
    EXPECT_EQ(pairs, 2u * 5000u + 1u);
    Triples triples;
    ForEachChainedTriple(c, [&](std::size_t i, std::size_t j, std::size_t k) {
        triples.emplace_back(i, j, k);
        return false;
    });
    // (i, 4999, 5000) would read A twice; every A closes (i, 5000, 5001).
    EXPECT_EQ(triples.size(), 5000u);
    EXPECT_EQ(triples.front(),
              std::make_tuple(std::size_t{0}, std::size_t{5000}, std::size_t{5001}));
}

}  // namespace
}  // namespace calctopo
