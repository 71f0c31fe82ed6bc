// The game's sounds and music (see the header).
#include "game/Sound.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/runtime/EngProgram.h"
#include "engine/sound/EngMusicPlayer_DX9.h"
#include "engine/sound/EngSound.h"
#include "game/Game.h"
#include "game/HW_Screens.h"
#include "game/HiveWatcher.h"
#include "game/Program.h"
#include "modules/Resolution.h"
#include "modules/UserClass.h"
#include "screens/UserScreens.h"

#include <cstdio>
#include <cstring>
#include <new>

EngSound *sound_slots[SOUND_SLOTS];
_SndMusic sound_music[SOUND_MUSIC_RECORDS];
_SoundRecorder sound_recorder;

namespace {

// Set by SoundMarkMusicForRestart.
char music_marked_for_restart = 0;

const char *const kSongFiles[SOUND_MUSIC_RECORDS] = {"Data/1595.dat", "Data/1596.dat", "Data/1597.dat"};

// The loaded player's options; null without a game object. While no player
// is loaded the game's record is zeroed, so every switch reads off.
_UserOptions *Options()
{
    return main_game ? main_game->GetUserOptions() : nullptr;
}

bool SoundsOn()
{
    const _UserOptions *options = Options();
    return options && options->sounds_on;
}

void RequestStop(_SndMusic *music)
{
    if (music->playing)
        music->stop_requested = 1;
}

void DeleteSlot(int id)
{
    delete sound_slots[id];
    sound_slots[id] = nullptr;
}

EngSound *LoadSlot(const char *file)
{
    return new (std::nothrow) EngSound(file, 0, nullptr);
}

// Player screens, menus, the two end scenes or the play.
enum Moment { MOMENT_PLAYER_SCREENS, MOMENT_MENUS, MOMENT_GAME_OVER, MOMENT_GAME_WON, MOMENT_PLAY };

Moment CurrentMoment()
{
    HW_Screens *screens = main_game ? main_game->GetScreens() : nullptr;
    if (screens && screens->GetUserScreens()->IsUserScreenOn())
        return MOMENT_PLAYER_SCREENS;
    if (screens && screens->IsOn())
        return MOMENT_MENUS;
    if (play_game_over)
        return MOMENT_GAME_OVER;
    if (play_game_won)
        return MOMENT_GAME_WON;
    return MOMENT_PLAY;
}

// The main song where the player wants it at this moment (never_when is the
// "when" choice that keeps it off here), else faded out.
void MainMusicUnless(unsigned char never_when)
{
    const _UserOptions *options = Options();
    if (!options || !options->main_music_on || options->main_music_when == never_when)
        SoundStopMainMusic();
    else
        SoundStartMainMusic();
}

} // namespace

void SoundInitSlots()
{
    for (EngSound *&slot : sound_slots)
        slot = nullptr;
    for (int i = 0; i < SOUND_MUSIC_RECORDS; i++) {
        sound_music[i] = _SndMusic{};
        sound_music[i].index = static_cast<uint8_t>(i);
    }
}

char SoundInit()
{
    char sample[32];
    snprintf(sample, sizeof(sample), "%s0%s", "Data/140", ".dat");
    _ResolutionSettings *settings = ResolutionGetSettings();
    if (!settings->sound_on)
        return 1;
    if (!EngSoundInit(ESS_DIRECTSOUND, 0, 0, 0, sample, SOUND_SLOTS)) {
        DebugError("SoundInit", "EngSoundInit() Failed - turning off sound");
        settings->sound_on = 0;
        return 0;
    }
    SoundLoadGameSounds();
    return 1;
}

void SoundLoadGameSounds()
{
    if (sound_slots[0]) {
        DebugErrorCode("SoundLoadGameSounds", 'ALEX');
        SoundFreeAll();
    }
    char file[32];
    for (int kind = 0; kind < 9; kind++) {
        const struct {
            int slot;
            const char *prefix;
        } groups[] = {{kind, "Data/140"}, {9 + kind, "Data/150"}};
        for (const auto &group : groups) {
            DeleteSlot(group.slot);
            snprintf(file, sizeof(file), "%s%d%s", group.prefix, kind, ".dat");
            if (EngFileExists(file, 0))
                sound_slots[group.slot] = LoadSlot(file);
        }
    }
    for (int id = 18; id < SOUND_SLOTS; id++) {
        DeleteSlot(id);
        snprintf(file, sizeof(file), "Data/%d.dat", 1580 + id - 18);
        sound_slots[id] = LoadSlot(file);
    }

    const struct {
        uint8_t start_at_target;
        float fade_in_rate;
        float fade_out_rate;
    } fixed[SOUND_MUSIC_RECORDS] = {{0, 1.0f, 1.0f}, {0, 3.0f, 0.5f}, {1, 1.0f, 1.0f}};
    _UserOptions *options = Options();
    for (int i = 0; i < SOUND_MUSIC_RECORDS; i++) {
        _SndMusic &music = sound_music[i];
        music.index = static_cast<uint8_t>(i);
        music.start_at_target = fixed[i].start_at_target;
        music.fade_in_rate = fixed[i].fade_in_rate;
        music.fade_out_rate = fixed[i].fade_out_rate;
        music.loop = 1;
        music.position = nullptr;
        delete music.player;
        music.player = new (std::nothrow) EngMusicPlayer_DX9();
    }
    sound_music[SOUND_MUSIC_MAIN].target_volume = options ? options->main_music_volume : 0.0f;
    sound_music[SOUND_MUSIC_MAIN].position = options ? &options->main_music_position : nullptr;
}

void SoundFreeAll()
{
    SoundStopAllMusic(1);
    for (int id = 0; id < SOUND_SLOTS; id++)
        DeleteSlot(id);
    for (int i = 0; i < SOUND_MUSIC_RECORDS; i++) {
        delete sound_music[i].player;
        sound_music[i] = _SndMusic{};
    }
}

void SoundShutdown()
{
    SoundFreeAll();
    EngSoundClose();
}

void SoundPlay(int id)
{
    if (sound_recorder.play)
        sound_recorder.play(id);
    if (SoundsOn() && id >= 0 && id < SOUND_SLOTS && sound_slots[id])
        sound_slots[id]->Play();
}

// SoundPlay looks at the player's switch.
void SoundPlayShotSound(int kind)
{
    if (kind >= 0 && kind < 9)
        SoundPlay(kind);
}

void SoundPlayShotSound2(int kind)
{
    if (kind >= 0 && kind < 9)
        SoundPlay(9 + kind);
}

void SoundSetSlotVolume(int id)
{
    const _UserOptions *options = Options();
    if (options && id >= 0 && id < SOUND_SLOTS && sound_slots[id])
        sound_slots[id]->SetVolume(options->sounds_volume);
}

void SoundSetGameSoundsVolume()
{
    if (sound_recorder.game_sounds_volume)
        sound_recorder.game_sounds_volume();
    if (!SoundsOn())
        return;
    for (int id = 0; id < SOUND_SLOTS; id++)
        SoundSetSlotVolume(id);
}

void SoundSetMainMusicVolumeFromUser()
{
    if (const _UserOptions *options = Options())
        sound_music[SOUND_MUSIC_MAIN].target_volume = options->main_music_volume;
}

void SoundSetMusicVolume(_SndMusic *music)
{
    if (!music) {
        DebugErrorCode("SoundSetMusicVolume", 'BAPA');
        return;
    }
    if (music->playing && music->player)
        music->player->SetVolume(music->volume);
}

char SoundLoadAndPlayMusicFile(_SndMusic *music, const char *file)
{
    if (!music || !file || !file[0] || !music->player) {
        DebugErrorCode("SoundLoadAndPlayMusicFile", 'BAPA');
        return 0;
    }
    const float start_volume = music->start_at_target ? music->target_volume : 0.0f;
    SoundStopMusicNow(music);
    EngMusicPlayer_DX9 *player = music->player;
    if (!player->LoadSong(file)) {
        player->Destroy();
        DebugError("SoundLoadAndPlayMusicFile", "Could not load <%s>", file);
        return 0;
    }
    music->volume = start_volume;
    music->playing = 1;
    music->stop_requested = 0;
    player->SetVolume(0.0f);
    if (music->loop)
        player->PlayLooping();
    else
        player->Play();
    if (music->position)
        player->SetSongPosition(player->GetSongSize() * *music->position);
    SoundSetMusicVolume(music);
    return 1;
}

void SoundStopMusicNow(_SndMusic *music)
{
    if (!music) {
        DebugErrorCode("SoundStopMusicNow", 'BAPA');
        return;
    }
    if (music->playing) {
        EngMusicPlayer_DX9 *player = music->player;
        if (player && player->IsPositionBeforeEnd()) {
            const double length = player->GetSongSize();
            if (music->position && length > 0.0)
                *music->position = static_cast<float>(player->GetSongPosition() / length);
            player->Stop();
        }
        if (player)
            player->Destroy();
        music->playing = 0;
        music->volume = 0.0f;
    }
    music->stop_requested = 0;
}

void SoundStopMusic(int index)
{
    if (index < 0 || index >= SOUND_MUSIC_RECORDS) {
        DebugErrorCode("SoundStopMusic", 'BAPA');
        return;
    }
    RequestStop(&sound_music[index]);
}

void SoundStopMainMusic()
{
    SoundStopMusic(SOUND_MUSIC_MAIN);
}

void SoundStopGameOverMusic()
{
    SoundStopMusic(SOUND_MUSIC_GAME_OVER);
}

void SoundStopWinMusic()
{
    SoundStopMusic(SOUND_MUSIC_GAME_WON);
}

void SoundStopAllMusic(char now)
{
    for (_SndMusic &music : sound_music) {
        if (now)
            SoundStopMusicNow(&music);
        else
            RequestStop(&music);
    }
}

void SoundStartMainMusic()
{
    const _UserOptions *options = Options();
    if (!options || !options->main_music_on) {
        SoundStopAllMusic(0);
        return;
    }
    _SndMusic *music = &sound_music[SOUND_MUSIC_MAIN];
    // A main song that is fading out is taken back up where it is.
    if (music->playing) {
        music->stop_requested = 0;
        return;
    }
    SoundStopAllMusic(0);
    music->target_volume = options->main_music_volume;
    if (!SoundLoadAndPlayMusicFile(music, kSongFiles[SOUND_MUSIC_MAIN]))
        DebugErrorCode("SoundStartMainMusic", 'OPFA');
}

namespace {

// The game-over and game-won songs: the volume from the player, started
// when switched on and not playing yet, faded out when switched off.
void StartSceneMusic(int index, unsigned char on, float volume, const char *where)
{
    _SndMusic *music = &sound_music[index];
    music->target_volume = volume;
    if (on && !music->playing) {
        SoundStopAllMusic(0);
        if (!SoundLoadAndPlayMusicFile(music, kSongFiles[index]))
            DebugErrorCode(where, 'OPFA');
    } else if (!on && music->playing) {
        RequestStop(music);
    }
}

} // namespace

void SoundStartGameOverMusic()
{
    const _UserOptions *options = Options();
    if (options)
        StartSceneMusic(SOUND_MUSIC_GAME_OVER, options->game_over_music_on, options->game_over_music_volume,
                        "SoundStartGameOverMusic");
}

void SoundStartWinMusic()
{
    const _UserOptions *options = Options();
    if (options)
        StartSceneMusic(SOUND_MUSIC_GAME_WON, options->game_won_music_on, options->game_won_music_volume,
                        "SoundStartWinMusic");
}

void SoundUpdateMusicForCurrentState()
{
    if (sound_recorder.music_update)
        sound_recorder.music_update();
    const _UserOptions *options = Options();
    switch (CurrentMoment()) {
    case MOMENT_PLAYER_SCREENS:
        SoundStopAllMusic(0);
        break;
    case MOMENT_MENUS:
        SoundStopGameOverMusic();
        SoundStopWinMusic();
        MainMusicUnless(2);
        break;
    case MOMENT_GAME_OVER:
        SoundStopMainMusic();
        SoundStopWinMusic();
        if (options && options->game_over_music_on)
            SoundStartGameOverMusic();
        else
            SoundStopGameOverMusic();
        break;
    case MOMENT_GAME_WON:
        SoundStopMainMusic();
        SoundStopGameOverMusic();
        if (options && options->game_won_music_on)
            SoundStartWinMusic();
        else
            SoundStopWinMusic();
        break;
    case MOMENT_PLAY:
        SoundStopGameOverMusic();
        SoundStopWinMusic();
        MainMusicUnless(1);
        break;
    }
}

void SoundMusicTick()
{
    const float frame_time = eng_main_frame_time;
    for (_SndMusic &music : sound_music) {
        if (music.playing && !music.stop_requested) {
            if (music.volume < music.target_volume) {
                if (music.volume == 0.0f)
                    music.volume = 0.001f;
                else
                    music.volume += 0.2f * music.fade_in_rate * frame_time;
                if (music.volume > music.target_volume)
                    music.volume = music.target_volume;
                SoundSetMusicVolume(&music);
            } else if (music.volume > music.target_volume) {
                music.volume -= 0.2f * music.fade_out_rate * frame_time;
                if (music.volume < music.target_volume)
                    music.volume = music.target_volume;
                SoundSetMusicVolume(&music);
            }
        } else if (music.stop_requested) {
            if (music.volume > 0.0f) {
                music.volume -= 0.2f * music.fade_out_rate * frame_time;
                if (music.volume < 0.0f)
                    music.volume = 0.0f;
                SoundSetMusicVolume(&music);
            } else {
                SoundStopMusicNow(&music);
            }
        }
    }
}

void SoundMarkMusicForRestart()
{
    music_marked_for_restart = 1;
}

char SoundIsMusicMarkedForRestart()
{
    return music_marked_for_restart;
}

void SoundResetForTests()
{
    SoundFreeAll();
    SoundInitSlots();
    sound_recorder = _SoundRecorder{};
    music_marked_for_restart = 0;
}
