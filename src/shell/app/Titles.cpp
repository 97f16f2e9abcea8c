#include "shell/app/Titles.h"

#include "data/TextNumbers.h"

namespace calctopo {

std::string ApplicationTitle() {
    return Utf8ToCp1252("Calculs topo approchés");
}
std::string MainWindowCaption() {
    return Utf8ToCp1252("Calcul topographique approché");
}

}  // namespace calctopo
