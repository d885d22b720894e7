#include <cstdint>
#include <cstring>

#include "game/CGame.h"
#include "game/StageFile.h"
#include "platform/Platform.h"
#include "platform/base/Files.h"

namespace {

using stagefile::kHeaderBytes;
using stagefile::kRecordBytes;

}  // namespace

int CGame::LoadStage(int32_t n) {
    // Only a regular file holds stages: a directory, a FIFO or a device cannot be opened.
    const plat::Result<plat::DataFile> file = plat::DataFile::Open(stagefile::kFileName);
    if (!file) {
        plat::MessageBox("File open error in Loading Stage");
        return 0;
    }
    uint8_t header[kHeaderBytes];
    uint8_t record[kRecordBytes];
    std::memset(header, 0, sizeof header);
    std::memset(record, 0, sizeof record);

    // What the file does not hold stays zero.
    file->ReadAt(0, header, kHeaderBytes);
    if (const int64_t offset = stagefile::StageAt(n); offset >= 0) file->ReadAt(offset, record, kRecordBytes);

    m_nStageCount = stagefile::StageCount(header);
    const stagefile::Codes codes = stagefile::ReadRecord(record, 0);
    for (int32_t row = 0; row < kRows; ++row) {
        for (int32_t column = 0; column < kColumns; ++column) {
            const int32_t k = kColumns * row + column;
            m_cells[k].x = CellLeft(column);
            m_cells[k].y = CellTop(row);
            m_cells[k].sprite = KindOfCode(codes[k]);
        }
    }
    return 1;
}
