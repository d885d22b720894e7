// Little-endian byte buffers and file output shared by the BMP, WAV and stage writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

class Bytes {
public:
    void U8(uint8_t v) { m_data.push_back(v); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void Text(const char* fourCc);  // four ASCII characters, no terminator
    void Pad(size_t count) { m_data.insert(m_data.end(), count, 0); }

    size_t Size() const { return m_data.size(); }
    const std::vector<uint8_t>& Data() const { return m_data; }

private:
    std::vector<uint8_t> m_data;
};

// Writes the whole buffer; returns false when the file cannot be written.
bool WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace assetgen
