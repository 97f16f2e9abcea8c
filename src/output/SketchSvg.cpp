#include "output/SketchSvg.h"

#include <algorithm>
#include <cmath>

#include "data/TextFile.h"
#include "data/TextNumbers.h"

namespace calctopo {

namespace {

// Page layout, in SVG pixels.
constexpr double kMargin = 30.0;
constexpr double kTitleHeight = 50.0;
// Room around the placed points inside the frame: horizontally a whole label
// of 8 characters, so the outermost points keep theirs; vertically a label's
// height and a marker.
constexpr double kPadX = 70.0;
constexpr double kPadY = 24.0;
// The legend, the scale bar and the north arrow need this much width.
constexpr double kMinPanelWidth = 760.0;
constexpr double kLegendHeight = 130.0;
constexpr double kLegendRow = 18.0;

// The drawing's longest side grows as the square root of the number of
// points, so a large network keeps about the same room per point as a small
// one, between a page a screen shows whole and one a viewer still opens.
constexpr double kPixelsPerRootPoint = 40.0;
constexpr double kMinDrawingSide = 600.0;
constexpr double kMaxDrawingSide = 4000.0;
// The extent a network of coincident points is drawn at (length units), so
// that the scale stays finite.
constexpr double kMinExtent = 1.0;

// The scale bar is at most this long (pixels).
constexpr double kScaleBarMaxPixels = 200.0;

// Text sizes (pixels) and the label size the thinning reckons with: a
// character of an 11-pixel sans-serif name, capitals and digits, is about 7
// pixels wide.
constexpr double kTitleFont = 18.0;
constexpr double kTextFont = 12.0;
constexpr double kLabelFont = 11.0;
constexpr LabelMetrics kLabelMetrics{7.0, 12.0, 5.0};
// The text baseline sits this far below the centre of a label's box.
constexpr double kLabelBaseline = 4.0;

// The points without position are listed in columns of this width, and no
// more than this many: the listing (.vek) has them all.
constexpr double kListColumn = 90.0;
constexpr int kMaxListedNames = 2000;

// The fonts, with fallbacks a viewer without DejaVu has.
constexpr char kSansSerif[] = "DejaVu Sans, Arial, sans-serif";
constexpr char kMonospace[] = "DejaVu Sans Mono, Courier New, monospace";

// Decimals of the pixel coordinates: a hundredth of a pixel.
constexpr int kPixelDecimals = 2;

std::string Px(double value) {
    return FormatFixed(value, kPixelDecimals);
}

std::string Hex(SketchColour colour) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t part : {colour.red, colour.green, colour.blue}) {
        text += kDigits[part >> 4];
        text += kDigits[part & 0xF];
    }
    return text;
}

// A core text (Windows-1252) as SVG character data: UTF-8, the five XML
// special characters escaped, and control characters, which XML 1.0 forbids,
// shown as '?'.
std::string XmlText(const std::string& core) {
    std::string printable = core;
    for (char& c : printable) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && c != '\n') {
            c = '?';
        }
    }
    const std::string utf8 = Cp1252ToUtf8(printable);
    std::string text;
    text.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&':
                text += "&amp;";
                break;
            case '<':
                text += "&lt;";
                break;
            case '>':
                text += "&gt;";
                break;
            case '"':
                text += "&quot;";
                break;
            case '\'':
                text += "&apos;";
                break;
            default:
                text += c;
        }
    }
    return text;
}

// A French literal of the source (UTF-8) as SVG text.
std::string Literal(const char* utf8) {
    return XmlText(Utf8ToCp1252(utf8));
}

std::string StatusToken(SketchStatus status) {
    switch (status) {
        case SketchStatus::Given:
            return "donne";
        case SketchStatus::Computed:
            return "calcule";
        case SketchStatus::PlanOnly:
            return "plan-seul";
        case SketchStatus::HeightOnly:
            return "altitude-seule";
        case SketchStatus::NotPlaced:
        default:
            return "non-place";
    }
}

struct LineStyle {
    const char* token;
    const char* legend;  // UTF-8
    SketchColour colour;
    double width;
    const char* dashes;  // "" for a solid line
};

LineStyle StyleOf(SketchLineKind kind) {
    switch (kind) {
        case SketchLineKind::DirectionAndDistance:
            return {"direction-distance", "Direction et distance", kSketchLineColour, 0.9, ""};
        case SketchLineKind::DirectionOnly:
            return {"direction", "Direction seule", kSketchLineColour, 0.9, "5 3"};
        case SketchLineKind::DistanceOnly:
            return {"distance", "Distance seule", kSketchLineColour, 0.9, "1.5 2.5"};
        case SketchLineKind::LevellingOnly:
        default:
            return {"nivellement", "Nivellement seul", kSketchLevellingColour, 0.9, "7 3 1.5 3"};
    }
}

constexpr LineStyle kSuspectLineStyle{"suspecte", "Visée suspecte", kSketchSuspectColour, 2.2, ""};

std::string StrokeAttributes(const LineStyle& style) {
    std::string text = " stroke=\"" + Hex(style.colour) + "\" stroke-width=\"" +
                       FormatFixed(style.width, 1) + "\"";
    if (style.dashes[0] != '\0') {
        text += std::string(" stroke-dasharray=\"") + style.dashes + "\"";
    }
    return text;
}

// The page: where the drawing sits and how big it is.
struct Page {
    long double scale = 1.0L;  // pixels per length unit
    double originX = 0.0;      // pixel position of (minX, maxY)
    double originY = 0.0;
    double frameLeft = 0.0;
    double frameTop = 0.0;
    double frameWidth = 0.0;
    double frameHeight = 0.0;
    double width = 0.0;
    double legendTop = 0.0;
};

Page LayOut(const SketchModel& model) {
    Page page;
    const SketchBounds& b = model.bounds;
    const long double extentX = b.empty ? 0.0L : static_cast<long double>(b.maxX) - b.minX;
    const long double extentY = b.empty ? 0.0L : static_cast<long double>(b.maxY) - b.minY;
    const long double extent = std::max({extentX, extentY, static_cast<long double>(kMinExtent)});
    const double side =
        std::clamp(kPixelsPerRootPoint * std::sqrt(static_cast<double>(model.placed.size())),
                   kMinDrawingSide, kMaxDrawingSide);
    page.scale = side / extent;
    const double drawingWidth = static_cast<double>(extentX * page.scale);
    const double drawingHeight = static_cast<double>(extentY * page.scale);
    page.frameWidth = std::max(drawingWidth + 2.0 * kPadX, kMinPanelWidth);
    page.frameHeight = drawingHeight + 2.0 * kPadY;
    page.frameLeft = kMargin;
    page.frameTop = kMargin + kTitleHeight;
    page.originX = page.frameLeft + (page.frameWidth - drawingWidth) / 2.0;
    page.originY = page.frameTop + kPadY;
    page.width = page.frameWidth + 2.0 * kMargin;
    page.legendTop = page.frameTop + page.frameHeight + kMargin / 2.0;
    return page;
}

class SvgBuilder {
  public:
    explicit SvgBuilder(const SketchModel& model) : model_(model), page_(LayOut(model)) {}

    std::string Build() {
        Title();
        Frame();
        Lines();
        Points();
        Labels();
        Legend();
        ScaleBar();
        NorthArrow();
        double bottom = page_.legendTop + kLegendHeight;
        bottom = Unplaced(bottom);
        bottom = OtherVerdicts(bottom);
        const double height = bottom + kMargin;

        std::string document;
        document += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
        document += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                    Px(page_.width) + "\" height=\"" + Px(height) + "\" viewBox=\"0 0 " +
                    Px(page_.width) + " " + Px(height) + "\">\r\n";
        document += "<title>" + Literal("Croquis du réseau") + "</title>\r\n";
        document += "<rect class=\"fond\" x=\"0\" y=\"0\" width=\"" + Px(page_.width) +
                    "\" height=\"" + Px(height) + "\" fill=\"#ffffff\"/>\r\n";
        document += body_;
        document += "</svg>\r\n";
        return document;
    }

  private:
    double X(double x) const {
        return static_cast<double>(
            page_.originX + (static_cast<long double>(x) - model_.bounds.minX) * page_.scale);
    }
    double Y(double y) const {
        return static_cast<double>(
            page_.originY + (static_cast<long double>(model_.bounds.maxY) - y) * page_.scale);
    }
    void Line(const std::string& text) { body_ += text + "\r\n"; }

    // Opens a group of texts in a font family, at a size (0: none) and a colour.
    void OpenTextGroup(const std::string& id, const char* family, double size,
                       const std::string& fill) {
        std::string text = "<g id=\"" + id + "\" font-family=\"" + family + "\"";
        if (size > 0.0) {
            text += " font-size=\"" + FormatFixed(size, 0) + "\"";
        }
        Line(text + " fill=\"" + fill + "\">");
    }

    std::string TextElement(double x, double y, const std::string& svgText, double size,
                            const std::string& extra = "") const {
        return "<text x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" font-size=\"" + FormatFixed(size, 0) +
               "\"" + extra + ">" + svgText + "</text>";
    }

    void Title() {
        int given = 0;
        int computed = 0;
        int planOnly = 0;
        int suspects = 0;
        for (const SketchPoint& point : model_.placed) {
            given += point.status == SketchStatus::Given ? 1 : 0;
            computed += point.status == SketchStatus::Computed ? 1 : 0;
            planOnly += point.status == SketchStatus::PlanOnly ? 1 : 0;
            suspects += point.check.suspect ? 1 : 0;
        }
        for (const SketchLine& line : model_.lines) {
            suspects += line.check.suspect ? 1 : 0;
        }
        std::string summary =
            Utf8ToCp1252("Points placés : ") + std::to_string(model_.placed.size()) +
            Utf8ToCp1252(" (donnés ") + std::to_string(given) + Utf8ToCp1252(", calculés ") +
            std::to_string(computed) + ", plan seul " + std::to_string(planOnly) +
            ") ; sans position : " + std::to_string(model_.unplaced.size()) +
            Utf8ToCp1252(" ; liaisons observées : ") + std::to_string(model_.lines.size());
        if (suspects > 0) {
            summary += " ; suspects : " + std::to_string(suspects);
        }
        OpenTextGroup("titre", kSansSerif, 0.0, "#000000");
        Line(TextElement(kMargin, kMargin + kTitleFont, Literal("Croquis du réseau"), kTitleFont,
                         " font-weight=\"bold\""));
        Line(TextElement(kMargin, kMargin + kTitleFont + 20.0, XmlText(summary), kTextFont));
        Line("</g>");
    }

    void Frame() {
        Line("<rect id=\"cadre\" x=\"" + Px(page_.frameLeft) + "\" y=\"" + Px(page_.frameTop) +
             "\" width=\"" + Px(page_.frameWidth) + "\" height=\"" + Px(page_.frameHeight) +
             "\" fill=\"none\" stroke=\"#b0b0b0\" stroke-width=\"1\"/>");
    }

    std::string LineElement(const SketchLine& line) const {
        const SketchPoint& a = model_.placed[static_cast<std::size_t>(line.first)];
        const SketchPoint& b = model_.placed[static_cast<std::size_t>(line.second)];
        return "<line x1=\"" + Px(X(a.x)) + "\" y1=\"" + Px(Y(a.y)) + "\" x2=\"" + Px(X(b.x)) +
               "\" y2=\"" + Px(Y(b.y)) + "\"";
    }

    void Lines() {
        Line("<g id=\"visees\" fill=\"none\">");
        for (const SketchLineKind kind :
             {SketchLineKind::DirectionAndDistance, SketchLineKind::DirectionOnly,
              SketchLineKind::DistanceOnly, SketchLineKind::LevellingOnly}) {
            const LineStyle style = StyleOf(kind);
            Line(std::string("<g class=\"visees ") + style.token + "\"" + StrokeAttributes(style) +
                 ">");
            for (const SketchLine& line : model_.lines) {
                if (!line.check.suspect && LineKind(line) == kind) {
                    Line(LineElement(line) + "/>");
                }
            }
            Line("</g>");
        }
        Line(std::string("<g class=\"visees suspecte\"") + StrokeAttributes(kSuspectLineStyle) +
             ">");
        for (const SketchLine& line : model_.lines) {
            if (!line.check.suspect) {
                continue;
            }
            std::string title = model_.placed[static_cast<std::size_t>(line.first)].name + " - " +
                                model_.placed[static_cast<std::size_t>(line.second)].name +
                                " : suspecte";
            if (!line.check.reason.empty()) {
                title += " : " + line.check.reason;
            }
            if (!line.check.figures.empty()) {
                title += " (" + line.check.figures + ")";
            }
            Line(LineElement(line) + "><title>" + XmlText(title) + "</title></line>");
        }
        Line("</g>");
        Line("</g>");
    }

    // The marker of a status at (x, y), without closing it.
    static std::string Marker(SketchStatus status, double x, double y, const std::string& cls) {
        if (status == SketchStatus::Given) {
            // An upward triangle, a little larger than a dot so that it reads as
            // a triangle.
            const double r = kMarkerRadius + kTriangleExtra;
            const double half = r * std::sqrt(3.0) / 2.0;
            return "<polygon class=\"" + cls + "\" points=\"" + Px(x) + "," + Px(y - r) + " " +
                   Px(x + half) + "," + Px(y + r / 2.0) + " " + Px(x - half) + "," +
                   Px(y + r / 2.0) + "\" fill=\"" + Hex(kSketchGivenColour) + "\"";
        }
        return "<circle class=\"" + cls + "\" cx=\"" + Px(x) + "\" cy=\"" + Px(y) + "\" r=\"" +
               Px(kMarkerRadius) + "\" fill=\"" + Hex(StatusColour(status)) +
               "\" stroke=\"#000000\" stroke-width=\"0.4\"";
    }

    // One point's marker, with its description as a title.
    void PointMarker(const SketchPoint& point) {
        std::string cls = "point " + StatusToken(point.status);
        if (point.planMethod != SketchMethod::None) {
            cls += " " + MethodToken(point.planMethod);
        }
        if (point.check.suspect) {
            cls += " suspect";
        }
        Line(Marker(point.status, X(point.x), Y(point.y), cls) + "><title>" +
             XmlText(DescribePoint(point)) + "</title>" +
             (point.status == SketchStatus::Given ? "</polygon>" : "</circle>"));
    }

    void Points() {
        Line("<g id=\"points\">");
        for (const SketchStatus status : kMarkerDrawingOrder) {
            for (const SketchPoint& point : model_.placed) {
                if (point.status == status) {
                    PointMarker(point);
                }
            }
        }
        Line("</g>");
        Line("<g id=\"suspects\" fill=\"none\" stroke=\"" + Hex(kSketchSuspectColour) +
             "\" stroke-width=\"1.6\">");
        for (const SketchPoint& point : model_.placed) {
            if (point.check.suspect) {
                Line("<circle class=\"anneau-suspect\" cx=\"" + Px(X(point.x)) + "\" cy=\"" +
                     Px(Y(point.y)) + "\" r=\"" + Px(kSuspectRingRadius) + "\"/>");
            }
        }
        Line("</g>");
    }

    void Labels() {
        OpenTextGroup("etiquettes", kSansSerif, kLabelFont, "#202020");
        for (const LabelPlacement& label :
             ThinLabels(model_, static_cast<double>(page_.scale), kLabelMetrics)) {
            const SketchPoint& point = model_.placed[static_cast<std::size_t>(label.position)];
            const double centreY = page_.originY + (label.box.minY + label.box.maxY) / 2.0;
            std::string extra = " class=\"etiquette\"";
            double x = page_.originX + label.box.minX;
            if (label.side == LabelSide::Left) {
                x = page_.originX + label.box.maxX;
                extra += " text-anchor=\"end\"";
            } else if (label.side != LabelSide::Right) {
                x = page_.originX + (label.box.minX + label.box.maxX) / 2.0;
                extra += " text-anchor=\"middle\"";
            }
            if (point.check.suspect) {
                extra += " fill=\"" + Hex(kSketchSuspectColour) + "\"";
            }
            body_ += "<text x=\"" + Px(x) + "\" y=\"" + Px(centreY + kLabelBaseline) + "\"" +
                     extra + ">" + XmlText(point.name) + "</text>\r\n";
        }
        Line("</g>");
    }

    void Legend() {
        const double left = kMargin + 10.0;
        const double top = page_.legendTop + 14.0;
        OpenTextGroup("legende", kSansSerif, kTextFont, "#000000");
        Line(TextElement(left, top, Literal("Légende"), kTextFont, " font-weight=\"bold\""));
        struct PointEntry {
            SketchStatus status;
            const char* text;
        };
        const PointEntry points[] = {{SketchStatus::Given, "Point donné"},
                                     {SketchStatus::Computed, "Point calculé"},
                                     {SketchStatus::PlanOnly, "Plan seul (sans altitude)"}};
        double y = top + kLegendRow;
        for (const PointEntry& entry : points) {
            Line(Marker(entry.status, left + 8.0, y - 4.0, "legende") + "/>");
            Line(TextElement(left + 22.0, y, Literal(entry.text), kTextFont));
            y += kLegendRow;
        }
        Line("<circle cx=\"" + Px(left + 8.0) + "\" cy=\"" + Px(y - 4.0) + "\" r=\"" +
             Px(kSuspectRingRadius) + "\" fill=\"none\" stroke=\"" + Hex(kSketchSuspectColour) +
             "\" stroke-width=\"1.6\"/>");
        Line(TextElement(left + 22.0, y, Literal("Suspect"), kTextFont));

        const double lineLeft = left + 200.0;
        y = top + kLegendRow;
        for (const LineStyle& style :
             {StyleOf(SketchLineKind::DirectionAndDistance), StyleOf(SketchLineKind::DirectionOnly),
              StyleOf(SketchLineKind::DistanceOnly), StyleOf(SketchLineKind::LevellingOnly),
              kSuspectLineStyle}) {
            Line("<line x1=\"" + Px(lineLeft) + "\" y1=\"" + Px(y - 4.0) + "\" x2=\"" +
                 Px(lineLeft + 30.0) + "\" y2=\"" + Px(y - 4.0) + "\"" + StrokeAttributes(style) +
                 "/>");
            Line(TextElement(lineLeft + 40.0, y, Literal(style.legend), kTextFont));
            y += kLegendRow;
        }
        Line("</g>");
    }

    void ScaleBar() {
        const double length =
            RoundScaleLength(static_cast<double>(kScaleBarMaxPixels / page_.scale));
        const double pixels = static_cast<double>(length * page_.scale);
        const double left = kMargin + 440.0;
        const double y = page_.legendTop + 50.0;
        OpenTextGroup("echelle", kSansSerif, kTextFont, "#000000");
        Line(TextElement(left, y - 24.0, Literal("Échelle"), kTextFont, " font-weight=\"bold\""));
        // Two halves, black and white, as on a map.
        Line("<rect x=\"" + Px(left) + "\" y=\"" + Px(y - 4.0) + "\" width=\"" + Px(pixels / 2.0) +
             "\" height=\"6\" fill=\"#000000\" stroke=\"#000000\" stroke-width=\"0.8\"/>");
        Line("<rect x=\"" + Px(left + pixels / 2.0) + "\" y=\"" + Px(y - 4.0) + "\" width=\"" +
             Px(pixels / 2.0) + "\" height=\"6\" fill=\"#ffffff\" stroke=\"#000000\" " +
             "stroke-width=\"0.8\"/>");
        Line(TextElement(left, y + 18.0, "0", kTextFont, " text-anchor=\"middle\""));
        Line(TextElement(left + pixels, y + 18.0, XmlText(FormatScaleLength(length)) + " m",
                         kTextFont, " text-anchor=\"middle\" class=\"longueur-echelle\""));
        Line("</g>");
    }

    void NorthArrow() {
        const double x = kMargin + page_.frameWidth - 40.0;
        const double top = page_.legendTop + 20.0;
        OpenTextGroup("nord", kSansSerif, 0.0, "#000000");
        Line("<polygon points=\"" + Px(x) + "," + Px(top + 14.0) + " " + Px(x + 9.0) + "," +
             Px(top + 58.0) + " " + Px(x) + "," + Px(top + 48.0) + " " + Px(x - 9.0) + "," +
             Px(top + 58.0) + "\" fill=\"#000000\"/>");
        Line(TextElement(x, top + 8.0, "N", 16.0, " text-anchor=\"middle\" font-weight=\"bold\""));
        Line("</g>");
    }

    // The names of a list in columns from `top`; returns the bottom.
    double NameColumns(const std::vector<const SketchPoint*>& names, double top, int& listed) {
        const int columns =
            std::max(1, static_cast<int>((page_.width - 2.0 * kMargin) / kListColumn));
        double y = top;
        int column = 0;
        for (const SketchPoint* point : names) {
            if (listed >= kMaxListedNames) {
                break;
            }
            if (column == 0) {
                y += kLegendRow;
            }
            Line(TextElement(kMargin + 10.0 + column * kListColumn, y, XmlText(point->name),
                             kTextFont,
                             point->check.suspect ? " fill=\"" + Hex(kSketchSuspectColour) + "\""
                                                  : std::string()));
            ++listed;
            column = (column + 1) % columns;
        }
        return y;
    }

    double Unplaced(double top) {
        if (model_.unplaced.empty()) {
            return top;
        }
        OpenTextGroup("sans-position", kMonospace, kTextFont, "#000000");
        double y = top + kLegendRow;
        Line(TextElement(
            kMargin, y, Literal("Points sans position : ") + std::to_string(model_.unplaced.size()),
            kTextFont, " font-weight=\"bold\""));
        int listed = 0;
        for (const SketchStatus status :
             {SketchStatus::HeightOnly, SketchStatus::NotPlaced, SketchStatus::Given,
              SketchStatus::Computed, SketchStatus::PlanOnly}) {
            std::vector<const SketchPoint*> names;
            for (const SketchPoint& point : model_.unplaced) {
                if (point.status == status) {
                    names.push_back(&point);
                }
            }
            if (names.empty() || listed >= kMaxListedNames) {
                continue;
            }
            y += kLegendRow;
            Line(TextElement(
                kMargin, y,
                XmlText(StatusName(status)) + " (" + std::to_string(names.size()) + ") :",
                kTextFont, " font-style=\"italic\""));
            y = NameColumns(names, y, listed);
        }
        const int rest = static_cast<int>(model_.unplaced.size()) - listed;
        if (rest > 0) {
            y += kLegendRow;
            Line(TextElement(kMargin, y,
                             Literal("… et ") + std::to_string(rest) +
                                 Literal(" autres : le listing (.vek) les nomme tous"),
                             kTextFont));
        }
        Line("</g>");
        return y + kLegendRow / 2.0;
    }

    double OtherVerdicts(double top) {
        if (model_.otherVerdicts.empty()) {
            return top;
        }
        OpenTextGroup("controles-non-dessines", kSansSerif, kTextFont, Hex(kSketchSuspectColour));
        double y = top + kLegendRow;
        Line(TextElement(kMargin, y, Literal("Contrôles sur des points sans position :"), kTextFont,
                         " font-weight=\"bold\""));
        for (const std::string& verdict : model_.otherVerdicts) {
            y += kLegendRow;
            Line(TextElement(kMargin + 10.0, y, XmlText(verdict), kTextFont));
        }
        Line("</g>");
        return y + kLegendRow / 2.0;
    }

    const SketchModel& model_;
    Page page_;
    std::string body_;
};

}  // namespace

std::string SketchSvg(const SketchModel& model) {
    return SvgBuilder(model).Build();
}

void WriteSketchSvg(const SketchModel& model, const std::string& fileName) {
    WriteFileReplacing(fileName, SketchSvg(model));
}

}  // namespace calctopo
