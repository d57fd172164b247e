// CWave: one WAV file held whole in memory, headers included, answering
// what format its sound has, how long its sample data is, and the samples.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

// The sound format at the start of the "fmt " chunk: 18 bytes in the file,
// little-endian, read field by field. The effect buffers take it as it is.
using WAVEFORMATEX = plat::WaveFormat;
constexpr int32_t kWaveFormatExBytes = 18;

class CWave {
 public:
  CWave();
  virtual ~CWave();

  CWave(const CWave&) = delete;
  CWave& operator=(const CWave&) = delete;

  // Loads a whole file as the image, replacing the one held.
  bool Create(const char* pszFileName);
  bool IsValid() const { return !image.empty(); }

  // Each query walks the image anew: RIFF form "WAVE", then the chunk.
  // Copies 18 bytes from the start of "fmt " (past the end of the image
  // they read as 0); false, with wfFormat untouched, when there is no image
  // or no "fmt " chunk.
  bool GetFormat(WAVEFORMATEX& wfFormat) const;
  // For a WAVE_FORMAT_EXTENSIBLE "fmt " chunk, the plain format tag its
  // sub-format stands for (1 PCM, 3 float); 0 when there is none.
  uint16_t GetSubFormat() const;
  // Size of the "data" chunk, cut to what the image holds; 0 if none.
  uint32_t GetDataLen() const;
  // Copies up to dwMaxLen sample bytes into pWaveData and returns the count
  // asked for. With pWaveData null it allocates (new[]) the whole chunk,
  // which the caller then owns and frees with delete[]; dwMaxLen is ignored.
  uint32_t GetData(uint8_t*& pWaveData, uint32_t dwMaxLen) const;
  bool Free();

 protected:
  std::vector<uint8_t> image;  // the whole file; empty when none is held
};
