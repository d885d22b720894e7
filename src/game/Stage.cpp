#include <cstdint>
#include <cstring>

#include "game/CGame.h"
#include "platform/Files.h"
#include "platform/Platform.h"

namespace {

constexpr int32_t kHeaderBytes = 12;
constexpr int32_t kRecordBytes = kCells * 4;
constexpr int32_t kFieldLeft = 100;
constexpr int32_t kFieldTop = 55;
constexpr int32_t kCellWidth = 40;
constexpr int32_t kCellHeight = 15;

int32_t ReadInt32(const unsigned char* p) {
    const uint32_t v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                       static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(v);
}

// Codes 0 to 6 are the block kinds, shown by sprite slots 18 to 24; anything else is an empty cell.
int8_t KindOfCode(int32_t code) {
    if (code < 0 || code > 6) return -1;
    return static_cast<int8_t>(18 + code);
}

}  // namespace

int CGame::LoadStage(int32_t n) {
    // Only a regular file holds stages: a directory, a FIFO or a device cannot be opened.
    const plat::Result<plat::DataFile> file = plat::DataFile::Open("Map.dat");
    if (!file) {
        plat::MessageBox("File open error in Loading Stage");
        return 0;
    }
    unsigned char header[kHeaderBytes];
    unsigned char record[kRecordBytes];
    std::memset(header, 0, sizeof header);
    std::memset(record, 0, sizeof record);

    // What the file does not hold stays zero.
    file->ReadAt(0, header, kHeaderBytes);
    // In 64 bits, so that no stage number can overflow the offset; a record before the start of the
    // file (n < 1, which the stage counter never gives) reads as one past the end.
    const int64_t offset = static_cast<int64_t>(kRecordBytes) * n - (kRecordBytes - kHeaderBytes);
    if (offset >= kHeaderBytes) file->ReadAt(offset, record, kRecordBytes);

    m_nStageCount = ReadInt32(header + 8);
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t column = 0; column < kColumns; ++column) {
            const int32_t k = kColumns * row + column;
            m_cells[k].x = kFieldLeft + kCellWidth * column;
            m_cells[k].y = kFieldTop + kCellHeight * row;
            m_cells[k].sprite = KindOfCode(ReadInt32(record + 4 * k));
        }
    }
    return 1;
}
