// The world high scores bound to the game (see the header).
#include "game/ScoresWorld.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngLanguages.h"
#include "game/Game.h"
#include "game/Program.h"
#include "game/Scores.h"
#include "gui/MWin.h"
#include "modules/Countries.h"
#include "modules/Resolution.h"
#include "modules/ScoresHooks.h"
#include "modules/ScoresMain.h"
#include "modules/ScoresSubmit.h"
#include "modules/UserClass.h"
#include "screens/ScoresCC.h"

#include <cstring>

ScoresMain *scores_world = nullptr;
char scores_internet_allowed = 0;

namespace {

const unsigned short kScoresVersion = 150;
const int kMaxScores = 100;
const unsigned kFirstSet = 1000;
const unsigned kRefreshMinutes = 15;

// The world object, or null with 'NOSU' reported under where.
ScoresMain *World(const char *where)
{
    if (!scores_world)
        DebugErrorCode(where, 'NOSU');
    return scores_world;
}

// The world object when it exists and is set up; null otherwise, silently.
ScoresMain *SetUpWorld()
{
    return scores_world && scores_world->IsSetup() ? scores_world : nullptr;
}

// The loaded player's options, or null.
_UserOptions *PlayerOptions()
{
    if (!main_game || !main_game->GetUser() || !main_game->GetUser()->IsLoaded())
        return nullptr;
    return &main_game->GetUserInfo()->options;
}

MWin *GameMWin()
{
    return main_game ? main_game->GetMWinIfAny() : nullptr;
}

unsigned CurrentSet()
{
    return kFirstSet + static_cast<unsigned>(ScoresGetGarden());
}

// Sets the list up unless it is; false when that fails.
bool EnsureSetup(const char *where)
{
    ScoresMain *world = World(where);
    return world && (world->IsSetup() || ScoresWorldSetupNew());
}

// The world scores' connections to the country list and the toolkit.
int CountryNumForScores(const char *code)
{
    return CountryGetCountryNumFromCode(code, 1);
}

bool PopupsAllowed(MWin *mwin)
{
    return mwin && mwin->IsOn() && !mwin->IsPopupOn();
}

void PopupMessage(MWin *mwin, const char *title, const char *text)
{
    if (title)
        mwin->PopupMessage(title, text);
    else
        mwin->PopupMessageNoTitle(text);
}

void PopupShowMessageNow(MWin *mwin, const char *text)
{
    mwin->PopupShowMessageNow(nullptr, text);
}

void PopupSetTimeout(MWin *mwin, double seconds)
{
    mwin->PopupSetTimeout(seconds);
}

// The connection is to be tested at the next start, by the start-up window.
void TestInternetAtNextStart()
{
    _ResolutionSettings *settings = ResolutionGetSettings();
    settings->internet_test[0] = -1;
    settings->show_dialog = 1;
}

void ConfirmIgnoreDoneCB(MWin *, char result, void *)
{
    if (result == 1)
        scores_internet_allowed = 1;
    else
        TestInternetAtNextStart();
}

void InternetAccessDoneCB(MWin *mwin, char result, void *)
{
    if (result == 1) {
        TestInternetAtNextStart();
        return;
    }
    if (mwin)
        mwin->PopupYesNo(nullptr, EngLanguagesGetStringForToken("Scores_ConfirmIgnoreMsg"), ConfirmIgnoreDoneCB,
                         nullptr);
}

} // namespace

void ScoresCreateWorld()
{
    ScoresDeleteWorld();
    scores_world = new ScoresMain();
    scores_hooks.country_num_from_code = CountryNumForScores;
    scores_hooks.popups_allowed = PopupsAllowed;
    scores_hooks.popup_message = PopupMessage;
    scores_hooks.popup_show_message_now = PopupShowMessageNow;
    scores_hooks.popup_set_timeout = PopupSetTimeout;
}

void ScoresDeleteWorld()
{
    delete scores_world;
    scores_world = nullptr;
}

char ScoresWorldSetupNew()
{
    const char *where = "ScoresWorldSetupNew";
    ScoresMain *world = World(where);
    if (!world)
        return 0;
    world->ReleaseAll();
    const _UserOptions *options = PlayerOptions();
    if (!options) {
        DebugError(where, "User not loaded.");
        return 0;
    }
    // A stored range beyond the five is refused by Setup.
    if (!world->Setup(SP_THIS_GAME, kScoresVersion, kMaxScores, CurrentSet(),
                      static_cast<_ScoresRange>(options->scores_range), nullptr,
                      static_cast<char>(options->scores_auto_update), kRefreshMinutes)) {
        DebugError(where, "Setup failed");
        return 0;
    }
    return 1;
}

unsigned char ScoresWorldUpdateIfNeeded()
{
    if (!EnsureSetup("ScoresWorldUpdateIfNeeded"))
        return 0;
    return scores_world->UpdateIfNeeded(0);
}

char ScoresWorldUpdate()
{
    if (!EnsureSetup("ScoresWorldUpdate"))
        return 0;
    return scores_world->Update() ? 1 : 0;
}

char ScoresWorldIsUpdating()
{
    ScoresMain *world = SetUpWorld();
    return world && world->IsUpdating() ? 1 : 0;
}

unsigned char ScoresWorldIsUpdateFinished()
{
    ScoresMain *world = SetUpWorld();
    if (!world) {
        DebugError("ScoresWorldIsUpdateFinished", "Class not setup.");
        return 0;
    }
    _EngInternetThreadReadResult status = EITRR_NONE;
    const char *message = nullptr;
    const unsigned char result = world->IsUpdateFinished(&status, &message);
    const char *info = nullptr;
    if (message && message[0])
        info = message;
    else if (static_cast<int>(status) == SCORES_STATUS_OLD_VERSION)
        info = EngLanguagesGetStringOrDefault("Scores_OldVersionNormal",
                                              "This game is out of date - you need to download the latest version.");
    if (info)
        if (ScoresCC *screen = ScoresCC_Get("ScoresWorldIsUpdateFinished"))
            screen->SetInfoText(info);
    // A world entry never carries the local table's newest mark.
    if (result == SCORES_UPDATE_LIST)
        for (int i = 0; i < world->GetNumberOfScores(); i++)
            if (_ScoresScore *score = world->GetScore(i))
                score->flags[0] = 0;
    return result;
}

int ScoresWorldGetNumScores()
{
    ScoresMain *world = SetUpWorld();
    return world ? world->GetNumberOfScores() : 0;
}

_ScoresScore *ScoresWorldGetScoresList()
{
    ScoresMain *world = SetUpWorld();
    return world ? world->GetScoresList(1) : nullptr;
}

void ScoresWorldRelease()
{
    if (ScoresMain *world = SetUpWorld())
        world->ReleaseAll();
}

void ScoresWorldAllScoresForCurrentGardenNeedToBeUpdated()
{
    const char *where = "ScoresWorldAllScoresForCurrentGardenNeedToBeUpdated";
    ScoresWorldRelease();
    if (!scores_world) {
        DebugError(where, "No class.");
        return;
    }
    _UserOptions *options = PlayerOptions();
    if (!options) {
        DebugError(where, "User not loaded.");
        return;
    }
    const unsigned char kept = options->scores_range;
    for (int range = SR_ALL; range <= SR_DAY; range++) {
        options->scores_range = static_cast<unsigned char>(range);
        scores_world->ReleaseAll();
        if (ScoresWorldSetupNew()) {
            scores_world->DeleteScoresFile();
            scores_world->ReleaseAll();
        }
    }
    options->scores_range = kept;
}

char ScoresCallSubmitScore(const _ScoresScore *score)
{
    const char *where = "ScoresCallSubmitScore";
    MWin *mwin = GameMWin();
    const char *refusal = !score                           ? "Internal Error (no ss)"
                          : !ScoresMainIsScoreValid(score, 0) ? "Internal Error (invalid ss)"
                                                              : nullptr;
    if (refusal) {
        DebugError(where, "%s", refusal);
        if (mwin)
            mwin->PopupErrorMessage(refusal);
        return 0;
    }
    const int result = ScoresSubmitScore(SP_THIS_GAME, kScoresVersion, CurrentSet(), score, mwin);
    _ResolutionSettings *settings = ResolutionGetSettings();
    if (result == SSR_SUBMITTED)
        if (ScoresCC *screen = ScoresCC_Get(where))
            screen->ForceWorldScoresUpdate(1);
    if (result == SSR_OUT_OF_DATE) {
        // The next start shows the start-up window and looks for an update.
        settings->show_dialog = 1;
        std::memset(&settings->last_update_check, 0, sizeof(settings->last_update_check));
        settings->internet_test[0] = 1;
        DebugError(where, "Problem submitting score [%d].", result);
        return 0;
    }
    if (result >= 1) {
        settings->internet_test[0] = 1;
        return 1;
    }
    DebugError(where, "Problem submitting score [%d].", result);
    return 0;
}

char ScoresSubmitUsersBestScoreForCurrentGardenAndRange(_ScoresRange range)
{
    return ScoresCallSubmitScore(ScoresGetUsersBestScoreForCurrentGardenAndRange(range));
}

char ScoresSubmitUsersLastScoreForCurrentGarden()
{
    return ScoresCallSubmitScore(ScoresGetUsersLastScoreForCurrentGarden());
}

char ScoresIsInternetAccessAllowed(Game *game, char ask)
{
    if (scores_internet_allowed || ResolutionGetSettings()->internet_test[0] == 1)
        return 1;
    if (!ask)
        return 0;
    MWin *mwin = game ? game->GetMWinIfAny() : nullptr;
    if (mwin && mwin->IsOn()) {
        mwin->PopupSetButtonTexts(nullptr, EngLanguagesGetStringForToken("Scores_Ignore"));
        mwin->PopupOkCancel(EngLanguagesGetStringForToken("Scores_InternetAccess"),
                            EngLanguagesGetStringForToken("Scores_InternetAccessMessage"), InternetAccessDoneCB, nullptr);
    }
    return 0;
}

void ScoresWorldResetForTests()
{
    ScoresDeleteWorld();
    scores_internet_allowed = 0;
}
