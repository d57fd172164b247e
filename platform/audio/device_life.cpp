// The audio device's life cycle: created, opened (or silent when there is
// none), lost and reopened, paused, released. One state, changed only here.
#include <cstdio>

#include "platform/audio/device_life.h"
#include "platform/audio/midi_driver.h"
#include "platform/platform.h"

namespace plat {

namespace {

const audio::DeviceOps* gOps = nullptr;
audio::Mixer gMixer;
audio::DeviceState gState = audio::DeviceState::Closed;
// The player's pause, kept across reopenings.
bool gPaused = false;
uint32_t gGeneration = 0;
// The rate a silent device pretends to play at.
constexpr int kSilentRate = 48000;

bool SystemUp() { return gState != audio::DeviceState::Closed && gState != audio::DeviceState::NoSystem; }

bool OpenDevice() {
  gMixer.SkipGlide();  // no callback runs yet
  int rate = audio::Ops().open(&gMixer);
  if (rate <= 0) return false;
  gMixer.SetRate(rate);
  gState = audio::DeviceState::Open;
  ++gGeneration;
  if (gPaused && audio::Ops().pause) audio::Ops().pause(true);
  return true;
}

// A machine without sound still plays the game: one line says so, and the
// buffers go on being made, filled and "played" with nobody listening.
void GoSilent(audio::DeviceState silent) {
  const bool wasSilent = gState == audio::DeviceState::Silent || gState == audio::DeviceState::Appeared ||
                         gState == audio::DeviceState::NoSystem;
  if (!wasSilent) std::fprintf(stderr, "ruzov: no sound device could be opened; playing without sound\n");
  gState = silent;
  if (gMixer.Rate() <= 0) gMixer.SetRate(kSilentRate);
  ++gGeneration;
}

}  // namespace

namespace audio {

const DeviceOps& Ops() { return gOps ? *gOps : SdlDeviceOps(); }

void UseDeviceOps(const DeviceOps* ops) {
  if (gState == DeviceState::Closed) gOps = ops;
}

Mixer& DeviceMixer() { return gMixer; }

DeviceState CurrentDeviceState() { return gState; }

bool DeviceUsable() { return gState != DeviceState::Closed; }

bool DeviceLost() {
  switch (gState) {
    case DeviceState::Open: return Ops().lost();
    // Asking once per frame is cheap; trying to open a device is not.
    case DeviceState::Silent:
      if (Ops().appeared && Ops().appeared()) gState = DeviceState::Appeared;
      return gState == DeviceState::Appeared;
    case DeviceState::Appeared: return true;
    case DeviceState::NoSystem: return false;
    case DeviceState::Closed: break;
  }
  return true;
}

void ReopenDevice() {
  if (gState == DeviceState::Open) Ops().close();
  // The device is closed: no callback runs, so the voices can be reset
  // without the lock. Whatever was sounding was cut off with the device.
  gMixer.StopAll();
  // No device to reopen: silent until one appears, rather than a retry
  // with every effect the game asks for.
  if (!SystemUp())
    GoSilent(DeviceState::NoSystem);
  else if (!OpenDevice())
    GoSilent(DeviceState::Silent);
}

uint32_t DeviceGeneration() { return gGeneration; }

}  // namespace audio

bool AudioCreate() {
  if (gState != audio::DeviceState::Closed) return true;
  AudioApplyVolumes(CurrentPreferences());
  if (!audio::Ops().init())
    GoSilent(audio::DeviceState::NoSystem);
  else if (!OpenDevice())
    GoSilent(audio::DeviceState::Silent);
  return true;
}

bool AudioSetCooperative() { return audio::DeviceUsable(); }

void AudioRelease() {
  if (gState == audio::DeviceState::Open) audio::Ops().close();
  const bool systemUp = SystemUp();
  gState = audio::DeviceState::Closed;
  audio::FreeAllBuffers();
  gMixer.SetRate(0);
  if (systemUp) audio::Ops().quit();
}

void AudioSetMusicSource(MusicRenderFn fn, void* user) {
  // Under the lock: the callback sees the old pair or the new one, and
  // once this returns the old source is no longer running.
  const bool open = gState == audio::DeviceState::Open;
  if (open) audio::Ops().lock();
  gMixer.SetMusic(fn, user);
  if (open) audio::Ops().unlock();
}

int AudioDeviceRate() { return audio::DeviceUsable() ? gMixer.Rate() : 0; }

void AudioApplyVolumes(const Preferences& p) {
  const float master = audio::VolumeGain(p.masterVolume);
  const float effects = p.mute ? 0.0f : master * audio::VolumeGain(p.effectsVolume);
  const float music = p.mute ? 0.0f : master * audio::VolumeGain(p.musicVolume);
  gMixer.SetGains(effects, music);
  audio::MidiSetLevel(p.mute ? 0 : p.masterVolume * p.musicVolume);
}

void AudioPause(bool paused) {
  gPaused = paused;
  if (gState == audio::DeviceState::Open && audio::Ops().pause) audio::Ops().pause(paused);
  audio::MidiPause(paused);
}

}  // namespace plat
