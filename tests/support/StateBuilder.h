// Survey states built by hand, for the tests below the file readers: points
// as the coordinates reader appends them, observations as the observations
// reader leaves them (angles already in radians), then the sights and their
// per-point index as the load builds them.
#pragma once

#include <string>
#include <vector>

#include "data/GLOBAL.h"

namespace calctopo::testing {

// A point as a line of the coordinates file gives it: placed in plan and
// height, status given, with the two fields carried to the ".new" file.
SurveyPoint GivenPoint(const std::string& name, double x, double y, double z, double sixth = 0.0,
                       double seventh = 0.0);
// A point a run has placed: as GivenPoint, status determined.
SurveyPoint DeterminedPoint(const std::string& name, double x, double y, double z);
// A point known by its name only, as an observation first names it.
SurveyPoint UnknownPoint(const std::string& name);

struct StateBuilder {
    SurveyState state;

    // The point of that name, added as unknown when there is none.
    int Point(const std::string& name);
    // A given point appended (a second one of a name already there, too).
    int KnownPoint(const std::string& name, double x, double y, double z, bool heightKnown = true);
    // A new round, not yet oriented.
    int Round();

    void Direction(int station, int target, double reading, int round);
    void Distance(int station, int target, double value, bool horizontal, double hi = 0.0,
                  double ht = 0.0);
    void Zenith(int station, int target, double value, double hi = 0.0, double ht = 0.0);
    void HeightDifference(int station, int target, double value);
    void Bearing(int station, int target, double value);

    // The sights and the per-point index, as the load builds them.
    void Build();

    Sight& SightAt(int number) { return state.SightTable[number]; }
    // The first sight of the line station -> target (added when there is none).
    Sight& SightOf(int station, int target);
    // The sight numbers of the point's incoming and outgoing runs, read from
    // the index directly; an absent run is empty.
    std::vector<int> Incoming(int point) const;
    std::vector<int> Outgoing(int point) const;
};

}  // namespace calctopo::testing
