// The data check on generated networks: exact and noisy data flag nothing,
// each kind of planted blunder is flagged and ranked at the top, and a point
// without redundancy is reported unchecked.
#include "check/DataCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "check/CheckReport.h"
#include "data/TextNumbers.h"
#include "geometry/Angles.h"
#include "geometry/CONVERTI.h"
#include "support/Compare.h"
#include "support/NetworkGenerator.h"
#include "support/RandomNetwork.h"

namespace calctopo {
namespace {

using testing::LoadedSurvey;
using testing::NetworkGenerator;

// Residuals of exact data: what the coordinates printed to 6 decimals and
// the readings to 10 leave (far under a tenth of the tolerance).
constexpr double kExactNormalised = 0.01;
// How far down the ranking a planted blunder may stand: the blunder itself
// and the few observations its error spreads to through the point it
// displaced.
constexpr int kTopRanks = 3;

enum class Blunder {
    None,
    WrongDistance,     // a slope distance 100 mm too long
    WrongTarget,       // a reading named P2 but aimed at P4
    SwappedNames,      // two targets of a round read under each other's name
    DisplacedControl,  // a given point one metre east of where it stands
    WrongSign,         // a height difference with the wrong sign
};

// The reading (grades, as the file holds it) of `actual` from `station` in
// a round of zero `zero`.
std::string ReadingText(const NetworkGenerator& net, const std::string& station,
                        const std::string& actual, double zero) {
    long double reading = static_cast<long double>(net.TrueBearing(station, actual)) - zero;
    while (reading < 0.0L) {
        reading += kTwoPi;
    }
    return FormatFixed(RadiansToGrades(static_cast<double>(reading)), 10);
}

// Four given points around four new ones, each new point read from every
// station with distances and zenith angles: every point is checked in plan
// and in height, several times over. The planted blunder's line holds the
// text "blunder" in its unread sixth field.
NetworkGenerator CheckedNetwork(Blunder blunder = Blunder::None) {
    NetworkGenerator net;
    net.AddControl("A", 1000.0, 1000.0, 100.0);
    net.AddControl("B", 1400.0, 1050.0, 104.0);
    net.AddControl("C", 1380.0, 1420.0, 110.0);
    if (blunder == Blunder::DisplacedControl) {
        net.AddControl("D", 981.0, 1390.0, 97.0);  // written one metre east
    }
    net.AddPoint("D", 980.0, 1390.0, 97.0);
    if (blunder != Blunder::DisplacedControl) {
        net.Control("D");
    }
    net.AddPoint("P1", 1150.0, 1120.0, 101.5);
    net.AddPoint("P2", 1250.0, 1180.0, 103.2);
    net.AddPoint("P3", 1200.0, 1300.0, 105.8);
    net.AddPoint("P4", 1100.0, 1250.0, 99.4);
    const std::vector<std::string> news = {"P1", "P2", "P3", "P4"};
    const std::vector<std::string> stations = {"A", "B", "C", "D"};
    double zero = 0.3;
    for (const std::string& station : stations) {
        std::vector<std::string> targets;
        for (const std::string& other : stations) {
            if (other != station) {
                targets.push_back(other);
            }
        }
        targets.insert(targets.end(), news.begin(), news.end());
        // A round written line by line, so that a reading can be misnamed.
        bool first = true;
        for (const std::string& target : targets) {
            std::string aimed = target;
            std::string mark = "0";
            if (blunder == Blunder::WrongTarget && station == "C" && target == "P2") {
                aimed = "P4";
                mark = "blunder";
            } else if (blunder == Blunder::SwappedNames && station == "D" &&
                       (target == "P1" || target == "P3")) {
                aimed = target == "P1" ? "P3" : "P1";
                mark = "blunder";
            }
            net.RawObservation(std::string(first ? "7 " : "5 ") + station + " " + target + " " +
                               ReadingText(net, station, aimed, zero) + " 0 " + mark + " 0 0");
            first = false;
        }
        zero += 1.1;
        for (const std::string& target : news) {
            net.Zenith(station, target);
            if (blunder == Blunder::WrongDistance && station == "B" && target == "P3") {
                NetworkGenerator probe;  // the exact slope distance, then 100 mm more
                probe.AddPoint("B", 1400.0, 1050.0, 104.0);
                probe.AddPoint("P3", 1200.0, 1300.0, 105.8);
                probe.SlopeDistance("B", "P3");
                const std::string line = probe.ObservationsText();
                const double exact = *ParseReal(line.substr(7, line.find(' ', 7) - 7));
                net.RawObservation("1 B P3 " + FormatFixed(exact + 0.1, 6) + " 0 blunder 1.5 1.5");
            } else {
                net.SlopeDistance(station, target);
            }
        }
    }
    const double dz = net.Point("P2").z - net.Point("P1").z;
    net.RawObservation("4 P1 P2 " + FormatFixed(blunder == Blunder::WrongSign ? -dz : dz, 6) +
                       (blunder == Blunder::WrongSign ? " 0 blunder 0 0" : " 0 0 0 0"));
    return net;
}

struct Checked {
    explicit Checked(const NetworkGenerator& net, const std::string& start = "A") : survey(net) {
        survey.Run(start);
        result = RunDataCheck(survey.state);
    }
    // The observation read on `line` of the main observations file.
    const ObservationCheck* AtLine(int line, CheckKind kind) const {
        for (const ObservationCheck& check : result.observations) {
            if (check.source.line == line && check.kind == kind &&
                SourceFileName(survey.state, check.source) == "survey.obs") {
                return &check;
            }
        }
        return nullptr;
    }
    const PointCheck& Point(const std::string& name) const {
        return result.points[static_cast<std::size_t>(FindPoint(survey.state, name) - 1)];
    }
    LoadedSurvey survey;
    DataCheckResult result;
};

// The line numbers (1-based) of the main file's lines that hold `text`.
std::vector<int> LinesWith(const NetworkGenerator& net, const std::string& text) {
    std::vector<int> lines;
    const std::string all = net.ObservationsText();
    int number = 1;
    std::size_t begin = 0;
    while (begin < all.size()) {
        const std::size_t end = all.find('\n', begin);
        if (all.substr(begin, end - begin).find(text) != std::string::npos) {
            lines.push_back(number);
        }
        ++number;
        begin = end == std::string::npos ? all.size() : end + 1;
    }
    return lines;
}

// The figure the ranking sorts by.
double Figure(const ObservationCheck& check) {
    return std::max(check.normalised, check.deletedNormalised);
}

TEST(DataCheck, ExactDataFlagNothingAndCheckEveryPoint) {
    const Checked checked(CheckedNetwork());
    EXPECT_EQ(checked.result.suspectCount, 0);
    EXPECT_EQ(checked.result.suspectPoints, 0);
    for (const ObservationCheck& check : checked.result.observations) {
        ASSERT_TRUE(check.computable) << check.source.line;
        EXPECT_LT(check.normalised, kExactNormalised) << "line " << check.source.line;
    }
    for (const char* name : {"P1", "P2", "P3", "P4"}) {
        const PointCheck& point = checked.Point(name);
        EXPECT_EQ(point.verdict, CheckVerdict::Checked) << name;
        EXPECT_GE(point.planChecks, 1) << name;
        EXPECT_GE(point.heightChecks, 1) << name;
    }
}

TEST(DataCheck, NoisyDataBelowTheTolerancesFlagNothing) {
    // 1 mgon on angles and 3 mm on lengths, a good total station, on a town
    // network of 300 points whose approximate positions come from chains of
    // minimal figures.
    for (const std::uint32_t seed : {1U, 7U, 42U}) {
        testing::RandomNetworkOptions options;
        options.points = 300;
        options.seed = seed;
        options.angleSigma = 1e-3 * static_cast<double>(kPi) / 200.0;
        options.lengthSigma = 0.003;
        const testing::RandomNetwork random = testing::MakeRandomNetwork(options);
        LoadedSurvey survey(random.network);
        survey.Run(random.startPoints.front());
        const DataCheckResult result = RunDataCheck(survey.state);
        EXPECT_EQ(result.suspectCount, 0) << "seed " << seed;
        if (result.suspectCount > 0) {
            const ObservationCheck& worst =
                result.observations[static_cast<std::size_t>(result.ranking.front())];
            ADD_FAILURE() << "seed " << seed << ": line " << worst.source.line << ", "
                          << Cp1252ToUtf8(KindText(worst.kind)) << ", normalised "
                          << worst.normalised;
        }
    }
}

TEST(DataCheck, EachPlantedBlunderIsFlaggedAndRankedFirst) {
    for (const Blunder blunder : {Blunder::WrongDistance, Blunder::WrongTarget,
                                  Blunder::SwappedNames, Blunder::WrongSign}) {
        const NetworkGenerator net = CheckedNetwork(blunder);
        const Checked checked(net);
        const std::vector<int> lines = LinesWith(net, "blunder");
        ASSERT_FALSE(lines.empty());
        for (const int line : lines) {
            const ObservationCheck* planted = nullptr;
            for (const ObservationCheck& check : checked.result.observations) {
                if (check.source.line == line) {
                    planted = &check;
                }
            }
            ASSERT_NE(planted, nullptr) << "line " << line;
            EXPECT_GT(Figure(*planted), 1.0) << "blunder " << static_cast<int>(blunder);
            EXPECT_LE(planted->rank, kTopRanks + static_cast<int>(lines.size()) - 1)
                << "blunder " << static_cast<int>(blunder) << " line " << line;
        }
    }
}

TEST(DataCheck, ADisplacedControlPointIsSuspectAndItsSightsRankFirst) {
    const Checked checked(CheckedNetwork(Blunder::DisplacedControl));
    const PointCheck& d = checked.Point("D");
    EXPECT_EQ(d.verdict, CheckVerdict::Suspect);
    const ObservationCheck& first =
        checked.result.observations[static_cast<std::size_t>(checked.result.ranking.front())];
    const int index = FindPoint(checked.survey.state, "D");
    EXPECT_TRUE(first.station == index || first.target == index);
}

TEST(DataCheck, APointWithoutRedundancyIsReportedUnchecked) {
    NetworkGenerator net = CheckedNetwork();
    net.AddPoint("Q", 1050.0, 950.0, 99.0);
    net.Round("A", {"B", "Q"}, 0.2);
    net.Zenith("A", "Q");
    net.SlopeDistance("A", "Q");
    const Checked checked(net);
    const PointCheck& q = checked.Point("Q");
    EXPECT_EQ(q.verdict, CheckVerdict::Unchecked);
    EXPECT_EQ(q.planChecks, 0);
    EXPECT_EQ(q.heightChecks, 0);
    EXPECT_EQ(q.planMethod, 1);  // radiated
    // Its two readings only orient the round and place it: nothing checks them.
    for (const ObservationCheck& check : checked.result.observations) {
        if (check.target == FindPoint(checked.survey.state, "Q")) {
            EXPECT_EQ(check.verdict, CheckVerdict::Unchecked) << check.source.line;
        }
    }
}

// The CSV file is Windows-1252 like every file the program writes: its
// headings too. "tolérance" was once written in UTF-8 ("tol\xc3\xa9rance"),
// which a spreadsheet reading Windows-1252 shows as "tolÃ©rance".
TEST(DataCheck, CsvHeadingsAreWindows1252) {
    const Checked checked(CheckedNetwork());
    const std::string csv = CheckReportCsv(checked.survey.state, checked.result);
    const std::string first = csv.substr(0, csv.find("\r\n"));
    EXPECT_EQ(first,
              "rang;fichier;ligne;station;vis\xe9"
              "e;nature;code;observ\xe9;calcul\xe9;\xe9"
              "cart;"
              "\xe9"
              "cart long.;tol\xe9rance;norm\xe9;norm\xe9 sans elle;verdict;remarque;"
              "unit\xe9 d'angle");
    EXPECT_EQ(csv.find("\xc3"), std::string::npos);
    EXPECT_NE(csv.find("point;contr\xf4les plan;contr\xf4les altitude;max norm\xe9;verdict;"
                       "placement;\xe0 revoir\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace calctopo
