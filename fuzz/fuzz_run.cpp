// A whole run on a small network: "Initialisation", a determination from the
// first known point, "Quitter". The input is cut at the lines "~~~~" into
// A.COR, A.OBS and B.OBS (reached from A.OBS by "@b"); the angle unit is
// chosen by the input's length. Nothing may fail, every stored value must be
// finite, and the ".new" file and the listing must hold sane numbers only.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

#include "FuzzSupport.h"
#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/TextFile.h"
#include "shell/app/Actions.h"

using namespace calctopo;

namespace {

// "Initialisation" moves into the folder of the coordinates file; the fuzzer
// reads its corpus and writes its findings by names relative to where it
// started, so every input ends back there.
class WorkingDirectoryKept {
  public:
    WorkingDirectoryKept() : folder_(std::filesystem::current_path()) {}
    ~WorkingDirectoryKept() {
        std::error_code ignored;
        std::filesystem::current_path(folder_, ignored);
    }
    WorkingDirectoryKept(const WorkingDirectoryKept&) = delete;
    WorkingDirectoryKept& operator=(const WorkingDirectoryKept&) = delete;

  private:
    std::filesystem::path folder_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const WorkingDirectoryKept workingDirectory;
    const std::filesystem::path folder = fuzz::ScratchFolder();
    std::error_code ignored;
    std::filesystem::remove(folder / "A.new", ignored);

    auto state = std::make_unique<SurveyState>();
    state->Parameters.angleUnit = static_cast<std::int32_t>(size % 3) + 1;
    fuzz::KeptServices ui;
    FileFields fields;
    fields.coordinates =
        fuzz::WriteParts(fuzz::SplitParts(data, size, 3), {"A.COR", "A.OBS", "B.OBS"});
    fields.observations = NameFromPath(folder / "A.OBS");
    fields.listing = NameFromPath(folder / "A");
    if (!std::filesystem::exists(folder / "A.OBS")) {
        fuzz::WriteParts({""}, {"A.OBS"});  // both input files must exist
    }
    try {
        if (Initialisation(*state, ui, fields, WorkSiteWrite::Skip) && state->PointCount() > 0) {
            ui.startPointText = state->PointTable[1].name;
            StartPointChanged(*state, ui);
        }
        Quitter(*state, ui);
    } catch (const TableLimitReached&) {
        return 0;  // the program ends there, by design
    }
    if (!ui.failures.empty()) {
        fuzz::Finding("a failure was reported: " + ui.failures[0]);
    }
    fuzz::CheckShownTexts(ui, std::string_view(reinterpret_cast<const char*>(data), size));
    fuzz::CheckStoredValues(*state);
    state->ListingFile.Close();
    fuzz::CheckNewFile(fuzz::FileBytes(folder / "A.new"), state->Parameters.significantDigits);
    fuzz::CheckListing(fuzz::FileBytes(folder / "A.vek"));
    return 0;
}
