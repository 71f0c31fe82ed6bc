#include "engine/graphics/EngPicture.h"
#include "engine/core/EngDebug.h"
#include "engine/core/EngFile.h"
#include "engine/core/EngJson.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngTexture.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <new>
#include <stdexcept>
#include <string>
#include <strings.h>

namespace {

typedef nlohmann::ordered_json Json;

EngPictureTextureFileCB g_texture_file_hook = nullptr;

const _Dimension WHOLE_VIRTUAL_SCREEN = {0.0f, 0.0f, 640.0f, 480.0f};
const _Dimension WHOLE_DRAW_AREA = {0.0f, 0.0f, 1.0f, 1.0f};

// A required key of the wrong kind, reported like the library's exceptions.
class DescriptionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every area, position, speed, angle, time and level of a description lies
// within this: beyond it nothing sensible is drawn, and drawing turns areas
// into whole pixels and random positions into whole steps.
const double MAX_DESCRIPTION_NUMBER = 1.0e6;

bool InDescriptionRange(double value)
{
    return std::fabs(value) <= MAX_DESCRIPTION_NUMBER;
}

std::string OutOfRangeText(const char *key)
{
    return std::string("number out of range for <") + key + ">";
}

// Required keys: absent or of the wrong type, they throw and fail the load.
double RequiredNumber(const Json &object, const char *key)
{
    const Json &value = object.at(key);
    if (!value.is_number())
        throw DescriptionError(std::string("type must be number, but is ") + value.type_name() + " for <" + key + ">");
    return value.get<double>();
}

float RequiredFloat(const Json &object, const char *key)
{
    double value = RequiredNumber(object, key);
    if (!InDescriptionRange(value))
        throw DescriptionError(OutOfRangeText(key));
    return static_cast<float>(value);
}

std::string RequiredString(const Json &object, const char *key)
{
    const Json &value = object.at(key);
    if (!value.is_string())
        throw DescriptionError(std::string("type must be string, but is ") + value.type_name() + " for <" + key + ">");
    return value.get<std::string>();
}

const Json &RequiredArray(const Json &object, const char *key)
{
    const Json &value = object.at(key);
    if (!value.is_array())
        throw DescriptionError(std::string("type must be array, but is ") + value.type_name() + " for <" + key + ">");
    return value;
}

// "TexNum": the nearest texture number (an exact half toward zero); anything
// outside the textures draws nothing.
int TextureNumber(double value, int num_textures)
{
    if (!std::isfinite(value) || value <= -2.0 || value >= num_textures + 1.0)
        return -1;
    int num = EngMathRoundDoubleToInt(value);
    return num < -1 || num >= num_textures ? -1 : num;
}

// Optional keys: an absent key keeps the field's default silently (most
// descriptions give only the keys they change); a malformed one is reported
// and the field keeps its default rather than a partly read value. A number
// out of range is reported in the same form and refused the same way.
bool Present(const Json &object, const char *key)
{
    return EngJsonDoesElementExistInObject(object, key, 0);
}

bool NumbersInRange(const char *key, std::initializer_list<float> values)
{
    for (float value : values) {
        if (!InDescriptionRange(value)) {
            DebugError("EngPicture::LoadFromFile", "json::Exception <%s>", OutOfRangeText(key).c_str());
            return false;
        }
    }
    return true;
}

void OptionalArea(const Json &object, const char *key, _Dimension *out)
{
    _Dimension value = *out;
    if (Present(object, key) && EngJsonGetDimensionFromObject(object, key, &value) && NumbersInRange(key, {value.x, value.y, value.w, value.h}))
        *out = value;
}

void OptionalVector(const Json &object, const char *key, _Vector2d *out)
{
    _Vector2d value = *out;
    if (Present(object, key) && EngJsonGetVector2dFromObject(object, key, &value) && NumbersInRange(key, {value.x, value.y}))
        *out = value;
}

void OptionalChar(const Json &object, const char *key, char *out)
{
    char value = *out;
    if (Present(object, key) && EngJsonGetCharFromObject(object, key, &value))
        *out = value;
}

void OptionalChars(const Json &object, const char *key, char *out, int count)
{
    char values[5] = {0, 0, 0, 0, 0};
    std::memcpy(values, out, count);
    if (Present(object, key) && EngJsonReadNumbersFromObject(object, key, &values[0], &values[1], &values[2], &values[3], &values[4]))
        std::memcpy(out, values, count);
}

void OptionalFloats(const Json &object, const char *key, float *out0, float *out1, float *out2, float *out3)
{
    float *outs[4] = {out0, out1, out2, out3};
    float values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; i++)
        if (outs[i])
            values[i] = *outs[i];
    if (!Present(object, key) ||
        !EngJsonReadNumbersFromObject(object, key, &values[0], &values[1], &values[2], &values[3]) ||
        !NumbersInRange(key, {values[0], values[1], values[2], values[3]}))
        return;
    for (int i = 0; i < 4; i++)
        if (outs[i])
            *outs[i] = values[i];
}

// Reads one stage's keys in the order of the description's key table; a
// layer has no "Locks" and no "Alpha Times".
void ReadStage(const Json &object, _EngPictureStage *stage, int num_textures, char is_layer)
{
    const char *where = "EngPicture::LoadFromFile";
    stage->tex_num = TextureNumber(RequiredNumber(object, "TexNum"), num_textures);
    if (!is_layer) {
        // A fifth number is allowed and ignored.
        char locks[5] = {0, 0, 0, 0, 0};
        OptionalChars(object, "Locks", locks, 5);
        std::memcpy(stage->locks, locks, ENG_PICTURE_NUM_LOCKS);
    }

    _EngPictureStagePos *pos = &stage->pos;
    pos->main_area = WHOLE_DRAW_AREA;
    OptionalArea(object, "Main Area", &pos->main_area);
    OptionalChar(object, "Trans Type", &pos->trans_type);
    if (pos->trans_type < EPTT_NONE || pos->trans_type > EPTT_RANDOM_POSITION) {
        DebugError(where, "Invalid trans type %d.", pos->trans_type);
        pos->trans_type = EPTT_NONE;
    }
    OptionalFloats(object, "Trans Speeds", &pos->trans_speeds[0], &pos->trans_speeds[1], nullptr, nullptr);
    OptionalArea(object, "Trans End Area", &pos->end_area);
    OptionalArea(object, "Trans Random Area", &pos->random_area);

    _EngPictureStageRot *rot = &stage->rot;
    char rot_flags[2] = {rot->on, rot->type};
    OptionalChars(object, "RotFlags", rot_flags, 2);
    rot->on = rot_flags[0];
    rot->type = rot_flags[1];
    OptionalFloats(object, "RotValues", &rot->start_angle, &rot->end_angle, &rot->speed, &rot->speed_mult);

    _EngPictureStageAlpha *alpha = &stage->alpha;
    OptionalChar(object, "Show", &alpha->show);
    alpha->level = RequiredFloat(object, "Alpha Level");
    OptionalChar(object, "Alpha Blend Type", &alpha->blend_type);
    if (!is_layer)
        OptionalFloats(object, "Alpha Times", &alpha->fade_in_time, &alpha->fade_out_time, &alpha->hold_time,
                       &alpha->gap_time);
    alpha->throb_on = EngJsonNumberToChar(RequiredNumber(object, "Alpha Throb On"));
    alpha->throb_min_level = RequiredFloat(object, "Alpha Throb Min Level");
    alpha->throb_speed = RequiredFloat(object, "Alpha Throb Speed");
    alpha->throb_mult = RequiredFloat(object, "Alpha Throb Mult");

    _EngPictureStageTC *tc = &stage->tc;
    OptionalChar(object, "TC Default", &tc->tc_default);
    _Dimension coords = {tc->tc.left, tc->tc.top, tc->tc.right, tc->tc.bottom};
    OptionalArea(object, "TC TC", &coords);
    tc->tc = {coords.x, coords.y, coords.w, coords.h};
    OptionalVector(object, "TC Tile", &tc->tile);
    OptionalChar(object, "TC Move", &tc->move);
    OptionalVector(object, "TC Speed", &tc->speed);
}

// "a/b" into out; false when it does not fit.
bool ComposeName(char *out, size_t size, const char *folder, const char *name, const char *extension)
{
    int length = folder ? std::snprintf(out, size, "%s/%s%s", folder, name, extension)
                        : std::snprintf(out, size, "%s%s", name, extension);
    return length >= 0 && static_cast<size_t>(length) < size;
}

// Textures with these endings keep the alpha of their file.
bool HasAlphaExtension(const char *name)
{
    size_t length = std::strlen(name);
    if (length < 5)
        return false;
    const char *ending = name + length - 4;
    return strcasecmp(ending, ".png") == 0 || strcasecmp(ending, ".tga") == 0;
}

} // namespace

void EngPictureSetTextureFileOverwriteCB(EngPictureTextureFileCB hook)
{
    g_texture_file_hook = hook;
}

void EngPictureResetForTests()
{
    g_texture_file_hook = nullptr;
}

EngPicture::EngPicture()
    : m_folder(nullptr), m_created(0), m_textures(nullptr), m_num_textures(0), m_sets(nullptr), m_num_sets(0),
      m_draw_area(WHOLE_VIRTUAL_SCREEN)
{
}

EngPicture::~EngPicture()
{
    Destroy();
}

void EngPicture::Destroy()
{
    DestroyGraphics();
    ClearSetsAndTextures();
    if (m_folder) {
        EngFree(m_folder, 0, "EngPicture::Destroy");
        m_folder = nullptr;
    }
}

void EngPicture::Reset()
{
    ClearSetsAndTextures();
    m_created = 0;
    m_draw_area = WHOLE_VIRTUAL_SCREEN;
}

char EngPicture::SetPath(const char *folder)
{
    const char *where = "EngPicture::SetPath";
    if (m_folder) {
        EngFree(m_folder, 0, where);
        m_folder = nullptr;
    }
    if (!folder || !folder[0])
        return 1;
    if (std::strlen(folder) > ENG_PICTURE_PATH_SIZE) {
        DebugError(where, "Path too long");
        return 0;
    }
    m_folder = EngMallocStringFromString(folder, 1, where);
    return m_folder != nullptr;
}

char EngPicture::LoadFromFile(const char *folder, const char *name, char add_extension)
{
    const char *where = "EngPicture::LoadFromFile";
    DestroyGraphics();
    Reset();
    if (!name || !name[0]) {
        DebugError(where, "No filename");
        return 0;
    }
    char file_name[ENG_PICTURE_FULL_NAME_SIZE];
    bool has_folder = folder && folder[0];
    if (!ComposeName(file_name, sizeof(file_name), has_folder ? folder : nullptr, name, add_extension ? ".ttx" : "")) {
        DebugError(where, "File name too long <%s>", name);
        return 0;
    }
    if (has_folder && !SetPath(folder))
        return 0;
    if (!EngFileExists(file_name, 0)) {
        DebugError(where, "File not found <%s>", file_name);
        Reset();
        return 0;
    }
    if (!ReadDescription(file_name)) {
        Reset();
        return 0;
    }
    Tick(1.0f);
    return 1;
}

char EngPicture::ReadDescription(const char *file_name)
{
    const char *where = "EngPicture::LoadFromFile";
    m_draw_area = WHOLE_VIRTUAL_SCREEN;
    Json description;
    if (!EngJsonReadObjectFromFile(&description, file_name))
        return 0;
    bool has_sets = EngJsonDoesElementExistInObject(description, "Sets", 0);
    if (!has_sets && !EngJsonDoesElementExistInObject(description, "Layers", 0)) {
        DebugError(where, "Needed elements not found file [%s]", file_name);
        return 0;
    }
    try {
        OptionalArea(description, "Draw Area", &m_draw_area);
        for (const Json &entry : RequiredArray(description, "Textures")) {
            std::string path = RequiredString(entry, "Path");
            std::string filename = RequiredString(entry, "Filename");
            if (!AllocTexture())
                return 0;
            _EngPictureTexture *texture = &m_textures[m_num_textures - 1];
            EngSafeStrcpy(texture->path, path.c_str(), sizeof(texture->path));
            EngSafeStrcpy(texture->filename, filename.c_str(), sizeof(texture->filename));
        }
        const char *kind = has_sets ? "Set" : "Layer";
        for (const Json &entry : RequiredArray(description, has_sets ? "Sets" : "Layers")) {
            if (!AddSet())
                return 0;
            int set_num = m_num_sets - 1;
            _EngPictureSet *set = &m_sets[set_num];
            EngSafeStrcpy(set->name, RequiredString(entry, "Name").c_str(), sizeof(set->name));
            if (!set->name[0])
                std::snprintf(set->name, sizeof(set->name), "%s %d", kind, set_num);
            if (has_sets) {
                for (const Json &stage : RequiredArray(entry, "Stages")) {
                    if (!AddStage(set))
                        return 0;
                    ReadStage(stage, &set->stages[set->num_stages - 1], m_num_textures, 0);
                    ResetStageVars(&set->stages[set->num_stages - 1]);
                }
            } else {
                if (!AddStage(set))
                    return 0;
                ReadStage(entry, &set->stages[0], m_num_textures, 1);
                ResetStageVars(&set->stages[0]);
            }
        }
    } catch (const std::exception &e) {
        DebugError(where, "json::Exception <%s>", e.what());
        return 0;
    }
    return 1;
}

char EngPicture::AllocTexture()
{
    const char *where = "EngPicture::AllocTexture";
    unsigned size = static_cast<unsigned>(sizeof(_EngPictureTexture)) * (m_num_textures + 1);
    if (!m_textures) {
        m_textures = static_cast<_EngPictureTexture *>(EngMalloc(size, where, 1));
        if (!m_textures) {
            DebugErrorCode(where, 'OMEM');
            m_num_textures = 0;
            return 0;
        }
    } else {
        _EngPictureTexture *grown = static_cast<_EngPictureTexture *>(EngRealloc(m_textures, size, where));
        if (!grown) {
            DebugError(where, "No memory (realloc)");
            ClearSetsAndTextures();
            return 0;
        }
        m_textures = grown;
        std::memset(&m_textures[m_num_textures], 0, sizeof(_EngPictureTexture));
    }
    m_num_textures++;
    return 1;
}

char EngPicture::AddSet()
{
    const char *where = "EngPicture::AddSet";
    unsigned size = static_cast<unsigned>(sizeof(_EngPictureSet)) * (m_num_sets + 1);
    _EngPictureSet *grown = static_cast<_EngPictureSet *>(
        m_sets ? EngRealloc(m_sets, size, where) : EngMalloc(size, where, 1));
    if (!grown)
        return 0;
    m_sets = grown;
    _EngPictureSet *set = &m_sets[m_num_sets++];
    std::memset(set, 0, sizeof(*set));
    set->check = ENG_PICTURE_SET_CHECK;
    ResetSetVars(m_num_sets - 1);
    return 1;
}

char EngPicture::AddStage(_EngPictureSet *set)
{
    const char *where = "EngPicture::AddStage";
    if (!IsSetOk(set, 1))
        return 0;
    unsigned size = static_cast<unsigned>(sizeof(_EngPictureStage)) * (set->num_stages + 1);
    _EngPictureStage *grown = static_cast<_EngPictureStage *>(
        set->stages ? EngRealloc(set->stages, size, where) : EngMalloc(size, where, 1));
    if (!grown)
        return 0;
    set->stages = grown;
    _EngPictureStage *stage = &set->stages[set->num_stages++];
    std::memset(stage, 0, sizeof(*stage));
    stage->check = ENG_PICTURE_STAGE_CHECK;
    stage->tex_num = -1;
    return 1;
}

char EngPicture::IsSetOk(_EngPictureSet *set, char check_only)
{
    const char *where = "EngPicture::IsSetOk";
    if (!set) {
        DebugErrorCode(where, 'BAPA');
        return 0;
    }
    if (set->check != ENG_PICTURE_SET_CHECK) {
        DebugError(where, "Check value is %d.", set->check);
        return 0;
    }
    if (!check_only && set->num_stages <= 0) {
        DebugError(where, "No stages [%d].", set->num_stages);
        return 0;
    }
    return 1;
}

void EngPicture::ClearSetStages(_EngPictureSet *set)
{
    if (!IsSetOk(set, 1))
        return;
    if (set->stages)
        EngFree(set->stages, 0, "EngPicture::ClearSetStages");
    set->stages = nullptr;
    set->num_stages = 0;
    set->current_stage = 0;
}

void EngPicture::ClearSetsAndTextures()
{
    const char *where = "EngPicture::ClearSetsAndTextures";
    if (m_textures) {
        // Textures still made are released too, so clearing never leaks them.
        for (int i = 0; i < m_num_textures; i++) {
            if (m_textures[i].texture) {
                m_textures[i].texture->Destroy();
                delete m_textures[i].texture;
            }
        }
        EngFree(m_textures, 0, where);
        m_textures = nullptr;
    }
    m_num_textures = 0;
    for (int i = 0; i < m_num_sets; i++)
        ClearSetStages(&m_sets[i]);
    if (m_sets)
        EngFree(m_sets, 0, where);
    m_sets = nullptr;
    m_num_sets = 0;
}

_EngPictureSet *EngPicture::GetSet(int num)
{
    const char *where = "EngPicture::GetSet";
    if (num < 0 || num >= m_num_sets) {
        DebugError(where, "Invalid set num %d (%d)", num, m_num_sets);
        return nullptr;
    }
    if (m_sets[num].num_stages <= 0) {
        DebugError(where, "Set num %d has no stages [%d]", num, m_sets[num].num_stages);
        return nullptr;
    }
    return &m_sets[num];
}

_EngPictureTexture *EngPicture::GetTexture(int num)
{
    const char *where = "EngPicture::GetTexture";
    if (!m_textures) {
        DebugError(where, "No textures");
        return nullptr;
    }
    if (num < 0 || num >= m_num_textures) {
        DebugError(where, "Invalid tex num %d (%d)", num, m_num_textures);
        return nullptr;
    }
    return &m_textures[num];
}

char EngPicture::IsTextureShown(int num) const
{
    for (int s = 0; s < m_num_sets; s++) {
        const _EngPictureSet *set = &m_sets[s];
        for (int i = 0; i < set->num_stages; i++) {
            const _EngPictureStage *stage = &set->stages[i];
            if (stage->tex_num != num)
                continue;
            // A stage with the alpha lock shows when the first stage does.
            bool alpha_locked = i > 0 && stage->locks[ENG_PICTURE_LOCK_ALPHA];
            if (alpha_locked ? set->stages[0].alpha.show : stage->alpha.show)
                return 1;
        }
    }
    return 0;
}

char EngPicture::LoadTexture(int num)
{
    const char *where = "EngPicture::CreateGraphics";
    _EngPictureTexture *texture = &m_textures[num];
    const char *folder = texture->path[0] ? texture->path : m_folder;
    char file_name[ENG_PICTURE_FULL_NAME_SIZE];
    if (g_texture_file_hook) {
        file_name[0] = 0;
        if (!g_texture_file_hook(folder, texture->filename, file_name, sizeof(file_name)) || !file_name[0]) {
            DebugError(where, "No file returned for <%s>", texture->filename);
            return 0;
        }
        // The hook's answer is used as a text whatever it wrote.
        file_name[sizeof(file_name) - 1] = 0;
    } else if (!ComposeName(file_name, sizeof(file_name), folder, texture->filename, "")) {
        DebugError(where, "File name too long <%s>", texture->filename);
        return 0;
    }
    if (!EngFileExists(file_name, 0)) {
        DebugError(where, "File not found: <%s>", file_name);
        return 0;
    }
    if (!texture->texture) {
        texture->texture = new (std::nothrow) EngTexture();
        if (!texture->texture) {
            DebugErrorCode(where, 'OMEM');
            return 0;
        }
    }
    texture->texture->LoadFromFile(file_name, HasAlphaExtension(texture->filename), 2, 0);
    return texture->texture->IsCreated();
}

char EngPicture::CreateGraphics()
{
    const char *where = "EngPicture::CreateGraphics";
    if (m_num_textures <= 0)
        return 1;
    if (!m_textures) {
        DebugError(where, "No textures");
        return 0;
    }
    if (m_created)
        DebugError(where, "Graphics already created (continuing...)");
    bool failed = false;
    for (int i = 0; i < m_num_textures; i++) {
        if (!m_textures[i].filename[0]) {
            DebugError(where, "No texture filename");
            failed = true;
            continue;
        }
        if (!IsTextureShown(i))
            continue;
        if (!LoadTexture(i))
            failed = true;
    }
    m_created = 1;
    return !failed;
}

void EngPicture::DestroyGraphics()
{
    if (!m_created)
        return;
    for (int i = 0; i < m_num_textures; i++) {
        if (m_textures[i].texture) {
            m_textures[i].texture->Destroy();
            delete m_textures[i].texture;
            m_textures[i].texture = nullptr;
        }
    }
    m_created = 0;
}
