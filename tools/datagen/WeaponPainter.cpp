// The weapons and everything drawn with them on the board: base and turret
// pictures, shots, the factory background, the explosion atlas, the range
// circle, the level markers and the bugs' health bar.
//
// Barrels, nozzles and shots point to the image top: the game turns a
// picture so that its top faces the way its shots fly. A turret turns about
// the point that the weapon's muzzle offset names, 0.15 (Cannon) and 0.1
// (Tank) of the weapon's size behind the picture's centre, so those turrets
// are drawn round that point and their bases carry the turret ring there.
#include "tools/datagen/DataGenRandom.h"
#include "tools/datagen/PaintKit.h"
#include "tools/datagen/PictureJob.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const Rgb OLIVE = Hex(0x5d6b3a), OLIVE_DARK = Hex(0x3e4826), STEEL = Hex(0x8d9499), STEEL_DARK = Hex(0x50575c),
          BRASS = Hex(0xc89b3c), WOOD = Hex(0x9a6a3a), WOOD_DARK = Hex(0x6a4524), SAND = Hex(0xc8b07a);

// Picture units: -1..1 on both axes, y down.
void Units(cairo_t *cr, int width, int height)
{
    cairo_translate(cr, width * 0.5, height * 0.5);
    cairo_scale(cr, width * 0.5, height * 0.5);
}

double Px(int width) { return width / 128.0; }

// Where the Cannon's and the Tank's turrets turn: their muzzle offset
// (0.15 and 0.1 of the weapon's size) in picture units, for a picture drawn
// at the middle level's size (0.865 of the weapon's size).
const double CANNON_PIVOT = 0.15 * 2.0 / 0.865, TANK_PIVOT = 0.1 * 2.0 / 0.865;

void Rivets(cairo_t *cr, double cx, double cy, double r, int count, double size, double turn = 0.0)
{
    for (int i = 0; i < count; i++) {
        double a = turn + i * 2.0 * PAINT_PI / count;
        cairo_new_path(cr);
        cairo_arc(cr, cx + std::cos(a) * r, cy + std::sin(a) * r, size, 0.0, 2.0 * PAINT_PI);
        FillLit(cr, STEEL, 1.5, 0.5);
        cairo_new_path(cr);
    }
}

void Shadow(cairo_t *cr, int width, const ShapeFn &shape, double strength = 0.55)
{
    SoftShadow(cr, shape, 1.5 * Px(width), 3.0 * Px(width), 4.0 * Px(width), strength);
}

// A barrel from y0 (back) to y1 (muzzle, nearer the top), with a muzzle
// ring.
void Barrel(cairo_t *cr, double x, double y0, double y1, double w, Rgb colour)
{
    cairo_new_path(cr);
    cairo_rectangle(cr, x - w * 0.5, y1, w, y0 - y1);
    cairo_pattern_t *p = cairo_pattern_create_linear(x - w * 0.5, 0.0, x + w * 0.5, 0.0);
    Rgb hi = Shade(colour, 1.6), lo = Shade(colour, 0.55);
    cairo_pattern_add_color_stop_rgb(p, 0.0, lo.r, lo.g, lo.b);
    cairo_pattern_add_color_stop_rgb(p, 0.35, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, lo.r, lo.g, lo.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, x - w * 0.62, y1, w * 1.24, w * 0.5);
    FillLit(cr, Shade(colour, 0.9), 1.5, 0.5);
    cairo_new_path(cr);
    cairo_arc(cr, x, y1 + w * 0.1, w * 0.24, 0.0, 2.0 * PAINT_PI);
    SetColour(cr, Hex(0x101010), 0.85);
    cairo_fill(cr);
}

// ---- Gun family ----

bool TurretBase(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    Shadow(cr, w, [](cairo_t *c) { cairo_arc(c, 0, 0, 0.84, 0, 2 * PAINT_PI); cairo_fill(c); });
    cairo_arc(cr, 0, 0, 0.84, 0, 2 * PAINT_PI);
    FillLit(cr, Hex(0x8a8c80), 1.25, 0.6);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0, 0.66, 0, 2 * PAINT_PI);
    FillLit(cr, OLIVE, 1.3, 0.6);
    cairo_new_path(cr);
    Rivets(cr, 0, 0, 0.75, 10, 0.045);
    cairo_arc(cr, 0, 0, 0.44, 0, 2 * PAINT_PI);
    SetColour(cr, Hex(0x1c1f14), 0.7);
    cairo_fill(cr);
    return true;
}

bool TurretTurret(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    auto shape = [](cairo_t *c) {
        cairo_arc(c, 0, 0.05, 0.38, 0, 2 * PAINT_PI);
        cairo_fill(c);
        cairo_rectangle(c, -0.08, -0.95, 0.16, 0.8);
        cairo_fill(c);
    };
    Shadow(cr, w, shape, 0.6);
    Barrel(cr, 0.0, -0.1, -0.95, 0.15, STEEL);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0.05, 0.38, 0, 2 * PAINT_PI);
    FillLit(cr, Hex(0x6d7c44), 1.4, 0.55);
    cairo_new_path(cr);
    cairo_arc(cr, 0, 0.05, 0.2, 0, 2 * PAINT_PI);
    FillLit(cr, OLIVE_DARK, 1.5, 0.6);
    cairo_new_path(cr);
    Rivets(cr, 0, 0.05, 0.3, 6, 0.035, 0.5);
    return true;
}

bool CannonBase(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    auto octagon = [](cairo_t *c) { StarPath(c, 0, 0, 0.9, 1.0, 8, PAINT_PI / 8); };
    Shadow(cr, w, [&](cairo_t *c) { octagon(c); cairo_fill(c); });
    octagon(cr);
    FillLit(cr, Hex(0x787a6c), 1.25, 0.6);
    cairo_new_path(cr);
    StarPath(cr, 0, 0, 0.74, 1.0, 8, PAINT_PI / 8);
    FillLit(cr, OLIVE_DARK, 1.4, 0.7);
    cairo_new_path(cr);
    Rivets(cr, 0, 0, 0.82, 8, 0.045, PAINT_PI / 8);
    // The turret ring, under the turret's pivot.
    cairo_arc(cr, 0, CANNON_PIVOT, 0.5, 0, 2 * PAINT_PI);
    FillLit(cr, STEEL_DARK, 1.4, 0.6);
    cairo_new_path(cr);
    cairo_arc(cr, 0, CANNON_PIVOT, 0.4, 0, 2 * PAINT_PI);
    SetColour(cr, Hex(0x15170f), 0.8);
    cairo_fill(cr);
    return true;
}

bool CannonTurret(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    double p = CANNON_PIVOT;
    auto shape = [p](cairo_t *c) {
        cairo_arc(c, 0, p, 0.46, 0, 2 * PAINT_PI);
        cairo_fill(c);
        cairo_rectangle(c, -0.13, -0.97, 0.26, 1.0 + p);
        cairo_fill(c);
    };
    Shadow(cr, w, shape, 0.6);
    Barrel(cr, 0.0, p - 0.2, -0.97, 0.24, STEEL);
    // A recoil sleeve round the barrel's root.
    cairo_new_path(cr);
    RoundedRectPath(cr, -0.18, p - 0.55, 0.36, 0.3, 0.06);
    FillLit(cr, OLIVE, 1.4, 0.6);
    cairo_new_path(cr);
    cairo_arc(cr, 0, p, 0.46, 0, 2 * PAINT_PI);
    FillLit(cr, Hex(0x65743e), 1.35, 0.55);
    cairo_new_path(cr);
    cairo_arc(cr, 0.12, p + 0.12, 0.14, 0, 2 * PAINT_PI);
    FillLit(cr, OLIVE_DARK, 1.5, 0.6);
    cairo_new_path(cr);
    Rivets(cr, 0, p, 0.38, 8, 0.035, 0.2);
    return true;
}

bool TankHull(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    auto hull = [](cairo_t *c) { RoundedRectPath(c, -0.72, -0.9, 1.44, 1.8, 0.12); };
    Shadow(cr, w, [&](cairo_t *c) { hull(c); cairo_fill(c); });
    // Tracks, with their links.
    for (double side : {-1.0, 1.0}) {
        cairo_new_path(cr);
        RoundedRectPath(cr, side > 0 ? 0.44 : -0.72, -0.92, 0.28, 1.84, 0.1);
        FillLit(cr, Hex(0x3a3a36), 1.4, 0.6);
        cairo_new_path(cr);
        for (int k = 0; k < 15; k++) {
            double y = -0.86 + k * 0.122;
            cairo_rectangle(cr, side > 0 ? 0.46 : -0.70, y, 0.24, 0.045);
        }
        SetColour(cr, Hex(0x1c1c1a), 0.8);
        cairo_fill(cr);
    }
    // The body, with a sloped front plate at the top.
    cairo_new_path(cr);
    cairo_move_to(cr, -0.42, -0.82);
    cairo_line_to(cr, 0.42, -0.82);
    cairo_line_to(cr, 0.48, -0.6);
    cairo_line_to(cr, 0.48, 0.84);
    cairo_line_to(cr, -0.48, 0.84);
    cairo_line_to(cr, -0.48, -0.6);
    cairo_close_path(cr);
    FillLit(cr, OLIVE, 1.3, 0.6);
    cairo_new_path(cr);
    cairo_move_to(cr, -0.42, -0.82);
    cairo_line_to(cr, 0.42, -0.82);
    cairo_line_to(cr, 0.48, -0.6);
    cairo_line_to(cr, -0.48, -0.6);
    cairo_close_path(cr);
    SetColour(cr, Hex(0xffffff), 0.12);
    cairo_fill(cr);
    // Engine deck grille at the back.
    for (int k = 0; k < 4; k++) {
        cairo_rectangle(cr, -0.32, 0.5 + k * 0.08, 0.64, 0.035);
    }
    SetColour(cr, Hex(0x1e2412), 0.7);
    cairo_fill(cr);
    cairo_arc(cr, 0, TANK_PIVOT, 0.46, 0, 2 * PAINT_PI);
    SetColour(cr, Hex(0x1e2412), 0.6);
    cairo_fill(cr);
    return true;
}

bool TankTurret(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    double p = TANK_PIVOT;
    auto body = [p](cairo_t *c) { EllipsePath(c, 0, p + 0.02, 0.42, 0.5); };
    Shadow(cr, w, [&](cairo_t *c) {
        body(c);
        cairo_fill(c);
        cairo_rectangle(c, -0.07, -0.99, 0.14, 1.0);
        cairo_fill(c);
    }, 0.6);
    Barrel(cr, 0.0, p - 0.3, -0.99, 0.13, Hex(0x6c7848));
    // Fume extractor half way along the barrel.
    cairo_new_path(cr);
    RoundedRectPath(cr, -0.1, -0.55, 0.2, 0.18, 0.05);
    FillLit(cr, Hex(0x5c6a3a), 1.4, 0.6);
    cairo_new_path(cr);
    body(cr);
    FillLit(cr, Hex(0x6a7a42), 1.35, 0.55);
    cairo_new_path(cr);
    // Hatch and periscope.
    cairo_arc(cr, 0.16, p + 0.16, 0.14, 0, 2 * PAINT_PI);
    FillLit(cr, OLIVE_DARK, 1.5, 0.6);
    cairo_new_path(cr);
    RoundedRectPath(cr, -0.26, p - 0.12, 0.12, 0.08, 0.02);
    SetColour(cr, Hex(0x202020));
    cairo_fill(cr);
    return true;
}

// ---- Spray family: one picture each, its nozzle to the top ----

bool Sprayer(cairo_t *cr, int w, int h, int size)
{
    Units(cr, w, h);
    const Rgb TANKS[3] = {Hex(0x4f9a4a), Hex(0xd9b531), Hex(0x3f78b8)};
    Rgb tank = TANKS[size];
    double r = 0.5 + 0.12 * size;
    double nozzle_w = 0.12 + 0.08 * size;
    auto shape = [&](cairo_t *c) {
        cairo_arc(c, 0, 0.15, r, 0, 2 * PAINT_PI);
        cairo_fill(c);
        cairo_rectangle(c, -nozzle_w * 0.5, -0.95, nozzle_w, 1.0);
        cairo_fill(c);
    };
    Shadow(cr, w, shape);
    // The lance and its nozzle.
    Barrel(cr, 0.0, 0.0, -0.78, 0.09 + 0.02 * size, STEEL);
    cairo_new_path(cr);
    cairo_move_to(cr, -nozzle_w * 0.3, -0.74);
    cairo_line_to(cr, -nozzle_w * 0.6, -0.96);
    cairo_line_to(cr, nozzle_w * 0.6, -0.96);
    cairo_line_to(cr, nozzle_w * 0.3, -0.74);
    cairo_close_path(cr);
    FillLit(cr, BRASS, 1.4, 0.6);
    cairo_new_path(cr);
    // The tank.
    cairo_arc(cr, 0, 0.15, r, 0, 2 * PAINT_PI);
    FillLit(cr, tank, 1.35, 0.55);
    cairo_new_path(cr);
    for (int band = 0; band < size + 1; band++) {
        cairo_arc(cr, 0, 0.15, r * (0.82 - band * 0.14), 0, 2 * PAINT_PI);
        SetColour(cr, Shade(tank, 0.6), 0.5);
        cairo_set_line_width(cr, 0.03);
        cairo_stroke(cr);
    }
    // Filler cap and a hose.
    cairo_arc(cr, 0, 0.15, 0.14, 0, 2 * PAINT_PI);
    FillLit(cr, Hex(0x2a2a2a), 1.8, 0.6);
    cairo_new_path(cr);
    cairo_move_to(cr, r * 0.55, 0.15 - r * 0.55);
    cairo_curve_to(cr, r * 0.2, -0.4, 0.1, -0.2, 0.04, -0.3);
    SetColour(cr, Hex(0x1f1f1f));
    cairo_set_line_width(cr, 0.06);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    if (size == 2) {
        // Handles on the big tank.
        for (double side : {-1.0, 1.0}) {
            cairo_new_path(cr);
            RoundedRectPath(cr, side * (r + 0.02) - 0.07, 0.05, 0.14, 0.22, 0.05);
            FillLit(cr, STEEL_DARK, 1.5, 0.6);
        }
        cairo_new_path(cr);
    }
    return true;
}

// ---- Projectile family ----

bool StoneThrowerBase(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    Shadow(cr, w, [](cairo_t *c) { cairo_rectangle(c, -0.86, -0.86, 1.72, 1.72); cairo_fill(c); });
    // A square frame of planks.
    for (int k = 0; k < 6; k++) {
        double x = -0.86 + k * (1.72 / 6);
        cairo_new_path(cr);
        cairo_rectangle(cr, x + 0.01, -0.86, 1.72 / 6 - 0.02, 1.72);
        FillVertical(cr, -0.86, 0.86, Shade(WOOD, 1.1 - 0.04 * (k % 3)), Shade(WOOD, 0.85));
        cairo_new_path(cr);
    }
    for (double y : {-0.78, 0.78}) {
        cairo_new_path(cr);
        cairo_rectangle(cr, -0.9, y - 0.09, 1.8, 0.18);
        FillLit(cr, WOOD_DARK, 1.3, 0.7);
    }
    cairo_new_path(cr);
    for (double x : {-0.7, 0.7})
        for (double y : {-0.78, 0.78}) {
            cairo_arc(cr, x, y, 0.05, 0, 2 * PAINT_PI);
            cairo_new_sub_path(cr);
        }
    SetColour(cr, Hex(0x2a2a2a));
    cairo_fill(cr);
    // The pivot post.
    cairo_arc(cr, 0, 0, 0.28, 0, 2 * PAINT_PI);
    FillLit(cr, WOOD_DARK, 1.4, 0.6);
    return true;
}

bool StoneThrowerArm(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    auto shape = [](cairo_t *c) {
        cairo_rectangle(c, -0.09, -0.7, 0.18, 1.25);
        cairo_fill(c);
        cairo_arc(c, 0, -0.72, 0.24, 0, 2 * PAINT_PI);
        cairo_fill(c);
        cairo_rectangle(c, -0.55, -0.07, 1.1, 0.14);
        cairo_fill(c);
    };
    Shadow(cr, w, shape, 0.6);
    // The axle across, then the arm.
    cairo_rectangle(cr, -0.55, -0.07, 1.1, 0.14);
    FillLit(cr, STEEL_DARK, 1.5, 0.6);
    cairo_new_path(cr);
    cairo_rectangle(cr, -0.09, -0.7, 0.18, 1.25);
    cairo_pattern_t *p = cairo_pattern_create_linear(-0.09, 0, 0.09, 0);
    cairo_pattern_add_color_stop_rgb(p, 0.0, WOOD_DARK.r, WOOD_DARK.g, WOOD_DARK.b);
    cairo_pattern_add_color_stop_rgb(p, 0.4, 0.78, 0.55, 0.32);
    cairo_pattern_add_color_stop_rgb(p, 1.0, WOOD_DARK.r, WOOD_DARK.g, WOOD_DARK.b);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // The cup with its stone.
    cairo_arc(cr, 0, -0.72, 0.24, 0, 2 * PAINT_PI);
    FillLit(cr, WOOD_DARK, 1.3, 0.6);
    cairo_new_path(cr);
    cairo_arc(cr, 0, -0.72, 0.16, 0, 2 * PAINT_PI);
    FillLit(cr, Hex(0x8f8a80), 1.5, 0.55);
    return true;
}

bool GrenadeBase(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    Shadow(cr, w, [](cairo_t *c) { cairo_arc(c, 0, 0, 0.88, 0, 2 * PAINT_PI); cairo_fill(c); });
    // A ring of sandbags.
    cairo_arc(cr, 0, 0, 0.62, 0, 2 * PAINT_PI);
    SetColour(cr, Hex(0x5b4c33));
    cairo_fill(cr);
    for (int k = 0; k < 12; k++) {
        double a = k * 2.0 * PAINT_PI / 12;
        cairo_new_path(cr);
        EllipsePath(cr, std::cos(a) * 0.72, std::sin(a) * 0.72, 0.2, 0.14, a + PAINT_PI / 2);
        FillLit(cr, Shade(SAND, 0.95 + 0.05 * (k % 2)), 1.25, 0.6);
        cairo_set_line_width(cr, 0.02);
        SetColour(cr, Shade(SAND, 0.5), 0.6);
        cairo_stroke(cr);
    }
    cairo_arc(cr, 0, 0, 0.5, 0, 2 * PAINT_PI);
    FillLit(cr, OLIVE_DARK, 1.2, 0.7);
    return true;
}

bool GrenadeTube(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    auto shape = [](cairo_t *c) {
        cairo_arc(c, 0, 0.28, 0.34, 0, 2 * PAINT_PI);
        cairo_fill(c);
        cairo_rectangle(c, -0.19, -0.78, 0.38, 1.0);
        cairo_fill(c);
    };
    Shadow(cr, w, shape, 0.6);
    cairo_arc(cr, 0, 0.28, 0.34, 0, 2 * PAINT_PI);
    FillLit(cr, STEEL_DARK, 1.4, 0.6);
    cairo_new_path(cr);
    Barrel(cr, 0.0, 0.25, -0.78, 0.34, Hex(0x5a6a3c));
    // Bipod legs.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (double side : {-1.0, 1.0}) {
        cairo_move_to(cr, side * 0.15, -0.35);
        cairo_line_to(cr, side * 0.55, -0.1);
    }
    SetColour(cr, Hex(0x2a2e22));
    cairo_set_line_width(cr, 0.07);
    cairo_stroke(cr);
    return true;
}

void MissileShape(cairo_t *cr, double x, double top, double length, double w)
{
    cairo_move_to(cr, x, top);
    cairo_curve_to(cr, x + w * 0.5, top + w * 0.4, x + w * 0.5, top + w, x + w * 0.5, top + w * 1.4);
    cairo_line_to(cr, x + w * 0.5, top + length);
    cairo_line_to(cr, x - w * 0.5, top + length);
    cairo_line_to(cr, x - w * 0.5, top + w * 1.4);
    cairo_curve_to(cr, x - w * 0.5, top + w, x - w * 0.5, top + w * 0.4, x, top);
    cairo_close_path(cr);
}

void Missile(cairo_t *cr, double x, double top, double length, double w)
{
    // Fins.
    cairo_new_path(cr);
    cairo_move_to(cr, x - w * 1.1, top + length);
    cairo_line_to(cr, x - w * 0.5, top + length * 0.72);
    cairo_line_to(cr, x + w * 0.5, top + length * 0.72);
    cairo_line_to(cr, x + w * 1.1, top + length);
    cairo_close_path(cr);
    FillLit(cr, Hex(0x9a2a22), 1.4, 0.6);
    cairo_new_path(cr);
    MissileShape(cr, x, top, length, w);
    cairo_pattern_t *p = cairo_pattern_create_linear(x - w * 0.5, 0, x + w * 0.5, 0);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.55, 0.57, 0.58);
    cairo_pattern_add_color_stop_rgb(p, 0.35, 0.97, 0.97, 0.95);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.5, 0.52, 0.53);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    // A red nose.
    cairo_save(cr);
    MissileShape(cr, x, top, length, w);
    cairo_clip(cr);
    cairo_rectangle(cr, x - w, top, w * 2, w * 1.1);
    SetColour(cr, Hex(0xc8302a), 0.95);
    cairo_fill(cr);
    cairo_restore(cr);
}

bool MissileBase(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    Shadow(cr, w, [](cairo_t *c) { StarPath(c, 0, 0, 0.9, 1.0, 6, PAINT_PI / 6); cairo_fill(c); });
    StarPath(cr, 0, 0, 0.9, 1.0, 6, PAINT_PI / 6);
    FillLit(cr, Hex(0x6e6e66), 1.25, 0.6);
    cairo_new_path(cr);
    // Warning stripes round the pad.
    cairo_save(cr);
    StarPath(cr, 0, 0, 0.86, 1.0, 6, PAINT_PI / 6);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 0, 0, 0.66, 2 * PAINT_PI, 0);
    cairo_clip(cr);
    SetColour(cr, Hex(0xd8b22a));
    cairo_paint(cr);
    for (int k = 0; k < 24; k++) {
        double a = k * 2.0 * PAINT_PI / 24;
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, std::cos(a) * 1.2, std::sin(a) * 1.2);
        cairo_line_to(cr, std::cos(a + 0.13) * 1.2, std::sin(a + 0.13) * 1.2);
        cairo_close_path(cr);
    }
    SetColour(cr, Hex(0x1d1d1d));
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_arc(cr, 0, 0, 0.62, 0, 2 * PAINT_PI);
    FillLit(cr, OLIVE_DARK, 1.3, 0.6);
    return true;
}

bool MissileRack(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    auto box = [](cairo_t *c) { RoundedRectPath(c, -0.5, -0.45, 1.0, 1.0, 0.1); };
    Shadow(cr, w, [&](cairo_t *c) {
        box(c);
        cairo_fill(c);
        cairo_rectangle(c, -0.46, -0.95, 0.92, 0.6);
        cairo_fill(c);
    }, 0.6);
    box(cr);
    FillLit(cr, OLIVE, 1.3, 0.6);
    cairo_new_path(cr);
    for (double x : {-0.26, 0.26})
        Missile(cr, x, -0.95, 1.3, 0.2);
    cairo_new_path(cr);
    RoundedRectPath(cr, -0.5, 0.2, 1.0, 0.35, 0.08);
    FillLit(cr, OLIVE_DARK, 1.3, 0.6);
    return true;
}

// ---- Shots ----

void Glow(cairo_t *cr, double x, double y, double rx, double ry, Rgb colour, double alpha)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t *p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(p, 0.0, colour.r, colour.g, colour.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.4, colour.r, colour.g, colour.b, alpha * 0.5);
    cairo_pattern_add_color_stop_rgba(p, 1.0, colour.r, colour.g, colour.b, 0.0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, 2 * PAINT_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

bool Bullet(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    Glow(cr, 0, 0.1, 0.55, 0.95, Hex(0xffb020), 0.55);
    EllipsePath(cr, 0, -0.1, 0.22, 0.6);
    FillLit(cr, Hex(0xffe070), 1.3, 0.8);
    cairo_new_path(cr);
    EllipsePath(cr, 0, -0.2, 0.1, 0.38);
    SetColour(cr, Hex(0xfffff0));
    cairo_fill(cr);
    return true;
}

bool Shell(cairo_t *cr, int w, int h, bool tracer)
{
    Units(cr, w, h);
    if (tracer)
        Glow(cr, 0, 0.45, 0.5, 0.6, Hex(0xff6020), 0.8);
    Glow(cr, 0, 0, 0.8, 0.95, Hex(0xffd060), 0.35);
    cairo_new_path(cr);
    MissileShape(cr, 0, -0.85, 1.5, 0.5);
    FillLit(cr, tracer ? Hex(0x707a80) : BRASS, 1.5, 0.6);
    cairo_new_path(cr);
    cairo_rectangle(cr, -0.25, 0.4, 0.5, 0.12);
    SetColour(cr, Hex(0x3a3020), 0.7);
    cairo_fill(cr);
    return true;
}

// A spray cloud: a cone of mist from the nozzle (image bottom) opening to the
// top, where the game's hit cone lies.
bool SprayCloud(cairo_t *cr, int w, int h, int size)
{
    const Rgb MISTS[3] = {Hex(0xbff0a0), Hex(0xf0f07a), Hex(0xc0b0ff)};
    DataGenRandom rng(0x5EED0000u + (uint64_t)size);
    cairo_surface_t *target = cairo_get_target(cr);
    cairo_save(cr);
    Units(cr, w, h);
    for (int i = 0; i < 140; i++) {
        double t = rng.Unit();  // 0 at the nozzle, 1 at the cone's mouth
        double y = 0.85 - t * 1.6, spread = 0.05 + t * 0.72;
        double x = rng.Range(-spread, spread);
        double r = 0.06 + t * 0.2 * rng.Range(0.6, 1.2);
        Rgb c = Mix(MISTS[size], Hex(0xffffff), rng.Range(0.0, 0.5));
        cairo_new_path(cr);
        cairo_arc(cr, x, y, r, 0, 2 * PAINT_PI);
        SetColour(cr, c, 0.16 + 0.1 * (1.0 - t));
        cairo_fill(cr);
    }
    cairo_restore(cr);
    BlurSurface(target, w / 40.0);
    // Keep the edges clear, so that the square never shows.
    cairo_save(cr);
    cairo_pattern_t *fade = cairo_pattern_create_radial(w * 0.5, h * 0.5, 0, w * 0.5, h * 0.5, w * 0.5);
    cairo_pattern_add_color_stop_rgba(fade, 0.0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(fade, 0.8, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(fade, 1.0, 0, 0, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
    cairo_set_source(cr, fade);
    cairo_paint(cr);
    cairo_pattern_destroy(fade);
    cairo_restore(cr);
    return true;
}

bool Stone(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    DataGenRandom rng(0x570E);
    auto shape = [&](cairo_t *c) {
        DataGenRandom r2(0x570E);
        for (int k = 0; k < 9; k++) {
            double a = k * 2.0 * PAINT_PI / 9, rad = r2.Range(0.55, 0.75);
            if (k == 0)
                cairo_move_to(c, std::cos(a) * rad, std::sin(a) * rad);
            else
                cairo_line_to(c, std::cos(a) * rad, std::sin(a) * rad);
        }
        cairo_close_path(c);
    };
    SoftShadow(cr, [&](cairo_t *c) { shape(c); cairo_fill(c); }, 1, 2, 3, 0.5);
    shape(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    FillLit(cr, Hex(0x9a958a), 1.45, 0.5);
    cairo_set_line_width(cr, 0.06);
    SetColour(cr, Hex(0x4a463e), 0.6);
    cairo_stroke(cr);
    return true;
}

bool Grenade(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    SoftShadow(cr, [](cairo_t *c) { EllipsePath(c, 0, 0.1, 0.5, 0.62); cairo_fill(c); }, 1, 2, 3, 0.5);
    EllipsePath(cr, 0, 0.1, 0.5, 0.62);
    FillLit(cr, Hex(0x4e6a2e), 1.5, 0.5);
    cairo_new_path(cr);
    for (int k = -1; k <= 1; k++) {
        cairo_move_to(cr, -0.5, 0.1 + k * 0.25);
        cairo_curve_to(cr, -0.2, 0.18 + k * 0.25, 0.2, 0.18 + k * 0.25, 0.5, 0.1 + k * 0.25);
    }
    cairo_move_to(cr, 0, -0.5);
    cairo_line_to(cr, 0, 0.72);
    SetColour(cr, Hex(0x23301a), 0.7);
    cairo_set_line_width(cr, 0.05);
    cairo_stroke(cr);
    RoundedRectPath(cr, -0.16, -0.72, 0.32, 0.26, 0.05);
    FillLit(cr, STEEL, 1.5, 0.6);
    cairo_new_path(cr);
    cairo_arc(cr, 0.3, -0.68, 0.14, 0, 2 * PAINT_PI);
    SetColour(cr, Hex(0xb0b0b0));
    cairo_set_line_width(cr, 0.05);
    cairo_stroke(cr);
    return true;
}

bool MissileShot(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    // The exhaust flame behind it.
    Glow(cr, 0, 0.7, 0.28, 0.32, Hex(0xff7020), 0.9);
    Glow(cr, 0, 0.6, 0.14, 0.2, Hex(0xffffa0), 1.0);
    SoftShadow(cr, [](cairo_t *c) { MissileShape(c, 0, -0.9, 1.35, 0.28); cairo_fill(c); }, 1, 2, 3, 0.45);
    Missile(cr, 0, -0.9, 1.35, 0.28);
    return true;
}

// ---- Factory, explosion, range circle, markers, health bar ----

bool FactoryBackground(cairo_t *cr, int w, int h)
{
    cairo_scale(cr, w / 128.0, h / 128.0);
    // A concrete pad with a warning edge; the weapon goes in the middle half.
    cairo_rectangle(cr, 0, 0, 128, 128);
    SetColour(cr, Hex(0x2a2a26));
    cairo_fill(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 4, 4, 120, 120);
    cairo_clip(cr);
    SetColour(cr, Hex(0xd8b22a));
    cairo_paint(cr);
    for (int k = -8; k < 16; k++) {
        cairo_move_to(cr, k * 16, 0);
        cairo_line_to(cr, k * 16 + 8, 0);
        cairo_line_to(cr, k * 16 + 8 + 128, 128);
        cairo_line_to(cr, k * 16 + 128, 128);
        cairo_close_path(cr);
    }
    SetColour(cr, Hex(0x222222));
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_rectangle(cr, 16, 16, 96, 96);
    FillVertical(cr, 16, 112, Hex(0x8e8e86), Hex(0x6a6a62));
    cairo_new_path(cr);
    DataGenRandom rng(0xFAC7);
    for (int i = 0; i < 160; i++) {
        cairo_rectangle(cr, 16 + rng.Range(0, 95), 16 + rng.Range(0, 95), 1.2, 1.2);
        SetColour(cr, rng.Unit() < 0.5 ? Hex(0x5a5a52) : Hex(0xa8a8a0), 0.6);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 16.5, 16.5, 95, 95);
    SetColour(cr, Hex(0x3a3a34));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    // Bolts in the corners.
    for (double x : {10.0, 118.0})
        for (double y : {10.0, 118.0}) {
            cairo_new_path(cr);
            cairo_arc(cr, x, y, 3.5, 0, 2 * PAINT_PI);
            FillLit(cr, STEEL, 1.5, 0.5);
        }
    return true;
}

void ExplosionFrame(cairo_t *cr, int n, double cell)
{
    double t = n / 14.0;
    DataGenRandom rng(0xB00Bu + (uint64_t)n * 7919u);
    cairo_save(cr);
    cairo_translate(cr, cell * 0.5, cell * 0.5);
    cairo_scale(cr, cell * 0.5, cell * 0.5);
    double radius = 0.45 + 0.55 * std::sqrt(t);
    double fade = t < 0.55 ? 1.0 : std::max(0.0, 1.0 - (t - 0.55) / 0.45);
    // Smoke puffs, then fire, then a hot core that burns out.
    DataGenRandom puffs(0xB00B);
    for (int i = 0; i < 18; i++) {
        double a = puffs.Range(0, 2 * PAINT_PI), d = puffs.Range(0.2, 0.75) * radius, r = puffs.Range(0.25, 0.4) * radius;
        Rgb smoke = Mix(Hex(0x6a6058), Hex(0x302c28), t);
        Glow(cr, std::cos(a) * d, std::sin(a) * d, r * 1.5, r * 1.5, smoke, 0.9 * fade * std::min(1.0, t * 3.0));
    }
    double fire = std::max(0.0, 1.0 - t * 1.3);
    for (int i = 0; i < 16; i++) {
        double a = rng.Range(0, 2 * PAINT_PI), d = rng.Range(0.0, 0.6) * radius, r = rng.Range(0.4, 0.6) * radius;
        Glow(cr, std::cos(a) * d, std::sin(a) * d, r, r, Mix(Hex(0xff4a10), Hex(0xffb020), rng.Unit()), fire);
    }
    Glow(cr, 0, 0, radius * 0.75, radius * 0.75, Hex(0xfff6c0), std::max(0.0, 1.0 - t * 2.0));
    // Sparks flying out.
    if (t < 0.6) {
        DataGenRandom sparks(0x5BA4);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int i = 0; i < 10; i++) {
            double a = sparks.Range(0, 2 * PAINT_PI), d = sparks.Range(0.5, 1.0) * (0.3 + t * 1.1);
            cairo_move_to(cr, std::cos(a) * d * 0.8, std::sin(a) * d * 0.8);
            cairo_line_to(cr, std::cos(a) * d, std::sin(a) * d);
            SetColour(cr, Hex(0xffe080), 1.0 - t / 0.6);
            cairo_set_line_width(cr, 0.035);
            cairo_stroke(cr);
        }
    }
    cairo_restore(cr);
}

bool Explosions(cairo_t *cr, int w, int h)
{
    double cell = w / 4.0;
    for (int n = 0; n < 16; n++) {
        cairo_save(cr);
        cairo_translate(cr, (n % 4) * cell, (n / 4) * (h / 4.0));
        cairo_rectangle(cr, 0, 0, cell, h / 4.0);
        cairo_clip(cr);
        // The sixteenth cell is never shown; it stays clear.
        if (n < 15)
            ExplosionFrame(cr, n, cell);
        cairo_restore(cr);
    }
    return true;
}

bool RangeCircle(cairo_t *cr, int w, int h)
{
    Units(cr, w, h);
    double px = 2.0 / w;
    cairo_pattern_t *p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1.0 - 3 * px);
    cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 1, 0.06);
    cairo_pattern_add_color_stop_rgba(p, 0.85, 1, 1, 1, 0.12);
    cairo_pattern_add_color_stop_rgba(p, 1.0, 1, 1, 1, 0.28);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1.0 - 3 * px, 0, 2 * PAINT_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_arc(cr, 0, 0, 1.0 - 6 * px, 0, 2 * PAINT_PI);
    cairo_set_source_rgba(cr, 0.1, 0.15, 0.05, 0.55);
    cairo_set_line_width(cr, 10 * px);
    cairo_stroke(cr);
    cairo_arc(cr, 0, 0, 1.0 - 6 * px, 0, 2 * PAINT_PI);
    cairo_set_source_rgba(cr, 1, 1, 0.9, 0.95);
    cairo_set_line_width(cr, 5 * px);
    cairo_stroke(cr);
    return true;
}

bool LevelMarkers(cairo_t *cr, int w, int h)
{
    const Rgb METALS[4] = {Hex(0xc08040), Hex(0xd0d4d8), Hex(0xf0c030), Hex(0xff5a3a)};
    // Pip positions for 1 to 4 pips.
    const double PIPS[4][4][2] = {{{0, 0}},
                                 {{-0.3, 0}, {0.3, 0}},
                                 {{0, -0.3}, {-0.3, 0.22}, {0.3, 0.22}},
                                 {{-0.28, -0.28}, {0.28, -0.28}, {-0.28, 0.28}, {0.28, 0.28}}};
    for (int level = 0; level < 4; level++) {
        cairo_save(cr);
        cairo_translate(cr, (level % 2) * w * 0.5 + w * 0.25, (level / 2) * h * 0.5 + h * 0.25);
        cairo_scale(cr, w * 0.25, h * 0.25);
        cairo_new_path(cr);
        cairo_arc(cr, 0, 0, 0.88, 0, 2 * PAINT_PI);
        SetColour(cr, Hex(0x141810), 0.85);
        cairo_fill_preserve(cr);
        SetColour(cr, METALS[level]);
        cairo_set_line_width(cr, 0.1);
        cairo_stroke(cr);
        for (int k = 0; k <= level; k++) {
            cairo_new_path(cr);
            cairo_arc(cr, PIPS[level][k][0], PIPS[level][k][1], level == 0 ? 0.3 : 0.2, 0, 2 * PAINT_PI);
            FillLit(cr, METALS[level], 1.5, 0.7);
        }
        cairo_restore(cr);
    }
    return true;
}

bool HealthFrame(cairo_t *cr, int w, int h)
{
    RoundedRectPath(cr, 1, 1, w - 2, h - 2, 3);
    cairo_set_line_width(cr, 2.5);
    SetColour(cr, Hex(0x101010), 0.95);
    cairo_stroke(cr);
    RoundedRectPath(cr, 2.5, 2.5, w - 5, h - 5, 2);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, Hex(0xffffff), 0.35);
    cairo_stroke(cr);
    return true;
}

bool HealthFill(cairo_t *cr, int w, int h)
{
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_pattern_t *p = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.55, 0.95, 0.45);
    cairo_pattern_add_color_stop_rgb(p, 0.45, 0.2, 0.78, 0.2);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.08, 0.45, 0.1);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    return true;
}

}  // namespace

void WeaponPainterAddJobs(std::vector<PictureJob> *jobs)
{
    auto add = [jobs](const char *file, bool (*paint)(cairo_t *, int, int)) {
        jobs->push_back(PictureJob{file, [paint](cairo_t *cr, int w, int h, std::string *) { return paint(cr, w, h); }});
    };
    add("1300.dat", TurretBase);
    add("1301.dat", TurretTurret);
    add("1302.dat", CannonBase);
    add("1303.dat", CannonTurret);
    add("1304.dat", TankHull);
    add("1305.dat", TankTurret);
    add("1310.dat", [](cairo_t *cr, int w, int h) { return Sprayer(cr, w, h, 0); });
    add("1311.dat", [](cairo_t *cr, int w, int h) { return Sprayer(cr, w, h, 1); });
    add("1312.dat", [](cairo_t *cr, int w, int h) { return Sprayer(cr, w, h, 2); });
    add("1320.dat", StoneThrowerBase);
    add("1321.dat", StoneThrowerArm);
    add("1322.dat", GrenadeBase);
    add("1323.dat", GrenadeTube);
    add("1324.dat", MissileBase);
    add("1325.dat", MissileRack);
    add("1350.dat", Bullet);
    add("1351.dat", [](cairo_t *cr, int w, int h) { return Shell(cr, w, h, false); });
    add("1352.dat", [](cairo_t *cr, int w, int h) { return Shell(cr, w, h, true); });
    add("1360.dat", [](cairo_t *cr, int w, int h) { return SprayCloud(cr, w, h, 0); });
    add("1361.dat", [](cairo_t *cr, int w, int h) { return SprayCloud(cr, w, h, 1); });
    add("1362.dat", [](cairo_t *cr, int w, int h) { return SprayCloud(cr, w, h, 2); });
    add("1370.dat", Stone);
    add("1371.dat", Grenade);
    add("1372.dat", MissileShot);
    add("1380.dat", FactoryBackground);
    add("1023.dat", Explosions);
    add("1012.dat", RangeCircle);
    add("1013.dat", LevelMarkers);
    add("1014.dat", HealthFrame);
    add("1015.dat", HealthFill);
}
