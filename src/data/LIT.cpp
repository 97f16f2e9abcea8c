// The two input readers, coordinates file and observations file, and their
// shared line operations.
#include "data/LIT.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <unordered_set>

#include "data/Failures.h"
#include "data/FileNames.h"
#include "data/GLOBAL.h"
#include "data/InputSources.h"
#include "data/MessagesComp.h"
#include "data/ObservationCodes.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/ValueBounds.h"
#include "data/WindowServices.h"

namespace calctopo {

namespace fs = std::filesystem;

namespace {

// Most files open at once on one include chain. Projects nest includes a few
// levels deep; a chain this long can only be a loop that the file names hide
// (every name new, the files the same), and it stops well before the memory
// fills.
constexpr std::size_t kMaxIncludeDepth = 10000;

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
// and extension (from the last '.' of the file name on). Unlike the names of
// data/FileNames, an include name may start with a drive ("C:BASE"), so ':'
// ends a folder here too.
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

// What identifies a file on an include chain: its canonical name (links
// resolved) when it exists, its absolute name otherwise. Looked up in a set,
// so a chain a thousand files deep costs a thousand lookups, not a million
// comparisons.
std::string FileKey(const std::string& fullName) {
    std::error_code error;
    const fs::path canonical = fs::canonical(NativePath(fullName), error);
    std::string key = error ? fullName : NameFromPath(canonical);
#ifdef _WIN32
    // Windows finds "MAIN.cor" under "main.cor" and keeps the case given: one
    // file, whatever the case of the letters that name it.
    for (char& c : key) {
        const auto byte = static_cast<unsigned char>(c);
        const bool latinCapital = byte >= 0xC0 && byte <= 0xDE && byte != 0xD7;
        if ((byte >= 'A' && byte <= 'Z') || latinCapital) {
            c = static_cast<char>(byte + 0x20);
        }
    }
#endif
    return key;
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
    SourceLine source;  // file and line (as that file counts it) of the current line

    // Observations only.
    std::int32_t station = 0;
    std::int32_t target = 0;
    std::string roundStation;     // station of the last code-7 line
    std::string observationName;  // ObservationsFileName without its directory

    ReadingState(SurveyState& s, WindowServices& u) : state(s), ui(u) {}
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
    return TextOf(texts::kLineNumber, lineNumber);
}

// ---------------------------------------------------------------------------
// Coordinates file.

void ReportPointFieldError(ReadingState& reading, int fieldNumber) {
    reading.ui.StandardOutput(TextOf(texts::kPointLineError, LineNumberText(reading.lineNumber),
                                     EchoedField(reading.lineFields[fieldNumber - 1])));
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
    const std::string& nameField = reading.lineFields[coordinate_field::kName - 1];
    if (state.PointTable.Full()) {
        const std::string message = TextOf(texts::kPointLimit, nameField);
        reading.ui.StandardOutput(message);
        throw TableLimitReached(message, true);
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
        ReportPointFieldError(reading, coordinate_field::kName);
    }
    double* const targets[] = {&point.x, &point.y, &point.z, &point.sixthFieldValue,
                               &point.seventhFieldValue};
    for (int field = coordinate_field::kX; field <= coordinate_field::kSeventh; ++field) {
        // A value out of bounds is a field error like a field that is no
        // number, and is stored as 0 like it.
        std::optional<double> value = ParseReal(reading.lineFields[field - 1]);
        if (value && !IsAdmissibleLength(*value)) {
            value.reset();
        }
        if (!value) {
            ReportPointFieldError(reading, field);
        }
        *targets[field - coordinate_field::kX] = value.value_or(0.0);
    }
    SurveyPoint& stored = state.PointTable[index];
    stored.x = point.x;
    stored.y = point.y;
    stored.z = point.z;
    stored.sixthFieldValue = point.sixthFieldValue;
    stored.seventhFieldValue = point.seventhFieldValue;
}

// ---------------------------------------------------------------------------
// Observations file.

void ReportObservationFieldError(ReadingState& reading, int fieldNumber) {
    reading.ui.Affiche(
        TextOf(texts::kObservationFieldError, reading.observationName, reading.lineNumber,
               EchoedField(reading.lineFields[fieldNumber - 1])),
        MessageKind::Problem);
}

[[noreturn]] void ObservationLimitReached(const ReadingState& reading) {
    throw TableLimitReached(TextOf(texts::kObservationLimit, reading.lineNumber));
}

template <class T, int Capacity>
void AppendObservation(const ReadingState& reading, Table<T, Capacity>& table, T record) {
    if (table.Full()) {
        ObservationLimitReached(reading);
    }
    table.Append(std::move(record));
}

// A number field of an observation line, reported when it is not a number.
std::optional<double> ConvertObservationField(ReadingState& reading, int fieldNumber) {
    const std::optional<double> value = ParseReal(reading.lineFields[fieldNumber - 1]);
    if (!value) {
        ReportObservationFieldError(reading, fieldNumber);
    }
    return value;
}

// Whether a field that holds a number is within the bound of what it
// measures; one that is not is reported as a field error, and the caller
// leaves its observation out. A field that was no number has been reported
// already and reads as 0, as it always has.
bool WithinBound(ReadingState& reading, int fieldNumber, const std::optional<double>& value,
                 bool (*admissible)(double)) {
    if (!value || admissible(*value)) {
        return true;
    }
    ReportObservationFieldError(reading, fieldNumber);
    return false;
}

std::string ObservationName(ReadingState& reading, int fieldNumber) {
    const std::string& field = reading.lineFields[fieldNumber - 1];
    if (field.size() > static_cast<std::size_t>(kMaxNameLength)) {
        ReportObservationFieldError(reading, fieldNumber);
    }
    return field.substr(0, kMaxNameLength);
}

void ReadObservationRecords(ReadingState& reading) {
    SurveyState& state = reading.state;

    // 1 to 4: convert and validate.
    const std::optional<std::int32_t> parsedCode = ParseInteger(reading.lineFields[observation_field::kCode - 1]);
    if (!parsedCode) {
        ReportObservationFieldError(reading, observation_field::kCode);
    }
    const std::int32_t code = parsedCode.value_or(0);
    const std::string stationName = ObservationName(reading, observation_field::kStation);
    const std::string targetName = ObservationName(reading, observation_field::kTarget);
    const std::optional<double> valueField = ConvertObservationField(reading, observation_field::kValue);
    ConvertObservationField(reading, observation_field::kFifth);
    const int heightsField = reading.fieldCount == observation_field::kShortCount
                                 ? observation_field::kInstrumentHeightShort
                                 : observation_field::kInstrumentHeightLong;
    const std::optional<double> instrumentField = ConvertObservationField(reading, heightsField);
    const std::optional<double> targetField = ConvertObservationField(reading, heightsField + 1);
    const double value = valueField.value_or(0.0);
    const double instrumentHeight = instrumentField.value_or(0.0);
    const double targetHeight = targetField.value_or(0.0);

    // The values the code stores must lie within their bounds (a negative
    // distance included); an observation with one that does not is reported
    // and left out, its names registered all the same.
    bool usable = true;
    const auto bound = [&](int field, const std::optional<double>& parsed,
                           bool (*admissible)(double)) {
        usable = WithinBound(reading, field, parsed, admissible) && usable;
    };
    bool (*valueBound)(double) = nullptr;  // code 9 and the others store no measured value
    bool heightsStored = false;
    switch (static_cast<ObservationCode>(code)) {
        case ObservationCode::SlopeDistance:
        case ObservationCode::HorizontalDistance:
        case ObservationCode::SlopeDistanceToo:
            valueBound = IsAdmissibleDistance;
            heightsStored = true;
            break;
        case ObservationCode::HeightDifference:
            valueBound = IsAdmissibleLength;
            break;
        case ObservationCode::Zenith:
            valueBound = IsAdmissibleAngle;
            heightsStored = true;
            break;
        case ObservationCode::Direction:
        case ObservationCode::RoundOpening:
        case ObservationCode::Bearing:
            valueBound = IsAdmissibleAngle;
            break;
        default:
            break;
    }
    if (valueBound != nullptr) {
        bound(observation_field::kValue, valueField, valueBound);
    }
    if (heightsStored) {
        bound(heightsField, instrumentField, IsAdmissibleLength);
        bound(heightsField + 1, targetField, IsAdmissibleLength);
    }

    // 5: a new round.
    if (code == CodeNumber(ObservationCode::RoundOpening)) {
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
    if (!usable) {
        return;
    }
    switch (static_cast<ObservationCode>(code)) {
        case ObservationCode::SlopeDistance:
        case ObservationCode::HorizontalDistance:
        case ObservationCode::SlopeDistanceToo: {
            DistanceObservation distance;
            distance.station = station;
            distance.target = target;
            distance.value = value;
            distance.instrumentHeight = instrumentHeight;
            distance.targetHeight = targetHeight;
            distance.isHorizontal = code == CodeNumber(ObservationCode::HorizontalDistance);
            AppendObservation(reading, state.DistanceTable, distance);
            break;
        }
        case ObservationCode::HeightDifference: {
            HeightDifferenceObservation difference;
            difference.station = station;
            difference.target = target;
            difference.value = value;
            AppendObservation(reading, state.HeightDifferenceTable, difference);
            break;
        }
        case ObservationCode::Direction:
        case ObservationCode::RoundOpening: {
            if (stationName != reading.roundStation) {
                reading.ui.Affiche(TextOf(texts::kDirectionWithoutRound, reading.lineNumber),
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
        case ObservationCode::Zenith: {
            ZenithObservation zenith;
            zenith.station = station;
            zenith.target = target;
            zenith.value = value;
            zenith.instrumentHeight = instrumentHeight;
            zenith.targetHeight = targetHeight;
            AppendObservation(reading, state.ZenithTable, zenith);
            break;
        }
        case ObservationCode::Bearing: {
            BearingObservation bearing;
            bearing.station = station;
            bearing.target = target;
            bearing.value = value;
            AppendObservation(reading, state.BearingTable, bearing);
            break;
        }
        case ObservationCode::Centring: {
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
}

// ---------------------------------------------------------------------------
// A file and its includes, read line by line.

// What differs between the two readers.
struct ReaderKind {
    // Tells the user about a file (skipped, circular, its encoding...).
    void (*report)(ReadingState&, const std::string& text);
    // The text for an include that cannot be opened.
    std::string (*cannotOpen)(const std::string& fullName);
    // A file that was opened and then could not be read: throws.
    void (*readFailed)(const TextFileContent&, const std::string& fullName);
    // A record line has exactly (coordinates) or at least (observations)
    // this many fields.
    int recordFields;
    bool moreFieldsAllowed;
    void (*record)(ReadingState&);
    // The "ligne incomplète" line of this reader, given the line number.
    Text<std::string_view> incompleteLine;
};

// One file of the include chain being read.
struct OpenFileLevel {
    std::string fullName;
    std::string key;
    TextFileContent content;
    LineCursor cursor;
    std::int32_t sourceFile = 0;  // its index in the state's input sources
    std::int32_t fileLine = 0;    // the last line read, as the file numbers it

    OpenFileLevel(std::string name, std::string fileKey, TextFileContent read,
                  std::int32_t source)
        : fullName(std::move(name)),
          key(std::move(fileKey)),
          content(std::move(read)),
          cursor(content),
          sourceFile(source) {}
};

// Reads a file and, in place of each include line, the file it names, with
// the files being read on an explicit stack (no recursion, so no depth
// overflows the call stack). `topLevelCannotOpen`: whether a first file that
// cannot be opened is reported (the observations file) or passed over in
// silence (the coordinates file).
// Returns false when the first file was not read.
bool ReadFileTree(ReadingState& reading, const std::string& fileName, const ReaderKind& kind,
                  bool topLevelCannotOpen) {
    std::vector<std::unique_ptr<OpenFileLevel>> chain;
    std::unordered_set<std::string> keys;
    const auto open = [&](const std::string& name) {
        const std::string fullName = AbsoluteName(name);
        if (chain.size() >= kMaxIncludeDepth) {
            kind.report(reading,
                        TextOf(texts::kIncludeTooDeep, static_cast<int>(kMaxIncludeDepth),
                               EchoedName(fullName)));
            return false;
        }
        std::string key = FileKey(fullName);
        if (keys.count(key) != 0) {
            kind.report(reading,
                        TextOf(texts::kCircularInclude, EchoedName(fullName)));
            return false;
        }
        TextFileContent content = ReadTextFile(fullName);
        switch (content.problem) {
            case TextReadProblem::None:
                break;
            case TextReadProblem::CannotOpen:
                if (!chain.empty() || topLevelCannotOpen) {
                    kind.report(reading, kind.cannotOpen(fullName));
                }
                return false;
            case TextReadProblem::ReadFailed:
                kind.readFailed(content, fullName);
                return false;
            case TextReadProblem::NotRegularFile:
            case TextReadProblem::TooLarge:
            case TextReadProblem::NotText:
                kind.report(reading, DescribeReadProblem(content, fullName));
                return false;
        }
        for (const std::string& notice : DescribeTextNotices(content, fullName)) {
            kind.report(reading, notice);
        }
        keys.insert(key);
        const std::int32_t source = AddSourceFile(reading.state.Sources, fullName, {});
        chain.push_back(std::make_unique<OpenFileLevel>(fullName, std::move(key),
                                                        std::move(content), source));
        return true;
    };

    if (!open(fileName)) {
        return false;
    }
    std::string_view line;
    while (!chain.empty()) {
        OpenFileLevel& level = *chain.back();
        if (!level.cursor.Next(line)) {
            keys.erase(level.key);
            chain.pop_back();
            continue;
        }
        ++reading.lineNumber;
        reading.source = SourceLine{level.sourceFile, ++level.fileLine, 0};
        AddSourceLine(reading.state.Sources, level.sourceFile, line);
        reading.fieldCount = SplitLine(line, reading.lineFields);
        const int fields = reading.fieldCount;
        if (IsIncludeLine(reading)) {
            open(IncludedFileName(reading, level.fullName));
        } else if (fields == kind.recordFields ||
                   (kind.moreFieldsAllowed && fields > kind.recordFields)) {
            kind.record(reading);
        } else if (fields != 0) {
            reading.ui.StandardOutput(
                TextOf(kind.incompleteLine, LineNumberText(reading.lineNumber)));
        }
    }
    return true;
}

// The coordinates reader's kind: file messages on the standard output and in
// the listing.
const ReaderKind& CoordinatesKind() {
    static const ReaderKind kind{
        ReportToOutputAndListing,
        [](const std::string& fullName) {
            return TextOf(texts::kCoordinatesCannotOpen, EchoedName(fullName));
        },
        [](const TextFileContent&, const std::string&) { throw CoordinatesReadFailure{}; },
        coordinate_field::kCount,
        false,
        ReadPointLine,
        texts::kPointLineIncomplete};
    return kind;
}

// An observation line, and where each record it built was read, with the
// line's code (0 when field 1 is no integer).
void ReadObservationLine(ReadingState& reading) {
    const ObservationCounts before = CountObservations(reading.state);
    ReadObservationRecords(reading);
    const std::int32_t code =
        ParseInteger(reading.lineFields[observation_field::kCode - 1]).value_or(0);
    RecordObservationSources(reading.state, before,
                             SourceLine{reading.source.file, reading.source.line, code});
}

// The observations reader's kind: file messages in red in the pane.
const ReaderKind& ObservationsKind() {
    static const ReaderKind kind{[](ReadingState& reading, const std::string& text) {
                                     reading.ui.Affiche(text, MessageKind::Problem);
                                 },
                                 [](const std::string& fullName) {
                                     return TextOf(texts::kCannotOpenFile, EchoedName(fullName));
                                 },
                                 [](const TextFileContent& content, const std::string& fullName) {
                                     throw IoFailure(DescribeReadProblem(content, fullName));
                                 },
                                 observation_field::kShortCount,
                                 true,
                                 ReadObservationLine,
                                 texts::kObservationLineIncomplete};
    return kind;
}

}  // namespace

// ---------------------------------------------------------------------------
// Shared line operations.

int SplitLine(std::string_view line, std::vector<std::string>& fields) {
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
            fields.emplace_back(line.substr(start, i - start));
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
    ReadingState reading(state, ui);
    try {
        const bool read = ReadFileTree(reading, state.CoordinatesFileName, CoordinatesKind(), false);
        state.Sources.coordinateFileCount = state.Sources.files.size();
        if (read) {
            ui.AppendPlain(TextOf(texts::kKnownPointCount, state.PointCount()));
        }
    } catch (const CoordinatesReadFailure&) {
        // A file that could not be read abandons the known points. A failure
        // to write the listing is no reading failure: it ends the load.
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
    reading.observationName = NameWithoutFolder(state.ObservationsFileName);
    ReadFileTree(reading, state.ObservationsFileName, ObservationsKind(), true);
}

}  // namespace calctopo
