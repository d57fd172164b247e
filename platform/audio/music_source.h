// How the music engine reaches the one audio device: the mixer calls the
// installed source from its callback, after the effects are mixed.
#pragma once

namespace plat {

// Adds `frames` stereo frames at `rate` Hz into `out` (interleaved left,
// right; full scale is -1..1). Runs on the audio thread: it must not block,
// lock for long or allocate.
using MusicRenderFn = void (*)(void* user, float* out, int frames, int rate);

// Installs the music source (a null `fn` removes it). Safe to call from the
// game thread at any time; the callback never sees a half-installed source.
void AudioSetMusicSource(MusicRenderFn fn, void* user);

// Sample rate of the open device, 0 while none is open.
int AudioDeviceRate();

}  // namespace plat
