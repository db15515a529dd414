// The chime and the slide show's tune, synthesised, and their file formats.
#pragma once

#include <string>
#include <vector>

namespace vw::art {

// Sounds, as 16-bit mono samples at kSampleRate.
inline constexpr int kSampleRate = 44100;
std::vector<short> chimeSamples();
std::vector<short> riffSamples();
bool writeWav(const std::string& path, const std::vector<short>& samples);
bool writeMp3(const std::string& path, const std::vector<short>& samples);

}  // namespace vw::art
