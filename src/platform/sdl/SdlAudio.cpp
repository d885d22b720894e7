#include "platform/sdl/SdlAudio.h"

#include <cstdio>
#include <vector>

#include "platform/Platform.h"

namespace plat::sdl {

namespace {
constexpr int kDeviceFrames = 1024;  // about 23 ms: late enough never to starve, early enough to hear the hit
}  // namespace

bool SdlAudio::Open() {
    if (m_mute) {
        if (m_verbose) std::fprintf(stderr, "plinkwell: audio: muted\n");
        return true;
    }
    if (m_device) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        if (m_verbose) std::fprintf(stderr, "plinkwell: audio: none (%s)\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = kAudioChannels;
    want.samples = kDeviceFrames;
    want.callback = &SdlAudio::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!m_device) {
        if (m_verbose) std::fprintf(stderr, "plinkwell: audio: none (%s)\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (m_verbose) {
        std::fprintf(stderr, "plinkwell: audio: %s driver, %d Hz, %d channels, %d-frame buffer\n",
                     SDL_GetCurrentAudioDriver(), have.freq, have.channels, have.samples);
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

int SdlAudio::CreateBuffer(const int16_t* frames, uint32_t frameCount) {
    std::vector<int16_t> samples(frames, frames + static_cast<size_t>(frameCount) * kAudioChannels);
    Lock lock(m_device);
    return m_mixer.Add(std::move(samples));
}

void SdlAudio::Play(int handle) {
    Lock lock(m_device);
    m_mixer.Play(handle);
}

void SdlAudio::Release(int handle) {
    Lock lock(m_device);
    m_mixer.Remove(handle);
}

void SdlAudio::Close() {
    if (m_device) {
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    m_mixer.Clear();
}

void SdlAudio::Callback(void* self, Uint8* stream, int len) {
    const int frames = len / static_cast<int>(kAudioChannels * sizeof(int16_t));
    static_cast<SdlAudio*>(self)->m_mixer.Mix(reinterpret_cast<int16_t*>(stream), frames);
}

}  // namespace plat::sdl
