// A strict reader for the PNG files our icon writer makes (8-bit RGBA, not interlaced), with its
// own chunk checksum and its own undoing of the row filters, inflating through zlib rather than
// libpng, so a test can tell a broken file from a good one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPng {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;  // four bytes a pixel, rows from the top
};

// Checks the signature, every chunk's length and CRC, the chunk order (IHDR first, the IDAT chunks
// together, IEND last; other chunks only if ancillary), the zlib stream with its Adler-32, the
// amount of scanline data and every row's filter type. Returns "" or the first fault.
std::string DecodePng(const std::vector<uint8_t>& bytes, DecodedPng* png);

std::vector<uint8_t> ReadBinary(const std::string& path);
