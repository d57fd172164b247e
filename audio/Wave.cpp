#include "audio/Wave.h"

#include <cstdio>
#include <limits>
#include <new>

#include "audio/MMIO.h"

namespace {

// Opens a memory file on the image and descends into RIFF "WAVE" and then
// the wanted chunk; the read position is left at the chunk's first byte.
bool WalkTo(FOURCC id, CMMIO& mmio, CMMChunk& mmckSubchunk) {
  CMMTypeChunk mmckParent('W', 'A', 'V', 'E');
  if (mmio.Descend(mmckParent, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return false;
  mmckSubchunk.ckid = id;
  return mmio.Descend(mmckSubchunk, mmckParent, MMIO_FINDCHUNK) == MMSYSERR_NOERROR;
}

// mmio offsets are signed 32-bit; larger images are refused.
constexpr long kMaxImage = std::numeric_limits<int32_t>::max();

}  // namespace

CWave::CWave() : imageData(nullptr), imageLength(0) {}

CWave::~CWave() { Free(); }

bool CWave::Create(const char* pszFileName) {
  Free();
  // Binary mode: CR, LF and 0x1A are sample bytes like any other.
  std::FILE* file = std::fopen(pszFileName, "rb");
  if (!file) return false;
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  if (length <= 0 || length > kMaxImage) {
    std::fclose(file);
    return false;
  }
  imageLength = static_cast<uint32_t>(length);
  imageData = new (std::nothrow) uint8_t[imageLength];
  if (!imageData) {
    std::fclose(file);
    return false;
  }
  std::rewind(file);
  size_t got = std::fread(imageData, 1, imageLength, file);
  std::fclose(file);
  // A file that shrank under us: keep only what was really read.
  if (got == 0) {
    Free();
    return false;
  }
  imageLength = static_cast<uint32_t>(got);
  return true;
}

bool CWave::GetFormat(WAVEFORMATEX& wfFormat) const {
  if (!IsValid()) return false;
  CMMMemoryIOInfo info(imageData, static_cast<int32_t>(imageLength), 0);
  CMMIO mmio(info);
  CMMChunk mmckSubchunk;
  if (!WalkTo(MakeFourCC('f', 'm', 't', ' '), mmio, mmckSubchunk)) return false;
  // Always the full 18 bytes, even from a 16-byte PCM chunk: cbSize then
  // takes whatever follows the chunk.
  uint8_t raw[kWaveFormatExBytes] = {};
  mmio.Read(raw, kWaveFormatExBytes);
  mmio.Ascend(mmckSubchunk, 0);
  wfFormat.wFormatTag = ReadLE16(raw);
  wfFormat.nChannels = ReadLE16(raw + 2);
  wfFormat.nSamplesPerSec = ReadLE32(raw + 4);
  wfFormat.nAvgBytesPerSec = ReadLE32(raw + 8);
  wfFormat.nBlockAlign = ReadLE16(raw + 12);
  wfFormat.wBitsPerSample = ReadLE16(raw + 14);
  wfFormat.cbSize = ReadLE16(raw + 16);
  return true;
}

uint16_t CWave::GetSubFormat() const {
  if (!IsValid()) return 0;
  CMMMemoryIOInfo info(imageData, static_cast<int32_t>(imageLength), 0);
  CMMIO mmio(info);
  CMMChunk mmckSubchunk;
  if (!WalkTo(MakeFourCC('f', 'm', 't', ' '), mmio, mmckSubchunk)) return 0;
  // WAVEFORMATEXTENSIBLE: valid bits, channel mask, then the sub-format GUID
  // whose first two bytes are the plain format tag.
  constexpr int32_t kSubFormatAt = 24;
  if (mmckSubchunk.cksize < kSubFormatAt + 2) return 0;
  uint8_t raw[kSubFormatAt + 2] = {};
  if (mmio.Read(raw, sizeof raw) != static_cast<int32_t>(sizeof raw)) return 0;
  return ReadLE16(raw + kSubFormatAt);
}

uint32_t CWave::GetDataLen() const {
  if (!IsValid()) return 0;
  CMMMemoryIOInfo info(imageData, static_cast<int32_t>(imageLength), 0);
  CMMIO mmio(info);
  CMMChunk mmckSubchunk;
  if (!WalkTo(MakeFourCC('d', 'a', 't', 'a'), mmio, mmckSubchunk)) return 0;
  return mmckSubchunk.cksize;
}

uint32_t CWave::GetData(uint8_t*& pWaveData, uint32_t dwMaxLen) const {
  if (!IsValid()) return 0;
  CMMMemoryIOInfo info(imageData, static_cast<int32_t>(imageLength), 0);
  CMMIO mmio(info);
  CMMChunk mmckSubchunk;
  if (!WalkTo(MakeFourCC('d', 'a', 't', 'a'), mmio, mmckSubchunk)) return 0;
  uint32_t dwLenToCopy = mmckSubchunk.cksize;
  if (pWaveData == nullptr) {
    // Like a zero-sized global block, an empty chunk yields no memory.
    if (dwLenToCopy > 0) pWaveData = new (std::nothrow) uint8_t[dwLenToCopy];
  } else if (dwMaxLen < dwLenToCopy) {
    dwLenToCopy = dwMaxLen;
  }
  // The size is already cut to the image, so it fits mmio's signed count.
  if (pWaveData != nullptr) mmio.Read(pWaveData, static_cast<int32_t>(dwLenToCopy));
  return dwLenToCopy;
}

bool CWave::Free() {
  if (imageData == nullptr) return false;
  delete[] imageData;
  imageData = nullptr;
  imageLength = 0;
  return true;
}
