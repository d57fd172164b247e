// Forwards the FluidSynth calls of fluidsynth/fluidsynth.h to the FluidSynth
// WebAssembly module the page loads as the global FluidSynth. That module
// has its own heap and file system: names are copied over for each call, a
// SoundFont is copied into its file system once, and rendered samples are
// copied back through one scratch block kept over there. A page's
// SoundFont comes after the game has started; the synthesizers made before
// it load it when it arrives.
#include <emscripten.h>

#include <cstdint>

#include "platform/web/fluidsynth/fluidsynth.h"
#include "platform/web/web.h"

namespace {

// clang-format off
EM_JS(int, FluidReady, (), {
  var F = globalThis.FluidSynth;
  return F && F.calledRun ? 1 : 0;
});

// A string in the synthesizer's heap; the caller frees it there.
EM_JS(int, FluidString, (const char* text), {
  var F = globalThis.FluidSynth;
  var s = UTF8ToString(text);
  var n = F.lengthBytesUTF8(s) + 1;
  var p = F._malloc(n);
  F.stringToUTF8(s, p, n);
  return p;
});

EM_JS(void, FluidFree, (int pointer), { globalThis.FluidSynth._free(pointer); });

// The file at `path` in our file system, copied into the synthesizer's once;
// its name there as a string in its heap, 0 when there is no such file.
EM_JS(int, FluidFileCopy, (const char* path), {
  var F = globalThis.FluidSynth;
  var name = UTF8ToString(path);
  var copies = F.ruzovCopies || (F.ruzovCopies = {});
  if (!(name in copies)) {
    var data;
    try { data = FS.readFile(name); } catch (e) { return 0; }
    var inner = '/ruzov-' + Object.keys(copies).length + '.sf2';
    F.FS.writeFile(inner, data);
    copies[name] = inner;
  }
  var s = copies[name];
  var n = F.lengthBytesUTF8(s) + 1;
  var p = F._malloc(n);
  F.stringToUTF8(s, p, n);
  return p;
});

EM_JS(int, FluidCall1, (const char* fn, int a), {
  return globalThis.FluidSynth['_' + UTF8ToString(fn)](a);
});

EM_JS(int, FluidCall4, (int fn, int a, int b, int c, int d), {
  var F = globalThis.FluidSynth;
  switch (fn) {
    case 0: return F._fluid_synth_noteon(a, b, c, d);
    case 1: return F._fluid_synth_noteoff(a, b, c);
    case 2: return F._fluid_synth_cc(a, b, c, d);
    case 3: return F._fluid_synth_program_change(a, b, c);
    case 4: return F._fluid_synth_all_notes_off(a, b);
    case 5: return F._fluid_synth_all_sounds_off(a, b);
    case 6: return F._fluid_set_log_function(a, 0, 0);
    case 7: return F._fluid_synth_sfload(a, b, c);
    case 8: return F._fluid_is_soundfont(a);
    case 9: return F._fluid_settings_setint(a, b, c);
  }
  return -1;
});

EM_JS(int, FluidSetNum, (int settings, int name, double value), {
  return globalThis.FluidSynth._fluid_settings_setnum(settings, name, value);
});

// Renders into our buffers: their spans go over, FluidSynth writes its
// samples between whatever else they hold, and the spans come back.
EM_JS(int, FluidWriteFloat, (int synth, int len, float* lout, int loff, int lincr, float* rout, int roff, int rincr), {
  var F = globalThis.FluidSynth;
  var lspan = loff + (len - 1) * lincr + 1;
  var rspan = roff + (len - 1) * rincr + 1;
  var same = lout == rout;
  if (same) lspan = Math.max(lspan, rspan);
  var need = (same ? lspan : lspan + rspan) * 4;
  if (!F.ruzovScratch || F.ruzovScratchBytes < need) {
    if (F.ruzovScratch) F._free(F.ruzovScratch);
    F.ruzovScratch = F._malloc(need);
    F.ruzovScratchBytes = need;
  }
  var l = F.ruzovScratch;
  var r = same ? l : l + lspan * 4;
  F.HEAPF32.set(HEAPF32.subarray(lout >> 2, (lout >> 2) + lspan), l >> 2);
  if (!same) F.HEAPF32.set(HEAPF32.subarray(rout >> 2, (rout >> 2) + rspan), r >> 2);
  var result = F._fluid_synth_write_float(synth, len, l, loff, lincr, r, roff, rincr);
  HEAPF32.set(F.HEAPF32.subarray(l >> 2, (l >> 2) + lspan), lout >> 2);
  if (!same) HEAPF32.set(F.HEAPF32.subarray(r >> 2, (r >> 2) + rspan), rout >> 2);
  return result;
});
// clang-format on

enum Call {
  kNoteOn,
  kNoteOff,
  kCc,
  kProgram,
  kNotesOff,
  kSoundsOff,
  kLogOff,
  kSfLoad,
  kIsSoundFont,
  kSetInt
};

int Handle(const void* p) { return static_cast<int>(reinterpret_cast<uintptr_t>(p)); }

// The synthesizers alive now and whether each has a SoundFont.
struct Live {
  fluid_synth_t* synth;
  bool instruments;
};
Live gLive[4] = {};

template <typename T>
T* Pointer(int handle) {
  return reinterpret_cast<T*>(static_cast<uintptr_t>(static_cast<unsigned>(handle)));
}

}  // namespace

extern "C" {

fluid_log_function_t fluid_set_log_function(int level, fluid_log_function_t fun, void*) {
  if (!fun && FluidReady()) FluidCall4(kLogOff, level, 0, 0, 0);
  return nullptr;
}

int fluid_is_soundfont(const char* filename) {
  if (!FluidReady()) return 0;
  const int name = FluidFileCopy(filename);
  if (!name) return 0;
  const int result = FluidCall4(kIsSoundFont, name, 0, 0, 0);
  FluidFree(name);
  return result;
}

fluid_settings_t* new_fluid_settings(void) {
  if (!FluidReady()) return nullptr;
  return Pointer<fluid_settings_t>(FluidCall1("new_fluid_settings", 0));
}

void delete_fluid_settings(fluid_settings_t* settings) {
  if (settings) FluidCall1("delete_fluid_settings", Handle(settings));
}

int fluid_settings_setnum(fluid_settings_t* settings, const char* name, double val) {
  const int inner = FluidString(name);
  const int result = FluidSetNum(Handle(settings), inner, val);
  FluidFree(inner);
  return result;
}

int fluid_settings_setint(fluid_settings_t* settings, const char* name, int val) {
  const int inner = FluidString(name);
  const int result = FluidCall4(kSetInt, Handle(settings), inner, val, 0);
  FluidFree(inner);
  return result;
}

fluid_synth_t* new_fluid_synth(fluid_settings_t* settings) {
  if (!settings) return nullptr;
  fluid_synth_t* synth = Pointer<fluid_synth_t>(FluidCall1("new_fluid_synth", Handle(settings)));
  for (Live& live : gLive) {
    if (synth && !live.synth) {
      live = {synth, false};
      break;
    }
  }
  return synth;
}

void delete_fluid_synth(fluid_synth_t* synth) {
  if (!synth) return;
  for (Live& live : gLive)
    if (live.synth == synth) live = {};
  FluidCall1("delete_fluid_synth", Handle(synth));
}

int fluid_synth_sfload(fluid_synth_t* synth, const char* filename, int reset_presets) {
  const int name = FluidFileCopy(filename);
  if (!name) return FLUID_FAILED;
  const int result = FluidCall4(kSfLoad, Handle(synth), name, reset_presets, 0);
  FluidFree(name);
  for (Live& live : gLive)
    if (live.synth == synth && result != FLUID_FAILED) live.instruments = true;
  return result;
}

int fluid_synth_write_float(fluid_synth_t* synth, int len, void* lout, int loff, int lincr, void* rout,
                            int roff, int rincr) {
  if (len <= 0) return FLUID_OK;
  return FluidWriteFloat(Handle(synth), len, static_cast<float*>(lout), loff, lincr,
                         static_cast<float*>(rout), roff, rincr);
}

int fluid_synth_noteon(fluid_synth_t* synth, int chan, int key, int vel) {
  return FluidCall4(kNoteOn, Handle(synth), chan, key, vel);
}
int fluid_synth_noteoff(fluid_synth_t* synth, int chan, int key) {
  return FluidCall4(kNoteOff, Handle(synth), chan, key, 0);
}
int fluid_synth_cc(fluid_synth_t* synth, int chan, int ctrl, int val) {
  return FluidCall4(kCc, Handle(synth), chan, ctrl, val);
}
int fluid_synth_program_change(fluid_synth_t* synth, int chan, int program) {
  return FluidCall4(kProgram, Handle(synth), chan, program, 0);
}
int fluid_synth_all_notes_off(fluid_synth_t* synth, int chan) {
  return FluidCall4(kNotesOff, Handle(synth), chan, 0, 0);
}
int fluid_synth_all_sounds_off(fluid_synth_t* synth, int chan) {
  return FluidCall4(kSoundsOff, Handle(synth), chan, 0, 0);
}

}  // extern "C"

namespace web {

void SoundFontArrived(const char* path) {
  // Presets reset: every channel takes the instrument its program change
  // asked for before there were any, so the music joins where it is.
  for (Live& live : gLive)
    if (live.synth && !live.instruments) fluid_synth_sfload(live.synth, path, 1);
}

}  // namespace web
