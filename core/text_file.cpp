#include "core/text_file.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "core/text_codec.h"

namespace core {
namespace {

constexpr std::uint8_t kByteOrderMark[] = {0xEF, 0xBB, 0xBF};

bool startsWithMark(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 3 && std::memcmp(bytes.data(), kByteOrderMark, 3) == 0;
}

// Whether a file could be created at the path now: its folder exists and takes new files,
// and the name is not taken by a folder.
bool canCreate(std::wstring_view devicePath) {
    auto host = platform::hostPath(devicePath);
    if (!host || host->filename().empty()) return false;
    std::error_code ec;
    if (std::filesystem::is_directory(*host, ec)) return false;
    std::filesystem::path folder = host->parent_path();
    return std::filesystem::is_directory(folder, ec) && ::access(folder.c_str(), W_OK) == 0;
}

}  // namespace

std::unique_ptr<TextFile> TextFile::open(std::wstring_view devicePath, Mode mode) {
    std::unique_ptr<TextFile> file(new TextFile(std::wstring(devicePath), mode));
    if (mode == Mode::Write) {
        if (!canCreate(devicePath)) return nullptr;
        file->isUtf8_ = true;
        file->written_.assign(std::begin(kByteOrderMark), std::end(kByteOrderMark));
        return file;
    }
    file->mapping_ = platform::MappedFile::open(devicePath);
    if (!file->mapping_) return nullptr;
    file->text_ = file->mapping_->bytes();
    if (startsWithMark(file->text_)) {
        file->isUtf8_ = true;
        file->text_ = file->text_.subspan(3);
    }
    return file;
}

TextFile::~TextFile() = default;

bool TextFile::readLine(std::wstring& line, std::size_t limit) {
    line.clear();
    const std::size_t size = text_.size();
    if (mode_ != Mode::Read || !open_ || position_ >= size) return false;
    const std::uint8_t* base = text_.data();
    const std::size_t start = position_;
    std::size_t end = size;
    std::size_t next = size;
    const void* found = std::memchr(base + start, '\n', size - start);
    if (found) {
        std::size_t lf = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - base);
        if (lf > start && base[lf - 1] == '\r') {
            end = lf - 1;
            next = lf + 1;
        } else if (lf + 1 < size) {
            end = lf;
            next = lf + 1;
        }
        // Otherwise the LF is the text's last byte, which always stays on the last line.
    }
    std::size_t maxUnits = limit > 0 ? limit - 1 : 0;
    auto bytes = text_.subspan(start, end - start);
    if (isUtf8_) {
        decodeUtf8(bytes, maxUnits, line);
    } else {
        decodeOem(bytes, maxUnits, line);
    }
    position_ = next;
    return true;
}

std::optional<std::wstring> TextFile::readLine(std::size_t limit) {
    std::wstring line;
    if (!readLine(line, limit)) return std::nullopt;
    return line;
}

bool TextFile::writeText(std::wstring_view text) {
    if (mode_ != Mode::Write || !open_ || text.empty()) return false;
    written_ += platform::toUtf8(text);
    return true;
}

bool TextFile::close() {
    if (!open_) return false;
    open_ = false;
    if (mode_ == Mode::Read) {
        text_ = {};
        mapping_.reset();
        return true;
    }
    std::string bytes = std::move(written_);
    written_.clear();
    return platform::writeFileAtomic(
        path_, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::unique_ptr<TextFile> openTextFile(std::wstring_view devicePath, std::string_view mode) {
    if (mode == "r") return TextFile::open(devicePath, TextFile::Mode::Read);
    if (mode == "w") return TextFile::open(devicePath, TextFile::Mode::Write);
    return nullptr;
}

bool closeTextFile(std::unique_ptr<TextFile>& file) {
    if (!file) return false;
    bool ok = file->close();
    file.reset();
    return ok;
}

}  // namespace core
