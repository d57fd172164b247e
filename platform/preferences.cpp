// The one set of preferences and who is told when the player changes it.
#include "platform/preferences.h"

namespace plat {

namespace {

Preferences gPreferences;
PreferencesSaver gSaver = nullptr;

}  // namespace

void SetPreferences(const Preferences& preferences) { gPreferences = preferences; }

const Preferences& CurrentPreferences() { return gPreferences; }

void SetPreferencesSaver(PreferencesSaver saver) { gSaver = saver; }

void PreferencesChanged(const Preferences& preferences) {
  gPreferences = preferences;
  if (gSaver) gSaver(preferences);
}

}  // namespace plat
