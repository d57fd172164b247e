// The SDL audio device: default output, its own preferred rate, stereo
// float, short periods.
#include <SDL.h>

#include <atomic>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"

namespace plat::audio {

namespace {

SDL_AudioDeviceID gDevice = 0;
std::atomic<bool> gAdded{false};

// Runs on whichever thread SDL notices the new device.
int SDLCALL WatchDevices(void*, SDL_Event* event) {
  if (event->type == SDL_AUDIODEVICEADDED && !event->adevice.iscapture) gAdded = true;
  return 0;
}
constexpr int kFallbackRate = 48000;

void SDLCALL Callback(void* user, Uint8* stream, int len) {
  static_cast<Mixer*>(user)->Render(reinterpret_cast<float*>(stream),
                                    len / static_cast<int>(2 * sizeof(float)));
}

bool Init() {
  // Device arrivals come as events, even in the simulator.
  if (SDL_InitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS) != 0) return false;
  SDL_AddEventWatch(WatchDevices, nullptr);
  return true;
}

void Quit() {
  SDL_DelEventWatch(WatchDevices, nullptr);
  SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_EVENTS);
}

bool Appeared() { return gAdded.exchange(false); }

int Open(Mixer* mixer) {
  SDL_AudioSpec preferred{};
  int rate = kFallbackRate;
  // A reopening keeps the rate the music synthesiser already runs at; SDL
  // resamples if the new device differs, so nothing changes pitch.
  const bool reopening = mixer->Rate() > 0;
  if (reopening)
    rate = mixer->Rate();
  else if (SDL_GetDefaultAudioInfo(nullptr, &preferred, 0) == 0 && preferred.freq > 0)
    rate = preferred.freq;

  SDL_AudioSpec want{};
  SDL_AudioSpec have{};
  want.freq = rate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = kDevicePeriod;
  want.callback = Callback;
  want.userdata = mixer;
  // Only the rate may differ, and only on a first opening; SDL adapts
  // format, channels and period size for us, so the callback always sees
  // stereo float in kDevicePeriod frames.
  gAdded = false;  // from here on, only devices that come later count
  gDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, reopening ? 0 : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (gDevice == 0) return 0;
  if (have.freq <= 0) {
    SDL_CloseAudioDevice(gDevice);
    gDevice = 0;
    return 0;
  }
  mixer->SetRate(have.freq);
  SDL_PauseAudioDevice(gDevice, 0);
  return have.freq;
}

void Close() {
  if (gDevice != 0) SDL_CloseAudioDevice(gDevice);
  gDevice = 0;
}

// A removed device stays open but disabled; SDL then reports it stopped.
bool Lost() { return gDevice == 0 || SDL_GetAudioDeviceStatus(gDevice) == SDL_AUDIO_STOPPED; }

void Lock() {
  if (gDevice != 0) SDL_LockAudioDevice(gDevice);
}

void Unlock() {
  if (gDevice != 0) SDL_UnlockAudioDevice(gDevice);
}

void Pause(bool paused) {
  if (gDevice != 0) SDL_PauseAudioDevice(gDevice, paused ? 1 : 0);
}

constexpr DeviceOps kSdlOps = {Init, Quit, Open, Close, Lost, Lock, Unlock, Pause, Appeared};

}  // namespace

const DeviceOps& SdlDeviceOps() { return kSdlOps; }

}  // namespace plat::audio
