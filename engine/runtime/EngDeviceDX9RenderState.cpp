// The device object's render state: every state it sets is remembered, so
// queries need no device call, setters skip calls that would change
// nothing, and a new device gets the same state back (ApplyDefaultStates).
#include "engine/core/EngDebug.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngUtilsDX9.h"
#include "engine/runtime/EngWindow.h"
#include "platform/d3d9/D3DX9.h"

#include <algorithm>
#include <cmath>
#include <cstring>

int eng_device_blend_factors[11];

namespace {

// The one saved blending state, shared by every caller.
char saved_blending = 0;
char saved_blending_on = 0;
int saved_src_blend = 0;
int saved_dest_blend = 0;

// The lighting flag when all matrices were last pushed.
char pushed_lighting = 1;

const float IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// size x client / screen, in 64 bits and limited to the int range: a huge
// viewport (a damaged picture's draw area) must not overflow.
int ScaleToClient(int size, int client, int screen)
{
    return EngMathTruncateToInt(static_cast<double>(static_cast<long long>(size) * client / screen));
}

struct BlendPair {
    int src;
    int dest;
};

// The blending types: source and destination factors.
const BlendPair BLENDING_TYPES[] = {
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA},       {D3DBLEND_SRCALPHA, D3DBLEND_SRCALPHA},
    {D3DBLEND_SRCALPHA, D3DBLEND_DESTCOLOR},         {D3DBLEND_ONE, D3DBLEND_SRCALPHA},
    {D3DBLEND_SRCCOLOR, D3DBLEND_SRCALPHA},          {D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR},
    {D3DBLEND_INVSRCCOLOR, D3DBLEND_INVSRCCOLOR},    {D3DBLEND_ONE, D3DBLEND_INVSRCALPHA},
    {D3DBLEND_SRCALPHA, D3DBLEND_ONE},               {D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCALPHA},
    {D3DBLEND_ONE, D3DBLEND_ONE},                    {D3DBLEND_INVSRCALPHA, D3DBLEND_ONE},
    {D3DBLEND_INVSRCCOLOR, D3DBLEND_ONE},            {D3DBLEND_SRCCOLOR, D3DBLEND_ONE},
    {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},           {D3DBLEND_INVSRCALPHA, D3DBLEND_SRCALPHA},
    {D3DBLEND_SRCCOLOR, D3DBLEND_ONE},               {D3DBLEND_ONE, D3DBLEND_INVSRCCOLOR},
    {D3DBLEND_DESTCOLOR, D3DBLEND_ONE},
};

const int BLENDING_TYPE_COUNT = sizeof(BLENDING_TYPES) / sizeof(BLENDING_TYPES[0]);

void CopyMatrix(float *to, const float *from)
{
    std::memcpy(to, from ? from : IDENTITY, sizeof(float) * 16);
}

const D3DMATRIX *AsDx(const float *matrix)
{
    return reinterpret_cast<const D3DMATRIX *>(matrix);
}

void SendRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    eng_d3d_device->SetRenderState(state, value);
}

} // namespace

void EngDeviceDX9ResetRenderStateForTests()
{
    saved_blending = 0;
    saved_blending_on = 0;
    saved_src_blend = saved_dest_blend = 0;
    pushed_lighting = 1;
}

void EngDeviceDX9::SetDefaults()
{
    const int factors[11] = {D3DBLEND_ZERO,         D3DBLEND_ONE,         D3DBLEND_SRCCOLOR,     D3DBLEND_INVSRCCOLOR,
                             D3DBLEND_SRCALPHA,     D3DBLEND_INVSRCALPHA, D3DBLEND_INVDESTCOLOR, D3DBLEND_INVDESTALPHA,
                             D3DBLEND_DESTCOLOR,    D3DBLEND_DESTALPHA,   D3DBLEND_SRCALPHASAT};
    std::memcpy(eng_device_blend_factors, factors, sizeof(factors));

    m_full_screen_viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    m_viewport = {0, 0, 0, 0, 0.0f, 1.0f};
    std::memset(&m_material, 0, sizeof(m_material));
    m_field_of_view = 0.7853982f;
    m_aspect = 1.0f;
    m_near_plane = 0.01f;
    m_far_plane = 100.0f;
    m_depth_wanted = 1;
    m_texture_alpha_modulate = 0;
    m_texture_quality = 1;
    m_prepared_2d = 0;
    m_lighting = 1;
    m_depth_on = 1;
    m_two_sided = 0;
    m_clear_colour = 0;
    m_rendering = 0;
    m_viewport_full_screen = 1;
    m_all_level = 0;
    m_transform_level = 0;
    std::memset(m_stack_projection, 0, sizeof(m_stack_projection));
    std::memset(m_stack_view, 0, sizeof(m_stack_view));
    std::memset(m_stack_world, 0, sizeof(m_stack_world));
    std::memset(m_stack_transform, 0, sizeof(m_stack_transform));
    m_src_blend = -1;
    m_dest_blend = -1;
    m_blending_on = 0;
    m_crop_on = 0;
    CopyMatrix(m_projection, nullptr);
    CopyMatrix(m_view, nullptr);
    CopyMatrix(m_world, nullptr);
    CopyMatrix(m_reset_matrix, nullptr);
}

void EngDeviceDX9::ResetStateFlags()
{
    std::memset(&m_material, 0, sizeof(m_material));
    m_material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m_material.Ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    CopyMatrix(m_reset_matrix, nullptr);
    m_prepared_2d = 0;
    m_two_sided = 0;
    m_rendering = 0;
    m_all_level = 0;
    m_transform_level = 0;
    m_lighting = 1;
    m_depth_on = 1;
    m_viewport_full_screen = 1;
}

void EngDeviceDX9::ApplyDefaultStates()
{
    m_lost = 0;
    m_lost_time = 0.0;
    ResetStateFlags();
    SetViewMatrixToDxMatrix(nullptr);
    SetPerspectiveProjection();
    SetMaterialToDefault();
    SetNoTexture();
    SetTextureQuality(-1);
    // The flag reads on already, so nothing is sent: the new device keeps its
    // own lighting, which is on.
    TurnOnLighting();
    ComputeFullScreenViewport();
    EnableZBuffer(m_depth_wanted);
    if (eng_d3d_device) {
        SendRenderState(D3DRS_SPECULARENABLE, FALSE);
        SendRenderState(D3DRS_LOCALVIEWER, TRUE);
    }
    if (m_texture_alpha_modulate)
        ModulateTextureAlphaWithColourAlpha();
    else
        BlendTextureAlphaWithColourAlpha();
    // The blending state is sent again as remembered.
    if (m_blending_on) {
        int src = m_src_blend, dest = m_dest_blend;
        m_src_blend = m_dest_blend = -1;
        m_blending_on = 0;
        EnableBlending(src, dest);
    } else {
        m_blending_on = 1;
        DisableBlending();
        m_src_blend = m_dest_blend = -1;
    }
}

// Viewport.

void EngDeviceDX9::ComputeFullScreenViewport()
{
    D3DVIEWPORT9 viewport = {0, 0, 640, 480, 0.0f, 1.0f};
    RECT client;
    if (eng_main_window && eng_main_window->GetWindowHandle() && eng_screen_windowed &&
        GetClientRect(eng_main_window->GetWindowHandle(), &client)) {
        viewport.X = static_cast<DWORD>(client.left);
        viewport.Y = static_cast<DWORD>(client.top);
        viewport.Width = static_cast<DWORD>(client.right - client.left);
        viewport.Height = static_cast<DWORD>(client.bottom - client.top);
    } else if (eng_main_window) {
        viewport.Width = static_cast<DWORD>(eng_screen_width);
        viewport.Height = static_cast<DWORD>(eng_screen_height);
    }
    m_full_screen_viewport = viewport;
}

// The window's client area changes size at once when the user resizes it,
// the back buffer only when the resize has settled (WM_SIZE): the frames
// drawn in between scale their viewports to the larger client area. They
// are cut to the back buffer the device still has, rather than refused.
D3DVIEWPORT9 EngDeviceDX9::ClampToBackBuffer(D3DVIEWPORT9 viewport) const
{
    const DWORD width = m_back_buffer_desc.Width, height = m_back_buffer_desc.Height;
    if (width > 0 && viewport.X < width && viewport.Width > width - viewport.X)
        viewport.Width = width - viewport.X;
    if (height > 0 && viewport.Y < height && viewport.Height > height - viewport.Y)
        viewport.Height = height - viewport.Y;
    return viewport;
}

void EngDeviceDX9::SetViewportFullScreen()
{
    if (!eng_d3d_device)
        return;
    const D3DVIEWPORT9 viewport = ClampToBackBuffer(m_full_screen_viewport);
    EngUtilsDX9_CheckResult("EngDeviceDX9::SetViewportFullScreen", "SetViewport",
                            eng_d3d_device->SetViewport(&viewport));
    m_viewport.X = m_full_screen_viewport.X;
    m_viewport.Y = m_full_screen_viewport.Y;
    m_viewport.Width = m_full_screen_viewport.Width;
    m_viewport.Height = m_full_screen_viewport.Height;
    m_viewport_full_screen = 1;
}

void EngDeviceDX9::SetViewportToSize(int x, int y, int w, int h)
{
    if (!eng_d3d_device)
        return;
    RECT client;
    // The back buffer's pixels as the window's client area shows them.
    if (eng_screen_windowed && m_window_handle && eng_screen_width > 0 && eng_screen_height > 0 &&
        GetClientRect(m_window_handle, &client)) {
        w = ScaleToClient(w, client.right - client.left, eng_screen_width);
        h = ScaleToClient(h, client.bottom - client.top, eng_screen_height);
    }
    const D3DVIEWPORT9 viewport = ClampToBackBuffer({static_cast<DWORD>(x), static_cast<DWORD>(y),
                                                     static_cast<DWORD>(w), static_cast<DWORD>(h), 0.0f, 1.0f});
    EngUtilsDX9_CheckResult("EngDeviceDX9::SetViewportToSize", "SetViewport", eng_d3d_device->SetViewport(&viewport));
    m_viewport = viewport;
    m_viewport_full_screen = 0;
}

void EngDeviceDX9::SetViewportToDimension(const _Dimension *dimension)
{
    if (!dimension) {
        SetViewportFullScreen();
        return;
    }
    SetViewportToSize(EngMathTruncateToInt(dimension->x), EngMathTruncateToInt(dimension->y),
                      EngMathTruncateToInt(dimension->w), EngMathTruncateToInt(dimension->h));
}

void EngDeviceDX9::SetViewportToSizeRatioed(int x, int y, int w, int h)
{
    SetViewportToSize(EngMathRoundFloatToInt(eng_screen_ratio_x * x), EngMathRoundFloatToInt(eng_screen_ratio_y * y),
                      EngMathRoundFloatToInt(eng_screen_ratio_x * w), EngMathRoundFloatToInt(eng_screen_ratio_y * h));
}

void EngDeviceDX9::SetViewportToDimensionRatioed(const _Dimension *dimension)
{
    if (!dimension) {
        SetViewportFullScreen();
        return;
    }
    SetViewportToSize(EngMathRoundFloatToInt(eng_screen_ratio_x * dimension->x),
                      EngMathRoundFloatToInt(eng_screen_ratio_y * dimension->y),
                      EngMathRoundFloatToInt(eng_screen_ratio_x * dimension->w),
                      EngMathRoundFloatToInt(eng_screen_ratio_y * dimension->h));
}

void EngDeviceDX9::SetViewportToViewportStruct(const D3DVIEWPORT9 *viewport)
{
    if (!viewport || !eng_d3d_device)
        return;
    EngUtilsDX9_CheckResult("EngDeviceDX9::SetViewportToViewportStruct", "SetViewport",
                            eng_d3d_device->SetViewport(viewport));
    m_viewport.X = viewport->X;
    m_viewport.Y = viewport->Y;
    m_viewport.Width = viewport->Width;
    m_viewport.Height = viewport->Height;
    m_viewport_full_screen = 0;
}

D3DVIEWPORT9 *EngDeviceDX9::GetViewport(D3DVIEWPORT9 *viewport)
{
    if (!viewport)
        return nullptr;
    *viewport = m_viewport_full_screen ? m_full_screen_viewport : m_viewport;
    return viewport;
}

// Clearing.

void EngDeviceDX9::SetClearColour(float r, float g, float b)
{
    // Each channel is truncated and cut to its low 8 bits.
    m_clear_colour = D3DCOLOR_ARGB(255, static_cast<int>(r * 255.0f), static_cast<int>(g * 255.0f),
                                   static_cast<int>(b * 255.0f));
}

void EngDeviceDX9::ClearBackBufferAndZBuffer()
{
    if (eng_d3d_device)
        eng_d3d_device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, m_clear_colour, 1.0f, 0);
}

void EngDeviceDX9::ClearBackBuffer()
{
    if (eng_d3d_device)
        eng_d3d_device->Clear(0, nullptr, D3DCLEAR_TARGET, m_clear_colour, 1.0f, 0);
}

// Matrices.

void EngDeviceDX9::SetProjectionMatrixToDxMatrix(const float *matrix)
{
    if (!eng_d3d_device)
        return;
    CopyMatrix(m_projection, matrix);
    EngUtilsDX9_CheckResult("EngDeviceDX9::SetProjectionMatrixToDxMatrix", "SetTransform",
                            eng_d3d_device->SetTransform(D3DTS_PROJECTION, AsDx(m_projection)));
}

void EngDeviceDX9::SetProjectionMatrix(const EngMatrix *matrix)
{
    if (!eng_d3d_device)
        return;
    CopyMatrix(m_projection, matrix ? matrix->m_elements : nullptr);
    EngUtilsDX9_CheckResult("EngDeviceDX9::SetProjectionMatrix", "SetTransform",
                            eng_d3d_device->SetTransform(D3DTS_PROJECTION, AsDx(m_projection)));
}

void EngDeviceDX9::SetPerspectiveProjection()
{
    if (!eng_d3d_device)
        return;
    // Sent to the device only: the remembered projection stays the one set last.
    D3DXMATRIX perspective;
    D3DXMatrixPerspectiveFovRH(&perspective, m_field_of_view, m_aspect, m_near_plane, m_far_plane);
    eng_d3d_device->SetTransform(D3DTS_PROJECTION, &perspective);
}

void EngDeviceDX9::SetViewMatrixToDxMatrix(const float *matrix)
{
    CopyMatrix(m_view, matrix);
    UpdateViewMatrix();
}

void EngDeviceDX9::SetViewMatrix(const EngMatrix *matrix)
{
    CopyMatrix(m_view, matrix ? matrix->m_elements : nullptr);
    UpdateViewMatrix();
}

void EngDeviceDX9::UpdateViewMatrix()
{
    if (eng_d3d_device)
        EngUtilsDX9_CheckResult("EngDeviceDX9::UpdateViewMatrix", "SetTransform",
                                eng_d3d_device->SetTransform(D3DTS_VIEW, AsDx(m_view)));
}

void EngDeviceDX9::SetTransformMatrixToDxMatrix(const float *matrix)
{
    CopyMatrix(m_world, matrix);
    DoSetTransformMatrix();
}

void EngDeviceDX9::SetTransformMatrix(const EngMatrix *matrix)
{
    CopyMatrix(m_world, matrix ? matrix->m_elements : nullptr);
    DoSetTransformMatrix();
}

void EngDeviceDX9::DoSetTransformMatrix()
{
    if (eng_d3d_device)
        EngUtilsDX9_CheckResult("EngDeviceDX9::DoSetTransformMatrix", "SetTransform",
                                eng_d3d_device->SetTransform(D3DTS_WORLD, AsDx(m_world)));
}

void EngDeviceDX9::ResetTransformMatrix()
{
    CopyMatrix(m_world, m_reset_matrix);
    DoSetTransformMatrix();
}

EngMatrix *EngDeviceDX9::GetTransformMatrix(EngMatrix *matrix)
{
    if (matrix)
        std::memcpy(matrix->m_elements, m_world, sizeof(m_world));
    return matrix;
}

void EngDeviceDX9::CopyTransformMatrix(float *matrix)
{
    if (matrix)
        std::memcpy(matrix, m_world, sizeof(m_world));
}

void EngDeviceDX9::BuildTransformMatrix(const _Vector3d *position, const _Vector3d *rotation, float *matrix)
{
    D3DXMATRIX result;
    D3DXMatrixIdentity(&result);
    if (rotation) {
        D3DXMATRIX x, z;
        D3DXMatrixRotationY(&result, rotation->y);
        D3DXMatrixRotationX(&x, rotation->x);
        D3DXMatrixRotationZ(&z, rotation->z);
        D3DXMatrixMultiply(&result, &result, &x);
        D3DXMatrixMultiply(&result, &result, &z);
    }
    if (position) {
        D3DXMATRIX translation;
        D3DXMatrixTranslation(&translation, position->x, position->y, position->z);
        D3DXMatrixMultiply(&result, &result, &translation);
    }
    std::memcpy(matrix, &result.m[0][0], sizeof(float) * 16);
}

void EngDeviceDX9::SetTransformMatrixFromPositionAndRotation(const _Vector3d *position, const _Vector3d *rotation)
{
    float matrix[16];
    BuildTransformMatrix(position, rotation, matrix);
    SetTransformMatrixToDxMatrix(matrix);
}

void EngDeviceDX9::SetTransformMatrixFromPositionRotationAndScale(const _Vector3d *position,
                                                                  const _Vector3d *rotation, const _Vector3d *scale)
{
    float matrix[16];
    BuildTransformMatrix(position, rotation, matrix);
    if (scale) {
        D3DXMATRIX scaling;
        D3DXMatrixScaling(&scaling, scale->x, scale->y, scale->z);
        D3DXMatrixMultiply(reinterpret_cast<D3DXMATRIX *>(matrix), &scaling, AsDx(matrix));
    }
    SetTransformMatrixToDxMatrix(matrix);
}

// Matrix stacks.

void EngDeviceDX9::PushAllMatrices()
{
    const char *where = "EngDeviceDX9::PushAllMatrices";
    if (!eng_d3d_device)
        return;
    if (m_transform_level != 0)
        DebugError(where, "Transform matrix stack level not 0 (%d)", m_transform_level);
    if (m_all_level < 0) {
        DebugError(where, "Stack level %d", m_all_level);
        m_all_level = 0;
    }
    if (m_all_level >= ENG_DEVICE_STACK_SIZE) {
        DebugError(where, "Too many pushes");
        return;
    }
    CopyMatrix(m_stack_projection[m_all_level], m_projection);
    CopyMatrix(m_stack_view[m_all_level], m_view);
    CopyMatrix(m_stack_world[m_all_level], m_world);
    m_all_level++;
}

void EngDeviceDX9::PopAllMatrices()
{
    const char *where = "EngDeviceDX9::PopAllMatrices";
    if (!eng_d3d_device)
        return;
    if (m_all_level <= 0) {
        DebugError(where, "Not pushed");
        m_all_level = 0;
        return;
    }
    if (m_transform_level != 0)
        DebugError(where, "Transform matrix stack level not 0 (%d)", m_transform_level);
    m_all_level--;
    SetProjectionMatrixToDxMatrix(m_stack_projection[m_all_level]);
    SetViewMatrixToDxMatrix(m_stack_view[m_all_level]);
    SetTransformMatrixToDxMatrix(m_stack_world[m_all_level]);
}

void EngDeviceDX9::PushTransformMatrix()
{
    const char *where = "EngDeviceDX9::PushTransformMatrix";
    if (!eng_d3d_device)
        return;
    if (m_transform_level < 0) {
        DebugError(where, "Stack level %d", m_transform_level);
        m_transform_level = 0;
    }
    if (m_transform_level >= ENG_DEVICE_STACK_SIZE) {
        DebugError(where, "Too many pushes");
        return;
    }
    CopyMatrix(m_stack_transform[m_transform_level], m_world);
    m_transform_level++;
}

void EngDeviceDX9::PopTransformMatrix()
{
    if (!eng_d3d_device)
        return;
    if (m_transform_level <= 0) {
        DebugError("EngDeviceDX9::PopTransformMatrix", "Not pushed");
        m_transform_level = 0;
        return;
    }
    m_transform_level--;
    SetTransformMatrixToDxMatrix(m_stack_transform[m_transform_level]);
}

void EngDeviceDX9::PushOrPopAllMatrices(char push, char restore_lighting)
{
    if (!eng_d3d_device)
        return;
    if (push) {
        PushAllMatrices();
        pushed_lighting = m_lighting;
        return;
    }
    PopAllMatrices();
    if (!restore_lighting)
        return;
    if (pushed_lighting)
        TurnOnLighting();
    else
        TurnOffLighting();
}

// 2D mode.

void EngDeviceDX9::PrepareFor2D(char lighting_off)
{
    if (!eng_d3d_device)
        return;
    if (m_prepared_2d) {
        DebugError("EngDeviceDX9::PrepareFor2D", "Already Called");
        return;
    }
    PushOrPopAllMatrices(1, 1);
    SetProjectionMatrixToDxMatrix(nullptr);
    SetViewMatrixToDxMatrix(nullptr);
    SetTransformMatrixToDxMatrix(nullptr);
    if (lighting_off)
        TurnOffLighting();
    SuspendZBuffer();
    m_prepared_2d = 1;
}

void EngDeviceDX9::RestoreAfter2D()
{
    if (!m_prepared_2d) {
        DebugError("EngDeviceDX9::RestoreAfter2D", "Not prepared");
        return;
    }
    if (eng_d3d_device) {
        RestoreZBuffer();
        PushOrPopAllMatrices(0, 1);
    }
    m_prepared_2d = 0;
}

bool EngDeviceDX9::PrepareFor2DIfNeeded(char lighting_off)
{
    if (m_prepared_2d || !eng_d3d_device)
        return false;
    PrepareFor2D(lighting_off);
    return true;
}

// Depth test.

void EngDeviceDX9::EnableZBuffer(char on)
{
    if (eng_d3d_device)
        SendRenderState(D3DRS_ZENABLE, on ? D3DZB_TRUE : D3DZB_FALSE);
    m_depth_wanted = on;
    m_depth_on = on;
}

void EngDeviceDX9::SuspendZBuffer()
{
    if (eng_d3d_device && m_depth_wanted && m_depth_on) {
        SendRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        m_depth_on = 0;
    }
}

bool EngDeviceDX9::SuspendZBufferIfOn()
{
    if (!eng_d3d_device || !m_depth_wanted || !m_depth_on)
        return false;
    SuspendZBuffer();
    return true;
}

void EngDeviceDX9::RestoreZBuffer()
{
    if (eng_d3d_device && m_depth_wanted && !m_depth_on) {
        SendRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        m_depth_on = 1;
    }
}

// Lighting.

void EngDeviceDX9::TurnOnLighting()
{
    if (eng_d3d_device && !m_lighting) {
        SendRenderState(D3DRS_LIGHTING, TRUE);
        m_lighting = 1;
    }
}

void EngDeviceDX9::TurnOffLighting()
{
    if (eng_d3d_device && m_lighting) {
        SendRenderState(D3DRS_LIGHTING, FALSE);
        m_lighting = 0;
    }
}

bool EngDeviceDX9::TurnOffLightingIfOn()
{
    if (!eng_d3d_device || !m_lighting)
        return false;
    TurnOffLighting();
    return true;
}

// Blending.

void EngDeviceDX9::EnableBlending(int src_blend, int dest_blend)
{
    if (!eng_d3d_device)
        return;
    if (src_blend != m_src_blend) {
        m_src_blend = src_blend;
        SendRenderState(D3DRS_SRCBLEND, static_cast<DWORD>(src_blend));
    }
    if (dest_blend != m_dest_blend) {
        m_dest_blend = dest_blend;
        SendRenderState(D3DRS_DESTBLEND, static_cast<DWORD>(dest_blend));
    }
    if (!m_blending_on) {
        SendRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        m_blending_on = 1;
    }
}

void EngDeviceDX9::EnableBlendingType(int type)
{
    if (!eng_d3d_device)
        return;
    // A negative type would read before the table.
    if (type < 0 || type >= BLENDING_TYPE_COUNT) {
        DebugError("EngDeviceDX9::EnableBlendingType", "Invalid Blending Type %d", type);
        return;
    }
    EnableBlending(BLENDING_TYPES[type].src, BLENDING_TYPES[type].dest);
}

void EngDeviceDX9::DisableBlending()
{
    if (eng_d3d_device && m_blending_on) {
        SendRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        m_blending_on = 0;
    }
}

char EngDeviceDX9::GetBlendingState(char *on, int *src_blend, int *dest_blend)
{
    if (on)
        *on = m_blending_on;
    if (src_blend)
        *src_blend = m_src_blend;
    if (dest_blend)
        *dest_blend = m_dest_blend;
    return m_blending_on;
}

void EngDeviceDX9::SetBlendingState(char on, int src_blend, int dest_blend)
{
    if (on)
        EnableBlending(src_blend, dest_blend);
    else if (m_blending_on)
        DisableBlending();
}

bool EngDeviceDX9::SaveOrRestoreBlendingState(char save)
{
    const char *where = "EngDeviceDX9::SaveOrRestoreBlendingState";
    if (!eng_d3d_device)
        return false;
    if (save) {
        if (saved_blending) {
            DebugError(where, "Already saved");
            return false;
        }
        GetBlendingState(&saved_blending_on, &saved_src_blend, &saved_dest_blend);
        saved_blending = 1;
        return true;
    }
    if (!saved_blending) {
        DebugError(where, "Not saved");
        return false;
    }
    SetBlendingState(saved_blending_on, saved_src_blend, saved_dest_blend);
    saved_blending = 0;
    return true;
}

// Culling.

void EngDeviceDX9::ShowTwoSidedPolygons(char show)
{
    if (!eng_d3d_device)
        return;
    show = show ? 1 : 0;
    if (show == m_two_sided) {
        DebugError("EngDeviceDX9::ShowTwoSidedPolygons", "Flag already set to %d", show);
        return;
    }
    SendRenderState(D3DRS_CULLMODE, show ? D3DCULL_NONE : D3DCULL_CCW);
    m_two_sided = show;
}

// Scissor crop.

void EngDeviceDX9::SetScissor(int left, int top, int right, int bottom)
{
    RECT rect = {left, top, right, bottom};
    eng_d3d_device->SetScissorRect(&rect);
    SendRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    m_crop_on = 1;
}

void EngDeviceDX9::TurnOnCrop(float x, float y, float w, float h)
{
    if (!eng_d3d_device)
        return;
    int left = EngMathRoundFloatToInt(eng_screen_ratio_x * x);
    int top = EngMathRoundFloatToInt(eng_screen_ratio_y * y);
    SetScissor(left, top, left + EngMathRoundFloatToInt(eng_screen_ratio_x * w),
               top + EngMathRoundFloatToInt(eng_screen_ratio_y * h));
}

void EngDeviceDX9::TurnOnCropToDimension(const _Dimension *dimension)
{
    if (dimension)
        TurnOnCrop(dimension->x, dimension->y, dimension->w, dimension->h);
}

void EngDeviceDX9::TurnOnCropInViewport(float x, float y, float w, float h)
{
    if (!eng_d3d_device)
        return;
    if (m_viewport_full_screen) {
        TurnOnCrop(x, y, w, h);
        return;
    }
    // The virtual screen is mapped into the viewport.
    float sx = static_cast<float>(m_viewport.Width) / eng_screen_width;
    float sy = static_cast<float>(m_viewport.Height) / eng_screen_height;
    int left = static_cast<int>(sx * (eng_screen_ratio_x * x) + m_viewport.X);
    int right = static_cast<int>(sx * (eng_screen_ratio_x * w) + left);
    int top = static_cast<int>(sy * (eng_screen_ratio_y * y) + m_viewport.Y);
    int bottom = static_cast<int>(sy * (eng_screen_ratio_y * h) + top);
    SetScissor(left, top, right, bottom);
}

void EngDeviceDX9::TurnOnCropInViewportToDimension(const _Dimension *dimension)
{
    if (dimension)
        TurnOnCropInViewport(dimension->x, dimension->y, dimension->w, dimension->h);
}

bool EngDeviceDX9::GetCrop(RECT *rect)
{
    return eng_d3d_device && m_crop_on && rect && eng_d3d_device->GetScissorRect(rect) == S_OK;
}

void EngDeviceDX9::SetCrop(const RECT *rect)
{
    if (eng_d3d_device && rect)
        SetScissor(rect->left, rect->top, rect->right, rect->bottom);
}

void EngDeviceDX9::IntersectCrop(const RECT *rect)
{
    RECT crop;
    if (!rect || !GetCrop(&crop))
        return;
    crop.left = std::max(crop.left, rect->left);
    crop.top = std::max(crop.top, rect->top);
    crop.right = std::max(crop.left, std::min(crop.right, rect->right));
    crop.bottom = std::max(crop.top, std::min(crop.bottom, rect->bottom));
    SetScissor(crop.left, crop.top, crop.right, crop.bottom);
}

void EngDeviceDX9::TurnOffCrop()
{
    if (!eng_d3d_device)
        return;
    if (!m_crop_on)
        DebugError("EngDeviceDX9::TurnOffCrop", "Crop is not on.");
    SendRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    m_crop_on = 0;
}

// Texture stages and material.

void EngDeviceDX9::ModulateTextureAlphaWithColourAlpha()
{
    if (!eng_d3d_device)
        return;
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
    eng_d3d_device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    m_texture_alpha_modulate = 1;
}

void EngDeviceDX9::BlendTextureAlphaWithColourAlpha()
{
    if (!eng_d3d_device)
        return;
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_BLENDTEXTUREALPHA);
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    eng_d3d_device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TEXTURE);
    eng_d3d_device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    m_texture_alpha_modulate = 0;
}

void EngDeviceDX9::ModulateTextureAlphaIfNeeded(char *changed)
{
    if (changed)
        *changed = !m_texture_alpha_modulate;
    if (!m_texture_alpha_modulate)
        ModulateTextureAlphaWithColourAlpha();
}

void EngDeviceDX9::SetTextureQuality(signed char quality)
{
    if (!eng_d3d_device)
        return;
    if (quality >= 0)
        m_texture_quality = quality;
    DWORD filter = m_texture_quality ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    eng_d3d_device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
    EngUtilsDX9_CheckResult("EngDeviceDX9::SetTextureQuality", "SetSamplerState",
                            eng_d3d_device->SetSamplerState(0, D3DSAMP_MINFILTER, filter));
}

void EngDeviceDX9::SetNoTexture()
{
    if (eng_d3d_device)
        EngUtilsDX9_CheckResult("EngDeviceDX9::SetNoTexture", "SetTexture", eng_d3d_device->SetTexture(0, nullptr));
}

void EngDeviceDX9::SetMaterialToDefault()
{
    if (eng_d3d_device)
        EngUtilsDX9_CheckResult("EngDeviceDX9::SetMaterialToDefault", "SetMaterial",
                                eng_d3d_device->SetMaterial(&m_material));
}
