// The GL backend's record of the GL state it has applied to its context.
// Each setter sends its value only when it differs from the record, so a
// draw changes only what differs from the draw before; GL implementations
// do not all skip an unchanged setting themselves (some rebuild programs on
// every texture-environment call). The record is forgotten whenever GL state
// may have changed behind it (a new context, code outside the device): the
// next call of each setter then sends its value. It also counts the GL calls
// the backend makes, for the frame benchmark. Nothing here can fail.
#pragma once

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <array>

// One vertex as the backend sends it: a position in clip space (or in
// pixels scaled by w, for pre-transformed vertices), the colour as red,
// green, blue and alpha bytes, and the texture coordinate.
struct D3D9GLVertex {
    GLfloat position[4];
    GLubyte colour[4];
    GLfloat uv[2];
};

// The capabilities the backend switches on and off.
enum D3D9GLCap {
    D3D9GL_SCISSOR_TEST,
    D3D9GL_DEPTH_TEST,
    D3D9GL_BLEND,
    D3D9GL_CULL_FACE,
    D3D9GL_MULTISAMPLE,
    D3D9GL_TEXTURE_2D,
    D3D9GL_CAP_COUNT,
};

// The texture-environment settings of the first stage.
#define D3D9GL_TEX_ENV_COUNT 15

class D3D9GLStateCache {
public:
    D3D9GLStateCache();

    // Everything unknown: each setter sends its next value.
    void Forget();

    void Enable(D3D9GLCap cap, bool on);
    void Viewport(GLint x, GLint y, GLsizei width, GLsizei height);
    void DepthRange(GLdouble near_z, GLdouble far_z);
    void Scissor(GLint x, GLint y, GLsizei width, GLsizei height);
    void BlendFunc(GLenum source, GLenum destination);
    void FrontFace(GLenum mode);
    // The projection matrix (the model-view matrix stays the identity).
    void Projection(const GLfloat matrix[16]);
    void BindTexture(GLuint name);
    // The texture is deleted: GL may give its name to another one.
    void TextureDeleted(GLuint name);
    void TexEnv(GLenum name, GLint value);
    // Where the vertex arrays start.
    void VertexArrays(const D3D9GLVertex *vertices);
    // Settings the backend never changes after they are first sent: write
    // masks, the depth and blend functions, the culled face, the matrices'
    // mode and the array switches.
    void Fixed();

    // Counts calls the backend sends on its own.
    void Count(unsigned long calls) { m_calls += calls; }
    unsigned long Calls() const { return m_calls; }

private:
    template <typename T>
    struct Recorded {
        T value{};
        bool known = false;
        // True (and recorded) when value differs from what was sent last.
        bool Change(const T &next)
        {
            if (known && value == next)
                return false;
            value = next;
            known = true;
            return true;
        }
    };

    struct Record {
        std::array<Recorded<bool>, D3D9GL_CAP_COUNT> caps;
        Recorded<std::array<GLint, 4>> viewport, scissor;
        Recorded<std::array<GLdouble, 2>> depth_range;
        Recorded<std::array<GLenum, 2>> blend;
        Recorded<GLenum> front_face;
        Recorded<std::array<GLfloat, 16>> projection;
        Recorded<GLuint> texture;
        std::array<Recorded<GLint>, D3D9GL_TEX_ENV_COUNT> tex_env;
        Recorded<const D3D9GLVertex *> arrays;
        bool fixed_sent = false;
    };

    Record m_record;
    unsigned long m_calls;
};
