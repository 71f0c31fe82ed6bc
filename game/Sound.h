// The game's sounds and music. Twenty-six sound effects played by number:
// the firing (0 to 8) and hit (9 to 17) sounds of the weapon types, then
// upgrade, full upgrade, placing starts, weapon placed, bug killed, bug at
// the end, level complete and one step of the game-won accounting (18 to
// 25). Three songs (main, game over, game won), each in its own record,
// started, faded in and out and stopped so that the right one plays for the
// moment: none on the player screens, the main song in the menus and/or in
// play as the player chose, the game-over and game-won songs in their
// scenes. Switches and volumes come from the loaded player's options; the
// start-up settings' sound switch decides whether sound starts at all.
//
// Failures: no sound device logs "EngSoundInit() Failed - turning off
// sound", clears the settings' sound switch and leaves the game silent; a
// missing shot sound leaves its slot empty; a song that does not load logs
// "Could not load <file>" and its music stays off.
#pragma once

#include <cstdint>

class EngMusicPlayer_DX9;
class EngSound;

enum {
    SOUND_SLOTS = 26,
    SOUND_MUSIC_RECORDS = 3,
};

// Sound numbers the game plays besides the shot sounds.
enum _SoundId {
    SOUND_UPGRADE = 18,
    SOUND_FULL_UPGRADE = 19,
    SOUND_PLACING_STARTS = 20,
    SOUND_WEAPON_PLACED = 21,
    SOUND_BUG_KILLED = 22,
    SOUND_BUG_AT_END = 23,
    SOUND_LEVEL_COMPLETE = 24,
    SOUND_GAME_WON_STEP = 25,
};

enum _SoundMusicIndex {
    SOUND_MUSIC_MAIN = 0,
    SOUND_MUSIC_GAME_OVER = 1,
    SOUND_MUSIC_GAME_WON = 2,
};

struct _SndMusic {
    uint8_t index;
    uint8_t start_at_target;   // a new song starts at the target volume instead of 0
    float fade_in_rate;
    float fade_out_rate;
    uint8_t loop;
    uint8_t playing;           // a song is loaded and playing
    uint8_t stop_requested;    // fade out, then stop
    float volume;              // 0..1, what the player is set to
    float target_volume;       // 0..1
    // Where the song's position is kept when it stops, as a fraction of its
    // length, and resumed from; null for none.
    float *position;
    EngMusicPlayer_DX9 *player;
};

extern EngSound *sound_slots[SOUND_SLOTS];
extern _SndMusic sound_music[SOUND_MUSIC_RECORDS];

void SoundInitSlots();
// True without sound (switched off in the settings): the game goes on silent.
char SoundInit();
void SoundLoadGameSounds();
void SoundShutdown();
void SoundFreeAll();

void SoundPlay(int id);
// The firing (sound kind) and hit (sound 9 + kind) sounds of weapon types 0 to 8.
void SoundPlayShotSound(int kind);
void SoundPlayShotSound2(int kind);
void SoundSetSlotVolume(int id);
void SoundSetGameSoundsVolume();

void SoundSetMainMusicVolumeFromUser();
void SoundSetMusicVolume(_SndMusic *music);
char SoundLoadAndPlayMusicFile(_SndMusic *music, const char *file);
void SoundStopMusicNow(_SndMusic *music);
// Asks the record (0 to 2) to fade out and stop.
void SoundStopMusic(int index);
void SoundStopMainMusic();
void SoundStopGameOverMusic();
void SoundStopWinMusic();
// now: stop at once; otherwise fade out.
void SoundStopAllMusic(char now);
void SoundStartMainMusic();
void SoundStartGameOverMusic();
void SoundStartWinMusic();
// Chooses the song for the moment: the player screens, the menus, the
// game-over scene, the game-won scene or the play.
void SoundUpdateMusicForCurrentState();
// Once per frame: fades every record towards its target, or out and stop.
void SoundMusicTick();
// Notes that the music is to start again, which only a tablet acts on (it
// loses its music when the program is sent away); the PC never reads it.
void SoundMarkMusicForRestart();
char SoundIsMusicMarkedForRestart();

// What tests watch of the game's requests: every effect asked for and every
// new volume for the effects (before the player's switch and the slots are
// looked at), and every new choice of the music. Null members record nothing.
struct _SoundRecorder {
    void (*play)(int id);
    void (*music_update)();
    void (*game_sounds_volume)();
};
extern _SoundRecorder sound_recorder;

// Everything freed and the records zeroed; the recorder emptied.
void SoundResetForTests();
