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
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

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

struct Damage {
  const char* what;
  // The broken file from the good one, or nothing to delete it.
  std::string (*make)(const std::string& good, const std::string& otherKind, bool* remove);
  // Whether the rules still accept the result for files of this kind.
  bool (*stillGood)(Kind kind);
};

bool Never(Kind) { return false; }

const Damage kDamages[] = {
    {"missing",
     [](const std::string&, const std::string&, bool* remove) {
       *remove = true;
       return std::string();
     },
     Never},
    {"empty", [](const std::string&, const std::string&, bool*) { return std::string(); }, Never},
    {"cut to 8 bytes", [](const std::string& g, const std::string&, bool*) { return g.substr(0, 8); }, Never},
    {"cut to 40 bytes", [](const std::string& g, const std::string&, bool*) { return g.substr(0, 40); },
     Never},
    // Half the samples are still sound: the data chunk is cut to the file.
    {"cut in half", [](const std::string& g, const std::string&, bool*) { return g.substr(0, g.size() / 2); },
     [](Kind k) { return k == Kind::Sound; }},
    // Music files lose only their last line break.
    {"last byte gone",
     [](const std::string& g, const std::string&, bool*) { return g.substr(0, g.size() - 1); },
     [](Kind k) { return k != Kind::Image; }},
    {"garbage",
     [](const std::string& g, const std::string&, bool*) {
       std::string junk(g.size(), '\0');
       uint32_t r = 12345;
       for (char& c : junk) c = static_cast<char>((r = r * 1103515245u + 12345u) >> 24);
       return junk;
     },
     Never},
    {"another kind", [](const std::string&, const std::string& other, bool*) { return other; }, Never},
};

class BrokenData : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() / ("ruzov-matrix-" + std::to_string(getpid()));
    fs::create_directories(dir_);
    for (const auto& entry : fs::directory_iterator(RUZOV_DATA))
      if (entry.is_regular_file()) fs::copy_file(entry.path(), dir_ / entry.path().filename());
    old_ = fs::current_path();
    fs::current_path(dir_);
  }
  static void TearDownTestSuite() {
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  static std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  static fs::path dir_, old_;
};
fs::path BrokenData::dir_;
fs::path BrokenData::old_;

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
    for (const Damage& d : kDamages) {
      bool remove = false;
      const std::string bad = d.make(good, kind == Kind::Image ? aWav : aBmp, &remove);
      if (remove)
        fs::remove(dir_ / name);
      else
        Write(dir_ / name, bad);
      const std::string expected = d.stillGood(kind) ? "" : MessageFor(kind);
      EXPECT_EQ(StartUp(&boxes), expected) << name << " " << d.what;
      EXPECT_EQ(boxes, expected.empty() ? 0 : 1) << name << " " << d.what;
      ++cells;
    }
    Write(dir_ / name, good);
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
    Write(dir_ / c.file, "junk");
    const std::string err = (dir_ / "err.txt").string();
    const std::string cmd =
        std::string(RUZOV_SIM) + " --data " + dir_.string() + " --frames 1 >/dev/null 2>" + err;
    const int status = std::system(cmd.c_str());
    Write(dir_ / c.file, good);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << c.file;
    const std::string text = testsupport::ReadFile(err);
    fs::remove(err);
    EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), std::string(c.message) + "\n") << text;
    EXPECT_EQ(text.find(c.message), text.rfind(c.message)) << "one message only: " << text;
  }
}

}  // namespace
