#include "platform/devices/AudioMixer.h"

#include <algorithm>

namespace plat {

int AudioMixer::Add(std::vector<int16_t> samples) {
    auto free = std::find_if(m_voices.begin(), m_voices.end(), [](const Voice& v) { return !v.used; });
    if (free == m_voices.end()) free = m_voices.insert(m_voices.end(), Voice{});
    *free = Voice{std::move(samples), 0, false, true};
    return static_cast<int>(free - m_voices.begin()) + 1;
}

AudioMixer::Voice* AudioMixer::Find(int handle) {
    if (handle < 1 || handle > static_cast<int>(m_voices.size())) return nullptr;
    Voice& v = m_voices[handle - 1];
    return v.used ? &v : nullptr;
}

void AudioMixer::Remove(int handle) {
    if (Voice* v = Find(handle)) *v = Voice{};
}

void AudioMixer::Play(int handle) {
    if (Voice* v = Find(handle)) {
        v->position = 0;
        v->playing = !v->samples.empty();
    }
}

void AudioMixer::Clear() {
    m_voices.clear();
}

void AudioMixer::Mix(int16_t* out, int frames) {
    const size_t count = static_cast<size_t>(frames) * 2;
    m_sum.assign(count, 0);
    for (Voice& v : m_voices) {
        if (!v.playing) continue;
        const size_t n = std::min(count, v.samples.size() - v.position);
        const int16_t* s = v.samples.data() + v.position;
        for (size_t i = 0; i < n; ++i) m_sum[i] += s[i];
        v.position += n;
        v.playing = v.position < v.samples.size();
    }
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<int16_t>(std::clamp(m_sum[i], -32768, 32767));
}

}  // namespace plat
