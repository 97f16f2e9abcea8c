// Window services on a console: the batch command's message pane is standard
// output, its message boxes and failure reports standard error. Texts are
// converted from Windows-1252 to UTF-8 here, at the edge.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "data/WindowServices.h"

namespace calctopo {

class ConsoleServices : public WindowServices {
  public:
    // pane: where message-pane lines go; errors: message boxes, failure reports
    // and the readers' standard-output lines. colour: ANSI colours on pane lines.
    ConsoleServices(std::ostream& pane, std::ostream& errors, bool colour);

    void Affiche(const std::string& text, MessageKind kind) override;
    void AppendPlain(const std::string& text) override;
    void AddStartPoint(const std::string& name) override;
    void ClearStartPoints() override;
    std::string StartPointText() override { return startPointText_; }
    void EnableStartPoint() override { enabled_ = true; }
    void MessageBox(const std::string& text) override;
    void ReportFailure(const std::string& message) override;
    void StandardOutput(const std::string& line) override;

    // A line of the command's own on the error stream (not a message box).
    void Note(const std::string& text);

    // The batch command types a start point as the user would.
    void SetStartPointText(const std::string& text) { startPointText_ = text; }
    bool StartPointEnabled() const { return enabled_; }
    const std::vector<std::string>& StartPoints() const { return startPoints_; }
    int FailureCount() const { return failures_; }

  private:
    void WritePaneLine(const std::string& text);
    void WriteErrorLine(const std::string& text);

    std::ostream& pane_;
    std::ostream& errors_;
    bool colour_;
    MessageKind lastKind_ = MessageKind::Info;
    std::string startPointText_;
    std::vector<std::string> startPoints_;
    bool enabled_ = false;
    int failures_ = 0;
};

}  // namespace calctopo
