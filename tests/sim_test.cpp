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

}  // namespace
