#include "platform/sound/mp3_decoder.h"

#include <string>

#include "platform/api/program.h"

#if __has_include(<mpg123.h>)
#define VORN_HAVE_MPG123 1
#include <dlfcn.h>
#include <mpg123.h>
#endif

namespace platform::sound {

#ifdef VORN_HAVE_MPG123
namespace {

constexpr const char* kLibraryName = "libmpg123.so.0";

// The header may rename functions (large-file and parameter variants); the library exports
// them under the names the macros give.
#define VORN_NAME_OF(f) #f
#define VORN_EXPORTED_NAME(f) VORN_NAME_OF(f)

// clang-format off
#define VORN_MPG123_FUNCTIONS(X)                                                   \
    X(mpg123_init) X(mpg123_new) X(mpg123_delete) X(mpg123_param)                  \
    X(mpg123_format_none) X(mpg123_format) X(mpg123_rates) X(mpg123_open_feed)     \
    X(mpg123_feed) X(mpg123_read) X(mpg123_getformat) X(mpg123_close)
// clang-format on

struct Mpg123 {
#define VORN_MPG123_MEMBER(f) decltype(&f) f##_ = nullptr;
    VORN_MPG123_FUNCTIONS(VORN_MPG123_MEMBER)
#undef VORN_MPG123_MEMBER
};

const Mpg123* load() {
    void* handle = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        logLine(std::string("sound: no mp3 decoder: cannot load ") + kLibraryName);
        return nullptr;
    }
    static Mpg123 lib;
    bool complete = true;
#define VORN_MPG123_LOOKUP(f)                                                                \
    lib.f##_ = reinterpret_cast<decltype(lib.f##_)>(::dlsym(handle, VORN_EXPORTED_NAME(f))); \
    complete = complete && lib.f##_;
    VORN_MPG123_FUNCTIONS(VORN_MPG123_LOOKUP)
#undef VORN_MPG123_LOOKUP
    if (!complete || lib.mpg123_init_() != MPG123_OK) {
        logLine(std::string("sound: no mp3 decoder: ") + kLibraryName + " is incomplete");
        return nullptr;
    }
    return &lib;
}

const Mpg123* library() {
    static const Mpg123* const lib = load();
    return lib;
}

struct Handle {
    const Mpg123* lib;
    mpg123_handle* mh;
    ~Handle() {
        if (mh)
            lib->mpg123_delete_(mh);
    }
};

// Allows only signed 16-bit output at the file's own rate and channels.
bool chooseOutput(const Mpg123* lib, mpg123_handle* mh) {
    if (lib->mpg123_format_none_(mh) != MPG123_OK)
        return false;
    const long* rates = nullptr;
    std::size_t count = 0;
    lib->mpg123_rates_(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
        lib->mpg123_format_(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    return true;
}

}  // namespace

bool mp3DecoderAvailable() {
    return library() != nullptr;
}

std::optional<Pcm> decodeMp3(std::span<const std::uint8_t> bytes, bool keepSamples) {
    const Mpg123* lib = library();
    if (!lib || bytes.empty() || bytes.size() > kMaxMp3Bytes)
        return std::nullopt;
    int error = 0;
    Handle h{lib, lib->mpg123_new_(nullptr, &error)};
    if (!h.mh)
        return std::nullopt;
    lib->mpg123_param_(h.mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    if (!chooseOutput(lib, h.mh) || lib->mpg123_open_feed_(h.mh) != MPG123_OK ||
        lib->mpg123_feed_(h.mh, bytes.data(), bytes.size()) != MPG123_OK) {
        return std::nullopt;
    }
    Pcm pcm;
    std::int16_t buffer[8192];
    for (;;) {
        std::size_t done = 0;
        int rc = lib->mpg123_read_(h.mh, buffer, sizeof buffer, &done);
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0, encoding = 0;
            lib->mpg123_getformat_(h.mh, &rate, &channels, &encoding);
            // A stream that changes its format midway is not an alarm sound.
            if ((pcm.sampleRate && (pcm.sampleRate != rate || pcm.channels != channels)) ||
                encoding != MPG123_ENC_SIGNED_16 || channels < 1 || channels > 2 || rate < 1000 ||
                rate > 192000) {
                return std::nullopt;
            }
            pcm.sampleRate = static_cast<int>(rate);
            pcm.channels = channels;
        }
        if (done > 0 && pcm.channels > 0) {
            std::size_t samples = done / sizeof(std::int16_t);
            pcm.frames += samples / static_cast<std::size_t>(pcm.channels);
            if (keepSamples)
                pcm.samples.insert(pcm.samples.end(), buffer, buffer + samples);
            if (pcm.frames >= static_cast<std::uint64_t>(pcm.sampleRate) * kMaxMp3Seconds)
                break;
        }
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT)
            break;  // the end of the bytes, or damage after the last good frame
    }
    if (pcm.frames == 0 || pcm.sampleRate == 0)
        return std::nullopt;
    return pcm;
}

#else

bool mp3DecoderAvailable() {
    return false;
}

std::optional<Pcm> decodeMp3(std::span<const std::uint8_t>, bool) {
    return std::nullopt;
}

#endif

}  // namespace platform::sound
