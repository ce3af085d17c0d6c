// Reading and writing record-table files.

#include <algorithm>

#include "core/record_table.h"
#include "core/text_file.h"
#include "platform/api/device.h"

namespace core {
namespace {

// Splits at every separator, in one pass over the line.
void splitPlain(std::wstring_view line, wchar_t separator, std::vector<std::wstring_view>& out) {
    out.clear();
    const wchar_t* text = line.data();
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (text[i] != separator)
            continue;
        out.emplace_back(text + start, i - start);
        start = i + 1;
    }
    out.emplace_back(text + start, line.size() - start);
}

// Splits at separators outside quotes: a field that begins with a double quote runs to the
// next one. Text between a closing quote and the next separator is kept, and a quote left
// open runs to the end of the line.
void splitQuoted(std::wstring_view line, wchar_t separator, std::vector<std::wstring>& out) {
    out.clear();
    std::size_t i = 0;
    for (;;) {
        std::wstring field;
        if (i < line.size() && line[i] == L'"') {
            std::size_t close = line.find(L'"', i + 1);
            if (close == std::wstring_view::npos) {
                field.assign(line.substr(i + 1));
                out.push_back(std::move(field));
                return;
            }
            field.assign(line.substr(i + 1, close - i - 1));
            i = close + 1;
        }
        std::size_t end = line.find(separator, i);
        field.append(line.substr(i, end == std::wstring_view::npos ? end : end - i));
        out.push_back(std::move(field));
        if (end == std::wstring_view::npos)
            return;
        i = end + 1;
    }
}

}  // namespace

int RecordTable::load(std::wstring_view folder, std::wstring_view name, wchar_t separator,
                      bool stripQuotes) {
    return loadLines(folder, name, separator, stripQuotes, false);
}

int RecordTable::loadQuoted(std::wstring_view folder, std::wstring_view name, wchar_t separator) {
    return loadLines(folder, name, separator, false, true);
}

int RecordTable::loadLines(std::wstring_view folder, std::wstring_view name, wchar_t separator,
                           bool stripQuotes, bool quoted) {
    auto file = openTextFile(joinDevicePath(folder, name), "r");
    if (!file)
        return 0;
    std::wstring line;
    std::vector<std::wstring_view> plain;
    std::vector<std::wstring> unquoted;
    bool first = true;
    while (file->readLine(line, kTableLineLimit)) {
        if (!line.empty() && line.back() == L'\n')
            line.pop_back();
        if (quoted) {
            splitQuoted(line, separator, unquoted);
        } else {
            // The column count is the first line's, counted before quotes are removed.
            if (first)
                columns_ = 1 + static_cast<int>(std::count(line.begin(), line.end(), separator));
            // Most lines hold no quote; looking first is much cheaper than rewriting.
            if (stripQuotes && line.find(L'"') != std::wstring::npos)
                std::erase(line, L'"');
            splitPlain(line, separator, plain);
        }
        // With quoting, separators inside quotes do not start fields, so the first line's
        // fields as split are the column count.
        if (first && quoted)
            columns_ = static_cast<int>(unquoted.size());
        first = false;
        if (quoted) {
            rows_.emplace_back(unquoted, static_cast<std::size_t>(columns_));
        } else {
            rows_.emplace_back(plain, static_cast<std::size_t>(columns_));
        }
    }
    file->close();
    return first ? 0 : columns_;
}

bool RecordTable::save(std::wstring_view folder, std::wstring_view name, wchar_t separator) const {
    std::wstring path = joinDevicePath(folder, name);
    if (rows_.empty()) {
        platform::deleteFile(path);
        return !platform::fileExists(path);
    }
    auto file = openTextFile(path, "w");
    if (!file)
        return false;
    std::wstring line;
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        line.clear();
        const Row& fields = rows_[r];
        for (std::size_t f = 0; f < fields.size(); ++f) {
            if (f > 0)
                line += separator;
            line += fields[f];
        }
        if (r + 1 < rows_.size())
            line += L'\n';
        // A row of one empty field is an empty line: nothing to write, which is no failure.
        if (!line.empty())
            file->writeText(line);
    }
    return closeTextFile(file);
}

}  // namespace core
