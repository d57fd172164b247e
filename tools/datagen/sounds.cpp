// The effects are built from a few plain parts: sine voices with gliding
// pitch, seeded noise through one-pole filters, and exponential envelopes.
#include <algorithm>
#include <cmath>

#include "tools/datagen/noise.h"
#include "tools/datagen/sound.h"

namespace {

constexpr double kTau = 6.283185307179586;

std::vector<double> Silence(double seconds) {
  return std::vector<double>(size_t(seconds * kSampleRate), 0.0);
}

double Time(size_t i) { return double(i) / kSampleRate; }

double White(Rng& rng) { return 2.0 * double(NextFloat(rng)) - 1.0; }

// Coefficient of a one-pole low-pass with the given corner frequency.
double Pole(double hz) { return 1.0 - std::exp(-kTau * hz / kSampleRate); }

// Short fades at both ends so nothing clicks, then scaled to the peak level.
std::vector<int16_t> Finish(std::vector<double> s, double peak = 0.8) {
  const size_t fadeIn = size_t(0.002 * kSampleRate), fadeOut = size_t(0.015 * kSampleRate);
  const size_t n = s.size();
  for (size_t i = 0; i < n; ++i) {
    if (i < fadeIn) s[i] *= double(i) / double(fadeIn);
    if (i + fadeOut >= n) s[i] *= double(n - 1 - i) / double(fadeOut);
  }
  double top = 1e-9;
  for (double v : s) top = std::max(top, std::fabs(v));
  std::vector<int16_t> out(n);
  for (size_t i = 0; i < n; ++i) out[i] = int16_t(std::lround(s[i] / top * peak * 32767.0));
  return out;
}

}  // namespace

std::vector<int16_t> MakeGunShot() {
  auto s = Silence(0.34);
  Rng rng = NewRng(11);
  double low = 0, phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = Time(i);
    double n = White(rng);
    low += Pole(1800.0 * std::exp(-t * 9.0) + 200.0) * (n - low);
    phase += kTau * (50.0 + 70.0 * std::exp(-t * 30.0)) / kSampleRate;
    s[i] = n * std::exp(-t / 0.012) * 0.6 + low * std::exp(-t / 0.09) * 1.6 +
           std::sin(phase) * std::exp(-t / 0.07);
  }
  return Finish(std::move(s));
}

std::vector<int16_t> MakeDrip() {
  auto s = Silence(0.17);
  double phase = 0, wobble = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = Time(i);
    // a falling whistle with a fast vibrato: the zap of the ray
    wobble += kTau * 55.0 / kSampleRate;
    double hz = 260.0 + 2100.0 * std::exp(-t * 22.0);
    phase += kTau * hz * (1.0 + 0.04 * std::sin(wobble)) / kSampleRate;
    double tone = std::sin(phase) + 0.35 * std::sin(2.0 * phase) + 0.18 * std::sin(3.0 * phase);
    s[i] = tone * std::exp(-t / 0.055) * std::min(1.0, t / 0.003);
  }
  return Finish(std::move(s), 0.7);
}

std::vector<int16_t> MakeDamage() {
  auto s = Silence(0.48);
  Rng rng = NewRng(22);
  double low = 0, lower = 0, phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = Time(i);
    double n = White(rng);
    // the roar darkens as it dies away
    low += Pole(3000.0 * std::exp(-t * 7.0) + 150.0) * (n - low);
    lower += Pole(400.0) * (low - lower);
    double crackle = (t < 0.22 && NextU32(rng) % 90u == 0u) ? White(rng) * 2.5 : 0.0;
    phase += kTau * (40.0 + 60.0 * std::exp(-t * 18.0)) / kSampleRate;
    double body = (low * 1.2 + lower * 2.0 + crackle) * std::exp(-t / 0.12) +
                  std::sin(phase) * std::exp(-t / 0.09) * 0.9;
    s[i] = std::tanh(1.8 * body);  // a little crunch
  }
  return Finish(std::move(s));
}

std::vector<int16_t> MakeGet() {
  auto s = Silence(0.42);
  // E major arpeggio upward, each note a small bell
  const double notes[] = {659.26, 830.61, 987.77, 1318.51};
  for (int k = 0; k < 4; ++k) {
    double start = 0.055 * k;
    for (size_t i = size_t(start * kSampleRate); i < s.size(); ++i) {
      double t = Time(i) - start;
      double f = notes[k];
      double bell = std::sin(kTau * f * t) + 0.3 * std::sin(kTau * 2.0 * f * t) * std::exp(-t / 0.05) +
                    0.12 * std::sin(kTau * 3.01 * f * t) * std::exp(-t / 0.03);
      s[i] += bell * std::exp(-t / 0.11) * std::min(1.0, t / 0.002) * (0.8 + 0.07 * k);
    }
  }
  return Finish(std::move(s), 0.75);
}

std::vector<int16_t> MakeCollision() {
  auto s = Silence(0.2);
  Rng rng = NewRng(33);
  double low = 0, p1 = 0, p2 = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    double t = Time(i);
    low += Pole(900.0) * (White(rng) - low);
    // two damped body modes and a soft thud of filtered noise
    p1 += kTau * (72.0 + 40.0 * std::exp(-t * 40.0)) / kSampleRate;
    p2 += kTau * 231.0 / kSampleRate;
    s[i] = std::sin(p1) * std::exp(-t / 0.045) + 0.4 * std::sin(p2) * std::exp(-t / 0.02) +
           low * 2.0 * std::exp(-t / 0.01);
  }
  return Finish(std::move(s), 0.8);
}
