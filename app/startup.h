// Start-up, shutdown and the one pending error message.
#pragma once

#include "platform/errors.h"

extern const char* const szClass;    // "Ruzov"
extern const char* const szCaption;  // "Ruzov - Diziduzaz"

// Brings everything up in its fixed order; false with ErrStr set on failure.
bool InitApplication();
// Releases whatever exists, then shows a pending message. Safe to repeat.
void ReleaseAll();
