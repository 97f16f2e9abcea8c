#include "check/CheckReport.h"

#include <cmath>

#include "data/FileNames.h"
#include "data/GLOBAL.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "engine/CALCUL.h"
#include "geometry/CONVERTI.h"

namespace calctopo {

namespace {

constexpr char kLineEnd[] = "\r\n";
// Decimals of lengths (a tenth of a millimetre in metres) and of the
// normalised figure.
constexpr int kLengthDecimals = 4;
constexpr int kNormalisedDecimals = 2;

std::string PointName(const SurveyState& state, int point) {
    return point >= 1 && point <= state.PointCount() ? state.PointTable[point].name : std::string();
}

std::string Pad(const std::string& text, std::size_t width, bool right) {
    if (text.size() >= width) {
        return text;
    }
    const std::string fill(width - text.size(), ' ');
    return right ? fill + text : text + fill;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(";\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

// A value rounded to zero is written without a sign: "-0.0000" would make
// the surveyor look for a residual that is not there.
std::string Unsigned0(std::string text) {
    if (!text.empty() && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

std::string OffsetText(const ObservationCheck& check) {
    return check.computable && check.hasOffset
               ? Unsigned0(FormatFixed(check.offset, kLengthDecimals))
               : std::string();
}

std::string NormalisedText(const ObservationCheck& check) {
    return check.computable ? FormatFixed(check.normalised, kNormalisedDecimals) : std::string();
}

std::string ObservationLabel(const SurveyState& state, const ObservationCheck& check) {
    return TextOf(texts::kCheckObservationLabel, SourceFileName(state, check.source),
                  check.source.line, KindText(check.kind), PointName(state, check.station),
                  PointName(state, check.target));
}

std::string ToleranceSummary() {
    using Tol = CheckTolerances;
    return TextOf(texts::kCheckToleranceSummary, FormatFixed(Tol::kTransverse, 3),
                  FormatFixed(Tol::kDistance, 3), FormatFixed(Tol::kDistancePpm * 1e6, 0),
                  FormatFixed(Tol::kHeight, 3), FormatFixed(Tol::kHeight, 3),
                  FormatFixed(Tol::kTransverse, 3));
}

}  // namespace

int AngleDecimals(int unit) {
    switch (unit) {
        case Grades:
            return 5;
        case SexagesimalDegrees:
            return 6;  // D.MMSSss: hundredths of a second
        case DecimalDegrees:
            return 6;
        default:
            return 8;  // radians
    }
}

std::string SourceFileName(const SurveyState& state, const SourceLine& source) {
    const SourceFile* file = state.Sources.FileOf(source);
    if (file == nullptr) {
        return {};
    }
    return NameWithoutFolder(file->name);
}

std::string ValueText(const DataCheckResult& result, const ObservationCheck& check, double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    return Unsigned0(FormatFixed(
        value, IsAngleKind(check.kind) ? AngleDecimals(result.angleUnit) : kLengthDecimals));
}

std::string PlacementText(const SurveyState& state, const PointCheck& point) {
    if (point.given) {
        return TextOf(texts::kPlacementGiven);
    }
    if (!point.planKnown && !point.heightKnown) {
        return TextOf(texts::kPlacementNone);
    }
    std::string text;
    if (point.planKnown) {
        text =
            point.planMethod != 0 ? MethodText(point.planMethod) : TextOf(texts::kPlacementPlaced);
        for (std::size_t k = 0; k < point.planFrom.size(); ++k) {
            const char* first = point.planMethod == ByResection ? " sur " : " de ";
            text += k == 0 ? first : (k + 1 == point.planFrom.size() ? " et " : ", ");
            text += PointName(state, point.planFrom[k]);
        }
    } else {
        text = TextOf(texts::kPlacementNoPlan);
    }
    if (point.heightKnown && point.heightMethod != 0) {
        text += ", " + MethodText(point.heightMethod) + " de " + PointName(state, point.heightFrom);
    } else if (!point.heightKnown) {
        text += TextOf(texts::kPlacementNoHeight);
    }
    return text;
}

std::string CulpritText(const SurveyState& state, const DataCheckResult& result,
                        const PointCheck& point) {
    if (point.verdict != CheckVerdict::Suspect) {
        return {};
    }
    if (point.culpritIsCoordinates) {
        std::string text = TextOf(texts::kCulpritCoordinates);
        if (const SourceLine* source = InputSources::Of(state.Sources.points, point.point)) {
            text += TextOf(texts::kCulpritCoordinatesLine, SourceFileName(state, *source),
                           source->line);
        }
        return text;
    }
    if (point.culprit < 0) {
        return {};
    }
    const ObservationCheck& check = result.observations[static_cast<std::size_t>(point.culprit)];
    std::string text = ObservationLabel(state, check);
    if (point.alternatives > 0) {
        text += TextOf(texts::kCulpritAlternatives, point.alternatives);
    }
    if (!point.explained) {
        text += TextOf(texts::kCulpritPartial);
    }
    return text;
}

std::string CheckReportText(const SurveyState& state, const DataCheckResult& result) {
    std::string out;
    const auto line = [&](const std::string& text) { out += text + kLineEnd; };
    const std::string unit = AngleUnitText(result.angleUnit);
    int computable = 0;
    for (const ObservationCheck& check : result.observations) {
        computable += check.computable ? 1 : 0;
    }
    line(TextOf(texts::kCheckTitle));
    line("");
    line(TextOf(texts::kCheckUnits, unit));
    line(TextOf(texts::kCheckNormalised));
    line(ToleranceSummary());
    line(TextOf(texts::kCheckObservationCounts, static_cast<int>(result.observations.size()),
                computable, result.suspectCount));
    line(TextOf(texts::kCheckPointCounts, result.suspectPoints, result.uncheckedPoints));
    line("");
    line(TextOf(texts::kCheckRankingTitle));
    line("");
    line(TextOf(texts::kCheckObservationHeadings));
    for (const int index : result.ranking) {
        const ObservationCheck& check = result.observations[static_cast<std::size_t>(index)];
        std::string row = Pad(Format("%d", check.rank), 5, true) + " ";
        row += Pad(SourceFileName(state, check.source), 16, false) + " ";
        row += Pad(check.source.line > 0 ? Format("%d", check.source.line) : "", 5, true) + " ";
        row += Pad(PointName(state, check.station), 8, true) + " ";
        row += Pad(PointName(state, check.target), 8, true) + " ";
        row += Pad(KindText(check.kind), 20, false);
        row += Pad(ValueText(result, check, check.observed), 15, true);
        row += Pad(check.computable ? ValueText(result, check, check.computed) : "", 16, true);
        row += Pad(check.computable ? ValueText(result, check, check.residual) : "", 13, true);
        row += Pad(OffsetText(check), 13, true);
        row += Pad(NormalisedText(check), 8, true) + "  ";
        row += Pad(VerdictText(check.verdict), 13, false);
        std::string note = check.note;
        if (check.deletedNormalised > 0.0) {
            note += (note.empty() ? "" : " ; ") +
                    TextOf(texts::kCheckDeletedNormalised,
                           FormatFixed(check.deletedNormalised, kNormalisedDecimals));
        }
        row += " " + note;
        while (!row.empty() && row.back() == ' ') {
            row.pop_back();
        }
        line(row);
    }
    line("");
    line(TextOf(texts::kCheckPointsTitle));
    line("");
    line(TextOf(texts::kCheckPointHeadings));
    for (const PointCheck& point : result.points) {
        std::string row = Pad(PointName(state, point.point), 8, true);
        row += Pad(Format("%d", point.planChecks), 16, true);
        row += Pad(Format("%d", point.heightChecks), 10, true);
        row += Pad(FormatFixed(point.maxNormalised, kNormalisedDecimals), 12, true) + "  ";
        row += Pad(VerdictText(point.verdict), 13, false) + " ";
        row += PlacementText(state, point);
        const std::string culprit = CulpritText(state, result, point);
        if (!culprit.empty()) {
            row += TextOf(texts::kCheckToReview, culprit);
        }
        line(row);
    }
    return out;
}

std::string CheckReportCsv(const SurveyState& state, const DataCheckResult& result) {
    std::string out;
    const auto row = [&](const std::vector<std::string>& fields) {
        for (std::size_t k = 0; k < fields.size(); ++k) {
            out += (k == 0 ? "" : ";") + CsvField(fields[k]);
        }
        out += kLineEnd;
    };
    const std::string unit = AngleUnitText(result.angleUnit);
    using namespace texts;
    row({TextOf(kCsvRank), TextOf(kCsvFile), TextOf(kCsvLine), TextOf(kCsvStation),
         TextOf(kCsvTarget), TextOf(kCsvKind), TextOf(kCsvCode), TextOf(kCsvObserved),
         TextOf(kCsvComputed), TextOf(kCsvResidual), TextOf(kCsvTransverse), TextOf(kCsvTolerance),
         TextOf(kCsvNormalised), TextOf(kCsvNormalisedWithout), TextOf(kCsvVerdict),
         TextOf(kCsvNote), TextOf(kCsvAngleUnit)});
    for (const int index : result.ranking) {
        const ObservationCheck& check = result.observations[static_cast<std::size_t>(index)];
        row({Format("%d", check.rank), SourceFileName(state, check.source),
             check.source.line > 0 ? Format("%d", check.source.line) : "",
             PointName(state, check.station), PointName(state, check.target), KindText(check.kind),
             check.source.code != 0 ? Format("%d", check.source.code) : "",
             ValueText(result, check, check.observed),
             check.computable ? ValueText(result, check, check.computed) : "",
             check.computable ? ValueText(result, check, check.residual) : "", OffsetText(check),
             check.computable ? ValueText(result, check, check.tolerance) : "",
             NormalisedText(check),
             check.deletedNormalised > 0.0
                 ? FormatFixed(check.deletedNormalised, kNormalisedDecimals)
                 : "",
             VerdictText(check.verdict), check.note, IsAngleKind(check.kind) ? unit : ""});
    }
    out += kLineEnd;
    row({TextOf(kCsvPoint), TextOf(kCsvPlanChecks), TextOf(kCsvHeightChecks),
         TextOf(kCsvMaxNormalised), TextOf(kCsvVerdict), TextOf(kCsvPlacement),
         TextOf(kCsvToReview)});
    for (const PointCheck& point : result.points) {
        row({PointName(state, point.point), Format("%d", point.planChecks),
             Format("%d", point.heightChecks),
             FormatFixed(point.maxNormalised, kNormalisedDecimals), VerdictText(point.verdict),
             PlacementText(state, point), CulpritText(state, result, point)});
    }
    return out;
}

bool IsCsvName(const std::string& fileName) {
    if (fileName.size() < 4) {
        return false;
    }
    std::string tail = fileName.substr(fileName.size() - 4);
    for (char& c : tail) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return tail == ".csv";
}

void WriteCheckReport(const SurveyState& state, const DataCheckResult& result,
                      const std::string& fileName) {
    WriteFileReplacing(fileName, IsCsvName(fileName) ? CheckReportCsv(state, result)
                                                     : CheckReportText(state, result));
}

}  // namespace calctopo
