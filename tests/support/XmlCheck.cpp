#include "support/XmlCheck.h"

#include <cstdint>
#include <functional>

namespace calctopo::testing {

namespace {

bool IsNameStart(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || byte >= 0x80;
}
bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A code point XML 1.0 allows in a document.
bool IsXmlChar(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class Parser {
  public:
    explicit Parser(const std::string& text) : s_(text) {}

    XmlDocument Parse() {
        XmlDocument document;
        if (!CheckCharacters()) {
            document.error = error_;
            return document;
        }
        if (s_.compare(0, 5, "<?xml") == 0) {
            const std::size_t end = s_.find("?>");
            if (end == std::string::npos) {
                return Fail("unclosed declaration");
            }
            i_ = end + 2;
        }
        SkipMisc();
        if (i_ >= s_.size() || s_[i_] != '<') {
            return Fail("no root element");
        }
        auto root = Element();
        if (!root) {
            document.error = error_;
            return document;
        }
        SkipMisc();
        if (i_ != s_.size()) {
            return Fail("content after the root element");
        }
        document.root = std::move(root);
        return document;
    }

  private:
    XmlDocument Fail(const std::string& why) const {
        XmlDocument document;
        document.error = why + " at " + std::to_string(i_);
        return document;
    }
    bool Error(const std::string& why) {
        error_ = why + " at " + std::to_string(i_);
        return false;
    }

    // Valid UTF-8 made of characters XML allows.
    bool CheckCharacters() {
        for (std::size_t k = 0; k < s_.size();) {
            const auto b = static_cast<unsigned char>(s_[k]);
            std::uint32_t c = 0;
            int more = 0;
            if (b < 0x80) {
                c = b;
            } else if ((b & 0xE0) == 0xC0) {
                c = b & 0x1F;
                more = 1;
            } else if ((b & 0xF0) == 0xE0) {
                c = b & 0x0F;
                more = 2;
            } else if ((b & 0xF8) == 0xF0) {
                c = b & 0x07;
                more = 3;
            } else {
                i_ = k;
                return Error("invalid UTF-8");
            }
            for (int m = 1; m <= more; ++m) {
                if (k + m >= s_.size() || (static_cast<unsigned char>(s_[k + m]) & 0xC0) != 0x80) {
                    i_ = k;
                    return Error("invalid UTF-8");
                }
                c = (c << 6) | (static_cast<unsigned char>(s_[k + m]) & 0x3F);
            }
            if (!IsXmlChar(c)) {
                i_ = k;
                return Error("character not allowed in XML");
            }
            k += static_cast<std::size_t>(more) + 1;
        }
        return true;
    }

    void SkipMisc() {
        for (;;) {
            while (i_ < s_.size() && IsSpace(s_[i_])) {
                ++i_;
            }
            if (s_.compare(i_, 4, "<!--") == 0) {
                const std::size_t end = s_.find("-->", i_ + 4);
                i_ = end == std::string::npos ? s_.size() : end + 3;
                continue;
            }
            return;
        }
    }

    bool Name(std::string& name) {
        if (i_ >= s_.size() || !IsNameStart(s_[i_])) {
            return Error("name expected");
        }
        const std::size_t start = i_;
        while (i_ < s_.size() && IsNameChar(s_[i_])) {
            ++i_;
        }
        name = s_.substr(start, i_ - start);
        return true;
    }

    // Character data up to `stop` (not included), with references resolved.
    bool Characters(char stop, std::string& out) {
        while (i_ < s_.size() && s_[i_] != stop && !(stop == '<' && s_[i_] == '<')) {
            if (s_[i_] == '<') {
                return Error("'<' in an attribute value");
            }
            if (s_[i_] != '&') {
                out += s_[i_++];
                continue;
            }
            const std::size_t end = s_.find(';', i_);
            if (end == std::string::npos) {
                return Error("unterminated reference");
            }
            const std::string ref = s_.substr(i_ + 1, end - i_ - 1);
            static const std::map<std::string, char> kEntities = {
                {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
            if (const auto found = kEntities.find(ref); found != kEntities.end()) {
                out += found->second;
            } else if (ref.size() > 1 && ref[0] == '#') {
                const bool hex = ref[1] == 'x';
                const std::string digits = ref.substr(hex ? 2 : 1);
                if (digits.empty() || digits.size() > 8) {
                    return Error("bad character reference");
                }
                std::uint32_t c = 0;
                for (const char d : digits) {
                    const int v = (d >= '0' && d <= '9')          ? d - '0'
                                  : hex && (d >= 'a' && d <= 'f') ? d - 'a' + 10
                                  : hex && (d >= 'A' && d <= 'F') ? d - 'A' + 10
                                                                  : -1;
                    if (v < 0) {
                        return Error("bad character reference");
                    }
                    c = c * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
                }
                if (!IsXmlChar(c)) {
                    return Error("reference to a character not allowed in XML");
                }
                AppendUtf8(out, c);
            } else {
                return Error("unknown entity &" + ref + ";");
            }
            i_ = end + 1;
        }
        return true;
    }

    std::unique_ptr<XmlElement> Element() {
        auto element = std::make_unique<XmlElement>();
        ++i_;  // '<'
        if (!Name(element->name)) {
            return nullptr;
        }
        for (;;) {
            const std::size_t before = i_;
            while (i_ < s_.size() && IsSpace(s_[i_])) {
                ++i_;
            }
            if (i_ >= s_.size()) {
                Error("unclosed start tag");
                return nullptr;
            }
            if (s_.compare(i_, 2, "/>") == 0) {
                i_ += 2;
                return element;
            }
            if (s_[i_] == '>') {
                ++i_;
                break;
            }
            if (i_ == before) {
                Error("blank expected before an attribute");
                return nullptr;
            }
            std::string key;
            if (!Name(key)) {
                return nullptr;
            }
            if (i_ >= s_.size() || s_[i_] != '=') {
                Error("'=' expected");
                return nullptr;
            }
            ++i_;
            if (i_ >= s_.size() || (s_[i_] != '"' && s_[i_] != '\'')) {
                Error("quoted value expected");
                return nullptr;
            }
            const char quote = s_[i_++];
            std::string value;
            if (!Characters(quote, value)) {
                return nullptr;
            }
            if (i_ >= s_.size()) {
                Error("unclosed attribute value");
                return nullptr;
            }
            ++i_;  // closing quote
            if (!element->attributes.emplace(key, value).second) {
                Error("attribute " + key + " repeated");
                return nullptr;
            }
        }
        // Content.
        for (;;) {
            if (!Characters('<', element->text)) {
                return nullptr;
            }
            if (i_ >= s_.size()) {
                Error("element " + element->name + " not closed");
                return nullptr;
            }
            if (s_.compare(i_, 4, "<!--") == 0) {
                const std::size_t end = s_.find("-->", i_ + 4);
                if (end == std::string::npos) {
                    Error("unclosed comment");
                    return nullptr;
                }
                i_ = end + 3;
                continue;
            }
            if (s_.compare(i_, 2, "</") == 0) {
                i_ += 2;
                std::string name;
                if (!Name(name)) {
                    return nullptr;
                }
                while (i_ < s_.size() && IsSpace(s_[i_])) {
                    ++i_;
                }
                if (name != element->name || i_ >= s_.size() || s_[i_] != '>') {
                    Error("end tag " + name + " does not close " + element->name);
                    return nullptr;
                }
                ++i_;
                return element;
            }
            auto child = Element();
            if (!child) {
                return nullptr;
            }
            element->children.push_back(std::move(child));
        }
    }

    const std::string& s_;
    std::size_t i_ = 0;
    std::string error_;
};

}  // namespace

std::string XmlElement::Attribute(const std::string& key) const {
    const auto found = attributes.find(key);
    return found == attributes.end() ? std::string() : found->second;
}

std::vector<const XmlElement*> XmlElement::All(const std::string& elementName) const {
    std::vector<const XmlElement*> found;
    std::function<void(const XmlElement&)> walk = [&](const XmlElement& element) {
        if (element.name == elementName) {
            found.push_back(&element);
        }
        for (const auto& child : element.children) {
            walk(*child);
        }
    };
    walk(*this);
    return found;
}

const XmlElement* XmlElement::ById(const std::string& id) const {
    if (Attribute("id") == id) {
        return this;
    }
    for (const auto& child : children) {
        if (const XmlElement* found = child->ById(id)) {
            return found;
        }
    }
    return nullptr;
}

std::string XmlElement::AllText() const {
    std::string all = text;
    for (const auto& child : children) {
        all += child->AllText();
    }
    return all;
}

XmlDocument ParseXml(const std::string& text) {
    return Parser(text).Parse();
}

}  // namespace calctopo::testing
