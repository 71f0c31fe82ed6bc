// The play screen's frame and the pictures round it: pointers and the
// texture cursor, the sidebar with its button tiles and locked overlay, the
// bottom bar, the tutorial hint frame, the game-over and game-won pictures,
// the title text, the pictures behind the module texture names, the popup
// texture and the platform icons.
//
// The look is the hive's: dark leaf-green panels, honey-gold edges and a
// faint honeycomb.
#include "tools/datagen/DataGenRandom.h"
#include "tools/datagen/PaintKit.h"
#include "tools/datagen/PictureJob.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

const Rgb HONEY = Hex(0xf0b83a), HONEY_LIGHT = Hex(0xffe08a), HONEY_DARK = Hex(0x9a6a18), LEAF = Hex(0x2c4a2a),
          LEAF_DARK = Hex(0x17261a), LEAF_LIGHT = Hex(0x4c7a3e), BARK = Hex(0x3a2614), CREAM = Hex(0xfff6dc);

// Pointy-topped hexagon of outer radius r.
void HexPath(cairo_t *cr, double x, double y, double r) { StarPath(cr, x, y, r, 1.0, 6, -PAINT_PI / 2); }

// A faint honeycomb over the current clip.
void Honeycomb(cairo_t *cr, double x0, double y0, double x1, double y1, double r, double alpha)
{
    double dx = r * std::sqrt(3.0), dy = r * 1.5;
    int row = 0;
    for (double y = y0 - r; y < y1 + r; y += dy, row++)
        for (double x = x0 - dx + (row % 2) * dx * 0.5; x < x1 + dx; x += dx)
            HexPath(cr, x, y, r * 0.96);
    cairo_set_line_width(cr, std::max(1.0, r * 0.08));
    SetColour(cr, HONEY, alpha);
    cairo_stroke(cr);
}

// ---- Pointers ----

void ArrowPath(cairo_t *cr)
{
    const double PTS[][2] = {{3, 3}, {3, 49}, {14, 39}, {22, 58}, {31, 54}, {23, 36}, {39, 36}};
    cairo_new_path(cr);
    for (size_t i = 0; i < sizeof(PTS) / sizeof(PTS[0]); i++)
        (i == 0 ? cairo_move_to : cairo_line_to)(cr, PTS[i][0], PTS[i][1]);
    cairo_close_path(cr);
}

// An arrow with its tip at the top-left pixel, where the game puts the
// mouse position.
void Arrow(cairo_t *cr, int w, Rgb fill)
{
    cairo_scale(cr, w / 64.0, w / 64.0);
    SoftShadow(cr, [](cairo_t *c) { ArrowPath(c); cairo_fill(c); }, 2 * w / 64.0, 3 * w / 64.0, 3 * w / 64.0, 0.5);
    ArrowPath(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    FillVertical(cr, 3, 58, Shade(fill, 1.15), Shade(fill, 0.8));
    cairo_set_line_width(cr, 3.0);
    SetColour(cr, Hex(0x1a1208));
    cairo_stroke(cr);
}

bool Pointer(cairo_t *cr, int w, int, bool refused)
{
    Arrow(cr, w, CREAM);
    if (refused) {
        // A red "no" sign by the arrow.
        cairo_new_path(cr);
        cairo_arc(cr, 45, 45, 15, 0, 2 * PAINT_PI);
        SetColour(cr, Hex(0xffffff), 0.85);
        cairo_fill_preserve(cr);
        SetColour(cr, Hex(0xd8261c));
        cairo_set_line_width(cr, 5);
        cairo_stroke(cr);
        cairo_move_to(cr, 45 - 10, 45 + 10);
        cairo_line_to(cr, 45 + 10, 45 - 10);
        cairo_stroke(cr);
    }
    return true;
}

// ---- Sidebar ----

// Sidebar picture pixels of button i: columns x 14-84, 92-162, 170-240, row
// r y 220 + 218 r to 300 + 218 r. The game composes each button into these.
void ButtonRect(int i, double *x, double *y, double *w, double *h)
{
    const int LEFT[3] = {14, 92, 170};
    *x = LEFT[i % 3];
    *y = 220 + 218 * (i / 3);
    *w = 70;
    *h = 80;
}

void Panel(cairo_t *cr, double x, double y, double w, double h, double r, Rgb top, Rgb bottom, double border)
{
    cairo_new_path(cr);
    RoundedRectPath(cr, x, y, w, h, r);
    FillVertical(cr, y, y + h, top, bottom);
    cairo_set_line_width(cr, border);
    SetColour(cr, HONEY_DARK);
    cairo_stroke(cr);
    cairo_new_path(cr);
    RoundedRectPath(cr, x + border, y + border, w - 2 * border, h - 2 * border, std::max(0.0, r - border));
    cairo_set_line_width(cr, std::max(1.0, border * 0.4));
    SetColour(cr, HONEY_LIGHT, 0.45);
    cairo_stroke(cr);
}

bool Sidebar(cairo_t *cr, int w, int h)
{
    cairo_scale(cr, w / 256.0, h / 1024.0);
    cairo_rectangle(cr, 0, 0, 256, 1024);
    FillVertical(cr, 0, 1024, Hex(0x24391f), Hex(0x15241a));
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 256, 1024);
    cairo_clip(cr);
    Honeycomb(cr, 0, 0, 256, 1024, 22, 0.07);
    cairo_restore(cr);
    // The right edge, where the board begins.
    cairo_rectangle(cr, 248, 0, 8, 1024);
    FillVertical(cr, 0, 1024, HONEY_DARK, Shade(HONEY_DARK, 0.6));
    cairo_new_path(cr);
    cairo_rectangle(cr, 249, 0, 2, 1024);
    SetColour(cr, HONEY_LIGHT, 0.6);
    cairo_fill(cr);

    // The level title and hit points are written at the top, inside this
    // panel (the game fits them to it: game/Sidebar.cpp keeps its numbers).
    Panel(cr, 10, 14, 228, 136, 16, Hex(0x0e1a10), Hex(0x1c2e1c), 4);

    const char *ROWS[4] = {"GUNS", "SPRAYS", "LAUNCHERS", "FACTORIES"};
    for (int r = 0; r < 4; r++) {
        double top = 220 + 218 * r;
        // A label above each row of buttons, on a honey ribbon.
        cairo_new_path(cr);
        RoundedRectPath(cr, 14, top - 62, 226, 44, 10);
        FillVertical(cr, top - 62, top - 18, Shade(HONEY, 0.95), HONEY_DARK);
        cairo_set_line_width(cr, 2);
        SetColour(cr, Hex(0x3a2608));
        cairo_stroke(cr);
        OutlinedText(cr, ROWS[r], 127, top - 40, 27, CREAM, Hex(0xffe9b0), Hex(0x3a2608), 2.0);
        // The tray that holds the row.
        cairo_new_path(cr);
        RoundedRectPath(cr, 8, top - 8, 238, 96, 12);
        SetColour(cr, Hex(0x000000), 0.3);
        cairo_fill(cr);
        for (int c = 0; c < 3; c++) {
            double x, y, bw, bh;
            ButtonRect(r * 3 + c, &x, &y, &bw, &bh);
            cairo_new_path(cr);
            RoundedRectPath(cr, x - 2, y - 2, bw + 4, bh + 4, 8);
            SetColour(cr, Hex(0x000000), 0.45);
            cairo_fill(cr);
        }
    }
    return true;
}

// A tile behind each sidebar button: the weapon stands on it. Opaque and
// square, since the game copies it whole into the button's rectangle.
bool ButtonBackground(cairo_t *cr, int w, int h)
{
    double b = w * 0.05;
    cairo_rectangle(cr, 0, 0, w, h);
    SetColour(cr, HONEY_DARK);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 0, w, h - b * 0.5);
    cairo_rectangle(cr, 0, 0, w - b * 0.5, h);
    SetColour(cr, HONEY);
    cairo_fill(cr);
    cairo_rectangle(cr, b, b, w - 2 * b, h - 2 * b);
    cairo_pattern_t *p = cairo_pattern_create_radial(w * 0.45, h * 0.4, 0, w * 0.5, h * 0.5, w * 0.75);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.42, 0.58, 0.32);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.14, 0.24, 0.13);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_rectangle(cr, b * 1.5, b * 1.5, w - b * 3, h - b * 3);
    cairo_set_line_width(cr, b * 0.35);
    SetColour(cr, HONEY_LIGHT, 0.5);
    cairo_stroke(cr);
    return true;
}

void PadlockPath(cairo_t *cr, double cx, double cy, double s)
{
    cairo_new_path(cr);
    RoundedRectPath(cr, cx - s * 0.5, cy - s * 0.1, s, s * 0.75, s * 0.12);
}

// Laid over a button whose weapon is not on sale yet.
bool Locked(cairo_t *cr, int w, int h)
{
    double b = w * 0.05;
    cairo_new_path(cr);
    RoundedRectPath(cr, b * 0.5, b * 0.5, w - b, h - b, w * 0.12);
    SetColour(cr, Hex(0x0a0e0a), 0.62);
    cairo_fill(cr);
    double cx = w * 0.5, cy = h * 0.52, s = w * 0.42;
    // The shackle, then the body.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy - s * 0.1, s * 0.3, PAINT_PI, 2 * PAINT_PI);
    cairo_set_line_width(cr, s * 0.13);
    SetColour(cr, Hex(0x1a1a1a));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, s * 0.08);
    SetColour(cr, Hex(0xc8ccd0));
    cairo_stroke(cr);
    SoftShadow(cr, [&](cairo_t *c) { PadlockPath(c, cx, cy, s); cairo_fill(c); }, 2, 3, 4, 0.6);
    PadlockPath(cr, cx, cy, s);
    FillLit(cr, HONEY, 1.3, 0.6);
    cairo_set_line_width(cr, s * 0.05);
    SetColour(cr, Hex(0x3a2608));
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy + s * 0.2, s * 0.08, 0, 2 * PAINT_PI);
    cairo_rectangle(cr, cx - s * 0.035, cy + s * 0.22, s * 0.07, s * 0.2);
    SetColour(cr, Hex(0x2a1a08));
    cairo_fill(cr);
    return true;
}

// ---- Bottom bar: 640 x 30 units of the virtual screen ----

void Star(cairo_t *cr, double x, double y, double r)
{
    cairo_new_path(cr);
    StarPath(cr, x, y, r, 0.45, 5, -PAINT_PI / 2);
    FillLit(cr, HONEY, 1.4, 0.6);
    cairo_set_line_width(cr, r * 0.12);
    SetColour(cr, Hex(0x3a2608));
    cairo_stroke(cr);
}

void Coin(cairo_t *cr, double x, double y, double r)
{
    cairo_new_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * PAINT_PI);
    FillLit(cr, Hex(0xe8c040), 1.4, 0.6);
    cairo_set_line_width(cr, r * 0.12);
    SetColour(cr, Hex(0x5a3a08));
    cairo_stroke(cr);
    cairo_new_path(cr);
    HexPath(cr, x, y, r * 0.55);
    cairo_set_line_width(cr, r * 0.12);
    SetColour(cr, Hex(0x8a5a10));
    cairo_stroke(cr);
}

void Heart(cairo_t *cr, double x, double y, double r)
{
    cairo_new_path(cr);
    cairo_move_to(cr, x, y + r * 0.9);
    cairo_curve_to(cr, x - r * 1.6, y - r * 0.1, x - r * 0.7, y - r * 1.25, x, y - r * 0.4);
    cairo_curve_to(cr, x + r * 0.7, y - r * 1.25, x + r * 1.6, y - r * 0.1, x, y + r * 0.9);
    cairo_close_path(cr);
    FillLit(cr, Hex(0xd8342a), 1.4, 0.6);
    cairo_set_line_width(cr, r * 0.12);
    SetColour(cr, Hex(0x3a0a08));
    cairo_stroke(cr);
}

bool BottomBar(cairo_t *cr, int w, int h)
{
    // Work in virtual-screen units: x 0..640, y 0..30.
    cairo_scale(cr, w / 640.0, h / 30.0);
    cairo_rectangle(cr, 0, 0, 640, 30);
    FillVertical(cr, 0, 30, Hex(0x2a4226), Hex(0x111c12));
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 640, 30);
    cairo_clip(cr);
    Honeycomb(cr, 0, 0, 640, 30, 8, 0.06);
    cairo_restore(cr);
    cairo_rectangle(cr, 0, 0, 640, 1.6);
    SetColour(cr, HONEY);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 1.6, 640, 0.6);
    SetColour(cr, HONEY_LIGHT, 0.6);
    cairo_fill(cr);
    // Icons for the score (text at 111), money (280) and lives (420),
    // clear of the texts.
    Star(cr, 36, 16, 9);
    Coin(cr, 208, 16, 8);
    Heart(cr, 372, 16.5, 7.5);
    // Separators.
    for (double x : {180.0, 345.0, 462.0}) {
        cairo_rectangle(cr, x, 6, 0.8, 20);
        SetColour(cr, HONEY_DARK, 0.7);
        cairo_fill(cr);
    }
    // The START/PAUSE button (x 468-555; the game writes its word) and the
    // menu button (x 576-640).
    Panel(cr, 470, 4.5, 83, 23, 6, Hex(0x3f6a34), Hex(0x1c3218), 1.4);
    Panel(cr, 578, 4.5, 58, 23, 6, Hex(0x6a4a1c), Hex(0x3a260c), 1.4);
    OutlinedText(cr, "MENU", 607, 16.5, 11, CREAM, HONEY_LIGHT, Hex(0x1a1208), 1.0);
    return true;
}

// ---- Tutorial frame ----

// White so that the game can tint it; the corners lie within 0.12 of each
// side, the part that the game keeps unstretched.
bool HintFrame(cairo_t *cr, int w, int h)
{
    double k = w / 128.0;
    cairo_new_path(cr);
    RoundedRectPath(cr, 3 * k, 3 * k, w - 6 * k, h - 6 * k, 11 * k);
    SetColour(cr, Hex(0x000000), 0.45);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 4 * k);
    SetColour(cr, Hex(0xffffff));
    cairo_stroke(cr);
    cairo_new_path(cr);
    RoundedRectPath(cr, 7 * k, 7 * k, w - 14 * k, h - 14 * k, 7 * k);
    cairo_set_line_width(cr, 1.2 * k);
    SetColour(cr, Hex(0xffffff), 0.45);
    cairo_stroke(cr);
    return true;
}

// ---- Scenes ----

bool GameOver(cairo_t *cr, int w, int h)
{
    cairo_scale(cr, w / 1024.0, h / 720.0);
    SoftShadow(cr, [](cairo_t *c) { RoundedRectPath(c, 60, 240, 904, 240, 60); cairo_fill(c); }, 0, 8, 24, 0.6);
    Panel(cr, 60, 240, 904, 240, 60, Hex(0x2a1410), Hex(0x120806), 8);
    cairo_save(cr);
    RoundedRectPath(cr, 68, 248, 888, 224, 52);
    cairo_clip(cr);
    Honeycomb(cr, 60, 240, 964, 480, 30, 0.08);
    cairo_restore(cr);
    SoftShadow(cr, [](cairo_t *c) { TextPath(c, "GAME OVER", 512, 360, 150); cairo_fill(c); }, 0, 10, 14, 0.7);
    OutlinedText(cr, "GAME OVER", 512, 360, 150, Hex(0xffd060), Hex(0xd8341c), Hex(0x1a0804), 7);
    return true;
}

// A golden cup in a laurel wreath, hanging straight; the game swings it.
bool GameWon(cairo_t *cr, int w, int h)
{
    cairo_scale(cr, w / 512.0, h / 512.0);
    // Laurel.
    for (double side : {-1.0, 1.0}) {
        for (int k = 0; k < 9; k++) {
            double a = PAINT_PI * (0.62 + k * 0.09);
            double x = 256 + side * std::cos(a) * -190, y = 270 + std::sin(a) * 190;
            cairo_new_path(cr);
            EllipsePath(cr, x, y, 34, 14, side * (a + PAINT_PI * 0.35));
            FillLit(cr, Mix(Hex(0x4e8a34), Hex(0x8ab848), k / 9.0), 1.3, 0.6);
        }
    }
    auto cup = [](cairo_t *c) {
        cairo_move_to(c, 146, 110);
        cairo_line_to(c, 366, 110);
        cairo_curve_to(c, 366, 250, 320, 300, 280, 316);
        cairo_line_to(c, 272, 370);
        cairo_line_to(c, 330, 400);
        cairo_line_to(c, 330, 440);
        cairo_line_to(c, 182, 440);
        cairo_line_to(c, 182, 400);
        cairo_line_to(c, 240, 370);
        cairo_line_to(c, 232, 316);
        cairo_curve_to(c, 192, 300, 146, 250, 146, 110);
        cairo_close_path(c);
    };
    SoftShadow(cr, [&](cairo_t *c) { cup(c); cairo_fill(c); }, 6, 10, 14, 0.55);
    // Handles.
    for (double side : {-1.0, 1.0}) {
        cairo_new_path(cr);
        cairo_arc(cr, 256 + side * 118, 170, 52, 0, 2 * PAINT_PI);
        cairo_set_line_width(cr, 20);
        SetColour(cr, Hex(0x8a5a10));
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 12);
        SetColour(cr, Hex(0xf0c040));
        cairo_stroke(cr);
    }
    cup(cr);
    cairo_pattern_t *p = cairo_pattern_create_linear(146, 0, 366, 0);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.62, 0.4, 0.06);
    cairo_pattern_add_color_stop_rgb(p, 0.3, 1.0, 0.9, 0.5);
    cairo_pattern_add_color_stop_rgb(p, 0.55, 0.95, 0.72, 0.18);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.55, 0.34, 0.05);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_line_width(cr, 5);
    SetColour(cr, Hex(0x5a3a08));
    cairo_stroke(cr);
    // A honeycomb badge on the cup.
    cairo_new_path(cr);
    HexPath(cr, 256, 190, 44);
    FillLit(cr, Hex(0xffd860), 1.3, 0.7);
    cairo_set_line_width(cr, 4);
    SetColour(cr, Hex(0x7a4a08));
    cairo_stroke(cr);
    cairo_new_path(cr);
    StarPath(cr, 256, 192, 26, 0.45, 5, -PAINT_PI / 2);
    FillLit(cr, Hex(0xfff4c0), 1.2, 0.8);
    return true;
}

// ---- Title and module pictures ----

// Text filling a 512 x 128 picture: the size that makes it 470 wide.
double FittedSize(cairo_t *cr, const char *text)
{
    return std::min(80.0, 80.0 * 470.0 / TextWidth(cr, text, 80.0));
}

bool TitleText(cairo_t *cr, int w, int h)
{
    cairo_scale(cr, w / 512.0, h / 128.0);
    const char *TITLE = "Hive Watcher";
    double size = FittedSize(cr, TITLE);
    SoftShadow(cr, [&](cairo_t *c) { TextPath(c, TITLE, 256, 66, size); cairo_fill(c); }, 3, 5, 6, 0.6);
    OutlinedText(cr, TITLE, 256, 64, size, HONEY_LIGHT, Hex(0xd88a10), Hex(0x2a1604), 4.5);
    // A glint along the top of the letters.
    cairo_save(cr);
    TextPath(cr, TITLE, 256, 64, size);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, 512, 50);
    SetColour(cr, Hex(0xffffff), 0.22);
    cairo_fill(cr);
    cairo_restore(cr);
    return true;
}

// The start-up dialog's banner: the title over a leafy panel with a honeycomb.
bool StartupBanner(cairo_t *cr, int w, int h)
{
    cairo_save(cr);
    cairo_scale(cr, w / 512.0, h / 128.0);
    cairo_rectangle(cr, 0, 0, 512, 128);
    FillVertical(cr, 0, 128, LEAF_LIGHT, LEAF_DARK);
    cairo_clip(cr);
    Honeycomb(cr, 0, 0, 512, 128, 14, 0.18);
    cairo_reset_clip(cr);
    cairo_rectangle(cr, 0, 122, 512, 6);
    SetColour(cr, HONEY);
    cairo_fill(cr);
    cairo_restore(cr);
    return TitleText(cr, w, h);
}

bool MakerText(cairo_t *cr, int w, int h)
{
    cairo_scale(cr, w / 512.0, h / 128.0);
    const char *MAKER = "Lichenware";
    double size = FittedSize(cr, MAKER);
    SoftShadow(cr, [&](cairo_t *c) { TextPath(c, MAKER, 256, 66, size); cairo_fill(c); }, 3, 5, 6, 0.6);
    OutlinedText(cr, MAKER, 256, 64, size, Hex(0xe8f6c8), Hex(0x8ac04a), Hex(0x10200c), 4.0);
    return true;
}

// A ring of lichen: a green band grown over with rosettes.
bool LichenRing(cairo_t *cr, int w, int h)
{
    cairo_translate(cr, w * 0.5, h * 0.5);
    cairo_scale(cr, w / 256.0, h / 256.0);
    SoftShadow(cr, [](cairo_t *c) {
        cairo_arc(c, 0, 0, 104, 0, 2 * PAINT_PI);
        cairo_arc_negative(c, 0, 0, 70, 2 * PAINT_PI, 0);
        cairo_fill(c);
    }, 3, 5, 8, 0.5);
    cairo_arc(cr, 0, 0, 104, 0, 2 * PAINT_PI);
    cairo_arc_negative(cr, 0, 0, 70, 2 * PAINT_PI, 0);
    cairo_pattern_t *p = cairo_pattern_create_radial(0, 0, 70, 0, 0, 104);
    cairo_pattern_add_color_stop_rgb(p, 0.0, 0.3, 0.45, 0.2);
    cairo_pattern_add_color_stop_rgb(p, 0.5, 0.55, 0.72, 0.32);
    cairo_pattern_add_color_stop_rgb(p, 1.0, 0.25, 0.38, 0.16);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    DataGenRandom rng(0x11C4E7);
    for (int i = 0; i < 70; i++) {
        double a = rng.Range(0, 2 * PAINT_PI), d = rng.Range(74, 100), r = rng.Range(4, 11);
        Rgb c = Mix(Hex(0x9ac85a), Hex(0xd8d870), rng.Unit());
        cairo_new_path(cr);
        StarPath(cr, std::cos(a) * d, std::sin(a) * d, r, 0.7, 7, rng.Range(0, PAINT_PI));
        FillLit(cr, c, 1.3, 0.65);
    }
    cairo_new_path(cr);
    for (double r : {70.0, 104.0}) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0, 0, r, 0, 2 * PAINT_PI);
    }
    cairo_set_line_width(cr, 3);
    SetColour(cr, Hex(0x1e3014), 0.8);
    cairo_stroke(cr);
    return true;
}

// Four sprites in a 2 x 2 grid: a soft glow, a sparkle, a halo, a burst of
// rays.
bool Effects(cairo_t *cr, int w, int h)
{
    double cw = w * 0.5, ch = h * 0.5;
    for (int cell = 0; cell < 4; cell++) {
        cairo_save(cr);
        cairo_translate(cr, (cell % 2) * cw + cw * 0.5, (cell / 2) * ch + ch * 0.5);
        cairo_scale(cr, cw * 0.5, ch * 0.5);
        cairo_pattern_t *p = nullptr;
        switch (cell) {
        case 0:
            p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 0.98);
            cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 0.9, 1);
            cairo_pattern_add_color_stop_rgba(p, 0.3, 1, 0.85, 0.5, 0.55);
            cairo_pattern_add_color_stop_rgba(p, 1.0, 1, 0.7, 0.3, 0);
            break;
        case 1:
            StarPath(cr, 0, 0, 0.95, 0.12, 4, -PAINT_PI / 2);
            SetColour(cr, Hex(0xffffff), 0.95);
            cairo_fill(cr);
            p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 0.5);
            cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 1, 0.9);
            cairo_pattern_add_color_stop_rgba(p, 1.0, 1, 1, 0.8, 0);
            break;
        case 2:
            p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 0.98);
            cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 1, 0);
            cairo_pattern_add_color_stop_rgba(p, 0.6, 1, 1, 1, 0);
            cairo_pattern_add_color_stop_rgba(p, 0.78, 1, 0.95, 0.8, 0.85);
            cairo_pattern_add_color_stop_rgba(p, 1.0, 1, 0.9, 0.7, 0);
            break;
        default: {
            DataGenRandom rng(0x4A75);
            for (int k = 0; k < 24; k++) {
                double a = k * 2 * PAINT_PI / 24 + rng.Range(-0.05, 0.05), l = rng.Range(0.55, 0.97);
                cairo_move_to(cr, 0, 0);
                cairo_line_to(cr, std::cos(a - 0.035) * l, std::sin(a - 0.035) * l);
                cairo_line_to(cr, std::cos(a + 0.035) * l, std::sin(a + 0.035) * l);
                cairo_close_path(cr);
            }
            cairo_pattern_t *rays = cairo_pattern_create_radial(0, 0, 0, 0, 0, 0.97);
            cairo_pattern_add_color_stop_rgba(rays, 0.0, 1, 1, 0.9, 0.9);
            cairo_pattern_add_color_stop_rgba(rays, 1.0, 1, 0.9, 0.6, 0);
            cairo_set_source(cr, rays);
            cairo_fill(cr);
            cairo_pattern_destroy(rays);
            break;
        }
        }
        if (p) {
            cairo_set_source(cr, p);
            cairo_arc(cr, 0, 0, 1, 0, 2 * PAINT_PI);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        }
        cairo_restore(cr);
    }
    return true;
}

// A dim garden seen through a honeycomb window; a JPEG, so it is opaque.
bool MenuBackground(cairo_t *cr, int w, int h)
{
    cairo_rectangle(cr, 0, 0, w, h);
    FillVertical(cr, 0, h, Hex(0x1e3a1c), Hex(0x0c160c));
    cairo_new_path(cr);
    cairo_surface_t *target = cairo_get_target(cr);
    DataGenRandom rng(0x3E4B);
    for (int i = 0; i < 90; i++) {
        double x = rng.Range(0, w), y = rng.Range(0, h), r = rng.Range(w * 0.02, w * 0.09);
        Rgb c = Mix(Hex(0x3a6a2a), Hex(0x8aa840), rng.Unit());
        if (rng.Unit() < 0.15)
            c = Mix(Hex(0xd89a30), Hex(0xf0d060), rng.Unit());
        cairo_arc(cr, x, y, r, 0, 2 * PAINT_PI);
        SetColour(cr, c, rng.Range(0.1, 0.35));
        cairo_fill(cr);
    }
    BlurSurface(target, w / 60.0);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_save(cr);
    cairo_clip(cr);
    Honeycomb(cr, 0, 0, w, h, w / 18.0, 0.12);
    cairo_restore(cr);
    cairo_new_path(cr);
    // Darker towards the edges.
    cairo_pattern_t *p = cairo_pattern_create_radial(w * 0.5, h * 0.5, h * 0.2, w * 0.5, h * 0.5, w * 0.7);
    cairo_pattern_add_color_stop_rgba(p, 0.0, 0, 0, 0, 0);
    cairo_pattern_add_color_stop_rgba(p, 1.0, 0, 0, 0, 0.6);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    return true;
}

// The toolkit's "Popup" texture: a honey-edged panel.
bool PopupTexture(cairo_t *cr, int w, int h)
{
    Panel(cr, 4, 4, w - 8, h - 8, 22, Hex(0x2c4a2a), Hex(0x142214), 6);
    cairo_save(cr);
    RoundedRectPath(cr, 10, 10, w - 20, h - 20, 16);
    cairo_clip(cr);
    Honeycomb(cr, 0, 0, w, h, 16, 0.07);
    cairo_restore(cr);
    return true;
}

// ---- Platform icons: a 4 x 4 grid, row 3 unused ----

bool PlatformIcons(cairo_t *cr, int w, int h)
{
    // Row by row: M (also m), W, I, P; A, L, R, S; F, r, B, b.
    const char *LETTERS[12] = {"M", "W", "I", "P", "A", "L", "R", "S", "F", "r", "B", "b"};
    const unsigned COLOURS[12] = {0x6a7a8a, 0x2f6fb0, 0x5a5a60, 0x3a4a9a, 0x4a9a3a, 0xc08a20,
                                  0x9a3a6a, 0x2a8a8a, 0x7a4a2a, 0xb04a3a, 0x4a4a9a, 0x8a8a2a};
    double cw = w / 4.0, ch = h / 4.0;
    for (int i = 0; i < 12; i++) {
        double x = (i % 4) * cw, y = (i / 4) * ch;
        Rgb c = Hex(COLOURS[i]);
        cairo_new_path(cr);
        RoundedRectPath(cr, x + cw * 0.08, y + ch * 0.08, cw * 0.84, ch * 0.84, cw * 0.18);
        FillVertical(cr, y, y + ch, Shade(c, 1.3), Shade(c, 0.75));
        cairo_set_line_width(cr, cw * 0.05);
        SetColour(cr, Shade(c, 0.4));
        cairo_stroke(cr);
        if (std::string(LETTERS[i]) == "W") {
            // This game's own platform, the desktop computer: a monitor.
            cairo_new_path(cr);
            RoundedRectPath(cr, x + cw * 0.2, y + ch * 0.22, cw * 0.6, ch * 0.42, cw * 0.05);
            SetColour(cr, CREAM);
            cairo_fill(cr);
            cairo_rectangle(cr, x + cw * 0.25, y + ch * 0.27, cw * 0.5, ch * 0.32);
            SetColour(cr, Shade(c, 0.6));
            cairo_fill(cr);
            cairo_rectangle(cr, x + cw * 0.45, y + ch * 0.64, cw * 0.1, ch * 0.1);
            cairo_rectangle(cr, x + cw * 0.32, y + ch * 0.72, cw * 0.36, ch * 0.06);
            SetColour(cr, CREAM);
            cairo_fill(cr);
        } else {
            OutlinedText(cr, LETTERS[i], x + cw * 0.5, y + ch * 0.5, ch * 0.5, CREAM, Hex(0xe0e0d0), Shade(c, 0.35),
                         cw * 0.03);
        }
    }
    return true;
}

}  // namespace

void InterfacePainterAddJobs(std::vector<PictureJob> *jobs)
{
    auto add = [jobs](const char *file, bool (*paint)(cairo_t *, int, int)) {
        jobs->push_back(PictureJob{file, [paint](cairo_t *cr, int w, int h, std::string *) { return paint(cr, w, h); }});
    };
    add("1002.dat", PopupTexture);
    add("1010.dat", [](cairo_t *cr, int w, int h) { return Pointer(cr, w, h, false); });
    add("1011.dat", [](cairo_t *cr, int w, int h) { return Pointer(cr, w, h, true); });
    add("1016.dat", Sidebar);
    add("1017.dat", ButtonBackground);
    add("1018.dat", Locked);
    add("1019.dat", GameWon);
    add("1020.dat", BottomBar);
    add("1022.dat", TitleText);
    add("1024.dat", HintFrame);
    add("1390.dat", GameOver);
    // The texture cursor is drawn with blending type 3 (ONE, SRCALPHA).
    add("1600.dat", [](cairo_t *cr, int w, int) {
        Arrow(cr, w, HONEY);
        return true;
    });
    jobs->back().one_over_alpha = true;
    add("1612.dat", LichenRing);
    add("1613.dat", MakerText);
    add("1614.dat", Effects);
    add("1615.dat", MenuBackground);
    add("Common/Platform.png", PlatformIcons);
    add("Common/StartupBanner.png", StartupBanner);
}
