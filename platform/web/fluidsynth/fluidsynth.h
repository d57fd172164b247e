// The FluidSynth calls the music performance makes, for the web build. The
// synthesizer there is a separate WebAssembly module with a heap of its own
// (loaded by the page as the global FluidSynth); fluidsynth_shim.cpp forwards
// each call, copying strings, files and rendered samples between the heaps.
// Settings and synthesizer pointers are addresses in the other heap: opaque.
// Without the module every constructor returns null, so the game runs
// silently (the simulator under node).
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

#define FLUID_OK 0
#define FLUID_FAILED (-1)

enum fluid_log_level { FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG, LAST_LOG_LEVEL };
typedef void (*fluid_log_function_t)(int level, const char* message, void* data);

// Only turning a level off (a null function) is forwarded.
fluid_log_function_t fluid_set_log_function(int level, fluid_log_function_t fun, void* data);

int fluid_is_soundfont(const char* filename);

fluid_settings_t* new_fluid_settings(void);
void delete_fluid_settings(fluid_settings_t* settings);
int fluid_settings_setnum(fluid_settings_t* settings, const char* name, double val);
int fluid_settings_setint(fluid_settings_t* settings, const char* name, int val);

fluid_synth_t* new_fluid_synth(fluid_settings_t* settings);
void delete_fluid_synth(fluid_synth_t* synth);
int fluid_synth_sfload(fluid_synth_t* synth, const char* filename, int reset_presets);
int fluid_synth_write_float(fluid_synth_t* synth, int len, void* lout, int loff, int lincr, void* rout,
                            int roff, int rincr);

int fluid_synth_noteon(fluid_synth_t* synth, int chan, int key, int vel);
int fluid_synth_noteoff(fluid_synth_t* synth, int chan, int key);
int fluid_synth_cc(fluid_synth_t* synth, int chan, int ctrl, int val);
int fluid_synth_program_change(fluid_synth_t* synth, int chan, int program);
int fluid_synth_all_notes_off(fluid_synth_t* synth, int chan);
int fluid_synth_all_sounds_off(fluid_synth_t* synth, int chan);

#ifdef __cplusplus
}
#endif
