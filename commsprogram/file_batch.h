#pragma once
// The files one request leaves, put on disk together or not at all: every file is first
// written beside its final name ("NAME.new", flushed), and only when all of them are there are
// they renamed over the old ones. A failure or a cancel before the renames removes what was
// staged and leaves every old file as it was.

#include <atomic>
#include <string>
#include <vector>

#include "commsprogram/comms_errors.h"

namespace commsprogram {

// One row of a "~"-separated record file, ended by "\n".
std::wstring recordRow(const std::vector<std::wstring>& fields);

class FileBatch {
  public:
    // A table as UTF-8 with the byte-order mark, as the record-table reader takes it.
    void addTable(std::wstring devicePath, std::wstring_view text);
    void addBytes(std::wstring devicePath, std::string bytes);
    // A file that must not be left behind (a frame beyond the new count).
    void addRemoval(std::wstring devicePath);

    bool empty() const { return files_.empty() && removals_.empty(); }
    std::size_t size() const { return files_.size(); }

    // Stages, then renames; stops before the renames when cancel is set.
    Failure commit(const std::atomic<bool>& cancel);

  private:
    struct File {
        std::wstring path;
        std::string bytes;
    };
    std::vector<File> files_;
    std::vector<std::wstring> removals_;
};

}  // namespace commsprogram
