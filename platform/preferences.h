// The player's preferences: how the window shows the frame and how loud the
// sound is. They live outside the game's rules: the program's entry sets
// them from the command line and the settings file before start-up, the
// backend applies them, and when the player changes one with a platform key
// the backend hands the new set back to the entry to be remembered.
#pragma once

#include <string>

namespace plat {

enum class ScaleMode { Integer, Sharp, Smooth };

struct Preferences {
  bool fullScreen = true;
  ScaleMode scale = ScaleMode::Sharp;
  int masterVolume = 100;  // 0..100, each
  int musicVolume = 100;
  int effectsVolume = 100;
  bool mute = false;
  std::string soundFont;  // empty: no SoundFont found, the music is silent
  // The folder the game was started from, before it entered the data folder:
  // screenshots go there when the player has no pictures folder.
  std::string startFolder;
};

// Before start-up; the backend reads them when it brings up the window, the
// presenter, the mixer and the music.
void SetPreferences(const Preferences& preferences);
const Preferences& CurrentPreferences();

// Called by the backend with the whole set after the player changed one
// (full screen, volume, mute); the entry saves it. Null: nothing is saved.
using PreferencesSaver = void (*)(const Preferences& preferences);
void SetPreferencesSaver(PreferencesSaver saver);
void PreferencesChanged(const Preferences& preferences);

}  // namespace plat
