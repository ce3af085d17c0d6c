#pragma once
// A quick way into the city list for a program that asks about a few cities once: the list is
// mapped, not read, and only the rows whose text could hold the name asked for are parsed.
// The command line asks "vorn time Tokyo" and must not parse 27,000 rows for one answer.
//
// A row is kept when one of the asked-for columns, folded as the caller folds names (case and
// accents dropped), holds the folded name; any lookup by those columns' text, whole or in
// part, finds its rows among the kept ones. Folding must leave ASCII letters lower-cased and
// other ASCII as it is; a fold that does otherwise, a name beyond ASCII, or a file that is not
// UTF-8 with its byte-order mark makes the scan decline, and the caller reads the whole list.
// The fold works character by character.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/record_table.h"
#include "platform/api/device.h"
#include "worldtime/cities.h"

namespace worldtime {

using NameFold = std::function<std::wstring(std::wstring_view)>;

class CityFileScan {
  public:
    // Maps folder + name, a table of the given number of columns (a city list's by default);
    // nothing when the file cannot be scanned (missing, not UTF-8 with its mark, or a fold that
    // changes ASCII other than by lower-casing letters).
    static std::optional<CityFileScan> open(std::wstring_view folder, std::wstring_view name,
                                            NameFold fold, int columns = cityField::Count);

    // The rows (the file's columns, cityField for a city list), in the file's order, where one
    // of the columns (1-based) holds any of the folded texts; nothing when one of them cannot
    // be scanned for.
    std::optional<core::RecordTable> rowsHolding(std::span<const std::wstring> foldedTexts,
                                                 std::span<const int> columns);

  private:
    CityFileScan(platform::MappedFile file, NameFold fold, int columns);
    std::string_view text() const;
    void findAsciiLines(std::string_view all, std::span<const std::string> needles,
                        std::span<const int> columns, std::vector<std::size_t>& found);
    void findAccentedLines(std::string_view all, std::span<const std::string> needles,
                           std::span<const int> columns, std::vector<std::size_t>& found);
    const std::string& foldedCharacter(wchar_t c);
    static bool lineIsSound(std::string_view line);
    void appendLine(std::string_view line, core::RecordTable& table) const;

    platform::MappedFile file_;
    NameFold fold_;
    int columns_;
    std::unordered_map<wchar_t, std::string> foldedCharacters_;
};

}  // namespace worldtime
