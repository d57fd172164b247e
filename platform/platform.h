// The narrow interface between the game and the machine it runs on.
//
// Everything the game needs from the outside world goes through here:
// window and messages, the clock, presenting a finished frame, decoding a
// bitmap file, the sound device with its effect buffers, and the message box.
// Two backends implement it: sdl/ for the real game and headless.cpp for the
// simulator and the tests. Game code never includes SDL.
#pragma once

#include <cstdint>

namespace plat {

// ---------------------------------------------------------------- messages
// Shaped like the Win32 messages the window rules were written against.
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_QUIT = 0x0012;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_OTHER = 0x0400;  // any event the game has no name for

constexpr uint32_t VK_RETURN = 0x0D;
constexpr uint32_t VK_SHIFT = 0x10;
constexpr uint32_t VK_ESCAPE = 0x1B;
constexpr uint32_t VK_SPACE = 0x20;
constexpr uint32_t VK_LEFT = 0x25;
constexpr uint32_t VK_UP = 0x26;
constexpr uint32_t VK_RIGHT = 0x27;
constexpr uint32_t VK_DOWN = 0x28;

using HWND = void*;
struct Msg {
  HWND hwnd;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};
using WndProc = intptr_t (*)(HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);

// ------------------------------------------------------------------ window
bool RegisterWindowClass(const char* className, WndProc proc);
// A borderless window covering the desktop; null on failure.
HWND CreateMainWindow(const char* caption);
void ShowMainWindow(HWND hwnd);
// Destroys the window; WM_DESTROY reaches the window procedure before this
// returns. Messages still queued for a destroyed window are dropped.
bool DestroyMainWindow(HWND hwnd);
// Takes the next message without blocking. After PostQuit, WM_QUIT comes as
// soon as nothing else is queued.
bool PeekMsg(Msg* msg);
void DispatchMsg(const Msg& msg);
intptr_t DefWindowProc(HWND hwnd, uint32_t message, uintptr_t wParam, intptr_t lParam);
void PostQuit(int exitCode);

// ------------------------------------------------------------------- clock
// A 64-bit monotonic tick counter; ClockFrequency() is its ticks per second,
// or 0 when there is no high-resolution counter, and ClockNow() then counts
// milliseconds. 64 bits never wrap in practice.
int64_t ClockFrequency();
int64_t ClockNow();
// Returns when a message may be waiting or the clock has passed `deadline`,
// whichever comes first; it may return early. Keeps the loop from spinning.
void WaitForMessageOrTime(int64_t deadline);

// ----------------------------------------------------------------- display
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

bool DisplayCreate();          // the display object
bool DisplaySetCooperative();  // full-screen ownership of the window
bool DisplaySetMode(int width, int height, int bitsPerPixel);
bool DisplayCreateFrame();  // the 640 x 480 frame it presents
// Shows one finished 640 x 480 frame of 5-6-5 pixels, `pitch` pixels a row.
void DisplayPresent(const uint16_t* pixels, int pitch);
// A replay at k times the pace shows only every k-th frame it is handed (and
// always the next after a change); 1 shows every frame.
void DisplayShowEvery(int k);
void DisplayRelease();

// Decodes a BMP file into 5-6-5 pixels (pure white becomes 0xFFFF). The
// pixels are allocated with new[]; null on any failure (missing, unreadable,
// not a bitmap, truncated, larger than 4096 pixels a side or than
// `maxPixels` in all), with one line on standard error naming the file.
uint16_t* LoadBmp565(const char* fileName, int* width, int* height, int64_t maxPixels);

// ------------------------------------------------------------------- sound
struct WaveFormat {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize;
};

constexpr uint32_t kSoundPlaying = 0x1;
constexpr uint32_t kSoundBufferLost = 0x2;
constexpr uint32_t kSoundLooping = 0x4;

struct SoundBuffer;

bool AudioCreate();          // opens the default output device
bool AudioSetCooperative();  // the program may create and play buffers
// A buffer of `bytes` bytes of sound in `format`; null when refused
// (size 0, an unsupported format, no device).
SoundBuffer* AudioCreateBuffer(const WaveFormat& format, uint32_t bytes);
// One writable region covering the whole buffer.
bool SoundLock(SoundBuffer* buffer, void** data, uint32_t* bytes);
bool SoundUnlock(SoundBuffer* buffer, void* data, uint32_t bytes);
uint32_t SoundGetStatus(SoundBuffer* buffer);
bool SoundRestore(SoundBuffer* buffer);
// Plays once from the start; a buffer still playing is left alone.
void SoundPlay(SoundBuffer* buffer);
void SoundStop(SoundBuffer* buffer);
// Ends one buffer and frees it; a reload uses it for the buffers it replaces.
// A null buffer is ignored.
void SoundRelease(SoundBuffer* buffer);
// Closes the device and ends every buffer made from it.
void AudioRelease();

// ------------------------------------------------------------- reporting
void ShowMessageBox(const char* text, const char* caption);

// Observation points for the trace line of a frame (platform/notes.cpp,
// shared by both backends): the effects requested and the music starts since
// the last take.
void NoteEffectRequest(int index);
void NoteMusicStart();
int TakeNotedEffects(const int** indices);
int TakeNotedMusicStarts();

}  // namespace plat
