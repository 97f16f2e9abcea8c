// The two kinds of failure that leave a procedure of the logic by exception.
//
// TableLimitReached: a table of the survey state is full. The program's edge
// (the window or the batch command) shows what() in a message box and ends the
// program. Tests catch it instead.
//
// IoFailure: an input/output or number-conversion failure that ends a user
// action. The edge shows what() through the failure report and waits for the
// next action; nothing done before the failure is undone.
//
// Both messages are Windows-1252 bytes, like every text of the core.
#pragma once

#include <stdexcept>
#include <string>

namespace calctopo {

class TableLimitReached : public std::runtime_error {
  public:
    // onStandardOutput: the reader has already written the message to the
    // standard output stream, so an edge whose message boxes go to the same
    // console (the batch command) does not repeat it.
    explicit TableLimitReached(const std::string& message, bool onStandardOutput = false)
        : std::runtime_error(message), onStandardOutput_(onStandardOutput) {}
    bool OnStandardOutput() const { return onStandardOutput_; }

  private:
    bool onStandardOutput_;
};

class IoFailure : public std::runtime_error {
  public:
    explicit IoFailure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace calctopo
