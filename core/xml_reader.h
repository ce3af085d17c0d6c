#pragma once
// A small, non-validating XML reader for the files other programs leave for the system (home
// layouts, flight answers). It builds a tree of elements: each has a name, its attributes in
// document order, its child elements, its text parts and its clear sections (comments, CDATA,
// <PRE>, <Script>, <!DOCTYPE>, kept unparsed).
//
// The reading follows the handheld's own reader, whose files people have written by hand:
// - quote characters stay part of an attribute value (value="12" reads as "\"12\""), so a
//   caller removes them as it needs; unquoted values are taken as they stand;
// - a declaration ("<?xml ...?>") opens an element like a start tag and is never closed by
//   itself, so the document's elements end up below an element named "xml";
// - an end tag closes the element whose name it matches over that name's length, closing the
//   elements in between; an end tag that matches nothing open is ignored; elements still open
//   at the end of the text are kept;
// - the entities &lt; &gt; &amp; &quot; &apos; and numeric character references are decoded
//   in text and values; an unknown entity stays as written.
//
// Any error (a value without its closing quote, a clear section without its end, an end tag
// without a name or without ">", a token where none may stand, a tag cut off by the end of
// the text, or a limit passed) discards the whole tree: the reader answers nothing.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

struct XmlAttribute {
    std::wstring name;
    std::wstring value;  // with its quotes, as written
};

struct XmlElement {
    std::wstring name;  // empty for the document itself
    std::vector<XmlAttribute> attributes;
    std::vector<XmlElement> children;
    std::vector<std::wstring> texts;          // text between tags, trailing blanks removed
    std::vector<std::wstring> clearSections;  // contents without their markers

    // Look-ups compare without regard to case, and a name matches when it begins with the
    // requested one ("hilite" finds "hilitecolor" too): that is how the handheld's files are
    // read. The first match in document order wins.
    const XmlAttribute* attribute(std::wstring_view prefix) const;
    const XmlElement* child(std::wstring_view prefix) const;
    // Follows the path one segment at a time from this element, each by child().
    const XmlElement* find(std::initializer_list<std::wstring_view> path) const;
    // The attribute's value with every double-quote character removed; empty when absent.
    std::wstring attributeText(std::wstring_view prefix) const;
    // The text parts joined by single blanks.
    std::wstring text() const;
};

// Bounds on what one reading accepts; the defaults fit every file the system reads.
struct XmlLimits {
    std::size_t maxChars = 1u << 21;  // characters of text after decoding
    std::size_t maxDepth = 64;        // elements open at once
    std::size_t maxNodes = 100000;    // elements, attributes, text parts and clear sections
};

// The document (an element without a name whose children are the top-level elements), or
// nothing on any error.
std::optional<XmlElement> parseXml(std::wstring_view text, const XmlLimits& limits = {});
// UTF-8 bytes (a leading byte-order mark is skipped), decoded and parsed.
std::optional<XmlElement> parseXmlUtf8(std::span<const std::uint8_t> bytes,
                                       const XmlLimits& limits = {});
// A whole file read by its device path; nothing when it cannot be read, is larger than the
// limit allows (four bytes a character) or does not parse.
std::optional<XmlElement> readXmlFile(std::wstring_view devicePath, const XmlLimits& limits = {});

}  // namespace core
