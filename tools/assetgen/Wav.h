// RIFF WAVE files: 16-bit PCM, mono.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// Samples from -1 to 1; values beyond are clipped.
bool WriteWav16(const std::string& path, const std::vector<double>& samples, int sampleRate);

}  // namespace assetgen
