#include "Bytes.h"

#include <fstream>

namespace assetgen {

void Bytes::U16(uint16_t v) {
    U8(v & 0xFF);
    U8(v >> 8);
}

void Bytes::U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
}

void Bytes::Text(const char* fourCc) {
    for (int i = 0; i < 4; ++i) U8(static_cast<uint8_t>(fourCc[i]));
}

bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.Data().data()), static_cast<std::streamsize>(bytes.Size()));
    return static_cast<bool>(out);
}

}  // namespace assetgen
