// Playing a score into a stereo recording, and the game's three songs.
#pragma once

#include "tools/datagen/MusicScore.h"
#include "tools/datagen/SoundSynth.h"

#include <string>

// Renders the score as one loop of exactly its length. Whatever still rings
// past the end (released notes, the room) is laid over the start, as it
// would sound when the song comes round again, so the last sample leads into
// the first. Both ends also get a fade of a few milliseconds, so that a
// player that pauses briefly before starting over makes no click either.
// The result is brought to the score's loudness, with its peak kept under
// full scale.
SynthBuffer MusicRender(const MusicScore &score);

const int SONG_COUNT = 3;

// Song 0 (main), 1 (game over) or 2 (game won): reads its score from
// "<source>/music/" and writes "Data/1595.dat" .. "Data/1597.dat".
bool SongWriteFile(int song, const std::string &source_dir, const std::string &out_dir, std::string *error);
