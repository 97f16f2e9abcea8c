#include "data/Saisie.h"

#include <initializer_list>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "support/RecordingServices.h"

namespace calctopo {
namespace {

using ::calctopo::testing::RecordingServices;

void AddPoints(SurveyState& state, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        SurveyPoint point;
        point.name = name;
        AppendPoint(state, point);  // as the coordinates reader does: duplicates kept
    }
}

TEST(Saisie, PicksTheFirstPointOfThatExactName) {
    SurveyState state;
    AddPoints(state, {"P1", "BORNE", "P3", "BORNE"});
    RecordingServices ui;
    ui.startPointText = "BORNE";
    SelectStartPoint(state, ui);
    EXPECT_EQ(state.StartPointIndex, 2);
}

TEST(Saisie, ATextNamingNoPointKeepsThePreviousChoice) {
    SurveyState state;
    AddPoints(state, {"P1", "BORNE"});
    state.StartPointIndex = 1;
    RecordingServices ui;
    for (const char* text : {"borne", "BORNE ", "BORN", ""}) {
        ui.startPointText = text;
        SelectStartPoint(state, ui);
        EXPECT_EQ(state.StartPointIndex, 1) << '"' << text << '"';
    }
    EXPECT_TRUE(ui.calls.empty());  // nothing is reported
}

TEST(Saisie, AnEmptyPointTableChoosesNothing) {
    SurveyState state;
    state.StartPointIndex = 4;  // left from an earlier load
    RecordingServices ui;
    ui.startPointText = "P1";
    SelectStartPoint(state, ui);
    EXPECT_EQ(state.StartPointIndex, 4);
}

}  // namespace
}  // namespace calctopo
