// The simulator on SDL's "disk" audio driver: the written sound is silent
// until the shot and then carries the shot's samples.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The 16-bit mono samples of a generated WAV file, and its rate.
std::vector<float> ReadWavMono16(const fs::path& p, int* rate) {
  const std::string b = ReadAll(p);
  std::vector<float> out;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    uint32_t size;
    std::memcpy(&size, b.data() + at + 4, 4);
    const std::string id = b.substr(at, 4);
    if (id == "fmt ") std::memcpy(rate, b.data() + at + 12, 4);
    if (id == "data") {
      for (size_t i = 0; i + 1 < size && at + 8 + i + 1 < b.size(); i += 2) {
        int16_t v;
        std::memcpy(&v, b.data() + at + 8 + i, 2);
        out.push_back(v / 32768.0f);
      }
    }
    at += 8 + size + (size & 1);
  }
  return out;
}

TEST(AudioEndToEnd, TheShotIsHeardAfterSilence) {
  const fs::path data = RUZOV_DATA;
  if (!fs::exists(data / "drip.wav")) GTEST_SKIP() << "no data set built";
  const fs::path dir = fs::temp_directory_path() / ("ruzov-audio-" + std::to_string(getpid()));
  fs::create_directories(dir / "data");
  for (const auto& e : fs::directory_iterator(data)) fs::copy(e.path(), dir / "data" / e.path().filename());
  // The band plays at volume 0, so only the effects reach the file.
  const std::string style =
      std::regex_replace(ReadAll(data / "Style1.sty"), std::regex("volume +[0-9]+"), "volume 0");
  std::ofstream(dir / "data" / "Style1.sty", std::ios::trunc) << style;
  std::ofstream(dir / "script.txt") << "5 down SPACE\n40 down SHIFT\n";

  const fs::path raw = dir / "out.raw";
  const std::string cmd = "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=" + raw.string() + " " RUZOV_SIM +
                          std::string(" --realtime --frames 80 --trace /dev/null --data ") +
                          (dir / "data").string() + " --script " + (dir / "script.txt").string();
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;

  const std::string bytes = ReadAll(raw);
  std::vector<float> left(bytes.size() / 8);
  for (size_t i = 0; i < left.size(); ++i) std::memcpy(&left[i], bytes.data() + 8 * i, 4);
  int dripRate = 0;
  const std::vector<float> drip = ReadWavMono16(data / "drip.wav", &dripRate);
  fs::remove_all(dir);
  ASSERT_GT(dripRate, 0);
  constexpr int kRate = 48000;  // the mixer's rate when the driver prefers none
  ASSERT_GT(left.size(), static_cast<size_t>(kRate)) << "about 1.3 s of sound expected";

  size_t first = 0;
  while (first < left.size() && std::fabs(left[first]) < 1e-4f) ++first;
  ASSERT_LT(first, left.size()) << "nothing was heard";
  // The shot comes 35 frames after the game starts, well past half a second.
  EXPECT_GT(first, static_cast<size_t>(kRate / 2)) << "sound before the shot";

  // Resample the shot to the device rate and look for it where sound starts.
  std::vector<float> ref(static_cast<size_t>(drip.size() * double(kRate) / dripRate));
  for (size_t i = 0; i < ref.size(); ++i) {
    const double pos = i * double(dripRate) / kRate;
    const size_t k = static_cast<size_t>(pos);
    const double f = pos - k;
    ref[i] = static_cast<float>(drip[k] * (1 - f) + (k + 1 < drip.size() ? drip[k + 1] : 0) * f);
  }
  double best = 0;
  const size_t from = first > 2000 ? first - 2000 : 0;
  for (size_t start = from; start < first + 2000 && start + ref.size() <= left.size(); ++start) {
    double dot = 0, a = 0, b = 0;
    for (size_t i = 0; i < ref.size(); ++i) {
      dot += ref[i] * left[start + i];
      a += ref[i] * ref[i];
      b += left[start + i] * left[start + i];
    }
    if (a > 0 && b > 0) best = std::max(best, dot / std::sqrt(a * b));
  }
  EXPECT_GT(best, 0.95) << "the written sound does not match drip.wav";
}

}  // namespace
