// The states a device keeps: checked and stored here, used by the backend
// at the next clear or draw.
#include "platform/d3d9/D3D9Device.h"
#include "platform/d3d9/D3D9Internal.h"

#include <cstring>

namespace {

struct KnownRenderState {
    D3DRENDERSTATETYPE state;
    DWORD initial;
};

// Direct3D's values on a new device. D3DRS_ZENABLE depends on whether the
// device has a depth buffer (the device sets it).
const KnownRenderState RENDER_STATES[] = {
    {D3DRS_ZENABLE, D3DZB_FALSE},
    {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ALPHABLENDENABLE, FALSE},
    {D3DRS_SPECULARENABLE, FALSE},
    {D3DRS_LIGHTING, TRUE},
    {D3DRS_AMBIENT, 0},
    {D3DRS_COLORVERTEX, TRUE},
    {D3DRS_LOCALVIEWER, TRUE},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
    {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
    {D3DRS_AMBIENTMATERIALSOURCE, D3DMCS_MATERIAL},
    {D3DRS_EMISSIVEMATERIALSOURCE, D3DMCS_MATERIAL},
    {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
    {D3DRS_SCISSORTESTENABLE, FALSE},
};

// Values a state with a fixed range may take.
bool IsValidRenderStateValue(D3DRENDERSTATETYPE state, DWORD value)
{
    switch (state) {
    case D3DRS_ZENABLE: return value <= D3DZB_TRUE;
    case D3DRS_SRCBLEND:
    case D3DRS_DESTBLEND: return value >= D3DBLEND_ZERO && value <= D3DBLEND_SRCALPHASAT;
    case D3DRS_CULLMODE: return value >= D3DCULL_NONE && value <= D3DCULL_CCW;
    case D3DRS_DIFFUSEMATERIALSOURCE:
    case D3DRS_SPECULARMATERIALSOURCE:
    case D3DRS_AMBIENTMATERIALSOURCE:
    case D3DRS_EMISSIVEMATERIALSOURCE: return value <= D3DMCS_COLOR2;
    default: return true;
    }
}

bool IsSupportedTextureOp(DWORD op)
{
    return op == D3DTOP_DISABLE || op == D3DTOP_SELECTARG1 || op == D3DTOP_SELECTARG2 || op == D3DTOP_MODULATE ||
           op == D3DTOP_BLENDTEXTUREALPHA;
}

bool IsSupportedArgument(DWORD argument)
{
    return argument == D3DTA_DIFFUSE || argument == D3DTA_CURRENT || argument == D3DTA_TEXTURE;
}

} // namespace

bool D3D9IsKnownRenderState(DWORD state)
{
    for (const KnownRenderState &known : RENDER_STATES)
        if (static_cast<DWORD>(known.state) == state)
            return true;
    return false;
}

void D3D9SetDefaultStates(D3D9DeviceState *state)
{
    std::memset(state->render_states, 0, sizeof(state->render_states));
    for (const KnownRenderState &known : RENDER_STATES)
        state->render_states[known.state] = known.initial;
    for (DWORD stage = 0; stage < D3D9_MAX_STAGES; stage++) {
        DWORD *stage_states = state->stage_states[stage];
        // The first stage modulates colours and takes the texture's alpha;
        // the others are off.
        stage_states[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        stage_states[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        stage_states[D3DTSS_COLORARG1] = stage_states[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        stage_states[D3DTSS_COLORARG2] = stage_states[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        state->sampler_states[stage][D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        state->sampler_states[stage][D3DSAMP_MINFILTER] = D3DTEXF_POINT;
    }
}

HRESULT IDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    char name[48];
    Record("SetRenderState %s %u", D3D9RenderStateName(state, name, sizeof(name)), static_cast<unsigned>(value));
    HRESULT fault = Fault("SetRenderState");
    if (fault != S_OK)
        return fault;
    if (!D3D9IsKnownRenderState(state) || !IsValidRenderStateValue(state, value))
        return D3DERR_INVALIDCALL;
    m_state.render_states[state] = value;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetRenderState(D3DRENDERSTATETYPE state, DWORD *value)
{
    if (!value || !D3D9IsKnownRenderState(state))
        return D3DERR_INVALIDCALL;
    *value = m_state.render_states[state];
    return S_OK;
}

HRESULT IDirect3DDevice9::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    char name[48];
    Record("SetTextureStageState %u %s %u", static_cast<unsigned>(stage), D3D9StageStateName(type, name, sizeof(name)),
           static_cast<unsigned>(value));
    HRESULT fault = Fault("SetTextureStageState");
    if (fault != S_OK)
        return fault;
    if (stage >= D3D9_MAX_STAGES || type < D3DTSS_COLOROP || type > D3DTSS_ALPHAARG2)
        return D3DERR_INVALIDCALL;
    bool colour = type < D3DTSS_ALPHAOP;
    if ((type == D3DTSS_COLOROP || type == D3DTSS_ALPHAOP) && !IsSupportedTextureOp(value))
        return colour ? D3DERR_UNSUPPORTEDCOLOROPERATION : D3DERR_UNSUPPORTEDALPHAOPERATION;
    if (type != D3DTSS_COLOROP && type != D3DTSS_ALPHAOP && !IsSupportedArgument(value))
        return colour ? D3DERR_UNSUPPORTEDCOLORARG : D3DERR_UNSUPPORTEDALPHAARG;
    m_state.stage_states[stage][type] = value;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD *value)
{
    if (!value || stage >= D3D9_MAX_STAGES || type < D3DTSS_COLOROP || type > D3DTSS_ALPHAARG2)
        return D3DERR_INVALIDCALL;
    *value = m_state.stage_states[stage][type];
    return S_OK;
}

HRESULT IDirect3DDevice9::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value)
{
    char name[48];
    Record("SetSamplerState %u %s %u", static_cast<unsigned>(sampler), D3D9SamplerStateName(type, name, sizeof(name)),
           static_cast<unsigned>(value));
    HRESULT fault = Fault("SetSamplerState");
    if (fault != S_OK)
        return fault;
    if (sampler >= D3D9_MAX_STAGES || (type != D3DSAMP_MAGFILTER && type != D3DSAMP_MINFILTER))
        return D3DERR_INVALIDCALL;
    if (value != D3DTEXF_POINT && value != D3DTEXF_LINEAR)
        return D3DERR_UNSUPPORTEDTEXTUREFILTER;
    m_state.sampler_states[sampler][type] = value;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD *value)
{
    if (!value || sampler >= D3D9_MAX_STAGES || (type != D3DSAMP_MAGFILTER && type != D3DSAMP_MINFILTER))
        return D3DERR_INVALIDCALL;
    *value = m_state.sampler_states[sampler][type];
    return S_OK;
}

static D3DMATRIX *TransformOf(D3D9DeviceState *state, D3DTRANSFORMSTATETYPE type)
{
    switch (type) {
    case D3DTS_WORLD: return &state->world;
    case D3DTS_VIEW: return &state->view;
    case D3DTS_PROJECTION: return &state->projection;
    default: return nullptr;
    }
}

HRESULT IDirect3DDevice9::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX *matrix)
{
    char name[48];
    Record("SetTransform %s", D3D9TransformName(state, name, sizeof(name)));
    HRESULT fault = Fault("SetTransform");
    if (fault != S_OK)
        return fault;
    D3DMATRIX *kept = TransformOf(&m_state, state);
    if (!kept || !matrix)
        return D3DERR_INVALIDCALL;
    *kept = *matrix;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *matrix)
{
    D3DMATRIX *kept = TransformOf(&m_state, state);
    if (!kept || !matrix)
        return D3DERR_INVALIDCALL;
    *matrix = *kept;
    return S_OK;
}

HRESULT IDirect3DDevice9::SetViewport(const D3DVIEWPORT9 *viewport)
{
    if (viewport)
        Record("SetViewport %u %u %u %u %g %g", static_cast<unsigned>(viewport->X), static_cast<unsigned>(viewport->Y),
               static_cast<unsigned>(viewport->Width), static_cast<unsigned>(viewport->Height),
               static_cast<double>(viewport->MinZ), static_cast<double>(viewport->MaxZ));
    HRESULT fault = Fault("SetViewport");
    if (fault != S_OK)
        return fault;
    const D3DPRESENT_PARAMETERS &back = m_state.back_buffer;
    // 64-bit sums: a position near the top of a DWORD must not wrap inside.
    if (!viewport || viewport->Width == 0 || viewport->Height == 0 ||
        static_cast<unsigned long long>(viewport->X) + viewport->Width > back.BackBufferWidth ||
        static_cast<unsigned long long>(viewport->Y) + viewport->Height > back.BackBufferHeight ||
        !(viewport->MinZ >= 0.0f && viewport->MinZ <= viewport->MaxZ && viewport->MaxZ <= 1.0f))
        return D3DERR_INVALIDCALL;
    m_state.viewport = *viewport;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetViewport(D3DVIEWPORT9 *viewport)
{
    if (!viewport)
        return D3DERR_INVALIDCALL;
    *viewport = m_state.viewport;
    return S_OK;
}

HRESULT IDirect3DDevice9::SetScissorRect(const RECT *rect)
{
    if (rect)
        Record("SetScissorRect %ld %ld %ld %ld", rect->left, rect->top, rect->right, rect->bottom);
    HRESULT fault = Fault("SetScissorRect");
    if (fault != S_OK)
        return fault;
    if (!rect || rect->left > rect->right || rect->top > rect->bottom)
        return D3DERR_INVALIDCALL;
    m_state.scissor = *rect;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetScissorRect(RECT *rect)
{
    if (!rect)
        return D3DERR_INVALIDCALL;
    *rect = m_state.scissor;
    return S_OK;
}

HRESULT IDirect3DDevice9::SetMaterial(const D3DMATERIAL9 *material)
{
    Record("SetMaterial");
    HRESULT fault = Fault("SetMaterial");
    if (fault != S_OK)
        return fault;
    if (!material)
        return D3DERR_INVALIDCALL;
    m_state.material = *material;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetMaterial(D3DMATERIAL9 *material)
{
    if (!material)
        return D3DERR_INVALIDCALL;
    *material = m_state.material;
    return S_OK;
}

HRESULT IDirect3DDevice9::SetTexture(DWORD stage, IDirect3DBaseTexture9 *texture)
{
    if (texture) {
        const D3DSURFACE_DESC &desc = static_cast<IDirect3DTexture9 *>(texture)->GetDescription();
        Record("SetTexture %u %ux%u", static_cast<unsigned>(stage), desc.Width, desc.Height);
    } else {
        Record("SetTexture %u null", static_cast<unsigned>(stage));
    }
    HRESULT fault = Fault("SetTexture");
    if (fault != S_OK)
        return fault;
    if (stage >= D3D9_MAX_STAGES || (texture && texture->m_device != this))
        return D3DERR_INVALIDCALL;
    m_state.textures[stage] = texture;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetTexture(DWORD stage, IDirect3DBaseTexture9 **texture)
{
    if (stage >= D3D9_MAX_STAGES || !texture)
        return D3DERR_INVALIDCALL;
    *texture = m_state.textures[stage];
    if (*texture)
        (*texture)->AddRef();
    return S_OK;
}

HRESULT IDirect3DDevice9::SetFVF(DWORD fvf)
{
    Record("SetFVF 0x%x", static_cast<unsigned>(fvf));
    HRESULT fault = Fault("SetFVF");
    if (fault != S_OK)
        return fault;
    m_state.fvf = fvf;
    return S_OK;
}

HRESULT IDirect3DDevice9::GetFVF(DWORD *fvf)
{
    if (!fvf)
        return D3DERR_INVALIDCALL;
    *fvf = m_state.fvf;
    return S_OK;
}

HRESULT IDirect3DDevice9::SetStreamSource(UINT stream, IDirect3DVertexBuffer9 *buffer, UINT offset, UINT stride)
{
    Record("SetStreamSource %u %s %u %u", stream, buffer ? "buffer" : "null", offset, stride);
    HRESULT fault = Fault("SetStreamSource");
    if (fault != S_OK)
        return fault;
    if (stream != 0 || (buffer && buffer->m_device != this))
        return D3DERR_INVALIDCALL;
    m_state.stream = buffer;
    m_state.stream_offset = offset;
    m_state.stream_stride = stride;
    return S_OK;
}

UINT D3D9VertexSize(DWORD fvf)
{
    const DWORD known = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
    DWORD position = fvf & D3DFVF_POSITION_MASK;
    DWORD sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if ((fvf & ~known) || (position != D3DFVF_XYZ && position != D3DFVF_XYZRHW) || sets > 8)
        return 0;
    UINT size = position == D3DFVF_XYZ ? 12 : 16;
    if (fvf & D3DFVF_NORMAL)
        size += 12;
    if (fvf & D3DFVF_DIFFUSE)
        size += 4;
    if (fvf & D3DFVF_SPECULAR)
        size += 4;
    return size + sets * 8;
}
