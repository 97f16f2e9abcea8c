// The stop at a full table, as the tests check it.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/TextNumbers.h"

namespace calctopo::testing {

// Runs `action`, which must stop at a full table, and returns the message it
// stops with, in UTF-8. When it does not stop the test fails and "" comes back.
template <class Action>
std::string TableLimitMessage(Action&& action) {
    try {
        action();
    } catch (const TableLimitReached& limit) {
        return Cp1252ToUtf8(limit.what());
    }
    ADD_FAILURE() << "no table limit";
    return "";
}

}  // namespace calctopo::testing
