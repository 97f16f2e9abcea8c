// What the tables say about the points after a load or a run: how many are
// known, computed and left, and for each point left what it lacks and what it
// has, so that the surveyor knows what to measure or to fix. Facts only, as
// plain values; the window shows them in its own words.
#pragma once

#include <string>
#include <vector>

#include "data/InputSources.h"

namespace calctopo {

struct SurveyState;

// The counts the window's status bar shows.
struct PointCounts {
    int total = 0;        // points in the table, of both files
    int given = 0;        // read from the coordinates file
    int computed = 0;     // completed (plan and height) by the runs so far
    int notComputed = 0;  // lacking their plan or their height
};

// PointCounts of the tables as they stand.
PointCounts CountPoints(const SurveyState& state);

// What ties a point left to one other point.
struct PointLink {
    int point = 0;  // index of the other point in the point table
    std::string name;
    int status = 0;  // PointStatus of the other point
    bool planKnown = false;
    bool heightKnown = false;
    // Observations of each kind along one direction of the line, as read from
    // the observations file (a code-9 line counts once as a distance and once
    // as a bearing, as it is stored).
    ObservationCounts fromPoint;    // observed at the point left, to the other point
    ObservationCounts towardPoint;  // observed at the other point, to the point left
};

// A point that the runs left without its plan or its height.
struct PointLeft {
    int point = 0;  // index in the point table
    std::string name;
    bool lacksPlan = false;
    bool lacksHeight = false;
    std::vector<PointLink> links;  // by increasing index of the other point
};

// The points lacking their plan or their height, in point-table order (the
// order of the "non calculé" lines), each with its links. Given points are
// never left. One walk over each observation table.
std::vector<PointLeft> ListPointsLeft(const SurveyState& state);

}  // namespace calctopo
