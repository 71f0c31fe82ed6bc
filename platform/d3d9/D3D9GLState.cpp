#include "platform/d3d9/D3D9GLState.h"

namespace {

const GLenum CAPS[D3D9GL_CAP_COUNT] = {GL_SCISSOR_TEST, GL_DEPTH_TEST, GL_BLEND,
                                       GL_CULL_FACE,    GL_MULTISAMPLE, GL_TEXTURE_2D};

const GLenum TEX_ENV_NAMES[D3D9GL_TEX_ENV_COUNT] = {
    GL_TEXTURE_ENV_MODE, GL_COMBINE_RGB,    GL_COMBINE_ALPHA,   GL_SRC0_RGB,        GL_SRC1_RGB,
    GL_SRC2_RGB,         GL_SRC0_ALPHA,     GL_SRC1_ALPHA,      GL_SRC2_ALPHA,      GL_OPERAND0_RGB,
    GL_OPERAND1_RGB,     GL_OPERAND2_RGB,   GL_OPERAND0_ALPHA,  GL_OPERAND1_ALPHA,  GL_OPERAND2_ALPHA,
};

} // namespace

D3D9GLStateCache::D3D9GLStateCache() : m_record(), m_calls(0) {}

void D3D9GLStateCache::Forget()
{
    m_record = Record();
}

void D3D9GLStateCache::Enable(D3D9GLCap cap, bool on)
{
    if (!m_record.caps[cap].Change(on))
        return;
    if (on)
        glEnable(CAPS[cap]);
    else
        glDisable(CAPS[cap]);
    m_calls++;
}

void D3D9GLStateCache::Viewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    if (!m_record.viewport.Change({x, y, width, height}))
        return;
    glViewport(x, y, width, height);
    m_calls++;
}

void D3D9GLStateCache::DepthRange(GLdouble near_z, GLdouble far_z)
{
    if (!m_record.depth_range.Change({near_z, far_z}))
        return;
    glDepthRange(near_z, far_z);
    m_calls++;
}

void D3D9GLStateCache::Scissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    if (!m_record.scissor.Change({x, y, width, height}))
        return;
    glScissor(x, y, width, height);
    m_calls++;
}

void D3D9GLStateCache::BlendFunc(GLenum source, GLenum destination)
{
    if (!m_record.blend.Change({source, destination}))
        return;
    glBlendFunc(source, destination);
    m_calls++;
}

void D3D9GLStateCache::FrontFace(GLenum mode)
{
    if (!m_record.front_face.Change(mode))
        return;
    glFrontFace(mode);
    m_calls++;
}

void D3D9GLStateCache::Projection(const GLfloat matrix[16])
{
    std::array<GLfloat, 16> next;
    for (int i = 0; i < 16; i++)
        next[i] = matrix[i];
    if (!m_record.projection.Change(next))
        return;
    // The matrix mode stays on the projection (Fixed).
    glLoadMatrixf(matrix);
    m_calls++;
}

void D3D9GLStateCache::BindTexture(GLuint name)
{
    if (!m_record.texture.Change(name))
        return;
    glBindTexture(GL_TEXTURE_2D, name);
    m_calls++;
}

void D3D9GLStateCache::TextureDeleted(GLuint name)
{
    if (m_record.texture.value == name)
        m_record.texture.known = false;
}

void D3D9GLStateCache::TexEnv(GLenum name, GLint value)
{
    for (int i = 0; i < D3D9GL_TEX_ENV_COUNT; i++) {
        if (TEX_ENV_NAMES[i] != name)
            continue;
        if (m_record.tex_env[i].Change(value)) {
            glTexEnvi(GL_TEXTURE_ENV, name, value);
            m_calls++;
        }
        return;
    }
}

void D3D9GLStateCache::VertexArrays(const D3D9GLVertex *vertices)
{
    if (!m_record.arrays.Change(vertices))
        return;
    const GLsizei stride = sizeof(D3D9GLVertex);
    glVertexPointer(4, GL_FLOAT, stride, vertices->position);
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, vertices->colour);
    glTexCoordPointer(2, GL_FLOAT, stride, vertices->uv);
    m_calls += 3;
}

void D3D9GLStateCache::Fixed()
{
    if (m_record.fixed_sent)
        return;
    m_record.fixed_sent = true;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(~0u);
    glDepthFunc(GL_LEQUAL);
    glBlendEquation(GL_FUNC_ADD);
    glCullFace(GL_BACK);
    glActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    m_calls += 13;
}
