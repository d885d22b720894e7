#include "audio/WavConvert.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "platform/Platform.h"
#include "platform/base/BitCast.h"
#include "platform/base/LittleEndian.h"

namespace wav {
namespace {

static_assert(plat::kAudioChannels == 2, "the conversion writes stereo frames");

using DecodeFn = int16_t (*)(const uint8_t*);

struct Layout {
    DecodeFn decode = nullptr;
    uint32_t sampleBytes = 0;
    uint32_t frameBytes = 0;
    uint32_t channels = 0;
    uint32_t rate = 0;
};

struct Stereo {
    int16_t left = 0;
    int16_t right = 0;
};

constexpr uint16_t kMaxChannels = 8;
constexpr uint32_t kMaxRate = 384000;

int16_t Unsigned8(const uint8_t* p) {
    return static_cast<int16_t>((p[0] - 128) * 256);
}

// A little-endian signed sample keeps its two most significant bytes.
template <int Bytes>
int16_t SignedTop(const uint8_t* p) {
    return static_cast<int16_t>(static_cast<uint16_t>(p[Bytes - 2] | p[Bytes - 1] << 8));
}

// Full scale is -1..1; beyond it clips, and NaN is silence.
int16_t FromUnit(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int16_t>(std::clamp(std::round(v * 32768.0), -32768.0, 32767.0));
}
int16_t Float32(const uint8_t* p) {
    return FromUnit(plat::BitCast<float>(plat::Le32(p)));
}
int16_t Float64(const uint8_t* p) {
    return FromUnit(plat::BitCast<double>(plat::Le64(p)));
}

// PCM or float, for the plain tags and for the extensible format's subformat GUID, whose first two
// bytes carry the tag and whose other fourteen are fixed.
std::optional<uint16_t> SampleKind(const WavFormat& format) {
    if (format.formatTag == kFormatPcm || format.formatTag == kFormatFloat) return format.formatTag;
    constexpr size_t kExtensibleBytes = 22;  // valid bits, channel mask, subformat
    constexpr size_t kSubFormat = 6;
    constexpr uint8_t kGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                       0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
    if (format.formatTag != kFormatExtensible || format.extra.size() < kExtensibleBytes) return std::nullopt;
    const uint8_t* guid = format.extra.data() + kSubFormat;
    if (!std::equal(std::begin(kGuidTail), std::end(kGuidTail), guid + 2)) return std::nullopt;
    const uint16_t tag = plat::Le16(guid);
    if (tag != kFormatPcm && tag != kFormatFloat) return std::nullopt;
    return tag;
}

DecodeFn DecoderFor(uint16_t kind, uint16_t bits) {
    if (kind == kFormatFloat) return bits == 32 ? Float32 : bits == 64 ? Float64 : nullptr;
    switch (bits) {
        case 8:
            return Unsigned8;
        case 16:
            return SignedTop<2>;
        case 24:
            return SignedTop<3>;
        case 32:
            return SignedTop<4>;
        default:
            return nullptr;
    }
}

std::optional<Layout> DescribeLayout(const WavFormat& format) {
    const std::optional<uint16_t> kind = SampleKind(format);
    if (!kind) return std::nullopt;
    Layout layout;
    layout.decode = DecoderFor(*kind, format.bitsPerSample);
    layout.sampleBytes = format.bitsPerSample / 8u;
    layout.channels = format.channels;
    layout.frameBytes = layout.channels * layout.sampleBytes;
    layout.rate = format.samplesPerSec;
    if (!layout.decode || layout.channels == 0 || layout.channels > kMaxChannels) return std::nullopt;
    if (layout.rate == 0 || layout.rate > kMaxRate || format.blockAlign != layout.frameBytes)
        return std::nullopt;
    return layout;
}

Stereo DecodeFrame(const Layout& layout, const uint8_t* frame) {
    const int16_t left = layout.decode(frame);
    const int16_t right = layout.channels == 1 ? left : layout.decode(frame + layout.sampleBytes);
    return {left, right};
}

int16_t Lerp(int16_t a, int16_t b, uint64_t frac) {
    return static_cast<int16_t>(a + (int64_t{b} - a) * static_cast<int64_t>(frac) / plat::kAudioRate);
}

// The input's frames, held a window at a time: output frames move forward through the input, each
// needing one input frame and the one after it.
class FrameWindow {
public:
    FrameWindow(const plat::ByteSource& input, uint64_t offset, uint32_t frameBytes, uint64_t frameCount)
        : m_input(input), m_offset(offset), m_frameBytes(frameBytes), m_count(frameCount) {}

    // Frame q (< frameCount), or null when the input could not give it.
    const uint8_t* Frame(uint64_t q) {
        if (q < m_first || q >= m_first + m_held) {
            m_first = q > 0 ? q - 1 : 0;  // keep the frame before: it may still be needed
            m_held = std::min<uint64_t>(kWindowBytes / m_frameBytes, m_count - m_first);
            m_bytes.resize(m_held * m_frameBytes);
            const int64_t want = static_cast<int64_t>(m_bytes.size());
            if (!m_input.ReadExactly(static_cast<int64_t>(m_offset + m_first * m_frameBytes), m_bytes.data(),
                                     want)) {
                m_held = 0;
                return nullptr;
            }
        }
        return m_bytes.data() + (q - m_first) * m_frameBytes;
    }

private:
    static constexpr uint64_t kWindowBytes = uint64_t{1} << 20;  // at least three frames of 64 bytes
    const plat::ByteSource& m_input;
    uint64_t m_offset;
    uint32_t m_frameBytes;
    uint64_t m_count;
    uint64_t m_first = 0;
    uint64_t m_held = 0;
    std::vector<uint8_t> m_bytes;
};

}  // namespace

uint64_t DeviceFrameCount(const WavFormat& format, uint64_t dataBytes) {
    const std::optional<Layout> layout = DescribeLayout(format);
    if (!layout) return 0;
    const uint64_t inFrames = dataBytes / layout->frameBytes;
    if (inFrames > std::numeric_limits<uint64_t>::max() / plat::kAudioRate) {
        return std::numeric_limits<uint64_t>::max();  // far beyond any buffer the device takes
    }
    return (inFrames * plat::kAudioRate + layout->rate - 1) / layout->rate;
}

// Output frame i samples the input at i x rate / kAudioRate, between two neighbouring frames; the
// last input frame is held for the positions past it.
Conversion ConvertToDevice(const WavFormat& format, const plat::ByteSource& input, uint64_t dataOffset,
                           uint64_t dataSize, std::vector<int16_t>* frames) {
    frames->clear();
    const uint64_t outFrames = DeviceFrameCount(format, dataSize);
    if (outFrames == 0 || outFrames > kMaxDeviceFrames) return Conversion::kRefused;
    const Layout layout = *DescribeLayout(format);
    const uint64_t inFrames = dataSize / layout.frameBytes;
    FrameWindow window(input, dataOffset, layout.frameBytes, inFrames);
    frames->resize(outFrames * plat::kAudioChannels);
    int16_t* out = frames->data();
    for (uint64_t i = 0; i < outFrames; ++i) {
        const uint64_t position = i * layout.rate;
        const uint64_t index = position / plat::kAudioRate;
        const uint64_t frac = position % plat::kAudioRate;
        const uint8_t* first = window.Frame(index);
        const uint8_t* second = frac != 0 ? window.Frame(std::min(index + 1, inFrames - 1)) : first;
        if (!first || !second) {
            frames->clear();
            return Conversion::kReadFailed;
        }
        Stereo a = DecodeFrame(layout, first);
        if (frac != 0) {
            const Stereo b = DecodeFrame(layout, second);
            a = {Lerp(a.left, b.left, frac), Lerp(a.right, b.right, frac)};
        }
        *out++ = a.left;
        *out++ = a.right;
    }
    return Conversion::kDone;
}

}  // namespace wav
