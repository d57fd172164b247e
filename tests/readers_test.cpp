// Unusual but valid files keep working, hostile ones are refused early:
// pictures of every BMP layout, WAVs of the common formats, byte-order
// marks, and the simulator's own inputs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/Wave.h"
#include "music/formats.h"
#include "platform/audio/convert.h"
#include "platform/bmp.h"
#include "test_support.h"
#include "tools/common/writers.h"
#include "tools/sim/script.h"

namespace fs = std::filesystem;

namespace {

struct Picture {
  std::vector<uint16_t> pixels;
  int width = 0, height = 0;
  const char* why = nullptr;
};

Picture Decode(const std::string& file, int64_t budget = int64_t{1} << 20) {
  Picture p;
  uint16_t* px = plat::DecodeBmp565(reinterpret_cast<const uint8_t*>(file.data()), file.size(), budget,
                                    &p.width, &p.height, &p.why);
  if (px) p.pixels.assign(px, px + static_cast<size_t>(p.width) * p.height);
  delete[] px;
  return p;
}

TEST(Pictures, EveryLayoutLoadsLikeItsTwentyFourBitCopy) {
  const fs::path dir = fs::path(RUZOV_CORPUS) / "bmp";
  const struct {
    const char* file;
    const char* reference;
  } cases[] = {
      {"pal1.bmp", "ref24_2.bmp"}, {"pal4.bmp", "ref24.bmp"},      {"pal8.bmp", "ref24.bmp"},
      {"rle4.bmp", "ref24.bmp"},   {"rle8.bmp", "ref24.bmp"},      {"rgb555.bmp", "ref24.bmp"},
      {"rgb565.bmp", "ref24.bmp"}, {"topdown24.bmp", "ref24.bmp"}, {"argb32.bmp", "ref24.bmp"},
      {"xrgb32.bmp", "ref24.bmp"}, {"os2_8.bmp", "ref24.bmp"},
  };
  for (const auto& c : cases) {
    const Picture want = Decode(testsupport::ReadFile(dir / c.reference));
    const Picture got = Decode(testsupport::ReadFile(dir / c.file));
    ASSERT_EQ(want.width * 10 + want.height, 75) << c.reference << ": " << (want.why ? want.why : "");
    EXPECT_TRUE(got.width == want.width && got.height == want.height && got.pixels == want.pixels)
        << c.file << ": " << (got.why ? got.why : "");
  }
  // White stays the colour key.
  const Picture two = Decode(testsupport::ReadFile(dir / "pal1.bmp"));
  EXPECT_EQ(std::count(two.pixels.begin(), two.pixels.end(), 0xFFFF), 15);
}

// A 24-bit header of the given size followed by `pixelBytes` bytes.
std::string Header24(int32_t w, int32_t h, size_t pixelBytes, uint16_t bpp = 24) {
  std::string f = "BM";
  for (const uint32_t v : {uint32_t(54 + pixelBytes), 0u, 54u, 40u, uint32_t(w), uint32_t(h)}) PutLE32(f, v);
  PutLE16(f, 1);
  PutLE16(f, bpp);
  f.resize(54 + pixelBytes, '\0');
  return f;
}

TEST(Pictures, RefusedBeforeDecodingWithAReason) {
  const struct {
    std::string file;
    int64_t budget;
    const char* why;
  } cases[] = {
      {testsupport::ReadFile(fs::path(RUZOV_CORPUS) / "bmp" / "huge_header.bmp"), 1 << 20,
       "wider or taller than 4096 pixels"},
      {Header24(4097, 1, 4097 * 3 + 1), 1 << 20, "wider or taller than 4096 pixels"},
      {Header24(1, -4097, 4 * 4097), 1 << 20, "wider or taller than 4096 pixels"},
      {Header24(100, 100, 100 * 300 - 1), 1 << 20, "pixel data cut short"},
      {Header24(64, 64, 64 * 64 * 3), 64 * 64 - 1, "more pixels than the picture set may hold"},
      {Header24(0, 5, 0), 1 << 20, "empty picture"},
      {Header24(4, 4, 64, 7), 1 << 20, "unknown colour depth"},
      {std::string("BM"), 1 << 20, "too short for a bitmap"},
      {std::string(64, 'x'), 1 << 20, "not a bitmap"},
  };
  for (const auto& c : cases) {
    const Picture p = Decode(c.file, c.budget);
    EXPECT_TRUE(p.pixels.empty() && p.why && std::strcmp(p.why, c.why) == 0)
        << c.why << ": " << (p.why ? p.why : "no reason");
  }
  EXPECT_EQ(Decode(Header24(64, 64, 64 * 64 * 3), 64 * 64).why, nullptr) << "exactly the budget";
}

// A mono 22,050 Hz WAV of one format (plain or extensible) holding `samples`.
std::string Wav(uint16_t tag, uint16_t bits, const std::string& samples, bool extensible) {
  std::string fmt, body = "WAVEfmt ", file = "RIFF";
  PutLE16(fmt, extensible ? 0xFFFE : tag);
  PutLE16(fmt, 1);
  PutLE32(fmt, 22050);
  PutLE32(fmt, 22050u * bits / 8);
  PutLE16(fmt, bits / 8);
  PutLE16(fmt, bits);
  if (extensible) {
    PutLE16(fmt, 22);
    PutLE16(fmt, bits);
    PutLE32(fmt, 4);
    PutLE16(fmt, tag);
    fmt += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
  }
  PutLE32(body, static_cast<uint32_t>(fmt.size()));
  body += fmt + "data";
  PutLE32(body, static_cast<uint32_t>(samples.size()));
  PutLE32(file, static_cast<uint32_t>(body.size() + samples.size()));
  return file + body + samples;
}

// Half of full scale in each encoding, plain and extensible, reaches the
// device as half on both sides.
TEST(Sounds, CommonFormatsPlayAtTheirLevel) {
  const float half = 0.5f;
  std::string f32(4, '\0');
  std::memcpy(f32.data(), &half, 4);
  const struct {
    uint16_t tag, bits;
    std::string sample;
  } cases[] = {{1, 8, std::string("\xC0", 1)},
               {1, 16, std::string("\x00\x40", 2)},
               {1, 24, std::string("\x00\x00\x40", 3)},
               {1, 32, std::string("\x00\x00\x00\x40", 4)},
               {3, 32, f32}};
  const testsupport::TempFolder folder;
  const std::string path = folder / "sound.wav";
  for (const auto& c : cases) {
    for (bool extensible : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << "tag " << c.tag << ", " << c.bits << " bits, extensible " << extensible);
      std::string samples;
      for (int i = 0; i < 16; ++i) samples += c.sample;
      testsupport::WriteFile(path, Wav(c.tag, c.bits, samples, extensible));
      CWave wave;
      wave.Create(path.c_str());
      plat::WaveFormat wf{};
      ASSERT_TRUE(wave.GetFormat(wf));
      EXPECT_EQ(wf.wFormatTag, extensible ? 0xFFFE : c.tag);
      if (extensible) wf.wFormatTag = wave.GetSubFormat();
      ASSERT_TRUE(plat::audio::IsSupportedFormat(wf));
      uint8_t* data = nullptr;
      const uint32_t len = wave.GetData(data, 0);
      float* pcm = nullptr;
      uint32_t frames = 0;
      ASSERT_TRUE(plat::audio::ConvertToDevice(wf, data, len, 22050, &pcm, &frames));
      delete[] data;
      ASSERT_EQ(frames, 16u);
      EXPECT_NEAR(pcm[0], 0.5f, 1e-3);
      EXPECT_NEAR(pcm[1], 0.5f, 1e-3);  // the right side
      delete[] pcm;
    }
  }
}

TEST(TextInputs, AByteOrderMarkIsAccepted) {
  const std::string bom = "\xEF\xBB\xBF";
  const fs::path music = fs::path(RUZOV_CORPUS) / "music";
  std::string error;
  dm::TemplateData templ;
  dm::StyleData style;
  dm::ChordMapData chords;
  EXPECT_TRUE(dm::ParseTemplate(bom + testsupport::ReadFile(music / "Template1.tpl"), &templ, &error))
      << error;
  EXPECT_TRUE(dm::ParseStyle(bom + testsupport::ReadFile(music / "Style1.sty"), &style, &error)) << error;
  EXPECT_TRUE(dm::ParseChordMap(bom + testsupport::ReadFile(music / "Chordmap1.cdm"), &chords, &error))
      << error;
  sim::Script script;
  EXPECT_TRUE(sim::ParseScript(bom + "0 down UP\r\n", &script, &error)) << error;
  ASSERT_EQ(script.lines.size(), 1u);
  // Only at the very start.
  EXPECT_FALSE(sim::ParseScript("0 down UP\n" + bom + "1 down UP\n", &script, &error));
}

TEST(TextInputs, ARunawayScriptLineIsQuotedShort) {
  sim::Script script;
  std::string error;
  EXPECT_FALSE(sim::ParseScript("0 down UP\n1 " + std::string(1 << 20, 'x') + "\n", &script, &error));
  EXPECT_EQ(error.rfind("line 2: unknown event", 0), 0u) << error.substr(0, 100);
  EXPECT_LT(error.size(), 160u);
}

// ruzov-sim on the data set with `args` (and `script` when given): its exit
// status, standard output and standard error.
int RunSim(std::string args, const std::string& script, std::string* out, std::string* err) {
  const testsupport::TempFolder folder;
  const std::string tmp = folder / "sim";
  if (!script.empty()) {
    testsupport::WriteFile(tmp + ".script", script);
    args += " --script " + tmp + ".script";
  }
  const int status = std::system(
      (std::string(RUZOV_SIM) + " --data " RUZOV_DATA " " + args + " >" + tmp + ".out 2>" + tmp + ".err")
          .c_str());
  *out = testsupport::ReadFile(tmp + ".out");
  *err = testsupport::ReadFile(tmp + ".err");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TextInputs, TheSimulatorSaysWhatItCannotUse) {
  const struct {
    std::string args, script;
    int status;
    const char* says;
  } cases[] = {
      {"--script " + fs::temp_directory_path().string() + " --frames 1", "", 2, "is a folder"},
      {"", "0 down SPACE\n\n2 jump\n", 2, "line 3"},
      {"--frames 2 --trace /dev/full", "", 1, "cannot write the trace"},
  };
  std::string out, err;
  for (const auto& c : cases) {
    if (c.args.find("/dev/full") != std::string::npos && !fs::exists("/dev/full")) continue;
    EXPECT_EQ(RunSim(c.args, c.script, &out, &err), c.status) << c.says;
    EXPECT_NE(err.find(c.says), std::string::npos) << err;
    EXPECT_EQ(out, "") << c.says;
  }
}

// However many events a frame has, they all reach it.
TEST(TextInputs, TheSimulatorTakesAnyNumberOfEventsInAFrame) {
  std::string script, out, err;
  for (int i = 0; i < 6000; ++i) script += "1 other\n";
  ASSERT_EQ(RunSim("", script + "1 down SPACE\n", &out, &err), 0) << err;
  ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), 2);
  EXPECT_NE(out.find(" game=1 ", out.find('\n')), std::string::npos) << out;
}

}  // namespace
