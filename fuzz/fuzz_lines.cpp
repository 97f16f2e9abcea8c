// The two line operations both readers share: SplitLine and
// ResolveIncludeName. The input's first line is the line (or the include
// field), the rest the name of the file being read.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "data/LIT.h"

using calctopo::fuzz::Finding;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t end = input.find('\n');
    const std::string line = input.substr(0, end);
    const std::string current = end == std::string::npos ? std::string() : input.substr(end + 1);

    std::vector<std::string> fields;
    const int count = calctopo::SplitLine(line, fields);
    const std::size_t kept = static_cast<std::size_t>(calctopo::kMaxLineFields);
    if (count < 0 || fields.size() != std::min(static_cast<std::size_t>(count), kept)) {
        Finding("SplitLine counted " + std::to_string(count) + " fields and kept " +
                std::to_string(fields.size()));
    }
    // Every field is a run of characters other than blanks and tabs, found in
    // the line in order.
    std::size_t from = 0;
    for (const std::string& field : fields) {
        if (field.empty() || field.find_first_of(" \t") != std::string::npos) {
            Finding("SplitLine gave a field with a blank: '" + field + "'");
        }
        const std::size_t at = line.find(field, from);
        if (at == std::string::npos) {
            Finding("SplitLine gave a field not in the line: '" + field + "'");
        }
        from = at + field.size();
    }

    const std::string resolved = calctopo::ResolveIncludeName(line, current);
    // The include's own letters a to z come back in upper case: no lower-case
    // letter of the include field survives unless the current name gave it.
    if (!line.empty() && line[0] == '@' && line.size() > 1 && current.empty()) {
        for (char c : resolved) {
            if (c >= 'a' && c <= 'z') {
                Finding("ResolveIncludeName kept a lower-case letter: '" + resolved + "'");
            }
        }
    }
    return 0;
}
