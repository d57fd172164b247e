// The effect buffers and the mixer that sums them on the audio thread.
//
// A buffer keeps what the game wrote into it (its own PCM format) and, from
// Unlock on, the same sound converted once to the device's stereo float at
// the device rate, so mixing is a plain sum. Play, Stop and the playing
// state are one atomic word per buffer: the game never waits on the audio
// thread for them. Adding or removing buffers and swapping converted sound
// happen under the device lock, at load time only.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/audio/audio.h"
#include "platform/platform.h"

namespace plat {

struct SoundBuffer {
  WaveFormat format{};
  uint32_t bytes = 0;
  uint8_t* raw = nullptr;      // the region Lock hands out
  const float* pcm = nullptr;  // interleaved stereo at the device rate
  uint32_t frames = 0;
  uint32_t generation = 0;  // device opening it was converted for
  bool locked = false;
  // Bit 63: playing. Bits 32..62: a serial bumped by every start, so the
  // audio thread cannot overwrite a restart it did not see. Bits 0..31: the
  // next frame to play.
  std::atomic<uint64_t> cursor{0};
};

namespace audio {

class Mixer {
 public:
  static constexpr int kMaxVoices = 64;

  // The device lock (or no running device) is held for these four.
  bool Add(SoundBuffer* buffer);
  void Remove(SoundBuffer* buffer);
  void SetMusic(MusicRenderFn fn, void* user);
  void StopAll();

  template <typename F>
  void ForEach(F f) {
    for (SoundBuffer* v : voices_)
      if (v) f(v);
  }

  // Game thread: the loudness the effects and the music are heading for
  // (1 = as recorded). The audio thread glides to a new value within a few
  // milliseconds, so a change does not click.
  void SetGains(float effects, float music) {
    effectsGain_.store(effects, std::memory_order_relaxed);
    musicGain_.store(music, std::memory_order_relaxed);
  }

  // Only while no device runs the mixer: the gains are reached at once.
  void SkipGlide() {
    effectsNow_ = effectsGain_.load(std::memory_order_relaxed);
    musicNow_ = musicGain_.load(std::memory_order_relaxed);
  }

  void SetRate(int rate) { rate_.store(rate, std::memory_order_relaxed); }
  int Rate() const { return rate_.load(std::memory_order_relaxed); }

  // Audio thread: writes `frames` stereo frames of every playing buffer
  // plus the music into `out`, then keeps the sum inside -1..1. At gains of
  // 1 the sound is exactly the plain sum: no multiplication touches it.
  void Render(float* out, int frames);

  // Game thread, lock-free. Play leaves a playing buffer alone and starts a
  // finished one from its first frame.
  static void Play(SoundBuffer* buffer);
  static void Stop(SoundBuffer* buffer);
  static bool IsPlaying(const SoundBuffer* buffer);

 private:
  SoundBuffer* voices_[kMaxVoices] = {};
  MusicRenderFn music_ = nullptr;
  void* musicUser_ = nullptr;
  std::atomic<int> rate_{0};
  std::atomic<float> effectsGain_{1.0f};
  std::atomic<float> musicGain_{1.0f};
  // The gains the audio thread has reached; only it touches these.
  float effectsNow_ = 1.0f;
  float musicNow_ = 1.0f;
  static constexpr int kScratchFrames = 512;
  float scratch_[kScratchFrames * 2] = {};  // the music on its own, while it is scaled
};

// The loudness of a volume setting (0..100) as a gain: squared, so that the
// steps sound about even; 100 gives exactly 1.
float VolumeGain(int volume);

// Above the knee, peaks are bent smoothly towards full scale instead of
// wrapping or clipping hard.
float SoftLimit(float x);

}  // namespace audio
}  // namespace plat
