// The music graph over the mixer (manual mixing, no device): songs told by
// their content, their length and position, the end event and its message,
// and a second song replacing the first.
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/DirectShow.h"
#include "platform/win32/Win32Messages.h"
#include "tests/fixtures/audio/TestAudioFiles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const int rate = 44100;

void DrainMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

int CountMusicMessages(HWND window, LPARAM instance)
{
    int count = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_MUSIC_EVENT, WM_MUSIC_EVENT, PM_REMOVE)) {
        EXPECT_EQ(window, msg.hwnd);
        EXPECT_EQ(instance, msg.lParam);
        count++;
    }
    return count;
}

class DirectShowTest : public testing::Test {
protected:
    void SetUp() override
    {
        AudioOutputSetManualMixingForTests(true, rate);
        DrainMessages();
        ASSERT_EQ(S_OK, CoInitialize(nullptr));
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                         reinterpret_cast<void **>(&m_graph)));
        ASSERT_EQ(S_OK, m_graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void **>(&m_control)));
        ASSERT_EQ(S_OK, m_graph->QueryInterface(IID_IMediaPosition, reinterpret_cast<void **>(&m_position)));
        ASSERT_EQ(S_OK, m_graph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void **>(&m_audio)));
        ASSERT_EQ(S_OK, m_graph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void **>(&m_event)));
    }

    void TearDown() override
    {
        for (IUnknown *face : std::initializer_list<IUnknown *>{m_event, m_audio, m_position, m_control, m_graph}) {
            if (face)
                face->Release();
        }
        EXPECT_EQ(nullptr, AudioOutputGetMixer());
        AudioOutputSetManualMixingForTests(false, 0);
        DrainMessages();
    }

    std::vector<float> Mix(int frames)
    {
        std::vector<float> out(static_cast<size_t>(frames) * 2);
        AudioMixer *mixer = AudioOutputGetMixer();
        if (mixer)
            mixer->Mix(out.data(), frames);
        return out;
    }

    double Duration()
    {
        REFTIME length = -1;
        EXPECT_EQ(S_OK, m_position->get_Duration(&length));
        return length;
    }

    double Position()
    {
        REFTIME time = -1;
        EXPECT_EQ(S_OK, m_position->get_CurrentPosition(&time));
        return time;
    }

    IGraphBuilder *m_graph = nullptr;
    IMediaControl *m_control = nullptr;
    IMediaPosition *m_position = nullptr;
    IBasicAudio *m_audio = nullptr;
    IMediaEventEx *m_event = nullptr;
};

TEST_F(DirectShowTest, TellsSongsByContentAndRefusesOthers)
{
    ASSERT_TRUE(TestWriteOggVorbis("ogg.dat", 2, rate, TestSine(440, 0.5, rate / 2, 2, rate)));
    ASSERT_TRUE(TestWriteConstantWave("wave.dat", 8192, 11025, 1, 22050));
    std::vector<uint8_t> ogg_start(300);
    FILE *file = std::fopen("ogg.dat", "rb");
    ASSERT_NE(nullptr, file);
    ASSERT_EQ(ogg_start.size(), std::fread(ogg_start.data(), 1, ogg_start.size(), file));
    std::fclose(file);
    TestWave cut;
    cut.data = TestPcm16Constant(1, 100, 1);
    cut.data_size = 5000;
    TestWave compressed;
    compressed.format_tag = 2;
    compressed.data = TestPcm16Constant(1, 100, 1);
    ASSERT_TRUE(TestWriteFile("cut.ogg", ogg_start));
    ASSERT_TRUE(TestWriteFile("cut.wav", TestWaveBytes(cut)));
    ASSERT_TRUE(TestWriteFile("compressed.wav", TestWaveBytes(compressed)));
    ASSERT_TRUE(TestWriteFile("text.ogg", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}));
    ASSERT_TRUE(TestWriteFile("tiny.dat", {'O', 'g'}));

    struct Case {
        const wchar_t *name;
        HRESULT result;
        double duration;
    } cases[] = {
        {L"ogg.dat", S_OK, 0.5},
        {L"wave.dat", S_OK, 0.5},
        {L"missing.ogg", VFW_E_NOT_FOUND, 0},
        {L"cut.ogg", VFW_E_INVALID_FILE_FORMAT, 0},
        {L"cut.wav", VFW_E_INVALID_FILE_FORMAT, 0},
        {L"compressed.wav", VFW_E_UNSUPPORTED_STREAM, 0},
        {L"text.ogg", VFW_E_UNSUPPORTED_STREAM, 0},
        {L"tiny.dat", VFW_E_UNSUPPORTED_STREAM, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        EXPECT_EQ(c.result, m_graph->RenderFile(c.name, nullptr));
        if (c.result == S_OK) {
            EXPECT_DOUBLE_EQ(c.duration, Duration());
        }
    }
    // A failed file leaves the song before it in place.
    EXPECT_DOUBLE_EQ(0.5, Duration());
    EXPECT_EQ(E_INVALIDARG, m_graph->RenderFile(L"ogg.dat", L"list"));
    EXPECT_EQ(E_POINTER, m_graph->RenderFile(nullptr, nullptr));
}

TEST_F(DirectShowTest, PlaysAnOggSongAndMovesInIt)
{
    ASSERT_TRUE(TestWriteOggVorbis("song.dat", 2, rate, TestSine(440, 0.5, rate * 2, 2, rate)));
    EXPECT_EQ(E_FAIL, m_control->Run());
    ASSERT_EQ(S_OK, m_graph->RenderFile(L"song.dat", nullptr));
    EXPECT_DOUBLE_EQ(2.0, Duration());
    EXPECT_DOUBLE_EQ(0.0, Position());

    ASSERT_EQ(S_OK, m_control->Run());
    std::vector<float> out = Mix(rate / 2);
    double sum = 0;
    for (size_t i = 0; i < out.size(); i++)
        sum += out[i] * out[i];
    EXPECT_NEAR(0.5 / std::sqrt(2.0), std::sqrt(sum / out.size()), 0.02);
    EXPECT_NEAR(0.5, Position(), 0.001);

    EXPECT_EQ(S_OK, m_position->put_CurrentPosition(1.25));
    EXPECT_NEAR(1.25, Position(), 0.001);
    Mix(rate / 10);
    EXPECT_NEAR(1.35, Position(), 0.001);

    // Stopping keeps the place; a time past the end is the end.
    EXPECT_EQ(S_OK, m_control->Stop());
    EXPECT_FLOAT_EQ(0.0f, Mix(100)[0]);
    EXPECT_NEAR(1.35, Position(), 0.001);
    EXPECT_EQ(S_OK, m_position->put_CurrentPosition(99.0));
    EXPECT_DOUBLE_EQ(2.0, Position());
    EXPECT_EQ(E_INVALIDARG, m_position->put_CurrentPosition(-1.0));
}

TEST_F(DirectShowTest, ASongThatEndsPostsOneMessageAndQueuesOneEvent)
{
    HWND window = reinterpret_cast<HWND>(0x1234);
    ASSERT_TRUE(TestWriteConstantWave("short.wav", 8192, rate / 10, 2, rate));
    ASSERT_EQ(S_OK, m_graph->RenderFile(L"short.wav", nullptr));
    ASSERT_EQ(S_OK, m_event->SetNotifyWindow(reinterpret_cast<OAHWND>(window), WM_MUSIC_EVENT, 77));
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    EXPECT_EQ(E_ABORT, m_event->GetEvent(&code, &param1, &param2, 0));

    m_control->Run();
    Mix(rate / 20);
    EXPECT_EQ(0, CountMusicMessages(window, 77));
    Mix(rate / 10);
    Mix(rate / 10);
    EXPECT_EQ(1, CountMusicMessages(window, 77));
    EXPECT_DOUBLE_EQ(0.1, Position());

    ASSERT_EQ(S_OK, m_event->GetEvent(&code, &param1, &param2, 0));
    EXPECT_EQ(EC_COMPLETE, code);
    EXPECT_EQ(S_OK, m_event->FreeEventParams(code, param1, param2));
    EXPECT_EQ(E_ABORT, m_event->GetEvent(&code, &param1, &param2, 10));

    // Moved back, it plays and ends again; without a window nothing is posted.
    m_event->SetNotifyWindow(0, 0, 0);
    m_position->put_CurrentPosition(0.0);
    EXPECT_FLOAT_EQ(0.25f, Mix(rate / 5)[0]);
    EXPECT_EQ(0, CountMusicMessages(window, 77));
    EXPECT_EQ(S_OK, m_event->GetEvent(&code, &param1, &param2, 0));
}

TEST_F(DirectShowTest, ASecondSongReplacesTheFirst)
{
    ASSERT_TRUE(TestWriteConstantWave("one.wav", 8192, rate, 1, rate));
    ASSERT_TRUE(TestWriteConstantWave("two.wav", -8192, rate / 2, 1, rate));
    ASSERT_EQ(S_OK, m_graph->RenderFile(L"one.wav", nullptr));
    m_control->Run();
    Mix(100);
    ASSERT_EQ(S_OK, m_graph->RenderFile(L"two.wav", nullptr));
    EXPECT_EQ(1, AudioOutputGetMixer()->GetVoiceCount());
    EXPECT_DOUBLE_EQ(0.5, Duration());
    EXPECT_DOUBLE_EQ(0.0, Position());
    // The new song waits for Run.
    EXPECT_FLOAT_EQ(0.0f, Mix(10)[0]);
    m_control->Run();
    EXPECT_FLOAT_EQ(-0.25f, Mix(10)[0]);
}

TEST_F(DirectShowTest, VolumeIsKeptAcrossSongsAndChecked)
{
    ASSERT_TRUE(TestWriteConstantWave("one.wav", 16384, rate, 1, rate));
    long volume = 1;
    EXPECT_EQ(S_OK, m_audio->put_Volume(-2000));
    EXPECT_EQ(E_INVALIDARG, m_audio->put_Volume(1));
    EXPECT_EQ(E_INVALIDARG, m_audio->put_Volume(-10001));
    EXPECT_EQ(S_OK, m_audio->get_Volume(&volume));
    EXPECT_EQ(-2000, volume);
    ASSERT_EQ(S_OK, m_graph->RenderFile(L"one.wav", nullptr));
    m_control->Run();
    EXPECT_NEAR(0.05f, Mix(10)[0], 0.0001f);
    m_audio->put_Volume(-10000);
    EXPECT_FLOAT_EQ(0.0f, Mix(10)[0]);
}

TEST(DirectShowCreateTest, MakesOnlyTheFilterGraph)
{
    void *object = reinterpret_cast<void *>(1);
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(IID_IMediaControl, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &object));
    EXPECT_EQ(nullptr, object);
    IUnknown *outer = nullptr;
    IGraphBuilder *graph = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                     reinterpret_cast<void **>(&graph)));
    EXPECT_EQ(E_NOINTERFACE, graph->QueryInterface(CLSID_FilterGraph, &object));
    ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaControl, reinterpret_cast<void **>(&outer)));
    EXPECT_EQ(CLASS_E_NOAGGREGATION, CoCreateInstance(CLSID_FilterGraph, outer, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &object));
    outer->Release();
    graph->Release();
}

}  // namespace
