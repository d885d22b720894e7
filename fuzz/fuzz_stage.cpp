// Arbitrary stage files and stage numbers through LoadStage and NextStage. The first 4 bytes of an
// input are the stage number (little-endian); the rest is the whole of Map.dat. After every load the
// field must be exactly what the file's bytes say: cells at their grid places, each one a block kind
// 18 to 24 or empty, and the stage count from the header, with every byte the file lacks read as 0.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>

#include "game/CGame.h"
#include "game/StageFile.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessBackend.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz_stage: %s\n", what);
    std::abort();
}

// Map.dat in a private directory is a link to an in-memory file, rewritten for every input.
int g_mapFd = -1;
std::filesystem::path g_dir;

void RemoveStageDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(g_dir, ec);
}

void SetUpStageFile() {
    g_mapFd = memfd_create("Map.dat", 0);
    Check(g_mapFd >= 0, "memfd_create failed");
    std::string dir = (std::filesystem::temp_directory_path() / "fuzz-stage-XXXXXX").string();
    Check(mkdtemp(dir.data()) != nullptr, "mkdtemp failed");
    const std::filesystem::path link = std::filesystem::path(dir) / "Map.dat";
    std::filesystem::create_symlink("/proc/self/fd/" + std::to_string(g_mapFd), link);
    g_dir = dir;
    std::atexit(RemoveStageDirectory);
    std::filesystem::current_path(dir);
}

void WriteStageFile(const uint8_t* data, size_t size) {
    Check(ftruncate(g_mapFd, 0) == 0, "ftruncate failed");
    size_t done = 0;
    while (done < size) {
        const ssize_t n = pwrite(g_mapFd, data + done, size - done, static_cast<off_t>(done));
        Check(n > 0, "pwrite failed");
        done += static_cast<size_t>(n);
    }
}

// The field after loading stage n from file; a stage number below 1 reads as a record past the end.
void CheckField(const CGame& game, int32_t n, const uint8_t* file, size_t size) {
    const std::span<const uint8_t> bytes(file, size);
    Check(game.m_nStageCount == stagefile::StageCount(bytes), "stage count is not the header's");
    const stagefile::Codes codes = stagefile::ReadStage(bytes, n);
    for (int k = 0; k < kCells; ++k) {
        const GameObject& cell = game.m_cells[k];
        Check(cell.sprite == kEmptyCell || IsBlock(cell.sprite), "cell out of range");
        Check(cell.x == CellLeft(k % kColumns) && cell.y == CellTop(k / kColumns), "cell misplaced");
        Check(cell.sprite == KindOfCode(codes[k]), "cell is not the file's");
    }
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SetUpStageFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int32_t n = stagefile::ReadInt32(std::span<const uint8_t>(data, size), 0);
    const uint8_t* file = data + 4;
    const size_t fileSize = size - 4;
    WriteStageFile(file, fileSize);

    static NullBuffer nothing;
    static std::ostream quiet(&nothing);
    plat::HeadlessBackend backend(kFrameInterval, 1, quiet);
    const plat::BackendScope installed(backend);
    auto game = std::make_unique<CGame>();

    Check(game->LoadStage(n) == 1, "LoadStage could not open Map.dat");
    CheckField(*game, n, file, fileSize);

    // The stage counter from an arbitrary place: it advances, or wraps to 1 past the count.
    const int32_t count = game->m_nStageCount;
    game->m_nStage = n;
    game->NextStage();
    const int32_t next = int64_t{n} + 1 > count ? 1 : n + 1;
    Check(game->m_nStage == next, "NextStage gave the wrong stage");
    Check(game->m_bStageBanner == 1 && game->m_nBalls == 1, "NextStage did not start the stage");
    CheckField(*game, next, file, fileSize);
    return 0;
}
