#include "cli/Batch.h"

#include <exception>
#include <memory>
#include <optional>
#include <string_view>

#include "check/CheckReport.h"
#include "check/CheckSketch.h"
#include "check/DataCheck.h"
#include "cli/ConsoleServices.h"
#include "data/Failures.h"
#include "data/FileNames.h"
#include "data/GLOBAL.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "output/SketchSvg.h"
#include "shell/app/Actions.h"
#include "shell/app/Version.h"
#include "shell/app/WorkSite.h"

namespace calctopo {

namespace {

constexpr int kMaxSignificantDigits = 10;

// The options as given, in UTF-8; an option not given is empty.
struct BatchOptions {
    std::optional<std::string> workSite;      // --chantier
    std::optional<std::string> coordinates;   // --coordonnees
    std::optional<std::string> observations;  // --observations
    std::optional<std::string> listing;       // --sortie
    std::optional<std::string> checkReport;   // --controle
    std::optional<std::string> sketch;        // --croquis
    std::optional<std::int32_t> angleUnit;    // --unite
    std::optional<std::int32_t> digits;       // --chiffres
    std::string colour = "auto";              // --couleur
    bool colourGiven = false;
    std::vector<std::string> startPoints;  // --depart, in order
    bool extended = false;                 // --etendu
    bool help = false;
    bool version = false;  // --version
};

// What the command line says: the options, or why it is wrong (UTF-8).
struct ParsedArguments {
    BatchOptions options;
    std::string error;
};

// Stores the value of a single-valued option; false when it was given before.
bool StoreOnce(std::optional<std::string>& slot, const std::string& value) {
    if (slot) {
        return false;
    }
    slot = value;
    return true;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args) {
    ParsedArguments parsed;
    BatchOptions& options = parsed.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--aide" || arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--version") {
            options.version = true;
            continue;
        }
        // The one option without a value.
        if (arg == "--etendu") {
            if (options.extended) {
                parsed.error = Utf8TextOf(texts::kBatchExtendedTwice);
                return parsed;
            }
            options.extended = true;
            continue;
        }
        if (arg.compare(0, 9, "--etendu=") == 0) {
            parsed.error = Utf8TextOf(texts::kBatchExtendedTakesNoValue);
            return parsed;
        }
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            parsed.error = Utf8TextOf(texts::kBatchUnexpectedArgument, arg);
            return parsed;
        }
        // "--option value" or "--option=value".
        std::string name = arg;
        std::string value;
        const std::size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
        }
        const bool known = name == "--chantier" || name == "--coordonnees" ||
                           name == "--observations" || name == "--sortie" || name == "--unite" ||
                           name == "--chiffres" || name == "--couleur" || name == "--depart" ||
                           name == "--controle" || name == "--croquis";
        if (!known) {
            parsed.error = Utf8TextOf(texts::kBatchUnknownOption, name);
            return parsed;
        }
        if (equals == std::string::npos) {
            if (i + 1 >= args.size()) {
                parsed.error = Utf8TextOf(texts::kBatchOptionNeedsValue, name);
                return parsed;
            }
            value = args[++i];
        }

        bool first = true;
        if (name == "--depart") {
            options.startPoints.push_back(value);
        } else if (name == "--chantier") {
            first = StoreOnce(options.workSite, value);
        } else if (name == "--coordonnees") {
            first = StoreOnce(options.coordinates, value);
        } else if (name == "--observations") {
            first = StoreOnce(options.observations, value);
        } else if (name == "--sortie") {
            first = StoreOnce(options.listing, value);
        } else if (name == "--controle") {
            first = StoreOnce(options.checkReport, value);
        } else if (name == "--croquis") {
            first = StoreOnce(options.sketch, value);
        } else if (name == "--unite") {
            first = !options.angleUnit;
            const std::optional<std::int32_t> unit = ParseInteger(value);
            if (first && (!unit || *unit < 1 || *unit > 3)) {
                parsed.error = Utf8TextOf(texts::kBatchBadUnit, value);
                return parsed;
            }
            options.angleUnit = unit;
        } else if (name == "--chiffres") {
            first = !options.digits;
            const std::optional<std::int32_t> digits = ParseInteger(value);
            if (first && (!digits || *digits < 0 || *digits > kMaxSignificantDigits)) {
                parsed.error = Utf8TextOf(texts::kBatchBadDigits, value);
                return parsed;
            }
            options.digits = digits;
        } else {  // --couleur
            first = !options.colourGiven;
            options.colourGiven = true;
            if (first && value != "auto" && value != "toujours" && value != "jamais") {
                parsed.error = Utf8TextOf(texts::kBatchBadColour, value);
                return parsed;
            }
            options.colour = value;
        }
        if (!first) {
            parsed.error = Utf8TextOf(texts::kBatchOptionTwice, name);
            return parsed;
        }
    }
    if (!options.help && !options.version && options.startPoints.empty()) {
        parsed.error = Utf8TextOf(texts::kBatchNoStartPoint);
    }
    return parsed;
}

int RunParsed(const BatchOptions& options, ConsoleServices& ui) {
    // The tables are large: the state lives on the heap.
    auto state = std::make_unique<SurveyState>();

    // The sketch's name is taken where the command started, as the work
    // site's: "Initialisation" moves into the coordinates file's folder.
    const std::string sketchName =
        options.sketch ? ResolveFileName(Utf8ToCp1252(*options.sketch)) : std::string();

    // The work site first, as "Chantier > Ouvrir" reads it; the options then
    // override what it holds. Without one, nothing is written back.
    FileFields fields;
    WorkSiteWrite workSite = WorkSiteWrite::Skip;
    std::string nameFolder;
    if (options.workSite) {
        // Taken against the directory the command started in; kept as given
        // when that cannot be done (the reading then tells).
        state->WorkSiteFileName = ResolveFileName(Utf8ToCp1252(*options.workSite));
        fields = Lit_Config(*state, ui);
        workSite = WorkSiteWrite::Write;
        // The work site's own relative names are taken from its folder.
        nameFolder = WorkSiteFolder(*state);
    }
    // The names given here keep their meaning from the command line: the input
    // files from the current directory, a relative listing from the
    // coordinates file's folder. With a work site they are written into it as
    // absolute names, since its relative names are read from its own folder.
    const auto given = [&](const std::optional<std::string>& option, const std::string& folder) {
        const std::string name = Utf8ToCp1252(*option);
        return options.workSite ? ResolveFileName(name, folder) : name;
    };
    if (options.coordinates) {
        fields.coordinates = given(options.coordinates, {});
    }
    if (options.observations) {
        fields.observations = given(options.observations, {});
    }
    if (options.listing) {
        fields.listing =
            given(options.listing, FolderOf(ResolveFileName(fields.coordinates, nameFolder)));
    }
    if (options.angleUnit) {
        state->Parameters.angleUnit = *options.angleUnit;
    }
    if (options.digits) {
        state->Parameters.significantDigits = *options.digits;
    }

    // The report lies where the command was started: Initialisation moves to
    // the coordinates file's folder.
    const std::string checkReport =
        options.checkReport ? ResolveFileName(Utf8ToCp1252(*options.checkReport)) : "";

    const bool loaded = Initialisation(*state, ui, fields, workSite, nameFolder);
    if (!loaded && ui.FailureCount() == 0) {
        return BatchFailed;  // an input file is missing: nothing was done
    }
    if (loaded) {
        RunOptions run;
        run.extendedDetermination = options.extended;
        for (const std::string& name : options.startPoints) {
            ui.SetStartPointText(Utf8ToCp1252(name));
            // A name that names no point runs nothing; the next one follows.
            if (StartPointChanged(*state, ui, run) == StartPointOutcome::UnknownPoint) {
                ui.Note(UnknownPointText(Utf8ToCp1252(name)));
            }
        }
        // The data check serves the report and the sketch's suspects alike.
        const DataCheckResult check =
            checkReport.empty() && !options.sketch ? DataCheckResult{} : RunDataCheck(*state);
        if (!checkReport.empty()) {
            try {
                WriteCheckReport(*state, check, checkReport);
            } catch (const IoFailure& failure) {
                ui.ReportFailure(failure.what());
            }
        }
        // The sketch of the network as the last run left it. A failure to
        // write it is reported and the results are written all the same.
        if (options.sketch) {
            try {
                WriteSketchSvg(BuildCheckedSketch(*state, check), sketchName);
            } catch (const std::exception& failure) {
                ui.ReportFailure(failure.what());
            }
        }
    }
    Quitter(*state, ui);
    return ui.FailureCount() > 0 ? BatchFailed : BatchDone;
}

}  // namespace

std::string BatchUsage() {
    return Utf8TextOf(texts::kBatchUsage);
}

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool outIsTerminal) {
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.error.empty()) {
        err << "calctopo-batch : " << parsed.error << "\n\n" << BatchUsage();
        err.flush();
        return BatchWrongUsage;
    }
    const BatchOptions& options = parsed.options;
    if (options.help) {
        out << BatchUsage();
        out.flush();
        return BatchDone;
    }
    if (options.version) {
        out << "calctopo-batch " << ProgramVersion() << '\n';
        out.flush();
        return BatchDone;
    }

    const bool colour = options.colour == "toujours" || (options.colour == "auto" && outIsTerminal);
    ConsoleServices ui(out, err, colour);
    try {
        return RunParsed(options, ui);
    } catch (const TableLimitReached& limit) {
        // The window shows the limit in a message box and ends the program;
        // here the box would repeat a line the reader wrote to this console.
        if (!limit.OnStandardOutput()) {
            ui.MessageBox(limit.what());
        }
        return BatchTableLimit;
    } catch (const std::exception& failure) {
        ui.ReportFailure(FailureMessage(failure));
        return BatchFailed;
    }
}

}  // namespace calctopo
