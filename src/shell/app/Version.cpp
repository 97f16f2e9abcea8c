#include "shell/app/Version.h"

#include "shell/app/VersionNumber.h"

namespace calctopo {

std::string ProgramVersion() {
    return CALCTOPO_VERSION_TEXT;
}

}  // namespace calctopo
