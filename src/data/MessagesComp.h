// Text from an input file echoed in a message, cut to a sane length. The
// messages themselves are in data/UserTexts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace calctopo {

// Text from an input file echoed in a message is cut when it is long, so that
// a field of megabytes (a file with no line ends, a binary file) does not
// flood the pane or the console: what is kept is followed by its full length.
//
// A field: longer than any point name (8) or number a surveyor writes.
constexpr std::size_t kMaxEchoedFieldLength = 80;
// A file name: longer than the names file systems accept (4096 on Linux).
constexpr std::size_t kMaxEchoedNameLength = 4096;

// The text as it stands when it is at most `limit` characters, otherwise its
// first `limit` characters followed by "... (N caractères)".
std::string Echoed(std::string_view text, std::size_t limit);
// A field of an input line, for an error message.
std::string EchoedField(std::string_view field);
// A file name, for a message.
std::string EchoedName(std::string_view name);

}  // namespace calctopo
