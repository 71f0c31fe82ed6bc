#include "tools/datagen/WaveFile.h"

#include "tools/datagen/DataGenFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

void Put16(std::vector<unsigned char> *out, uint32_t v)
{
    out->push_back((unsigned char)(v & 0xFF));
    out->push_back((unsigned char)((v >> 8) & 0xFF));
}

void Put32(std::vector<unsigned char> *out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<unsigned char> *out, const char *tag) { out->insert(out->end(), tag, tag + 4); }

int16_t ToSample(float v)
{
    long s = std::lround((double)v * 32767.0);
    return (int16_t)std::clamp(s, -32768L, 32767L);
}

}  // namespace

std::vector<unsigned char> WaveFileBytes(const SynthBuffer &buffer)
{
    const uint32_t channels = 2, bits = 16, block = channels * bits / 8;
    const uint32_t format_size = 18, data_size = (uint32_t)buffer.Frames() * block;
    std::vector<unsigned char> out;
    out.reserve(46 + data_size);
    PutTag(&out, "RIFF");
    Put32(&out, 4 + (8 + format_size) + (8 + data_size));
    PutTag(&out, "WAVE");
    PutTag(&out, "fmt ");
    Put32(&out, format_size);
    Put16(&out, 1);  // PCM
    Put16(&out, channels);
    Put32(&out, SYNTH_RATE);
    Put32(&out, SYNTH_RATE * block);
    Put16(&out, block);
    Put16(&out, bits);
    Put16(&out, 0);  // no extension
    PutTag(&out, "data");
    Put32(&out, data_size);
    for (size_t i = 0; i < buffer.Frames(); i++) {
        Put16(&out, (uint16_t)ToSample(buffer.left[i]));
        Put16(&out, (uint16_t)ToSample(buffer.right[i]));
    }
    return out;
}

bool WaveFileWrite(const std::string &path, const SynthBuffer &buffer, std::string *error)
{
    std::vector<unsigned char> bytes = WaveFileBytes(buffer);
    return DataGenWriteFile(path, bytes.data(), bytes.size(), error);
}
