// The game's data set, made from code: the 40 pictures and five sound
// effects the game reads from its working directory, always the same bytes.
#pragma once

#include <string>

#include "audio/sound_files.h"
#include "gfx/image_files.h"

// Writes every file into the existing directory `dir`. On failure returns
// false with a one-line reason in `error`.
bool GenerateDataSet(const std::string& dir, std::string& error);
