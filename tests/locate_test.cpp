// The order in which the data set and a SoundFont are looked for.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/locate.h"

namespace fs = std::filesystem;

namespace {

struct TempDir {
  fs::path path;
  TempDir() {
    std::string t = (fs::temp_directory_path() / "ruzov-locate-XXXXXX").string();
    path = mkdtemp(t.data());
  }
  ~TempDir() { fs::remove_all(path); }
  std::string operator/(const std::string& name) const { return (path / name).string(); }
};

void Put(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

const std::string kSoundFont = std::string("RIFF\x10\0\0\0sfbkLIST", 16);

}  // namespace

TEST(Locate, DataFoldersInOrderAndTheFirstHoldingTheData) {
  TempDir t;
  const std::vector<std::string> folders =
      DataFolders("given", t / "work", t / "prefix/bin/ruzov", "/build/data");
  ASSERT_EQ(folders, (std::vector<std::string>{t / "work/given", t / "work", t / "prefix/bin/../share/ruzov",
                                               "/build/data"}));
  EXPECT_EQ(FindDataFolder(folders), -1);
  const std::string text = MissingDataText(folders);
  EXPECT_NE(text.find("Explosion1.bmp"), std::string::npos);
  for (const std::string& f : folders) EXPECT_NE(text.find(f), std::string::npos);

  fs::create_directories(t / "prefix/bin");
  Put(t / "prefix/share/ruzov/Explosion1.bmp", "x");
  EXPECT_EQ(FindDataFolder(folders), 2);
  Put(t / "work/Explosion1.bmp", "x");
  EXPECT_EQ(FindDataFolder(folders), 1);
  Put(t / "work/given/Explosion1.bmp", "x");
  EXPECT_EQ(FindDataFolder(folders), 0);

  // Without an option or an executable path those places drop out; a repeat is searched once.
  EXPECT_EQ(DataFolders("", "/w", "", "/w"), std::vector<std::string>{"/w"});
}

TEST(Locate, SoundFontOrderSkipsWhatIsNoSoundFont) {
  TempDir t;
  const std::vector<std::string> system = {t / "sys/a.sf2", t / "sys/b.sf2"};
  const std::vector<std::string> places =
      SoundFontPlaces("my.sf2", "/env.sf2", t / "data", t / "work", system);
  ASSERT_EQ(places, (std::vector<std::string>{t / "work/my.sf2", "/env.sf2", t / "data/GM.sf2",
                                              t / "work/GM.sf2", t / "sys/a.sf2", t / "sys/b.sf2"}));
  EXPECT_EQ(FindSoundFont(places), "");

  Put(t / "sys/b.sf2", kSoundFont);
  EXPECT_EQ(FindSoundFont(places), t / "sys/b.sf2");
  Put(t / "sys/a.sf2", std::string("RIFF\x10\0\0\0WAVE", 12));  // a RIFF file, but not a SoundFont
  fs::create_directories(t / "work/GM.sf2");                    // a folder of that name
  EXPECT_EQ(FindSoundFont(places), t / "sys/b.sf2");
  Put(t / "data/GM.sf2", kSoundFont);
  EXPECT_EQ(FindSoundFont(places), t / "data/GM.sf2");
  Put(t / "work/my.sf2", kSoundFont);
  EXPECT_EQ(FindSoundFont(places), t / "work/my.sf2");

  EXPECT_EQ(SoundFontPlaces("", nullptr, "/d", "/d", {}), std::vector<std::string>{"/d/GM.sf2"});
}
