// Resection and trilateration: a station placed from its direction readings
// (radians) towards three placed targets, and a point placed from two
// horizontal distances (length units) with a third observation choosing
// between the two intersections of the distance circles.
#pragma once

namespace calctopo {

struct SurveyState;

// Resection: triples (i, j, j + 1) of the outgoing sights that carry a reading
// towards a placed target, all three of one round and towards three distinct
// points, first accepted by the resection check. ByResection or 0.
int TryResection(SurveyState& state, int point);

// Trilateration: the first two distances from distinct placed points, with a
// control by a third distance (within 5 length units) or by a bearing from a
// point already given or determined (within 0.5 grade, modulo a full turn)
// choosing the mirror solution. ByTrilateration or 0.
int TryTrilateration(SurveyState& state, int point);

}  // namespace calctopo
