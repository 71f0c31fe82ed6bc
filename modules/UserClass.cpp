// The player record, the current player and the player files (see the header).
#include "modules/UserClass.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngEncryption.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngMath.h"
#include "engine/core/EngMemory.h"
#include "engine/core/EngMisc.h"
#include "engine/core/EngPrefs.h"
#include "modules/Account.h"
#include "modules/ModulesFiles.h"
#include "modules/ModulesHooks.h"
#include "modules/Resolution.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const float USER_FILE_VERSION = 2.0f;
const int PLAYER_ID_RANGE = 30000;
const float DEFAULT_VOLUME = 0.5f;
// Saved games are "<name>_SavedGame<garden><slot>.dat": garden 0 (any) or
// 1 to 4, slot 0 to 10.
const int SAVED_GAME_GARDENS = 5;
const int SAVED_GAME_SLOTS = 11;

bool Terminated(const char *field, size_t size) { return std::memchr(field, 0, size) != nullptr; }

// A name that stays inside the Users folder as a file name.
bool IsSafeName(const char *name)
{
    return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0 && !std::strchr(name, '/') &&
           !std::strchr(name, '\\');
}

// What a stored record must hold before any of it is used: its texts end
// within their fields and its id is one the game gives. Values with a range
// are brought into it afterwards (ClampRecord), not refused.
bool IsRecordSound(const _UserInfo &r)
{
    return Terminated(r.game_version, sizeof(r.game_version)) && Terminated(r.name, sizeof(r.name)) &&
           Terminated(r.country, sizeof(r.country) - 1) && r.player_id >= 1 && r.player_id <= PLAYER_ID_RANGE;
}

void ClampSwitch(unsigned char *value)
{
    if (*value > 1)
        *value = 1;
}

// A fraction kept to 0..1; a value that is no number takes the default.
void ClampFraction(float *value, float fallback)
{
    *value = std::isnan(*value) ? fallback : std::clamp(*value, 0.0f, 1.0f);
}

// Brings the options that have a range into it, so that one stray value
// does not cost the player the whole record. Values whose readers already
// read an out-of-range value their own way (garden progress, the Scores
// screen's choices) are left to them.
void ClampRecord(_UserInfo *r)
{
    _UserOptions &o = r->options;
    for (unsigned char *value : {&o.sounds_on, &o.main_music_on, &o.game_over_music_on, &o.game_won_music_on,
                                 &o.tutorial_hints, &o.show_startup_window, &o.always_load, &o.date_format,
                                 &o.cpu_usage})
        ClampSwitch(value);
    if (o.main_music_when > 2)
        o.main_music_when = 2;
    ClampFraction(&o.sounds_volume, DEFAULT_VOLUME);
    ClampFraction(&o.main_music_volume, DEFAULT_VOLUME);
    ClampFraction(&o.game_over_music_volume, DEFAULT_VOLUME);
    ClampFraction(&o.game_won_music_volume, DEFAULT_VOLUME);
    ClampFraction(&o.main_music_position, 0.0f);
    if (o.load_count < 0)
        o.load_count = 0;
}

// The Users folder, copied out of the folder functions' shared buffer.
void GetUsersFolder(char *out, size_t size, char create)
{
    std::snprintf(out, size, "%s", PrefFolderGetSubFolder("Users", create));
}

bool StartsWithNameAndDot(const char *file, const char *name)
{
    size_t length = std::strlen(name);
    return std::strncmp(file, name, length) == 0 && file[length] == '.';
}

// Runs action on every file of the Users folder that is "<name>.<something>";
// false when the folder cannot be listed.
template <typename Action> bool ForEachPlayerFile(const char *name, Action action)
{
    char folder[USER_FILENAME_SIZE];
    GetUsersFolder(folder, sizeof(folder), 0);
    DirList list;
    if (!list.OpenDir(folder, nullptr, nullptr))
        return false;
    if (!list.PrepareToGetFilenamesInDir()) {
        list.CloseDir();
        return false;
    }
    for (const char *file = list.GetNextFilenameInDir(); file[0]; file = list.GetNextFilenameInDir())
        if (StartsWithNameAndDot(file, name))
            action(folder, file);
    list.CleanupAfterGettingFilenamesInDir();
    list.CloseDir();
    return true;
}

void DeleteSavedGames(const char *name)
{
    char folder[USER_FILENAME_SIZE];
    GetUsersFolder(folder, sizeof(folder), 0);
    for (int garden = 0; garden < SAVED_GAME_GARDENS; garden++) {
        for (int slot = 0; slot < SAVED_GAME_SLOTS; slot++) {
            char path[USER_FILENAME_SIZE];
            std::snprintf(path, sizeof(path), "%s%s%s_SavedGame%d%d.dat", folder, "\\", name, garden, slot);
            if (EngFileExists(path, 0))
                EngFileDelete(path, 1);
        }
    }
}

float ProgramVersion()
{
    if (modules_hooks.get_program_version)
        return modules_hooks.get_program_version();
    DebugError("UserClass", "Program version not connected");
    return 0.0f;
}

} // namespace

UserClass::UserClass(Game *game, const char *program_name, char remember_last_player, char file_mode)
    : m_game(game), m_program_name(nullptr), m_info(nullptr), m_loaded(0),
      m_remember_last_player(remember_last_player), m_file_mode(file_mode), m_account(nullptr)
{
    const char *where = "UserClass::UserClass";
    if (program_name) {
        DebugCheckFatal(EngMiscIsStringAlphanumeric(program_name, 0, 0, 0, 0), where, "%s", DebugGetCodeText('BAPA'));
        m_program_name = EngMallocStringFromString(program_name, 0, where);
        DebugCheckFatal(m_program_name != nullptr, where, "%s", DebugGetCodeText('OMEM'));
    }
    m_info = static_cast<_UserInfo *>(EngMalloc(USER_INFO_SIZE, where, 1));
    DebugCheckFatal(m_info != nullptr, where, "No memory for user");
}

UserClass::~UserClass()
{
    UnloadUser();
    EngFree(m_info, 0, "UserClass::~UserClass");
    EngFree(m_program_name, 0, "UserClass::~UserClass");
}

void UserClass::UnloadUser()
{
    delete m_account;
    m_account = nullptr;
    if (m_info)
        std::memset(m_info, 0, USER_INFO_SIZE);
    m_loaded = 0;
}

void UserClass::ReplaceAccount()
{
    delete m_account;
    m_account = new Account(m_game, m_program_name);
}

void UserClass::StampGameVersion()
{
    int version = EngMathRoundFloatToInt(ProgramVersion() * 1000.0f);
    std::snprintf(m_info->game_version, sizeof(m_info->game_version), "%d", version);
}

void UserClass::SetDefaultOptions()
{
    std::memset(&m_info->options, 0, sizeof(m_info->options));
    StampGameVersion();
    UserSetDefaultGameOptions(m_game, m_info);
    if (GetGameVersion(nullptr) <= 0.0f)
        DebugErrorCode("UserClass::SetDefaultOptions", 'IERR');
    delete m_account;
    m_account = nullptr;
}

char UserClass::CreateNewUser(const char *name, const char *country, char)
{
    if (!name || std::strlen(name) > USER_NAME_SIZE || !country || std::strlen(country) > 3) {
        DebugError("UserClass::CreateNewUser", "Invalid name or country");
        EngMiscQuitMainLoop();
        return 0;
    }
    SetDefaultOptions();
    m_info->file_version = USER_FILE_VERSION;
    m_info->player_id = static_cast<unsigned short>(EngMiscRand() % PLAYER_ID_RANGE + 1);
    EngSafeStrcpy(m_info->name, name, sizeof(m_info->name));
    EngSafeStrcpy(m_info->country, country, 3);
    ReplaceAccount();
    m_loaded = 1;
    return 1;
}

char UserClass::LoadUser(const char *name, char check_only, char *out_always_load, char *out_country)
{
    const char *where = "UserClass::LoadUser";
    if (!name || !name[0]) {
        DebugError(where, "No name");
        return 0;
    }
    char path[USER_FILENAME_SIZE];
    if (!UserGetUserFileName(name, path, nullptr))
        return 0;
    if (!EngFileExists(path, 0)) {
        if (!check_only)
            DebugError(where, "User file does not exist <%s>", name);
        return 0;
    }

    // Read beside the record, so that a refused file changes nothing.
    _UserInfo read;
    std::memset(&read, 0, sizeof(read));
    bool ok;
    if (m_file_mode == UFM_PLAIN) {
        EngFile file;
        if (!file.OpenForReadingQuietly(path, 0))
            return 0;
        if (file.GetSize() != USER_INFO_SIZE) {
            file.Close();
            DebugError(where, "Invalid user size (%s)", name);
            return 0;
        }
        ok = file.Read(&read, USER_INFO_SIZE, 1);
        file.Close();
        if (!ok)
            return 0;
    } else {
        ok = EngEncryptionIsFileSizeOk(path, USER_INFO_SIZE) &&
             EngEncryptionReadFromFileAndDecrypt(path, &read, USER_INFO_SIZE);
        if (!ok && m_file_mode == UFM_ENCIPHERED_OR_PLAIN)
            ok = EngFileGetFileSize(path, 0) == USER_INFO_SIZE &&
                 EngFileOpenReadAndClose(path, 0, &read, USER_INFO_SIZE) && read.file_version == USER_FILE_VERSION;
    }
    if (ok && read.file_version != USER_FILE_VERSION) {
        DebugNoteWithName(0, where, "Invalid version in user file (%f not %f) (%s)", read.file_version,
                          USER_FILE_VERSION, name);
        return 0;
    }
    // The name must fit the record: a player is kept under its file's name.
    if (!ok || !IsRecordSound(read) || std::strlen(name) >= USER_NAME_SIZE) {
        if (check_only)
            DebugNoteWithName(0, where, "Could not load user file (%s)", name);
        else
            DebugError(where, "Could not load user file (%s)", name);
        return 0;
    }
    ClampRecord(&read);
    // A copied or renamed file still names the player it was made for: the
    // file's own name wins, so the player's saves go back to this file.
    std::memset(read.name, 0, sizeof(read.name));
    EngSafeStrcpy(read.name, name, sizeof(read.name));

    if (out_always_load)
        *out_always_load = static_cast<char>(read.options.always_load);
    if (out_country)
        EngSafeStrcpy(out_country, read.country, 3);
    if (check_only)
        return 1;

    std::memcpy(m_info, &read, sizeof(read));
    m_loaded = 1;
    ReplaceAccount();
    m_account->LoadFromUserFile(name);
    // Written back in the current mode: a plain record is enciphered from now
    // on. The save also names this player as the one to continue with, which
    // stays on disk while the player is loaded, so a crash does not forget it.
    Save(0);
    return 1;
}

char UserClass::Save(char stamp_version)
{
    const char *where = "UserClass::Save";
    if (!m_loaded || !m_info)
        return 0;
    if (m_account && m_account->IsSignedIn() && std::strcmp(m_account->GetName(), m_info->name) != 0 &&
        UserRenameUser(m_info->name, m_account->GetName())) {
        EngSafeStrcpy(m_info->name, m_account->GetName(), sizeof(m_info->name));
        EngSafeStrcpy(m_info->country, m_account->GetCountry(), 3);
    }
    char path[USER_FILENAME_SIZE];
    if (!UserGetUserFileName(m_info->name, path, nullptr) || !path[0]) {
        DebugError(where, "Could not set filename");
        return 0;
    }
    if (m_remember_last_player) {
        EngSafeStrcpy(ResolutionGetSettings()->player_name, m_info->name, RESOLUTION_PLAYER_NAME_SIZE);
        ResolutionSaveSettings();
    }
    if (stamp_version)
        StampGameVersion();

    _ModulesWriteResult result = ModulesWriteFileWhole(path, m_info, USER_INFO_SIZE, m_file_mode != UFM_PLAIN);
    if (result != MWR_OK) {
        ModulesReportWriteFailure("Problem Saving Player", MODULES_NOT_WRITTEN_TEXT, path);
        if (m_file_mode != UFM_PLAIN)
            DebugError(where, "Error writing to user file");
        else if (result == MWR_CREATE_FAILED)
            DebugError(where, "Could not create user file");
        else
            DebugError(where, "Could not write to user file");
        return 0;
    }
    if (m_account && m_account->GetName()[0])
        m_account->SaveToUserFile(m_info->name);
    return 1;
}

void UserClass::FinishLoading(char is_new, char quiet)
{
    const char *where = "UserClass::FinishLoading";
    if (is_new)
        Save(1);
    if (modules_hooks.after_user_loaded)
        modules_hooks.after_user_loaded(is_new, quiet);
    else
        DebugError(where, "Game not connected");
    if (modules_hooks.free_load_list)
        modules_hooks.free_load_list();
    if (modules_hooks.splash_end)
        modules_hooks.splash_end();
}

char UserClass::DoesUserFileExist(const char *name)
{
    if (!name || !name[0]) {
        DebugError("UserClass::DoesUserFileExist", "No name");
        return 0;
    }
    char path[USER_FILENAME_SIZE];
    return UserGetUserFileName(name, path, nullptr) && EngFileExists(path, 0);
}

void UserClass::AlwaysLoadThisUser(char)
{
    if (m_loaded && m_info->name[0] && m_info->player_id != 0)
        m_info->options.always_load = 1;
    else
        DebugError("UserClass::AlwaysLoadThisUser", "User not loaded.");
}

float UserClass::GetGameVersion(const _UserInfo *record)
{
    const char *where = "UserClass::GetGameVersion";
    if (!record)
        record = m_info;
    if (!record) {
        DebugErrorCode(where, 'NOSU');
        return 0.0f;
    }
    char text[USER_GAME_VERSION_SIZE + 1];
    std::memcpy(text, record->game_version, USER_GAME_VERSION_SIZE);
    text[USER_GAME_VERSION_SIZE] = 0;
    if (!text[0]) {
        DebugNoteWithName(0, where, "No game version set.");
        return 0.0f;
    }
    long version = std::strtol(text, nullptr, 10);
    if (version <= 0) {
        DebugErrorCode(where, 'OPFA');
        return 0.0f;
    }
    return static_cast<float>(version) / 1000.0f;
}

char UserClass::SaveAccount(char do_it)
{
    if (do_it && m_loaded && m_account && m_account->GetName()[0])
        m_account->SaveToUserFile(m_info->name);
    return 1;
}

void UserSetDefaultGameOptions(Game *, _UserInfo *record)
{
    _UserOptions &o = record->options;
    std::memset(&o, 0, sizeof(o));
    o.sounds_on = 1;
    o.sounds_volume = DEFAULT_VOLUME;
    o.main_music_on = 1;
    o.main_music_when = 1;
    o.main_music_volume = DEFAULT_VOLUME;
    o.main_music_position = 0.0f;
    o.game_over_music_on = 1;
    o.game_over_music_volume = DEFAULT_VOLUME;
    o.game_won_music_on = 1;
    o.game_won_music_volume = DEFAULT_VOLUME;
    o.tutorial_hints = 1;
    o.scores_online = 1;
    o.scores_range = 1;
    o.scores_auto_update = EngMiscIsTabletPlatform() ? 0 : 1;
    o.show_startup_window = 1;
    o.notice_showings_left = 3;
    record->current_ad = -1;
}

char UserIsNameUsableForFile(const char *name)
{
    return name && name[0] && std::strlen(name) <= USER_NAME_SIZE && IsSafeName(name);
}

char *UserGetUserFileName(const char *name, char *out, const char *suffix)
{
    const char *where = "UserGetUserFileName";
    DebugCheckFatal(out != nullptr, where, "No output buffer");
    if (!out)
        return nullptr;
    if (!name || !name[0]) {
        DebugError(where, "No name");
        out[0] = 0;
        return out;
    }
    if (!UserIsNameUsableForFile(name)) {
        DebugError(where, "Invlalid name parameter");
        out[0] = 0;
        return nullptr;
    }
    char folder[USER_FILENAME_SIZE];
    GetUsersFolder(folder, sizeof(folder), 1);
    if (suffix)
        std::snprintf(out, USER_FILENAME_SIZE, "%s%s%s%s", folder, "\\", name, suffix);
    else
        std::snprintf(out, USER_FILENAME_SIZE, "%s%s%s.usr", folder, "\\", name);
    return out;
}

char UserRenameUser(const char *old_name, const char *new_name)
{
    const char *where = "UserRenameUser";
    if (!old_name || !old_name[0] || !new_name || !new_name[0]) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    if (std::strcmp(old_name, new_name) == 0) {
        DebugError(where, "Names are the same.");
        return 0;
    }
    char old_path[USER_FILENAME_SIZE], new_path[USER_FILENAME_SIZE];
    if (!UserGetUserFileName(old_name, old_path, nullptr) || !EngFileExists(old_path, 0)) {
        DebugError(where, "Old user <%s> does not exist.", old_name);
        return 0;
    }
    if (!UserGetUserFileName(new_name, new_path, nullptr))
        return 0;
    if (EngFileExists(new_path, 0)) {
        DebugError(where, "New user <%s> exists.", new_name);
        return 0;
    }
    DebugInfo("Renaming user %s to %s", old_name, new_name);
    return ForEachPlayerFile(old_name, [&](const char *folder, const char *file) {
        const char *extension = EngMiscGetExtensionFromFilename(file);
        if (!extension || !extension[0])
            return;
        char source[USER_FILENAME_SIZE], target[USER_FILENAME_SIZE];
        std::snprintf(source, sizeof(source), "%s%s%s.%s", folder, "\\", old_name, extension);
        std::snprintf(target, sizeof(target), "%s%s%s.%s", folder, "\\", new_name, extension);
        if (EngFileExists(source, 0) && EngFileExists(target, 0))
            EngFileDelete(target, 1);
        EngFileMoveFile(source, target);
    });
}

char UserDeleteUser(const char *name, char reset_only)
{
    const char *where = "UserDeleteUser";
    if (!name || !name[0]) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    char path[USER_FILENAME_SIZE];
    if (!UserGetUserFileName(name, path, nullptr) || !EngFileExists(path, 0)) {
        DebugError(where, "User <%s> does not exist.", name);
        return 0;
    }
    if (reset_only) {
        DebugInfo("Reseting user %s", name);
        EngFileDelete(path, 1);
        return 1;
    }
    DebugInfo("Deleting user %s", name);
    bool listed = ForEachPlayerFile(name, [](const char *folder, const char *file) {
        char target[USER_FILENAME_SIZE];
        std::snprintf(target, sizeof(target), "%s%s%s", folder, "\\", file);
        EngFileDelete(target, 1);
    });
    if (!listed)
        return 0;
    // A new player of the same name must not find this one's games.
    DeleteSavedGames(name);
    return 1;
}
