// The toolkit's popups: one modal box at a time, laid over the desktop in
// its own collection "MWIN_POPUP". Opening one deactivates every other
// collection (remembering which collections and windows were active),
// dims the screen behind it and stops a press from activating the
// collection under the mouse; closing it restores all of that. A box is
// built in three steps: the collection, the box (measured from its title
// and text, then its window, message and buttons), and completion (the
// done callback stored, the popup on). The caller's call returns at once;
// the answer arrives through the done callback after the popup closed.
//
// Failures: every failing step reports itself and the builder returns
// false without calling done. A build that fails after the collection was
// made is rolled back completely, so the next popup can open. A button
// that closes its own popup is never touched afterwards: the toolkit finds
// controls again by id and serial after a callback.
#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngPrefs.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "engine/runtime/EngWindow.h"
#include "gui/EngMenu.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char *const POPUP_COLLECTION = "MWIN_POPUP";
const char *const POPUP_WINDOW = "MWIN_POPUP_WIN";
const char *const POPUP_TEMP_WINDOW = "MWIN_POPUP_WIN_TEMP";
const char *const POPUP_IDS[MWIN_POPUP_NUM_BUTTONS] = {"OK", "CANCEL", "NO", "EXTRA"};
const float DIM_ALPHA = 0.5f;
const float SCREEN_W = 640;
const _ColourRGBA ERROR_COLOUR = {1, 0.2824f, 0.2353f, 0.9f};
const double FADE_SECONDS = 0.1;
// A timed message shorter than both fades shows without fading.
const double SHORTEST_FADED_MESSAGE = 0.2;

// Sizes per platform, [portrait, landscape].
struct PopupSizes {
    float min_w[2], max_w[2], button_w[2], button_h[2];
};
const PopupSizes DESKTOP_SIZES = {{50, 50}, {600, 600}, {60, 60}, {30, 30}};
const PopupSizes PHONE_SIZES = {{500, 400}, {630, 630}, {160, 120}, {40, 50}};
const PopupSizes TABLET_SIZES = {{300, 200}, {600, 600}, {110, 90}, {30, 35}};

const PopupSizes &PlatformSizes()
{
    if (EngMiscIsDesktopPlatform())
        return DESKTOP_SIZES;
    return EngMiscIsTabletPlatform() ? TABLET_SIZES : PHONE_SIZES;
}

// The usual texts of a button by its kind: without any language loaded,
// with languages (a token, used when it exists), and before either.
struct ButtonTexts {
    const char *plain;
    const char *token;
    const char *initial;
};
// Kind 1 and kind 2 of the first (OK) and second (CANCEL) buttons, and NO.
const ButtonTexts OK_TEXTS[2] = {{"OK", "Popup_OK", "Ok"}, {"Yes", "Popup_Yes", "Yes"}};
const ButtonTexts CANCEL_TEXTS[2] = {{"Cancel", "Popup_Cancel", "Cancel"}, {"No", "Popup_No", "No"}};
const ButtonTexts NO_TEXTS = {"No", "Popup_No", "No"};

const ButtonTexts &TextsOfKind(const ButtonTexts *texts, char kind)
{
    return texts[kind == 2 ? 1 : 0];
}

bool HasText(const char *text)
{
    return text && text[0];
}

int Orientation()
{
    return EngMainIsPortrait() ? 0 : 1;
}

void MWinPopupOkCB(MWin *mwin, _MWinButtonCallbackInfo *, int, int)
{
    mwin->PopupAnswer(1);
}

void MWinPopupCancelCB(MWin *mwin, _MWinButtonCallbackInfo *, int, int)
{
    mwin->PopupAnswer(0);
}

void MWinPopupNoCB(MWin *mwin, _MWinButtonCallbackInfo *, int, int)
{
    mwin->PopupAnswer(2);
}

void MWinPopupExtraCB(MWin *mwin, _MWinButtonCallbackInfo *, int, int)
{
    mwin->PopupAnswer(3);
}

const MWinButtonCallback BUTTON_CALLBACKS[MWIN_POPUP_NUM_BUTTONS] = {MWinPopupOkCB, MWinPopupCancelCB,
                                                                    MWinPopupNoCB, MWinPopupExtraCB};

void MWinPopupGetTextEditCB(MWin *mwin, _MWinButtonCallbackInfo *info, int, int)
{
    mwin->PopupTextEditEvent(info);
}

void MWinPopupPanelCB(MWin *mwin, _MWinButtonCallbackInfo *info, int, int)
{
    mwin->PopupPanelEvent(info);
}

// Going online (in the engine) asks and shows its notice through these.
char AskToGoOnline(MWin *mwin, const char *question, MWinPopupDoneCB done)
{
    return mwin->PopupOkCancel(nullptr, question, done, nullptr);
}

void ShowGoingOnline(MWin *mwin, const char *text)
{
    if (mwin->IsOn() && !mwin->IsPopupOn())
        mwin->PopupShowMessageNow(nullptr, text);
}

const _VariousPopups ONLINE_POPUPS = {AskToGoOnline, ShowGoingOnline};

} // namespace

// State.

void MWin::PopupResetAll()
{
    m_popup_on = 0;
    m_popup_saved_switching = -1;
    m_popup_menu_hidden = -1;
    const char *styles[MWIN_POPUP_NUM_STYLES] = {"MWIN_TEXBUT_DEFAULT", "MWIN_TEXBUT_DEFAULT", "MWIN_FONT_DEFAULT",
                                                 "MWIN_TEXBUT_DEFAULT", "MWIN_FONT_DEFAULT"};
    for (int i = 0; i < MWIN_POPUP_NUM_STYLES; i++)
        EngSafeStrcpy(m_popup_style[i], styles[i], sizeof(m_popup_style[i]));
    m_popup_msg_colour = {0, 0, 0, 1};
    m_popup_title_colour = {0, 0, 0, 1};
    m_popup_msg_scale[0] = m_popup_msg_scale[1] = 1;
    m_popup_title_scale[0] = m_popup_title_scale[1] = 1;
    m_popup_colour_kind = 0;
    m_popup_no_dim_next = 0;
    m_popup_timeout = 0;
    m_popup_title_align = MWTA_LEFT;
    std::memset(m_popup_button_text, 0, sizeof(m_popup_button_text));
    m_popup_collection = nullptr;
    m_popup_window = nullptr;
    m_popup_msg = nullptr;
    std::fill(m_popup_buttons, m_popup_buttons + MWIN_POPUP_NUM_BUTTONS, nullptr);
    m_popup_panel = nullptr;
    m_popup_text_edit = nullptr;
    m_popup_panel_selected = nullptr;
    m_popup_done = nullptr;
    m_popup_user = nullptr;
    m_popup_fail_next_window = 0;
    PopupSelectSizesForPlatform();
    VariousSetPopups(&ONLINE_POPUPS);
}

void MWin::PopupSelectSizesForPlatform()
{
    const PopupSizes &sizes = PlatformSizes();
    for (int o = 0; o < 2; o++) {
        m_popup_min_w[o] = sizes.min_w[o];
        m_popup_max_w[o] = sizes.max_w[o];
        m_popup_default_button_w[o] = sizes.button_w[o];
        m_popup_button_w[o] = sizes.button_w[o];
        m_popup_button_h[o] = sizes.button_h[o];
    }
}

char MWin::IsPopupOn()
{
    return m_popup_on;
}

// Settings.

void MWin::PopupSetStyle(const char *window_back, const char *title_back, const char *window_font,
                         const char *control_back, const char *control_font, float msg_r, float msg_g, float msg_b,
                         float msg_a, float msg_scale_x, float msg_scale_y, float title_r, float title_g,
                         float title_b, float title_a, float title_scale_x, float title_scale_y, int title_align)
{
    const char *ids[MWIN_POPUP_NUM_STYLES] = {window_back, title_back, window_font, control_back, control_font};
    for (int i = 0; i < MWIN_POPUP_NUM_STYLES; i++)
        if (HasText(ids[i]))
            EngSafeStrcpy(m_popup_style[i], ids[i], sizeof(m_popup_style[i]));
    struct {
        float value;
        float *to;
    } floats[] = {
        {msg_r, &m_popup_msg_colour.r},       {msg_g, &m_popup_msg_colour.g},
        {msg_b, &m_popup_msg_colour.b},       {msg_a, &m_popup_msg_colour.a},
        {msg_scale_x, &m_popup_msg_scale[0]}, {msg_scale_y, &m_popup_msg_scale[1]},
        {title_r, &m_popup_title_colour.r},   {title_g, &m_popup_title_colour.g},
        {title_b, &m_popup_title_colour.b},   {title_a, &m_popup_title_colour.a},
        {title_scale_x, &m_popup_title_scale[0]}, {title_scale_y, &m_popup_title_scale[1]},
    };
    for (auto &f : floats)
        if (f.value >= 0)
            *f.to = f.value;
    if (title_align != -1)
        m_popup_title_align = static_cast<_MWinTextAlign>(title_align);
}

void MWin::PopupSetButtonTexts(const char *first, const char *second)
{
    if (first)
        EngSafeStrcpy(m_popup_button_text[0], first, sizeof(m_popup_button_text[0]));
    if (second)
        EngSafeStrcpy(m_popup_button_text[1], second, sizeof(m_popup_button_text[1]));
}

void MWin::PopupSetYesNoCancelTexts(const char *yes, const char *no, const char *cancel)
{
    PopupSetButtonTexts(yes, cancel);
    if (no)
        EngSafeStrcpy(m_popup_button_text[2], no, sizeof(m_popup_button_text[2]));
}

void MWin::PopupSetWideButtons()
{
    for (int o = 0; o < 2; o++)
        m_popup_button_w[o] = 1.5f * m_popup_default_button_w[o];
}

void MWin::PopupResetButtonWidths()
{
    for (int o = 0; o < 2; o++)
        m_popup_button_w[o] = m_popup_default_button_w[o];
}

void MWin::PopupSetButtonWidths(float portrait, float landscape)
{
    const float widths[2] = {portrait, landscape};
    for (int o = 0; o < 2; o++) {
        if (widths[o] > 0)
            m_popup_button_w[o] = widths[o];
        else if (widths[o] == -2)
            m_popup_button_w[o] = m_popup_default_button_w[o];
    }
}

void MWin::PopupSetButtonWidth(float width)
{
    PopupSetButtonWidths(width, width);
}

void MWin::PopupSetTimeout(double seconds)
{
    m_popup_timeout = seconds > 0 ? EngMainUpdateProgramTime() + seconds : 0;
}

void MWin::PopupSetAlpha(float alpha)
{
    if (!m_popup_window)
        return;
    m_popup_window->SetAlpha(alpha);
    MWinButton *controls[] = {m_popup_msg,  m_popup_buttons[0], m_popup_buttons[1], m_popup_buttons[2],
                              m_popup_buttons[3], m_popup_panel, m_popup_text_edit};
    for (MWinButton *control : controls)
        if (control)
            control->SetColourMultiplierAlpha(alpha);
    RequestRender();
}

void MWin::PopupApplyStyle(MWinButton *button)
{
    button->SetFont(m_popup_style[MWIN_POPUP_STYLE_CONTROL_FONT]);
    button->SetTextColourRGBA(&m_popup_msg_colour);
    button->SetTextScale(m_popup_msg_scale[0], m_popup_msg_scale[1]);
}

// Building.

char MWin::PopupCreateCollection()
{
    const char *where = "MWin::PopupCreateCollection";
    if (!IsOn()) {
        DebugError(where, "MWin is not on");
        return 0;
    }
    if (m_popup_on || m_popup_collection) {
        DebugError(where, "Popup already on");
        return 0;
    }
    if (!DebugCheck(m_desktop != nullptr, where, "No desktop"))
        return 0;
    for (MWinCollection *c = m_desktop->GetFirstCollection(); c; c = c->GetNext()) {
        c->m_was_active_before_popup = c->IsActive();
        for (int i = 0; i < c->GetNumWindows(); i++) {
            MWinWindow *window = c->GetNthWindow(i);
            if (window)
                window->m_was_active_before_popup = window->IsActive();
        }
        c->Deactivate();
    }
    if (m_popup_no_dim_next) {
        m_desktop->SetDimInactive(0);
        m_popup_no_dim_next = 0;
    } else {
        m_desktop->SetDimAlpha(DIM_ALPHA);
        m_desktop->SetDimInactive(1);
    }
    m_popup_collection = m_desktop->AddCollection(POPUP_COLLECTION);
    if (!m_popup_collection) {
        DebugError(where, "Could not create new collection");
        PopupRollBack();
        return 0;
    }
    m_popup_collection->Activate();
    return 1;
}

char MWin::PopupMeasureText(const _MWinWindowCreateInfo *info, const char *text, float w, char multiline,
                            float *out_w, float *out_h)
{
    const char *where = "MWin::PopupSetupDefaultButtons";
    MWinWindow *temp = m_popup_collection->AddWindow(POPUP_TEMP_WINDOW, info);
    if (!temp) {
        DebugError(where, "Could not create temp popup window");
        return 0;
    }
    MWinButton *button = temp->AddButton("TEMP", MWBT_PUSH, m_popup_style[MWIN_POPUP_STYLE_CONTROL_BACK], "Temp",
                                         0, 0, w, 480);
    if (!button) {
        DebugError(where, "Could not create temp button");
        m_popup_collection->RemoveAllWindows();
        return 0;
    }
    PopupApplyStyle(button);
    if (multiline) {
        button->SetText(text);
        button->SetMultiline(1);
        button->GetMultilineTextSize(out_w, out_h);
    } else {
        button->SetTextScale(m_popup_title_scale[0], m_popup_title_scale[1]);
        button->SetText(text);
        *out_w = button->GetTextWidth();
    }
    m_popup_collection->RemoveAllWindows();
    return 1;
}

char MWin::PopupSetupDefaultButtons(const char *title, const char *text, char first, char second, char third,
                                    char fourth, float extra_w, float extra_h)
{
    const char *where = "MWin::PopupSetupDefaultButtons";
    const int o = Orientation();
    const float bw = m_popup_button_w[o];
    const float bh = 0.9f * m_popup_button_h[o];
    float box = std::min(m_popup_min_w[o] + extra_w, SCREEN_W);
    const float maxw = std::max(m_popup_max_w[o], box);
    const bool has_text = HasText(text);

    _MWinWindowCreateInfo info;
    std::memset(&info, 0, sizeof(info));
    info.m_kind = MWWK_MODAL;
    info.m_x = info.m_y = -9999;
    info.m_w = 640;
    info.m_h = 480;
    info.m_drag_mode = 1;
    info.m_has_title_bar = HasText(title);
    EngSafeStrcpy(info.m_title_texbut, m_popup_style[MWIN_POPUP_STYLE_TITLE_BACK], sizeof(info.m_title_texbut));
    EngSafeStrcpy(info.m_back_texbut, m_popup_style[MWIN_POPUP_STYLE_WINDOW_BACK], sizeof(info.m_back_texbut));
    EngSafeStrcpy(info.m_font, m_popup_style[MWIN_POPUP_STYLE_WINDOW_FONT], sizeof(info.m_font));
    EngSafeStrcpy(info.m_hide_texbut, "MWIN_TEXBUT_NONE", sizeof(info.m_hide_texbut));
    EngSafeStrcpy(info.m_extra_texbut, "MWIN_TEXBUT_NONE", sizeof(info.m_extra_texbut));

    // The title's width; a title too long to measure is shown empty.
    float titlew = 0;
    if (title && std::strlen(title) < MWIN_TITLE_SIZE) {
        EngSafeStrcpy(info.m_title, title, sizeof(info.m_title));
        float width = 0;
        if (!PopupMeasureText(&info, title, maxw - 60, 0, &width, nullptr))
            return 0;
        titlew = std::min(extra_w + 40 + width, maxw);
        box = std::max(box, titlew);
    }

    // The message, word-wrapped within the widest box.
    float tw = 0, th = 0;
    if (has_text) {
        if (!PopupMeasureText(&info, text, maxw - 60 - extra_w, 1, &tw, &th))
            return 0;
        th += 3;
        if (tw > maxw) {
            DebugError(where, "msg_w %.0f > max_box_w %.0f", tw, maxw);
            tw = maxw;
        }
        box = std::max(box, tw);
    }
    box += (HasText(title) || has_text) ? 40 : 5;
    if (box > maxw) {
        DebugNoteWithName(2, where, "box_w %.0f > max_box_w %0.f", box, maxw);
        tw -= box - maxw;
        box = maxw;
    }

    const int n = (first != 0) + (second != 0) + (third != 0) + (fourth != 0);
    const float gaps = 12 + 6 * std::max(n - 1, 0);
    const float need = n ? n * bw + gaps : 0;
    box = std::max(box, need);

    if (th != 0)
        extra_h += th + 10;
    const bool has_row = first || second || third;
    float height = has_row ? extra_h + bh + 20 : extra_h;
    const float base = has_row ? 0 : -4;

    // Text is drawn narrower and shorter on screens wider than 4:3.
    float sx = 1, sy = 1;
    if (m_scale_on) {
        if (eng_font_scale_x > 0)
            sx = 1 / eng_font_scale_x;
        if (eng_font_scale_y > 0)
            sy = 1 / eng_font_scale_y;
    }
    box *= sx;
    height = height * (1 + sy) / 2;
    const float msgw = sx * (tw + 20);
    const float gap = 6 * sx;

    float width = box / sx;
    if (has_text)
        width = std::max(width, msgw);
    if (titlew > 0)
        width = std::max(width, titlew);
    width = std::max(width, need);
    info.m_w = width + 20;
    info.m_h = height;
    m_popup_window = m_popup_fail_next_window ? nullptr : m_popup_collection->AddWindow(POPUP_WINDOW, &info);
    m_popup_fail_next_window = 0;
    if (!m_popup_window) {
        DebugError(where, "Could not create popup window");
        return 0;
    }
    if (info.m_has_title_bar) {
        m_popup_window->SetTitleTextColourFromRecord(&m_popup_title_colour);
        m_popup_window->SetTitleTextScale(m_popup_title_scale[0], m_popup_title_scale[1]);
        m_popup_window->SetTitleTextAlign(m_popup_title_align);
    }

    if (has_text) {
        m_popup_msg = m_popup_window->AddButton("MSG", MWBT_STATIC, "MWIN_TEXBUT_NONE", text, -1, (base + 10) * sy,
                                                msgw, th * sy);
        if (!m_popup_msg) {
            DebugError(where, "Could not create message");
            return 0;
        }
        PopupApplyStyle(m_popup_msg);
        m_popup_msg->SetMultiline(1);
    }
    if (m_popup_colour_kind == -1) {
        if (info.m_has_title_bar)
            m_popup_window->SetTitleTextColourFromRecord(&ERROR_COLOUR);
        if (m_popup_msg)
            m_popup_msg->SetTextColourRGBA(&ERROR_COLOUR);
        m_popup_colour_kind = 0;
    }

    // Which buttons exist; a third or fourth without the ones before it
    // adds nothing.
    bool make[MWIN_POPUP_NUM_BUTTONS] = {first != 0, second != 0, first && second && third,
                                         first && second && third && fourth};
    const int made = make[0] + make[1] + make[2] + make[3];
    const char *initial[MWIN_POPUP_NUM_BUTTONS] = {
        TextsOfKind(OK_TEXTS, first).initial,
        made <= 2 ? TextsOfKind(CANCEL_TEXTS, second).initial : CANCEL_TEXTS[0].initial, NO_TEXTS.initial,
        "Extra"};
    const float y = height - 10 - bh;
    for (int i = 0; i < MWIN_POPUP_NUM_BUTTONS; i++) {
        if (!make[i])
            continue;
        MWinButton *button =
            m_popup_window->AddButtonWithCallback(POPUP_IDS[i], MWBT_PUSH, m_popup_style[MWIN_POPUP_STYLE_CONTROL_BACK],
                                                  initial[i], -1, y, bw, bh, BUTTON_CALLBACKS[i], 0, 0);
        if (!button) {
            DebugError(where, "Could not create button %s", POPUP_IDS[i]);
            return 0;
        }
        PopupApplyStyle(button);
        m_popup_buttons[i] = button;
    }
    MWinButton *ok = m_popup_buttons[MWIN_POPUP_OK], *cancel = m_popup_buttons[MWIN_POPUP_CANCEL];
    if (made == 1 && ok && first == 1) {
        ok->SetDefaultButtonForParentWindow();
        ok->SetEscapeButtonForParentWindow();
    } else if (made == 1 && cancel && second == 1) {
        cancel->SetDefaultButtonForParentWindow();
        cancel->SetEscapeButtonForParentWindow();
    } else if (made == 2) {
        if (first == 1)
            ok->SetDefaultButtonForParentWindow();
        if (second == 1)
            cancel->SetEscapeButtonForParentWindow();
    } else if (made == 3 && second == 1) {
        cancel->SetEscapeButtonForParentWindow();
    }

    PopupApplyButtonTexts(first, second);
    PopupPlaceButtons(box, gaps, gap, bw);
    return 1;
}

void MWin::PopupApplyButtonTexts(char first, char second)
{
    const ButtonTexts *usual[3] = {&TextsOfKind(OK_TEXTS, first), &TextsOfKind(CANCEL_TEXTS, second), &NO_TEXTS};
    const bool languages = EngLanguagesGetNumLanguages() > 0;
    for (int i = 0; i < 3; i++) {
        MWinButton *button = m_popup_buttons[i];
        if (!button)
            continue;
        if (m_popup_button_text[i][0])
            button->SetText(m_popup_button_text[i]);
        else if (!languages)
            button->SetText(usual[i]->plain);
        else if (EngLanguagesDoesTokenExist(usual[i]->token))
            button->SetLangToken(usual[i]->token);
    }
}

void MWin::PopupPlaceButtons(float box, float gaps, float gap, float bw)
{
    // OK, NO, CANCEL when all three exist; else OK, CANCEL, NO, EXTRA.
    MWinButton *row[MWIN_POPUP_NUM_BUTTONS + 1] = {};
    const bool three = m_popup_buttons[MWIN_POPUP_OK] && m_popup_buttons[MWIN_POPUP_NO] &&
                       m_popup_buttons[MWIN_POPUP_CANCEL];
    const int order_three[] = {MWIN_POPUP_OK, MWIN_POPUP_NO, MWIN_POPUP_CANCEL, MWIN_POPUP_EXTRA};
    const int order_usual[] = {MWIN_POPUP_OK, MWIN_POPUP_CANCEL, MWIN_POPUP_NO, MWIN_POPUP_EXTRA};
    int n = 0;
    for (int which : three ? order_three : order_usual)
        if (m_popup_buttons[which])
            row[n++] = m_popup_buttons[which];
    if (n == 0)
        return;

    const float aspect = eng_font_scale_x > 0 ? eng_font_scale_x : 1;
    float widths[MWIN_POPUP_NUM_BUTTONS], sum = 0;
    for (int i = 0; i < n; i++) {
        row[i]->SetTextScale(0.8f * m_popup_msg_scale[0], 0.8f * m_popup_msg_scale[1]);
        widths[i] = std::max(row[i]->GetTextWidth() / aspect + 15, 0.9f * bw);
        sum += widths[i];
    }
    if (box < gaps + sum)
        for (int i = 0; i < n; i++)
            widths[i] = std::max(widths[i] * (box - gaps) / sum, 0.9f * bw);
    float x = gap;
    for (int i = 0; i < n; i++) {
        _Dimension d;
        row[i]->GetDimension(&d);
        row[i]->SetPosAndSize(x, d.y, widths[i], d.h);
        x += widths[i] + gap;
    }
    if (m_popup_buttons[MWIN_POPUP_OK])
        m_popup_window->CenterGroupOfButtons(row, 1, 0);
}

void MWin::PopupClearOneShots()
{
    std::memset(m_popup_button_text, 0, sizeof(m_popup_button_text));
    m_popup_colour_kind = 0;
    m_popup_no_dim_next = 0;
}

char MWin::PopupCompleteSetup(MWinPopupDoneCB done, void *user)
{
    if (m_popup_saved_switching != -1)
        DebugError("MWin::PopupCompleteSetup", "Internal Error (mwp_save_mouse_over_collections)");
    m_popup_saved_switching = m_settings.m_collection_focus_follows_mouse;
    m_settings.m_collection_focus_follows_mouse = 0;
    m_popup_done = done;
    m_popup_user = user;
    m_popup_on = 1;
    if (EngMenuExists() && EngMenuIsEnabled()) {
        EngMenuDisable();
        m_popup_menu_hidden = 1;
    }
    ButtonsChanged();
    return 1;
}

char MWin::PopupBuild(const char *title, const char *text, char first, char second, char third, char fourth,
                      MWinPopupDoneCB done, void *user)
{
    if (!PopupCreateCollection()) {
        PopupClearOneShots();
        return 0;
    }
    char built = PopupSetupDefaultButtons(title, text, first, second, third, fourth, 0, 0);
    PopupClearOneShots();
    if (!built) {
        PopupRollBack();
        return 0;
    }
    return PopupCompleteSetup(done, user);
}

// Closing.

void MWin::PopupRemoveCollection()
{
    if (m_popup_collection && m_desktop->GetCollectionFromID(POPUP_COLLECTION, 0))
        m_desktop->RemoveCollection(POPUP_COLLECTION);
    m_popup_collection = nullptr;
    m_popup_window = nullptr;
    m_popup_msg = nullptr;
    std::fill(m_popup_buttons, m_popup_buttons + MWIN_POPUP_NUM_BUTTONS, nullptr);
    m_popup_panel = nullptr;
    m_popup_text_edit = nullptr;
    m_popup_panel_selected = nullptr;
    m_desktop->SetDimInactive(0);
    for (MWinCollection *c = m_desktop->GetFirstCollection(); c; c = c->GetNext()) {
        if (!c->m_was_active_before_popup)
            continue;
        c->Activate();
        for (int i = 0; i < c->GetNumWindows(); i++) {
            MWinWindow *window = c->GetNthWindow(i);
            if (window && window->m_was_active_before_popup)
                window->Activate();
        }
    }
}

void MWin::PopupRollBack()
{
    if (m_desktop)
        PopupRemoveCollection();
}

char MWin::PopupCloseCollection()
{
    const char *where = "MWin::PopupCloseCollection";
    if (!DebugCheck(m_desktop != nullptr, where, "No desktop"))
        return 0;
    PopupRemoveCollection();
    if (m_popup_saved_switching == -1) {
        DebugError(where, "Internal Error (mwp_save_mouse_over_collections)");
    } else {
        m_settings.m_collection_focus_follows_mouse = m_popup_saved_switching;
        m_popup_saved_switching = -1;
    }
    if (m_popup_menu_hidden == 1) {
        EngMenuEnable();
        m_popup_menu_hidden = -1;
    }
    m_popup_on = 0;
    m_popup_user = nullptr;
    RequestRender();
    return 1;
}

char MWin::PopupCloseIfOn()
{
    if (!m_popup_on)
        return 0;
    PopupCloseCollection();
    return 1;
}

void MWin::PopupCheckTimeout()
{
    if (!m_popup_on) {
        m_popup_timeout = 0;
        return;
    }
    if (m_popup_timeout > 0 && m_popup_timeout < eng_main_program_time) {
        m_popup_timeout = 0;
        PopupCloseIfOn();
    }
}

void MWin::PopupAnswer(char result)
{
    // Closing deletes the button that answered; only copies are used after.
    MWinPopupDoneCB done = m_popup_done;
    void *user = m_popup_user;
    m_popup_done = nullptr;
    if (PopupCloseCollection() && done)
        done(this, result, user);
}

void MWin::PopupTextEditEvent(const _MWinButtonCallbackInfo *info)
{
    MWinButton *ok = m_popup_buttons[MWIN_POPUP_OK];
    if (info && info->m_text_edit_event == 1 && ok && m_popup_window)
        m_popup_window->SendButtonCallCallbackMessage(ok, 1);
}

void MWin::PopupPanelEvent(const _MWinButtonCallbackInfo *info)
{
    if (!info)
        return;
    if (info->m_panel_mode == 1) {
        MWinButton *ok = m_popup_buttons[MWIN_POPUP_OK];
        if (ok && m_popup_window)
            m_popup_window->SendButtonCallCallbackMessage(ok, 1);
    } else if (m_popup_panel_selected) {
        m_popup_panel_selected(this, info->m_panel_pos, m_popup_user);
    }
}

// The popups.

char MWin::PopupOk(const char *title, const char *text, MWinPopupDoneCB done, void *user)
{
    return PopupBuild(title, text, 1, 0, 0, 0, done, user);
}

char MWin::PopupMessage(const char *title, const char *text)
{
    return PopupOk(title, text, nullptr, nullptr);
}

char MWin::PopupMessageNoTitle(const char *text)
{
    return PopupOk(nullptr, text, nullptr, nullptr);
}

char MWin::PopupOkCancel(const char *title, const char *text, MWinPopupDoneCB done, void *user)
{
    return PopupBuild(title, text, 1, 1, 0, 0, done, user);
}

char MWin::PopupYesNo(const char *title, const char *text, MWinPopupDoneCB done, void *user)
{
    return PopupBuild(title, text, 2, 2, 0, 0, done, user);
}

char MWin::PopupYesNoCancel(const char *title, const char *text, MWinPopupDoneCB done, void *user)
{
    return PopupBuild(title, text, 2, 1, 1, 0, done, user);
}

char MWin::PopupErrorOk(const char *title, const char *text, MWinPopupDoneCB done, void *user)
{
    if (!title) {
        const bool translated = EngLanguagesGetNumLanguages() > 0 && EngLanguagesDoesTokenExist("Common_Error");
        title = translated ? EngLanguagesGetStringForToken("Common_Error") : "Error";
    }
    m_popup_colour_kind = -1;
    return PopupOk(title, text, done, user);
}

char MWin::PopupErrorMessage(const char *text)
{
    return PopupErrorOk(nullptr, text, nullptr, nullptr);
}

char MWin::PopupShowMessage(const char *title, const char *text)
{
    return PopupBuild(title, text, 0, 0, 0, 0, nullptr, nullptr);
}

char MWin::PopupGetText(const char *title, const char *text, char *buffer, int size, MWinPopupDoneCB done,
                        void *user)
{
    const char *where = "MWin::PopupGetText";
    if (!buffer) {
        DebugError(where, "No text var.");
        return 0;
    }
    if (size < 1) {
        DebugError(where, "No max len.");
        return 0;
    }
    // Tablets type on the full-screen keyboard instead of a text edit.
    if (EngMiscIsTabletPlatform())
        return PopupGetText_Mobile(title, text, buffer, size, done, user);
    if (!PopupCreateCollection()) {
        PopupClearOneShots();
        return 0;
    }
    const int o = Orientation();
    char built = PopupSetupDefaultButtons(title, text, 1, 1, 0, 0, 0, 2 * m_popup_button_h[o]);
    PopupClearOneShots();
    if (built) {
        float y = HasText(text) ? m_popup_button_h[o] + 20 : 20;
        if (!HasText(title))
            y -= 10;
        m_popup_text_edit = m_popup_window->AddButtonWithCallback(
            "TEXTEDIT", MWBT_TEXT_EDIT, m_popup_style[MWIN_POPUP_STYLE_CONTROL_BACK], buffer, -1, y,
            m_popup_window->GetDesignWidth() - 40, m_popup_button_h[o], MWinPopupGetTextEditCB, 0, 0);
        if (!m_popup_text_edit)
            DebugError(where, "Could not create text edit");
        built = m_popup_text_edit != nullptr;
    }
    if (!built) {
        PopupRollBack();
        return 0;
    }
    PopupApplyStyle(m_popup_text_edit);
    m_popup_text_edit->TextEditRegisterString(buffer, size);
    // Setting the length is what makes an entry take keys.
    m_popup_text_edit->TextEditSetLength(m_popup_text_edit->TextEditGetLength());
    PopupCompleteSetup(done, user);
    // The entry takes the keys even where the pointer cannot be moved.
    m_popup_text_edit->Activate();
    m_popup_text_edit->TextEditMoveCursorToButtonAndTurnOnEditing();
    return 1;
}

char MWin::PopupPanel(const char *title, const char *text, int entries, int lines_per_entry, float w, float h,
                      MWinPopupStringsCB strings, char first_button_kind, int **selection,
                      MWinPopupSelectedCB selected, MWinPopupDoneCB done, void *user)
{
    const char *where = "MWin::PopupPanel";
    if (!selection || !*selection) {
        DebugError(where, "No panel sel val");
        return 0;
    }
    if (!PopupCreateCollection()) {
        PopupClearOneShots();
        return 0;
    }
    const int o = Orientation();
    const float min_w = m_popup_min_w[o];
    m_popup_min_w[o] = w + 10;
    char built = PopupSetupDefaultButtons(title, text, first_button_kind, 1, 0, 0, 0, h + 10);
    m_popup_min_w[o] = min_w;
    PopupClearOneShots();
    if (built) {
        m_popup_panel = m_popup_window->AddButtonWithCallback("PANEL", MWBT_PANEL,
                                                              m_popup_style[MWIN_POPUP_STYLE_CONTROL_BACK], "", -1,
                                                              10, w, h, MWinPopupPanelCB, 0, 0);
        if (!m_popup_panel)
            DebugError(where, "Could not create panel");
        built = m_popup_panel != nullptr;
    }
    if (!built) {
        PopupRollBack();
        return 0;
    }
    PopupApplyStyle(m_popup_panel);
    m_popup_panel->SetBackTexButToDefault();
    m_popup_panel->PanelSetStringsCallback(entries, lines_per_entry, strings, user);
    m_popup_panel->PanelRegisterIntVariable(*selection, 0);
    m_popup_panel_selected = selected;
    return PopupCompleteSetup(done, user);
}

// Blocking popups.

void MWin::PopupFadeAlpha(float from, float to, double seconds)
{
    const double start = EngMainUpdateProgramTime();
    for (;;) {
        const double now = EngMainUpdateProgramTime();
        const double done = std::min(std::max((now - start) / seconds, 0.0), 1.0);
        PopupSetAlpha(static_cast<float>(from + (to - from) * done));
        EngMiscRenderFrameNow(1, 0);
        if (done >= 1)
            return;
        // A frame that took no time must not spin.
        if (EngMainUpdateProgramTime() == now)
            EngMiscSleep(0.001);
    }
}

char MWin::PopupShowTimedMessage(const char *title, const char *text, double seconds, char fade)
{
    PopupCloseIfOn();
    if (!PopupShowMessage(title, text))
        return 0;
    if (!fade || seconds <= SHORTEST_FADED_MESSAGE) {
        EngMiscRenderFrameNow(1, 0);
        EngMiscRenderFrameNow(1, 0);
        EngMiscWait(seconds);
    } else {
        m_desktop->SetDimInactive(0);
        PopupFadeAlpha(0, 1, FADE_SECONDS);
        EngMiscWait(seconds - 2 * FADE_SECONDS);
        PopupFadeAlpha(1, 0, FADE_SECONDS);
    }
    PopupCloseIfOn();
    if (eng_main_program)
        eng_main_program->RequestRenderEventDriven();
    return 1;
}

char MWin::PopupShowMessageNow(const char *title, const char *text)
{
    // Another open popup is left alone: closing it would lose its answer.
    if (!PopupShowMessage(title, text))
        return 1;
    EngMiscRenderFrameNow(1, 0);
    EngMiscRenderFrameNow(1, 0);
    PopupCloseIfOn();
    return 1;
}
