// The effect buffers of platform.h on the one audio device.
#include <cstring>
#include <new>

#include "platform/audio/convert.h"
#include "platform/audio/device_life.h"
#include "platform/platform.h"

namespace plat {

namespace {

// Sizes no effect comes near; they keep forged formats from asking for
// gigabytes.
constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;
constexpr uint64_t kMaxConvertedFrames = uint64_t{1} << 25;

audio::Mixer& Mix() { return audio::DeviceMixer(); }

bool IsLost(const SoundBuffer* b) {
  return b->generation != audio::DeviceGeneration() || audio::DeviceLost();
}

// Converts the buffer's bytes for the open device and swaps the result in.
bool Convert(SoundBuffer* b) {
  float* pcm = nullptr;
  uint32_t frames = 0;
  if (!audio::ConvertToDevice(b->format, b->raw, b->bytes, Mix().Rate(), &pcm, &frames)) return false;
  audio::Ops().lock();
  const float* old = b->pcm;
  b->pcm = pcm;
  b->frames = frames;
  b->generation = audio::DeviceGeneration();
  audio::Ops().unlock();
  delete[] old;
  return true;
}

void FreeBuffer(SoundBuffer* b) {
  delete[] b->raw;
  delete[] b->pcm;
  delete b;
}

}  // namespace

void audio::FreeAllBuffers() {
  Mix().ForEach([](SoundBuffer* b) {
    Mix().Remove(b);
    FreeBuffer(b);
  });
}

SoundBuffer* AudioCreateBuffer(const WaveFormat& format, uint32_t bytes) {
  if (!audio::DeviceUsable() || bytes == 0 || bytes > kMaxBufferBytes || !audio::IsSupportedFormat(format))
    return nullptr;
  if (audio::ConvertedFrames(format, bytes, Mix().Rate()) > kMaxConvertedFrames) return nullptr;
  SoundBuffer* b = new (std::nothrow) SoundBuffer;
  if (!b) return nullptr;
  b->raw = new (std::nothrow) uint8_t[bytes];
  if (!b->raw) {
    delete b;
    return nullptr;
  }
  std::memset(b->raw, format.wBitsPerSample == 8 ? 0x80 : 0, bytes);  // silence
  b->format = format;
  b->bytes = bytes;
  b->generation = audio::DeviceGeneration();
  audio::Ops().lock();
  bool added = Mix().Add(b);
  audio::Ops().unlock();
  if (!added) {
    FreeBuffer(b);
    return nullptr;
  }
  return b;
}

bool SoundLock(SoundBuffer* b, void** data, uint32_t* bytes) {
  if (!b || !data || !bytes || IsLost(b)) return false;
  b->locked = true;
  *data = b->raw;
  *bytes = b->bytes;
  return true;
}

bool SoundUnlock(SoundBuffer* b, void* data, uint32_t bytes) {
  if (!b || !b->locked || data != b->raw || bytes > b->bytes) return false;
  b->locked = false;
  return Convert(b);
}

uint32_t SoundGetStatus(SoundBuffer* b) {
  if (!b) return 0;
  if (IsLost(b)) return kSoundBufferLost;
  // Nothing here ever loops.
  return audio::Mixer::IsPlaying(b) ? kSoundPlaying : 0;
}

bool SoundRestore(SoundBuffer* b) {
  if (!b) return false;
  if (audio::DeviceLost()) audio::ReopenDevice();
  // The samples were kept; only their conversion belongs to the device.
  if (b->generation != audio::DeviceGeneration() && !Convert(b)) return false;
  return true;
}

void SoundPlay(SoundBuffer* b) {
  if (b && !IsLost(b)) audio::Mixer::Play(b);
}

void SoundStop(SoundBuffer* b) {
  if (b) audio::Mixer::Stop(b);
}

void SoundRelease(SoundBuffer* b) {
  if (!b) return;
  audio::Ops().lock();
  Mix().Remove(b);
  audio::Ops().unlock();
  FreeBuffer(b);
}

}  // namespace plat
