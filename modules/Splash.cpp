// The splash picture (see the header).
#include "modules/Splash.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngFont.h"
#include "engine/graphics/EngPicture.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngWindow.h"
#include "modules/ModulesHooks.h"

#include <cstdio>
#include <cstring>

namespace {

enum { SPLASH_FADE_IN = 1, SPLASH_HOLD = 2, SPLASH_FADE_OUT = 3, SPLASH_FINISHED = 4 };

// The first 0.8 s stay black; full visibility 2.4 s after the first tick.
const float kFadeInMs = 1600.0f;
const double kHoldSeconds = 2.0;
const float kFadeOutMs = 1500.0f;
const _Dimension kDefaultArea = {200, 115, 240, 250};

struct SplashState {
    EngPicture picture;
    char sound_file[128];
    EngFont *font = nullptr;
    float text_scale_x = 1.3f, text_scale_y = 1.2f;
    SplashTextCB text_cb = nullptr;
    SplashHoldCB hold_cb = nullptr;
    SplashEndCB end_cb = nullptr;
    void *user = nullptr;
    char set_up = 0;
    char text_on = 0;
    _Dimension area = {0, 0, 0, 0};
    char keep_square = 0;
    char on = 0;
    int state = 0;
    float alpha = 0;
    double state_start = 0;
    // 1 after a start (the next tick takes the time), 0 once taken, -1 after an end.
    int start_flag = 0;
};

SplashState *splash = new SplashState();

void ComputeLayout()
{
    _Dimension a = splash->area.w > 0 ? splash->area : kDefaultArea;
    if (splash->keep_square) {
        float h = a.h * eng_font_scale_y;
        a.y += (a.h - h) / 2;
        a.h = h;
    }
    if (eng_screen_width > 0 && eng_screen_height > 0) {
        float w = a.h * (4.0f / 3.0f) * eng_screen_height / eng_screen_width;
        a.x += (a.w - w) / 2;
        a.w = w;
    }
    splash->picture.SetDrawAreaToSize(a.x, a.y, a.w, a.h);
}

double ElapsedMs()
{
    return (EngMainUpdateProgramTime() - splash->state_start) * 1000.0;
}

} // namespace

char SplashSetup(const char *folder, const char *picture_file, const char *sound_file, EngFont *font,
                 float text_scale_x, float text_scale_y, SplashTextCB text_cb, SplashHoldCB hold_cb,
                 SplashEndCB end_cb, void *user)
{
    splash->on = 0;
    splash->start_flag = 0;
    splash->text_on = 0;
    if (sound_file) {
        if (!DebugCheck(std::strlen(sound_file) < sizeof(splash->sound_file), "Spash Setup",
                        "Sound filename too long (%s)", sound_file))
            return 0;
        if (!DebugCheck(EngFileExists(sound_file, 0), "Spash Setup", "Sound file does not exist (%s)", sound_file))
            return 0;
        EngSafeStrcpy(splash->sound_file, sound_file, sizeof(splash->sound_file));
    }
    splash->font = font;
    if (font) {
        if (text_scale_x > 0)
            splash->text_scale_x = text_scale_x;
        if (text_scale_y > 0)
            splash->text_scale_y = text_scale_y;
        splash->text_on = 1;
    }
    splash->text_cb = text_cb;
    splash->hold_cb = hold_cb;
    splash->end_cb = end_cb;
    splash->user = user;
    ModulesInstallEngPictureTextureFileOverwriteCB(nullptr);
    if (!splash->picture.LoadFromFile(folder, picture_file, 0))
        return 0;
    splash->set_up = 1;
    return 1;
}

void SplashSetArea(float x, float y, float w, float h, char keep_square)
{
    splash->area = _Dimension{x, y, w, h};
    splash->keep_square = keep_square;
    ComputeLayout();
}

char SplashCreateGraphics()
{
    if (!splash->on)
        return 1;
    if (!splash->picture.AreGraphicsCreated())
        splash->picture.CreateGraphics();
    ComputeLayout();
    return 1;
}

void SplashDestroyGraphics()
{
    splash->picture.DestroyGraphics();
    EngDimDestroyVertexBuffer();
}

char SplashStart()
{
    const char *where = "SplashStart";
    if (!DebugCheck(splash->set_up, where, "Splash not setup") || !DebugCheck(!splash->on, where, "Splash is already on") ||
        !DebugCheck(eng_device != nullptr, where, "No device"))
        return 0;
    splash->state = SPLASH_FADE_IN;
    splash->alpha = 0;
    splash->on = 1;
    SplashCreateGraphics();
    for (int i = 0; i < 2; i++) {
        eng_device->ClearBackBuffer();
        eng_device->SwapBuffers();
    }
    splash->start_flag = 1;
    return 1;
}

void SplashShowAtOnce()
{
    splash->state = SPLASH_HOLD;
    splash->alpha = 1;
}

char SplashIsOn()
{
    return splash->on;
}

char SplashTick()
{
    if (!splash->on || !eng_device)
        return 0;
    splash->picture.Tick(1.0f);
    if (splash->start_flag == 1) {
        splash->state_start = EngMainUpdateProgramTime();
        splash->start_flag = 0;
    }
    switch (splash->state) {
    case SPLASH_FADE_IN: {
        float alpha = static_cast<float>(ElapsedMs()) / kFadeInMs - 0.5f;
        splash->alpha = alpha < 0 ? 0 : alpha;
        if (alpha > 1) {
            splash->alpha = 1;
            splash->state = SPLASH_HOLD;
            splash->state_start = EngMainUpdateProgramTime();
        }
        break;
    }
    case SPLASH_HOLD: {
        double held = EngMainUpdateProgramTime() - splash->state_start;
        char ends = splash->hold_cb ? splash->hold_cb(held, splash->user) : held >= kHoldSeconds;
        if (ends) {
            splash->state = SPLASH_FADE_OUT;
            splash->state_start = EngMainUpdateProgramTime();
        }
        break;
    }
    case SPLASH_FADE_OUT: {
        float alpha = 1 - static_cast<float>(ElapsedMs()) / kFadeOutMs;
        splash->alpha = alpha > 1 ? 1 : alpha;
        if (alpha <= 0) {
            splash->alpha = 0;
            splash->state = SPLASH_FINISHED;
        }
        break;
    }
    default:
        SplashEnd();
        break;
    }
    return 1;
}

char SplashRender(char clear_mode)
{
    if (!splash->on || !eng_device)
        return 0;
    if (clear_mode == 1)
        eng_device->ClearBackBuffer();
    else if (clear_mode == 2)
        eng_device->ClearBackBufferAndZBuffer();
    bool began = false, prepared = false;
    if (splash->state >= SPLASH_FADE_IN) {
        prepared = eng_device->PrepareFor2DIfNeeded(1);
        began = eng_device->BeginRenderingIfNeeded();
        splash->picture.DrawAllSets();
    }
    if (splash->text_on && splash->font) {
        static char notice[64] = "";
        if (!notice[0])
            std::snprintf(notice, sizeof(notice), "(c) 2015 Lichenware");
        splash->font->SetScale(splash->text_scale_x, splash->text_scale_y);
        splash->font->SetColour(1, 1, 1, 1);
        const char *text = splash->text_cb ? splash->text_cb(splash->user) : notice;
        splash->font->DrawString(320, 450, 1, 1, text ? text : "", 1);
        splash->font->SetScale(1, 1);
    }
    EngDimDraw(1 - splash->alpha);
    if (prepared)
        eng_device->RestoreAfter2D();
    if (began)
        eng_device->EndRendering();
    return 1;
}

char SplashEnd()
{
    SplashDestroyGraphics();
    splash->picture.Destroy();
    char was_on = splash->on;
    splash->on = 0;
    splash->start_flag = -1;
    if (splash->end_cb && was_on)
        return splash->end_cb(splash->user);
    return was_on;
}

int SplashGetStateForTests()
{
    return splash->state;
}

float SplashGetAlphaForTests()
{
    return splash->alpha;
}

void SplashGetDrawAreaForTests(float *x, float *y, float *w, float *h)
{
    const _Dimension *a = splash->picture.GetDrawArea();
    *x = a->x;
    *y = a->y;
    *w = a->w;
    *h = a->h;
}

void SplashResetForTests()
{
    delete splash;
    splash = new SplashState();
}
