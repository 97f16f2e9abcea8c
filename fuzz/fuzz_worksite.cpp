// The work-site reader, and the round trip through the writer: whatever a
// work-site file held, the file the program writes from it must read back
// without an error, to the same names, and writing what was read back must
// give the same bytes (reals keep their 15 digits).
#include <cstdint>
#include <memory>

#include "FuzzSupport.h"
#include "data/GLOBAL.h"
#include "data/TextFile.h"
#include "shell/app/WorkSite.h"

using namespace calctopo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto first = std::make_unique<SurveyState>();
    fuzz::KeptServices ui;
    first->WorkSiteFileName =
        fuzz::WriteParts({std::string(reinterpret_cast<const char*>(data), size)}, {"A.BVK"});
    Lit_Config(*first, ui);
    fuzz::CheckShownTexts(ui, std::string_view(reinterpret_cast<const char*>(data), size));

    // Written from what was read, whether or not the reading succeeded.
    const std::string copy = NameFromPath(fuzz::ScratchFolder() / "B.BVK");
    first->WorkSiteFileName = copy;
    Ecrit_Config(*first);
    const std::string written = fuzz::FileBytes(fuzz::ScratchFolder() / "B.BVK");

    auto second = std::make_unique<SurveyState>();
    second->WorkSiteFileName = copy;
    fuzz::KeptServices quiet;
    Lit_Config(*second, quiet);
    // (a warning about a unit or digits out of range may come again)
    for (const std::string& line : quiet.lines) {
        if (line.rfind("Erreur d'ouverture du fichier de configuration", 0) == 0) {
            fuzz::Finding("the work-site file written does not read back");
        }
    }
    if (second->CoordinatesFileName != first->CoordinatesFileName ||
        second->ObservationsFileName != first->ObservationsFileName ||
        second->ListingFileName != first->ListingFileName) {
        fuzz::Finding("a file name does not read back from the work-site file");
    }
    Ecrit_Config(*second);
    if (fuzz::FileBytes(fuzz::ScratchFolder() / "B.BVK") != written) {
        fuzz::Finding("the work-site file does not read back to its own values");
    }
    return 0;
}
