// Where every record of the input tables came from: the file and the line, as
// the file itself numbers its lines (not the readers' running counter, which
// goes on across includes), the observation code of that line, and the text
// of every line read, so that a report can show a surveyor the very line to
// look at.
//
// Plain data beside the tables: the readers fill it, nothing in the
// determination reads it. Each list runs parallel to its table (entry i - 1
// for the record of index i); a record without a source (a state built by
// hand) simply has none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace calctopo {

struct SurveyState;

// One line of an input file.
struct SourceLine {
    std::int32_t file = 0;  // 1-based index into InputSources::files, 0 = unknown
    std::int32_t line = 0;  // line number within that file, from 1
    std::int32_t code = 0;  // observation code of the line (0 on a coordinates line)
};

// One file read, with its lines as read (Windows-1252, without line ends).
struct SourceFile {
    std::string name;  // full name, as the readers opened it
    std::vector<std::string> lines;
};

struct InputSources {
    std::vector<SourceFile> files;  // in the order they were opened
    // Files read by the coordinates reader: the first ones of `files`.
    std::size_t coordinateFileCount = 0;

    std::vector<SourceLine> points;  // given points, in point-table order
    std::vector<SourceLine> distances;
    std::vector<SourceLine> directions;
    std::vector<SourceLine> zeniths;
    std::vector<SourceLine> heightDifferences;
    std::vector<SourceLine> bearings;

    // The source of record `index` (1-based) of a list; null when it has none.
    static const SourceLine* Of(const std::vector<SourceLine>& list, int index);
    // The file of a source line; null when unknown.
    const SourceFile* FileOf(const SourceLine& source) const;
    // The text of a source line; empty when unknown.
    std::string TextOf(const SourceLine& source) const;
};

// Registers a file the readers are about to read and returns its index; its
// lines are given here or appended one by one as they are read.
std::int32_t AddSourceFile(InputSources& sources, const std::string& fullName,
                           const std::vector<std::string>& lines);

// Appends the next line read from file `file` (an index AddSourceFile gave).
void AddSourceLine(InputSources& sources, std::int32_t file, std::string_view line);

// Gives the given point of index `point` the source `line`.
void RecordPointSource(InputSources& sources, int point, const SourceLine& line);

// Forgets the observation sources and the files only the observations
// reader opened (the start of an observations load).
void ClearObservationSources(InputSources& sources);

// Records of the five observation tables: the counts of the tables taken
// before a line is built, or the observations that join two points.
struct ObservationCounts {
    int distances = 0;          // codes 1, 2, 3 and 9
    int directions = 0;         // codes 5 and 7
    int zeniths = 0;            // code 6
    int heightDifferences = 0;  // code 4
    int bearings = 0;           // codes 8 and 9

    int Total() const { return directions + distances + zeniths + heightDifferences + bearings; }
};
ObservationCounts CountObservations(const SurveyState& state);

// Gives every record appended since `before` the source `line`.
void RecordObservationSources(SurveyState& state, const ObservationCounts& before,
                              const SourceLine& line);

}  // namespace calctopo
