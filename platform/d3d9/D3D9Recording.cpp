#include "platform/d3d9/D3D9Recording.h"
#include "platform/d3d9/D3D9Internal.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

struct Failure {
    std::string call;
    HRESULT result;
    int times;
};

std::vector<std::string> calls;
std::vector<D3D9RecordedDraw> draws;
std::vector<Failure> failures;
// Off for benchmarks: no call lines and no copies of draws.
bool keep_log = true;

class RecordingBackend : public D3D9DeviceBackend {
public:
    bool Records() const override { return keep_log; }
    void Note(const char *line) override { D3D9RecordingNote(line); }
    HRESULT Fault(const char *call) override { return D3D9RecordingFault(call); }

    HRESULT Clear(const D3D9DeviceState &, DWORD, const D3DRECT *, DWORD, D3DCOLOR, float, DWORD) override
    {
        return S_OK;
    }

    HRESULT Present() override { return S_OK; }

    HRESULT Draw(const D3D9DeviceState &state, D3DPRIMITIVETYPE type, UINT primitives, const BYTE *vertices,
                 UINT vertex_count) override
    {
        if (!keep_log)
            return S_OK;
        D3D9RecordedDraw draw;
        draw.state = state;
        draw.type = type;
        draw.primitives = primitives;
        draw.vertex_count = vertex_count;
        // The last vertex ends at its own size, which may be short of a stride.
        size_t bytes = static_cast<size_t>(vertex_count - 1) * state.stream_stride + D3D9VertexSize(state.fvf);
        draw.vertices.assign(vertices, vertices + bytes);
        draws.push_back(std::move(draw));
        return S_OK;
    }

    void ForgetTexture(IDirect3DTexture9 *) override {}
    void *InsertFence() override { return nullptr; }
    bool IsFenceDone(void *, bool) override { return true; }
    void WaitForFence(void *) override {}
    void DeleteFence(void *) override {}
};

struct Name {
    DWORD value;
    const char *name;
};

const char *FindName(const Name *names, size_t count, DWORD value, char *buffer, int size)
{
    for (size_t i = 0; i < count; i++)
        if (names[i].value == value)
            return names[i].name;
    snprintf(buffer, static_cast<size_t>(size), "%u", static_cast<unsigned>(value));
    return buffer;
}

#define NAME(value) {value, #value}

const Name RENDER_STATE_NAMES[] = {
    NAME(D3DRS_ZENABLE),          NAME(D3DRS_SRCBLEND),
    NAME(D3DRS_DESTBLEND),        NAME(D3DRS_CULLMODE),
    NAME(D3DRS_ALPHABLENDENABLE), NAME(D3DRS_SPECULARENABLE),
    NAME(D3DRS_LIGHTING),         NAME(D3DRS_AMBIENT),
    NAME(D3DRS_COLORVERTEX),      NAME(D3DRS_LOCALVIEWER),
    NAME(D3DRS_DIFFUSEMATERIALSOURCE), NAME(D3DRS_SPECULARMATERIALSOURCE),
    NAME(D3DRS_AMBIENTMATERIALSOURCE), NAME(D3DRS_EMISSIVEMATERIALSOURCE),
    NAME(D3DRS_MULTISAMPLEANTIALIAS),  NAME(D3DRS_SCISSORTESTENABLE),
};

const Name STAGE_STATE_NAMES[] = {
    NAME(D3DTSS_COLOROP), NAME(D3DTSS_COLORARG1), NAME(D3DTSS_COLORARG2),
    NAME(D3DTSS_ALPHAOP), NAME(D3DTSS_ALPHAARG1), NAME(D3DTSS_ALPHAARG2),
};

const Name SAMPLER_STATE_NAMES[] = {NAME(D3DSAMP_MAGFILTER), NAME(D3DSAMP_MINFILTER)};

const Name TRANSFORM_NAMES[] = {NAME(D3DTS_VIEW), NAME(D3DTS_PROJECTION), NAME(D3DTS_WORLD)};

const Name PRIMITIVE_NAMES[] = {NAME(D3DPT_TRIANGLELIST), NAME(D3DPT_TRIANGLESTRIP)};

#undef NAME

} // namespace

D3D9DeviceBackend *D3D9CreateRecordingBackend()
{
    return new (std::nothrow) RecordingBackend();
}

void D3D9RecordingNote(const char *line)
{
    if (keep_log)
        calls.push_back(line);
}

HRESULT D3D9RecordingFault(const char *call)
{
    for (auto it = failures.begin(); it != failures.end(); ++it) {
        if (it->call != call)
            continue;
        HRESULT result = it->result;
        if (it->times > 0 && --it->times == 0)
            failures.erase(it);
        return result;
    }
    return S_OK;
}

const char *D3D9RenderStateName(DWORD state, char *buffer, int size)
{
    return FindName(RENDER_STATE_NAMES, sizeof(RENDER_STATE_NAMES) / sizeof(Name), state, buffer, size);
}

const char *D3D9StageStateName(DWORD type, char *buffer, int size)
{
    return FindName(STAGE_STATE_NAMES, sizeof(STAGE_STATE_NAMES) / sizeof(Name), type, buffer, size);
}

const char *D3D9SamplerStateName(DWORD type, char *buffer, int size)
{
    return FindName(SAMPLER_STATE_NAMES, sizeof(SAMPLER_STATE_NAMES) / sizeof(Name), type, buffer, size);
}

const char *D3D9TransformName(DWORD state, char *buffer, int size)
{
    return FindName(TRANSFORM_NAMES, sizeof(TRANSFORM_NAMES) / sizeof(Name), state, buffer, size);
}

const char *D3D9PrimitiveName(DWORD type, char *buffer, int size)
{
    return FindName(PRIMITIVE_NAMES, sizeof(PRIMITIVE_NAMES) / sizeof(Name), type, buffer, size);
}

const std::vector<std::string> &D3D9RecordingGetCalls()
{
    return calls;
}

const std::vector<D3D9RecordedDraw> &D3D9RecordingGetDraws()
{
    return draws;
}

void D3D9RecordingFailCall(const char *call, HRESULT result, int times)
{
    if (call && times != 0)
        failures.push_back({call, result, times});
}

void D3D9RecordingKeepLog(bool keep)
{
    keep_log = keep;
}

void D3D9RecordingReset()
{
    keep_log = true;
    calls.clear();
    draws.clear();
    failures.clear();
}
