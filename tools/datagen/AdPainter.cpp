// The cross-promotion screenshots, Data/IGA/<name>1.jpg and <name>2.jpg:
// one pair for each of the maker's titles that the "other games" screen
// shows on the desktop. Each picture is a finished shot of the game it
// advertises, as the ad's own lines describe it (modules/GameAds.cpp),
// painted like the rest of the art (lit shapes, soft shadows, glows,
// outlined lettering): the first shows the game with its logo, the second a
// later moment of play with the game's own score bar. JPEG, so fully opaque.
#include "tools/datagen/DataGenRandom.h"
#include "tools/datagen/PaintKit.h"
#include "tools/datagen/PictureJob.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

// Every scene is drawn on a 256 x 256 canvas, scaled to the file's size.
const double S = 256.0;

const Rgb WHITE = {1, 1, 1}, BLACK = {0, 0, 0};

// --- Shared pieces -------------------------------------------------------

void Rect(cairo_t *cr, double x, double y, double w, double h)
{
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y, w, h);
}

// A vertical gradient over a band of the canvas.
void Band(cairo_t *cr, double y0, double y1, Rgb top, Rgb bottom)
{
    Rect(cr, 0, y0, S, y1 - y0);
    FillVertical(cr, y0, y1, top, bottom);
    cairo_new_path(cr);
}

// A soft round light: full colour in the middle, clear at radius r.
void Glow(cairo_t *cr, double x, double y, double r, Rgb c, double alpha)
{
    cairo_pattern_t *p = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(p, 0.0, c.r, c.g, c.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.35, c.r, c.g, c.b, alpha * 0.45);
    cairo_pattern_add_color_stop_rgba(p, 1.0, c.r, c.g, c.b, 0.0);
    cairo_new_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * PAINT_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// A rolling ridge from the left edge to the right, filled down to `bottom`.
void Ridge(cairo_t *cr, double base, double amp, double waves, double phase, double bottom, Rgb top, Rgb low)
{
    cairo_new_path(cr);
    cairo_move_to(cr, 0, bottom);
    for (int i = 0; i <= 64; i++) {
        double x = S * i / 64.0;
        double y = base - amp * (0.6 * std::sin(x / S * waves * PAINT_PI + phase) +
                                 0.4 * std::sin(x / S * waves * 2.3 * PAINT_PI + phase * 1.7));
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, S, bottom);
    cairo_close_path(cr);
    FillVertical(cr, base - amp, bottom, top, low);
    cairo_new_path(cr);
}

// A pointed leaf or blade from (x, y) along `angle`.
void LeafPath(cairo_t *cr, double x, double y, double length, double width, double angle)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 0, 0);
    cairo_curve_to(cr, length * 0.3, -width, length * 0.7, -width, length, 0);
    cairo_curve_to(cr, length * 0.7, width, length * 0.3, width, 0, 0);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void Leaf(cairo_t *cr, double x, double y, double length, double width, double angle, Rgb c)
{
    LeafPath(cr, x, y, length, width, angle);
    FillLit(cr, c, 1.3, 0.65);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + std::cos(angle) * length * 0.9, y + std::sin(angle) * length * 0.9);
    cairo_set_line_width(cr, std::max(0.6, width * 0.12));
    SetColour(cr, Shade(c, 1.5), 0.6);
    cairo_stroke(cr);
}

// Tufts of grass blades along a line.
void Grass(cairo_t *cr, double y, double height, Rgb c, uint64_t seed, int blades = 70)
{
    DataGenRandom rng(seed);
    for (int i = 0; i < blades; i++) {
        double x = rng.Range(-4, S + 4), h = height * rng.Range(0.5, 1.0);
        double lean = rng.Range(-0.35, 0.35);
        LeafPath(cr, x, y + 2, h, rng.Range(1.2, 2.4), -PAINT_PI / 2 + lean);
        SetColour(cr, Shade(c, rng.Range(0.75, 1.25)));
        cairo_fill(cr);
    }
}

// A lit ball with a soft shadow under it.
void Ball(cairo_t *cr, double x, double y, double r, Rgb c)
{
    SoftShadow(cr, [&](cairo_t *s) { EllipsePath(s, x, y, r, r); cairo_fill(s); }, 1.5, 2.5, 3, 0.45);
    EllipsePath(cr, x, y, r, r);
    FillLit(cr, c, 1.45, 0.55);
    cairo_new_path(cr);
}

void Mushroom(cairo_t *cr, double x, double y, double size, Rgb cap, bool spots)
{
    cairo_new_path(cr);
    cairo_move_to(cr, x - size * 0.18, y);
    cairo_curve_to(cr, x - size * 0.14, y - size * 0.5, x - size * 0.12, y - size * 0.6, x - size * 0.1, y - size * 0.7);
    cairo_line_to(cr, x + size * 0.1, y - size * 0.7);
    cairo_curve_to(cr, x + size * 0.12, y - size * 0.6, x + size * 0.14, y - size * 0.5, x + size * 0.18, y);
    cairo_close_path(cr);
    FillVertical(cr, y - size * 0.7, y, Hex(0xf4ead0), Hex(0xb8a888));
    cairo_new_path(cr);
    cairo_move_to(cr, x - size * 0.55, y - size * 0.62);
    cairo_curve_to(cr, x - size * 0.5, y - size * 1.15, x + size * 0.5, y - size * 1.15, x + size * 0.55, y - size * 0.62);
    cairo_curve_to(cr, x + size * 0.2, y - size * 0.55, x - size * 0.2, y - size * 0.55, x - size * 0.55, y - size * 0.62);
    cairo_close_path(cr);
    FillLit(cr, cap, 1.35, 0.6);
    cairo_new_path(cr);
    if (spots) {
        const double SPOTS[5][3] = {{-0.3, -0.75, 0.07}, {0.0, -0.93, 0.08}, {0.28, -0.8, 0.06},
                                    {-0.08, -0.7, 0.05}, {0.38, -0.68, 0.04}};
        for (const auto &s : SPOTS)
            EllipsePath(cr, x + s[0] * size, y + s[1] * size, s[2] * size, s[2] * size * 0.8);
        SetColour(cr, Hex(0xfff8e8), 0.9);
        cairo_fill(cr);
    }
}

// A small star-shaped glint.
void Sparkle(cairo_t *cr, double x, double y, double r, Rgb c)
{
    Glow(cr, x, y, r * 1.8, c, 0.5);
    StarPath(cr, x, y, r, 0.25, 4, 0);
    SetColour(cr, Mix(c, WHITE, 0.6));
    cairo_fill(cr);
}

// The game's logo, centred on (x, y).
void Logo(cairo_t *cr, const char *name, double x, double y, double size, Rgb fill)
{
    SoftShadow(cr, [&](cairo_t *s) { TextPath(s, name, x, y, size); cairo_fill(s); }, 0, 2, 4, 0.7);
    OutlinedText(cr, name, x, y, size, Mix(fill, WHITE, 0.55), fill, Hex(0x1a1008), size * 0.12);
}

// The game's score bar along the top: a dark strip with the title's small
// emblem on the left, a score in the middle and lives or items on the right.
void ScoreBar(cairo_t *cr, Rgb accent, const char *score, int lives, const std::function<void(double, double)> &emblem)
{
    cairo_new_path(cr);
    RoundedRectPath(cr, 4, 4, S - 8, 24, 7);
    SetColour(cr, Hex(0x0a0c08), 0.62);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    SetColour(cr, accent, 0.9);
    cairo_stroke(cr);
    emblem(18, 16);
    OutlinedText(cr, score, S * 0.5, 16, 13, WHITE, Mix(accent, WHITE, 0.4), BLACK, 1.4);
    for (int i = 0; i < lives; i++) {
        double hx = S - 20 - i * 15, hy = 16;
        cairo_new_path(cr);
        cairo_move_to(cr, hx, hy + 5);
        cairo_curve_to(cr, hx - 9, hy - 1, hx - 4, hy - 8, hx, hy - 3);
        cairo_curve_to(cr, hx + 4, hy - 8, hx + 9, hy - 1, hx, hy + 5);
        cairo_close_path(cr);
        FillLit(cr, Hex(0xe03a3a), 1.4, 0.6);
        cairo_new_path(cr);
    }
}

void Caption(cairo_t *cr, const char *text, double x, double y, Rgb c)
{
    OutlinedText(cr, text, x, y, 11, WHITE, c, BLACK, 1.6);
}

// A dashed white outline where a building of a town builder goes next.
void BuildingPlot(cairo_t *cr, double x, double y, double w, double h, double r)
{
    cairo_new_path(cr);
    RoundedRectPath(cr, x, y, w, h, r);
    const double DASH[2] = {3, 3};
    cairo_set_dash(cr, DASH, 2, 0);
    cairo_set_line_width(cr, 1.5);
    SetColour(cr, WHITE, 0.9);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
}

void House(cairo_t *cr, double x, double y, double k, Rgb wall, Rgb roof, bool lit)
{
    SoftShadow(cr, [&](cairo_t *s) { cairo_rectangle(s, x - 10 * k, y - 12 * k, 20 * k, 12 * k); cairo_fill(s); }, 2, 2,
               2, 0.4);
    Rect(cr, x - 10 * k, y - 12 * k, 20 * k, 12 * k);
    FillVertical(cr, y - 12 * k, y, wall, Shade(wall, 0.75));
    cairo_new_path(cr);
    cairo_move_to(cr, x - 13 * k, y - 11 * k);
    cairo_line_to(cr, x, y - 22 * k);
    cairo_line_to(cr, x + 13 * k, y - 11 * k);
    cairo_close_path(cr);
    FillLit(cr, roof, 1.3, 0.6);
    cairo_new_path(cr);
    Rect(cr, x - 3 * k, y - 9 * k, 4 * k, 4 * k);
    SetColour(cr, lit ? Hex(0xffd870) : Hex(0x2a3a4a));
    cairo_fill(cr);
    if (lit)
        Glow(cr, x - 1 * k, y - 7 * k, 8 * k, Hex(0xffd870), 0.6);
}

// --- The scenes -----------------------------------------------------------
// Each draws picture 0 (with the logo) or 1 (a later moment, score bar).

// One lantern fly: wings, body and its glowing tail, k its size.
void LanternFly(cairo_t *cr, double fx, double fy, double k, Rgb glow)
{
    Glow(cr, fx - 12 * k, fy + 10 * k, 30 * k, glow, 0.85);
    for (int side = -1; side <= 1; side += 2) {
        EllipsePath(cr, fx + side * 10 * k, fy - 8 * k, 14 * k, 6 * k, side * -0.5);
        SetColour(cr, Hex(0xd8e8ff), 0.55);
        cairo_fill_preserve(cr);
        SetColour(cr, WHITE, 0.8);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    EllipsePath(cr, fx, fy, 6 * k, 10 * k, 0.5);
    FillLit(cr, Hex(0x4a3020));
    cairo_new_path(cr);
    EllipsePath(cr, fx - 7 * k, fy + 11 * k, 7 * k, 7 * k);
    FillLit(cr, Mix(glow, WHITE, 0.5), 1.2, 0.9);
    cairo_new_path(cr);
}

void Lanternfly(cairo_t *cr, int picture)
{
    const Rgb GOLD = Hex(0xf8d860);
    Band(cr, 0, S, Hex(0x0a1030), Hex(0x1c2e4a));
    DataGenRandom rng(11);
    for (int i = 0; i < 40; i++) {
        double x = rng.Range(0, S), y = rng.Range(0, S * 0.5);
        EllipsePath(cr, x, y, 0.8, 0.8);
        SetColour(cr, WHITE, rng.Range(0.3, 0.9));
        cairo_fill(cr);
    }
    double mx = picture == 0 ? 200 : 60;
    Glow(cr, mx, 52, 40, Hex(0xe8f0ff), 0.35);
    Ball(cr, mx, 52, 15, Hex(0xf0f0e0));
    Ridge(cr, 170, 22, 2.2, 0.5, S, Hex(0x14202c), Hex(0x0c1418));
    // The dark woods round the glade.
    for (int i = 0; i < 5; i++) {
        double x = 20 + i * 58 + (picture ? 25 : 0), top = 95 + (i % 2) * 25;
        Rect(cr, x - 3, top + 30, 6, S - top);
        SetColour(cr, Hex(0x08100c));
        cairo_fill(cr);
        EllipsePath(cr, x, top + 20, 22, 34);
        SetColour(cr, Hex(0x0c1a12));
        cairo_fill(cr);
    }
    Ridge(cr, 215, 10, 3.0, 1.9, S, Hex(0x1a3a24), Hex(0x0c1c10));
    if (picture) {
        // A glade the swarm has lit: warm ground and opened flowers.
        Glow(cr, 128, 225, 110, Hex(0xf8c860), 0.55);
        DataGenRandom flowers(15);
        for (int i = 0; i < 14; i++) {
            double x = flowers.Range(50, 206), y = flowers.Range(212, 250);
            StarPath(cr, x, y, 3.5, 0.45, 5, 0);
            SetColour(cr, Mix(Hex(0xf0a0d0), WHITE, flowers.Range(0, 0.5)));
            cairo_fill(cr);
        }
    }
    Grass(cr, 230, 24, picture ? Hex(0x3a6a30) : Hex(0x1c3c24), 12);
    // The lights still to gather.
    DataGenRandom motes(picture ? 14 : 13);
    for (int i = 0; i < 6; i++)
        Glow(cr, motes.Range(20, 245), motes.Range(70, 200), 9, Hex(0xb0ff90), 0.8);
    // The swarm, flying in a loose wedge.
    const double SWARM[6][3] = {{150, 110, 1.0}, {120, 128, 0.7}, {176, 134, 0.75},
                                {98, 150, 0.55}, {196, 158, 0.6}, {140, 150, 0.5}};
    for (const auto &f : SWARM)
        LanternFly(cr, f[0] + (picture ? -20 : 0), f[1] + (picture ? 20 : 0), f[2], GOLD);
    if (picture == 0)
        Logo(cr, "Lanternfly", S / 2, 225, 30, GOLD);
    else
        ScoreBar(cr, GOLD, "GLADE 7 / 60", 3, [&](double x, double y) { Glow(cr, x, y, 9, GOLD, 1.0); });
}

// A sailing boat seen from the side, k its size.
void Boat(cairo_t *cr, double x, double y, double k, Rgb sail)
{
    cairo_new_path(cr);
    cairo_move_to(cr, x - 14 * k, y);
    cairo_line_to(cr, x + 14 * k, y);
    cairo_line_to(cr, x + 9 * k, y + 7 * k);
    cairo_line_to(cr, x - 9 * k, y + 7 * k);
    cairo_close_path(cr);
    FillLit(cr, Hex(0x8a5a2a));
    cairo_new_path(cr);
    cairo_move_to(cr, x, y - 2 * k);
    cairo_line_to(cr, x, y - 24 * k);
    cairo_line_to(cr, x + 12 * k, y - 4 * k);
    cairo_close_path(cr);
    FillVertical(cr, y - 24 * k, y, sail, Shade(sail, 0.8));
    cairo_new_path(cr);
}

void Lamp(cairo_t *cr, double x, double y, bool lit)
{
    Rect(cr, x - 0.8, y - 16, 1.6, 16);
    SetColour(cr, Hex(0x2a2420));
    cairo_fill(cr);
    if (lit)
        Glow(cr, x, y - 17, 10, Hex(0xffd870), 0.9);
    Ball(cr, x, y - 17, 2.2, lit ? Hex(0xfff0b0) : Hex(0x6a6a60));
}

void PebbleCove(cairo_t *cr, int picture)
{
    const Rgb STONE = Hex(0xb8b0a0), SEA = Hex(0x3a7ab0);
    // Dawn over the bay.
    Band(cr, 0, 110, Hex(0x6a78b8), Hex(0xf8c0a0));
    Glow(cr, 70, 108, 50, Hex(0xfff0c0), 0.8);
    Band(cr, 105, S, Mix(SEA, Hex(0xf8c0a0), 0.35), Shade(SEA, 0.7));
    for (int i = 0; i < 10; i++) {
        Rect(cr, 10 + i * 23, 118 + (i % 3) * 12, 14, 1.2);
        SetColour(cr, WHITE, 0.45);
        cairo_fill(cr);
    }
    // The cove's shore, the stone quay and the village on the hill.
    cairo_new_path(cr);
    cairo_move_to(cr, S, 90);
    cairo_curve_to(cr, 200, 100, 170, 150, 150, 180);
    cairo_curve_to(cr, 130, 210, 120, 240, 110, S);
    cairo_line_to(cr, S, S);
    cairo_close_path(cr);
    FillVertical(cr, 90, S, Hex(0x7aa050), Hex(0x4a7a34));
    cairo_new_path(cr);
    cairo_move_to(cr, 150, 180);
    cairo_line_to(cr, 80, 196);
    cairo_line_to(cr, 82, 206);
    cairo_line_to(cr, 148, 194);
    cairo_close_path(cr);
    FillVertical(cr, 180, 206, Shade(STONE, 1.1), Shade(STONE, 0.7));
    cairo_new_path(cr);
    const double HOUSES[6][3] = {{196, 112, 0.9}, {222, 106, 1.0}, {178, 140, 1.1},
                                 {210, 146, 1.2}, {166, 176, 1.0}, {238, 136, 0.8}};
    const Rgb ROOFS[3] = {Hex(0x3a5a7a), Hex(0xa04a2a), Hex(0x5a4a3a)};
    int built = picture ? 6 : 5;
    for (int i = 0; i < built; i++)
        House(cr, HOUSES[i][0], HOUSES[i][1], HOUSES[i][2], STONE, ROOFS[i % 3], i % 2 == 0);
    for (int i = 0; i < 3; i++)
        Lamp(cr, 100 + i * 22, 198 - i * 4.5, true);
    Boat(cr, 60, 170, 1.2, Hex(0xf0e0c8));
    Boat(cr, 30, 132, 0.7, Hex(0xe0a080));
    if (picture) {
        // The next house going up stone by stone, and a boat's trade.
        BuildingPlot(cr, 222, 162, 26, 22, 3);
        for (int i = 0; i < 4; i++) {
            EllipsePath(cr, 228 + i * 5, 181, 3, 2.4);
            FillLit(cr, STONE);
            cairo_new_path(cr);
        }
        for (int i = 0; i < 3; i++) {
            Rect(cr, 84 + i * 9, 186 - i * 2, 8, 7);
            FillVertical(cr, 180, 195, Hex(0xb08a5a), Hex(0x7a5a34));
            cairo_new_path(cr);
        }
        Caption(cr, "+12 FISH", 60, 140, Hex(0x70c0e0));
        ScoreBar(cr, Hex(0xe0a060), "STONE 24   FISH 12", 0, [&](double x, double y) {
            EllipsePath(cr, x, y, 7, 5.5);
            FillLit(cr, STONE);
            cairo_new_path(cr);
        });
    } else {
        Logo(cr, "Pebble Cove", S / 2, 40, 30, Hex(0x5ab0e0));
    }
}

// A fox sitting, seen from the side, facing right; k its size.
void Fox(cairo_t *cr, double x, double y, double k)
{
    const Rgb FUR = Hex(0xd8662a);
    cairo_new_path(cr);
    cairo_move_to(cr, x - 6 * k, y);
    cairo_curve_to(cr, x - 30 * k, y - 2 * k, x - 30 * k, y - 20 * k, x - 16 * k, y - 14 * k);
    cairo_curve_to(cr, x - 20 * k, y - 6 * k, x - 12 * k, y - 4 * k, x - 6 * k, y - 6 * k);
    cairo_close_path(cr);
    FillLit(cr, FUR, 1.3, 0.6);
    cairo_new_path(cr);
    EllipsePath(cr, x - 26 * k, y - 10 * k, 4 * k, 5 * k);
    SetColour(cr, Hex(0xf8f0e0));
    cairo_fill(cr);
    EllipsePath(cr, x, y - 10 * k, 9 * k, 12 * k);
    FillLit(cr, FUR, 1.3, 0.6);
    cairo_new_path(cr);
    EllipsePath(cr, x + 3 * k, y - 8 * k, 4 * k, 7 * k);
    SetColour(cr, Hex(0xf8f0e0));
    cairo_fill(cr);
    EllipsePath(cr, x + 3 * k, y - 25 * k, 7 * k, 6 * k);
    FillLit(cr, FUR, 1.3, 0.6);
    cairo_new_path(cr);
    cairo_move_to(cr, x + 8 * k, y - 27 * k);
    cairo_line_to(cr, x + 17 * k, y - 23 * k);
    cairo_line_to(cr, x + 8 * k, y - 21 * k);
    cairo_close_path(cr);
    SetColour(cr, FUR);
    cairo_fill(cr);
    for (int side = -1; side <= 1; side += 2) {
        cairo_new_path(cr);
        cairo_move_to(cr, x + (side * 4 - 1) * k, y - 29 * k);
        cairo_line_to(cr, x + (side * 3 + 1) * k, y - 37 * k);
        cairo_line_to(cr, x + (side * 2 + 4) * k, y - 29 * k);
        cairo_close_path(cr);
        SetColour(cr, Shade(FUR, 0.8));
        cairo_fill(cr);
    }
    Ball(cr, x + 17 * k, y - 23 * k, 1.4 * k, Hex(0x1a1010));
    EllipsePath(cr, x + 6 * k, y - 26 * k, 1.2 * k, 1.2 * k);
    SetColour(cr, Hex(0x1a1010));
    cairo_fill(cr);
}

// The small things a hidden-object scene hides, each drawn at (x, y).
void HiddenThing(cairo_t *cr, int kind, double x, double y, double k)
{
    switch (kind) {
    case 0:  // a key
        cairo_new_path(cr);
        cairo_arc(cr, x - 5 * k, y, 3 * k, 0, 2 * PAINT_PI);
        cairo_move_to(cr, x - 2 * k, y);
        cairo_line_to(cr, x + 7 * k, y);
        cairo_line_to(cr, x + 7 * k, y + 3 * k);
        cairo_move_to(cr, x + 4 * k, y);
        cairo_line_to(cr, x + 4 * k, y + 2.5 * k);
        cairo_set_line_width(cr, 1.6 * k);
        SetColour(cr, Hex(0xe0c050));
        cairo_stroke(cr);
        break;
    case 1:  // a pocket watch
        Ball(cr, x, y, 5 * k, Hex(0xe0c050));
        EllipsePath(cr, x, y, 3.5 * k, 3.5 * k);
        SetColour(cr, Hex(0xf8f0e0));
        cairo_fill(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x, y - 2.5 * k);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + 2 * k, y);
        cairo_set_line_width(cr, 0.7 * k);
        SetColour(cr, BLACK);
        cairo_stroke(cr);
        break;
    case 2:  // a feather
        Leaf(cr, x - 6 * k, y + 4 * k, 14 * k, 3 * k, -0.6, Hex(0x6a9ad0));
        break;
    default:  // an acorn
        EllipsePath(cr, x, y + 1.5 * k, 3.5 * k, 4.5 * k);
        FillLit(cr, Hex(0xb0803a));
        cairo_new_path(cr);
        EllipsePath(cr, x, y - 2 * k, 4.5 * k, 2.5 * k);
        FillLit(cr, Hex(0x6a4a2a));
        cairo_new_path(cr);
        break;
    }
}

void Gloamwood(cairo_t *cr, int picture)
{
    const Rgb EMBER = Hex(0xf0a040);
    Band(cr, 0, S, Hex(0x3a2a58), Hex(0xc07a5a));
    Glow(cr, 150, 140, 120, Hex(0xf8b070), 0.4);
    // The old forest in three depths of trunks and hanging leaves.
    for (int layer = 0; layer < 3; layer++) {
        DataGenRandom rng(31 + layer);
        Rgb c = Mix(Hex(0x6a5a6a), Hex(0x1a1418), layer / 2.0);
        for (int i = 0; i < 6 - layer; i++) {
            double x = rng.Range(0, S), w = 12 + layer * 10;
            Rect(cr, x - w / 2, 0, w, S);
            FillVertical(cr, 0, S, Shade(c, 1.2), c);
            cairo_new_path(cr);
            for (int b = 0; b < 4; b++)
                Leaf(cr, x, rng.Range(10, 120), rng.Range(20, 40), 4, rng.Range(-2.8, -0.3),
                     Mix(Hex(0x3a5a3a), c, 0.5));
        }
    }
    Ridge(cr, 200, 10, 3, 0.3, S, Hex(0x3a4a2a), Hex(0x1a2214));
    // Ferns, mushrooms and a fallen log on the forest floor.
    cairo_new_path(cr);
    RoundedRectPath(cr, 120, 206, 110, 18, 9);
    FillVertical(cr, 206, 224, Hex(0x7a5a3a), Hex(0x4a3420));
    cairo_new_path(cr);
    EllipsePath(cr, 226, 215, 5, 9);
    FillLit(cr, Hex(0xc8a070));
    cairo_new_path(cr);
    for (int i = 0; i < 6; i++)
        Leaf(cr, 20 + i * 8, 240, 34, 5, -1.2 - i * 0.15, Hex(0x4a8a3a));
    const double CAPS[4][3] = {{36, 232, 16}, {212, 246, 20}, {96, 246, 12}, {244, 238, 12}};
    for (const auto &m : CAPS)
        Mushroom(cr, m[0], m[1], m[2], Hex(0xc0503a), true);
    // The fox that hid the things, watching from behind a trunk.
    Fox(cr, 176, 206, picture ? 0.8 : 1.0);
    // The hidden things themselves, small and half in shadow.
    const double HIDDEN[4][2] = {{60, 180}, {150, 226}, {100, 120}, {232, 176}};
    for (int i = 0; i < 4; i++)
        HiddenThing(cr, i, HIDDEN[i][0], HIDDEN[i][1], 0.9);
    if (picture == 0) {
        Logo(cr, "Gloamwood", S / 2, 36, 32, EMBER);
        return;
    }
    // A find circled, and the list of what is still to find.
    cairo_new_path(cr);
    cairo_arc(cr, HIDDEN[2][0], HIDDEN[2][1], 12, 0, 2 * PAINT_PI);
    cairo_set_line_width(cr, 2.5);
    SetColour(cr, Hex(0xfff0a0));
    cairo_stroke(cr);
    Glow(cr, HIDDEN[2][0], HIDDEN[2][1], 18, Hex(0xfff0a0), 0.4);
    cairo_new_path(cr);
    RoundedRectPath(cr, 4, 226, S - 8, 26, 7);
    SetColour(cr, Hex(0x140c10), 0.7);
    cairo_fill_preserve(cr);
    SetColour(cr, EMBER, 0.9);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    OutlinedText(cr, "FIND:", 30, 239, 11, WHITE, EMBER, BLACK, 1.2);
    for (int i = 0; i < 4; i++) {
        HiddenThing(cr, i, 74 + i * 44, 239, 1.3);
        if (i == 2) {
            cairo_new_path(cr);
            cairo_move_to(cr, 74 + i * 44 - 12, 239);
            cairo_line_to(cr, 74 + i * 44 + 12, 239);
            cairo_set_line_width(cr, 2);
            SetColour(cr, Hex(0xfff0a0));
            cairo_stroke(cr);
        }
    }
    ScoreBar(cr, EMBER, "SCENE 12 / 40", 0, [&](double x, double y) { Fox(cr, x - 2, y + 8, 0.35); });
}

void Beetle(cairo_t *cr, double x, double y, double angle, Rgb shell)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    SoftShadow(cr, [&](cairo_t *s) { EllipsePath(s, 0, 0, 12, 8); cairo_fill(s); }, 2, 2, 2, 0.5);
    Ball(cr, 11, 0, 4, Hex(0x1a1a1a));
    EllipsePath(cr, 0, 0, 11, 8);
    FillLit(cr, shell, 1.5, 0.5);
    cairo_new_path(cr);
    cairo_move_to(cr, -11, 0);
    cairo_line_to(cr, 9, 0);
    cairo_set_line_width(cr, 1);
    SetColour(cr, BLACK, 0.6);
    cairo_stroke(cr);
    Rect(cr, -6, -8, 3, 16);
    SetColour(cr, WHITE, 0.8);
    cairo_fill(cr);
    cairo_restore(cr);
}

void SporeDrift(cairo_t *cr, int picture)
{
    Band(cr, 0, S, picture ? Hex(0x5a8ad0) : Hex(0x8ac8e8), Hex(0xe0f0e0));
    DataGenRandom rng(41 + picture);
    for (int i = 0; i < 4; i++) {
        double x = rng.Range(0, S), y = rng.Range(20, 110);
        for (int k = 0; k < 4; k++)
            EllipsePath(cr, x + k * 12 - 18, y + (k % 2) * 4, 16, 10);
        SetColour(cr, WHITE, 0.8);
        cairo_fill(cr);
    }
    // Wind streaks.
    for (int i = 0; i < 6; i++) {
        double y = 60 + i * 26;
        cairo_new_path(cr);
        cairo_move_to(cr, rng.Range(0, 60), y);
        cairo_curve_to(cr, 90, y - 10, 150, y + 10, rng.Range(200, 250), y - 4);
        cairo_set_line_width(cr, 1.6);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        SetColour(cr, WHITE, 0.55);
        cairo_stroke(cr);
    }
    double ground = picture ? 236 : 200;
    Ridge(cr, ground, 8, 2, 1.0, S, Hex(0x6aa04a), Hex(0x3a6a2a));
    Grass(cr, ground + 6, 16, Hex(0x5a9a3a), 42);
    const double CAPS[5][3] = {{30, 0, 46}, {90, 6, 30}, {150, -4, 56}, {215, 4, 40}, {250, 8, 24}};
    const Rgb CAP_COLOURS[3] = {Hex(0xd04a3a), Hex(0xd8a05a), Hex(0xa86ac0)};
    for (int i = 0; i < 5; i++)
        Mushroom(cr, CAPS[i][0], ground + 10 + CAPS[i][1], CAPS[i][2] * (picture ? 0.6 : 1.0), CAP_COLOURS[i % 3],
                 i % 3 == 0);
    // Patches of moss grown where the spore landed before.
    for (int i = 0; i < 1 + picture * 2; i++) {
        double mx = 60 + i * 70, my = ground + 8;
        for (int k = 0; k < 7; k++)
            EllipsePath(cr, mx + (k - 3) * 5, my - (k % 2) * 3, 7, 5);
        FillLit(cr, Hex(0x8ad04a), 1.4, 0.6);
        cairo_new_path(cr);
        Sparkle(cr, mx + 8, my - 8, 3, Hex(0xd0ff90));
    }
    // Beetles on the wing to dodge, the gusts' seeds and the spore itself.
    Beetle(cr, picture ? 90 : 200, picture ? 150 : 80, picture ? 0.4 : 2.6, Hex(0x3a6ad0));
    if (picture)
        Beetle(cr, 220, 130, 2.9, Hex(0xd03a2a));
    for (int i = 0; i < 5; i++)
        Sparkle(cr, 40 + i * 40, 96 + std::sin(i * 1.3) * 24 + (picture ? -20 : 0), 4, Hex(0xf0e070));
    double sx = picture ? 170 : 110, sy = picture ? 90 : 120;
    Glow(cr, sx, sy, 30, WHITE, 0.6);
    for (int k = 0; k < 16; k++) {
        double a = k * PAINT_PI / 8;
        cairo_new_path(cr);
        cairo_move_to(cr, sx, sy);
        cairo_line_to(cr, sx + std::cos(a) * 18, sy + std::sin(a) * 18);
        cairo_set_line_width(cr, 1.2);
        SetColour(cr, WHITE, 0.9);
        cairo_stroke(cr);
    }
    Ball(cr, sx, sy, 8, Hex(0xf0e8c8));
    for (int e = -1; e <= 1; e += 2) {
        EllipsePath(cr, sx + e * 3, sy - 1, 1.4, 2);
        SetColour(cr, Hex(0x2a1a10));
        cairo_fill(cr);
    }
    if (picture == 0)
        Logo(cr, "Spore Drift", S / 2, 34, 32, Hex(0xd8a05a));
    else
        ScoreBar(cr, Hex(0xd8a05a), "MOSS 3 / 5", 2, [&](double x, double y) { Ball(cr, x, y, 6, Hex(0xf0e8c8)); });
}

void Castle(cairo_t *cr, double x, double base, double k, Rgb stone)
{
    auto tower = [&](double tx, double w, double h) {
        Rect(cr, tx - w / 2, base - h, w, h);
        FillVertical(cr, base - h, base, Shade(stone, 1.15), Shade(stone, 0.7));
        cairo_new_path(cr);
        for (int i = 0; i < 3; i++) {
            Rect(cr, tx - w / 2 + i * w / 2.5, base - h - 5 * k, w / 5, 5 * k);
            SetColour(cr, Shade(stone, 1.05));
            cairo_fill(cr);
        }
        Rect(cr, tx - 1.5 * k, base - h * 0.7, 3 * k, 6 * k);
        SetColour(cr, Hex(0x2a2018));
        cairo_fill(cr);
        // Each tower grown from a fern: fronds unfurl from its top and a
        // vine winds down its wall.
        for (int f = -2; f <= 2; f++)
            Leaf(cr, tx + f * w / 6, base - h - 3 * k, 12 * k, 3 * k, -PAINT_PI / 2 + f * 0.45, Hex(0x3a9a3a));
        cairo_new_path(cr);
        cairo_move_to(cr, tx - w / 2, base - h + 4 * k);
        for (int v = 1; v <= 4; v++)
            cairo_curve_to(cr, tx + (v % 2 ? w / 2 : -w / 2), base - h + (v * 2 - 1) * h / 9,
                           tx + (v % 2 ? w / 2 : -w / 2), base - h + v * 2 * h / 9, tx, base - h + v * 2 * h / 9);
        cairo_set_line_width(cr, 1.6 * k);
        SetColour(cr, Hex(0x2a6a22));
        cairo_stroke(cr);
    };
    SoftShadow(cr, [&](cairo_t *s) { cairo_rectangle(s, x - 50 * k, base - 50 * k, 100 * k, 50 * k); cairo_fill(s); },
               3, 3, 5, 0.4);
    tower(x, 70 * k, 38 * k);
    tower(x - 40 * k, 22 * k, 62 * k);
    tower(x + 40 * k, 22 * k, 62 * k);
    tower(x, 26 * k, 70 * k);
    // Gate and flag.
    cairo_new_path(cr);
    cairo_arc(cr, x, base - 12 * k, 8 * k, PAINT_PI, 2 * PAINT_PI);
    cairo_line_to(cr, x + 8 * k, base);
    cairo_line_to(cr, x - 8 * k, base);
    cairo_close_path(cr);
    SetColour(cr, Hex(0x3a2414));
    cairo_fill(cr);
    Rect(cr, x - 0.8, base - 92 * k, 1.6, 22 * k);
    SetColour(cr, Hex(0x3a2a1a));
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x + 0.8, base - 92 * k);
    cairo_line_to(cr, x + 18 * k, base - 87 * k);
    cairo_line_to(cr, x + 0.8, base - 82 * k);
    cairo_close_path(cr);
    FillLit(cr, Hex(0xd03a3a));
    cairo_new_path(cr);
}

void Snail(cairo_t *cr, double x, double y, double k)
{
    EllipsePath(cr, x, y, 12 * k, 4 * k);
    FillLit(cr, Hex(0xb8a070));
    cairo_new_path(cr);
    Ball(cr, x + 2 * k, y - 8 * k, 8 * k, Hex(0xa0603a));
    cairo_new_path(cr);
    cairo_arc(cr, x + 2 * k, y - 8 * k, 4 * k, 0, 1.6 * PAINT_PI);
    cairo_set_line_width(cr, 1.2 * k);
    SetColour(cr, Hex(0x5a2a10), 0.8);
    cairo_stroke(cr);
}

void FernCastle(cairo_t *cr, int picture)
{
    const Rgb FERN = Hex(0x3a8a3a);
    Band(cr, 0, S, Hex(0x6aa8d8), Hex(0xd8eef0));
    Ridge(cr, 170, 18, 1.5, 2.0, S, Hex(0x7ab060), Hex(0x4a8038));
    double k = picture ? 1.3 : 1.0;
    Castle(cr, picture ? 90 : 128, picture ? 190 : 165, k, Hex(0x8ab070));
    Ridge(cr, 220, 6, 2, 0.6, S, Hex(0x5a9a40), Hex(0x2e6a2a));
    // Fern fronds framing the scene.
    auto frond = [&](double x, double y, double angle, double length, double side) {
        double dx = std::cos(angle), dy = std::sin(angle);
        for (int i = 0; i < 14; i++) {
            double t = i / 14.0, px = x + dx * length * t, py = y + dy * length * t;
            double leaf = (1.0 - t) * length * 0.28 + 4;
            Leaf(cr, px, py, leaf, leaf * 0.22, angle - 1.1 * side, Shade(FERN, 0.8 + t * 0.4));
            Leaf(cr, px, py, leaf, leaf * 0.22, angle + 1.1 * side, Shade(FERN, 0.8 + t * 0.4));
        }
    };
    frond(-10, 250, -1.0, 150, 1);
    frond(266, 250, -2.1, 140, -1);
    frond(20, 256, -1.35, 110, 1);
    // The snails coming, and the defenders' shots.
    for (int i = 0; i < 3; i++)
        Snail(cr, 160 + i * 30 + (picture ? 10 : 0), 228 + (i % 2) * 8, 1.0);
    if (picture) {
        for (int i = 0; i < 3; i++) {
            double ax = 130 + i * 22, ay = 150 + i * 18;
            cairo_new_path(cr);
            cairo_move_to(cr, ax, ay);
            cairo_line_to(cr, ax + 12, ay + 7);
            cairo_set_line_width(cr, 1.6);
            SetColour(cr, Hex(0x3a2a1a));
            cairo_stroke(cr);
        }
        Ball(cr, 200, 140, 6, Hex(0x8a8478));
        // A tower being planted at the wall's end.
        for (int f = -2; f <= 2; f++)
            Leaf(cr, 160, 200, 16, 4, -PAINT_PI / 2 + f * 0.4, Hex(0x4ab04a));
        Sparkle(cr, 160, 186, 5, Hex(0xd0ff90));
        ScoreBar(cr, Hex(0xd03a3a), "WAVE 6", 3, [&](double x, double y) {
            StarPath(cr, x, y, 8, 0.45, 5, -PAINT_PI / 2);
            FillLit(cr, Hex(0xe8c040));
            cairo_new_path(cr);
        });
    } else {
        Logo(cr, "Fern Castle", S / 2, 36, 32, Hex(0x7ad060));
    }
}

// The racing droplet, with a face and a shine; k its size.
void Droplet(cairo_t *cr, double x, double y, double k, double lean)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, lean);
    Glow(cr, 0, 0, 22 * k, Hex(0xa0e8ff), 0.5);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, -16 * k);
    cairo_curve_to(cr, 6 * k, -8 * k, 11 * k, -2 * k, 11 * k, 4 * k);
    cairo_curve_to(cr, 11 * k, 11 * k, 6 * k, 14 * k, 0, 14 * k);
    cairo_curve_to(cr, -6 * k, 14 * k, -11 * k, 11 * k, -11 * k, 4 * k);
    cairo_curve_to(cr, -11 * k, -2 * k, -6 * k, -8 * k, 0, -16 * k);
    cairo_close_path(cr);
    FillLit(cr, Hex(0x5ab8f0), 1.6, 0.6);
    cairo_new_path(cr);
    EllipsePath(cr, -4 * k, -2 * k, 2.5 * k, 4 * k, 0.4);
    SetColour(cr, WHITE, 0.85);
    cairo_fill(cr);
    for (int e = -1; e <= 1; e += 2) {
        EllipsePath(cr, e * 3.5 * k + 1 * k, 5 * k, 1.4 * k, 2 * k);
        SetColour(cr, Hex(0x10304a));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void DewDrop(cairo_t *cr, double x, double y, double r)
{
    Glow(cr, x, y, r * 2.2, Hex(0xa0e8ff), 0.5);
    EllipsePath(cr, x, y, r, r);
    FillLit(cr, Hex(0x70c8f0), 1.6, 0.6);
    cairo_new_path(cr);
    EllipsePath(cr, x - r * 0.35, y - r * 0.35, r * 0.3, r * 0.2, -0.7);
    SetColour(cr, WHITE, 0.9);
    cairo_fill(cr);
}

void DewRunner(cairo_t *cr, int picture)
{
    // Sunrise behind the meadow.
    Band(cr, 0, S, Hex(0xf0a070), Hex(0xf8e8c0));
    Glow(cr, 60, 150, 80, Hex(0xfff0c0), 0.9);
    Ball(cr, 60, 150, 18, Hex(0xfff4c0));
    Ridge(cr, 150, 16, 2, picture * 1.5, S, Hex(0x9ac070), Hex(0x6a9a4a));
    // The leaf the droplet races down: one long blade from the top right to
    // the bottom left, its midrib the track.
    const double x0 = 270, y0 = 30, x1 = -20, y1 = 240;
    const double angle = std::atan2(y1 - y0, x1 - x0), length = std::hypot(x1 - x0, y1 - y0);
    SoftShadow(cr, [&](cairo_t *s) { LeafPath(s, x0, y0, length, 52, angle); cairo_fill(s); }, 0, 6, 6, 0.4);
    Leaf(cr, x0, y0, length, 52, angle, Hex(0x5ab03a));
    // Side veins.
    for (int i = 1; i < 9; i++) {
        double t = i / 9.0, px = x0 + (x1 - x0) * t, py = y0 + (y1 - y0) * t;
        for (int side = -1; side <= 1; side += 2) {
            cairo_new_path(cr);
            cairo_move_to(cr, px, py);
            cairo_line_to(cr, px + std::cos(angle + side * 0.7) * 26, py + std::sin(angle + side * 0.7) * 26);
            cairo_set_line_width(cr, 1);
            SetColour(cr, Hex(0xa0e070), 0.5);
            cairo_stroke(cr);
        }
    }
    // Dew to collect along the leaf, some already gone in the second shot.
    for (int i = 0; i < 7; i++) {
        double t = 0.1 + i * 0.12;
        if (picture && t > 0.55)
            continue;
        DewDrop(cr, x0 + (x1 - x0) * t + (i % 2 ? 10 : -10), y0 + (y1 - y0) * t + (i % 2 ? 6 : -6), 4);
    }
    double t = picture ? 0.72 : 0.38;
    double dx = x0 + (x1 - x0) * t, dy = y0 + (y1 - y0) * t;
    // The streak behind the racing droplet.
    cairo_new_path(cr);
    cairo_move_to(cr, dx + 45 * std::cos(angle + PAINT_PI), dy + 45 * std::sin(angle + PAINT_PI));
    cairo_line_to(cr, dx, dy);
    cairo_set_line_width(cr, 8);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, Hex(0xd0f4ff), 0.55);
    cairo_stroke(cr);
    Droplet(cr, dx, dy - 6, 1.3, angle - PAINT_PI / 2 - 0.9);
    if (picture) {
        ScoreBar(cr, Hex(0x70c8f0), "0:42.15", 0, [&](double x, double y) { DewDrop(cr, x, y, 6); });
        OutlinedText(cr, "DEW 5", S - 32, 16, 10, WHITE, Hex(0x70c8f0), BLACK, 1.2);
    } else {
        Logo(cr, "Dew Runner", 150, 220, 30, Hex(0x70c8f0));
    }
}

void Thistle(cairo_t *cr, double x, double y, double r, Rgb tuft)
{
    Glow(cr, x, y - r * 0.2, r * 1.5, WHITE, 0.35);
    for (int k = 0; k < 22; k++) {
        double a = -PAINT_PI + k * PAINT_PI / 21;
        cairo_new_path(cr);
        cairo_move_to(cr, x, y + r * 0.6);
        cairo_curve_to(cr, x + std::cos(a) * r * 0.5, y + std::sin(a) * r * 0.2, x + std::cos(a) * r,
                       y + std::sin(a) * r * 0.8, x + std::cos(a) * r, y + std::sin(a) * r);
        cairo_set_line_width(cr, 0.9);
        SetColour(cr, Mix(tuft, WHITE, 0.6), 0.95);
        cairo_stroke(cr);
    }
    EllipsePath(cr, x, y + r * 0.75, r * 0.18, r * 0.3);
    FillLit(cr, tuft);
    cairo_new_path(cr);
}

void Thistledown(cairo_t *cr, int picture)
{
    const Rgb SEEDS[4] = {Hex(0xb060c0), Hex(0xe0b040), Hex(0x5a9ad0), Hex(0xe06a6a)};
    Band(cr, 0, S, picture ? Hex(0x5a5a9a) : Hex(0x7aa8e0), picture ? Hex(0xf0b080) : Hex(0xd8e8f0));
    Ridge(cr, 110, 12, 1.6, 0.2, S, Hex(0x8aa060), Hex(0x5a7a40));
    // The board: seed heads in the meadow's grass, 6 x 5.
    const double bx = 38, by = 118, cell = 30;
    cairo_new_path(cr);
    RoundedRectPath(cr, bx - 6, by - 6, cell * 6 + 12, cell * 4 + 12, 10);
    SetColour(cr, Hex(0x2a3a1a), 0.5);
    cairo_fill(cr);
    DataGenRandom rng(71);
    for (int row = 0; row < 4; row++)
        for (int col = 0; col < 6; col++) {
            int kind = rng.Int(0, 4);
            // A row of three (a chain of a whole row in the second shot)
            // lifting away.
            bool matched = row == 1 && (picture ? true : col >= 2 && col <= 4);
            double x = bx + col * cell + cell / 2, y = by + row * cell + cell / 2;
            if (matched) {
                Glow(cr, x, y, 15, WHITE, 0.5);
                Thistle(cr, x, y - (picture ? 70 + col * 6 : 40), 12, SEEDS[0]);
                continue;
            }
            Ball(cr, x, y, 10, Shade(SEEDS[kind], 0.9));
            StarPath(cr, x, y - 2, 7, 0.5, 8, 0);
            SetColour(cr, Mix(SEEDS[kind], WHITE, 0.5), 0.9);
            cairo_fill(cr);
        }
    if (picture) {
        Caption(cr, "CHAIN x4", 128, 30 + 14, SEEDS[1]);
        ScoreBar(cr, SEEDS[0], "MEADOW 4 / 8", 0, [&](double x, double y) { Thistle(cr, x, y - 2, 8, SEEDS[0]); });
    } else {
        Logo(cr, "Thistledown", S / 2, 36, 30, Hex(0xc070d0));
    }
}

// A small one of the bog folk: a mossy mound with lantern eyes.
void BogFolk(cairo_t *cr, double x, double y, double k)
{
    cairo_new_path(cr);
    cairo_move_to(cr, x - 12 * k, y);
    cairo_curve_to(cr, x - 12 * k, y - 22 * k, x + 12 * k, y - 22 * k, x + 12 * k, y);
    cairo_close_path(cr);
    FillLit(cr, Hex(0x4a6a3a), 1.4, 0.5);
    cairo_new_path(cr);
    for (int e = -1; e <= 1; e += 2) {
        Glow(cr, x + e * 4 * k, y - 11 * k, 5 * k, Hex(0xf0f080), 0.9);
        EllipsePath(cr, x + e * 4 * k, y - 11 * k, 1.6 * k, 2 * k);
        SetColour(cr, Hex(0xffffc0));
        cairo_fill(cr);
    }
}

void MireLights(cairo_t *cr, int picture)
{
    const Rgb WISP = Hex(0x80f0b0);
    Band(cr, 0, S, Hex(0x0a1418), Hex(0x1a2a22));
    Band(cr, 110, S, Hex(0x14221e), Hex(0x0a1410));
    // The lost village on stilts across the marsh, its windows lit.
    for (int i = 0; i < 4; i++) {
        double x = 150 + i * 22, y = 100 - (i % 2) * 4;
        Rect(cr, x - 8, y - 10, 16, 10);
        SetColour(cr, Hex(0x1a1612));
        cairo_fill(cr);
        cairo_new_path(cr);
        cairo_move_to(cr, x - 10, y - 9);
        cairo_line_to(cr, x, y - 18);
        cairo_line_to(cr, x + 10, y - 9);
        cairo_close_path(cr);
        cairo_fill(cr);
        for (int s = -1; s <= 1; s += 2) {
            Rect(cr, x + s * 6, y, 1.5, 10);
            cairo_fill(cr);
        }
        Glow(cr, x, y - 5, 6, Hex(0xf0c060), 0.9);
    }
    // Reflections and lily pads on the still water.
    DataGenRandom rng(81);
    for (int i = 0; i < 8; i++) {
        double x = rng.Range(10, 246), y = rng.Range(140, 245), r = rng.Range(10, 18);
        EllipsePath(cr, x, y, r, r * 0.45);
        FillLit(cr, Hex(0x2a5a2a), 1.3, 0.6);
        cairo_new_path(cr);
    }
    // Reeds at the sides.
    for (int i = 0; i < 30; i++) {
        double x = i < 15 ? rng.Range(0, 70) : rng.Range(200, S), h = rng.Range(30, 80);
        LeafPath(cr, x, 150 + (i % 5) * 20, h, 1.6, -PAINT_PI / 2 + rng.Range(-0.2, 0.2));
        SetColour(cr, Hex(0x0c1a12));
        cairo_fill(cr);
    }
    // The boardwalk and the marsh lights leading along it.
    cairo_new_path(cr);
    cairo_move_to(cr, 110, S);
    cairo_curve_to(cr, 120, 200, 90, 150, 160, 112);
    cairo_set_line_width(cr, 10);
    SetColour(cr, Hex(0x3a2a1a));
    cairo_stroke(cr);
    for (int i = 0; i < 6; i++) {
        double t = i / 5.0, x = 112 + std::sin(t * 3.2) * -18 + t * 40, y = 236 - t * 118;
        Glow(cr, x + 12, y - 10, 18 - t * 8, WISP, 0.85 - t * 0.3);
        EllipsePath(cr, x + 12, y - 10, 2.4 - t, 2.4 - t);
        SetColour(cr, WHITE);
        cairo_fill(cr);
    }
    BogFolk(cr, 70, 222, 1.2);
    if (picture) {
        cairo_new_path(cr);
        RoundedRectPath(cr, 6, 176, S - 12, 74, 8);
        SetColour(cr, Hex(0x0a100c), 0.78);
        cairo_fill_preserve(cr);
        SetColour(cr, WISP, 0.9);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        BogFolk(cr, 34, 222, 1.3);
        const char *LINES[3] = {"\"What walks the bog at", "night and leaves no", "track behind it?\""};
        for (int i = 0; i < 3; i++)
            OutlinedText(cr, LINES[i], 150, 194 + i * 17, 11, WHITE, Mix(WISP, WHITE, 0.5), BLACK, 1.0);
        ScoreBar(cr, WISP, "CHAPTER 5", 0, [&](double x, double y) { Glow(cr, x, y, 9, WISP, 1.0); });
    } else {
        Glow(cr, 200, 40, 24, Hex(0xd8e8f0), 0.4);
        Logo(cr, "Mire Lights", S / 2, 40, 32, WISP);
    }
}

// The hedgehog rolled into a ball of spines, k its size.
void Hedgehog(cairo_t *cr, double x, double y, double k)
{
    SoftShadow(cr, [&](cairo_t *s) { EllipsePath(s, x, y, 11 * k, 11 * k); cairo_fill(s); }, 2, 3, 3, 0.5);
    StarPath(cr, x, y, 13 * k, 0.72, 18, 0.1);
    FillLit(cr, Hex(0x6a4a2a), 1.4, 0.5);
    cairo_new_path(cr);
    EllipsePath(cr, x + 4 * k, y + 3 * k, 6 * k, 5 * k);
    FillLit(cr, Hex(0xe0c09a), 1.2, 0.7);
    cairo_new_path(cr);
    Ball(cr, x + 9 * k, y + 3 * k, 1.6 * k, Hex(0x1a1010));
    EllipsePath(cr, x + 5 * k, y, 1 * k, 1.2 * k);
    SetColour(cr, Hex(0x1a1010));
    cairo_fill(cr);
}

void BrambleRush(cairo_t *cr, int picture)
{
    // The maze seen from above: earth paths between bramble hedges.
    Band(cr, 0, S, Hex(0x9a7a50), Hex(0x8a6a44));
    const char *MAZE[8] = {"########", "#..#...#", "#.##.#.#", "#....#.#", "##.###.#", "#..#...#", "#.#..#.#",
                           "########"};
    const double cell = S / 8;
    DataGenRandom rng(91);
    for (int r = 0; r < 8; r++)
        for (int c = 0; c < 8; c++) {
            if (MAZE[r][c] != '#')
                continue;
            double x = c * cell, y = r * cell;
            cairo_new_path(cr);
            RoundedRectPath(cr, x - 2, y - 2, cell + 4, cell + 4, 10);
            FillVertical(cr, y, y + cell, Hex(0x2a5a26), Hex(0x1a3a18));
            cairo_new_path(cr);
            for (int k = 0; k < 4; k++)
                Leaf(cr, x + rng.Range(4, cell - 4), y + rng.Range(4, cell - 4), 11, 4, rng.Range(0, 6.3),
                     Hex(0x3a7a30));
            // Thorns along the hedge.
            for (int k = 0; k < 3; k++) {
                double tx = x + rng.Range(2, cell - 2), ty = y + rng.Range(2, cell - 2);
                StarPath(cr, tx, ty, 2.5, 0.3, 3, rng.Range(0, 6.3));
                SetColour(cr, Hex(0xd8c8a0));
                cairo_fill(cr);
            }
        }
    // Berries for the winter store along the paths.
    const double BERRIES[7][2] = {{1.5, 1.5}, {2.5, 1.5}, {5.5, 1.5}, {4.5, 3.5}, {6.5, 4.5}, {1.5, 5.5}, {4.5, 6.5}};
    for (int i = picture ? 3 : 0; i < 7; i++) {
        double x = BERRIES[i][0] * cell, y = BERRIES[i][1] * cell;
        for (int b = 0; b < 3; b++)
            Ball(cr, x + (b - 1) * 4, y + (b == 1 ? -3 : 1), 3.2, Hex(0x4a1a5a));
    }
    // The hedgehog rolling along the path, its speed lines behind it.
    double hx = picture ? 5.5 * cell : 2.5 * cell, hy = picture ? 3.5 * cell : 3.5 * cell;
    for (int i = 0; i < 3; i++) {
        cairo_new_path(cr);
        cairo_move_to(cr, hx - 16 - i * 2, hy - 6 + i * 6);
        cairo_line_to(cr, hx - 30 - i * 4, hy - 6 + i * 6);
        cairo_set_line_width(cr, 2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        SetColour(cr, WHITE, 0.7);
        cairo_stroke(cr);
    }
    Hedgehog(cr, hx, hy, 1.1);
    if (picture)
        ScoreBar(cr, Hex(0x9a5ad0), "BERRIES 36", 3, [&](double x, double y) { Ball(cr, x, y, 5, Hex(0x4a1a5a)); });
    else
        Logo(cr, "Bramble Rush", S / 2, 128 + 48, 30, Hex(0xe05a3a));
}

void RootQuest(cairo_t *cr, int picture)
{
    double top = picture ? -40 : 44;
    Band(cr, 0, std::max(0.0, top), Hex(0x9ad0f0), Hex(0xd8f0f0));
    // Soil in layers.
    const Rgb LAYERS[4] = {Hex(0x6a4a2a), Hex(0x5a3a20), Hex(0x4a2e1a), Hex(0x3a2418)};
    for (int i = 0; i < 4; i++) {
        double y0 = top + i * 60;
        Ridge(cr, y0 + 6, 5, 3, i * 1.3, S, LAYERS[i], Shade(LAYERS[i], 0.8));
    }
    if (top > 0)
        Grass(cr, top + 4, 14, Hex(0x5aa03a), 101);
    DataGenRandom rng(102 + picture);
    for (int i = 0; i < 40; i++) {
        EllipsePath(cr, rng.Range(0, S), rng.Range(top + 10, S), rng.Range(2, 6), rng.Range(1.5, 4));
        FillLit(cr, Hex(0x8a7a6a), 1.3, 0.6);
        cairo_new_path(cr);
    }
    // Roots reaching down.
    for (int i = 0; i < 5; i++) {
        double x = 20 + i * 55;
        cairo_new_path(cr);
        cairo_move_to(cr, x, top);
        cairo_curve_to(cr, x + 20, top + 60, x - 25, top + 110, x + 10, top + 190);
        cairo_set_line_width(cr, 5 - i % 2 * 2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        SetColour(cr, Hex(0xc8a070));
        cairo_stroke(cr);
    }
    // The tunnel dug so far.
    cairo_new_path(cr);
    cairo_move_to(cr, 128, top);
    cairo_curve_to(cr, 100, top + 60, 170, 130, 150, 190);
    cairo_set_line_width(cr, 22);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, Hex(0x1a100a));
    cairo_stroke(cr);
    // Stones and a pocket of water that the steered root must go round.
    const double STONES[3][3] = {{60, 150, 16}, {205, 120, 13}, {90, 220, 11}};
    for (const auto &st : STONES) {
        Ball(cr, st[0], top + st[1] - 44, st[2], Hex(0x8a8478));
    }
    EllipsePath(cr, 215, top + 160, 26, 12);
    FillVertical(cr, top + 148, top + 172, Hex(0x70b0e0), Hex(0x2a5a8a));
    cairo_new_path(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, 40, top);
    cairo_curve_to(cr, 95, top + 60, 100, top + 110, 60, top + 140);
    cairo_curve_to(cr, 30, top + 160, 40, top + 180, 70, top + 192);
    cairo_set_line_width(cr, 6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, Hex(0xf0d8a0));
    cairo_stroke(cr);
    Glow(cr, 70, top + 192, 14, Hex(0xfff0a0), 0.9);
    // Gems, and a glowing crystal cave in the depths.
    const Rgb GEMS[3] = {Hex(0x40d0e0), Hex(0xe04a8a), Hex(0x6ae04a)};
    for (int i = 0; i < 6; i++) {
        double x = rng.Range(20, 236), y = rng.Range(top + 70, 240);
        Glow(cr, x, y, 12, GEMS[i % 3], 0.6);
        StarPath(cr, x, y, 6, 1.0, 6, 0);
        FillLit(cr, GEMS[i % 3], 1.6, 0.6);
        cairo_new_path(cr);
    }
    if (picture) {
        Glow(cr, 200, 230, 60, Hex(0x8a6af0), 0.6);
        for (int i = 0; i < 5; i++) {
            LeafPath(cr, 175 + i * 12, 256, 30 + (i % 2) * 16, 5, -PAINT_PI / 2 + (i - 2) * 0.2);
            FillLit(cr, Hex(0xb09af0), 1.5, 0.6);
            cairo_new_path(cr);
        }
    }
    if (picture) {
        // The old oak's treasure, unearthed.
        Rect(cr, 26, 206, 36, 24);
        FillVertical(cr, 206, 230, Hex(0x9a6a3a), Hex(0x5a3a1a));
        cairo_new_path(cr);
        Rect(cr, 26, 214, 36, 3);
        SetColour(cr, Hex(0xe0c030));
        cairo_fill(cr);
        Glow(cr, 44, 206, 22, Hex(0xffe080), 0.7);
        Sparkle(cr, 50, 200, 4, Hex(0xffe080));
    } else {
        // The old oak whose roots these are.
        Rect(cr, 196, 0, 34, top + 4);
        FillVertical(cr, 0, top, Hex(0x6a4a2a), Hex(0x4a3018));
        cairo_new_path(cr);
        EllipsePath(cr, 213, 0, 50, 22);
        FillLit(cr, Hex(0x3a7a2a));
        cairo_new_path(cr);
    }
    // The mole with a miner's lamp.
    double mx = 150, my = picture ? 180 : 186;
    Ball(cr, mx, my, 14, Hex(0x3a3038));
    Ball(cr, mx + 12, my + 2, 6, Hex(0xe8a0a0));
    cairo_new_path(cr);
    cairo_arc(cr, mx + 2, my - 8, 11, PAINT_PI, 2 * PAINT_PI);
    cairo_close_path(cr);
    FillLit(cr, Hex(0xe0c030));
    cairo_new_path(cr);
    Glow(cr, mx + 4, my - 14, 20, Hex(0xfff0a0), 0.9);
    for (int side = -1; side <= 1; side += 2)
        Ball(cr, mx + side * 12, my + 12, 4.5, Hex(0xe8a0a0));
    if (picture == 0)
        Logo(cr, "Root Quest", S / 2, 22, 30, Hex(0xe0c030));
    else
        ScoreBar(cr, Hex(0xe0c030), "DEPTH 42 m", 3, [&](double x, double y) {
            StarPath(cr, x, y, 7, 1.0, 6, 0);
            FillLit(cr, GEMS[0], 1.6, 0.6);
            cairo_new_path(cr);
        });
}

void Frog(cairo_t *cr, double x, double y, double k, bool jumping)
{
    if (jumping)
        SoftShadow(cr, [&](cairo_t *s) { EllipsePath(s, x, y + 24, 14 * k, 8 * k); cairo_fill(s); }, 0, 0, 4, 0.4);
    for (int side = -1; side <= 1; side += 2) {
        Leaf(cr, x + side * 8 * k, y + 6 * k, (jumping ? 20 : 12) * k, 3.5 * k, PAINT_PI / 2 + side * (jumping ? 0.3 : 1.1),
             Hex(0x4aa03a));
        Leaf(cr, x + side * 6 * k, y - 6 * k, 9 * k, 2.5 * k, -PAINT_PI / 2 + side * 0.9, Hex(0x4aa03a));
    }
    EllipsePath(cr, x, y, 11 * k, 13 * k);
    FillLit(cr, Hex(0x5ac04a), 1.4, 0.55);
    cairo_new_path(cr);
    for (int side = -1; side <= 1; side += 2) {
        Ball(cr, x + side * 6 * k, y - 10 * k, 4 * k, Hex(0x6ad05a));
        EllipsePath(cr, x + side * 6 * k, y - 11 * k, 1.8 * k, 1.8 * k);
        SetColour(cr, BLACK);
        cairo_fill(cr);
    }
}

// A heron seen from above: wings spread, a long neck and beak.
void Heron(cairo_t *cr, double x, double y, double k)
{
    SoftShadow(cr, [&](cairo_t *s) { EllipsePath(s, x, y, 34 * k, 12 * k); cairo_fill(s); }, 10, 14, 8, 0.35);
    for (int side = -1; side <= 1; side += 2) {
        LeafPath(cr, x, y, 36 * k, 9 * k, side > 0 ? 0.15 : PAINT_PI - 0.15);
        FillLit(cr, Hex(0x9aa4b0), 1.3, 0.6);
        cairo_new_path(cr);
    }
    EllipsePath(cr, x, y, 8 * k, 14 * k);
    FillLit(cr, Hex(0xc8d0d8), 1.3, 0.6);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y - 12 * k);
    cairo_curve_to(cr, x + 4 * k, y - 20 * k, x - 4 * k, y - 26 * k, x, y - 30 * k);
    cairo_set_line_width(cr, 4 * k);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, Hex(0xc8d0d8));
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x - 2 * k, y - 31 * k);
    cairo_line_to(cr, x, y - 44 * k);
    cairo_line_to(cr, x + 2 * k, y - 31 * k);
    cairo_close_path(cr);
    SetColour(cr, Hex(0xe0b040));
    cairo_fill(cr);
}

void PuddleJump(cairo_t *cr, int picture)
{
    // A rainy garden path seen from above, dotted with puddles.
    Band(cr, 0, S, Hex(0x5a8a3a), Hex(0x4a7a32));
    cairo_new_path(cr);
    cairo_move_to(cr, 40, 0);
    cairo_curve_to(cr, 10, 90, 230, 150, 190, S);
    cairo_set_line_width(cr, 120);
    SetColour(cr, Hex(0x8a6a48));
    cairo_stroke(cr);
    const double PUDDLES[6][3] = {{50, 60, 24}, {120, 46, 18}, {90, 130, 26}, {170, 120, 20}, {140, 200, 24},
                                  {220, 200, 16}};
    DataGenRandom rng(111 + picture);
    for (const auto &p : PUDDLES) {
        cairo_new_path(cr);
        EllipsePath(cr, p[0], p[1], p[2], p[2] * 0.7, 0.3);
        FillVertical(cr, p[1] - p[2], p[1] + p[2], Hex(0x8ac0e0), Hex(0x3a6a90));
        cairo_new_path(cr);
        for (int r = 0; r < 2; r++) {
            double rx = p[0] + rng.Range(-p[2] * 0.4, p[2] * 0.4), ry = p[1] + rng.Range(-p[2] * 0.3, p[2] * 0.3);
            for (int ring = 1; ring <= 2; ring++) {
                EllipsePath(cr, rx, ry, 3.0 * ring, 2.0 * ring);
                cairo_set_line_width(cr, 0.8);
                SetColour(cr, WHITE, 0.5 / ring);
                cairo_stroke(cr);
            }
        }
    }
    // Flies to catch.
    for (int i = 0; i < 3; i++) {
        double x = 150 + i * 30, y = 60 + (i % 2) * 22;
        EllipsePath(cr, x - 3, y - 2, 3.5, 2, -0.4);
        EllipsePath(cr, x + 3, y - 2, 3.5, 2, 0.4);
        SetColour(cr, WHITE, 0.7);
        cairo_fill(cr);
        Ball(cr, x, y, 2.2, Hex(0x2a2a2a));
    }
    if (picture) {
        // Mid-hop from one puddle to the next, a heron closing in.
        cairo_new_path(cr);
        cairo_move_to(cr, 90, 130);
        cairo_curve_to(cr, 110, 100, 150, 100, 170, 120);
        const double DASH[2] = {3, 4};
        cairo_set_dash(cr, DASH, 2, 0);
        cairo_set_line_width(cr, 1.5);
        SetColour(cr, WHITE, 0.8);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        Frog(cr, 132, 104, 1.3, true);
        Heron(cr, 60, 214, 1.0);
    } else {
        Frog(cr, 90, 130, 1.3, false);
    }
    // The rain.
    for (int i = 0; i < 60; i++) {
        double x = rng.Range(0, S + 20), y = rng.Range(0, S);
        cairo_new_path(cr);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x - 4, y + 12);
        cairo_set_line_width(cr, 1);
        SetColour(cr, Hex(0xd8e8f8), 0.5);
        cairo_stroke(cr);
    }
    if (picture)
        ScoreBar(cr, Hex(0x5ac04a), "FLIES 18", 2, [&](double x, double y) { Frog(cr, x, y + 1, 0.55, false); });
    else
        Logo(cr, "Puddle Jump", S / 2, 232, 30, Hex(0x6ad05a));
}

void Tarnwick(cairo_t *cr, int picture)
{
    bool night = picture == 1;
    Band(cr, 0, 130, night ? Hex(0x101a3a) : Hex(0x7ab0e0), night ? Hex(0x3a4a7a) : Hex(0xd0e8f0));
    // Mountains with snow caps round the tarn.
    const double PEAKS[4][3] = {{30, 50, 60}, {100, 30, 80}, {180, 45, 70}, {240, 60, 50}};
    for (const auto &p : PEAKS) {
        cairo_new_path(cr);
        cairo_move_to(cr, p[0] - p[2], 130);
        cairo_line_to(cr, p[0], p[1]);
        cairo_line_to(cr, p[0] + p[2], 130);
        cairo_close_path(cr);
        FillVertical(cr, p[1], 130, night ? Hex(0x4a5a7a) : Hex(0x8a9ab0), night ? Hex(0x1a2a3a) : Hex(0x4a5a6a));
        cairo_new_path(cr);
        cairo_move_to(cr, p[0] - p[2] * 0.25, p[1] + 20);
        cairo_line_to(cr, p[0], p[1]);
        cairo_line_to(cr, p[0] + p[2] * 0.25, p[1] + 20);
        cairo_line_to(cr, p[0], p[1] + 14);
        cairo_close_path(cr);
        SetColour(cr, WHITE, night ? 0.6 : 0.95);
        cairo_fill(cr);
    }
    // The lake, with the mountains' light in it.
    Band(cr, 130, 190, night ? Hex(0x2a3a6a) : Hex(0x8ac0e0), night ? Hex(0x0a1430) : Hex(0x3a7aa8));
    for (int i = 0; i < 8; i++) {
        Rect(cr, 30 + i * 26, 140 + (i % 3) * 14, 16, 1.2);
        SetColour(cr, WHITE, 0.4);
        cairo_fill(cr);
    }
    if (night)
        Glow(cr, 200, 30, 30, Hex(0xe8f0ff), 0.5);
    // A boat on the water.
    Boat(cr, 163, 160, 0.8, Hex(0xf0e8d8));
    // The shore and the village.
    Ridge(cr, 200, 8, 2, 0.4, S, night ? Hex(0x2a4a2a) : Hex(0x6aa04a), night ? Hex(0x142414) : Hex(0x3a6a2a));
    const double HOUSES[7][3] = {{30, 215, 1.2}, {65, 205, 1.0}, {100, 222, 1.3}, {140, 210, 1.0},
                                 {175, 228, 1.4}, {215, 212, 1.1}, {245, 230, 1.0}};
    const Rgb ROOFS[3] = {Hex(0xb04a2a), Hex(0x4a5a8a), Hex(0x8a6a3a)};
    int built = night ? 7 : 5;
    // The stream into the tarn, under a bridge in the village.
    cairo_new_path(cr);
    cairo_move_to(cr, 122, 196);
    cairo_curve_to(cr, 130, 215, 116, 235, 126, S);
    cairo_set_line_width(cr, 12);
    SetColour(cr, night ? Hex(0x1a2a5a) : Hex(0x5a9ad0));
    cairo_stroke(cr);
    for (int i = 0; i < built; i++)
        House(cr, HOUSES[i][0], HOUSES[i][1], HOUSES[i][2], Hex(0xf0e0c0), ROOFS[i % 3], night);
    cairo_new_path(cr);
    cairo_arc(cr, 124, 222, 11, PAINT_PI * 1.1, PAINT_PI * 1.9);
    cairo_set_line_width(cr, 4);
    SetColour(cr, Hex(0x9a8a70));
    cairo_stroke(cr);
    for (int i = 0; i < 6; i++) {
        double x = 12 + i * 46, y = 245;
        Rect(cr, x - 1.5, y - 8, 3, 10);
        SetColour(cr, Hex(0x3a2414));
        cairo_fill(cr);
        EllipsePath(cr, x, y - 14, 7, 10);
        FillLit(cr, night ? Hex(0x1a3a1a) : Hex(0x2a6a2a));
        cairo_new_path(cr);
    }
    // The mill on the stream, its wheel turning.
    Rect(cr, 132, 226, 16, 16);
    FillVertical(cr, 226, 242, Hex(0xd8c8a8), Hex(0xa89878));
    cairo_new_path(cr);
    cairo_move_to(cr, 130, 227);
    cairo_line_to(cr, 140, 218);
    cairo_line_to(cr, 150, 227);
    cairo_close_path(cr);
    FillLit(cr, Hex(0x8a4a2a));
    cairo_new_path(cr);
    for (int spoke = 0; spoke < 4; spoke++) {
        double angle = spoke * PAINT_PI / 4 + 0.3;
        cairo_new_path(cr);
        cairo_move_to(cr, 128 - std::cos(angle) * 9, 240 - std::sin(angle) * 9);
        cairo_line_to(cr, 128 + std::cos(angle) * 9, 240 + std::sin(angle) * 9);
        cairo_set_line_width(cr, 1.8);
        SetColour(cr, Hex(0x5a3a1a));
        cairo_stroke(cr);
    }
    if (picture == 0) {
        // Where the next house goes.
        BuildingPlot(cr, 204, 206, 24, 24, 4);
        Logo(cr, "Tarnwick", S / 2, 96, 34, Hex(0xc0d8e8));
    } else {
        ScoreBar(cr, Hex(0xc0d8e8), "VILLAGERS 58", 0, [&](double x, double y) {
            House(cr, x, y + 7, 0.6, Hex(0xf0e0c0), ROOFS[0], false);
        });
    }
}

struct AdTitle {
    const char *picture;  // the picture name in the ad table
    void (*paint)(cairo_t *cr, int picture);
};

const AdTitle AD_TITLES[] = {
    {"Lanternfly", Lanternfly}, {"PebbleCove", PebbleCove},   {"Gloamwood", Gloamwood},
    {"SporeDrift", SporeDrift}, {"FernCastle", FernCastle},   {"DewRunner", DewRunner},
    {"Thistledown", Thistledown}, {"MireLights", MireLights}, {"BrambleRush", BrambleRush},
    {"RootQuest", RootQuest},   {"PuddleJump", PuddleJump},   {"Tarnwick", Tarnwick},
};

bool PaintAd(cairo_t *cr, int w, int h, const AdTitle &title, int picture)
{
    cairo_save(cr);
    cairo_scale(cr, w / S, h / S);
    Rect(cr, 0, 0, S, S);
    cairo_clip(cr);
    cairo_new_path(cr);
    title.paint(cr, picture);
    cairo_restore(cr);
    return cairo_status(cr) == CAIRO_STATUS_SUCCESS;
}

}  // namespace

void AdPainterAddJobs(std::vector<PictureJob> *jobs)
{
    for (const AdTitle &title : AD_TITLES)
        for (int picture = 0; picture < 2; picture++)
            jobs->push_back(PictureJob{"IGA/" + std::string(title.picture) + std::to_string(picture + 1) + ".jpg",
                                       [&title, picture](cairo_t *cr, int w, int h, std::string *) {
                                           return PaintAd(cr, w, h, title, picture);
                                       }});
}
