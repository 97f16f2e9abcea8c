// Random networks of the test support, computed as the program computes them:
// exact data place every point they reach at its true position, in each of
// the three angle units.
#include <string>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "support/RandomNetwork.h"

namespace calctopo {
namespace {

using testing::AtTruePosition;
using testing::LoadedSurvey;
using testing::MakeRandomNetwork;
using testing::RandomNetwork;
using testing::RandomNetworkOptions;

TEST(RandomNetwork, ExactDataPlaceEveryPointAtItsTruePosition) {
    for (const int unit : {1, 2, 3}) {
        RandomNetworkOptions options;
        options.points = 400;
        options.angleUnit = unit;
        options.seed = 11 + static_cast<std::uint32_t>(unit);
        const RandomNetwork random = MakeRandomNetwork(options);
        LoadedSurvey survey(random.network);
        survey.Run(random.startPoints.front());
        int computed = 0;
        for (const SurveyPoint& point : survey.state.PointTable) {
            if (point.status != StatusDetermined) {
                continue;
            }
            ++computed;
            EXPECT_TRUE(AtTruePosition(survey, random.network, Cp1252ToUtf8(point.name)))
                << "unit " << unit;
        }
        // Most of the network hangs together from the south-west corner; the
        // detail points read from one station without a distance may be left.
        EXPECT_GT(computed, survey.state.PointCount() * 4 / 5) << "unit " << unit;
    }
}

TEST(RandomNetwork, OddLinesLoadWithTheirReports) {
    RandomNetworkOptions options;
    options.points = 100;
    options.oddLines = true;
    const RandomNetwork random = MakeRandomNetwork(options);
    LoadedSurvey survey(random.network);
    EXPECT_FALSE(survey.ui.PaneLines(MessageKind::Problem).empty());
    EXPECT_NE(FindPoint(survey.state, "DOUBLE"), 0);
    EXPECT_NE(FindPoint(survey.state, "LONGNOM1"), 0);
}

}  // namespace
}  // namespace calctopo
