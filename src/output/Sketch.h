// The network sketch: what a plan of the survey shows after a run.
//
// The sketch is a view of the survey state, built afresh after each run: the
// points placed in plan (given, computed, plan only) at their X east / Y north,
// the lines between two placed points with the kinds of observation they carry,
// and apart from them the points that have no plan position yet. How a point
// was placed and what the data check thinks of a point or a line are optional:
// they are filled by their own functions when known, and both the SVG writer
// and the window draw whatever is set.
//
// The module also holds what the SVG writer and the window share so that both
// draw the same sketch: the colours, the round length of a scale bar, the text
// that describes a point, the thinning of labels and the grid that finds points
// near a place.
//
// Everything here is Windows-1252 like every text of the core; lengths are in
// the unit of the coordinates file.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace calctopo {

struct SurveyState;

// What the run made of a point.
enum class SketchStatus {
    Given,       // read from the coordinates file
    Computed,    // plan and height determined
    PlanOnly,    // plan determined, height still missing
    HeightOnly,  // height determined, plan still missing: no place on the sketch
    NotPlaced,   // neither
};

// How a point got its plan or its height, when the state says so.
enum class SketchMethod {
    None,  // not known
    Radiation,
    Intersection,
    Triangulation,
    Resection,
    EccentricStation,
    Trilateration,
    ExtendedStage,  // placed by the extended determination
    LevelFromStation,
    LevelFromTarget,
};

// What the data check says of a point or a line; not suspect when unset.
struct SketchCheck {
    bool suspect = false;
    std::string reason;   // short, e.g. "écart en distance"
    std::string figures;  // the check figures, e.g. "12.4 mm sur 3 visées"
};

struct SketchPoint {
    int index = 0;     // in the point table (1-based)
    std::string name;  // at most 8 characters
    double x = 0.0;    // east
    double y = 0.0;    // north
    double z = 0.0;    // height, when heightKnown
    bool heightKnown = false;
    SketchStatus status = SketchStatus::NotPlaced;
    SketchMethod planMethod = SketchMethod::None;
    SketchMethod heightMethod = SketchMethod::None;
    std::string placedFrom;  // names of the points it was placed from, when known
    SketchCheck check;
};

// Kinds of observation a line carries, as bits.
enum SketchObservation : unsigned {
    ObservedDirection = 1u << 0,         // a reading in a round (codes 5, 7)
    ObservedBearing = 1u << 1,           // a bearing (codes 8, 9)
    ObservedDistance = 1u << 2,          // a distance (codes 1, 2, 3, 9)
    ObservedZenith = 1u << 3,            // a zenith angle (code 6)
    ObservedHeightDifference = 1u << 4,  // a height difference (code 4)
};

// How a line is drawn, from what it carries: an angle fixes a direction, a
// distance a length; zenith angles and height differences alone only level.
enum class SketchLineKind {
    DirectionAndDistance,
    DirectionOnly,
    DistanceOnly,
    LevellingOnly,
};

// The observations between two placed points, in either direction.
struct SketchLine {
    int first = 0;              // position in SketchModel::placed of the lower-indexed point
    int second = 0;             // position of the other point
    unsigned observations = 0;  // SketchObservation bits
    int observationCount = 0;   // observations of every kind, both directions
    SketchCheck check;
};

struct SketchBounds {
    bool empty = true;  // no point placed
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
};

struct SketchModel {
    std::vector<SketchPoint> placed;    // points with a plan position, in table order
    std::vector<SketchPoint> unplaced;  // the others, in table order
    std::vector<SketchLine> lines;      // between two placed points, in order of first observation
    SketchBounds bounds;                // of the placed points
    // Verdicts of the data check on a point or a line that the sketch cannot
    // draw (a line to a point without position), as text, so they are not lost.
    std::vector<std::string> otherVerdicts;
    // Point-table index -> position in placed / in unplaced, or -1.
    std::vector<int> placedPosition;
    std::vector<int> unplacedPosition;
    // Name -> point-table index of the first point of that name.
    std::unordered_map<std::string, int> indexByName;
};

// The sketch of the state as it stands. A point is placed when its plan is
// known and both coordinates are finite.
SketchModel BuildSketch(const SurveyState& state);

// The position in model.placed (model.unplaced) of the point of that table
// index, or -1.
int PlacedPositionOf(const SketchModel& model, int pointIndex);
int UnplacedPositionOf(const SketchModel& model, int pointIndex);
// The table index of the first point named exactly `name` (same length, same
// bytes), or 0.
int PointIndexOf(const SketchModel& model, const std::string& name);

SketchLineKind LineKind(const SketchLine& line);

// How each point was placed, for the points whose placement is recorded.
struct SketchPlacement {
    int point = 0;  // point-table index
    SketchMethod plan = SketchMethod::None;
    SketchMethod height = SketchMethod::None;
    std::string from;  // names of the points it was placed from
};
void ApplyPlacements(SketchModel& model, const std::vector<SketchPlacement>& placements);

// A verdict of the data check: a suspect point (target 0) or a suspect line
// between two points (either order).
struct SketchVerdict {
    int point = 0;   // point-table index; the station of a line
    int target = 0;  // 0 for a point, else the other end of the line
    std::string reason;
    std::string figures;
};
// Marks the points and lines the verdicts name as suspect (several verdicts
// on one point or line are joined by "; "). A verdict on a point without
// position, or on a line that is not drawn, is kept in model.otherVerdicts (a
// point without position also carries it). Returns the number of verdicts
// drawn on the sketch.
int ApplyCheckVerdicts(SketchModel& model, const std::vector<SketchVerdict>& verdicts);

// French words of the sketch.
std::string StatusName(SketchStatus status);  // "point donné", "plan seul", ...
std::string MethodName(SketchMethod method);  // "rayonnement", ...; "" for None
// A token for the method in a style class ("rayonnement", "station-excentree"),
// ASCII; "" for None.
std::string MethodToken(SketchMethod method);

// What the sketch says of a point when asked: name and status, coordinates,
// method, the points it was placed from and the check, one item per line
// (separated by '\n'). Coordinates with 3 decimals.
std::string DescribePoint(const SketchPoint& point);

// The colours of the sketch, shared by the SVG file and the window.
struct SketchColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};
inline constexpr SketchColour kSketchGivenColour{0, 0, 0};       // black triangles
inline constexpr SketchColour kSketchComputedColour{0, 128, 0};  // green dots, as the pane's green
inline constexpr SketchColour kSketchPlanOnlyColour{255, 140, 0};    // orange dots
inline constexpr SketchColour kSketchSuspectColour{255, 0, 0};       // red, as the pane's red
inline constexpr SketchColour kSketchLineColour{96, 96, 96};         // grey lines
inline constexpr SketchColour kSketchLevellingColour{70, 120, 190};  // blue: levelling only

SketchColour StatusColour(SketchStatus status);

// The order in which markers are drawn: given points last, on top, since a
// computed point placed next to one (an eccentric station) must not hide the
// anchor of the network.
inline constexpr SketchStatus kMarkerDrawingOrder[] = {
    SketchStatus::PlanOnly, SketchStatus::Computed, SketchStatus::Given};

// Marker sizes, in pixels of the drawing whatever the zoom: big enough to see
// and to point at, small enough that a cluster of detail points stays apart.
inline constexpr double kMarkerRadius = 3.5;  // dots
// A triangle's circumradius exceeds a dot's radius by this much: a triangle
// fills less of its circle, and it must read as a triangle at a glance.
inline constexpr double kTriangleExtra = 2.5;
inline constexpr double kSuspectRingRadius = 7.0;  // the red ring around a suspect point

// The round length of a scale bar: the longest 1, 2 or 5 × 10^k not above
// `longest` (length units). 0 when `longest` is not a positive finite number.
double RoundScaleLength(double longest);
// A round length as text: no decimals from 1 up, else as many as it needs
// ("0.05"); without the locale.
std::string FormatScaleLength(double length);

// An axis-aligned box; in pixels for labels, in length units elsewhere.
struct SketchBox {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
};

// A uniform grid of boxes, for the questions "which boxes meet this one" and
// "which point is nearest here". Method: each box is entered in every square
// cell it covers, keyed by the cell's column and row in a hash table; a query
// visits the cells its box covers, or every box when that is fewer. Ids are
// given by the caller; visits go in increasing id within a cell.
class SketchGrid {
  public:
    // cell: side of a cell, in the unit of the boxes (positive and finite;
    // anything else is taken as 1).
    explicit SketchGrid(double cell);

    void Insert(int id, const SketchBox& box);
    // Whether any stored box other than `except` meets `box` (edges included).
    bool AnyMeets(const SketchBox& box, int except = -1) const;
    // The id of the stored box whose centre is nearest (x, y) within
    // `radius`, the lower id on a tie; -1 when none.
    int Nearest(double x, double y, double radius) const;

  private:
    std::int64_t CellOf(double value) const;
    static std::int64_t Key(std::int64_t column, std::int64_t row);
    template <class Visit>
    void VisitCandidates(const SketchBox& box, Visit&& visit) const;

    double cell_;
    std::vector<int> ids_;
    std::vector<SketchBox> boxes_;
    std::unordered_map<std::int64_t, std::vector<int>> cells_;  // cell -> positions in boxes_
    std::vector<int> large_;  // boxes covering too many cells to enter in each
};

// The size of a label in pixels: a label of n characters is n × charWidth
// wide and height high, gap away from its point's centre.
struct LabelMetrics {
    double charWidth = 6.6;
    double height = 12.0;
    double gap = 5.0;
};

// Where a label sits, in the order the thinning tries the places.
enum class LabelSide { Right, Left, Above, Below };

// A label kept by the thinning.
struct LabelPlacement {
    int position = 0;  // in model.placed
    LabelSide side = LabelSide::Right;
    SketchBox box;  // in pixels of the drawing: x = (X − minX) × scale, y = (maxY − Y) × scale
};

// The labels that stay readable at `pixelsPerUnit` pixels per length unit.
// Method: greedy, given points first, then suspect points, then the others,
// each group by number of lines drawn to the point (most first), then in table
// order; a label goes to the right of its point, else to its left, above it
// or below it (centred), in the first place where its box meets no label
// already kept and no other point's marker. The labels of given and suspect
// points, which the reader looks for first, may cover a marker. The same
// model and scale always give the same labels.
std::vector<LabelPlacement> ThinLabels(const SketchModel& model, double pixelsPerUnit,
                                       const LabelMetrics& metrics = {});

// Finds a point named in a line of text such as a message-pane line: the word
// (run of non-blank bytes) at `column` (0-based, in bytes) when it names a
// point, else the first word of the line that does. Returns the point's table
// index, or 0.
int PointIndexInText(const SketchModel& model, const std::string& line, int column);

}  // namespace calctopo
