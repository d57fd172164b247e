// The performance: the conductor driving FluidSynth, rendered inside the
// mixer's audio callback, or a MIDI output device where the platform has
// one. The game thread only posts requests (one atomic command word, the
// tempo) and never waits for the audio thread, except once in CloseDown to
// let a render in progress finish.
#include <fluidsynth.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "platform/audio/audio.h"
#include "platform/audio/conductor.h"
#include "platform/audio/midi_driver.h"
#include "platform/preferences.h"

namespace dm {

namespace {

int initCount = 0;

// The engine never prints; a failure shows as a missing object.
void QuietSynthesizer() {
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level)
    fluid_set_log_function(level, nullptr, nullptr);
}

constexpr int kSentCapacity = 1 << 16;
constexpr int kMessages = 4;

int offlineRate = 48000;
bool soundFontOverridden = false;
std::string soundFontOverride;

std::string ChosenSoundFont() {
  if (soundFontOverridden) return soundFontOverride;
  // The game's entry has searched already; the simulator and the tests set
  // nothing and look in the working directory and the system's places.
  const std::string& chosen = plat::CurrentPreferences().soundFont;
  if (!chosen.empty()) return chosen;
  std::vector<std::string> places = {"GM.sf2"};
  places.insert(places.end(), plat::audio::kSystemSoundFonts.begin(), plat::audio::kSystemSoundFonts.end());
  return plat::audio::FindSoundFont(places);
}

}  // namespace

class PerformanceImpl {
 public:
  PerformanceImpl() : sent(new Performance::Sent[kSentCapacity]) { QuietSynthesizer(); }
  ~PerformanceImpl() {
    CloseDown();
    delete[] sent;
  }
  // Owns `sent` and the synthesizer: never copied.
  PerformanceImpl(const PerformanceImpl&) = delete;
  PerformanceImpl& operator=(const PerformanceImpl&) = delete;

  // ----------------------------------------------------------- game thread
  Result AddPort() {
    if (synth || midi) return S_FALSE;
    if (plat::audio::MidiOutput()) {
      // The platform's own synthesizer plays the events; no SoundFont.
      rate = plat::audio::kMidiClockRate;
      midi = plat::audio::MidiStart(&conductor);
      return midi ? S_OK : E_FAIL;
    }
    int device = plat::AudioDeviceRate();
    rate = device > 0 ? device : offlineRate;
    settings = new_fluid_settings();
    if (!settings) return E_OUTOFMEMORY;
    fluid_settings_setnum(settings, "synth.sample-rate", rate);
    fluid_settings_setnum(settings, "synth.gain", 0.45);
    fluid_settings_setint(settings, "synth.polyphony", 96);
    fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_settings_setint(settings, "synth.reverb.active", 1);
    // Only one thread at a time ever touches the synthesizer.
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_settings_setint(settings, "synth.lock-memory", 0);
    synth = new_fluid_synth(settings);
    if (!synth) {
      delete_fluid_settings(settings);
      settings = nullptr;
      return E_OUTOFMEMORY;
    }
    if (autoDownload) LoadInstruments();
    if (device > 0) {
      deviceOutput = true;
      plat::AudioSetMusicSource(&Callback, this);
    }
    return S_OK;
  }

  void LoadInstruments() {
    if (instrumentsTried) return;
    instrumentsTried = true;
    soundFont = ChosenSoundFont();
    if (soundFont.empty() || fluid_synth_sfload(synth, soundFont.c_str(), 1) == FLUID_FAILED)
      soundFont.clear();
  }

  Result PlaySegment(Segment* segment, uint32_t flags, int64_t startTime) {
    if (!segment || segment->IsTemplate()) return E_INVALIDARG;
    if (flags != 0 || startTime != 0) return E_INVALIDARG;
    if (!synth && !midi) return E_NOT_INIT;
    if (synth && !synthReady.load(std::memory_order_relaxed)) {
      // From here on the audio thread owns the synthesizer.
      if (autoDownload) LoadInstruments();
      synthReady.store(true, std::memory_order_release);
    }
    return conductor.PostPlay(segment) ? S_OK : E_OUTOFMEMORY;
  }

  Result Stop() {
    conductor.PostStop();
    return S_OK;
  }

  Result CloseDown() {
    if (closed.exchange(true)) return S_FALSE;
    if (deviceOutput) plat::AudioSetMusicSource(nullptr, nullptr);
    if (midi) plat::audio::MidiStop();
    midi = false;
    // A render that started before `closed` was set finishes first.
    while (renderers.load() != 0) std::this_thread::yield();
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
    synth = nullptr;
    settings = nullptr;
    conductor.ReleaseHeld();
    return S_OK;
  }

  // ---------------------------------------------------------- audio thread
  static void Callback(void* user, float* out, int frames, int) {
    static_cast<PerformanceImpl*>(user)->Render(out, frames);
  }

  void Render(float* out, int frames) {
    renderers.fetch_add(1);
    if (!closed.load() && synthReady.load(std::memory_order_acquire) && frames > 0) RenderLocked(out, frames);
    renderers.fetch_sub(1);
  }

  void RenderLocked(float* out, int frames) {
    auto send = [this](const MidiEvent& e, int64_t frame) { Send(e, frame); };
    auto fill = [this, &out](int n) {
      fluid_synth_write_float(synth, n, scratch, 0, 2, scratch, 1, 2);
      for (int i = 0; i < 2 * n; ++i) out[i] += scratch[i];
      out += 2 * n;
    };
    conductor.Play(frames, rate, send, fill);
  }

  void Send(const MidiEvent& e, int64_t frame) {
    int ch = e.status & 0x0F;
    switch (e.status & 0xF0) {
      case 0x90: fluid_synth_noteon(synth, ch, e.data1, e.data2); break;
      case 0x80: fluid_synth_noteoff(synth, ch, e.data1); break;
      case 0xB0:
        if (e.data1 == 120)
          fluid_synth_all_sounds_off(synth, ch);
        else if (e.data1 == 123)
          fluid_synth_all_notes_off(synth, ch);
        else
          fluid_synth_cc(synth, ch, e.data1, e.data2);
        break;
      case 0xC0: fluid_synth_program_change(synth, ch, e.data1); break;
      default: break;
    }
    int n = sentCount.load(std::memory_order_relaxed);
    if (n < kSentCapacity) {
      sent[n] = {frame, e};
      sentCount.store(n + 1, std::memory_order_release);
    }
  }

  // Shared between the threads.
  Conductor conductor;
  std::atomic<bool> synthReady{false};
  std::atomic<bool> closed{false};
  std::atomic<int> renderers{0};
  std::atomic<int> sentCount{0};

  // Game thread.
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  int rate = 0;
  bool deviceOutput = false;
  bool midi = false;
  bool autoDownload = false;
  bool instrumentsTried = false;
  std::string soundFont;
  DMUS_TEMPO_PMSG messages[kMessages] = {};
  bool messageUsed[kMessages] = {};

  // Audio thread.
  float scratch[2 * Conductor::kChunkFrames] = {};
  Performance::Sent* sent;
};

Result CreatePerformance(Performance** out) {
  if (!out) return E_INVALIDARG;
  *out = new Performance;
  return S_OK;
}

void Initialize() {
  if (initCount++ == 0) QuietSynthesizer();
}

void Uninitialize() {
  if (initCount > 0) --initCount;
}

Performance::Performance() : impl_(new PerformanceImpl) {}
Performance::~Performance() { delete impl_; }

Result Performance::Init() { return S_OK; }

Result Performance::SetGlobalParam(Param param, const void* data, uint32_t size) {
  if (param != Param::PerfAutoDownload || !data || size != 4) return E_INVALIDARG;
  impl_->autoDownload = *static_cast<const uint32_t*>(data) != 0;
  return S_OK;
}

Result Performance::AddPort() { return impl_->AddPort(); }

Result Performance::PlaySegment(Segment* segment, uint32_t flags, int64_t startTime) {
  return impl_->PlaySegment(segment, flags, startTime);
}

Result Performance::AllocPMsg(uint32_t size, DMUS_TEMPO_PMSG** msg) {
  if (!msg) return E_INVALIDARG;
  *msg = nullptr;
  if (size < 32 || size > sizeof(DMUS_TEMPO_PMSG)) return E_INVALIDARG;
  for (int i = 0; i < kMessages; ++i)
    if (!impl_->messageUsed[i]) {
      impl_->messageUsed[i] = true;
      *msg = &impl_->messages[i];
      return S_OK;
    }
  return E_OUTOFMEMORY;
}

Result Performance::FreePMsg(DMUS_TEMPO_PMSG* msg) {
  for (int i = 0; i < kMessages; ++i)
    if (msg == &impl_->messages[i] && impl_->messageUsed[i]) {
      impl_->messageUsed[i] = false;
      return S_OK;
    }
  return E_INVALIDARG;
}

Result Performance::SendPMsg(DMUS_TEMPO_PMSG* msg) {
  if (!msg) return E_INVALIDARG;
  Result r = E_INVALIDARG;
  // Only a tempo change due now is understood.
  if (msg->dwType == DMUS_PMSGT_TEMPO && msg->rtTime == 0 && msg->dblTempo >= 10.0 &&
      msg->dblTempo <= 1000.0) {
    impl_->conductor.SetTempo(msg->dblTempo);
    r = S_OK;
  }
  FreePMsg(msg);
  return r;
}

Result Performance::Stop() { return impl_->Stop(); }
Result Performance::CloseDown() { return impl_->CloseDown(); }
void Performance::Render(float* out, int frames) { impl_->Render(out, frames); }

void Performance::SetOfflineRate(int rate) { offlineRate = std::clamp(rate, 8000, 192000); }

void Performance::SetSoundFontOverride(const char* path) {
  soundFontOverridden = path != nullptr;
  soundFontOverride = path ? path : "";
}

const std::string& Performance::SoundFontPath() const { return impl_->soundFont; }
int Performance::Rate() const { return impl_->rate; }
double Performance::Tempo() const { return impl_->conductor.Tempo(); }
int Performance::SentCount() const { return impl_->sentCount.load(std::memory_order_acquire); }
const Performance::Sent* Performance::SentEvents() const { return impl_->sent; }
void Performance::ClearSent() { impl_->sentCount.store(0); }

}  // namespace dm
