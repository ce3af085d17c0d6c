#include "platform/sound/audio_output.h"

#include <string>

#include "platform/api/program.h"

#ifdef VORN_HAVE_SDL
#include <SDL.h>
#include <dlfcn.h>
#endif

namespace platform::sound {

#ifdef VORN_HAVE_SDL
namespace {

constexpr const char* kLibraryName = "libSDL2-2.0.so.0";

// clang-format off
#define VORN_SDL_AUDIO_FUNCTIONS(X)                                                 \
    X(InitSubSystem) X(OpenAudioDevice) X(QueueAudio) X(PauseAudioDevice)           \
    X(ClearQueuedAudio) X(CloseAudioDevice) X(GetError)
// clang-format on

struct SdlAudio {
#define VORN_SDL_MEMBER(name) decltype(&SDL_##name) name = nullptr;
    VORN_SDL_AUDIO_FUNCTIONS(VORN_SDL_MEMBER)
#undef VORN_SDL_MEMBER
};

const SdlAudio* load() {
    void* handle = ::dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        logLine(std::string("sound: cannot load ") + kLibraryName);
        return nullptr;
    }
    static SdlAudio audio;
    bool complete = true;
#define VORN_SDL_LOOKUP(name)                                                           \
    audio.name = reinterpret_cast<decltype(audio.name)>(::dlsym(handle, "SDL_" #name)); \
    complete = complete && audio.name;
    VORN_SDL_AUDIO_FUNCTIONS(VORN_SDL_LOOKUP)
#undef VORN_SDL_LOOKUP
    if (!complete) {
        logLine(std::string("sound: ") + kLibraryName + " lacks the audio functions");
        return nullptr;
    }
    if (audio.InitSubSystem(SDL_INIT_AUDIO) != 0) {
        logLine(std::string("sound: no audio: ") + audio.GetError());
        return nullptr;
    }
    return &audio;
}

const SdlAudio* sdlAudio() {
    static const SdlAudio* const audio = load();
    return audio;
}

class SdlOutput : public AudioOutput {
  public:
    SdlOutput(const SdlAudio* audio, SDL_AudioDeviceID device) : audio_(audio), device_(device) {}
    ~SdlOutput() override { audio_->CloseAudioDevice(device_); }
    bool start(const std::vector<std::int16_t>& samples) override {
        if (audio_->QueueAudio(device_, samples.data(),
                               static_cast<Uint32>(samples.size() * sizeof(std::int16_t))) != 0) {
            return false;
        }
        audio_->PauseAudioDevice(device_, 0);
        return true;
    }
    void stop() override {
        audio_->PauseAudioDevice(device_, 1);
        audio_->ClearQueuedAudio(device_);
    }

  private:
    const SdlAudio* audio_;
    SDL_AudioDeviceID device_;
};

}  // namespace

std::unique_ptr<AudioOutput> openAudioOutput(int sampleRate, int channels) {
    const SdlAudio* audio = sdlAudio();
    if (!audio)
        return nullptr;
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_S16LSB;
    want.channels = static_cast<Uint8>(channels);
    want.samples = 2048;
    SDL_AudioSpec have{};
    SDL_AudioDeviceID device = audio->OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        logLine(std::string("sound: cannot open the audio device: ") + audio->GetError());
        return nullptr;
    }
    return std::make_unique<SdlOutput>(audio, device);
}

#else

std::unique_ptr<AudioOutput> openAudioOutput(int, int) {
    return nullptr;
}

#endif

}  // namespace platform::sound
