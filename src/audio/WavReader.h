// RIFF WAVE reading by ranges, from a file or bytes in memory: finds the form, its "fmt " and "data" chunks,
// and returns the format and the sound bytes, or the message a failed step shows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/base/Files.h"

namespace wav {

// The texts shown for a file that cannot be loaded.
inline constexpr const char* kMsgCannotOpen = "WAV 화일을 읽을수 없음";
inline constexpr const char* kMsgNotRiffWave = "RIFF WAVE 화일이 아닙니다";
inline constexpr const char* kMsgNoFmtChunk = "화일이 fmt Chunk가 아닙니다";
inline constexpr const char* kMsgReadFailed = "화일 읽기 실패";
inline constexpr const char* kMsgError = "오류";
inline constexpr const char* kMsgNoDataChunk = "Data Chunk가 아닙니다";
inline constexpr const char* kMsgBufferFailed = "사운드버퍼 생성실패";

inline constexpr uint16_t kFormatPcm = 1;
inline constexpr uint16_t kFormatFloat = 3;
inline constexpr uint16_t kFormatExtensible = 0xFFFE;

// The format record as the file gives it (WAVEFORMATEX), with its extra bytes.
struct WavFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    uint16_t cbSize = 0;         // always 0 for PCM, whatever the chunk holds after its first 16 bytes
    std::vector<uint8_t> extra;  // cbSize bytes
};

struct WavResult {
    const char* error = nullptr;  // the message of the step that failed; null when the file was read
    WavFormat format;
    uint64_t dataOffset = 0;  // where the "data" chunk's bytes start in the input
    uint64_t dataSize = 0;    // their count, cut to what the input holds
};

// A search for a chunk stops at a header whose identifier and size are both zero (a run of zero
// bytes is not a list of empty chunks) and after this many headers, so that no file, however
// large or sparse, makes a search walk through all of it.
inline constexpr int kMaxChunkHeaders = 4096;

// Steps, in order, each with its message: the RIFF chunk of form "WAVE" at the top level; its "fmt "
// chunk; the 16-byte format record; for a non-PCM format the 2-byte extra size and that many bytes,
// all inside the "fmt " chunk; then the "data" chunk, searched again from the form's first subchunk.
// Searches stay inside the RIFF chunk, cut to the input; sizes are checked against the input, so no
// offset overflows. Only the chunk headers and the format record are read.
WavResult ReadWav(const plat::ByteSource& input);

}  // namespace wav
