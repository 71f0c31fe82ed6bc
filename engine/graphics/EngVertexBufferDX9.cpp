#include "engine/graphics/EngVertexBufferDX9.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngUtilsDX9.h"
#include "engine/runtime/EngWindow.h"

#include <cstring>

namespace {

// Where each part of a vertex sits, by type; -1 where the layout has none.
struct Layout {
    UINT stride;
    DWORD fvf;
    int normal;
    int colour;
    int tex;
    bool pretransformed;
    const char *lock_name;
};

const Layout LAYOUTS[10] = {
    {0, 0, -1, -1, -1, false, "Lock"},
    {20, D3DFVF_XYZ | D3DFVF_TEX1, -1, -1, 12, false, "Lock[EVBT_POS_TEX]"},
    {32, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1, 12, -1, 24, false, "Lock[EVBT_POS_NORM_TEX]"},
    {24, D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1, -1, 12, 16, false, "Lock[EVBT_POS_COL_TEX]"},
    {36, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1, 12, 24, 28, false, "Lock[EVBT_POS_NORM_COL_TEX]"},
    {40, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1, 12, 24, 32, false,
     "Lock[EVBT_POS_NORM_COL_SPEC_TEX]"},
    {16, D3DFVF_XYZ | D3DFVF_DIFFUSE, -1, 12, -1, false, "Lock[EVBT_POS_COL]"},
    {24, D3DFVF_XYZRHW | D3DFVF_TEX1, -1, -1, 16, true, "Lock[EVBT_POS_TEX_2D]"},
    {28, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, -1, 16, 20, true, "Lock[EVBT_POS_COL_TEX_2D]"},
    {20, D3DFVF_XYZRHW | D3DFVF_DIFFUSE, -1, 16, -1, true, "Lock[EVBT_POS_COL_2D]"},
};

const int CORNERS = 4;

void WriteFloats(unsigned char *at, const float *values, int count)
{
    std::memcpy(at, values, sizeof(float) * count);
}

bool SameVector(const _Vector3d &a, const _Vector3d &b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

} // namespace

unsigned char EngVertexBufferColourByte(float value)
{
    // Written so that NaN gives 0 as well.
    if (value >= 1.0f)
        return 255;
    if (!(value > 0.0f))
        return 0;
    return static_cast<unsigned char>(value * 255.0f);
}

EngVertexBufferDX9::EngVertexBufferDX9(const char *id)
    : m_type(EVBT_NONE), m_id(nullptr), m_buffer(nullptr), m_texture(nullptr), m_stride(0), m_fvf(0),
      m_plane_a{-1.0f, -1.0f, -1.0f}, m_plane_b{-1.0f, -1.0f, -1.0f}, m_position_mode(ENG_VB_POSITION_RECT),
      m_created(0)
{
    ResetCaches();
    SetID(id);
}

EngVertexBufferDX9::~EngVertexBufferDX9()
{
    Destroy();
    SetID(nullptr);
}

void EngVertexBufferDX9::SetID(const char *id)
{
    if (m_id) {
        EngFree(m_id, 0, "EngVertexBufferDX9::SetID");
        m_id = nullptr;
    }
    if (id && id[0])
        m_id = EngMallocStringFromString(id, 1, "EngVertexBufferDX9::SetID");
}

void EngVertexBufferDX9::ResetCaches()
{
    for (int i = 0; i < 4; i++)
        m_position[i] = m_tex_coords[i] = m_colour[i] = -1.0f;
    for (float &n : m_normal)
        n = -1.0f;
    m_plane_a = m_plane_b = {-1.0f, -1.0f, -1.0f};
    m_position_mode = ENG_VB_POSITION_RECT;
}

void EngVertexBufferDX9::GetPlaneCache(_Vector3d *a, _Vector3d *b) const
{
    if (a)
        *a = m_plane_a;
    if (b)
        *b = m_plane_b;
}

bool EngVertexBufferDX9::Create(_EngVertexBufferType type, EngTexture *texture)
{
    const char *where = "EngVertexBufferDX9::Create";
    if (!eng_d3d_device)
        return false;
    if (m_created)
        DebugError(where, "Warning - Already created");
    Destroy();
    if (type < EVBT_POS_TEX || type > EVBT_POS_COL_2D) {
        DebugError(where, "Invalid Type: %d", static_cast<int>(type));
        return false;
    }
    const Layout &layout = LAYOUTS[type];
    if (!EngUtilsDX9_CheckResult(where, "CreateVertexBuffer",
                                 eng_d3d_device->CreateVertexBuffer(CORNERS * layout.stride, D3DUSAGE_WRITEONLY,
                                                                    layout.fvf, D3DPOOL_MANAGED, &m_buffer, nullptr))) {
        m_buffer = nullptr;
        return false;
    }
    m_type = type;
    m_stride = layout.stride;
    m_fvf = layout.fvf;
    m_created = 1;

    SetTextureCoordinatesToDefault();
    if (layout.colour >= 0)
        SetColour(1.0f, 1.0f, 1.0f, 1.0f);
    if (layout.normal >= 0)
        SetNormal(0.0f, 0.0f, -1.0f);
    m_position_mode = ENG_VB_POSITION_RECT;

    if (texture) {
        EngTextureDX9 *part = texture->GetTextureDX9();
        m_texture = part ? part->GetD3DTexture() : nullptr;
        if (!m_texture)
            DebugError(where, "Could not get dx texture.");
    }
    return true;
}

void EngVertexBufferDX9::Destroy()
{
    // The buffer goes whenever there is one, also while the device is being
    // replaced, so that nothing holds the old device alive.
    if (m_buffer)
        m_buffer->Release();
    m_buffer = nullptr;
    m_created = 0;
    m_type = EVBT_NONE;
    m_texture = nullptr;
    m_stride = 0;
    m_fvf = 0;
    ResetCaches();
}

unsigned char *EngVertexBufferDX9::Lock(const char *where)
{
    void *data = nullptr;
    if (!EngUtilsDX9_CheckResult(where, LAYOUTS[m_type].lock_name, m_buffer->Lock(0, 0, &data, 0)))
        return nullptr;
    return static_cast<unsigned char *>(data);
}

void EngVertexBufferDX9::Unlock()
{
    m_buffer->Unlock();
}

void EngVertexBufferDX9::SetPosition(float x, float y, float w, float h)
{
    if (!m_created || !m_buffer)
        return;
    if (m_position_mode == ENG_VB_POSITION_RECT && x == m_position[0] && y == m_position[1] && w == m_position[2] &&
        h == m_position[3])
        return;
    unsigned char *data = Lock("EngVertexBufferDX9::SetPosition");
    if (!data)
        return;
    if (LAYOUTS[m_type].pretransformed) {
        // Half a pixel beyond the rectangle on every side, so that with the
        // device's pixel centres the quad covers exactly its pixels.
        const float corners[CORNERS][4] = {{x - 0.5f, y + h + 0.5f, 0.0f, 1.0f},
                                           {x - 0.5f, y - 0.5f, 0.0f, 1.0f},
                                           {x + w + 0.5f, y + h + 0.5f, 0.0f, 1.0f},
                                           {x + w + 0.5f, y - 0.5f, 0.0f, 1.0f}};
        for (int i = 0; i < CORNERS; i++)
            WriteFloats(data + i * m_stride, corners[i], 4);
    } else {
        // y grows downwards for the caller and upwards in the world.
        const float corners[CORNERS][3] = {
            {x, -(y + h), 0.0f}, {x, -y, 0.0f}, {x + w, -(y + h), 0.0f}, {x + w, -y, 0.0f}};
        for (int i = 0; i < CORNERS; i++)
            WriteFloats(data + i * m_stride, corners[i], 3);
    }
    Unlock();
    m_position[0] = x;
    m_position[1] = y;
    m_position[2] = w;
    m_position[3] = h;
    m_position_mode = ENG_VB_POSITION_RECT;
}

void EngVertexBufferDX9::SetPositionToDimension(const _Dimension *dimension)
{
    if (dimension)
        SetPosition(dimension->x, dimension->y, dimension->w, dimension->h);
}

void EngVertexBufferDX9::SetPositionRatioed(float x, float y, float w, float h)
{
    SetPosition(x * eng_screen_ratio_x, y * eng_screen_ratio_y, w * eng_screen_ratio_x, h * eng_screen_ratio_y);
}

void EngVertexBufferDX9::SetPositions3dVec3(char plane, const _Vector3d *a, const _Vector3d *b)
{
    const char *where = "EngVertexBufferDX9::SetPositions3dVec3";
    if (!m_created || !m_buffer || !a || !b)
        return;
    switch (m_type) {
    case EVBT_POS_TEX_2D:
        DebugError(where, "Not supported for 2D Textures (1) (could be upgraded if needed)");
        return;
    case EVBT_POS_COL_TEX_2D:
        DebugError(where, "Not supported for 2D Textures (2) (could be upgraded if needed)");
        return;
    case EVBT_POS_COL_2D:
        DebugError(where, "Not supported for 2D Textures (3) (could be upgraded if needed)");
        return;
    default:
        break;
    }
    if (plane < 0 || plane > 2)
        return;
    if (m_position_mode == static_cast<unsigned char>(plane) && SameVector(*a, m_plane_a) && SameVector(*b, m_plane_b))
        return;
    float corners[CORNERS][3];
    if (plane == 0) {
        const float xy[CORNERS][2] = {{b->x, a->y}, {b->x, b->y}, {a->x, a->y}, {a->x, b->y}};
        for (int i = 0; i < CORNERS; i++)
            corners[i][0] = xy[i][0], corners[i][1] = xy[i][1], corners[i][2] = a->z;
    } else if (plane == 1) {
        const float xz[CORNERS][2] = {{b->x, a->z}, {b->x, b->z}, {a->x, a->z}, {a->x, b->z}};
        for (int i = 0; i < CORNERS; i++)
            corners[i][0] = xz[i][0], corners[i][1] = a->y, corners[i][2] = xz[i][1];
    } else {
        const float yz[CORNERS][2] = {{b->y, a->z}, {b->y, b->z}, {a->y, a->z}, {a->y, b->z}};
        for (int i = 0; i < CORNERS; i++)
            corners[i][0] = a->x, corners[i][1] = yz[i][0], corners[i][2] = yz[i][1];
    }
    unsigned char *data = Lock(where);
    if (!data)
        return;
    for (int i = 0; i < CORNERS; i++)
        WriteFloats(data + i * m_stride, corners[i], 3);
    Unlock();
    m_plane_a = *a;
    m_plane_b = *b;
    m_position_mode = static_cast<unsigned char>(plane);
}

void EngVertexBufferDX9::SetTextureCoordinates(float s0, float t0, float s1, float t1)
{
    if (!m_created || !m_buffer || LAYOUTS[m_type].tex < 0)
        return;
    if (s0 == m_tex_coords[0] && t0 == m_tex_coords[1] && s1 == m_tex_coords[2] && t1 == m_tex_coords[3])
        return;
    unsigned char *data = Lock("EngVertexBufferDX9::SetTextureCoordinates");
    if (!data)
        return;
    // (s0, t0) is the top-left corner of the texture rectangle.
    const float coords[CORNERS][2] = {{s0, t1}, {s0, t0}, {s1, t1}, {s1, t0}};
    for (int i = 0; i < CORNERS; i++)
        WriteFloats(data + i * m_stride + LAYOUTS[m_type].tex, coords[i], 2);
    Unlock();
    m_tex_coords[0] = s0;
    m_tex_coords[1] = t0;
    m_tex_coords[2] = s1;
    m_tex_coords[3] = t1;
}

void EngVertexBufferDX9::SetTextureCoordinatesToDefault()
{
    SetTextureCoordinates(0.0f, 0.0f, 1.0f, 1.0f);
}

void EngVertexBufferDX9::SetColour(float r, float g, float b, float a)
{
    if (!m_created || !m_buffer || LAYOUTS[m_type].colour < 0)
        return;
    // A negative channel keeps the colour: the caller changes only the alpha.
    const bool new_colour = r >= 0.0f && g >= 0.0f && b >= 0.0f;
    if (!new_colour) {
        r = m_colour[0] < 0.0f ? 1.0f : m_colour[0];
        g = m_colour[1] < 0.0f ? 1.0f : m_colour[1];
        b = m_colour[2] < 0.0f ? 1.0f : m_colour[2];
    }
    unsigned char *data = Lock("EngVertexBufferDX9::SetColour");
    if (!data)
        return;
    const D3DCOLOR colour = D3DCOLOR_ARGB(EngVertexBufferColourByte(a), EngVertexBufferColourByte(r),
                                          EngVertexBufferColourByte(g), EngVertexBufferColourByte(b));
    for (int i = 0; i < CORNERS; i++)
        std::memcpy(data + i * m_stride + LAYOUTS[m_type].colour, &colour, sizeof(colour));
    Unlock();
    if (new_colour) {
        m_colour[0] = r;
        m_colour[1] = g;
        m_colour[2] = b;
    }
    m_colour[3] = a;
}

void EngVertexBufferDX9::SetNormal(float x, float y, float z)
{
    if (!m_created || !m_buffer || LAYOUTS[m_type].normal < 0)
        return;
    if (x == m_normal[0] && y == m_normal[1] && z == m_normal[2])
        return;
    unsigned char *data = Lock("EngVertexBufferDX9::SetNormal");
    if (!data)
        return;
    const float normal[3] = {x, y, z};
    for (int i = 0; i < CORNERS; i++)
        WriteFloats(data + i * m_stride + LAYOUTS[m_type].normal, normal, 3);
    Unlock();
    m_normal[0] = x;
    m_normal[1] = y;
    m_normal[2] = z;
}

void EngVertexBufferDX9::Draw()
{
    if (!m_created || !m_buffer || !eng_d3d_device)
        return;
    if (m_type == EVBT_NONE) {
        DebugErrorCode("EngVertexBufferDX9::Draw", 'NOSU');
        return;
    }
    if (m_texture)
        eng_d3d_device->SetTexture(0, m_texture);
    eng_d3d_device->SetFVF(m_fvf);
    eng_d3d_device->SetStreamSource(0, m_buffer, 0, m_stride);
    eng_d3d_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    if (m_texture)
        eng_d3d_device->SetTexture(0, nullptr);
}
