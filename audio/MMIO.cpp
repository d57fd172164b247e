#include "audio/MMIO.h"

#include <algorithm>
#include <cstring>

CMMMemoryIOInfo::CMMMemoryIOInfo(uint8_t* pBuffer, int32_t cchBuf, uint32_t dwMinExpansion) {
  fccIOProc = FOURCC_MEM;
  pIOProc = nullptr;
  pchBuffer = pBuffer;
  cchBuffer = cchBuf;
  adwInfo[0] = dwMinExpansion;
}

CMMIO::CMMIO(const MMIOINFO& mmioinfo) {
  // A memory file needs its block; it never grows, so dwMinExpansion is moot.
  if (mmioinfo.fccIOProc != FOURCC_MEM || mmioinfo.pIOProc != nullptr || mmioinfo.pchBuffer == nullptr ||
      mmioinfo.cchBuffer < 0)
    return;
  handle.base = mmioinfo.pchBuffer;
  handle.size = static_cast<uint32_t>(mmioinfo.cchBuffer);
  handle.pos = 0;
  handle.open = true;
}

int32_t CMMIO::Read(void* pData, int32_t lLen) {
  if (!handle.open || lLen < 0) return -1;
  uint32_t left = handle.size - handle.pos;
  uint32_t n = std::min(static_cast<uint32_t>(lLen), left);
  if (n > 0) std::memcpy(pData, handle.base + handle.pos, n);
  handle.pos += n;
  return static_cast<int32_t>(n);
}

uint32_t CMMIO::Descend(MMCKINFO& mmckInfo, uint32_t uiFlags) {
  if (!handle.open) return MMIOERR_INVALIDHANDLE;
  return DescendWithin(mmckInfo, handle.size, uiFlags);
}

uint32_t CMMIO::Descend(MMCKINFO& mmckInfo, const MMCKINFO& mmckParent, uint32_t uiFlags) {
  if (!handle.open) return MMIOERR_INVALIDHANDLE;
  uint64_t end = static_cast<uint64_t>(mmckParent.dwDataOffset) + mmckParent.cksize;
  return DescendWithin(mmckInfo, std::min<uint64_t>(end, handle.size), uiFlags);
}

// Walks the chunks from the read position up to `end` (never past the block)
// and stops at the first one the flags ask for. 64-bit arithmetic throughout,
// so forged sizes cannot wrap a position back into the block.
uint32_t CMMIO::DescendWithin(MMCKINFO& mmckInfo, uint64_t end, uint32_t uiFlags) {
  uint64_t pos = handle.pos;
  while (pos + 8 <= end) {
    const uint8_t* header = handle.base + pos;
    FOURCC ckid = ReadLE32(header);
    uint32_t declared = ReadLE32(header + 4);
    uint64_t dataOffset = pos + 8;
    uint32_t cksize = static_cast<uint32_t>(std::min<uint64_t>(declared, end - dataOffset));
    bool isForm = ckid == FOURCC_RIFF || ckid == FOURCC_LIST;
    FOURCC fccType = 0;
    if (isForm && dataOffset + 4 <= end) fccType = ReadLE32(handle.base + dataOffset);

    bool found;
    if (uiFlags & MMIO_FINDRIFF)
      found = ckid == FOURCC_RIFF && fccType == mmckInfo.fccType;
    else if (uiFlags & MMIO_FINDLIST)
      found = ckid == FOURCC_LIST && fccType == mmckInfo.fccType;
    else if (uiFlags & MMIO_FINDCHUNK)
      found = ckid == mmckInfo.ckid;
    else
      found = true;

    if (found) {
      mmckInfo.ckid = ckid;
      mmckInfo.cksize = cksize;
      mmckInfo.fccType = fccType;
      mmckInfo.dwDataOffset = static_cast<uint32_t>(dataOffset);
      mmckInfo.dwFlags = 0;
      handle.pos = static_cast<uint32_t>(std::min(dataOffset + (isForm ? 4 : 0), end));
      return MMSYSERR_NOERROR;
    }
    // RIFF pads every chunk to an even length.
    pos = dataOffset + cksize + (cksize & 1);
  }
  // Not found: the read position stays where the search began.
  return MMIOERR_CHUNKNOTFOUND;
}

uint32_t CMMIO::Ascend(MMCKINFO& mmckInfo, uint32_t) {
  if (!handle.open) return MMIOERR_INVALIDHANDLE;
  uint64_t next = static_cast<uint64_t>(mmckInfo.dwDataOffset) + mmckInfo.cksize + (mmckInfo.cksize & 1);
  handle.pos = static_cast<uint32_t>(std::min<uint64_t>(next, handle.size));
  return MMSYSERR_NOERROR;
}
