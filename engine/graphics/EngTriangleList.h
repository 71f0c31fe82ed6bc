// Any number of triangles in one vertex buffer, in one of six vertex layouts,
// drawn as a triangle list. Positions are set in 640 x 480 virtual units
// (mapped onto clip space, for drawing with identity matrices after the
// device's 2D preparation) or directly in clip space.
//
// Each operation does its Direct3D 9 work only while the device kind is
// EDT_DX9; otherwise it does nothing and answers false. The list borrows the
// Direct3D texture of the EngTexture it was created with, so it is made again
// whenever that texture is.
#pragma once

#include "engine/core/EngMath.h"
#include "platform/d3d9/D3D9.h"

class EngTexture;

// Three vertices per triangle; colours are D3DCOLOR (ARGB).
enum _EngTriangleListType : int {
    ETLT_POS_TEX = 2,           // x, y, z, u, v
    ETLT_POS_NORM_TEX = 3,      // x, y, z, nx, ny, nz, u, v
    ETLT_POS_NORM_COL = 4,      // x, y, z, nx, ny, nz, colour
    ETLT_POS_COL_TEX = 5,       // x, y, z, colour, u, v
    ETLT_POS_NORM_COL_TEX = 6,  // x, y, z, nx, ny, nz, colour, u, v
    ETLT_POS_COL = 7,           // x, y, z, colour
};

class EngTriangleList {
public:
    EngTriangleList();
    ~EngTriangleList();
    EngTriangleList(const EngTriangleList &) = delete;
    EngTriangleList &operator=(const EngTriangleList &) = delete;

    // count triangles of the type (an existing buffer goes first), with the
    // texture coordinates (0, 0), (0.5, 1), (1, 0) and white where the layout
    // has them. texture may be null.
    bool Create(_EngTriangleListType type, EngTexture *texture, unsigned count);
    // The three corners of triangle `index` in virtual units: (x, y, z)
    // becomes (x / 320 - 1, 1 - y / 240, z).
    void SetPositions(unsigned index, float x0, float y0, float z0, float x1, float y1, float z1, float x2, float y2,
                      float z2);
    void SetColour(unsigned index, float r, float g, float b, float a);
    void Draw();
    void Destroy();

    bool Create_DX9(_EngTriangleListType type, EngTexture *texture, unsigned count);
    void SetPositions_DX9(unsigned index, float x0, float y0, float z0, float x1, float y1, float z1, float x2,
                          float y2, float z2);
    // The corners as they are, in clip space; a null vector does nothing.
    void SetPositionsP_DX9(unsigned index, const _Vector3d *p0, const _Vector3d *p1, const _Vector3d *p2);
    // Types with texture coordinates only.
    void SetTextureCoordinates_DX9(unsigned index, float u0, float v0, float u1, float v1, float u2, float v2);
    // Channels 0 to 1, clamped to a byte; a negative one is refused. Types
    // with colour only.
    void SetColour_DX9(unsigned index, float r, float g, float b, float a);
    void Draw_DX9();
    void Destroy_DX9();

    bool IsCreated() const { return m_created != 0; }
    _EngTriangleListType GetType() const { return m_type; }
    unsigned GetNumTriangles() const { return m_count; }
    IDirect3DVertexBuffer9 *GetVertexBuffer() const { return m_buffer; }

private:
    // The triangle's three vertices locked for writing; null when the list
    // cannot be written (reported).
    unsigned char *LockTriangle(unsigned index, const char *where);
    void Unlock();

    char m_created;
    _EngTriangleListType m_type;
    EngTexture *m_texture;
    unsigned m_count;
    UINT m_stride;
    IDirect3DVertexBuffer9 *m_buffer;
    IDirect3DTexture9 *m_d3d_texture;
    DWORD m_fvf;
};
