// The modules' settings record and item callback, and the texture-name hook
// without a program behind it.
#include "modules/ModulesHooks.h"

#include "tests/modules/ModulesTestSupport.h"

#include <cstring>

namespace {

using namespace modules_test;

const char *Items(int item)
{
    return item == MI_TEX_EFFECTS ? "Data/Effects.dat" : nullptr;
}

class ModulesHooksTest : public ModulesTest {};

TEST_F(ModulesHooksTest, SetupCopiesTheRecordAndKeepsTheCallback)
{
    _ModulesParms parms;
    std::memset(&parms, 0, sizeof(parms));
    parms.background_source = 2;
    parms.show_splash = 1;
    EXPECT_EQ(ModulesSetup(&parms, Items), 1);
    parms.show_splash = 0;
    EXPECT_EQ(ModulesGetParms()->show_splash, 1) << "a copy, not the caller's record";
    // Without a record the settings stay; the callback is replaced.
    EXPECT_EQ(ModulesSetup(nullptr, Items), 1);
    EXPECT_EQ(ModulesGetParms()->background_source, 2);
    EXPECT_STREQ(ModulesGetItemFilename(MI_TEX_EFFECTS), "Data/Effects.dat");
    EXPECT_STREQ(ModulesGetItemFilename(MI_MISC), "");
}

TEST_F(ModulesHooksTest, TheTextureHookNeedsItsCallbacks)
{
    char out[32] = "unchanged";
    EXPECT_EQ(ModulesEngPictureTextureFileOverwriteCB("a.ttx", "TexEffects1.png", out, sizeof(out)), 0);
    EXPECT_TRUE(Logged("CBs not setup"));
    EXPECT_STREQ(out, "unchanged");
    // With the items but no program hook: the shared names only.
    ModulesSetup(nullptr, Items);
    EXPECT_EQ(ModulesEngPictureTextureFileOverwriteCB("a.ttx", "TexEffects1.png", out, sizeof(out)), 1);
    EXPECT_STREQ(out, "Data/Effects.dat");
    EXPECT_EQ(ModulesEngPictureTextureFileOverwriteCB("a.ttx", "Own.png", out, sizeof(out)), 0);
    EXPECT_TRUE(Logged("Unexpected file <Own.png>"));
}

} // namespace
