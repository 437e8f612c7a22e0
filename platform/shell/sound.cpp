#include "platform/shell/sound.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/shell/wav_file.h"

namespace kestrova {
namespace {

constexpr char kDefaultDevice[] = "default";
constexpr unsigned kLatencyMicroseconds = 200000;
constexpr snd_pcm_uframes_t kFramesPerWrite = 1024;  // also bounds how long a stop waits for the writer

snd_pcm_format_t AlsaFormat(SampleFormat format) {
    switch (format) {
        case SampleFormat::kUnsigned8:
            return SND_PCM_FORMAT_U8;
        case SampleFormat::kSigned16:
            return SND_PCM_FORMAT_S16_LE;
        case SampleFormat::kSigned24:
            return SND_PCM_FORMAT_S24_3LE;
        case SampleFormat::kSigned32:
            return SND_PCM_FORMAT_S32_LE;
        case SampleFormat::kFloat32:
            return SND_PCM_FORMAT_FLOAT_LE;
    }
    return SND_PCM_FORMAT_UNKNOWN;
}

class Player {
public:
    ~Player() { Stop(); }

    bool Play(std::wstring_view name, unsigned flags) {
        std::lock_guard<std::mutex> g(mutex_);
        ReapFinished();
        if (thread_.joinable()) {
            if (flags & kSoundNoStop) return false;
            StopLocked();
        }
        WavSound sound;
        if (!Load(name, sound)) return false;
        snd_pcm_t* pcm = Open(sound);
        if (!pcm) return false;
        const bool loop = flags & kSoundLoop;
        stop_ = false;
        done_ = false;
        thread_ = std::thread([this, pcm, loop, s = std::move(sound)] { Run(pcm, s, loop); });
        if ((flags & kSoundWait) && !loop) thread_.join();
        return true;
    }

    void Stop() {
        std::lock_guard<std::mutex> g(mutex_);
        StopLocked();
    }

    bool Playing() {
        std::lock_guard<std::mutex> g(mutex_);
        ReapFinished();
        return thread_.joinable();
    }

    void SetDevice(std::string device) {
        std::lock_guard<std::mutex> g(mutex_);
        device_ = device.empty() ? kDefaultDevice : std::move(device);
        reportedNoDevice_ = false;
    }

private:
    void StopLocked() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

    void ReapFinished() {
        if (thread_.joinable() && done_) thread_.join();
    }

    static bool Load(std::wstring_view name, WavSound& sound) {
        std::wstring path = FindSoundFile(name);
        std::vector<uint8_t> bytes;
        if (path.empty() || !ReadWholeFile(path, bytes)) {
            DebugOutput(L"Sound: cannot find " + std::wstring(name));
            return false;
        }
        if (!ParseWav(bytes, sound)) {
            DebugOutput(L"Sound: not a playable WAV file: " + path);
            return false;
        }
        return true;
    }

    snd_pcm_t* Open(const WavSound& sound) {
        snd_pcm_t* pcm = nullptr;
        // Opened without blocking so that a device held by another program fails at once instead of hanging.
        int err = snd_pcm_open(&pcm, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
        if (err < 0) {
            if (!reportedNoDevice_) {
                DebugOutput("Sound: no sound device (" + device_ + ": " + snd_strerror(err) +
                            "), sounds stay silent");
                reportedNoDevice_ = true;
            }
            return nullptr;
        }
        err = snd_pcm_nonblock(pcm, 0);
        if (err >= 0) {
            err = snd_pcm_set_params(pcm, AlsaFormat(sound.format), SND_PCM_ACCESS_RW_INTERLEAVED,
                                     sound.channels, sound.rate, 1, kLatencyMicroseconds);
        }
        if (err < 0) {
            DebugOutput("Sound: the device refuses the sound's format (" + std::string(snd_strerror(err)) +
                        ")");
            snd_pcm_close(pcm);
            return nullptr;
        }
        return pcm;
    }

    void Run(snd_pcm_t* pcm, const WavSound& sound, bool loop) {
        const snd_pcm_uframes_t frames = sound.samples.size() / sound.bytesPerFrame;
        bool failed = false;
        do {
            snd_pcm_uframes_t offset = 0;
            while (offset < frames && !stop_) {
                const snd_pcm_uframes_t chunk = std::min(frames - offset, kFramesPerWrite);
                snd_pcm_sframes_t n =
                    snd_pcm_writei(pcm, sound.samples.data() + offset * sound.bytesPerFrame, chunk);
                if (n < 0) n = snd_pcm_recover(pcm, int(n), 1);
                if (n < 0) {
                    DebugOutput("Sound: playback failed (" + std::string(snd_strerror(int(n))) + ")");
                    failed = true;
                    break;
                }
                offset += snd_pcm_uframes_t(n);
            }
        } while (loop && !stop_ && !failed);
        if (stop_ || failed) {
            snd_pcm_drop(pcm);
        } else {
            snd_pcm_drain(pcm);
        }
        snd_pcm_close(pcm);
        done_ = true;
    }

    std::mutex mutex_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{true};
    std::string device_ = kDefaultDevice;
    bool reportedNoDevice_ = false;
};

Player& ThePlayer() {
    static Player player;
    return player;
}

}  // namespace

bool PlaySoundFile(std::wstring_view name, unsigned flags) {
    return ThePlayer().Play(name, flags);
}

void StopSound() {
    ThePlayer().Stop();
}

bool SoundPlaying() {
    return ThePlayer().Playing();
}

void SetSoundDevice(std::string device) {
    ThePlayer().SetDevice(std::move(device));
}

std::wstring FindSoundFile(std::wstring_view name) {
    if (name.empty()) return {};
    if (name.find(L'/') != std::wstring_view::npos || FileExists(name)) {
        return FileExists(name) ? std::wstring(name) : std::wstring();
    }
    std::wstring shipped = ProgramDataFolder() + std::wstring(name);
    return FileExists(shipped) ? shipped : std::wstring();
}

}  // namespace kestrova
