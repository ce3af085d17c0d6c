// Parses arbitrary bytes as an XML file with small limits: the reader never reads past the
// end, never nests beyond its depth, never builds more nodes than allowed, and gives the same
// tree for the same text twice.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/xml_reader.h"

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

struct Counts {
    std::size_t nodes = 0;
    std::size_t depth = 0;
};

void count(const core::XmlElement& element, std::size_t depth, Counts& counts) {
    counts.depth = std::max(counts.depth, depth);
    counts.nodes += element.attributes.size() + element.texts.size() + element.clearSections.size();
    for (const auto& child : element.children) {
        ++counts.nodes;
        check(!child.name.empty());
        count(child, depth + 1, counts);
    }
}

bool same(const core::XmlElement& a, const core::XmlElement& b) {
    if (a.name != b.name || a.texts != b.texts || a.clearSections != b.clearSections ||
        a.attributes.size() != b.attributes.size() || a.children.size() != b.children.size())
        return false;
    for (std::size_t i = 0; i < a.attributes.size(); ++i) {
        if (a.attributes[i].name != b.attributes[i].name ||
            a.attributes[i].value != b.attributes[i].value)
            return false;
    }
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        if (!same(a.children[i], b.children[i]))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    core::XmlLimits limits;
    limits.maxDepth = 16;
    limits.maxNodes = 2000;
    limits.maxChars = 1u << 16;
    std::span<const std::uint8_t> bytes(data, size);
    auto doc = core::parseXmlUtf8(bytes, limits);
    if (!doc)
        return 0;
    Counts counts;
    count(*doc, 0, counts);
    // An element can be one deeper than the open limit when it is empty.
    check(counts.depth <= limits.maxDepth + 1);
    check(counts.nodes <= limits.maxNodes);
    auto again = core::parseXmlUtf8(bytes, limits);
    check(again && same(*doc, *again));
    // Look-ups by prefix find what they are given.
    for (const auto& child : doc->children) {
        const core::XmlElement* found = doc->child(child.name);
        check(found != nullptr);
        for (const auto& attribute : child.attributes) check(child.attribute(attribute.name));
    }
    (void)doc->find({L"xml", L"homescreen", L"layout"});
    return 0;
}
