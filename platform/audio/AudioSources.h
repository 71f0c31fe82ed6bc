// The sources the mixer plays: PCM blocks in memory (sound buffers, wave
// songs) and Ogg Vorbis files decoded while they play.
#pragma once

#include "platform/audio/AudioMixer.h"
#include "platform/audio/Mmio.h"

#include <cstdio>
#include <memory>
#include <vector>

// The mixer's form of a wave format; false for anything but 8- or 16-bit
// PCM with one or two channels, a usable rate and a matching block size.
bool AudioFormatFromWave(const WAVEFORMATEX &wave, AudioFormat *format);

// Plays bytes (whole frames; a partial last frame is not played).
std::unique_ptr<AudioSource> AudioMakeMemorySource(const AudioFormat &format, std::vector<unsigned char> bytes);
// The same over bytes shared with their owner, who must not change them
// while a source holds them.
std::unique_ptr<AudioSource> AudioMakeMemorySource(const AudioFormat &format,
                                                   std::shared_ptr<const std::vector<unsigned char>> bytes);

enum AudioOpenResult {
    AOR_OK,
    AOR_DAMAGED,      // the file's structure is broken or cut short
    AOR_UNSUPPORTED,  // a well-formed file in a format that is not played
    AOR_NO_MEMORY,
};

// Reads a RIFF WAVE file whole (the reader is closed in every case).
AudioOpenResult AudioReadWaveFile(HMMIO mmio, std::unique_ptr<AudioSource> *source);
// Opens an Ogg Vorbis stream from a file, which the source takes over (it is
// closed on failure too).
AudioOpenResult AudioOpenVorbisFile(FILE *file, std::unique_ptr<AudioSource> *source);
