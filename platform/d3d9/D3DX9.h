// Our subset of the Direct3D extension library: the version check, matrix
// helpers (row vectors, as the device's matrices) and making textures, empty
// or from image files.
#pragma once

#include "platform/d3d9/D3D9.h"

#define D3DX_SDK_VERSION 23
// "As the file says" for sizes, levels and filters.
#define D3DX_DEFAULT ((UINT)-1)
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)

typedef D3DMATRIX D3DXMATRIX;
typedef D3DVECTOR D3DXVECTOR3;

enum D3DXIMAGE_FILEFORMAT : int {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
};

struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

// TRUE when the program was built for this runtime and library.
BOOL D3DXCheckVersion(UINT d3d_sdk_version, UINT d3dx_sdk_version);

// Each returns out; out may be one of the inputs.
D3DXMATRIX *D3DXMatrixIdentity(D3DXMATRIX *out);
// a x b: a applies first.
D3DXMATRIX *D3DXMatrixMultiply(D3DXMATRIX *out, const D3DXMATRIX *a, const D3DXMATRIX *b);
D3DXMATRIX *D3DXMatrixTranslation(D3DXMATRIX *out, float x, float y, float z);
D3DXMATRIX *D3DXMatrixScaling(D3DXMATRIX *out, float x, float y, float z);
// Angles in radians, turning y towards z (X), z towards x (Y), x towards y (Z).
D3DXMATRIX *D3DXMatrixRotationX(D3DXMATRIX *out, float angle);
D3DXMATRIX *D3DXMatrixRotationY(D3DXMATRIX *out, float angle);
D3DXMATRIX *D3DXMatrixRotationZ(D3DXMATRIX *out, float angle);
// Roll about z, then pitch about x, then yaw about y.
D3DXMATRIX *D3DXMatrixRotationYawPitchRoll(D3DXMATRIX *out, float yaw, float pitch, float roll);
// Right-handed perspective: s = cot(fov / 2), q = far / (near - far); m[0][0]
// = s / aspect, m[1][1] = s, m[2][2] = q, m[2][3] = -1, m[3][2] = near x q.
D3DXMATRIX *D3DXMatrixPerspectiveFovRH(D3DXMATRIX *out, float fov_y, float aspect, float near_z, float far_z);
// Left-handed orthographic projection of the box left..right, bottom..top,
// near..far onto -1..1, -1..1, 0..1.
D3DXMATRIX *D3DXMatrixOrthoOffCenterLH(D3DXMATRIX *out, float left, float right, float bottom, float top,
                                       float near_z, float far_z);
// (x, y, z, 1) x m, divided by its w.
D3DXVECTOR3 *D3DXVec3TransformCoord(D3DXVECTOR3 *out, const D3DXVECTOR3 *v, const D3DXMATRIX *m);

// An empty texture (CreateTexture); D3DFMT_UNKNOWN makes A8R8G8B8.
HRESULT D3DXCreateTexture(IDirect3DDevice9 *device, UINT width, UINT height, UINT levels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9 **texture);
// A texture of a PNG, JPEG, TGA or BMP file, told by its content, at the
// image's own size, in the format asked for (D3DFMT_UNKNOWN: A8R8G8B8).
// Width and height must be the image's or a default; the colour key must be
// 0 and no palette is made. D3DERR_NOTFOUND for a file that cannot be read,
// D3DXERR_INVALIDDATA for one that is no such image.
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9 *device, const char *file, UINT width, UINT height,
                                     UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                     DWORD mip_filter, D3DCOLOR colour_key, D3DXIMAGE_INFO *source_info,
                                     PALETTEENTRY *palette, IDirect3DTexture9 **texture);
