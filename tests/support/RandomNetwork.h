// Large survey networks drawn at random from a seed, for the differential
// tests, the benchmark and the comparison of builds: the same seed gives the
// same files on every platform.
//
// One point in ten is a station, on a jittered grid about 300 m apart; the
// others are detail points scattered around the stations. Control points are
// stations in adjacent pairs, so a round at a control point is oriented on its
// neighbour from the start. Every station has one round (the round table holds
// 1000): directions to the neighbouring stations to the east, the north and
// the north-east (sometimes back to the west) and to its own detail points,
// with slope or horizontal distances and zenith angles; now and then a detail
// point is also read from the next station, a second round repeats a few
// readings, or a height difference or a bearing is measured.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/NetworkGenerator.h"

namespace calctopo::testing {

struct RandomNetworkOptions {
    int points = 1000;         // number of points, at most 10 000
    int angleUnit = 1;         // 1 grades, 2 sexagesimal D.MMSS, 3 decimal degrees
    std::uint32_t seed = 1;    // the same seed gives the same network
    double angleSigma = 0.0;   // noise on angles (radians), 0 for exact data
    double lengthSigma = 0.0;  // noise on lengths (metres), 0 for exact data
    // Lines a hand-edited file holds: comments and blank lines, readings before
    // the first round or outside their station's round, a sight from a point to
    // itself, a name given twice in the coordinates file, a name too long,
    // incomplete lines, unknown codes, a bad number, a code 9, an include.
    bool oddLines = false;
    // Every method and every shape a field book takes, for the differential
    // tests and the benchmark (off: the network above, unchanged). One point
    // in fifteen is a station; detail points are also intersected from two
    // stations, trilaterated from distances alone (controlled by a distance or
    // a bearing), traverse points with a round of their own that carries on to
    // a forward point, free stations placed by triangulation, eccentric
    // station or resection and levelled from their target, stations with a
    // bearing back to their station; stations read themselves, repeat rounds
    // more often, a few readings come before the first round, and some control
    // names are given twice in the coordinates file.
    bool everyMethod = false;
    // Two pathological pairs, each this many direction readings (0: none):
    // from a given station to an unknown target (placed by radiation), and
    // from an unknown station to a given target (never placed). Each adds two
    // points and one round per 1000 readings.
    int givenToUnknownReadings = 0;
    int unknownToGivenReadings = 0;
};

struct RandomNetwork {
    NetworkGenerator network;
    // Start points worth trying, in this order: a control station in the
    // south-west corner, a control station near the middle, a detail point.
    std::vector<std::string> startPoints;
};

RandomNetwork MakeRandomNetwork(const RandomNetworkOptions& options);

// The variants the differential tests go through: `base` in each of the
// three angle units, without and with the odd lines, each with a seed of its
// own (base.seed, base.seed + 1, ...).
std::vector<RandomNetworkOptions> InEveryUnit(const RandomNetworkOptions& base);
// "unit 2, odd lines, every method, noisy": what a failure message names.
std::string Describe(const RandomNetworkOptions& options);

}  // namespace calctopo::testing
