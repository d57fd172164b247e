// The five sound effects: loaded whole from their WAV files into one buffer
// each, played once per request, reloaded when the device was lost.
#include "audio/sound.h"

#include <cstdint>
#include <cstdio>

#include "audio/Wave.h"
#include "platform/errors.h"
#include "platform/platform.h"

bool lpDS = false;
plat::SoundBuffer* lpDSBSounds[kEffectCount] = {};

namespace {

constexpr uint16_t kWaveFormatExtensible = 0xFFFE;

// The box does not name the file; standard error does.
bool Refuse(const char* message, int effect, const char* why) {
  std::fprintf(stderr, "ruzov: %s: %s\n", kSoundFiles[effect], why);
  ErrStr = message;
  return false;
}

}  // namespace

bool InitSound() {
  if (!plat::AudioCreate()) {
    ErrStr = Err_DirectSoundCreate;
    return false;
  }
  lpDS = true;
  if (!plat::AudioSetCooperative()) {
    ErrStr = Err_Coop;
    return false;
  }
  return LoadSounds();
}

bool LoadSounds() {
  // The images live only for this load; the buffers keep their own copy.
  CWave waves[kEffectCount];
  for (int i = 0; i < kEffectCount; ++i) waves[i].Create(kSoundFiles[i]);

  for (int i = 0; i < kEffectCount; ++i) {
    uint32_t len = waves[i].GetDataLen();
    // A missing file or "fmt " chunk leaves a zero format, which the buffer
    // creation refuses, as it refuses a length of 0.
    WAVEFORMATEX wf{};
    const bool hasFormat = waves[i].GetFormat(wf);
    // The buffers take the plain tag an extensible format stands for.
    if (wf.wFormatTag == kWaveFormatExtensible) wf.wFormatTag = waves[i].GetSubFormat();

    // A reload replaces the buffer in this slot; the old one is not used
    // again, so it goes now rather than at shutdown.
    plat::SoundRelease(lpDSBSounds[i]);
    lpDSBSounds[i] = plat::AudioCreateBuffer(wf, len);
    if (!lpDSBSounds[i]) {
      if (!waves[i].IsValid()) return Refuse(Err_CreateBuff, i, "cannot be read");
      if (!hasFormat || len == 0) return Refuse(Err_CreateBuff, i, "no sound in it");
      return Refuse(Err_CreateBuff, i, "sound format not playable");
    }

    void* p = nullptr;
    uint32_t n = 0;
    if (!plat::SoundLock(lpDSBSounds[i], &p, &n) || p == nullptr)
      return Refuse(Err_LoadWAV, i, "sound buffer cannot be filled");
    uint8_t* bytes = static_cast<uint8_t*>(p);
    n = waves[i].GetData(bytes, n);
    if (!plat::SoundUnlock(lpDSBSounds[i], p, n)) return Refuse(Err_LoadWAV, i, "sound cannot be converted");
  }
  return true;
}

bool RestoreSounds() {
  for (plat::SoundBuffer* buffer : lpDSBSounds) {
    // A slot a failed reload left empty has nothing to restore.
    if (buffer && !plat::SoundRestore(buffer)) return false;
  }
  return LoadSounds();
}

bool PlaySoundEffect(int index) {
  plat::NoteEffectRequest(index);
  if (index < 0 || index >= kEffectCount || !lpDSBSounds[index]) return true;
  if (plat::SoundGetStatus(lpDSBSounds[index]) & plat::kSoundBufferLost) RestoreSounds();
  if (index <= 0) return true;
  // After a reload the slot holds the new buffer, or nothing if it failed.
  if (lpDSBSounds[index]) plat::SoundPlay(lpDSBSounds[index]);
  return true;
}

void CheckDamageBuffer() {
  plat::SoundBuffer* buffer = lpDSBSounds[kEffectDamage];
  if (!buffer) return;
  if (plat::SoundGetStatus(buffer) & plat::kSoundLooping) plat::SoundStop(buffer);
}

void ReleaseSound() {
  if (lpDS) {
    plat::AudioRelease();
    lpDS = false;
  }
  // The buffers ended with the device.
  for (plat::SoundBuffer*& buffer : lpDSBSounds) buffer = nullptr;
}
