// The records and numbers shared by the whole toolkit: control kinds, text
// alignment, texture states, the per-layout metrics and the settings block,
// the window descriptor, what a press delivers, and the queued message.
// These are plain data; nothing here reports or fails.
#pragma once

#include "engine/core/EngMath.h"

class EngTexture;
class MWinButton;

enum {
    // Identifiers hold 1 to 31 characters and the terminator.
    MWIN_ID_SIZE = 32,
    MWIN_NUM_LAYOUTS = 5,
    MWIN_TITLE_SIZE = 256,
    MWIN_TOKEN_SIZE = 64,
    MWIN_FILE_SIZE = 256,
};

inline bool MWinIsValidLayout(int layout)
{
    return layout >= 0 && layout < MWIN_NUM_LAYOUTS;
}

// Font numbers that are not registry positions.
enum {
    MWIN_FONT_DEFAULT = -1,
    MWIN_FONT_NONE = -2,
};

enum _MWinTextAlign : int {
    MWTA_LEFT = 0,
    MWTA_CENTER = 1,
    MWTA_RIGHT = 2,
};

enum _MWinTextureState : int {
    MWTS_NORMAL = 0,
    MWTS_HIGHLIGHTED = 1,
    MWTS_PRESSED = 2,
    MWTS_DISABLED = 3,
};

enum _MWinButtonType : int {
    MWBT_NONE = 0,
    MWBT_PUSH = 1,
    MWBT_STATIC = 2,
    MWBT_TEXT_EDIT = 3,
    MWBT_HORZ_SCROLLBAR = 4,
    MWBT_VERT_SCROLLBAR = 5,
    MWBT_LIST = 6,
    MWBT_CHECKBOX = 7,
    MWBT_CHOICE = 8,
    MWBT_PANEL = 9,
    MWBT_KIND_10 = 10,
    MWBT_PROGRESS_CIRCLE = 11,
    MWBT_KIND_12 = 12,
    MWBT_KIND_13 = 13,
    MWBT_CLASS = 14,
    MWBT_RANGE_SLIDER = 15,
    MWBT_KIND_16 = 16,
};

// Window kinds: a shown modal window keeps the focus of its collection.
enum {
    MWWK_NORMAL = 0,
    MWWK_MODAL = 1,
};

// The screen layouts (the engine's layout numbers).
enum {
    MWIN_LAYOUT_NORMAL = 0,
    MWIN_LAYOUT_IPHONE_PORTRAIT = 1,
    MWIN_LAYOUT_IPHONE_LANDSCAPE = 2,
    MWIN_LAYOUT_IPAD_PORTRAIT = 3,
    MWIN_LAYOUT_IPAD_LANDSCAPE = 4,
};

// One layout's metrics in 640 x 480 units. The fields marked "scaled" are
// multiplied by the toolkit's horizontal scale in the working copies.
struct _MWinLayoutSettings {
    float m_title_h;
    float m_title_text_inset; // scaled
    float m_title_button_w;
    float m_title_button_h;
    float m_title_button_inset; // scaled
    float m_title_button_y;
    char m_title_buttons_swapped;
    float m_button_w;
    float m_button_h;
    float m_win_inner_border_x;
    float m_win_inner_border_y;
    float m_win_vscroll_w; // scaled
    float m_win_vthumb_w;  // scaled
    float m_win_hscroll_h;
    float m_win_hthumb_h;
    float m_text_scale_x;
    float m_text_scale_y;
    float m_text_margin; // scaled
    float m_text_margin_per_w;
    float m_two_line_spacing;
    float m_panel_text_inset; // scaled
    float m_arrow_inset;      // scaled
    float m_hthumb_h;
    float m_hthumb_w;
    float m_vscrollbar_w; // scaled
    float m_vthumb_h;
    float m_panel_scrollbar_w; // scaled
    float m_panel_min_thumb_h;
    float m_hscroll_track_inset;
    float m_vscroll_track_inset;
    // The list's arrows: width, height and right margin.
    float m_list_arrow_w; // scaled
    float m_list_arrow_h;
    float m_list_arrow_margin; // scaled
    float m_checkbox_w;      // scaled
    float m_checkbox_h;
    float m_checkbox_gap;    // scaled
    float m_checkbox_offset; // scaled
    float m_choice_inset;    // scaled
    float m_script_inset_x;  // scaled
    float m_script_inset_y;
    float m_tab_header_h;
    float m_tab_text_inset; // scaled
    float m_tab_divider_w;
    float m_tab_row_gap;
    float m_progress_border;
    float m_progress_inner_inset;
    float m_slider_thumb_w;       // scaled
    float m_slider_thumb_spacing; // scaled
    int m_colour_border_w;        // scaled, rounded
    int m_colour_border_h;
};

// The toolkit's settings block, copied whole by MWin::GetSettings and
// MWin::SetSettings.
struct _MWinSettings {
    char m_flags[4];
    char m_collection_focus_follows_mouse;
    char m_window_focus_follows_mouse;
    // What RenderMain does first: 0 nothing, 1 clear, 2 clear colour and
    // depth, 3 draw the background image.
    int m_bg_mode;
    char m_bg_file[MWIN_FILE_SIZE];
    EngTexture *m_bg_texture;
    char m_panel_flags[3];
    float m_disabled_text_alpha;
    char m_shrink_to_fit;
    char m_choice_style;
    char m_tab_panel_flags[4];
    char m_progress_flags[3];
    signed char m_progress_blend_type;
    float m_progress_colours[9];
    float m_colour_picker_values[3];
    _MWinLayoutSettings m_layouts[MWIN_NUM_LAYOUTS];
};

// The descriptor with which a screen layout adds a window.
struct _MWinWindowCreateInfo {
    int m_kind;
    // -9999 centres the window along that axis.
    float m_x, m_y;
    // Negative becomes 100; below 1 becomes 1.
    float m_w, m_h;
    // 0 fixed, 1 dragged by the title bar, 2 dragged from any free point.
    int m_drag_mode;
    char m_has_hide_button;
    char m_has_extra_button;
    char m_has_title_bar;
    char m_title[MWIN_TITLE_SIZE];
    char m_title_texbut[MWIN_ID_SIZE];
    char m_back_texbut[MWIN_ID_SIZE];
    char m_font[MWIN_ID_SIZE];
    char m_hide_text[MWIN_ID_SIZE];
    char m_hide_texbut[MWIN_ID_SIZE];
    char m_extra_text[MWIN_ID_SIZE];
    char m_extra_texbut[MWIN_ID_SIZE];
    char m_title_token[MWIN_TOKEN_SIZE];
    char m_hide_token[MWIN_TOKEN_SIZE];
    char m_extra_token[MWIN_TOKEN_SIZE];
};

// What a press delivers; zero-filled before it is filled.
struct _MWinButtonCallbackInfo {
    char m_button_id[MWIN_ID_SIZE];
    char m_window_id[MWIN_ID_SIZE];
    MWinButton *m_button;
    char m_text_edit_event;
    char m_list_event;
    int m_list_pos;
    char m_checkbox_state;
    int m_choice_sel;
    int m_panel_mode;
    int m_panel_pos;
    char m_panel_arg;
    char m_range_slider_code;
    // A tab panel's row, its new selection flag, how it was chosen (1 a
    // click, 2 a release, 0 keys or wheel) and whether the header was clicked.
    int m_tab_row;
    char m_tab_selected;
    char m_tab_value;
    char m_tab_header;
    // A scrollbar's position, and whether the user moved it.
    double m_scroll_pos;
    char m_scroll_from_user;
};

enum _MWinMessageNum : int {
    // Activate this control as if it had been pressed.
    MWMN_BUTTON_PRESSED = 0,
};

struct _MWinQueuedMessage {
    char collection_id[MWIN_ID_SIZE];
    char window_id[MWIN_ID_SIZE];
    char button_id[MWIN_ID_SIZE];
    _MWinMessageNum message;
};
