#pragma once
// The system's own text files (settings file, language files, tables, lists).
//
// Reading maps the whole file and hands out one line at a time by the rules of LineReader:
// UTF-8 or UTF-16 after their byte-order marks, UTF-8 without one when the text is well
// formed UTF-8, else the OEM code page; LF and CR LF line ends. Only regular files open.
//
// Writing produces UTF-8 with the byte-order mark. The text is collected in memory and only
// close() puts it on disk: written beside the target, flushed, then renamed over it, so a
// program that dies mid-save leaves the old file whole. A write-mode file destroyed without
// close() changes nothing on disk; close() is the commit.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/line_reader.h"
#include "platform/api/device.h"

namespace core {

// The buffer sizes the system's readers pass as limits; they count the terminator, so the
// longest line returned is one character shorter.
constexpr std::size_t kShortLineLimit = 255;
constexpr std::size_t kTableLineLimit = 20480;

class TextFile {
  public:
    enum class Mode { Read, Write };

    // None when the file cannot be opened for reading, or cannot be created in its folder.
    static std::unique_ptr<TextFile> open(std::wstring_view devicePath, Mode mode);

    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    ~TextFile();

    Mode mode() const { return mode_; }
    // True when the file began with the byte-order mark, and always in write mode.
    bool isUtf8() const { return mode_ == Mode::Write || reader_.isUtf8(); }
    // Bytes of text after the byte-order mark (read mode).
    std::size_t textSize() const { return reader_.textSize(); }
    // How the text was read (read mode).
    TextEncoding encoding() const { return reader_.encoding(); }
    // The lineFault bits of the line readLine returned last.
    unsigned lastLineFaults() const { return reader_.lastFaults(); }

    // The next line, cut to limit - 1 UTF-16 code units (and at an embedded NUL). False at the
    // end of the text, also for a write-mode file.
    bool readLine(std::wstring& line, std::size_t limit);
    std::optional<std::wstring> readLine(std::size_t limit);

    // Appends the text as UTF-8, with no line ends added. False for empty text, a read-mode or
    // closed file.
    bool writeText(std::wstring_view text);

    // Read mode: releases the mapping. Write mode: puts the text on disk safely. False when
    // that failed (the old file then stays as it was) or the file was already closed.
    bool close();

  private:
    TextFile(std::wstring path, Mode mode) : path_(std::move(path)), mode_(mode) {}

    std::wstring path_;
    Mode mode_;
    bool open_ = true;
    std::optional<platform::MappedFile> mapping_;
    LineReader reader_;
    std::string written_;
};

// The forms the rest of the system calls. Mode is "r" or "w"; anything else yields none.
std::unique_ptr<TextFile> openTextFile(std::wstring_view devicePath, std::string_view mode);
// Closes and frees the file; false when a write-mode file could not be put on disk, or
// there was no file.
bool closeTextFile(std::unique_ptr<TextFile>& file);

}  // namespace core
