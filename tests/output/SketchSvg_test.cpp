// The SVG sketch, read back with a small XML reader: well-formed whatever the
// names, with its points, lines, labels, legend, scale, north arrow and the
// list of points without position.
#include "output/SketchSvg.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "support/StateBuilder.h"
#include "support/TempFolder.h"
#include "support/XmlCheck.h"

namespace calctopo {
namespace {

using testing::DeterminedPoint;
using testing::ParseXml;
using testing::StateBuilder;
using testing::XmlDocument;
using testing::XmlElement;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The children of the element of that id with that element name.
std::size_t CountIn(const XmlElement& root, const std::string& id, const std::string& name) {
    const XmlElement* group = root.ById(id);
    return group == nullptr ? 0 : group->All(name).size();
}

// Given S1 and S2, computed P1 with a suspect line to S1, plan-only P2, and
// names that XML must escape or cannot hold: "A&<B" (computed), one with a
// control byte and one accented, both without position.
SketchModel Sample() {
    StateBuilder b;
    const int s1 = b.KnownPoint("S1", 1000.0, 2000.0, 100.0);
    const int s2 = b.KnownPoint("S2", 1500.0, 2000.0, 100.0);
    const int p1 = AppendPoint(b.state, DeterminedPoint("P1", 1200.0, 2300.0, 101.0));
    const int p2 = b.Point("P2");
    b.state.PointTable[p2].x = 1300.0;
    b.state.PointTable[p2].y = 1800.0;
    b.state.PointTable[p2].planimetricKnown = true;
    const int odd = AppendPoint(b.state, DeterminedPoint("A&<B", 1400.0, 2100.0, 99.0));
    b.Point("X\x01Y");
    const int accented = b.Point(Utf8ToCp1252("Été"));
    const int round = b.Round();
    b.Direction(s1, p1, 0.1, round);
    b.Distance(s1, p1, 360.0, true);
    b.Direction(s1, s2, 0.0, round);
    b.Distance(s2, p2, 280.0, true);
    b.HeightDifference(p1, odd, -2.0);
    b.Build();
    SketchModel model = BuildSketch(b.state);
    ApplyCheckVerdicts(model, {{p1, s1, Utf8ToCp1252("écart"), "8 mm"},
                               {p1, 0, "fermeture", ""},
                               {accented, 0, "douteux", ""}});
    return model;
}

TEST(SketchSvg, WellFormedWithEveryPart) {
    const std::string svg = SketchSvg(Sample());
    const XmlDocument document = ParseXml(svg);
    ASSERT_TRUE(document.root) << document.error;
    const XmlElement& root = *document.root;
    EXPECT_EQ(root.name, "svg");
    EXPECT_EQ(root.Attribute("xmlns"), "http://www.w3.org/2000/svg");
    EXPECT_FALSE(root.Attribute("viewBox").empty());

    // Five placed points: two given triangles, three dots; one suspect ring.
    EXPECT_EQ(CountIn(root, "points", "polygon"), 2u);
    EXPECT_EQ(CountIn(root, "points", "circle"), 3u);
    EXPECT_EQ(CountIn(root, "suspects", "circle"), 1u);
    // Given points are drawn last, over any dot placed next to them.
    const auto& markers = root.ById("points")->children;
    ASSERT_EQ(markers.size(), 5u);
    EXPECT_EQ(markers.front()->name, "circle");
    EXPECT_EQ(markers[3]->name, "polygon");
    EXPECT_EQ(markers[4]->name, "polygon");
    // Lines: S1-P1 (suspect, drawn apart), S1-S2, S2-P2, P1-A&<B.
    EXPECT_EQ(CountIn(root, "visees", "line"), 4u);
    const XmlElement* visees = root.ById("visees");
    ASSERT_NE(visees, nullptr);
    int suspectLines = 0;
    for (const auto& group : visees->children) {
        if (group->Attribute("class") == "visees suspecte") {
            suspectLines = static_cast<int>(group->All("line").size());
            EXPECT_EQ(group->Attribute("stroke"), "#ff0000");
        }
    }
    EXPECT_EQ(suspectLines, 1);

    // Every placed point is far from the others at this size: all labelled,
    // the escaped name read back as it was.
    const XmlElement* labels = root.ById("etiquettes");
    ASSERT_NE(labels, nullptr);
    std::vector<std::string> names;
    for (const XmlElement* text : labels->All("text")) {
        names.push_back(text->text);
    }
    EXPECT_EQ(names.size(), 5u);
    EXPECT_NE(std::find(names.begin(), names.end(), "A&<B"), names.end());

    // The point's hover title says what DescribePoint says, in UTF-8.
    const std::string points = root.ById("points")->AllText();
    EXPECT_TRUE(Contains(points,
                         "P1 : point calculé\nX 1200.000   Y 2300.000   Z 101.000\n"
                         "suspect : fermeture"));

    const std::string legend = root.ById("legende")->AllText();
    for (const char* entry : {"Point donné", "Point calculé", "Plan seul (sans altitude)",
                              "Suspect", "Direction et distance", "Direction seule",
                              "Distance seule", "Nivellement seul", "Visée suspecte"}) {
        EXPECT_TRUE(Contains(legend, entry)) << entry;
    }
    ASSERT_NE(root.ById("echelle"), nullptr);
    EXPECT_TRUE(Contains(root.ById("echelle")->AllText(), " m"));
    ASSERT_NE(root.ById("nord"), nullptr);
    EXPECT_TRUE(Contains(root.ById("nord")->AllText(), "N"));

    // Without position: the control byte shown as '?', the accented name in UTF-8.
    const XmlElement* apart = root.ById("sans-position");
    ASSERT_NE(apart, nullptr);
    const std::string listed = apart->AllText();
    EXPECT_TRUE(Contains(listed, "Points sans position : 2"));
    EXPECT_TRUE(Contains(listed, "X?Y"));
    EXPECT_TRUE(Contains(listed, "Été"));
    EXPECT_TRUE(Contains(root.ById("controles-non-dessines")->AllText(), "Été : douteux"));
}

TEST(SketchSvg, NorthIsUpAndTheScaleIsRound) {
    const std::string svg = SketchSvg(Sample());
    const XmlDocument document = ParseXml(svg);
    ASSERT_TRUE(document.root) << document.error;
    // P1 (north 2300) is drawn above S1 (north 2000): a smaller y.
    double p1 = 0.0;
    double s1 = 0.0;
    for (const XmlElement* circle : document.root->ById("points")->All("circle")) {
        if (Contains(circle->AllText(), "P1 :")) {
            p1 = std::stod(circle->Attribute("cy"));
        }
    }
    for (const XmlElement* polygon : document.root->ById("points")->All("polygon")) {
        if (Contains(polygon->AllText(), "S1 :")) {
            const std::string points = polygon->Attribute("points");
            s1 = std::stod(points.substr(points.find(',') + 1));  // the apex, above the centre
        }
    }
    EXPECT_GT(p1, 0.0);
    EXPECT_LT(p1, s1);
    // A 600-pixel drawing of a 500-unit network: at most 200 pixels, 166
    // units, make a bar of 100.
    bool found = false;
    for (const XmlElement* text : document.root->ById("echelle")->All("text")) {
        if (text->Attribute("class") == "longueur-echelle") {
            EXPECT_EQ(text->text, "100 m");
            found = true;
        }
    }
    EXPECT_TRUE(found);
}

TEST(SketchSvg, DegenerateNetworksStayFinite) {
    // No point at all, one point, and two points at the same place.
    StateBuilder none;
    StateBuilder one;
    one.KnownPoint("S", 600000.0, 200000.0, 0.0);
    StateBuilder same;
    same.KnownPoint("S", 5.0, 5.0, 0.0);
    same.KnownPoint("T", 5.0, 5.0, 0.0);
    for (const SurveyState* state : {&none.state, &one.state, &same.state}) {
        const std::string svg = SketchSvg(BuildSketch(*state));
        const XmlDocument document = ParseXml(svg);
        ASSERT_TRUE(document.root) << document.error;
        EXPECT_FALSE(Contains(svg, "nan"));
        EXPECT_FALSE(Contains(svg, "inf"));
    }
}

TEST(SketchSvg, TenThousandPointsAreThinnedAndListed) {
    // 900 stations 100 units apart, each with 9 detail points 3 units
    // around it: the drawing gives about 1.3 pixels per unit, so a station's
    // detail points lie within 4 pixels of it.
    StateBuilder b;
    for (int s = 0; s < 900; ++s) {
        const double x = 100.0 * (s % 30);
        const double y = 100.0 * (s / 30);
        AppendPoint(b.state, DeterminedPoint("S" + std::to_string(s), x, y, 0.0));
        for (int d = 0; d < 9; ++d) {
            const double angle = d * 0.6981317;  // a ninth of a turn
            AppendPoint(b.state,
                        DeterminedPoint("P" + std::to_string(s * 9 + d), x + 3.0 * std::cos(angle),
                                        y + 3.0 * std::sin(angle), 0.0));
        }
    }
    for (int i = 0; i < 1000; ++i) {
        b.Point("U" + std::to_string(i));
    }
    const std::string svg = SketchSvg(BuildSketch(b.state));
    const XmlDocument document = ParseXml(svg);
    ASSERT_TRUE(document.root) << document.error;
    const std::size_t labels = CountIn(*document.root, "etiquettes", "text");
    EXPECT_GT(labels, 100u);
    EXPECT_LT(labels, 4500u);
    EXPECT_EQ(CountIn(*document.root, "points", "circle"), 9000u);
    // The thousand points without position are all named.
    const std::string listed = document.root->ById("sans-position")->AllText();
    EXPECT_TRUE(Contains(listed, "U0"));
    EXPECT_TRUE(Contains(listed, "U999"));
}

TEST(SketchSvg, WritingTellsWhenItCannot) {
    testing::TempFolder folder;
    const SketchModel model = Sample();
    const std::string name = folder.File("croquis.svg");
    WriteSketchSvg(model, name);
    EXPECT_EQ(testing::ReadBytes(name), SketchSvg(model));
    EXPECT_THROW(WriteSketchSvg(model, folder.File("absent/croquis.svg")), IoFailure);
}

}  // namespace
}  // namespace calctopo
