// The per-frame life of an EngPicture: stages change on program time, their
// motion (transitions, rotations, throbs, texture scrolling) advances by the
// frame time, and each set's current stage is drawn as one quad inside the
// picture's draw area.
#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngPicture.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngDeviceDX9.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"

#include <cmath>

namespace {

const float PI = 3.14159265358979f;
const float RADIANS_PER_DEGREE = 0.017453292f;

// The stages whose groups a stage uses: its own, or for a stage other than
// the first, the first stage's wherever a lock says so.
struct StageGroups {
    _EngPictureStage *pos;
    _EngPictureStage *rot;
    _EngPictureStage *alpha;
    _EngPictureStage *tc;
};

StageGroups GetStageGroups(_EngPictureSet *set, int num)
{
    _EngPictureStage *stage = &set->stages[num];
    _EngPictureStage *first = &set->stages[0];
    bool can_lock = num > 0;
    StageGroups groups;
    groups.pos = can_lock && stage->locks[ENG_PICTURE_LOCK_POS] ? first : stage;
    groups.rot = can_lock && stage->locks[ENG_PICTURE_LOCK_ROT] ? first : stage;
    groups.alpha = can_lock && stage->locks[ENG_PICTURE_LOCK_ALPHA] ? first : stage;
    groups.tc = can_lock && stage->locks[ENG_PICTURE_LOCK_TC] ? first : stage;
    return groups;
}

// Slow at both ends: 0 at 0, 0.5 at 0.5, 1 at 1.
float Ease(float p)
{
    if (p < 0.5f)
        return 0.5f - 0.5f * std::sin((1.0f - 2.0f * p) * PI / 2.0f);
    return 0.5f + 0.5f * std::sin((p - 0.5f) * 2.0f * PI / 2.0f);
}

void TickTransition(EngPicture *picture, StageGroups *groups, float dt)
{
    const _EngPictureStagePos *pos = &groups->pos->pos;
    _EngPictureStagePosVars *vars = &groups->pos->pos_vars;
    if (pos->trans_type <= EPTT_NONE || pos->trans_type > EPTT_RANDOM_POSITION)
        return;
    float step = pos->trans_speeds[0] * pos->trans_speeds[1] * dt;
    switch (pos->trans_type) {
    case EPTT_LOOP:
        vars->progress += step;
        if (vars->progress >= 1.0f)
            vars->progress -= 1.0f;
        break;
    case EPTT_BACK_AND_FORTH:
    case EPTT_EASED_BACK_AND_FORTH:
        if (vars->direction >= 0) {
            vars->progress += step;
            if (vars->progress >= 1.0f) {
                vars->progress = 1.0f;
                vars->direction = -1;
            }
        } else {
            vars->progress -= step;
            if (vars->progress <= 0.0f) {
                vars->progress = 0.0f;
                vars->direction = 1;
            }
        }
        break;
    default:
        break;
    }
    picture->TickCalcStageTransArea(pos, vars, &groups->alpha->alpha_vars);
}

void TickRotation(StageGroups *groups, float dt)
{
    const _EngPictureStageRot *rot = &groups->rot->rot;
    _EngPictureStagePosVars *vars = &groups->rot->pos_vars;
    if (!rot->on)
        return;
    float step = rot->speed * rot->speed_mult * dt;
    float start = rot->start_angle;
    float end = rot->end_angle;
    float &angle = vars->angle;
    if (rot->type <= EPRT_FIXED) {
        angle = start;
    } else if (rot->type == EPRT_LOOP) {
        angle += step;
        if (angle >= end)
            angle = start;
    } else if (rot->type == EPRT_SPIN) {
        angle += step;
        if (angle >= 360.0f)
            angle -= 360.0f;
    } else if (rot->type == EPRT_BACK_AND_FORTH) {
        if (vars->rot_direction >= 0) {
            angle += step;
            if (start < end && angle >= end) {
                angle = end;
                vars->rot_direction = -1;
            } else if (start > end && angle >= start) {
                angle = start;
                vars->rot_direction = -1;
            }
        } else {
            angle -= step;
            if (end > start && angle <= start) {
                angle = start;
                vars->rot_direction = 1;
            } else if (end < start && angle <= end) {
                angle = end;
                vars->rot_direction = 1;
            }
        }
    } else if (start == end) {
        angle = start;
    } else {
        // The eased progress turns at the ends without being clamped.
        float &p = vars->eased_rot_progress;
        p += vars->rot_direction >= 0 ? step / std::fabs(end - start) : -step / std::fabs(end - start);
        if (vars->rot_direction >= 0 && p >= 1.0f)
            vars->rot_direction = -1;
        else if (vars->rot_direction < 0 && p <= 0.0f)
            vars->rot_direction = 1;
        float e = Ease(p);
        angle = start < end ? start + (end - start) * e : end + (start - end) * e;
    }
}

void TickThrob(EngPicture *picture, StageGroups *groups, float dt)
{
    const _EngPictureStageAlpha *alpha = &groups->alpha->alpha;
    _EngPictureStageAlphaVars *vars = &groups->alpha->alpha_vars;
    if (!alpha->throb_on)
        return;
    char cycle_done = 0;
    float t = EngMiscUpdateThrob(&vars->throb_phase, alpha->throb_speed * dt * alpha->throb_mult, &cycle_done);
    vars->throb_value = alpha->throb_min_level + t * (alpha->level - alpha->throb_min_level);
    if (cycle_done)
        picture->MoveToNextRandomPosition(&groups->pos->pos, &groups->pos->pos_vars);
}

// One axis of texture-coordinate movement.
void ScrollAxis(char tc_default, float *low, float *high, float tc_low, float tc_high, float tile, float speed,
                float dt)
{
    if (speed == 0.0f)
        return;
    *low += speed * dt * tile;
    if (tc_default) {
        if (*low >= 1.0f)
            *low -= 1.0f;
        else if (*low < 0.0f)
            *low += 1.0f;
        *high = *low + tile;
        return;
    }
    *high = *low + (tc_high - tc_low) * tile;
    if (*low > tc_high) {
        *low = tc_low;
        *high = tc_high;
    }
}

void TickTextureCoordinates(StageGroups *groups, float dt)
{
    const _EngPictureStageTC *tc = &groups->tc->tc;
    _EngPictureTexCoords *current = &groups->tc->tc_current;
    if (!tc->move)
        return;
    ScrollAxis(tc->tc_default, &current->left, &current->right, tc->tc.left, tc->tc.right, tc->tile.x, tc->speed.x,
               dt);
    ScrollAxis(tc->tc_default, &current->top, &current->bottom, tc->tc.top, tc->tc.bottom, tc->tile.y, tc->speed.y,
               dt);
}

// Blend factors as indices into eng_device_blend_factors.
enum { F_ZERO, F_ONE, F_SRCCOLOR, F_INVSRCCOLOR, F_SRCALPHA, F_INVSRCALPHA, F_INVDESTCOLOR, F_INVDESTALPHA,
       F_DESTCOLOR, F_DESTALPHA, F_SRCALPHASAT };

// Blend types 1 to 10 draw with SRCALPHA and these destinations; 11 to 19
// with INVDESTALPHA and the first nine of them. 20 is refused; 21 and above
// share INVDESTALPHA and ZERO.
const int BLEND_DESTINATIONS[10] = {F_INVSRCALPHA, F_SRCALPHA,     F_ONE,       F_SRCCOLOR,     F_INVSRCCOLOR,
                                    F_DESTCOLOR,   F_INVDESTCOLOR, F_DESTALPHA, F_INVDESTALPHA, F_SRCALPHASAT};
const int INVALID_BLEND_TYPE = 20;

// True when it turned blending on.
bool EnableStageBlending(int type)
{
    if (type <= 0)
        return false;
    if (type == INVALID_BLEND_TYPE) {
        DebugError("EngPicture::DrawSet", "Invalid blend num");
        return false;
    }
    int source = F_INVDESTALPHA;
    int destination = F_ZERO;
    if (type <= 10) {
        source = F_SRCALPHA;
        destination = BLEND_DESTINATIONS[type - 1];
    } else if (type <= 19) {
        destination = BLEND_DESTINATIONS[type - 11];
    }
    eng_device->EnableBlending(eng_device_blend_factors[source], eng_device_blend_factors[destination]);
    return true;
}

} // namespace

void EngPicture::ResetSetVars(int set)
{
    if (set < 0 || set >= m_num_sets) {
        DebugError("EngPicture::ResetSetVars", "Invalid set num %d (%d)", set, m_num_sets);
        return;
    }
    m_sets[set].current_stage = 0;
    m_sets[set].start_time = eng_main_program_time;
}

void EngPicture::ResetStageVars(_EngPictureStage *stage)
{
    if (!stage) {
        DebugErrorCode("EngPicture::ResetStageVars", 'BAPA');
        return;
    }
    _EngPictureStagePosVars *vars = &stage->pos_vars;
    vars->progress = 0.0f;
    vars->direction = 1;
    vars->area = stage->pos.main_area;
    vars->angle = stage->rot.start_angle;
    vars->eased_rot_progress = 0.0f;
    vars->rot_direction = 1;
    stage->alpha_vars.throb_value = 0.0f;
    stage->alpha_vars.throb_phase = 0.0f;
    ResetStageTimeVars(&stage->alpha, &stage->alpha_vars);
    ResetTextureCoordinates(&stage->tc, &stage->tc_current);
    MoveToNextRandomPosition(&stage->pos, vars);
}

void EngPicture::ResetStageTimeVars(const _EngPictureStageAlpha *alpha, _EngPictureStageAlphaVars *vars)
{
    if (!alpha || !vars) {
        DebugErrorCode("EngPicture::ResetStageTimeVars", 'BAPA');
        return;
    }
    vars->fade_in_time = alpha->fade_in_time;
    vars->fade_out_time = alpha->fade_out_time;
    vars->hold_time = alpha->hold_time;
    vars->gap_time = alpha->gap_time;
    vars->duration = alpha->fade_in_time + alpha->fade_out_time + alpha->hold_time + alpha->gap_time;
}

void EngPicture::ResetTextureCoordinates(const _EngPictureStageTC *tc, _EngPictureTexCoords *current)
{
    if (!tc || !current) {
        DebugErrorCode("EngPicture::ResetTextureCoordinates", 'BAPA');
        return;
    }
    if (tc->tc_default)
        *current = {0.0f, 0.0f, tc->tile.x, tc->tile.y};
    else
        *current = tc->tc;
}

void EngPicture::MoveToNextRandomPosition(const _EngPictureStagePos *pos, _EngPictureStagePosVars *vars)
{
    if (!pos || !vars) {
        DebugErrorCode("EngPicture::MoveToNextRandomPosition", 'BAPA');
        return;
    }
    if (pos->trans_type != EPTT_RANDOM_POSITION)
        return;
    const _Dimension *random = &pos->random_area;
    vars->random_x = EngMiscRandFloatInRange(random->x, random->x + random->w - pos->main_area.w, 0);
    vars->random_y = EngMiscRandFloatInRange(random->y, random->y + random->h - pos->main_area.h, 0);
}

void EngPicture::TickCalcStageTransArea(const _EngPictureStagePos *pos, _EngPictureStagePosVars *vars,
                                        const _EngPictureStageAlphaVars *alpha_vars)
{
    if (!pos || !vars || !alpha_vars) {
        DebugErrorCode("EngPicture::TickCalcStageTransArea", 'BAPA');
        return;
    }
    switch (pos->trans_type) {
    case EPTT_EASED_BACK_AND_FORTH:
        EngMathInterpolateDimension(&pos->main_area, &pos->end_area, Ease(vars->progress), &vars->area);
        break;
    case EPTT_RANDOM_POSITION:
        // The size follows the throb; the place is the random target.
        EngMathInterpolateDimension(&pos->main_area, &pos->end_area, alpha_vars->throb_value, &vars->area);
        vars->area.x = vars->random_x;
        vars->area.y = vars->random_y;
        break;
    default:
        EngMathInterpolateDimension(&pos->main_area, &pos->end_area, vars->progress, &vars->area);
        break;
    }
}

void EngPicture::Tick(float speed)
{
    float dt = eng_main_frame_time * speed;
    double now = eng_main_program_time;
    for (int i = 0; i < m_num_sets; i++) {
        _EngPictureSet *set = &m_sets[i];
        if (set->current_stage < 0 || set->current_stage >= set->num_stages)
            continue;
        if (set->num_stages >= 2) {
            StageGroups groups = GetStageGroups(set, set->current_stage);
            if (now >= set->start_time + groups.alpha->alpha_vars.duration) {
                set->current_stage = (set->current_stage + 1) % set->num_stages;
                set->start_time = now;
            }
        }
        StageGroups groups = GetStageGroups(set, set->current_stage);
        TickTransition(this, &groups, dt);
        TickRotation(&groups, dt);
        TickThrob(this, &groups, dt);
        TickTextureCoordinates(&groups, dt);
    }
}

void EngPicture::DrawAllSets()
{
    for (int i = 0; i < m_num_sets; i++)
        DrawSet(i, 1.0f);
}

void EngPicture::DrawAllSetsWithAlpha(float alpha)
{
    for (int i = 0; i < m_num_sets; i++)
        DrawSet(i, alpha);
}

void EngPicture::SetDrawArea(const _Dimension *area)
{
    if (area)
        m_draw_area = *area;
}

void EngPicture::SetDrawAreaToSize(float x, float y, float w, float h)
{
    m_draw_area = {x, y, w, h};
}

void EngPicture::DrawSet(int num, float alpha)
{
    if (!eng_device)
        return;
    _EngPictureSet *set = GetSet(num);
    if (!set || set->current_stage < 0 || set->current_stage >= set->num_stages)
        return;
    _EngPictureStage *stage = &set->stages[set->current_stage];
    StageGroups groups = GetStageGroups(set, set->current_stage);
    const _EngPictureStageAlpha *settings = &groups.alpha->alpha;
    if (stage->tex_num < 0 || !settings->show)
        return;
    _EngPictureTexture *picture_texture = GetTexture(stage->tex_num);
    if (!picture_texture || !picture_texture->texture)
        return;
    EngTexture *texture = picture_texture->texture;

    const _EngPictureStagePos *pos = &groups.pos->pos;
    const _Dimension area = pos->trans_type > EPTT_NONE ? groups.pos->pos_vars.area : pos->main_area;
    bool area_usable = area.w > 0.0f && area.h > 0.0f;

    // A stage of a sequence fades in, holds, fades out and stays hidden for
    // its gap.
    float f = alpha;
    if (set->num_stages >= 2) {
        const _EngPictureStageAlphaVars *times = &groups.alpha->alpha_vars;
        double start = set->start_time;
        double now = eng_main_program_time;
        double fade_in = times->fade_in_time;
        double fade_out = times->fade_out_time;
        double gap = times->gap_time;
        if (fade_in > 0 && now < start + fade_in)
            f *= static_cast<float>(1.0 - (start + fade_in - now) / fade_in);
        double fade_out_begin = start + times->duration - gap - fade_out;
        if (fade_out > 0 && now >= fade_out_begin)
            f *= static_cast<float>(1.0 - (now - fade_out_begin) / fade_out);
        if (gap > 0 && now >= start + times->duration - gap)
            f = 0.0f;
        // Drawn late in a stage, the fade-out would pass zero.
        if (f < 0.0f)
            f = 0.0f;
    }
    float opacity = f * settings->level;
    if (settings->throb_on)
        opacity *= groups.alpha->alpha_vars.throb_value;
    texture->SetAlpha(opacity);
    const _EngPictureTexCoords *tc = &groups.tc->tc_current;
    const _Dimension coordinates = {tc->left, tc->top, tc->right, tc->bottom};
    texture->SetTextureCoordinatesStruct(&coordinates);

    bool blending = EnableStageBlending(settings->blend_type);
    if (!area_usable) {
        DebugError("EngPicture::DrawSet", "No pos.");
        if (blending)
            eng_device->DisableBlending();
        return;
    }

    bool full_screen = eng_device->IsViewportFullScreen();
    D3DVIEWPORT9 old_viewport = {};
    if (full_screen) {
        eng_device->SetViewportToDimensionRatioed(&m_draw_area);
    } else {
        eng_device->GetViewport(&old_viewport);
        // The draw area taken relative to the viewport in force.
        float scale_x = eng_screen_ratio_x * old_viewport.Width / eng_screen_width;
        float scale_y = eng_screen_ratio_y * old_viewport.Height / eng_screen_height;
        _Dimension inner = {old_viewport.X + m_draw_area.x * scale_x, old_viewport.Y + m_draw_area.y * scale_y,
                            m_draw_area.w * scale_x, m_draw_area.h * scale_y};
        eng_device->SetViewportToDimension(&inner);
    }

    // The unit quad centred on the origin, scaled to the area, turned, and
    // moved to the area's centre in the viewport's clip units (y up).
    float x = 2.0f * area.x - 1.0f;
    float y = 2.0f * area.y - 1.0f;
    float w = 2.0f * area.w;
    float h = 2.0f * area.h;
    EngMatrix world;
    EngMatrix step;
    world.SetTranslation(x + w / 2.0f, -(y + h / 2.0f), 0.0f);
    if (groups.rot->rot.on)
        world.PreMultiply(step.SetRotationZ(-groups.rot->pos_vars.angle * RADIANS_PER_DEGREE));
    world.PreMultiply(step.SetScale(w, h, 1.0f));
    eng_device->PushTransformMatrix();
    eng_device->SetTransformMatrix(&world);
    texture->PositionPure(-0.5f, -0.5f, 1.0f, 1.0f);
    texture->Draw();
    eng_device->PopTransformMatrix();

    if (full_screen)
        eng_device->SetViewportFullScreen();
    else
        eng_device->SetViewportToViewportStruct(&old_viewport);
    if (settings->blend_type > 0)
        eng_device->DisableBlending();
}
