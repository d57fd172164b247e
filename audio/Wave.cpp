#include "audio/Wave.h"

#include <limits>
#include <new>

#include "audio/MMIO.h"
#include "base/read_file.h"

namespace {

// Opens a memory file on the image and descends into RIFF "WAVE" and then
// the wanted chunk; the read position is left at the chunk's first byte.
bool WalkTo(FOURCC id, CMMIO& mmio, CMMChunk& mmckSubchunk) {
  CMMTypeChunk mmckParent('W', 'A', 'V', 'E');
  if (mmio.Descend(mmckParent, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return false;
  mmckSubchunk.ckid = id;
  return mmio.Descend(mmckSubchunk, mmckParent, MMIO_FINDCHUNK) == MMSYSERR_NOERROR;
}

// The image as a memory file. mmio's records take a plain pointer as
// Windows' do, but this file is only ever read.
CMMMemoryIOInfo MemoryFile(const std::vector<uint8_t>& image) {
  return CMMMemoryIOInfo(const_cast<uint8_t*>(image.data()), static_cast<int32_t>(image.size()), 0);
}

// mmio offsets are signed 32-bit; larger images are refused.
constexpr size_t kMaxImage = std::numeric_limits<int32_t>::max();

}  // namespace

CWave::CWave() = default;

CWave::~CWave() { Free(); }

bool CWave::Create(const char* pszFileName) {
  Free();
  // Binary: CR, LF and 0x1A are sample bytes like any other. A file that
  // cannot be read whole leaves no image.
  files::ReadWhole(pszFileName, kMaxImage, &image);
  return IsValid();
}

bool CWave::GetFormat(WAVEFORMATEX& wfFormat) const {
  if (!IsValid()) return false;
  CMMMemoryIOInfo info = MemoryFile(image);
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
  CMMMemoryIOInfo info = MemoryFile(image);
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
  CMMMemoryIOInfo info = MemoryFile(image);
  CMMIO mmio(info);
  CMMChunk mmckSubchunk;
  if (!WalkTo(MakeFourCC('d', 'a', 't', 'a'), mmio, mmckSubchunk)) return 0;
  return mmckSubchunk.cksize;
}

uint32_t CWave::GetData(uint8_t*& pWaveData, uint32_t dwMaxLen) const {
  if (!IsValid()) return 0;
  CMMMemoryIOInfo info = MemoryFile(image);
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
  if (image.empty()) return false;
  std::vector<uint8_t>().swap(image);
  return true;
}
