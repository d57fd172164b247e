// RIFF chunk walking on a file image held in memory.
//
// The Windows multimedia file I/O (mmioOpen, mmioDescend, mmioRead,
// mmioAscend) is not available here, so its records and the few operations
// the WAV reader relies on live in this unit, working on memory files only.
// Every position is checked against the end of the memory block: a chunk that
// claims more bytes than the block holds is cut to what it holds.
#pragma once

#include <cstdint>

#include "base/little_endian.h"

using FOURCC = uint32_t;

constexpr FOURCC MakeFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
         static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

constexpr FOURCC FOURCC_RIFF = MakeFourCC('R', 'I', 'F', 'F');
constexpr FOURCC FOURCC_LIST = MakeFourCC('L', 'I', 'S', 'T');
constexpr FOURCC FOURCC_MEM = MakeFourCC('M', 'E', 'M', ' ');

// Descend flags.
constexpr uint32_t MMIO_FINDCHUNK = 0x0010;
constexpr uint32_t MMIO_FINDRIFF = 0x0020;
constexpr uint32_t MMIO_FINDLIST = 0x0040;

// Results; 0 is success.
constexpr uint32_t MMSYSERR_NOERROR = 0;
constexpr uint32_t MMIOERR_CHUNKNOTFOUND = 265;
constexpr uint32_t MMIOERR_INVALIDHANDLE = 5;

// Describes the file to open. Only memory files (fccIOProc == FOURCC_MEM on
// a caller's buffer) are supported.
struct MMIOINFO {
  uint32_t dwFlags;
  FOURCC fccIOProc;
  void* pIOProc;
  uint32_t wErrorRet;
  int32_t cchBuffer;   // size of the memory block
  uint8_t* pchBuffer;  // first byte of the memory block
  uint8_t* pchNext;
  uint8_t* pchEndRead;
  uint8_t* pchEndWrite;
  int32_t lBufOffset;
  int32_t lDiskOffset;
  uint32_t adwInfo[3];  // [0]: how far a memory file may grow (always 0 here)
};

// A chunk descriptor as filled by a descent. For "RIFF" and "LIST" chunks
// dwDataOffset is the offset of the form type, which cksize includes.
struct MMCKINFO {
  FOURCC ckid;
  uint32_t cksize;
  FOURCC fccType;
  uint32_t dwDataOffset;
  uint32_t dwFlags;
};

// An open memory file: the block and the read position. Held by value, so
// there is nothing to close.
struct MMIOHandle {
  const uint8_t* base = nullptr;
  uint32_t size = 0;
  uint32_t pos = 0;
  bool open = false;
};

class CMMIOInfo : public MMIOINFO {
 public:
  CMMIOInfo() : MMIOINFO{} {}
};

class CMMMemoryIOInfo : public CMMIOInfo {
 public:
  CMMMemoryIOInfo(uint8_t* pBuffer, int32_t cchBuf, uint32_t dwMinExpansion = 0);
};

class CMMChunk : public MMCKINFO {
 public:
  // Filled by a descent; zeroed so a failed one leaves nothing undefined.
  CMMChunk() : MMCKINFO{} {}
};

class CMMTypeChunk : public CMMChunk {
 public:
  CMMTypeChunk(char c0, char c1, char c2, char c3) { fccType = MakeFourCC(c0, c1, c2, c3); }
};

class CMMIO {
 public:
  // Opens the memory file that `mmioinfo` describes, read position at its
  // first byte. A record that is not a memory file leaves the handle closed.
  explicit CMMIO(const MMIOINFO& mmioinfo);

  // Copies up to lLen bytes from the read position and advances it; does not
  // stop at the end of the current chunk, only at the end of the block.
  // Returns the count copied, -1 on a closed handle or a negative length.
  int32_t Read(void* pData, int32_t lLen);
  uint32_t Descend(MMCKINFO& mmckInfo, uint32_t uiFlags);
  uint32_t Descend(MMCKINFO& mmckInfo, const MMCKINFO& mmckParent, uint32_t uiFlags);
  // Moves past the end of the chunk and its pad byte.
  uint32_t Ascend(MMCKINFO& mmckInfo, uint32_t uiFlags);

 private:
  uint32_t DescendWithin(MMCKINFO& mmckInfo, uint64_t end, uint32_t uiFlags);

  MMIOHandle handle;
};
