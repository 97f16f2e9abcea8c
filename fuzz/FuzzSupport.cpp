#include "FuzzSupport.h"

#include <signal.h>
#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "data/GLOBAL.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/ValueBounds.h"

namespace calctopo::fuzz {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSeparator = "\n~~~~\n";

// Beyond 1e15 a double no longer holds a millimetre of a coordinate in metres:
// a number that large in the ".new" file or the listing is noise, not a result.
constexpr double kLargestSaneOutput = 1e15;

// Texts of the C++ library that must never reach the user.
constexpr std::string_view kLibraryEnglish[] = {
    "std::",         "basic_string",   "vector::",          "bad_alloc",
    "out_of_range",  "No such file",   "Permission denied", "Is a directory",
    "No space left", "File too large", "table full"};

// Checks one run of number characters written by FormatFixed.
void CheckNumberText(std::string_view text, const char* where) {
    if (text.empty()) {
        return;
    }
    const std::string copy(text);
    const std::optional<double> value = ParseReal(copy);
    if (!value || !std::isfinite(*value) || std::fabs(*value) > kLargestSaneOutput) {
        Finding(std::string(where) + ": absurd number '" + copy + "'");
    }
}

// Checks the numbers of a text that must hold only numbers, each written in
// fixed point with `decimals` decimals. Where a number is wider than its
// column, the next one follows it with no blank between them (the ".new"
// file and the listing do so by design): the decimals tell where it ends.
void CheckFixedNumbers(std::string_view text, int decimals, const char* where) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        if (text[i] == '-') {
            ++i;
        }
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        if (decimals > 0) {
            if (i >= text.size() || text[i] != '.') {
                Finding(std::string(where) + ": not a number in '" + std::string(text) + "'");
            }
            ++i;
            for (int k = 0; k < decimals; ++k, ++i) {
                if (i >= text.size() || text[i] < '0' || text[i] > '9') {
                    Finding(std::string(where) + ": not a number in '" + std::string(text) + "'");
                }
            }
        }
        CheckNumberText(text.substr(start, i - start), where);
    }
}

std::vector<std::string_view> Lines(std::string_view content) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find("\r\n", start);
        if (end == std::string_view::npos) {
            Finding("output line without CR LF");
        }
        lines.push_back(content.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

}  // namespace

// The scratch folders of fuzzing processes that have ended (a finding ends a
// process without clean-up): an input could otherwise include their files by
// name and read what another process left there.
void RemoveEndedScratchFolders(const fs::path& base) {
    constexpr std::string_view kPrefix = "calctopo-fuzz-";
    std::error_code error;
    for (fs::directory_iterator entry(base, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (name.rfind(kPrefix, 0) != 0) {
            continue;
        }
        const long pid = std::strtol(name.c_str() + kPrefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove_all(entry->path(), ignored);
        }
    }
}

const fs::path& ScratchFolder() {
    static const fs::path folder = [] {
        std::error_code error;
        fs::path base =
            fs::exists("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        RemoveEndedScratchFolders(base);
        fs::path path = base / ("calctopo-fuzz-" + std::to_string(getpid()));
        fs::remove_all(path, error);
        fs::create_directories(path);
        return path;
    }();
    return folder;
}

std::vector<std::string> SplitParts(const std::uint8_t* data, std::size_t size, std::size_t count) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() + 1 < count) {
        const std::size_t end = input.find(kSeparator, start);
        if (end == std::string_view::npos) {
            break;
        }
        parts.emplace_back(input.substr(start, end - start + 1));  // keeps its line end
        start = end + kSeparator.size();
    }
    parts.emplace_back(input.substr(start));
    return parts;
}

std::string WriteParts(const std::vector<std::string>& parts,
                       const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        const fs::path path = ScratchFolder() / names[i];
        std::error_code error;
        if (i < parts.size()) {
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            file.write(parts[i].data(), static_cast<std::streamsize>(parts[i].size()));
        } else {
            fs::remove(path, error);
        }
    }
    return NameFromPath(ScratchFolder() / names[0]);
}

void KeptServices::Affiche(const std::string& text, MessageKind /*kind*/) {
    lines.push_back(text);
}
void KeptServices::AppendPlain(const std::string& text) {
    lines.push_back(text);
}
void KeptServices::AddStartPoint(const std::string& name) {
    startPoints.push_back(name);
}
void KeptServices::MessageBox(const std::string& text) {
    lines.push_back(text);
}
void KeptServices::ReportFailure(const std::string& message) {
    lines.push_back(message);
    failures.push_back(message);
}
void KeptServices::StandardOutput(const std::string& line) {
    lines.push_back(line);
}

void Finding(const std::string& what) {
    std::fprintf(stderr, "FINDING: %s\n", Cp1252ToUtf8(what).c_str());
    std::abort();
}

void CheckShownTexts(const KeptServices& ui, std::string_view input) {
    for (const std::string& line : ui.lines) {
        if (line.find('\0') != std::string::npos) {
            Finding("a NUL byte in a shown text: " + line.substr(0, 200));
        }
        for (std::string_view english : kLibraryEnglish) {
            if (line.find(english) != std::string::npos &&
                input.find(english) == std::string_view::npos) {
                Finding("library text shown to the user: " + line.substr(0, 200));
            }
        }
    }
}

void CheckStoredValues(const SurveyState& state) {
    for (const SurveyPoint& point : state.PointTable) {
        if (point.name.size() > static_cast<std::size_t>(kMaxNameLength)) {
            Finding("a name of more than 8 characters: " + point.name);
        }
        for (double value :
             {point.x, point.y, point.z, point.sixthFieldValue, point.seventhFieldValue}) {
            // A point read from the coordinates file holds what was read; a
            // computed point only has to be finite.
            const bool sane =
                point.status == StatusGiven ? IsAdmissibleLength(value) : std::isfinite(value);
            if (!sane) {
                Finding("point " + point.name + " holds " + FormatFixed(value, 3));
            }
        }
    }
    for (const DistanceObservation& d : state.DistanceTable) {
        if (!IsAdmissibleDistance(d.value) || !IsAdmissibleLength(d.instrumentHeight) ||
            !IsAdmissibleLength(d.targetHeight)) {
            Finding("distance out of bounds: " + FormatFixed(d.value, 3));
        }
    }
    for (const HeightDifferenceObservation& h : state.HeightDifferenceTable) {
        if (!IsAdmissibleLength(h.value)) {
            Finding("height difference out of bounds: " + FormatFixed(h.value, 3));
        }
    }
    for (const ZenithObservation& z : state.ZenithTable) {
        if (!std::isfinite(z.value) || !IsAdmissibleLength(z.instrumentHeight) ||
            !IsAdmissibleLength(z.targetHeight)) {
            Finding("zenith angle out of bounds: " + FormatFixed(z.value, 3));
        }
    }
    for (const DirectionObservation& d : state.DirectionTable) {
        if (!std::isfinite(d.value)) {
            Finding("direction not finite");
        }
    }
    for (const BearingObservation& b : state.BearingTable) {
        if (!std::isfinite(b.value)) {
            Finding("bearing not finite");
        }
    }
    for (const Sight& sight : state.SightTable) {
        if ((sight.bearingKnown && !std::isfinite(sight.bearing)) ||
            (sight.horizontalDistanceKnown && !std::isfinite(sight.horizontalDistance)) ||
            (sight.heightDifferenceKnown && !std::isfinite(sight.heightDifference))) {
            Finding("a derived sight value is not finite");
        }
    }
    for (const StationRound& round : state.RoundTable) {
        if (round.orientationKnown && !std::isfinite(round.orientation)) {
            Finding("a round orientation is not finite");
        }
    }
}

void CheckNewFile(const std::string& content, int digits) {
    for (std::string_view line : Lines(content)) {
        // " c name x y z 6th7th": the numbers follow the code and the name;
        // x, y and z have `digits` decimals, each after a blank, the last two
        // one more.
        if (line.size() < 12 || line[0] != ' ' || (line[1] != '0' && line[1] != '1') ||
            line[2] != ' ') {
            Finding(".new: malformed line '" + std::string(line) + "'");
        }
        std::string_view rest = line.substr(12);
        for (int value = 0; value < 3; ++value) {
            const std::size_t end = rest.find(' ', rest.find_first_not_of(' '));
            if (end == std::string_view::npos) {
                Finding(".new: missing values in '" + std::string(line) + "'");
            }
            CheckFixedNumbers(rest.substr(0, end), digits, ".new");
            rest.remove_prefix(end);
        }
        CheckFixedNumbers(rest, digits + 1, ".new");
    }
}

void CheckListing(const std::string& content) {
    for (std::string_view line : Lines(content)) {
        // A residual line: two names in 8 characters with five blanks between
        // them, then columns of numbers.
        if (line.size() > 21 && line.substr(8, 5) == "     " && line[7] != ' ' && line[20] != ' ') {
            CheckFixedNumbers(line.substr(21), 1, "listing");
        }
    }
}

std::string FileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace calctopo::fuzz
