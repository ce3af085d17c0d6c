#pragma once
// Resampled pictures kept between starts. Decoding a compressed picture and resampling it to
// the screen cost the main program a third of its start; reading back an uncompressed copy
// at the size asked for costs almost nothing.
//
// An entry is an uncompressed Targa named by a hash of the source file's name, its stamp (size,
// time of the last write, file number) and the size asked for, so a replaced picture or
// another screen size makes a new entry, and one that does not decode at the size its name
// promises is made again. Finding a copy does not read the source: hashing its bytes cost
// the start about a millisecond. The folder is temporary: deleting it only
// costs the next start its time. It keeps at most kMaxEntries pictures, the oldest going first.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "gfx/targa.h"

namespace gfx {

class ResampleCache {
  public:
    static constexpr std::size_t kMaxEntries = 64;
    // The device folder the main program keeps its copies in.
    static constexpr std::wstring_view kDefaultFolder = L"\\Temp\\Vorn Roamer\\pictures\\";

    // folder: a device folder with its trailing backslash, made when the first entry is kept.
    explicit ResampleCache(std::wstring folder = std::wstring(kDefaultFolder));

    // The copy of the picture file at width x height kept by an earlier start; nothing when
    // there is none (or the source cannot be read).
    std::optional<TargaPixels> find(std::wstring_view sourcePath, int width, int height);
    // Keeps picture as the copy of the source at its size. A failed write is not an error:
    // the next start resamples again.
    void store(std::wstring_view sourcePath, const TargaPixels& picture);

    // The picture file resampled to width x height, from the cache or made and kept; empty
    // when the file does not decode.
    TargaPixels resampled(std::wstring_view sourcePath, int width, int height);

  private:
    std::optional<std::wstring> entryPath(std::wstring_view sourcePath, int width, int height);
    void dropOldEntries();

    std::wstring folder_;
};

}  // namespace gfx
