// Text drawing: the module-wide drawing state, measuring, single strings and
// word-wrapped text. Each character is its own quad, placed by the world
// matrix; lighting is on and the text colour is the material's emissive
// colour, which the device uses for lit vertices when no light is set.
#include "engine/graphics/EngFontDraw.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngVertexBufferDX9.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngWindow.h"
#include "platform/d3d9/D3DX9.h"

#include <cstring>

namespace {

struct FontDrawingState {
    char prepared;
    char mode;
    char lighting_turned_on;
    char texture_alpha_changed;
    char prepared_2d;
    char saved;
    char saved_prepared;
    char saved_mode;
};

FontDrawingState state;

// Longest line part that multi-line text draws at once.
const int LINE_PART_SIZE = 256;

// Step 1 and 2 of every prepare: material colour, lighting, texture alpha
// and blending. False when there is no Direct3D device to prepare.
bool PrepareLightingAndBlending(bool prepare_2d)
{
    if (eng_device_type == EDT_DX9) {
        if (!eng_d3d_device || !eng_device_dx9)
            return false;
        state.prepared_2d = prepare_2d ? eng_device->PrepareFor2DIfNeeded(0) : 0;
        eng_d3d_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_MATERIAL);
        if (!eng_device->IsLightingOn()) {
            eng_device->TurnOnLighting();
            state.lighting_turned_on = 1;
        }
        char changed = 0;
        eng_device_dx9->ModulateTextureAlphaIfNeeded(&changed);
        state.texture_alpha_changed = changed;
    }
    eng_device->SaveOrRestoreBlendingState(1);
    eng_device->EnableBlendingType(0);
    return true;
}

} // namespace

void EngFontDrawResetForTests()
{
    state = FontDrawingState();
}

void EngFontPrepareForDrawingWithOrientation(_EngOrientation, char mode)
{
    if (mode == 2) {
        DebugError("EngFontPrepareForDrawingWithOrientation", "Call EngFontPrepareForDrawingPure2() instead");
        EngFontPrepareForDrawingPure2();
        return;
    }
    if (!eng_device || !PrepareLightingAndBlending(true))
        return;
    if (eng_device_type == EDT_DX9) {
        eng_device_dx9->PushAllMatrices();
        D3DXMATRIX projection;
        float right = mode == 1 ? 640.0f : static_cast<float>(eng_screen_width);
        float top = mode == 1 ? 480.0f : static_cast<float>(eng_screen_height);
        D3DXMatrixOrthoOffCenterLH(&projection, 0.0f, right, 0.0f, top, -1.0f, 1.0f);
        eng_device_dx9->SetProjectionMatrixToDxMatrix(&projection.m[0][0]);
    }
    state.prepared = 1;
    state.mode = mode;
}

void EngFontPrepareForDrawing(char mode)
{
    EngFontPrepareForDrawingWithOrientation(static_cast<_EngOrientation>(EngMainGetOrientation()), mode);
}

void EngFontPrepareForDrawingDefaultOrientation(char mode)
{
    EngFontPrepareForDrawingWithOrientation(EO_PORTRAIT, mode);
}

void EngFontPrepareForDrawingPure2()
{
    if (!eng_device || !PrepareLightingAndBlending(false))
        return;
    state.prepared = 1;
    state.mode = 2;
}

bool EngFontPrepareForDrawingWithOrientationIfNeeded(char mode, char *prepared_here)
{
    if (state.prepared) {
        if ((mode == 0) == (state.mode == 0)) {
            if (prepared_here)
                *prepared_here = 0;
            return true;
        }
        DebugError("EngFontPrepareForDrawingWithOrientationIfNeeded", "Ratio mix problem");
        EngFontRestoreAfterDrawing();
    }
    EngFontPrepareForDrawing(mode);
    if (prepared_here)
        *prepared_here = 1;
    return false;
}

void EngFontRestoreAfterDrawing()
{
    if (!eng_device)
        return;
    if (!state.prepared) {
        DebugErrorCode("EngFontRestoreAfterDrawing", 'NOSU');
        return;
    }
    bool dx9 = eng_device_type == EDT_DX9 && eng_device_dx9;
    if (dx9) {
        if (state.mode != 2)
            eng_device_dx9->PopAllMatrices();
        if (state.texture_alpha_changed) {
            eng_device_dx9->BlendTextureAlphaWithColourAlpha();
            state.texture_alpha_changed = 0;
        }
    }
    eng_device->SaveOrRestoreBlendingState(0);
    if (state.prepared_2d) {
        eng_device->RestoreAfter2D();
        state.prepared_2d = 0;
    }
    if (dx9) {
        if (eng_d3d_device)
            eng_d3d_device->SetRenderState(D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1);
        eng_device_dx9->SetMaterialToDefault();
        if (state.lighting_turned_on) {
            eng_device->TurnOffLighting();
            state.lighting_turned_on = 0;
        }
    }
    state.prepared = 0;
}

bool EngFontRestoreAfterDrawingIfNeeded()
{
    if (!state.prepared)
        return false;
    EngFontRestoreAfterDrawing();
    return true;
}

bool EngFontIsPreparedForDrawing()
{
    return state.prepared;
}

void EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState(char save)
{
    const char *where = "EngFontSaveAndUnPrepareStateOrRestoreAndPrepareState";
    if (save) {
        if (state.saved) {
            DebugError(where, "Already saved");
            return;
        }
        state.saved_prepared = state.prepared;
        state.saved_mode = state.mode;
        if (state.prepared)
            EngFontRestoreAfterDrawing();
        state.saved = 1;
        return;
    }
    if (!state.saved) {
        DebugError(where, "Not saved");
        return;
    }
    if (state.saved_prepared)
        EngFontPrepareForDrawingDefaultOrientation(state.saved_mode);
    state.saved = 0;
}

// Scale and colour.

void EngFont::SetScale(float x, float y)
{
    if (!m_created)
        return;
    m_scale_x = x;
    m_scale_y = y;
    m_scaling = (x != 1.0f || y != 1.0f) && x != 0.0f && y != 0.0f;
}

void EngFont::SetScaleWithAspectCorrection(float x, float y)
{
    SetScale(x * eng_font_scale_x, y);
}

void EngFont::SetScaleFromVector2d(const _Vector2d *scale)
{
    if (scale) {
        SetScale(scale->x, scale->y);
        return;
    }
    m_scale_x = m_scale_y = 1.0f;
    m_scaling = 0;
}

void EngFont::GetScale(float *x, float *y)
{
    if (!m_created)
        return;
    if (x)
        *x = m_scale_x;
    if (y)
        *y = m_scale_y;
}

_Vector2d *EngFont::GetScaleAsVector2d(_Vector2d *out)
{
    if (m_created && out) {
        out->x = m_scale_x;
        out->y = m_scale_y;
    }
    return out;
}

void EngFont::SetColour(float r, float g, float b, float a)
{
    if (!m_created)
        return;
    if (r >= 0.0f)
        m_colour.r = r;
    if (g >= 0.0f)
        m_colour.g = g;
    if (b >= 0.0f)
        m_colour.b = b;
    if (a >= 0.0f)
        m_colour.a = a;
    m_colour_set = 1;
}

void EngFont::SetColourRGBA(const _ColourRGBA *colour)
{
    if (!m_created || !colour)
        return;
    m_colour = *colour;
    m_colour_set = 1;
}

_ColourRGBA *EngFont::GetColour(_ColourRGBA *out)
{
    if (m_created && out)
        *out = m_colour_set ? m_colour : _ColourRGBA{1.0f, 1.0f, 1.0f, 1.0f};
    return out;
}

// Measuring.

float EngFont::GetStringWidth(const char *text)
{
    if (!m_created || !text)
        return 0.0f;
    float width = 0.0f;
    for (const char *c = text; *c; c++)
        width += m_widths[static_cast<unsigned char>(*c)];
    return m_scaling ? width * m_scale_x : width;
}

float EngFont::GetHeight(char scaled)
{
    if (!m_created)
        return 0.0f;
    return scaled && m_scaling ? m_height * m_scale_y : m_height;
}

float EngFont::GetCharWidth(unsigned char code)
{
    return m_created ? m_widths[code] : 0.0f;
}

float EngFont::GetAlignedY(float y, char vertical_alignment)
{
    if (!m_created)
        return y;
    if (eng_device_type != EDT_DX9)
        return 0.0f;
    float height = GetHeight(1);
    if (vertical_alignment == 1)
        return y - height / 2.0f;
    if (vertical_alignment == 2)
        return y - height;
    return y;
}

float EngFont::TrackCharPosition(int index)
{
    float previous = m_track_x;
    m_track_index = index;
    return previous;
}

void EngFont::SetSkipCharsBeforeOffset(char on, float offset)
{
    m_skip = on;
    m_skip_offset = offset;
}

bool EngFont::IsSpaceOrTab(char c)
{
    return c == ' ' || c == '\t';
}

// Drawing.

float EngFont::DrawStringPart(float x, float y, const char *text, int max_chars, float max_width)
{
    const char *where = "EngFont::DrawStringPart";
    if (!eng_device || !m_created || !text)
        return 0.0f;
    if (eng_device_type != EDT_DX9 || !eng_device_dx9 || !eng_d3d_device || !m_trans)
        return 0.0f;
    if (!eng_device_dx9->IsRendering()) {
        DebugError(where, "Scene not on");
        return 0.0f;
    }
    if (state.mode != 2 && !eng_device->IsPreparedFor2D()) {
        DebugError(where, "2D Not setup");
        return 0.0f;
    }
    if (!state.prepared) {
        DebugError(where, "Not ready for drawings");
        return 0.0f;
    }

    int count = static_cast<int>(std::strlen(text));
    if (max_chars >= 1 && max_chars < count)
        count = max_chars;

    // Mode 1 and 0 turn y down from the top into the projection's y up.
    float base_y = state.mode == 1 ? 480.0f - y : state.mode == 0 ? eng_screen_height - y : -y;
    D3DXMATRIX base;
    D3DXMatrixTranslation(&base, x, base_y, 0.0f);
    if (m_scaling) {
        D3DXMATRIX scaling;
        D3DXMatrixScaling(&scaling, m_scale_x, m_scale_y, 1.0f);
        D3DXMatrixMultiply(&base, &scaling, &base);
    }
    if (m_colour_set) {
        D3DMATERIAL9 material = {};
        material.Diffuse = material.Ambient = material.Specular = {0.0f, 0.0f, 0.0f, m_colour.a};
        material.Emissive = {m_colour.r, m_colour.g, m_colour.b, m_colour.a};
        material.Power = 0.0f;
        eng_d3d_device->SetMaterial(&material);
    }

    // A zero scale turns scaling off; the pen then moves unscaled.
    const float scale_x = m_scaling ? m_scale_x : 1.0f;
    float pen = 0.0f;
    for (int i = 0; i < count; i++) {
        unsigned char code = static_cast<unsigned char>(text[i]);
        float scaled_pen = pen * scale_x;
        if (code != 0 && code < m_num_chars && m_quads[code].IsCreated() &&
            !(max_width > 0.0f && scaled_pen >= max_width)) {
            const float *trans = m_trans + code * 3;
            if (!(m_skip && scaled_pen < m_skip_offset)) {
                D3DXMATRIX previous, glyph, world;
                eng_device_dx9->CopyTransformMatrix(&previous.m[0][0]);
                D3DXMatrixTranslation(&glyph, pen + trans[0], trans[1], 0.0f);
                D3DXMatrixMultiply(&world, &glyph, &base);
                D3DXMatrixMultiply(&world, &world, &previous);
                eng_device_dx9->SetTransformMatrixToDxMatrix(&world.m[0][0]);
                m_quads[code].Draw();
                eng_device_dx9->SetTransformMatrixToDxMatrix(&previous.m[0][0]);
            }
            pen += trans[2];
        }
        if (i == m_track_index)
            m_track_x = x + scaled_pen;
    }
    float end_x = x + scale_x * pen;
    if (count == m_track_index)
        m_track_x = end_x;
    if (m_colour_set)
        eng_device_dx9->SetMaterialToDefault();
    return end_x;
}

void EngFont::DrawStringPartHAligned(float x, float y, char horizontal_alignment, const char *text, int max_chars,
                                     float max_width, char prepare)
{
    if (!m_created || !text)
        return;
    if (horizontal_alignment == 1)
        x -= GetStringWidth(text) / 2.0f;
    else if (horizontal_alignment == 2)
        x -= GetStringWidth(text);
    char prepared_here = 0;
    if (prepare)
        EngFontPrepareForDrawingWithOrientationIfNeeded(1, &prepared_here);
    DrawStringPart(x, y, text, max_chars, max_width);
    if (prepared_here)
        EngFontRestoreAfterDrawingIfNeeded();
}

void EngFont::DrawStringPartAligned(float x, float y, char horizontal_alignment, char vertical_alignment,
                                    const char *text, int max_chars, float max_width, char prepare)
{
    DrawStringPartHAligned(x, GetAlignedY(y, vertical_alignment), horizontal_alignment, text, max_chars, max_width,
                           prepare);
}

void EngFont::DrawString(float x, float y, char horizontal_alignment, char vertical_alignment, const char *text,
                         char prepare)
{
    DrawStringPartAligned(x, y, horizontal_alignment, vertical_alignment, text, 0, 0.0f, prepare);
}

void EngFont::DrawMultilineText(float x, float y, float w, float h, char horizontal_alignment,
                                char vertical_alignment, const char *text, char draw, int first_line,
                                float *widest_line, float *height_used, int *line_count, char *all_placed)
{
    const char *where = "EngFont::DrawMultilineText";
    float widest = 0.0f, current_y = y;
    int lines = 0;
    char reached_last = 1;
    auto give = [&]() {
        if (widest_line)
            *widest_line = widest;
        if (height_used)
            *height_used = current_y - y;
        if (line_count)
            *line_count = lines;
        if (all_placed)
            *all_placed = reached_last;
    };
    if (!m_created || !text) {
        give();
        return;
    }
    // A zero scale turns scaling off; widths and lines then stay unscaled.
    const float scale_x = m_scaling ? m_scale_x : 1.0f;
    const float line_height = m_height * (m_scaling ? m_scale_y : 1.0f);
    const int length = static_cast<int>(std::strlen(text));
    if (length == 0 || (length == 1 && IsSpaceOrTab(text[0]))) {
        lines = 1;
        current_y = y + line_height;
        give();
        return;
    }

    // The width a character adds when looking ahead: none for the end,
    // line feeds, spaces and tabs.
    auto look_ahead_width = [&](int position) {
        if (position >= length || text[position] == '\n' || IsSpaceOrTab(text[position]))
            return 0.0f;
        return m_widths[static_cast<unsigned char>(text[position])] * scale_x;
    };

    reached_last = 0;
    float line_width = 0.0f;
    int start = 0, previous_end = 0, line_index = 0;
    for (int k = 0;;) {
        if (k > length) {
            DebugError(where, "Internal Error - should not get here");
            break;
        }
        if (k < length && text[k] != '\n' && w > line_width + look_ahead_width(k) + look_ahead_width(k + 1)) {
            line_width += m_widths[static_cast<unsigned char>(text[k])] * scale_x;
            if (line_width > widest)
                widest = line_width;
            k++;
            continue;
        }

        // The line breaks at k; find where its text ends.
        int end = k;
        bool last = false, at_space = false;
        if (k == length) {
            last = true;
        } else if (text[k] != '\n' && !(k > 0 && text[k - 1] == '\n')) {
            int j = k;
            while (j >= 1 && !IsSpaceOrTab(text[j]))
                j--;
            if (j >= 1 && j < k && j > previous_end) {
                end = j;
                at_space = true;
                last = j + 1 >= length;
            }
        }

        if (line_index >= first_line) {
            if (start < k) {
                int part = end - start;
                if (part < 1 || part >= length)
                    part = length - start;
                if (part > LINE_PART_SIZE - 1) {
                    DebugError(where, "Line part too long");
                    part = LINE_PART_SIZE - 1;
                }
                char copy[LINE_PART_SIZE];
                std::memcpy(copy, text + start, part);
                copy[part] = 0;
                const char *line = copy[0] == '\n' ? copy + 1 : copy;
                if (draw && std::strcmp(line, "\n") != 0) {
                    if (horizontal_alignment == 0 && line[0] == ' ')
                        line++;
                    DrawString(x, current_y, horizontal_alignment, vertical_alignment, line, 0);
                }
                lines++;
                current_y += line_height;
            } else if (k == 0) {
                lines++;
                current_y += line_height;
            }
        }
        line_index++;

        if (y + h - line_height < current_y || last) {
            reached_last = last;
            break;
        }
        start = at_space ? end : k;
        previous_end = end;
        line_width = 0.0f;
        k = start + 1;
    }
    give();
}
