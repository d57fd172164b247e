// SDL's audio device as the game uses it, with the peak of every period
// noted for the page. In a browser SDL plays through Web Audio and calls
// back on the page's one thread, so a plain variable will do. Paused, the
// page's audio context is suspended as well: nothing plays, nothing runs.
#include <SDL.h>
#include <emscripten.h>

#include <cmath>

#include "platform/web/web.h"

namespace plat::audio {

namespace {

SDL_AudioDeviceID gDevice = 0;
float gPeak = 0.0f;
constexpr int kFallbackRate = 48000;

void SDLCALL Callback(void* user, Uint8* stream, int len) {
  float* out = reinterpret_cast<float*>(stream);
  const int frames = len / static_cast<int>(2 * sizeof(float));
  static_cast<Mixer*>(user)->Render(out, frames);
  for (int i = 0; i < 2 * frames; ++i) gPeak = std::fmax(gPeak, std::fabs(out[i]));
}

bool Init() { return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0; }

void Quit() { SDL_QuitSubSystem(SDL_INIT_AUDIO); }

int Open(Mixer* mixer) {
  SDL_AudioSpec want{};
  SDL_AudioSpec have{};
  want.freq = kFallbackRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = kDevicePeriod;
  want.callback = Callback;
  want.userdata = mixer;
  // The page's audio context has its own rate; SDL takes that.
  gDevice = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
  if (gDevice == 0 || have.freq <= 0) {
    if (gDevice != 0) SDL_CloseAudioDevice(gDevice);
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

bool Lost() { return gDevice == 0; }

// One thread: the callback never runs while the game does.
void Nothing() {}

void Pause(bool paused) {
  if (gDevice == 0) return;
  SDL_PauseAudioDevice(gDevice, paused ? 1 : 0);
  // clang-format off
  EM_ASM({
    var context = Module['SDL2'] && Module['SDL2'].audioContext;
    // A resume still waiting when the game ends fails: nothing to report.
    if (context) ($0 ? context.suspend() : context.resume()).catch(function() {});
  }, paused ? 1 : 0);
  // clang-format on
}

constexpr DeviceOps kMeteredOps = {Init, Quit, Open, Close, Lost, Nothing, Nothing, Pause, nullptr};

}  // namespace

const DeviceOps& MeteredDeviceOps() { return kMeteredOps; }

}  // namespace plat::audio

namespace web {

float TakeOutputPeak() {
  const float peak = plat::audio::gPeak;
  plat::audio::gPeak = 0.0f;
  return peak;
}

}  // namespace web
