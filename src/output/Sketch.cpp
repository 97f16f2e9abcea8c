#include "output/Sketch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"

namespace calctopo {

namespace {

// Decimals of the coordinates a point's description shows: the millimetre of
// a network in metres, as the ".new" file gives it by default.
constexpr int kDescriptionDecimals = 3;

// Cells beyond this many columns or rows from the origin are merged into the
// last one: the key packs a column and a row into 32 bits each. Only the speed
// of a query on such far boxes suffers, never its answer.
constexpr std::int64_t kMaxCellIndex = std::int64_t{1} << 30;
// A box covering more cells than this is kept apart and looked at by every
// query, rather than entered in each cell.
constexpr std::int64_t kMaxCellsPerBox = 64;

// Decimals a scale length below 1 may be written with: far below any length a
// sketch can show.
constexpr int kMaxScaleDecimals = 12;

// Label groups, in the order the thinning serves them.
constexpr int kGroupGiven = 0;
constexpr int kGroupSuspect = 1;
constexpr int kGroupOther = 2;

bool IsPlaced(const SurveyPoint& point) {
    return point.planimetricKnown && std::isfinite(point.x) && std::isfinite(point.y);
}

SketchStatus StatusOf(const SurveyPoint& point) {
    if (point.status == StatusGiven) {
        return SketchStatus::Given;
    }
    if (point.planimetricKnown && point.heightKnown) {
        return SketchStatus::Computed;
    }
    if (point.planimetricKnown) {
        return SketchStatus::PlanOnly;
    }
    if (point.heightKnown) {
        return SketchStatus::HeightOnly;
    }
    return SketchStatus::NotPlaced;
}

// The key of an unordered pair of point indices.
std::uint64_t PairKey(int a, int b) {
    const auto low = static_cast<std::uint32_t>(std::min(a, b));
    const auto high = static_cast<std::uint32_t>(std::max(a, b));
    return (std::uint64_t{low} << 32) | high;
}

// Adds `more` to `text`, after "; " when text already holds something.
void Join(std::string& text, const std::string& more) {
    if (more.empty()) {
        return;
    }
    if (!text.empty()) {
        text += "; ";
    }
    text += more;
}

void MarkSuspect(SketchCheck& check, const SketchVerdict& verdict) {
    check.suspect = true;
    Join(check.reason, verdict.reason);
    Join(check.figures, verdict.figures);
}

}  // namespace

SketchModel BuildSketch(const SurveyState& state) {
    SketchModel model;
    const int count = state.PointCount();
    model.placedPosition.assign(static_cast<std::size_t>(count) + 1, -1);
    model.unplacedPosition.assign(static_cast<std::size_t>(count) + 1, -1);

    for (int i = 1; i <= count; ++i) {
        const SurveyPoint& source = state.PointTable[i];
        SketchPoint point;
        point.index = i;
        point.name = source.name;
        point.x = source.x;
        point.y = source.y;
        point.z = source.z;
        point.heightKnown = source.heightKnown && std::isfinite(source.z);
        point.status = StatusOf(source);
        model.indexByName.emplace(source.name, i);  // keeps the first of a name
        if (IsPlaced(source)) {
            SketchBounds& bounds = model.bounds;
            if (bounds.empty) {
                bounds = {false, point.x, point.y, point.x, point.y};
            } else {
                bounds.minX = std::min(bounds.minX, point.x);
                bounds.minY = std::min(bounds.minY, point.y);
                bounds.maxX = std::max(bounds.maxX, point.x);
                bounds.maxY = std::max(bounds.maxY, point.y);
            }
            model.placedPosition[static_cast<std::size_t>(i)] =
                static_cast<int>(model.placed.size());
            model.placed.push_back(std::move(point));
        } else {
            model.unplacedPosition[static_cast<std::size_t>(i)] =
                static_cast<int>(model.unplaced.size());
            model.unplaced.push_back(std::move(point));
        }
    }

    // Every observation between two placed points, whatever sight it joined:
    // the sketch shows what was measured, not how the load grouped it.
    std::unordered_map<std::uint64_t, int> lineOf;
    const auto observe = [&](std::int32_t station, std::int32_t target, unsigned kind) {
        const int first = PlacedPositionOf(model, std::min(station, target));
        const int second = PlacedPositionOf(model, std::max(station, target));
        if (station == target || first < 0 || second < 0) {
            return;
        }
        const auto [entry, added] =
            lineOf.try_emplace(PairKey(station, target), static_cast<int>(model.lines.size()));
        if (added) {
            SketchLine line;
            line.first = first;
            line.second = second;
            model.lines.push_back(line);
        }
        SketchLine& line = model.lines[static_cast<std::size_t>(entry->second)];
        line.observations |= kind;
        ++line.observationCount;
    };
    for (const DirectionObservation& o : state.DirectionTable) {
        observe(o.station, o.target, ObservedDirection);
    }
    for (const DistanceObservation& o : state.DistanceTable) {
        observe(o.station, o.target, ObservedDistance);
    }
    for (const ZenithObservation& o : state.ZenithTable) {
        observe(o.station, o.target, ObservedZenith);
    }
    for (const HeightDifferenceObservation& o : state.HeightDifferenceTable) {
        observe(o.station, o.target, ObservedHeightDifference);
    }
    for (const BearingObservation& o : state.BearingTable) {
        observe(o.station, o.target, ObservedBearing);
    }
    return model;
}

int PlacedPositionOf(const SketchModel& model, int pointIndex) {
    if (pointIndex < 1 || pointIndex >= static_cast<int>(model.placedPosition.size())) {
        return -1;
    }
    return model.placedPosition[static_cast<std::size_t>(pointIndex)];
}

int UnplacedPositionOf(const SketchModel& model, int pointIndex) {
    if (pointIndex < 1 || pointIndex >= static_cast<int>(model.unplacedPosition.size())) {
        return -1;
    }
    return model.unplacedPosition[static_cast<std::size_t>(pointIndex)];
}

int PointIndexOf(const SketchModel& model, const std::string& name) {
    const auto found = model.indexByName.find(name);
    return found == model.indexByName.end() ? 0 : found->second;
}

SketchLineKind LineKind(const SketchLine& line) {
    const bool angle = (line.observations & (ObservedDirection | ObservedBearing)) != 0;
    const bool length = (line.observations & ObservedDistance) != 0;
    if (angle && length) {
        return SketchLineKind::DirectionAndDistance;
    }
    if (angle) {
        return SketchLineKind::DirectionOnly;
    }
    if (length) {
        return SketchLineKind::DistanceOnly;
    }
    return SketchLineKind::LevellingOnly;
}

void ApplyPlacements(SketchModel& model, const std::vector<SketchPlacement>& placements) {
    for (const SketchPlacement& placement : placements) {
        SketchPoint* point = nullptr;
        if (const int placed = PlacedPositionOf(model, placement.point); placed >= 0) {
            point = &model.placed[static_cast<std::size_t>(placed)];
        } else if (const int other = UnplacedPositionOf(model, placement.point); other >= 0) {
            point = &model.unplaced[static_cast<std::size_t>(other)];
        }
        if (point == nullptr) {
            continue;
        }
        if (placement.plan != SketchMethod::None) {
            point->planMethod = placement.plan;
        }
        if (placement.height != SketchMethod::None) {
            point->heightMethod = placement.height;
        }
        if (!placement.from.empty()) {
            point->placedFrom = placement.from;
        }
    }
}

int ApplyCheckVerdicts(SketchModel& model, const std::vector<SketchVerdict>& verdicts) {
    std::unordered_map<std::uint64_t, int> lineOf;
    for (std::size_t i = 0; i < model.lines.size(); ++i) {
        const SketchLine& line = model.lines[i];
        lineOf.emplace(PairKey(model.placed[static_cast<std::size_t>(line.first)].index,
                               model.placed[static_cast<std::size_t>(line.second)].index),
                       static_cast<int>(i));
    }
    const auto pointAt = [&](int index) -> SketchPoint* {
        if (const int placed = PlacedPositionOf(model, index); placed >= 0) {
            return &model.placed[static_cast<std::size_t>(placed)];
        }
        if (const int other = UnplacedPositionOf(model, index); other >= 0) {
            return &model.unplaced[static_cast<std::size_t>(other)];
        }
        return nullptr;
    };
    const auto nameOf = [&](int index) {
        const SketchPoint* point = pointAt(index);
        return point != nullptr ? point->name : std::string("?");
    };
    const auto keep = [&](const std::string& subject, const SketchVerdict& verdict) {
        std::string text = subject + " : " + verdict.reason;
        if (!verdict.figures.empty()) {
            text += " (" + verdict.figures + ")";
        }
        model.otherVerdicts.push_back(text);
    };

    int drawn = 0;
    for (const SketchVerdict& verdict : verdicts) {
        if (verdict.target == 0) {
            SketchPoint* point = pointAt(verdict.point);
            if (point != nullptr) {
                MarkSuspect(point->check, verdict);
            }
            if (PlacedPositionOf(model, verdict.point) >= 0) {
                ++drawn;
            } else {
                keep(nameOf(verdict.point), verdict);
            }
            continue;
        }
        const auto line = lineOf.find(PairKey(verdict.point, verdict.target));
        if (line != lineOf.end() && verdict.point != verdict.target) {
            MarkSuspect(model.lines[static_cast<std::size_t>(line->second)].check, verdict);
            ++drawn;
        } else {
            keep(nameOf(verdict.point) + " - " + nameOf(verdict.target), verdict);
        }
    }
    return drawn;
}

std::string StatusName(SketchStatus status) {
    switch (status) {
        case SketchStatus::Given:
            return TextOf(texts::kSketchGiven);
        case SketchStatus::Computed:
            return TextOf(texts::kSketchComputed);
        case SketchStatus::PlanOnly:
            return TextOf(texts::kSketchPlanOnly);
        case SketchStatus::HeightOnly:
            return TextOf(texts::kSketchHeightOnly);
        case SketchStatus::NotPlaced:
        default:
            return TextOf(texts::kSketchNotPlaced);
    }
}

namespace {

// The French name of each method and its token for a style class.
struct MethodWords {
    SketchMethod method;
    const char* name;  // UTF-8
    const char* token;
};
constexpr MethodWords kMethodWords[] = {
    {SketchMethod::Radiation, "rayonnement", "rayonnement"},
    {SketchMethod::Intersection, "intersection", "intersection"},
    {SketchMethod::Triangulation, "triangulation", "triangulation"},
    {SketchMethod::Resection, "relèvement", "relevement"},
    {SketchMethod::EccentricStation, "station excentrée", "station-excentree"},
    {SketchMethod::Trilateration, "trilatération", "trilateration"},
    {SketchMethod::ExtendedStage, "détermination étendue", "etendue"},
    {SketchMethod::LevelFromStation, "nivellement depuis la station", "nivellement-station"},
    {SketchMethod::LevelFromTarget, "nivellement depuis le point visé", "nivellement-vise"},
};

const MethodWords* WordsOf(SketchMethod method) {
    for (const MethodWords& words : kMethodWords) {
        if (words.method == method) {
            return &words;
        }
    }
    return nullptr;
}

}  // namespace

std::string MethodName(SketchMethod method) {
    const MethodWords* words = WordsOf(method);
    return words == nullptr ? std::string() : Utf8ToCp1252(words->name);
}

std::string MethodToken(SketchMethod method) {
    const MethodWords* words = WordsOf(method);
    return words == nullptr ? std::string() : std::string(words->token);
}

std::string DescribePoint(const SketchPoint& point) {
    std::string text = point.name + " : " + StatusName(point.status);
    const bool placed = point.status == SketchStatus::Given ||
                        point.status == SketchStatus::Computed ||
                        point.status == SketchStatus::PlanOnly;
    if (placed && std::isfinite(point.x) && std::isfinite(point.y)) {
        text += "\nX " + FormatFixed(point.x, kDescriptionDecimals) + "   Y " +
                FormatFixed(point.y, kDescriptionDecimals);
        if (point.heightKnown) {
            text += "   Z " + FormatFixed(point.z, kDescriptionDecimals);
        }
    } else if (point.heightKnown) {
        text += "\nZ " + FormatFixed(point.z, kDescriptionDecimals);
    }
    if (point.planMethod != SketchMethod::None) {
        text += "\nplan : " + MethodName(point.planMethod);
        if (!point.placedFrom.empty()) {
            text += " depuis " + point.placedFrom;
        }
    }
    if (point.heightMethod != SketchMethod::None) {
        text += "\naltitude : " + MethodName(point.heightMethod);
    }
    if (point.check.suspect) {
        text += "\nsuspect";
        if (!point.check.reason.empty()) {
            text += " : " + point.check.reason;
        }
        if (!point.check.figures.empty()) {
            text += " (" + point.check.figures + ")";
        }
    }
    return text;
}

SketchColour StatusColour(SketchStatus status) {
    switch (status) {
        case SketchStatus::Given:
            return kSketchGivenColour;
        case SketchStatus::Computed:
            return kSketchComputedColour;
        case SketchStatus::PlanOnly:
            return kSketchPlanOnlyColour;
        case SketchStatus::HeightOnly:
        case SketchStatus::NotPlaced:
        default:
            return kSketchLineColour;
    }
}

double RoundScaleLength(double longest) {
    if (!std::isfinite(longest) || !(longest > 0.0)) {
        return 0.0;
    }
    const long double decade =
        std::pow(10.0L, std::floor(std::log10(static_cast<long double>(longest))));
    for (const long double step : {5.0L, 2.0L, 1.0L}) {
        const long double length = step * decade;
        // log10 may land a hair under a power of ten: allow for the last bits.
        if (length <= static_cast<long double>(longest) * (1.0L + 1e-12L)) {
            return static_cast<double>(length);
        }
    }
    return static_cast<double>(decade / 2.0L);
}

std::string FormatScaleLength(double length) {
    if (!std::isfinite(length) || length <= 0.0) {
        return "0";
    }
    if (length >= 1.0) {
        return FormatFixed(length, 0);
    }
    const int decimals =
        std::min(kMaxScaleDecimals, static_cast<int>(std::ceil(-std::log10(length) - 1e-9)));
    return FormatFixed(length, std::max(decimals, 1));
}

// ---- Grid ----

SketchGrid::SketchGrid(double cell) : cell_(std::isfinite(cell) && cell > 0.0 ? cell : 1.0) {}

std::int64_t SketchGrid::CellOf(double value) const {
    const long double column = std::floor(static_cast<long double>(value) / cell_);
    if (!(column > -static_cast<long double>(kMaxCellIndex))) {
        return -kMaxCellIndex;  // also NaN: such a box is only ever met by a full scan
    }
    if (column > static_cast<long double>(kMaxCellIndex)) {
        return kMaxCellIndex;
    }
    return static_cast<std::int64_t>(column);
}

std::int64_t SketchGrid::Key(std::int64_t column, std::int64_t row) {
    const auto c = static_cast<std::uint64_t>(column + kMaxCellIndex);
    const auto r = static_cast<std::uint64_t>(row + kMaxCellIndex);
    return static_cast<std::int64_t>((c << 32) | r);
}

void SketchGrid::Insert(int id, const SketchBox& box) {
    const int position = static_cast<int>(boxes_.size());
    ids_.push_back(id);
    boxes_.push_back(box);
    const std::int64_t c0 = CellOf(box.minX);
    const std::int64_t c1 = CellOf(box.maxX);
    const std::int64_t r0 = CellOf(box.minY);
    const std::int64_t r1 = CellOf(box.maxY);
    if ((c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerBox || c1 < c0 || r1 < r0) {
        large_.push_back(position);
        return;
    }
    for (std::int64_t c = c0; c <= c1; ++c) {
        for (std::int64_t r = r0; r <= r1; ++r) {
            cells_[Key(c, r)].push_back(position);
        }
    }
}

template <class Visit>
void SketchGrid::VisitCandidates(const SketchBox& box, Visit&& visit) const {
    const std::int64_t c0 = CellOf(box.minX);
    const std::int64_t c1 = CellOf(box.maxX);
    const std::int64_t r0 = CellOf(box.minY);
    const std::int64_t r1 = CellOf(box.maxY);
    const long double cells =
        static_cast<long double>(c1 - c0 + 1) * static_cast<long double>(r1 - r0 + 1);
    if (c1 < c0 || r1 < r0 || cells > static_cast<long double>(boxes_.size())) {
        for (std::size_t position = 0; position < boxes_.size(); ++position) {
            if (!visit(static_cast<int>(position))) {
                return;
            }
        }
        return;
    }
    for (const int position : large_) {
        if (!visit(position)) {
            return;
        }
    }
    for (std::int64_t c = c0; c <= c1; ++c) {
        for (std::int64_t r = r0; r <= r1; ++r) {
            const auto found = cells_.find(Key(c, r));
            if (found == cells_.end()) {
                continue;
            }
            for (const int position : found->second) {
                if (!visit(position)) {
                    return;
                }
            }
        }
    }
}

bool SketchGrid::AnyMeets(const SketchBox& box, int except) const {
    bool met = false;
    VisitCandidates(box, [&](int position) {
        const SketchBox& other = boxes_[static_cast<std::size_t>(position)];
        if (ids_[static_cast<std::size_t>(position)] != except && other.minX <= box.maxX &&
            box.minX <= other.maxX && other.minY <= box.maxY && box.minY <= other.maxY) {
            met = true;
            return false;
        }
        return true;
    });
    return met;
}

int SketchGrid::Nearest(double x, double y, double radius) const {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(radius) || radius < 0.0) {
        return -1;
    }
    int best = -1;
    long double bestSquare = std::numeric_limits<long double>::infinity();
    const long double limit = static_cast<long double>(radius) * radius;
    VisitCandidates({x - radius, y - radius, x + radius, y + radius}, [&](int position) {
        const SketchBox& box = boxes_[static_cast<std::size_t>(position)];
        const long double dx = (static_cast<long double>(box.minX) + box.maxX) / 2.0L - x;
        const long double dy = (static_cast<long double>(box.minY) + box.maxY) / 2.0L - y;
        const long double square = dx * dx + dy * dy;
        const int id = ids_[static_cast<std::size_t>(position)];
        if (square <= limit && (square < bestSquare || (square == bestSquare && id < best))) {
            best = id;
            bestSquare = square;
        }
        return true;
    });
    return best;
}

// ---- Labels ----

std::vector<LabelPlacement> ThinLabels(const SketchModel& model, double pixelsPerUnit,
                                       const LabelMetrics& metrics) {
    std::vector<LabelPlacement> kept;
    if (model.bounds.empty || !std::isfinite(pixelsPerUnit) || pixelsPerUnit <= 0.0 ||
        !(metrics.height > 0.0) || !(metrics.charWidth > 0.0)) {
        return kept;
    }
    const std::size_t count = model.placed.size();
    std::vector<double> px(count);
    std::vector<double> py(count);
    // Cells the height of a label: a label covers a row or two of a few cells.
    SketchGrid markers(metrics.height);
    for (std::size_t i = 0; i < count; ++i) {
        const SketchPoint& point = model.placed[i];
        px[i] = static_cast<double>((static_cast<long double>(point.x) - model.bounds.minX) *
                                    pixelsPerUnit);
        py[i] = static_cast<double>((static_cast<long double>(model.bounds.maxY) - point.y) *
                                    pixelsPerUnit);
        markers.Insert(static_cast<int>(i), {px[i] - kMarkerRadius, py[i] - kMarkerRadius,
                                             px[i] + kMarkerRadius, py[i] + kMarkerRadius});
    }

    std::vector<int> order(count);
    std::vector<int> group(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = static_cast<int>(i);
        const SketchPoint& point = model.placed[i];
        group[i] = point.status == SketchStatus::Given ? kGroupGiven
                   : point.check.suspect               ? kGroupSuspect
                                                       : kGroupOther;
    }
    // Within a group, the nodes of the network first: a station with many
    // lines orients the reader more than a detail point seen once.
    std::vector<int> degree(count, 0);
    for (const SketchLine& line : model.lines) {
        ++degree[static_cast<std::size_t>(line.first)];
        ++degree[static_cast<std::size_t>(line.second)];
    }
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto i = static_cast<std::size_t>(a);
        const auto j = static_cast<std::size_t>(b);
        if (group[i] != group[j]) {
            return group[i] < group[j];
        }
        return degree[i] > degree[j];
    });

    SketchGrid labels(metrics.height);
    for (const int position : order) {
        const auto i = static_cast<std::size_t>(position);
        const double width = metrics.charWidth * static_cast<double>(model.placed[i].name.size());
        const double top = py[i] - metrics.height / 2.0;
        const double bottom = py[i] + metrics.height / 2.0;
        const double half = width / 2.0;
        const double above = py[i] - metrics.gap - kMarkerRadius;
        const double below = py[i] + metrics.gap + kMarkerRadius;
        const std::pair<LabelSide, SketchBox> places[] = {
            {LabelSide::Right, {px[i] + metrics.gap, top, px[i] + metrics.gap + width, bottom}},
            {LabelSide::Left, {px[i] - metrics.gap - width, top, px[i] - metrics.gap, bottom}},
            {LabelSide::Above, {px[i] - half, above - metrics.height, px[i] + half, above}},
            {LabelSide::Below, {px[i] - half, below, px[i] + half, below + metrics.height}},
        };
        const bool mayCoverMarkers = group[i] != kGroupOther;
        for (const auto& [side, box] : places) {
            if (!labels.AnyMeets(box) && (mayCoverMarkers || !markers.AnyMeets(box, position))) {
                labels.Insert(position, box);
                kept.push_back({position, side, box});
                break;
            }
        }
    }
    return kept;
}

// ---- Names in text ----

int PointIndexInText(const SketchModel& model, const std::string& line, int column) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    int first = 0;
    std::size_t start = 0;
    while (start < line.size()) {
        while (start < line.size() && isBlank(line[start])) {
            ++start;
        }
        std::size_t end = start;
        while (end < line.size() && !isBlank(line[end])) {
            ++end;
        }
        if (end > start) {
            const int index = PointIndexOf(model, line.substr(start, end - start));
            const bool atColumn = column >= 0 && static_cast<std::size_t>(column) >= start &&
                                  static_cast<std::size_t>(column) < end;
            if (index != 0 && atColumn) {
                return index;
            }
            if (index != 0 && first == 0) {
                first = index;
            }
        }
        start = end;
    }
    return first;
}

}  // namespace calctopo
