// The message texts shared by the readers, the load action and the driver.
// Each function returns a printf-style format, as Windows-1252 bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace calctopo {

// "Le fichier %s n'existe pas " (message box of the load action).
const std::string& MsgFileDoesNotExist();
// "L'ouverture du fichier %s est impossible " (unopenable observations file).
const std::string& MsgCannotOpenFile();
// "Erreur de lecture du fichier %s ligne %d champ %s : " (bad observation field).
const std::string& MsgObservationFieldError();
// "Azimut sans référence ligne : %d" (direction outside its station's round).
const std::string& MsgDirectionWithoutRound();
// "Point : %8s calculé" (a point completed).
const std::string& MsgPointComputed();
// "Point : %8s non calculé" (a point left incomplete).
const std::string& MsgPointNotComputed();

// Text from an input file echoed in a message is cut when it is long, so that
// a field of megabytes (a file with no line ends, a binary file) does not
// flood the pane or the console: what is kept is followed by its full length.
//
// A field: longer than any point name (8) or number a surveyor writes.
constexpr std::size_t kMaxEchoedFieldLength = 80;
// A file name: longer than the names file systems accept (4096 on Linux).
constexpr std::size_t kMaxEchoedNameLength = 4096;

// The text as it stands when it is at most `limit` characters, otherwise its
// first `limit` characters followed by "... (N caractères)".
std::string Echoed(std::string_view text, std::size_t limit);
// A field of an input line, for an error message.
std::string EchoedField(std::string_view field);
// A file name, for a message.
std::string EchoedName(std::string_view name);

}  // namespace calctopo
