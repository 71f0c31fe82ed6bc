// Writing music as Ogg Vorbis (variable bit rate). The stream's serial
// number is fixed, so the same samples always give the same bytes.
#pragma once

#include "tools/datagen/SoundSynth.h"

#include <string>
#include <vector>

// Encodes `buffer` (SYNTH_RATE, two channels) at `quality` (-0.1 .. 1; 0.4
// is about 128 kbit/s) with `title` as the stream's title; false with
// `error` set when the encoder refuses.
bool OggEncode(const SynthBuffer &buffer, double quality, const std::string &title, std::vector<unsigned char> *out,
               std::string *error);

bool OggWriteFile(const std::string &path, const SynthBuffer &buffer, double quality, const std::string &title,
                  std::string *error);
