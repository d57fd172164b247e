#include "platform/audio/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plat::audio {

namespace {

constexpr uint64_t kPlayingBit = uint64_t{1} << 63;
constexpr uint64_t kPositionMask = 0xFFFFFFFFu;
constexpr uint64_t kSerialMask = ~(kPlayingBit | kPositionMask);
constexpr uint64_t kSerialStep = uint64_t{1} << 32;
constexpr float kKnee = 0.9f;
// A full swing of the gain takes 256 frames (about 5 ms): no click, no lag.
constexpr float kGainStep = 1.0f / 256.0f;

float Glide(float now, float target) {
  if (now < target) return std::min(now + kGainStep, target);
  return std::max(now - kGainStep, target);
}

// Scales `frames` stereo frames while the gain glides towards `target`.
void Scale(float* samples, int frames, float* gain, float target) {
  float g = *gain;
  for (int i = 0; i < frames; ++i) {
    if (g != target) g = Glide(g, target);
    samples[2 * i] *= g;
    samples[2 * i + 1] *= g;
  }
  *gain = g;
}

}  // namespace

bool Mixer::Add(SoundBuffer* buffer) {
  for (SoundBuffer*& v : voices_) {
    if (!v) {
      v = buffer;
      return true;
    }
  }
  return false;
}

void Mixer::Remove(SoundBuffer* buffer) {
  for (SoundBuffer*& v : voices_)
    if (v == buffer) v = nullptr;
}

void Mixer::SetMusic(MusicRenderFn fn, void* user) {
  music_ = fn;
  musicUser_ = fn ? user : nullptr;
}

void Mixer::StopAll() {
  ForEach([](SoundBuffer* v) { Stop(v); });
}

void Mixer::Play(SoundBuffer* buffer) {
  uint64_t s = buffer->cursor.load(std::memory_order_acquire);
  while (!(s & kPlayingBit)) {
    uint64_t started = kPlayingBit | ((s + kSerialStep) & kSerialMask);
    if (buffer->cursor.compare_exchange_weak(s, started, std::memory_order_acq_rel)) return;
  }
}

void Mixer::Stop(SoundBuffer* buffer) { buffer->cursor.fetch_and(~kPlayingBit, std::memory_order_acq_rel); }

bool Mixer::IsPlaying(const SoundBuffer* buffer) {
  return buffer->cursor.load(std::memory_order_acquire) & kPlayingBit;
}

float VolumeGain(int volume) {
  const float v = static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f;
  return v * v;
}

float SoftLimit(float x) {
  float a = std::fabs(x);
  if (!(a > kKnee)) return x;
  float d = (a - kKnee) / (1.0f - kKnee);
  return std::copysign(kKnee + (1.0f - kKnee) * d / (1.0f + d), x);
}

void Mixer::Render(float* out, int frames) {
  if (frames <= 0) return;
  const size_t samples = static_cast<size_t>(frames) * 2;
  std::memset(out, 0, samples * sizeof(float));

  for (SoundBuffer* v : voices_) {
    if (!v) continue;
    uint64_t s = v->cursor.load(std::memory_order_acquire);
    if (!(s & kPlayingBit)) continue;
    uint32_t pos = static_cast<uint32_t>(s & kPositionMask);
    uint32_t n = pos < v->frames ? std::min<uint32_t>(v->frames - pos, static_cast<uint32_t>(frames)) : 0;
    if (n > 0) {
      const float* src = v->pcm + static_cast<size_t>(pos) * 2;
      for (size_t i = 0; i < size_t{n} * 2; ++i) out[i] += src[i];
    }
    uint32_t next = pos + n;
    uint64_t after = next >= v->frames ? (s & kSerialMask) : ((s & ~kPositionMask) | next);
    // Fails only when the game stopped or restarted it meanwhile; its word wins.
    v->cursor.compare_exchange_strong(s, after, std::memory_order_acq_rel);
  }

  const float effectsTarget = effectsGain_.load(std::memory_order_relaxed);
  if (effectsNow_ != 1.0f || effectsTarget != 1.0f) Scale(out, frames, &effectsNow_, effectsTarget);

  const float musicTarget = musicGain_.load(std::memory_order_relaxed);
  if (music_ && musicNow_ == 1.0f && musicTarget == 1.0f) {
    music_(musicUser_, out, frames, Rate());
  } else if (music_) {
    // Rendered even when silent, so the music keeps its time.
    for (int done = 0; done < frames; done += kScratchFrames) {
      const int n = std::min(kScratchFrames, frames - done);
      std::memset(scratch_, 0, sizeof(float) * 2 * static_cast<size_t>(n));
      music_(musicUser_, scratch_, n, Rate());
      Scale(scratch_, n, &musicNow_, musicTarget);
      float* o = out + static_cast<size_t>(done) * 2;
      for (int i = 0; i < 2 * n; ++i) o[i] += scratch_[i];
    }
  } else {
    musicNow_ = musicTarget;
  }

  for (size_t i = 0; i < samples; ++i) out[i] = SoftLimit(out[i]);
}

}  // namespace plat::audio
