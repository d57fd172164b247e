// What the effect buffers offer beyond platform.h.
#pragma once

#include "platform/platform.h"

namespace plat {

// Ends one buffer: it stops sounding and its memory is freed. A reload uses
// it for the buffers it replaces, so repeated device losses do not pile up
// dead buffers. A null buffer is ignored.
void SoundRelease(SoundBuffer* buffer);

}  // namespace plat
