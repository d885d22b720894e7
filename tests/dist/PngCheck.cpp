#include "dist/PngCheck.h"

#include <fstream>
#include <iterator>

namespace {

// Bit by bit, unlike the writer's table, so the two cannot share a mistake.
uint32_t SlowCrc32(const uint8_t* data, size_t size) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        c ^= data[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

uint32_t SlowAdler32(const std::vector<uint8_t>& data) {
    uint64_t a = 1, b = 0;
    for (uint8_t v : data) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    return uint32_t(b << 16 | a);
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

std::string Inflate(const std::vector<uint8_t>& z, std::vector<uint8_t>* raw) {
    if (z.size() < 6 || (z[0] & 0x0F) != 8 || (z[0] * 256 + z[1]) % 31 != 0) return "bad zlib header";
    size_t at = 2;
    bool last = false;
    while (!last) {
        if (z.size() - at < 5) return "stored block cut short";
        last = z[at] & 1;
        if ((z[at] >> 1) != 0) return "not a stored block";
        const uint32_t len = z[at + 1] | z[at + 2] << 8, nlen = z[at + 3] | z[at + 4] << 8;
        if ((len ^ 0xFFFF) != nlen) return "stored length check fails";
        at += 5;
        if (z.size() - at < len) return "stored data cut short";
        raw->insert(raw->end(), z.begin() + long(at), z.begin() + long(at + len));
        at += len;
    }
    if (z.size() - at != 4) return "bytes after the last block";
    if (BigEndian(&z[at]) != SlowAdler32(*raw)) return "bad Adler-32";
    return "";
}

}  // namespace

std::string DecodeStoredPng(const std::vector<uint8_t>& bytes, DecodedPng* png) {
    std::vector<Chunk> chunks;
    if (std::string fault = ReadChunks(bytes, &chunks); !fault.empty()) return fault;
    if (chunks.size() != 3 || chunks[0].type != "IHDR" || chunks[1].type != "IDAT" ||
        chunks[2].type != "IEND")
        return "chunks are not IHDR, IDAT, IEND";
    const std::vector<uint8_t>& h = chunks[0].data;
    if (h.size() != 13) return "IHDR is not 13 bytes";
    png->width = BigEndian(&h[0]);
    png->height = BigEndian(&h[4]);
    if (png->width == 0 || png->height == 0) return "empty picture";
    if (h[8] != 8 || h[9] != 6 || h[10] != 0 || h[11] != 0 || h[12] != 0) return "not plain 8-bit RGBA";
    if (!chunks[2].data.empty()) return "IEND is not empty";
    std::vector<uint8_t> raw;
    if (std::string fault = Inflate(chunks[1].data, &raw); !fault.empty()) return fault;
    const size_t rowBytes = size_t(png->width) * 4;
    if (raw.size() != (rowBytes + 1) * png->height) return "scanline bytes do not match the size";
    png->rgba.clear();
    for (size_t y = 0; y < png->height; ++y) {
        const auto row = raw.begin() + long(y * (rowBytes + 1));
        if (*row != 0) return "a row uses a filter";
        png->rgba.insert(png->rgba.end(), row + 1, row + 1 + long(rowBytes));
    }
    return "";
}

std::vector<uint8_t> ReadBinary(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}
