// The extended determination: an optional second stage, after a run of the
// ordinary determination, for the points it left without a plan position or
// a height.
//
// The ordinary run needs, at every step, a round already oriented on a placed
// point or a placed station; a triangulation chain measured as angles between
// two distant control points, a traverse whose end rounds see no control point
// or a block of stations that reaches the control only at its far end never
// gives it that. The stage computes each connected block of unplaced points in
// a frame of its own, with the ordinary methods, and brings it into the frame
// of the coordinates through the points known in both:
//
// 1. A block is a connected set of points without plan position, joined by
//    sights; its ring is the placed points sighted from or towards it. A local
//    survey holds the block, its ring and the observations among them, the
//    ring's points unknown in plan (their heights stay: with them slope
//    distances reduce as they do outside). One station of the block is put at
//    (0, 0) with its first round oriented at 0, and the ordinary methods run
//    in that frame until nothing more is placed. When no distance carries the
//    frame beyond that station, the frame is built again from angles alone:
//    without distances, zenith angles and bearings, a second point at an
//    arbitrary distance along a reading of the round.
// 2. The ring points placed in the local frame are the common points. A plane
//    similarity fitted on them (rotation and translation, plus the scale when
//    angles alone built the frame) brings the block in; with one common point
//    and distances, a round oriented in both frames (or a bearing observation)
//    gives the rotation. The block is refused when the common points or the
//    orientations do not agree within the tolerances below.
// 3. The ordinary methods are then tried on every incomplete point, in table
//    order, until a sweep finds nothing more: they level what the blocks
//    placed in plan, and place what hangs from it.
// 4. This repeats while anything new is placed; the points still incomplete
//    are then listed as not computed.
//
// Everything the stage does is told in the message pane after the run's own
// lines, and kept in the state (ExtendedBlocks, ExtendedPoints). A completed
// point writes its residual lines to the listing like any other.
#pragma once

namespace calctopo {

struct SurveyState;
class WindowServices;
class RunObserver;

struct ExtendedTolerances {
    // Misfit allowed at a common point, in length units: this much plus
    // MisfitPerLength times the size of the block. Five centimetres is what
    // approximate coordinates must hold for an adjustment to start well, and
    // what survey angles and distances give over a few hundred metres.
    static constexpr double MisfitBase = 0.05;
    // 200 ppm (1 in 5000) of the block's size: angles of a few seconds
    // carried along a chain, or distances not reduced to the projection,
    // drift by that much; a blunder of a grade or a metre shows far beyond it.
    static constexpr double MisfitPerLength = 2.0e-4;
    // A block whose distances fix its scale is still fitted with a free scale
    // to check it: neither a projection's scale factor nor an instrument's
    // scale error reaches 1 in 1000; beyond that, distances and coordinates
    // are in different units or a distance is wrong.
    static constexpr double MaxScaleDeviation = 1.0e-3;
    // Largest disagreement, in radians, between the block's rotation and one
    // given by a round oriented in both frames or by a bearing observation:
    // 0.002 rad (0.13 grade) is many times what the orientation of a round
    // from one placed point costs, and well under a grade's blunder.
    static constexpr double MaxOrientationMisfit = 2.0e-3;
    // Common points closer together than this (length units) cannot turn a
    // block: a centimetre's error at either end of a metre turns it by 1/100 rad.
    static constexpr double MinCommonBase = 1.0;
    // Distance, in length units, at which a frame built from angles alone
    // places its second point: of the order of real sights, so that the
    // methods' absolute tolerances (tenth of a millimetre for a zero distance
    // or an east-west line) mean in the local frame what they mean outside it.
    static constexpr double AngleOnlyBase = 1000.0;
};

// Runs the stage on the tables as the ordinary run left them. Writes only
// new lines to the pane (its own through `ui`, the ordinary methods' through
// `observer`, the run's observers) and the listing; changes only points that
// lacked their plan position or their height.
void RunExtendedDetermination(SurveyState& state, WindowServices& ui, RunObserver& observer);

}  // namespace calctopo
