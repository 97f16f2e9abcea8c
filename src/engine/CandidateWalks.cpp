#include "engine/CandidateWalks.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "data/PairingRules.h"

namespace calctopo {

namespace {

// The candidates grouped by round: `order` lists the positions round after
// round, increasing within a round; `rank` says where each position sits in
// it. For every entry k of `order`, its round's entries end at groupEnd[k] and
// begin at groupBegin[k], and the run of entries from k on whose targets bear
// the same name ends at runEnd[k].
struct RoundGroups {
    std::vector<std::size_t> order;
    std::vector<std::size_t> rank;
    std::vector<std::size_t> groupBegin;
    std::vector<std::size_t> groupEnd;
    std::vector<std::size_t> runEnd;
};

RoundGroups GroupByRound(const std::vector<ReadingCandidate>& c) {
    const std::size_t n = c.size();
    RoundGroups g;
    g.order.resize(n);
    std::iota(g.order.begin(), g.order.end(), std::size_t{0});
    std::stable_sort(g.order.begin(), g.order.end(),
                     [&c](std::size_t a, std::size_t b) { return c[a].round < c[b].round; });
    g.rank.resize(n);
    g.groupBegin.resize(n);
    g.groupEnd.resize(n);
    g.runEnd.resize(n);
    for (std::size_t k = 0; k < n; ++k) {
        g.rank[g.order[k]] = k;
        const bool newGroup =
            k == 0 || !ReadInOneRound(c[g.order[k]].round, c[g.order[k - 1]].round);
        g.groupBegin[k] = newGroup ? k : g.groupBegin[k - 1];
    }
    for (std::size_t k = n; k-- > 0;) {
        const bool lastOfGroup =
            k + 1 == n || !ReadInOneRound(c[g.order[k]].round, c[g.order[k + 1]].round);
        g.groupEnd[k] = lastOfGroup ? k + 1 : g.groupEnd[k + 1];
        const bool lastOfRun =
            lastOfGroup || !SameTargetByName(*c[g.order[k]].name, *c[g.order[k + 1]].name);
        g.runEnd[k] = lastOfRun ? k + 1 : g.runEnd[k + 1];
    }
    return g;
}

// Visits the entries from..end of one round in order, passing over every run
// of targets named `name`. True when a visit stopped.
template <class Visit>
bool WalkRound(const std::vector<ReadingCandidate>& c, const RoundGroups& g, std::size_t from,
               std::size_t end, const std::string& name, const Visit& visit) {
    for (std::size_t k = from; k < end;) {
        const std::size_t position = g.order[k];
        if (SameTargetByName(*c[position].name, name)) {
            k = g.runEnd[k];
            continue;
        }
        if (visit(position)) {
            return true;
        }
        ++k;
    }
    return false;
}

}  // namespace

bool ForEachForwardPair(const std::vector<ReadingCandidate>& candidates, const PairVisit& visit) {
    const RoundGroups g = GroupByRound(candidates);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const std::size_t k = g.rank[i];
        if (WalkRound(candidates, g, k + 1, g.groupEnd[k], *candidates[i].name,
                      [&](std::size_t j) { return visit(i, j); })) {
            return true;
        }
    }
    return false;
}

bool ForEachCrossPair(const std::vector<ReadingCandidate>& candidates,
                      const std::vector<std::size_t>& firsts, const PairVisit& visit) {
    const RoundGroups g = GroupByRound(candidates);
    for (const std::size_t a : firsts) {
        const std::size_t k = g.rank[a];
        if (WalkRound(candidates, g, g.groupBegin[k], g.groupEnd[k], *candidates[a].name,
                      [&](std::size_t b) { return visit(a, b); })) {
            return true;
        }
    }
    return false;
}

bool ForEachChainedTriple(const std::vector<ReadingCandidate>& candidates,
                          const TripleVisit& visit) {
    // The links (j, j + 1) that can close a triple: two consecutive readings
    // of one round towards two different points, listed by round, then j.
    std::vector<std::pair<std::int32_t, std::size_t>> links;
    for (std::size_t j = 0; j + 1 < candidates.size(); ++j) {
        if (ReadInOneRound(candidates[j].round, candidates[j + 1].round) &&
            !SamePoint(candidates[j].target, candidates[j + 1].target)) {
            links.emplace_back(candidates[j].round, j);
        }
    }
    std::sort(links.begin(), links.end());
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const ReadingCandidate& first = candidates[i];
        auto link = std::upper_bound(links.begin(), links.end(), std::make_pair(first.round, i));
        for (; link != links.end() && link->first == first.round; ++link) {
            const std::size_t j = link->second;
            if (SamePoint(candidates[j].target, first.target) ||
                SamePoint(candidates[j + 1].target, first.target)) {
                continue;
            }
            if (visit(i, j, j + 1)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace calctopo
