// The shared modules' hooks into the rest of the program, their settings
// record and the texture-name hook (see the header).
#include "modules/ModulesHooks.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMemory.h"
#include "engine/graphics/EngPicture.h"
#include "modules/ModulesFiles.h"

#include <cstring>

_ModulesHooks modules_hooks = {};

namespace {

_ModulesParms modules_parms;
ModulesItemCB modules_item_cb = nullptr;
ModulesTextureFileCB modules_program_texture_cb = nullptr;

// The texture names that shared pictures use, and the items of their files.
const struct {
    const char *texture;
    int item;
} shared_textures[] = {
    {"LichenRing.png", MI_MAKER_RING}, {"LwText.png", MI_MAKER_TEXT}, {"TexEffects1.png", MI_TEX_EFFECTS},
    {"Misc.png", MI_MISC},             {"MenuBg.jpg", MI_MENU_BG},
};

} // namespace

void ModulesResetHooksForTests()
{
    modules_hooks = _ModulesHooks{};
    modules_parms = _ModulesParms{};
    modules_item_cb = nullptr;
    modules_program_texture_cb = nullptr;
    ModulesResetWriteFailureForTests();
}

char ModulesSetup(const _ModulesParms *parms, ModulesItemCB item_cb)
{
    if (parms)
        std::memcpy(&modules_parms, parms, sizeof(modules_parms));
    modules_item_cb = item_cb;
    return 1;
}

const _ModulesParms *ModulesGetParms()
{
    return &modules_parms;
}

ModulesItemCB ModulesGetItemCallback() { return modules_item_cb; }

const char *ModulesGetItemFilename(int item)
{
    const char *file = modules_item_cb ? modules_item_cb(item) : nullptr;
    return file ? file : "";
}

void ModulesInstallEngPictureTextureFileOverwriteCB(ModulesTextureFileCB hook)
{
    if (hook)
        modules_program_texture_cb = hook;
    EngPictureSetTextureFileOverwriteCB(ModulesEngPictureTextureFileOverwriteCB);
}

char ModulesEngPictureTextureFileOverwriteCB(const char *picture_file, const char *texture_file, char *out,
                                             int out_size)
{
    const char *where = "ModulesEngPictureTextureFileOverwriteCB";
    if (!modules_item_cb) {
        DebugError(where, "CBs not setup");
        return 0;
    }
    const char *name = texture_file ? texture_file : "";
    for (const auto &shared : shared_textures) {
        if (std::strcmp(name, shared.texture) == 0) {
            if (out && out_size > 0)
                EngSafeStrcpy(out, ModulesGetItemFilename(shared.item), static_cast<unsigned>(out_size));
            return 1;
        }
    }
    if (modules_program_texture_cb && modules_program_texture_cb(picture_file, texture_file, out, out_size))
        return 1;
    DebugError(where, "Unexpected file <%s>", name);
    return 0;
}
