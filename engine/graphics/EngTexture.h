// Textures: a picture on the graphics card, loaded from an image file or
// made empty, held as a Direct3D 9 texture with one level together with the
// quad (EngVertexBufferDX9) that draws it.
//
// EngTexture is the small front object the rest of the program holds, many
// of them as globals made before any device exists. All work is done by its
// Direct3D 9 part, EngTextureDX9, which is made on the first load or
// creation while the device kind is EDT_DX9. Without the part every
// EngTexture operation does nothing and answers false, 0 or null; the part's
// own operations (other than the loaders and creators) do nothing until a
// texture has been made.
//
// Failures are reported by the operation that meets them; Direct3D results
// go through EngUtilsDX9_CheckResult. Textures do not survive a change of
// device: the program's graphics hooks destroy them before the device goes
// and load them again afterwards.
#pragma once

#include "engine/core/EngMath.h"
#include "engine/graphics/EngVertexBufferDX9.h"
#include "platform/d3d9/D3D9.h"

// Kinds of image file, as told by the name's extension.
enum _EngTextureFileExt : int {
    ETFE_UNKNOWN = 0,
    ETFE_BMP = 1,
    ETFE_TGA = 2,
    ETFE_JPG = 3,
    ETFE_PNG = 4,
    ETFE_GIF = 5,
    ETFE_DDS = 6,
};

// Alpha types: how a loader that is asked for alpha (the alpha flag) sets
// each pixel's alpha from its colour, with max and min the largest and the
// smallest of its red, green and blue:
//   0 opaque (255); 1 clear (0); 2 the file's own alpha, left alone;
//   3 max; 4 255 from max 64, 0 below max 32, else max x 8 - 256;
//   5 255 from max 32, else max x 8; 6 255 - min;
//   7 255 below min 192, 0 from min 224, else (223 - min) x 8;
//   8 255 below min 224, else (255 - min) x 8; 9 the file's own alpha, left alone.
#define ENG_TEXTURE_ALPHA_FROM_FILE 2

// Settings for the pixel copy; none exist yet, so callers pass null.
struct _EngTextureCopyPartSettings;

class EngTexture;

class EngTextureDX9 {
public:
    explicit EngTextureDX9(EngTexture *owner);
    ~EngTextureDX9();
    EngTextureDX9(const EngTextureDX9 &) = delete;
    EngTextureDX9 &operator=(const EngTextureDX9 &) = delete;

    // Making the texture. twod: 0 a quad placed in clip units (3D), 1 a quad
    // placed in pixels (2D), 2 a 2D quad on a render target in the back
    // buffer's format. light_only: a one-channel (L8) texture. A texture that
    // exists already is replaced.
    bool DoLoadFromFile(const char *path, char alpha, char alpha_type, char twod, char light_only);
    bool LoadFromFile(const char *path, char alpha, char alpha_type, char unused);
    // PNG, JPEG, TGA and BMP names load; a ".dat" name counts as dat_kind.
    bool LoadFromFileUsingExt(const char *path, char alpha, char alpha_type, _EngTextureFileExt dat_kind,
                              char unused);
    // The size actually made is written back through width and height.
    bool DoCreateEmptyTexture(int *width, int *height, char alpha, char twod, char render_target, char light_only);
    // Records the size and format of the texture just made and makes its quad.
    bool DoFinaliseTextureCreation(int width, int height, int bits, unsigned int format, char twod);
    bool TextureBufferCreate();
    bool TextureBufferCreate2D();
    // Rewrites every pixel's alpha from its colour (alpha types above);
    // A8R8G8B8, A1R5G5B5 and A4R4G4B4 only.
    bool SetupAlphaChannel(char alpha_type);
    // Releases the texture and its quad; the part may load again.
    void DestroyTexture();
    // Bits per pixel of a texture format (0, reported, for one not known);
    // has_alpha, when given, is set only for a known format.
    static int GetBitdepthFromFormat(unsigned int format, bool *has_alpha);

    // Level 0, whole, for reading and writing the pixels; every successful
    // lock is followed by UnlockDxSurface, which hands the changes on.
    bool LockDxSurface(D3DLOCKED_RECT *locked);
    void UnlockDxSurface();

    // The quad: Pure values as given (pixels for a 2D quad, clip units for a
    // 3D one), Ratioed values in 640 x 480 units.
    void PositionPure(float x, float y, float w, float h);
    void PositionRatioed(float x, float y, float w, float h);
    // Half a texel in from each edge, reaching the quad at the next draw.
    void SetDefaultTextureCoordinates();
    void SetTextureCoordinates(float u0, float v0, float u1, float v1);
    // A quad first given a colour other than white (or any colour when
    // forced) changes once to a layout with colour.
    void TextureBufferSetColour(float r, float g, float b, float a, bool force);
    void Draw();
    // Nine parts: corners of cw x ch (640 x 480 units) showing cu x cv of the
    // picture's corners, edges and centre stretched between them.
    void DrawStretchedWithCorners(float cw, float ch, float cu, float cv, char draw_centre);
    // The texture on stage 0 of the device, for code drawing its own geometry.
    bool SetDx9D3dDeviceTextureToTexture();

    // Pixel copy (EngTextureCopy.cpp): the rectangle fx, fy, fw, fh of from
    // onto tx, ty, tw, th of this texture, in pixels, scaled to the nearest
    // pixel; a negative size stands for the whole texture. blend lays the
    // source over by its alpha. r, g, b multiply the source's colour; a
    // negative r means none.
    bool CopyPartFromAnotherTexture(EngTexture *from, float fx, float fy, float fw, float fh, float tx, float ty,
                                    float tw, float th, char blend, const _EngTextureCopyPartSettings *settings);
    bool CopyPartFromAnotherTextureWithColour(EngTexture *from, float fx, float fy, float fw, float fh, float tx,
                                              float ty, float tw, float th, char blend, float r, float g, float b);

    bool IsCreated() const { return m_created; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBitsPerPixel() const { return m_bits; }
    unsigned int GetFormat() const { return m_format; }
    bool HasAlpha() const { return m_has_alpha; }
    IDirect3DTexture9 *GetD3DTexture() const { return m_texture; }
    bool Is2D() const { return m_2d; }
    bool IsColoured() const { return m_coloured; }
    bool HasNormals() const { return m_normals; }
    // The quad as last placed (x, y, w, h) and its texture coordinates (u0,
    // v0, u1, v1), which are pending while they are the default ones not yet
    // applied.
    const float *GetQuadPosition() const { return m_quad_rect; }
    const float *GetTextureCoordinates() const { return m_tex_coords; }
    bool AreCoordinatesPending() const { return m_coords_pending; }
    EngVertexBufferDX9 *GetQuad() { return &m_quad; }

private:
    // The texture's quad of the given layout; fails when one exists already.
    bool CreateQuad(_EngVertexBufferType type, bool is_2d, const char *where);
    // The members a new texture starts from.
    void ClearTextureMembers();
    void PositionQuad(float x, float y, float w, float h);

    EngTexture *m_owner;
    bool m_created;
    float m_quad_rect[4];
    int m_width, m_height;
    bool m_coords_pending;
    float m_tex_coords[4];
    int m_bits;
    unsigned int m_format;
    bool m_has_alpha;
    IDirect3DTexture9 *m_texture;
    bool m_2d;
    bool m_coloured;
    bool m_normals;
    EngVertexBufferDX9 m_quad;
};

class EngTexture {
public:
    EngTexture();
    ~EngTexture();
    EngTexture(const EngTexture &) = delete;
    EngTexture &operator=(const EngTexture &) = delete;

    // From an image file (PNG, JPEG, TGA or BMP, told by its content) at the
    // file's own size, with a 3D quad. With the alpha flag, alpha_type says
    // how the alpha is made (see above).
    bool LoadFromFile(const char *path, char alpha, char alpha_type, char unused = 0);
    // The same when the name's extension is one of those four; a ".dat"
    // name counts as dat_kind. Other names are refused.
    bool LoadFromFileUsingExt(const char *path, char alpha, char alpha_type, _EngTextureFileExt dat_kind,
                              char unused = 0);
    // Empty textures, cleared to 0, with a 3D or a 2D quad; the size made is
    // written back.
    bool CreateEmptyTexture(int *width, int *height, char alpha);
    bool CreateEmpty2DTexture(int *width, int *height, char alpha);
    // Releases the texture; the object may load or create again.
    void Destroy();

    bool IsCreated() const;
    int GetWidth() const;
    int GetHeight() const;
    // The Direct3D 9 part, or null.
    EngTextureDX9 *GetTextureDX9() const { return m_dx9; }

    // Placing the quad: Pure as the part takes it, Ratioed in 640 x 480 units.
    void PositionPure(float x, float y, float w, float h);
    void PositionRatioed(float x, float y, float w, float h);
    void PositionRatioedUsingInts(int x, int y, int w, int h);
    // Null does nothing.
    void PositionRatioedToDimension(const _Dimension *dimension);

    // Texture coordinates from a record whose four floats, in order (the x,
    // y, w and h fields), are u0, v0, u1 and v1; null sets the default ones.
    void SetTextureCoordinatesStruct(const _Dimension *coordinates);
    void SetColour(float r, float g, float b, float a);
    // Null is white.
    void SetColourRGBA(const _ColourRGBA *colour);
    // White with the alpha.
    void SetAlpha(float a);

    void Draw();
    void DrawWithTextureCoordinates(float u0, float v0, float u1, float v1);
    void DrawWithTextureCoordinatesStruct(const _Dimension *coordinates);
    void DrawWithTextureCoordinatesAndColour(float u0, float v0, float u1, float v1, float r, float g, float b,
                                             float a);
    void DrawWithTextureCoordinatesAndColourAlt(float u0, float v0, float u1, float v1, float r, float g, float b,
                                                float a);
    void DrawWithTextureCoordinatesAndColourRGBA(float u0, float v0, float u1, float v1, const _ColourRGBA *colour);
    void DrawWithColour(float r, float g, float b, float a);
    void DrawStretchedWithCorners(float corner_w, float corner_h, float corner_u, float corner_v, char draw_centre);
    bool SetDx9D3dDeviceTextureToTexture();

    // Copies a rectangle of from's pixels onto a rectangle of this texture
    // (see EngTextureDX9); settings must be null.
    bool CopyPartFromAnotherTexture(EngTexture *from, float fx, float fy, float fw, float fh, float tx, float ty,
                                    float tw, float th, char blend, const _EngTextureCopyPartSettings *settings);
    bool CopyPartFromAnotherTextureUsingInts(EngTexture *from, int fx, int fy, int fw, int fh, int tx, int ty,
                                             int tw, int th, char blend, const _EngTextureCopyPartSettings *settings);

private:
    // Makes the part when the device kind is Direct3D 9 and there is none.
    bool Create();

    EngTextureDX9 *m_dx9;
};

// The kind of image a file name's extension names; a ".dat" name gives
// dat_kind. Null or names shorter than 4 characters are ETFE_UNKNOWN.
_EngTextureFileExt EngTextureGetFileExtFromFilename(const char *filename, _EngTextureFileExt dat_kind);
// A pixel's alpha by an alpha type (see above). Type 2 and unknown types
// report (a few times in the run) and give 0.
unsigned char EngTexture_GetPixelAlphaFromBrightness(char alpha_type, unsigned char red, unsigned char green,
                                                     unsigned char blue);

// The limits on repeated reports of textures and the pixel copy back as at start.
void EngTextureResetForTests();
