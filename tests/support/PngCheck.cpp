#include "support/PngCheck.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace {

// Bit by bit, so the checker does not share a table with any writer.
uint32_t SlowCrc32(const uint8_t* data, size_t size) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

uint32_t BigEndian(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

std::string ReadChunks(const std::vector<uint8_t>& bytes, std::vector<Chunk>* chunks) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (bytes.size() < 8 || !std::equal(kSignature, kSignature + 8, bytes.begin())) return "bad signature";
    size_t at = 8;
    while (at < bytes.size()) {
        if (bytes.size() - at < 12) return "chunk header cut short";
        const uint32_t length = BigEndian(&bytes[at]);
        if (bytes.size() - at - 12 < length) return "chunk data cut short";
        const uint8_t* type = &bytes[at + 4];
        if (SlowCrc32(type, 4 + size_t(length)) != BigEndian(type + 4 + length)) return "bad chunk CRC";
        chunks->push_back({std::string(type, type + 4), std::vector<uint8_t>(type + 4, type + 4 + length)});
        at += 12 + size_t(length);
    }
    return "";
}

// IHDR first, IEND last and empty, one run of IDAT chunks; the image data joined into *z.
std::string CheckOrder(const std::vector<Chunk>& chunks, std::vector<uint8_t>* z) {
    if (chunks.size() < 3 || chunks.front().type != "IHDR" || chunks.back().type != "IEND")
        return "chunks do not run from IHDR to IEND";
    if (!chunks.back().data.empty()) return "IEND is not empty";
    int runs = 0;
    for (size_t i = 1; i + 1 < chunks.size(); ++i) {
        const Chunk& c = chunks[i];
        if (c.type == "IDAT") {
            runs += chunks[i - 1].type != "IDAT";
            z->insert(z->end(), c.data.begin(), c.data.end());
        } else if (!(c.type[0] & 0x20)) {
            return "critical chunk " + c.type + " in the middle";
        }
    }
    return runs == 1 ? "" : "the IDAT chunks are not one run";
}

std::string Inflate(const std::vector<uint8_t>& z, size_t expected, std::vector<uint8_t>* raw) {
    raw->assign(expected + 1, 0);  // one byte more shows data beyond the scanlines
    uLongf size = raw->size();
    if (uncompress(raw->data(), &size, z.data(), z.size()) != Z_OK) return "bad zlib stream";
    if (size != expected) return "scanline bytes do not match the size";
    raw->resize(size);
    return "";
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Undoes every row's filter, four bytes a pixel.
std::string Unfilter(const std::vector<uint8_t>& raw, size_t rowBytes, size_t height,
                     std::vector<uint8_t>* rgba) {
    rgba->assign(rowBytes * height, 0);
    for (size_t y = 0; y < height; ++y) {
        const uint8_t filter = raw[y * (rowBytes + 1)];
        if (filter > 4) return "unknown row filter";
        const uint8_t* in = &raw[y * (rowBytes + 1) + 1];
        uint8_t* out = &(*rgba)[y * rowBytes];
        const uint8_t* up = y > 0 ? out - rowBytes : nullptr;
        for (size_t x = 0; x < rowBytes; ++x) {
            const int a = x >= 4 ? out[x - 4] : 0, b = up ? up[x] : 0, c = up && x >= 4 ? up[x - 4] : 0;
            const int predictors[5] = {0, a, b, (a + b) / 2, Paeth(a, b, c)};
            out[x] = uint8_t(in[x] + predictors[filter]);
        }
    }
    return "";
}

}  // namespace

std::string DecodePng(const std::vector<uint8_t>& bytes, DecodedPng* png) {
    std::vector<Chunk> chunks;
    if (std::string fault = ReadChunks(bytes, &chunks); !fault.empty()) return fault;
    std::vector<uint8_t> z;
    if (std::string fault = CheckOrder(chunks, &z); !fault.empty()) return fault;
    const std::vector<uint8_t>& h = chunks[0].data;
    if (h.size() != 13) return "IHDR is not 13 bytes";
    png->width = BigEndian(&h[0]);
    png->height = BigEndian(&h[4]);
    if (png->width == 0 || png->height == 0) return "empty picture";
    if (h[8] != 8 || h[9] != 6 || h[10] != 0 || h[11] != 0 || h[12] != 0) return "not plain 8-bit RGBA";
    const size_t rowBytes = size_t(png->width) * 4;
    std::vector<uint8_t> raw;
    if (std::string fault = Inflate(z, (rowBytes + 1) * png->height, &raw); !fault.empty()) return fault;
    return Unfilter(raw, rowBytes, png->height, &png->rgba);
}

std::vector<uint8_t> ReadBinary(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}
