// Shared by the root's drawing and the on-screen keyboard's full-screen entry.
#pragma once

#include "engine/runtime/EngDevice.h"

// The device state the toolkit draws in: depth suspended, blending type 0
// and lighting off (its quads carry their own colours; text drawing turns
// lighting on for itself and back off). Everything is put back afterwards.
class ToolkitDrawState {
public:
    ToolkitDrawState()
    {
        m_depth_suspended = eng_device->SuspendZBufferIfOn();
        eng_device->GetBlendingState(&m_blend_on, &m_src, &m_dest);
        eng_device->EnableBlendingType(0);
        m_lighting_was_on = eng_device->TurnOffLightingIfOn();
    }
    ~ToolkitDrawState()
    {
        if (m_lighting_was_on)
            eng_device->TurnOnLighting();
        if (m_blend_on)
            eng_device->SetBlendingState(m_blend_on, m_src, m_dest);
        else
            eng_device->DisableBlending();
        if (m_depth_suspended)
            eng_device->RestoreZBuffer();
    }

private:
    bool m_depth_suspended;
    char m_blend_on = 0;
    int m_src = 0, m_dest = 0;
    bool m_lighting_was_on;
};
