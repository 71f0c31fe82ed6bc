// The on-screen keyboard: its four layouts, the keys of each entry kind,
// typing, Done, the full-screen drawing with the pressed key's bubble, and
// the entry state that ties them together.
#include "gui/MWinKeyboard.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/graphics/EngFont.h"
#include "engine/runtime/EngDevice.h"
#include "engine/runtime/EngMain.h"
#include "gui/MWin.h"
#include "gui/MWinButton.h"
#include "gui/MWinCollection.h"
#include "gui/MWinDesktop.h"
#include "gui/MWinDrawState.h"
#include "gui/MWinFonts.h"
#include "gui/MWinTextures.h"
#include "gui/MWinWindow.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace {

const int kShiftKey = 254, kDeleteKey = 255;
const _ColourRGBA kShiftOnTint = {0.498f, 1, 0.498f, 1}, kShiftOffTint = {0.8f, 0.8f, 0.8f, 1};
// The key bubble: fades in over 0.1 s, holds until 0.4 s, fades out by
// 0.5 s, and is forgotten after 3 s.
const double kBubbleIn = 0.1, kBubbleHold = 0.4, kBubbleOut = 0.5, kBubbleForget = 3.0;

// Layout numbers 1 to 4, in this order.
enum { PHONE_PORTRAIT, PHONE_LANDSCAPE, TABLET_PORTRAIT, TABLET_LANDSCAPE, NUM_LAYOUTS };

int LayoutIndex(int layout)
{
    return layout >= 1 && layout <= NUM_LAYOUTS ? layout - 1 : PHONE_PORTRAIT;
}

bool IsTablet(int index)
{
    return index == TABLET_PORTRAIT || index == TABLET_LANDSCAPE;
}

// The keyboard screen's controls and where each layout puts them.
struct ControlSpec {
    const char *id, *texbut, *text;
    _Dimension at[NUM_LAYOUTS];
};

const ControlSpec kControls[] = {
    {"Bg", "Back1", "", {{0, 0, 640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}, {0, 0, 640, 480}}},
    {"Title", "Back1", "Title", {{40, 10, 560, 40}, {10, 10, 620, 40}, {40, 10, 560, 40}, {10, 10, 620, 40}}},
    {"Message",
     "MWIN_TEXBUT_NONE",
     "Optional Message",
     {{40, 50, 560, 40}, {10, 50, 620, 40}, {40, 50, 560, 40}, {10, 50, 620, 40}}},
    {"Text", "Back1", "Text", {{40, 90, 560, 40}, {10, 90, 620, 40}, {40, 90, 560, 40}, {10, 90, 620, 40}}},
    {"KeysBack", "Back1", "", {{40, 140, 560, 280}, {10, 140, 620, 250}, {40, 140, 560, 285}, {10, 140, 620, 290}}},
    {"Done",
     "MWIN_TEXBUT_DEFAULT",
     "Done",
     {{220, 430, 200, 40}, {220, 400, 200, 50}, {220, 435, 200, 35}, {220, 435, 200, 35}}},
    {"Shift",
     "MWIN_TEXBUT_DEFAULT",
     "Shift",
     {{50, 430, 100, 40}, {20, 400, 100, 50}, {50, 435, 100, 35}, {20, 435, 100, 35}}},
    {"Del",
     "MWIN_TEXBUT_DEFAULT",
     "Delete",
     {{490, 430, 100, 40}, {520, 400, 100, 50}, {490, 435, 100, 35}, {520, 435, 100, 35}}},
};

const char *const kWindowFunctions[NUM_LAYOUTS] = {
    "AddMainWinWindowToCollectionIPhonePortrait", "AddMainWinWindowToCollectionIPhoneLandscape",
    "AddMainWinWindowToCollectionIPadPortrait", "AddMainWinWindowToCollectionIPadLandscape"};
const char *const kButtonFunctions[NUM_LAYOUTS] = {
    "AddMainWinWindowButtonsToWindowIPhonePortrait", "AddMainWinWindowButtonsToWindowIPhoneLandscape",
    "AddMainWinWindowButtonsToWindowIPadPortrait", "AddMainWinWindowButtonsToWindowIPadLandscape"};

// The rows of keys of each entry kind; a space in a text row is the space
// bar (kind 0) or a hidden key (kind 3).
const char *const kTextRows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL!", ",ZXCVBNM.?", "-+'    &$%"};
const char *const kStickyRows[] = {"1234567890", "QWERTYUIOP", "ASDFGHJKL@", "_ZXCVBNM,.", "!#$%&'+-=^"};
const char *const kNumberRows[] = {"123", "456", "789", ".0-"};

// The text edit filter each entry kind types through.
const int kKindFilter[] = {0, 1, 2, 0};

// The keyboard screen's controls (one keyboard per program).
struct KeyboardControls {
    MWinButton *bg, *title, *message, *text, *keys_back, *done, *shift, *del;
};
KeyboardControls controls;

MWinButton **ControlSlot(const char *id)
{
    struct Slot {
        const char *id;
        MWinButton **slot;
    };
    static const Slot slots[] = {{"Bg", &controls.bg},         {"Title", &controls.title},
                                 {"Message", &controls.message}, {"Text", &controls.text},
                                 {"KeysBack", &controls.keys_back}, {"Done", &controls.done},
                                 {"Shift", &controls.shift},     {"Del", &controls.del}};
    for (const Slot &s : slots)
        if (std::strcmp(s.id, id) == 0)
            return s.slot;
    return nullptr;
}

// The entry in progress. The key area is remembered by its serial number
// and its window by address, compared only, never followed.
struct KeyboardEntry {
    int kind;
    char hidden, auto_capitals, shift;
    char *buffer;
    int size;
    KeyInputCollectionController *controller;
    char has_key_area;
    unsigned long key_area_serial;
    const MWinWindow *key_window;
    int pressed;
    double press_time;
    _Dimension bubble;
};
KeyboardEntry entry;

void ForgetBubble()
{
    entry.pressed = 0;
    entry.press_time = 0;
    entry.bubble = {0, 0, 0, 0};
}

// Ends the entry: the key area, its window and the buffer are forgotten and
// the controller goes.
void ForgetEntry()
{
    entry.has_key_area = 0;
    entry.key_area_serial = 0;
    entry.key_window = nullptr;
    entry.buffer = nullptr;
    entry.size = 0;
    if (entry.controller) {
        entry.controller->ClearPointers();
        delete entry.controller;
        entry.controller = nullptr;
    }
    controls = KeyboardControls{};
    ForgetBubble();
}

MWinWindow *AddWindowForLayout(int index, MWinCollection *collection, MWinCollectionController *controller);

char AddButtonsForLayout(int index, MWinWindow *window)
{
    const char *where = kButtonFunctions[index];
    if (!window) {
        DebugError(where, "No window");
        return 0;
    }
    char ok = 1;
    for (const ControlSpec &spec : kControls) {
        const _Dimension &at = spec.at[index];
        MWinButton *button = window->AddButton(spec.id, MWBT_PUSH, spec.texbut, spec.text, at.x, at.y, at.w, at.h);
        *ControlSlot(spec.id) = button;
        if (!button) {
            ok = 0;
            continue;
        }
        bool bg = std::strcmp(spec.id, "Bg") == 0;
        button->SetFont("Main");
        button->SetTextAlign(MWTA_CENTER);
        button->SetTextColour(1, 1, 1, bg ? 1.0f : 0.7f);
        if (!bg)
            button->SetTextScale(1, 1.1f);
        else if (IsTablet(index))
            button->SetTextScale(1, 1);
        else
            button->SetTextScale(2.5f, 1.5f);
    }
    if (!ok)
        DebugError(where, "Could not add button(s) to window");
    return ok;
}

MWinWindow *AddWindowForLayout(int index, MWinCollection *collection, MWinCollectionController *controller)
{
    const char *where = kWindowFunctions[index];
    if (!collection) {
        DebugError(where, "No collection");
        return nullptr;
    }
    _MWinWindowCreateInfo info;
    std::memset(&info, 0, sizeof(info));
    info.m_kind = MWWK_NORMAL;
    info.m_w = 640;
    info.m_h = 480;
    std::snprintf(info.m_title_texbut, sizeof(info.m_title_texbut), "MWIN_TEXBUT_NONE");
    std::snprintf(info.m_back_texbut, sizeof(info.m_back_texbut), "MWIN_TEXBUT_NONE");
    std::snprintf(info.m_font, sizeof(info.m_font), "MWIN_FONT_DEFAULT");
    collection->SetScreenLayout(index + 1);
    MWinWindow *window = collection->AddWindow("MainWin", &info);
    if (!window) {
        DebugError(where, "Could not add window");
        return nullptr;
    }
    window->SetTitleTextColour(1, 1, 1, 1);
    window->SetTitleTextScale(1, 1);
    window->SetTitleTextAlign(MWTA_LEFT);
    window->SetScrollSize(0, 0);
    if (!AddButtonsForLayout(index, window))
        DebugError(where, "Could not add buttons to window");
    window->SetController(controller);
    return window;
}

// Moves a control by dy and grows it by dh.
void Shift(MWinButton *button, float dy, float dh)
{
    _Dimension d = *button->GetDimensionP();
    button->SetPosAndSize(d.x, d.y + dy, d.w, d.h + dh);
    button->RecalculateArea();
}

bool Given(const char *text)
{
    return text && text[0];
}

// The labels for what the caller gave; what is left out is hidden and the
// controls below move up into its place.
void PlaceLabels(const char *title, const char *text)
{
    const _Dimension title_at = *controls.title->GetDimensionP();
    const _Dimension message_at = *controls.message->GetDimensionP();
    if (Given(title) && Given(text)) {
        controls.title->SetText(title);
        controls.message->SetText(text);
    } else if (Given(title)) {
        controls.title->SetText(title);
        controls.message->Hide();
        Shift(controls.text, -message_at.h / 2, 0);
    } else if (Given(text)) {
        controls.title->Hide();
        controls.message->SetText(text);
        Shift(controls.message, -title_at.h, 0);
        Shift(controls.text, -title_at.h / 2, 0);
    } else {
        controls.title->Hide();
        controls.message->Hide();
        float up = controls.text->GetDimensionP()->y - title_at.y;
        Shift(controls.text, -up, 0);
        Shift(controls.keys_back, -up, up);
    }
}

void TintShift(MWinButton *shift)
{
    if (shift) {
        const _ColourRGBA &c = entry.shift ? kShiftOnTint : kShiftOffTint;
        shift->SetColourMultiplier(c.r, c.g, c.b, c.a);
    }
}

// One key: a push control "KEY_<c>" showing text, calling the key callback
// with its index in the row and its character.
MWinButton *AddKey(MWinWindow *window, int index, unsigned char ch, const char *text, float x, float y, float w,
                   float h, float scale_x, float scale_y)
{
    char id[MWIN_ID_SIZE];
    std::snprintf(id, sizeof(id), "KEY_%c", ch);
    MWinButton *key = window->AddButton(id, MWBT_PUSH, "MWIN_TEXBUT_DEFAULT", text, x, y, w, h);
    if (!key)
        return nullptr;
    key->SetFont("Main");
    key->SetTextAlign(MWTA_CENTER);
    key->SetTextColour(1, 1, 1, 0.7f);
    key->SetTextScale(scale_x, scale_y);
    key->SetCallback(MWinPopupGetTextKeyCB_Mobile, index, ch, 1);
    return key;
}

// Lays the rows out centred in the area: keys of w x h, gap apart across
// and row_gap apart down, starting at y0.
char AddKeyRows(MWinWindow *window, const char *const *rows, int num_rows, const _Dimension &area, float w, float h,
                float gap, float row_gap, float y0, int kind, float scale_x, float scale_y)
{
    char ok = 1;
    float y = y0;
    for (int r = 0; r < num_rows; r++, y += h + row_gap) {
        const char *row = rows[r];
        int length = static_cast<int>(std::strlen(row));
        float x0 = (area.w - (w * length + gap * (length - 1))) / 2 + area.x;
        for (int i = 0; i < length; i++) {
            unsigned char ch = static_cast<unsigned char>(row[i]);
            float x = x0 + i * (w + gap);
            if (ch == '-' && kind == 2)
                continue;
            if (ch == ' ' && kind == 0) {
                // The space bar: this key and the next three.
                ok &= AddKey(window, i, ch, "Space", x, y, w + 3 * (w + gap), h, scale_x * 0.75f,
                             scale_y * 0.75f) != nullptr;
                i += 3;
                continue;
            }
            char text[2] = {static_cast<char>(ch), 0};
            MWinButton *key = AddKey(window, i, ch, text, x, y, w, h, scale_x, scale_y);
            if (!key)
                ok = 0;
            else if (ch == ' ')
                key->Hide();
        }
    }
    return ok;
}

char AddKeys(MWinWindow *window, int index, int kind)
{
    const bool tablet = IsTablet(index), tablet_landscape = index == TABLET_LANDSCAPE;
    _Dimension area = *controls.keys_back->GetDimensionP();
    const float inset = tablet_landscape ? 10.0f : 5.0f;
    area.x += inset;
    area.w -= 2 * inset;
    area.y += 5;
    area.h -= 10;
    float scale_x = 1, scale_y = 1;
    controls.done->GetTextScale(&scale_x, &scale_y);
    const float grow = tablet ? 1.0f : 1.1f;
    scale_x *= grow;
    scale_y *= grow;

    if (kind == 1 || kind == 2) {
        controls.shift->Hide();
        const float gap = 6, w = area.w / 3 - gap, h = area.h / 4 - gap;
        float y0 = area.y + (area.h - (h * 4 + gap * 3)) / 2;
        return AddKeyRows(window, kNumberRows, 4, area, w, h, gap, gap, y0, kind, scale_x, scale_y);
    }
    const float gap = tablet_landscape ? 12.0f : 6.0f, row_gap = tablet ? 8.0f : 6.0f;
    const float w = area.w / 10 - gap;
    float h = area.h / 5 - row_gap;
    float y0 = area.y + (area.h - (h * 5 + row_gap * 4)) / 2;
    if (tablet)
        h /= 1.5f;
    return AddKeyRows(window, kind == 3 ? kStickyRows : kTextRows, 5, area, w, h, gap, row_gap, y0, kind, scale_x,
                      scale_y);
}

// What the bubble's fade gives at t seconds after the press.
float BubbleAlpha(double t)
{
    if (t < kBubbleIn)
        return static_cast<float>(t / kBubbleIn);
    if (t < kBubbleHold)
        return 1;
    if (t < kBubbleOut)
        return static_cast<float>((kBubbleOut - t) / (kBubbleOut - kBubbleHold));
    return 0;
}

} // namespace

KeyInputCollectionController::KeyInputCollectionController(MWinScreens *screens)
{
    ClearPointers();
    if (screens)
        SetScreens(screens);
}

void KeyInputCollectionController::ClearPointers()
{
    controls = KeyboardControls{};
}

char KeyInputCollectionController::CreateCollection(MWin *mwin)
{
    if (!mwin) {
        DebugError("KeyInputCollectionController::CreateCollection", "No mwinp");
        return 0;
    }
    MWinDesktop *desktop = mwin->GetDesktop();
    if (!desktop) {
        DebugError("AddCollectionToDesktop", "Could not get default desktop");
        return 0;
    }
    MWinCollection *collection = desktop->AddCollection("KeyInput");
    if (!collection) {
        DebugError("AddCollectionToDesktop", "Could not create collection <KeyInput>");
        return 0;
    }
    collection->SetScreenLayout(mwin->GetLayout());
    return AddWindowForLayout(LayoutIndex(mwin->GetLayout()), collection, this) != nullptr;
}

MWinWindow *AddMainWinWindowToCollectionIPhonePortrait(MWinCollection *collection,
                                                        MWinCollectionController *controller)
{
    return AddWindowForLayout(PHONE_PORTRAIT, collection, controller);
}

MWinWindow *AddMainWinWindowToCollectionIPhoneLandscape(MWinCollection *collection,
                                                         MWinCollectionController *controller)
{
    return AddWindowForLayout(PHONE_LANDSCAPE, collection, controller);
}

MWinWindow *AddMainWinWindowToCollectionIPadPortrait(MWinCollection *collection,
                                                      MWinCollectionController *controller)
{
    return AddWindowForLayout(TABLET_PORTRAIT, collection, controller);
}

MWinWindow *AddMainWinWindowToCollectionIPadLandscape(MWinCollection *collection,
                                                       MWinCollectionController *controller)
{
    return AddWindowForLayout(TABLET_LANDSCAPE, collection, controller);
}

char AddMainWinWindowButtonsToWindowIPhonePortrait(MWinWindow *window)
{
    return AddButtonsForLayout(PHONE_PORTRAIT, window);
}

char AddMainWinWindowButtonsToWindowIPhoneLandscape(MWinWindow *window)
{
    return AddButtonsForLayout(PHONE_LANDSCAPE, window);
}

char AddMainWinWindowButtonsToWindowIPadPortrait(MWinWindow *window)
{
    return AddButtonsForLayout(TABLET_PORTRAIT, window);
}

char AddMainWinWindowButtonsToWindowIPadLandscape(MWinWindow *window)
{
    return AddButtonsForLayout(TABLET_LANDSCAPE, window);
}

bool MWinKeyboardAcceptsChar(int kind, const char *text, unsigned char ch)
{
    int filter = kind >= 0 && kind < static_cast<int>(sizeof(kKindFilter) / sizeof(kKindFilter[0]))
                     ? kKindFilter[kind]
                     : 0;
    return MWinTextEditFilterAccepts(filter, text, ch);
}

void MWinPopupGetTextSetButtonText_Mobile(MWinButton *button, const char *text)
{
    if (!button) {
        DebugErrorCode("MWinPopupGetTextSetButtonText_Mobile", 'BAPA');
        return;
    }
    if (!entry.hidden || !text) {
        button->SetText(text);
        return;
    }
    char *stars = EngMallocStringFromString(text, 1, "MWinPopupGetTextSetButtonText_Mobile");
    if (!stars)
        return;
    for (char *c = stars; *c; c++)
        *c = '*';
    button->SetText(stars);
    EngFree(stars, 0, "MWinPopupGetTextSetButtonText_Mobile");
}

void MWinPopupGetTextKeyCB_Mobile(MWin *mwin, _MWinButtonCallbackInfo *info, int, int character)
{
    MWinButton *key = info ? info->m_button : nullptr;
    MWinWindow *window = key ? key->GetWindow() : nullptr;
    MWinButton *text = window ? window->GetButtonFromID("Text", 0) : nullptr;
    if (!mwin || !text || !entry.buffer)
        return;
    char *buffer = entry.buffer;
    int length = static_cast<int>(std::strlen(buffer));
    if (character == kShiftKey) {
        entry.shift = !entry.shift;
    } else if (character == kDeleteKey) {
        if (length > 0) {
            entry.shift = 0;
            buffer[--length] = 0;
            if (entry.kind == 0 && entry.auto_capitals && (length == 0 || buffer[length - 1] == '.'))
                entry.shift = 1;
        }
    } else if (length < entry.size - 1) {
        unsigned char ch = static_cast<unsigned char>(character);
        bool text_kind = entry.kind == 0 || entry.kind == 3;
        if (text_kind && !entry.shift && ch >= 'A' && ch <= 'Z')
            ch = static_cast<unsigned char>(ch - 'A' + 'a');
        if (MWinKeyboardAcceptsChar(entry.kind, buffer, ch)) {
            buffer[length] = static_cast<char>(ch);
            buffer[length + 1] = 0;
            if (entry.kind == 0 && ch != ' ')
                entry.shift = 0;
            if (entry.kind == 0 && entry.auto_capitals && (ch == '.' || ch == ' '))
                entry.shift = 1;
        }
        // The bubble over the key shows what was pressed.
        const _Dimension *at = key->GetScreenDimensionP();
        entry.pressed = character;
        entry.press_time = eng_main_program_time;
        entry.bubble.w = at->w * 1.1f;
        entry.bubble.h = at->h * 1.6f;
        entry.bubble.x = at->x + (at->w - entry.bubble.w) / 2;
        entry.bubble.y = at->y - 5 - entry.bubble.h;
    }
    TintShift(window->GetButtonFromID("Shift", 0));
    MWinPopupGetTextSetButtonText_Mobile(text, buffer);
    text->SetTextColour(1, 1, 1, 1);
    text->SetColourMultiplier(1, 1, 1, 1);
    mwin->CallEventHook(1);
}

void MWinPopupGetTextDoneCB_Mobile(MWin *mwin, _MWinButtonCallbackInfo *, int, int)
{
    ForgetEntry();
    if (mwin)
        mwin->PopupAnswer(1);
}

namespace {

// The entry's key area while the popup it was built in is still open;
// null once that popup has been closed, by whatever road.
MWinButton *LiveKeyArea(MWin *mwin)
{
    MWinCollection *popup = mwin->GetPopupCollection();
    if (!entry.has_key_area || !mwin->IsPopupOn() || !popup)
        return nullptr;
    MWinButton *area = mwin->GetButtonFromIDs(popup->GetID(), "MainWin", "KeysBack", 0);
    return area && area->GetSerial() == entry.key_area_serial ? area : nullptr;
}

} // namespace

char MWin::PopupGetText_Mobile(const char *title, const char *text, char *buffer, int size, MWinPopupDoneCB done,
                               void *user)
{
    const char *where = "MWin::PopupGetText_Mobile";
    if (!EngMiscIsTabletPlatform()) {
        DebugError(where, "Not mobile.");
        return 0;
    }
    if (!buffer || size < 1) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    // The entry mode serves this entry only.
    const int kind = m_entry_kind;
    const char hidden = m_entry_hidden, auto_capitals = m_entry_auto_capitals;
    m_entry_kind = 0;
    m_entry_hidden = 0;
    m_entry_auto_capitals = 0;
    ForgetBubble();

    if (entry.has_key_area && !LiveKeyArea(this))
        ForgetEntry();
    if (!PopupCreateCollection())
        return 0;
    if (entry.controller) {
        DebugError(where, "Controller already created");
        ForgetEntry();
    }
    entry.controller = new (std::nothrow) KeyInputCollectionController(m_screens);
    if (!entry.controller) {
        DebugErrorCode(where, 'OMEM');
        PopupRollBack();
        return 0;
    }
    entry.kind = kind;
    entry.hidden = hidden;
    entry.auto_capitals = auto_capitals;

    const int index = LayoutIndex(m_layout ? m_layout : EngLayoutGetLayoutNumber(-1));
    MWinWindow *window = AddWindowForLayout(index, m_popup_collection, entry.controller);
    bool built = window && controls.title && controls.message && controls.text && controls.keys_back &&
                 controls.done && controls.shift && controls.del;
    if (built) {
        // Every key reports through its own callback.
        window->ClearController();
        PlaceLabels(title, text);
        MWinPopupGetTextSetButtonText_Mobile(controls.text, buffer);
        controls.text->Disable();
        built = controls.done->SetCallback(MWinPopupGetTextDoneCB_Mobile, 0, 0, 1) &&
                controls.shift->SetCallback(MWinPopupGetTextKeyCB_Mobile, -1, kShiftKey, 1) &&
                controls.del->SetCallback(MWinPopupGetTextKeyCB_Mobile, -1, kDeleteKey, 1) &&
                AddKeys(window, index, kind);
    }
    if (!built) {
        ForgetEntry();
        PopupRollBack();
        return 0;
    }
    controls.keys_back->Hide();
    entry.has_key_area = 1;
    entry.key_area_serial = controls.keys_back->GetSerial();
    entry.key_window = window;
    if (!PopupCompleteSetup(done, user)) {
        ForgetEntry();
        return 0;
    }
    entry.buffer = buffer;
    entry.size = size;
    entry.shift = auto_capitals;
    TintShift(controls.shift);
    return 1;
}

char MWin::PopupRenderFullScreenTextEntryMobile(char check_only)
{
    if (!entry.has_key_area || !IsOn())
        return 0;
    MWinButton *area = LiveKeyArea(this);
    if (!area) {
        // The entry's popup was closed by another road: the entry ends with it.
        ForgetEntry();
        return 0;
    }
    if (area->GetWindow() != entry.key_window) {
        DebugError("MWin::PopupRenderFullScreenTextEntryMobile", "Internal Error (3)");
        PopupCloseIfOn();
        ForgetEntry();
        return 0;
    }
    if (check_only)
        return 1;

    if (!eng_device)
        return 1;
    bool began = eng_device->BeginRenderingIfNeeded();
    bool prepared = eng_device->PrepareFor2DIfNeeded(0);
    ToolkitDrawState state;
    m_popup_collection->Render();
    if (entry.pressed) {
        double t = eng_main_program_time - entry.press_time;
        if (t >= kBubbleForget) {
            ForgetBubble();
        } else {
            float alpha = BubbleAlpha(t);
            _ColourRGBA colour = {1, 1, 1, alpha};
            if (m_textures)
                m_textures->DrawTexButInArea(m_textures->GetStandardTexButNum(MWIN_STD_TEX_BLACK), MWTS_NORMAL,
                                             &entry.bubble, &colour);
            EngFont *font = m_fonts ? m_fonts->GetFont(area->GetFontNum()) : nullptr;
            if (font) {
                float sx = 1, sy = 1, old_x = 1, old_y = 1;
                area->GetTextScale(&sx, &sy);
                font->GetScale(&old_x, &old_y);
                font->SetScale(sx * 1.2f, sy * 1.2f);
                font->SetColour(1, 1, 1, alpha);
                char text[2] = {static_cast<char>(entry.pressed), 0};
                DrawTextLineInDimension(area->GetFontNum(), MWTA_CENTER, 0, &entry.bubble, nullptr, text, -1, 1, 0);
                font->SetScale(old_x, old_y);
            }
        }
    }
    if (began)
        eng_device->EndRendering();
    if (prepared)
        eng_device->RestoreAfter2D();
    return 1;
}

void MWin::PopupGetTextSetEntryMode(int kind, char hidden, char automatic_capitals)
{
    m_entry_kind = kind;
    m_entry_hidden = hidden;
    m_entry_auto_capitals = automatic_capitals;
}
