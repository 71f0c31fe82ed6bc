// What the world scores need of the parts beside them: the country list (to
// check a received country code) and the GUI toolkit's popups (to tell the
// player how a submission went). The program connects these once at start;
// each is null until then. A missing country hook makes every received line
// fail its country check; missing popup hooks show nothing, and the outcome
// is still returned to the caller.
#pragma once

class MWin;

struct _ScoresHooks {
    // CountryGetCountryNumFromCode: the country's number, or -1 when the code
    // is unknown ("UK" is known as "GB").
    int (*country_num_from_code)(const char *code);
    // Whether popups may be shown on mwin: the toolkit is on and no popup is
    // open (MWin::IsOn, MWin::IsPopupOn).
    bool (*popups_allowed)(MWin *mwin);
    // MWin::PopupMessage (title, text): an OK box; a null title shows none
    // (MWin::PopupMessageNoTitle).
    void (*popup_message)(MWin *mwin, const char *title, const char *text);
    // MWin::PopupShowMessageNow: an untitled message drawn at once.
    void (*popup_show_message_now)(MWin *mwin, const char *text);
    // MWin::PopupSetTimeout: the open popup closes itself after seconds.
    void (*popup_set_timeout)(MWin *mwin, double seconds);
};

extern _ScoresHooks scores_hooks;

// Disconnects every hook, as at start; for tests.
void ScoresResetHooksForTests();
