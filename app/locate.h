// Where the data set and the SoundFont are looked for, in order.
#pragma once

#include <string>
#include <vector>

// The file the game opens first; a folder without it holds no data set.
extern const char* const kFirstDataFile;  // "Explosion1.bmp"

// --data (empty: none), the working directory, ../share/ruzov next to the
// executable (empty exePath: skipped), the build's data folder (null: none).
std::vector<std::string> DataFolders(const std::string& option, const std::string& workDir,
                                     const std::string& exePath, const char* buildData);
// The first folder holding kFirstDataFile, or -1.
int FindDataFolder(const std::vector<std::string>& folders);
// The box's text when no folder holds the data.
std::string MissingDataText(const std::vector<std::string>& folders);
// The first picture or sound, in the order start-up opens them, that
// `folder` lacks; null when it holds them all.
const char* FirstMissingDataFile(const std::string& folder);
// The folder to play from: the one given with --data (`given`, absolute;
// empty when none), which must hold the whole set, else the first of the
// search that holds it. Empty with the box's text in `problem` when neither.
std::string ChooseDataFolder(const std::string& given, const std::vector<std::string>& folders,
                             std::string* problem);

// --soundfont, then $RUZOV_SOUNDFONT, then GM.sf2 in the data folder and the
// working directory, then `system` (the platform's kSystemSoundFonts).
std::vector<std::string> SoundFontPlaces(const std::string& option, const char* env,
                                         const std::string& dataDir, const std::string& workDir,
                                         const std::vector<std::string>& system);
// The SoundFont the music plays with: the first usable of SoundFontPlaces.
// A named `option` that is not usable gets one line on standard error
// saying why, and the search goes on; so does finding none at all.
std::string ChooseSoundFont(const std::string& option, const char* env, const std::string& dataDir,
                            const std::string& workDir, const std::vector<std::string>& system);
// "/here/" + path unless path is absolute; empty stays empty.
std::string Absolute(const std::string& path, const std::string& workDir);
