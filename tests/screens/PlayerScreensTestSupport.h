// Shared by the player screens' tests: the started game (recording device,
// headless desktop, fresh per-user folder) with helpers that write player
// files, go to a player screen, press its controls and answer its popups.
#pragma once

#include "engine/runtime/EngMain.h"
#include "gui/MWinButton.h"
#include "modules/Resolution.h"
#include "modules/UserClass.h"
#include "screens/UserLoad.h"
#include "screens/UserNew.h"
#include "screens/UserScreens.h"
#include "screens/UserSelect.h"
#include "screens/Users.h"
#include "tests/game/GameTestSupport.h"

#include <fstream>
#include <set>
#include <string>

namespace player_screens_test {

using namespace game_test;
using modules_test::UsersFolder;

class PlayerScreensTest : public StartedGameTest {
protected:
    UserScreens *Screens() { return game->GetScreens()->GetUserScreens(); }
    MWin *Mwin() { return game->GetMWin(); }
    unsigned Current() { return game->GetScreens()->GetCurrentScreen(); }

    // A valid player file of that name and country.
    static void SavePlayer(const char *name, const char *country, char always_load = 0)
    {
        UserClass user(nullptr, nullptr, 0, UFM_ENCIPHERED_OR_PLAIN);
        ASSERT_TRUE(user.CreateNewUser(name, country, 0));
        user.GetInfo()->options.always_load = always_load;
        ASSERT_TRUE(user.Save(1));
    }

    // A file in the Users folder with these bytes.
    static void WriteUsersFile(const std::string &file, const std::string &bytes)
    {
        std::filesystem::create_directories(UsersFolder());
        std::ofstream(UsersFolder() / file, std::ios::binary) << bytes;
    }

    static bool UsersFileExists(const std::string &file) { return std::filesystem::exists(UsersFolder() / file); }

    // The player the start-up settings continue with.
    static void SetLastPlayer(const char *name)
    {
        EngSafeStrcpy(ResolutionGetSettings()->player_name, name, RESOLUTION_PLAYER_NAME_SIZE);
    }

    // Presses a control of the current screen as the toolkit does.
    static char Press(MWinCollectionController *screen, MWinButton *control)
    {
        EXPECT_NE(control, nullptr);
        if (!control)
            return 0;
        _MWinButtonCallbackInfo info;
        std::memset(&info, 0, sizeof(info));
        control->FillCallbackInfo(&info);
        return screen->ButtonPressedCB(control, &info);
    }

    // The text of the open popup's message.
    std::string PopupText()
    {
        MWinButton *message = Mwin()->GetButtonFromIDs("MWIN_POPUP", "MWIN_POPUP_WIN", "MSG", 0);
        return message && message->GetTextP() ? message->GetTextP() : "";
    }

    // The saved players' names and countries, "name/country", in any order.
    std::multiset<std::string> Listed()
    {
        UserLoadCC *load = Screens()->GetUserLoadCC();
        std::multiset<std::string> listed;
        for (int i = 0; i < load->GetNumUserNames(); i++)
            listed.insert(std::string(load->GetUserNameOrEmpty(i)) + "/" + load->GetUserCountryOrEmpty(i));
        return listed;
    }
};

} // namespace player_screens_test
