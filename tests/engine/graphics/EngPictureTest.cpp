// Reading picture descriptions into sets, stages and textures, and making
// the textures through the texture-file hook.
#include "tests/engine/graphics/PictureTestSupport.h"
#include "engine/graphics/EngTexture.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

namespace {

typedef nlohmann::ordered_json Json;

const char *LOAD = "EngPicture::LoadFromFile";
const char *CREATE = "EngPicture::CreateGraphics";

// A stage with every required key.
Json Stage(double tex_num)
{
    return {{"TexNum", tex_num},      {"Show", 1},
            {"Alpha Level", 1},       {"Alpha Throb On", 0},
            {"Alpha Throb Min Level", 0}, {"Alpha Throb Speed", 0},
            {"Alpha Throb Mult", 0}};
}

Json Textures(int count)
{
    Json textures = Json::array();
    for (int i = 0; i < count; i++)
        textures.push_back({{"Path", ""}, {"Filename", "t" + std::to_string(i) + ".png"}});
    return textures;
}

// Three textures and one set of one stage of each given texture number.
Json Description(std::vector<double> tex_nums = {0})
{
    Json stages = Json::array();
    for (double num : tex_nums)
        stages.push_back(Stage(num));
    return {{"Textures", Textures(3)}, {"Sets", Json::array({{{"Name", "Main"}, {"Stages", stages}}})}};
}

Json &FirstStage(Json &description)
{
    return description["Sets"][0]["Stages"][0];
}

bool AnyStoredStartsWith(const std::string &start)
{
    for (const std::string &line : StoredLines())
        if (line.rfind(start, 0) == 0)
            return true;
    return false;
}

class EngPictureTest : public testing::Test {
protected:
    EngPicture picture;

    void SetUp() override
    {
        ResetEngineForTest();
        EngPictureResetForTests();
        EngMiscRandSeed(3);
        SetClock(5.0, 0.0f);
    }

    void TearDown() override { EngPictureResetForTests(); }

    char Load(const Json &description, const char *name = "pic.ttx")
    {
        WriteTextFile(name, description.dump());
        DebugResetForTests();
        return picture.LoadFromFile(nullptr, name, 0);
    }
};

struct DescriptionCase {
    const char *what;
    std::function<void(Json &)> change;
    bool loads;
    // A stored line that must start with this, when not empty.
    std::string reported;
    std::function<void(EngPicture &)> check;
};

TEST_F(EngPictureTest, DescriptionsLoadWholeOrNotAtAll)
{
    const std::vector<DescriptionCase> cases = {
        {"a required stage key missing", [](Json &d) { FirstStage(d).erase("Alpha Level"); }, false,
         ErrorText(LOAD, "json::Exception <"), nullptr},
        {"a required key of the wrong type", [](Json &d) { FirstStage(d)["TexNum"] = "2"; }, false,
         ErrorText(LOAD, "json::Exception <"), nullptr},
        {"a texture without a file name", [](Json &d) { d["Textures"][1].erase("Filename"); }, false,
         ErrorText(LOAD, "json::Exception <"), nullptr},
        {"a set without a name", [](Json &d) { d["Sets"][0].erase("Name"); }, false,
         ErrorText(LOAD, "json::Exception <"), nullptr},
        {"\"Stages\" that is not an array", [](Json &d) { d["Sets"][0]["Stages"] = 5; }, false,
         ErrorText(LOAD, "json::Exception <"), nullptr},
        {"neither sets nor layers",
         [](Json &d) { d.erase("Sets"); }, false, ErrorText(LOAD, "Needed elements not found file [pic.ttx]"), nullptr},
        {"both sets and layers read as sets",
         [](Json &d) {
             Json layer = Stage(1);
             layer["Name"] = "Layer";
             d["Layers"] = Json::array({layer, layer});
         },
         true, "",
         [](EngPicture &p) {
             ASSERT_EQ(p.GetNumSets(), 1);
             EXPECT_STREQ(p.GetSet(0)->name, "Main");
         }},
        {"an empty set name", [](Json &d) { d["Sets"][0]["Name"] = ""; }, true, "",
         [](EngPicture &p) { EXPECT_STREQ(p.GetSet(0)->name, "Set 0"); }},
        {"an empty layer name",
         [](Json &d) {
             d.erase("Sets");
             Json first = Stage(0), second = Stage(1);
             first["Name"] = "Back";
             second["Name"] = "";
             d["Layers"] = Json::array({first, second});
         },
         true, "",
         [](EngPicture &p) {
             ASSERT_EQ(p.GetNumSets(), 2);
             EXPECT_STREQ(p.GetSet(0)->name, "Back");
             EXPECT_STREQ(p.GetSet(1)->name, "Layer 1");
         }},
        {"a long set name is cut", [](Json &d) { d["Sets"][0]["Name"] = std::string(40, 'n'); }, true, "",
         [](EngPicture &p) { EXPECT_EQ(std::string(p.GetSet(0)->name), std::string(31, 'n')); }},
        {"long texture names are cut",
         [](Json &d) {
             d["Textures"][0]["Path"] = std::string(600, 'p');
             d["Textures"][0]["Filename"] = std::string(100, 'f');
         },
         true, "",
         [](EngPicture &p) {
             EXPECT_EQ(std::string(p.GetTexture(0)->path), std::string(511, 'p'));
             EXPECT_EQ(std::string(p.GetTexture(0)->filename), std::string(63, 'f'));
         }},
        {"an empty stages array", [](Json &d) { d["Sets"][0]["Stages"] = Json::array(); }, true, "",
         [](EngPicture &p) {
             ASSERT_EQ(p.GetNumSets(), 1);
             DebugResetForTests();
             EXPECT_EQ(p.GetSet(0), nullptr);
             EXPECT_EQ(NewestStored(), ErrorText("EngPicture::GetSet", "Set num 0 has no stages [0]"));
         }},
        {"texture numbers rounded and limited",
         [](Json &d) {
             d = Description({2.5, 7, 1.5, -1, -3, 2.51, 0.5, -1.5});
         },
         true, "",
         [](EngPicture &p) {
             const std::vector<int> expected = {2, -1, 1, -1, -1, -1, 0, -1};
             _EngPictureSet *set = p.GetSet(0);
             ASSERT_EQ(set->num_stages, 8);
             for (int i = 0; i < 8; i++)
                 EXPECT_EQ(set->stages[i].tex_num, expected[i]) << "stage " << i;
         }},
        {"a required level far out of range", [](Json &d) { FirstStage(d)["Alpha Throb Mult"] = -1e30; }, false,
         ErrorText(LOAD, "json::Exception <number out of range for <Alpha Throb Mult>>"), nullptr},
        {"a required level beyond the float range", [](Json &d) { FirstStage(d)["Alpha Level"] = 1e39; }, false,
         ErrorText(LOAD, "json::Exception <number out of range for <Alpha Level>>"), nullptr},
        {"an invalid transition type", [](Json &d) { FirstStage(d)["Trans Type"] = 9; }, true,
         ErrorText(LOAD, "Invalid trans type 9."),
         [](EngPicture &p) { EXPECT_EQ(p.GetSet(0)->stages[0].pos.trans_type, 0); }},
        {"numbers kept in chars", [](Json &d) {
             FirstStage(d)["Show"] = 256;
             FirstStage(d)["Alpha Throb On"] = 2.9;
             FirstStage(d)["Alpha Blend Type"] = -1.5;
         },
         true, "",
         [](EngPicture &p) {
             EXPECT_EQ(p.GetSet(0)->stages[0].alpha.show, 0);
             EXPECT_EQ(p.GetSet(0)->stages[0].alpha.throb_on, 2);
             EXPECT_EQ(p.GetSet(0)->stages[0].alpha.blend_type, -1);
         }},
        {"absent optional keys keep their defaults silently", [](Json &) {}, true, "",
         [](EngPicture &p) {
             EXPECT_EQ(StoredLines(), std::vector<std::string>{});
             const _EngPictureStage *stage = &p.GetSet(0)->stages[0];
             EXPECT_EQ(stage->pos.main_area.w, 1.0f);
             EXPECT_EQ(stage->pos.main_area.h, 1.0f);
             EXPECT_EQ(stage->pos_vars.area.w, 1.0f);
             EXPECT_EQ(stage->locks[0], 0);
             EXPECT_EQ(p.GetDrawArea()->w, 640.0f);
             EXPECT_EQ(p.GetDrawArea()->h, 480.0f);
         }},
        {"a malformed optional key keeps its default whole",
         [](Json &d) {
             FirstStage(d)["Main Area"] = Json::array({0.25, 0.5, "wide", 1});
             FirstStage(d)["Locks"] = Json::array({1, 1, 1, 1, 1, 1});
         },
         true, ErrorText("EngJsonReadNumbersFromObject", "Error during parse."),
         [](EngPicture &p) {
             const _EngPictureStage *stage = &p.GetSet(0)->stages[0];
             EXPECT_EQ(stage->pos.main_area.x, 0.0f);
             EXPECT_EQ(stage->pos.main_area.w, 1.0f);
             EXPECT_EQ(stage->locks[0], 0);
         }},
        {"every optional key read",
         [](Json &d) {
             d["Draw Area"] = Json::array({10, 20, 300, 200});
             Json &s = FirstStage(d);
             s["Locks"] = Json::array({1, 0, 1, 0, 9});
             s["Main Area"] = Json::array({0.1, 0.2, 0.3, 0.4});
             s["Trans Type"] = 4;
             s["Trans Speeds"] = Json::array({0.5, 2});
             s["Trans End Area"] = Json::array({0.5, 0.6, 0.7, 0.8});
             s["Trans Random Area"] = Json::array({0, 0, 1, 1});
             s["RotFlags"] = Json::array({1, 3});
             s["RotValues"] = Json::array({10, 80, 5, 2});
             s["Alpha Blend Type"] = 3;
             s["Alpha Times"] = Json::array({0.5, 0.25, 1, 2});
             s["TC Default"] = 1;
             s["TC TC"] = Json::array({0.1, 0.2, 0.9, 0.8});
             s["TC Tile"] = Json::array({2, 3});
             s["TC Move"] = 1;
             s["TC Speed"] = Json::array({0.25, -0.5});
         },
         true, "",
         [](EngPicture &p) {
             EXPECT_EQ(p.GetDrawArea()->x, 10.0f);
             EXPECT_EQ(p.GetDrawArea()->h, 200.0f);
             const _EngPictureStage *s = &p.GetSet(0)->stages[0];
             EXPECT_EQ(s->check, 'f');
             EXPECT_EQ(p.GetSet(0)->check, 'e');
             EXPECT_EQ(std::vector<int>(s->locks, s->locks + 4), std::vector<int>({1, 0, 1, 0}));
             EXPECT_FLOAT_EQ(s->pos.main_area.h, 0.4f);
             EXPECT_EQ(s->pos.trans_type, 4);
             EXPECT_FLOAT_EQ(s->pos.trans_speeds[0] * s->pos.trans_speeds[1], 1.0f);
             EXPECT_FLOAT_EQ(s->pos.end_area.w, 0.7f);
             EXPECT_FLOAT_EQ(s->pos.random_area.w, 1.0f);
             EXPECT_EQ(s->rot.on, 1);
             EXPECT_EQ(s->rot.type, 3);
             EXPECT_FLOAT_EQ(s->rot.end_angle, 80.0f);
             EXPECT_FLOAT_EQ(s->rot.speed_mult, 2.0f);
             EXPECT_EQ(s->alpha.blend_type, 3);
             EXPECT_FLOAT_EQ(s->alpha_vars.duration, 3.75f);
             EXPECT_FLOAT_EQ(s->alpha_vars.gap_time, 2.0f);
             EXPECT_EQ(s->tc.tc_default, 1);
             EXPECT_FLOAT_EQ(s->tc.tc.right, 0.9f);
             EXPECT_FLOAT_EQ(s->tc.tile.y, 3.0f);
             EXPECT_EQ(s->tc.move, 1);
             EXPECT_FLOAT_EQ(s->tc.speed.y, -0.5f);
             // The initial run-time state: default coordinates span the tile,
             // the angle starts at the start angle, a random target inside
             // the random area less the stage's width.
             EXPECT_FLOAT_EQ(s->tc_current.right, 2.0f);
             EXPECT_FLOAT_EQ(s->tc_current.bottom, 3.0f);
             EXPECT_FLOAT_EQ(s->pos_vars.angle, 10.0f);
             EXPECT_GE(s->pos_vars.random_x, 0.0f);
             EXPECT_LT(s->pos_vars.random_x, 0.7f);
             EXPECT_FLOAT_EQ(s->pos_vars.area.x, s->pos_vars.random_x);
         }},
        {"layers take no locks and no alpha times",
         [](Json &d) {
             d.erase("Sets");
             Json layer = Stage(0);
             layer["Name"] = "Only";
             layer["Locks"] = Json::array({1, 1, 1, 1});
             layer["Alpha Times"] = Json::array({1, 1, 1, 1});
             d["Layers"] = Json::array({layer});
         },
         true, "",
         [](EngPicture &p) {
             const _EngPictureStage *s = &p.GetSet(0)->stages[0];
             EXPECT_EQ(s->locks[0], 0);
             EXPECT_EQ(s->locks[2], 0);
             EXPECT_EQ(s->alpha_vars.duration, 0.0f);
         }},
    };
    for (const DescriptionCase &c : cases) {
        SCOPED_TRACE(c.what);
        Json description = Description();
        c.change(description);
        EXPECT_EQ(Load(description), c.loads ? 1 : 0);
        if (!c.reported.empty()) {
            EXPECT_TRUE(AnyStoredStartsWith(c.reported)) << "no line starting " << c.reported;
        }
        if (c.loads && c.check) {
            c.check(picture);
        } else if (!c.loads) {
            EXPECT_EQ(picture.GetNumSets(), 0);
            EXPECT_EQ(picture.GetNumTextures(), 0);
        }
    }
}

TEST_F(EngPictureTest, NamesFoldersAndExtensions)
{
    DebugResetForTests();
    EXPECT_EQ(picture.LoadFromFile("dir", nullptr, 1), 0);
    EXPECT_EQ(NewestStored(), ErrorText(LOAD, "No filename"));
    EXPECT_EQ(picture.LoadFromFile("dir", "", 1), 0);
    EXPECT_EQ(picture.LoadFromFile(nullptr, "missing", 1), 0);
    EXPECT_EQ(NewestStored(), ErrorText(LOAD, "File not found <missing.ttx>"));

    std::filesystem::create_directory("dir");
    WriteTextFile("dir/pic.ttx", Description().dump());
    EXPECT_EQ(picture.LoadFromFile("dir", "pic", 1), 1);
    EXPECT_STREQ(picture.GetPath(), "dir");
    // Without a folder the name is taken as it is and the folder is kept.
    EXPECT_EQ(picture.LoadFromFile(nullptr, "dir/pic.ttx", 0), 1);
    EXPECT_STREQ(picture.GetPath(), "dir");
    std::filesystem::create_directory("other");
    WriteTextFile("other/pic.ttx", Description().dump());
    EXPECT_EQ(picture.LoadFromFile("other", "pic.ttx", 0), 1);
    EXPECT_STREQ(picture.GetPath(), "other");

    // A failed load leaves the picture empty.
    EXPECT_EQ(picture.GetNumSets(), 1);
    WriteTextFile("broken.ttx", "{\"Textures\": [");
    EXPECT_EQ(picture.LoadFromFile(nullptr, "broken.ttx", 0), 0);
    EXPECT_EQ(picture.GetNumSets(), 0);
    EXPECT_EQ(picture.GetNumTextures(), 0);

    // A name too long for the composed file name fails cleanly.
    DebugResetForTests();
    EXPECT_EQ(picture.LoadFromFile("dir", std::string(1100, 'x').c_str(), 1), 0);
    EXPECT_TRUE(AnyStoredStartsWith(ErrorText(LOAD, "File name too long <")));

    EXPECT_EQ(picture.SetPath(std::string(512, 'a').c_str()), 1);
    DebugResetForTests();
    EXPECT_EQ(picture.SetPath(std::string(513, 'a').c_str()), 0);
    EXPECT_EQ(NewestStored(), ErrorText("EngPicture::SetPath", "Path too long"));
    EXPECT_EQ(picture.SetPath(""), 1);
    EXPECT_EQ(picture.GetPath(), nullptr);
}

TEST_F(EngPictureTest, LookUpsReportBadNumbers)
{
    ASSERT_EQ(Load(Description()), 1);
    EXPECT_EQ(picture.GetSet(1), nullptr);
    EXPECT_EQ(NewestStored(), ErrorText("EngPicture::GetSet", "Invalid set num 1 (1)"));
    EXPECT_EQ(picture.GetTexture(3), nullptr);
    EXPECT_EQ(NewestStored(), ErrorText("EngPicture::GetTexture", "Invalid tex num 3 (3)"));
    EXPECT_EQ(picture.IsSetOk(nullptr, 1), 0);
    EXPECT_EQ(NewestStored(), ErrorText("EngPicture::IsSetOk", "Bad parameters."));
    _EngPictureSet bad = {};
    bad.check = 'x';
    EXPECT_EQ(picture.AddStage(&bad), 0);
    EXPECT_EQ(NewestStored(), ErrorText("EngPicture::IsSetOk", "Check value is 120."));

    picture.Reset();
    EXPECT_EQ(picture.GetTexture(0), nullptr);
    EXPECT_EQ(NewestStored(), ErrorText("EngPicture::GetTexture", "No textures"));
    EXPECT_EQ(picture.GetNumSets(), 0);
}

TEST_F(EngPictureTest, TheGamesDescriptionsLoad)
{
    struct Expected {
        const char *file;
        std::vector<std::string> sets;
        int textures;
    };
    const std::vector<Expected> expected = {
        {"1021.dat", {"Glow", "Title", "Sparkle"}, 2},
        {"1610.dat", {"Glow", "Ring", "Halo", "Maker", "Sparkle"}, 3},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.file);
        ASSERT_EQ(picture.LoadFromFile(HW_DATA_DIR, e.file, 0), 1);
        ASSERT_EQ(picture.GetNumSets(), static_cast<int>(e.sets.size()));
        for (size_t i = 0; i < e.sets.size(); i++)
            EXPECT_EQ(picture.GetSet(static_cast<int>(i))->name, e.sets[i]);
        EXPECT_EQ(picture.GetNumTextures(), e.textures);
    }
    EXPECT_EQ(picture.LoadFromFile(HW_DATA_DIR, "1611.dat", 0), 1);
    EXPECT_GT(picture.GetNumSets(), 0);
}

TEST_F(EngPictureTest, LoadingTicksOnce)
{
    Json description = Description();
    FirstStage(description)["RotFlags"] = Json::array({1, 2});
    FirstStage(description)["RotValues"] = Json::array({0, 360, 60, 1});
    WriteTextFile("spin.ttx", description.dump());
    SetClock(5.0, 0.5f);
    ASSERT_EQ(picture.LoadFromFile(nullptr, "spin.ttx", 0), 1);
    EXPECT_FLOAT_EQ(picture.GetSet(0)->stages[0].pos_vars.angle, 30.0f);
    EXPECT_EQ(picture.GetSet(0)->start_time, 5.0);
}

// The texture-file hook: every call recorded, answering with a file map.
struct HookCall {
    std::string folder;
    std::string filename;
};
std::vector<HookCall> hook_calls;
std::string hook_answer_folder;
char hook_answer = 1;

char RecordingHook(const char *folder, const char *filename, char *out, int out_size)
{
    hook_calls.push_back({folder ? folder : "(null)", filename});
    std::snprintf(out, out_size, "%s/%s", hook_answer_folder.c_str(), filename);
    return hook_answer;
}

class EngPictureGraphicsTest : public PictureDeviceTest {
protected:
    void SetUp() override
    {
        PictureDeviceTest::SetUp();
        hook_calls.clear();
        hook_answer = 1;
        hook_answer_folder = "files";
        std::filesystem::create_directory("files");
        for (int i = 0; i < 3; i++)
            WriteFlatPicture("files/t" + std::to_string(i) + ".png", 4, 4, 0x80FF0000);
    }

    char Load(EngPicture *picture, const Json &description)
    {
        WriteTextFile("pic.ttx", description.dump());
        char loaded = picture->LoadFromFile(nullptr, "pic.ttx", 0);
        DebugResetForTests();
        return loaded;
    }
};

TEST_F(EngPictureGraphicsTest, OnlyTexturesOfShownStagesAreMade)
{
    // Texture 0 shown; texture 1 only in a hidden stage; texture 2 in a
    // hidden stage that takes its alpha group from a shown first stage.
    Json description = Description({0, 1, 2});
    Json &stages = description["Sets"][0]["Stages"];
    stages[1]["Show"] = 0;
    stages[2]["Show"] = 0;
    stages[2]["Locks"] = Json::array({0, 0, 1, 0});
    EngPicture picture;
    ASSERT_EQ(Load(&picture, description), 1);
    EngPictureSetTextureFileOverwriteCB(RecordingHook);
    EXPECT_EQ(picture.CreateGraphics(), 1);
    EXPECT_TRUE(StoredLines().empty());
    ASSERT_EQ(hook_calls.size(), 2u);
    EXPECT_EQ(hook_calls[0].filename, "t0.png");
    EXPECT_EQ(hook_calls[1].filename, "t2.png");
    EXPECT_EQ(hook_calls[0].folder, "(null)");
    EXPECT_TRUE(picture.AreGraphicsCreated());
    ASSERT_NE(picture.GetTexture(0)->texture, nullptr);
    EXPECT_TRUE(picture.GetTexture(0)->texture->IsCreated());
    EXPECT_EQ(picture.GetTexture(1)->texture, nullptr);
    EXPECT_TRUE(picture.GetTexture(2)->texture->IsCreated());

    // A second creation says so and loads them again.
    EXPECT_EQ(picture.CreateGraphics(), 1);
    EXPECT_TRUE(WasStored(ErrorText(CREATE, "Graphics already created (continuing...)")));
    EXPECT_TRUE(picture.GetTexture(0)->texture->IsCreated());

    picture.DestroyGraphics();
    EXPECT_FALSE(picture.AreGraphicsCreated());
    EXPECT_EQ(picture.GetTexture(0)->texture, nullptr);
    EXPECT_EQ(picture.GetTexture(2)->texture, nullptr);
}

TEST_F(EngPictureGraphicsTest, AHookAnsweringFalseFailsEveryNeededTexture)
{
    Json description = Description({0, 1, 2});
    description["Sets"][0]["Stages"][1]["Show"] = 0;
    EngPicture picture;
    ASSERT_EQ(Load(&picture, description), 1);
    EngPictureSetTextureFileOverwriteCB(RecordingHook);
    hook_answer = 0;
    EXPECT_EQ(picture.CreateGraphics(), 0);
    EXPECT_EQ(StoredLines(), std::vector<std::string>({ErrorText(CREATE, "No file returned for <t0.png>"),
                                                       ErrorText(CREATE, "No file returned for <t2.png>")}));
    // The picture counts as created, and its stages draw nothing.
    EXPECT_TRUE(picture.AreGraphicsCreated());
    EXPECT_EQ(picture.GetTexture(0)->texture, nullptr);
}

TEST_F(EngPictureGraphicsTest, TextureFilesComeFromTheirFolders)
{
    // The texture's own path first, else the picture's folder.
    Json description = Description({0, 1});
    description["Textures"][1]["Path"] = "files";
    description["Textures"][2]["Filename"] = "";
    description["Sets"][0]["Stages"].push_back(Stage(2));
    std::filesystem::create_directory("pictures");
    WriteFlatPicture("pictures/t0.png", 2, 2, 0xFF00FF00);
    WriteTextFile("pictures/pic.ttx", description.dump());
    EngPicture picture;
    ASSERT_EQ(picture.LoadFromFile("pictures", "pic.ttx", 0), 1);
    DebugResetForTests();
    EXPECT_EQ(picture.CreateGraphics(), 0);
    EXPECT_EQ(StoredLines(), std::vector<std::string>({ErrorText(CREATE, "No texture filename")}));
    EXPECT_EQ(picture.GetTexture(0)->texture->GetWidth(), 2);
    EXPECT_EQ(picture.GetTexture(1)->texture->GetWidth(), 4);

    // The hook is told the same folders.
    EngPictureSetTextureFileOverwriteCB(RecordingHook);
    hook_answer_folder = "elsewhere";
    DebugResetForTests();
    EXPECT_EQ(picture.CreateGraphics(), 0);
    ASSERT_EQ(hook_calls.size(), 2u);
    EXPECT_EQ(hook_calls[0].folder, "pictures");
    EXPECT_EQ(hook_calls[1].folder, "files");
    EXPECT_TRUE(WasStored(ErrorText(CREATE, "File not found: <elsewhere/t0.png>")));
    EXPECT_TRUE(WasStored(ErrorText(CREATE, "File not found: <elsewhere/t1.png>")));
}

} // namespace
