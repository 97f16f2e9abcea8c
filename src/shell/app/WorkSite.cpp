#include "shell/app/WorkSite.h"

#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/WindowServices.h"

namespace calctopo {

namespace {

// The first line of every work-site file.
constexpr char kFormatMark[] = "1";

// The scientific form: sign character, one digit, '.', 14 decimals, 'E', the
// exponent's sign and 4 digits.
constexpr int kScientificDecimals = 14;
constexpr int kExponentDigits = 4;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The failure that stops the reading of a work-site file.
struct ReadFailure {};

// Reads the work-site file's content by its own rules: numbers skip blanks and
// line ends and take the next run of other characters; names are the rest of
// their line. The end of the file reads as "0" for a number, "" for a name.
class WorkSiteReader {
  public:
    explicit WorkSiteReader(std::string content) : text_(std::move(content)) {}

    // The next number's characters; the rest of the line is left where it is.
    std::string_view NextToken() {
        while (pos_ < text_.size() && (IsBlank(text_[pos_]) || IsLineEnd(text_[pos_]))) {
            ++pos_;
        }
        if (pos_ == text_.size()) {
            return "0";
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]) && !IsLineEnd(text_[pos_])) {
            ++pos_;
        }
        return std::string_view(text_).substr(start, pos_ - start);
    }

    // Skips what is left of the current line, its line end included.
    void SkipLine() {
        const std::size_t end = text_.find('\n', pos_);
        pos_ = end == std::string::npos ? text_.size() : end + 1;
    }

    std::int32_t Integer() {
        const std::optional<std::int32_t> value = ParseInteger(NextToken());
        SkipLine();
        if (!value) {
            throw ReadFailure{};
        }
        return *value;
    }

    double Real() {
        const double value = RealInLine();
        SkipLine();
        return value;
    }

    // A real, leaving the rest of its line for the next one.
    double RealInLine() {
        const std::optional<double> value = ParseReal(NextToken());
        if (!value) {
            throw ReadFailure{};
        }
        return *value;
    }

    // The rest of the current line, leading blanks kept, its CR dropped.
    std::string Name() {
        const std::size_t end = text_.find('\n', pos_);
        std::string name =
            text_.substr(pos_, end == std::string::npos ? std::string::npos : end - pos_);
        pos_ = end == std::string::npos ? text_.size() : end + 1;
        if (!name.empty() && name.back() == '\r') {
            name.pop_back();
        }
        return name;
    }

    // Whether anything other than blanks and line ends is left.
    bool MoreToRead() const {
        for (std::size_t i = pos_; i < text_.size(); ++i) {
            if (!IsBlank(text_[i]) && !IsLineEnd(text_[i])) {
                return true;
            }
        }
        return false;
    }

  private:
    std::string text_;
    std::size_t pos_ = 0;
};

// Reads the whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::vector<std::string> lines;
    if (path.empty() || !ReadTextLines(path, lines)) {
        return std::nullopt;
    }
    std::string content;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            content += '\n';
        }
        content += lines[i];
    }
    return content;
}

// Reads lines 1 to 9 into the state, each value assigned as soon as it is read.
void ReadWorkSite(WorkSiteReader& reader, SurveyState& state) {
    ComputationParameters& parameters = state.Parameters;
    reader.Integer();  // the format mark: read, then ignored
    parameters.angleUnit = reader.Integer();
    parameters.significantDigits = reader.Integer();
    parameters.meanLatitude = reader.Real();
    parameters.refractionCoefficient = reader.Real();
    state.CoordinatesFileName = reader.Name();
    state.ObservationsFileName = reader.Name();
    state.ListingFileName = reader.Name();
    if (reader.MoreToRead()) {
        parameters.originX = reader.RealInLine();
        parameters.originY = reader.RealInLine();
        parameters.originZ = reader.RealInLine();
        reader.SkipLine();
        parameters.originGiven = true;
    }
}

}  // namespace

FileFields Lit_Config(SurveyState& state, WindowServices& ui) {
    const std::optional<std::string> content = ReadWholeFile(state.WorkSiteFileName);
    bool failed = !content.has_value();
    if (content) {
        WorkSiteReader reader(*content);
        try {
            ReadWorkSite(reader, state);
        } catch (const ReadFailure&) {
            failed = true;
        }
    }
    if (failed) {
        ui.MessageBox("Erreur d'ouverture du fichier de configuration");
    }
    return FileFields{state.CoordinatesFileName, state.ObservationsFileName,
                      WithoutExtension(state.ListingFileName)};
}

void Ecrit_Config(const SurveyState& state) {
    Ecrit_Config(state, FileFields{state.CoordinatesFileName, state.ObservationsFileName,
                                   state.ListingFileName});
}

void Ecrit_Config(const SurveyState& state, const FileFields& names) {
    if (state.WorkSiteFileName.empty()) {
        throw IoFailure(
            Utf8ToCp1252("Aucun fichier de chantier n'est choisi : créez ou ouvrez un chantier "
                         "(menu Chantier) avant l'initialisation"));
    }
    const ComputationParameters& parameters = state.Parameters;
    for (long double value : {static_cast<long double>(parameters.meanLatitude),
                              static_cast<long double>(parameters.refractionCoefficient),
                              parameters.originX, parameters.originY, parameters.originZ}) {
        if (!std::isfinite(value)) {
            throw IoFailure(Utf8ToCp1252("Paramètre non numérique : impossible d'écrire le "
                                         "fichier de chantier ") +
                            state.WorkSiteFileName);
        }
    }
    std::string content;
    const auto line = [&content](const std::string& text) {
        content += text;
        content += "\r\n";
    };
    line(kFormatMark);
    line(Format("%d", parameters.angleUnit));
    line(Format("%d", parameters.significantDigits));
    line(FormatWorkSiteReal(parameters.meanLatitude));
    line(FormatWorkSiteReal(parameters.refractionCoefficient));
    line(names.coordinates);
    line(names.observations);
    line(names.listing);
    // A negative second or third value gets a blank in front, so that two
    // values always stand apart.
    std::string origin = FormatWorkSiteReal(parameters.originX);
    for (long double value : {parameters.originY, parameters.originZ}) {
        if (value < 0.0L) {
            origin += ' ';
        }
        origin += FormatWorkSiteReal(value);
    }
    line(origin);
    WriteFileReplacing(state.WorkSiteFileName, content);
}

std::string FormatWorkSiteReal(long double value) {
    if (!std::isfinite(value)) {
        throw std::domain_error("FormatWorkSiteReal: value is not finite");
    }
    const bool negative = value < 0.0L;
    const long double magnitude = std::fabs(value);  // -0 is written as 0
    // "d.dddddddddddddde+xx": 15 significant digits, correctly rounded, and
    // independent of the locale.
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, kScientificDecimals);
    const std::string_view digits(buffer.data(),
                                  static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = digits.find('e');
    std::string text;
    text += negative ? '-' : ' ';
    text.append(digits.substr(0, e));
    text += 'E';
    text += digits[e + 1];  // the exponent's sign
    const std::string_view exponent = digits.substr(e + 2);
    text.append(kExponentDigits > static_cast<int>(exponent.size())
                    ? static_cast<std::size_t>(kExponentDigits) - exponent.size()
                    : 0,
                '0');
    text.append(exponent);
    return text;
}

std::string ResolveFileName(const std::string& name, const std::string& folder) {
    namespace fs = std::filesystem;
    if (name.empty()) {
        return name;
    }
    const fs::path given = NativePath(name);
    if (!folder.empty() && !given.has_root_path()) {
        return NameFromPath((NativePath(folder) / given).lexically_normal());
    }
    std::error_code error;
    const fs::path absolute = fs::absolute(given, error);
    return error ? name : NameFromPath(absolute.lexically_normal());
}

std::string WorkSiteFolder(const SurveyState& state) {
    const std::string workSite = ResolveFileName(state.WorkSiteFileName);
    if (workSite.empty()) {
        return workSite;
    }
    return NameFromPath(NativePath(workSite).parent_path());
}

std::string WithoutExtension(const std::string& name) {
    const std::size_t separator = name.find_last_of("/\\");
    const std::size_t start = separator == std::string::npos ? 0 : separator + 1;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < start) {
        return name;
    }
    return name.substr(0, dot);
}

}  // namespace calctopo
