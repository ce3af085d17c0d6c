#include "core/xml_reader.h"

#include <array>

#include "core/text_case.h"
#include "core/text_codec.h"
#include "platform/api/device.h"

namespace core {
namespace {

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

bool beginsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() &&
           equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// Finds a marker without regard to case at or after from; npos when absent.
std::size_t findIgnoringCase(std::wstring_view text, std::wstring_view marker, std::size_t from) {
    if (marker.empty() || text.size() < marker.size())
        return std::wstring_view::npos;
    for (std::size_t i = from; i + marker.size() <= text.size(); ++i) {
        if (equalsIgnoringCase(text.substr(i, marker.size()), marker))
            return i;
    }
    return std::wstring_view::npos;
}

struct ClearMarkers {
    std::wstring_view open;
    std::wstring_view close;
};
constexpr std::array<ClearMarkers, 5> kClearSections{{
    {L"<![CDATA[", L"]]>"},
    {L"<PRE>", L"</PRE>"},
    {L"<Script>", L"</Script>"},
    {L"<!--", L"-->"},
    {L"<!DOCTYPE", L">"},
}};

// One numeric or named character reference at text[0] == '&'; the decoded character and the
// length of the reference, or nothing when it is not one the reader knows.
std::optional<std::pair<wchar_t, std::size_t>> entityAt(std::wstring_view text) {
    std::size_t end = text.find(L';');
    if (end == std::wstring_view::npos || end > 12)
        return std::nullopt;
    std::wstring_view body = text.substr(1, end - 1);
    static constexpr std::array<std::pair<std::wstring_view, wchar_t>, 5> kNamed{
        {{L"lt", L'<'}, {L"gt", L'>'}, {L"amp", L'&'}, {L"quot", L'"'}, {L"apos", L'\''}}};
    for (const auto& [name, c] : kNamed) {
        if (body == name)
            return std::pair{c, end + 1};
    }
    if (body.size() < 2 || body[0] != L'#')
        return std::nullopt;
    bool hex = body[1] == L'x' || body[1] == L'X';
    std::wstring_view digits = body.substr(hex ? 2 : 1);
    if (digits.empty())
        return std::nullopt;
    std::uint32_t value = 0;
    for (wchar_t d : digits) {
        int v = -1;
        if (d >= L'0' && d <= L'9')
            v = d - L'0';
        else if (hex && d >= L'a' && d <= L'f')
            v = d - L'a' + 10;
        else if (hex && d >= L'A' && d <= L'F')
            v = d - L'A' + 10;
        if (v < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(v);
        if (value > 0x10FFFF)
            return std::nullopt;
    }
    if (value == 0 || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return std::pair{static_cast<wchar_t>(value), end + 1};
}

std::wstring decodeEntities(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == L'&') {
            if (auto entity = entityAt(text.substr(i))) {
                out.push_back(entity->first);
                i += entity->second;
                continue;
            }
        }
        out.push_back(text[i++]);
    }
    return out;
}

class Parser {
  public:
    Parser(std::wstring_view text, const XmlLimits& limits) : text_(text), limits_(limits) {}

    std::optional<XmlElement> run() {
        if (text_.size() > limits_.maxChars)
            return std::nullopt;
        open_.push_back(&document_);
        while (true) {
            skipBlanks();
            if (atEnd())
                break;
            bool ok = text_[pos_] == L'<' ? markup() : textPart();
            if (!ok)
                return std::nullopt;
        }
        open_.clear();
        return std::move(document_);
    }

  private:
    bool atEnd() const { return pos_ >= text_.size(); }
    bool at(std::wstring_view s) const { return text_.substr(pos_).starts_with(s); }
    void skipBlanks() {
        while (!atEnd() && isBlank(text_[pos_])) ++pos_;
    }
    bool countNode() { return ++nodes_ <= limits_.maxNodes; }

    // A name or unquoted value: up to a blank, "<", "=", ">" or "/>".
    std::wstring_view word() {
        std::size_t start = pos_;
        while (!atEnd()) {
            wchar_t c = text_[pos_];
            if (isBlank(c) || c == L'<' || c == L'=' || c == L'>' || at(L"/>"))
                break;
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    bool textPart() {
        std::size_t end = text_.find(L'<', pos_);
        if (end == std::wstring_view::npos)
            end = text_.size();
        std::wstring_view part = text_.substr(pos_, end - pos_);
        while (!part.empty() && isBlank(part.back())) part.remove_suffix(1);
        pos_ = end;
        if (!countNode())
            return false;
        open_.back()->texts.push_back(decodeEntities(part));
        return true;
    }

    bool markup() {
        for (const auto& section : kClearSections) {
            if (beginsWithIgnoringCase(text_.substr(pos_), section.open))
                return clearSection(section);
        }
        if (at(L"</"))
            return endTag();
        return startTag();
    }

    bool clearSection(const ClearMarkers& section) {
        std::size_t start = pos_ + section.open.size();
        std::size_t end = findIgnoringCase(text_, section.close, start);
        if (end == std::wstring_view::npos || !countNode())
            return false;
        open_.back()->clearSections.emplace_back(text_.substr(start, end - start));
        pos_ = end + section.close.size();
        return true;
    }

    bool endTag() {
        pos_ += 2;
        skipBlanks();
        std::wstring_view name = word();
        skipBlanks();
        if (name.empty() || atEnd() || text_[pos_] != L'>')
            return false;
        ++pos_;
        // The innermost open element the name matches is closed with everything inside it.
        for (std::size_t i = open_.size(); i-- > 1;) {
            const std::wstring& own = open_[i]->name;
            if (beginsWithIgnoringCase(name, own)) {
                open_.resize(i);
                break;
            }
        }
        return true;
    }

    bool startTag() {
        bool declaration = at(L"<?");
        pos_ += declaration ? 2 : 1;
        std::wstring name(word());
        if (declaration && !name.empty() && name.back() == L'?')
            name.pop_back();
        if (name.empty() || !countNode())
            return false;
        XmlElement& element = open_.back()->children.emplace_back();
        element.name = std::move(name);
        while (true) {
            skipBlanks();
            if (atEnd())
                return false;
            wchar_t c = text_[pos_];
            if (c == L'>') {
                ++pos_;
                if (open_.size() > limits_.maxDepth)
                    return false;
                open_.push_back(&element);
                return true;
            }
            if (at(L"/>")) {
                pos_ += 2;
                return true;
            }
            if (declaration && c == L'?') {
                ++pos_;
                continue;
            }
            if (!attribute(element, declaration))
                return false;
        }
    }

    bool attribute(XmlElement& element, bool declaration) {
        // A quoted value, "=" or "<" where a name must stand is an error.
        if (text_[pos_] == L'"' || text_[pos_] == L'\'')
            return false;
        std::wstring_view name = word();
        if (name.empty() || !countNode())
            return false;
        XmlAttribute& attribute = element.attributes.emplace_back();
        attribute.name = name;
        skipBlanks();
        if (atEnd() || text_[pos_] != L'=')
            return true;  // a name alone, as in <option selected>
        ++pos_;
        skipBlanks();
        if (atEnd())
            return false;
        wchar_t quote = text_[pos_];
        if (quote == L'"' || quote == L'\'') {
            std::size_t close = text_.find(quote, pos_ + 1);
            if (close == std::wstring_view::npos)
                return false;
            attribute.value = decodeEntities(text_.substr(pos_, close + 1 - pos_));
            pos_ = close + 1;
            return true;
        }
        std::wstring_view value = word();
        if (value.empty())
            return false;
        if (declaration && value.back() == L'?')
            value.remove_suffix(1);
        attribute.value = decodeEntities(value);
        return true;
    }

    std::wstring_view text_;
    const XmlLimits& limits_;
    std::size_t pos_ = 0;
    std::size_t nodes_ = 0;
    XmlElement document_;
    // The open elements, document first. Only the last one gains children, so the pointers to
    // the ones before it stay valid.
    std::vector<XmlElement*> open_;
};

}  // namespace

const XmlAttribute* XmlElement::attribute(std::wstring_view prefix) const {
    for (const auto& a : attributes) {
        if (beginsWithIgnoringCase(a.name, prefix))
            return &a;
    }
    return nullptr;
}

const XmlElement* XmlElement::child(std::wstring_view prefix) const {
    for (const auto& c : children) {
        if (beginsWithIgnoringCase(c.name, prefix))
            return &c;
    }
    return nullptr;
}

const XmlElement* XmlElement::find(std::initializer_list<std::wstring_view> path) const {
    const XmlElement* at = this;
    for (std::wstring_view segment : path) {
        at = at->child(segment);
        if (!at)
            return nullptr;
    }
    return at;
}

std::wstring XmlElement::attributeText(std::wstring_view prefix) const {
    const XmlAttribute* a = attribute(prefix);
    if (!a)
        return {};
    std::wstring value;
    for (wchar_t c : a->value) {
        if (c != L'"')
            value.push_back(c);
    }
    return value;
}

std::wstring XmlElement::text() const {
    std::wstring joined;
    for (const auto& part : texts) {
        if (!joined.empty())
            joined.push_back(L' ');
        joined += part;
    }
    return joined;
}

std::optional<XmlElement> parseXml(std::wstring_view text, const XmlLimits& limits) {
    return Parser(text, limits).run();
}

std::optional<XmlElement> parseXmlUtf8(std::span<const std::uint8_t> bytes,
                                       const XmlLimits& limits) {
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        bytes = bytes.subspan(3);
    std::wstring text;
    // Room for one character more than allowed, so that a text over the limit is seen as such.
    DecodeOutcome outcome = decodeUtf8(bytes, (limits.maxChars + 1) * 2, text);
    // The decoder stops at a NUL byte, which no text file holds: the file is damaged.
    if (outcome.consumed < bytes.size())
        return std::nullopt;
    return parseXml(text, limits);
}

std::optional<XmlElement> readXmlFile(std::wstring_view devicePath, const XmlLimits& limits) {
    auto mapping = platform::MappedFile::open(devicePath);
    if (!mapping || mapping->bytes().size() > limits.maxChars * 4 + 3)
        return std::nullopt;
    return parseXmlUtf8(mapping->bytes(), limits);
}

}  // namespace core
