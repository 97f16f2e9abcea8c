// The bundled demonstration site (examples/demo), loaded from a copy in a
// temporary folder and computed from S1: every point is placed, by every
// method of the engine.
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "engine/CALCUL.h"
#include "support/NetworkGenerator.h"

namespace calctopo {
namespace {

using testing::LoadedSurvey;

const std::filesystem::path kDemoFolder =
    std::filesystem::path(CALCTOPO_SOURCE_DIR) / "examples" / "demo";

bool Contains(const std::vector<std::string>& lines, const std::string& fragment) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(fragment) != std::string::npos;
    });
}

TEST(Demo, EveryPointIsComputedFromS1) {
    LoadedSurvey survey(kDemoFolder, "demo.cor", "demo.obs", 1);
    // The load reports no problem: the include of demo2.obs was found.
    EXPECT_TRUE(survey.ui.PaneLines(MessageKind::Problem).empty());
    EXPECT_NE(FindPoint(survey.state, "S11"), 0);

    const std::vector<std::string> shown = survey.Run("S1");
    EXPECT_FALSE(Contains(shown, "non calculé"));
    EXPECT_FALSE(Contains(shown, "box: "));
    for (const SurveyPoint& point : survey.state.PointTable) {
        EXPECT_TRUE(point.planimetricKnown && point.heightKnown) << point.name;
        EXPECT_NE(point.status, StatusUnknown) << point.name;
    }
    // Eleven new points, each announced once.
    EXPECT_EQ(survey.state.DeterminedCount, 11);
    EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                            [](const std::string& line) { return line.rfind("green: ", 0) == 0; }),
              11);
    // The site shows every way of placing a point.
    for (const char* method : {" rayonné de ", " intersecté de ", " triangulé de ", " relevé sur ",
                               " excentré de ", " trilatéré de ", " nivellé de "}) {
        EXPECT_TRUE(Contains(shown, method)) << method;
    }
    // The listing holds the residual lines of the new points.
    EXPECT_NE(survey.Listing().find("     S10          103"), std::string::npos);
}

}  // namespace
}  // namespace calctopo
