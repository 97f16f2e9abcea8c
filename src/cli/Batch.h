// calctopo-batch: the load and compute actions without a window.
//
//   calctopo-batch [--chantier F.bvk] [--coordonnees F] [--observations F] [--sortie F]
//                  [--unite 1|2|3] [--chiffres N] [--couleur auto|toujours|jamais]
//                  [--controle F] [--croquis F.svg] [--etendu]
//                  --depart NOM [--depart NOM]...
//
// Opens the work site when one is named, lets the other options override its
// names and parameters, runs "Initialisation" (writing the work-site file back
// only when one was named), chooses each start point in turn (each run
// followed by the extended determination with --etendu), writes the data
// check when --controle names a file and the network sketch when --croquis
// names one, then "Quitter".
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace calctopo {

// Exit statuses of the batch command.
enum BatchStatus : int {
    BatchDone = 0,
    BatchFailed = 1,      // a missing input file, or a failure report
    BatchWrongUsage = 2,  // the usage text is on the error stream
    BatchTableLimit = 3,  // a table limit ended the program
};

// Runs the batch command. args: the arguments after the program's name, in
// UTF-8. out: the message pane (UTF-8 lines); err: message boxes, failure
// reports, the readers' lines and the usage text. outIsTerminal: whether out is
// a terminal, for "--couleur auto". Returns the exit status.
int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             bool outIsTerminal = false);

// The usage text, in UTF-8.
std::string BatchUsage();

}  // namespace calctopo
