// Reading and writing record-table files.

#include <algorithm>
#include <filesystem>

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
    damage_ = TableDamage{};
    std::wstring path = joinDevicePath(folder, name);
    auto file = openTextFile(path, "r");
    if (!file)
        return 0;
    damage_.path = std::move(path);
    damage_.encoding = file->encoding();
    // Lines shorter than the columns the table was made for are reported, not padded.
    const std::size_t expected = columns_ > 1 ? static_cast<std::size_t>(columns_) : 0;
    constexpr auto kMaxFields = static_cast<std::size_t>(kMaxTableFields);
    std::wstring line;
    std::vector<std::wstring_view> plain;
    std::vector<std::wstring> unquoted;
    int number = 0;
    while (file->readLine(line, kTableLineLimit)) {
        ++number;
        unsigned faults = file->lastLineFaults();
        if (!line.empty() && line.back() == L'\n')
            line.pop_back();
        std::size_t fields = 0;
        if (quoted) {
            splitQuoted(line, separator, unquoted);
            fields = unquoted.size();
        } else {
            // The first line's fields are counted before quotes are removed.
            if (number == 1) {
                auto separators = std::count(line.begin(), line.end(), separator);
                columns_ = std::max(
                    columns_, static_cast<int>(std::min<std::size_t>(1 + separators, kMaxFields)));
            }
            // Most lines hold no quote; looking first is much cheaper than rewriting.
            if (stripQuotes && line.find(L'"') != std::wstring::npos)
                std::erase(line, L'"');
            splitPlain(line, separator, plain);
            fields = plain.size();
        }
        if (fields > kMaxFields) {
            faults |= lineFault::TooManyFields;
            fields = kMaxFields;
        }
        if (fields < expected)
            faults |= lineFault::FewFields;
        if (quoted) {
            if (number == 1)
                columns_ = std::max(columns_, static_cast<int>(fields));
            rows_.emplace_back(unquoted, fields);
        } else {
            rows_.emplace_back(plain, fields);
        }
        if (faults)
            damage_.lines.push_back({number, faults});
    }
    file->close();
    return number == 0 ? 0 : columns_;
}

bool backUpDamagedTable(std::wstring_view devicePath, wchar_t separator) {
    if (!platform::fileExists(devicePath)) {
        // Nothing to keep when there is no file; what is there but not a file stays alone.
        auto host = platform::hostPath(devicePath);
        std::error_code ec;
        return host && !std::filesystem::exists(std::filesystem::symlink_status(*host, ec));
    }
    RecordTable existing;
    existing.load(L"", devicePath, separator);
    if (!existing.damage().rewriteLosesText())
        return true;
    auto bytes = platform::readFile(devicePath);
    return bytes && platform::writeFileAtomic(std::wstring(devicePath) + L".bak", *bytes);
}

bool RecordTable::save(std::wstring_view folder, std::wstring_view name, wchar_t separator) const {
    std::wstring path = joinDevicePath(folder, name);
    if (!backUpDamagedTable(path, separator))
        return false;
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
