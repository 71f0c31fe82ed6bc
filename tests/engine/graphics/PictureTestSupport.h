// Shared by the picture and particle tests, over the graphics tests' own
// helpers: a clock the test sets by hand, the reporter's newest lines, the
// opacity of a recorded draw, and a recording device of 640 x 480.
#pragma once

#include "tests/engine/graphics/GraphicsTestSupport.h"
#include "engine/graphics/EngParticles.h"
#include "engine/graphics/EngPicture.h"

#include <string>

// A picture of one ARGB colour.
inline void WriteFlatPicture(const std::string &path, int width, int height, DWORD argb)
{
    ASSERT_TRUE(WritePng(path.c_str(), width, height, [argb](int, int) { return argb; })) << path;
}

inline void WriteTextFile(const std::string &path, const std::string &text)
{
    ASSERT_TRUE(WriteBytes(path.c_str(), text)) << path;
}

// The program time and the length of the frame that Tick advances by.
inline void SetClock(double program_time, float frame_time)
{
    eng_main_program_time = program_time;
    eng_main_frame_time = frame_time;
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

// The colour and the alpha byte of a recorded draw's first vertex; white
// for a layout without colour.
inline D3DCOLOR DrawColour(const D3D9RecordedDraw &draw)
{
    if (!(draw.state.fvf & D3DFVF_DIFFUSE))
        return 0xFFFFFFFF;
    std::vector<ReadVertex> vertices = ReadVertices(draw);
    return vertices.empty() ? 0 : vertices[0].colour;
}

inline int DrawAlpha(const D3D9RecordedDraw &draw)
{
    return static_cast<int>(DrawColour(draw) >> 24);
}

// The graphics tests' recording device at 640 x 480 (one pixel a virtual
// unit), a seeded generator and a still clock.
class PictureDeviceTest : public RecordingDeviceTest {
protected:
    void SetUp() override
    {
        parms = WindowParms(1, 640, 480);
        RecordingDeviceTest::SetUp();
        EngPictureResetForTests();
        EngParticlesResetForTests();
        EngMiscRandSeed(7);
        SetClock(10.0, 0.0f);
    }

    void TearDown() override
    {
        EngPictureResetForTests();
        RecordingDeviceTest::TearDown();
    }
};
