// Cross-promotion (see the header).
#include "modules/GameAds.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngPrefs.h"
#include "engine/core/EngServers.h"
#include "engine/graphics/EngTexture.h"
#include "engine/runtime/EngMain.h"
#include "engine/runtime/EngProgram.h"
#include "modules/Updater.h"
#include "platform/win32/Win32CodePage.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct AdRow {
    char included;
    char title[128];
    char description[4][128];
};

// The shown texts of the 26 ads; the included flags are set at run time.
// clang-format off
AdRow ads[GAME_ADS_NUM_ADS] = {
    {0, "LANTERNFLY", {"Guide a swarm of lantern flies through the night.", "Light the dark woods one glade at a time.",
                       "Sixty levels, three seasons of moths.", "Soft music, bright puzzles."}},
    {0, "PEBBLE COVE", {"Build a harbour village stone by stone.", "Trade with the boats that call at dawn.",
                        "Keep the tide out and the lamps lit.", "A calm game of building and trading."}},
    {0, "HIVE WATCHER", {"Guard the hive against marching bugs.", "Twelve weapons, four gardens, fifty levels.",
                         "Upgrade, retarget and sell as waves grow.", "Three difficulties for every garden."}},
    {0, "GLOAMWOOD", {"A hidden-object walk through an old forest.", "Find what the fox hid before dusk.",
                      "Forty scenes painted by hand.", "Hints that never run out."}},
    {0, "SPORE DRIFT", {"Float a spore across a windy meadow.", "Ride the gusts, dodge the beetles.",
                        "Grow a new patch of moss at every landing.", "Easy to learn, hard to master."}},
    {0, "FERN CASTLE", {"Defend a castle grown from ferns.", "Plant towers, weave walls of vines.",
                        "Every siege brings new creatures.", "Five kingdoms to keep green."}},
    {0, "DEW RUNNER", {"Race a droplet down a leaf at sunrise.", "Collect dew before the sun dries it.",
                       "Over a hundred short tracks.", "Beat your friends' best times."}},
    {0, "THISTLEDOWN", {"Match seeds to send them floating.", "Chain matches to lift whole fields.",
                        "Three hundred boards in eight meadows.", "Relaxed and timed modes."}},
    {0, "MIRE LIGHTS", {"Follow the marsh lights to the lost village.", "Solve the riddles of the bog folk.",
                        "An adventure told in twelve chapters.", "Beautiful, strange and a little spooky."}},
    {0, "BRAMBLE RUSH", {"Dash through bramble mazes as a hedgehog.", "Roll, curl and bounce past the thorns.",
                         "Collect berries for the winter store.", "Fast action for all ages."}},
    {0, "ROOT QUEST", {"Dig the tunnels of an underground kingdom.", "Steer roots around stones and water.",
                       "Unearth the treasures of the old oak.", "Puzzles that grow with you."}},
    {0, "PUDDLE JUMP", {"Hop a frog from puddle to puddle.", "Catch flies, avoid the herons.",
                        "Rainy days make the best levels.", "A bright arcade game."}},
    {0, "COPPER BEETLE", {"Polish the shell of a beetle knight.", "Joust across the garden tournament.",
                          "Our first game, now retired.", "Thank you for playing it."}},
    {0, "NETTLEBROOK", {"Life on a farm by a stinging brook.", "Grow, harvest and sell at the market.",
                        "A long game for patient farmers.", "No longer sold."}},
    {0, "LICHENWARE GAMES", {"All our games in one place.", "For computers, phones and tablets.",
                             "New titles every season.", "Visit us to see them all."}},
    {0, "ACORN DROP", {"Drop acorns to fill the squirrel's store.", "Plan every fall before winter comes.",
                       "A classic puzzle from our early days.", "No longer sold."}},
    {0, "TARNWICK", {"Build a mountain town around its tarn.", "Now on your phone.", "", ""}},
    {0, "TARNWICK", {"Build a mountain town around its tarn.", "Lay out streets, bridges and mills.",
                     "Keep the townsfolk fed through the winters.", "A town builder without hurry."}},
    {0, "PUDDLE JUMP", {"Hop a frog from puddle to puddle.", "Now on your phone.", "", ""}},
    {0, "DEW RUNNER", {"Race a droplet down a leaf at sunrise.", "Now on your phone.", "", ""}},
    {0, "TARNWICK", {"Build a mountain town around its tarn.", "Made for the big screen of a tablet.",
                     "Pinch and drag to plan your streets.", "Keep the townsfolk fed through the winters."}},
    {0, "GLOAMWOOD", {"A hidden-object walk through an old forest.", "Made for the big screen of a tablet.",
                      "Forty scenes painted by hand.", "Tap to find what the fox hid."}},
    {0, "THISTLEDOWN", {"Match seeds to send them floating.", "Made for the big screen of a tablet.",
                        "Three hundred boards in eight meadows.", "Relaxed and timed modes."}},
    {0, "TARNWICK", {"Build a mountain town around its tarn.", "Now on Android phones and tablets.", "", ""}},
    {0, "PUDDLE JUMP", {"Hop a frog from puddle to puddle.", "Now on Android phones and tablets.", "", ""}},
    {0, "BRAMBLE RUSH", {"Dash through bramble mazes as a hedgehog.", "Now on Android phones and tablets.", "", ""}},
};
// clang-format on

// What the module knows of each ad beside its shown texts. The page code is
// the name plus the platform's page suffix, the tell-a-friend code the
// friend name plus the platform's friend suffix.
struct AdFacts {
    _GameAdsPlatform platform;
    const char *page;        // null: "all"
    const char *friend_name; // null: "All"
    int program;             // UPN_NONE: no download
    const char *installer;   // under the maker's site
    const char *picture;     // the picture name; null: no pictures
};

// clang-format off
const AdFacts FACTS[GAME_ADS_NUM_ADS] = {
    {GAP_DESKTOP, "lanternfly", "Lanternfly", UPN_LANTERNFLY, "LanternflySetup.exe", "Lanternfly"},
    {GAP_DESKTOP, "pebblecove", "PebbleCove", UPN_PEBBLE_COVE, "PebbleCoveSetup.exe", "PebbleCove"},
    {GAP_DESKTOP, "hivewatcher", "HiveWatcher", UPN_HIVE_WATCHER, "HiveWatcherSetup.exe", "HiveWatcher"},
    {GAP_DESKTOP, "gloamwood", "Gloamwood", UPN_GLOAMWOOD, "GloamwoodSetup.exe", "Gloamwood"},
    {GAP_DESKTOP, "sporedrift", "SporeDrift", UPN_SPORE_DRIFT, "SporeDriftSetup.exe", "SporeDrift"},
    {GAP_DESKTOP, "ferncastle", "FernCastle", UPN_FERN_CASTLE, "FernCastleSetup.exe", "FernCastle"},
    {GAP_DESKTOP, "dewrunner", "DewRunner", UPN_DEW_RUNNER, "DewRunnerSetup.exe", "DewRunner"},
    {GAP_DESKTOP, "thistledown", "Thistledown", UPN_THISTLEDOWN, "ThistledownSetup.exe", "Thistledown"},
    {GAP_DESKTOP, "mirelights", "MireLights", UPN_MIRE_LIGHTS, "MireLightsSetup.exe", "MireLights"},
    {GAP_DESKTOP, "bramblerush", "BrambleRush", UPN_BRAMBLE_RUSH, "BrambleRushSetup.exe", "BrambleRush"},
    {GAP_DESKTOP, "rootquest", "RootQuest", UPN_ROOT_QUEST, "RootQuestSetup.exe", "RootQuest"},
    {GAP_DESKTOP, "puddlejump", "PuddleJump", UPN_PUDDLE_JUMP, "PuddleJumpSetup.exe", "PuddleJump"},
    {GAP_DESKTOP, "copperbeetle", "CopperBeetle", UPN_NONE, nullptr, "CopperBeetle"},
    {GAP_DESKTOP, "nettlebrook", "Nettlebrook", UPN_NONE, nullptr, "Nettlebrook"},
    {GAP_ALL, nullptr, nullptr, UPN_NONE, nullptr, "Lichenware"},
    {GAP_DESKTOP, nullptr, "AcornDrop", UPN_NONE, nullptr, "AcornDrop"},
    {GAP_IPHONE, "tarnwick", "Tarnwick", UPN_NONE, nullptr, "Tarnwick"},
    {GAP_DESKTOP, "tarnwick", "Tarnwick", UPN_TARNWICK, "TarnwickSetup.exe", "Tarnwick"},
    {GAP_IPHONE, "puddlejump", "PuddleJump", UPN_NONE, nullptr, "PuddleJump"},
    {GAP_IPHONE, "dewrunner", "DewRunner", UPN_NONE, nullptr, "DewRunner"},
    {GAP_IPAD, "tarnwick", "Tarnwick", UPN_NONE, nullptr, "Tarnwick"},
    {GAP_IPAD, "gloamwood", "Gloamwood", UPN_NONE, nullptr, "Gloamwood"},
    {GAP_IPAD, "thistledown", "Thistledown", UPN_NONE, nullptr, "Thistledown"},
    {GAP_ANDROID, "tarnwick", "Tarnwick", UPN_NONE, nullptr, "Tarnwick"},
    {GAP_ANDROID, "puddlejump", "PuddleJump", UPN_NONE, nullptr, "PuddleJump"},
    {GAP_ANDROID, "bramblerush", "BrambleRush", UPN_NONE, nullptr, "BrambleRush"},
};
// clang-format on

// The iPhone ad whose second picture is missing.
const int kOnePictureIPhoneAd = 19;

struct PlatformSuffixes {
    _GameAdsPlatform platform;
    const char *page;
    const char *friend_code;
};

const PlatformSuffixes SUFFIXES[] = {
    {GAP_DESKTOP, "", ""}, {GAP_IPHONE, "_ip", "IP"}, {GAP_IPAD, "_ipad", "IPad"}, {GAP_ANDROID, "_android", "Android"},
    {GAP_ALL, "", ""},
};

const char kFriendScript[] = "/cgi-bin/common/friend/ShowTellAFriend.cgi";

int current_ad = 0;
short *current_ad_var = nullptr;
// Empty until set: the maker's site root then serves.
char links_path[400];
char program_tag[64] = "Unknown";
char user_name[80];
char page_address[512];
GameAdsPicFilenameCB pic_filename_cb = nullptr;
EngTexture *pictures[2] = {nullptr, nullptr};

bool IsAd(int ad) { return ad >= 0 && ad < GAME_ADS_NUM_ADS; }

const PlatformSuffixes &SuffixesOf(int ad)
{
    for (const PlatformSuffixes &s : SUFFIXES)
        if (s.platform == FACTS[ad].platform)
            return s;
    return SUFFIXES[0];
}

// The ad's page code: "all" for the ads without a page of their own.
std::string PageCode(int ad)
{
    if (!FACTS[ad].page)
        return "all";
    return std::string(FACTS[ad].page) + SuffixesOf(ad).page;
}

std::string FriendCode(int ad)
{
    if (!FACTS[ad].friend_name)
        return "All";
    return std::string(FACTS[ad].friend_name) + SuffixesOf(ad).friend_code;
}

// The value's UTF-8 form with every byte other than letters, digits and
// "-._~" written as %XX, so that a name with blanks or '&' stays one value.
std::string UrlEncoded(const char *text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : PlatformCp1252ToUtf8String(text)) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~';
        if (plain) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 15];
        }
    }
    return encoded;
}

void SetCurrent(int ad)
{
    current_ad = ad;
    if (current_ad_var)
        *current_ad_var = static_cast<short>(ad);
}

// Steps by step (+1 or -1) from the current ad until an included one.
int Step(int step)
{
    int ad = current_ad;
    for (int i = 0; i < GAME_ADS_NUM_ADS; i++) {
        ad = (ad + step + GAME_ADS_NUM_ADS) % GAME_ADS_NUM_ADS;
        if (ads[ad].included)
            break;
    }
    SetCurrent(ad);
    return ad;
}

std::string LinksPath()
{
    return links_path[0] ? links_path : std::string(EngServersGetMakerSiteAddress()) + "/";
}

// Ends the program when it runs, then opens the page.
void OpenPage()
{
    if (eng_main_program)
        eng_main_program->CloseDown(1);
    VariousGoOnlineNow(page_address);
}

} // namespace

void GameAdsSetIncludedAds()
{
    for (int ad = 0; ad < GAME_ADS_NUM_ADS; ad++)
        ads[ad].included = FACTS[ad].program != UPN_NONE && FACTS[ad].program != UPN_HIVE_WATCHER;
}

int GameAdsGetNumIncludedAds()
{
    int count = 0;
    for (const AdRow &row : ads)
        count += row.included ? 1 : 0;
    return count;
}

bool GameAdsIsAdIncluded(int ad) { return IsAd(ad) && ads[ad].included; }

void GameAdsSetPicFilenameCB(GameAdsPicFilenameCB callback) { pic_filename_cb = callback; }

const char *GameAdsGetPicFilenameCB(int ad, int picture)
{
    return pic_filename_cb ? pic_filename_cb(ad, picture) : nullptr;
}

const char *GameAdsPictureFile(int ad, int picture)
{
    static char file[128];
    const char *name = IsAd(ad) ? FACTS[ad].picture : nullptr;
    bool one_file = IsAd(ad) && (FACTS[ad].platform == GAP_IPAD || FACTS[ad].platform == GAP_ALL);
    bool has_picture = picture == 0 || (picture == 1 && ad != kOnePictureIPhoneAd);
    if (!name || !has_picture) {
        DebugError("GameAdsPictureFile", "Unsuppored ad/pic [%d:%d]", ad, picture);
        return nullptr;
    }
    if (one_file)
        std::snprintf(file, sizeof(file), "Data/IGA/%s%s.jpg", name, FACTS[ad].platform == GAP_IPAD ? "IPad" : "");
    else
        std::snprintf(file, sizeof(file), "Data/IGA/%s%d.jpg", name, picture + 1);
    return file;
}

void GameAdsSetInternetLinksPath(const char *path, const char *tag, const char *user)
{
    const char *where = "GameAdsSetInternetLinksPath";
    size_t path_length = path ? std::strlen(path) : 0;
    if (path_length <= 4 || path_length >= sizeof(links_path) || path[path_length - 1] != '/') {
        DebugError(where, "Invalid path");
        return;
    }
    size_t tag_length = tag ? std::strlen(tag) : 0;
    if (tag_length <= 4 || tag_length >= sizeof(program_tag)) {
        DebugError(where, "Invalid from prog");
        return;
    }
    std::snprintf(links_path, sizeof(links_path), "%s", path);
    std::snprintf(program_tag, sizeof(program_tag), "%s", tag);
    size_t user_length = user ? std::strlen(user) : 0;
    if (user_length > 0 && user_length < sizeof(user_name))
        std::snprintf(user_name, sizeof(user_name), "%s", user);
    else
        user_name[0] = 0;
}

void GameAdsSetCurGameAd(int ad)
{
    if (!IsAd(ad)) {
        DebugError("GameAdsSetCurGameAd", "Invalid ad num %d", ad);
        ad = 0;
    }
    current_ad = ad;
    Step(-1);
    Step(1);
}

void GameAdsSetCurGameAdVar(short *variable)
{
    current_ad_var = variable;
    if (variable)
        GameAdsSetCurGameAd(*variable);
}

int GameAdsGetCurGameAd() { return current_ad; }
int GameAdsGoToPrevAd() { return Step(-1); }
int GameAdsGoToNextAd() { return Step(1); }

short GameAdsGetTarnwickAdNumForCurrentPlatform()
{
    if (ads[GAME_ADS_TARNWICK_AD].included)
        return GAME_ADS_TARNWICK_AD;
    DebugError("GameAdsGetTarnwickAdNumForCurrentPlatform", "Ad %d is not included.", GAME_ADS_TARNWICK_AD);
    return -1;
}

const char *GameAdsGetCurAdTitle() { return ads[current_ad].title; }

const char *GameAdsGetCurAdDescription(int line)
{
    return line >= 0 && line < 4 ? ads[current_ad].description[line] : "";
}

_GameAdsPlatform GameAdsGetCurAdPlatform() { return FACTS[current_ad].platform; }

int GameAdsGetCurAdUpdaterProgram() { return FACTS[current_ad].program; }

const char *GameAdsGetCurAdDownloadAddress()
{
    static char address[256];
    if (!FACTS[current_ad].installer)
        return nullptr;
    std::snprintf(address, sizeof(address), "%s/downloads/%s", EngServersGetMakerSiteAddress(),
                  FACTS[current_ad].installer);
    return address;
}

void GameAdsCreateGraphics(char keep_loaded)
{
    const char *where = "GameAdsCreateGraphics";
    if (keep_loaded && pictures[0])
        return;
    GameAdsDestroyGraphics();
    if (!pic_filename_cb) {
        DebugError(where, "No pic filename callback specified");
        return;
    }
    const char *file = pic_filename_cb(current_ad, 0);
    if (!file) {
        DebugError(where, "No pic filename for pic %d:%d", current_ad, 0);
        return;
    }
    for (int picture = 0; picture < 2 && file; picture++) {
        EngTexture *texture = new EngTexture();
        if (!texture->LoadFromFile(file, 1, 2, 0)) {
            delete texture;
            return;
        }
        pictures[picture] = texture;
        // A tablet shows one picture.
        file = picture == 0 && !EngMiscIsTabletPlatform() ? pic_filename_cb(current_ad, 1) : nullptr;
    }
}

void GameAdsDestroyGraphics()
{
    for (EngTexture *&texture : pictures) {
        delete texture;
        texture = nullptr;
    }
}

EngTexture *GameAdsGetPicTexture(int picture) { return picture == 0 || picture == 1 ? pictures[picture] : nullptr; }

void GameAdsOpenCurAdPage()
{
    std::snprintf(page_address, sizeof(page_address), "%sw_%s.html", LinksPath().c_str(), PageCode(current_ad).c_str());
    OpenPage();
}

void GameAdsTellAFriend()
{
    std::snprintf(page_address, sizeof(page_address), "%s%s?from_prog=%s&rec=%s&&user_name=%s",
                  EngServersGetTellAFriendAddress(), kFriendScript, UrlEncoded(program_tag).c_str(),
                  UrlEncoded(FriendCode(current_ad).c_str()).c_str(), UrlEncoded(user_name).c_str());
    OpenPage();
}

void GameAdsDownloadCurAdAtExit()
{
    const char *address = GameAdsGetCurAdDownloadAddress();
    int program = GameAdsGetCurAdUpdaterProgram();
    if (!address || program == UPN_NONE || !UpdaterSetupUrl(program, 0.0f, UPT_FULL))
        return;
    if (eng_main_program) {
        // Runs again once the program object is gone.
        eng_main_program->SetAfterExitCB(GameAdsDownloadCurAdAtExit);
        eng_main_program->CloseDown(1);
        return;
    }
    UpdaterStartDownload(address);
}

const char *GameAdsGetPageAddress() { return page_address; }

void GameAdsResetForTests()
{
    for (AdRow &row : ads)
        row.included = 0;
    GameAdsDestroyGraphics();
    current_ad = 0;
    current_ad_var = nullptr;
    links_path[0] = 0;
    std::snprintf(program_tag, sizeof(program_tag), "Unknown");
    user_name[0] = 0;
    page_address[0] = 0;
    pic_filename_cb = nullptr;
}
