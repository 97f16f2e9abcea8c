#include "data/Saisie.h"

#include <initializer_list>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"

namespace calctopo {
namespace {

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
    EXPECT_EQ(FindStartPoint(state, "BORNE"), 2);
}

TEST(Saisie, ATextNamingNoPointFindsNone) {
    // Letter case, a trailing blank, a prefix and the empty text all miss:
    // the run then keeps the previous choice (engine tests).
    SurveyState state;
    AddPoints(state, {"P1", "BORNE"});
    state.StartPointIndex = 1;
    for (const char* text : {"borne", "BORNE ", "BORN", ""}) {
        EXPECT_EQ(FindStartPoint(state, text), 0) << '"' << text << '"';
    }
    EXPECT_EQ(state.StartPointIndex, 1);  // finding changes nothing
}

TEST(Saisie, AnEmptyPointTableChoosesNothing) {
    SurveyState state;
    state.StartPointIndex = 4;  // left from an earlier load
    EXPECT_EQ(FindStartPoint(state, "P1"), 0);
    EXPECT_EQ(state.StartPointIndex, 4);
}

}  // namespace
}  // namespace calctopo
