#include "core/text_file.h"

#include <unistd.h>

#include <filesystem>

namespace core {
namespace {

constexpr std::uint8_t kByteOrderMark[] = {0xEF, 0xBB, 0xBF};

// Whether a file could be created at the path now: its folder exists and takes new files,
// and the name is not taken by a folder.
bool canCreate(std::wstring_view devicePath) {
    auto host = platform::hostPath(devicePath);
    if (!host || host->filename().empty())
        return false;
    std::error_code ec;
    if (std::filesystem::is_directory(*host, ec))
        return false;
    std::filesystem::path folder = host->parent_path();
    return std::filesystem::is_directory(folder, ec) && ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace

std::unique_ptr<TextFile> TextFile::open(std::wstring_view devicePath, Mode mode) {
    std::unique_ptr<TextFile> file(new TextFile(std::wstring(devicePath), mode));
    if (mode == Mode::Write) {
        if (!canCreate(devicePath))
            return nullptr;
        file->written_.assign(std::begin(kByteOrderMark), std::end(kByteOrderMark));
        return file;
    }
    file->mapping_ = platform::MappedFile::open(devicePath);
    if (!file->mapping_)
        return nullptr;
    file->reader_ = LineReader(file->mapping_->bytes());
    return file;
}

TextFile::~TextFile() = default;

bool TextFile::readLine(std::wstring& line, std::size_t limit) {
    line.clear();
    return mode_ == Mode::Read && open_ && reader_.readLine(line, limit);
}

std::optional<std::wstring> TextFile::readLine(std::size_t limit) {
    std::wstring line;
    if (!readLine(line, limit))
        return std::nullopt;
    return line;
}

bool TextFile::writeText(std::wstring_view text) {
    if (mode_ != Mode::Write || !open_ || text.empty())
        return false;
    written_ += platform::toUtf8(text);
    return true;
}

bool TextFile::close() {
    if (!open_)
        return false;
    open_ = false;
    if (mode_ == Mode::Read) {
        reader_ = LineReader();
        mapping_.reset();
        return true;
    }
    std::string bytes = std::move(written_);
    written_.clear();
    return platform::writeFileAtomic(
        path_, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::unique_ptr<TextFile> openTextFile(std::wstring_view devicePath, std::string_view mode) {
    if (mode == "r")
        return TextFile::open(devicePath, TextFile::Mode::Read);
    if (mode == "w")
        return TextFile::open(devicePath, TextFile::Mode::Write);
    return nullptr;
}

bool closeTextFile(std::unique_ptr<TextFile>& file) {
    if (!file)
        return false;
    bool ok = file->close();
    file.reset();
    return ok;
}

}  // namespace core
