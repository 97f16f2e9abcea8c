#include "shell/app/Titles.h"

#include "data/UserTexts.h"

namespace calctopo {

std::string ApplicationTitle() {
    return TextOf(texts::kApplicationTitle);
}
std::string MainWindowCaption() {
    return TextOf(texts::kMainWindowCaption);
}

}  // namespace calctopo
