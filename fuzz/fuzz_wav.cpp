// Arbitrary bytes through the WAV reader and the conversion to the device format.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/WavConvert.h"
#include "audio/WavReader.h"

namespace {
// Longer sounds only repeat the same per-frame work and slow the search down.
constexpr uint64_t kFuzzMaxFrames = 1u << 20;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const plat::MemoryBytes input(data, size);
    const wav::WavResult result = wav::ReadWav(input);
    if (result.error) return 0;
    if (wav::DeviceFrameCount(result.format, result.dataSize) > kFuzzMaxFrames) return 0;
    std::vector<int16_t> frames;
    wav::ConvertToDevice(result.format, input, result.dataOffset, result.dataSize, &frames);
    return 0;
}
