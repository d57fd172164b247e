// The effect buffers on a fake device, and the game's effect loading,
// playing and reloading on top of them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/startup.h"
#include "audio/sound.h"
#include "game/state.h"
#include "platform/audio/device.h"
#include "platform/platform.h"

namespace {

using plat::audio::DeviceMixer;

struct FakeDevice {
  bool initOk = true;
  bool openOk = true;
  bool lost = false;
  bool added = false;  // a new device has been plugged in
  int rate = 22050;
  int opens = 0;
  int closes = 0;
  int quits = 0;
} fake;

const plat::audio::DeviceOps kFakeOps = {
    [] { return fake.initOk; },
    [] { ++fake.quits; },
    [](plat::audio::Mixer*) {
      if (!fake.openOk) return 0;
      ++fake.opens;
      fake.lost = false;
      return fake.rate;
    },
    [] { ++fake.closes; },
    [] { return fake.lost; },
    [] {},
    [] {},
    nullptr,
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

// A 16-bit mono buffer holding `samples`, at the fake device's rate so the
// converted sound is the same numbers over 32768.
plat::SoundBuffer* MakeBuffer(const std::vector<int16_t>& samples) {
  uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  plat::SoundBuffer* b = plat::AudioCreateBuffer(Pcm(1, static_cast<uint32_t>(fake.rate), 16), bytes);
  if (!b) return nullptr;
  void* p;
  uint32_t n;
  if (!plat::SoundLock(b, &p, &n) || n != bytes) return nullptr;
  std::memcpy(p, samples.data(), bytes);
  return plat::SoundUnlock(b, p, n) ? b : nullptr;
}

std::vector<int16_t> Ramp(int n, int16_t step) {
  std::vector<int16_t> v(n);
  for (int i = 0; i < n; ++i) v[i] = static_cast<int16_t>(step * (i + 1));
  return v;
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
    plat::AudioSetMusicSource(nullptr, nullptr);
    plat::audio::UseDeviceOps(nullptr);
    ErrStr = nullptr;
  }
};

TEST_F(SoundDevice, NoUsableDeviceMeansSilentPlay) {
  for (bool initOk : {false, true}) {
    fake.initOk = initOk;
    fake.openOk = false;
    EXPECT_TRUE(plat::AudioCreate());
    EXPECT_TRUE(plat::AudioSetCooperative());
    EXPECT_EQ(plat::AudioDeviceRate(), 48000);
    plat::SoundBuffer* b = plat::AudioCreateBuffer(Pcm(1, 22050, 8), 100);
    ASSERT_NE(b, nullptr);
    plat::SoundPlay(b);
    EXPECT_EQ(plat::SoundGetStatus(b) & plat::kSoundBufferLost, 0u);
    // Without a new device nothing is tried again, however often it is asked.
    for (int frame = 0; frame < 100; ++frame) plat::SoundGetStatus(b);
    EXPECT_EQ(fake.opens, 0);
    plat::AudioRelease();
  }
}

TEST_F(SoundDevice, RefusesWhatItCannotPlay) {
  ASSERT_TRUE(plat::AudioCreate());
  EXPECT_EQ(plat::AudioDeviceRate(), 22050);
  EXPECT_EQ(plat::AudioCreateBuffer(Pcm(1, 22050, 8), 0), nullptr);
  plat::WaveFormat adpcm = Pcm(1, 22050, 16);
  adpcm.wFormatTag = 2;
  plat::WaveFormat badAlign = Pcm(2, 22050, 16);
  badAlign.nBlockAlign = 3;
  for (const plat::WaveFormat& f :
       {adpcm, badAlign, Pcm(1, 22050, 12), Pcm(3, 22050, 16), plat::WaveFormat{}})
    EXPECT_EQ(plat::AudioCreateBuffer(f, 100), nullptr);
  // A forged rate would need gigabytes once brought to the device rate.
  EXPECT_EQ(plat::AudioCreateBuffer(Pcm(1, 100, 8), 200000000), nullptr);
  EXPECT_NE(plat::AudioCreateBuffer(Pcm(2, 44100, 8), 101), nullptr);
}

TEST_F(SoundDevice, ConvertsEachFormatOnceToStereoFloat) {
  ASSERT_TRUE(plat::AudioCreate());
  // 8-bit mono: 0x80 is silence, both sides get the sample.
  plat::SoundBuffer* u8 = plat::AudioCreateBuffer(Pcm(1, 22050, 8), 3);
  void* p;
  uint32_t n;
  ASSERT_TRUE(plat::SoundLock(u8, &p, &n));
  std::memcpy(p, "\x80\xC0\x40", 3);
  ASSERT_TRUE(plat::SoundUnlock(u8, p, n));
  plat::SoundPlay(u8);
  std::vector<float> out = Render(4);
  EXPECT_FLOAT_EQ(out[0], 0.0f);
  EXPECT_FLOAT_EQ(out[2], 0.5f);
  EXPECT_FLOAT_EQ(out[3], 0.5f);
  EXPECT_FLOAT_EQ(out[4], -0.5f);
  EXPECT_FLOAT_EQ(out[6], 0.0f);  // ended: silence, not old data
  EXPECT_FALSE(plat::SoundGetStatus(u8) & plat::kSoundPlaying);

  // 16-bit stereo keeps its sides apart.
  plat::SoundBuffer* s16 = plat::AudioCreateBuffer(Pcm(2, 22050, 16), 4);
  ASSERT_TRUE(plat::SoundLock(s16, &p, &n));
  int16_t lr[2] = {8192, -16384};
  std::memcpy(p, lr, 4);
  ASSERT_TRUE(plat::SoundUnlock(s16, p, n));
  plat::SoundPlay(s16);
  out = Render(1);
  EXPECT_FLOAT_EQ(out[0], 0.25f);
  EXPECT_FLOAT_EQ(out[1], -0.5f);

  // Another rate is resampled at Unlock, not while mixing.
  plat::SoundBuffer* slow = plat::AudioCreateBuffer(Pcm(1, 11025, 16), 2000);
  ASSERT_TRUE(plat::SoundLock(slow, &p, &n));
  for (uint32_t i = 0; i < n / 2; ++i) static_cast<int16_t*>(p)[i] = 10000;
  ASSERT_TRUE(plat::SoundUnlock(slow, p, n));
  plat::SoundPlay(slow);
  int heard = 0;
  for (int period = 0; period < 10 && (plat::SoundGetStatus(slow) & plat::kSoundPlaying); ++period) {
    out = Render(512);
    for (int i = 0; i < 512; ++i) heard += out[i * 2] != 0.0f;
  }
  EXPECT_NEAR(heard, 2000, 8);
}

TEST_F(SoundDevice, UnlockChecksItsRegion) {
  ASSERT_TRUE(plat::AudioCreate());
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

TEST_F(SoundDevice, PlayRuleStartsOnceAndRestartsOnlyAfterTheEnd) {
  ASSERT_TRUE(plat::AudioCreate());
  plat::SoundBuffer* b = MakeBuffer(Ramp(300, 16));
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(plat::SoundGetStatus(b), 0u);

  // The first frame after the request is the effect's first sample.
  plat::SoundPlay(b);
  EXPECT_EQ(plat::SoundGetStatus(b), plat::kSoundPlaying);
  std::vector<float> out = Render(200);
  EXPECT_FLOAT_EQ(out[0], 16 / 32768.0f);

  // Requests while it sounds neither restart it nor add a second copy.
  plat::SoundPlay(b);
  plat::SoundPlay(b);
  out = Render(200);
  EXPECT_FLOAT_EQ(out[0], 16 * 201 / 32768.0f);
  EXPECT_FLOAT_EQ(out[99 * 2], 16 * 300 / 32768.0f);
  EXPECT_FLOAT_EQ(out[100 * 2], 0.0f);
  EXPECT_EQ(plat::SoundGetStatus(b), 0u);

  // Finished: the next request plays it again from the start.
  plat::SoundPlay(b);
  out = Render(1);
  EXPECT_FLOAT_EQ(out[0], 16 / 32768.0f);

  plat::SoundStop(b);
  EXPECT_EQ(plat::SoundGetStatus(b), 0u);
  out = Render(1);
  EXPECT_FLOAT_EQ(out[0], 0.0f);
}

TEST_F(SoundDevice, MixesVoicesAndMusicWithoutWrapping) {
  ASSERT_TRUE(plat::AudioCreate());
  plat::SoundBuffer* a = MakeBuffer(std::vector<int16_t>(64, 9830));  // 0.3
  plat::SoundBuffer* b = MakeBuffer(std::vector<int16_t>(64, 6554));  // 0.2
  plat::SoundBuffer* loud = MakeBuffer(std::vector<int16_t>(64, 32767));
  plat::SoundPlay(a);
  plat::SoundPlay(b);
  std::vector<float> out = Render(1);
  EXPECT_NEAR(out[0], 0.5f, 1e-4f);

  // Three loud voices plus music: bent below full scale, never wrapped.
  struct Music {
    int calls = 0;
    int rate = 0;
    static void Fn(void* user, float* o, int frames, int rate) {
      auto* m = static_cast<Music*>(user);
      ++m->calls;
      m->rate = rate;
      for (int i = 0; i < frames * 2; ++i) o[i] += 0.5f;
    }
  } music;
  plat::AudioSetMusicSource(&Music::Fn, &music);
  plat::SoundPlay(loud);
  out = Render(2);
  EXPECT_EQ(music.calls, 1);
  EXPECT_EQ(music.rate, 22050);
  EXPECT_GT(out[0], 0.9f);
  EXPECT_LE(out[0], 1.0f);
  EXPECT_LT(std::fabs(plat::audio::SoftLimit(-7.0f) + 1.0f), 0.02f);
  EXPECT_FLOAT_EQ(plat::audio::SoftLimit(-0.4f), -0.4f);

  plat::AudioSetMusicSource(nullptr, &music);
  plat::SoundStop(a);
  plat::SoundStop(b);
  plat::SoundStop(loud);
  Render(1);
  EXPECT_EQ(music.calls, 1);
}

TEST_F(SoundDevice, LostDeviceLosesEveryBufferUntilRestored) {
  ASSERT_TRUE(plat::AudioCreate());
  plat::SoundBuffer* a = MakeBuffer(std::vector<int16_t>(1000, 1000));
  plat::SoundBuffer* b = MakeBuffer(std::vector<int16_t>(1000, 1000));
  plat::SoundPlay(a);
  fake.lost = true;
  EXPECT_EQ(plat::SoundGetStatus(a), plat::kSoundBufferLost);
  EXPECT_EQ(plat::SoundGetStatus(b), plat::kSoundBufferLost);
  void* p;
  uint32_t n;
  EXPECT_FALSE(plat::SoundLock(b, &p, &n));

  // Nothing to reopen: silent at the old rate, no longer lost.
  fake.openOk = false;
  EXPECT_TRUE(plat::SoundRestore(a));
  EXPECT_EQ(plat::SoundGetStatus(a), 0u);
  EXPECT_EQ(plat::AudioDeviceRate(), 22050);

  // A device is plugged in at another rate: lost until restored, then the
  // kept samples are converted again and the cut-off effect does not resume.
  fake.openOk = true;
  fake.rate = 44100;
  fake.added = true;
  EXPECT_EQ(plat::SoundGetStatus(a), plat::kSoundBufferLost);
  ASSERT_TRUE(plat::SoundRestore(a));
  EXPECT_EQ(plat::AudioDeviceRate(), 44100);
  EXPECT_EQ(plat::SoundGetStatus(a), 0u);
  EXPECT_EQ(plat::SoundGetStatus(b), plat::kSoundBufferLost);
  plat::SoundPlay(b);
  EXPECT_EQ(plat::SoundGetStatus(b), plat::kSoundBufferLost);
  ASSERT_TRUE(plat::SoundRestore(b));
  EXPECT_EQ(fake.opens, 2);

  plat::SoundPlay(a);
  int heard = 0;
  for (int period = 0; period < 8; ++period) {
    std::vector<float> out = Render(512);
    for (int i = 0; i < 512; ++i) heard += out[i * 2] != 0.0f;
  }
  EXPECT_NEAR(heard, 2000, 8);
}

// ----------------------------------------------------------- the game side

std::string Wav(uint32_t rate, const std::vector<int16_t>& samples) {
  auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
  std::string data(reinterpret_cast<const char*>(samples.data()), samples.size() * 2);
  std::string fmt = u16(1) + u16(1) + u32(rate) + u32(rate * 2) + u16(2) + u16(16);
  std::string body = "WAVEfmt " + u32(16) + fmt + "data" + u32(static_cast<uint32_t>(data.size())) + data;
  return "RIFF" + u32(static_cast<uint32_t>(body.size())) + body;
}

class GameSound : public SoundDevice {
 protected:
  const char* kFiles[kEffectCount] = {"GunShot.wav", "drip.wav", "Schaden.wav", "Get.wav", "Kollision.wav"};

  void SetUp() override {
    SoundDevice::SetUp();
    char buf[4096];
    ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
    oldDir_ = buf;
    dir_ = ::testing::TempDir() + "sound_test_XXXXXX";
    ASSERT_NE(mkdtemp(dir_.data()), nullptr);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
    // Effect i holds samples of value 100 * (i + 1): who sounds is audible.
    for (int i = 0; i < kEffectCount; ++i)
      WriteEffect(i, std::vector<int16_t>(600, static_cast<int16_t>(100 * (i + 1))));
  }
  void TearDown() override {
    for (const char* f : kFiles) std::remove(f);
    EXPECT_EQ(chdir(oldDir_.c_str()), 0);
    rmdir(dir_.c_str());
    SoundDevice::TearDown();
  }
  void WriteEffect(int i, const std::vector<int16_t>& samples) {
    std::string image = Wav(22050, samples);
    std::FILE* f = std::fopen(kFiles[i], "wb");
    std::fwrite(image.data(), 1, image.size(), f);
    std::fclose(f);
  }
  // First left sample of the next period, in sample units.
  int Heard() { return static_cast<int>(std::lround(Render(1)[0] * 32768.0f)); }

  std::string oldDir_, dir_;
};

TEST_F(GameSound, StartUpFailuresStoreTheirMessage) {
  // No device is no failure: the effects load and wait for one.
  fake.openOk = false;
  EXPECT_TRUE(InitSound());
  EXPECT_EQ(ErrStr, nullptr);
  EXPECT_TRUE(lpDS);
  for (plat::SoundBuffer* b : lpDSBSounds) EXPECT_NE(b, nullptr);
  ReleaseSound();

  fake.openOk = true;
  std::remove("Get.wav");
  EXPECT_FALSE(InitSound());
  EXPECT_STREQ(ErrStr, "CreateBuffer FAILED");
  EXPECT_TRUE(lpDS);
  // The buffers made before the failure stay until the device goes.
  EXPECT_NE(lpDSBSounds[2], nullptr);
  EXPECT_EQ(lpDSBSounds[3], nullptr);
  ReleaseSound();
  EXPECT_FALSE(lpDS);
  EXPECT_EQ(lpDSBSounds[2], nullptr);
  ReleaseSound();

  // Not a WAVE form: no format, no length.
  std::FILE* f = std::fopen("drip.wav", "wb");
  std::fwrite("RIFF\x04\0\0\0AVI ", 1, 12, f);
  std::fclose(f);
  EXPECT_FALSE(InitSound());
  EXPECT_STREQ(ErrStr, "CreateBuffer FAILED");
  EXPECT_EQ(lpDSBSounds[1], nullptr);
}

TEST_F(GameSound, EachRequestPlaysItsEffectOnce) {
  ASSERT_TRUE(InitSound());
  EXPECT_EQ(ErrStr, nullptr);
  for (plat::SoundBuffer* b : lpDSBSounds) EXPECT_NE(b, nullptr);

  EXPECT_TRUE(PlaySoundEffect(kEffectGunShot));  // loaded, never played
  EXPECT_EQ(Heard(), 0);
  EXPECT_TRUE(PlaySoundEffect(-1));
  EXPECT_TRUE(PlaySoundEffect(kEffectCount));
  EXPECT_EQ(Heard(), 0);

  EXPECT_TRUE(PlaySoundEffect(kEffectDrip));
  EXPECT_TRUE(PlaySoundEffect(kEffectDrip));  // still sounding: no second copy
  EXPECT_EQ(Heard(), 200);
  EXPECT_TRUE(PlaySoundEffect(kEffectCollision));
  EXPECT_EQ(Heard(), 700);
  plat::SoundStop(lpDSBSounds[kEffectDrip]);
  plat::SoundStop(lpDSBSounds[kEffectCollision]);

  // Standing on lava asks every frame; it is heard again only after its end.
  PlaySoundEffect(kEffectDamage);
  CheckDamageBuffer();  // never stops an effect: none loops
  EXPECT_EQ(plat::SoundGetStatus(lpDSBSounds[kEffectDamage]), plat::kSoundPlaying);
  Render(599);
  PlaySoundEffect(kEffectDamage);
  EXPECT_EQ(Heard(), 300);  // the last frame of the first play
  EXPECT_EQ(Heard(), 0);
  PlaySoundEffect(kEffectDamage);
  EXPECT_EQ(Heard(), 300);
}

TEST_F(GameSound, LostBuffersAreRestoredAndReloadedFromTheFiles) {
  ASSERT_TRUE(InitSound());
  WriteEffect(kEffectGet, std::vector<int16_t>(600, 1234));

  fake.lost = true;
  EXPECT_TRUE(PlaySoundEffect(kEffectGet));
  EXPECT_EQ(fake.opens, 2);
  for (int i = 0; i < kEffectCount; ++i) EXPECT_NE(lpDSBSounds[i], nullptr);
  EXPECT_EQ(Heard(), 1234);  // the file read anew, played from the new buffer
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
  std::remove("Schaden.wav");
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
