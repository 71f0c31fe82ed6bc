// The instruments the songs are played on (and that some sound effects
// borrow): tuned voices rendering one note each, and a drum kit.
#pragma once

#include "tools/datagen/SoundSynth.h"

#include <cstdint>
#include <string>

enum InstrumentVoice {
    IV_MALLET,  // wooden bars struck with soft mallets
    IV_BELL,    // small metal bars, glassy and long
    IV_PLUCK,   // plucked strings, harp-like
    IV_BASS,    // round plucked bass
    IV_PAD,     // soft sustained chorus of three detuned voices
    IV_FLUTE,   // breathy sine-like lead with vibrato
    IV_BRASS,   // bright horn whose tone opens up as it starts
    IV_DRUMS,   // the drum kit: notes are drum letters
};

// The voice of a score's instrument name ("mallet", "bell", ...).
bool InstrumentVoiceFromName(const std::string &name, InstrumentVoice *voice);

// How much of a note's written length a voice holds before releasing it.
double InstrumentGate(InstrumentVoice voice);

// Frequency in Hz of MIDI note `note` (69 is A at 440 Hz).
double InstrumentFrequency(int note);

// One note of a tuned voice, held `held` seconds at `velocity` (0..1, 1
// loud) and then released; the buffer runs until the note has died away.
// It starts and ends at silence.
SynthBuffer InstrumentNote(InstrumentVoice voice, double frequency, double held, double velocity);

// The drum letters: k kick, s snare, h closed hi-hat, o open hi-hat,
// p shaker, c cymbal, t high tom, l low tom.
bool InstrumentIsDrum(char letter);
// One drum hit; `seed` varies the noise from hit to hit.
SynthBuffer InstrumentDrum(char letter, double velocity, uint64_t seed);
