#include "Wav.h"

#include <algorithm>
#include <cmath>

#include "Bytes.h"

namespace assetgen {

bool WriteWav16(const std::string& path, const std::vector<double>& samples, int sampleRate) {
    const uint32_t dataBytes = uint32_t(samples.size()) * 2;
    Bytes out;
    out.Text("RIFF");
    out.U32(4 + (8 + 16) + (8 + dataBytes));
    out.Text("WAVE");
    out.Text("fmt ");
    out.U32(16);
    out.U16(1);  // PCM
    out.U16(1);  // mono
    out.U32(uint32_t(sampleRate));
    out.U32(uint32_t(sampleRate) * 2);
    out.U16(2);
    out.U16(16);
    out.Text("data");
    out.U32(dataBytes);
    for (double s : samples) out.U16(uint16_t(int16_t(std::lround(std::clamp(s, -1.0, 1.0) * 32767))));
    return WriteFile(path, out);
}

}  // namespace assetgen
