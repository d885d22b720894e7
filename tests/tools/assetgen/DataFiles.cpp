#include "tools/assetgen/DataFiles.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace assettest {

std::string DataPath(const std::string& relative) {
    return std::string(PLINKWELL_BUILD_DATADIR) + "/" + relative;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    if (at + 2 > b.size()) return 0;
    return uint16_t(b[at] | (b[at + 1] << 8));
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    if (at + 4 > b.size()) return 0;
    return uint32_t(U16(b, at)) | (uint32_t(U16(b, at + 2)) << 16);
}

int32_t I32(const std::vector<uint8_t>& b, size_t at) {
    return int32_t(U32(b, at));
}

namespace {

std::vector<Pixel> DecodePixels(const std::vector<uint8_t>& file, const Bitmap& bmp) {
    std::vector<Pixel> pixels;
    if (bmp.width <= 0 || bmp.height <= 0 || (bmp.bitsPerPixel != 8 && bmp.bitsPerPixel != 24)) return pixels;
    size_t rowBytes = ((size_t(bmp.width) * bmp.bitsPerPixel + 31) / 32) * 4;
    if (bmp.pixelOffset + rowBytes * bmp.height > file.size()) return pixels;
    for (int y = 0; y < bmp.height; ++y) {
        size_t row = bmp.pixelOffset + rowBytes * size_t(bmp.height - 1 - y);
        for (int x = 0; x < bmp.width; ++x) {
            if (bmp.bitsPerPixel == 24) {
                size_t p = row + size_t(x) * 3;
                pixels.push_back({file[p + 2], file[p + 1], file[p]});
            } else {
                size_t entry = 54 + size_t(file[row + x]) * 4;
                pixels.push_back({file[entry + 2], file[entry + 1], file[entry]});
            }
        }
    }
    return pixels;
}

}  // namespace

Bitmap ReadBitmap(const std::vector<uint8_t>& file) {
    Bitmap bmp;
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return bmp;
    bmp.declaredSize = U32(file, 2);
    bmp.pixelOffset = U32(file, 10);
    bmp.headerSize = U32(file, 14);
    bmp.width = I32(file, 18);
    bmp.height = I32(file, 22);
    bmp.planes = U16(file, 26);
    bmp.bitsPerPixel = U16(file, 28);
    bmp.compression = U32(file, 30);
    bmp.colours = U32(file, 46);
    bmp.pixels = DecodePixels(file, bmp);
    return bmp;
}

Wave ReadWave(const std::vector<uint8_t>& file) {
    Wave wave;
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 || std::memcmp(&file[8], "WAVE", 4) != 0)
        return wave;
    wave.riffSize = U32(file, 4);
    for (size_t at = 12; at + 8 <= file.size();) {
        uint32_t size = U32(file, at + 4);
        if (std::memcmp(&file[at], "fmt ", 4) == 0) {
            wave.format = U16(file, at + 8);
            wave.channels = U16(file, at + 10);
            wave.sampleRate = U32(file, at + 12);
            wave.byteRate = U32(file, at + 16);
            wave.blockAlign = U16(file, at + 20);
            wave.bitsPerSample = U16(file, at + 22);
        } else if (std::memcmp(&file[at], "data", 4) == 0) {
            for (size_t i = 0; i + 1 < size && at + 8 + i + 1 < file.size(); i += 2)
                wave.samples.push_back(int16_t(U16(file, at + 8 + i)));
        }
        at += 8 + size + (size & 1);
    }
    return wave;
}

}  // namespace assettest
