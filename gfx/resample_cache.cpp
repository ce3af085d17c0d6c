#include "gfx/resample_cache.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/resample.h"
#include "platform/api/device.h"

namespace gfx {

ResampleCache::ResampleCache(std::wstring folder) : folder_(std::move(folder)) {}

std::unordered_map<std::wstring, std::size_t>::iterator ResampleCache::rememberSource(
    std::wstring_view sourcePath, std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return sourceHashes_
        .insert_or_assign(std::wstring(sourcePath), std::hash<std::string_view>{}(text))
        .first;
}

std::optional<std::wstring> ResampleCache::entryPath(std::wstring_view sourcePath, int width,
                                                     int height) {
    if (width <= 0 || height <= 0)
        return std::nullopt;
    auto known = sourceHashes_.find(std::wstring(sourcePath));
    if (known == sourceHashes_.end()) {
        auto file = platform::MappedFile::open(sourcePath);
        if (!file)
            return std::nullopt;
        known = rememberSource(sourcePath, file->bytes());
    }
    char name[64];
    std::snprintf(name, sizeof name, "%016zx-%dx%d.tga", known->second, width, height);
    return folder_ + platform::fromUtf8(name);
}

std::optional<TargaPixels> ResampleCache::find(std::wstring_view sourcePath, int width,
                                               int height) {
    auto path = entryPath(sourcePath, width, height);
    if (!path)
        return std::nullopt;
    std::unique_ptr<TargaPixels> entry;
    if (loadTarga(*path, entry) != TargaStatus::Loaded || entry->width != width ||
        entry->height != height || entry->bytesPerPixel != 4) {
        return std::nullopt;
    }
    return std::move(*entry);
}

void ResampleCache::store(std::wstring_view sourcePath, const TargaPixels& picture) {
    auto path = entryPath(sourcePath, picture.width, picture.height);
    if (!path || !platform::createFolder(folder_))
        return;
    const std::vector<std::uint8_t> bytes = encodeTarga(picture);
    if (bytes.empty() || !platform::writeFileAtomic(*path, bytes))
        return;
    dropOldEntries();
}

void ResampleCache::dropOldEntries() {
    std::vector<platform::DirectoryEntry> entries = platform::listFolder(folder_, L"*.tga");
    if (entries.size() <= kMaxEntries)
        return;
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.creationTime < b.creationTime; });
    for (std::size_t i = 0; i + kMaxEntries < entries.size(); ++i)
        platform::deleteFile(folder_ + entries[i].name);
}

TargaPixels ResampleCache::resampled(std::wstring_view sourcePath, int width, int height) {
    // The source is read once: its bytes name the kept copy and, without one, are decoded.
    auto file = platform::MappedFile::open(sourcePath);
    if (!file)
        return {};
    rememberSource(sourcePath, file->bytes());
    if (auto kept = find(sourcePath, width, height))
        return std::move(*kept);
    std::unique_ptr<TargaPixels> source;
    if (decodeTarga(file->bytes(), source) != TargaStatus::Loaded)
        return {};
    TargaPixels picture = resampleTarga(*source, width, height);
    if (!picture.pixels.empty())
        store(sourcePath, picture);
    return picture;
}

}  // namespace gfx
