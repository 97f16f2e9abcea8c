// The load and compute actions, free of any toolkit: the window and the batch
// command both call them.
#pragma once

#include <exception>
#include <string>

#include "shell/app/WorkSite.h"

namespace calctopo {

struct SurveyState;
class WindowServices;

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

// The start-point action: runs the determination from the start-point text.
void StartPointChanged(SurveyState& state, WindowServices& ui);

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
