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

void Mixer::Stop(SoundBuffer* buffer) {
  buffer->cursor.fetch_and(~kPlayingBit, std::memory_order_acq_rel);
}

bool Mixer::IsPlaying(const SoundBuffer* buffer) {
  return buffer->cursor.load(std::memory_order_acquire) & kPlayingBit;
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

  if (music_) music_(musicUser_, out, frames, Rate());

  for (size_t i = 0; i < samples; ++i) out[i] = SoftLimit(out[i]);
}

}  // namespace plat::audio
