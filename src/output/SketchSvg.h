// The network sketch as an SVG drawing, for the batch command's --croquis and
// the window's export.
//
// North is up; the drawing has a frame around the placed points, a scale bar
// of a round length, a north arrow, a French legend and, below, the points
// without position and the check verdicts that name nothing drawn. Labels are
// thinned (see ThinLabels) so that a network of 10 000 points stays legible;
// every point carries its description as an SVG title, which a browser shows
// on hover.
//
// The SVG file is UTF-8: SVG and XML readers expect it, and the names and
// texts of the core, Windows-1252 like every other, are converted on the way
// in. Lines end with CR LF like the program's other files (XML reads both).
// Numbers are written without the locale.
#pragma once

#include <string>

#include "output/Sketch.h"

namespace calctopo {

// The whole SVG document, UTF-8.
std::string SketchSvg(const SketchModel& model);

// Writes the SVG document under a Windows-1252 file name, replacing any file
// of that name only once the whole drawing is written. Throws IoFailure with
// the program's French message when it cannot.
void WriteSketchSvg(const SketchModel& model, const std::string& fileName);

}  // namespace calctopo
