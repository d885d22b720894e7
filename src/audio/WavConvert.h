// Conversion of a WAV file's sound bytes to the device format: interleaved stereo int16 at
// plat::kAudioRate.
//
// Accepted: PCM 8-bit unsigned and 16-, 24-, 32-bit signed; IEEE float of 32 and 64 bits; the extensible
// format with a PCM or float subformat (its container size counts). 1 to 8 channels: mono is doubled,
// stereo kept, and of more channels the first two (front left and right) are kept. Any rate from 1 to
// 384000 is resampled by linear interpolation. Everything else (compressed formats, zero channels or
// rate, a block align other than channels x bits / 8) is refused.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/WavReader.h"

namespace wav {

// The largest buffer the device takes, in stereo frames: 64 MiB of samples, about six minutes.
inline constexpr uint64_t kMaxDeviceFrames = (uint64_t{64} << 20) / 4;

// Stereo frames that `dataBytes` bytes of `format` become at the device rate: the duration kept,
// rounded up. 0 when the format is refused or holds no whole frame. A trailing partial frame is dropped.
uint64_t DeviceFrameCount(const WavFormat& format, uint64_t dataBytes);

enum class Conversion { kDone, kRefused, kReadFailed };

// Fills `frames` with the sound of the dataSize bytes at dataOffset in input, read a window at a
// time. kRefused, with `frames` empty, when the format is refused, there is no whole frame, or the
// result would be larger than kMaxDeviceFrames (nothing is read then); kReadFailed when the input
// gives fewer bytes than it had (a file cut while it loads).
Conversion ConvertToDevice(const WavFormat& format, const plat::ByteSource& input, uint64_t dataOffset,
                           uint64_t dataSize, std::vector<int16_t>* frames);

}  // namespace wav
