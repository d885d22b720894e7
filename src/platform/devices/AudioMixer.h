// The effects mixer behind the audio device: one voice per effect, restarted from its beginning
// on every play, all voices summed with saturation. Not thread-safe: the device wrapper holds the
// device lock around every call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

class AudioMixer {
public:
    // samples: interleaved stereo int16. Returns the effect's handle, > 0.
    int Add(std::vector<int16_t> samples);
    void Remove(int handle);
    void Play(int handle);
    void Clear();

    // Writes frames stereo frames of the mix into out.
    void Mix(int16_t* out, int frames);

private:
    struct Voice {
        std::vector<int16_t> samples;
        size_t position = 0;  // next sample to play
        bool playing = false;
        bool used = false;
    };
    Voice* Find(int handle);

    std::vector<Voice> m_voices;
    std::vector<int32_t> m_sum;
};

}  // namespace plat
