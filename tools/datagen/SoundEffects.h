// The game's 26 sound effects, synthesised and written as PCM WAVE files:
// the firing and hit sounds of weapon types 0..8 ("Data/1400.dat" ..
// "Data/1408.dat", "Data/1500.dat" .. "Data/1508.dat") and the eight game
// sounds "Data/1580.dat" .. "Data/1587.dat". "Data/1400.dat" also sets the
// sound output's format, so every effect shares it: 44.1 kHz, 16 bits,
// stereo.
#pragma once

#include "tools/datagen/SoundSynth.h"

#include <string>

const int SOUND_EFFECT_COUNT = 26;

// Loudness (see SynthLoudness, 100 ms window) that every effect is brought
// to, and the peak none may pass.
const double SOUND_EFFECT_LOUDNESS = -15.0;
const double SOUND_EFFECT_PEAK = 0.89;

// The data file name of effect `index` ("1400.dat" .. "1587.dat").
std::string SoundEffectFileName(int index);

// Synthesises effect `index`, finished: no offset, silent ends, loudness
// and peak as above.
SynthBuffer SoundEffectMake(int index);

bool SoundEffectsWriteFiles(const std::string &out_dir, std::string *error);
