// The generated pictures and picture descriptions in <build>/Data, checked
// against the picture list that the generator works from: every file that
// the game names exists, decodes, has its size and its alpha; the skin atlas
// has a piece under every area the skin cuts and keeps clear the margins
// that its draw extras span; the flag grids hold every country's cell;
// barrels point the way the game turns them; and the descriptions use only
// texture names the game's hooks know.
#include "tools/datagen/DataPictureList.h"
#include "tools/datagen/SkinAtlas.h"
#include "tests/tools/datagen/DataGenTestSupport.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> ReadAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string DataPath(const std::string &file) { return std::string(HW_DATA_DIR) + "/" + file; }

// A decoded picture as 8-bit RGBA.
class Rgba {
public:
    explicit Rgba(const std::string &path)
    {
        m_bytes = ReadAll(path);
        if (!m_bytes.empty())
            m_pixels = stbi_load_from_memory(m_bytes.data(), (int)m_bytes.size(), &m_width, &m_height, &m_channels, 4);
    }
    ~Rgba() { stbi_image_free(m_pixels); }
    bool Loaded() const { return m_pixels != nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Channels() const { return m_channels; }
    const std::vector<unsigned char> &Bytes() const { return m_bytes; }
    int Alpha(int x, int y) const { return Channel(x, y, 3); }
    int Channel(int x, int y, int c) const { return m_pixels[((size_t)y * m_width + x) * 4 + c]; }

    // Share of the pixels of a rectangle whose alpha is above `threshold`.
    double Covered(int x0, int y0, int x1, int y1, int threshold = 0) const
    {
        long count = 0, total = 0;
        for (int y = y0; y < y1; y++)
            for (int x = x0; x < x1; x++, total++)
                count += Alpha(x, y) > threshold ? 1 : 0;
        return total ? (double)count / total : 0.0;
    }

private:
    std::vector<unsigned char> m_bytes;
    unsigned char *m_pixels = nullptr;
    int m_width = 0, m_height = 0, m_channels = 0;
};

bool IsPng(const std::vector<unsigned char> &b) { return b.size() > 8 && memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0; }
bool IsJpeg(const std::vector<unsigned char> &b) { return b.size() > 3 && b[0] == 0xFF && b[1] == 0xD8 && b[2] == 0xFF; }
// An uncompressed or run-length true-colour TGA of 32 bits with 8 alpha bits.
bool IsTgaWithAlpha(const std::vector<unsigned char> &b)
{
    return b.size() > 18 && b[1] == 0 && (b[2] == 2 || b[2] == 10) && b[16] == 32 && (b[17] & 0x0F) == 8;
}

class PictureFileTest : public testing::TestWithParam<DataPicture> {};

}  // namespace

// Test names and failures show the file, not the record's bytes.
void PrintTo(const DataPicture &p, std::ostream *os) { *os << p.file; }

namespace {

std::string PictureName(const testing::TestParamInfo<DataPicture> &info)
{
    std::string name = info.param.file;
    for (char &c : name)
        if (!isalnum((unsigned char)c))
            c = '_';
    return name;
}

}  // namespace

TEST_P(PictureFileTest, ExistsDecodesAndHasItsSizeAndAlpha)
{
    const DataPicture &p = GetParam();
    Rgba picture(DataPath(p.file));
    ASSERT_FALSE(picture.Bytes().empty()) << p.file << " is missing";
    switch (p.format) {
    case DataFormat::Png:
        EXPECT_TRUE(IsPng(picture.Bytes())) << p.file << " is not a PNG";
        break;
    case DataFormat::Tga:
        EXPECT_TRUE(IsTgaWithAlpha(picture.Bytes())) << p.file << " is not a 32-bit TGA with alpha";
        break;
    case DataFormat::Jpeg:
        EXPECT_TRUE(IsJpeg(picture.Bytes())) << p.file << " is not a JPEG";
        break;
    }
    ASSERT_TRUE(picture.Loaded()) << p.file << " does not decode";
    EXPECT_EQ(p.width, picture.Width()) << p.file;
    EXPECT_EQ(p.height, picture.Height()) << p.file;

    double see_through = 1.0 - picture.Covered(0, 0, picture.Width(), picture.Height(), 254);
    double shown = picture.Covered(0, 0, picture.Width(), picture.Height(), 0);
    if (p.alpha) {
        EXPECT_EQ(4, picture.Channels()) << p.file;
        EXPECT_GT(see_through, 0.02) << p.file << " has (almost) no see-through pixels";
        EXPECT_GT(shown, 0.01) << p.file << " is (almost) empty";
    } else {
        EXPECT_EQ(0.0, see_through) << p.file << " should be opaque";
    }
}

INSTANTIATE_TEST_SUITE_P(DataFolder, PictureFileTest, testing::ValuesIn(DATA_PICTURES), PictureName);

TEST(PictureListTest, NamesTheFilesTheGameReads)
{
    // Spot checks of the names and sizes that the game's code depends on.
    auto find = [](const char *file) {
        return std::find_if(std::begin(DATA_PICTURES), std::end(DATA_PICTURES),
                            [&](const DataPicture &p) { return strcmp(p.file, file) == 0; });
    };
    const DataPicture *sidebar = find("1016.dat");
    ASSERT_NE(std::end(DATA_PICTURES), sidebar);
    EXPECT_EQ(256, sidebar->width) << "the sidebar's button rectangles are in its pixels";
    EXPECT_EQ(1024, sidebar->height);
    const DataPicture *factory = find("1380.dat");
    ASSERT_NE(std::end(DATA_PICTURES), factory);
    EXPECT_EQ(128, factory->width) << "the weapon is copied into (32, 32, 64, 64)";
    const char *BUGS[11] = {"Aclypea", "Adonia", "Altholus", "Badister", "Baeocrara", "Byctiscus",
                            "Crepidodera", "Gaurotes", "Gnatocerus", "Gibbium", "Glischrochilus"};
    for (const char *bug : BUGS) {
        for (const char *frame : {"", "2"}) {
            std::string file = std::string("Bugs/") + bug + frame + ".tga";
            EXPECT_NE(std::end(DATA_PICTURES), find(file.c_str())) << file;
        }
    }
    for (int f : {1300, 1301, 1302, 1303, 1304, 1305, 1310, 1311, 1312, 1320, 1321, 1322, 1323, 1324, 1325, 1350,
                  1351, 1352, 1360, 1361, 1362, 1370, 1371, 1372}) {
        std::string file = std::to_string(f) + ".dat";
        EXPECT_NE(std::end(DATA_PICTURES), find(file.c_str())) << file;
    }
}

TEST(PictureOrientationTest, BarrelsNozzlesAndShotsPointToTheImageTop)
{
    // The game turns these pictures so that their top faces the way the
    // shots fly: what sticks out must reach further up than down.
    for (const char *file : {"1301.dat", "1303.dat", "1305.dat", "1310.dat", "1311.dat", "1312.dat", "1321.dat",
                             "1323.dat", "1325.dat", "1350.dat", "1351.dat", "1352.dat", "1372.dat"}) {
        Rgba picture(DataPath(file));
        ASSERT_TRUE(picture.Loaded()) << file;
        int top = -1, bottom = -1;
        for (int y = 0; y < picture.Height(); y++) {
            if (picture.Covered(0, y, picture.Width(), y + 1, 200) > 0.0) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        }
        ASSERT_GE(top, 0) << file;
        double centre = picture.Height() * 0.5;
        EXPECT_GT(centre - top, bottom + 1 - centre) << file << ": reaches " << centre - top << " up, "
                                                     << bottom + 1 - centre << " down";
    }
}

TEST(TextureCursorTest, IsWrittenForBlendingOneOverSourceAlpha)
{
    // Drawn with ONE / SRCALPHA: where the arrow is, the alpha is low and the
    // colour carries the arrow; where it is clear, alpha 1 keeps the screen
    // and the colour adds nothing.
    Rgba cursor(DataPath("1600.dat"));
    ASSERT_TRUE(cursor.Loaded());
    int x = cursor.Width() / 8, y = cursor.Height() / 4; // inside the arrow, below its tip
    EXPECT_LT(cursor.Alpha(x, y), 64);
    EXPECT_GT(cursor.Channel(x, y, 0) + cursor.Channel(x, y, 1) + cursor.Channel(x, y, 2), 150);

    int far = cursor.Width() - 2;
    EXPECT_EQ(cursor.Alpha(far, far), 255);
    for (int c = 0; c < 3; c++)
        EXPECT_EQ(cursor.Channel(far, far, c), 0);
}

namespace {

// An area of the skin in atlas pixels; mirrored areas name their edges the
// other way round.
struct PixelBox {
    double x0, y0, x1, y1;
    bool Holds(double x, double y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    double CentreX() const { return (x0 + x1) / 2; }
    double CentreY() const { return (y0 + y1) / 2; }
};

PixelBox BoxOf(const SkinArea &a, const Rgba &atlas)
{
    return PixelBox{std::min(a.left, a.right) * atlas.Width(), std::min(a.top, a.bottom) * atlas.Height(),
                    std::max(a.left, a.right) * atlas.Width(), std::max(a.top, a.bottom) * atlas.Height()};
}

// Share of the pixels wholly inside a box whose alpha is above `threshold`;
// -1 for a box too thin to hold a whole pixel.
double CoveredInside(const Rgba &atlas, double x0, double y0, double x1, double y1, int threshold = 0)
{
    int px0 = (int)std::ceil(x0), py0 = (int)std::ceil(y0), px1 = (int)std::floor(x1), py1 = (int)std::floor(y1);
    if (px1 <= px0 || py1 <= py0)
        return -1;
    return atlas.Covered(px0, py0, px1, py1, threshold);
}

}  // namespace

TEST(SkinAtlasTest, HasAPieceUnderEveryAreaTheSkinCuts)
{
    // A piece whose button has a draw extra leaves that extra clear, also
    // for the other areas cut from it: an area is measured inside the
    // margins of every area with an extra that holds its centre.
    Rgba atlas(DataPath("1001.dat"));
    ASSERT_TRUE(atlas.Loaded());
    for (const SkinArea &a : SKIN_AREAS) {
        PixelBox area = BoxOf(a, atlas), inside = area;
        for (const SkinExtra &e : SKIN_EXTRAS)
            for (const SkinArea &other : SKIN_AREAS) {
                PixelBox b = BoxOf(other, atlas);
                if (strcmp(other.button, e.button) != 0 || !b.Holds(area.CentreX(), area.CentreY()))
                    continue;
                SkinMargins m = SkinMarginsOf(e, b.x1 - b.x0, b.y1 - b.y0);
                inside.x0 = std::max(inside.x0, b.x0 + m.left);
                inside.y0 = std::max(inside.y0, b.y0 + m.top);
                inside.x1 = std::min(inside.x1, b.x1 - m.right);
                inside.y1 = std::min(inside.y1, b.y1 - m.bottom);
            }
        double covered = CoveredInside(atlas, inside.x0, inside.y0, inside.x1, inside.y1);
        EXPECT_GE(covered, a.filled ? 0.85 : 0.1) << a.button << " " << a.state;
    }
}

TEST(SkinAtlasTest, LeavesClearTheMarginsThatTheDrawExtrasSpan)
{
    // Paint in a margin shows outside the control's rectangle: neighbours
    // run into each other and a window's body covers its title strip. One
    // pixel next to the body is left to its smoothed edge.
    Rgba atlas(DataPath("1001.dat"));
    ASSERT_TRUE(atlas.Loaded());
    int checked = 0;
    for (const SkinExtra &e : SKIN_EXTRAS) {
        for (const SkinArea &a : SKIN_AREAS) {
            if (strcmp(a.button, e.button) != 0)
                continue;
            PixelBox b = BoxOf(a, atlas);
            SkinMargins m = SkinMarginsOf(e, b.x1 - b.x0, b.y1 - b.y0);
            const struct {
                const char *side;
                double x0, y0, x1, y1;
            } strips[] = {
                {"left", b.x0, b.y0, b.x0 + m.left - 1, b.y1},
                {"top", b.x0, b.y0, b.x1, b.y0 + m.top - 1},
                {"right", b.x1 - m.right + 1, b.y0, b.x1, b.y1},
                {"bottom", b.x0, b.y1 - m.bottom + 1, b.x1, b.y1},
            };
            for (const auto &s : strips) {
                double covered = CoveredInside(atlas, s.x0, s.y0, s.x1, s.y1, 8);
                if (covered < 0)
                    continue;
                checked++;
                EXPECT_EQ(0.0, covered) << a.button << " " << a.state << ": " << s.side << " margin";
            }
        }
    }
    EXPECT_GE(checked, 40) << "the margins of the windows, buttons and fields";
}

TEST(FlagGridTest, HoldsEveryCountrysFlagInItsCell)
{
    for (const char *file : {"Common/CountryFlags512.png", "Common/CountryFlags1024.png"}) {
        Rgba grid(DataPath(file));
        ASSERT_TRUE(grid.Loaded()) << file;
        int cell = grid.Width() / 16;
        int empty_cells = 0;
        for (int c = 0; c < 256; c++) {
            double covered = grid.Covered((c % 16) * cell, (c / 16) * cell, (c % 16 + 1) * cell, (c / 16 + 1) * cell);
            // Rows 0..221 of the country table and the "UK" cell 223; New
            // Caledonia (row 142) draws France's cell, so its own stays clear.
            bool used = (c < 222 && c != 142) || c == 223;
            if (used)
                EXPECT_GT(covered, 0.99) << file << " cell " << c;
            else
                empty_cells += covered == 0.0 ? 1 : 0;
        }
        EXPECT_EQ(256 - 222, empty_cells) << file;
    }
}

// Row 60 (code GB, which "UK" and "United Kingdom" are read as) shows the
// Union flag, the same picture as the "UK" cell: blue between the crosses
// in every corner, a red cross through the middle. England's flag would be
// white in the corners.
TEST(FlagGridTest, TheGbCellIsTheUnionFlag)
{
    Rgba grid(DataPath("Common/CountryFlags512.png"));
    ASSERT_TRUE(grid.Loaded());
    const int cell = grid.Width() / 16;
    auto pixel = [&](int c, double fx, double fy, int channel) {
        return grid.Channel((c % 16) * cell + (int)(fx * cell), (c / 16) * cell + (int)(fy * cell), channel);
    };
    const double corners[4][2] = {{0.3, 0.08}, {0.7, 0.08}, {0.3, 0.92}, {0.7, 0.92}};
    for (const auto &at : corners) {
        EXPECT_GT(pixel(60, at[0], at[1], 2), pixel(60, at[0], at[1], 0) + 60) << at[0] << "," << at[1];
        EXPECT_LT(pixel(60, at[0], at[1], 1), 120) << at[0] << "," << at[1];
    }
    EXPECT_GT(pixel(60, 0.5, 0.5, 0), 150);
    EXPECT_LT(pixel(60, 0.5, 0.5, 2), 100);
    for (int y = 1; y < cell - 1; y++)
        for (int x = 1; x < cell - 1; x++)
            for (int ch = 0; ch < 4; ch++)
                ASSERT_EQ(grid.Channel(12 * cell + x, 3 * cell + y, ch), grid.Channel(15 * cell + x, 13 * cell + y, ch))
                    << x << "," << y;
}

namespace {

const char *const REQUIRED_STAGE_NUMBERS[] = {"TexNum", "Alpha Level", "Alpha Throb On", "Alpha Throb Min Level",
                                              "Alpha Throb Speed", "Alpha Throb Mult"};

// Checks one stage (or layer) of a description; `textures` is the count.
void CheckStage(const nlohmann::json &stage, size_t textures, const std::string &where, std::vector<bool> *used)
{
    for (const char *key : REQUIRED_STAGE_NUMBERS)
        EXPECT_TRUE(stage.contains(key) && stage[key].is_number()) << where << ": \"" << key << "\"";
    if (!stage.contains("TexNum") || !stage["TexNum"].is_number())
        return;
    int tex = (int)stage["TexNum"].get<double>();
    ASSERT_TRUE(tex >= 0 && (size_t)tex < textures) << where << ": texture " << tex;
    // Without these the stage is not drawn, drawn with whatever blending is
    // on, or drawn as one texel.
    EXPECT_EQ(1, stage.value("Show", 0)) << where;
    (*used)[(size_t)tex] = true;
    EXPECT_GT(stage.value("Alpha Blend Type", 0), 0) << where;
    ASSERT_TRUE(stage.contains("TC TC") && stage["TC TC"].size() == 4) << where;
    const nlohmann::json &tc = stage["TC TC"];
    EXPECT_GT(tc[2].get<double>(), tc[0].get<double>()) << where;
    EXPECT_GT(tc[3].get<double>(), tc[1].get<double>()) << where;
    ASSERT_TRUE(stage.contains("Main Area") && stage["Main Area"].size() == 4) << where;
    EXPECT_GT(stage["Main Area"][2].get<double>(), 0.0) << where;
    EXPECT_GT(stage["Main Area"][3].get<double>(), 0.0) << where;
    // A moving stage takes its size between its main and its end area: an
    // empty end area would leave nothing to draw.
    if (stage.value("Trans Type", 0) > 0) {
        ASSERT_TRUE(stage.contains("Trans End Area") && stage["Trans End Area"].size() == 4) << where;
        EXPECT_GT(stage["Trans End Area"][2].get<double>(), 0.0) << where;
        EXPECT_GT(stage["Trans End Area"][3].get<double>(), 0.0) << where;
    }
}

}  // namespace

TEST(PictureDescriptionTest, UseOnlyTexturesTheHooksKnowAndDrawEveryLayer)
{
    for (const DataDescription &d : DATA_DESCRIPTIONS) {
        std::vector<unsigned char> bytes = ReadAll(DataPath(d.file));
        ASSERT_FALSE(bytes.empty()) << d.file << " is missing";
        nlohmann::json json = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
        ASSERT_TRUE(json.is_object()) << d.file << " is not a JSON object";
        ASSERT_TRUE(json.contains("Textures") && json["Textures"].is_array()) << d.file;
        const nlohmann::json &textures = json["Textures"];
        for (const nlohmann::json &t : textures) {
            ASSERT_TRUE(t.contains("Path") && t["Path"].is_string()) << d.file;
            ASSERT_TRUE(t.contains("Filename") && t["Filename"].is_string()) << d.file;
            std::string name = t["Filename"].get<std::string>();
            const DataTextureName *known =
                std::find_if(std::begin(DATA_TEXTURE_NAMES), std::end(DATA_TEXTURE_NAMES),
                             [&](const DataTextureName &n) { return name == n.name; });
            ASSERT_NE(std::end(DATA_TEXTURE_NAMES), known) << d.file << ": unknown texture " << name;
            EXPECT_TRUE(std::filesystem::exists(DataPath(known->file))) << name << " -> " << known->file;
        }
        std::vector<bool> used(textures.size(), false);
        ASSERT_TRUE(json.contains("Layers") && json["Layers"].is_array()) << d.file;
        for (const nlohmann::json &layer : json["Layers"]) {
            ASSERT_TRUE(layer.contains("Name") && layer["Name"].is_string()) << d.file;
            CheckStage(layer, textures.size(), std::string(d.file) + " " + layer["Name"].get<std::string>(), &used);
        }
        for (size_t i = 0; i < used.size(); i++)
            EXPECT_TRUE(used[i]) << d.file << ": texture " << i << " is drawn by no layer";
    }
}

TEST(PictureDescriptionTest, GeneratorRefusesATextureNameTheHooksDoNotKnow)
{
    // The real sources, with the title asking for "Misc.png", which the
    // hooks know but this game does not supply.
    std::filesystem::copy(HW_DATA_SOURCE_DIR, "sources", std::filesystem::copy_options::recursive);
    std::string title = "sources/pictures/title.ttx";
    std::vector<unsigned char> bytes = ReadAll(title);
    std::string text(bytes.begin(), bytes.end());
    size_t at = text.find("HiveWatcherText.png");
    ASSERT_NE(std::string::npos, at);
    text.replace(at, strlen("HiveWatcherText.png"), "Misc.png");
    std::ofstream(title, std::ios::binary) << text;

    std::string printed;
    EXPECT_NE(0, RunGenerator("sources", "out", &printed, "pictures"));
    EXPECT_NE(std::string::npos, printed.find("pictures/title.ttx: texture \"Misc.png\" is not a name the game's texture "
                                              "hooks know"))
        << printed;
    EXPECT_FALSE(std::filesystem::exists("out/1021.dat"));
}
