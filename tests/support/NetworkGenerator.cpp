#include "support/NetworkGenerator.h"

#include <cmath>
#include <fstream>
#include <stdexcept>

#include "data/Saisie.h"
#include "data/TextNumbers.h"
#include "engine/CALCUL.h"
#include "engine/LoadPipeline.h"
#include "engine/RunObserver.h"
#include "geometry/Angles.h"
#include "geometry/CONVERTI.h"
#include "output/ResidualListing.h"
#include "output/RunMessages.h"
#include "output/ecrit.h"

namespace calctopo::testing {

namespace {

// Curvature and refraction: (horizontal distance in km)² / 15, in metres.
constexpr long double kCurvatureDivisor = 15.0L * 1000.0L * 1000.0L;

// Folds an angle into [0, 2π).
long double OneTurn(long double a) {
    long double folded = std::fmod(a, kTwoPi);
    if (folded < 0.0L) {
        folded += kTwoPi;
    }
    return folded;
}

}  // namespace

NetworkGenerator::NetworkGenerator(int angleUnit) : angleUnit_(angleUnit) {
    observationLines_[""];
}

void NetworkGenerator::AddPoint(const std::string& name, double x, double y, double z) {
    points_[name] = TruePoint{name, x, y, z};
}

void NetworkGenerator::AddControl(const std::string& name, double x, double y, double z) {
    AddPoint(name, x, y, z);
    Control(name);
}

const TruePoint& NetworkGenerator::Point(const std::string& name) const {
    const auto found = points_.find(name);
    if (found == points_.end()) {
        throw std::invalid_argument("network has no point " + name);
    }
    return found->second;
}

void NetworkGenerator::SetNoise(double angleSigma, double lengthSigma, std::uint32_t seed) {
    angleSigma_ = angleSigma;
    lengthSigma_ = lengthSigma;
    state_ = seed == 0 ? 1 : seed;
}

void NetworkGenerator::SetDecimals(int angleDecimals, int lengthDecimals) {
    angleDecimals_ = angleDecimals;
    lengthDecimals_ = lengthDecimals;
}

void NetworkGenerator::Control(const std::string& name) {
    const TruePoint& p = Point(name);
    coordinateLines_.push_back("1 " + name + " " + LengthText(p.x) + " " + LengthText(p.y) + " " +
                               LengthText(p.z) + " 0 0");
}

void NetworkGenerator::ControlAt(const std::string& name, double x, double y, double z) {
    coordinateLines_.push_back("1 " + name + " " + LengthText(x) + " " + LengthText(y) + " " +
                               LengthText(z) + " 0 0");
}

void NetworkGenerator::ObservationsTo(const std::string& fileName) {
    currentFile_ = fileName;
    observationLines_[fileName];
}

void NetworkGenerator::Include(const std::string& text) {
    observationLines_[currentFile_].push_back("@" + text);
}

void NetworkGenerator::RawObservation(const std::string& line) {
    observationLines_[currentFile_].push_back(line);
}

double NetworkGenerator::TrueBearing(const std::string& station, const std::string& target) const {
    const TruePoint& s = Point(station);
    const TruePoint& t = Point(target);
    const long double dx = static_cast<long double>(t.x) - s.x;
    const long double dy = static_cast<long double>(t.y) - s.y;
    return static_cast<double>(OneTurn(std::atan2(dx, dy)));
}

double NetworkGenerator::TrueHorizontalDistance(const std::string& station,
                                                const std::string& target) const {
    const TruePoint& s = Point(station);
    const TruePoint& t = Point(target);
    const long double dx = static_cast<long double>(t.x) - s.x;
    const long double dy = static_cast<long double>(t.y) - s.y;
    return static_cast<double>(std::sqrt(dx * dx + dy * dy));
}

void NetworkGenerator::Round(const std::string& station, const std::vector<std::string>& targets,
                             double zero) {
    bool first = true;
    for (const std::string& target : targets) {
        const long double reading =
            OneTurn(static_cast<long double>(TrueBearing(station, target)) - zero + AngleNoise());
        Observation(first ? 7 : 5, station, target, AngleText(static_cast<double>(reading)), 0.0,
                    0.0);
        first = false;
    }
}

void NetworkGenerator::Direction(const std::string& station, const std::string& target,
                                 double zero) {
    const long double reading =
        OneTurn(static_cast<long double>(TrueBearing(station, target)) - zero + AngleNoise());
    Observation(5, station, target, AngleText(static_cast<double>(reading)), 0.0, 0.0);
}

void NetworkGenerator::Zenith(const std::string& station, const std::string& target, double hi,
                              double ht) {
    const long double dh = TrueHorizontalDistance(station, target);
    const long double vertical = static_cast<long double>(Point(target).z) - Point(station).z - hi +
                                 ht - dh * dh / kCurvatureDivisor;
    const long double zenith = std::atan2(dh, vertical) + AngleNoise();
    Observation(6, station, target, AngleText(static_cast<double>(zenith)), hi, ht);
}

void NetworkGenerator::SlopeDistance(const std::string& station, const std::string& target,
                                     double hi, double ht) {
    const long double dh = TrueHorizontalDistance(station, target);
    const long double vertical = static_cast<long double>(Point(target).z) - Point(station).z - hi +
                                 ht - dh * dh / kCurvatureDivisor;
    const long double slope = std::sqrt(dh * dh + vertical * vertical) + LengthNoise();
    Observation(1, station, target, LengthText(static_cast<double>(slope)), hi, ht);
}

void NetworkGenerator::HorizontalDistance(const std::string& station, const std::string& target) {
    const long double dh =
        static_cast<long double>(TrueHorizontalDistance(station, target)) + LengthNoise();
    Observation(2, station, target, LengthText(static_cast<double>(dh)), 0.0, 0.0);
}

void NetworkGenerator::HeightDifference(const std::string& station, const std::string& target) {
    const long double dz =
        static_cast<long double>(Point(target).z) - Point(station).z + LengthNoise();
    Observation(4, station, target, LengthText(static_cast<double>(dz)), 0.0, 0.0);
}

void NetworkGenerator::Bearing(const std::string& station, const std::string& target,
                               double offset) {
    const long double bearing =
        static_cast<long double>(TrueBearing(station, target)) + offset + AngleNoise();
    Observation(8, station, target, AngleText(static_cast<double>(bearing)), 0.0, 0.0);
}

std::string NetworkGenerator::CoordinatesText() const {
    std::string text;
    for (const std::string& line : coordinateLines_) {
        text += line + "\r\n";
    }
    return text;
}

std::string NetworkGenerator::ObservationsText(const std::string& fileName) const {
    std::string text;
    const auto found = observationLines_.find(fileName);
    if (found != observationLines_.end()) {
        for (const std::string& line : found->second) {
            text += line + "\r\n";
        }
    }
    return text;
}

void NetworkGenerator::WriteFiles(const std::filesystem::path& folder,
                                  const std::string& coordinatesName,
                                  const std::string& observationsName) const {
    const auto write = [&](const std::string& name, const std::string& text) {
        std::ofstream out(folder / name, std::ios::binary);
        out << text;
        if (!out) {
            throw std::runtime_error("cannot write " + (folder / name).string());
        }
    };
    write(coordinatesName, CoordinatesText());
    for (const auto& [fileName, lines] : observationLines_) {
        write(fileName.empty() ? observationsName : fileName, ObservationsText(fileName));
    }
}

std::string NetworkGenerator::AngleText(double radians) const {
    switch (angleUnit_) {
        case Grades:
            return FormatFixed(RadiansToGrades(radians), angleDecimals_);
        case SexagesimalDegrees:
            return FormatFixed(RadiansToSexagesimal(radians), angleDecimals_);
        case DecimalDegrees:
            return FormatFixed(RadiansToDegrees(radians), angleDecimals_);
        default:
            return FormatFixed(radians, angleDecimals_);
    }
}

std::string NetworkGenerator::LengthText(double metres) const {
    return FormatFixed(metres, lengthDecimals_);
}

void NetworkGenerator::Observation(int code, const std::string& station, const std::string& target,
                                   const std::string& value, double hi, double ht) {
    observationLines_[currentFile_].push_back(Format("%d ", code) + station + " " + target + " " +
                                              value + " 0 " + LengthText(hi) + " " +
                                              LengthText(ht));
}

double NetworkGenerator::AngleNoise() {
    return angleSigma_ == 0.0 ? 0.0 : angleSigma_ * Gaussian();
}

double NetworkGenerator::LengthNoise() {
    return lengthSigma_ == 0.0 ? 0.0 : lengthSigma_ * Gaussian();
}

// Box–Muller on a 32-bit xorshift: the same sequence on every platform.
double NetworkGenerator::Gaussian() {
    const auto next = [this] {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (static_cast<double>(state_) + 0.5) / 4294967296.0;
    };
    const double u1 = next();
    const double u2 = next();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(static_cast<double>(kTwoPi) * u2);
}

LoadedSurvey::LoadedSurvey(const NetworkGenerator& network, ComputationStrategy strategy) {
    state.Strategy = strategy;
    network.WriteFiles(folder_.Path(), "survey.cor", "survey.obs");
    Load("survey.cor", "survey.obs", network.AngleUnit());
}

LoadedSurvey::LoadedSurvey(const std::filesystem::path& source, const std::string& coordinatesName,
                           const std::string& observationsName, int angleUnit) {
    for (const auto& entry : std::filesystem::directory_iterator(source)) {
        if (entry.is_regular_file()) {
            std::filesystem::copy_file(entry.path(), folder_.Path() / entry.path().filename());
        }
    }
    Load(coordinatesName, observationsName, angleUnit);
}

void LoadedSurvey::Load(const std::string& coordinatesName, const std::string& observationsName,
                        int angleUnit) {
    state.CoordinatesFileName = (folder_.Path() / coordinatesName).string();
    state.ObservationsFileName = (folder_.Path() / observationsName).string();
    state.ListingFileName = (folder_.Path() / "survey.vek").string();
    state.Parameters.angleUnit = angleUnit;
    state.ListingFile.Create(state.ListingFileName);
    LoadSurveyData(state, ui);
}

std::vector<std::string> LoadedSurvey::Run(const std::string& startPoint) {
    const std::size_t before = ui.calls.size();
    ui.startPointText = Utf8ToCp1252(startPoint);
    // The run alone, observed as the start-point action observes it.
    ResidualListingWriter listing;
    RunMessages messages(ui);
    RunObservers observers{&listing, &messages};
    RunDetermination(state, observers, FindStartPoint(state, ui.startPointText));
    return ShownSince(before);
}

std::vector<std::string> LoadedSurvey::RunWith(const std::string& startPoint,
                                               const RunOptions& options) {
    const std::size_t before = ui.calls.size();
    ui.startPointText = Utf8ToCp1252(startPoint);
    StartPointChanged(state, ui, options);
    return ShownSince(before);
}

std::vector<std::string> LoadedSurvey::ShownSince(std::size_t before) const {
    std::vector<std::string> shown;
    for (std::size_t i = before; i < ui.calls.size(); ++i) {
        const RecordedCall& call = ui.calls[i];
        const std::string text = Cp1252ToUtf8(call.text);
        if (call.kind == RecordedCall::Kind::MessageBox) {
            shown.push_back("box: " + text);
        } else if (call.kind == RecordedCall::Kind::Affiche) {
            switch (call.messageKind) {
                case MessageKind::Info:
                    shown.push_back("black: " + text);
                    break;
                case MessageKind::Problem:
                    shown.push_back("red: " + text);
                    break;
                case MessageKind::Computed:
                    shown.push_back("green: " + text);
                    break;
            }
        } else if (call.kind == RecordedCall::Kind::Plain) {
            shown.push_back("plain: " + text);
        }
    }
    return shown;
}

std::string LoadedSurvey::RunFirstLine(const std::string& startPoint) {
    const std::vector<std::string> shown = Run(startPoint);
    return shown.empty() ? "(nothing shown)" : shown.front();
}

const SurveyPoint& LoadedSurvey::Point(const std::string& name) const {
    const int index = FindPoint(state, Utf8ToCp1252(name));
    if (index == 0) {
        throw std::invalid_argument("survey has no point " + name);
    }
    return state.PointTable[index];
}

std::string LoadedSurvey::Listing() const {
    return ReadBytes(state.ListingFileName);
}

std::string LoadedSurvey::WriteResults() {
    WriteCoordinatesOutput(state);
    return ReadBytes(state.NewFileName);
}

NetworkGenerator RadiationExample(int angleUnit) {
    NetworkGenerator net(angleUnit);
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1300.0, 5200.0, 112.0);
    net.AddPoint("P1", 1150.0, 4850.0, 95.5);
    net.Round("S1", {"S2", "P1"}, 0.7);
    net.Zenith("S1", "P1", 1.52, 1.3);
    net.SlopeDistance("S1", "P1", 1.52, 1.3);
    return net;
}

::testing::AssertionResult AtTruePosition(const LoadedSurvey& survey,
                                          const NetworkGenerator& network, const std::string& name,
                                          double tolerance) {
    const SurveyPoint& found = survey.Point(name);
    const TruePoint& truth = network.Point(name);
    if (!found.planimetricKnown || !found.heightKnown) {
        return ::testing::AssertionFailure()
               << name << " lacks its " << (found.planimetricKnown ? "height" : "plan position");
    }
    const double dx = found.x - truth.x;
    const double dy = found.y - truth.y;
    const double dz = found.z - truth.z;
    if (!std::isfinite(dx) || !std::isfinite(dy) || !std::isfinite(dz) ||
        std::hypot(dx, dy) > tolerance || std::fabs(dz) > tolerance) {
        return ::testing::AssertionFailure()
               << name << " at (" << found.x << ", " << found.y << ", " << found.z
               << ") instead of (" << truth.x << ", " << truth.y << ", " << truth.z << ")";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace calctopo::testing
