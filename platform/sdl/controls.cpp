// The keys the platform keeps for itself: P and Pause pause, M mutes, - and
// = (and the keypad's - and +) step the volume, F12 takes a screenshot.
// With Ctrl, Alt or a GUI key held, P, M, -, = and F12 are ordinary keys.
// Losing the focus or being minimised pauses too (a page also pauses in a
// hidden tab); only the key (or a page's own button) resumes, so nothing
// happens behind the player's back. While paused only Escape and the Alt
// keys reach the window procedure, so the game's state stays as it was.
#include <cstdio>

#include "platform/audio/audio.h"
#include "platform/platform.h"
#include "platform/preferences.h"
#include "platform/sdl/controls.h"
#include "platform/sdl/present.h"

namespace {

enum class Action { None, Pause, Mute, Quieter, Louder, Screenshot };

bool gPaused = false;
bool gSwallowText = false;  // the character of a swallowed key comes next
uint64_t gBarUntil = 0;

constexpr int kVolumeStep = 10;
constexpr uint64_t kBarMs = 1000;

Action KeyAction(const SDL_Keysym& sym) {
  if (sym.sym == SDLK_PAUSE) return Action::Pause;
  if (sym.sym == SDLK_KP_MINUS) return Action::Quieter;
  if (sym.sym == SDLK_KP_PLUS) return Action::Louder;
  if (sym.mod & (KMOD_CTRL | KMOD_ALT | KMOD_GUI)) return Action::None;
  switch (sym.sym) {
    case SDLK_p: return Action::Pause;
    case SDLK_m: return Action::Mute;
    case SDLK_MINUS: return Action::Quieter;
    case SDLK_EQUALS: return Action::Louder;
    case SDLK_F12: return Action::Screenshot;
    default: return Action::None;
  }
}

void ChangeVolume(Action action) {
  plat::Preferences p = plat::CurrentPreferences();
  if (action == Action::Mute) {
    p.mute = !p.mute;
  } else {
    // Turning it up or down is meant to be heard.
    p.mute = false;
    p.masterVolume =
        SDL_clamp(p.masterVolume + (action == Action::Louder ? kVolumeStep : -kVolumeStep), 0, 100);
  }
  plat::AudioApplyVolumes(p);
  plat::PreferencesChanged(p);
  gBarUntil = SDL_GetTicks64() + kBarMs;
  if (gPaused) sdlplat::Represent(false);
}

void Act(Action action) {
  switch (action) {
    case Action::Pause: sdlplat::SetPaused(!gPaused); break;
    case Action::Screenshot: {
      char path[4096];
      if (sdlplat::SaveScreenshot(path, sizeof path))
        std::fprintf(stderr, "ruzov: screenshot saved as %s\n", path);
      break;
    }
    case Action::None: break;
    default: ChangeVolume(action); break;
  }
}

// While paused, what may still reach the rules: Escape, and the Alt keys
// Windows handles itself (Alt+F4, Alt+Enter).
bool ReachesRulesWhilePaused(const SDL_Keysym& sym) {
  return sym.sym == SDLK_ESCAPE || ((sym.mod & KMOD_ALT) && !(sym.mod & KMOD_CTRL));
}

}  // namespace

namespace sdlplat {

bool HandlePlatformEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN: {
      const Action action = KeyAction(event.key.keysym);
      gSwallowText = action != Action::None || (gPaused && !ReachesRulesWhilePaused(event.key.keysym));
      if (action == Action::None) return gSwallowText;
      // Held volume keys keep stepping; the others act once.
      if (!event.key.repeat || action == Action::Quieter || action == Action::Louder) Act(action);
      return true;
    }
    case SDL_KEYUP: return KeyAction(event.key.keysym) != Action::None;
    case SDL_TEXTINPUT:
      if (!gSwallowText) return false;
      gSwallowText = false;
      return true;
    case SDL_WINDOWEVENT: {
      // Focus changes while the window is still being set up pause nothing.
      int pitch = 0;
      if ((event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
           event.window.event == SDL_WINDOWEVENT_MINIMIZED) &&
          LastFrame(&pitch))
        SetPaused(true);
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
        Represent(true);
      return false;  // the window procedure sees these as before
    }
    default: return false;
  }
}

bool IsPaused() { return gPaused; }

void SetPaused(bool paused) {
  if (paused == gPaused) return;
  gPaused = paused;
  ClockPause(paused);
  plat::AudioPause(paused);
  Represent(false);  // the overlay on, or off again at once
}

uint64_t VolumeBarUntil() { return gBarUntil; }

}  // namespace sdlplat
