#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace synth {

// A RIFF WAVE file of 16-bit mono PCM: a 44-byte header and the samples,
// everything little-endian.
std::vector<unsigned char> wavBytes(const std::vector<std::int16_t>& samples, int rate);

// Writes the file next to its place and moves it there, so that a failed run
// never leaves half a file that a build would take as done. Throws
// std::runtime_error on failure.
void writeWav(const std::string& path, const std::vector<std::int16_t>& samples, int rate);

} // namespace synth
