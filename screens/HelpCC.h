// The Help screen ('HELP', collection and window "Help", "How To Play"):
// five pages of styled text shown one at a time in a script button, Prev
// and Next to turn them, Keys for the keyboard shortcuts and Back (or
// Escape) to return to the Main or the Pause screen that opened it. Opening
// it switches the player's tutorial hints back on.
//
// The pages are fixed English texts held here. The screen owns the text of
// the page shown; the script button is cleared before that text is freed or
// replaced, so the button never shows a text that is gone. A text left over
// when the program ends is freed with the controller.
//
// Failures: a page number outside 0 to 4 logs "Bad page num %d." and a page
// text that cannot be allocated logs 'IERR'; either leaves the page empty
// while the buttons keep working. Missing controls are skipped.
#pragma once

#include "screens/ScreenController.h"

class HW_Screens;

class HelpCollectionController : public ScreenController {
public:
    // The controls of the window "Help", in the order they are added.
    enum HelpControl {
        HELP_TITLE,
        HELP_PREV,
        HELP_NEXT,
        HELP_KEYS,
        HELP_BACK,
        HELP_INFO,
        HELP_NUM_CONTROLS,
    };

    explicit HelpCollectionController(MWinScreens *screens);
    MWinButton *Control(HelpControl control) const { return GetControl(0, control); }
};

class HelpCC : public HelpCollectionController {
public:
    enum { HELP_LAST_PAGE = 4 };

    explicit HelpCC(MWinScreens *screens);
    ~HelpCC() override;

    void StartingCB(void *data) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    // Shows the current page in Info, replacing the text shown before.
    void UpdateText();
    signed char GetPage() const { return m_page; }
    // The text of the page shown; null when there is none.
    const char *GetPageText() const { return m_page_text; }

    // The marked-up text of a page in a new block (EngMalloc, freed with
    // EngFree): "<1>" and the title, a blank line and the body, then, when
    // the page has one, two blank lines, "<1>", the second heading, a blank
    // line and the rest. Null for a page outside 0 to 4 (logged) or when no
    // memory is left.
    static char *ComposePageText(int page);

private:
    // Drops the page from Info, then frees its text.
    void ReleaseText();

    signed char m_page;
    char *m_page_text;
};

// The keyboard shortcuts that Keys shows.
extern const char *const help_keys_text;

MWinCollectionController *HelpCC_Make(HW_Screens *screens);
