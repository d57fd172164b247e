// The command line, the settings file, which wins, and the atomic save.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/options.h"
#include "app/settings_file.h"

namespace fs = std::filesystem;

namespace {

OptionsAction Parse(std::vector<const char*> args, Settings* s, std::string* error = nullptr) {
  args.insert(args.begin(), "ruzov");
  std::string ignored;
  return ParseOptions(static_cast<int>(args.size()), args.data(), s, error ? error : &ignored);
}

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

struct TempDir {
  fs::path path;
  TempDir() {
    std::string t = (fs::temp_directory_path() / "ruzov-opts-XXXXXX").string();
    path = mkdtemp(t.data());
  }
  ~TempDir() { fs::remove_all(path); }
};

}  // namespace

TEST(Options, GoodLinesGiveTheirSettings) {
  Settings s;
  ASSERT_EQ(Parse({"--window", "--scale", "integer", "--music-volume=40", "--effects-volume", "0", "--volume",
                   "100", "--mute", "--soundfont", "a.sf2", "--data=/d"},
                  &s),
            OptionsAction::Run);
  EXPECT_EQ(s.fullScreen, false);
  EXPECT_EQ(s.scale, plat::ScaleMode::Integer);
  EXPECT_EQ(s.musicVolume, 40);
  EXPECT_EQ(s.effectsVolume, 0);
  EXPECT_EQ(s.masterVolume, 100);
  EXPECT_EQ(s.mute, true);
  EXPECT_EQ(s.soundFont, "a.sf2");
  EXPECT_EQ(s.dataDir, "/d");

  ASSERT_EQ(Parse({"--window", "--fullscreen", "--scale", "smooth"}, &s), OptionsAction::Run);
  EXPECT_EQ(s.fullScreen, true);  // the last one wins
  EXPECT_FALSE(s.musicVolume.has_value());
  EXPECT_EQ(Parse({"--window", "--help"}, &s), OptionsAction::Help);
  EXPECT_EQ(Parse({"--version"}, &s), OptionsAction::Version);
}

TEST(Options, BadLinesAreRefusedWithTheReason) {
  const std::vector<std::vector<const char*>> bad = {
      {"--volume", "101"}, {"--music-volume", "-1"}, {"--effects-volume"}, {"--music-volume", "1.5"},
      {"--scale", "big"},  {"--mute=yes"},           {"--data="},          {"--fullscreeen"},
      {"window"},          {"--soundfont"},
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
  ASSERT_EQ(problems.size(), 4u);
  EXPECT_EQ(problems[0].rfind("f.ini:6: ", 0), 0u) << problems[0];
  EXPECT_EQ(problems[1].rfind("f.ini:8: ", 0), 0u) << problems[1];
  EXPECT_EQ(problems[2].rfind("f.ini:9: ", 0), 0u) << problems[2];
  EXPECT_EQ(problems[3].rfind("f.ini:11: ", 0), 0u) << problems[3];
}

TEST(SettingsFile, CommandLineOverFileOverDefaults) {
  Settings file;
  std::vector<std::string> problems;
  ParseSettingsText("fullscreen = false\nmusic-volume = 30\neffects-volume = 20\n", "f", &file, &problems);
  Settings given;
  ASSERT_EQ(Parse({"--music-volume", "90", "--scale", "integer"}, &given), OptionsAction::Run);
  MergeSettings(file, given);
  const plat::Preferences p = PreferencesFrom(file);
  const plat::Preferences defaults;
  EXPECT_FALSE(p.fullScreen);                        // file
  EXPECT_EQ(p.musicVolume, 90);                      // command line over file
  EXPECT_EQ(p.effectsVolume, 20);                    // file
  EXPECT_EQ(p.scale, plat::ScaleMode::Integer);      // command line
  EXPECT_EQ(p.masterVolume, defaults.masterVolume);  // default
  EXPECT_EQ(p.mute, defaults.mute);
}

TEST(SettingsFile, SaveKeepsOtherLinesAndSurvivesAKillBeforeRename) {
  TempDir dir;
  const fs::path file = dir.path / "sub" / "ruzov.ini";
  plat::Preferences p;
  p.fullScreen = false;
  p.musicVolume = 40;
  ASSERT_TRUE(SaveSettingsFile(file.string(), p));  // makes the folder
  EXPECT_NE(Read(file).find("\nfullscreen = false\n"), std::string::npos);

  // A player's own lines and comments stay; the remembered ones change in place.
  {
    std::ofstream(file, std::ios::binary)
        << "# my notes\r\nscale = integer\r\nmusic-volume = 40\r\nsoundfont = /s.sf2\n";
  }
  p.musicVolume = 60;
  p.mute = true;
  ASSERT_TRUE(SaveSettingsFile(file.string(), p));
  const std::string second = Read(file);
  EXPECT_EQ(second,
            "# my notes\r\nscale = integer\r\nmusic-volume = 60\nsoundfont = /s.sf2\n"
            "fullscreen = false\nvolume = 100\neffects-volume = 100\nmute = true\n");
  Settings back;
  std::vector<std::string> problems;
  ParseSettingsText(second, "f", &back, &problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(back.musicVolume, 60);
  EXPECT_EQ(back.soundFont, "/s.sf2");

  // Killed after the new text is synced but before it replaces the old file.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    gSettingsBeforeRename = [] { raise(SIGKILL); };
    plat::Preferences q;
    q.musicVolume = 5;
    SaveSettingsFile(file.string(), q);
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
  EXPECT_EQ(Read(file), second);
}
