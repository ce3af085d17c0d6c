// Every sound of a process: its play log entry, the audio device when it is to be heard, and
// the wait for its end, which stopSound (or a media player's stop) cuts short.

#include "platform/sound/playback.h"

#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include "platform/api/clock.h"
#include "platform/api/device.h"
#include "platform/api/profile.h"
#include "platform/api/sound.h"
#include "platform/device/state_store.h"
#include "platform/sound/audio_output.h"

namespace platform {
namespace sound {
namespace {

constexpr std::string_view kVolumeKey = "sound.wave_out_volume";

state::Store& store() {
    auto& s = state::Store::instance();
    s.ensureSchema("sound",
                   "CREATE TABLE IF NOT EXISTS play_log ("
                   " id INTEGER PRIMARY KEY AUTOINCREMENT, file TEXT NOT NULL,"
                   " start INTEGER NOT NULL, duration_ms INTEGER NOT NULL,"
                   " volume INTEGER NOT NULL, stopped INTEGER NOT NULL, pid INTEGER NOT NULL)");
    return s;
}

// The process's plays wait on this; stopSound bumps the generation.
struct Waiting {
    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t generation = 0;
};

Waiting& waiting() {
    static Waiting w;
    return w;
}

std::int64_t beginEntry(const std::wstring& file, std::uint32_t volume) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    std::int64_t id = 0;
    s.transaction([&] {
        s.prepare(
             "INSERT INTO play_log(file, start, duration_ms, volume, stopped, pid)"
             " VALUES(?, ?, 0, ?, 0, ?)")
            .bind(1, std::wstring_view(file))
            .bind(2, static_cast<std::int64_t>(deviceUtcFileTime()))
            .bind(3, static_cast<std::int64_t>(volume))
            .bind(4, static_cast<std::int64_t>(::getpid()))
            .run();
        id = s.lastInsertId();
        s.prepare("DELETE FROM play_log WHERE id <= ?")
            .bind(1, id - static_cast<std::int64_t>(kMaxPlayLog))
            .run();
    });
    return id;
}

void endEntry(std::int64_t id, int durationMs, bool stopped) {
    auto& s = store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] {
        s.prepare("UPDATE play_log SET duration_ms = ?, stopped = ? WHERE id = ?")
            .bind(1, durationMs)
            .bind(2, stopped ? 1 : 0)
            .bind(3, id)
            .run();
    });
}

}  // namespace

int Pcm::durationMs() const {
    return sampleRate > 0 ? static_cast<int>(frames * 1000 / static_cast<std::uint64_t>(sampleRate))
                          : 0;
}

bool soundsAudible() {
    const char* choice = std::getenv("VORN_SOUND");
    if (choice && std::string_view(choice) == "audio")
        return true;
    if (choice && std::string_view(choice) == "log")
        return false;
    const char* display = std::getenv("VORN_DISPLAY");
    if (display && *display)
        return std::string_view(display) != "headless";
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

void applyVolume(std::vector<std::int16_t>& samples, int channels, std::uint32_t volume) {
    std::uint32_t levels[2] = {volume & 0xFFFF, volume >> 16};
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::uint32_t level = levels[channels == 2 ? i % 2 : 0];
        samples[i] = static_cast<std::int16_t>(static_cast<std::int32_t>(samples[i]) *
                                               static_cast<std::int32_t>(level) / 0xFFFF);
    }
}

void wakeAll() {
    auto& w = waiting();
    std::lock_guard lock(w.mutex);
    w.changed.notify_all();
}

std::uint64_t stopGeneration() {
    auto& w = waiting();
    std::lock_guard lock(w.mutex);
    return w.generation;
}

bool play(const std::wstring& devicePath, const Pcm& pcm, std::uint64_t generation,
          const std::atomic<bool>* stop) {
    using Clock = std::chrono::steady_clock;
    std::uint32_t volume = waveOutVolume();
    auto& w = waiting();
    std::int64_t entry = beginEntry(devicePath, volume);
    std::unique_ptr<AudioOutput> output;
    if (!pcm.samples.empty() && soundsAudible()) {
        output = openAudioOutput(pcm.sampleRate, pcm.channels);
        std::vector<std::int16_t> scaled = pcm.samples;
        applyVolume(scaled, pcm.channels, volume);
        if (output && !output->start(scaled))
            output.reset();
    }
    auto started = Clock::now();
    auto end = started + std::chrono::milliseconds(pcm.durationMs());
    bool stopped = false;
    {
        std::unique_lock lock(w.mutex);
        stopped = w.changed.wait_until(
            lock, end, [&] { return w.generation != generation || (stop && stop->load()); });
    }
    if (output)
        output->stop();
    auto sounded = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::min(Clock::now(), end) - started);
    endEntry(entry, static_cast<int>(sounded.count()), stopped);
    return !stopped;
}

}  // namespace sound

void stopSound() {
    auto& w = sound::waiting();
    std::lock_guard lock(w.mutex);
    ++w.generation;
    w.changed.notify_all();
}

std::uint32_t waveOutVolume() {
    return static_cast<std::uint32_t>(profileNumber(sound::kVolumeKey, 0xFFFFFFFFLL));
}

void setWaveOutVolume(std::uint32_t volume) {
    setProfileNumber(sound::kVolumeKey, volume);
}

std::vector<PlayedSound> playLog() {
    auto& s = sound::store();
    std::lock_guard lock(s.mutex());
    std::vector<PlayedSound> log;
    auto st = s.prepare(
        "SELECT file, start, duration_ms, volume, stopped, pid FROM play_log ORDER BY id");
    while (st.step()) {
        PlayedSound p;
        p.file = st.text(0);
        p.start = static_cast<FileTime>(st.integer(1));
        p.durationMs = static_cast<int>(st.integer(2));
        p.volume = static_cast<std::uint32_t>(st.integer(3));
        p.stopped = st.integer(4) != 0;
        p.processId = static_cast<int>(st.integer(5));
        log.push_back(std::move(p));
    }
    return log;
}

void clearPlayLog() {
    auto& s = sound::store();
    std::lock_guard lock(s.mutex());
    s.transaction([&] { s.exec("DELETE FROM play_log"); });
}

}  // namespace platform
