// Writing sound effects as PCM RIFF WAVE files: 16-bit, two channels.
#pragma once

#include "tools/datagen/SoundSynth.h"

#include <string>
#include <vector>

// The bytes of a WAVE file holding `buffer` at SYNTH_RATE. Samples are
// rounded to 16 bits and limited to the 16-bit range. The format chunk is
// the 18-byte form (with an empty extension size), which is what the game's
// reader takes in.
std::vector<unsigned char> WaveFileBytes(const SynthBuffer &buffer);

bool WaveFileWrite(const std::string &path, const SynthBuffer &buffer, std::string *error);
