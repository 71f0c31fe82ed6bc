#include "platform/audio/AudioSources.h"

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <new>

bool AudioFormatFromWave(const WAVEFORMATEX &wave, AudioFormat *format)
{
    if (wave.wFormatTag != WAVE_FORMAT_PCM || wave.nChannels < 1 || wave.nChannels > 2)
        return false;
    if (wave.wBitsPerSample != 8 && wave.wBitsPerSample != 16)
        return false;
    if (wave.nSamplesPerSec < 100 || wave.nSamplesPerSec > 200000)
        return false;
    if (wave.nBlockAlign != wave.nChannels * wave.wBitsPerSample / 8)
        return false;
    if (format) {
        format->rate = static_cast<int>(wave.nSamplesPerSec);
        format->channels = wave.nChannels;
        format->type = wave.wBitsPerSample == 8 ? AST_U8 : AST_S16LE;
    }
    return true;
}

namespace {

class MemorySource final : public AudioSource {
public:
    MemorySource(const AudioFormat &format, std::shared_ptr<const std::vector<unsigned char>> bytes)
        : m_format(format), m_bytes(std::move(bytes)),
          m_frames(static_cast<long>(m_bytes->size() / static_cast<size_t>(format.FrameBytes()))), m_position(0)
    {
    }

    const AudioFormat &Format() const override { return m_format; }

    long Read(void *buffer, long frames) override
    {
        long count = std::max(0L, std::min(frames, m_frames - m_position));
        size_t frame_bytes = static_cast<size_t>(m_format.FrameBytes());
        if (count > 0)
            std::memcpy(buffer, m_bytes->data() + static_cast<size_t>(m_position) * frame_bytes,
                        static_cast<size_t>(count) * frame_bytes);
        m_position += count;
        return count;
    }

    bool Seek(long frame) override
    {
        if (frame < 0 || frame > m_frames)
            return false;
        m_position = frame;
        return true;
    }

    long Length() const override { return m_frames; }

private:
    AudioFormat m_format;
    std::shared_ptr<const std::vector<unsigned char>> m_bytes;
    long m_frames;
    long m_position;
};

size_t VorbisRead(void *buffer, size_t size, size_t count, void *file)
{
    return std::fread(buffer, size, count, static_cast<FILE *>(file));
}

int VorbisSeek(void *file, ogg_int64_t offset, int whence)
{
    return fseeko(static_cast<FILE *>(file), static_cast<off_t>(offset), whence);
}

int VorbisClose(void *file)
{
    return std::fclose(static_cast<FILE *>(file));
}

long VorbisTell(void *file)
{
    return static_cast<long>(ftello(static_cast<FILE *>(file)));
}

// Decodes to 16-bit little-endian samples as the mixer asks for them. The
// format is that of the first stream in the file; a chained stream of
// another format ends the song there.
class VorbisSource final : public AudioSource {
public:
    VorbisSource() : m_format{0, 0, AST_S16LE}, m_length(0), m_at_end(false), m_open(false) {}

    ~VorbisSource() override
    {
        if (m_open)
            ov_clear(&m_file);
    }

    AudioOpenResult Open(FILE *file)
    {
        ov_callbacks callbacks = {VorbisRead, VorbisSeek, VorbisClose, VorbisTell};
        if (ov_open_callbacks(file, &m_file, nullptr, 0, callbacks) != 0) {
            std::fclose(file);
            return AOR_DAMAGED;
        }
        m_open = true;
        vorbis_info *info = ov_info(&m_file, -1);
        ogg_int64_t length = ov_pcm_total(&m_file, -1);
        if (!info || info->channels < 1 || info->channels > 2 || info->rate <= 0 || length < 0)
            return AOR_UNSUPPORTED;
        m_format.rate = static_cast<int>(info->rate);
        m_format.channels = info->channels;
        m_length = static_cast<long>(length);
        return AOR_OK;
    }

    const AudioFormat &Format() const override { return m_format; }

    long Read(void *buffer, long frames) override
    {
        int frame_bytes = m_format.FrameBytes();
        char *to = static_cast<char *>(buffer);
        long got = 0;
        while (!m_at_end && got < frames) {
            int link = 0;
            long bytes = ov_read(&m_file, to + got * frame_bytes, static_cast<int>((frames - got) * frame_bytes), 0, 2,
                                 1, &link);
            if (bytes == OV_HOLE)
                continue;
            vorbis_info *info = bytes > 0 ? ov_info(&m_file, link) : nullptr;
            if (!info || info->channels != m_format.channels || info->rate != m_format.rate) {
                m_at_end = true;
                break;
            }
            got += bytes / frame_bytes;
        }
        return got;
    }

    bool Seek(long frame) override
    {
        if (frame < 0 || frame > m_length)
            return false;
        if (frame == m_length) {
            m_at_end = true;
            return true;
        }
        if (ov_pcm_seek(&m_file, frame) != 0)
            return false;
        m_at_end = false;
        return true;
    }

    long Length() const override { return m_length; }

private:
    OggVorbis_File m_file;
    AudioFormat m_format;
    long m_length;
    bool m_at_end;
    bool m_open;
};

}  // namespace

std::unique_ptr<AudioSource> AudioMakeMemorySource(const AudioFormat &format,
                                                   std::shared_ptr<const std::vector<unsigned char>> bytes)
{
    if (!bytes)
        return nullptr;
    return std::unique_ptr<AudioSource>(new (std::nothrow) MemorySource(format, std::move(bytes)));
}

std::unique_ptr<AudioSource> AudioMakeMemorySource(const AudioFormat &format, std::vector<unsigned char> bytes)
{
    try {
        return AudioMakeMemorySource(format, std::make_shared<const std::vector<unsigned char>>(std::move(bytes)));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

static AudioOpenResult ReadWave(HMMIO mmio, std::unique_ptr<AudioSource> *source)
{
    MMCKINFO riff = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(mmio, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR)
        return AOR_DAMAGED;
    MMCKINFO format_chunk = {};
    format_chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(mmio, &format_chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR || format_chunk.cksize < 16)
        return AOR_DAMAGED;
    WAVEFORMATEX wave = {};
    LONG want = static_cast<LONG>(std::min<DWORD>(format_chunk.cksize, sizeof(wave)));
    if (mmioRead(mmio, reinterpret_cast<char *>(&wave), want) != want)
        return AOR_DAMAGED;
    AudioFormat format;
    if (!AudioFormatFromWave(wave, &format))
        return AOR_UNSUPPORTED;
    mmioAscend(mmio, &format_chunk, 0);
    MMCKINFO data = {};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(mmio, &data, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR)
        return AOR_DAMAGED;
    std::vector<unsigned char> bytes;
    try {
        bytes.resize(data.cksize);
    } catch (const std::bad_alloc &) {
        return AOR_NO_MEMORY;
    }
    LONG size = static_cast<LONG>(data.cksize);
    if (mmioRead(mmio, reinterpret_cast<char *>(bytes.data()), size) != size)
        return AOR_DAMAGED;
    *source = AudioMakeMemorySource(format, std::move(bytes));
    return *source ? AOR_OK : AOR_NO_MEMORY;
}

AudioOpenResult AudioReadWaveFile(HMMIO mmio, std::unique_ptr<AudioSource> *source)
{
    if (!mmio)
        return AOR_DAMAGED;
    AudioOpenResult result = ReadWave(mmio, source);
    mmioClose(mmio, 0);
    return result;
}

AudioOpenResult AudioOpenVorbisFile(FILE *file, std::unique_ptr<AudioSource> *source)
{
    if (!file)
        return AOR_DAMAGED;
    std::unique_ptr<VorbisSource> vorbis(new (std::nothrow) VorbisSource());
    if (!vorbis) {
        std::fclose(file);
        return AOR_NO_MEMORY;
    }
    AudioOpenResult result = vorbis->Open(file);
    if (result == AOR_OK)
        *source = std::move(vorbis);
    return result;
}
