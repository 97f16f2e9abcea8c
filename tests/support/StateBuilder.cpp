#include "support/StateBuilder.h"

#include "engine/LoadPipeline.h"

namespace calctopo::testing {

namespace {

std::vector<int> SightRun(const Table<std::int32_t, kMaxSightListEntries>& list, int first,
                          int last) {
    std::vector<int> sights;
    for (int j = first; first != 0 && j <= last; ++j) {
        sights.push_back(list[j]);
    }
    return sights;
}

}  // namespace

SurveyPoint GivenPoint(const std::string& name, double x, double y, double z, double sixth,
                       double seventh) {
    SurveyPoint point;
    point.name = name;
    point.x = x;
    point.y = y;
    point.z = z;
    point.status = StatusGiven;
    point.planimetricKnown = true;
    point.heightKnown = true;
    point.sixthFieldValue = sixth;
    point.seventhFieldValue = seventh;
    return point;
}

SurveyPoint DeterminedPoint(const std::string& name, double x, double y, double z) {
    SurveyPoint point = GivenPoint(name, x, y, z);
    point.status = StatusDetermined;
    return point;
}

SurveyPoint UnknownPoint(const std::string& name) {
    SurveyPoint point;
    point.name = name;
    return point;
}

int StateBuilder::Point(const std::string& name) {
    return FindOrAddPoint(state, name);
}

int StateBuilder::KnownPoint(const std::string& name, double x, double y, double z,
                             bool heightKnown) {
    SurveyPoint point = GivenPoint(name, x, y, z);
    point.heightKnown = heightKnown;
    return AppendPoint(state, point);
}

int StateBuilder::Round() {
    return state.RoundTable.Append(StationRound{});
}

void StateBuilder::Direction(int station, int target, double reading, int round) {
    state.DirectionTable.Append({station, target, reading, round});
}

void StateBuilder::Distance(int station, int target, double value, bool horizontal, double hi,
                            double ht) {
    state.DistanceTable.Append({station, target, value, hi, ht, horizontal});
}

void StateBuilder::Zenith(int station, int target, double value, double hi, double ht) {
    state.ZenithTable.Append({station, target, value, hi, ht});
}

void StateBuilder::HeightDifference(int station, int target, double value) {
    state.HeightDifferenceTable.Append({station, target, value});
}

void StateBuilder::Bearing(int station, int target, double value) {
    state.BearingTable.Append({station, target, value});
}

void StateBuilder::Build() {
    InitPointSightRanges(state);
    BuildSights(state);
    BuildPointSightRanges(state);
}

Sight& StateBuilder::SightOf(int station, int target) {
    return state.SightTable[FindOrAddSight(state, station, target)];
}

std::vector<int> StateBuilder::Incoming(int point) const {
    const PointSightRange& r = state.RangeOf(point);
    return SightRun(state.IncomingSightList, r.firstIncoming, r.lastIncoming);
}

std::vector<int> StateBuilder::Outgoing(int point) const {
    const PointSightRange& r = state.RangeOf(point);
    return SightRun(state.OutgoingSightList, r.firstOutgoing, r.lastOutgoing);
}

}  // namespace calctopo::testing
