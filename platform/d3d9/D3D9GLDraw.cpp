// Drawing with the GL backend: the device's states turned into fixed-function
// GL state, and the vertices sent one by one with their colours worked out
// as Direct3D lights them.
#include "platform/d3d9/D3D9GLBackend.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>

namespace {

GLenum BlendFactor(DWORD blend)
{
    switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_SRC_ALPHA_SATURATE;
    }
}

struct TextureFormat {
    D3DFORMAT format;
    GLenum internal;
    GLenum layout;
    GLenum type;
};

// Each format's pixels go to GL as they are kept; rows are the pitch apart
// (a multiple of 4, GL's default unpack alignment).
const TextureFormat TEXTURE_FORMATS[] = {
    {D3DFMT_A8R8G8B8, GL_RGBA8, GL_BGRA, GL_UNSIGNED_BYTE},
    {D3DFMT_X8R8G8B8, GL_RGB8, GL_BGRA, GL_UNSIGNED_BYTE},
    {D3DFMT_R8G8B8, GL_RGB8, GL_BGR, GL_UNSIGNED_BYTE},
    {D3DFMT_R5G6B5, GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5},
    {D3DFMT_X1R5G5B5, GL_RGB5, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV},
    {D3DFMT_A1R5G5B5, GL_RGB5_A1, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV},
    {D3DFMT_X4R4G4B4, GL_RGB4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV},
    {D3DFMT_A4R4G4B4, GL_RGBA4, GL_BGRA, GL_UNSIGNED_SHORT_4_4_4_4_REV},
    {D3DFMT_L8, GL_LUMINANCE8, GL_LUMINANCE, GL_UNSIGNED_BYTE},
};

GLenum CombineSource(DWORD argument)
{
    // On the first stage the current colour is the vertex colour.
    return argument == D3DTA_TEXTURE ? GL_TEXTURE : GL_PRIMARY_COLOR;
}

// One half (colour or alpha) of the first stage as GL's combiner.
void SetCombine(bool alpha, DWORD op, DWORD arg1, DWORD arg2)
{
    const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum sources[3] = {static_cast<GLenum>(alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB),
                               static_cast<GLenum>(alpha ? GL_SRC1_ALPHA : GL_SRC1_RGB),
                               static_cast<GLenum>(alpha ? GL_SRC2_ALPHA : GL_SRC2_RGB)};
    const GLenum operands[3] = {static_cast<GLenum>(alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB),
                                static_cast<GLenum>(alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB),
                                static_cast<GLenum>(alpha ? GL_OPERAND2_ALPHA : GL_OPERAND2_RGB)};
    const GLint operand = alpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    for (GLenum name : operands)
        glTexEnvi(GL_TEXTURE_ENV, name, operand);
    switch (op) {
    case D3DTOP_SELECTARG1:
    case D3DTOP_SELECTARG2:
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, sources[0], CombineSource(op == D3DTOP_SELECTARG1 ? arg1 : arg2));
        break;
    case D3DTOP_MODULATE:
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_MODULATE);
        glTexEnvi(GL_TEXTURE_ENV, sources[0], CombineSource(arg1));
        glTexEnvi(GL_TEXTURE_ENV, sources[1], CombineSource(arg2));
        break;
    case D3DTOP_BLENDTEXTUREALPHA:
        // arg1 x texture alpha + arg2 x (1 - texture alpha).
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_INTERPOLATE);
        glTexEnvi(GL_TEXTURE_ENV, sources[0], CombineSource(arg1));
        glTexEnvi(GL_TEXTURE_ENV, sources[1], CombineSource(arg2));
        glTexEnvi(GL_TEXTURE_ENV, sources[2], GL_TEXTURE);
        glTexEnvi(GL_TEXTURE_ENV, operands[2], GL_SRC_ALPHA);
        break;
    default:
        // A disabled alpha operation under a working colour operation passes
        // the vertex alpha on.
        glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
        glTexEnvi(GL_TEXTURE_ENV, sources[0], GL_PRIMARY_COLOR);
        break;
    }
}

D3DCOLORVALUE ColourValue(D3DCOLOR colour)
{
    return {((colour >> 16) & 0xFF) / 255.0f, ((colour >> 8) & 0xFF) / 255.0f, (colour & 0xFF) / 255.0f,
            (colour >> 24) / 255.0f};
}

GLubyte Channel(float value)
{
    return static_cast<GLubyte>(std::min(1.0f, std::max(0.0f, value)) * 255.0f + 0.5f);
}

// A vertex's colour with lighting on. The device has no lights, so a vertex
// shows its emissive colour plus the ambient render state times its ambient
// colour, with the alpha of its diffuse colour; each of those colours comes
// from the material or, as the material sources say, from the vertex.
void LitColour(const D3D9DeviceState &state, const D3DCOLOR *diffuse, const D3DCOLOR *specular, GLubyte out[4])
{
    auto source = [&](D3DRENDERSTATETYPE which, const D3DCOLORVALUE &material) {
        DWORD from = state.render_states[which];
        if (state.render_states[D3DRS_COLORVERTEX]) {
            if (from == D3DMCS_COLOR1 && diffuse)
                return ColourValue(*diffuse);
            if (from == D3DMCS_COLOR2 && specular)
                return ColourValue(*specular);
        }
        return material;
    };
    const D3DMATERIAL9 &material = state.material;
    D3DCOLORVALUE diffuse_colour = source(D3DRS_DIFFUSEMATERIALSOURCE, material.Diffuse);
    D3DCOLORVALUE ambient = source(D3DRS_AMBIENTMATERIALSOURCE, material.Ambient);
    D3DCOLORVALUE emissive = source(D3DRS_EMISSIVEMATERIALSOURCE, material.Emissive);
    D3DCOLORVALUE scene = ColourValue(state.render_states[D3DRS_AMBIENT]);
    out[0] = Channel(emissive.r + scene.r * ambient.r);
    out[1] = Channel(emissive.g + scene.g * ambient.g);
    out[2] = Channel(emissive.b + scene.b * ambient.b);
    out[3] = Channel(diffuse_colour.a);
}

float ReadFloat(const BYTE *at)
{
    float value;
    std::memcpy(&value, at, sizeof(value));
    return value;
}

D3DCOLOR ReadColour(const BYTE *at)
{
    D3DCOLOR value;
    std::memcpy(&value, at, sizeof(value));
    return value;
}

} // namespace

void D3D9GLBackend::ApplyRasterState(const D3D9DeviceState &state, bool pretransformed)
{
    const DWORD *rs = state.render_states;
    const D3DVIEWPORT9 &viewport = state.viewport;
    // GL counts rows from the bottom.
    glViewport(viewport.X, m_height - static_cast<GLint>(viewport.Y + viewport.Height), viewport.Width,
               viewport.Height);
    // Pre-transformed depths are kept as they are.
    if (pretransformed)
        glDepthRange(0.0, 1.0);
    else
        glDepthRange(viewport.MinZ, viewport.MaxZ);

    if (rs[D3DRS_SCISSORTESTENABLE]) {
        const RECT &scissor = state.scissor;
        glEnable(GL_SCISSOR_TEST);
        glScissor(scissor.left, m_height - scissor.bottom, scissor.right - scissor.left, scissor.bottom - scissor.top);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }

    if (rs[D3DRS_ZENABLE] && m_has_depth) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST);
    }

    if (rs[D3DRS_ALPHABLENDENABLE]) {
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(BlendFactor(rs[D3DRS_SRCBLEND]), BlendFactor(rs[D3DRS_DESTBLEND]));
    } else {
        glDisable(GL_BLEND);
    }

    // Both count windings as they look on the screen: culling clockwise
    // faces keeps the counter-clockwise ones in front, and the other way.
    if (rs[D3DRS_CULLMODE] == D3DCULL_NONE) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(rs[D3DRS_CULLMODE] == D3DCULL_CW ? GL_CCW : GL_CW);
    }

    if (rs[D3DRS_MULTISAMPLEANTIALIAS])
        glEnable(GL_MULTISAMPLE);
    else
        glDisable(GL_MULTISAMPLE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void D3D9GLBackend::ApplyTransforms(const D3D9DeviceState &state, bool pretransformed)
{
    const D3DVIEWPORT9 &viewport = state.viewport;
    const float width = static_cast<float>(viewport.Width), height = static_cast<float>(viewport.Height);
    // Direct3D puts pixel centres on whole coordinates, GL half a pixel
    // further on, with the y axis down on the screen and depth 0..1 in clip
    // space rather than -1..1.
    if (pretransformed) {
        // Screen pixels straight to GL's clip space; matrices column by column.
        const GLfloat pixels[16] = {2.0f / width,
                                    0,
                                    0,
                                    0,
                                    0,
                                    -2.0f / height,
                                    0,
                                    0,
                                    0,
                                    0,
                                    2.0f,
                                    0,
                                    (1.0f - 2.0f * viewport.X) / width - 1.0f,
                                    1.0f - (1.0f - 2.0f * viewport.Y) / height,
                                    -1.0f,
                                    1.0f};
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(pixels);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        return;
    }
    // A Direct3D matrix (row vectors) read column by column is the GL matrix
    // of the same transform, so the device's matrices load as they are.
    const GLfloat clip[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 1.0f / width, -1.0f / height, -1, 1};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(clip);
    glMultMatrixf(&state.projection.m[0][0]);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(&state.view.m[0][0]);
    glMultMatrixf(&state.world.m[0][0]);
}

void D3D9GLBackend::BindTexture(IDirect3DTexture9 *texture)
{
    GLuint name = texture->GetBackendName();
    bool changed = texture->TakeChanged();
    if (!name) {
        glGenTextures(1, &name);
        texture->SetBackendName(name);
        glBindTexture(GL_TEXTURE_2D, name);
        // One level: no mipmaps.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        changed = true;
    } else {
        glBindTexture(GL_TEXTURE_2D, name);
    }
    if (!changed)
        return;
    const D3D9Pixels &pixels = texture->GetPixels();
    for (const TextureFormat &format : TEXTURE_FORMATS)
        if (format.format == pixels.format)
            glTexImage2D(GL_TEXTURE_2D, 0, format.internal, pixels.width, pixels.height, 0, format.layout, format.type,
                         pixels.bits);
}

void D3D9GLBackend::ApplyTexture(const D3D9DeviceState &state)
{
    const DWORD *stage = state.stage_states[0];
    // A first stage that is off, or has no texture, passes the vertex colour on.
    if (stage[D3DTSS_COLOROP] == D3DTOP_DISABLE || !state.textures[0]) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    BindTexture(static_cast<IDirect3DTexture9 *>(state.textures[0]));
    // Filtering belongs to the sampler in Direct3D and to the texture in GL.
    const DWORD *sampler = state.sampler_states[0];
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                    sampler[D3DSAMP_MAGFILTER] == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    sampler[D3DSAMP_MINFILTER] == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    SetCombine(false, stage[D3DTSS_COLOROP], stage[D3DTSS_COLORARG1], stage[D3DTSS_COLORARG2]);
    SetCombine(true, stage[D3DTSS_ALPHAOP], stage[D3DTSS_ALPHAARG1], stage[D3DTSS_ALPHAARG2]);
}

HRESULT D3D9GLBackend::Draw(const D3D9DeviceState &state, D3DPRIMITIVETYPE type, UINT, const BYTE *vertices,
                            UINT vertex_count)
{
    if (!Activate())
        return D3DERR_INVALIDCALL;
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    const DWORD fvf = state.fvf;
    const bool pretransformed = (fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
    // Pre-transformed vertices are never lit.
    const bool lit = !pretransformed && state.render_states[D3DRS_LIGHTING];
    ApplyRasterState(state, pretransformed);
    ApplyTransforms(state, pretransformed);
    ApplyTexture(state);

    // Where each part sits inside a vertex.
    const UINT position_size = pretransformed ? 16 : 12;
    const UINT diffuse_at = position_size + ((fvf & D3DFVF_NORMAL) ? 12 : 0);
    const UINT specular_at = diffuse_at + ((fvf & D3DFVF_DIFFUSE) ? 4 : 0);
    const UINT texture_at = specular_at + ((fvf & D3DFVF_SPECULAR) ? 4 : 0);
    const bool textured = (fvf & D3DFVF_TEXCOUNT_MASK) != 0;

    glBegin(type == D3DPT_TRIANGLELIST ? GL_TRIANGLES : GL_TRIANGLE_STRIP);
    for (UINT i = 0; i < vertex_count; i++) {
        const BYTE *vertex = vertices + static_cast<size_t>(i) * state.stream_stride;
        D3DCOLOR diffuse = 0, specular = 0;
        if (fvf & D3DFVF_DIFFUSE)
            diffuse = ReadColour(vertex + diffuse_at);
        if (fvf & D3DFVF_SPECULAR)
            specular = ReadColour(vertex + specular_at);
        GLubyte colour[4];
        if (lit) {
            LitColour(state, (fvf & D3DFVF_DIFFUSE) ? &diffuse : nullptr, (fvf & D3DFVF_SPECULAR) ? &specular : nullptr,
                      colour);
        } else {
            // Without a colour of its own a vertex is white.
            D3DCOLOR shown = (fvf & D3DFVF_DIFFUSE) ? diffuse : 0xFFFFFFFFu;
            colour[0] = static_cast<GLubyte>(shown >> 16);
            colour[1] = static_cast<GLubyte>(shown >> 8);
            colour[2] = static_cast<GLubyte>(shown);
            colour[3] = static_cast<GLubyte>(shown >> 24);
        }
        glColor4ubv(colour);
        if (textured)
            glTexCoord2f(ReadFloat(vertex + texture_at), ReadFloat(vertex + texture_at + 4));
        float x = ReadFloat(vertex), y = ReadFloat(vertex + 4), z = ReadFloat(vertex + 8);
        if (pretransformed) {
            // rhw is 1/w: scaling by w keeps textures in perspective.
            float rhw = ReadFloat(vertex + 12);
            float w = rhw != 0.0f ? 1.0f / rhw : 1.0f;
            glVertex4f(x * w, y * w, z * w, w);
        } else {
            glVertex3f(x, y, z);
        }
    }
    glEnd();
    return glGetError() == GL_OUT_OF_MEMORY ? D3DERR_OUTOFVIDEOMEMORY : S_OK;
}
