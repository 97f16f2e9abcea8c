// Window services that record every call in order, for the tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "data/WindowServices.h"

namespace calctopo::testing {

struct RecordedCall {
    enum class Kind {
        Affiche,
        Plain,
        AddStartPoint,
        ClearStartPoints,
        EnableStartPoint,
        MessageBox,
        Failure,
        StandardOutput
    };
    Kind kind;
    std::string text;                             // Windows-1252, as the logic gave it
    MessageKind messageKind = MessageKind::Info;  // for Affiche
};

class RecordingServices : public WindowServices {
  public:
    void Affiche(const std::string& text, MessageKind kind) override;
    void AppendPlain(const std::string& text) override;
    void AddStartPoint(const std::string& name) override;
    void ClearStartPoints() override;
    std::string StartPointText() override { return startPointText; }
    void EnableStartPoint() override;
    void MessageBox(const std::string& text) override;
    void ReportFailure(const std::string& message) override;
    void StandardOutput(const std::string& line) override;

    // Every call, in order.
    std::vector<RecordedCall> calls;
    // What the start-point list holds, in the order added (not sorted).
    std::vector<std::string> startPoints;
    bool startPointEnabled = false;
    // What StartPointText() returns.
    std::string startPointText;
    // Called after every Affiche is recorded, when set.
    std::function<void()> afterAffiche;

    // The texts of the calls of one kind, in order, converted to UTF-8 so tests
    // can compare them with literals.
    std::vector<std::string> Texts(RecordedCall::Kind kind) const;
    // The message-pane lines (Affiche and plain appends), in UTF-8.
    std::vector<std::string> PaneLines() const;
    // Pane lines of one message kind only (plain appends excluded), in UTF-8.
    std::vector<std::string> PaneLines(MessageKind kind) const;
};

}  // namespace calctopo::testing
