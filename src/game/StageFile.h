// The bytes of the stage file, Map.dat, both ways: a 12-byte header whose third little-endian 32-bit
// integer is the stage count, then one record of 300 such cell codes per stage, row by row. Bytes in,
// bytes out: whoever reads the disk hands the bytes over; the game, which reads only the header and
// one record, asks StageAt where that record is.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "game/Catalogue.h"

namespace stagefile {

// In the data directory, beside sprite/ and sound/.
inline constexpr const char* kFileName = "Map.dat";

inline constexpr int32_t kHeaderBytes = 12;
inline constexpr int32_t kRecordBytes = kCells * 4;

// The 300 cell codes of one stage, row by row.
using Codes = std::array<int32_t, kCells>;

// Where stage n's record starts: 12 + (n - 1) x 1200, in 64 bits so that no stage number overflows.
constexpr int64_t RecordOffset(int32_t n) {
    return int64_t{kRecordBytes} * n - (kRecordBytes - kHeaderBytes);
}

// The little-endian 32-bit value at offset; the bytes the span does not hold count as zero, as a
// read that comes up short leaves its zero-filled buffer.
inline int32_t ReadInt32(std::span<const uint8_t> bytes, int64_t offset) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const int64_t at = offset + i;
        if (at >= 0 && at < static_cast<int64_t>(bytes.size()))
            v |= uint32_t{bytes[static_cast<size_t>(at)]} << (8 * i);
    }
    return static_cast<int32_t>(v);
}

// The stage count of a header (or of a whole file).
inline int32_t StageCount(std::span<const uint8_t> header) {
    return ReadInt32(header, 8);
}

// The codes of a record that starts at offset within bytes; missing bytes give code 0.
inline Codes ReadRecord(std::span<const uint8_t> bytes, int64_t offset) {
    Codes codes{};
    for (int k = 0; k < kCells; ++k) codes[k] = ReadInt32(bytes, offset + 4 * int64_t{k});
    return codes;
}

// Where stage n is read from, or -1 when it has no record: a record before the start of the file
// (n < 1, which the stage counter never gives) reads as one past the end, all code 0.
constexpr int64_t StageAt(int32_t n) {
    const int64_t offset = RecordOffset(n);
    return offset >= kHeaderBytes ? offset : -1;
}

// Stage n of a whole file as the game loads it: a stage below 1 or past the end is all code 0.
inline Codes ReadStage(std::span<const uint8_t> file, int32_t n) {
    const int64_t offset = StageAt(n);
    return offset >= 0 ? ReadRecord(file, offset) : Codes{};
}

inline void PutInt32(std::vector<uint8_t>& out, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

// A whole file: two zero integers, the count of the stages, then their records.
inline std::vector<uint8_t> Encode(const std::vector<Codes>& stages) {
    std::vector<uint8_t> out;
    out.reserve(kHeaderBytes + stages.size() * kRecordBytes);
    PutInt32(out, 0);
    PutInt32(out, 0);
    PutInt32(out, static_cast<int32_t>(stages.size()));
    for (const Codes& stage : stages)
        for (const int32_t code : stage) PutInt32(out, code);
    return out;
}

}  // namespace stagefile
