// The audio callback's work for one device period: five effects and the
// music source summed and limited. The game's budget is a small slice of the
// period; the rest belongs to the music synthesiser and the system.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"
#include "platform/platform.h"

namespace {

constexpr int kRate = 48000;

const plat::audio::DeviceOps kBenchDevice = {
    [] { return true; },
    [] {},
    [](plat::audio::Mixer*) { return kRate; },
    [] {},
    [] { return false; },
    [] {},
    [] {},
    nullptr,
    [] { return false; },
};

void SilentMusic(void*, float*, int, int) {}

struct Effects {
  plat::SoundBuffer* buffers[5] = {};

  Effects() {
    plat::audio::UseDeviceOps(&kBenchDevice);
    plat::AudioCreate();
    // Five effects at 22050 Hz, as the game's files are, long enough to
    // sound through many periods.
    const uint16_t bits[5] = {8, 16, 16, 8, 16};
    for (int i = 0; i < 5; ++i) {
      uint16_t align = static_cast<uint16_t>(bits[i] / 8);
      plat::WaveFormat f{1, 1, 22050, 22050u * align, align, bits[i], 0};
      buffers[i] = plat::AudioCreateBuffer(f, 22050u * align * 2);
      void* p;
      uint32_t n;
      plat::SoundLock(buffers[i], &p, &n);
      for (uint32_t k = 0; k < n; ++k) static_cast<uint8_t*>(p)[k] = static_cast<uint8_t>(k * 37 + i);
      plat::SoundUnlock(buffers[i], p, n);
    }
    plat::AudioSetMusicSource(&SilentMusic, nullptr);
  }
  ~Effects() {
    plat::AudioRelease();
    plat::audio::UseDeviceOps(nullptr);
  }
};

void BM_MixOnePeriod(benchmark::State& state) {
  Effects effects;
  std::vector<float> out(plat::audio::kDevicePeriod * 2);
  for (auto _ : state) {
    // The game's requests between callbacks; playing ones are left alone.
    for (plat::SoundBuffer* b : effects.buffers) plat::SoundPlay(b);
    plat::audio::DeviceMixer().Render(out.data(), plat::audio::kDevicePeriod);
    benchmark::DoNotOptimize(out.data());
  }
  const double periodNs = 1e9 * plat::audio::kDevicePeriod / kRate;
  state.counters["period_ns"] = periodNs;
  // (seconds / iterations) / period, as a percentage.
  state.counters["share_of_period_pct"] = benchmark::Counter(
      periodNs / 1e11, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MixOnePeriod);

// A request is heard from the first frame of the next period: the start
// latency is at most one period, the first sample's offset in it is 0.
void BM_StartLatency(benchmark::State& state) {
  Effects effects;
  std::vector<float> out(plat::audio::kDevicePeriod * 2);
  int offset = -1;
  for (auto _ : state) {
    plat::SoundStop(effects.buffers[1]);
    plat::SoundPlay(effects.buffers[1]);
    plat::audio::DeviceMixer().Render(out.data(), plat::audio::kDevicePeriod);
    offset = -1;
    for (int i = 0; i < plat::audio::kDevicePeriod && offset < 0; ++i)
      if (out[i * 2] != 0.0f) offset = i;
  }
  state.counters["first_sample_offset_frames"] = offset;
  state.counters["worst_start_latency_ms"] = 1000.0 * plat::audio::kDevicePeriod / kRate;
}
BENCHMARK(BM_StartLatency);

}  // namespace

BENCHMARK_MAIN();
