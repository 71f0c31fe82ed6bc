// The player profile: the 660-byte record _UserInfo (name, country, a
// random id, the game's options and the progress in each garden), the one
// current player that the game keeps (UserClass), and the player's file,
// "<name>.usr" in the "Users" folder of the per-user folder, which holds the
// record whole: plain (660 bytes) or as the engine's enciphered block
// (16 + 660 bytes).
//
// Names are the program's 1252 text; the file layer turns them into the
// system's form. A record is checked before it is used: of the wrong size,
// another version, with a text that does not end within its field or an id
// the game never gives, it is refused and the current player stays as it
// was; an option out of its range is brought into it. A loaded record takes
// the name of the file it came from. Files are written whole or not at all (ModulesFiles.h), and
// deleting a player (not resetting one) also deletes its saved games.
// Every failure is reported through the error reporter and answered false.
// Main thread only.
#pragma once

#include <cstddef>

class Game;
class Account;

enum {
    USER_INFO_SIZE = 660,
    USER_NAME_SIZE = 20,
    USER_COUNTRY_SIZE = 4,
    USER_GAME_VERSION_SIZE = 10,
    USER_GARDENS = 4,
    // The buffer UserGetUserFileName fills.
    USER_FILENAME_SIZE = 1025,
};

// How the player's file is read and written.
enum _UserFileMode {
    UFM_PLAIN = 0,
    UFM_ENCIPHERED = 1,
    UFM_ENCIPHERED_OR_PLAIN = 2, // enciphered, read plain when that fails
};

struct _UserGardenProgress {
    unsigned char unlocked_difficulty; // 0 "NORMAL" only, 1 also "TOUGH", 2 also "EXTREME"
    unsigned char chosen_difficulty;
    unsigned char wins_toward_unlock;  // 0 to 3
    unsigned char reserved[16];
};

// The options block, record offsets 40 to 591 (the comments give them).
struct _UserOptions {
    unsigned char reserved_40[16];
    unsigned char sounds_on;              // 56
    unsigned char pad_57[3];
    float sounds_volume;                  // 60
    unsigned char main_music_on;          // 64
    unsigned char main_music_when;        // 65: 0 "Always", 1 "Menus Only", 2 "Game Only"
    unsigned char pad_66[2];
    float main_music_volume;              // 68
    float main_music_position;            // 72: fraction of the track, 0 to 1
    unsigned char game_over_music_on;     // 76
    unsigned char pad_77[3];
    float game_over_music_volume;         // 80
    unsigned char game_won_music_on;      // 84
    unsigned char pad_85[3];
    float game_won_music_volume;          // 88
    unsigned char reserved_92[16];
    _UserGardenProgress gardens[USER_GARDENS]; // 108
    unsigned char reserved_184[228];
    unsigned char tutorial_hints;         // 412
    unsigned char reserved_413[64];
    unsigned char scores_garden;          // 477
    unsigned char scores_online;          // 478
    unsigned char scores_range;           // 479
    unsigned char scores_list_flag;       // 480
    unsigned char scores_auto_update;     // 481
    unsigned char scores_auto_update_asked; // 482
    unsigned char reserved_483[17];
    unsigned char show_startup_window;    // 500
    unsigned char notice_showings_left;   // 501
    unsigned char always_load;            // 502
    unsigned char date_format;            // 503: 0 "MM/DD/YY", 1 "DD/MM/YY"
    unsigned char cpu_usage;              // 504: 0 "High", 1 "Low"
    unsigned char reserved_505[3];
    int load_count;                       // 508
    unsigned char reserved_512[80];
};

struct _UserInfo {
    float file_version;                        // 0: always 2.0
    char game_version[USER_GAME_VERSION_SIZE]; // 4: program version x 1000 as text
    char name[USER_NAME_SIZE];                 // 14
    char country[USER_COUNTRY_SIZE];           // 34: two letters
    unsigned short player_id;                  // 38: 1 to 30000
    _UserOptions options;                      // 40
    short current_ad;                          // 592: -1 none yet
    unsigned char reserved_594[66];
};

static_assert(sizeof(_UserGardenProgress) == 19, "garden progress is 19 bytes");
static_assert(sizeof(_UserOptions) == 552, "the options block is 552 bytes");
static_assert(sizeof(_UserInfo) == USER_INFO_SIZE, "the player record is 660 bytes");
static_assert(offsetof(_UserInfo, game_version) == 4, "layout");
static_assert(offsetof(_UserInfo, name) == 14, "layout");
static_assert(offsetof(_UserInfo, country) == 34, "layout");
static_assert(offsetof(_UserInfo, player_id) == 38, "layout");
static_assert(offsetof(_UserInfo, options) == 40, "layout");
static_assert(offsetof(_UserInfo, current_ad) == 592, "layout");
static_assert(40 + offsetof(_UserOptions, sounds_on) == 56, "layout");
static_assert(40 + offsetof(_UserOptions, sounds_volume) == 60, "layout");
static_assert(40 + offsetof(_UserOptions, main_music_when) == 65, "layout");
static_assert(40 + offsetof(_UserOptions, main_music_position) == 72, "layout");
static_assert(40 + offsetof(_UserOptions, game_won_music_volume) == 88, "layout");
static_assert(40 + offsetof(_UserOptions, gardens) == 108, "layout");
static_assert(40 + offsetof(_UserOptions, tutorial_hints) == 412, "layout");
static_assert(40 + offsetof(_UserOptions, scores_garden) == 477, "layout");
static_assert(40 + offsetof(_UserOptions, scores_auto_update_asked) == 482, "layout");
static_assert(40 + offsetof(_UserOptions, show_startup_window) == 500, "layout");
static_assert(40 + offsetof(_UserOptions, cpu_usage) == 504, "layout");
static_assert(40 + offsetof(_UserOptions, load_count) == 508, "layout");

class UserClass {
public:
    // A program name must be ASCII letters and digits (or null).
    UserClass(Game *game, const char *program_name, char remember_last_player, char file_mode);
    ~UserClass();
    UserClass(const UserClass &) = delete;
    UserClass &operator=(const UserClass &) = delete;

    void UnloadUser();
    _UserInfo *GetInfo() { return m_info; }
    int GetInfoSize() const { return USER_INFO_SIZE; }
    char IsLoaded() const { return m_loaded; }
    Account *GetAccount() { return m_account; }

    // A new record in memory only; its file is made by FinishLoading.
    char CreateNewUser(const char *name, const char *country, char unused);
    // With check_only the player object is left as it is.
    char LoadUser(const char *name, char check_only, char *out_always_load, char *out_country);
    char Save(char stamp_version);
    // After a load or creation: a new player is saved, then the game and
    // the player screens take their steps.
    void FinishLoading(char is_new, char quiet);
    char DoesUserFileExist(const char *name);
    void AlwaysLoadThisUser(char unused);
    // The record's game version (null: the own record) as a number: "2010"
    // gives 2.01; 0 when there is none.
    float GetGameVersion(const _UserInfo *record);
    char SaveAccount(char do_it);

private:
    void SetDefaultOptions();
    void StampGameVersion();
    void ReplaceAccount();

    Game *m_game;
    char *m_program_name;
    _UserInfo *m_info;
    char m_loaded;
    char m_remember_last_player;
    char m_file_mode;
    Account *m_account;
};

void UserSetDefaultGameOptions(Game *game, _UserInfo *record);
// Whether UserGetUserFileName makes a file name of name: 1 to 20
// characters that keep the file inside the Users folder.
char UserIsNameUsableForFile(const char *name);
// "<Users folder>\<name>.usr", or the suffix in place of ".usr", into out
// (USER_FILENAME_SIZE bytes). An empty name gives "" (reported); a name of
// more than 20 characters gives null.
char *UserGetUserFileName(const char *name, char *out, const char *suffix);
// Moves every "<old>.<ext>" file of the Users folder to "<new>.<ext>".
char UserRenameUser(const char *old_name, const char *new_name);
// With reset_only the ".usr" file alone; otherwise every "<name>.<ext>" file
// and the player's saved games.
char UserDeleteUser(const char *name, char reset_only);
