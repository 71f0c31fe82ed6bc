// The play benchmark: what one frame of play costs at the heaviest state the
// game reaches: garden 3, level 49 at the EXTREME difficulty, a full wave on
// the road, every weapon type placed at its top level and firing, shots and
// explosions running. It measures one play tick (HiveWatcherTick) and one
// play render (HiveWatcherRender with the frame's clear and present) on the
// GL device in a 1024 x 768 window under a real or virtual display, then on
// the recording device with its call log off, and prints the median
// main-thread CPU time (and, for the whole frame, the wall time) of each.
//
// `--without LAYER` (garden, sidebar, bugs, weapons, shots, effects, banner,
// overlay; repeatable) leaves a layer of the render out, so the difference
// to a full run is that layer's cost.
//
// Run it from an optimised build's folder, where the generated Data/ lies
// (see the README); it exits with 1 when the display, the device or the
// game's data cannot be had.
#include "bench/BenchTiming.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngFont.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMainServices.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "game/Bugs.h"
#include "game/Effects.h"
#include "game/HiveWatcher.h"
#include "game/HiveWatcherMWin.h"
#include "game/Levels.h"
#include "game/PlayNeighbours.h"
#include "game/PopupGlue.h"
#include "game/Sidebar.h"
#include "game/Tutorial.h"
#include "game/Weapon.h"
#include "game/Weapons.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9Recording.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const int WIDTH = 1024, HEIGHT = 768;
const int WARM_UP_FRAMES = 10;
const float FRAME_TIME = 1.0f / 60.0f;
const char *const FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
// Weapons of each shooting type placed along the road.
const int WEAPONS_PER_TYPE = 4;

_EngCreateWindowParms window_parms = {-1, -1, WIDTH, HEIGHT, 32, 1, 60, 0, 0, 0, 0, 0, ""};

EngFont game_font;

// The layers of a play render, in drawing order, and those left out.
const char *const LAYER_NAMES[] = {"garden", "sidebar", "bugs", "weapons", "shots", "effects", "banner", "overlay"};
enum Layer { GARDEN, SIDEBAR, BUGS, WEAPONS, SHOTS, EFFECTS, BANNER, OVERLAY, LAYERS };
bool layer_left_out[LAYERS];
bool any_layer_left_out;

// Median milliseconds of a tick, of a render, and of the whole frame.
struct Row {
    double tick_cpu, render_cpu, frame_cpu, frame_wall;
    int bugs_on_board, weapons, shots, effects;
};

const char *LastReport()
{
    int count = DebugGetNumMessages();
    return count > 0 ? DebugGetMessageText(count - 1) : "nothing reported";
}

// Board distance from the point to the nearest step of the road.
float DistanceToRoad(float x, float y)
{
    float best = 1e9f;
    for (int i = 0; i < traverse_data.num_steps; i += 4) {
        const float dx = traverse_data.point[i].x - x, dy = traverse_data.point[i].y - y;
        best = std::min(best, dx * dx + dy * dy);
    }
    return std::sqrt(best);
}

// Places the weapons where they fit, as close to the road as they go, at
// their top level; the factories first, so the families are open.
void PlaceEveryWeapon()
{
    for (int type = WEAPON_FIRST_FACTORY; type < WEAPON_TYPES; type++)
        for (float y = 0.95f; y > -0.95f; y -= 0.05f)
            if (WeaponsCanPlaceAt(type, 0.9f, y, 0) && WeaponsCreateNew(type, 0.9f, y, 0, 1))
                break;
    for (int type = 0; type < WEAPON_SHOOTING_TYPES; type++) {
        int placed = 0;
        for (float reach = 0.08f; reach < 0.6f && placed < WEAPONS_PER_TYPE; reach += 0.04f)
            for (float y = -0.95f; y < 0.95f && placed < WEAPONS_PER_TYPE; y += 0.037f)
                for (float x = -0.95f; x < 0.95f && placed < WEAPONS_PER_TYPE; x += 0.041f)
                    if (DistanceToRoad(x, y) < reach && WeaponsCanPlaceAt(type, x, y, 0) &&
                        WeaponsCreateNew(type, x, y, 0, 1))
                        placed++;
    }
    for (int i = 0; i < weapons_count; i++)
        if (Weapon *weapon = weapons_list[i]) {
            weapon->m_level = weapon->GetTopLevelCount() - 1;
            weapon->UpdateSizes();
        }
    WeaponsCountFactoryLevels();
}

int BugsOnBoard()
{
    int n = 0;
    for (int i = 0; i < bugs_count; i++)
        if (bugs_table[i] && bugs_table[i]->m_on_board)
            n++;
    return n;
}

int Shots()
{
    int n = 0;
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i])
            n += weapons_list[i]->m_num_shots;
    return n;
}

void Tick()
{
    eng_main_frame_time = FRAME_TIME;
    // Nothing may end the game while it is measured.
    play_lives = 1000000;
    HiveWatcherTick();
}

bool Drawn(Layer layer)
{
    return !layer_left_out[layer];
}

// The play render of HiveWatcherRender (neither won nor lost), layer by
// layer, with the device state it sets between them.
void RenderLayers()
{
    if (Drawn(GARDEN))
        LevelsDrawGardenPicture();
    if (Drawn(SIDEBAR))
        SidebarDraw();
    eng_device->SetViewportToSizeRatioed(100, 0, 540, 450);
    eng_device->EnableBlendingType(0);
    if (Drawn(BUGS))
        BugsDraw();
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i] && Drawn(WEAPONS))
            weapons_list[i]->Draw();
    for (int i = 0; i < weapons_count; i++)
        if (weapons_list[i] && Drawn(SHOTS))
            weapons_list[i]->DrawShots();
    if (Drawn(EFFECTS))
        EffectsDraw();
    if (Drawn(BANNER))
        LevelsDrawBanner();
    eng_device->SetViewportFullScreen();
    if (Drawn(OVERLAY))
        SidebarDrawPreviewWeapon();
    eng_device->DisableBlending();
    if (Drawn(OVERLAY)) {
        TutorialDraw();
        PopupRender();
        eng_device->EnableBlendingType(0);
        play_textures[play_pointer == 1 ? HWT_POINTER_CANNOT_PLACE : HWT_POINTER].Draw();
        eng_device->DisableBlending();
    }
}

void Render()
{
    eng_device->ClearBackBuffer();
    if (eng_device->BeginRendering()) {
        // The game's own render unless a layer is left out.
        if (any_layer_left_out)
            RenderLayers();
        else
            HiveWatcherRender();
        eng_device->EndRendering();
    }
    eng_device->SwapBuffers();
}

bool LeaveOut(const char *name)
{
    for (int layer = 0; layer < LAYERS; layer++)
        if (std::strcmp(name, LAYER_NAMES[layer]) == 0) {
            layer_left_out[layer] = true;
            any_layer_left_out = true;
            return true;
        }
    return false;
}

// The game at its heaviest: garden 3, level 49, EXTREME, the wave walking.
bool StartHeaviestPlay()
{
    play_neighbours.game_get_font = [] { return &game_font; };
    if (!HiveWatcherMWinCreateFontApart(0, FONT_FILE, &game_font))
        return false;
    // The drawing state the game sets once its graphics exist.
    eng_device->ModulateTextureAlphaWithColourAlpha();
    eng_device->SuspendZBufferIfOn();
    eng_device->PrepareFor2DIfNeeded(1);
    if (!HiveWatcherSetup())
        return false;
    levels_garden = 3;
    levels_difficulty = 2;
    if (!HiveWatcherCreateGraphics() || !HiveWatcherStartNewGame(0))
        return false;
    // A full wave: no boss (one is certain ten levels after the last) and,
    // among the seeds tried, the largest count the generator gives.
    play_level = 49;
    for (unsigned seed = 1; seed < 400; seed++) {
        EngMiscRandSeed(seed);
        bugs_last_boss_level = play_level;
        if (!HiveWatcherInitForNewLevel(0))
            return false;
        if (bugs_count >= 98)
            break;
    }
    play_money = 1000000;
    PlaceEveryWeapon();
    play_run_state = 0;
    // Until the wave fills the road and the weapons have fired for a while.
    for (int frame = 0; frame < 1200 && BugsOnBoard() < bugs_count * 3 / 4; frame++)
        Tick();
    for (int frame = 0; frame < 120; frame++)
        Tick();
    return BugsOnBoard() > 0;
}

bool Measure(int frames, Row *row)
{
    std::vector<double> tick, render, frame_cpu, frame_wall;
    for (int i = 0; i < WARM_UP_FRAMES + frames; i++) {
        const double wall_start = BenchSeconds(CLOCK_MONOTONIC);
        const double t0 = BenchSeconds(CLOCK_THREAD_CPUTIME_ID);
        Tick();
        const double t1 = BenchSeconds(CLOCK_THREAD_CPUTIME_ID);
        Render();
        const double t2 = BenchSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double wall_end = BenchSeconds(CLOCK_MONOTONIC);
        if (i < WARM_UP_FRAMES)
            continue;
        tick.push_back((t1 - t0) * 1000.0);
        render.push_back((t2 - t1) * 1000.0);
        frame_cpu.push_back((t2 - t0) * 1000.0);
        frame_wall.push_back((wall_end - wall_start) * 1000.0);
    }
    row->tick_cpu = BenchMedian(tick);
    row->render_cpu = BenchMedian(render);
    row->frame_cpu = BenchMedian(frame_cpu);
    row->frame_wall = BenchMedian(frame_wall);
    row->bugs_on_board = BugsOnBoard();
    row->weapons = weapons_count;
    row->shots = Shots();
    row->effects = effects_count;
    return true;
}

bool MeasureOn(bool gl, int frames, Row *row)
{
    PlatformSetHeadless(!gl);
    D3D9SetBackend(gl ? D3D9_BACKEND_GL : D3D9_BACKEND_RECORDING);
    if (!gl)
        D3D9RecordingKeepLog(false);
    EngProgram *program = new EngProgram();
    _EngCreateWindowParms parms = window_parms;
    if ((gl && !PlatformStartDisplay()) ||
        program->CreateMainWindowAndDevice(MainGetProgramName(), MainGetWindowClassName(), &parms) != 1) {
        std::fprintf(stderr, "No %s device (%s)\n", gl ? "GL" : "recording", LastReport());
        return false;
    }
    if (!StartHeaviestPlay()) {
        std::fprintf(stderr, "The play could not start: run from the build folder with Data/ (%s)\n", LastReport());
        return false;
    }
    return Measure(frames, row);
}

bool MeasureGL(int frames, Row *row)
{
    return MeasureOn(true, frames, row);
}

bool MeasureRecording(int frames, Row *row)
{
    return MeasureOn(false, frames, row);
}

// The engine's program, window and device are made once a process, so each
// measurement runs in a child of its own and hands its row back by a pipe.
bool RunApart(bool (*measure)(int, Row *), int frames, Row *row)
{
    int ends[2];
    if (pipe(ends) != 0)
        return false;
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        bool ok = measure(frames, row);
        ok = ok && write(ends[1], row, sizeof(Row)) == static_cast<ssize_t>(sizeof(Row));
        _exit(ok ? 0 : 1);
    }
    close(ends[1]);
    Row got;
    size_t have = 0;
    ssize_t read_now;
    while (child > 0 && have < sizeof(Row) &&
           (read_now = read(ends[0], reinterpret_cast<char *>(&got) + have, sizeof(Row) - have)) > 0)
        have += static_cast<size_t>(read_now);
    close(ends[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        have != sizeof(Row))
        return false;
    *row = got;
    return true;
}

void Print(const char *device, const Row &row)
{
    std::printf("%-9s | %8.3f %8.3f | %8.3f %8.3f | %4d %4d %5d %4d\n", device, row.tick_cpu, row.render_cpu,
                row.frame_cpu, row.frame_wall, row.bugs_on_board, row.weapons, row.shots, row.effects);
}

} // namespace

int main(int argc, char **argv)
{
    int frames = 300;
    bool gl = true, recording = true;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
            frames = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--recording-only") == 0)
            gl = false;
        else if (std::strcmp(argv[i], "--gl-only") == 0)
            recording = false;
        else if (!(std::strcmp(argv[i], "--without") == 0 && i + 1 < argc && LeaveOut(argv[++i]))) {
            std::fprintf(stderr, "usage: hw_play_bench [--frames N] [--recording-only | --gl-only] [--without LAYER]...\n"
                                 "layers: garden sidebar bugs weapons shots effects banner overlay\n");
            return 2;
        }
    }
    if (frames < 1)
        return 2;
    Row gl_row = {}, recording_row = {};
    if ((gl && !RunApart(MeasureGL, frames, &gl_row)) ||
        (recording && !RunApart(MeasureRecording, frames, &recording_row)))
        return 1;
    std::printf("Median ms per play frame over %d frames: garden 3, level 49, EXTREME, %d x %d", frames, WIDTH,
                HEIGHT);
    for (int layer = 0; layer < LAYERS; layer++)
        if (layer_left_out[layer])
            std::printf(", without %s", LAYER_NAMES[layer]);
    std::printf("\n");
    std::printf("%-9s | %8s %8s | %8s %8s | %4s %4s %5s %4s\n", "device", "tick cpu", "draw cpu", "frame cpu",
                "wall", "bugs", "weap", "shots", "fx");
    if (gl)
        Print("GL", gl_row);
    if (recording)
        Print("recording", recording_row);
    return 0;
}
