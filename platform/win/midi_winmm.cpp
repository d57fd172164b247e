// The MIDI output device on winmm. The driver's output thread calls send
// when each event is due, so the device plays it at once (midiOutShortMsg)
// and `due` is not needed.
#include "platform/win/midi.h"
// Last: their macros (S_OK, ...) would clash with the music's own names.
#include <windows.h>
// After <windows.h>, which it needs.
#include <mmsystem.h>

namespace winplat {

namespace {

HMIDIOUT gOut = nullptr;

bool Open() {
  if (midiOutGetNumDevs() == 0 || midiOutOpen(&gOut, MIDI_MAPPER, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
    gOut = nullptr;
    return false;
  }
  BeginFineTimer();
  return true;
}

void Send(uint32_t message, int64_t) {
  RaiseOutputThread();
  midiOutShortMsg(gOut, message);
}

// Every note off and the sustain pedal up, on every channel.
void Reset() { midiOutReset(gOut); }

void Close() {
  midiOutReset(gOut);
  midiOutClose(gOut);
  gOut = nullptr;
  EndFineTimer();
}

const plat::audio::MidiOutOps kOps = {Open, Send, Reset, Close};

}  // namespace

const plat::audio::MidiOutOps& SystemMidiOutput() { return kOps; }

void BeginFineTimer() { timeBeginPeriod(1); }

void EndFineTimer() { timeEndPeriod(1); }

void RaiseOutputThread() {
  thread_local bool raised = false;
  if (!raised) SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  raised = true;
}

}  // namespace winplat
