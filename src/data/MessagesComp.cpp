#include "data/MessagesComp.h"

#include "data/TextNumbers.h"

namespace calctopo {

const std::string& MsgFileDoesNotExist() {
    static const std::string text = Utf8ToCp1252("Le fichier %s n'existe pas ");
    return text;
}

const std::string& MsgCannotOpenFile() {
    static const std::string text = Utf8ToCp1252("L'ouverture du fichier %s est impossible ");
    return text;
}

const std::string& MsgObservationFieldError() {
    static const std::string text =
        Utf8ToCp1252("Erreur de lecture du fichier %s ligne %d champ %s : ");
    return text;
}

const std::string& MsgDirectionWithoutRound() {
    static const std::string text = Utf8ToCp1252("Azimut sans référence ligne : %d");
    return text;
}

const std::string& MsgPointComputed() {
    static const std::string text = Utf8ToCp1252("Point : %8s calculé");
    return text;
}

const std::string& MsgPointNotComputed() {
    static const std::string text = Utf8ToCp1252("Point : %8s non calculé");
    return text;
}

}  // namespace calctopo
