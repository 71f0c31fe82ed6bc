// The frame benchmark: what a 2D frame of many sprites costs the graphics
// device. Each frame clears the screen, draws N textured, alpha-blended
// 64 x 64 quads at random places and angles through EngTexture and one line
// of text through the engine's font, and presents. It runs on the GL device
// (under a real or virtual display), then on the recording device with its
// call log off, and compares the GL frames with a baseline that draws the
// same quads with the same texture straight with GL in one vertex-array
// call. It prints the median main-thread CPU time and wall time of a frame
// for each, and the ratio of the engine's GL frame to the baseline's.
//
// Run it from an optimised build (see the README); it exits with 1 when the
// display, the device or the texture cannot be had.
#include "bench/BenchTiming.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMath.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngFontDraw.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngMainServices.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "platform/d3d9/D3D9Backend.h"
#include "platform/d3d9/D3D9GL.h"
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
const int QUAD_SIZE = 64;
const int WARM_UP_FRAMES = 10;
const char *const TEXTURE_FILE = "hw_frame_bench_sprite.tga";
const char *const FONT_FILE = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char *const TEXT = "Hive Watcher frame benchmark: 0123456789";

_EngCreateWindowParms window_parms = {-1, -1, WIDTH, HEIGHT, 32, 1, 60, 0, 0, 0, 0, 0, ""};

struct Quad {
    float x, y, angle;
};

// Median CPU and wall milliseconds of a frame.
struct Timing {
    double cpu_ms, wall_ms;
};

// A soft-edged disc with a coloured ring: uncompressed 32-bit TGA, top row first.
bool WriteSprite(const char *path)
{
    unsigned char header[18] = {0, 0, 2};
    header[12] = QUAD_SIZE;
    header[14] = QUAD_SIZE;
    header[16] = 32;
    header[17] = 8 | 0x20;
    std::vector<unsigned char> bytes(header, header + sizeof(header));
    for (int y = 0; y < QUAD_SIZE; y++)
        for (int x = 0; x < QUAD_SIZE; x++) {
            float dx = x + 0.5f - QUAD_SIZE / 2.0f, dy = y + 0.5f - QUAD_SIZE / 2.0f;
            float r = std::sqrt(dx * dx + dy * dy) / (QUAD_SIZE / 2.0f);
            float alpha = std::min(1.0f, std::max(0.0f, (1.0f - r) * 8.0f));
            bytes.insert(bytes.end(), {static_cast<unsigned char>(80 + 100 * r), static_cast<unsigned char>(200 * r),
                                       static_cast<unsigned char>(255 - 120 * r),
                                       static_cast<unsigned char>(255 * alpha)});
        }
    FILE *file = std::fopen(path, "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

std::vector<Quad> RandomQuads(int count)
{
    std::vector<Quad> quads;
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<float>((seed >> 8) & 0xFFFF) / 65535.0f;
    };
    for (int i = 0; i < count; i++)
        quads.push_back({next() * WIDTH, next() * HEIGHT, next() * 6.2831853f});
    return quads;
}

// The quad's local corners are pixels around its centre; this turns them,
// moves them to the centre and maps the screen's pixels to clip space.
void QuadWorld(const Quad &quad, EngMatrix *world)
{
    const float c = std::cos(quad.angle), s = std::sin(quad.angle);
    const float sx = 2.0f / WIDTH, sy = 2.0f / HEIGHT;
    const float m[16] = {c * sx,  -s * sy, 0, 0, -s * sx,  -c * sy, 0, 0,
                         0,       0,       1, 0, quad.x * sx - 1.0f, 1.0f - quad.y * sy, 0, 1};
    std::memcpy(world->m_elements, m, sizeof(m));
}

// The same corners as QuadWorld gives them, in pixels, two triangles a quad,
// with the texture coordinates the engine's quad has (half a texel in).
std::vector<float> ReferenceTriangles(const std::vector<Quad> &quads)
{
    const float h = QUAD_SIZE / 2.0f, t0 = 0.5f / QUAD_SIZE, t1 = 1.0f - t0;
    const float corners[4][4] = {{-h, -h, t0, t1}, {h, -h, t1, t1}, {-h, h, t0, t0}, {h, h, t1, t0}};
    const int order[6] = {0, 1, 2, 2, 1, 3};
    std::vector<float> vertices;
    vertices.reserve(quads.size() * 24);
    for (const Quad &quad : quads) {
        const float c = std::cos(quad.angle), s = std::sin(quad.angle);
        for (int corner : order) {
            const float *k = corners[corner];
            vertices.insert(vertices.end(), {k[0] * c - k[1] * s + quad.x, -(k[0] * s + k[1] * c) + quad.y, k[2], k[3]});
        }
    }
    return vertices;
}

class Bench {
public:
    ~Bench() { Close(); }

    // A window and device on the current backend, with the sprite and the font.
    bool Open()
    {
        m_program = new EngProgram();
        _EngCreateWindowParms parms = window_parms;
        if (m_program->CreateMainWindowAndDevice(MainGetProgramName(), MainGetWindowClassName(), &parms) != 1)
            return false;
        if (!m_sprite.LoadFromFile(TEXTURE_FILE, 1, ENG_TEXTURE_ALPHA_FROM_FILE))
            return false;
        m_sprite.PositionPure(-QUAD_SIZE / 2.0f, -QUAD_SIZE / 2.0f, QUAD_SIZE, QUAD_SIZE);
        // The quads' world matrices mirror y (screen rows grow downwards).
        eng_device->ShowTwoSidedPolygons(1);
        return m_font.CreateFromFontFile(FONT_FILE, 0, 0, 16, 32, 126, nullptr, 0, 1.0f, 1.0f, 0.0f, 0.0f, 0, 0, 0,
                                         0, 1);
    }

    void Close()
    {
        if (!m_program)
            return;
        m_font.Destroy();
        m_sprite.Destroy();
        m_program->CloseDown(1);
        delete m_program;
        m_program = nullptr;
    }

    void EngineFrame(const std::vector<Quad> &quads)
    {
        eng_device->SetClearColour(0.1f, 0.2f, 0.3f);
        eng_device->ClearBackBuffer();
        if (!eng_device->BeginRendering())
            return;
        eng_device->PrepareFor2D(1);
        eng_device->EnableBlending(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
        EngMatrix world;
        for (const Quad &quad : quads) {
            QuadWorld(quad, &world);
            eng_device->SetTransformMatrix(&world);
            m_sprite.Draw();
        }
        eng_device->ResetTransformMatrix();
        eng_device->RestoreAfter2D();
        EngFontPrepareForDrawing(1);
        m_font.SetColour(1.0f, 1.0f, 0.6f, 1.0f);
        m_font.DrawString(10, 10, 0, 0, TEXT, 0);
        EngFontRestoreAfterDrawing();
        eng_device->EndRendering();
        eng_device->SwapBuffers();
    }

    void BaselineFrame(const std::vector<float> &triangles)
    {
        eng_device->SetClearColour(0.1f, 0.2f, 0.3f);
        eng_device->ClearBackBuffer();
        D3D9GLDrawReferenceTriangles(eng_d3d_device, m_sprite.GetTextureDX9()->GetD3DTexture(), triangles.data(),
                                     static_cast<int>(triangles.size() / 4));
        eng_device->SwapBuffers();
    }

    template <typename Frame>
    Timing Measure(int frames, Frame frame)
    {
        std::vector<double> cpu, wall;
        for (int i = 0; i < WARM_UP_FRAMES + frames; i++) {
            double cpu_start = BenchSeconds(CLOCK_THREAD_CPUTIME_ID), wall_start = BenchSeconds(CLOCK_MONOTONIC);
            frame();
            if (i < WARM_UP_FRAMES)
                continue;
            cpu.push_back((BenchSeconds(CLOCK_THREAD_CPUTIME_ID) - cpu_start) * 1000.0);
            wall.push_back((BenchSeconds(CLOCK_MONOTONIC) - wall_start) * 1000.0);
        }
        return {BenchMedian(cpu), BenchMedian(wall)};
    }

private:
    EngProgram *m_program = nullptr;
    EngTexture m_sprite;
    EngFont m_font;
};

// The error reporter's last entry, to say why the benchmark cannot run.
const char *LastReport()
{
    int count = DebugGetNumMessages();
    return count > 0 ? DebugGetMessageText(count - 1) : "nothing reported";
}

struct Row {
    int quads;
    Timing gl, baseline, recording;
    unsigned long gl_calls;
};

// The GL device under the display, and the baseline on the same device.
bool MeasureGL(int frames, std::vector<Row> *rows)
{
    PlatformSetHeadless(false);
    D3D9SetBackend(D3D9_BACKEND_GL);
    Bench bench;
    if (!PlatformStartDisplay() || !bench.Open()) {
        std::fprintf(stderr, "No GL device: is there a display? (%s)\n", LastReport());
        return false;
    }
    for (Row &row : *rows) {
        std::vector<Quad> quads = RandomQuads(row.quads);
        std::vector<float> triangles = ReferenceTriangles(quads);
        row.baseline = bench.Measure(frames, [&] { bench.BaselineFrame(triangles); });
        row.gl = bench.Measure(frames, [&] { bench.EngineFrame(quads); });
        unsigned long before = D3D9GLGetCallCount(eng_d3d_device);
        bench.EngineFrame(quads);
        row.gl_calls = D3D9GLGetCallCount(eng_d3d_device) - before;
    }
    return true;
}

// The recording device, headless, with its call log off.
bool MeasureRecording(int frames, std::vector<Row> *rows)
{
    PlatformSetHeadless(true);
    D3D9SetBackend(D3D9_BACKEND_RECORDING);
    D3D9RecordingKeepLog(false);
    Bench bench;
    if (!bench.Open()) {
        std::fprintf(stderr, "No recording device (%s)\n", LastReport());
        return false;
    }
    for (Row &row : *rows)
        row.recording = bench.Measure(frames, [&] { bench.EngineFrame(RandomQuads(row.quads)); });
    return true;
}

// The engine's program, window and device are made once a process, so each
// measurement runs in a child of its own and hands its rows back by a pipe.
bool RunApart(bool (*measure)(int, std::vector<Row> *), int frames, std::vector<Row> *rows)
{
    int ends[2];
    if (pipe(ends) != 0)
        return false;
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        bool ok = measure(frames, rows);
        const size_t bytes = sizeof(Row) * rows->size();
        ok = ok && write(ends[1], rows->data(), bytes) == static_cast<ssize_t>(bytes);
        _exit(ok ? 0 : 1);
    }
    close(ends[1]);
    const size_t bytes = sizeof(Row) * rows->size();
    std::vector<Row> got(rows->size());
    size_t have = 0;
    ssize_t read_now;
    while (child > 0 && have < bytes &&
           (read_now = read(ends[0], reinterpret_cast<char *>(got.data()) + have, bytes - have)) > 0)
        have += static_cast<size_t>(read_now);
    close(ends[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        have != bytes)
        return false;
    *rows = got;
    return true;
}

int Usage()
{
    std::fprintf(stderr, "usage: hw_frame_bench [--frames N] [QUADS ...]\n");
    return 2;
}

} // namespace

// The game's start-up services, as far as the benchmark has them: it makes
// its window and device itself and never runs the engine's entry flow, so
// only the names and the window's settings are asked for.
char MainCreateAndInitMainProgram(void *, char *, int *exit_code)
{
    *exit_code = -1;
    return 0;
}

void MainDeleteMainProgram(char) {}

const char *MainGetProgramName()
{
    return "Hive Watcher frame benchmark";
}

const char *MainGetWindowClassName()
{
    return "HiveWatcherBenchClass";
}

_EngCreateWindowParms *MainGetCreateWindowParms()
{
    return &window_parms;
}

int main(int argc, char **argv)
{
    int frames = 100;
    std::vector<int> counts;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
            frames = std::atoi(argv[++i]);
        else if (std::atoi(argv[i]) > 0)
            counts.push_back(std::atoi(argv[i]));
        else
            return Usage();
    }
    if (frames < 1)
        return Usage();
    if (counts.empty())
        counts = {100, 1000, 3000};
    if (!WriteSprite(TEXTURE_FILE)) {
        std::fprintf(stderr, "Cannot write %s\n", TEXTURE_FILE);
        return 1;
    }

    std::vector<Row> rows(counts.size());
    for (size_t i = 0; i < counts.size(); i++)
        rows[i].quads = counts[i];
    if (!RunApart(MeasureGL, frames, &rows) || !RunApart(MeasureRecording, frames, &rows))
        return 1;
    std::remove(TEXTURE_FILE);

    std::printf("Median ms per frame over %d frames, %d x %d, 64 x 64 alpha-blended quads and one line of text\n",
                frames, WIDTH, HEIGHT);
    std::printf("%6s | %9s %9s | %9s %9s | %9s %9s | %8s | %9s %9s\n", "quads", "GL cpu", "GL wall", "base cpu",
                "base wall", "cpu ratio", "wall ratio", "GL calls", "rec cpu", "us/quad");
    for (const Row &row : rows)
        std::printf("%6d | %9.2f %9.2f | %9.2f %9.2f | %9.2f %9.2f | %8lu | %9.3f %9.3f\n", row.quads, row.gl.cpu_ms,
                    row.gl.wall_ms, row.baseline.cpu_ms, row.baseline.wall_ms, row.gl.cpu_ms / row.baseline.cpu_ms,
                    row.gl.wall_ms / row.baseline.wall_ms, row.gl_calls, row.recording.cpu_ms,
                    row.recording.cpu_ms * 1000.0 / row.quads);
    return 0;
}
