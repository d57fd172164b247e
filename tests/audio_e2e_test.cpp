// The simulator on SDL's "disk" audio driver: the written sound is silent
// until the shot, then carries the shot's samples, and later the knock of
// the rock the ship flies into.
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

// A WAV's samples resampled (linearly) to the device rate.
std::vector<float> AtRate(const std::vector<float>& in, int inRate, int outRate) {
  std::vector<float> out(static_cast<size_t>(in.size() * double(outRate) / inRate));
  for (size_t i = 0; i < out.size(); ++i) {
    const double pos = i * double(inRate) / outRate;
    const size_t k = static_cast<size_t>(pos);
    const double f = pos - k;
    out[i] = static_cast<float>(in[k] * (1 - f) + (k + 1 < in.size() ? in[k + 1] : 0) * f);
  }
  return out;
}

// The best normalised correlation of `ref` with `sound` starting anywhere in
// [from, to).
double BestMatch(const std::vector<float>& sound, const std::vector<float>& ref, size_t from, size_t to) {
  double best = 0;
  for (size_t start = from; start < to && start + ref.size() <= sound.size(); start += 2) {
    double dot = 0, a = 0, b = 0;
    for (size_t i = 0; i < ref.size(); ++i) {
      dot += ref[i] * sound[start + i];
      a += ref[i] * ref[i];
      b += sound[start + i] * sound[start + i];
    }
    if (a > 0 && b > 0) best = std::max(best, dot / std::sqrt(a * b));
  }
  return best;
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
  // Fire at frame 30; turn to heading 3 and fly into the rock at
  // column 54, row 47 of this game's first level (hit in frame 87).
  std::ofstream(dir / "script.txt")
      << "5 down SPACE\n6-11 down RIGHT\n12 up RIGHT\n30 down SHIFT\n40-55 down UP\n56 up UP\n";

  const fs::path raw = dir / "out.raw";
  const std::string cmd = "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=" + raw.string() + " " RUZOV_SIM +
                          std::string(" --realtime --frames 130 --trace /dev/null --data ") +
                          (dir / "data").string() + " --script " + (dir / "script.txt").string();
  ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;

  const std::string bytes = ReadAll(raw);
  std::vector<float> left(bytes.size() / 8);
  for (size_t i = 0; i < left.size(); ++i) std::memcpy(&left[i], bytes.data() + 8 * i, 4);
  int dripRate = 0, knockRate = 0;
  const std::vector<float> drip = ReadWavMono16(data / "drip.wav", &dripRate);
  const std::vector<float> knock = ReadWavMono16(data / "Kollision.wav", &knockRate);
  fs::remove_all(dir);
  ASSERT_GT(dripRate, 0);
  ASSERT_GT(knockRate, 0);
  constexpr int kRate = 48000;  // the mixer's rate when the driver prefers none
  ASSERT_GT(left.size(), static_cast<size_t>(2 * kRate)) << "about 2.2 s of sound expected";

  size_t first = 0;
  while (first < left.size() && std::fabs(left[first]) < 1e-4f) ++first;
  ASSERT_LT(first, left.size()) << "nothing was heard";
  // The shot comes in frame 30, half a second after the first frame.
  EXPECT_GT(first, static_cast<size_t>(kRate * 4 / 10)) << "sound before the shot";

  // The shot where sound starts; the knock 57 frames (0.95 s) later, or
  // later still when a loaded machine holds the frames back.
  const double shot =
      BestMatch(left, AtRate(drip, dripRate, kRate), first > 2000 ? first - 2000 : 0, first + 2000);
  EXPECT_GT(shot, 0.95) << "the written sound does not match drip.wav: " << shot;
  const double knockAt =
      BestMatch(left, AtRate(knock, knockRate, kRate), first + kRate * 8 / 10, left.size());
  EXPECT_GT(knockAt, 0.95) << "no Kollision.wav where the ship hits the rock: " << knockAt;
}

}  // namespace
