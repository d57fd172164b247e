// Start-up in one fixed order, and the release of everything with the one
// pending message shown last.
//
// How each start-up step maps onto the platform:
//
//   step  what                         platform call               message on failure
//   1     register the window class    RegisterWindowClass         Err_Reg_Class
//   2     create the window            CreateMainWindow            Err_Create_Win
//   3     show it                      ShowMainWindow              (not examined)
//   4     the display object           DisplayCreate (renderer)    Err_DirectDrawCreate
//   5     full-screen ownership        DisplaySetCooperative       Err_Coop
//   6     the 640 x 480 x 16 mode      DisplaySetMode              Err_DispMode
//   7     the primary surface          DisplayCreateFrame (texture) Err_CreateSurf
//   8     the back buffer              InitDisplay (flip chain)    Err_CreateSurf
//   9     the 40 images                LoadImages                  Err_LoadImage
//   10-12 sound device and effects     InitSound                   Err_DirectSoundCreate, Err_Coop,
//                                                                  Err_CreateBuff, Err_LoadWAV
//   13-19 music objects, compose, play InitMusic                   Err_DMPerfCreate, Err_DMLoadCreate,
//                                                                  Err_DMCompCreate, Err_DMLoadMusic
#include "app/startup.h"

#include "app/app.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/images.h"
#include "platform/platform.h"

const char* ErrStr = nullptr;

const char* const szClass = "Ruzov";
const char* const szCaption = "Ruzov - Diziduzaz";

plat::HWND hWndMain = nullptr;

namespace {

bool Fail(const char* message) {
  ErrStr = message;
  return false;
}

}  // namespace

bool InitApplication() {
  if (!plat::RegisterWindowClass(szClass, WindowProc)) return Fail(Err_Reg_Class);
  hWndMain = plat::CreateMainWindow(szCaption);
  if (!hWndMain) return Fail(Err_Create_Win);
  plat::ShowMainWindow(hWndMain);

  if (!plat::DisplayCreate()) return Fail(Err_DirectDrawCreate);
  lpDD = true;
  if (!plat::DisplaySetCooperative()) return Fail(Err_Coop);
  if (!plat::DisplaySetMode(kScreenW, kScreenH, 16)) return Fail(Err_DispMode);
  if (!plat::DisplayCreateFrame()) return Fail(Err_CreateSurf);
  if (!InitDisplay()) return Fail(Err_CreateSurf);

  if (!LoadImages()) return false;
  if (!InitSound()) return false;
  if (!InitMusic()) return false;
  return true;
}

void ReleaseAll() {
  ReleaseImages();
  ReleaseDisplay();
  if (lpDD) {
    plat::DisplayRelease();  // gives the desktop back before any message shows
    lpDD = false;
  }
  ReleaseSound();
  ReleaseMusic();
  if (ErrStr) {
    plat::ShowMessageBox(ErrStr, szCaption);
    ErrStr = nullptr;
  }
}
