// Every control of the toolkit: push buttons, labels, text edits, lists,
// checkboxes, choices, panels and the rest are one class whose kind is fixed
// at construction. Controls are made only through a window's or group's add
// operation, which links them into the group's list (drawing and hit order);
// the window routes mouse and keys to them, and a press ends in the window
// controller's ButtonPressedCB or in the control's own callback.
//
// Liveness: every control carries a serial number that is never reused.
// After a handler runs, the toolkit looks the control up again by its ids
// and compares serials, so a control the handler deleted (or replaced with
// another of the same ids) is never touched again.
//
// Geometry, texts and drawing are in MWinButtonDraw.cpp, the attached
// texture or picture in MWinButtonPicture.cpp.
//
// Failures: a missing root, group or window at construction is fatal;
// "Use controller" refuses a callback on a window with a controller. Every
// drawing and measuring path lives with a missing font (the default font is
// null in this program): it draws or measures no text.
#pragma once

#include "gui/MWinTypes.h"

#include <string>
#include <vector>

class EngFont;
class EngPicture;
class EngTexture;
class MWin;
class MWinGroup;
class MWinWindow;

typedef void (*MWinButtonCallback)(MWin *, _MWinButtonCallbackInfo *, int, int);
typedef void (*MWinButtonCallbackUser)(MWin *, _MWinButtonCallbackInfo *, int, int, void *);
typedef void (*MWinButtonPlainCallback)(void *);
// Called after a control is drawn, with its screen rectangle and state.
typedef void (*MWinButtonRenderCallback)(MWinButton *, _Dimension *, _MWinTextureState, int, void *);

// One state of a control's own texture button: a borrowed engine texture,
// the texture coordinates of its edges and a colour.
struct _MWinCustomTexButState {
    EngTexture *m_texture;
    float m_left, m_top, m_right, m_bottom;
    _ColourRGBA m_colour;
};

// Whether a text edit's filter (0 none, 1 signed decimal, 2 dotted number
// groups, 3 no spaces or tabs) lets ch join text; the on-screen keyboard
// types through the same rules.
bool MWinTextEditFilterAccepts(int filter, const char *text, unsigned char ch);

// Who a control is, copied before a handler runs. Afterwards the control
// is alive only when the toolkit still finds a control under these ids and
// that control carries the same serial: the old object is never read, even
// when the handler deleted it or rebuilt the screen with the same ids.
struct MWinButtonIdentity {
    explicit MWinButtonIdentity(MWinButton *button);
    // The control itself, when it is still alive; null otherwise.
    MWinButton *Find() const;
    bool StillAlive() const { return Find() != nullptr; }
    // Alive and still in the window and group it was in.
    MWinButton *FindInPlace() const;
    // After a step that may have notified the control's receiver: a control
    // the toolkit found before is judged by its ids; one it could never
    // find (a title-bar button, a scrollbar another control owns) sends no
    // notice that could delete it.
    bool Survived() const { return !found_before || StillAlive(); }

    MWin *mwin;
    char collection_id[MWIN_ID_SIZE];
    char window_id[MWIN_ID_SIZE];
    char button_id[MWIN_ID_SIZE];
    unsigned long serial;
    MWinWindow *window;
    MWinGroup *group;
    bool found_before;
};

class MWinButton {
public:
    MWinButton(MWin *mwin, const char *id, MWinGroup *group, _MWinButtonType type, const char *texbut_id,
               const char *text, float x, float y, float w, float h);
    virtual ~MWinButton();
    MWinButton(const MWinButton &) = delete;
    MWinButton &operator=(const MWinButton &) = delete;

    // The virtual operations, in slot order.
    virtual char CreateGraphics();
    virtual void DestroyGraphics();
    virtual void AreaChanged();
    virtual char Tick(char unused);
    virtual void Render();
    virtual char HandleMouseButtonPressed(char button, char down, char extra);
    virtual char HandleMouseButtonReleased(char button);
    virtual char CancelPress();
    virtual void HandleMouseMove();
    virtual char HandleMouseWheel(int count);
    virtual char HandleKeyDown(int key);
    virtual char HandleKeyDownUChar(unsigned char ch);
    virtual char HandleKeyUp(int key);
    virtual char IsCapturingInput();
    virtual void Activate();
    virtual char Deactivate();

    // State.
    // Deactivate, whose end of a text entry or of a drag may notify a
    // receiver that deletes the control: false when it did (the control
    // must not be touched then).
    char DeactivateSurvives();
    void Hide();
    void Enable();
    void Disable();
    void SetEnabled(char on);
    char CanBeActive();
    char SetEscapeButtonForParentWindow();
    char SetDefaultButtonForParentWindow();
    _MWinTextureState GetTextureState();

    // Callbacks.
    char SetCallback(MWinButtonCallback callback, int a, int b, char check_controller);
    char SetCallback(MWinButtonCallbackUser callback, int a, int b, void *user, char check_controller);
    char SetPlainCallback(MWinButtonPlainCallback callback, void *user);
    char HasCallback();
    void FillCallbackInfo(_MWinButtonCallbackInfo *info);
    // The press handling; false when nothing received it or when the
    // receiver deleted this control or left its screen.
    char CallCallback(_MWinButtonCallbackInfo *info);
    char CallCallback() { return CallCallback(nullptr); }

    // Variables a kind writes its value into; null unbinds.
    char RegisterIntVariable(int *variable, int multiplier);
    char RegisterCharVariable(char *variable);
    char RegisterFloatVariable(float *variable, float multiplier);

    // The pointer handed to the string callbacks of choices and panels;
    // report asks for a report when there is none.
    void *GetContext(char report);

    // Constructed and not yet destroyed (only meaningful on a live object:
    // liveness after handlers is decided by ids and serials).
    char IsValid() const;

    // Geometry: positions relative to the window's design area.
    void SetPos(float x, float y);
    void SetPosAndSize(float x, float y, float w, float h);
    void SetDimension(_Dimension dimension);
    char GetDimension(_Dimension *out);
    char GetScreenDimension(_Dimension *out);
    _Dimension *GetDimensionP() { return &m_dim; }
    _Dimension *GetScreenDimensionP() { return &m_screen; }
    void RecalculateArea();
    _MWinLayoutSettings *GetLayoutSettings();
    // The screen's text scale factors when the window is scaled, else 1.
    float GetXScale();
    float GetYScale();
    // The span text may use: margin below 0 means the control's own, and
    // the two margins are evened out.
    void GetTextHorzRange(float *left, float *right, float margin);
    const _Dimension *GetCropDimension() const { return &m_crop; }
    float GetTextMargin() const { return m_text_margin; }
    char IsOnScreen() const { return m_on_screen; }

    // Texts: slot 0 the text, slot 1 a second line. Setting a text stops
    // following the language token.
    void SetText(const char *text);
    void SetText2(const char *text);
    void SetTextNum(int slot, const char *text);
    // Formatted into one shared buffer, bounded, and cut at 510 characters.
    void SetTextPrintf(const char *format, ...) __attribute__((format(printf, 2, 3)));
    void SetMultilineText(const char *text);
    void SetMultiline(char on);
    char AllocAndSetText(int slot, const char *text);
    void FreeText(int slot);
    void FreeAllText();
    char HasText(int slot);
    const char *GetTextP();
    const char *GetTextP2();
    const char *GetTextP(int slot);
    // The texts follow the token's sub-texts 0 and 1; a token the languages
    // lack clears the link and leaves the control's own texts.
    char SetLangToken(const char *token);
    void RefreshLangToken();
    char UsesLangToken() const { return m_uses_token; }
    // 0 without font or text.
    // The single-line text the control shows: the token's first sub-text
    // while it follows a token, else slot 0; null when there is none.
    const char *GetShownText();
    float GetTextWidth();
    char GetMultilineTextSize(float *w, float *h);

    // Look.
    char SetFont(const char *font_id);
    EngFont *GetFont();
    int GetFontNum() const { return m_font_num; }
    void SetTextColour(float r, float g, float b, float a);
    const _ColourRGBA *GetTextColour() const { return &m_text_colour; }
    const _ColourRGBA *SetTextColourRGBA(const _ColourRGBA *colour);
    void SetTextScale(float x, float y);
    // Two floats x, y; null means 1, 1.
    void SetTextScaleVector(const float *scale);
    void GetTextScale(float *x, float *y);
    void SetTextAlign(_MWinTextAlign align) { m_text_align = align; }
    // Mode 1: background and text; setting the text colour afterwards
    // leaves it on the background only (mode 2).
    void SetColourMultiplier(float r, float g, float b, float a);
    void SetColourMultiplierAlpha(float a);
    int GetColourMultiplierMode() const { return m_multiplier_mode; }
    void SetExtraRenderCallback(MWinButtonRenderCallback callback, int value, void *user);
    char SetBackTexButToTexBut(const char *id);
    void SetBackTexButToDefault();
    void SetBackTexButToNone();
    int GetTexButNum() const { return m_texbut; }
    char HasTexBut() const { return m_texbut >= 0; }
    char SetCustomTexButTexture(EngTexture *texture);
    // state -1 means 0; a state without texture draws state 0's record.
    char SetCustomTexBut(int state, EngTexture *texture, char unused, float left, float top, float right,
                         float bottom, float r, float g, float b, float a);

    // Drawing, called by the group's and window's render.
    void RenderUnchecked();
    void RenderBack(_MWinTextureState state);
    void RenderTexButState(_MWinTextureState state, const _Dimension *area);
    void RenderTexButState(_MWinTextureState state, float x, float y, float w, float h);
    void RenderText();
    void RenderSingleText();
    void RenderMultilineText();
    void PrepareFont();
    void ApplyTextColour(EngFont *font, const _ColourRGBA *colour);
    char TurnOnCrop();
    void TurnOffCrop();
    // Ends a control's drawing: the crop goes when it is on.
    void FinishRender() { TurnOffCrop(); }
    char TurnOnCropToWindow();
    char TurnOnCropToArea(float x, float y, float w, float h);
    char TurnOnCropToDimension(const _Dimension *area);

    // A texture or layered picture drawn inside the control.
    char PictureAttachTextureToButton(EngTexture *texture, char blending_type);
    void PictureSetTextureCoordinates(float left, float top, float right, float bottom);
    // The four floats of the rectangle as left, top, right, bottom; null
    // means the whole texture.
    void PictureSetTextureArea(const _Dimension *area);
    char PictureAttachPictureToButton(EngPicture *picture, char animate);
    // Percentages of the control's size at the time of the call.
    void PictureSetMarginPercentages(float left, float top, float right, float bottom);
    void PictureSetAllMarginsPercentage(float percent);
    void PictureRemoveFromButton();
    EngTexture *GetAttachedTexture() const { return m_pic_texture; }
    EngPicture *GetAttachedPicture() const { return m_pic_picture; }

    // Identity and links.
    const char *GetID() const { return m_id; }
    MWin *GetMWin() { return m_mwin; }
    MWinWindow *GetWindow() { return m_window; }
    MWinGroup *GetGroup() { return m_group; }
    _MWinButtonType GetType() const { return m_type; }
    unsigned long GetSerial() const { return m_serial; }
    MWinButton *GetNext() { return m_next; }
    MWinButton *GetPrev() { return m_prev; }
    void SetLinks(MWinButton *prev, MWinButton *next)
    {
        m_prev = prev;
        m_next = next;
    }

    char IsShown() const { return m_shown; }
    char IsEnabled() const { return m_enabled; }
    char IsActive() const { return m_active; }
    char IsPressed() const { return m_pressed; }
    char IsEditing() const { return m_editing; }
    char IsInteractive() const { return m_interactive; }

    // The shown flag, set directly by screens (there is no show operation).
    char m_shown;

    // Controls alive now.
    static int GetLiveCount();

    // Checkbox (MWinCheckbox.cpp).
    void CheckboxSet(char state, char notify);
    char CheckboxGet() const { return m_check_state; }

    // Choice (MWinChoice.cpp): a row of segments, one selected (-1 none).
    typedef const char *(*StringCallback)(int index, MWinButton *button, void *context);
    void ChoiceSetStrings(int num, const char **strings);
    void ChoiceSetStringsCallback(int num, StringCallback callback, void *context);
    void ChoiceSetSel(int sel, char notify);
    int ChoiceGetSel() const { return m_choice_sel; }
    void ChoiceRegisterCharVariable(char *variable, char notify);
    void ChoiceSetSelectionExtraWidthMultiplier(float multiplier);
    int ChoiceGetItemFromMousePos(char clamp);
    // Left edge and width of segment i.
    void ChoiceGetSegment(int i, float *x, float *w);

    // Drop-down list (MWinList.cpp): entries from a copied array or a
    // callback; the open list is drawn over the screen in rows of the
    // control's height.
    void ListSetStrings(int num, const char **strings);
    void ListSetStringsCallback(int num, StringCallback callback, void *context);
    int ListGetPos();
    void ListSetPos(int pos, char notify);
    const char *ListGetStringAtPos(int pos);
    char ListIsOpen();
    void ListOpen();
    void ListClose(char accept, char notify);
    char ListCancel();
    char ListCalcOpenListVariables();
    char ListSetHover(int index, char set_anchor);
    void ListScroll(int delta);
    int ListGetHover() const { return m_list_hover; }
    int ListGetFirstVisible() const { return m_list_first; }
    int ListGetEndVisible() const { return m_list_end; }
    char ListHasMoreAbove() const { return m_list_more_above; }
    char ListHasMoreBelow() const { return m_list_more_below; }
    void RenderOpenList();

    // Panel (MWinPanel.cpp): a scrolling page of text rows.
    void PanelSetUp();
    void PanelSetStringsCallback(int num, int per_page, StringCallback callback, void *context);
    void PanelUpdateNumPerPageVar(int n);
    void PanelSetPos(int pos, char notify, char mode);
    int PanelGetPos() const { return m_panel_pos; }
    void PanelAllowNoSelection(char on) { m_panel_allow_none = on; }
    char PanelSetMultiSelect(char on, char toggle_without_modifiers);
    int PanelGetNumMultiPos();
    int PanelGetNthMultiPos(int n);
    void PanelSetScrollPos(float first);
    float PanelGetScrollPos() const { return m_panel_scroll; }
    void PanelCenterOnPos();
    void PanelRemoveAllEntries();
    void PanelRegisterIntVariable(int *variable, char notify);
    void PanelSetExtraRenderCallback(MWinButtonRenderCallback callback, void *user);
    char PanelGetVisibleRange(int *first, int *end);
    int PanelGetNumVisible();
    int PanelGetPosFromVisibleRow(int row);
    char PanelGetVisibleRowDimension(int row, _Dimension *out);
    char PanelGetPosDimension(int entry, _Dimension *out);
    int PanelGetNumPerPage() const { return m_panel_per_page; }
    char PanelIsScrollbarShown() const { return m_panel_bar_on; }
    float PanelGetThumbLength() const { return m_panel_thumb_len; }
    float PanelGetTrackLength() const { return m_panel_track_len; }
    const char *PanelGetEntryText(int index);

    // Text edit (MWinTextEdit.cpp): single-line entry with a caret.
    void TextEditSetText(const char *text);
    void TextEditSetLength(int n);
    int TextEditGetLength() const { return m_edit_limit; }
    void TextEditRegisterString(char *buffer, int size);
    int TextEditGetNumber();
    void TextEditUpdateCursor();
    char TextEditTurnOnEditing(char mode);
    void TextEditTurnOffEditing(char accept);
    void TextEditHandleMousePress();
    char TextEditHandleKeyDown(int key);
    char TextEditHandleKeyDownUChar(unsigned char ch);
    void TextEditMoveCursorToButtonAndTurnOnEditing();
    char TextEditIsEditing() const { return m_editing; }
    int TextEditGetCursor() const { return m_edit_caret; }
    // 0 none, 1 signed decimal, 2 dotted number groups, 3 no spaces or tabs.
    void TextEditSetFilter(int filter) { m_edit_filter = filter; }
    void TextEditSetBeginEditingCallback(void (*callback)(MWinButton *)) { m_edit_begin_cb = callback; }
    void TextEditSetClearOnEdit(char on) { m_edit_clear_on_edit = on; }
    void TextEditSetNotifyEachChange(char on) { m_edit_notify_each = on; }
    void TextEditSetPassword(char on) { m_edit_password = on; }

protected:
    void RequestRender();
    void SetTypeDefaults();
    char IsRenderable();
    // The kind's background, its own parts (RenderKindParts), then the
    // attached picture over all of them.
    void RenderBackByType(_MWinTextureState state);
    // What a control class draws over its background and under an attached
    // picture: the progress circle's discs, the range slider's rail.
    virtual void RenderKindParts(_MWinTextureState) {}
    // Crops to the area (640 x 480 units), within the crop already on.
    void TurnOnCropWithin(const _Dimension *area);
    void RenderBody();
    void RenderPicture();
    char TickPicture();
    void SetCustomOff();

    // Per-kind handlers, reached from the virtual operations.
    void CheckboxRenderBack(_MWinTextureState state);
    void CheckboxRenderText();
    void ChoiceRenderBack(_MWinTextureState state);
    void ChoiceRenderText();
    char ChoiceHandleKeyDown(int key);
    const char *ChoiceGetEntryText(int index);
    void WriteBoundValue(int value);
    void PanelFreeArrays();
    char PanelAllocateMultiPos();
    void PanelRecompute();
    void PanelClampScroll();
    char PanelIsSelected(int entry);
    char PanelHandleMouseButtonPressed(char button, char down);
    char PanelHandleKeyDown(int key);
    void PanelHandleMouseMove();
    void PanelRenderBack(_MWinTextureState state);
    void PanelRenderText();
    char TextEditTick();
    char TextEditInsertChar(unsigned char ch);
    char TextEditPaste();
    void TextEditNotifyChange();
    void TextEditRenderText();
    void TextEditFreeBuffer();
    char ListHandleMouseButtonPressed(char down);
    char ListHandleKeyDown(int key);
    char ListHandleMouseWheel(int count);
    // A closed list opens, moves its hovered entry by delta and closes
    // accepting it.
    char ListStepClosed(int delta);
    void ListHandleMouseMove();
    char ListTick();
    void ListRenderBack(_MWinTextureState state);
    void ListRenderText();

    MWin *m_mwin;
    MWinWindow *m_window;
    MWinGroup *m_group;
    MWinButton *m_prev, *m_next;
    _MWinButtonType m_type;
    char m_id[MWIN_ID_SIZE];
    unsigned long m_serial;
    // The validity mark: flag 1 and the second number one above the first.
    char m_valid = 0;
    unsigned short m_valid_ids[2] = {0, 0};

    char m_enabled, m_active, m_pressed, m_interactive, m_on_screen, m_dragging, m_editing;

    _Dimension m_dim, m_screen, m_crop;
    float m_text_margin;

    char *m_texts[2] = {nullptr, nullptr};
    int m_text_allocs = 0;
    int m_text_lengths[2] = {0, 0};
    char m_token[MWIN_TOKEN_SIZE] = {};
    int m_token_num = -1;
    int m_token_subs = 0;
    char m_uses_token = 0;
    char m_multiline = 0;
    char m_shrink_to_fit;
    char m_font_id[MWIN_ID_SIZE];
    int m_font_num;
    _ColourRGBA m_text_colour;
    float m_text_scale_x, m_text_scale_y;
    _MWinTextAlign m_text_align;
    _ColourRGBA m_multiplier;
    int m_multiplier_mode;
    char m_texbut_id[MWIN_ID_SIZE];
    int m_texbut;
    char m_custom_on = 0;
    _MWinCustomTexButState m_custom[4] = {};
    MWinButtonRenderCallback m_render_callback = nullptr;
    int m_render_value = 0;
    void *m_render_user = nullptr;

    MWinButtonCallback m_callback_a;
    MWinButtonCallbackUser m_callback_b;
    MWinButtonPlainCallback m_callback_c;
    int m_callback_int_a, m_callback_int_b;
    void *m_callback_user;
    char m_has_callback;
    void *m_context = nullptr;

    // The bound variable: one of the kinds below, with its multiplier.
    enum VariableKind : char { VAR_NONE = 0, VAR_CHAR = 1, VAR_INT = 3, VAR_FLOAT = 8 };
    VariableKind m_var_kind = VAR_NONE;
    char *m_var_char = nullptr;
    int *m_var_int = nullptr;
    int m_var_int_mult = 1;
    float *m_var_float = nullptr;
    float m_var_float_mult = 1;

    // The attached texture (drawn with blending type m_pic_blend, none
    // below 0) or picture; margins in 640 x 480 units.
    enum PictureKind : char { PIC_NONE = 0, PIC_PICTURE = 2, PIC_TEXTURE = 4 };
    PictureKind m_pic_kind = PIC_NONE;
    EngTexture *m_pic_texture = nullptr;
    EngPicture *m_pic_picture = nullptr;
    char m_pic_blend = 0;
    char m_pic_animate = 0;
    char m_pic_coords_on = 0;
    float m_pic_coords[4] = {0, 0, 1, 1};
    char m_pic_margins_on = 0;
    float m_pic_margins[4] = {0, 0, 0, 0};

    // Checkbox: the state and where its text ended in the last drawing.
    char m_check_state = 0;
    float m_check_text_end = 0;

    // Choice: entries copied from the caller's array, or a callback; the
    // extra width multiplier is 0 when off.
    int m_choice_num = 0;
    int m_choice_sel = -1;
    std::vector<std::string> m_choice_strings;
    StringCallback m_choice_callback = nullptr;
    float m_choice_extra = 0;

    // List: while open, the list's origin is the control's screen position
    // when it opened; rows are counted from the anchor plus the scroll.
    int m_list_num = 0, m_list_pos = 0;
    std::vector<std::string> m_list_strings;
    StringCallback m_list_callback = nullptr;
    char m_list_open = 0;
    float m_list_x = 0, m_list_y = 0;
    int m_list_anchor = 0, m_list_hover = 0, m_list_scroll = 0, m_list_first = 0, m_list_end = 0;
    float m_list_area_y = 0, m_list_area_h = 0;
    float m_list_top_cap_y = -1, m_list_top_cap_h = -1, m_list_bot_cap_y = -1, m_list_bot_cap_h = -1;
    float m_list_hover_y = -1;
    char m_list_more_above = 0, m_list_more_below = 0;
    float m_list_above_y = 0, m_list_above_h = 0, m_list_below_y = 0, m_list_below_h = 0;
    int m_list_delay_ms = 400;
    double m_list_open_time = 0;

    // Panel.
    int m_panel_num = 0, m_panel_pos = 0, m_panel_anchor = 0;
    int m_panel_per_page = 0;
    char m_panel_per_page_mode = 1;
    float m_panel_scroll = 0, m_panel_row_h = 0;
    char m_panel_multi = 0, m_panel_toggle = 0, m_panel_show_sel = 1, m_panel_allow_none = 0;
    char *m_panel_multi_pos = nullptr;
    StringCallback m_panel_callback = nullptr;
    MWinButtonRenderCallback m_panel_row_cb = nullptr;
    void *m_panel_row_user = nullptr;
    char m_panel_bar_on = 0;
    float m_panel_text_w = 0;
    _Dimension m_panel_bar = {};
    float m_panel_track_top = 0, m_panel_track_bottom = 0, m_panel_track_len = 0;
    float m_panel_thumb_x = 0, m_panel_thumb_w = 0, m_panel_thumb_y = 0, m_panel_thumb_len = 0;
    float m_panel_grab = 0;

    // Text edit: the edit buffer holds m_edit_size bytes (limit + 3 when it
    // was allocated); the bound buffer keeps the caller's own size.
    char *m_edit_buffer = nullptr;
    int m_edit_size = 0;
    int m_edit_caret = 0;
    int m_edit_limit = 511;
    char m_edit_mode = 0;
    char m_edit_caret_on = 0;
    int m_edit_filter = 0;
    void (*m_edit_begin_cb)(MWinButton *) = nullptr;
    char m_edit_clear_on_edit = 0, m_edit_notify_each = 0, m_edit_password = 0;
    char *m_edit_bound = nullptr;
    int m_edit_bound_size = 0;
};

// A drop-down list that is open: it takes every press and key until it closes.
bool MWinIsOpenList(MWinButton *button);
