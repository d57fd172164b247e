#include "tools/music/wav_out.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "tools/common/writers.h"

bool WriteWav(const std::string& path, const std::vector<float>& pcm, int rate) {
  const auto header = WavHeader(2, rate, static_cast<uint32_t>(pcm.size() * 2));
  std::vector<uint8_t> bytes;
  bytes.reserve(header.size() + pcm.size() * 2);
  bytes.assign(header.begin(), header.end());
  for (float v : pcm)
    PutLE16(bytes,
            static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))));
  return WriteWholeFile(path, bytes.data(), bytes.size());
}

SoundFigures Measure(const std::vector<float>& pcm, int rate) {
  SoundFigures m;
  double sum = 0;
  for (float v : pcm) {
    sum += double(v) * v;
    m.peak = std::max(m.peak, double(std::fabs(v)));
    if (std::fabs(v) >= 1.0f) ++m.clipped;
  }
  if (!pcm.empty()) m.rms = std::sqrt(sum / pcm.size());

  // Onset strength: the rise of the energy in 256-frame hops; the tempo is
  // the lag between 100 and 200 beats per minute where it repeats best.
  const int hop = 256;
  std::vector<double> energy, flux;
  for (size_t i = 0; i + 2 * hop <= pcm.size(); i += 2 * hop) {
    double e = 0;
    for (int k = 0; k < 2 * hop; ++k) e += pcm[i + k] * pcm[i + k];
    energy.push_back(std::log(1e-9 + e));
  }
  for (size_t i = 1; i < energy.size(); ++i) flux.push_back(std::max(0.0, energy[i] - energy[i - 1]));
  double best = -1;
  for (int quarterBpm = 400; quarterBpm <= 800; ++quarterBpm) {
    const double bpm = quarterBpm / 4.0;
    double lag = 60.0 * rate / (bpm * hop);
    double score = 0;
    for (size_t i = 0; i + lag + 1 < flux.size(); ++i) {
      double j = i + lag;
      size_t j0 = static_cast<size_t>(j);
      double frac = j - j0;
      score += flux[i] * (flux[j0] * (1 - frac) + flux[j0 + 1] * frac);
    }
    if (score > best) {
      best = score;
      m.tempo = bpm;
    }
  }
  return m;
}
