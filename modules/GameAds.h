// Cross-promotion: the maker's other titles, shown one at a time on the
// "other games" screen. A built-in table of 26 ads (title, four lines of
// description), of which twelve are included on this platform: the
// downloadable desktop titles other than this game. Beside each ad the
// module knows its platform, its web page and tell-a-friend codes, its
// updater product id and installer address when it can be downloaded, and
// its two screenshots ("Data/IGA/<picture name>1.jpg" and "...2.jpg").
//
// The current ad follows a variable of the caller's (the player record's),
// updated whenever the current ad changes. Opening a page or downloading an
// ad's installer ends the program first; the browser or the updater then
// follows.
//
// Bad parameters and missing pieces are logged ("Invalid ad num %d",
// "Invalid path", "Invalid from prog", "Unsuppored ad/pic [%d:%d]") and the
// action is skipped; a picture that cannot be loaded is simply missing.
// Main thread only.
#pragma once

class EngTexture;

enum { GAME_ADS_NUM_ADS = 26, GAME_ADS_NUM_INCLUDED = 12, GAME_ADS_TARNWICK_AD = 17 };

enum _GameAdsPlatform : int {
    GAP_DESKTOP = 0,
    GAP_IPHONE = 1,
    GAP_IPAD = 2,
    GAP_ANDROID = 3,
    GAP_ALL = 4,
};

// The picture file of an ad's picture 0 or 1, or null.
typedef const char *(*GameAdsPicFilenameCB)(int ad, int picture);

void GameAdsSetIncludedAds();
int GameAdsGetNumIncludedAds();
// Whether the ad may be shown (false for a number outside 0..25).
bool GameAdsIsAdIncluded(int ad);

void GameAdsSetPicFilenameCB(GameAdsPicFilenameCB callback);
// The kept callback's answer; null without a callback.
const char *GameAdsGetPicFilenameCB(int ad, int picture);
// The picture files of the table, as the game hands them to
// GameAdsSetPicFilenameCB: "Data/IGA/" + name + "1.jpg" or "2.jpg"; one
// file for both pictures of the iPad ads ("IPad.jpg") and of the
// all-platforms ad; picture 0 only for one iPhone ad. Any other ad and
// picture logs "Unsuppored ad/pic [%d:%d]" and gives null.
const char *GameAdsPictureFile(int ad, int picture);

// path: 5..399 characters ending in '/', else "Invalid path"; tag: 5..63
// characters, else "Invalid from prog"; either refusal changes nothing. A
// user name that is empty or of 80 characters or more is stored as "".
void GameAdsSetInternetLinksPath(const char *path, const char *program_tag, const char *user_name);

// A number outside 0..25 logs "Invalid ad num %d" and counts as 0; an ad
// that is not included gives way to the next included ad after it.
void GameAdsSetCurGameAd(int ad);
// Keeps the caller's variable (may be null) and, when given, selects its
// value.
void GameAdsSetCurGameAdVar(short *variable);
int GameAdsGetCurGameAd();
// Step to the previous or next included ad, wrapping; the new current ad.
int GameAdsGoToPrevAd();
int GameAdsGoToNextAd();
// 17 when ad 17 is included, else -1 after "Ad %d is not included.".
short GameAdsGetTarnwickAdNumForCurrentPlatform();

// The current ad.
const char *GameAdsGetCurAdTitle();
// Lines 0..3 of its description ("" for another line).
const char *GameAdsGetCurAdDescription(int line);
_GameAdsPlatform GameAdsGetCurAdPlatform();
// Its updater product id (_UpdaterProgramName), UPN_NONE when it has none.
int GameAdsGetCurAdUpdaterProgram();
// Its installer's address, or null.
const char *GameAdsGetCurAdDownloadAddress();

// Loads the current ad's pictures (nothing when keep_loaded and picture 0
// is loaded already); releases them.
void GameAdsCreateGraphics(char keep_loaded);
void GameAdsDestroyGraphics();
// Picture 0 or 1 when loaded, else null.
EngTexture *GameAdsGetPicTexture(int picture);

// Open the current ad's web page, or the tell-a-friend page for it, in the
// browser, after closing the program down when it runs.
void GameAdsOpenCurAdPage();
void GameAdsTellAFriend();
// Closes the program and downloads the current ad's installer once it is
// gone (nothing for an ad without one).
void GameAdsDownloadCurAdAtExit();
// The address of the page opened last ("" when none).
const char *GameAdsGetPageAddress();

void GameAdsResetForTests();
