// The work-site file (".bvk"): the three file names and the computation
// parameters of a work site, shared with the sister adjustment program.
#pragma once

#include <string>

// ResolveFileName and WithoutExtension, used with the work-site names.
#include "data/FileNames.h"

namespace calctopo {

struct SurveyState;
class WindowServices;

// What the three file-name fields of the main window show.
struct FileFields {
    std::string coordinates;   // LEPoint
    std::string observations;  // LEMes
    std::string listing;       // LELis
};

// Reads the work-site file WorkSiteFileName into the state; on failure shows
// "Erreur d'ouverture du fichier de configuration" (values read so far are
// kept). Returns what the three fields must show (the listing without extension).
FileFields Lit_Config(SurveyState& state, WindowServices& ui);

// Writes the work-site file WorkSiteFileName from the state. Throws IoFailure.
void Ecrit_Config(const SurveyState& state);
// The same with the three names given (as the fields show them) in place of
// those the state holds. Throws IoFailure.
void Ecrit_Config(const SurveyState& state, const FileFields& names);

// A real in the 23-character scientific form of the work-site file
// (" 4.50000000000000E+0001").
std::string FormatWorkSiteReal(long double value);

// The folder of the work-site file WorkSiteFileName, absolute: the folder that
// the relative names a work-site file holds are taken from. Empty when no work
// site is named.
std::string WorkSiteFolder(const SurveyState& state);

}  // namespace calctopo
