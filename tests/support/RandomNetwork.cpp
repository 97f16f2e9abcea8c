#include "support/RandomNetwork.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <utility>

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
// One point in ten is a station; one in fifteen when every method is asked
// for, so that the round table (1000) leaves room for the free stations.
constexpr int kPointsPerStation = 10;
constexpr int kPointsPerStationEveryMethod = 15;
// An eccentric station stands this close to its station (metres).
constexpr double kEccentricMin = 1.5;
constexpr double kEccentricMax = 4.0;
// Readings per round of a pathological pair: 15 000 readings take 15 rounds.
constexpr int kHeavyReadingsPerRound = 1000;
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

// What a detail point is for. Without every method, all are Radiated.
enum class Role {
    Radiated,      // read from its station with a distance (now and then without)
    Intersected,   // read by direction only from its station and the next one east
    Trilaterated,  // horizontal distances only, from its station and two neighbours
    Traverse,      // radiated, and a station of its own: back to its station, on to a Forward
    Forward,       // read only from the Traverse point before it (else Radiated)
    Triangulated,  // a free station: readings and distances to two stations
    Eccentric,     // a free station a few metres from its station
    Resected,      // a free station in the middle of a grid cell, reading its corners
    BearingBack,   // a station with a bearing and a distance back to its station
};

struct Layout {
    StationGrid grid;
    std::vector<std::vector<std::string>> details;  // per station number
    std::vector<std::vector<Role>> roles;           // in step with details
};

Role DrawRole(Draw& draw) {
    const double u = draw.Unit();
    constexpr std::array<std::pair<double, Role>, 8> kShares = {{
        {0.06, Role::Intersected},
        {0.10, Role::Trilaterated},
        {0.14, Role::Traverse},
        {0.18, Role::Forward},
        {0.21, Role::Triangulated},
        {0.24, Role::Eccentric},
        {0.27, Role::Resected},
        {0.30, Role::BearingBack},
    }};
    for (const auto& [below, role] : kShares) {
        if (u < below) {
            return role;
        }
    }
    return Role::Radiated;
}

Layout AddPoints(NetworkGenerator& net, int points, bool everyMethod, Draw& draw) {
    Layout layout;
    StationGrid& grid = layout.grid;
    grid.count =
        std::max(2, points / (everyMethod ? kPointsPerStationEveryMethod : kPointsPerStation));
    grid.columns = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(grid.count))));
    for (int s = 0; s < grid.count; ++s) {
        const double x =
            10000.0 + (s % grid.columns) * kStationSpacing + (draw.Unit() - 0.5) * kStationJitter;
        const double y =
            50000.0 + (s / grid.columns) * kStationSpacing + (draw.Unit() - 0.5) * kStationJitter;
        net.AddPoint(StationGrid::Name(s), x, y, Ground(x, y) + 1.0);
    }
    layout.details.resize(static_cast<std::size_t>(grid.count));
    layout.roles.resize(static_cast<std::size_t>(grid.count));
    for (int d = 0; d < points - grid.count; ++d) {
        const int s = d % grid.count;
        const Role role = everyMethod ? DrawRole(draw) : Role::Radiated;
        const TruePoint& station = net.Point(StationGrid::Name(s));
        double angle = draw.Unit() * static_cast<double>(kTwoPi);
        double radius = 30.0 + (kDetailRadius - 30.0) * draw.Unit();
        double x0 = station.x;
        double y0 = station.y;
        if (role == Role::Trilaterated) {
            // North-east of its station, well off the line to the next station
            // east: the two intersections of the distance circles lie far
            // enough apart for the control to choose between them.
            angle = 0.35 + 0.5 * angle / static_cast<double>(kTwoPi);
            radius = 60.0 + (radius - 30.0);
        } else if (role == Role::Eccentric) {
            radius = kEccentricMin +
                     (radius - 30.0) / (kDetailRadius - 30.0) * (kEccentricMax - kEccentricMin);
        } else if (role == Role::Resected && grid.Has(s / grid.columns + 1, s % grid.columns + 1)) {
            // Inside the cell of the four stations it reads, away from the
            // circle through any three of them.
            const TruePoint& across = net.Point(StationGrid::Name(s + grid.columns + 1));
            x0 = (station.x + across.x) / 2.0;
            y0 = (station.y + across.y) / 2.0;
            radius *= 0.3;
        }
        const double x = x0 + radius * std::sin(angle);
        const double y = y0 + radius * std::cos(angle);
        const std::string name = Format("P%05d", d);
        net.AddPoint(name, x, y, Ground(x, y) + (draw.Unit() - 0.5));
        layout.details[static_cast<std::size_t>(s)].push_back(name);
        layout.roles[static_cast<std::size_t>(s)].push_back(role);
    }
    for (int s = 0; s < grid.count; ++s) {
        if (IsControl(grid, s / grid.columns, s % grid.columns)) {
            net.Control(StationGrid::Name(s));
            // A name given twice: the second line is a point of its own that
            // no observation reaches, since every lookup finds the first.
            if (everyMethod && s % 5 == 0) {
                const TruePoint& p = net.Point(StationGrid::Name(s));
                net.ControlAt(p.name, p.x + 7.0, p.y - 5.0, p.z + 1.0);
            }
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

// The rounds written so far, and the most the network may write.
struct RoundBudget {
    int used = 0;
    int limit = kMaxRounds;
};

bool NeedsRound(Role role) {
    return role == Role::Traverse || role == Role::Triangulated || role == Role::Eccentric ||
           role == Role::Resected || role == Role::BearingBack;
}

// Whether a detail of this role is read by direction from its own station.
bool ReadFromStation(Role role) {
    return role == Role::Radiated || role == Role::Intersected || role == Role::Traverse;
}

// The roles the details of one station keep: a role whose neighbours are
// missing at the edge of the grid, whose round does not fit, or a forward
// point without a traverse point before it, falls back to a radiated point.
// `forwardOf[k]` is the forward point of traverse point k, or -1.
struct StationPlan {
    std::vector<Role> roles;
    std::vector<int> forwardOf;
    int rounds = 0;  // rounds the roles write
};

StationPlan PlanRoles(const StationGrid& grid, int number, const std::vector<Role>& drawn,
                      int roomForRoles) {
    const int row = number / grid.columns;
    const int column = number % grid.columns;
    const bool east = grid.Has(row, column + 1);
    const bool north = grid.Has(row + 1, column);
    const bool cell = grid.Has(row + 1, column + 1);
    StationPlan plan;
    plan.roles = drawn;
    plan.forwardOf.assign(drawn.size(), -1);
    int waitingTraverse = -1;
    for (std::size_t k = 0; k < drawn.size(); ++k) {
        Role& role = plan.roles[k];
        const bool fits = (role != Role::Intersected || east) &&
                          (role != Role::Trilaterated || (east && north)) &&
                          ((role != Role::Triangulated && role != Role::Eccentric) || east) &&
                          (role != Role::Resected || cell) &&
                          (role != Role::Forward || waitingTraverse >= 0) &&
                          (!NeedsRound(role) || plan.rounds < roomForRoles);
        if (!fits) {
            role = Role::Radiated;
        }
        if (NeedsRound(role)) {
            ++plan.rounds;
        }
        if (role == Role::Traverse) {
            waitingTraverse = static_cast<int>(k);
        } else if (role == Role::Forward) {
            plan.forwardOf[static_cast<std::size_t>(waitingTraverse)] = static_cast<int>(k);
            waitingTraverse = -1;
        }
    }
    return plan;
}

// The observations of the detail points whose role asks for more than the
// station's own round: free stations, traverse points, distance-only points.
void AddRoleObservations(NetworkGenerator& net, const Layout& layout, Draw& draw, int number,
                         const StationPlan& plan, RoundBudget& rounds) {
    const StationGrid& grid = layout.grid;
    const int row = number / grid.columns;
    const int column = number % grid.columns;
    const std::string station = StationGrid::Name(number);
    const std::vector<std::string>& own = layout.details[static_cast<std::size_t>(number)];
    const auto zero = [&draw] { return draw.Unit() * static_cast<double>(kTwoPi); };
    const auto height = [&draw] { return 1.3 + 0.4 * draw.Unit(); };
    const auto round = [&](const std::string& at, const std::vector<std::string>& targets) {
        net.Round(at, targets, zero());
        ++rounds.used;
    };
    for (std::size_t k = 0; k < own.size(); ++k) {
        const std::string& p = own[k];
        switch (plan.roles[k]) {
            case Role::Trilaterated: {
                net.HorizontalDistance(station, p);
                net.HorizontalDistance(grid.Name(row, column + 1), p);
                // The third station gives a distance, from the north, or only
                // the bearing that chooses between the two intersections, from
                // the west, on the line of the first two, where the two
                // intersections are seen furthest apart.
                if (draw.Chance(0.5) && grid.Has(row, column - 1)) {
                    net.Bearing(grid.Name(row, column - 1), p);
                } else {
                    net.HorizontalDistance(grid.Name(row + 1, column), p);
                }
                net.HeightDifference(station, p);
                break;
            }
            case Role::Traverse: {
                // Back to the station (a reverse line), on to the forward
                // point, which is placed once this round is oriented.
                const int forward = plan.forwardOf[k];
                std::vector<std::string> targets = {station};
                if (forward >= 0) {
                    targets.push_back(own[static_cast<std::size_t>(forward)]);
                }
                round(p, targets);
                net.HorizontalDistance(p, station);
                const double hi = 1.4 + 0.2 * draw.Unit();
                net.Zenith(p, station, hi, height());
                if (forward >= 0) {
                    const std::string& next = own[static_cast<std::size_t>(forward)];
                    const double ht = height();
                    net.Zenith(p, next, hi, ht);
                    net.SlopeDistance(p, next, hi, ht);
                }
                break;
            }
            case Role::Triangulated:
            case Role::Eccentric: {
                // Readings to the station and to the next one east, with the
                // distance to the first (and to the second for a triangulation).
                const std::string east = grid.Name(row, column + 1);
                round(p, {station, east});
                net.HorizontalDistance(p, station);
                if (plan.roles[k] == Role::Triangulated) {
                    net.HorizontalDistance(p, east);
                }
                net.Zenith(p, station, 1.5, height());
                break;
            }
            case Role::Resected:
                round(p, {station, grid.Name(row, column + 1), grid.Name(row + 1, column + 1),
                          grid.Name(row + 1, column)});
                net.Zenith(p, station, 1.5, height());
                break;
            case Role::BearingBack: {
                // The bearing orients the point's round from the load on, and
                // places the point from its station through the reverse line.
                std::vector<std::string> targets = {station};
                if (grid.Has(row, column + 1)) {
                    targets.push_back(grid.Name(row, column + 1));
                }
                round(p, targets);
                net.Bearing(p, station);
                net.HorizontalDistance(p, station);
                net.Zenith(p, station, 1.5, height());
                break;
            }
            default:
                break;
        }
    }
}

// The observations of one station.
void AddStation(NetworkGenerator& net, const Layout& layout, Draw& draw, int number,
                RoundBudget& rounds, bool everyMethod) {
    const StationGrid& grid = layout.grid;
    const int row = number / grid.columns;
    const int column = number % grid.columns;
    const std::string station = StationGrid::Name(number);
    // Rounds still to come: one per later station.
    const int stillToCome = grid.count - 1 - number;
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
    // Back to the west now and then (every time when every method is asked
    // for: lines read from both ends).
    if (grid.Has(row, column - 1) && draw.Chance(everyMethod ? 1.0 : 0.3)) {
        stations.push_back(grid.Name(row, column - 1));
    }
    const std::vector<std::string>& own = layout.details[static_cast<std::size_t>(number)];
    const StationPlan plan = PlanRoles(grid, number, layout.roles[static_cast<std::size_t>(number)],
                                       rounds.limit - rounds.used - 1 - stillToCome);
    // A few detail points of the next station to the east, read from here too.
    std::vector<std::string> borrowed;
    if (grid.Has(row, column + 1)) {
        for (const std::string& detail : layout.details[static_cast<std::size_t>(number + 1)]) {
            if (draw.Chance(everyMethod ? 0.5 : 0.3)) {
                borrowed.push_back(detail);
            }
        }
    }
    std::vector<std::string> targets = stations;
    for (std::size_t k = 0; k < own.size(); ++k) {
        if (ReadFromStation(plan.roles[k])) {
            targets.push_back(own[k]);
        }
    }
    targets.insert(targets.end(), borrowed.begin(), borrowed.end());
    // The points of the station to the west that wait for a second direction.
    if (everyMethod && grid.Has(row, column - 1)) {
        const auto west = static_cast<std::size_t>(number - 1);
        for (std::size_t k = 0; k < layout.details[west].size(); ++k) {
            if (layout.roles[west][k] == Role::Intersected) {
                targets.push_back(layout.details[west][k]);
            }
        }
    }
    if (targets.empty()) {
        return;
    }
    const double hi = 1.4 + 0.2 * draw.Unit();
    net.Round(station, targets, draw.Unit() * static_cast<double>(kTwoPi));
    ++rounds.used;
    // A reading of the station itself, last in its round. Only where the
    // round is oriented from the load on, on the given station next to it: a
    // reading of the station itself gives its round the bearing 0 from the
    // coordinates, which would orient a round that nothing else orients yet.
    if (everyMethod && IsControl(grid, row, column) && column % kControlColumns == 0 &&
        grid.Has(row, column + 1) && draw.Chance(0.3)) {
        net.Direction(station, station, 0.0);
    }
    // A second round only while the rounds still to come fit.
    if (rounds.used + plan.rounds + stillToCome < rounds.limit &&
        draw.Chance(everyMethod ? 0.12 : 0.05)) {
        const std::size_t repeated = std::min<std::size_t>(targets.size(), everyMethod ? 4 : 3);
        net.Round(station, {targets.begin(), targets.begin() + static_cast<long>(repeated)},
                  draw.Unit() * static_cast<double>(kTwoPi));
        ++rounds.used;
    }
    // Distances to the first two stations (to all of them for every method).
    for (std::size_t i = 0; i < stations.size() && (everyMethod || i < 2); ++i) {
        Measure(net, draw, station, stations[i], hi);
    }
    for (std::size_t k = 0; k < own.size(); ++k) {
        const std::string& detail = own[k];
        if (!ReadFromStation(plan.roles[k])) {
            continue;
        }
        if (plan.roles[k] == Role::Intersected) {
            // Its height comes from the zenith angle once it is placed.
            net.Zenith(station, detail, hi, 1.5);
            continue;
        }
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
    if (everyMethod) {
        AddRoleObservations(net, layout, draw, number, plan, rounds);
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

// Readings taken before the first round of the file: round 0, never oriented.
void AddReadingsBeforeAnyRound(NetworkGenerator& net, const Layout& layout) {
    const StationGrid& grid = layout.grid;
    for (int s = 0; s < std::min(3, grid.count - 1); ++s) {
        net.Direction(StationGrid::Name(s), StationGrid::Name(s + 1), 0.5);
        for (const std::string& detail : layout.details[static_cast<std::size_t>(s)]) {
            net.Direction(StationGrid::Name(s), detail, 0.5);
            break;
        }
    }
}

int RoundsFor(int readings) {
    return (readings + kHeavyReadingsPerRound - 1) / kHeavyReadingsPerRound;
}

// `readings` readings from `station` to `target` in rounds of at most
// kHeavyReadingsPerRound, each round opened on `opening` when it is not empty.
void AddHeavyRounds(NetworkGenerator& net, const std::string& station, const std::string& target,
                    const std::string& opening, int readings) {
    for (int done = 0; done < readings; done += kHeavyReadingsPerRound) {
        std::vector<std::string> targets;
        if (!opening.empty()) {
            targets.push_back(opening);
        }
        const int count = std::min(kHeavyReadingsPerRound, readings - done);
        targets.insert(targets.end(), static_cast<std::size_t>(count), target);
        net.Round(station, targets, 0.25 * done / kHeavyReadingsPerRound);
    }
}

// The two pathological pairs, next to the first station.
void AddHeavyPairs(NetworkGenerator& net, const RandomNetworkOptions& options) {
    const std::string first = StationGrid::Name(0);
    const TruePoint& s = net.Point(first);
    if (options.givenToUnknownReadings > 0) {
        // A given station whose rounds open on the first station (oriented
        // from the load on) and read one unknown point again and again.
        net.AddControl("GHEAVY", s.x - 150.0, s.y - 120.0, Ground(s.x - 150.0, s.y - 120.0));
        net.AddPoint("THEAVY", s.x - 250.0, s.y - 60.0, Ground(s.x - 250.0, s.y - 60.0));
        AddHeavyRounds(net, "GHEAVY", "THEAVY", first, options.givenToUnknownReadings);
        net.Zenith("GHEAVY", "THEAVY", 1.5, 1.5);
        net.HorizontalDistance("GHEAVY", "THEAVY");
    }
    if (options.unknownToGivenReadings > 0) {
        // An unknown station that reads one far given point again and again,
        // with a distance, and is seen by direction from the first station
        // only: no method ever places it.
        net.AddControl("GFAR", s.x - 2000.0, s.y, Ground(s.x - 2000.0, s.y));
        net.AddPoint("UHEAVY", s.x - 80.0, s.y + 150.0, Ground(s.x - 80.0, s.y + 150.0));
        AddHeavyRounds(net, "UHEAVY", "GFAR", "", options.unknownToGivenReadings);
        net.HorizontalDistance("UHEAVY", "GFAR");
        net.Round(first, {"UHEAVY"}, 0.5);
    }
}

}  // namespace

RandomNetwork MakeRandomNetwork(const RandomNetworkOptions& options) {
    const int heavyPoints =
        (options.givenToUnknownReadings > 0 ? 2 : 0) + (options.unknownToGivenReadings > 0 ? 2 : 0);
    if (options.points < 20 || options.points + heavyPoints > kMaxPoints - 1) {
        throw std::invalid_argument("a random network holds 20 to 9999 points");
    }
    RandomNetwork result{NetworkGenerator(options.angleUnit), {}};
    NetworkGenerator& net = result.network;
    Draw draw(options.seed);
    net.SetNoise(options.angleSigma, options.lengthSigma, options.seed);
    const Layout layout = AddPoints(net, options.points, options.everyMethod, draw);
    if (options.oddLines) {
        AddOddLines(net, layout);
    }
    if (options.everyMethod) {
        AddReadingsBeforeAnyRound(net, layout);
    }
    RoundBudget rounds;
    const int heavyRounds = RoundsFor(options.givenToUnknownReadings) +
                            RoundsFor(options.unknownToGivenReadings) +
                            (options.unknownToGivenReadings > 0 ? 1 : 0);
    rounds.limit -= heavyRounds;
    for (int s = 0; s < layout.grid.count; ++s) {
        AddStation(net, layout, draw, s, rounds, options.everyMethod);
    }
    AddHeavyPairs(net, options);
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

std::vector<RandomNetworkOptions> InEveryUnit(const RandomNetworkOptions& base) {
    std::vector<RandomNetworkOptions> variants;
    for (const int unit : {1, 2, 3}) {
        for (const bool odd : {false, true}) {
            RandomNetworkOptions options = base;
            options.angleUnit = unit;
            options.oddLines = odd;
            options.seed = base.seed + static_cast<std::uint32_t>(variants.size());
            variants.push_back(options);
        }
    }
    return variants;
}

std::string Describe(const RandomNetworkOptions& options) {
    std::string text = Format("unit %d, seed %u", options.angleUnit, options.seed);
    if (options.oddLines) {
        text += ", odd lines";
    }
    if (options.everyMethod) {
        text += ", every method";
    }
    if (options.angleSigma != 0.0 || options.lengthSigma != 0.0) {
        text += ", noisy";
    }
    return text;
}

}  // namespace calctopo::testing
