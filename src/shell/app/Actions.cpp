#include "shell/app/Actions.h"

#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/LoadPipeline.h"
#include "data/MessagesComp.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "data/WindowServices.h"
#include "engine/CALCUL.h"
#include "output/ecrit.h"

namespace calctopo {

namespace {

namespace fs = std::filesystem;

// A file (not a folder) exists under this name.
bool FileExists(const std::string& name) {
    if (name.empty()) {
        return false;
    }
    std::error_code error;
    const fs::file_status status = fs::status(NativePath(name), error);
    return !error && fs::exists(status) && !fs::is_directory(status);
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

// True when the name has an extension: a '.' after its last '/' or '\'.
bool HasExtension(const std::string& name) {
    const std::size_t separator = name.find_last_of("/\\");
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) {
        return false;
    }
    return separator == std::string::npos || dot > separator;
}

void ShowMissingFile(WindowServices& ui, const std::string& typedName) {
    ui.MessageBox(Format(MsgFileDoesNotExist().c_str(), typedName.c_str()));
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
    if (!FileExists(coordinatesPath)) {
        ShowMissingFile(ui, state.CoordinatesFileName);
        missingInput = true;
    }
    // The file dialogs open in the working directory: it follows the
    // coordinates file, or the observations file when that one is missing.
    if (FileExists(observationsPath)) {
        ChangeToFolderOf(coordinatesPath);
    } else {
        ShowMissingFile(ui, state.ObservationsFileName);
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
        ui.ReportFailure(failure.what());
        return false;
    }

    ui.EnableStartPoint();
    return true;
}

std::string ListingNameWithExtension(const std::string& name) {
    return HasExtension(name) ? name : name + ".vek";
}

std::string UnknownPointText(const std::string& name) {
    return "Point inconnu : " + name;
}

StartPointOutcome StartPointChanged(SurveyState& state, WindowServices& ui) {
    // A text that names no point runs nothing: typing "S2" letter by letter,
    // or a backspace in "R096", must not rerun the start point chosen before.
    if (FindPoint(state, ui.StartPointText()) == 0) {
        return StartPointOutcome::UnknownPoint;
    }
    try {
        RunDetermination(state, ui);
    } catch (const TableLimitReached&) {
        throw;
    } catch (const IoFailure& failure) {
        // A listing that can no longer be written ends the run.
        ui.ReportFailure(failure.what());
    } catch (const std::exception& failure) {
        // Any other failure ends this run only: the tables stay as the run
        // left them and the user can still quit with the results written.
        ui.ReportFailure(failure.what());
    }
    return StartPointOutcome::Ran;
}

bool Quitter(SurveyState& state, WindowServices& ui) {
    try {
        WriteCoordinatesOutput(state);
    } catch (const IoFailure& failure) {
        ui.ReportFailure(failure.what());
        return false;
    }
    return true;
}

}  // namespace calctopo
