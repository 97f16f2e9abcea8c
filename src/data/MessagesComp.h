// The message texts shared by the readers, the load action and the driver.
// Each function returns a printf-style format, as Windows-1252 bytes.
#pragma once

#include <string>

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

}  // namespace calctopo
