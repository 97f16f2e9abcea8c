#include "shell/app/Actions.h"

#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <system_error>

#include "data/Failures.h"
#include "data/FileNames.h"
#include "data/GLOBAL.h"
#include "data/MessagesComp.h"
#include "data/Saisie.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"
#include "engine/CALCUL.h"
#include "engine/ExtendedDetermination.h"
#include "engine/LoadPipeline.h"
#include "engine/RunObserver.h"
#include "output/ResidualListing.h"
#include "output/RunMessages.h"
#include "output/ecrit.h"

namespace calctopo {

namespace {

namespace fs = std::filesystem;

// What stands under an input file's name.
enum class InputFile { Missing, Regular, Special };

// A file (not a folder) exists under this name; Special when it is a device,
// a pipe or a socket, which the program does not read (it could block, or
// never end: /dev/zero).
InputFile InputFileKind(const std::string& name) {
    if (name.empty()) {
        return InputFile::Missing;
    }
    std::error_code error;
    const fs::file_status status = fs::status(NativePath(name), error);
    if (error || !fs::exists(status) || fs::is_directory(status)) {
        return InputFile::Missing;
    }
    return fs::is_regular_file(status) ? InputFile::Regular : InputFile::Special;
}

// Makes the folder of an absolute file name the working directory. A change
// that fails has no effect and is not reported.
void ChangeToFolderOf(const std::string& absoluteName) {
    if (absoluteName.empty()) {
        return;
    }
    const fs::path folder = NativePath(absoluteName).parent_path();
    if (folder.empty()) {
        return;
    }
    std::error_code ignored;
    fs::current_path(folder, ignored);
}

// Tells that an input file cannot be read; returns whether it can.
bool CheckInputFile(WindowServices& ui, const std::string& typedName, InputFile kind) {
    if (kind == InputFile::Missing) {
        ui.MessageBox(TextOf(texts::kFileDoesNotExist, EchoedName(typedName)));
    } else if (kind == InputFile::Special) {
        ui.MessageBox(TextOf(texts::kNotRegularFileCannotBeRead, EchoedName(typedName)));
    }
    return kind == InputFile::Regular;
}

// Holds the absolute input names in the state while the load reads them, and
// puts the names as typed back afterwards, even when the load ends by an
// exception. The load reads the names from the state, and everything else that
// shows or stores them (the window's fields, the work-site file) wants them as
// the user typed them.
class AbsoluteInputNames {
  public:
    AbsoluteInputNames(SurveyState& state, const std::string& coordinates,
                       const std::string& observations)
        : state_(state),
          typedCoordinates_(state.CoordinatesFileName),
          typedObservations_(state.ObservationsFileName) {
        state_.CoordinatesFileName = coordinates;
        state_.ObservationsFileName = observations;
    }
    ~AbsoluteInputNames() {
        state_.CoordinatesFileName = typedCoordinates_;
        state_.ObservationsFileName = typedObservations_;
    }
    AbsoluteInputNames(const AbsoluteInputNames&) = delete;
    AbsoluteInputNames& operator=(const AbsoluteInputNames&) = delete;

  private:
    SurveyState& state_;
    std::string typedCoordinates_;
    std::string typedObservations_;
};

// Why "Quitter" does not write the ".new" file after a failed action.
std::string ResultsKeptMessage(const SurveyState& state) {
    const std::string what = state.Interrupted == InterruptedAction::Load
                                 ? TextOf(texts::kLoadInterrupted)
                                 : TextOf(texts::kRunInterrupted);
    return TextOf(texts::kResultsKept, EchoedName(NewFileNameFor(state.ListingFileName)), what);
}

}  // namespace

bool Initialisation(SurveyState& state, WindowServices& ui, const FileFields& fields,
                    WorkSiteWrite workSite, const std::string& nameFolder, bool* workSiteWritten) {
    if (workSiteWritten != nullptr) {
        *workSiteWritten = false;
    }
    // The names as typed, kept even when the action stops for a missing file.
    state.CoordinatesFileName = fields.coordinates;
    state.ObservationsFileName = fields.observations;
    state.ListingFileName = fields.listing;

    // The input names are resolved once, against the work site's folder or the
    // working directory as it is now: the change of directory below would
    // otherwise make a relative name with a folder part mean one file for the
    // check and another for the load.
    const std::string coordinatesPath = ResolveFileName(state.CoordinatesFileName, nameFolder);
    const std::string observationsPath = ResolveFileName(state.ObservationsFileName, nameFolder);

    bool missingInput = false;
    if (!CheckInputFile(ui, state.CoordinatesFileName, InputFileKind(coordinatesPath))) {
        missingInput = true;
    }
    // The file dialogs open in the working directory: it follows the
    // coordinates file, or the observations file when that one is missing.
    if (CheckInputFile(ui, state.ObservationsFileName, InputFileKind(observationsPath))) {
        ChangeToFolderOf(coordinatesPath);
    } else {
        missingInput = true;
        ChangeToFolderOf(observationsPath);
    }
    if (missingInput) {
        return false;
    }

    try {
        if (workSite == WorkSiteWrite::Write) {
            Ecrit_Config(state);
            if (workSiteWritten != nullptr) {
                *workSiteWritten = true;
            }
        }
        // The work-site file keeps the listing name as typed; from here on the
        // name carries ".vek" when it had no extension, and the ".new" file
        // derives from it. A relative listing name lies in the work site's
        // folder, or without one in the folder just made current.
        if (!nameFolder.empty()) {
            state.ListingFileName = ResolveFileName(state.ListingFileName, nameFolder);
        }
        state.ListingFileName = ListingNameWithExtension(state.ListingFileName);
        state.ListingFile.Create(state.ListingFileName);

        // A new load lists every known point afresh.
        ui.ClearStartPoints();
        AbsoluteInputNames absoluteNames(state, coordinatesPath, observationsPath);
        LoadSurveyData(state, ui);
    } catch (const TableLimitReached&) {
        throw;  // ends the program: the edge handles it
    } catch (const std::exception& failure) {
        // IoFailure, or any other failure that leaves the load: reported, and
        // nothing done before it is undone.
        state.Interrupted = InterruptedAction::Load;
        ui.ReportFailure(FailureMessage(failure));
        return false;
    }

    state.Interrupted = InterruptedAction::None;
    ui.EnableStartPoint();
    return true;
}

std::string ListingNameWithExtension(const std::string& name) {
    return WithDefaultExtension(name, ".vek");
}

std::string UnknownPointText(const std::string& name) {
    return TextOf(texts::kUnknownPoint, name);
}

StartPointOutcome StartPointChanged(SurveyState& state, WindowServices& ui,
                                    const RunOptions& options) {
    // A text that names no point runs nothing: typing "S2" letter by letter,
    // or a backspace in "R096", must not rerun the start point chosen before.
    const int startPoint = FindStartPoint(state, ui.StartPointText());
    if (startPoint == 0) {
        return StartPointOutcome::UnknownPoint;
    }
    try {
        // What the run does reaches the user through its observers: the
        // listing first, so that a listing that cannot be written stops an
        // event before its pane line is shown.
        ResidualListingWriter listing;
        RunMessages messages(ui);
        RunObservers observers{&listing, &messages};
        RunDetermination(state, observers, startPoint);
        // The extended stage follows the ordinary run when asked for.
        if (options.extendedDetermination) {
            RunExtendedDetermination(state, ui, observers);
        }
    } catch (const TableLimitReached&) {
        throw;
    } catch (const std::exception& failure) {
        // A listing that can no longer be written, or any other failure, ends
        // this run: the tables stay as the run left them, and "Quitter" keeps
        // the previous ".new" file rather than write them.
        state.Interrupted = InterruptedAction::Run;
        ui.ReportFailure(FailureMessage(failure));
    }
    return StartPointOutcome::Ran;
}

bool Quitter(SurveyState& state, WindowServices& ui) {
    if (state.Interrupted != InterruptedAction::None) {
        // The results of a failed action would replace good ones: they are
        // not written, the user is told why, and the program ends all the same.
        if (state.PointCount() > 0) {
            ui.MessageBox(ResultsKeptMessage(state));
        }
        return true;
    }
    try {
        WriteCoordinatesOutput(state);
    } catch (const std::exception& failure) {
        ui.ReportFailure(FailureMessage(failure));
        return false;
    }
    return true;
}

std::string FailureMessage(const std::exception& failure) {
    if (dynamic_cast<const IoFailure*>(&failure) != nullptr) {
        return failure.what();  // already the program's own French message
    }
    if (dynamic_cast<const std::bad_alloc*>(&failure) != nullptr) {
        return TextOf(texts::kOutOfMemory);
    }
    // The library's own text (English, technical) is no help to a surveyor.
    return TextOf(texts::kInternalError);
}

}  // namespace calctopo
