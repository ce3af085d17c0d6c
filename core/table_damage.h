#pragma once
// What loading a record-table file found wrong with it, line by line. Callers say which file
// and line is damaged instead of showing or trusting what the damage made of it, and saving
// keeps a copy of a file whose text a rewrite would not give back.

#include <cstddef>
#include <string>
#include <vector>

#include "core/line_reader.h"

namespace core {

// The most fields a row keeps; the widest of the system's tables, the weather outlook, has 36.
// The further fields of a longer line are dropped and the line is reported.
constexpr int kMaxTableFields = 40;

namespace lineFault {
constexpr unsigned TooManyFields = 8;  // more than kMaxTableFields; the rest were dropped
constexpr unsigned FewFields = 16;     // fewer fields than the table's columns
// The faults that lose part of the line's text when the table is written back.
constexpr unsigned Lossy = Cut | Nul | BadEncoding | TooManyFields;
}  // namespace lineFault

struct TableDamage {
    struct Line {
        int number = 0;  // in the file, from 1
        unsigned faults = 0;
    };
    std::wstring path;  // the device path loaded; empty when nothing was
    TextEncoding encoding = TextEncoding::Utf8Marked;
    std::vector<Line> lines;  // every damaged line, in file order

    bool damaged() const { return encoding == TextEncoding::Undecodable || !lines.empty(); }
    // True when writing the loaded rows back would not give the file's text again: parts of
    // lines were dropped or replaced, the file could not be read, or it is in an encoding
    // the system does not write.
    bool rewriteLosesText() const;
    // The faults of one line of the file; 0 for a whole line.
    unsigned faultsOf(int line) const;
    // "citylist.dat: line 3 has more than 32 fields; line 9 ..." naming at most maxLines
    // lines; empty when nothing is damaged.
    std::string describe(std::size_t maxLines = 5) const;
};

}  // namespace core
