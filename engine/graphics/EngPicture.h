// A layered, animated picture described by a JSON picture description
// (".ttx" by convention). The description names texture files and arranges
// them in sets; each set is a sequence of stages, and a stage says which
// texture to draw where, how it moves, turns, fades, throbs and scrolls its
// texture coordinates. All sets are drawn on top of each other in set order,
// each showing its current stage.
//
// EngPicture.cpp reads descriptions and makes the textures;
// EngPictureAnimation.cpp moves the stages each frame and draws them.
//
// Description keys (one JSON object):
//   "Textures"  [{"Path": "", "Filename": "x.png"}, ...]        required
//   "Draw Area" [x, y, w, h] in 640 x 480 units        default 0, 0, 640, 480
//   "Sets"      [{"Name": "", "Stages": [stage, ...]}, ...]   or
//   "Layers"    [{"Name": "", stage keys...}, ...]     (a set of one stage)
// Stage keys: "TexNum", "Alpha Level", "Alpha Throb On", "Alpha Throb Min
// Level", "Alpha Throb Speed", "Alpha Throb Mult" are required; "Locks",
// "Main Area", "Trans Type", "Trans Speeds", "Trans End Area", "Trans Random
// Area", "RotFlags", "RotValues", "Show", "Alpha Blend Type", "Alpha Times",
// "TC Default", "TC TC", "TC Tile", "TC Move", "TC Speed" are optional (a
// layer has no "Locks" and no "Alpha Times"). Areas are fractions of the
// draw area: (0, 0, 1, 1) covers it whole.
#pragma once

#include "engine/core/EngMath.h"

class EngTexture;

enum {
    ENG_PICTURE_PATH_SIZE = 512,
    ENG_PICTURE_FILENAME_SIZE = 64,
    ENG_PICTURE_SET_NAME_SIZE = 32,
    // Room for a composed file name, and for the hook's answer.
    ENG_PICTURE_FULL_NAME_SIZE = 1024,
};

// Check bytes of a set and of a stage.
enum {
    ENG_PICTURE_SET_CHECK = 'e',
    ENG_PICTURE_STAGE_CHECK = 'f',
};

// Lock numbers: a stage other than a set's first takes that group from the
// set's first stage.
enum {
    ENG_PICTURE_LOCK_POS = 0,
    ENG_PICTURE_LOCK_ROT = 1,
    ENG_PICTURE_LOCK_ALPHA = 2,
    ENG_PICTURE_LOCK_TC = 3,
    ENG_PICTURE_NUM_LOCKS = 4,
};

// Transition types.
enum {
    EPTT_NONE = 0,
    EPTT_LOOP = 1,
    EPTT_BACK_AND_FORTH = 2,
    EPTT_EASED_BACK_AND_FORTH = 3,
    EPTT_RANDOM_POSITION = 4,
};

// Rotation types; 4 and above ease back and forth.
enum {
    EPRT_FIXED = 0,
    EPRT_LOOP = 1,
    EPRT_SPIN = 2,
    EPRT_BACK_AND_FORTH = 3,
    EPRT_EASED_BACK_AND_FORTH = 4,
};

struct _EngPictureTexture {
    char path[ENG_PICTURE_PATH_SIZE];         // "" takes the picture's folder
    char filename[ENG_PICTURE_FILENAME_SIZE];
    EngTexture *texture;                      // owned; made by CreateGraphics
};

struct _EngPictureStagePos {
    _Dimension main_area;
    char trans_type;
    float trans_speeds[2]; // multiplied: progress per second
    _Dimension end_area;
    _Dimension random_area;
};

struct _EngPictureStageRot {
    char on;
    char type;
    float start_angle; // degrees
    float end_angle;
    float speed;
    float speed_mult;
};

struct _EngPictureStageAlpha {
    char show;
    // Seconds: fade-in, fade-out, hold and gap; their sum is the duration.
    float fade_in_time;
    float fade_out_time;
    float hold_time;
    float gap_time;
    float level;
    char blend_type;
    char throb_on;
    float throb_min_level;
    float throb_speed;
    float throb_mult;
};

// Texture coordinates of the quad's top-left and bottom-right corners.
struct _EngPictureTexCoords {
    float left, top, right, bottom;
};

struct _EngPictureStageTC {
    char tc_default; // start at (0, 0, tile x, tile y) and wrap when moving
    _EngPictureTexCoords tc;
    _Vector2d tile;
    char move;
    _Vector2d speed;
};

// Run-time state of a stage's position and rotation.
struct _EngPictureStagePosVars {
    float progress; // 0 to 1 along the transition
    char direction; // +1 or -1
    _Dimension area;
    float random_x, random_y;
    float angle; // degrees
    float eased_rot_progress;
    char rot_direction; // +1 or -1
};

// Run-time state of a stage's opacity.
struct _EngPictureStageAlphaVars {
    float duration;
    float fade_in_time;
    float fade_out_time;
    float hold_time;
    float gap_time;
    float throb_value; // 0 to 1 once ticked
    float throb_phase;
};

struct _EngPictureStage {
    char check;
    int tex_num; // -1 draws nothing
    char locks[ENG_PICTURE_NUM_LOCKS];
    _EngPictureStagePos pos;
    _EngPictureStageRot rot;
    _EngPictureStageAlpha alpha;
    _EngPictureStageTC tc;
    _EngPictureStagePosVars pos_vars;
    _EngPictureStageAlphaVars alpha_vars;
    _EngPictureTexCoords tc_current;
};

struct _EngPictureSet {
    char check;
    char name[ENG_PICTURE_SET_NAME_SIZE];
    _EngPictureStage *stages;
    int num_stages;
    int current_stage;
    double start_time; // program time at which the current stage began
    char time_mode;    // always 0
};

// Maps a texture named in a description to the file to open: called with the
// texture's folder (the picture's when the texture gives none; may be null),
// its file name, and out with room for out_size characters. Writes the file
// name into out and answers true; false or an empty out fails the texture.
typedef char (*EngPictureTextureFileCB)(const char *folder, const char *filename, char *out, int out_size);

// Installs the program-wide hook; null removes it.
void EngPictureSetTextureFileOverwriteCB(EngPictureTextureFileCB hook);

class EngPicture {
public:
    EngPicture();
    ~EngPicture();
    EngPicture(const EngPicture &) = delete;
    EngPicture &operator=(const EngPicture &) = delete;

    // Reads folder/name (name alone without a folder), ".ttx" appended when
    // add_extension is set. Either the whole picture loads or it is left
    // empty. A folder given replaces the stored one; none keeps it.
    char LoadFromFile(const char *folder, const char *name, char add_extension);

    // Loads the textures that some shown stage uses; true only when none
    // failed. Stages whose texture failed draw nothing.
    char CreateGraphics();
    void DestroyGraphics();
    char AreGraphicsCreated() const { return m_created; }

    // DestroyGraphics, ClearSetsAndTextures, and the folder freed.
    void Destroy();
    // Sets and textures cleared, draw area back to the whole virtual screen.
    void Reset();
    // Null or empty clears the stored folder.
    char SetPath(const char *folder);
    const char *GetPath() const { return m_folder; }

    int GetNumSets() const { return m_num_sets; }
    // Null with a report for a bad number or a set without stages.
    _EngPictureSet *GetSet(int num);
    int GetNumTextures() const { return m_num_textures; }
    _EngPictureTexture *GetTexture(int num);
    const _Dimension *GetDrawArea() const { return &m_draw_area; }

    // Building blocks of loading.
    char AllocTexture();
    char AddSet();
    char AddStage(_EngPictureSet *set);
    char IsSetOk(_EngPictureSet *set, char check_only);
    void ClearSetStages(_EngPictureSet *set);
    void ClearSetsAndTextures();

    // Animation and drawing (EngPictureAnimation.cpp).
    // Current stage 0, begun now.
    void ResetSetVars(int set);
    // The initial run-time state that loading gives every stage.
    void ResetStageVars(_EngPictureStage *stage);
    void ResetStageTimeVars(const _EngPictureStageAlpha *alpha, _EngPictureStageAlphaVars *vars);
    void ResetTextureCoordinates(const _EngPictureStageTC *tc, _EngPictureTexCoords *current);
    // A new random target, for random-position transitions only.
    void MoveToNextRandomPosition(const _EngPictureStagePos *pos, _EngPictureStagePosVars *vars);
    void TickCalcStageTransArea(const _EngPictureStagePos *pos, _EngPictureStagePosVars *vars,
                                const _EngPictureStageAlphaVars *alpha_vars);
    // Advances every set by the frame time times speed; stages change on
    // program time.
    void Tick(float speed);
    // The set's current stage as one quad inside the draw area, its opacity
    // multiplied by alpha.
    void DrawSet(int set, float alpha);
    void DrawAllSets();
    void DrawAllSetsWithAlpha(float alpha);
    // In 640 x 480 virtual units; null is ignored.
    void SetDrawArea(const _Dimension *area);
    void SetDrawAreaToSize(float x, float y, float w, float h);

private:
    char ReadDescription(const char *file_name);
    char LoadTexture(int num);
    char IsTextureShown(int num) const;

    char *m_folder;
    char m_created;
    _EngPictureTexture *m_textures;
    int m_num_textures;
    _EngPictureSet *m_sets;
    int m_num_sets;
    _Dimension m_draw_area;
};

// The hook back as at start, for tests.
void EngPictureResetForTests();
