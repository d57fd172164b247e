// The effect buffers of platform.h on the one audio device.
#include "platform/platform.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/audio/audio.h"
#include "platform/audio/convert.h"
#include "platform/audio/midi_driver.h"
#include "platform/audio/mixer.h"

namespace plat {

namespace {

const audio::DeviceOps* gOps = nullptr;
audio::Mixer gMixer;
bool gSubsystem = false;
bool gOpen = false;
bool gPaused = false;
// No device could be opened: everything works as if one were playing, at a
// nominal rate, until a new device appears.
bool gSilent = false;
bool gAppeared = false;  // a device was added while silent
constexpr int kSilentRate = 48000;
// Bumped by every opening; a buffer converted for an older one is lost.
uint32_t gGeneration = 0;

// Sizes no effect comes near; they keep forged formats from asking for
// gigabytes.
constexpr uint32_t kMaxBufferBytes = 0x0FFFFFFF;
constexpr uint64_t kMaxConvertedFrames = uint64_t{1} << 25;

const audio::DeviceOps& Ops() { return gOps ? *gOps : audio::SdlDeviceOps(); }

bool DeviceLost() {
  if (gSilent) {
    // Asking once per frame is cheap; trying to open a device is not.
    if (!gAppeared && Ops().appeared && Ops().appeared()) gAppeared = true;
    return gAppeared;
  }
  return !gOpen || Ops().lost();
}

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
  gSilent = false;
  gAppeared = false;
  ++gGeneration;
  if (gPaused && Ops().pause) Ops().pause(true);
  return true;
}

// A machine without sound still plays the game: one line says so, and the
// buffers go on being made, filled and "played" with nobody listening.
void GoSilent() {
  if (!gSilent) std::fprintf(stderr, "ruzov: no sound device could be opened; playing without sound\n");
  gOpen = false;
  gSilent = true;
  gAppeared = false;
  if (gMixer.Rate() <= 0) gMixer.SetRate(kSilentRate);
  ++gGeneration;
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
  if (gOpen || gSilent) return true;
  AudioApplyVolumes(CurrentPreferences());
  if (!gSubsystem) gSubsystem = Ops().init();
  if (!gSubsystem || !OpenDevice()) GoSilent();
  return true;
}

bool AudioSetCooperative() { return gOpen || gSilent; }

SoundBuffer* AudioCreateBuffer(const WaveFormat& format, uint32_t bytes) {
  if (!(gOpen || gSilent) || bytes == 0 || bytes > kMaxBufferBytes || !audio::IsSupportedFormat(format))
    return nullptr;
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
    if (gOpen) Ops().close();
    gOpen = false;
    // The device is closed: no callback runs, so the voices can be reset
    // without the lock. Whatever was sounding was cut off with the device.
    gMixer.StopAll();
    // No device to reopen: silent until one appears, rather than a retry
    // with every effect the game asks for.
    if (!gSubsystem || !OpenDevice()) GoSilent();
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
  gSilent = false;
  gAppeared = false;
}

void AudioSetMusicSource(MusicRenderFn fn, void* user) {
  // Under the lock: the callback sees the old pair or the new one, and
  // once this returns the old source is no longer running.
  if (gOpen) Ops().lock();
  gMixer.SetMusic(fn, user);
  if (gOpen) Ops().unlock();
}

int AudioDeviceRate() { return gOpen || gSilent ? gMixer.Rate() : 0; }

void AudioApplyVolumes(const Preferences& p) {
  const float master = audio::VolumeGain(p.masterVolume);
  const float effects = p.mute ? 0.0f : master * audio::VolumeGain(p.effectsVolume);
  const float music = p.mute ? 0.0f : master * audio::VolumeGain(p.musicVolume);
  gMixer.SetGains(effects, music);
  audio::MidiSetLevel(p.mute ? 0 : p.masterVolume * p.musicVolume);
}

void AudioPause(bool paused) {
  gPaused = paused;
  if (gOpen && Ops().pause) Ops().pause(paused);
  audio::MidiPause(paused);
}

}  // namespace plat
