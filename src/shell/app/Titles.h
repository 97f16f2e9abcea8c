// Captions the window and the batch command share.
#pragma once

#include <string>

namespace calctopo {

// The application title (task bar, message boxes), Windows-1252.
std::string ApplicationTitle();
// The caption of the main window, Windows-1252.
std::string MainWindowCaption();

}  // namespace calctopo
