// The generated songs in <build>/Data: each plays through the game's music
// player with a sane length, decodes cleanly at a steady level, and comes
// round from its end to its start without a click; and the generator refuses
// scores that do not add up.
#include "engine/core/EngDebug.h"
#include "engine/sound/EngMusicPlayer_DX9.h"
#include "engine/sound/EngSound.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/AudioSources.h"
#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "tests/support/TestHooks.h"
#include "tests/support/TestLog.h"
#include "tests/tools/datagen/DataGenTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

const int RATE = 44100;

struct Song {
    int number;
    const char *what;
    double shortest, longest;  // seconds
};
// The main song plays for long stretches, so it is the longest.
const Song SONGS[] = {
    {1595, "main song", 45.0, 150.0},
    {1596, "game-over song", 20.0, 120.0},
    {1597, "game-won song", 20.0, 120.0},
};

std::string SongPath(int number) { return std::string(HW_DATA_DIR) + "/" + std::to_string(number) + ".dat"; }

struct Samples {
    AudioFormat format{0, 0, AST_U8};
    std::vector<float> left, right;
};

// Decodes a song whole through the music layer's Ogg Vorbis reader.
bool Decode(const std::string &path, Samples *out)
{
    FILE *file = fopen(path.c_str(), "rb");
    std::unique_ptr<AudioSource> source;
    if (!file || AudioOpenVorbisFile(file, &source) != AOR_OK)
        return false;
    out->format = source->Format();
    if (out->format.type != AST_S16LE || out->format.channels != 2)
        return false;
    std::vector<int16_t> block(4096 * 2);
    long got;
    while ((got = source->Read(block.data(), 4096)) > 0) {
        for (long i = 0; i < got; i++) {
            out->left.push_back(block[(size_t)i * 2] / 32768.0f);
            out->right.push_back(block[(size_t)i * 2 + 1] / 32768.0f);
        }
    }
    return (long)out->left.size() == source->Length() && !out->left.empty();
}

double RmsDb(const std::vector<float> &left, const std::vector<float> &right, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = from; i < to; i++)
        sum += (double)left[i] * left[i] + (double)right[i] * right[i];
    return 10 * std::log10(std::max(sum / (2.0 * (double)(to - from)), 1e-12));
}

class SongFileTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        // The music player needs the main window.
        ResetRuntimeForTest();
        VirtualClock::Remove();
        EngSoundResetForTests();
        main_window = std::make_unique<HeadlessMainWindow>();
        AudioOutputSetManualMixingForTests(true, RATE);
    }
    void TearDown() override
    {
        EngSoundResetForTests();
        main_window.reset();
        AudioOutputSetManualMixingForTests(false, 0);
    }
    std::unique_ptr<HeadlessMainWindow> main_window;
    const Song &TheSong() const { return SONGS[GetParam()]; }
};

}  // namespace

TEST_P(SongFileTest, PlaysThroughTheMusicPlayerWithASaneLength)
{
    EngMusicPlayer_DX9 player;
    ASSERT_TRUE(player.LoadSong(SongPath(TheSong().number).c_str())) << TheSong().what;
    double length = player.GetSongSize();
    EXPECT_GE(length, TheSong().shortest) << TheSong().what;
    EXPECT_LE(length, TheSong().longest) << TheSong().what;

    ASSERT_TRUE(player.SetVolume(1.0f));
    player.PlayLooping();
    std::vector<float> out((size_t)RATE * 2);
    AudioOutputGetMixer()->Mix(out.data(), RATE);
    double sum = 0;
    for (float v : out)
        sum += (double)v * v;
    EXPECT_GT(std::sqrt(sum / out.size()), 0.01) << TheSong().what << " is silent";
    EXPECT_GT(player.GetSongPosition(), 0.9);
    player.Stop();
}

TEST_P(SongFileTest, DecodesCleanlyAtASteadyLevel)
{
    Samples s;
    ASSERT_TRUE(Decode(SongPath(TheSong().number), &s)) << TheSong().what;
    EXPECT_EQ(RATE, s.format.rate);
    size_t n = s.left.size();
    double peak = 0, mean_left = 0, mean_right = 0;
    long clipped = 0;
    for (size_t i = 0; i < n; i++) {
        double a = std::max(std::fabs(s.left[i]), std::fabs(s.right[i]));
        peak = std::max(peak, a);
        clipped += a >= 32767 / 32768.0;
        mean_left += s.left[i];
        mean_right += s.right[i];
    }
    EXPECT_EQ(0, clipped) << TheSong().what;
    EXPECT_LT(peak, 0.95) << TheSong().what;
    EXPECT_LT(std::fabs(mean_left / n), 0.002) << TheSong().what;
    EXPECT_LT(std::fabs(mean_right / n), 0.002) << TheSong().what;
    double whole = RmsDb(s.left, s.right, 0, n);
    EXPECT_GT(whole, -28.0) << TheSong().what;
    EXPECT_LT(whole, -14.0) << TheSong().what;
    // No stretch drops out or blares: every 4 s stays near the whole.
    for (size_t from = 0; from + 4 * RATE <= n; from += 4 * RATE)
        EXPECT_NEAR(whole, RmsDb(s.left, s.right, from, from + 4 * RATE), 6.0)
            << TheSong().what << " at " << from / RATE << " s";
}

TEST_P(SongFileTest, ComesRoundFromItsEndToItsStartWithoutAClick)
{
    Samples s;
    ASSERT_TRUE(Decode(SongPath(TheSong().number), &s)) << TheSong().what;
    size_t n = s.left.size();
    for (const std::vector<float> *channel : {&s.left, &s.right}) {
        const std::vector<float> &c = *channel;
        // The step from the last sample to the first is no bigger than a
        // step inside the music. The ends are also near silence, since the
        // player pauses for a moment before it starts the song again.
        EXPECT_LT(std::fabs(c.back() - c.front()), 0.01) << TheSong().what;
        EXPECT_LT(std::fabs(c.front()), 0.01) << TheSong().what;
        EXPECT_LT(std::fabs(c.back()), 0.01) << TheSong().what;
    }
    // And the music goes on at the same level across the loop point.
    size_t half = RATE / 2;
    EXPECT_NEAR(RmsDb(s.left, s.right, n - half, n), RmsDb(s.left, s.right, 0, half), 6.0) << TheSong().what;
}

INSTANTIATE_TEST_SUITE_P(Songs, SongFileTest, testing::Range(0, 3), [](const testing::TestParamInfo<int> &info) {
    return std::to_string(SONGS[info.param].number);
});

namespace {

}  // namespace

TEST(SongScoreTest, GeneratorRefusesScoresThatDoNotAddUp)
{
    const std::string score = ReadWhole(std::string(HW_DATA_SOURCE_DIR) + "/music/main.json");
    ASSERT_FALSE(score.empty());
    struct Case {
        const char *name;
        std::string from, to;
        const char *refusal;
    };
    const Case cases[] = {
        {"bar one beat short", "\"G5:3 E5:1 G5:2 A5:2 G5:4 E5:4\"", "\"G5:3 E5:1 G5:2 A5:2 G5:4\"",
         "section A1, track lead, bar 1: the bar holds 12 steps, not 16"},
        {"note that is not a pitch", "\"G5:3 E5:1", "\"H5:3 E5:1",
         "section A1, track lead, bar 1: \"H5\" is not a pitch"},
        {"unknown drum", "\"k:4 -:4 k:4 -:4\"", "\"x:4 -:4 k:4 -:4\"", "track kit, bar 1: \"x\" is not a drum"},
        {"length of no steps", "\"A2:4 E3 A2 G2\"", "\"A2:0 E3 A2 G2\"", "bad length in \"A2:0\""},
        {"unknown voice", "\"voice\": \"mallet\"", "\"voice\": \"kazoo\"", "unknown voice \"kazoo\""},
        {"form naming a missing section", "\"form\": [\"A1\"", "\"form\": [\"A9\"", "names a missing section A9"},
        {"section playing an unknown track", "\"shaker\": [", "\"maracas\": [", "plays an unknown instrument maracas"},
        {"not JSON", "{", "", "not a JSON object"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); i++) {
        const Case &c = cases[i];
        std::string folder = "score" + std::to_string(i), out = folder + "-out";
        std::filesystem::create_directories(folder + "/music");
        std::string text = score;
        size_t at = text.find(c.from);
        ASSERT_NE(std::string::npos, at) << c.name;
        text.replace(at, c.from.size(), c.to);
        std::ofstream(folder + "/music/main.json", std::ios::binary) << text;
        std::string printed;
        EXPECT_NE(0, RunGenerator(folder, out, &printed, "songs")) << c.name;
        size_t line = printed.find("music/main.json: ");
        ASSERT_NE(std::string::npos, line) << c.name << ": " << printed;
        std::string reason = printed.substr(line, printed.find('\n', line) - line);
        EXPECT_NE(std::string::npos, reason.find(c.refusal)) << c.name << ": " << reason;
        EXPECT_FALSE(std::filesystem::exists(out + "/1595.dat")) << c.name;
    }
}
