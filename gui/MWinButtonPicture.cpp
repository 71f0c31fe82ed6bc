// A texture or layered picture drawn inside a control, after its
// background: optionally inset by margins and, for a texture, limited to
// part of it. A picture may be animated by the control's tick. Both are
// borrowed: the owner keeps them alive while they are attached.
//
// Failures: a null texture or picture is reported and detaches whatever
// was attached; a texture not yet loaded is attached with a warning (it
// draws once loaded); texture coordinates without a loaded texture are
// refused ("Texture Not Ok").
#include "gui/MWinButton.h"

#include "engine/core/EngDebug.h"
#include "engine/graphics/EngPicture.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngDevice.h"

char MWinButton::PictureAttachTextureToButton(EngTexture *texture, char blending_type)
{
    const char *where = "MWinButton::PictureAttachTextureToButton";
    if (!texture) {
        DebugError(where, "No texture");
        PictureRemoveFromButton();
        return 0;
    }
    if (!texture->IsCreated())
        DebugError(where, "Warning: texture is not loaded");
    m_pic_kind = PIC_TEXTURE;
    m_pic_texture = texture;
    m_pic_blend = blending_type;
    m_pic_coords_on = 0;
    m_pic_picture = nullptr;
    RequestRender();
    return 1;
}

void MWinButton::PictureSetTextureCoordinates(float left, float top, float right, float bottom)
{
    if (m_pic_kind != PIC_TEXTURE || !m_pic_texture || !m_pic_texture->IsCreated()) {
        DebugError("MWinButton::PictureSetTextureCoordinates", "Texture Not Ok");
        return;
    }
    m_pic_coords[0] = left;
    m_pic_coords[1] = top;
    m_pic_coords[2] = right;
    m_pic_coords[3] = bottom;
    m_pic_coords_on = 1;
    RequestRender();
}

void MWinButton::PictureSetTextureArea(const _Dimension *area)
{
    if (area)
        PictureSetTextureCoordinates(area->x, area->y, area->w, area->h);
    else
        PictureSetTextureCoordinates(0, 0, 1, 1);
}

char MWinButton::PictureAttachPictureToButton(EngPicture *picture, char animate)
{
    if (!picture) {
        DebugError("MWinButton::PictureAttachPictureToButton", "No picture");
        PictureRemoveFromButton();
        return 0;
    }
    m_pic_kind = PIC_PICTURE;
    m_pic_picture = picture;
    m_pic_animate = animate;
    m_pic_texture = nullptr;
    m_pic_coords_on = 0;
    RequestRender();
    return 1;
}

void MWinButton::PictureSetMarginPercentages(float left, float top, float right, float bottom)
{
    m_pic_margins_on = 1;
    m_pic_margins[0] = left * m_screen.w / 100;
    m_pic_margins[1] = top * m_screen.h / 100;
    m_pic_margins[2] = right * m_screen.w / 100;
    m_pic_margins[3] = bottom * m_screen.h / 100;
    RequestRender();
}

void MWinButton::PictureSetAllMarginsPercentage(float percent)
{
    PictureSetMarginPercentages(percent, percent, percent, percent);
}

void MWinButton::PictureRemoveFromButton()
{
    m_pic_kind = PIC_NONE;
    m_pic_texture = nullptr;
    m_pic_picture = nullptr;
    m_pic_coords_on = 0;
    m_pic_margins_on = 0;
    for (float &margin : m_pic_margins)
        margin = 0;
    RequestRender();
}

char MWinButton::TickPicture()
{
    if (m_pic_kind != PIC_PICTURE || !m_pic_picture || !m_pic_animate)
        return 0;
    m_pic_picture->Tick(1.0f);
    return 1;
}

void MWinButton::RenderPicture()
{
    if (!eng_device || m_pic_kind == PIC_NONE)
        return;
    _Dimension area = m_screen;
    if (m_pic_margins_on) {
        area.x += m_pic_margins[0];
        area.y += m_pic_margins[1];
        area.w -= m_pic_margins[0] + m_pic_margins[2];
        area.h -= m_pic_margins[1] + m_pic_margins[3];
    }
    eng_device->SaveOrRestoreBlendingState(1);
    if (m_pic_kind == PIC_PICTURE && m_pic_picture) {
        m_pic_picture->SetDrawArea(&area);
        if (m_multiplier_mode != 0)
            m_pic_picture->DrawAllSetsWithAlpha(m_multiplier.a);
        else
            m_pic_picture->DrawAllSets();
    } else if (m_pic_kind == PIC_TEXTURE && m_pic_texture && m_pic_texture->IsCreated()) {
        if (m_pic_blend < 0)
            eng_device->DisableBlending();
        else
            eng_device->EnableBlendingType(m_pic_blend);
        _ColourRGBA c = m_multiplier_mode != 0 ? m_multiplier : _ColourRGBA{1, 1, 1, 1};
        const float whole[4] = {0, 0, 1, 1};
        const float *coords = m_pic_coords_on ? m_pic_coords : whole;
        m_pic_texture->PositionRatioed(area.x, area.y, area.w, area.h);
        m_pic_texture->DrawWithTextureCoordinatesAndColour(coords[0], coords[1], coords[2], coords[3], c.r, c.g, c.b,
                                                           c.a);
    }
    eng_device->SaveOrRestoreBlendingState(0);
}
