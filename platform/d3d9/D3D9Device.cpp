#include "platform/d3d9/D3D9Device.h"
#include "platform/d3d9/D3D9Internal.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <new>

namespace {

const D3DMATRIX IDENTITY = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

// Textures and surfaces larger than this are refused.
const UINT MAX_SIZE = 16384;

bool HasStencil(D3DFORMAT format)
{
    return format == D3DFMT_D24S8 || format == D3DFMT_D15S1 || format == D3DFMT_D24X4S4;
}

// The part of the rectangle inside the area; false when nothing is left.
bool Intersect(const D3DRECT &a, const D3DRECT &b, D3DRECT *out)
{
    *out = {std::max(a.x1, b.x1), std::max(a.y1, b.y1), std::min(a.x2, b.x2), std::min(a.y2, b.y2)};
    return out->x1 < out->x2 && out->y1 < out->y2;
}

} // namespace

void D3D9FillCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9 *caps)
{
    *caps = D3DCAPS9();
    caps->DeviceType = type;
    caps->AdapterOrdinal = adapter;
    // Frames are shown at once or at the display's next refresh.
    caps->PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
    caps->DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;
    caps->MaxTextureWidth = MAX_SIZE;
    caps->MaxTextureHeight = MAX_SIZE;
}

IDirect3DDevice9::IDirect3DDevice9(D3D9DeviceBackend *backend, const D3DPRESENT_PARAMETERS *parameters,
                                   D3DDEVTYPE type)
    : m_backend(backend), m_type(type), m_references(1), m_in_scene(false), m_state()
{
    D3D9SetDefaultStates(&m_state);
    m_state.render_states[D3DRS_ZENABLE] = parameters->EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    m_state.world = m_state.view = m_state.projection = IDENTITY;
    m_state.back_buffer = *parameters;
    m_state.viewport = {0, 0, parameters->BackBufferWidth, parameters->BackBufferHeight, 0.0f, 1.0f};
    m_state.scissor = {0, 0, static_cast<LONG>(parameters->BackBufferWidth),
                       static_cast<LONG>(parameters->BackBufferHeight)};
    D3D9CountDevice(1);
}

IDirect3DDevice9::~IDirect3DDevice9()
{
    Record("Release device");
    delete m_backend;
    D3D9CountDevice(-1);
}

ULONG IDirect3DDevice9::AddRef()
{
    return ++m_references;
}

ULONG IDirect3DDevice9::Release()
{
    if (--m_references > 0)
        return m_references;
    delete this;
    return 0;
}

void IDirect3DDevice9::Record(const char *format, ...)
{
    if (!m_backend->Records())
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    m_backend->Note(line);
}

HRESULT IDirect3DDevice9::Fault(const char *call)
{
    return m_backend->Fault(call);
}

void IDirect3DDevice9::Unbind(const void *object)
{
    for (IDirect3DBaseTexture9 *&texture : m_state.textures)
        if (texture == object)
            texture = nullptr;
    if (m_state.stream == object)
        m_state.stream = nullptr;
}

HRESULT IDirect3DDevice9::TestCooperativeLevel()
{
    Record("TestCooperativeLevel");
    return Fault("TestCooperativeLevel");
}

HRESULT IDirect3DDevice9::GetDeviceCaps(D3DCAPS9 *caps)
{
    HRESULT fault = Fault("GetDeviceCaps");
    if (fault != S_OK)
        return fault;
    if (!caps)
        return D3DERR_INVALIDCALL;
    D3D9FillCaps(D3DADAPTER_DEFAULT, m_type, caps);
    return S_OK;
}

HRESULT IDirect3DDevice9::GetBackBuffer(UINT swap_chain, UINT index, D3DBACKBUFFER_TYPE type,
                                        IDirect3DSurface9 **surface)
{
    HRESULT fault = Fault("GetBackBuffer");
    if (fault != S_OK)
        return fault;
    if (swap_chain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO || !surface)
        return D3DERR_INVALIDCALL;
    const D3DPRESENT_PARAMETERS &back = m_state.back_buffer;
    D3DSURFACE_DESC desc = {back.BackBufferFormat, D3DRTYPE_SURFACE, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                            back.MultiSampleType,  back.MultiSampleQuality, back.BackBufferWidth,
                            back.BackBufferHeight};
    *surface = new (std::nothrow) IDirect3DSurface9(this, desc, false);
    return *surface ? S_OK : E_OUTOFMEMORY;
}

HRESULT IDirect3DDevice9::BeginScene()
{
    Record("BeginScene");
    HRESULT fault = Fault("BeginScene");
    if (fault != S_OK)
        return fault;
    if (m_in_scene)
        return D3DERR_INVALIDCALL;
    m_in_scene = true;
    return S_OK;
}

HRESULT IDirect3DDevice9::EndScene()
{
    Record("EndScene");
    HRESULT fault = Fault("EndScene");
    if (fault != S_OK)
        return fault;
    if (!m_in_scene)
        return D3DERR_INVALIDCALL;
    m_in_scene = false;
    return S_OK;
}

HRESULT IDirect3DDevice9::Clear(DWORD count, const D3DRECT *rects, DWORD flags, D3DCOLOR colour, float z,
                                DWORD stencil)
{
    Record("Clear %u %x %08x %g %u", static_cast<unsigned>(count), static_cast<unsigned>(flags),
           static_cast<unsigned>(colour), static_cast<double>(z), static_cast<unsigned>(stencil));
    HRESULT fault = Fault("Clear");
    if (fault != S_OK)
        return fault;
    const D3DPRESENT_PARAMETERS &back = m_state.back_buffer;
    const DWORD all = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if ((count && !rects) || !flags || (flags & ~all) || !(z >= 0.0f && z <= 1.0f) ||
        ((flags & D3DCLEAR_ZBUFFER) && !back.EnableAutoDepthStencil) ||
        ((flags & D3DCLEAR_STENCIL) && !(back.EnableAutoDepthStencil && HasStencil(back.AutoDepthStencilFormat))))
        return D3DERR_INVALIDCALL;

    // A clear reaches only the viewport, and the scissor rectangle while the
    // scissor test is on.
    const D3DVIEWPORT9 &viewport = m_state.viewport;
    D3DRECT area = {static_cast<LONG>(viewport.X), static_cast<LONG>(viewport.Y),
                    static_cast<LONG>(viewport.X + viewport.Width), static_cast<LONG>(viewport.Y + viewport.Height)};
    if (m_state.render_states[D3DRS_SCISSORTESTENABLE]) {
        const RECT &scissor = m_state.scissor;
        D3DRECT cut = {scissor.left, scissor.top, scissor.right, scissor.bottom};
        if (!Intersect(area, cut, &area))
            return S_OK;
    }
    if (!count)
        return m_backend->Clear(m_state, 1, &area, flags, colour, z, stencil);
    // The rectangles' parts inside the area go to the backend a few at a
    // time, so a clear allocates nothing.
    D3DRECT parts[16];
    DWORD made = 0;
    HRESULT result = S_OK;
    for (DWORD i = 0; i < count; i++) {
        if (Intersect(rects[i], area, &parts[made]))
            made++;
        if (made == sizeof(parts) / sizeof(parts[0]) || (i + 1 == count && made)) {
            HRESULT cleared = m_backend->Clear(m_state, made, parts, flags, colour, z, stencil);
            if (result == S_OK)
                result = cleared;
            made = 0;
        }
    }
    return result;
}

HRESULT IDirect3DDevice9::Present(const RECT *source, const RECT *destination, HWND window, const void *dirty_region)
{
    Record("Present");
    HRESULT fault = Fault("Present");
    if (fault != S_OK)
        return fault;
    if (source || destination || window || dirty_region)
        return D3DERR_INVALIDCALL;
    return m_backend->Present();
}

HRESULT IDirect3DDevice9::DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count)
{
    char name[32];
    Record("DrawPrimitive %s %u %u", D3D9PrimitiveName(type, name, sizeof(name)), start, count);
    HRESULT fault = Fault("DrawPrimitive");
    if (fault != S_OK)
        return fault;
    UINT vertex_size = D3D9VertexSize(m_state.fvf);
    IDirect3DVertexBuffer9 *stream = m_state.stream;
    if (!m_in_scene || count == 0 || !stream || !vertex_size || m_state.stream_stride < vertex_size)
        return D3DERR_INVALIDCALL;
    uint64_t vertices;
    if (type == D3DPT_TRIANGLELIST)
        vertices = static_cast<uint64_t>(count) * 3;
    else if (type == D3DPT_TRIANGLESTRIP)
        vertices = static_cast<uint64_t>(count) + 2;
    else
        return D3DERR_INVALIDCALL;
    uint64_t stride = m_state.stream_stride;
    uint64_t first = m_state.stream_offset + static_cast<uint64_t>(start) * stride;
    if (first + (vertices - 1) * stride + vertex_size > stream->GetLength())
        return D3DERR_INVALIDCALL;
    return m_backend->Draw(m_state, type, count, stream->GetData() + first, static_cast<UINT>(vertices));
}

HRESULT IDirect3DDevice9::CreateTexture(UINT width, UINT height, UINT, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DTexture9 **texture, HANDLE *shared)
{
    Record("CreateTexture %ux%u %d", width, height, format);
    HRESULT fault = Fault("CreateTexture");
    if (fault != S_OK)
        return fault;
    const DWORD usages = D3DUSAGE_RENDERTARGET | D3DUSAGE_DYNAMIC;
    if (!texture || shared || (usage & ~usages) || !D3D9FormatBytesPerPixel(format) || width == 0 || height == 0 ||
        width > MAX_SIZE || height > MAX_SIZE)
        return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc = {format, D3DRTYPE_TEXTURE, usage, pool, D3DMULTISAMPLE_NONE, 0, width, height};
    IDirect3DTexture9 *made = new (std::nothrow) IDirect3DTexture9(this, desc);
    if (made && !made->m_pixels.bits) {
        made->Release();
        made = nullptr;
    }
    *texture = made;
    return made ? S_OK : E_OUTOFMEMORY;
}

HRESULT IDirect3DDevice9::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL,
                                             IDirect3DVertexBuffer9 **buffer, HANDLE *shared)
{
    Record("CreateVertexBuffer %u 0x%x", length, static_cast<unsigned>(fvf));
    HRESULT fault = Fault("CreateVertexBuffer");
    if (fault != S_OK)
        return fault;
    if (!buffer || shared || length == 0)
        return D3DERR_INVALIDCALL;
    IDirect3DVertexBuffer9 *made = new (std::nothrow) IDirect3DVertexBuffer9(this, length, usage, fvf);
    if (made && !made->m_data) {
        made->Release();
        made = nullptr;
    }
    *buffer = made;
    return made ? S_OK : E_OUTOFMEMORY;
}

HRESULT IDirect3DDevice9::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                                      IDirect3DSurface9 **surface, HANDLE *shared)
{
    Record("CreateOffscreenPlainSurface %ux%u %d", width, height, format);
    HRESULT fault = Fault("CreateOffscreenPlainSurface");
    if (fault != S_OK)
        return fault;
    if (!surface || shared || pool == D3DPOOL_MANAGED || !D3D9FormatBytesPerPixel(format) || width == 0 ||
        height == 0 || width > MAX_SIZE || height > MAX_SIZE)
        return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc = {format, D3DRTYPE_SURFACE, 0, pool, D3DMULTISAMPLE_NONE, 0, width, height};
    IDirect3DSurface9 *made = new (std::nothrow) IDirect3DSurface9(this, desc, true);
    if (made && !made->IsReady()) {
        made->Release();
        made = nullptr;
    }
    *surface = made;
    return made ? S_OK : E_OUTOFMEMORY;
}

HRESULT IDirect3DDevice9::CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9 **query)
{
    Record("CreateQuery %d", type);
    HRESULT fault = Fault("CreateQuery");
    if (fault != S_OK)
        return fault;
    if (type != D3DQUERYTYPE_EVENT)
        return D3DERR_NOTAVAILABLE;
    // Without an out pointer the call only asks whether the type is there.
    if (!query)
        return S_OK;
    *query = new (std::nothrow) IDirect3DQuery9(this);
    return *query ? S_OK : E_OUTOFMEMORY;
}

HRESULT IDirect3DDevice9::ColorFill(IDirect3DSurface9 *surface, const RECT *rect, D3DCOLOR colour)
{
    Record("ColorFill %08x", static_cast<unsigned>(colour));
    HRESULT fault = Fault("ColorFill");
    if (fault != S_OK)
        return fault;
    if (!surface || surface->m_device != this)
        return D3DERR_INVALIDCALL;
    return surface->Fill(rect, colour);
}
