// Sound effect buffers over the mixer (manual mixing, no device): what they
// refuse, how their data, controls and play position behave, and that the
// DirectSound object takes its buffers with it.
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioOutput.h"
#include "platform/audio/DirectSound.h"
#include "tests/fixtures/audio/TestAudioFiles.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

WAVEFORMATEX Pcm(WORD channels, DWORD rate, WORD bits)
{
    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = bits;
    format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    return format;
}

class DirectSoundTest : public testing::Test {
protected:
    void SetUp() override
    {
        AudioOutputSetManualMixingForTests(true, 44100);
        ASSERT_EQ(DS_OK, DirectSoundCreate8(nullptr, &m_ds, nullptr));
        m_mixer = AudioOutputGetMixer();
        ASSERT_NE(nullptr, m_mixer);
    }

    void TearDown() override
    {
        if (m_ds)
            m_ds->Release();
        EXPECT_EQ(nullptr, AudioOutputGetMixer());
        AudioOutputSetManualMixingForTests(false, 0);
    }

    // A mono 16-bit buffer holding samples, made the way the sound loader does.
    IDirectSoundBuffer *MakeBuffer(const std::vector<int16_t> &samples, DWORD flags = DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME)
    {
        WAVEFORMATEX format = Pcm(1, 44100, 16);
        DSBUFFERDESC desc = {sizeof(DSBUFFERDESC), flags, static_cast<DWORD>(samples.size() * 2), 0, &format};
        IDirectSoundBuffer *buffer = nullptr;
        EXPECT_EQ(DS_OK, m_ds->CreateSoundBuffer(&desc, &buffer, nullptr));
        if (!buffer)
            return nullptr;
        void *part1 = nullptr, *part2 = nullptr;
        DWORD bytes1 = 0, bytes2 = 0;
        EXPECT_EQ(DS_OK, buffer->Lock(0, desc.dwBufferBytes, &part1, &bytes1, &part2, &bytes2, 0));
        EXPECT_EQ(desc.dwBufferBytes, bytes1);
        EXPECT_EQ(nullptr, part2);
        std::vector<uint8_t> bytes = TestPcm16(samples);
        std::memcpy(part1, bytes.data(), bytes1);
        EXPECT_EQ(DS_OK, buffer->Unlock(part1, bytes1, part2, bytes2));
        return buffer;
    }

    std::vector<float> Mix(int frames)
    {
        std::vector<float> out(static_cast<size_t>(frames) * 2);
        m_mixer->Mix(out.data(), frames);
        return out;
    }

    IDirectSound8 *m_ds = nullptr;
    AudioMixer *m_mixer = nullptr;
};

TEST_F(DirectSoundTest, RefusesBadBufferDescriptions)
{
    WAVEFORMATEX good = Pcm(2, 22050, 16);
    WAVEFORMATEX compressed = good;
    compressed.wFormatTag = 2;
    WAVEFORMATEX bits24 = Pcm(1, 22050, 24);
    WAVEFORMATEX wrong_block = good;
    wrong_block.nBlockAlign = 3;
    WAVEFORMATEX six_channels = Pcm(6, 22050, 16);
    WAVEFORMATEX zero = {};
    struct Case {
        const char *name;
        DWORD flags;
        DWORD bytes;
        WAVEFORMATEX *format;
        HRESULT result;
    } cases[] = {
        {"good", DSBCAPS_STATIC, 4000, &good, DS_OK},
        {"primary with a size", DSBCAPS_PRIMARYBUFFER, 4000, nullptr, DSERR_INVALIDPARAM},
        {"primary with a format", DSBCAPS_PRIMARYBUFFER, 0, &good, DSERR_INVALIDPARAM},
        {"no format", DSBCAPS_STATIC, 4000, nullptr, DSERR_INVALIDPARAM},
        {"too small", DSBCAPS_STATIC, 2, &good, DSERR_INVALIDPARAM},
        {"compressed", DSBCAPS_STATIC, 4000, &compressed, DSERR_BADFORMAT},
        {"24 bits", DSBCAPS_STATIC, 4000, &bits24, DSERR_BADFORMAT},
        {"wrong block size", DSBCAPS_STATIC, 4000, &wrong_block, DSERR_BADFORMAT},
        {"six channels", DSBCAPS_STATIC, 4000, &six_channels, DSERR_BADFORMAT},
        {"zeroed format", DSBCAPS_STATIC, 4000, &zero, DSERR_BADFORMAT},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DSBUFFERDESC desc = {sizeof(DSBUFFERDESC), c.flags, c.bytes, 0, c.format};
        IDirectSoundBuffer *buffer = reinterpret_cast<IDirectSoundBuffer *>(1);
        EXPECT_EQ(c.result, m_ds->CreateSoundBuffer(&desc, &buffer, nullptr));
        EXPECT_EQ(c.result == DS_OK, buffer != nullptr);
        if (buffer)
            buffer->Release();
    }
    IDirectSoundBuffer *buffer = nullptr;
    EXPECT_EQ(DSERR_INVALIDPARAM, m_ds->CreateSoundBuffer(nullptr, &buffer, nullptr));
    EXPECT_EQ(DSERR_INVALIDPARAM, m_ds->SetCooperativeLevel(nullptr, 7));
    EXPECT_EQ(DS_OK, m_ds->SetCooperativeLevel(nullptr, DSSCL_EXCLUSIVE));
}

TEST_F(DirectSoundTest, ThePrimaryBufferTakesOnlyAPlayableFormat)
{
    DSBUFFERDESC desc = {sizeof(DSBUFFERDESC), DSBCAPS_PRIMARYBUFFER, 0, 0, nullptr};
    IDirectSoundBuffer *primary = nullptr;
    ASSERT_EQ(DS_OK, m_ds->CreateSoundBuffer(&desc, &primary, nullptr));
    WAVEFORMATEX good = Pcm(1, 22050, 8);
    WAVEFORMATEX zero = {};
    EXPECT_EQ(DS_OK, primary->SetFormat(&good));
    EXPECT_EQ(DSERR_BADFORMAT, primary->SetFormat(&zero));
    EXPECT_EQ(DSERR_INVALIDPARAM, primary->SetFormat(nullptr));
    void *part = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(DSERR_INVALIDCALL, primary->Lock(0, 4, &part, &bytes, nullptr, nullptr, DSBLOCK_ENTIREBUFFER));
    primary->Release();

    IDirectSoundBuffer *secondary = MakeBuffer({1, 2, 3, 4});
    EXPECT_EQ(DSERR_INVALIDCALL, secondary->SetFormat(&good));
    secondary->Release();
}

TEST_F(DirectSoundTest, LockedDataIsHeardAfterUnlockAndALockMayWrap)
{
    IDirectSoundBuffer *buffer = MakeBuffer(std::vector<int16_t>(100, 8192));
    buffer->Play(0, 0, 0);
    EXPECT_FLOAT_EQ(0.25f, Mix(10)[0]);

    void *part1 = nullptr, *part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    ASSERT_EQ(DS_OK, buffer->Lock(180, 40, &part1, &bytes1, &part2, &bytes2, 0));
    EXPECT_EQ(20u, bytes1);
    EXPECT_EQ(20u, bytes2);
    EXPECT_NE(nullptr, part2);
    EXPECT_EQ(DSERR_INVALIDPARAM, buffer->Lock(180, 40, &part1, &bytes1, nullptr, nullptr, 0));
    EXPECT_EQ(DSERR_INVALIDPARAM, buffer->Lock(200, 4, &part1, &bytes1, nullptr, nullptr, 0));

    // Rewriting the start while playing: heard when played from there again.
    ASSERT_EQ(DS_OK, buffer->Lock(0, 20, &part1, &bytes1, nullptr, nullptr, 0));
    std::memset(part1, 0, bytes1);
    // Not heard before the unlock: the mixer plays the bytes as they were.
    buffer->SetCurrentPosition(0);
    EXPECT_FLOAT_EQ(0.25f, Mix(1)[0]);
    ASSERT_EQ(DS_OK, buffer->Unlock(part1, bytes1, nullptr, 0));
    buffer->SetCurrentPosition(0);
    std::vector<float> out = Mix(20);
    EXPECT_FLOAT_EQ(0.0f, out[0]);
    EXPECT_FLOAT_EQ(0.25f, out[2 * 10]);
    int local = 0;
    EXPECT_EQ(DSERR_INVALIDPARAM, buffer->Unlock(&local, 4, nullptr, 0));
    buffer->Release();
}

TEST_F(DirectSoundTest, ControlsExistOnlyWhenAskedFor)
{
    IDirectSoundBuffer *plain = MakeBuffer({1, 2, 3, 4}, DSBCAPS_STATIC);
    LONG volume = 0;
    DWORD frequency = 0;
    EXPECT_EQ(DSERR_CONTROLUNAVAIL, plain->SetVolume(-100));
    EXPECT_EQ(DSERR_CONTROLUNAVAIL, plain->GetVolume(&volume));
    EXPECT_EQ(DSERR_CONTROLUNAVAIL, plain->GetFrequency(&frequency));
    void *face = reinterpret_cast<void *>(1);
    EXPECT_EQ(E_NOINTERFACE, plain->QueryInterface(IID_IDirectSound3DBuffer, &face));
    EXPECT_EQ(nullptr, face);
    plain->Release();

    IDirectSoundBuffer *full =
        MakeBuffer({1, 2, 3, 4}, DSBCAPS_STATIC | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRL3D);
    EXPECT_EQ(DS_OK, full->SetVolume(-602));
    EXPECT_EQ(DS_OK, full->GetVolume(&volume));
    EXPECT_EQ(-602, volume);
    EXPECT_EQ(DSERR_INVALIDPARAM, full->SetVolume(1));
    EXPECT_EQ(DSERR_INVALIDPARAM, full->SetVolume(-10001));
    EXPECT_EQ(DS_OK, full->GetFrequency(&frequency));
    EXPECT_EQ(44100u, frequency);

    IDirectSound3DBuffer *space = nullptr;
    ASSERT_EQ(DS_OK, full->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void **>(&space)));
    EXPECT_EQ(DS_OK, space->SetMode(DS3DMODE_NORMAL, DS3D_IMMEDIATE));
    EXPECT_EQ(DS_OK, space->SetMinDistance(1.0f, DS3D_IMMEDIATE));
    EXPECT_EQ(DS_OK, space->SetMaxDistance(10000.0f, DS3D_IMMEDIATE));
    EXPECT_EQ(DSERR_INVALIDPARAM, space->SetMinDistance(0.0f, DS3D_IMMEDIATE));
    float distance = 0;
    EXPECT_EQ(DS_OK, space->GetMaxDistance(&distance));
    EXPECT_FLOAT_EQ(10000.0f, distance);
    // Both faces are one object: it lives until both are released.
    full->Release();
    EXPECT_EQ(DS_OK, space->GetMinDistance(&distance));
    EXPECT_FLOAT_EQ(1.0f, distance);
    space->Release();
    EXPECT_EQ(0, m_mixer->GetVoiceCount());
}

TEST_F(DirectSoundTest, PlayPositionStatusAndLooping)
{
    std::vector<int16_t> ramp;
    for (int i = 0; i < 1000; i++)
        ramp.push_back(static_cast<int16_t>(i * 16));
    IDirectSoundBuffer *buffer = MakeBuffer(ramp);
    DWORD status = 99, play = 99, write = 99;
    EXPECT_EQ(DS_OK, buffer->GetStatus(&status));
    EXPECT_EQ(0u, status);

    buffer->Play(0, 0, 0);
    Mix(300);
    EXPECT_EQ(DS_OK, buffer->GetCurrentPosition(&play, &write));
    EXPECT_EQ(600u, play);
    buffer->GetStatus(&status);
    EXPECT_EQ(DSBSTATUS_PLAYING, status);

    // Playing again while playing goes on; moving back to 0 restarts.
    buffer->Play(0, 0, 0);
    EXPECT_FLOAT_EQ(300 * 16 / 32768.0f, Mix(1)[0]);
    buffer->SetCurrentPosition(0);
    buffer->Play(0, 0, 0);
    EXPECT_FLOAT_EQ(0.0f, Mix(2)[0]);
    EXPECT_EQ(DSERR_INVALIDPARAM, buffer->SetCurrentPosition(2000));

    Mix(2000);
    buffer->GetStatus(&status);
    EXPECT_EQ(0u, status);

    buffer->SetCurrentPosition(0);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    std::vector<float> out = Mix(1500);
    EXPECT_FLOAT_EQ(out[2 * 100], out[2 * 1100]);
    buffer->GetStatus(&status);
    EXPECT_EQ(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING, status);
    buffer->Stop();
    buffer->GetStatus(&status);
    EXPECT_EQ(0u, status);
    buffer->Release();
}

TEST_F(DirectSoundTest, ReleasingDirectSoundReleasesItsBuffers)
{
    MakeBuffer({1, 2, 3, 4});
    MakeBuffer({5, 6, 7, 8});
    EXPECT_EQ(2, m_mixer->GetVoiceCount());
    m_ds->Release();
    m_ds = nullptr;
    // The output is closed; nothing is left for the leak checker either.
    EXPECT_EQ(nullptr, AudioOutputGetMixer());

    IDirectSound8 *ds = nullptr;
    EXPECT_EQ(DSERR_NODRIVER, DirectSoundCreate8(&IID_IDirectSound3DBuffer, &ds, nullptr));
    EXPECT_EQ(nullptr, ds);
    EXPECT_EQ(DSERR_INVALIDPARAM, DirectSoundCreate8(nullptr, nullptr, nullptr));
}

}  // namespace
