// A strict reader for the PNG files our icon writer makes (8-bit RGBA, stored deflate blocks,
// filter 0 on every row), with its own checksums, so a test can tell a broken file from a good one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPng {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;  // four bytes a pixel, rows from the top
};

// Checks the signature, every chunk's length and CRC, the chunk order, the zlib header, every
// stored block's length pair, the Adler-32 and the scanline count. Returns "" or the first fault.
std::string DecodeStoredPng(const std::vector<uint8_t>& bytes, DecodedPng* png);

std::vector<uint8_t> ReadBinary(const std::string& path);
