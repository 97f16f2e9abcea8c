#include "support/RandomNetwork.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "geometry/Angles.h"

namespace calctopo::testing {

namespace {

// Station grid spacing and jitter, and the radius of the detail points around
// their station (metres): sights of 50 to 300 m, as in a town survey.
constexpr double kStationSpacing = 300.0;
constexpr double kStationJitter = 40.0;
constexpr double kDetailRadius = 140.0;
// One point in ten is a station.
constexpr int kPointsPerStation = 10;
// Control pairs every kControlRows rows and kControlColumns columns of stations.
constexpr int kControlRows = 4;
constexpr int kControlColumns = 6;

// A 32-bit xorshift: the same sequence on every platform.
class Draw {
  public:
    explicit Draw(std::uint32_t seed) : state_(seed == 0 ? 0x9e3779b9U : seed) {}
    // Uniform in [0, 1).
    double Unit() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 4294967296.0;
    }
    bool Chance(double probability) { return Unit() < probability; }

  private:
    std::uint32_t state_;
};

// The stations on their grid, numbered row after row from the south-west.
struct StationGrid {
    int columns = 0;
    int count = 0;
    bool Has(int row, int column) const {
        return row >= 0 && column >= 0 && column < columns && row * columns + column < count;
    }
    static std::string Name(int number) { return Format("S%04d", number); }
    std::string Name(int row, int column) const { return Name(row * columns + column); }
};

bool IsControl(const StationGrid& grid, int row, int column) {
    if (row % kControlRows != 0) {
        return false;
    }
    const int inPair = column % kControlColumns;
    return (inPair == 0 && grid.Has(row, column + 1)) || inPair == 1;
}

// Ground height (metres) at a position: gently rolling.
double Ground(double x, double y) {
    return 400.0 + 30.0 * std::sin(x / 700.0) * std::cos(y / 900.0);
}

struct Layout {
    StationGrid grid;
    std::vector<std::vector<std::string>> details;  // per station number
};

Layout AddPoints(NetworkGenerator& net, int points, Draw& draw) {
    Layout layout;
    StationGrid& grid = layout.grid;
    grid.count = std::max(2, points / kPointsPerStation);
    grid.columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(grid.count))));
    for (int s = 0; s < grid.count; ++s) {
        const double x =
            10000.0 + (s % grid.columns) * kStationSpacing + (draw.Unit() - 0.5) * kStationJitter;
        const double y =
            50000.0 + (s / grid.columns) * kStationSpacing + (draw.Unit() - 0.5) * kStationJitter;
        net.AddPoint(StationGrid::Name(s), x, y, Ground(x, y) + 1.0);
    }
    layout.details.resize(static_cast<std::size_t>(grid.count));
    for (int d = 0; d < points - grid.count; ++d) {
        const int s = d % grid.count;
        const TruePoint& station = net.Point(StationGrid::Name(s));
        const double angle = draw.Unit() * static_cast<double>(kTwoPi);
        const double radius = 30.0 + (kDetailRadius - 30.0) * draw.Unit();
        const double x = station.x + radius * std::sin(angle);
        const double y = station.y + radius * std::cos(angle);
        const std::string name = Format("P%05d", d);
        net.AddPoint(name, x, y, Ground(x, y) + (draw.Unit() - 0.5));
        layout.details[static_cast<std::size_t>(s)].push_back(name);
    }
    for (int s = 0; s < grid.count; ++s) {
        if (IsControl(grid, s / grid.columns, s % grid.columns)) {
            net.Control(StationGrid::Name(s));
        }
    }
    return layout;
}

// Distance and zenith angle from a station, the distance slope or horizontal.
void Measure(NetworkGenerator& net, Draw& draw, const std::string& station,
             const std::string& target, double hi) {
    const double ht = 1.3 + 0.4 * draw.Unit();
    net.Zenith(station, target, hi, ht);
    if (draw.Chance(0.2)) {
        net.HorizontalDistance(station, target);
    } else {
        net.SlopeDistance(station, target, hi, ht);
    }
}

// The observations of one station.
void AddStation(NetworkGenerator& net, const Layout& layout, Draw& draw, int number, int& rounds) {
    const StationGrid& grid = layout.grid;
    const int row = number / grid.columns;
    const int column = number % grid.columns;
    const std::string station = StationGrid::Name(number);
    std::vector<std::string> stations;
    if (grid.Has(row, column + 1)) {
        stations.push_back(grid.Name(row, column + 1));
    }
    if (grid.Has(row + 1, column)) {
        stations.push_back(grid.Name(row + 1, column));
    }
    if (grid.Has(row + 1, column + 1)) {
        stations.push_back(grid.Name(row + 1, column + 1));
    }
    if (grid.Has(row, column - 1) && draw.Chance(0.3)) {
        stations.push_back(grid.Name(row, column - 1));
    }
    const std::vector<std::string>& own = layout.details[static_cast<std::size_t>(number)];
    // A few detail points of the next station to the east, read from here too.
    std::vector<std::string> borrowed;
    if (grid.Has(row, column + 1)) {
        for (const std::string& detail : layout.details[static_cast<std::size_t>(number + 1)]) {
            if (draw.Chance(0.3)) {
                borrowed.push_back(detail);
            }
        }
    }
    std::vector<std::string> targets = stations;
    targets.insert(targets.end(), own.begin(), own.end());
    targets.insert(targets.end(), borrowed.begin(), borrowed.end());
    if (targets.empty()) {
        return;
    }
    const double hi = 1.4 + 0.2 * draw.Unit();
    net.Round(station, targets, draw.Unit() * static_cast<double>(kTwoPi));
    ++rounds;
    // A second round only while the rounds of the stations still to come fit.
    const int stillToCome = grid.count - 1 - number;
    if (rounds + stillToCome < kMaxRounds && draw.Chance(0.05)) {
        const std::size_t repeated = std::min<std::size_t>(targets.size(), 3);
        net.Round(station, {targets.begin(), targets.begin() + static_cast<long>(repeated)},
                  draw.Unit() * static_cast<double>(kTwoPi));
        ++rounds;
    }
    for (std::size_t i = 0; i < stations.size() && i < 2; ++i) {
        Measure(net, draw, station, stations[i], hi);
    }
    for (const std::string& detail : own) {
        // Now and then only the reading: the point then needs a second
        // station. (A zenith angle without a distance would give the distance
        // from the height difference without the curvature term, centimetres
        // off on exact data.)
        if (draw.Chance(0.1)) {
            continue;
        }
        Measure(net, draw, station, detail, hi);
        if (draw.Chance(0.05)) {
            net.HeightDifference(station, detail);
        }
        if (draw.Chance(0.02)) {
            net.Bearing(station, detail);
        }
    }
}

// What a hand-edited file holds besides clean observations.
void AddOddLines(NetworkGenerator& net, const Layout& layout) {
    const std::string a = StationGrid::Name(0);
    const std::string b = StationGrid::Name(1);
    // The station to the north, or the last one when the grid has one row.
    const std::string c = layout.grid.Has(1, 0) ? layout.grid.Name(1, 0)
                                                : StationGrid::Name(layout.grid.count - 1);
    net.RawObservation("* relevé du 12/03");
    net.RawObservation("");
    net.Direction(a, c, 0.3);  // before any round: round 0
    net.RawObservation("2 " + b + " " + b + " 0.000 0 0 0");
    net.RawObservation("4 " + a);
    net.RawObservation("12 " + a + " " + c + " 1.0 0 0 0");
    net.RawObservation("9 " + c + " " + a + " 0 0 0 0");
    net.RawObservation("2 " + a + " LONGNOM123 15,5 0 0 0");
    net.RawObservation("6 " + a + " " + b + " 100.0 0 x 1.5 1.5 extra");
    net.Include("odd");
    net.ObservationsTo("ODD.obs");
    net.RawObservation("* included file");
    net.Direction(c, a, 0.1);  // outside its station's round
    net.ObservationsTo("");
    // A name given twice in the coordinates file: lookups find the first.
    net.AddPoint("DOUBLE", 9000.0, 49000.0, 300.0);
    net.Control("DOUBLE");
    net.AddPoint("DOUBLE", 9012.0, 49034.0, 305.0);
    net.Control("DOUBLE");
}

}  // namespace

RandomNetwork MakeRandomNetwork(const RandomNetworkOptions& options) {
    if (options.points < 20 || options.points > kMaxPoints - 1) {
        throw std::invalid_argument("a random network holds 20 to 9999 points");
    }
    RandomNetwork result{NetworkGenerator(options.angleUnit), {}};
    NetworkGenerator& net = result.network;
    Draw draw(options.seed);
    net.SetNoise(options.angleSigma, options.lengthSigma, options.seed);
    const Layout layout = AddPoints(net, options.points, draw);
    if (options.oddLines) {
        AddOddLines(net, layout);
    }
    int rounds = 0;
    for (int s = 0; s < layout.grid.count; ++s) {
        AddStation(net, layout, draw, s, rounds);
    }

    const StationGrid& grid = layout.grid;
    result.startPoints.push_back(grid.Name(0, 0));
    const int rows = (grid.count + grid.columns - 1) / grid.columns;
    const int middleRow = (rows / 2) / kControlRows * kControlRows;
    const int middleColumn = (grid.columns / 2) / kControlColumns * kControlColumns;
    if (middleRow != 0 && grid.Has(middleRow, middleColumn + 1)) {
        result.startPoints.push_back(grid.Name(middleRow, middleColumn));
    }
    if (options.points > grid.count) {
        result.startPoints.push_back(Format("P%05d", (options.points - grid.count) / 2));
    }
    return result;
}

}  // namespace calctopo::testing
