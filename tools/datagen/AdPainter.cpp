// The cross-promotion screenshots, Data/IGA/<name>1.jpg and <name>2.jpg:
// one pair for each of the maker's titles that the "other games" screen
// shows on the desktop. Each is a small made-up scene in the title's own
// colours with its name across the top, the second picture of a pair a
// different moment of the same game. JPEG, so fully opaque.
#include "tools/datagen/DataGenRandom.h"
#include "tools/datagen/PaintKit.h"
#include "tools/datagen/PictureJob.h"

#include <cstdint>
#include <string>

namespace {

struct AdTitle {
    const char *picture;  // the picture name in the ad table
    const char *shown;    // the name painted on the picture
    unsigned sky, ground, accent;
};

const AdTitle AD_TITLES[] = {
    {"Lanternfly", "Lanternfly", 0x101838, 0x1c3020, 0xf0d050},
    {"PebbleCove", "Pebble Cove", 0x6a9ec8, 0x8a8478, 0xd8c8a0},
    {"Gloamwood", "Gloamwood", 0x4a3a5a, 0x22361e, 0xe08a40},
    {"SporeDrift", "Spore Drift", 0x9ad0e0, 0x5a8a3a, 0xf0f0e0},
    {"FernCastle", "Fern Castle", 0x80b0d0, 0x2e6a2a, 0x8a6a4a},
    {"DewRunner", "Dew Runner", 0xf0c090, 0x4a9a3a, 0x70c8f0},
    {"Thistledown", "Thistledown", 0xb0c8e8, 0x7aa050, 0xb070c0},
    {"MireLights", "Mire Lights", 0x1a2a2a, 0x2a3a22, 0x80f0b0},
    {"BrambleRush", "Bramble Rush", 0xc8d8a0, 0x4a3020, 0xc03040},
    {"RootQuest", "Root Quest", 0x8a6a4a, 0x3a2818, 0xe0c060},
    {"PuddleJump", "Puddle Jump", 0x90a8b8, 0x4a7a3a, 0x5ab04a},
    {"Tarnwick", "Tarnwick", 0x8ab8e0, 0x5a7a5a, 0xc0d8e8},
};

// A scene: sky and ground, scattered shapes in the accent colour (round in
// the first picture, starry in the second), and the title on a dark band.
bool PaintAd(cairo_t *cr, int w, int h, const AdTitle &title, int picture, uint64_t seed)
{
    // The fill helpers keep their path: each shape is dropped once filled,
    // or the next fill would cover it again.
    double horizon = h * (picture == 0 ? 0.62 : 0.48);
    cairo_rectangle(cr, 0, 0, w, horizon);
    FillVertical(cr, 0, horizon, Shade(Hex(title.sky), 0.7), Hex(title.sky));
    cairo_new_path(cr);
    cairo_rectangle(cr, 0, horizon, w, h - horizon);
    FillVertical(cr, horizon, h, Hex(title.ground), Shade(Hex(title.ground), 0.6));
    cairo_new_path(cr);

    DataGenRandom rng(seed);
    for (int i = 0; i < 14; i++) {
        double x = rng.Range(0, w), y = rng.Range(h * 0.2, h * 0.95), r = rng.Range(w * 0.02, w * 0.07);
        if (picture == 0)
            EllipsePath(cr, x, y, r, r * rng.Range(0.6, 1.0));
        else
            StarPath(cr, x, y, r, r * 0.45, 5, rng.Range(0, PAINT_PI));
        FillLit(cr, Mix(Hex(title.accent), Hex(title.sky), rng.Range(0.0, 0.4)));
        cairo_new_path(cr);
    }

    cairo_rectangle(cr, 0, 0, w, h * 0.17);
    SetColour(cr, Rgb{0, 0, 0}, 0.55);
    cairo_fill(cr);
    OutlinedText(cr, title.shown, w * 0.5, h * 0.085, h * 0.1, Rgb{1, 1, 1}, Hex(title.accent), Rgb{0, 0, 0},
                 h * 0.012);
    return true;
}

}  // namespace

void AdPainterAddJobs(std::vector<PictureJob> *jobs)
{
    uint64_t seed = 0xAD5000;
    for (const AdTitle &title : AD_TITLES)
        for (int picture = 0; picture < 2; picture++, seed++)
            jobs->push_back(PictureJob{"IGA/" + std::string(title.picture) + std::to_string(picture + 1) + ".jpg",
                                       [&title, picture, seed](cairo_t *cr, int w, int h, std::string *) {
                                           return PaintAd(cr, w, h, title, picture, seed);
                                       }});
}
