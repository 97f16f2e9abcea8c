#include "shell/app/PointsLeft.h"

#include <cstddef>
#include <map>

#include "data/GLOBAL.h"

namespace calctopo {

namespace {

bool IsLeft(const SurveyPoint& point) {
    return !point.planimetricKnown || !point.heightKnown;
}

// The points left, with the links of each gathered by the other point's index
// while the observation tables are walked.
class LinkGatherer {
  public:
    explicit LinkGatherer(const SurveyState& state)
        : state_(state), slot_(static_cast<std::size_t>(state.PointCount()) + 1, kNotLeft) {
        for (int i = 1; i <= state.PointCount(); ++i) {
            const SurveyPoint& point = state.PointTable[i];
            if (IsLeft(point)) {
                slot_[static_cast<std::size_t>(i)] = static_cast<int>(left_.size());
                left_.push_back({i, point.name, !point.planimetricKnown, !point.heightKnown, {}});
                links_.emplace_back();
            }
        }
    }

    // One observation from station to target, counted into `kind` of the
    // links of whichever of the two is left.
    void Add(int station, int target, int ObservationCounts::*kind) {
        if (const int s = SlotOf(station); s != kNotLeft && Valid(target)) {
            (LinkOf(s, target).fromPoint.*kind)++;
        }
        if (const int t = SlotOf(target); t != kNotLeft && Valid(station)) {
            (LinkOf(t, station).towardPoint.*kind)++;
        }
    }

    std::vector<PointLeft> Result() {
        for (std::size_t i = 0; i < left_.size(); ++i) {
            for (auto& [index, link] : links_[i]) {
                left_[i].links.push_back(std::move(link));
            }
        }
        return std::move(left_);
    }

  private:
    static constexpr int kNotLeft = -1;

    bool Valid(int point) const { return point >= 1 && point <= state_.PointCount(); }
    int SlotOf(int point) const {
        return Valid(point) ? slot_[static_cast<std::size_t>(point)] : kNotLeft;
    }
    PointLink& LinkOf(int slot, int other) {
        auto [entry, added] = links_[static_cast<std::size_t>(slot)].try_emplace(other);
        if (added) {
            const SurveyPoint& point = state_.PointTable[other];
            entry->second.point = other;
            entry->second.name = point.name;
            entry->second.status = point.status;
            entry->second.planKnown = point.planimetricKnown;
            entry->second.heightKnown = point.heightKnown;
        }
        return entry->second;
    }

    const SurveyState& state_;
    std::vector<int> slot_;  // point index -> position in left_, or kNotLeft
    std::vector<PointLeft> left_;
    std::vector<std::map<int, PointLink>> links_;  // per point left, by other index
};

}  // namespace

PointCounts CountPoints(const SurveyState& state) {
    PointCounts counts;
    counts.total = state.PointCount();
    for (int i = 1; i <= state.PointCount(); ++i) {
        const SurveyPoint& point = state.PointTable[i];
        if (point.status == StatusGiven) {
            ++counts.given;
        } else if (point.status == StatusDetermined) {
            ++counts.computed;
        }
        if (IsLeft(point)) {
            ++counts.notComputed;
        }
    }
    return counts;
}

std::vector<PointLeft> ListPointsLeft(const SurveyState& state) {
    LinkGatherer gatherer(state);
    const auto walk = [&gatherer](const auto& table, int ObservationCounts::*kind) {
        for (int i = 1; i <= table.Count(); ++i) {
            gatherer.Add(table[i].station, table[i].target, kind);
        }
    };
    walk(state.DirectionTable, &ObservationCounts::directions);
    walk(state.DistanceTable, &ObservationCounts::distances);
    walk(state.ZenithTable, &ObservationCounts::zeniths);
    walk(state.HeightDifferenceTable, &ObservationCounts::heightDifferences);
    walk(state.BearingTable, &ObservationCounts::bearings);
    return gatherer.Result();
}

}  // namespace calctopo
