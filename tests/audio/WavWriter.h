// Builds RIFF WAVE files byte by byte, including broken ones, for the sound tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace wavtest {

using Bytes = std::vector<uint8_t>;

inline Bytes Le16(uint16_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
}
inline Bytes Le32(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}
inline Bytes Tag(const char* fourcc) {
    return Bytes(fourcc, fourcc + 4);
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A chunk whose header claims `claimed` bytes, followed by `body` as given (no padding).
inline Bytes RawChunk(const char* id, uint32_t claimed, const Bytes& body) {
    return Cat({Tag(id), Le32(claimed), body});
}
// A well-formed chunk, padded to an even length.
inline Bytes Chunk(const char* id, const Bytes& body) {
    Bytes out = RawChunk(id, static_cast<uint32_t>(body.size()), body);
    if (body.size() % 2) out.push_back(0);
    return out;
}
inline Bytes Riff(const char* form, const Bytes& subchunks) {
    return RawChunk("RIFF", static_cast<uint32_t>(4 + subchunks.size()), Cat({Tag(form), subchunks}));
}

// The 16-byte format record; block align and byte rate follow from channels and bits.
inline Bytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    return Cat({Le16(tag), Le16(channels), Le32(rate), Le32(rate * align), Le16(align), Le16(bits)});
}
// WAVE_FORMAT_EXTENSIBLE: record, cbSize 22, valid bits, channel mask, subformat GUID of `subTag`.
inline Bytes Extensible(uint16_t channels, uint32_t rate, uint16_t bits, uint16_t subTag) {
    const Bytes guidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    return Cat({Format(0xFFFE, channels, rate, bits), Le16(22), Le16(bits), Le32(0), Le16(subTag), guidTail});
}

inline Bytes Samples16(std::initializer_list<int16_t> values) {
    Bytes out;
    for (int16_t v : values) {
        const Bytes b = Le16(static_cast<uint16_t>(v));
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}
inline Bytes Floats32(std::initializer_list<float> values) {
    Bytes out;
    for (float v : values) {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, 4);
        const Bytes b = Le32(bits);
        out.insert(out.end(), b.begin(), b.end());
    }
    return out;
}

// A complete file: "fmt " then "data".
inline Bytes Wav(const Bytes& format, const Bytes& samples) {
    return Riff("WAVE", Cat({Chunk("fmt ", format), Chunk("data", samples)}));
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace wavtest
