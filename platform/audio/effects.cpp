// The effect buffers of platform.h on the one audio device.
#include "platform/platform.h"

#include <cstring>
#include <new>

#include "platform/audio/convert.h"
#include "platform/audio/device.h"
#include "platform/audio/music_source.h"
#include "platform/audio/volume.h"

namespace plat {

namespace {

const audio::DeviceOps* gOps = nullptr;
audio::Mixer gMixer;
bool gSubsystem = false;
bool gOpen = false;
bool gPaused = false;
// Bumped by every opening; a buffer converted for an older one is lost.
uint32_t gGeneration = 0;

// Sizes no effect comes near; they keep forged formats from asking for
// gigabytes.
constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;
constexpr uint64_t kMaxConvertedFrames = uint64_t{1} << 25;

const audio::DeviceOps& Ops() { return gOps ? *gOps : audio::SdlDeviceOps(); }

bool DeviceLost() { return !gOpen || Ops().lost(); }

bool IsLost(const SoundBuffer* b) { return b->generation != gGeneration || DeviceLost(); }

// Converts the buffer's bytes for the open device and swaps the result in.
bool Convert(SoundBuffer* b) {
  float* pcm = nullptr;
  uint32_t frames = 0;
  if (!audio::ConvertToDevice(b->format, b->raw, b->bytes, gMixer.Rate(), &pcm, &frames)) return false;
  Ops().lock();
  const float* old = b->pcm;
  b->pcm = pcm;
  b->frames = frames;
  b->generation = gGeneration;
  Ops().unlock();
  delete[] old;
  return true;
}

bool OpenDevice() {
  gMixer.SkipGlide();  // no callback runs yet
  int rate = Ops().open(&gMixer);
  if (rate <= 0) return false;
  gMixer.SetRate(rate);
  gOpen = true;
  ++gGeneration;
  if (gPaused && Ops().pause) Ops().pause(true);
  return true;
}

void FreeBuffer(SoundBuffer* b) {
  delete[] b->raw;
  delete[] b->pcm;
  delete b;
}

}  // namespace

namespace audio {

void UseDeviceOps(const DeviceOps* ops) {
  if (!gOpen && !gSubsystem) gOps = ops;
}

Mixer& DeviceMixer() { return gMixer; }

}  // namespace audio

bool AudioCreate() {
  if (gOpen) return true;
  AudioApplyVolumes(CurrentPreferences());
  if (!gSubsystem) {
    if (!Ops().init()) return false;
    gSubsystem = true;
  }
  if (!OpenDevice()) {
    Ops().quit();
    gSubsystem = false;
    return false;
  }
  return true;
}

bool AudioSetCooperative() { return gOpen; }

SoundBuffer* AudioCreateBuffer(const WaveFormat& format, uint32_t bytes) {
  if (!gOpen || bytes == 0 || bytes > kMaxBufferBytes || !audio::IsSupportedFormat(format)) return nullptr;
  if (audio::ConvertedFrames(format, bytes, gMixer.Rate()) > kMaxConvertedFrames) return nullptr;
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
  b->generation = gGeneration;
  Ops().lock();
  bool added = gMixer.Add(b);
  Ops().unlock();
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
  if (DeviceLost()) {
    if (!gSubsystem) return false;
    if (gOpen) Ops().close();
    gOpen = false;
    // The device is closed: no callback runs, so the voices can be reset
    // without the lock. Whatever was sounding was cut off with the device.
    gMixer.StopAll();
    if (!OpenDevice()) return false;
  }
  // The samples were kept; only their conversion belongs to the device.
  if (b->generation != gGeneration && !Convert(b)) return false;
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
  Ops().lock();
  gMixer.Remove(b);
  Ops().unlock();
  FreeBuffer(b);
}

void AudioRelease() {
  if (gOpen) Ops().close();
  gOpen = false;
  gMixer.ForEach([](SoundBuffer* b) {
    gMixer.Remove(b);
    FreeBuffer(b);
  });
  gMixer.SetRate(0);
  if (gSubsystem) Ops().quit();
  gSubsystem = false;
}

void AudioSetMusicSource(MusicRenderFn fn, void* user) {
  // Under the lock: the callback sees the old pair or the new one, and
  // once this returns the old source is no longer running.
  if (gOpen) Ops().lock();
  gMixer.SetMusic(fn, user);
  if (gOpen) Ops().unlock();
}

int AudioDeviceRate() { return gOpen ? gMixer.Rate() : 0; }

void AudioApplyVolumes(const Preferences& p) {
  const float master = audio::VolumeGain(p.masterVolume);
  const float effects = p.mute ? 0.0f : master * audio::VolumeGain(p.effectsVolume);
  const float music = p.mute ? 0.0f : master * audio::VolumeGain(p.musicVolume);
  gMixer.SetGains(effects, music);
}

void AudioPause(bool paused) {
  gPaused = paused;
  if (gOpen && Ops().pause) Ops().pause(paused);
}

}  // namespace plat
