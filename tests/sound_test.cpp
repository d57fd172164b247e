// The effect buffers on a fake device and on SDL's disk driver, and the
// game's effect loading, playing and reloading on top of them.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "audio/sound.h"
#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"
#include "platform/errors.h"
#include "platform/platform.h"
#include "test_support.h"
#include "tools/common/writers.h"

namespace fs = std::filesystem;

namespace {

using plat::audio::DeviceMixer;

struct FakeDevice {
  bool initOk = true;
  bool openOk = true;
  bool lost = false;
  bool added = false;  // a new device has been plugged in
  bool paused = false;
  int rate = 22050;
  int opens = 0;
} fake;

const plat::audio::DeviceOps kFakeOps = {
    [] { return fake.initOk; },
    [] {},
    [](plat::audio::Mixer*) {
      if (!fake.openOk) return 0;
      ++fake.opens;
      fake.lost = false;
      fake.paused = false;  // a device starts playing
      return fake.rate;
    },
    [] {},
    [] { return fake.lost; },
    [] {},
    [] {},
    [](bool paused) { fake.paused = paused; },
    [] { return std::exchange(fake.added, false); },
};

std::vector<float> Render(int frames) {
  std::vector<float> out(static_cast<size_t>(frames) * 2, 99.0f);
  DeviceMixer().Render(out.data(), frames);
  return out;
}

plat::WaveFormat Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
  uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  return {1, channels, rate, rate * align, align, bits, 0};
}

// A 16-bit buffer holding `samples`, converted for the device.
plat::SoundBuffer* MakeBuffer(const std::vector<int16_t>& samples, uint16_t channels = 1, uint32_t rate = 0) {
  const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  if (rate == 0) rate = static_cast<uint32_t>(plat::AudioDeviceRate());
  plat::SoundBuffer* b = plat::AudioCreateBuffer(Pcm(channels, rate, 16), bytes);
  void* p;
  uint32_t n;
  if (!b || !plat::SoundLock(b, &p, &n)) return nullptr;
  std::memcpy(p, samples.data(), bytes);
  return plat::SoundUnlock(b, p, n) ? b : nullptr;
}

// Left frames that are not silent.
int HeardFrames(const std::vector<float>& out) {
  int heard = 0;
  for (size_t i = 0; i < out.size(); i += 2) heard += out[i] != 0.0f;
  return heard;
}

class SoundDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = FakeDevice{};
    plat::audio::UseDeviceOps(&kFakeOps);
  }
  void TearDown() override {
    ReleaseSound();
    plat::AudioRelease();
    plat::AudioPause(false);
    plat::AudioSetMusicSource(nullptr, nullptr);
    plat::audio::UseDeviceOps(nullptr);
    ErrStr = nullptr;
  }
};

TEST_F(SoundDevice, RefusesWhatItCannotPlayOrWasNotLent) {
  ASSERT_TRUE(plat::AudioCreate());
  plat::WaveFormat adpcm = Pcm(1, 22050, 16), badAlign = Pcm(2, 22050, 16);
  adpcm.wFormatTag = 2;
  badAlign.nBlockAlign = 3;
  for (const plat::WaveFormat& f :
       {adpcm, badAlign, Pcm(1, 22050, 12), Pcm(3, 22050, 16), plat::WaveFormat{}})
    EXPECT_EQ(plat::AudioCreateBuffer(f, 100), nullptr);
  EXPECT_EQ(plat::AudioCreateBuffer(Pcm(1, 22050, 8), 0), nullptr);
  // A forged rate would need gigabytes once brought to the device rate.
  EXPECT_EQ(plat::AudioCreateBuffer(Pcm(1, 100, 8), 200000000), nullptr);

  plat::SoundBuffer* b = plat::AudioCreateBuffer(Pcm(1, 22050, 8), 10);
  void* p;
  uint32_t n;
  EXPECT_FALSE(plat::SoundUnlock(b, nullptr, 0));  // not locked
  ASSERT_TRUE(plat::SoundLock(b, &p, &n));
  EXPECT_EQ(n, 10u);
  EXPECT_FALSE(plat::SoundUnlock(b, p, 11));
  EXPECT_FALSE(plat::SoundUnlock(b, static_cast<char*>(p) + 1, 1));
  EXPECT_TRUE(plat::SoundUnlock(b, p, 10));
}

TEST_F(SoundDevice, StereoKeepsItsSidesAndOtherRatesAreResampled) {
  ASSERT_TRUE(plat::AudioCreate());
  plat::SoundPlay(MakeBuffer({8192, -16384}, 2));
  std::vector<float> out = Render(2);
  EXPECT_FLOAT_EQ(out[0], 0.25f);
  EXPECT_FLOAT_EQ(out[1], -0.5f);
  EXPECT_FLOAT_EQ(out[2], 0.0f);  // ended: silence, not old data

  // Converted once at Unlock, not while mixing.
  plat::SoundPlay(MakeBuffer(std::vector<int16_t>(1000, 10000), 1, 11025));
  EXPECT_NEAR(HeardFrames(Render(5000)), 2000, 8);
}

int gMusicCalls = 0;
int gMusicRate = 0;
void LoudMusic(void*, float* out, int frames, int rate) {
  ++gMusicCalls;
  gMusicRate = rate;
  for (int i = 0; i < frames * 2; ++i) out[i] += 0.5f;
}

TEST_F(SoundDevice, MixesVoicesAndMusicWithoutWrapping) {
  ASSERT_TRUE(plat::AudioCreate());
  plat::SoundPlay(MakeBuffer(std::vector<int16_t>(64, 9830)));  // 0.3
  plat::SoundPlay(MakeBuffer(std::vector<int16_t>(64, 6554)));  // 0.2
  EXPECT_NEAR(Render(1)[0], 0.5f, 1e-4f);

  // Three loud voices plus music: bent below full scale, never wrapped.
  plat::AudioSetMusicSource(LoudMusic, nullptr);
  plat::SoundPlay(MakeBuffer(std::vector<int16_t>(64, 32767)));
  const float loud = Render(2)[0];
  EXPECT_EQ(gMusicCalls, 1);
  EXPECT_EQ(gMusicRate, 22050);
  EXPECT_GT(loud, 0.9f);
  EXPECT_LE(loud, 1.0f);
  EXPECT_LT(std::fabs(plat::audio::SoftLimit(-7.0f) + 1.0f), 0.02f);
  EXPECT_FLOAT_EQ(plat::audio::SoftLimit(-0.4f), -0.4f);
  plat::AudioSetMusicSource(nullptr, nullptr);
  Render(1);
  EXPECT_EQ(gMusicCalls, 1);
}

// The real device: whenever the disk driver gets round to it, the file it
// writes holds silence and then the effect exactly as the buffer holds it.
TEST(SdlDevice, TheFileHoldsTheEffectAfterSilence) {
  const std::string file = ::testing::TempDir() + "sound_test_disk_" + std::to_string(getpid());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  ASSERT_TRUE(plat::AudioCreate());
  std::vector<int16_t> ramp(3000);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(8 * (i + 1));
  plat::SoundPlay(MakeBuffer(ramp));
  std::vector<float> left;
  size_t at = 0;
  // Only the written content counts: the wait ends as soon as it is all there.
  for (int wait = 0; wait < 1000; ++wait, usleep(10000)) {
    const std::string raw = testsupport::ReadFile(file);
    left.resize(raw.size() / 8);
    for (size_t i = 0; i < left.size(); ++i) std::memcpy(&left[i], raw.data() + 8 * i, 4);
    at = std::find_if(left.begin(), left.end(), [](float v) { return v != 0.0f; }) - left.begin();
    if (at + ramp.size() < left.size()) break;
  }
  plat::AudioRelease();
  std::remove(file.c_str());
  ASSERT_LT(at + ramp.size(), left.size()) << "the effect was never written";
  for (size_t i = 0; i < ramp.size(); ++i) ASSERT_EQ(left[at + i], ramp[i] / 32768.0f) << i;
  EXPECT_EQ(left[at + ramp.size()], 0.0f);
}

// ----------------------------------------------------------- the game side

std::string Wav(int rate, const std::vector<int16_t>& samples) {
  const auto header = WavHeader(1, rate, static_cast<uint32_t>(samples.size() * 2));
  std::string wav(header.begin(), header.end());
  for (const int16_t s : samples) PutLE16(wav, static_cast<uint16_t>(s));
  return wav;
}

class GameSound : public SoundDevice {
 protected:
  void SetUp() override {
    SoundDevice::SetUp();
    // Effect i holds samples of value 100 * (i + 1): who sounds is audible.
    for (int i = 0; i < kEffectCount; ++i)
      WriteEffect(i, std::vector<int16_t>(600, static_cast<int16_t>(100 * (i + 1))));
  }
  void WriteEffect(int i, const std::vector<int16_t>& samples) {
    std::ofstream(kSoundFiles[i], std::ios::binary) << Wav(22050, samples);
  }
  // First left sample of the next period, in sample units.
  int Heard() { return static_cast<int>(std::lround(Render(1)[0] * 32768.0f)); }

  testsupport::TempFolder folder_{true};
};

TEST_F(GameSound, StartUpFailuresStoreTheirMessage) {
  // No device is no failure: the effects load at a nominal rate and wait
  // for one, and until one is added nothing tries to open one again.
  fake.openOk = false;
  for (bool initOk : {false, true}) {
    fake.initOk = initOk;
    EXPECT_TRUE(InitSound());
    EXPECT_EQ(plat::audio::CurrentDeviceState(),
              initOk ? plat::audio::DeviceState::Silent : plat::audio::DeviceState::NoSystem);
    EXPECT_EQ(ErrStr, nullptr);
    EXPECT_EQ(plat::AudioDeviceRate(), 48000);
    for (plat::SoundBuffer* b : lpDSBSounds) EXPECT_NE(b, nullptr);
    for (int frame = 0; frame < 100; ++frame) PlaySoundEffect(kEffectDrip);
    EXPECT_EQ(fake.opens, 0);
    ReleaseSound();
  }

  fake.openOk = true;
  fs::remove("Get.wav");
  EXPECT_FALSE(InitSound());
  EXPECT_STREQ(ErrStr, "CreateBuffer FAILED");
  // The buffers made before the failure stay until the device goes.
  EXPECT_NE(lpDSBSounds[2], nullptr);
  EXPECT_EQ(lpDSBSounds[3], nullptr);
  ReleaseSound();
  EXPECT_FALSE(lpDS);
  EXPECT_EQ(lpDSBSounds[2], nullptr);

  // Not a WAVE form: no format, no length.
  std::ofstream("drip.wav", std::ios::binary) << std::string("RIFF\x04\0\0\0AVI ", 12);
  EXPECT_FALSE(InitSound());
  EXPECT_STREQ(ErrStr, "CreateBuffer FAILED");
  EXPECT_EQ(lpDSBSounds[1], nullptr);
}

TEST_F(GameSound, EachRequestPlaysItsEffectOnce) {
  ASSERT_TRUE(InitSound());
  EXPECT_TRUE(PlaySoundEffect(kEffectGunShot));  // loaded, never played
  EXPECT_TRUE(PlaySoundEffect(-1));
  EXPECT_TRUE(PlaySoundEffect(kEffectCount));
  EXPECT_EQ(Heard(), 0);

  EXPECT_TRUE(PlaySoundEffect(kEffectDrip));
  EXPECT_TRUE(PlaySoundEffect(kEffectDrip));  // still sounding: no second copy
  EXPECT_EQ(Heard(), 200);
  EXPECT_TRUE(PlaySoundEffect(kEffectCollision));
  EXPECT_EQ(Heard(), 700);
  Render(600);

  // Standing on lava asks every frame; it is heard again only after its end.
  PlaySoundEffect(kEffectDamage);
  CheckDamageBuffer();  // never stops an effect: none loops
  Render(599);
  PlaySoundEffect(kEffectDamage);
  EXPECT_EQ(Heard(), 300);  // the last frame of the first play
  EXPECT_EQ(Heard(), 0);
  PlaySoundEffect(kEffectDamage);
  EXPECT_EQ(Heard(), 300);
}

// The effects of the generated data set, as the game plays them: sample for
// sample what the file holds, and again from the start on the next request.
TEST_F(GameSound, ShippedEffectsAreHeardAsRecorded) {
  for (const char* f : kSoundFiles)
    fs::copy_file(fs::path(RUZOV_DATA) / f, f, fs::copy_options::overwrite_existing);
  ASSERT_TRUE(InitSound());
  for (int effect = kEffectDrip; effect < kEffectCount; ++effect) {
    const std::string data = testsupport::ReadFile(kSoundFiles[effect]).substr(44);  // 16-bit mono at 22050
    std::vector<int16_t> samples(data.size() / 2);
    std::memcpy(samples.data(), data.data(), samples.size() * 2);
    for (int play = 0; play < 2; ++play) {
      PlaySoundEffect(effect);
      const std::vector<float> out = Render(static_cast<int>(samples.size()) + 1);
      for (size_t i = 0; i < samples.size(); ++i)
        ASSERT_EQ(out[2 * i], samples[i] / 32768.0f) << kSoundFiles[effect];
      EXPECT_EQ(out.back(), 0.0f);
    }
  }
}

TEST_F(GameSound, LostBuffersAreReloadedFromTheFilesAtTheNewRate) {
  ASSERT_TRUE(InitSound());
  WriteEffect(kEffectGet, std::vector<int16_t>(600, 1234));
  fake.lost = true;
  fake.rate = 44100;
  EXPECT_TRUE(PlaySoundEffect(kEffectGet));
  EXPECT_EQ(fake.opens, 2);
  EXPECT_EQ(plat::AudioDeviceRate(), 44100);
  for (int i = 0; i < kEffectCount; ++i) EXPECT_NE(lpDSBSounds[i], nullptr);
  const std::vector<float> out = Render(2000);
  EXPECT_NEAR(out[400], 1234 / 32768.0f, 1e-4f);  // the file read anew
  EXPECT_NEAR(HeardFrames(out), 1200, 8);
  EXPECT_EQ(ErrStr, nullptr);
}

TEST_F(GameSound, LostBuffersRestoredByIndexZeroWithoutPlaying) {
  ASSERT_TRUE(InitSound());
  fake.lost = true;
  EXPECT_TRUE(PlaySoundEffect(kEffectGunShot));
  EXPECT_EQ(fake.opens, 2);
  EXPECT_EQ(plat::SoundGetStatus(lpDSBSounds[0]), 0u);
  EXPECT_EQ(Heard(), 0);
}

// A device plugged in while there was none is taken at the next effect;
// the player's pause holds on every device opened while it lasts.
TEST_F(GameSound, ADeviceThatComesLaterIsTakenAndThePauseHoldsOnIt) {
  using plat::audio::DeviceState;
  fake.openOk = false;
  ASSERT_TRUE(InitSound());
  fake.openOk = true;
  plat::AudioPause(true);
  PlaySoundEffect(kEffectDrip);
  EXPECT_EQ(plat::audio::CurrentDeviceState(), DeviceState::Silent);
  EXPECT_EQ(fake.opens, 0);

  fake.added = true;
  PlaySoundEffect(kEffectDrip);
  EXPECT_EQ(plat::audio::CurrentDeviceState(), DeviceState::Open);
  EXPECT_EQ(fake.opens, 1);
  EXPECT_TRUE(fake.paused);
  fake.lost = true;
  PlaySoundEffect(kEffectDrip);
  EXPECT_EQ(fake.opens, 2);
  EXPECT_TRUE(fake.paused);
  plat::AudioPause(false);
  EXPECT_FALSE(fake.paused);
  EXPECT_EQ(Heard(), 200);

  ReleaseSound();
  EXPECT_EQ(plat::audio::CurrentDeviceState(), DeviceState::Closed);
  EXPECT_EQ(plat::AudioDeviceRate(), 0);
}

TEST_F(GameSound, AFailedReloadIsSilentAndLeavesItsMessage) {
  ASSERT_TRUE(InitSound());
  // No device to come back to: nothing plays, the game goes on, and only
  // the first request tries to reopen one.
  fake.lost = true;
  fake.openOk = false;
  EXPECT_TRUE(PlaySoundEffect(kEffectDrip));
  EXPECT_TRUE(PlaySoundEffect(kEffectDrip));
  EXPECT_EQ(ErrStr, nullptr);
  EXPECT_EQ(fake.opens, 1);

  // A device is back but a file has gone: the reload stops there.
  fake.openOk = true;
  fake.added = true;
  fs::remove("Schaden.wav");
  EXPECT_TRUE(PlaySoundEffect(kEffectDrip));
  EXPECT_STREQ(ErrStr, "CreateBuffer FAILED");
  EXPECT_EQ(lpDSBSounds[kEffectDamage], nullptr);
  EXPECT_EQ(Heard(), 200);
  EXPECT_TRUE(PlaySoundEffect(kEffectDamage));  // empty slot: nothing
  CheckDamageBuffer();

  // Lost again: the empty slot is skipped and the next reload succeeds.
  WriteEffect(kEffectDamage, std::vector<int16_t>(600, 300));
  fake.lost = true;
  EXPECT_TRUE(PlaySoundEffect(kEffectGet));
  EXPECT_NE(lpDSBSounds[kEffectDamage], nullptr);
  EXPECT_EQ(Heard(), 400);
}

}  // namespace
