// Every one of the 48 data files broken in every common way: start-up ends
// with exactly the one message its step gives, or starts when the damage
// leaves a file the rules still accept.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/startup.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

enum class Kind { Image, Sound, Music };

Kind KindOf(const std::string& name) {
  const std::string ext = name.substr(name.size() - 3);
  return ext == "bmp" ? Kind::Image : ext == "wav" ? Kind::Sound : Kind::Music;
}

const char* MessageFor(Kind kind) {
  return kind == Kind::Image   ? "Error Loading Image"
         : kind == Kind::Sound ? "CreateBuffer FAILED"
                               : "Error loading music";
}

const char* const kDamages[] = {"missing",     "empty",          "cut to 8 bytes", "cut to 40 bytes",
                                "cut in half", "last byte gone", "garbage",        "another kind"};

// Damage `d` done to the good file: the broken bytes, or nothing to delete it.
std::optional<std::string> Broken(int d, const std::string& good, const std::string& otherKind) {
  std::string junk(good.size(), '\0');
  uint32_t r = 12345;
  switch (d) {
    case 0: return std::nullopt;
    case 1: return std::string();
    case 2: return good.substr(0, 8);
    case 3: return good.substr(0, 40);
    case 4: return good.substr(0, good.size() / 2);
    case 5: return good.substr(0, good.size() - 1);
    case 6:
      for (char& c : junk) c = static_cast<char>((r = r * 1103515245u + 12345u) >> 24);
      return junk;
    default: return otherKind;
  }
}

// Whether the rules still accept it: half the samples are still sound (the
// data chunk is cut to the file); music files lose only their last line break.
bool StillGood(int d, Kind kind) {
  return (d == 4 && kind == Kind::Sound) || (d == 5 && kind != Kind::Image);
}

class BrokenData : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new testsupport::TempFolder(true);
    dir_ = folder_->Path();
    for (const auto& entry : fs::directory_iterator(RUZOV_DATA))
      if (entry.is_regular_file()) fs::copy_file(entry.path(), dir_ / entry.path().filename());
  }
  static void TearDownTestSuite() { delete folder_; }
  static std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static testsupport::TempFolder* folder_;
  static fs::path dir_;
};
testsupport::TempFolder* BrokenData::folder_;
fs::path BrokenData::dir_;

// One start-up in this process: the message it ends with, "" when it starts.
std::string StartUp(int* boxes) {
  testsupport::FreshProcess();
  const bool up = InitApplication();
  ReleaseAll();
  *boxes = headless::MessageBoxCount();
  return up ? std::string() : std::string(headless::LastMessageBox() ? headless::LastMessageBox() : "?");
}

TEST_F(BrokenData, EveryFileEveryDamageGivesItsOneMessage) {
  const std::vector<std::string> files = Files();
  ASSERT_EQ(files.size(), 48u) << "the generated data set";
  const std::string aWav = testsupport::ReadFile(dir_ / "drip.wav");
  const std::string aBmp = testsupport::ReadFile(dir_ / "Kugel.bmp");
  int boxes = 0;
  ASSERT_EQ(StartUp(&boxes), "");
  ASSERT_EQ(boxes, 0);
  int cells = 0;
  for (const std::string& name : files) {
    const Kind kind = KindOf(name);
    const std::string good = testsupport::ReadFile(dir_ / name);
    for (int d = 0; d < 8; ++d) {
      const std::optional<std::string> bad = Broken(d, good, kind == Kind::Image ? aWav : aBmp);
      if (bad)
        testsupport::WriteFile(dir_ / name, *bad);
      else
        fs::remove(dir_ / name);
      const std::string expected = StillGood(d, kind) ? "" : MessageFor(kind);
      EXPECT_EQ(StartUp(&boxes), expected) << name << " " << kDamages[d];
      EXPECT_EQ(boxes, expected.empty() ? 0 : 1) << name << " " << kDamages[d];
      ++cells;
    }
    testsupport::WriteFile(dir_ / name, good);
  }
  EXPECT_EQ(cells, 48 * 8);
}

// The simulator ends a failed start-up with status 1 and the one message as
// its last line of standard error.
TEST_F(BrokenData, TheSimulatorExitsOneWithTheMessage) {
  const struct {
    const char* file;
    const char* message;
  } cases[] = {{"Zeichensatz.bmp", "Error Loading Image"},
               {"Kollision.wav", "CreateBuffer FAILED"},
               {"Chordmap1.cdm", "Error loading music"}};
  for (const auto& c : cases) {
    const std::string good = testsupport::ReadFile(dir_ / c.file);
    testsupport::WriteFile(dir_ / c.file, "junk");
    const std::string err = (dir_ / "err.txt").string();
    const std::string cmd =
        std::string(RUZOV_SIM) + " --data " + dir_.string() + " --frames 1 >/dev/null 2>" + err;
    const int status = std::system(cmd.c_str());
    testsupport::WriteFile(dir_ / c.file, good);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << c.file;
    const std::string text = testsupport::ReadFile(err);
    fs::remove(err);
    EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), std::string(c.message) + "\n") << text;
    EXPECT_EQ(text.find(c.message), text.rfind(c.message)) << "one message only: " << text;
  }
}

}  // namespace
