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

std::optional<std::wstring> ResampleCache::entryPath(std::wstring_view sourcePath, int width,
                                                     int height) {
    if (width <= 0 || height <= 0)
        return std::nullopt;
    auto stamp = platform::fileStamp(sourcePath);
    if (!stamp)
        return std::nullopt;
    // The source's name and stamp name the copy; the picture itself is not read for it.
    std::string key = platform::toUtf8(sourcePath);
    for (std::uint64_t part :
         {stamp->size, static_cast<std::uint64_t>(stamp->lastWrite), stamp->fileNumber}) {
        key.append(reinterpret_cast<const char*>(&part), sizeof part);
    }
    char name[64];
    std::snprintf(name, sizeof name, "%016zx-%dx%d.tga", std::hash<std::string>{}(key), width,
                  height);
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
    if (auto kept = find(sourcePath, width, height))
        return std::move(*kept);
    std::unique_ptr<TargaPixels> source;
    if (loadTarga(sourcePath, source) != TargaStatus::Loaded)
        return {};
    TargaPixels picture = resampleTarga(*source, width, height);
    if (!picture.pixels.empty())
        store(sourcePath, picture);
    return picture;
}

}  // namespace gfx
