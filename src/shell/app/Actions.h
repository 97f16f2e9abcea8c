// The load and compute actions, free of any toolkit: the window and the batch
// command both call them.
#pragma once

#include <exception>
#include <string>

#include "shell/app/WorkSite.h"

namespace calctopo {

struct SurveyState;
class WindowServices;

// Options of a determination run, chosen by the user outside the work-site
// file (the window keeps them in the per-user settings, the batch command
// takes them from its arguments).
struct RunOptions {
    // After the ordinary run, the extended determination for the points it
    // left (ExtendedDetermination.h). Off: the run's output is the ordinary one.
    bool extendedDetermination = false;
};

// How to treat the work-site file during "Initialisation".
enum class WorkSiteWrite { Write, Skip };

// "Initialisation": copies the three names, checks both input files, moves to
// the coordinates file's folder, writes the work-site file, creates the
// listing, loads, enables the start-point list. Returns true when the data were
// loaded. A missing input file is told in a message box; an input/output
// failure goes to the failure report and ends the action. A table limit
// propagates as TableLimitReached.
//
// nameFolder: the absolute folder that relative names are taken from, the
// listing's included (WorkSiteFolder when the names come from a work site);
// empty: the coordinates and observations names are taken from the working
// directory and a relative listing name from the coordinates file's folder.
// workSiteWritten, when given, tells whether the work-site file was written,
// which it is even when a later step fails.
bool Initialisation(SurveyState& state, WindowServices& ui, const FileFields& fields,
                    WorkSiteWrite workSite = WorkSiteWrite::Write,
                    const std::string& nameFolder = {}, bool* workSiteWritten = nullptr);

// The listing's name as "Initialisation" creates it: ".vek" added to a name
// without extension (no '.' after its last '/' or '\'), any other name as it is.
std::string ListingNameWithExtension(const std::string& name);

enum class StartPointOutcome {
    Ran,           // the text names a point: the determination ran from it
    UnknownPoint,  // the text names no point: nothing ran
};

// The start-point action: runs the determination from the point that the
// start-point text names exactly, then, when the options ask for it, the
// extended determination; a text that names no point runs nothing.
StartPointOutcome StartPointChanged(SurveyState& state, WindowServices& ui,
                                    const RunOptions& options = {});

// "Point inconnu : <name>", what the user is told of a start point that names
// no point (Windows-1252).
std::string UnknownPointText(const std::string& name);

// "Quitter"/"Terminer" before the window closes: writes the ".new" file and the
// closing block of the listing. Returns false (after the failure report) when
// that failed; the window then stays open. After a load or a run that ended by
// a failure, nothing is written (a message box says why, the previous ".new"
// stays as it was) and the result is true: the program ends.
bool Quitter(SurveyState& state, WindowServices& ui);

// The message a failure that ends an action shows the user, in French: the
// program's own message for an input/output failure, a plain statement of what
// happened and what to do for any other (never the library's English text).
std::string FailureMessage(const std::exception& failure);

}  // namespace calctopo
