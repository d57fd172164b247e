// The settings file: `name = value` lines, read at start-up and rewritten
// only when the player changes full screen or a volume.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/options.h"
#include "platform/preferences.h"

// $XDG_CONFIG_HOME/ruzov/ruzov.ini, else ~/.config/ruzov/ruzov.ini; empty
// when neither can be named.
std::string SettingsFilePath();

// Reads `text` (a UTF-8 byte-order mark, CRLF and # comments allowed) into
// `out`. Each line that cannot be used adds "name:line: why" to `problems`
// and is otherwise ignored.
void ParseSettingsText(std::string_view text, const std::string& name, Settings* out,
                       std::vector<std::string>* problems);

// A missing file is no problem; an unreadable one is named on stderr.
Settings LoadSettingsFile(const std::string& path);

// `old` with the remembered settings (full screen, volumes, mute) set to the
// player's current choice; every other line is kept as it was.
std::string UpdateSettingsText(std::string_view old, const plat::Preferences& p);

// Replaces the file atomically: a temporary file in the same folder, synced,
// then renamed over it. The folder is made when missing.
bool SaveSettingsFile(const std::string& path, const plat::Preferences& p);
