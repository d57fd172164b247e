// Writing and measuring rendered stereo sound.
#pragma once

#include <string>
#include <vector>

// 16-bit stereo PCM; false when the file cannot be written.
bool WriteWav(const std::string& path, const std::vector<float>& interleaved, int rate);

struct SoundFigures {
  double rms = 0;
  double peak = 0;
  long clipped = 0;  // samples at or beyond full scale
  double tempo = 0;  // beats per minute by onset autocorrelation
};
SoundFigures Measure(const std::vector<float>& interleaved, int rate);
