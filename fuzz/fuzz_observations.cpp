// The observations reader with its includes, after a small coordinates file
// of its own. The input is cut at the lines "~~~~" into A.OBS (the file read),
// B.OBS and C.OBS, which A.OBS reaches by "@b" and "@c"; a fourth part, if
// any, is the coordinates file read first.
#include <cstdint>
#include <memory>

#include "FuzzSupport.h"
#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/LIT.h"
#include "data/TextFile.h"

using namespace calctopo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto state = std::make_unique<SurveyState>();
    fuzz::KeptServices ui;
    const std::vector<std::string> parts = fuzz::SplitParts(data, size, 4);
    state->ObservationsFileName = fuzz::WriteParts(parts, {"A.OBS", "B.OBS", "C.OBS", "A.COR"});
    state->CoordinatesFileName = NameFromPath(fuzz::ScratchFolder() / "A.COR");
    try {
        if (parts.size() == 4) {
            LoadKnownPoints(*state, ui);
        }
        LoadObservations(*state, ui);
    } catch (const TableLimitReached&) {
        return 0;  // the program ends there, by design
    }
    fuzz::CheckShownTexts(ui, std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::CheckStoredValues(*state);
    return 0;
}
