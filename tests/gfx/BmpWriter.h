// Builds BMP files byte by byte for the image reader's tests and regression inputs.
#pragma once

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace bmptest {

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// Stored rows of a picture: value(x, row) for row 0 first, each packed in bitCount bits (an index
// for 1, 4 and 8 bits, 0x00RRGGBB for 24, the raw word for 16 and 32), rows padded to 4 bytes.
inline std::vector<uint8_t> PackRows(int width, int rows, int bitCount,
                                     const std::function<uint32_t(int, int)>& value) {
    const int stride = (width * bitCount + 31) / 32 * 4;
    std::vector<uint8_t> out(static_cast<size_t>(stride) * rows, 0);
    for (int r = 0; r < rows; ++r) {
        uint8_t* row = out.data() + static_cast<size_t>(r) * stride;
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, r);
            switch (bitCount) {
                case 1:
                    row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8));
                    break;
                case 4:
                    row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4));
                    break;
                case 8:
                    row[x] = static_cast<uint8_t>(v);
                    break;
                default:  // 16, 24 and 32 bits: the value's low bytes, little-endian
                    for (int b = 0; b < bitCount / 8; ++b)
                        row[bitCount / 8 * x + b] = static_cast<uint8_t>(v >> (8 * b));
            }
        }
    }
    return out;
}

struct Bmp {
    uint32_t headerSize = 40;  // 40, 108 or 124: info headers; 12: core header
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> table;  // 0x00RRGGBB, written in the header's entry size
    std::vector<uint32_t> masks;  // after a 40-byte header, or inside a V4/V5 header
    std::vector<uint8_t> pixels;  // as stored

    std::vector<uint8_t> Info() const {
        std::vector<uint8_t> v;
        Put32(v, headerSize);
        if (headerSize == 12) {
            Put16(v, static_cast<uint32_t>(width));
            Put16(v, static_cast<uint32_t>(height));
            Put16(v, 1);
            Put16(v, bitCount);
        } else {
            Put32(v, static_cast<uint32_t>(width));
            Put32(v, static_cast<uint32_t>(height));
            Put16(v, 1);
            Put16(v, bitCount);
            Put32(v, compression);
            Put32(v, static_cast<uint32_t>(pixels.size()));
            Put32(v, 2835);
            Put32(v, 2835);
            Put32(v, colorsUsed);
            Put32(v, 0);
            for (uint32_t m : masks) Put32(v, m);
            if (headerSize > 40) v.resize(headerSize, 0);
        }
        for (uint32_t c : table) {
            v.push_back(static_cast<uint8_t>(c));
            v.push_back(static_cast<uint8_t>(c >> 8));
            v.push_back(static_cast<uint8_t>(c >> 16));
            if (headerSize != 12) v.push_back(0);
        }
        v.insert(v.end(), pixels.begin(), pixels.end());
        return v;
    }

    // The whole file; declaredSize overrides the file header's size field when not 0.
    std::vector<uint8_t> Bytes(uint32_t declaredSize = 0) const {
        const std::vector<uint8_t> info = Info();
        std::vector<uint8_t> v = {'B', 'M'};
        Put32(v, declaredSize ? declaredSize : static_cast<uint32_t>(info.size() + 14));
        Put32(v, 0);
        Put32(v, static_cast<uint32_t>(info.size() + 14 - pixels.size()));
        v.insert(v.end(), info.begin(), info.end());
        return v;
    }
};

inline std::string WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace bmptest
