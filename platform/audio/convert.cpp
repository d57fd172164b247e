#include "platform/audio/convert.h"

#include <SDL.h>

#include <cstring>
#include <limits>
#include <new>

namespace plat::audio {

namespace {
constexpr uint16_t kWaveFormatPcm = 1;
constexpr uint16_t kWaveFormatFloat = 3;
constexpr uint32_t kMinRate = 100;
constexpr uint32_t kMaxRate = 200000;

// SDL has no 24-bit samples: they go to 32 bits first, the low byte zero.
void Widen24(const uint8_t* in, uint32_t samples, uint8_t* out) {
  for (uint32_t i = samples; i-- > 0;) {
    out[4 * i + 3] = in[3 * i + 2];
    out[4 * i + 2] = in[3 * i + 1];
    out[4 * i + 1] = in[3 * i];
    out[4 * i] = 0;
  }
}
}  // namespace

bool IsSupportedFormat(const WaveFormat& f) {
  const bool pcm = f.wFormatTag == kWaveFormatPcm && (f.wBitsPerSample == 8 || f.wBitsPerSample == 16 ||
                                                      f.wBitsPerSample == 24 || f.wBitsPerSample == 32);
  const bool floats = f.wFormatTag == kWaveFormatFloat && f.wBitsPerSample == 32;
  if (!pcm && !floats) return false;
  if (f.nChannels != 1 && f.nChannels != 2) return false;
  if (f.nSamplesPerSec < kMinRate || f.nSamplesPerSec > kMaxRate) return false;
  return f.nBlockAlign == f.nChannels * f.wBitsPerSample / 8;
}

uint64_t ConvertedFrames(const WaveFormat& f, uint32_t bytes, int deviceRate) {
  if (f.nBlockAlign == 0 || f.nSamplesPerSec == 0 || deviceRate <= 0) return 0;
  uint64_t in = bytes / f.nBlockAlign;
  return in * static_cast<uint64_t>(deviceRate) / f.nSamplesPerSec + 1;
}

bool ConvertToDevice(const WaveFormat& f, const uint8_t* data, uint32_t bytes, int deviceRate, float** out,
                     uint32_t* frames) {
  *out = nullptr;
  *frames = 0;
  if (!IsSupportedFormat(f) || deviceRate <= 0) return false;
  // A trailing partial frame is not sound.
  uint32_t whole = bytes - bytes % f.nBlockAlign;
  if (whole == 0) return true;

  SDL_AudioFormat from = AUDIO_S16LSB;
  if (f.wBitsPerSample == 8) from = AUDIO_U8;
  if (f.wBitsPerSample >= 24) from = f.wFormatTag == kWaveFormatFloat ? AUDIO_F32LSB : AUDIO_S32LSB;
  const bool wide = f.wBitsPerSample == 24;
  const uint32_t samples = whole / (f.wBitsPerSample / 8);
  const uint32_t inBytes = wide ? samples * 4 : whole;
  // SDL_AudioCVT rather than SDL_AudioStream: the stream drops the tail of a
  // short sound when resampling, the one-shot conversion keeps every frame.
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, from, static_cast<Uint8>(f.nChannels), static_cast<int>(f.nSamplesPerSec),
                        AUDIO_F32SYS, 2, deviceRate) < 0)
    return false;
  uint64_t workBytes = uint64_t{inBytes} * static_cast<uint64_t>(cvt.len_mult);
  if (workBytes > static_cast<uint64_t>(std::numeric_limits<int>::max())) return false;
  uint8_t* work = new (std::nothrow) uint8_t[workBytes];
  if (!work) return false;
  if (wide)
    Widen24(data, samples, work);
  else
    std::memcpy(work, data, whole);
  cvt.buf = work;
  cvt.len = static_cast<int>(inBytes);
  bool ok = SDL_ConvertAudio(&cvt) == 0;
  uint32_t count = ok ? static_cast<uint32_t>(cvt.len_cvt) / (2 * sizeof(float)) : 0;
  float* pcm = nullptr;
  if (count > 0) {
    pcm = new (std::nothrow) float[size_t{count} * 2];
    if (pcm)
      std::memcpy(pcm, work, size_t{count} * 2 * sizeof(float));
    else
      ok = false;
  }
  delete[] work;
  if (!ok) return false;
  *out = pcm;
  *frames = count;
  return true;
}

}  // namespace plat::audio
