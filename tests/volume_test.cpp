// The player's volumes as the mixer applies them, measured on the rendered
// buffer: one effect of constant level and a constant music source.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"

namespace {

using plat::audio::DeviceMixer;

constexpr float kEffect = 0.25f;
constexpr float kMusic = 0.125f;
long gMusicFrames = 0;  // how far the music has played

void ConstantMusic(void*, float* out, int frames, int) {
  for (int i = 0; i < 2 * frames; ++i) out[i] += kMusic;
  gMusicFrames += frames;
}

void Apply(int master, int music, int effects, bool mute = false) {
  plat::Preferences p;
  p.masterVolume = master;
  p.musicVolume = music;
  p.effectsVolume = effects;
  p.mute = mute;
  plat::AudioApplyVolumes(p);
}

class Volume : public ::testing::Test {
 protected:
  void SetUp() override {
    pcm.assign(2 * 1000000, kEffect);
    effect.pcm = pcm.data();
    effect.frames = 1000000;
    ASSERT_TRUE(DeviceMixer().Add(&effect));
    DeviceMixer().SetMusic(ConstantMusic, nullptr);
    plat::audio::Mixer::Play(&effect);
    Apply(100, 100, 100);
    DeviceMixer().SkipGlide();
  }
  void TearDown() override {
    DeviceMixer().Remove(&effect);
    DeviceMixer().SetMusic(nullptr, nullptr);
  }
  std::vector<float> Render(int frames) {
    std::vector<float> out(2 * static_cast<size_t>(frames), 9.0f);
    DeviceMixer().Render(out.data(), frames);
    return out;
  }

  std::vector<float> pcm;
  plat::SoundBuffer effect;
};

}  // namespace

TEST_F(Volume, GainsReachTheMixOnceSettled) {
  // Loudness follows the square of the setting; back at full volume the mix
  // is the plain sum again, bit for bit, as before volumes existed.
  const struct {
    int master, music, effects;
    bool mute;
    float effectGain, musicGain;
  } rows[] = {
      {100, 100, 100, false, 1.0f, 1.0f}, {50, 100, 100, false, 0.25f, 0.25f},
      {100, 50, 100, false, 1.0f, 0.25f}, {100, 100, 50, false, 0.25f, 1.0f},
      {100, 0, 100, false, 1.0f, 0.0f},   {0, 100, 100, false, 0.0f, 0.0f},
      {100, 100, 100, true, 0.0f, 0.0f},  {80, 50, 30, false, 0.0576f, 0.16f},
      {100, 100, 100, false, 1.0f, 1.0f},
  };
  for (const auto& r : rows) {
    Apply(r.master, r.music, r.effects, r.mute);
    Render(1024);  // the glide is over well within this
    const long before = gMusicFrames;
    const std::vector<float> out = Render(64);
    EXPECT_EQ(gMusicFrames - before, 64);  // the music keeps its time even when silent
    const float expected = kEffect * r.effectGain + kMusic * r.musicGain;
    const float tolerance = r.effectGain == 1.0f && r.musicGain == 1.0f ? 0.0f : 1e-6f;
    for (float v : out) ASSERT_NEAR(v, expected, tolerance) << &r - rows;
  }
}

TEST_F(Volume, ChangesGlideInsteadOfClicking) {
  Apply(100, 100, 100, true);
  const std::vector<float> out = Render(512);
  EXPECT_GT(out[0], 0.9f * (kEffect + kMusic));  // not cut at once
  EXPECT_EQ(out.back(), 0.0f);                   // but silent within ~5 ms
  for (size_t i = 2; i < out.size(); ++i)
    ASSERT_LE(std::fabs(out[i] - out[i - 2]), (kEffect + kMusic) / 128) << i;
}
