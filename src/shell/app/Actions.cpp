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
#include "engine/ExtendedDetermination.h"
#include "output/ecrit.h"

namespace calctopo {

namespace {

namespace fs = std::filesystem;

// The name made absolute against the current working directory (and its "."
// and ".." parts resolved by name). An empty name stays empty: it names no
// file. A name that cannot be made absolute (the working directory is gone) is
// kept as typed; the existence check then decides. Names in and out are
// Windows-1252, like every name the state holds.
std::string AbsoluteName(const std::string& name) {
    if (name.empty()) {
        return name;
    }
    std::error_code error;
    const fs::path absolute = fs::absolute(NativePath(name), error);
    if (error) {
        return name;
    }
    return NameFromPath(absolute.lexically_normal());
}

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
                    WorkSiteWrite workSite) {
    // The names as typed, kept even when the action stops for a missing file.
    state.CoordinatesFileName = fields.coordinates;
    state.ObservationsFileName = fields.observations;
    state.ListingFileName = fields.listing;

    // The input names are resolved once, against the working directory as it is
    // now: the change of directory below would otherwise make a relative name
    // with a folder part mean one file for the check and another for the load.
    const std::string coordinatesPath = AbsoluteName(state.CoordinatesFileName);
    const std::string observationsPath = AbsoluteName(state.ObservationsFileName);

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
        }
        // The work-site file keeps the listing name as typed; from here on the
        // name carries ".vek" when it had no extension, and the ".new" file
        // derives from it. A relative listing name lies in the folder just made
        // current.
        if (!HasExtension(state.ListingFileName)) {
            state.ListingFileName += ".vek";
        }
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

void StartPointChanged(SurveyState& state, WindowServices& ui, const RunOptions& options) {
    try {
        RunDetermination(state, ui);
        // A text that names no point before any start point was matched runs
        // nothing; the extended stage follows only a run that took place.
        const bool ran = state.StartPointIndex >= 1 && state.StartPointIndex <= state.PointCount();
        if (options.extendedDetermination && ran) {
            RunExtendedDetermination(state, ui);
        }
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
