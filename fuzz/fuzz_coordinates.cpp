// The coordinates reader with its includes. The input is cut at the lines
// "~~~~" into A.COR (the file read), B.COR and C.COR, which A.COR reaches by
// "@b" and "@c".
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
    state->CoordinatesFileName =
        fuzz::WriteParts(fuzz::SplitParts(data, size, 3), {"A.COR", "B.COR", "C.COR"});
    state->ListingFile.Create(NameFromPath(fuzz::ScratchFolder() / "A.VEK"));
    try {
        LoadKnownPoints(*state, ui);
    } catch (const TableLimitReached&) {
        return 0;  // the program ends there, by design
    }
    fuzz::CheckShownTexts(ui, std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::CheckStoredValues(*state);
    if (static_cast<int>(ui.startPoints.size()) != state->PointCount()) {
        fuzz::Finding("a known point is missing from the start-point list");
    }
    return 0;
}
