// The window services: the only way the logic reaches the user.
//
// The desktop window implements them with widgets, the batch command with the
// console, and the tests with a recorder. All texts are Windows-1252 bytes;
// each implementation converts them at its edge.
#pragma once

#include <string>

namespace calctopo {

// Colour of a message-pane line.
enum class MessageKind : int {
    Info = 0,      // black: statistics, one line per point placed or levelled
    Problem = 1,   // red: read errors, points not computed
    Computed = 2,  // green: a point completed
};

class WindowServices {
  public:
    virtual ~WindowServices() = default;

    // Appends text as the new last line of the message pane, in the colour of kind.
    virtual void Affiche(const std::string& text, MessageKind kind) = 0;
    // Appends text as a new line without choosing a colour: it takes the last colour set.
    virtual void AppendPlain(const std::string& text) = 0;
    // Adds a name to the start-point list (kept sorted; a name added twice shows twice).
    virtual void AddStartPoint(const std::string& name) = 0;
    // Empties the start-point list (a new load lists every name afresh).
    virtual void ClearStartPoints() = 0;
    // The current text of the start-point list's edit part.
    virtual std::string StartPointText() = 0;
    // Enables the start-point list and its label.
    virtual void EnableStartPoint() = 0;
    // Shows a modal message box; returns when the user has closed it.
    virtual void MessageBox(const std::string& text) = 0;
    // Reports a failure that ended a user action.
    virtual void ReportFailure(const std::string& message) = 0;
    // A line the readers write to the standard output stream.
    virtual void StandardOutput(const std::string& line) = 0;
};

}  // namespace calctopo
