// The one pending start-up error and its fixed texts. A leaf header, so the
// layers that can fail a start-up step (display, images, sound, music) store
// their message without reaching up into the shell.
#pragma once

inline constexpr char Err_Reg_Class[] = "Error Registering Window Class";
inline constexpr char Err_Create_Win[] = "Error Creating Window";
inline constexpr char Err_DirectDrawCreate[] = "DirectDrawCreate FAILED";
inline constexpr char Err_Coop[] = "SetCooperativeLevel FAILED";
inline constexpr char Err_DispMode[] = "Error Setting Display Mode";
inline constexpr char Err_CreateSurf[] = "CreateSurface FAILED";
inline constexpr char Err_LoadImage[] = "Error Loading Image";
inline constexpr char Err_DirectSoundCreate[] = "DirectSoundCreate FAILED";
inline constexpr char Err_CreateBuff[] = "CreateBuffer FAILED";
inline constexpr char Err_LoadWAV[] = "Error Loading Sound";
inline constexpr char Err_DMPerfCreate[] = "Error creating DirectMusicPerformance object";
inline constexpr char Err_DMLoadCreate[] = "Error creating DirectMusicLoader object";
inline constexpr char Err_DMCompCreate[] = "Error creating DirectMusicComposer object";
inline constexpr char Err_DMLoadMusic[] = "Error loading music";

// The failing step's text, null when none is pending; shown and cleared by
// ReleaseAll.
extern const char* ErrStr;
