#include "cli/ConsoleServices.h"

#include <algorithm>

#include "data/TextNumbers.h"

namespace calctopo {

ConsoleServices::ConsoleServices(std::ostream& pane, std::ostream& errors, bool colour)
    : pane_(pane), errors_(errors), colour_(colour) {}

void ConsoleServices::Affiche(const std::string& text, MessageKind kind) {
    lastKind_ = kind;
    WritePaneLine(text);
}

void ConsoleServices::AppendPlain(const std::string& text) {
    // No colour is chosen: the line takes the colour of the line before it.
    WritePaneLine(text);
}

void ConsoleServices::WritePaneLine(const std::string& text) {
    const std::string line = Cp1252ToUtf8(text);
    if (colour_ && lastKind_ == MessageKind::Problem) {
        pane_ << "\x1b[31m" << line << "\x1b[0m\n";
    } else if (colour_ && lastKind_ == MessageKind::Computed) {
        pane_ << "\x1b[32m" << line << "\x1b[0m\n";
    } else {
        pane_ << line << '\n';
    }
    pane_.flush();
}

void ConsoleServices::AddStartPoint(const std::string& name) {
    // The list stays sorted, a name added twice shows twice.
    startPoints_.insert(std::upper_bound(startPoints_.begin(), startPoints_.end(), name), name);
}

void ConsoleServices::ClearStartPoints() {
    startPoints_.clear();
}

void ConsoleServices::MessageBox(const std::string& text) {
    WriteErrorLine(text);
}

void ConsoleServices::ReportFailure(const std::string& message) {
    ++failures_;
    WriteErrorLine(message);
}

void ConsoleServices::Note(const std::string& text) {
    WriteErrorLine(text);
}

void ConsoleServices::StandardOutput(const std::string& line) {
    WriteErrorLine(line);
}

void ConsoleServices::WriteErrorLine(const std::string& text) {
    errors_ << Cp1252ToUtf8(text) << '\n';
    errors_.flush();
}

}  // namespace calctopo
