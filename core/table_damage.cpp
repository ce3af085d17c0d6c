#include "core/table_damage.h"

#include <algorithm>

#include "platform/api/device.h"

namespace core {
namespace {

std::string faultText(unsigned faults) {
    std::string text;
    auto add = [&](unsigned bit, const char* what) {
        if (!(faults & bit))
            return;
        if (!text.empty())
            text += ", ";
        text += what;
    };
    add(lineFault::Cut, "is too long");
    add(lineFault::Nul, "holds a NUL byte");
    add(lineFault::BadEncoding, "holds bytes that are not text");
    add(lineFault::TooManyFields, "has too many fields");
    add(lineFault::FewFields, "has too few fields");
    return text;
}

std::string fileName(std::wstring_view path) {
    std::size_t slash = path.find_last_of(L"\\/");
    return platform::toUtf8(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

bool TableDamage::rewriteLosesText() const {
    if (encoding == TextEncoding::Undecodable || encoding == TextEncoding::Oem ||
        encoding == TextEncoding::Utf16)
        return true;
    return std::any_of(lines.begin(), lines.end(),
                       [](const Line& line) { return line.faults & lineFault::Lossy; });
}

unsigned TableDamage::faultsOf(int line) const {
    auto found = std::lower_bound(lines.begin(), lines.end(), line,
                                  [](const Line& l, int number) { return l.number < number; });
    return found != lines.end() && found->number == line ? found->faults : 0;
}

std::string TableDamage::describe(std::size_t maxLines) const {
    if (!damaged())
        return {};
    std::string text = fileName(path) + ":";
    if (encoding == TextEncoding::Undecodable)
        return text + " not a text file (no byte-order mark and full of NUL bytes); not read";
    std::size_t shown = std::min(maxLines, lines.size());
    for (std::size_t i = 0; i < shown; ++i) {
        text += (i ? "; line " : " line ") + std::to_string(lines[i].number) + " " +
                faultText(lines[i].faults);
    }
    if (lines.size() > shown)
        text += "; and " + std::to_string(lines.size() - shown) + " more damaged lines";
    return text;
}

}  // namespace core
