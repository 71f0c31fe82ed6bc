// Shared by the picture and particle tests: files written on the spot, a
// clock the test sets by hand, a program with a recording device, and
// readers of the recorded draws.
#pragma once

#include "tests/engine/runtime/RuntimeTestSupport.h"
#include "engine/graphics/EngParticles.h"
#include "engine/graphics/EngPicture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

inline void WriteTextFile(const std::string &name, const std::string &text)
{
    FILE *file = std::fopen(name.c_str(), "wb");
    ASSERT_NE(file, nullptr) << name;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
}

// A w x h picture of one ARGB colour as a top-first 32-bit TGA.
inline void WriteTga(const std::string &name, int w, int h, DWORD argb)
{
    std::string bytes = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, static_cast<char>(w & 0xFF), static_cast<char>(w >> 8),
                         static_cast<char>(h & 0xFF), static_cast<char>(h >> 8), 32, 8 | 0x20};
    for (int i = 0; i < w * h; i++)
        for (int shift : {0, 8, 16, 24})
            bytes.push_back(static_cast<char>((argb >> shift) & 0xFF));
    WriteTextFile(name, bytes);
}

// The program time and the length of the frame that Tick advances by.
inline void SetClock(double program_time, float frame_time)
{
    eng_main_program_time = program_time;
    eng_main_frame_time = frame_time;
}

// The stored form of an error report.
inline std::string Error(const char *where, const std::string &message)
{
    return std::string(" <ERROR>  ( ") + where + " )    " + message;
}

inline std::string NewestStored()
{
    int count = DebugGetNumMessages();
    return count > 0 ? DebugGetMessageText(count - 1) : "";
}

inline int CountStored(const std::string &line)
{
    int count = 0;
    for (const std::string &stored : StoredLines())
        count += stored == line;
    return count;
}

// The diffuse colour of a recorded draw's first vertex.
inline D3DCOLOR DrawColour(const D3D9RecordedDraw &draw)
{
    DWORD fvf = draw.state.fvf;
    size_t offset = (fvf & D3DFVF_XYZRHW) == D3DFVF_XYZRHW ? 16 : 12;
    if (fvf & D3DFVF_NORMAL)
        offset += 12;
    D3DCOLOR colour = 0;
    if (fvf & D3DFVF_DIFFUSE)
        std::memcpy(&colour, &draw.vertices[offset], sizeof(colour));
    else
        colour = 0xFFFFFFFF;
    return colour;
}

inline int DrawAlpha(const D3D9RecordedDraw &draw)
{
    return static_cast<int>(DrawColour(draw) >> 24);
}

// A program whose window has a recording device of 640 x 480, with the
// clock under the test's hand.
class RecordingDeviceTest : public testing::Test {
protected:
    RecordingProgram *program = nullptr;
    _EngCreateWindowParms parms = WindowParms(1, 640, 480);

    void SetUp() override
    {
        ResetRuntimeForTest();
        EngPictureResetForTests();
        EngParticlesResetForTests();
        EngMiscRandSeed(7);
        program = new RecordingProgram();
        ASSERT_EQ(program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms), 1);
        ASSERT_NE(eng_device, nullptr);
        D3D9RecordingReset();
        DebugResetForTests();
        SetClock(10.0, 0.0f);
    }

    void TearDown() override
    {
        EngPictureResetForTests();
        program->CloseDown(1);
        delete program;
        eng_device_type = EDT_DX9;
        VirtualClock::Remove();
    }
};
