// One quad of four vertices, drawn as a triangle strip, in one of nine vertex
// layouts: the drawing unit of textures and font characters. The vertices
// live in a write-only managed vertex buffer; every change locks the whole
// buffer, writes and unlocks. The setters remember what they wrote, so
// repeating a call with the same values costs nothing.
//
// Corner order: 0 bottom-left, 1 top-left, 2 bottom-right, 3 top-right,
// which the strip draws as the triangles 0-1-2 and 1-2-3.
#pragma once

#include "engine/core/EngMath.h"
#include "platform/d3d9/D3D9.h"

class EngTexture;

// Colours are D3DCOLOR (ARGB). Types 7 to 9 are pre-transformed: positions
// are back-buffer pixels and the device's matrices do not apply.
enum _EngVertexBufferType : int {
    EVBT_NONE = 0,
    EVBT_POS_TEX = 1,               // x, y, z, u, v
    EVBT_POS_NORM_TEX = 2,          // x, y, z, nx, ny, nz, u, v
    EVBT_POS_COL_TEX = 3,           // x, y, z, colour, u, v
    EVBT_POS_NORM_COL_TEX = 4,      // x, y, z, nx, ny, nz, colour, u, v
    EVBT_POS_NORM_COL_SPEC_TEX = 5, // x, y, z, nx, ny, nz, colour, specular, u, v
    EVBT_POS_COL = 6,               // x, y, z, colour
    EVBT_POS_TEX_2D = 7,            // x, y, z, rhw, u, v
    EVBT_POS_COL_TEX_2D = 8,        // x, y, z, rhw, colour, u, v
    EVBT_POS_COL_2D = 9,            // x, y, z, rhw, colour
};

// The positioning mode after SetPosition; SetPositions3dVec3 leaves its plane.
#define ENG_VB_POSITION_RECT 255

class EngVertexBufferDX9 {
public:
    // id may be null.
    explicit EngVertexBufferDX9(const char *id = nullptr);
    ~EngVertexBufferDX9();
    EngVertexBufferDX9(const EngVertexBufferDX9 &) = delete;
    EngVertexBufferDX9 &operator=(const EngVertexBufferDX9 &) = delete;

    // A name for the caller's use, kept as a copy; null or "" leaves none.
    void SetID(const char *id);
    const char *GetID() const { return m_id; }

    // A new vertex buffer of the type (an existing one goes first), drawing
    // with the texture's Direct3D texture when a texture is given. White,
    // default texture coordinates and the normal (0, 0, -1) where the layout
    // has them. False without a device or for a type outside 1..9.
    bool Create(_EngVertexBufferType type, EngTexture *texture);
    // Releases the vertex buffer; the caches and the positioning mode are
    // back as after construction. The id stays.
    void Destroy();

    // The rectangle x, y, w, h: for types 1 to 6 in the caller's units with y
    // growing downwards (the quad spans x..x+w and -(y+h)..-y); for types 7
    // to 9 in pixels, the quad reaching half a pixel beyond the rectangle on
    // every side.
    void SetPosition(float x, float y, float w, float h);
    // Null does nothing.
    void SetPositionToDimension(const _Dimension *dimension);
    // In units of the 640 x 480 virtual screen, scaled by the screen ratios.
    void SetPositionRatioed(float x, float y, float w, float h);
    // Types 1 to 6: the quad in an axis plane through a, from a to b. Plane 0
    // lies at z = a.z, 1 at y = a.y, 2 at x = a.x; other planes and null
    // vectors do nothing.
    void SetPositions3dVec3(char plane, const _Vector3d *a, const _Vector3d *b);
    // (s0, t0) at the top-left corner, (s1, t1) at the bottom-right.
    void SetTextureCoordinates(float s0, float t0, float s1, float t1);
    void SetTextureCoordinatesToDefault();
    // Channels 0 to 1, clamped to a byte. A negative r, g or b keeps the
    // colour set last (white where none was) and changes only the alpha.
    void SetColour(float r, float g, float b, float a);
    void SetNormal(float x, float y, float z);
    void Draw();

    bool IsCreated() const { return m_created != 0; }
    _EngVertexBufferType GetType() const { return m_type; }
    IDirect3DVertexBuffer9 *GetVertexBuffer() const { return m_buffer; }
    // What the setters last wrote (-1 each before they first write).
    unsigned char GetPositionMode() const { return m_position_mode; }
    const float *GetPositionCache() const { return m_position; }
    void GetPlaneCache(_Vector3d *a, _Vector3d *b) const;
    const float *GetTextureCoordinateCache() const { return m_tex_coords; }
    const float *GetColourCache() const { return m_colour; }
    const float *GetNormalCache() const { return m_normal; }

private:
    void ResetCaches();
    // Locks the whole buffer for a setter; null (reported) when that fails.
    unsigned char *Lock(const char *where);
    void Unlock();

    _EngVertexBufferType m_type;
    char *m_id;
    IDirect3DVertexBuffer9 *m_buffer;
    IDirect3DTexture9 *m_texture;
    UINT m_stride;
    DWORD m_fvf;
    float m_position[4];
    float m_tex_coords[4];
    float m_colour[4];
    _Vector3d m_plane_a;
    _Vector3d m_plane_b;
    unsigned char m_position_mode;
    float m_normal[3];
    char m_created;
};

// A colour channel from 0 to 1 as a byte: value x 255 truncated, kept
// within 0..255 (so 1.004 stays 255 rather than wrapping to 0).
unsigned char EngVertexBufferColourByte(float value);
