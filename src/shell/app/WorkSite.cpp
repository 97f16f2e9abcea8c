#include "shell/app/WorkSite.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/Failures.h"
#include "data/FileNames.h"
#include "data/GLOBAL.h"
#include "data/MessagesComp.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"

namespace calctopo {

namespace {

// The first line of every work-site file.
constexpr char kFormatMark[] = "1";

// The scientific form: sign character, one digit, '.', 14 decimals, 'E', the
// exponent's sign and 4 digits.
constexpr int kScientificDecimals = 14;
constexpr int kExponentDigits = 4;

// The codes the program knows; other values are kept and used as read (see
// Lit_Config).
constexpr std::int32_t kFirstAngleUnit = 1;
constexpr std::int32_t kLastAngleUnit = 3;
constexpr std::int32_t kMinSignificantDigits = 0;
constexpr std::int32_t kMaxSignificantDigits = 10;

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

    // The rest of the current line, leading blanks kept, without its line
    // end: LF and the one CR before it, which the writer puts after every
    // name. A name of its own ending in CR keeps it.
    std::string Name() {
        const std::size_t end = text_.find('\n', pos_);
        if (end == std::string::npos) {
            std::string name = text_.substr(pos_);
            pos_ = text_.size();
            return name;
        }
        std::size_t stop = end;
        if (stop > pos_ && text_[stop - 1] == '\r') {
            --stop;
        }
        std::string name = text_.substr(pos_, stop - pos_);
        pos_ = end + 1;
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

// The text of a work-site file with every line ended by LF (a file of CR-only
// line ends has its CRs turned into LFs), as WorkSiteReader takes it.
std::string TextWithLfLineEnds(const TextFileContent& content) {
    std::string text = content.text;
    if (content.crOnlyLineEnds) {
        std::replace(text.begin(), text.end(), '\r', '\n');
    }
    return text;
}

// Reads lines 1 to 9 into the state, each value assigned as soon as it is
// read. A unit or a number of digits the program does not know is kept as
// read, and what it will do is added to `warnings`.
void ReadWorkSite(WorkSiteReader& reader, SurveyState& state, std::vector<std::string>& warnings) {
    ComputationParameters& parameters = state.Parameters;
    reader.Integer();  // the format mark: read, then ignored
    parameters.angleUnit = reader.Integer();
    if (parameters.angleUnit < kFirstAngleUnit || parameters.angleUnit > kLastAngleUnit) {
        warnings.push_back(TextOf(texts::kUnknownAngleUnit, parameters.angleUnit));
    }
    parameters.significantDigits = reader.Integer();
    if (parameters.significantDigits < kMinSignificantDigits ||
        parameters.significantDigits > kMaxSignificantDigits) {
        warnings.push_back(TextOf(texts::kDigitsOutOfRange, parameters.significantDigits,
                                  std::clamp(parameters.significantDigits, kMinSignificantDigits,
                                             kMaxSignificantDigits)));
    }
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
    TextFileContent content;
    if (state.WorkSiteFileName.empty()) {
        content.problem = TextReadProblem::CannotOpen;
    } else {
        content = ReadTextFile(state.WorkSiteFileName);
    }
    bool failed = content.problem != TextReadProblem::None;
    std::vector<std::string> told;  // what the user learns about the file
    if (!failed) {
        told = DescribeTextNotices(content, state.WorkSiteFileName);
        WorkSiteReader reader(TextWithLfLineEnds(content));
        try {
            ReadWorkSite(reader, state, told);
        } catch (const ReadFailure&) {
            failed = true;
        }
    }
    if (failed) {
        std::string message = "Erreur d'ouverture du fichier de configuration";
        // A file that is no text says why; the others (missing, a bad number)
        // are told by the message alone.
        if (content.problem != TextReadProblem::None &&
            content.problem != TextReadProblem::CannotOpen) {
            message += '\n';
            message += DescribeReadProblem(content, state.WorkSiteFileName);
        }
        ui.MessageBox(message);
    }
    if (!told.empty()) {
        std::string message = told.front();
        for (std::size_t i = 1; i < told.size(); ++i) {
            message += '\n';
            message += told[i];
        }
        ui.MessageBox(message);
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
        throw IoFailure(TextOf(texts::kNoWorkSite));
    }
    // A name is one line of the file: a line end or a NUL byte in it would
    // make a file that does not read back.
    for (const std::string* name :
         {&state.CoordinatesFileName, &state.ObservationsFileName, &state.ListingFileName}) {
        if (name->find_first_of(std::string_view("\n\0", 2)) != std::string::npos) {
            throw IoFailure(TextOf(texts::kBadFileName, EchoedName(*name)));
        }
    }
    const ComputationParameters& parameters = state.Parameters;
    for (long double value : {static_cast<long double>(parameters.meanLatitude),
                              static_cast<long double>(parameters.refractionCoefficient),
                              parameters.originX, parameters.originY, parameters.originZ}) {
        if (!std::isfinite(value)) {
            throw IoFailure(TextOf(texts::kParameterNotNumeric, state.WorkSiteFileName));
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
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                std::chars_format::scientific, kScientificDecimals);
    // Rounded to 15 digits, the largest doubles (from 1.797693134862315e308)
    // would be written above the largest double and not read back: they are
    // written with their 15 digits cut instead of rounded.
    if (magnitude > std::numeric_limits<double>::max() * (1.0L - 5e-16L)) {
        result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                               std::chars_format::scientific, kScientificDecimals + 3);
        char* const exponent = std::find(buffer.data(), result.ptr, 'e');
        result.ptr = std::copy(exponent, result.ptr, buffer.data() + 2 + kScientificDecimals);
    }
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

std::string WorkSiteFolder(const SurveyState& state) {
    const std::string workSite = ResolveFileName(state.WorkSiteFileName);
    if (workSite.empty()) {
        return workSite;
    }
    return NameFromPath(NativePath(workSite).parent_path());
}

}  // namespace calctopo
