// Reading the generated data files back for the asset tests: raw bytes, BMP pixels, WAV samples.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assettest {

std::string DataPath(const std::string& relative);  // inside the build's generated data
std::vector<uint8_t> ReadBytes(const std::string& path);

uint16_t U16(const std::vector<uint8_t>& b, size_t at);
uint32_t U32(const std::vector<uint8_t>& b, size_t at);
int32_t I32(const std::vector<uint8_t>& b, size_t at);

struct Pixel {
    uint8_t r, g, b;
    // The game's 16-bit colour, 0 where the picture is see-through.
    uint16_t Packed() const { return uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); }
    int Brightness() const { return r + g + b; }
};

struct Bitmap {
    uint32_t declaredSize = 0, headerSize = 0, pixelOffset = 0, colours = 0, compression = 0;
    int32_t width = 0, height = 0;
    uint16_t planes = 0, bitsPerPixel = 0;
    std::vector<Pixel> pixels;  // top row first, empty if the format is not 8 or 24 bits

    const Pixel& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

Bitmap ReadBitmap(const std::vector<uint8_t>& file);

struct Wave {
    uint16_t format = 0, channels = 0, bitsPerSample = 0, blockAlign = 0;
    uint32_t sampleRate = 0, byteRate = 0, riffSize = 0;
    std::vector<int16_t> samples;
};

Wave ReadWave(const std::vector<uint8_t>& file);

}  // namespace assettest
