#include "support/RecordingServices.h"

#include "data/TextNumbers.h"

namespace calctopo::testing {

void RecordingServices::Affiche(const std::string& text, MessageKind kind) {
    calls.push_back({RecordedCall::Kind::Affiche, text, kind});
    if (afterAffiche) {
        afterAffiche();
    }
}
void RecordingServices::AppendPlain(const std::string& text) {
    calls.push_back({RecordedCall::Kind::Plain, text});
}
void RecordingServices::AddStartPoint(const std::string& name) {
    calls.push_back({RecordedCall::Kind::AddStartPoint, name});
    startPoints.push_back(name);
}
void RecordingServices::ClearStartPoints() {
    calls.push_back({RecordedCall::Kind::ClearStartPoints, {}});
    startPoints.clear();
}
void RecordingServices::EnableStartPoint() {
    calls.push_back({RecordedCall::Kind::EnableStartPoint, {}});
    startPointEnabled = true;
}
void RecordingServices::MessageBox(const std::string& text) {
    calls.push_back({RecordedCall::Kind::MessageBox, text});
}
void RecordingServices::ReportFailure(const std::string& message) {
    calls.push_back({RecordedCall::Kind::Failure, message});
}
void RecordingServices::StandardOutput(const std::string& line) {
    calls.push_back({RecordedCall::Kind::StandardOutput, line});
}

std::vector<std::string> RecordingServices::Texts(RecordedCall::Kind kind) const {
    std::vector<std::string> texts;
    for (const auto& call : calls) {
        if (call.kind == kind) {
            texts.push_back(Cp1252ToUtf8(call.text));
        }
    }
    return texts;
}

std::vector<std::string> RecordingServices::PaneLines() const {
    std::vector<std::string> lines;
    for (const auto& call : calls) {
        if (call.kind == RecordedCall::Kind::Affiche || call.kind == RecordedCall::Kind::Plain) {
            lines.push_back(Cp1252ToUtf8(call.text));
        }
    }
    return lines;
}

std::vector<std::string> RecordingServices::PaneLines(MessageKind kind) const {
    std::vector<std::string> lines;
    for (const auto& call : calls) {
        if (call.kind == RecordedCall::Kind::Affiche && call.messageKind == kind) {
            lines.push_back(Cp1252ToUtf8(call.text));
        }
    }
    return lines;
}

}  // namespace calctopo::testing
