// The audio device: 44100 Hz stereo S16 with a short buffer, so an effect sounds with its hit;
// effects are mixed in SDL's callback thread.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/devices/AudioMixer.h"

namespace plat::sdl {

class SdlAudio {
public:
    SdlAudio(bool mute, bool verbose) : m_mute(mute), m_verbose(verbose) {}
    ~SdlAudio() { Close(); }
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Muted, this succeeds without a device: effects are kept and never heard.
    bool Open();
    int CreateBuffer(const int16_t* frames, uint32_t frameCount);
    void Play(int handle);
    void Release(int handle);
    void Close();

private:
    static void Callback(void* self, Uint8* stream, int len);

    // Holds the device lock, when there is a device, for a change to the mixer.
    class Lock {
    public:
        explicit Lock(SDL_AudioDeviceID device) : m_device(device) {
            if (m_device) SDL_LockAudioDevice(m_device);
        }
        ~Lock() {
            if (m_device) SDL_UnlockAudioDevice(m_device);
        }

    private:
        SDL_AudioDeviceID m_device;
    };

    bool m_mute;
    bool m_verbose;
    SDL_AudioDeviceID m_device = 0;
    AudioMixer m_mixer;
};

}  // namespace plat::sdl
