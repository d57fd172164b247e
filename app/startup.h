// Start-up, shutdown and the one pending error message.
#pragma once

// The fixed message texts; a failing step stores one of them in ErrStr.
extern const char* const Err_Reg_Class;
extern const char* const Err_Create_Win;
extern const char* const Err_DirectDrawCreate;
extern const char* const Err_Coop;
extern const char* const Err_DispMode;
extern const char* const Err_CreateSurf;
extern const char* const Err_LoadImage;
extern const char* const Err_DirectSoundCreate;
extern const char* const Err_CreateBuff;
extern const char* const Err_LoadWAV;
extern const char* const Err_DMPerfCreate;
extern const char* const Err_DMLoadCreate;
extern const char* const Err_DMCompCreate;
extern const char* const Err_DMLoadMusic;

extern const char* const szClass;    // "Ruzov"
extern const char* const szCaption;  // "Ruzov - Diziduzaz"

// Brings everything up in its fixed order; false with ErrStr set on failure.
bool InitApplication();
// Releases whatever exists, then shows a pending message. Safe to repeat.
void ReleaseAll();
