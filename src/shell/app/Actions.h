// The load and compute actions, free of any toolkit: the window and the batch
// command both call them.
#pragma once

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
bool Initialisation(SurveyState& state, WindowServices& ui, const FileFields& fields,
                    WorkSiteWrite workSite = WorkSiteWrite::Write);

// The start-point action: runs the determination from the start-point text,
// then, when the options ask for it and the run had a start point, the
// extended determination.
void StartPointChanged(SurveyState& state, WindowServices& ui, const RunOptions& options = {});

// "Quitter"/"Terminer" before the window closes: writes the ".new" file and the
// closing block of the listing. Returns false (after the failure report) when
// that failed; the window then stays open.
bool Quitter(SurveyState& state, WindowServices& ui);

}  // namespace calctopo
