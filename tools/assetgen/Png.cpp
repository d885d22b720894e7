#include "Png.h"

#include <png.h>

#include <fstream>

namespace assetgen {

std::vector<uint8_t> EncodePng(const RgbaImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.rgba.size() != size_t(image.width) * image.height * 4)
        return {};
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = PNG_FORMAT_RGBA;
    // libpng's simplified API: ask for the size, then write into a buffer of that size. Each call
    // releases libpng's own memory before it returns.
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.rgba.data(), 0, nullptr)) return {};
    std::vector<uint8_t> out(size);
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, image.rgba.data(), 0, nullptr)) return {};
    out.resize(size);
    return out;
}

bool WritePng(const std::string& path, const RgbaImage& image) {
    const std::vector<uint8_t> bytes = EncodePng(image);
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace assetgen
