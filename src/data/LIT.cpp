// The two input readers, coordinates file and observations file, and their
// shared line operations.
#include "data/LIT.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/InputSources.h"
#include "data/MessagesComp.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/WindowServices.h"

namespace calctopo {

namespace fs = std::filesystem;

namespace {

// ---------------------------------------------------------------------------
// Message texts of the readers, converted once to Windows-1252.

struct ReaderTexts {
    // "L'ouverture du fichier  " + name + " est impossible " (two blanks, trailing blank).
    std::string coordinatesCannotOpen = Utf8ToCp1252("L'ouverture du fichier  ");
    std::string cannotOpenTail = Utf8ToCp1252(" est impossible ");
    std::string pointLimit = Utf8ToCp1252("Nombre maximum de points atteint : ");
    std::string pointLineError = Utf8ToCp1252("erreur de lecture du fichier des points ligne : ");
    std::string observationLineError =
        Utf8ToCp1252("erreur de lecture du fichier d'observations ligne : ");
    std::string incompleteLine = Utf8ToCp1252(" ligne incomplète");
    std::string fieldTag = Utf8ToCp1252(" champ : ");
    std::string knownPointCount = Utf8ToCp1252("Nombre de points connus : %6d");
    std::string observationLimit = Utf8ToCp1252("Nombre maximum d'observations atteint ligne : %d");
    // An include of a file already being read on the current include chain.
    std::string circularInclude = Utf8ToCp1252("Inclusion circulaire du fichier %s ignorée");
    std::string readError = Utf8ToCp1252("Erreur de lecture du fichier %s");
};

const ReaderTexts& Texts() {
    static const ReaderTexts texts;
    return texts;
}

// ---------------------------------------------------------------------------
// File names.

bool IsNameSeparator(char c) {
    return c == '\\' || c == '/' || c == ':';
}

bool IsDirectorySeparator(char c) {
    return c == '\\' || c == '/';
}

struct NameParts {
    std::string directory;
    std::string base;
    std::string extension;
};

// Directory part (up to the last '\', '/' or ':', a final '\' or '/' dropped
// unless it is the first character or follows another separator), base name
// and extension (from the last '.' of the file name on).
NameParts SplitFileName(const std::string& name) {
    NameParts parts;
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (IsNameSeparator(name[i])) {
            last = i;
        }
    }
    std::string file = name;
    if (last != std::string::npos) {
        parts.directory = name.substr(0, last + 1);
        file = name.substr(last + 1);
        const std::size_t n = parts.directory.size();
        if (n > 1 && IsDirectorySeparator(parts.directory[n - 1]) &&
            !IsNameSeparator(parts.directory[n - 2])) {
            parts.directory.pop_back();
        }
    }
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos) {
        parts.base = file;
    } else {
        parts.base = file.substr(0, dot);
        parts.extension = file.substr(dot);
    }
    return parts;
}

// The name without its directory ('/' and '\' separate directories).
std::string NameWithoutDirectory(const std::string& name) {
    const std::size_t last = name.find_last_of("/\\");
    return last == std::string::npos ? name : name.substr(last + 1);
}

// The name made absolute against the current directory, "." and ".." removed.
// Names stay Windows-1252 throughout; only the file system sees native paths.
std::string AbsoluteName(const std::string& name) {
    std::error_code error;
    const fs::path absolute = fs::absolute(NativePath(name), error);
    if (error) {
        return name;
    }
    return NameFromPath(absolute.lexically_normal());
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'a' && x <= 'z') {
            x = static_cast<char>(x - 'a' + 'A');
        }
        if (y >= 'a' && y <= 'z') {
            y = static_cast<char>(y - 'a' + 'A');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

// An absolute name as it stands when it exists; otherwise the same name with
// each component matched without regard to letter case (the first match in
// byte order when several entries differ only in case). A name that cannot be
// matched is returned unchanged. Entries are compared by their Windows-1252
// names, the form the include line is written in, so "@sous-dossier/été"
// finds "Sous-Dossier/été.obs" whatever the file system's encoding.
std::string LocateIgnoringCase(const std::string& fullName) {
    std::error_code error;
    const fs::path path = NativePath(fullName);
    if (fs::exists(path, error)) {
        return fullName;
    }
    fs::path found = path.root_path();
    for (const fs::path& component : path.relative_path()) {
        const std::string wanted = NameFromPath(component);
        fs::path next = found / component;
        if (wanted.empty() || wanted == "." || wanted == ".." || fs::exists(next, error)) {
            found = std::move(next);
            continue;
        }
        std::string match;
        fs::path matchPath;
        std::error_code listError;
        fs::directory_iterator entry(found.empty() ? fs::path(".") : found, listError);
        for (; !listError && entry != fs::directory_iterator(); entry.increment(listError)) {
            const std::string candidate = NameFromPath(entry->path().filename());
            if (EqualIgnoringAsciiCase(candidate, wanted) && (match.empty() || candidate < match)) {
                match = candidate;
                matchPath = entry->path().filename();
            }
        }
        if (match.empty()) {
            return fullName;
        }
        found /= matchPath;
    }
    return NameFromPath(found);
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    std::error_code error;
    return fs::equivalent(NativePath(a), NativePath(b), error) && !error;
}

enum class ReadOutcome { Read, CannotOpen, ReadFailed };

// Reads a whole file into lines. A missing file, a folder or a file that
// cannot be opened is CannotOpen; a file opened that then cannot be read is
// ReadFailed.
ReadOutcome ReadLines(const std::string& fullName, std::vector<std::string>& lines) {
    lines.clear();
    std::error_code error;
    const fs::path native = NativePath(fullName);
    if (fs::is_directory(native, error)) {
        return ReadOutcome::CannotOpen;
    }
    {
        std::ifstream probe(native, std::ios::binary);
        if (!probe) {
            return ReadOutcome::CannotOpen;
        }
    }
    try {
        if (!ReadTextLines(fullName, lines)) {
            return ReadOutcome::ReadFailed;
        }
    } catch (const std::ios_base::failure&) {
        return ReadOutcome::ReadFailed;
    }
    return ReadOutcome::Read;
}

// A read failure of a coordinates file: the known points are abandoned.
struct CoordinatesReadFailure {};

// ---------------------------------------------------------------------------
// Reading state shared by a file and every file it includes.

struct ReadingState {
    SurveyState& state;
    WindowServices& ui;
    std::int32_t lineNumber = 0;
    std::vector<std::string> lineFields;  // LineFields: at most kMaxLineFields
    int fieldCount = 0;
    std::vector<std::string> includeChain;  // full names of the files being read
    SourceLine source;  // file and line (as that file counts it) of the current line

    // Observations only.
    std::int32_t station = 0;
    std::int32_t target = 0;
    std::string roundStation;     // station of the last code-7 line
    std::string observationName;  // ObservationsFileName without its directory

    ReadingState(SurveyState& s, WindowServices& u) : state(s), ui(u) {}

    bool InChain(const std::string& fullName) const {
        return std::any_of(includeChain.begin(), includeChain.end(),
                           [&](const std::string& name) { return SameFile(name, fullName); });
    }
};

bool IsIncludeLine(const ReadingState& reading) {
    return reading.fieldCount == 1 && !reading.lineFields[0].empty() &&
           reading.lineFields[0][0] == '@';
}

// Name of the file an include line designates, matched without regard to
// letter case when the name as resolved does not exist.
std::string IncludedFileName(const ReadingState& reading, const std::string& currentFullName) {
    return LocateIgnoringCase(
        AbsoluteName(ResolveIncludeName(reading.lineFields[0], currentFullName)));
}

std::string LineNumberText(std::int32_t lineNumber) {
    return Format("%6d", lineNumber);
}

// ---------------------------------------------------------------------------
// Coordinates file.

void ReportPointFieldError(ReadingState& reading, int fieldNumber) {
    reading.ui.StandardOutput(Texts().pointLineError + LineNumberText(reading.lineNumber) +
                              Texts().fieldTag + reading.lineFields[fieldNumber - 1]);
}

// Writes a line of the coordinates reader to the standard output and to the listing.
void ReportToOutputAndListing(ReadingState& reading, const std::string& line) {
    reading.ui.StandardOutput(line);
    if (reading.state.ListingFile.IsOpen()) {
        reading.state.ListingFile.WriteLine(line);
    }
}

void ReadPointLine(ReadingState& reading) {
    SurveyState& state = reading.state;
    const std::string& nameField = reading.lineFields[1];
    if (state.PointTable.Full()) {
        const std::string message = Texts().pointLimit + nameField;
        reading.ui.StandardOutput(message);
        throw TableLimitReached(message);
    }
    SurveyPoint point;
    point.name = nameField.substr(0, kMaxNameLength);
    point.status = StatusGiven;
    point.planimetricKnown = true;
    point.heightKnown = true;
    const int index = AppendPoint(state, point);
    RecordPointSource(state.Sources, index, reading.source);
    reading.ui.AddStartPoint(state.PointTable[index].name);
    if (nameField.size() > static_cast<std::size_t>(kMaxNameLength)) {
        ReportPointFieldError(reading, 2);
    }
    double* const targets[] = {&point.x, &point.y, &point.z, &point.sixthFieldValue,
                               &point.seventhFieldValue};
    for (int field = 3; field <= 7; ++field) {
        const std::optional<double> value = ParseReal(reading.lineFields[field - 1]);
        if (!value) {
            ReportPointFieldError(reading, field);
        }
        *targets[field - 3] = value.value_or(0.0);
    }
    SurveyPoint& stored = state.PointTable[index];
    stored.x = point.x;
    stored.y = point.y;
    stored.z = point.z;
    stored.sixthFieldValue = point.sixthFieldValue;
    stored.seventhFieldValue = point.seventhFieldValue;
}

void ReadCoordinatesFile(ReadingState& reading, const std::string& fileName) {
    const std::string fullName = AbsoluteName(fileName);
    if (reading.InChain(fullName)) {
        ReportToOutputAndListing(reading,
                                 Format(Texts().circularInclude.c_str(), fullName.c_str()));
        return;
    }
    std::vector<std::string> lines;
    switch (ReadLines(fullName, lines)) {
        case ReadOutcome::Read:
            break;
        case ReadOutcome::CannotOpen:
            ReportToOutputAndListing(
                reading, Texts().coordinatesCannotOpen + fullName + Texts().cannotOpenTail);
            return;
        case ReadOutcome::ReadFailed:
            throw CoordinatesReadFailure{};
    }
    reading.includeChain.push_back(fullName);
    const std::int32_t fileIndex = AddSourceFile(reading.state.Sources, fullName, lines);
    std::int32_t fileLine = 0;
    for (const std::string& line : lines) {
        ++reading.lineNumber;
        reading.source = SourceLine{fileIndex, ++fileLine, 0};
        reading.fieldCount = SplitLine(line, reading.lineFields);
        if (IsIncludeLine(reading)) {
            ReadCoordinatesFile(reading, IncludedFileName(reading, fullName));
        } else if (reading.fieldCount == 7) {
            ReadPointLine(reading);
        } else if (reading.fieldCount != 0) {
            reading.ui.StandardOutput(Texts().pointLineError + LineNumberText(reading.lineNumber) +
                                      Texts().incompleteLine);
        }
    }
    reading.includeChain.pop_back();
}

// ---------------------------------------------------------------------------
// Observations file.

void ReportObservationFieldError(ReadingState& reading, int fieldNumber) {
    reading.ui.Affiche(Format(MsgObservationFieldError().c_str(), reading.observationName.c_str(),
                              reading.lineNumber, reading.lineFields[fieldNumber - 1].c_str()),
                       MessageKind::Problem);
}

[[noreturn]] void ObservationLimitReached(const ReadingState& reading) {
    throw TableLimitReached(Format(Texts().observationLimit.c_str(), reading.lineNumber));
}

template <class T, int Capacity>
void AppendObservation(const ReadingState& reading, Table<T, Capacity>& table, T record) {
    if (table.Full()) {
        ObservationLimitReached(reading);
    }
    table.Append(std::move(record));
}

double ConvertObservationField(ReadingState& reading, int fieldNumber) {
    const std::optional<double> value = ParseReal(reading.lineFields[fieldNumber - 1]);
    if (!value) {
        ReportObservationFieldError(reading, fieldNumber);
    }
    return value.value_or(0.0);
}

std::string ObservationName(ReadingState& reading, int fieldNumber) {
    const std::string& field = reading.lineFields[fieldNumber - 1];
    if (field.size() > static_cast<std::size_t>(kMaxNameLength)) {
        ReportObservationFieldError(reading, fieldNumber);
    }
    return field.substr(0, kMaxNameLength);
}

void ReadObservationLine(ReadingState& reading) {
    SurveyState& state = reading.state;
    const ObservationCounts before = CountObservations(state);

    // 1 to 4: convert and validate.
    const std::optional<std::int32_t> parsedCode = ParseInteger(reading.lineFields[0]);
    if (!parsedCode) {
        ReportObservationFieldError(reading, 1);
    }
    const std::int32_t code = parsedCode.value_or(0);
    const std::string stationName = ObservationName(reading, 2);
    const std::string targetName = ObservationName(reading, 3);
    const double value = ConvertObservationField(reading, 4);
    ConvertObservationField(reading, 5);
    const int heightsField = reading.fieldCount == 7 ? 6 : 7;
    const double instrumentHeight = ConvertObservationField(reading, heightsField);
    const double targetHeight = ConvertObservationField(reading, heightsField + 1);

    // 5: a new round.
    if (code == 7) {
        if (state.RoundTable.Full()) {
            ObservationLimitReached(reading);
        }
        state.RoundTable.Append(StationRound{});
        reading.roundStation = stationName;
    }

    // 6: both names.
    reading.station = FindOrAddPoint(state, stationName);
    reading.target = FindOrAddPoint(state, targetName);
    const std::int32_t station = reading.station;
    const std::int32_t target = reading.target;

    // 7, 8: the records.
    switch (code) {
        case 1:
        case 2:
        case 3: {
            DistanceObservation distance;
            distance.station = station;
            distance.target = target;
            distance.value = value;
            distance.instrumentHeight = instrumentHeight;
            distance.targetHeight = targetHeight;
            distance.isHorizontal = code == 2;
            AppendObservation(reading, state.DistanceTable, distance);
            break;
        }
        case 4: {
            HeightDifferenceObservation difference;
            difference.station = station;
            difference.target = target;
            difference.value = value;
            AppendObservation(reading, state.HeightDifferenceTable, difference);
            break;
        }
        case 5:
        case 7: {
            if (stationName != reading.roundStation) {
                reading.ui.Affiche(Format(MsgDirectionWithoutRound().c_str(), reading.lineNumber),
                                   MessageKind::Problem);
            }
            DirectionObservation direction;
            direction.station = station;
            direction.target = target;
            direction.value = value;
            direction.roundNumber = state.RoundTable.Count();
            AppendObservation(reading, state.DirectionTable, direction);
            break;
        }
        case 6: {
            ZenithObservation zenith;
            zenith.station = station;
            zenith.target = target;
            zenith.value = value;
            zenith.instrumentHeight = instrumentHeight;
            zenith.targetHeight = targetHeight;
            AppendObservation(reading, state.ZenithTable, zenith);
            break;
        }
        case 8: {
            BearingObservation bearing;
            bearing.station = station;
            bearing.target = target;
            bearing.value = value;
            AppendObservation(reading, state.BearingTable, bearing);
            break;
        }
        case 9: {
            DistanceObservation distance;
            distance.station = station;
            distance.target = target;
            distance.isHorizontal = true;
            AppendObservation(reading, state.DistanceTable, distance);
            BearingObservation bearing;
            bearing.station = station;
            bearing.target = target;
            AppendObservation(reading, state.BearingTable, bearing);
            break;
        }
        default:
            break;
    }
    RecordObservationSources(state, before,
                             SourceLine{reading.source.file, reading.source.line, code});
}

void ReadObservationsFile(ReadingState& reading, const std::string& fileName) {
    const std::string fullName = AbsoluteName(fileName);
    if (reading.InChain(fullName)) {
        reading.ui.Affiche(Format(Texts().circularInclude.c_str(), fullName.c_str()),
                           MessageKind::Problem);
        return;
    }
    std::vector<std::string> lines;
    switch (ReadLines(fullName, lines)) {
        case ReadOutcome::Read:
            break;
        case ReadOutcome::CannotOpen:
            reading.ui.Affiche(Format(MsgCannotOpenFile().c_str(), fullName.c_str()),
                               MessageKind::Problem);
            return;
        case ReadOutcome::ReadFailed:
            throw IoFailure(Format(Texts().readError.c_str(), fullName.c_str()));
    }
    reading.includeChain.push_back(fullName);
    const std::int32_t fileIndex = AddSourceFile(reading.state.Sources, fullName, lines);
    std::int32_t fileLine = 0;
    for (const std::string& line : lines) {
        ++reading.lineNumber;
        reading.source = SourceLine{fileIndex, ++fileLine, 0};
        reading.fieldCount = SplitLine(line, reading.lineFields);
        if (IsIncludeLine(reading)) {
            ReadObservationsFile(reading, IncludedFileName(reading, fullName));
        } else if (reading.fieldCount >= 7) {
            ReadObservationLine(reading);
        } else if (reading.fieldCount != 0) {
            reading.ui.StandardOutput(Texts().observationLineError +
                                      LineNumberText(reading.lineNumber) + Texts().incompleteLine);
        }
    }
    reading.includeChain.pop_back();
}

}  // namespace

// ---------------------------------------------------------------------------
// Shared line operations.

int SplitLine(const std::string& line, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t begin = 0;
    std::size_t end = line.size();
    while (begin < end && static_cast<unsigned char>(line[begin]) <= 32) {
        ++begin;
    }
    while (end > begin && static_cast<unsigned char>(line[end - 1]) <= 32) {
        --end;
    }
    if (begin == end || line[begin] == '*') {
        return 0;
    }
    int count = 0;
    std::size_t i = begin;
    while (i < end) {
        while (i < end && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i == end) {
            break;
        }
        const std::size_t start = i;
        while (i < end && line[i] != ' ' && line[i] != '\t') {
            ++i;
        }
        ++count;
        if (count <= kMaxLineFields) {
            fields.push_back(line.substr(start, i - start));
        }
    }
    return count;
}

std::string ResolveIncludeName(const std::string& includeField,
                               const std::string& currentFullName) {
    std::string name =
        includeField.empty() || includeField[0] != '@' ? includeField : includeField.substr(1);
    for (char& c : name) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    NameParts include = SplitFileName(name);
    const NameParts current = SplitFileName(currentFullName);
    if (include.extension.empty()) {
        include.extension = current.extension;
    }
    if (include.directory.empty()) {
        include.directory = current.directory;
    }
    if (include.base.empty()) {
        include.base = current.base;
    }
    std::string result = include.directory;
    if (!result.empty() && !IsDirectorySeparator(result.back())) {
        result += '\\';
    }
    result += include.base;
    result += include.extension;
    const char native = static_cast<char>(fs::path::preferred_separator);
    for (char& c : result) {
        if (IsDirectorySeparator(c)) {
            c = native;
        }
    }
    return result;
}

// ---------------------------------------------------------------------------
// Loads.

void LoadKnownPoints(SurveyState& state, WindowServices& ui) {
    ClearPoints(state);
    state.Sources = InputSources{};
    {
        std::error_code error;
        const fs::path native = NativePath(state.CoordinatesFileName);
        std::ifstream check(native, std::ios::binary);
        if (!check || fs::is_directory(native, error)) {
            return;
        }
    }
    ReadingState reading(state, ui);
    try {
        ReadCoordinatesFile(reading, state.CoordinatesFileName);
        state.Sources.coordinateFileCount = state.Sources.files.size();
        ui.AppendPlain(Format(Texts().knownPointCount.c_str(), state.PointCount()));
    } catch (const CoordinatesReadFailure&) {
        ClearPoints(state);
    } catch (const IoFailure&) {
        ClearPoints(state);
    }
}

void LoadObservations(SurveyState& state, WindowServices& ui) {
    state.RoundTable.Clear();
    state.DistanceTable.Clear();
    state.DirectionTable.Clear();
    state.ZenithTable.Clear();
    state.BearingTable.Clear();
    state.HeightDifferenceTable.Clear();
    ClearObservationSources(state.Sources);
    ReadingState reading(state, ui);
    reading.observationName = NameWithoutDirectory(state.ObservationsFileName);
    ReadObservationsFile(reading, state.ObservationsFileName);
}

}  // namespace calctopo
