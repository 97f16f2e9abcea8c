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
    explicit TableLimitReached(const std::string& message) : std::runtime_error(message) {}
};

class IoFailure : public std::runtime_error {
  public:
    explicit IoFailure(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace calctopo
