// Windows has no FluidSynth: the music goes to the system's MIDI synthesizer
// (midi_winmm.cpp). The performance's FluidSynth calls (declared by the web
// build's header) find no synthesizer here, as the web's do without theirs.
#include <fluidsynth.h>

extern "C" {

fluid_log_function_t fluid_set_log_function(int, fluid_log_function_t, void*) { return nullptr; }
int fluid_is_soundfont(const char*) { return 0; }
fluid_settings_t* new_fluid_settings() { return nullptr; }
void delete_fluid_settings(fluid_settings_t*) {}
int fluid_settings_setnum(fluid_settings_t*, const char*, double) { return FLUID_FAILED; }
int fluid_settings_setint(fluid_settings_t*, const char*, int) { return FLUID_FAILED; }
fluid_synth_t* new_fluid_synth(fluid_settings_t*) { return nullptr; }
void delete_fluid_synth(fluid_synth_t*) {}
int fluid_synth_sfload(fluid_synth_t*, const char*, int) { return FLUID_FAILED; }
int fluid_synth_write_float(fluid_synth_t*, int, void*, int, int, void*, int, int) { return FLUID_FAILED; }
int fluid_synth_noteon(fluid_synth_t*, int, int, int) { return FLUID_FAILED; }
int fluid_synth_noteoff(fluid_synth_t*, int, int) { return FLUID_FAILED; }
int fluid_synth_cc(fluid_synth_t*, int, int, int) { return FLUID_FAILED; }
int fluid_synth_program_change(fluid_synth_t*, int, int) { return FLUID_FAILED; }
int fluid_synth_all_notes_off(fluid_synth_t*, int) { return FLUID_FAILED; }
int fluid_synth_all_sounds_off(fluid_synth_t*, int) { return FLUID_FAILED; }
}
