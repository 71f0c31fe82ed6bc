#include "engine/graphics/EngTriangleList.h"
#include "engine/core/EngDebug.h"
#include "engine/graphics/EngTexture.h"
#include "engine/graphics/EngVertexBufferDX9.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngUtilsDX9.h"

#include <cstdint>
#include <cstring>

namespace {

// Where each part of a vertex sits, by type 2 to 7; -1 where the layout has none.
struct Layout {
    UINT stride;
    DWORD fvf;
    int colour;
    int tex;
};

const Layout LAYOUTS[8] = {
    {0, 0, -1, -1},
    {0, 0, -1, -1},
    {20, D3DFVF_XYZ | D3DFVF_TEX1, -1, 12},
    {32, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, -1, 24},
    {28, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE, 24, -1},
    {24, D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1, 12, 16},
    {36, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1, 24, 28},
    {16, D3DFVF_XYZ | D3DFVF_DIFFUSE, 12, -1},
};

const int CORNERS = 3;

bool IsDX9()
{
    return eng_device_type == EDT_DX9;
}

} // namespace

EngTriangleList::EngTriangleList()
    : m_created(0), m_type(static_cast<_EngTriangleListType>(0)), m_texture(nullptr), m_count(0), m_stride(0),
      m_buffer(nullptr), m_d3d_texture(nullptr), m_fvf(0)
{
}

EngTriangleList::~EngTriangleList()
{
    // Whatever the device kind now, the buffer held is given back.
    Destroy_DX9();
}

bool EngTriangleList::Create(_EngTriangleListType type, EngTexture *texture, unsigned count)
{
    return IsDX9() && Create_DX9(type, texture, count);
}

void EngTriangleList::SetPositions(unsigned index, float x0, float y0, float z0, float x1, float y1, float z1,
                                   float x2, float y2, float z2)
{
    if (IsDX9())
        SetPositions_DX9(index, x0, y0, z0, x1, y1, z1, x2, y2, z2);
}

void EngTriangleList::SetColour(unsigned index, float r, float g, float b, float a)
{
    if (IsDX9())
        SetColour_DX9(index, r, g, b, a);
}

void EngTriangleList::Draw()
{
    if (IsDX9())
        Draw_DX9();
}

void EngTriangleList::Destroy()
{
    if (IsDX9())
        Destroy_DX9();
}

bool EngTriangleList::Create_DX9(_EngTriangleListType type, EngTexture *texture, unsigned count)
{
    const char *where = "EngTriangleList::Create_DX9";
    if (!eng_d3d_device)
        return false;
    if (m_created)
        DebugError(where, "Warning - Already created");
    if (count == 0) {
        DebugError(where, "Invalid num triangles");
        return false;
    }
    Destroy_DX9();
    if (type < ETLT_POS_TEX || type > ETLT_POS_COL) {
        DebugError(where, "Invalid Type: %d", static_cast<int>(type));
        return false;
    }
    const Layout &layout = LAYOUTS[type];
    const uint64_t length = static_cast<uint64_t>(count) * layout.stride * CORNERS;
    if (length > UINT32_MAX) {
        DebugError(where, "Invalid num triangles");
        return false;
    }
    if (!EngUtilsDX9_CheckResult(where, "CreateVertexBuffer",
                                 eng_d3d_device->CreateVertexBuffer(static_cast<UINT>(length), D3DUSAGE_WRITEONLY,
                                                                    layout.fvf, D3DPOOL_MANAGED, &m_buffer, nullptr))) {
        m_buffer = nullptr;
        return false;
    }
    m_type = type;
    m_stride = layout.stride;
    m_fvf = layout.fvf;
    m_count = count;
    m_created = 1;

    // The buffer is written once here, whole, rather than triangle by triangle.
    void *data = nullptr;
    if (EngUtilsDX9_CheckResult(where, "Lock", m_buffer->Lock(0, 0, &data, 0))) {
        unsigned char *vertex = static_cast<unsigned char *>(data);
        const float coords[CORNERS][2] = {{0.0f, 0.0f}, {0.5f, 1.0f}, {1.0f, 0.0f}};
        const D3DCOLOR white = 0xFFFFFFFFu;
        for (uint64_t i = 0; i < static_cast<uint64_t>(count) * CORNERS; i++, vertex += m_stride) {
            if (layout.tex >= 0)
                std::memcpy(vertex + layout.tex, coords[i % CORNERS], sizeof(coords[0]));
            if (layout.colour >= 0)
                std::memcpy(vertex + layout.colour, &white, sizeof(white));
        }
        m_buffer->Unlock();
    }

    m_texture = texture;
    EngTextureDX9 *part = texture ? texture->GetTextureDX9() : nullptr;
    m_d3d_texture = part ? part->GetD3DTexture() : nullptr;
    return true;
}

unsigned char *EngTriangleList::LockTriangle(unsigned index, const char *where)
{
    if (!m_created || !m_buffer)
        return nullptr;
    if (index >= m_count) {
        DebugError(where, "Invalid Triangle %u (num=%u)", index, m_count);
        return nullptr;
    }
    void *data = nullptr;
    if (!EngUtilsDX9_CheckResult(where, "Lock", m_buffer->Lock(0, 0, &data, 0)))
        return nullptr;
    return static_cast<unsigned char *>(data) + static_cast<size_t>(index) * CORNERS * m_stride;
}

void EngTriangleList::Unlock()
{
    m_buffer->Unlock();
}

void EngTriangleList::SetPositions_DX9(unsigned index, float x0, float y0, float z0, float x1, float y1, float z1,
                                       float x2, float y2, float z2)
{
    // The 640 x 480 virtual screen onto clip space, y upwards.
    const _Vector3d p0 = {x0 / 320.0f - 1.0f, 1.0f - y0 / 240.0f, z0};
    const _Vector3d p1 = {x1 / 320.0f - 1.0f, 1.0f - y1 / 240.0f, z1};
    const _Vector3d p2 = {x2 / 320.0f - 1.0f, 1.0f - y2 / 240.0f, z2};
    SetPositionsP_DX9(index, &p0, &p1, &p2);
}

void EngTriangleList::SetPositionsP_DX9(unsigned index, const _Vector3d *p0, const _Vector3d *p1,
                                        const _Vector3d *p2)
{
    if (!p0 || !p1 || !p2)
        return;
    unsigned char *vertex = LockTriangle(index, "EngTriangleList::SetPositionsP_DX9");
    if (!vertex)
        return;
    const _Vector3d *points[CORNERS] = {p0, p1, p2};
    for (int i = 0; i < CORNERS; i++) {
        const float position[3] = {points[i]->x, points[i]->y, points[i]->z};
        std::memcpy(vertex + i * m_stride, position, sizeof(position));
    }
    Unlock();
}

void EngTriangleList::SetTextureCoordinates_DX9(unsigned index, float u0, float v0, float u1, float v1, float u2,
                                                float v2)
{
    if (!m_created || LAYOUTS[m_type].tex < 0)
        return;
    unsigned char *vertex = LockTriangle(index, "EngTriangleList::SetTextureCoordinates_DX9");
    if (!vertex)
        return;
    const float coords[CORNERS][2] = {{u0, v0}, {u1, v1}, {u2, v2}};
    for (int i = 0; i < CORNERS; i++)
        std::memcpy(vertex + i * m_stride + LAYOUTS[m_type].tex, coords[i], sizeof(coords[i]));
    Unlock();
}

void EngTriangleList::SetColour_DX9(unsigned index, float r, float g, float b, float a)
{
    const char *where = "EngTriangleList::SetColour_DX9";
    if (!m_created || !m_buffer)
        return;
    if (r < 0.0f || g < 0.0f || b < 0.0f || a < 0.0f) {
        DebugError(where, "Invalid values");
        return;
    }
    if (LAYOUTS[m_type].colour < 0)
        return;
    unsigned char *vertex = LockTriangle(index, where);
    if (!vertex)
        return;
    const D3DCOLOR colour = D3DCOLOR_ARGB(EngVertexBufferColourByte(a), EngVertexBufferColourByte(r),
                                          EngVertexBufferColourByte(g), EngVertexBufferColourByte(b));
    for (int i = 0; i < CORNERS; i++)
        std::memcpy(vertex + i * m_stride + LAYOUTS[m_type].colour, &colour, sizeof(colour));
    Unlock();
}

void EngTriangleList::Draw_DX9()
{
    if (!m_created || !m_buffer || !eng_d3d_device)
        return;
    if (m_d3d_texture)
        eng_d3d_device->SetTexture(0, m_d3d_texture);
    eng_d3d_device->SetFVF(m_fvf);
    eng_d3d_device->SetStreamSource(0, m_buffer, 0, m_stride);
    eng_d3d_device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, m_count);
    if (m_d3d_texture)
        eng_d3d_device->SetTexture(0, nullptr);
}

void EngTriangleList::Destroy_DX9()
{
    // Released whenever held, also while the device is being replaced.
    if (m_buffer)
        m_buffer->Release();
    m_buffer = nullptr;
    m_created = 0;
}
