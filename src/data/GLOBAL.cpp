#include "data/GLOBAL.h"

#include "data/Failures.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"

namespace calctopo {

void NotePointStored(SurveyState& state, int point) {
    ++state.Changes.version;
    state.Changes.storedPoints.push_back(point);
}

void NoteStatusStored(SurveyState& state) {
    ++state.Changes.version;
}

void ResetChangeTracking(SurveyState& state) {
    ++state.Changes.version;
    state.Changes.storedPoints.clear();
    state.Derivation.prepared = false;
}

void ClearPoints(SurveyState& state) {
    state.PointTable.Clear();
    state.PointIndexByName.clear();
    state.Placements.clear();
    state.Sources.points.clear();
    state.ExtendedBlocks.Clear();
    state.ExtendedPoints.Clear();
}

int AppendPoint(SurveyState& state, SurveyPoint point) {
    std::string name = point.name;
    const int index = state.PointTable.Append(std::move(point));
    // emplace keeps an existing entry: a name read twice resolves to its first index.
    state.PointIndexByName.emplace(std::move(name), index);
    return index;
}

int FindPoint(const SurveyState& state, const std::string& name) {
    const auto found = state.PointIndexByName.find(name);
    return found == state.PointIndexByName.end() ? 0 : found->second;
}

int FindOrAddPoint(SurveyState& state, const std::string& name) {
    if (const int index = FindPoint(state, name); index != 0) {
        return index;
    }
    if (state.PointTable.Full()) {
        throw TableLimitReached(TextOf(texts::kPointLimitCount, state.PointTable.Count() + 1));
    }
    SurveyPoint point;
    point.name = name;
    return AppendPoint(state, std::move(point));
}

}  // namespace calctopo
