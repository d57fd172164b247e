// ruzov-sim as a player's script would drive it.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Result {
  int exitCode = -1;
  std::string out;
  std::string err;
};

Result RunSim(const std::string& args, const std::string& script = "") {
  const fs::path tmp = fs::temp_directory_path() / ("ruzov-simtest-" + std::to_string(getpid()));
  fs::create_directories(tmp);
  std::string cmd = std::string(RUZOV_SIM) + " " + args;
  if (!script.empty()) {
    std::ofstream(tmp / "script.txt") << script;
    cmd += " --script " + (tmp / "script.txt").string();
  }
  cmd += " 2>" + (tmp / "err.txt").string();
  Result r;
  FILE* p = popen(cmd.c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int status = pclose(p);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::stringstream err;
  err << std::ifstream(tmp / "err.txt").rdbuf();
  r.err = err.str();
  fs::remove_all(tmp);
  return r;
}

using Line = std::map<std::string, std::string>;

std::vector<Line> Parse(const std::string& out, std::vector<std::string>* order = nullptr) {
  std::vector<Line> lines;
  std::istringstream in(out);
  for (std::string text; std::getline(in, text);) {
    Line line;
    std::istringstream words(text);
    for (std::string w; words >> w;) {
      const size_t eq = w.find('=');
      line[w.substr(0, eq)] = w.substr(eq + 1);
      if (order && lines.empty()) order->push_back(w.substr(0, eq));
    }
    lines.push_back(line);
  }
  return lines;
}

class Sim : public testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(fs::path(RUZOV_DATA) / "Explosion1.bmp")) GTEST_SKIP() << "no data set built";
  }
  std::string data = std::string("--data ") + RUZOV_DATA;
};

TEST_F(Sim, PrintsEveryFieldInOrderForEachFrame) {
  std::vector<std::string> order;
  const Result r = RunSim(data + " --frames 3");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = Parse(r.out, &order);
  ASSERT_EQ(lines.size(), 3u);
  const std::vector<std::string> expected = {
      "frame", "game",     "story",    "info",       "links",      "rechts",   "oben",
      "unten", "feuer",    "level",    "punkte",     "highscore",  "schield",  "mun",
      "schuss", "feuerkraft", "reichweite", "newlevel", "alienanz", "s",      "sz",
      "bewegung", "x",     "y",        "xint",       "yint",       "xf",       "yf",
      "xs",    "ys",       "snd",      "mus",        "objs",       "map"};
  EXPECT_EQ(order, expected);
  EXPECT_EQ(lines[0].at("mus"), "1") << "the start at the end of start-up";
  EXPECT_EQ(lines[1].at("mus"), "0");
  EXPECT_EQ(lines[0].at("snd"), "-");
  EXPECT_EQ(lines[2].at("frame"), "2");
  EXPECT_EQ(lines[0].at("feuerkraft"), "10");
  EXPECT_EQ(lines[0].at("objs").size(), 8u);
  // Every title frame builds new levels.
  EXPECT_NE(lines[0].at("map"), lines[1].at("map"));
}

TEST_F(Sim, AShortGameIsReproducible) {
  const std::string script =
      "2 down SPACE\n"
      "4-40 down UP\n"
      "10 down SHIFT\n"
      "12 up UP\n"
      "30 down RIGHT\n";
  const Result a = RunSim(data, script);
  const Result b = RunSim(data, script);
  ASSERT_EQ(a.exitCode, 0) << a.err;
  EXPECT_EQ(a.out, b.out);
  const auto lines = Parse(a.out);
  ASSERT_EQ(lines.size(), 41u);
  EXPECT_EQ(lines[2].at("game"), "1");
  EXPECT_EQ(lines[2].at("mus"), "1");
  EXPECT_EQ(lines[10].at("snd").substr(0, 1), "1");
  EXPECT_EQ(lines[10].at("mun"), "49");
  EXPECT_EQ(lines[10].at("schuss"), "9");
  // In file order the range's key-down comes before the key-up of frame 12.
  EXPECT_EQ(lines[12].at("oben"), "0");
  EXPECT_EQ(lines[13].at("oben"), "1");
  EXPECT_EQ(lines[41 - 1].at("oben"), "1");
}

TEST_F(Sim, EscapeEndsTheRunWithoutAnotherFrame) {
  const Result r = RunSim(data + " --frames 20", "3 down ESCAPE\n3 down SPACE\n");
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Parse(r.out).size(), 3u);
  EXPECT_TRUE(r.err.empty()) << r.err;
}

TEST_F(Sim, AnyNumberOfEventsReachTheirFrame) {
  std::string script;
  for (int i = 0; i < 6000; ++i) script += "1 other\n";
  script += "1 down SPACE\n";
  const Result r = RunSim(data, script);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = Parse(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].at("game"), "1");
}

TEST_F(Sim, AMalformedScriptIsAnErrorNamingItsLine) {
  const Result r = RunSim(data, "0 down SPACE\n\n2 jump\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty());
}

TEST_F(Sim, AStartupFailureExitsWithItsMessage) {
  const fs::path empty = fs::temp_directory_path() / ("ruzov-empty-" + std::to_string(getpid()));
  fs::create_directories(empty);
  const Result r = RunSim("--data " + empty.string() + " --frames 2");
  fs::remove_all(empty);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Error Loading Image"), std::string::npos) << r.err;
  EXPECT_TRUE(r.out.empty());
}

TEST_F(Sim, ScreenshotsAre24BitBitmaps) {
  const fs::path shot = fs::temp_directory_path() / ("ruzov-shot-" + std::to_string(getpid()) + ".bmp");
  const Result r = RunSim(data + " --frames 2 --shot 1:" + shot.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::ifstream in(shot, std::ios::binary);
  std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), {});
  fs::remove(shot);
  ASSERT_EQ(bytes.size(), 54u + 640 * 480 * 3);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[28], 24);
}

}  // namespace
