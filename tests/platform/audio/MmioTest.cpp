// The RIFF reader: chunks found, skipped and padded, and damaged files
// refused instead of read short.
#include "platform/audio/Mmio.h"
#include "tests/fixtures/audio/TestAudioFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct WalkResult {
    bool opened = false;
    UINT riff = MMIOERR_CHUNKNOTFOUND;
    UINT format = MMIOERR_CHUNKNOTFOUND;
    UINT data = MMIOERR_CHUNKNOTFOUND;
    MMCKINFO format_chunk = {};
    MMCKINFO data_chunk = {};
    std::vector<uint8_t> bytes;
};

// Walks a wave file the way the sound loader does.
WalkResult Walk(const std::string &path)
{
    WalkResult result;
    HMMIO mmio = mmioOpenA(const_cast<char *>(path.c_str()), nullptr, MMIO_READ | MMIO_ALLOCBUF);
    if (!mmio)
        return result;
    result.opened = true;
    MMCKINFO riff = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    result.riff = mmioDescend(mmio, &riff, nullptr, MMIO_FINDRIFF);
    if (result.riff == MMSYSERR_NOERROR) {
        result.format_chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
        result.format = mmioDescend(mmio, &result.format_chunk, &riff, MMIO_FINDCHUNK);
    }
    if (result.format == MMSYSERR_NOERROR) {
        EXPECT_EQ(MMSYSERR_NOERROR, mmioAscend(mmio, &result.format_chunk, 0));
        result.data_chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
        result.data = mmioDescend(mmio, &result.data_chunk, &riff, MMIO_FINDCHUNK);
    }
    if (result.data == MMSYSERR_NOERROR) {
        result.bytes.resize(result.data_chunk.cksize + 10);
        LONG got = mmioRead(mmio, reinterpret_cast<char *>(result.bytes.data()), static_cast<LONG>(result.bytes.size()));
        result.bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    }
    EXPECT_EQ(MMSYSERR_NOERROR, mmioClose(mmio, 0));
    return result;
}

TEST(MmioTest, FindsTheChunksOfAGoodFileAndSkipsPaddedChunks)
{
    for (uint32_t format_size : {16u, 18u}) {
        SCOPED_TRACE(format_size);
        TestWave wave;
        wave.format_size = format_size;
        wave.chunk_before_data = true;
        wave.data = TestPcm16({1, -2, 3, -4, 5});
        ASSERT_TRUE(TestWriteFile("good.wav", TestWaveBytes(wave)));

        WalkResult walk = Walk("good.wav");
        ASSERT_TRUE(walk.opened);
        EXPECT_EQ(MMSYSERR_NOERROR, walk.riff);
        ASSERT_EQ(MMSYSERR_NOERROR, walk.format);
        EXPECT_EQ(format_size, walk.format_chunk.cksize);
        EXPECT_EQ(20u, walk.format_chunk.dwDataOffset);
        ASSERT_EQ(MMSYSERR_NOERROR, walk.data);
        EXPECT_EQ(10u, walk.data_chunk.cksize);
        // The data is the last chunk: a read past it stops at the file's end.
        EXPECT_EQ(wave.data, walk.bytes);
    }
}

TEST(MmioTest, RefusesDamagedFiles)
{
    TestWave cut_data;
    cut_data.data = TestPcm16Constant(100, 50, 1);
    cut_data.data_size = 1000;  // the file was cut short after 100 bytes
    TestWave cut_riff;
    cut_riff.data = TestPcm16Constant(100, 50, 1);
    cut_riff.riff_size = 5000;
    TestWave no_data;
    no_data.with_data = false;
    std::vector<uint8_t> not_wave = TestWaveBytes(TestWave());
    not_wave[8] = 'A';  // form type "AAVE"

    struct Case {
        const char *name;
        std::vector<uint8_t> bytes;
        UINT riff, format, data;
    } cases[] = {
        {"data beyond the file", TestWaveBytes(cut_data), MMSYSERR_NOERROR, MMSYSERR_NOERROR, MMIOERR_CANNOTREAD},
        {"riff beyond the file", TestWaveBytes(cut_riff), MMIOERR_CANNOTREAD, MMIOERR_CHUNKNOTFOUND, MMIOERR_CHUNKNOTFOUND},
        {"no data chunk", TestWaveBytes(no_data), MMSYSERR_NOERROR, MMSYSERR_NOERROR, MMIOERR_CHUNKNOTFOUND},
        {"another form", not_wave, MMIOERR_CHUNKNOTFOUND, MMIOERR_CHUNKNOTFOUND, MMIOERR_CHUNKNOTFOUND},
        {"too short", {'R', 'I', 'F', 'F', 4}, MMIOERR_CHUNKNOTFOUND, MMIOERR_CHUNKNOTFOUND, MMIOERR_CHUNKNOTFOUND},
        {"empty", {}, MMIOERR_CHUNKNOTFOUND, MMIOERR_CHUNKNOTFOUND, MMIOERR_CHUNKNOTFOUND},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(TestWriteFile("bad.wav", c.bytes));
        WalkResult walk = Walk("bad.wav");
        ASSERT_TRUE(walk.opened);
        EXPECT_EQ(c.riff, walk.riff);
        EXPECT_EQ(c.format, walk.format);
        EXPECT_EQ(c.data, walk.data);
    }
}

TEST(MmioTest, OpensForReadingOnlyAndTakesBackslashes)
{
    std::filesystem::create_directories("sub");
    ASSERT_TRUE(TestWriteFile("sub/a.wav", TestWaveBytes(TestWave())));

    char backslashed[] = "sub\\a.wav";
    HMMIO mmio = mmioOpenA(backslashed, nullptr, MMIO_READ);
    ASSERT_NE(nullptr, mmio);
    mmioClose(mmio, 0);

    char name[] = "sub/a.wav";
    EXPECT_EQ(nullptr, mmioOpenA(name, nullptr, MMIO_WRITE));
    char missing[] = "sub/none.wav";
    EXPECT_EQ(nullptr, mmioOpenA(missing, nullptr, MMIO_READ));
}

}  // namespace
