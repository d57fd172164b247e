// The composed background music: created at start-up, composed once from the
// template, style and chord map, played over and over at the game's tempo,
// restarted from its beginning on demand, released at shutdown. The render
// tool and the music benchmark start it through these same steps.
#include "audio/music.h"

#include <cstring>

#include "music/objects.h"
#include "platform/audio/audio.h"
#include "platform/errors.h"
#include "platform/platform.h"

dm::Performance* lpIDMPerformance = nullptr;
dm::Loader* lpIDMLoader = nullptr;
dm::Composer* lpIDMComposer = nullptr;
dm::Segment* lpIDMTemplate = nullptr;
dm::Style* lpIDMStyle = nullptr;
dm::ChordMap* lpIDMChordMap = nullptr;
dm::Segment* lpIDMSegment = nullptr;

namespace {

// The result of the last creation and of Init.
dm::Result dmrval = 0;

dm::DMUS_OBJECTDESC ObjDesc;

void SetFileName(const char* name) {
  int i = 0;
  for (; name[i] && i < dm::DMUS_MAX_FILENAME - 1; ++i)
    ObjDesc.wszFileName[i] = static_cast<char16_t>(name[i]);
  ObjDesc.wszFileName[i] = 0;
}

template <class T>
void ReleaseObject(T*& object) {
  if (object) {
    object->Release();
    object = nullptr;
  }
}

}  // namespace

bool InitMusic() {
  dm::Initialize();
  dmrval = dm::CreatePerformance(&lpIDMPerformance);
  if (dmrval < 0) {
    ErrStr = Err_DMPerfCreate;
    return false;
  }
  dmrval = dm::CreateLoader(&lpIDMLoader);
  if (dmrval < 0) {
    ErrStr = Err_DMLoadCreate;
    return false;
  }
  dmrval = dm::CreateComposer(&lpIDMComposer);
  if (dmrval < 0) {
    ErrStr = Err_DMCompCreate;
    return false;
  }
  dmrval = lpIDMPerformance->Init();
  uint32_t autoDownload = 1;
  lpIDMPerformance->SetGlobalParam(dm::Param::PerfAutoDownload, &autoDownload, sizeof autoDownload);
  lpIDMPerformance->AddPort();
  if (!LoadMusic()) {
    ErrStr = Err_DMLoadMusic;
    return false;
  }
  lpIDMPerformance->PlaySegment(lpIDMSegment, 0, 0);
  plat::NoteMusicStart();
  lpIDMSegment->SetParam(dm::Param::DisableTempo, 0xFFFF, 0, 0, nullptr);
  dm::DMUS_TEMPO_PMSG* tempo = nullptr;
  if (lpIDMPerformance->AllocPMsg(sizeof(dm::DMUS_TEMPO_PMSG), &tempo) < 0) return true;
  std::memset(tempo, 0, sizeof *tempo);
  tempo->dwSize = sizeof *tempo;
  tempo->rtTime = 0;
  tempo->dwFlags = dm::DMUS_PMSGF_REFTIME;
  tempo->dwType = dm::DMUS_PMSGT_TEMPO;
  tempo->dblTempo = kMusicTempo;
  lpIDMPerformance->SendPMsg(tempo);
  return true;
}

bool LoadMusic() {
  lpIDMLoader->EnableCache(dm::ClassId::AllTypes, true);
  std::memset(&ObjDesc, 0, sizeof ObjDesc);
  ObjDesc.dwSize = sizeof ObjDesc;
  ObjDesc.dwValidData = dm::DMUS_OBJ_CLASS | dm::DMUS_OBJ_FILENAME | dm::DMUS_OBJ_FULLPATH;

  SetFileName("Template1.tpl");
  ObjDesc.guidClass = dm::ClassId::Segment;
  lpIDMLoader->GetObject(&ObjDesc, &lpIDMTemplate);
  if (!lpIDMTemplate) return false;

  SetFileName("Style1.sty");
  ObjDesc.guidClass = dm::ClassId::Style;
  lpIDMLoader->GetObject(&ObjDesc, &lpIDMStyle);
  if (!lpIDMStyle) return false;

  SetFileName("Chordmap1.cdm");
  ObjDesc.guidClass = dm::ClassId::ChordMap;
  lpIDMLoader->GetObject(&ObjDesc, &lpIDMChordMap);
  if (!lpIDMChordMap) return false;

  if (lpIDMComposer->ComposeSegmentFromTemplate(lpIDMStyle, lpIDMTemplate, 1, lpIDMChordMap, &lpIDMSegment) !=
      0)
    return false;
  lpIDMSegment->SetRepeats(kMusicRepeats);
  return true;
}

void RestartMusic(bool setRepeats) {
  if (lpIDMPerformance && lpIDMSegment) {
    if (setRepeats) lpIDMSegment->SetRepeats(kMusicRepeats);
    lpIDMPerformance->PlaySegment(lpIDMSegment, 0, 0);
  }
  plat::NoteMusicStart();
}

void ReleaseMusic() {
  if (lpIDMLoader) lpIDMLoader->ClearCache(dm::ClassId::AllTypes);
  if (lpIDMPerformance) {
    lpIDMPerformance->Stop();
    lpIDMPerformance->CloseDown();
  }
  ReleaseObject(lpIDMSegment);
  ReleaseObject(lpIDMTemplate);
  ReleaseObject(lpIDMComposer);
  ReleaseObject(lpIDMLoader);
  ReleaseObject(lpIDMPerformance);
  // Our loader hands a reference out with every object, so the style and
  // the chord map are let go here too rather than left behind.
  ReleaseObject(lpIDMStyle);
  ReleaseObject(lpIDMChordMap);
  dm::Uninitialize();
}
