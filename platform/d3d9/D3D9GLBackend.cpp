#include "platform/d3d9/D3D9GLBackend.h"
#include "platform/d3d9/D3D9GL.h"
#include "platform/win32/Win32Headless.h"
#include "platform/win32/Win32Video.h"
#include "platform/win32/Win32WindowInternal.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <new>
#include <vector>

namespace {

// Freed texture pixels past which Present trims the heap.
const size_t TRIM_AFTER_BYTES = 4u << 20;

struct ColourFormat {
    D3DFORMAT format;
    GLenum internal;
};

// Back-buffer formats as GL keeps them. Without an alpha channel the
// destination alpha reads 1, as it does on a Direct3D back buffer.
const ColourFormat BACK_BUFFER_FORMATS[] = {
    {D3DFMT_X8R8G8B8, GL_RGB8},   {D3DFMT_A8R8G8B8, GL_RGBA8}, {D3DFMT_R8G8B8, GL_RGB8},
    {D3DFMT_R5G6B5, GL_RGB565},   {D3DFMT_X1R5G5B5, GL_RGB5},  {D3DFMT_A1R5G5B5, GL_RGB5_A1},
    {D3DFMT_X4R4G4B4, GL_RGB4},   {D3DFMT_A4R4G4B4, GL_RGBA4},
};

// Every depth-stencil format a back buffer can be asked for.
const D3DFORMAT DEPTH_FORMATS[] = {D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32};

// Formats with fewer stencil bits than GL's get its 8.
bool DepthFormatOf(D3DFORMAT format, GLenum *internal, bool *stencil)
{
    *stencil = false;
    switch (format) {
    case D3DFMT_D16: *internal = GL_DEPTH_COMPONENT16; return true;
    case D3DFMT_D24X8: *internal = GL_DEPTH_COMPONENT24; return true;
    case D3DFMT_D32: *internal = GL_DEPTH_COMPONENT32; return true;
    case D3DFMT_D24S8:
    case D3DFMT_D24X4S4:
    case D3DFMT_D15S1:
        *internal = GL_DEPTH24_STENCIL8;
        *stencil = true;
        return true;
    default: return false;
    }
}

bool HasGL(int major, int minor, const char *extension)
{
    int have_major = 0, have_minor = 0;
    const char *version = reinterpret_cast<const char *>(glGetString(GL_VERSION));
    if (version && sscanf(version, "%d.%d", &have_major, &have_minor) == 2 &&
        (have_major > major || (have_major == major && have_minor >= minor)))
        return true;
    const char *extensions = reinterpret_cast<const char *>(glGetString(GL_EXTENSIONS));
    if (!extensions)
        return false;
    size_t length = std::strlen(extension);
    for (const char *found = std::strstr(extensions, extension); found; found = std::strstr(found + 1, extension))
        if ((found == extensions || found[-1] == ' ') && (found[length] == ' ' || found[length] == 0))
            return true;
    return false;
}

HRESULT ResultOfGLError()
{
    GLenum error = glGetError();
    while (glGetError() != GL_NO_ERROR) {
    }
    if (error == GL_NO_ERROR)
        return S_OK;
    return error == GL_OUT_OF_MEMORY ? D3DERR_OUTOFVIDEOMEMORY : D3DERR_INVALIDCALL;
}

// What this GL makes of multisampled and depth-tested back buffers, asked of
// a context current on a hidden window of its own; false without GL or
// frame buffer objects.
bool ProbeBackBuffers(D3D9BackBufferOffer *offer)
{
    if (!PlatformEnsureVideo() || !D3D9GLPrepareWindow())
        return false;
    SDL_Window *previous_window = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous_context = SDL_GL_GetCurrentContext();
    SDL_Window *window = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16, 16,
                                          SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    bool probed = context && SDL_GL_MakeCurrent(window, context) == 0 && HasGL(3, 0, "GL_ARB_framebuffer_object");
    if (probed) {
        GLint max_samples = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &max_samples);
        offer->max_samples = max_samples;
        GLuint framebuffer = 0, colour = 0, depth = 0;
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glGenRenderbuffers(1, &colour);
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        // GL gives the next count it has when asked for one it has not.
        for (int samples = 2; samples <= 16 && samples <= max_samples; samples++) {
            glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, 16, 16);
            GLint made = 0;
            glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_SAMPLES, &made);
            offer->samples[samples] = glGetError() == GL_NO_ERROR && made == samples;
        }
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 16, 16);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        for (D3DFORMAT format : DEPTH_FORMATS) {
            GLenum internal = 0;
            bool stencil = false;
            DepthFormatOf(format, &internal, &stencil);
            glBindRenderbuffer(GL_RENDERBUFFER, depth);
            glRenderbufferStorage(GL_RENDERBUFFER, internal, 16, 16);
            GLenum attachment = stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, depth);
            if (glGetError() == GL_NO_ERROR && glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE)
                offer->depth_formats[offer->depth_format_count++] = format;
            glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, 0);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &colour);
        glDeleteRenderbuffers(1, &depth);
        ResultOfGLError();
    }
    if (context)
        SDL_GL_DeleteContext(context);
    if (window)
        SDL_DestroyWindow(window);
    if (previous_context)
        SDL_GL_MakeCurrent(previous_window, previous_context);
    return probed;
}

} // namespace

bool D3D9IsBackBufferFormat(D3DFORMAT format)
{
    for (const ColourFormat &known : BACK_BUFFER_FORMATS)
        if (known.format == format)
            return true;
    return false;
}

bool D3D9IsDepthStencilFormat(D3DFORMAT format)
{
    GLenum internal = 0;
    bool stencil = false;
    return DepthFormatOf(format, &internal, &stencil);
}

bool D3D9SamplesOf(D3DMULTISAMPLE_TYPE type, DWORD quality, int *samples)
{
    if (type == D3DMULTISAMPLE_NONE) {
        *samples = 0;
        return quality == 0;
    }
    if (type == D3DMULTISAMPLE_NONMASKABLE) {
        *samples = 2 * (static_cast<int>(quality) + 1);
        return quality < 8;
    }
    *samples = type;
    return type >= 2 && type <= 16 && quality == 0;
}

void D3D9GetBackBufferOffer(D3D9BackBufferOffer *offer)
{
    static D3D9BackBufferOffer probed_offer;
    static bool probed = false;
    *offer = D3D9BackBufferOffer();
    if (PlatformIsHeadless()) {
        for (int samples = 2; samples <= 16; samples++)
            if (PlatformHeadlessOffersSamples(samples)) {
                offer->samples[samples] = true;
                offer->max_samples = samples;
            }
        for (D3DFORMAT format : DEPTH_FORMATS)
            offer->depth_formats[offer->depth_format_count++] = format;
        return;
    }
    // What GL offers does not change during a run; a failed probe (no
    // display yet) is tried again next time.
    if (!probed) {
        probed_offer = D3D9BackBufferOffer();
        probed = ProbeBackBuffers(&probed_offer);
    }
    if (probed)
        *offer = probed_offer;
}

bool D3D9GLPrepareWindow()
{
    SDL_GL_ResetAttributes();
    // The back buffer is a frame buffer of the device's own; the window only
    // shows it, so it needs no depth, stencil or samples.
    const struct {
        SDL_GLattr attribute;
        int value;
    } attributes[] = {
        {SDL_GL_CONTEXT_MAJOR_VERSION, 2},
        {SDL_GL_CONTEXT_MINOR_VERSION, 1},
        {SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY},
        {SDL_GL_DOUBLEBUFFER, 1},
        {SDL_GL_RED_SIZE, 8},
        {SDL_GL_GREEN_SIZE, 8},
        {SDL_GL_BLUE_SIZE, 8},
        {SDL_GL_DEPTH_SIZE, 0},
    };
    for (const auto &attribute : attributes)
        if (SDL_GL_SetAttribute(attribute.attribute, attribute.value) != 0)
            return false;
    return true;
}

D3D9DeviceBackend *D3D9CreateGLBackend(HWND window, const D3DPRESENT_PARAMETERS *parameters, HRESULT *result)
{
    return D3D9GLBackend::Create(window, parameters, result);
}

D3D9GLBackend::D3D9GLBackend()
    : m_window(nullptr), m_window_id(0), m_context(nullptr), m_width(0), m_height(0), m_samples(0),
      m_has_depth(false), m_has_sync(false), m_framebuffer(0), m_colour(0), m_depth(0), m_resolve_framebuffer(0),
      m_resolve_colour(0), m_in_window(false), m_size_checked(false), m_held_clears(0), m_held_z(1.0f),
      m_held_stencil(0), m_gl(), m_batching(true), m_batch_key(), m_batch(), m_batch_size(0),
      m_dropped_bytes(0)
{
}

D3D9GLBackend *D3D9GLBackend::Create(HWND window, const D3DPRESENT_PARAMETERS *parameters, HRESULT *result)
{
    *result = D3DERR_NOTAVAILABLE;
    if (!window || !window->sdl || !(SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_OPENGL))
        return nullptr;
    D3D9GLBackend *backend = new (std::nothrow) D3D9GLBackend();
    if (!backend) {
        *result = E_OUTOFMEMORY;
        return nullptr;
    }
    backend->m_window = window->sdl;
    backend->m_window_id = SDL_GetWindowID(window->sdl);
    backend->m_context = SDL_GL_CreateContext(window->sdl);
    if (!backend->m_context || !backend->Activate() || !HasGL(3, 0, "GL_ARB_framebuffer_object")) {
        delete backend;
        return nullptr;
    }
    backend->m_has_sync = HasGL(3, 2, "GL_ARB_sync");
    // Frames are shown as soon as they are presented, or at the display's
    // refresh for any other interval.
    SDL_GL_SetSwapInterval(parameters->PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
    *result = backend->MakeFramebuffers(parameters);
    if (*result != S_OK) {
        delete backend;
        return nullptr;
    }
    backend->m_in_window = backend->WindowServes(parameters->BackBufferFormat);
    glBindFramebuffer(GL_FRAMEBUFFER, backend->m_in_window ? 0 : backend->m_framebuffer);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // Lighting is worked out with the vertices (D3D9GLDraw.cpp).
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    *result = ResultOfGLError();
    if (*result != S_OK) {
        delete backend;
        return nullptr;
    }
    return backend;
}

HRESULT D3D9GLBackend::MakeFramebuffers(const D3DPRESENT_PARAMETERS *parameters)
{
    GLenum colour_format = 0;
    for (const ColourFormat &known : BACK_BUFFER_FORMATS)
        if (known.format == parameters->BackBufferFormat)
            colour_format = known.internal;
    GLenum depth_format = 0;
    bool stencil = false;
    m_has_depth = parameters->EnableAutoDepthStencil != FALSE;
    if (!colour_format || (m_has_depth && !DepthFormatOf(parameters->AutoDepthStencilFormat, &depth_format, &stencil)) ||
        !D3D9SamplesOf(parameters->MultiSampleType, parameters->MultiSampleQuality, &m_samples))
        return D3DERR_INVALIDCALL;
    GLint max_samples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &max_samples);
    if (m_samples > max_samples)
        return D3DERR_INVALIDCALL;
    m_width = static_cast<int>(parameters->BackBufferWidth);
    m_height = static_cast<int>(parameters->BackBufferHeight);

    glGenFramebuffers(1, &m_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    glGenRenderbuffers(1, &m_colour);
    glBindRenderbuffer(GL_RENDERBUFFER, m_colour);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, m_samples, colour_format, m_width, m_height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_colour);
    if (m_has_depth) {
        glGenRenderbuffers(1, &m_depth);
        glBindRenderbuffer(GL_RENDERBUFFER, m_depth);
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, m_samples, depth_format, m_width, m_height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT,
                                  GL_RENDERBUFFER, m_depth);
    }
    HRESULT result = ResultOfGLError();
    if (result == S_OK && glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        result = D3DERR_NOTAVAILABLE;
    if (result != S_OK || !m_samples)
        return result;

    // A multisample back buffer is resolved into this one before it is shown.
    glGenFramebuffers(1, &m_resolve_framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, m_resolve_framebuffer);
    glGenRenderbuffers(1, &m_resolve_colour);
    glBindRenderbuffer(GL_RENDERBUFFER, m_resolve_colour);
    glRenderbufferStorage(GL_RENDERBUFFER, colour_format, m_width, m_height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, m_resolve_colour);
    result = ResultOfGLError();
    if (result == S_OK && glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        result = D3DERR_NOTAVAILABLE;
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    return result;
}

D3D9GLBackend::~D3D9GLBackend()
{
    if (Activate()) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        const GLuint framebuffers[] = {m_framebuffer, m_resolve_framebuffer};
        const GLuint renderbuffers[] = {m_colour, m_depth, m_resolve_colour};
        glDeleteFramebuffers(2, framebuffers);
        glDeleteRenderbuffers(3, renderbuffers);
    }
    // Deleting the context frees whatever was left in it.
    if (m_context && SDL_WasInit(SDL_INIT_VIDEO)) {
        if (SDL_GL_GetCurrentContext() == m_context)
            SDL_GL_MakeCurrent(nullptr, nullptr);
        SDL_GL_DeleteContext(m_context);
    }
}

bool D3D9GLBackend::Activate()
{
    // A window that has gone keeps its id unused, so the id tells.
    if (!m_context || SDL_GetWindowFromID(m_window_id) != m_window)
        return false;
    return SDL_GL_GetCurrentContext() == m_context || SDL_GL_MakeCurrent(m_window, m_context) == 0;
}

bool D3D9GLBackend::WindowServes(D3DFORMAT format)
{
    // Without alpha in the back buffer the window must have none either, so
    // that blending reads a destination alpha of 1.
    GLint alpha = 0;
    if (format == D3DFMT_A8R8G8B8)
        alpha = 8;
    else if (format != D3DFMT_X8R8G8B8 && format != D3DFMT_R8G8B8)
        return false;
    if (m_samples)
        return false;
    GLint bits[5] = {};
    const GLenum asked[5] = {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS, GL_SAMPLE_BUFFERS};
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    for (int i = 0; i < 5; i++)
        glGetIntegerv(asked[i], &bits[i]);
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(m_window, &width, &height);
    return bits[0] == 8 && bits[1] == 8 && bits[2] == 8 && bits[3] == alpha && bits[4] == 0 && width == m_width &&
           height == m_height;
}

void D3D9GLBackend::CheckWindowSize()
{
    if (!m_in_window || m_size_checked)
        return;
    m_size_checked = true;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(m_window, &width, &height);
    if (width != m_width || height != m_height)
        LeaveWindow(false);
}

void D3D9GLBackend::LeaveWindow(bool keep_colour)
{
    m_in_window = false;
    m_gl.Fixed();
    m_gl.Enable(D3D9GL_SCISSOR_TEST, false);
    if (keep_colour) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_framebuffer);
        glBlitFramebuffer(0, 0, m_width, m_height, 0, 0, m_width, m_height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        m_gl.Count(3);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, m_framebuffer);
    m_gl.Count(1);
    if (!m_held_clears)
        return;
    glClearDepth(m_held_z);
    glClearStencil(static_cast<GLint>(m_held_stencil));
    glClear(((m_held_clears & D3DCLEAR_ZBUFFER) ? GL_DEPTH_BUFFER_BIT : 0) |
            ((m_held_clears & D3DCLEAR_STENCIL) ? GL_STENCIL_BUFFER_BIT : 0));
    m_gl.Count(3);
    m_held_clears = 0;
}

unsigned int D3D9GLBackend::ResolvedFramebuffer()
{
    if (m_in_window)
        return 0;
    if (!m_samples)
        return m_framebuffer;
    m_gl.Enable(D3D9GL_SCISSOR_TEST, false);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, m_framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, m_resolve_framebuffer);
    glBlitFramebuffer(0, 0, m_width, m_height, 0, 0, m_width, m_height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    m_gl.Count(3);
    return m_resolve_framebuffer;
}

HRESULT D3D9GLBackend::Clear(const D3D9DeviceState &, DWORD count, const D3DRECT *rects, DWORD flags,
                             D3DCOLOR colour, float z, DWORD stencil)
{
    if (!Activate())
        return D3DERR_INVALIDCALL;
    Flush();
    CheckWindowSize();
    const DWORD depth_flags = flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
    if (m_in_window && depth_flags) {
        // The window has no depth or stencil buffer: a clear of the whole of
        // them waits until a draw needs them; anything less moves the
        // drawing to the frame buffer now.
        if (count == 1 && rects[0].x1 == 0 && rects[0].y1 == 0 && rects[0].x2 == m_width && rects[0].y2 == m_height) {
            if (flags & D3DCLEAR_ZBUFFER)
                m_held_z = z;
            if (flags & D3DCLEAR_STENCIL)
                m_held_stencil = stencil;
            m_held_clears |= depth_flags;
            flags &= ~depth_flags;
            if (!flags)
                return S_OK;
        } else {
            LeaveWindow(true);
        }
    }
    // A clear writes every channel, as the fixed write masks let it.
    m_gl.Fixed();
    glClearColor(((colour >> 16) & 0xFF) / 255.0f, ((colour >> 8) & 0xFF) / 255.0f, (colour & 0xFF) / 255.0f,
                 (colour >> 24) / 255.0f);
    glClearDepth(z);
    glClearStencil(static_cast<GLint>(stencil));
    m_gl.Count(3);
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET)
        mask |= GL_COLOR_BUFFER_BIT;
    if (flags & D3DCLEAR_ZBUFFER)
        mask |= GL_DEPTH_BUFFER_BIT;
    if (flags & D3DCLEAR_STENCIL)
        mask |= GL_STENCIL_BUFFER_BIT;
    m_gl.Enable(D3D9GL_SCISSOR_TEST, true);
    for (DWORD i = 0; i < count; i++) {
        // GL counts rows from the bottom.
        m_gl.Scissor(rects[i].x1, m_height - rects[i].y2, rects[i].x2 - rects[i].x1, rects[i].y2 - rects[i].y1);
        glClear(mask);
        m_gl.Count(1);
    }
    return ResultOfGLError();
}

HRESULT D3D9GLBackend::Present()
{
    if (!Activate())
        return D3DERR_INVALIDCALL;
    Flush();
    if (!m_in_window) {
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(m_window, &width, &height);
        GLuint source = ResolvedFramebuffer();
        m_gl.Enable(D3D9GL_SCISSOR_TEST, false);
        m_gl.Count(3);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        // A back buffer of another size than the window is stretched over it.
        glBlitFramebuffer(0, 0, m_width, m_height, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                          width == m_width && height == m_height ? GL_NEAREST : GL_LINEAR);
    }
    SDL_GL_SwapWindow(m_window);
    glBindFramebuffer(GL_FRAMEBUFFER, DrawFramebuffer());
    m_gl.Count(1);
    m_size_checked = false;
    // The first frames of a screen free the pixel copies of every texture
    // they upload, megabytes at once that the allocator would otherwise keep
    // for itself; hand them back to the system once they add up.
    if (m_dropped_bytes >= TRIM_AFTER_BYTES) {
        malloc_trim(0);
        m_dropped_bytes = 0;
    }
    return ResultOfGLError();
}

void D3D9GLBackend::ForgetTexture(IDirect3DTexture9 *texture)
{
    // Draws held back may still use it.
    Flush();
    GLuint name = texture->GetBackendName();
    if (name && Activate()) {
        glDeleteTextures(1, &name);
        m_gl.TextureDeleted(name);
    }
    texture->SetBackendName(0);
}

// Without sync objects, a fence is this backend itself, and waiting for it
// waits for everything (glFinish).
void *D3D9GLBackend::InsertFence()
{
    if (!Activate())
        return nullptr;
    Flush();
    if (m_has_sync)
        return glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    glFlush();
    return this;
}

bool D3D9GLBackend::IsFenceDone(void *fence, bool flush)
{
    if (!fence || !Activate())
        return true;
    if (fence == this) {
        glFinish();
        return true;
    }
    GLenum state = glClientWaitSync(static_cast<GLsync>(fence), flush ? GL_SYNC_FLUSH_COMMANDS_BIT : 0, 0);
    return state != GL_TIMEOUT_EXPIRED;
}

void D3D9GLBackend::WaitForFence(void *fence)
{
    if (!fence || !Activate())
        return;
    if (fence == this) {
        glFinish();
        return;
    }
    const GLuint64 second = 1000000000u;
    while (glClientWaitSync(static_cast<GLsync>(fence), GL_SYNC_FLUSH_COMMANDS_BIT, second) == GL_TIMEOUT_EXPIRED) {
    }
}

void D3D9GLBackend::DeleteFence(void *fence)
{
    if (fence && fence != this && Activate())
        glDeleteSync(static_cast<GLsync>(fence));
}

HRESULT D3D9GLBackend::ReadBackBuffer(const RECT *rect, DWORD *argb)
{
    if (!rect || !argb || rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        rect->right > m_width || rect->bottom > m_height || !Activate())
        return D3DERR_INVALIDCALL;
    Flush();
    CheckWindowSize();
    int width = rect->right - rect->left, height = rect->bottom - rect->top;
    std::vector<DWORD> rows(static_cast<size_t>(width) * height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, ResolvedFramebuffer());
    // Bytes blue, green, red, alpha are an ARGB value read as one word.
    glReadPixels(rect->left, m_height - rect->bottom, width, height, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    glBindFramebuffer(GL_FRAMEBUFFER, DrawFramebuffer());
    for (int y = 0; y < height; y++)
        std::memcpy(argb + static_cast<size_t>(y) * width, rows.data() + static_cast<size_t>(height - 1 - y) * width,
                    sizeof(DWORD) * width);
    return ResultOfGLError();
}

HRESULT D3D9GLReadBackBuffer(IDirect3DDevice9 *device, const RECT *rect, DWORD *argb)
{
    D3D9GLBackend *backend = device ? dynamic_cast<D3D9GLBackend *>(device->GetBackend()) : nullptr;
    return backend ? backend->ReadBackBuffer(rect, argb) : D3DERR_INVALIDCALL;
}

void D3D9GLBackend::RaiseError()
{
    if (Activate())
        glEnable(GL_NONE);
}

HRESULT D3D9GLBackend::DrawReferenceTriangles(IDirect3DTexture9 *texture, const float *vertices, int vertex_count)
{
    if (!texture || !vertices || vertex_count < 0 || !Activate())
        return D3DERR_INVALIDCALL;
    Flush();
    CheckWindowSize();
    // Plain GL, as a program of its own would draw; the record of applied
    // state no longer holds afterwards.
    glViewport(0, 0, m_width, m_height);
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, m_width, m_height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glActiveTexture(GL_TEXTURE0);
    BindTexture(texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4ub(255, 255, 255, 255);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 4 * sizeof(float), vertices);
    glTexCoordPointer(2, GL_FLOAT, 4 * sizeof(float), vertices + 2);
    glDrawArrays(GL_TRIANGLES, 0, vertex_count);
    texture->SetBackendFilter(0);
    m_gl.Forget();
    return ResultOfGLError();
}

HRESULT D3D9GLDrawReferenceTriangles(IDirect3DDevice9 *device, IDirect3DTexture9 *texture, const float *vertices,
                                     int vertex_count)
{
    D3D9GLBackend *backend = device ? dynamic_cast<D3D9GLBackend *>(device->GetBackend()) : nullptr;
    return backend ? backend->DrawReferenceTriangles(texture, vertices, vertex_count) : D3DERR_INVALIDCALL;
}

void D3D9GLSetBatching(IDirect3DDevice9 *device, bool on)
{
    D3D9GLBackend *backend = device ? dynamic_cast<D3D9GLBackend *>(device->GetBackend()) : nullptr;
    if (backend)
        backend->SetBatching(on);
}

void D3D9GLRaiseErrorForTests(IDirect3DDevice9 *device)
{
    D3D9GLBackend *backend = device ? dynamic_cast<D3D9GLBackend *>(device->GetBackend()) : nullptr;
    if (backend)
        backend->RaiseError();
}

unsigned long D3D9GLGetCallCount(IDirect3DDevice9 *device)
{
    D3D9GLBackend *backend = device ? dynamic_cast<D3D9GLBackend *>(device->GetBackend()) : nullptr;
    return backend ? backend->GetCallCount() : 0;
}
