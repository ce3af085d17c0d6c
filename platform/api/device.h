#pragma once
// The device's file system. Programs name files by device paths such as
// "\windows\vornalarms.dat"; the platform maps them to host files under the device root,
// matching every path component without regard to case, as the handheld's file system does.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// 100-nanosecond intervals since 1601-01-01 UTC.
using FileTime = std::uint64_t;

// The host folder that is the device's "\". $VORN_DEVICE when set, else
// ~/.local/share/vornroamer/device, unless $VORN_NO_DEFAULT_DEVICE is set (as test programs
// do): then a missing root stops the program. Tests may point it elsewhere with setDeviceRoot.
std::filesystem::path deviceRoot();
void setDeviceRoot(const std::filesystem::path& root);

// Maps a device path ("\windows\x.dat", "windows/x.dat" is accepted too) to a host path under
// the device root. Existing components are matched case-insensitively; missing ones keep the
// spelling given. Returns nothing for a path that would leave the root ("..", host-absolute
// paths with a drive or a leading "//", embedded NULs).
std::optional<std::filesystem::path> hostPath(std::wstring_view devicePath);

// True when the host path's folder, with every link in it followed, is the given folder or
// lies below it (itself resolved the same way); the path's own last name is not followed, so
// a link there counts as the link itself. False when the folder does not exist. The device
// tree holds links, so this is the check for whatever deletes or writes a file that a path
// from outside the program named.
bool resolvesInside(const std::filesystem::path& host, const std::filesystem::path& folder);

// The device path of a host file under the root, or nothing when it lies outside.
std::optional<std::wstring> devicePathOf(const std::filesystem::path& host);

// The folder part of a device path, up to and including the last backslash.
std::wstring folderOf(std::wstring_view devicePath);

// This program's own device path ("\Program Files\Vorn Roamer\vornroamer3.exe"), as the
// process starter told it; see process.h.
std::wstring ownDevicePath();
void setOwnDevicePath(std::wstring_view devicePath);

bool fileExists(std::wstring_view devicePath);
bool folderExists(std::wstring_view devicePath);
bool createFolder(std::wstring_view devicePath);  // with missing parents
bool deleteFile(std::wstring_view devicePath);
bool moveFile(std::wstring_view from, std::wstring_view to);  // replaces the target atomically

std::optional<std::vector<std::uint8_t>> readFile(std::wstring_view devicePath);

// Writes the whole file beside its final name, flushes it to disk, then renames it over the
// old one, so a crash mid-save leaves either the old or the new content, never a torn file.
bool writeFileAtomic(std::wstring_view devicePath, std::span<const std::uint8_t> bytes);

// Creation time of a file (birth time where the host file system keeps it, else the time of
// the last change), as a file time.
std::optional<FileTime> fileCreationTime(std::wstring_view devicePath);

// What tells whether a file changed since it was last looked at, without reading it: its size,
// the time of its last write and its file number (a file written anew under the same name has
// another). A change that keeps the size within the file system's clock step (a few
// milliseconds) and rewrites the file in place is not seen.
struct FileStamp {
    std::uint64_t size = 0;
    FileTime lastWrite = 0;
    std::uint64_t fileNumber = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
std::optional<FileStamp> fileStamp(std::wstring_view devicePath);

// A read-only memory mapping of a whole file. An empty file maps to an empty span.
class MappedFile {
  public:
    static std::optional<MappedFile> open(std::wstring_view devicePath);
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    ~MappedFile();

    std::span<const std::uint8_t> bytes() const { return {data_, size_}; }

  private:
    MappedFile(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

struct DirectoryEntry {
    std::wstring name;  // as spelled on disk
    std::uint64_t size = 0;
    FileTime creationTime = 0;
};

// The files of a device folder whose names match a pattern with "*" and "?" ("*.tga"),
// compared without regard to case. Sub-folders and names beginning with "." are skipped.
// Sorted by name, without regard to case.
std::vector<DirectoryEntry> listFolder(std::wstring_view folderDevicePath,
                                       std::wstring_view pattern = L"*");

// True when a name matches a "*"/"?" pattern without regard to case.
bool matchesPattern(std::wstring_view name, std::wstring_view pattern);

// UTF-8 <-> wide text, used wherever text meets files, databases and host paths.
std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);  // invalid sequences become U+FFFD
// Appends one code point as UTF-8; surrogates and values beyond U+10FFFF become U+FFFD.
void appendUtf8(std::string& out, char32_t c);
// Decodes the multi-byte sequence that starts at text[i] (a byte of 0x80 or above) and moves
// i past it. A broken sequence gives U+FFFD for its valid prefix and leaves i at the byte
// that broke it, where decoding resumes.
wchar_t decodeUtf8Sequence(std::string_view text, std::size_t& i);

}  // namespace platform
