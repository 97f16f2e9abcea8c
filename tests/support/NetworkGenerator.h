// Survey networks for the tests: a coordinates file and an observations file
// computed from true coordinates, exact or with noise, in any of the three
// angle units, and a loaded survey built from them in a temporary folder.
//
// The observations are reduced the way the program reduces them, so exact
// data give back the true positions and heights:
// - a direction reading is the true bearing minus the zero of its round,
//   folded into one turn;
// - a zenith angle z and a slope distance D satisfy D·sin z = Dh and
//   D·cos z + hi − ht + (Dh / 1000)² / 15 = Δz (curvature and refraction term
//   of the height reduction), Dh and Δz being the true horizontal distance and
//   height difference;
// - a horizontal distance is Dh, a height difference Δz, a bearing the true
//   bearing (plus any offset the test asks for).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "shell/app/Actions.h"
#include "support/Compare.h"
#include "support/RecordingServices.h"
#include "support/TempFolder.h"

namespace calctopo::testing {

struct TruePoint {
    std::string name;  // as written in the files (UTF-8 is fine for ASCII names)
    double x = 0.0;    // east, metres
    double y = 0.0;    // north, metres
    double z = 0.0;    // height, metres
};

class NetworkGenerator {
  public:
    // angleUnit: 1 grades, 2 sexagesimal D.MMSS, 3 decimal degrees.
    explicit NetworkGenerator(int angleUnit = 1);

    int AngleUnit() const { return angleUnit_; }

    // The true coordinates of a point (every point named in an observation
    // must have been added).
    void AddPoint(const std::string& name, double x, double y, double z);
    // A given point: AddPoint, then its line in the coordinates file (Control).
    void AddControl(const std::string& name, double x, double y, double z);
    const TruePoint& Point(const std::string& name) const;

    // Gaussian noise added to every observation written from now on: angles
    // (radians) and lengths (metres). Zero standard deviations give exact data.
    void SetNoise(double angleSigma, double lengthSigma, std::uint32_t seed);
    // Decimals written for angles (in the angle unit) and lengths. The defaults
    // (10 and 6) keep exact data exact to far below a millimetre.
    void SetDecimals(int angleDecimals, int lengthDecimals);

    // A line of the coordinates file for a control point, at its true position.
    void Control(const std::string& name);
    // A line of the coordinates file for `name` at another position than its
    // true one (a name given twice: every lookup finds the first line).
    void ControlAt(const std::string& name, double x, double y, double z);

    // Observations go to the observations file named `fileName` from now on
    // (the main file is ""); a file named here is written next to the main one.
    void ObservationsTo(const std::string& fileName);
    // An include line "@text" in the current observations file.
    void Include(const std::string& text);
    // A line written as it stands (comments, hand-made observations).
    void RawObservation(const std::string& line);

    // A new round at `station` (code 7, then code 5) reading `targets` in order,
    // with the round's zero at the bearing `zero` (radians).
    void Round(const std::string& station, const std::vector<std::string>& targets, double zero);
    // One reading in the current round (code 5).
    void Direction(const std::string& station, const std::string& target, double zero);
    // Zenith angle (code 6), slope distance (code 1), horizontal distance
    // (code 2), height difference (code 4) and bearing (code 8). A slope
    // distance is consistent with the zenith angle of the same heights.
    void Zenith(const std::string& station, const std::string& target, double hi = 1.5,
                double ht = 1.5);
    void SlopeDistance(const std::string& station, const std::string& target, double hi = 1.5,
                       double ht = 1.5);
    void HorizontalDistance(const std::string& station, const std::string& target);
    void HeightDifference(const std::string& station, const std::string& target);
    // `offset` (radians) is added to the true bearing: a whole turn to write a
    // negative bearing, or a deliberate error.
    void Bearing(const std::string& station, const std::string& target, double offset = 0.0);

    // True bearing (radians, [0, 2π)) and horizontal distance from station to target.
    double TrueBearing(const std::string& station, const std::string& target) const;
    double TrueHorizontalDistance(const std::string& station, const std::string& target) const;

    std::string CoordinatesText() const;
    // The text of one observations file ("" the main one).
    std::string ObservationsText(const std::string& fileName = "") const;

    // Writes the coordinates file, the main observations file and every other
    // observations file into `folder`.
    void WriteFiles(const std::filesystem::path& folder, const std::string& coordinatesName,
                    const std::string& observationsName) const;

  private:
    std::string AngleText(double radians) const;
    std::string LengthText(double metres) const;
    void Observation(int code, const std::string& station, const std::string& target,
                     const std::string& value, double hi, double ht);
    double AngleNoise();
    double LengthNoise();
    double Gaussian();

    int angleUnit_;
    std::map<std::string, TruePoint> points_;
    std::vector<std::string> coordinateLines_;
    std::map<std::string, std::vector<std::string>> observationLines_;
    std::string currentFile_;
    double angleSigma_ = 0.0;
    double lengthSigma_ = 0.0;
    std::uint32_t state_ = 1;
    int angleDecimals_ = 10;
    int lengthDecimals_ = 6;
};

// A survey loaded as the program loads it: the files written into a
// temporary folder, the listing created there, LoadSurveyData run.
class LoadedSurvey {
  private:
    // Declared first so that it goes last, after the listing is closed.
    TempFolder folder_;

  public:
    // Writes the generator's files as "survey.cor" and "survey.obs" and loads
    // them, computing as `strategy` says.
    explicit LoadedSurvey(const NetworkGenerator& network,
                          ComputationStrategy strategy = ComputationStrategy::Incremental);
    // Copies every file of `source` into the temporary folder and loads the
    // two named files from there, so nothing is written next to the originals.
    LoadedSurvey(const std::filesystem::path& source, const std::string& coordinatesName,
                 const std::string& observationsName, int angleUnit);

    // One determination run from `startPoint`; returns what it showed, one
    // entry per message-pane line or message box, tagged by colour: "black: ",
    // "red: ", "green: ", "box: ".
    std::vector<std::string> Run(const std::string& startPoint);
    // The start-point action with its options (the extended determination
    // after the run when they ask for it); what it showed, tagged as by Run.
    std::vector<std::string> RunWith(const std::string& startPoint, const RunOptions& options);
    // The first entry of such a run, for tests that look only at how the
    // first point was placed; "(nothing shown)" when the run showed nothing.
    std::string RunFirstLine(const std::string& startPoint);

    const SurveyPoint& Point(const std::string& name) const;
    // The listing file as written so far.
    std::string Listing() const;
    // The ".new" file and the closing block of the listing, as "Quitter"
    // writes them; returns the ".new" file.
    std::string WriteResults();

    SurveyState state;
    RecordingServices ui;

  private:
    void Load(const std::string& coordinatesName, const std::string& observationsName,
              int angleUnit);
    // What was shown since the call numbered `before`.
    std::vector<std::string> ShownSince(std::size_t before) const;
};

// What a run shows when no point can be placed at all.
inline constexpr char kNothingDeterminable[] = "box: Aucun point ne peut être déterminé";

// S1 and S2 given; P1 seen from S1 with a reading, a slope distance and a
// zenith angle (instrument 1.52, target 1.3), in a round whose zero the given
// S2 fixes: P1 is radiated and levelled from S1.
NetworkGenerator RadiationExample(int angleUnit = 1);

// Success when the survey's point has its plan position and its height and
// lies within `tolerance` of the network's true position and height.
::testing::AssertionResult AtTruePosition(const LoadedSurvey& survey,
                                          const NetworkGenerator& network, const std::string& name,
                                          double tolerance = kMillimetre);

}  // namespace calctopo::testing
