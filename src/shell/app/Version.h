// The program's version, shared by the batch command ("--version") and the
// window's about box.
#pragma once

#include <string>

namespace calctopo {

// The version of the build, as "major.minor.patch" (ASCII).
std::string ProgramVersion();

}  // namespace calctopo
