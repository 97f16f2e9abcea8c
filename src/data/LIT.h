// The two input readers: the coordinates file (known points) and the
// observations file, with their "@" includes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace calctopo {

struct SurveyState;
class WindowServices;

// Most fields kept of one line; further fields are ignored.
constexpr int kMaxLineFields = 13;

// Cuts a line into fields separated by blanks or tabs. Characters of code 32 or
// less are trimmed from both ends; a line whose first character is then '*' is a
// comment with no field. At most kMaxLineFields fields are stored in `fields`;
// the return value is the real number of fields of the line.
int SplitLine(std::string_view line, std::vector<std::string>& fields);

// Name of the file that an include field ("@name") read in the file
// `currentFullName` designates: upper-cased name, with the directory, base name
// and extension it lacks taken from the current file.
std::string ResolveIncludeName(const std::string& includeField, const std::string& currentFullName);

// Reads the coordinates file CoordinatesFileName (and its includes) into the
// point table and shows "Nombre de points connus : %6d".
void LoadKnownPoints(SurveyState& state, WindowServices& ui);

// Reads the observations file ObservationsFileName (and its includes) into the
// observation tables and the round table, adding every new name as an unknown point.
void LoadObservations(SurveyState& state, WindowServices& ui);

}  // namespace calctopo
