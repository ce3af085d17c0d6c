#include "worldtime/city_scan.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>
#include <span>
#include <vector>

#include "core/table_damage.h"
#include "core/text_codec.h"
#include "core/text_file.h"

namespace worldtime {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Larger files go the slow way, where the table's own limits apply.
constexpr std::size_t kMaxScannedBytes = 64u << 20;

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The fold must turn every ASCII character into the same one lower-cased, or plain ASCII
// lines could not be matched by their bytes.
bool foldLowersAscii(const NameFold& fold) {
    std::wstring ascii;
    std::wstring lowered;
    for (wchar_t c = 0x20; c < 0x7F; ++c) {
        ascii += c;
        lowered += static_cast<wchar_t>(lowerAscii(static_cast<char>(c)));
    }
    ascii += L"\t\n";
    lowered += L"\t\n";
    return fold(ascii) == lowered;
}

// Where a text (lower-case ASCII) first occurs in bytes whatever the case of their letters,
// from a position; npos when it does not. Sixteen places are tried at once by the first and
// last characters of the text, with letters compared case-blind by setting their 0x20 bit
// (which can also let through a character that is no letter: each candidate is compared in
// full). A list of names is mostly letters, so the two characters rarely both match.
std::size_t findCaseBlind(std::string_view bytes, std::string_view text, std::size_t from) {
    const std::size_t n = text.size();
    if (n == 0 || bytes.size() < n || from > bytes.size() - n)
        return std::string_view::npos;
    const auto sameFrom = [&](std::size_t at) {
        for (std::size_t k = 0; k < n; ++k) {
            if (lowerAscii(bytes[at + k]) != text[k])
                return false;
        }
        return true;
    };
    const std::size_t last = bytes.size() - n;  // the last place a match can start
    std::size_t at = from;
#if defined(__SSE2__)
    const auto isLetter = [](char c) { return c >= 'a' && c <= 'z'; };
    const __m128i firstMask = _mm_set1_epi8(isLetter(text[0]) ? 0x20 : 0);
    const __m128i lastMask = _mm_set1_epi8(isLetter(text[n - 1]) ? 0x20 : 0);
    const __m128i first = _mm_set1_epi8(text[0]);
    const __m128i lastChar = _mm_set1_epi8(text[n - 1]);
    for (; at + 16 <= last + 1; at += 16) {
        const __m128i head = _mm_or_si128(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at)), firstMask);
        const __m128i tail = _mm_or_si128(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + at + n - 1)), lastMask);
        auto candidates = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_and_si128(_mm_cmpeq_epi8(head, first), _mm_cmpeq_epi8(tail, lastChar))));
        while (candidates) {
            const std::size_t place = at + static_cast<std::size_t>(__builtin_ctz(candidates));
            if (sameFrom(place))
                return place;
            candidates &= candidates - 1;
        }
    }
#endif
    for (; at <= last; ++at) {
        if (sameFrom(at))
            return at;
    }
    return std::string_view::npos;
}

// Whether any of the bytes has its top bit set, eight at a time.
bool hasHighByte(const char* bytes, std::size_t size) {
    std::uint64_t any = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        any |= word;
    }
    for (; i < size; ++i) any |= static_cast<unsigned char>(bytes[i]);
    return any & 0x8080808080808080ULL;
}

// The line around a position: from after the previous line feed to before the next one.
std::pair<std::size_t, std::size_t> lineAround(std::string_view text, std::size_t at) {
    std::size_t begin = 0;
    if (at > 0) {
        std::size_t feed = text.rfind('\n', at - 1);
        begin = feed == std::string_view::npos ? 0 : feed + 1;
    }
    std::size_t end = text.find('\n', at);
    return {begin, end == std::string_view::npos ? text.size() : end};
}

// Whether the text from a line's start up to a match puts the match in one of the columns.
bool inColumn(std::string_view beforeMatch, std::span<const int> columns) {
    const int column =
        1 + static_cast<int>(std::count(beforeMatch.begin(), beforeMatch.end(), '~'));
    return std::find(columns.begin(), columns.end(), column) != columns.end();
}

}  // namespace

CityFileScan::CityFileScan(platform::MappedFile file, NameFold fold, int columns)
    : file_(std::move(file)), fold_(std::move(fold)), columns_(columns) {}

std::optional<CityFileScan> CityFileScan::open(std::wstring_view folder, std::wstring_view name,
                                               NameFold fold, int columns) {
    if (!fold || !foldLowersAscii(fold) || columns < 1 || columns > core::kMaxTableFields)
        return std::nullopt;
    auto file = platform::MappedFile::open(core::joinDevicePath(folder, name));
    if (!file || file->bytes().size() > kMaxScannedBytes)
        return std::nullopt;
    std::string_view bytes(reinterpret_cast<const char*>(file->bytes().data()),
                           file->bytes().size());
    if (!bytes.starts_with(kByteOrderMark))
        return std::nullopt;
    return CityFileScan(std::move(*file), std::move(fold), columns);
}

std::string_view CityFileScan::text() const {
    std::string_view bytes(reinterpret_cast<const char*>(file_.bytes().data()),
                           file_.bytes().size());
    return bytes.substr(kByteOrderMark.size());
}

std::optional<core::RecordTable> CityFileScan::rowsHolding(
    std::span<const std::wstring> foldedTexts, std::span<const int> columns) {
    std::vector<std::string> needles;
    for (const std::wstring& foldedText : foldedTexts) {
        if (foldedText.empty() ||
            std::any_of(foldedText.begin(), foldedText.end(), [](wchar_t c) { return c >= 0x80; }))
            return std::nullopt;
        // No field holds a line break or the field separator.
        if (foldedText.find_first_of(L"\r\n~") != std::wstring::npos)
            continue;
        std::string needle(foldedText.begin(), foldedText.end());
        if (std::find(needles.begin(), needles.end(), needle) == needles.end())
            needles.push_back(std::move(needle));
    }
    // One pass of each kind over the list finds the lines for every text.
    std::vector<std::size_t> found;
    const std::string_view all = text();
    if (!needles.empty()) {
        findAsciiLines(all, needles, columns, found);
        findAccentedLines(all, needles, columns, found);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    core::RecordTable table(columns_);
    for (std::size_t begin : found) {
        std::size_t end = all.find('\n', begin);
        std::string_view line =
            all.substr(begin, end == std::string_view::npos ? end : end - begin);
        // A damaged line among the candidates needs the whole list's reading, which names the
        // damage and its line so the caller can tell whether to trust an answer.
        if (!lineIsSound(line))
            return std::nullopt;
        appendLine(line, table);
    }
    return table;
}

bool CityFileScan::lineIsSound(std::string_view line) {
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    if (line.size() >= core::kTableLineLimit)
        return false;
    if (std::count(line.begin(), line.end(), '~') >= core::kMaxTableFields)
        return false;
    return core::isValidUtf8(
        std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
}

// Lines whose bytes hold a text whatever the case of their letters.
void CityFileScan::findAsciiLines(std::string_view all, std::span<const std::string> needles,
                                  std::span<const int> columns, std::vector<std::size_t>& found) {
    for (const std::string& needle : needles) {
        for (std::size_t at = findCaseBlind(all, needle, 0); at != std::string_view::npos;
             at = findCaseBlind(all, needle, at + 1)) {
            const std::size_t begin = lineAround(all, at).first;
            if (inColumn(all.substr(begin, at - begin), columns))
                found.push_back(begin);
        }
    }
}

// Lines beyond ASCII may hold the text across an accent: the asked-for columns of each such
// line are folded a character at a time (the fold of each character beyond ASCII worked out
// once) and searched; the other columns are left out, their separators kept.
void CityFileScan::findAccentedLines(std::string_view all, std::span<const std::string> needles,
                                     std::span<const int> columns,
                                     std::vector<std::size_t>& found) {
    constexpr std::size_t kBlock = 64;
    const int lastColumn = columns.empty() ? 0 : *std::max_element(columns.begin(), columns.end());
    const auto isWanted = [&](int column) {
        return std::find(columns.begin(), columns.end(), column) != columns.end();
    };
    std::string folded;
    for (std::size_t at = 0; at < all.size();) {
        std::size_t length = std::min(kBlock, all.size() - at);
        if (!hasHighByte(all.data() + at, length)) {
            at += length;
            continue;
        }
        std::size_t high = at;
        while (!(static_cast<unsigned char>(all[high]) & 0x80)) ++high;
        auto [begin, end] = lineAround(all, high);
        std::string_view line = all.substr(begin, end - begin);
        folded.clear();
        bool beyondAscii = false;
        std::size_t i = 0;
        for (int column = 1; column <= lastColumn && i <= line.size(); ++column) {
            std::size_t columnEnd = line.find('~', i);
            if (columnEnd == std::string_view::npos)
                columnEnd = line.size();
            if (isWanted(column)) {
                while (i < columnEnd) {
                    if (!(static_cast<unsigned char>(line[i]) & 0x80)) {
                        folded += lowerAscii(line[i++]);
                        continue;
                    }
                    beyondAscii = true;
                    std::size_t from = i;
                    folded += foldedCharacter(platform::decodeUtf8Sequence(line, i));
                    if (i == from)
                        ++i;
                }
            }
            folded += '~';
            i = columnEnd + 1;
        }
        // A line whose asked-for columns are plain ASCII was searched by the ASCII pass.
        bool holds = false;
        for (const std::string& needle : needles) {
            if (!beyondAscii)
                break;
            for (std::size_t match = folded.find(needle); match != std::string::npos && !holds;
                 match = folded.find(needle, match + 1)) {
                holds = inColumn(std::string_view(folded).substr(0, match), columns);
            }
        }
        if (holds)
            found.push_back(begin);
        at = end + 1;
    }
}

// The fold of one character beyond ASCII, as UTF-8.
const std::string& CityFileScan::foldedCharacter(wchar_t c) {
    auto [entry, added] = foldedCharacters_.try_emplace(c);
    if (added)
        entry->second = platform::toUtf8(fold_(std::wstring_view(&c, 1)));
    return entry->second;
}

// The row as the table's own reader makes it: a carriage return before the line feed
// dropped, the text decoded up to the line limit, split at "~", double quotes removed.
void CityFileScan::appendLine(std::string_view line, core::RecordTable& table) const {
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    std::wstring decoded;
    core::decodeUtf8(std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()),
                     core::kTableLineLimit - 1, decoded);
    std::erase(decoded, L'"');
    int row = table.appendRow();
    std::size_t start = 0;
    for (int column = 1; column <= columns_; ++column) {
        std::size_t end = decoded.find(L'~', start);
        table.setField(row, column,
                       std::wstring_view(decoded).substr(
                           start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
}

}  // namespace worldtime
