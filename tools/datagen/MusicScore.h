// Song scores: the hand-written JSON files in data/music, read into timed
// notes for the sequencer.
//
// A score:
//   {
//     "title": "...",
//     "tempo": 112,                 beats per minute
//     "beats_per_bar": 4,           a beat is 4 steps (sixteenths)
//     "loudness": -18,              target loudness of the whole song, dB
//     "reverb": {"room": 0.5, "damping": 0.5},
//     "instruments": {
//       "<track>": {"voice": "mallet", "volume": 0.8, "pan": -0.2, "reverb": 0.3}
//     },
//     "sections": {
//       "<name>": {"<track>": ["<bar>", "<bar>", ...], ...}
//     },
//     "form": ["<section>", ...]    the song, in order; it loops
//   }
// Every track of a section has the same number of bars; a track missing
// from a section rests there.
//
// A bar is a row of events separated by blanks, each "<notes>:<steps>" with
// an optional mark at its end: "!" plays it loud, "?" soft ("s:2?"). The
// steps may be left out ("s?") and are then those of the event before in the
// bar (4 at its start). Notes
// are "-" for a rest, or one or more pitches joined by "+" ("C4+E4+G4");
// a pitch is a letter A..G, an optional "#" or "b" and an octave (C4 is
// middle C). On a "drums" track the notes are drum letters instead
// ("k+h:2"). Each bar must fill exactly beats_per_bar x 4 steps.
#pragma once

#include "tools/datagen/MusicInstruments.h"

#include <string>
#include <vector>

struct MusicNote {
    double start;     // seconds from the song's start
    double length;    // written length in seconds
    int pitch;        // MIDI note, or the drum letter on a drums track
    double velocity;  // 0..1
};

struct MusicTrack {
    std::string name;
    InstrumentVoice voice;
    double volume;
    double pan;
    double reverb;  // how much of the track is sent into the room
    std::vector<MusicNote> notes;
};

struct MusicScore {
    std::string title;
    double tempo;
    int beats_per_bar;
    double length;  // seconds: the loop's length
    double loudness;
    double reverb_room;
    double reverb_damping;
    std::vector<MusicTrack> tracks;
};

// Parses a score; on failure `error` says where and why.
bool MusicScoreParse(const std::string &text, MusicScore *score, std::string *error);
bool MusicScoreRead(const std::string &path, MusicScore *score, std::string *error);
