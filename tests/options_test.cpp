// The program's entry: the command line, the settings file, which wins, the
// atomic save, and the order in which the data set and a SoundFont are
// looked for.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/locate.h"
#include "app/options.h"
#include "app/settings_file.h"
#include "audio/sound_files.h"
#include "base/write_file.h"
#include "gfx/image_files.h"
#include "platform/audio/audio.h"
#include "test_files.h"

namespace fs = std::filesystem;

namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;
using testsupport::WriteFile;

OptionsAction Parse(std::vector<const char*> args, Settings* s, std::string* error = nullptr) {
  args.insert(args.begin(), "ruzov");
  std::string ignored;
  return ParseOptions(static_cast<int>(args.size()), args.data(), s, error ? error : &ignored);
}

}  // namespace

TEST(Options, CommandLineOverFileOverDefaults) {
  Settings file;
  std::vector<std::string> problems;
  ParseSettingsText("fullscreen = false\nmusic-volume = 30\neffects-volume = 20\n", "f", &file, &problems);
  Settings given;
  ASSERT_EQ(Parse({"--window", "--fullscreen", "--scale", "integer", "--music-volume=90", "--volume", "70",
                   "--mute", "--soundfont", "a.sf2", "--data=/d"},
                  &given),
            OptionsAction::Run);
  MergeSettings(file, given);
  EXPECT_EQ(file.soundFont, "a.sf2");
  EXPECT_EQ(file.dataDir, "/d");
  const plat::Preferences p = PreferencesFrom(file);
  EXPECT_TRUE(p.fullScreen);                     // the last one on the line, over the file
  EXPECT_EQ(p.musicVolume, 90);                  // command line over file
  EXPECT_EQ(p.effectsVolume, 20);                // file
  EXPECT_EQ(p.scale, plat::ScaleMode::Integer);  // command line
  EXPECT_EQ(p.masterVolume, 70);
  EXPECT_TRUE(p.mute);
  EXPECT_EQ(PreferencesFrom(Settings{}).masterVolume, plat::Preferences{}.masterVolume);  // default
  EXPECT_EQ(Parse({"--window"}, &given), OptionsAction::Run);
  EXPECT_FALSE(given.musicVolume.has_value());  // each line starts afresh
  EXPECT_EQ(Parse({"--window", "--help"}, &given), OptionsAction::Help);
  EXPECT_EQ(Parse({"--version"}, &given), OptionsAction::Version);
}

TEST(Options, BadLinesAreRefusedWithTheReason) {
  const std::vector<std::vector<const char*>> bad = {
      {"--volume", "101"},
      {"--music-volume", "-1"},
      {"--effects-volume"},
      {"--music-volume", "1.5"},
      {"--scale", "big"},
      {"--mute=yes"},
      {"--data="},
      {"--fullscreeen"},
      {"window"},
      {"--soundfont"},
      {"--volume", "18446744073709551716"},  // 2^64 + 100 must not wrap round to 100
  };
  for (const auto& args : bad) {
    Settings s;
    std::string error;
    EXPECT_EQ(Parse(args, &s, &error), OptionsAction::Bad) << args[0];
    EXPECT_NE(error.find(std::string(args[0]).substr(0, 6)), std::string::npos) << error;
  }
}

TEST(SettingsFile, ReadsBomCrlfCommentsAndNamesBadLines) {
  const std::string text =
      "\xEF\xBB\xBF# mine\r\n"
      "fullscreen = false\r\n"
      "  volume=70  \r\n"
      "\r\n"
      "; also a comment\n"
      "music-volume = 250\n"
      "scale = smooth\n"
      "nonsense\n"
      "colour = red\n"
      "soundfont = /x/y z.sf2\n"
      "mute = maybe\n"
      "mute = yes";
  Settings s;
  std::vector<std::string> problems;
  ParseSettingsText(text, "f.ini", &s, &problems);
  EXPECT_EQ(s.fullScreen, false);
  EXPECT_EQ(s.masterVolume, 70);
  EXPECT_FALSE(s.musicVolume.has_value());
  EXPECT_EQ(s.scale, plat::ScaleMode::Smooth);
  EXPECT_EQ(s.soundFont, "/x/y z.sf2");
  EXPECT_EQ(s.mute, true);
  const char* const where[] = {"f.ini:6: ", "f.ini:8: ", "f.ini:9: ", "f.ini:11: "};
  ASSERT_EQ(problems.size(), 4u);
  for (size_t i = 0; i < problems.size(); ++i) EXPECT_EQ(problems[i].rfind(where[i], 0), 0u) << problems[i];
}

TEST(SettingsFile, SaveKeepsOtherLinesAndSurvivesAKillBeforeRename) {
  TempFolder dir;
  const std::string file = dir / "sub/ruzov.ini";
  plat::Preferences p;
  p.fullScreen = false;
  p.musicVolume = 40;
  ASSERT_TRUE(SaveSettingsFile(file, p));  // makes the folder
  EXPECT_NE(ReadFile(file).find("\nfullscreen = false\n"), std::string::npos);

  // A player's own lines and comments stay; the remembered ones change in place.
  WriteFile(file, "# my notes\r\nscale = integer\r\nmusic-volume = 40\r\nsoundfont = /s.sf2\n");
  p.musicVolume = 60;
  p.mute = true;
  ASSERT_TRUE(SaveSettingsFile(file, p));
  const std::string second = ReadFile(file);
  EXPECT_EQ(second,
            "# my notes\r\nscale = integer\r\nmusic-volume = 60\nsoundfont = /s.sf2\n"
            "fullscreen = false\nvolume = 100\neffects-volume = 100\nmute = true\n");

  // Killed after the new text is synced but before it replaces the old file.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    files::gBeforeRename = [] { raise(SIGKILL); };
    SaveSettingsFile(file, plat::Preferences{});
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  EXPECT_EQ(ReadFile(file), second);
}

TEST(Locate, DataFoldersInOrderAndTheFirstHoldingTheData) {
  TempFolder t;
  const std::vector<std::string> folders =
      DataFolders("given", t / "work", t / "prefix/bin/ruzov", "/build/data");
  ASSERT_EQ(folders, (std::vector<std::string>{t / "work/given", t / "work", t / "prefix/bin/../share/ruzov",
                                               "/build/data"}));
  EXPECT_EQ(FindDataFolder(folders), -1);
  const std::string text = MissingDataText(folders);
  EXPECT_NE(text.find("Explosion1.bmp"), std::string::npos);
  for (const std::string& f : folders) EXPECT_NE(text.find(f), std::string::npos);

  fs::create_directories(t / "prefix/bin");
  const char* const holding[] = {"prefix/share/ruzov", "work", "work/given"};
  for (int i = 0; i < 3; ++i) {
    WriteFile(t / holding[i] + "/Explosion1.bmp", "x");
    EXPECT_EQ(FindDataFolder(folders), 2 - i);
  }
  // Without an option or an executable path those places drop out; a repeat is searched once.
  EXPECT_EQ(DataFolders("", "/w", "", "/w"), std::vector<std::string>{"/w"});
}

// A folder named with --data is used when it holds the whole set, and
// otherwise refused with its name and the first file it lacks, even when the
// search would find the data elsewhere.
TEST(Locate, AGivenDataFolderIsUsedOrRefusedNeverReplaced) {
  TempFolder t;
  for (const char* folder : {"found/", "given/"}) {
    for (const char* name : kImageFiles) WriteFile(t / folder + name, "x");
    for (const char* name : kSoundFiles) WriteFile(t / folder + name, "x");
  }
  const std::vector<std::string> search = {t / "elsewhere", t / "found"};
  std::string problem;
  EXPECT_EQ(ChooseDataFolder("", search, &problem), t / "found");
  EXPECT_EQ(ChooseDataFolder(t / "given", search, &problem), t / "given");

  fs::remove(t / "given/Get.wav");
  EXPECT_EQ(ChooseDataFolder(t / "given", search, &problem), "");
  EXPECT_NE(problem.find(t / "given: Get.wav is missing"), std::string::npos) << problem;
  fs::remove(t / "given/Alien3.bmp");
  fs::remove(t / "given/titelbild.bmp");
  EXPECT_EQ(ChooseDataFolder(t / "given", search, &problem), "");
  EXPECT_NE(problem.find(t / "given: Alien3.bmp is missing"), std::string::npos) << problem;
  EXPECT_EQ(ChooseDataFolder(t / "nowhere", search, &problem), "");
  EXPECT_NE(problem.find(t / "nowhere: Explosion1.bmp is missing"), std::string::npos) << problem;
  EXPECT_EQ(ChooseDataFolder("", {t / "elsewhere"}, &problem), "");
  EXPECT_NE(problem.find("cannot find its data"), std::string::npos) << problem;
}

TEST(Locate, SoundFontOrderSkipsWhatIsNoSoundFont) {
  TempFolder t;
  const std::string soundFont("RIFF\x10\0\0\0sfbkLIST", 16);
  const std::vector<std::string> system = {t / "sys/a.sf2", t / "sys/b.sf2"};
  const std::vector<std::string> places =
      SoundFontPlaces("my.sf2", "/env.sf2", t / "data", t / "work", system);
  ASSERT_EQ(places, (std::vector<std::string>{t / "work/my.sf2", "/env.sf2", t / "data/GM.sf2",
                                              t / "work/GM.sf2", t / "sys/a.sf2", t / "sys/b.sf2"}));
  EXPECT_EQ(plat::audio::FindSoundFont(places), "");
  WriteFile(t / "sys/b.sf2", soundFont);
  WriteFile(t / "sys/a.sf2", std::string("RIFF\x10\0\0\0WAVE", 12));  // a RIFF file, but not a SoundFont
  fs::create_directories(t / "work/GM.sf2");                          // a folder of that name
  EXPECT_EQ(plat::audio::FindSoundFont(places), t / "sys/b.sf2");
  WriteFile(t / "data/GM.sf2", soundFont);
  EXPECT_EQ(plat::audio::FindSoundFont(places), t / "data/GM.sf2");
  WriteFile(t / "work/my.sf2", soundFont);
  EXPECT_EQ(plat::audio::FindSoundFont(places), t / "work/my.sf2");
  EXPECT_EQ(SoundFontPlaces("", nullptr, "/d", "/d", {}), std::vector<std::string>{"/d/GM.sf2"});
}

// A SoundFont the player names but that cannot serve: one line says which
// and why, and the one found next plays.
TEST(Locate, ANamedSoundFontThatCannotServeIsReportedOnce) {
  TempFolder t;
  WriteFile(t / "data/GM.sf2", std::string("RIFF\x10\0\0\0sfbkLIST", 16));
  fs::create_directories(t / "work/folder.sf2");
  const std::pair<std::string, std::string> kCases[] = {
      {"/dev/zero", "/dev/zero: not a SoundFont"},
      {"missing.sf2", t / "work/missing.sf2" + ": No such file or directory"},
      {"folder.sf2", t / "work/folder.sf2" + ": a folder, not a file"},
  };
  for (const auto& [option, said] : kCases) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ChooseSoundFont(option, nullptr, t / "data", t / "work", {}), t / "data/GM.sf2");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("cannot use the SoundFont " + said), std::string::npos) << err;
  }
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ChooseSoundFont("", nullptr, t / "work", t / "work", {}), "");
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("no General MIDI SoundFont found"),
            std::string::npos);
}
