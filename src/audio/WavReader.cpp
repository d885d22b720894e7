#include "audio/WavReader.h"

#include <algorithm>
#include <optional>

#include "platform/base/LittleEndian.h"

namespace wav {
namespace {

constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

constexpr uint32_t kRiff = FourCC('R', 'I', 'F', 'F');
constexpr uint32_t kWave = FourCC('W', 'A', 'V', 'E');
constexpr uint32_t kFmt = FourCC('f', 'm', 't', ' ');
constexpr uint32_t kData = FourCC('d', 'a', 't', 'a');

// Offsets are 64-bit: a 32-bit chunk size added to an offset cannot wrap.
struct Chunk {
    uint64_t dataOffset = 0;
    uint32_t size = 0;
};

// Little-endian reads over the input; a read past `end` fails and leaves the cursor where it was.
class Cursor {
public:
    Cursor(const plat::ByteSource& input, uint64_t pos, uint64_t end)
        : m_input(input), m_pos(pos), m_end(end) {}

    bool Read16(uint16_t* value) {
        uint8_t b[2];
        if (!ReadBytes(b, 2)) return false;
        *value = plat::Le16(b);
        return true;
    }
    bool Read32(uint32_t* value) {
        uint8_t b[4];
        if (!ReadBytes(b, 4)) return false;
        *value = plat::Le32(b);
        return true;
    }
    bool ReadBytes(uint8_t* out, uint64_t count) {
        if (m_pos > m_end || count > m_end - m_pos) return false;
        if (!m_input.ReadExactly(static_cast<int64_t>(m_pos), out, static_cast<int64_t>(count))) return false;
        m_pos += count;
        return true;
    }

private:
    const plat::ByteSource& m_input;
    uint64_t m_pos;
    uint64_t m_end;
};

// The chunks that follow one another from `pos` up to `end`: the first with identifier `id` for which
// `accept` holds. A header that does not fit before `end` ends the search.
template <typename Accept>
std::optional<Chunk> FindChunk(const plat::ByteSource& input, uint64_t pos, uint64_t end, uint32_t id,
                               Accept accept) {
    for (int headers = 0; headers < kMaxChunkHeaders && pos <= end && end - pos >= 8; ++headers) {
        Cursor header(input, pos, end);
        uint32_t chunkId = 0;
        Chunk chunk;
        if (!header.Read32(&chunkId) || !header.Read32(&chunk.size)) break;
        if (chunkId == 0 && chunk.size == 0) break;
        chunk.dataOffset = pos + 8;
        if (chunkId == id && accept(chunk)) return chunk;
        pos = chunk.dataOffset + chunk.size + (chunk.size & 1);  // chunks are padded to even lengths
    }
    return std::nullopt;
}

std::optional<Chunk> FindSubchunk(const plat::ByteSource& input, uint64_t pos, uint64_t end, uint32_t id) {
    return FindChunk(input, pos, end, id, [](const Chunk&) { return true; });
}

// The RIFF chunk of form type "WAVE" among the file's top-level chunks.
std::optional<Chunk> FindRiffWave(const plat::ByteSource& input, uint64_t size) {
    return FindChunk(input, 0, size, kRiff, [&](const Chunk& chunk) {
        uint32_t form = 0;
        Cursor cursor(input, chunk.dataOffset, size);
        return cursor.Read32(&form) && form == kWave;
    });
}

// The format record of a "fmt " chunk, read only from inside the chunk.
const char* ReadFormat(const plat::ByteSource& input, uint64_t size, const Chunk& fmt, WavFormat* format) {
    const uint64_t chunkEnd = std::min<uint64_t>(fmt.dataOffset + fmt.size, size);
    Cursor cursor(input, fmt.dataOffset, chunkEnd);
    if (!cursor.Read16(&format->formatTag) || !cursor.Read16(&format->channels) ||
        !cursor.Read32(&format->samplesPerSec) || !cursor.Read32(&format->avgBytesPerSec) ||
        !cursor.Read16(&format->blockAlign) || !cursor.Read16(&format->bitsPerSample)) {
        return kMsgReadFailed;
    }
    if (format->formatTag == kFormatPcm) return nullptr;
    if (!cursor.Read16(&format->cbSize)) return kMsgReadFailed;
    format->extra.resize(format->cbSize);
    if (!cursor.ReadBytes(format->extra.data(), format->cbSize)) return kMsgReadFailed;
    return nullptr;
}

WavResult Fail(const char* message) {
    WavResult result;
    result.error = message;
    return result;
}

}  // namespace

WavResult ReadWav(const plat::ByteSource& input) {
    const uint64_t size = static_cast<uint64_t>(input.Size());
    const std::optional<Chunk> riff = FindRiffWave(input, size);
    if (!riff) return Fail(kMsgNotRiffWave);
    const uint64_t firstSubchunk = riff->dataOffset + 4;
    const uint64_t riffEnd = std::min<uint64_t>(riff->dataOffset + riff->size, size);

    const std::optional<Chunk> fmt = FindSubchunk(input, firstSubchunk, riffEnd, kFmt);
    if (!fmt) return Fail(kMsgNoFmtChunk);
    WavResult result;
    if (const char* error = ReadFormat(input, size, *fmt, &result.format)) return Fail(error);

    // The search for the sound bytes starts again at the first subchunk, so "data" may precede "fmt ".
    const std::optional<Chunk> sound = FindSubchunk(input, firstSubchunk, riffEnd, kData);
    if (!sound) return Fail(kMsgNoDataChunk);
    result.dataOffset = sound->dataOffset;
    result.dataSize = std::min<uint64_t>(sound->size, size - std::min(size, sound->dataOffset));
    return result;
}

}  // namespace wav
