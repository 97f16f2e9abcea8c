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

std::string Echoed(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return std::string(text);
    }
    static const std::string format = Utf8ToCp1252("... (%zu caractères)");
    return std::string(text.substr(0, limit)) + Format(format.c_str(), text.size());
}

std::string EchoedField(std::string_view field) {
    return Echoed(field, kMaxEchoedFieldLength);
}

std::string EchoedName(std::string_view name) {
    return Echoed(name, kMaxEchoedNameLength);
}

}  // namespace calctopo
