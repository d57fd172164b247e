// The platform's sound, seen from outside this folder: the audio device and
// its seam, the player's volumes and pause, and the music performance that
// plays the composed piece. The effect buffers the game uses are in
// platform/platform.h; the mixer is in mixer.h.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "music/objects.h"
#include "platform/preferences.h"

namespace plat {

// -------------------------------------------------------------- volumes
// Master, music and effects volumes and mute, applied to the mix within a
// few milliseconds. At 100 each and no mute the mix is untouched.
void AudioApplyVolumes(const Preferences& preferences);

// Holds the device: effects and music stop where they are and go on from
// there when resumed.
void AudioPause(bool paused);

// ---------------------------------------------------------- music source
// Adds `frames` stereo frames at `rate` Hz into `out` (interleaved left,
// right; full scale is -1..1). Runs on the audio thread: it must not block,
// lock for long or allocate.
using MusicRenderFn = void (*)(void* user, float* out, int frames, int rate);

// Installs the music source the mixer calls after the effects (a null `fn`
// removes it). Safe from the game thread at any time; the callback never
// sees a half-installed source.
void AudioSetMusicSource(MusicRenderFn fn, void* user);

// Sample rate of the open device, 0 while none is open.
int AudioDeviceRate();

namespace audio {

class Mixer;

// ---------------------------------------------------------- device seam
// Frames per device callback; also the longest wait before a requested
// effect is heard.
constexpr int kDevicePeriod = 512;

// The audio device behind the effect buffers, as a small table of
// operations: the SDL device in the game and the simulator, a fake in the
// tests, which then drive the mixer by hand.
struct DeviceOps {
  bool (*init)();  // brings up the audio subsystem
  void (*quit)();
  // Opens the default output device, stereo float, and starts it calling
  // mixer->Render every period. Returns its rate, 0 on failure.
  int (*open)(Mixer* mixer);
  void (*close)();
  bool (*lost)();  // the open device has gone away
  void (*lock)();  // keeps the callback out while held
  void (*unlock)();
  void (*pause)(bool paused);  // holds or resumes the callbacks; may be null
  // True once an output device has been added since the last open (may be
  // null: then none ever appears).
  bool (*appeared)();
};

const DeviceOps& SdlDeviceOps();

// Switches the device the effect buffers use (null: the SDL device). Only
// before AudioCreate or after AudioRelease.
void UseDeviceOps(const DeviceOps* ops);

// The one mixer, for a fake device to render from.
Mixer& DeviceMixer();

// Where the device is in its life (device_life.cpp).
enum class DeviceState {
  Closed,    // before AudioCreate and after AudioRelease
  Open,      // the device calls the mixer every period
  Silent,    // no device could be opened: the buffers play to nobody at a
             // nominal rate until one is added
  Appeared,  // silent, and a device has been added: the buffers report
             // themselves lost, and their restoring opens it
  NoSystem,  // the audio system itself could not start: silent for good
};
DeviceState CurrentDeviceState();

// ------------------------------------------------------------ SoundFont
// The system's places for a General MIDI SoundFont, in the order searched.
extern const std::vector<std::string> kSystemSoundFonts;
// Why `path` cannot serve as a SoundFont (missing, a folder, not one),
// empty when it can.
std::string SoundFontProblem(const std::string& path);
// The first of `places` that can, or empty.
std::string FindSoundFont(const std::vector<std::string>& places);

// ------------------------------------------------------ MIDI output seam
// A MIDI output device as a table of operations, for a platform whose own
// synthesizer plays the music. When one is installed the performance sends
// the sequencer's events there, from an output thread that wakes every
// millisecond, instead of rendering them through FluidSynth.

// Ticks of a message's `due` time per second.
constexpr int kMidiClockRate = 48000;

struct MidiOutOps {
  // Opens the system's MIDI output; false when there is none.
  bool (*open)();
  // One short message, packed as status | data1 << 8 | data2 << 16, called
  // on the output thread once it is due. `due` counts kMidiClockRate ticks
  // from the music's first block, pauses left out: a device that plays at
  // once ignores it, one with a queue of its own may play it at that time.
  void (*send)(uint32_t message, int64_t due);
  // Silences every channel at once, after the driver's all-notes-off on
  // each of them; may be null.
  void (*reset)();
  void (*close)();
};

// Installs the MIDI output the next performance opens (null: FluidSynth).
// With `ownThread` false nothing is sent until MidiPump is called (tests).
void UseMidiOutput(const MidiOutOps* ops, bool ownThread = true);

// Without the output thread: sends what is due by `now` (ticks of the
// music's clock) and returns the tick the next message is due at.
int64_t MidiPump(int64_t now);

// When the output thread means `due` to sound, on the steady clock.
std::chrono::steady_clock::time_point MidiDueTime(int64_t due);

}  // namespace audio
}  // namespace plat

namespace dm {

// Process-wide start and end of the engine (quiets FluidSynth's logging).
void Initialize();
void Uninitialize();

// The one performance message there is: a tempo change.
constexpr uint32_t DMUS_PMSGF_REFTIME = 1;
constexpr uint32_t DMUS_PMSGT_TEMPO = 4;
struct DMUS_TEMPO_PMSG {
  uint32_t dwSize;
  uint32_t dwFlags;
  int64_t rtTime;
  uint32_t dwType;
  uint32_t reserved0;
  double dblTempo;
  uint8_t reserved[32];
};
static_assert(sizeof(DMUS_TEMPO_PMSG) == 64);

class PerformanceImpl;

// Plays the composed segment through FluidSynth inside the mixer's
// callback. Only the game thread calls these; the performance renders on
// the audio thread and takes the game's requests without making it wait.
class Performance : public Object {
 public:
  Performance();
  ~Performance() override;
  // Owns its engine through a raw pointer: one owner only.
  Performance(const Performance&) = delete;
  Performance& operator=(const Performance&) = delete;
  // The performance makes its own output; nothing is shared with effects.
  Result Init();
  Result SetGlobalParam(Param param, const void* data, uint32_t size);
  // The default output: the audio device at its rate when one is open,
  // otherwise an offline output at `OfflineRate` that only Render() pulls.
  Result AddPort();
  // Starts `segment` from its beginning as the one playing, replacing what
  // played; 1 + its repeats passes. Only flags 0 and start time 0 (now).
  Result PlaySegment(Segment* segment, uint32_t flags, int64_t startTime);
  Result AllocPMsg(uint32_t size, DMUS_TEMPO_PMSG** msg);
  // Takes the message back; a tempo message changes the tempo at once.
  Result SendPMsg(DMUS_TEMPO_PMSG* msg);
  Result FreePMsg(DMUS_TEMPO_PMSG* msg);
  // Everything falls silent at once.
  Result Stop();
  // Leaves the audio thread and frees the synthesizer.
  Result CloseDown();

  // Adds `frames` stereo frames into `out`. Called by the mixer on the audio
  // thread, or by tests and the offline renderer when there is no device.
  void Render(float* out, int frames);

  static void SetOfflineRate(int rate);
  // Tests and tools: "" forces no SoundFont; null restores the search.
  static void SetSoundFontOverride(const char* path);
  const std::string& SoundFontPath() const;
  int Rate() const;
  double Tempo() const;

  // What the sequencer has sent, for tests and the offline renderer: each
  // MIDI event with the output frame it took effect on. Read only while
  // nothing renders.
  struct Sent {
    int64_t frame;
    MidiEvent event;
  };
  int SentCount() const;
  const Sent* SentEvents() const;  // the first SentCount(), oldest first
  void ClearSent();

 private:
  PerformanceImpl* impl_;
};

Result CreatePerformance(Performance** out);

}  // namespace dm
