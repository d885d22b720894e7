#include "Ico.h"

#include <fstream>

#include "Bytes.h"

namespace assetgen {
namespace {

constexpr uint32_t kDirectorySize = 6;
constexpr uint32_t kEntrySize = 16;

}  // namespace

std::vector<uint8_t> EncodeIco(const std::vector<RgbaImage>& pictures) {
    std::vector<std::vector<uint8_t>> pngs;
    for (const RgbaImage& picture : pictures) {
        if (picture.width != picture.height || picture.width < 1 || picture.width > kLargestWindowsIcon)
            return {};
        pngs.push_back(EncodePng(picture));
        if (pngs.back().empty()) return {};
    }
    Bytes out;
    out.U16(0);
    out.U16(1);  // an icon, not a cursor
    out.U16(static_cast<uint16_t>(pngs.size()));
    uint32_t offset = kDirectorySize + kEntrySize * static_cast<uint32_t>(pngs.size());
    for (size_t i = 0; i < pngs.size(); ++i) {
        const auto size = static_cast<uint8_t>(pictures[i].width % kLargestWindowsIcon);  // 0 stands for 256
        out.U8(size);
        out.U8(size);
        out.U8(0);  // not a palette picture
        out.U8(0);
        out.U16(1);  // planes
        out.U16(32);
        out.U32(static_cast<uint32_t>(pngs[i].size()));
        out.U32(offset);
        offset += static_cast<uint32_t>(pngs[i].size());
    }
    std::vector<uint8_t> file = out.Data();
    for (const std::vector<uint8_t>& png : pngs) file.insert(file.end(), png.begin(), png.end());
    return file;
}

bool WriteIco(const std::string& path, const std::vector<RgbaImage>& pictures) {
    const std::vector<uint8_t> bytes = EncodeIco(pictures);
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace assetgen
