#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "game/CGame.h"
#include "game/StageFile.h"
#include "platform/Platform.h"

namespace {

using stagefile::kHeaderBytes;
using stagefile::kRecordBytes;

// Reads up to size bytes at offset; what the file does not hold is left as it was.
void ReadAt(std::ifstream& file, int64_t offset, uint8_t* buffer, int32_t size) {
    file.clear();
    file.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    if (!file) return;
    file.read(reinterpret_cast<char*>(buffer), size);
}

// A directory by that name opens for reading here yet holds no stages: it counts as a file that
// cannot be opened.
bool OpenStageFile(std::ifstream& file) {
    std::error_code error;
    if (std::filesystem::is_directory("Map.dat", error)) return false;
    file.open("Map.dat", std::ios::binary);
    return file.is_open();
}

}  // namespace

int CGame::LoadStage(int32_t n) {
    std::ifstream file;
    if (!OpenStageFile(file)) {
        plat::MessageBox("File open error in Loading Stage");
        return 0;
    }
    uint8_t header[kHeaderBytes];
    uint8_t record[kRecordBytes];
    std::memset(header, 0, sizeof header);
    std::memset(record, 0, sizeof record);

    ReadAt(file, 0, header, kHeaderBytes);
    // A record before the start of the file (n < 1, which the stage counter never gives) reads as one
    // past the end.
    const int64_t offset = stagefile::RecordOffset(n);
    if (offset >= kHeaderBytes) ReadAt(file, offset, record, kRecordBytes);
    file.close();

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
