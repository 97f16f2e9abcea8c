// What the fuzzing harnesses share: a scratch folder in memory, the cutting of
// one fuzzer input into several files, window services that keep what the
// logic says, and the checks every harness makes on what the program stored
// and wrote.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "data/WindowServices.h"

namespace calctopo {
struct SurveyState;
}

namespace calctopo::fuzz {

// A folder of this process's own, under /dev/shm when there is one (files in
// memory keep the harnesses quick), emptied on first use.
const std::filesystem::path& ScratchFolder();

// The input cut at every line "~~~~" into at most `count` parts; the last part
// keeps the rest of the input, separators included.
std::vector<std::string> SplitParts(const std::uint8_t* data, std::size_t size, std::size_t count);

// Writes part i as names[i] in the scratch folder and removes the files whose
// part is missing, so that nothing of an earlier input remains. Returns the
// full (Windows-1252) name of names[0].
std::string WriteParts(const std::vector<std::string>& parts,
                       const std::vector<std::string>& names);

// Window services that keep every line, box and failure.
class KeptServices : public WindowServices {
  public:
    void Affiche(const std::string& text, MessageKind kind) override;
    void AppendPlain(const std::string& text) override;
    void AddStartPoint(const std::string& name) override;
    void ClearStartPoints() override { startPoints.clear(); }
    std::string StartPointText() override { return startPointText; }
    void EnableStartPoint() override { enabled = true; }
    void MessageBox(const std::string& text) override;
    void ReportFailure(const std::string& message) override;
    void StandardOutput(const std::string& line) override;

    std::vector<std::string> lines;  // pane, boxes and standard output, in order
    std::vector<std::string> failures;
    std::vector<std::string> startPoints;
    std::string startPointText;
    bool enabled = false;
};

// Stops the process as a finding: libFuzzer keeps the input that led here.
[[noreturn]] void Finding(const std::string& what);

// Every text the user sees: never a NUL byte, never library English (unless
// the input itself holds that text, which the readers may echo).
void CheckShownTexts(const KeptServices& ui, std::string_view input);

// Every stored coordinate, observation value and derived sight value is finite
// and within the program's bounds.
void CheckStoredValues(const SurveyState& state);

// The ".new" file (written with `digits` decimals) and the listing hold only
// finite numbers of a sane size.
void CheckNewFile(const std::string& content, int digits);
void CheckListing(const std::string& content);

// The bytes of a file, "" when it does not exist.
std::string FileBytes(const std::filesystem::path& path);

}  // namespace calctopo::fuzz
