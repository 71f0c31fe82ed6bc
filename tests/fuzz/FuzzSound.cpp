// Wave and Ogg files: a song file opened as the music player opens it (its
// kind told by its first bytes) and decoded to the end.
#include "platform/audio/AudioFiles.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioSources.h"
#include "platform/audio/Mmio.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSetup();
    FuzzWriteFile("song", data, size);
    FILE *file = AudioOpenFileA("song");
    if (!file)
        return 0;
    std::unique_ptr<AudioSource> source;
    if (size >= 4 && std::memcmp(data, "OggS", 4) == 0)
        AudioOpenVorbisFile(file, &source);
    else
        AudioReadWaveFile(AudioMmioOpenFile(file), &source);
    if (source) {
        // Eight bytes a frame at most (16-bit stereo), with room to spare.
        static short buffer[4096 * 4];
        while (source->Read(buffer, 4096) > 0) {
        }
        if (source->Seek(source->Length() / 2))
            source->Read(buffer, 4096);
    }
    FuzzEndInput();
    return 0;
}
