#include "data/MessagesComp.h"

#include "data/UserTexts.h"

namespace calctopo {

std::string Echoed(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return std::string(text);
    }
    return std::string(text.substr(0, limit)) + TextOf(texts::kEchoedLength, text.size());
}

std::string EchoedField(std::string_view field) {
    return Echoed(field, kMaxEchoedFieldLength);
}

std::string EchoedName(std::string_view name) {
    return Echoed(name, kMaxEchoedNameLength);
}

}  // namespace calctopo
