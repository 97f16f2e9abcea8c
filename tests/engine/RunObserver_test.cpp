// The driver's announcements: every event in the order of the run, the
// placements the observers read, the start point as an argument, and the
// fan-out of several observers.
#include "engine/RunObserver.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "data/Placement.h"
#include "engine/CALCUL.h"
#include "support/NetworkGenerator.h"

namespace calctopo {
namespace {

using testing::LoadedSurvey;
using testing::NetworkGenerator;
using Events = std::vector<std::string>;

// Writes each event as a word and the point's name.
class RecordingObserver final : public RunObserver {
  public:
    void PointPlaced(SurveyState& state, int point, MethodKind method) override {
        Note("placed", state, point, static_cast<int>(method));
    }
    void PointLevelled(SurveyState& state, int point, MethodKind method) override {
        Note("levelled", state, point, static_cast<int>(method));
    }
    void PointCompleted(SurveyState& state, int point) override { Note("completed", state, point); }
    void PointDetermined(SurveyState& state, int point) override {
        Note("determined", state, point);
    }
    void PointNotComputed(SurveyState& state, int point) override { Note("left", state, point); }
    void NothingDeterminable(SurveyState&) override { events.push_back("nothing"); }

    Events events;

  private:
    void Note(const char* what, const SurveyState& state, int point, int method = -1) {
        std::string text = std::string(what) + " " + state.PointTable[point].name;
        if (method >= 0) {
            text += " " + std::to_string(method);
        }
        events.push_back(text);
    }
};

// S1 and S2 given; A radiated and levelled from S1, B only placed (no zenith).
NetworkGenerator SmallNetwork() {
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1600.0, 5000.0, 104.0);
    net.AddPoint("A", 1100.0, 5300.0, 102.0);
    net.AddPoint("B", 1300.0, 5500.0, 103.0);
    net.Round("S1", {"S2", "A"}, 0.2);
    net.Zenith("S1", "A");
    net.SlopeDistance("S1", "A");
    net.Round("A", {"S1", "B"}, 1.1);
    net.HorizontalDistance("A", "B");
    return net;
}

int IndexOf(const SurveyState& state, const char* name) {
    return FindPoint(state, name);
}

TEST(RunObserver, EventsComeInTheOrderOfTheRun) {
    // A: placed (radiation = 0), levelled (from station = 6), completed, then
    // counted; B placed by radiation from A but never levelled: left at the end.
    const NetworkGenerator net = SmallNetwork();
    LoadedSurvey survey(net);
    RecordingObserver observer;
    RunDetermination(survey.state, observer, IndexOf(survey.state, "S1"));
    EXPECT_EQ(observer.events, (Events{"placed A 0", "levelled A 6", "completed A", "determined A",
                                       "placed B 0", "left B"}));
}

TEST(RunObserver, ThePlacementNamesWhatTheLineNames) {
    // What the pane line of a method names is read from the placement.
    const NetworkGenerator net = SmallNetwork();
    LoadedSurvey survey(net);
    SilentObserver silent;
    RunDetermination(survey.state, silent, IndexOf(survey.state, "S1"));
    const int a = IndexOf(survey.state, "A");
    const int b = IndexOf(survey.state, "B");
    EXPECT_EQ(PointsUsed(survey.state, a), (std::vector<int>{IndexOf(survey.state, "S1")}));
    EXPECT_EQ(LevelledFrom(survey.state, a), IndexOf(survey.state, "S1"));
    EXPECT_EQ(PointsUsed(survey.state, b), (std::vector<int>{a}));
    EXPECT_EQ(LevelledFrom(survey.state, b), 0);
    // A in pass 1 (seen from the start point), B in pass 2 (seen from A).
    EXPECT_EQ(PlacementOf(survey.state, a).planPass, 1);
    EXPECT_EQ(PlacementOf(survey.state, a).heightPass, 1);
    EXPECT_EQ(PlacementOf(survey.state, b).planPass, 2);
    EXPECT_EQ(PlacementOf(survey.state, b).heightPass, 0);
}

TEST(RunObserver, AStartPointOfNoPointKeepsThePreviousOne) {
    // 0 (no name matched) and an index beyond the load keep the start point
    // chosen before; with none chosen before nothing runs.
    const NetworkGenerator net = SmallNetwork();
    {
        LoadedSurvey survey(net);
        RecordingObserver nothing;
        RunDetermination(survey.state, nothing, 0);
        EXPECT_TRUE(nothing.events.empty());
    }
    for (const int beyond : {0, 1}) {
        LoadedSurvey survey(net);
        survey.state.StartPointIndex = IndexOf(survey.state, "S1");
        const int start = beyond == 0 ? 0 : survey.state.PointCount() + 1;
        RecordingObserver observer;
        RunDetermination(survey.state, observer, start);
        EXPECT_EQ(survey.state.StartPointIndex, IndexOf(survey.state, "S1"));
        ASSERT_FALSE(observer.events.empty());
        EXPECT_EQ(observer.events.front(), "placed A 0");
    }
}

TEST(RunObserver, NothingDeterminableFromAnIsolatedStart) {
    // From S2, which observed nothing: its one neighbour is the given S1, so
    // no point completes.
    const NetworkGenerator net = SmallNetwork();
    LoadedSurvey survey(net);
    RecordingObserver observer;
    RunDetermination(survey.state, observer, IndexOf(survey.state, "S2"));
    EXPECT_EQ(observer.events, (Events{"nothing"}));
}

TEST(RunObserver, SeveralObserversHearEveryEventInTheirOrder) {
    RecordingObserver first;
    RecordingObserver second;
    RunObservers both{&first, &second};
    SurveyState state;
    SurveyPoint point;
    point.name = "P";
    const int p = AppendPoint(state, point);
    both.PointCompleted(state, p);
    both.NothingDeterminable(state);
    EXPECT_EQ(first.events, (Events{"completed P", "nothing"}));
    EXPECT_EQ(second.events, first.events);
}

}  // namespace
}  // namespace calctopo
