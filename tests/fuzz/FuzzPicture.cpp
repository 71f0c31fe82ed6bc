// Picture descriptions: a .ttx file loaded whole or not at all, then played
// as the screens play it: its animation ticked over frames short and long,
// and every frame drawn on the recording device both full screen and inside
// a window's viewport. Every texture it names is one small picture, so each
// stage that shows one is drawn.
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngPicture.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9Recording.h"
#include "platform/win32/Win32Headless.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char *const TEXTURE = "texture.tga";

char AnyTextureIsTheSmallPicture(const char *, const char *, char *out, int out_size)
{
    std::snprintf(out, out_size, "%s", TEXTURE);
    return 1;
}

// The program's window and device on the headless desktop and the
// recording backend, kept for the whole run as the program keeps its own;
// and the texture: 2 x 2 pixels of 32 bits, an uncompressed TGA.
void SetUpOnce()
{
    FuzzSetup();
    PlatformSetHeadless(true);
    D3D9SetBackend(D3D9_BACKEND_RECORDING);
    static EngProgram *program = new EngProgram();
    _EngCreateWindowParms parms = {-1, -1, 640, 480, 32, 1, 60, 0, 0, 0, 1, 0, ""};
    if (!program->CreateMainWindowAndDevice("Hive Watcher", "HiveWatcherClass", &parms) || !eng_device)
        std::abort();
    // Header: true colour, 2 x 2, 32 bits with 8 of alpha; then grey pixels.
    uint8_t tga[18 + 16] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 32, 8};
    std::memset(tga + 18, 0x80, 16);
    FuzzWriteFile(TEXTURE, tga, sizeof(tga));
    EngPictureSetTextureFileOverwriteCB(AnyTextureIsTheSmallPicture);
}

// One frame: the picture drawn full screen, then inside a window.
void DrawFrame(EngPicture *picture)
{
    if (!eng_device->BeginRendering())
        std::abort();
    eng_device->SetViewportFullScreen();
    picture->DrawAllSets();
    D3DVIEWPORT9 window = {120, 90, 400, 300, 0.0f, 1.0f};
    eng_device->SetViewportToViewportStruct(&window);
    picture->DrawAllSetsWithAlpha(0.5f);
    eng_device->SetViewportFullScreen();
    eng_device->EndRendering();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    FuzzWriteFile("pic.ttx", data, size);
    EngMiscRandSeed(1);
    eng_main_program_time = 10.0;
    eng_main_frame_time = 0.0f;
    {
        EngPicture picture;
        if (picture.LoadFromFile(nullptr, "pic.ttx", 0)) {
            picture.CreateGraphics();
            DrawFrame(&picture);
            // A frame at 60 a second, then longer ones that pass whole
            // stages, transitions and turns at once.
            for (float frame : {1.0f / 60.0f, 0.25f, 2.0f, 30.0f}) {
                eng_main_program_time = eng_main_program_time + frame;
                eng_main_frame_time = frame;
                picture.Tick(1.0f);
                DrawFrame(&picture);
            }
        }
    }
    D3D9RecordingReset();
    FuzzEndInput();
    return 0;
}
