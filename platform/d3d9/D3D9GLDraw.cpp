// Drawing with the GL backend: each draw's vertices transformed and lit on
// the CPU, as Direct3D lights them, into the batch of draws that share
// their state; a batch's state turned into fixed-function GL state and its
// triangles sent in one vertex-array draw.
#include "platform/d3d9/D3D9GLBackend.h"

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
void SetCombine(D3D9GLStateCache *gl, bool alpha, DWORD op, DWORD arg1, DWORD arg2)
{
    const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum sources[3] = {static_cast<GLenum>(alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB),
                               static_cast<GLenum>(alpha ? GL_SRC1_ALPHA : GL_SRC1_RGB),
                               static_cast<GLenum>(alpha ? GL_SRC2_ALPHA : GL_SRC2_RGB)};
    const GLenum operands[3] = {static_cast<GLenum>(alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB),
                                static_cast<GLenum>(alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB),
                                static_cast<GLenum>(alpha ? GL_OPERAND2_ALPHA : GL_OPERAND2_RGB)};
    const GLint operand = alpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    gl->TexEnv(operands[0], operand);
    gl->TexEnv(operands[1], operand);
    switch (op) {
    case D3DTOP_SELECTARG1:
    case D3DTOP_SELECTARG2:
        gl->TexEnv(combine, GL_REPLACE);
        gl->TexEnv(sources[0], CombineSource(op == D3DTOP_SELECTARG1 ? arg1 : arg2));
        break;
    case D3DTOP_MODULATE:
        gl->TexEnv(combine, GL_MODULATE);
        gl->TexEnv(sources[0], CombineSource(arg1));
        gl->TexEnv(sources[1], CombineSource(arg2));
        break;
    case D3DTOP_BLENDTEXTUREALPHA:
        // arg1 x texture alpha + arg2 x (1 - texture alpha).
        gl->TexEnv(combine, GL_INTERPOLATE);
        gl->TexEnv(sources[0], CombineSource(arg1));
        gl->TexEnv(sources[1], CombineSource(arg2));
        gl->TexEnv(sources[2], GL_TEXTURE);
        gl->TexEnv(operands[2], GL_SRC_ALPHA);
        return;
    default:
        // A disabled alpha operation under a working colour operation passes
        // the vertex alpha on.
        gl->TexEnv(combine, GL_REPLACE);
        gl->TexEnv(sources[0], GL_PRIMARY_COLOR);
        break;
    }
    gl->TexEnv(operands[2], operand);
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

// Direct3D matrices are row vectors: a applies first.
D3DMATRIX Multiply(const D3DMATRIX &a, const D3DMATRIX &b)
{
    D3DMATRIX out;
    for (int row = 0; row < 4; row++)
        for (int column = 0; column < 4; column++)
            out.m[row][column] = a.m[row][0] * b.m[0][column] + a.m[row][1] * b.m[1][column] +
                                 a.m[row][2] * b.m[2][column] + a.m[row][3] * b.m[3][column];
    return out;
}

// GL's projection for a batch. Direct3D puts pixel centres on whole
// coordinates, GL half a pixel further on, with the y axis down on the
// screen and depth 0..1 in clip space rather than -1..1. Matrices are
// listed column by column.
void ProjectionOf(const D3DVIEWPORT9 &viewport, bool pretransformed, GLfloat out[16])
{
    const float width = static_cast<float>(viewport.Width), height = static_cast<float>(viewport.Height);
    if (pretransformed) {
        // Screen pixels straight to GL's clip space.
        const GLfloat pixels[16] = {2.0f / width, 0, 0, 0, 0, -2.0f / height, 0, 0, 0, 0, 2.0f, 0,
                                    (1.0f - 2.0f * viewport.X) / width - 1.0f,
                                    1.0f - (1.0f - 2.0f * viewport.Y) / height, -1.0f, 1.0f};
        std::memcpy(out, pixels, sizeof(pixels));
        return;
    }
    // The vertices come in Direct3D's clip space.
    const GLfloat clip[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 1.0f / width, -1.0f / height, -1, 1};
    std::memcpy(out, clip, sizeof(clip));
}

// The filtering of a texture as one number, never 0.
unsigned int FilterOf(DWORD mag, DWORD min)
{
    return 1 + (mag == D3DTEXF_LINEAR ? 2 : 0) + (min == D3DTEXF_LINEAR ? 4 : 0);
}

} // namespace

void D3D9GLBackend::MakeBatchKey(const D3D9DeviceState &state, BatchKey *key) const
{
    std::memset(key, 0, sizeof(*key));
    const DWORD *rs = state.render_states;
    key->pretransformed = (state.fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
    key->viewport = state.viewport;
    if (rs[D3DRS_SCISSORTESTENABLE]) {
        key->scissor_on = 1;
        key->scissor = state.scissor;
    }
    key->depth_on = rs[D3DRS_ZENABLE] && m_has_depth;
    if (rs[D3DRS_ALPHABLENDENABLE]) {
        key->blend_on = 1;
        key->source_blend = rs[D3DRS_SRCBLEND];
        key->destination_blend = rs[D3DRS_DESTBLEND];
    }
    key->cull = rs[D3DRS_CULLMODE];
    key->multisample = rs[D3DRS_MULTISAMPLEANTIALIAS] != 0;
    // A first stage that is off, or has no texture, passes the vertex colour on.
    const DWORD *stage = state.stage_states[0];
    if (stage[D3DTSS_COLOROP] == D3DTOP_DISABLE || !state.textures[0])
        return;
    key->texture = static_cast<IDirect3DTexture9 *>(state.textures[0]);
    key->colour_op = stage[D3DTSS_COLOROP];
    key->colour_arg1 = stage[D3DTSS_COLORARG1];
    key->colour_arg2 = stage[D3DTSS_COLORARG2];
    key->alpha_op = stage[D3DTSS_ALPHAOP];
    key->alpha_arg1 = stage[D3DTSS_ALPHAARG1];
    key->alpha_arg2 = stage[D3DTSS_ALPHAARG2];
    key->mag_filter = state.sampler_states[0][D3DSAMP_MAGFILTER];
    key->min_filter = state.sampler_states[0][D3DSAMP_MINFILTER];
}

void D3D9GLBackend::ApplyRasterState(const BatchKey &key)
{
    m_gl.Fixed();
    const D3DVIEWPORT9 &viewport = key.viewport;
    // GL counts rows from the bottom.
    m_gl.Viewport(viewport.X, m_height - static_cast<GLint>(viewport.Y + viewport.Height), viewport.Width,
                  viewport.Height);
    // Pre-transformed depths are kept as they are.
    if (key.pretransformed)
        m_gl.DepthRange(0.0, 1.0);
    else
        m_gl.DepthRange(viewport.MinZ, viewport.MaxZ);
    GLfloat projection[16];
    ProjectionOf(viewport, key.pretransformed, projection);
    m_gl.Projection(projection);

    m_gl.Enable(D3D9GL_SCISSOR_TEST, key.scissor_on);
    if (key.scissor_on) {
        const RECT &scissor = key.scissor;
        m_gl.Scissor(scissor.left, m_height - scissor.bottom, scissor.right - scissor.left,
                     scissor.bottom - scissor.top);
    }
    m_gl.Enable(D3D9GL_DEPTH_TEST, key.depth_on);
    m_gl.Enable(D3D9GL_BLEND, key.blend_on);
    if (key.blend_on)
        m_gl.BlendFunc(BlendFactor(key.source_blend), BlendFactor(key.destination_blend));
    // Both count windings as they look on the screen: culling clockwise
    // faces keeps the counter-clockwise ones in front, and the other way.
    m_gl.Enable(D3D9GL_CULL_FACE, key.cull != D3DCULL_NONE);
    if (key.cull != D3DCULL_NONE)
        m_gl.FrontFace(key.cull == D3DCULL_CW ? GL_CCW : GL_CW);
    m_gl.Enable(D3D9GL_MULTISAMPLE, key.multisample);
}

void D3D9GLBackend::BindTexture(IDirect3DTexture9 *texture)
{
    GLuint name = texture->GetBackendName();
    bool changed = texture->TakeChanged();
    if (!name) {
        glGenTextures(1, &name);
        texture->SetBackendName(name);
        texture->SetBackendFilter(0);
        m_gl.BindTexture(name);
        // One level: no mipmaps.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        m_gl.Count(2);
        changed = true;
    } else {
        m_gl.BindTexture(name);
    }
    if (!changed)
        return;
    const D3D9Pixels &pixels = texture->GetPixels();
    for (const TextureFormat &format : TEXTURE_FORMATS)
        if (format.format == pixels.format) {
            glTexImage2D(GL_TEXTURE_2D, 0, format.internal, pixels.width, pixels.height, 0, format.layout, format.type,
                         pixels.bits);
            m_gl.Count(1);
            // GL keeps the pixels now; a later lock reads them back.
            m_dropped_bytes += texture->DropPixels();
        }
}

bool D3D9GLBackend::ReadTexture(IDirect3DTexture9 *texture, D3D9Pixels *pixels)
{
    const GLuint name = texture->GetBackendName();
    if (!name || !Activate())
        return false;
    for (const TextureFormat &format : TEXTURE_FORMATS)
        if (format.format == pixels->format) {
            m_gl.BindTexture(name);
            // Rows come back the pitch apart: a multiple of 4, the pack alignment.
            glGetTexImage(GL_TEXTURE_2D, 0, format.layout, format.type, pixels->bits);
            return glGetError() == GL_NO_ERROR;
        }
    return false;
}

void D3D9GLBackend::ApplyTexture(const BatchKey &key)
{
    m_gl.Enable(D3D9GL_TEXTURE_2D, key.texture != nullptr);
    if (!key.texture)
        return;
    BindTexture(key.texture);
    // Filtering belongs to the sampler in Direct3D and to the texture in GL.
    const unsigned int filter = FilterOf(key.mag_filter, key.min_filter);
    if (key.texture->GetBackendFilter() != filter) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, key.mag_filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, key.min_filter == D3DTEXF_LINEAR ? GL_LINEAR : GL_NEAREST);
        m_gl.Count(2);
        key.texture->SetBackendFilter(filter);
    }
    m_gl.TexEnv(GL_TEXTURE_ENV_MODE, GL_COMBINE);
    SetCombine(&m_gl, false, key.colour_op, key.colour_arg1, key.colour_arg2);
    SetCombine(&m_gl, true, key.alpha_op, key.alpha_arg1, key.alpha_arg2);
}

void D3D9GLBackend::AppendVertices(const D3D9DeviceState &state, D3DPRIMITIVETYPE type, const BYTE *vertices,
                                   UINT vertex_count)
{
    const DWORD fvf = state.fvf;
    const bool pretransformed = (fvf & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
    // Pre-transformed vertices are never lit.
    const bool lit = !pretransformed && state.render_states[D3DRS_LIGHTING];
    // Where each part sits inside a vertex.
    const UINT position_size = pretransformed ? 16 : 12;
    const UINT diffuse_at = position_size + ((fvf & D3DFVF_NORMAL) ? 12 : 0);
    const UINT specular_at = diffuse_at + ((fvf & D3DFVF_DIFFUSE) ? 4 : 0);
    const UINT texture_at = specular_at + ((fvf & D3DFVF_SPECULAR) ? 4 : 0);
    const bool textured = (fvf & D3DFVF_TEXCOUNT_MASK) != 0;
    const D3DMATRIX transform = Multiply(Multiply(state.world, state.view), state.projection);

    // A strip's triangles become a list's: each odd one turned back, as
    // GL turns it, so every triangle keeps its winding.
    const size_t triangles = type == D3DPT_TRIANGLELIST ? vertex_count / 3 : vertex_count - 2;
    const size_t first = m_batch_size;
    m_batch_size += triangles * 3;
    if (m_batch.size() < m_batch_size)
        m_batch.resize(std::max(m_batch_size, m_batch.size() * 2));

    // Each source vertex is worked out once, into the place of its first use.
    D3D9GLVertex *out = m_batch.data() + first;
    for (UINT i = 0; i < vertex_count; i++) {
        const BYTE *vertex = vertices + static_cast<size_t>(i) * state.stream_stride;
        D3D9GLVertex made;
        D3DCOLOR diffuse = 0, specular = 0;
        if (fvf & D3DFVF_DIFFUSE)
            diffuse = ReadColour(vertex + diffuse_at);
        if (fvf & D3DFVF_SPECULAR)
            specular = ReadColour(vertex + specular_at);
        if (lit) {
            LitColour(state, (fvf & D3DFVF_DIFFUSE) ? &diffuse : nullptr, (fvf & D3DFVF_SPECULAR) ? &specular : nullptr,
                      made.colour);
        } else {
            // Without a colour of its own a vertex is white.
            D3DCOLOR shown = (fvf & D3DFVF_DIFFUSE) ? diffuse : 0xFFFFFFFFu;
            made.colour[0] = static_cast<GLubyte>(shown >> 16);
            made.colour[1] = static_cast<GLubyte>(shown >> 8);
            made.colour[2] = static_cast<GLubyte>(shown);
            made.colour[3] = static_cast<GLubyte>(shown >> 24);
        }
        // Without texture coordinates a texture is sampled at (0, 0), as
        // Direct3D does.
        made.uv[0] = textured ? ReadFloat(vertex + texture_at) : 0.0f;
        made.uv[1] = textured ? ReadFloat(vertex + texture_at + 4) : 0.0f;
        const float x = ReadFloat(vertex), y = ReadFloat(vertex + 4), z = ReadFloat(vertex + 8);
        if (pretransformed) {
            // rhw is 1/w: scaling by w keeps textures in perspective.
            const float rhw = ReadFloat(vertex + 12);
            const float w = rhw != 0.0f ? 1.0f / rhw : 1.0f;
            made.position[0] = x * w;
            made.position[1] = y * w;
            made.position[2] = z * w;
            made.position[3] = w;
        } else {
            for (int c = 0; c < 4; c++)
                made.position[c] =
                    x * transform.m[0][c] + y * transform.m[1][c] + z * transform.m[2][c] + transform.m[3][c];
        }
        if (type == D3DPT_TRIANGLELIST) {
            out[i] = made;
            continue;
        }
        // Vertex i of a strip is corner 2 of triangle i - 2, corner 0 or 1
        // of triangle i - 1 and corner 0 or 1 of triangle i.
        const UINT corners_before[3] = {2, (i - 1) % 2 == 0 ? 1u : 0u, i % 2 == 0 ? 0u : 1u};
        for (UINT k = 0; k < 3; k++) {
            const long triangle = static_cast<long>(i) - 2 + k;
            if (triangle >= 0 && static_cast<size_t>(triangle) < triangles)
                out[triangle * 3 + corners_before[k]] = made;
        }
    }
}

HRESULT D3D9GLBackend::Draw(const D3D9DeviceState &state, D3DPRIMITIVETYPE type, UINT, const BYTE *vertices,
                            UINT vertex_count)
{
    if (!Activate())
        return D3DERR_INVALIDCALL;
    BatchKey key;
    MakeBatchKey(state, &key);
    if (m_batch_size && std::memcmp(&key, &m_batch_key, sizeof(key)) != 0)
        Flush();
    m_batch_key = key;
    AppendVertices(state, type, vertices, vertex_count);
    if (!m_batching)
        Flush();
    return S_OK;
}

void D3D9GLBackend::Flush()
{
    if (!m_batch_size)
        return;
    // Without its window there is nothing to draw into.
    if (!Activate()) {
        m_batch_size = 0;
        return;
    }
    CheckWindowSize();
    if (m_in_window && m_batch_key.depth_on)
        LeaveWindow(true);
    ApplyRasterState(m_batch_key);
    ApplyTexture(m_batch_key);
    m_gl.VertexArrays(m_batch.data());
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(m_batch_size));
    m_gl.Count(1);
    const size_t vertices = m_batch_size;
    m_batch_size = 0;
    // Errors are asked for once a batch.
    GLenum error = glGetError();
    m_gl.Count(1);
    if (error == GL_NO_ERROR)
        return;
    while (glGetError() != GL_NO_ERROR) {
    }
    D3D9ReportError("D3D9GLBackend::Flush", "GL error 0x%04x drawing %lu triangles", static_cast<unsigned>(error),
                    static_cast<unsigned long>(vertices / 3));
}

void D3D9GLBackend::SetBatching(bool on)
{
    Flush();
    m_batching = on;
}
