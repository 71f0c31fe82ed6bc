// A question popup on a real window drawn with GL: the screen behind it is
// dimmed to half, the box, its title bar and its buttons are drawn on top
// at full strength, and closing it brings the screen back undimmed.
#include "tests/support/GuiTestKit.h"
#include "platform/d3d9/D3D9GL.h"
#include "tests/support/TestPixels.h"

namespace {

class MWinPopupsDisplayTest : public GuiTest {
protected:
    void SetUp() override { StartKit(true); }

    DWORD Pixel(float x, float y)
    {
        RECT rect = {static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x) + 1, static_cast<LONG>(y) + 1};
        DWORD argb = 0;
        EXPECT_EQ(D3D9GLReadBackBuffer(eng_d3d_device, &rect, &argb), S_OK);
        return argb;
    }

    void Render()
    {
        mwin->RenderMain();
        mwin->RenderPopups();
    }
};

TEST_F(MWinPopupsDisplayTest, AQuestionOverADimmedScreen)
{
    _MWinSettings settings;
    mwin->GetSettings(&settings);
    settings.m_bg_mode = 1;
    mwin->SetSettings(&settings);
    eng_device->SetClearColour(0, 0, 0);
    // The screen: one blue control over most of it.
    MWinWindow *screen = AddWindow(AddCollection("BACK"), "WIN", 0, 0, 640, 480);
    screen->AddButton("B", MWBT_PUSH, "Blue", "", 20, 20, 600, 440);
    Render();
    EXPECT_TRUE(Near(0x0000FF, Pixel(40, 40))) << "the screen before the popup";

    mwin->PopupSetStyle("White", "Grey", "Main", "Red", "Main", 0, 0, 0, 1, 1, 1, 0, 0, 0, 1, 1, 1, 1);
    ASSERT_TRUE(mwin->PopupOkCancel("Question", "Go on?", nullptr, nullptr));
    Render();

    MWinWindow *box = mwin->GetWindowFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", 0);
    ASSERT_NE(box, nullptr);
    const _Dimension *area = box->GetArea();
    const _Dimension *title = box->GetTitleBarArea();
    EXPECT_NEAR(area->x + area->w / 2, 320, 2) << "centred across";
    EXPECT_TRUE(Near(0x00007F, Pixel(40, 40), 3)) << "the screen behind, dimmed to half";
    EXPECT_TRUE(Near(0x7F7F7F, Pixel(area->x + title->x + 3, area->y + title->y + 2), 3))
        << "the title bar, placed from the body's corner";
    EXPECT_TRUE(Near(0xFFFFFF, Pixel(area->x + 3, area->y + area->h / 2))) << "the box's body";
    _Dimension message;
    ASSERT_TRUE(mwin->GetButtonFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", "MSG", 0)->GetScreenDimension(&message));
    for (int which : {MWIN_POPUP_OK, MWIN_POPUP_CANCEL}) {
        _Dimension button;
        ASSERT_TRUE(mwin->GetPopupButton(which)->GetScreenDimension(&button));
        EXPECT_TRUE(Near(0xFF0000, Pixel(button.x + 2, button.y + 2))) << "button " << which;
        EXPECT_GE(button.y, message.y + message.h) << "the buttons sit below the message";
    }

    mwin->PopupCloseIfOn();
    Render();
    EXPECT_TRUE(Near(0x0000FF, Pixel(40, 40))) << "the screen undimmed again";
}

} // namespace
