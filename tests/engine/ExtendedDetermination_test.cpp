// The extended determination on generated networks of the kinds the ordinary
// run cannot place: an angle-only chain between two distant control points,
// traverses whose end rounds see no control point, a block that reaches the
// control only at its far end, and a block whose fit a blunder spoils.
#include "engine/ExtendedDetermination.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "engine/CALCUL.h"
#include "geometry/CONVERTI.h"
#include "support/NetworkGenerator.h"
#include "support/RandomNetwork.h"

namespace calctopo {
namespace {

using testing::AtTruePosition;
using testing::LoadedSurvey;
using testing::NetworkGenerator;

constexpr RunOptions kExtended{true};
constexpr RunOptions kOrdinary{false};

// Noise of the noisy variants: 1 mgon on angles (about 3"), 3 mm on lengths.
constexpr double kAngleSigma = 1.0e-3 * 3.14159265358979 / 200.0;
constexpr double kLengthSigma = 0.003;

bool Contains(const std::vector<std::string>& lines, const std::string& fragment) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(fragment) != std::string::npos;
    });
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

std::string Name(const char* prefix, int i) {
    return prefix + std::to_string(i);
}

// Every listed point complete and within `tolerance` of its true position.
void ExpectAllAtTruePositions(const LoadedSurvey& survey, const NetworkGenerator& net,
                              const std::vector<std::string>& names, double tolerance) {
    for (const std::string& name : names) {
        EXPECT_TRUE(AtTruePosition(survey, net, name, tolerance));
    }
}

// ---- Networks ----

// A chain of 11 points zigzagging over 6 km between the control points A and
// B, measured as directions only (each station reads the two points before
// and the two after it), with height differences along it. The rounds at A
// and B read only points of the chain.
NetworkGenerator AngleChain(double angleSigma = 0.0) {
    NetworkGenerator net;
    net.AddControl("A", 10000.0, 50000.0, 200.0);
    net.AddControl("B", 16000.0, 50000.0, 260.0);
    std::vector<std::string> chain{"A"};
    for (int i = 1; i <= 11; ++i) {
        net.AddPoint(Name("P", i), 10000.0 + 500.0 * i, 50000.0 + (i % 2 == 1 ? 420.0 : -380.0),
                     200.0 + 5.0 * i);
        chain.push_back(Name("P", i));
    }
    chain.push_back("B");
    net.SetNoise(angleSigma, 0.0, 7);
    const int n = static_cast<int>(chain.size());
    for (int i = 0; i < n; ++i) {
        std::vector<std::string> targets;
        for (const int j : {i - 2, i - 1, i + 1, i + 2}) {
            if (j >= 0 && j < n) {
                targets.push_back(chain[static_cast<std::size_t>(j)]);
            }
        }
        net.Round(chain[static_cast<std::size_t>(i)], targets, 0.3 + 0.1 * i);
    }
    for (int i = 0; i + 1 < n; ++i) {
        net.HeightDifference(chain[static_cast<std::size_t>(i)],
                             chain[static_cast<std::size_t>(i + 1)]);
    }
    return net;
}

std::vector<std::string> Names(const char* prefix, int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) {
        names.push_back(Name(prefix, i));
    }
    return names;
}

// One traverse station: a round reading back and forward, with slope
// distances and zenith angles to both.
void TraverseStation(NetworkGenerator& net, const std::string& back, const std::string& at,
                     const std::string& forward, double zero) {
    net.Round(at, {back, forward}, zero);
    for (const std::string& other : {back, forward}) {
        net.Zenith(at, other);
        net.SlopeDistance(at, other);
    }
}

// 14 stations winding over about 2.8 km from the control point A to the
// control point B; A and B read only their first traverse station, so no
// round sees a second known point.
NetworkGenerator OpenTraverse(double angleSigma = 0.0, double lengthSigma = 0.0) {
    NetworkGenerator net;
    net.AddControl("A", 2000.0, 3000.0, 150.0);
    std::vector<std::string> path{"A"};
    for (int i = 1; i <= 14; ++i) {
        net.AddPoint(Name("T", i), 2000.0 + 200.0 * i, 3000.0 + 150.0 * std::sin(0.7 * i),
                     150.0 + 2.0 * std::cos(0.5 * i));
        path.push_back(Name("T", i));
    }
    net.AddControl("B", 2000.0 + 200.0 * 15, 3000.0 + 150.0 * std::sin(0.7 * 15), 149.0);
    path.push_back("B");
    net.SetNoise(angleSigma, lengthSigma, 11);
    net.Round("A", {"T1"}, 1.1);
    for (std::size_t i = 1; i + 1 < path.size(); ++i) {
        TraverseStation(net, path[i - 1], path[i], path[i + 1], 0.2 * static_cast<double>(i));
    }
    net.Round("B", {"T14"}, 2.3);
    return net;
}

// A loop of 12 stations through the control points A and B: A, T1..T6, B,
// T7..T12, back to A. A and B read their two neighbours on the loop only.
NetworkGenerator ClosedTraverse(double angleSigma = 0.0, double lengthSigma = 0.0) {
    NetworkGenerator net;
    const double cx = 5000.0;
    const double cy = 8000.0;
    std::vector<std::string> loop;
    for (int i = 0; i < 14; ++i) {
        const double angle = 2.0 * 3.14159265358979 * i / 14.0;
        const double radius = 400.0 + 60.0 * std::cos(3.0 * angle);
        const double x = cx + radius * std::sin(angle);
        const double y = cy + radius * std::cos(angle);
        std::string name;
        if (i == 0) {
            name = "A";
            net.AddControl(name, x, y, 80.0);
        } else if (i == 7) {
            name = "B";
            net.AddControl(name, x, y, 84.0);
        } else {
            name = Name("T", i < 7 ? i : i - 1);
            net.AddPoint(name, x, y, 80.0 + 0.5 * i);
        }
        loop.push_back(name);
    }
    const std::size_t n = loop.size();
    net.SetNoise(angleSigma, lengthSigma, 13);
    for (std::size_t i = 0; i < n; ++i) {
        TraverseStation(net, loop[(i + n - 1) % n], loop[i], loop[(i + 1) % n],
                        0.4 + 0.3 * static_cast<double>(i));
    }
    return net;
}

// Six stations S1..S6 in a row, each reading its neighbours with distances;
// only the far end reads the control points, by directions alone, and no
// station reads three of them (which would resect it): with two controls S5
// and S6 read C1 and C2; with three, S4 reads C1 and C3, S5 C1 and C2, S6 C2
// and C3.
NetworkGenerator FarEndBlock(bool thirdControl, double distanceBlunder = 0.0,
                             double readingBlunder = 0.0) {
    NetworkGenerator net;
    net.AddControl("C1", 1500.0, 900.0, 40.0);
    net.AddControl("C2", 1700.0, 1250.0, 42.0);
    if (thirdControl) {
        net.AddControl("C3", 1350.0, 1300.0, 41.0);
    }
    for (int i = 1; i <= 6; ++i) {
        net.AddPoint(Name("S", i), 300.0 + 200.0 * i, 1000.0 + 30.0 * (i % 3), 30.0 + i);
    }
    const auto controlsReadFrom = [&](int i) -> std::vector<std::string> {
        if (!thirdControl) {
            return i >= 5 ? std::vector<std::string>{"C1", "C2"} : std::vector<std::string>{};
        }
        switch (i) {
            case 4:
                return {"C1", "C3"};
            case 5:
                return {"C1", "C2"};
            case 6:
                return {"C2", "C3"};
            default:
                return {};
        }
    };
    for (int i = 1; i <= 6; ++i) {
        std::vector<std::string> targets;
        for (const int j : {i - 1, i + 1}) {
            if (j >= 1 && j <= 6) {
                targets.push_back(Name("S", j));
            }
        }
        std::vector<std::string> controls = controlsReadFrom(i);
        // The reading from S6 to C3 is written apart when it carries a blunder.
        const bool blundered = i == 6 && readingBlunder != 0.0 && thirdControl;
        if (blundered) {
            controls.pop_back();
        }
        targets.insert(targets.end(), controls.begin(), controls.end());
        net.Round(Name("S", i), targets, 0.5 * i);
        if (blundered) {
            const double reading = net.TrueBearing("S6", "C3") - 0.5 * i + readingBlunder;
            net.RawObservation("5 S6 C3 " + FormatFixed(RadiansToGrades(reading), 10) + " 0 0 0");
        }
        if (i < 6) {
            net.Zenith(Name("S", i), Name("S", i + 1));
            if (i == 4 && distanceBlunder != 0.0) {
                // A horizontal distance between two stations that read the
                // controls, read wrong by `distanceBlunder` metres.
                net.RawObservation(
                    "2 S4 S5 " +
                    FormatFixed(net.TrueHorizontalDistance("S4", "S5") + distanceBlunder, 4) +
                    " 0 0 0");
            } else {
                net.SlopeDistance(Name("S", i), Name("S", i + 1));
            }
        }
    }
    net.HeightDifference("C1", "S6");
    return net;
}

// ---- Tests ----

TEST(ExtendedDetermination, AngleOnlyChainIsPlacedThroughBothControls) {
    const NetworkGenerator net = AngleChain();
    LoadedSurvey survey(net);
    const std::vector<std::string> shown = survey.RunWith("A", kExtended);
    // The ordinary run levels P1 but places nothing: no round at A sees a
    // second placed point.
    EXPECT_TRUE(Contains(shown, testing::kNothingDeterminable)) << Joined(shown);
    EXPECT_TRUE(Contains(shown, "black: Calcul étendu")) << Joined(shown);
    EXPECT_TRUE(Contains(shown,
                         "recalé sur A, B ; échelle libre (angles seuls) ; écart maximal "
                         "non contrôlé"))
        << Joined(shown);
    EXPECT_TRUE(Contains(shown, "      P7 placé par le bloc local 1 recalé sur        A et B"))
        << Joined(shown);
    ExpectAllAtTruePositions(survey, net, Names("P", 11), testing::kMillimetre);
    EXPECT_FALSE(Contains(shown, "non calculé")) << Joined(shown);

    // The stage's records: one accepted block, every chain point placed by it.
    ASSERT_EQ(survey.state.ExtendedBlocks.Count(), 1);
    const ExtendedBlock& block = survey.state.ExtendedBlocks[1];
    EXPECT_TRUE(block.accepted);
    EXPECT_TRUE(block.freeScale);
    EXPECT_EQ(block.points.size(), 11u);
    EXPECT_EQ(block.commonPoints, (std::vector<std::int32_t>{FindPoint(survey.state, "A"),
                                                             FindPoint(survey.state, "B")}));
    for (const ExtendedPointRecord& record : survey.state.ExtendedPoints) {
        EXPECT_EQ(record.block, 1) << survey.state.PointTable[record.point].name;
        EXPECT_TRUE(record.plan);
    }
    EXPECT_EQ(survey.state.ExtendedPoints.Count(), 11);
}

TEST(ExtendedDetermination, NoisyAngleChainStaysWithinWhatTheNoiseExplains) {
    // 1 mgon on every direction of a chain of 13 figures, 6 km long: the
    // figure's shape drifts by about σ·L·√n / 2 ≈ 0.25 m at its middle
    // once both ends are held; 1 m bounds that with room.
    const NetworkGenerator net = AngleChain(kAngleSigma);
    LoadedSurvey survey(net);
    survey.RunWith("A", kExtended);
    ExpectAllAtTruePositions(survey, net, Names("P", 11), 1.0);
}

TEST(ExtendedDetermination, OpenTraverseWithUnorientedEnds) {
    const NetworkGenerator net = OpenTraverse();
    LoadedSurvey survey(net);
    const std::vector<std::string> shown = survey.RunWith("A", kExtended);
    EXPECT_TRUE(Contains(shown, testing::kNothingDeterminable)) << Joined(shown);
    ExpectAllAtTruePositions(survey, net, Names("T", 14), testing::kMillimetre);
    EXPECT_TRUE(Contains(shown,
                         "black: Bloc local 1 : 14 points placés, recalé sur A, B ; "
                         "échelle 1 (écart 0 ppm) ; écart maximal 0.000 sur "))
        << Joined(shown);
    EXPECT_TRUE(Contains(shown,
                         "black: Cheminement de        A à        B : 14 stations, "
                         "longueur "))
        << Joined(shown);
    EXPECT_TRUE(Contains(shown,
                         "fermeture linéaire 0.000 (0 ppm), fermeture angulaire non "
                         "mesurable (extrémités non orientées)"))
        << Joined(shown);
    // The new points are listed with their residuals, and levelled.
    EXPECT_TRUE(Contains(shown, "green: Point :      T14 calculé")) << Joined(shown);
    EXPECT_NE(survey.Listing().find("      T1            A"), std::string::npos);
}

TEST(ExtendedDetermination, NoisyOpenTraverseReportsItsMisclosure) {
    // 14 legs of about 250 m with 1 mgon and 3 mm: the far end drifts by
    // about σa·d·n^1.5/√3 + σd·√n ≈ 0.12 m across and 0.01 m along; the fit on
    // both ends halves it. 0.3 m bounds every point.
    const NetworkGenerator net = OpenTraverse(kAngleSigma, kLengthSigma);
    LoadedSurvey survey(net);
    const std::vector<std::string> shown = survey.RunWith("A", kExtended);
    ExpectAllAtTruePositions(survey, net, Names("T", 14), 0.3);
    EXPECT_TRUE(Contains(shown, "Cheminement de        A à        B")) << Joined(shown);
    EXPECT_FALSE(Contains(shown, "fermeture linéaire 0.000 ")) << Joined(shown);
}

TEST(ExtendedDetermination, ClosedTraverseReportsAngularAndLinearMisclosure) {
    // A and B cut the loop into two traverses. The first is brought in on
    // its chord alone; it orients the rounds at A and B, so the second closes
    // on both orientations: its misclosure is the loop's.
    const NetworkGenerator net = ClosedTraverse();
    LoadedSurvey survey(net);
    const std::vector<std::string> shown = survey.RunWith("A", kExtended);
    ExpectAllAtTruePositions(survey, net, Names("T", 12), testing::kMillimetre);
    EXPECT_TRUE(Contains(shown,
                         "black: Cheminement de        A à        B : 6 stations, longueur "
                         "1297.042, fermeture linéaire 0.000 (0 ppm), fermeture angulaire "
                         "non mesurable"))
        << Joined(shown);
    EXPECT_TRUE(Contains(shown,
                         "black: Cheminement de        A à        B : 6 stations, longueur "
                         "1297.042, fermeture angulaire 0.0000 gr, fermeture linéaire "
                         "0.000 (0 ppm)"))
        << Joined(shown);
    EXPECT_TRUE(Contains(shown,
                         "black: Bloc local 2 : 6 points placés, recalé sur A, B ; échelle "
                         "1 (écart 0 ppm) ; écart maximal 0.000 sur A (tolérance 0.233) ; "
                         "orientation à 0.0000 gr près"))
        << Joined(shown);
}

TEST(ExtendedDetermination, NoisyClosedTraverseClosesWithinItsNoise) {
    // 14 legs of about 180 m, 1 mgon and 3 mm: the loop misses its angular
    // closure by about σa·√14 ≈ 4 mgon and closes to a few centimetres.
    NetworkGenerator net = ClosedTraverse(kAngleSigma, kLengthSigma);
    LoadedSurvey survey(net);
    const std::vector<std::string> shown = survey.RunWith("A", kExtended);
    ExpectAllAtTruePositions(survey, net, Names("T", 12), 0.1);
    EXPECT_TRUE(Contains(shown, "fermeture angulaire ")) << Joined(shown);
    EXPECT_FALSE(Contains(shown, "fermeture angulaire 0.0000 gr")) << Joined(shown);
}

TEST(ExtendedDetermination, BlockReachingTheControlAtItsFarEnd) {
    const NetworkGenerator net = FarEndBlock(false);
    LoadedSurvey survey(net);
    const std::vector<std::string> shown = survey.RunWith("C1", kExtended);
    EXPECT_TRUE(Contains(shown, testing::kNothingDeterminable)) << Joined(shown);
    ExpectAllAtTruePositions(survey, net, Names("S", 6), testing::kMillimetre);
    EXPECT_TRUE(Contains(shown, "recalé sur C1, C2 ; échelle 1")) << Joined(shown);
    // Heights come from C1 once the plan is in.
    EXPECT_TRUE(Contains(shown, "black:       S6 nivellé de       C1")) << Joined(shown);
}

TEST(ExtendedDetermination, BlunderedBlockIsRefusedWithItsReason) {
    const NetworkGenerator net = FarEndBlock(true, 2.0);
    LoadedSurvey survey(net);
    const std::vector<std::string> shown = survey.RunWith("C1", kExtended);
    // Two metres too many between S4 and S5 stretch the figure between the
    // controls: the free fit finds a scale 4104 ppm short, far beyond what
    // any distance meter or projection explains.
    EXPECT_TRUE(Contains(shown,
                         "red: Bloc local 1 (6 points autour de       S1) non calculable : "
                         "échelle des distances écartée de -4104 ppm, au-delà de 1000 ppm"))
        << Joined(shown);
    for (const std::string& name : Names("S", 6)) {
        EXPECT_FALSE(survey.Point(name).planimetricKnown) << name;
        EXPECT_TRUE(Contains(
            shown, "red: Point : " + std::string(8 - name.size(), ' ') + name + " non calculé"));
    }
    ASSERT_EQ(survey.state.ExtendedBlocks.Count(), 1);
    EXPECT_FALSE(survey.state.ExtendedBlocks[1].accepted);
    EXPECT_EQ(survey.state.ExtendedBlocks[1].commonPoints.size(), 3u);

    // A reading from S6 to C3 wrong by 0.02 rad (1.27 grade) misplaces C3 in
    // the local frame by some metres: the fit refuses the block there.
    const NetworkGenerator misread = FarEndBlock(true, 0.0, 0.02);
    LoadedSurvey wrong(misread);
    const std::vector<std::string> refused = wrong.RunWith("C1", kExtended);
    EXPECT_TRUE(Contains(refused, "non calculable : écart de ")) << Joined(refused);
    EXPECT_TRUE(Contains(refused, ", au-delà de la tolérance de 0.3")) << Joined(refused);

    // The same block without the blunder is accepted with its three common points.
    const NetworkGenerator sound = FarEndBlock(true);
    LoadedSurvey good(sound);
    const std::vector<std::string> accepted = good.RunWith("C1", kExtended);
    EXPECT_TRUE(Contains(accepted,
                         "recalé sur C1, C2, C3 ; échelle 1 (écart 0 ppm) ; "
                         "écart maximal 0.000 sur "))
        << Joined(accepted);
    ExpectAllAtTruePositions(good, sound, Names("S", 6), testing::kMillimetre);
}

TEST(ExtendedDetermination, OneCommonPointAndAnOrientedRound) {
    // T1 and T2 read the given A by directions alone, and each other with a
    // distance; a bearing from T1 to T2 orients their rounds. The ordinary
    // methods have a bearing towards A from each but no distance: nothing.
    // In the local frame A is intersected from T1 and T2: one common point,
    // and two rounds oriented in both frames give the rotation and check it.
    NetworkGenerator net;
    net.AddControl("A", 1000.0, 1000.0, 50.0);
    net.AddPoint("T1", 1200.0, 1100.0, 52.0);
    net.AddPoint("T2", 1250.0, 900.0, 51.0);
    net.AddPoint("T3", 1450.0, 1000.0, 53.0);
    net.Round("T1", {"A", "T2"}, 0.4);
    net.HorizontalDistance("T1", "T2");
    net.Bearing("T1", "T2");
    net.Round("T2", {"T1", "A", "T3"}, 1.9);
    net.HorizontalDistance("T2", "T3");
    net.HeightDifference("A", "T1");
    net.HeightDifference("T1", "T2");
    net.HeightDifference("T2", "T3");
    LoadedSurvey survey(net);
    const std::vector<std::string> shown = survey.RunWith("A", kExtended);
    EXPECT_TRUE(Contains(shown, testing::kNothingDeterminable)) << Joined(shown);
    ExpectAllAtTruePositions(survey, net, {"T1", "T2", "T3"}, testing::kMillimetre);
    EXPECT_TRUE(Contains(shown,
                         "black: Bloc local 1 : 3 points placés, recalé sur A et "
                         "l'orientation du tour de T1 ; échelle 1 ; écart maximal non "
                         "contrôlé en position ; orientation à 0.0000 gr près"))
        << Joined(shown);
    EXPECT_TRUE(Contains(shown,
                         "black:       T3 placé par le bloc local 1 recalé sur        A "
                         "et l'orientation du tour de T1"))
        << Joined(shown);
    ASSERT_EQ(survey.state.ExtendedBlocks.Count(), 1);
    EXPECT_NE(survey.state.ExtendedBlocks[1].orientingRound, 0);
}

TEST(ExtendedDetermination, NoRunNoStage) {
    // A start-point text naming no point runs nothing, nor the stage.
    LoadedSurvey survey(OpenTraverse());
    EXPECT_TRUE(survey.RunWith("NOWHERE", kExtended).empty());
    EXPECT_FALSE(survey.Point("T1").planimetricKnown);
}

TEST(ExtendedDetermination, OrdinaryOutputComesFirstAndUnchanged) {
    testing::RandomNetworkOptions options;
    options.points = 300;
    options.seed = 5;
    const testing::RandomNetwork random = testing::MakeRandomNetwork(options);
    const std::string start = random.startPoints.front();

    LoadedSurvey ordinary(random.network);
    const std::vector<std::string> off = ordinary.RunWith(start, kOrdinary);
    LoadedSurvey direct(random.network);
    EXPECT_EQ(direct.Run(start), off);
    EXPECT_EQ(direct.Listing(), ordinary.Listing());

    LoadedSurvey extended(random.network);
    const std::vector<std::string> on = extended.RunWith(start, kExtended);
    ASSERT_GE(on.size(), off.size());
    EXPECT_TRUE(std::equal(off.begin(), off.end(), on.begin()));
    const std::string listing = extended.Listing();
    EXPECT_EQ(listing.substr(0, ordinary.Listing().size()), ordinary.Listing());
    // What the ordinary run placed stays where it was.
    for (int p = 1; p <= ordinary.state.PointCount(); ++p) {
        const SurveyPoint& before = ordinary.state.PointTable[p];
        const SurveyPoint& after = extended.state.PointTable[p];
        if (before.planimetricKnown) {
            EXPECT_EQ(before.x, after.x) << before.name;
            EXPECT_EQ(before.y, after.y) << before.name;
        }
    }
    // Exact data: whatever the stage placed is at its true position.
    for (const ExtendedPointRecord& record : extended.state.ExtendedPoints) {
        const std::string name = Cp1252ToUtf8(extended.state.PointTable[record.point].name);
        if (record.plan && extended.state.PointTable[record.point].heightKnown) {
            EXPECT_TRUE(AtTruePosition(extended, random.network, name));
        }
    }
}

TEST(ExtendedDetermination, NothingLeftSaysSoOnce) {
    LoadedSurvey survey(testing::RadiationExample());
    const std::vector<std::string> shown = survey.RunWith("S1", kExtended);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "black: Calcul étendu : aucun point de plus");
    EXPECT_EQ(std::count_if(shown.begin(), shown.end(),
                            [](const std::string& line) {
                                return line.find("Calcul étendu") != std::string::npos;
                            }),
              1);
}

// The fast derivation and the literal one give the stage the same tables:
// the same lines, the same coordinates to the bit, on every hard network.
TEST(ExtendedDetermination, FastAndLiteralDerivationsAgree) {
    const std::vector<std::pair<NetworkGenerator, std::string>> networks = {
        {AngleChain(), "A"},
        {OpenTraverse(1e-5, 0.002), "A"},
        {ClosedTraverse(), "A"},
        {FarEndBlock(true), "C1"},
        {FarEndBlock(true, 0.5), "C1"}};
    for (std::size_t n = 0; n < networks.size(); ++n) {
        const auto& [network, start] = networks[n];
        LoadedSurvey fast(network, ComputationStrategy::Incremental);
        LoadedSurvey literal(network, ComputationStrategy::Literal);
        const std::vector<std::string> shown = fast.RunWith(start, kExtended);
        EXPECT_TRUE(Contains(shown, "black: Calcul étendu")) << "network " << n;
        EXPECT_EQ(shown, literal.RunWith(start, kExtended)) << "network " << n;
        ASSERT_EQ(fast.state.PointCount(), literal.state.PointCount());
        for (int p = 1; p <= fast.state.PointCount(); ++p) {
            const SurveyPoint& a = fast.state.PointTable[p];
            const SurveyPoint& b = literal.state.PointTable[p];
            EXPECT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z && a.status == b.status)
                << "network " << n << ", point " << a.name;
        }
    }
}

}  // namespace
}  // namespace calctopo
