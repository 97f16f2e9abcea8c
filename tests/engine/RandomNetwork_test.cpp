// Random networks of the test support, computed as the program computes them:
// exact data place every point they reach at its true position, in each of
// the three angle units.
#include <algorithm>
#include <string>
#include <vector>

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

TEST(RandomNetwork, EveryMethodPlacesItsPointsAtTheirTruePositions) {
    const char* const methods[] = {"rayonné",  "intersecté", "triangulé", "relevé",
                                   "excentré", "trilatéré",  "nivellé"};
    for (const int unit : {1, 2, 3}) {
        RandomNetworkOptions options;
        options.points = 600;
        options.angleUnit = unit;
        options.everyMethod = true;
        options.seed = 3 + static_cast<std::uint32_t>(unit);
        const RandomNetwork random = MakeRandomNetwork(options);
        LoadedSurvey survey(random.network);
        const std::vector<std::string> shown = survey.Run(random.startPoints.front());
        for (const SurveyPoint& point : survey.state.PointTable) {
            if (point.status == StatusDetermined) {
                EXPECT_TRUE(AtTruePosition(survey, random.network, Cp1252ToUtf8(point.name)))
                    << "unit " << unit;
            }
        }
        // Each method places at least one point.
        for (const char* method : methods) {
            EXPECT_TRUE(std::any_of(
                shown.begin(), shown.end(),
                [&](const std::string& line) { return line.find(method) != std::string::npos; }))
                << method << ", unit " << unit;
        }
    }
}

TEST(RandomNetwork, PathologicalPairs) {
    // The unknown target read from a given station is radiated from it; the
    // unknown station that only reads a given point is never placed.
    RandomNetworkOptions options;
    options.points = 20;
    options.givenToUnknownReadings = 2500;
    options.unknownToGivenReadings = 2500;
    const RandomNetwork random = MakeRandomNetwork(options);
    LoadedSurvey survey(random.network);
    EXPECT_EQ(survey.state.DirectionTable.Count() > 5000, true);
    EXPECT_EQ(survey.state.RoundTable.Count(), 2 + 3 + 3 + 1);
    survey.Run(random.startPoints.front());
    EXPECT_TRUE(AtTruePosition(survey, random.network, "THEAVY"));
    EXPECT_FALSE(survey.Point("UHEAVY").planimetricKnown);
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
