// The cross-promotion screenshots, Data/IGA/<name>1.jpg and <name>2.jpg:
// one pair for each of the maker's titles that the "other games" screen
// shows on the desktop. Each picture is a finished shot of the game it
// advertises, painted like the rest of the art (lit shapes, soft shadows,
// glows, outlined lettering): the first shows the game with its logo, the
// second a later moment of play with the game's own score bar. JPEG, so
// fully opaque.
//
// The titles and what each one is: Lanternfly (a glowing insect flies a
// night meadow gathering lights), Pebble Cove (matching pebbles on a
// beach), Gloamwood (a lantern-bearer's walk through a dusk forest), Spore
// Drift (a puffball spore rides the wind over mushroom caps), Fern Castle
// (a castle held against snails among giant ferns), Dew Runner (an ant runs
// along stems for dew drops), Thistledown (a thistle seed floats over the
// fields), Mire Lights (linking will-o'-the-wisps across a marsh), Bramble
// Rush (beetles race a dirt track through brambles), Root Quest (a mole
// digs for gems among roots), Puddle Jump (a frog hops lily pads for
// flies), Tarnwick (a village grows beside a mountain lake).
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

// --- The scenes -----------------------------------------------------------
// Each draws picture 0 (with the logo) or 1 (a later moment, score bar).

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
    // Tree silhouettes.
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
    Grass(cr, 230, 24, Hex(0x1c3c24), 12);
    // The trail of gathered lights and the loose ones still to find.
    for (int i = 0; i < 9; i++) {
        double t = i / 8.0;
        double x = 30 + t * 120, y = 190 - std::sin(t * 3.0) * 60 - t * 20;
        if (picture)
            x += 40, y -= 10;
        Glow(cr, x, y, 5 + t * 3, GOLD, 0.25 + t * 0.3);
    }
    DataGenRandom motes(picture ? 14 : 13);
    for (int i = 0; i < 6; i++)
        Glow(cr, motes.Range(150, 245), motes.Range(70, 200), 9, Hex(0xb0ff90), 0.8);
    if (picture) {
        // A web across the way.
        cairo_new_path(cr);
        double wx = 205, wy = 110;
        for (int k = 0; k < 8; k++) {
            cairo_move_to(cr, wx, wy);
            cairo_line_to(cr, wx + std::cos(k * PAINT_PI / 4) * 38, wy + std::sin(k * PAINT_PI / 4) * 38);
        }
        for (int ring = 1; ring <= 4; ring++)
            StarPath(cr, wx, wy, ring * 9.0, 1.0, 8, 0);
        cairo_set_line_width(cr, 0.8);
        SetColour(cr, Hex(0xd8e0f0), 0.55);
        cairo_stroke(cr);
    }
    // The lanternfly: wings, body and its glowing tail.
    double fx = picture ? 165 : 150, fy = picture ? 120 : 118;
    Glow(cr, fx - 12, fy + 10, 34, GOLD, 0.9);
    for (int side = -1; side <= 1; side += 2) {
        EllipsePath(cr, fx + side * 10, fy - 8, 14, 6, side * -0.5);
        SetColour(cr, Hex(0xd8e8ff), 0.55);
        cairo_fill_preserve(cr);
        SetColour(cr, WHITE, 0.8);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    EllipsePath(cr, fx, fy, 6, 10, 0.5);
    FillLit(cr, Hex(0x4a3020));
    cairo_new_path(cr);
    EllipsePath(cr, fx - 7, fy + 11, 7, 7);
    FillLit(cr, Hex(0xfff0a0), 1.2, 0.9);
    cairo_new_path(cr);
    if (picture == 0)
        Logo(cr, "Lanternfly", S / 2, 225, 30, GOLD);
    else
        ScoreBar(cr, GOLD, "LIGHTS 27 / 40", 3, [&](double x, double y) { Glow(cr, x, y, 9, GOLD, 1.0); });
}

void PebbleCove(cairo_t *cr, int picture)
{
    const Rgb PEBBLES[5] = {Hex(0xd86a4a), Hex(0x5a9ad0), Hex(0xe8d070), Hex(0x7ac06a), Hex(0xb08ad8)};
    Band(cr, 0, 60, Hex(0x3a88c0), Hex(0x70c0e0));
    // Foam along the water's edge.
    cairo_new_path(cr);
    cairo_move_to(cr, 0, 60);
    for (int i = 0; i <= 16; i++)
        cairo_curve_to(cr, i * 16 - 10, 70, i * 16 - 6, 52, i * 16, 62);
    cairo_line_to(cr, S, S);
    cairo_line_to(cr, 0, S);
    cairo_close_path(cr);
    FillVertical(cr, 55, S, Hex(0xf0dcae), Hex(0xd0b080));
    cairo_new_path(cr);
    DataGenRandom grains(21);
    for (int i = 0; i < 300; i++) {
        EllipsePath(cr, grains.Range(0, S), grains.Range(64, S), 0.7, 0.7);
        SetColour(cr, Hex(0x8a6a40), 0.3);
        cairo_fill(cr);
    }
    // The board: a tray of 6 x 6 pebbles.
    const double bx = 38, by = picture ? 62 : 70, cell = 30;
    cairo_new_path(cr);
    RoundedRectPath(cr, bx - 6, by - 6, cell * 6 + 12, cell * 6 + 12, 12);
    SetColour(cr, Hex(0x5a3a1c), 0.55);
    cairo_fill(cr);
    DataGenRandom rng(picture ? 23 : 22);
    for (int row = 0; row < 6; row++)
        for (int col = 0; col < 6; col++) {
            int kind = rng.Int(0, 5);
            bool matched = picture && row == 2 && col >= 1 && col <= 4;
            if (matched)
                kind = 1;
            double x = bx + col * cell + cell / 2, y = by + row * cell + cell / 2;
            if (matched)
                Glow(cr, x, y, 20, Hex(0xd0f0ff), 0.9);
            SoftShadow(cr, [&](cairo_t *s) { EllipsePath(s, x, y, 12, 10, 0.3); cairo_fill(s); }, 1, 2, 2, 0.4);
            EllipsePath(cr, x, y, 12, 10, rng.Range(-0.4, 0.4));
            FillLit(cr, PEBBLES[kind], 1.5, 0.55);
            cairo_new_path(cr);
        }
    if (picture) {
        for (int i = 0; i < 5; i++)
            Sparkle(cr, bx + 30 + i * 32, by + 60 + (i % 2 ? -12 : 12), 5, Hex(0xd0f0ff));
        Caption(cr, "+300", 200, 50, Hex(0x5a9ad0));
        ScoreBar(cr, Hex(0x5a9ad0), "12,450", 0, [&](double x, double y) { Ball(cr, x, y, 7, PEBBLES[1]); });
        OutlinedText(cr, "MOVES 14", S - 40, 16, 10, WHITE, Hex(0xe8d070), BLACK, 1.2);
    } else {
        // A crab at the board's side.
        Ball(cr, 228, 236, 12, Hex(0xe0603a));
        for (int side = -1; side <= 1; side += 2) {
            Ball(cr, 228 + side * 15, 228, 5, Hex(0xe0603a));
            EllipsePath(cr, 228 + side * 4, 224, 2, 2);
            SetColour(cr, BLACK);
            cairo_fill(cr);
        }
        Logo(cr, "Pebble Cove", S / 2, 30, 30, Hex(0x5ab0e0));
    }
}

void Gloamwood(cairo_t *cr, int picture)
{
    const Rgb EMBER = Hex(0xf0a040);
    Band(cr, 0, S, Hex(0x2a2048), Hex(0x8a4a5a));
    Glow(cr, 128, 150, 120, Hex(0xf08a5a), 0.35);
    for (int layer = 0; layer < 3; layer++) {
        DataGenRandom rng(31 + layer + picture * 7);
        Rgb c = Mix(Hex(0x4a3a5a), Hex(0x0c0a14), layer / 2.0);
        for (int i = 0; i < 7 - layer; i++) {
            double x = rng.Range(0, S), w = 10 + layer * 6;
            Rect(cr, x - w / 2, 40 - layer * 20, w, S);
            SetColour(cr, c);
            cairo_fill(cr);
            for (int b = 0; b < 3; b++)
                Leaf(cr, x, rng.Range(50, 140), rng.Range(20, 40), 3, rng.Range(-2.8, -0.3), c);
        }
    }
    // The path winding into the wood.
    cairo_new_path(cr);
    cairo_move_to(cr, 60, S);
    cairo_curve_to(cr, 110, 210, 90, 190, 128, 165);
    cairo_line_to(cr, 138, 165);
    cairo_curve_to(cr, 120, 190, 190, 215, 200, S);
    cairo_close_path(cr);
    FillVertical(cr, 165, S, Hex(0x5a4a4a), Hex(0x2a2020));
    Ridge(cr, 215, 8, 4, 0.3, S, Hex(0x1a2418), Hex(0x0a100a));
    cairo_new_path(cr);
    // Glowing mushrooms along the way.
    const double CAPS[4][3] = {{40, 228, 18}, {215, 222, 22}, {70, 240, 12}, {236, 244, 14}};
    for (const auto &m : CAPS) {
        Glow(cr, m[0], m[1] - m[2] * 0.8, m[2] * 1.6, Hex(0x80f0e0), 0.5);
        Mushroom(cr, m[0], m[1], m[2], Hex(0x60c8c0), false);
    }
    // The cottage with a lit window, far along the path.
    double hx = picture ? 180 : 150, hy = picture ? 172 : 160;
    Rect(cr, hx - 12, hy - 14, 24, 16);
    SetColour(cr, Hex(0x1a1210));
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, hx - 16, hy - 13);
    cairo_line_to(cr, hx, hy - 26);
    cairo_line_to(cr, hx + 16, hy - 13);
    cairo_close_path(cr);
    cairo_fill(cr);
    Glow(cr, hx + 4, hy - 7, 10, EMBER, 0.9);
    // The wanderer: a hooded figure holding up a lantern.
    double wx = picture ? 112 : 100, wy = picture ? 212 : 222, k = picture ? 0.8 : 1.0;
    Glow(cr, wx + 13 * k, wy - 34 * k, 36 * k, EMBER, 0.8);
    cairo_new_path(cr);
    cairo_move_to(cr, wx - 10 * k, wy);
    cairo_curve_to(cr, wx - 10 * k, wy - 24 * k, wx - 8 * k, wy - 38 * k, wx, wy - 44 * k);
    cairo_curve_to(cr, wx + 8 * k, wy - 38 * k, wx + 10 * k, wy - 24 * k, wx + 10 * k, wy);
    cairo_close_path(cr);
    FillLit(cr, Hex(0x5a2a3a), 1.4, 0.5);
    cairo_new_path(cr);
    Ball(cr, wx + 13 * k, wy - 34 * k, 4 * k, Hex(0xffe090));
    if (picture == 0) {
        Logo(cr, "Gloamwood", S / 2, 36, 32, EMBER);
    } else {
        ScoreBar(cr, EMBER, "CHAPTER III", 0, [&](double x, double y) { Glow(cr, x, y, 9, EMBER, 1.0); });
        // Carried things.
        for (int i = 0; i < 4; i++) {
            cairo_new_path(cr);
            RoundedRectPath(cr, 8 + i * 26, 226, 22, 22, 5);
            SetColour(cr, Hex(0x0a0a10), 0.6);
            cairo_fill_preserve(cr);
            SetColour(cr, EMBER, 0.8);
            cairo_set_line_width(cr, 1.2);
            cairo_stroke(cr);
        }
        Mushroom(cr, 19, 245, 12, Hex(0x60c8c0), false);
        Ball(cr, 45, 237, 5, Hex(0xe8d070));
        Leaf(cr, 62, 244, 16, 5, -0.9, Hex(0x5aa04a));
    }
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
    // Seeds to gather and the spore itself.
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
        ScoreBar(cr, Hex(0xd8a05a), "HEIGHT 184 m", 2, [&](double x, double y) { Ball(cr, x, y, 6, Hex(0xf0e8c8)); });
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
    Castle(cr, picture ? 90 : 128, picture ? 190 : 165, k, Hex(0xb8b0a0));
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
        ScoreBar(cr, Hex(0xd03a3a), "WAVE 6   GOLD 340", 4, [&](double x, double y) {
            StarPath(cr, x, y, 8, 0.45, 5, -PAINT_PI / 2);
            FillLit(cr, Hex(0xe8c040));
            cairo_new_path(cr);
        });
    } else {
        Logo(cr, "Fern Castle", S / 2, 36, 32, Hex(0x7ad060));
    }
}

void Ant(cairo_t *cr, double x, double y, double k, bool leaping)
{
    for (int i = 0; i < 3; i++) {
        double lx = x - 6 * k + i * 6 * k;
        cairo_new_path(cr);
        cairo_move_to(cr, lx, y - 3 * k);
        cairo_line_to(cr, lx + (leaping ? -6 : (i - 1) * 4) * k, y + 5 * k);
        cairo_set_line_width(cr, 1.3 * k);
        SetColour(cr, Hex(0x1a0c08));
        cairo_stroke(cr);
    }
    Ball(cr, x - 9 * k, y - 5 * k, 6 * k, Hex(0xa03a1a));
    Ball(cr, x, y - 6 * k, 3.5 * k, Hex(0xa03a1a));
    Ball(cr, x + 7 * k, y - 9 * k, 4.5 * k, Hex(0xa03a1a));
    EllipsePath(cr, x + 9 * k, y - 10 * k, 1.3 * k, 1.3 * k);
    SetColour(cr, WHITE);
    cairo_fill(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x + 9 * k, y - 13 * k);
    cairo_curve_to(cr, x + 12 * k, y - 20 * k, x + 16 * k, y - 20 * k, x + 18 * k, y - 18 * k);
    cairo_set_line_width(cr, 1.0 * k);
    SetColour(cr, Hex(0x1a0c08));
    cairo_stroke(cr);
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
    Band(cr, 0, S, Hex(0xf0b880), Hex(0xf8e8c0));
    Glow(cr, 200, 70, 70, Hex(0xfff0c0), 0.7);
    Ridge(cr, 150, 20, 2, picture * 1.5, S, Hex(0x9ac070), Hex(0x6a9a4a));
    Ridge(cr, 190, 12, 3, 0.8 + picture, S, Hex(0x5a9a3a), Hex(0x3a6a2a));
    // Stems and leaves as the runner's track, scrolling on in the second
    // picture.
    double shift = picture ? -60 : 0;
    const double LEAVES[5][3] = {{0, 200, -0.1}, {80, 185, 0.05}, {160, 205, -0.08}, {230, 180, 0.1}, {300, 195, 0}};
    for (const auto &l : LEAVES) {
        double x = l[0] + shift;
        Rect(cr, x + 30, l[1], 4, S - l[1]);
        FillVertical(cr, l[1], S, Hex(0x4a8a2a), Hex(0x2a5a1a));
        cairo_new_path(cr);
        SoftShadow(cr, [&](cairo_t *s) { LeafPath(s, x, l[1], 70, 9, l[2]); cairo_fill(s); }, 0, 3, 3, 0.35);
        Leaf(cr, x, l[1], 70, 9, l[2], Hex(0x5ab03a));
    }
    for (int i = 0; i < 6; i++)
        DewDrop(cr, 40 + i * 38 + (picture ? 10 : 0), 150 + (i % 3) * 10 - (picture && i == 2 ? 30 : 0), 5);
    if (picture) {
        Ant(cr, 118, 150, 1.6, true);
        for (int i = 0; i < 3; i++) {
            cairo_new_path(cr);
            cairo_move_to(cr, 80 - i * 8, 145 + i * 6);
            cairo_line_to(cr, 60 - i * 8, 145 + i * 6);
            cairo_set_line_width(cr, 2);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            SetColour(cr, WHITE, 0.7);
            cairo_stroke(cr);
        }
        ScoreBar(cr, Hex(0x70c8f0), "1,280 m", 3, [&](double x, double y) { DewDrop(cr, x, y, 6); });
    } else {
        Ant(cr, 110, 190, 1.6, false);
        Logo(cr, "Dew Runner", S / 2, 60, 32, Hex(0x70c8f0));
    }
}

void Thistle(cairo_t *cr, double x, double y, double r)
{
    Glow(cr, x, y - r * 0.2, r * 1.5, WHITE, 0.4);
    for (int k = 0; k < 22; k++) {
        double a = -PAINT_PI + k * PAINT_PI / 21;
        cairo_new_path(cr);
        cairo_move_to(cr, x, y + r * 0.6);
        cairo_curve_to(cr, x + std::cos(a) * r * 0.5, y + std::sin(a) * r * 0.2, x + std::cos(a) * r,
                       y + std::sin(a) * r * 0.8, x + std::cos(a) * r, y + std::sin(a) * r);
        cairo_set_line_width(cr, 0.9);
        SetColour(cr, WHITE, 0.9);
        cairo_stroke(cr);
    }
    EllipsePath(cr, x, y + r * 0.75, r * 0.12, r * 0.25);
    FillLit(cr, Hex(0x7a5a3a));
    cairo_new_path(cr);
}

void Bird(cairo_t *cr, double x, double y, double k)
{
    cairo_new_path(cr);
    cairo_move_to(cr, x - 10 * k, y - 3 * k);
    cairo_curve_to(cr, x - 5 * k, y - 7 * k, x - 2 * k, y - 3 * k, x, y);
    cairo_curve_to(cr, x + 2 * k, y - 3 * k, x + 5 * k, y - 7 * k, x + 10 * k, y - 3 * k);
    cairo_set_line_width(cr, 2.2 * k);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, Hex(0x2a2030));
    cairo_stroke(cr);
}

void Thistledown(cairo_t *cr, int picture)
{
    if (picture)
        Band(cr, 0, S, Hex(0x4a3a7a), Hex(0xf0a070));
    else
        Band(cr, 0, S, Hex(0x7aa8e0), Hex(0xd8e8f0));
    Glow(cr, picture ? 60 : 210, picture ? 200 : 50, 60, Hex(0xfff0b0), 0.6);
    Ridge(cr, 200, 16, 1.6, 0.2, S, Hex(0x8aa060), Hex(0x5a7a40));
    Ridge(cr, 225, 10, 2.6, 1.5, S, picture ? Hex(0x5a6a3a) : Hex(0x7a9a4a), Hex(0x3a5a2a));
    // Thistles standing in the field.
    for (int i = 0; i < 5; i++) {
        double x = 20 + i * 55, y = 230 - (i % 2) * 12;
        Rect(cr, x - 1, y, 2, S - y);
        SetColour(cr, Hex(0x3a5a2a));
        cairo_fill(cr);
        Ball(cr, x, y, 6, Hex(0x5a7a3a));
        for (int k = 0; k < 9; k++) {
            cairo_new_path(cr);
            cairo_move_to(cr, x, y - 4);
            cairo_line_to(cr, x + (k - 4) * 1.6, y - 13);
            cairo_set_line_width(cr, 1.4);
            SetColour(cr, Hex(0xb060c0));
            cairo_stroke(cr);
        }
    }
    double tx = picture ? 150 : 120, ty = picture ? 110 : 130;
    Thistle(cr, tx, ty, 26);
    // Its drift so far.
    cairo_new_path(cr);
    cairo_move_to(cr, 0, ty + 60);
    cairo_curve_to(cr, 40, ty + 10, 80, ty + 40, tx - 4, ty + 16);
    cairo_set_line_width(cr, 1.5);
    const double DASH[2] = {4, 5};
    cairo_set_dash(cr, DASH, 2, 0);
    SetColour(cr, WHITE, 0.7);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    Bird(cr, 210, 90, 1.2);
    Bird(cr, 235, 110, 0.9);
    if (picture) {
        Bird(cr, 60, 70, 1.0);
        ScoreBar(cr, Hex(0xb060c0), "MEADOWS 4 / 9", 2, [&](double x, double y) { Thistle(cr, x, y, 8); });
    } else {
        Logo(cr, "Thistledown", S / 2, 40, 30, Hex(0xc070d0));
    }
}

void MireLights(cairo_t *cr, int picture)
{
    const Rgb WISP = Hex(0x80f0b0);
    Band(cr, 0, S, Hex(0x0a1418), Hex(0x1a2a22));
    Band(cr, 110, S, Hex(0x14221e), Hex(0x0a1410));
    // Reflections and lily pads on the still water.
    DataGenRandom rng(81);
    for (int i = 0; i < 9; i++) {
        double x = rng.Range(10, 246), y = rng.Range(130, 245), r = rng.Range(10, 18);
        EllipsePath(cr, x, y, r, r * 0.45);
        FillLit(cr, Hex(0x2a5a2a), 1.3, 0.6);
        cairo_new_path(cr);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + r, y - r * 0.1);
        cairo_line_to(cr, x + r, y + r * 0.1);
        cairo_close_path(cr);
        SetColour(cr, Hex(0x14221e));
        cairo_fill(cr);
    }
    // Reeds at the back.
    for (int i = 0; i < 30; i++) {
        double x = rng.Range(0, S), h = rng.Range(30, 70);
        LeafPath(cr, x, 118, h, 1.6, -PAINT_PI / 2 + rng.Range(-0.2, 0.2));
        SetColour(cr, Hex(0x0c1a12));
        cairo_fill(cr);
        if (i % 4 == 0) {
            EllipsePath(cr, x, 118 - h * 0.8, 2.2, 7);
            SetColour(cr, Hex(0x3a2414));
            cairo_fill(cr);
        }
    }
    // The wisps, some linked already.
    const double WISPS[6][2] = {{40, 150}, {95, 190}, {150, 160}, {205, 205}, {120, 230}, {220, 140}};
    int linked = picture ? 5 : 2;
    cairo_new_path(cr);
    for (int i = 0; i < linked; i++) {
        cairo_move_to(cr, WISPS[i][0], WISPS[i][1]);
        cairo_line_to(cr, WISPS[i + 1][0], WISPS[i + 1][1]);
    }
    cairo_set_line_width(cr, 5);
    SetColour(cr, WISP, 0.25);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.6);
    SetColour(cr, Mix(WISP, WHITE, 0.5), 0.9);
    cairo_stroke(cr);
    for (int i = 0; i < 6; i++) {
        bool lit = i <= linked;
        Glow(cr, WISPS[i][0], WISPS[i][1], lit ? 22 : 12, lit ? WISP : Hex(0x80a0f0), lit ? 0.9 : 0.5);
        EllipsePath(cr, WISPS[i][0], WISPS[i][1], 3, 3);
        SetColour(cr, WHITE);
        cairo_fill(cr);
    }
    if (picture) {
        Sparkle(cr, 205, 205, 6, WISP);
        ScoreBar(cr, WISP, "LINKED 6 / 6", 0, [&](double x, double y) { Glow(cr, x, y, 9, WISP, 1.0); });
    } else {
        Glow(cr, 200, 50, 24, Hex(0xd8e8f0), 0.4);
        Logo(cr, "Mire Lights", S / 2, 48, 32, WISP);
    }
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

void BrambleRush(cairo_t *cr, int picture)
{
    Band(cr, 0, S, Hex(0x4a7a34), Hex(0x3a6a2a));
    DataGenRandom rng(91);
    // Bramble thickets with berries around the track.
    for (int i = 0; i < 18; i++) {
        double x = rng.Range(0, S), y = rng.Range(0, S);
        for (int k = 0; k < 5; k++)
            Leaf(cr, x, y, 14, 5, k * 1.25 + rng.Range(0, 1), Hex(0x2a5a22));
        Ball(cr, x + 3, y - 2, 3.2, Hex(0x3a1440));
    }
    // The dirt track: a loop, with its kerb.
    auto track = [&](double width, Rgb c, double alpha) {
        cairo_new_path(cr);
        cairo_move_to(cr, 40, 200);
        cairo_curve_to(cr, 10, 120, 40, 40, 120, 50);
        cairo_curve_to(cr, 200, 60, 250, 100, 220, 160);
        cairo_curve_to(cr, 190, 220, 120, 170, 90, 220);
        cairo_curve_to(cr, 70, 250, 55, 230, 40, 200);
        cairo_set_line_width(cr, width);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        SetColour(cr, c, alpha);
        cairo_stroke(cr);
    };
    track(46, Hex(0x1a1008), 0.35);
    track(40, Hex(0xe8e0d0), 1);
    track(34, Hex(0x9a7046), 1);
    const double DASH[2] = {6, 8};
    cairo_set_dash(cr, DASH, 2, 0);
    track(1.2, Hex(0xf0e0b0), 0.6);
    cairo_set_dash(cr, nullptr, 0, 0);
    // Start line, checked.
    for (int i = 0; i < 8; i++)
        for (int j = 0; j < 2; j++) {
            Rect(cr, 17 + i * 4.5, 150 + j * 4.5, 4.5, 4.5);
            SetColour(cr, (i + j) % 2 ? BLACK : WHITE);
            cairo_fill(cr);
        }
    const Rgb SHELLS[4] = {Hex(0xd03a2a), Hex(0x3a7ad0), Hex(0xe0b030), Hex(0x8a3ac0)};
    const double RACERS[2][4][3] = {{{30, 130, -1.6}, {42, 110, -1.4}, {60, 80, -1.1}, {95, 55, -0.3}},
                                    {{150, 55, 0.1}, {190, 75, 0.5}, {222, 120, 1.4}, {120, 52, 0}}};
    for (int i = 0; i < 4; i++)
        Beetle(cr, RACERS[picture][i][0], RACERS[picture][i][1], RACERS[picture][i][2], SHELLS[i]);
    if (picture) {
        // Boost arrows on the straight.
        for (int i = 0; i < 2; i++) {
            cairo_new_path(cr);
            cairo_move_to(cr, 150 + i * 14, 196);
            cairo_line_to(cr, 140 + i * 14, 190);
            cairo_line_to(cr, 140 + i * 14, 202);
            cairo_close_path(cr);
            FillLit(cr, Hex(0xf0d040));
            cairo_new_path(cr);
        }
        ScoreBar(cr, Hex(0xd03a2a), "LAP 2 / 3   1st", 0, [&](double x, double y) { Beetle(cr, x, y, 0, SHELLS[0]); });
    } else {
        Logo(cr, "Bramble Rush", S / 2, 128, 30, Hex(0xe05a3a));
    }
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

void PuddleJump(cairo_t *cr, int picture)
{
    // The puddle seen from above, in a ring of grass.
    Band(cr, 0, S, Hex(0x5a9a3a), Hex(0x4a8a32));
    cairo_new_path(cr);
    EllipsePath(cr, 128, 140, 124, 104);
    FillVertical(cr, 36, 244, Hex(0x5ab0d0), Hex(0x2a6a90));
    cairo_new_path(cr);
    DataGenRandom rng(111);
    for (int i = 0; i < 6; i++) {
        double x = rng.Range(40, 216), y = rng.Range(70, 210);
        for (int r = 1; r <= 2; r++) {
            EllipsePath(cr, x, y, 8.0 * r, 4.0 * r);
            cairo_set_line_width(cr, 0.8);
            SetColour(cr, WHITE, 0.35 / r);
            cairo_stroke(cr);
        }
    }
    const double PADS[6][3] = {{60, 90, 20}, {125, 70, 17}, {190, 100, 22}, {80, 175, 22}, {165, 185, 19}, {215, 160, 14}};
    for (const auto &p : PADS) {
        SoftShadow(cr, [&](cairo_t *s) { EllipsePath(s, p[0], p[1], p[2], p[2] * 0.8); cairo_fill(s); }, 2, 3, 3, 0.4);
        EllipsePath(cr, p[0], p[1], p[2], p[2] * 0.8);
        FillLit(cr, Hex(0x4a9a3a), 1.3, 0.6);
        cairo_new_path(cr);
        cairo_move_to(cr, p[0], p[1]);
        cairo_line_to(cr, p[0] + p[2], p[1] - p[2] * 0.2);
        cairo_line_to(cr, p[0] + p[2], p[1] + p[2] * 0.2);
        cairo_close_path(cr);
        SetColour(cr, Hex(0x3a80a8));
        cairo_fill(cr);
    }
    EllipsePath(cr, 190, 96, 5, 5);
    FillLit(cr, Hex(0xf0a0c0));
    cairo_new_path(cr);
    // Flies to catch.
    for (int i = 0; i < 3; i++) {
        double x = 110 + i * 40, y = 130 + (i % 2) * 20;
        EllipsePath(cr, x - 3, y - 2, 3.5, 2, -0.4);
        EllipsePath(cr, x + 3, y - 2, 3.5, 2, 0.4);
        SetColour(cr, WHITE, 0.7);
        cairo_fill(cr);
        Ball(cr, x, y, 2.2, Hex(0x2a2a2a));
    }
    if (picture) {
        // Mid-leap between two pads, its path dotted.
        cairo_new_path(cr);
        cairo_move_to(cr, 80, 175);
        cairo_curve_to(cr, 90, 130, 110, 110, 125, 70);
        const double DASH[2] = {3, 4};
        cairo_set_dash(cr, DASH, 2, 0);
        cairo_set_line_width(cr, 1.5);
        SetColour(cr, WHITE, 0.8);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        Frog(cr, 104, 112, 1.3, true);
        ScoreBar(cr, Hex(0x5ac04a), "FLIES 18", 2, [&](double x, double y) { Frog(cr, x, y + 1, 0.55, false); });
    } else {
        Frog(cr, 80, 172, 1.2, false);
        Logo(cr, "Puddle Jump", S / 2, 232, 30, Hex(0x6ad05a));
    }
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
    cairo_new_path(cr);
    cairo_move_to(cr, 150, 160);
    cairo_line_to(cr, 176, 160);
    cairo_line_to(cr, 170, 167);
    cairo_line_to(cr, 156, 167);
    cairo_close_path(cr);
    FillLit(cr, Hex(0x8a5a2a));
    cairo_new_path(cr);
    cairo_move_to(cr, 163, 158);
    cairo_line_to(cr, 163, 140);
    cairo_line_to(cr, 174, 156);
    cairo_close_path(cr);
    SetColour(cr, Hex(0xf0e8d8));
    cairo_fill(cr);
    // The shore and the village.
    Ridge(cr, 200, 8, 2, 0.4, S, night ? Hex(0x2a4a2a) : Hex(0x6aa04a), night ? Hex(0x142414) : Hex(0x3a6a2a));
    const double HOUSES[7][3] = {{30, 215, 1.2}, {65, 205, 1.0}, {100, 222, 1.3}, {140, 210, 1.0},
                                 {175, 228, 1.4}, {215, 212, 1.1}, {245, 230, 1.0}};
    const Rgb ROOFS[3] = {Hex(0xb04a2a), Hex(0x4a5a8a), Hex(0x8a6a3a)};
    int built = night ? 7 : 5;
    for (int i = 0; i < built; i++)
        House(cr, HOUSES[i][0], HOUSES[i][1], HOUSES[i][2], Hex(0xf0e0c0), ROOFS[i % 3], night);
    for (int i = 0; i < 6; i++) {
        double x = 12 + i * 46, y = 245;
        Rect(cr, x - 1.5, y - 8, 3, 10);
        SetColour(cr, Hex(0x3a2414));
        cairo_fill(cr);
        EllipsePath(cr, x, y - 14, 7, 10);
        FillLit(cr, night ? Hex(0x1a3a1a) : Hex(0x2a6a2a));
        cairo_new_path(cr);
    }
    if (picture == 0) {
        // Where the next house goes.
        cairo_new_path(cr);
        RoundedRectPath(cr, 204, 206, 24, 24, 4);
        const double DASH[2] = {3, 3};
        cairo_set_dash(cr, DASH, 2, 0);
        cairo_set_line_width(cr, 1.5);
        SetColour(cr, WHITE, 0.9);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
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
