#include "tools/datagen/OggWriter.h"

#include "tools/datagen/DataGenFiles.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {

// Any fixed number will do; a stream's serial only has to be unique within
// its file.
const int STREAM_SERIAL = 0x48575331;

void AppendPage(const ogg_page &page, std::vector<unsigned char> *out)
{
    out->insert(out->end(), page.header, page.header + page.header_len);
    out->insert(out->end(), page.body, page.body + page.body_len);
}

// The libvorbis objects of one encoding, released together.
struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool analysing = false;

    Encoder()
    {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~Encoder()
    {
        if (analysing) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }

    // Moves every finished packet into the stream and every full page out.
    void Drain(std::vector<unsigned char> *out)
    {
        ogg_packet packet;
        ogg_page page;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page))
                    AppendPage(page, out);
            }
        }
    }
};

}  // namespace

bool OggEncode(const SynthBuffer &buffer, double quality, const std::string &title, std::vector<unsigned char> *out,
               std::string *error)
{
    out->clear();
    Encoder enc;
    if (vorbis_encode_init_vbr(&enc.info, 2, SYNTH_RATE, (float)quality) != 0) {
        *error = "the Vorbis encoder refuses these settings";
        return false;
    }
    vorbis_comment_add_tag(&enc.comment, "TITLE", title.c_str());
    if (vorbis_analysis_init(&enc.dsp, &enc.info) != 0 || vorbis_block_init(&enc.dsp, &enc.block) != 0) {
        *error = "the Vorbis encoder could not start";
        return false;
    }
    ogg_stream_init(&enc.stream, STREAM_SERIAL);
    enc.analysing = true;

    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&enc.dsp, &enc.comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&enc.stream, &identification);
    ogg_stream_packetin(&enc.stream, &comments);
    ogg_stream_packetin(&enc.stream, &codebooks);
    // The audio starts on a page of its own, as players expect.
    ogg_page page;
    while (ogg_stream_flush(&enc.stream, &page))
        AppendPage(page, out);

    const size_t chunk = 4096;
    for (size_t at = 0; at < buffer.Frames(); at += chunk) {
        size_t n = std::min(chunk, buffer.Frames() - at);
        float **channels = vorbis_analysis_buffer(&enc.dsp, (int)n);
        std::copy(buffer.left.begin() + (long)at, buffer.left.begin() + (long)(at + n), channels[0]);
        std::copy(buffer.right.begin() + (long)at, buffer.right.begin() + (long)(at + n), channels[1]);
        vorbis_analysis_wrote(&enc.dsp, (int)n);
        enc.Drain(out);
    }
    // The end of the stream; its last page holds the exact sample count.
    vorbis_analysis_wrote(&enc.dsp, 0);
    enc.Drain(out);
    while (ogg_stream_flush(&enc.stream, &page))
        AppendPage(page, out);
    return true;
}

bool OggWriteFile(const std::string &path, const SynthBuffer &buffer, double quality, const std::string &title,
                  std::string *error)
{
    std::vector<unsigned char> bytes;
    if (!OggEncode(buffer, quality, title, &bytes, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return DataGenWriteFile(path, bytes.data(), bytes.size(), error);
}
