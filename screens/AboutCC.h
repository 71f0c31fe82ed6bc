// The About screen ('ABOT', collection and window "About"): the program's
// version and a short list of credits that fades in over two seconds on
// every visit, with links to the game's home page and forums on the maker's
// web site, the log viewer, and Back (or Escape) to the Main screen.
//
// The links open the browser without a question; in full screen the
// program closes first and the page opens after it has ended.
//
// Failures: missing controls are skipped; a missing game font while the
// credits are drawn is fatal (the game's own check).
#pragma once

#include "screens/ScreenController.h"

class HW_Screens;

enum { ABOUT_NUM_CREDITS = 8, ABOUT_CREDIT_SIZE = 80 };

// A credits row: its text and its style (1 to 5; 0 keeps the look of the
// row before).
struct _AboutCredit {
    char text[ABOUT_CREDIT_SIZE];
    signed char style;
};

// How a credits row is drawn: centred on x 320 and y, with the game font at
// this scale and colour.
struct _AboutCreditLook {
    float y;
    float scale_x, scale_y;
    float r, g, b, a;
};

class AboutCollectionController : public ScreenController {
public:
    // The controls of the window "About", in the order they are added.
    enum AboutControl {
        ABOUT_TITLE,
        ABOUT_HOME_PAGE,
        ABOUT_FORUMS,
        ABOUT_LOGS,
        ABOUT_BACK,
        ABOUT_VERSION,
        ABOUT_NUM_CONTROLS,
    };

    explicit AboutCollectionController(MWinScreens *screens);
    MWinButton *Control(AboutControl control) const { return GetControl(0, control); }

protected:
    void AdjustWindowInfo(int window, int layout, _MWinWindowCreateInfo *info) override;
};

class AboutCC : public AboutCollectionController {
public:
    explicit AboutCC(MWinScreens *screens) : AboutCollectionController(screens) {}

    void StartingCB(void *data) override;
    // Advances the credits' fade by half the frame time, up to 1.
    void TickCB() override;
    // Draws the credits in pass 1.
    void RenderCB(int pass) override;
    char ButtonPressedCB(MWinButton *button, _MWinButtonCallbackInfo *info) override;

    float GetFade() const { return m_fade; }

private:
    float m_fade = 0;
};

// The credits, top to bottom.
const _AboutCredit *AboutGetCredits();
// Each row's look at the given fade (0 to 1), top to bottom.
void AboutGetCreditLooks(float fade, _AboutCreditLook looks[ABOUT_NUM_CREDITS]);
// The game's page on the maker's web site, as a path below the site's root.
extern const char *const about_product_page_path;

MWinCollectionController *AboutCC_Make(HW_Screens *screens);
