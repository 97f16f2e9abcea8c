// A small XML reader for the tests of the SVG sketch, with no library behind
// it: it checks that a document is well-formed (one root, tags closed in
// order, attributes quoted and not repeated, only the five predefined entities
// and character references, valid UTF-8, no character XML 1.0 forbids) and
// gives back the tree of elements.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace calctopo::testing {

struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;  // values with entities resolved
    std::string text;                               // character data directly inside, resolved
    std::vector<std::unique_ptr<XmlElement>> children;

    // The attribute's value, "" when absent.
    std::string Attribute(const std::string& key) const;
    // Every element below this one (itself included) with that name, in document order.
    std::vector<const XmlElement*> All(const std::string& elementName) const;
    // The first element below this one (itself included) whose id is `id`, or null.
    const XmlElement* ById(const std::string& id) const;
    // The text of this element followed by that of every element below it.
    std::string AllText() const;
};

struct XmlDocument {
    std::unique_ptr<XmlElement> root;  // null when the document is not well-formed
    std::string error;                 // why, with the byte offset
};

XmlDocument ParseXml(const std::string& text);

}  // namespace calctopo::testing
