// The toolkit skin's "Buttons" atlas (Data/1001.dat), 1024 x 1024: every
// window, bar, button, field and arrow that the skin cuts out, drawn under
// the areas of SkinAtlas.h.
//
// Several skin buttons share an area or overlap: the window panels (Back1,
// Back3, StdWinBack, StdButtonBack and the open-list pieces) are cut from one
// panel; the title bar, tab heading and window title from two ribbons whose
// pointed ends also serve as the standard left and right arrows; the field
// states of text edits, panels, choices and table rows from one column of
// fields. The pieces are drawn so that each cut reads as what it is, and
// stretched middles (the toolkit draws most pieces in three parts) stay
// plain. A piece whose button the skin draws with an extra around the
// control keeps that extra clear (SKIN_EXTRAS), so what shows is just the
// control's rectangle.
#include "tools/datagen/PaintKit.h"
#include "tools/datagen/PictureJob.h"
#include "tools/datagen/SkinAtlas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

const Rgb HONEY = Hex(0xf0b83a), HONEY_LIGHT = Hex(0xffe08a), HONEY_DARK = Hex(0x9a6a18), CREAM = Hex(0xfff6dc);

// A rounded piece with a gradient, a border and a thin inner light.
void Piece(cairo_t *cr, double x0, double y0, double x1, double y1, double r, Rgb top, Rgb bottom, Rgb border,
           double border_w, double alpha = 1.0)
{
    double inset = border_w * 0.5 + 1.0;
    cairo_new_path(cr);
    RoundedRectPath(cr, x0 + inset, y0 + inset, x1 - x0 - 2 * inset, y1 - y0 - 2 * inset, r);
    FillVertical(cr, y0, y1, top, bottom, alpha);
    cairo_set_line_width(cr, border_w);
    SetColour(cr, border);
    cairo_stroke(cr);
    cairo_new_path(cr);
    double i2 = inset + border_w * 0.9;
    RoundedRectPath(cr, x0 + i2, y0 + i2, x1 - x0 - 2 * i2, y1 - y0 - 2 * i2, std::max(1.0, r - border_w));
    cairo_set_line_width(cr, 1.2);
    SetColour(cr, Hex(0xffffff), 0.18);
    cairo_stroke(cr);
}

// A ribbon bar whose ends are points: the middle makes a title or heading,
// each end a standard arrow.
void Ribbon(cairo_t *cr, double x0, double y0, double x1, double y1, Rgb top, Rgb bottom, Rgb border)
{
    double h = y1 - y0, point = h * 0.55, m = (y0 + y1) * 0.5;
    auto path = [&](cairo_t *c, double in) {
        cairo_new_path(c);
        cairo_move_to(c, x0 + in * 1.6, m);
        cairo_line_to(c, x0 + point, y0 + in);
        cairo_line_to(c, x1 - point, y0 + in);
        cairo_line_to(c, x1 - in * 1.6, m);
        cairo_line_to(c, x1 - point, y1 - in);
        cairo_line_to(c, x0 + point, y1 - in);
        cairo_close_path(c);
    };
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    path(cr, 2.5);
    FillVertical(cr, y0, y1, top, bottom);
    cairo_set_line_width(cr, 3.5);
    SetColour(cr, border);
    cairo_stroke(cr);
    path(cr, 6.0);
    cairo_set_line_width(cr, 1.2);
    SetColour(cr, Hex(0xffffff), 0.25);
    cairo_stroke(cr);
}

// A rectangle of the atlas in pixels.
struct Box {
    double x0, y0, x1, y1;
};

const double ATLAS_PX = 1024;

// The part of a piece's box that its body may fill: inside the clear
// margin of every area cut from the piece (the area's centre lies in the
// box) whose button has a draw extra. Shared pieces take the widest margin
// on each side, so no button that shares them shows bigger than its
// rectangle.
Box Body(double x0, double y0, double x1, double y1)
{
    Box body{x0, y0, x1, y1};
    for (const SkinExtra &e : SKIN_EXTRAS) {
        for (const SkinArea &a : SKIN_AREAS) {
            if (std::strcmp(a.button, e.button) != 0)
                continue;
            Box area{std::min(a.left, a.right) * ATLAS_PX, std::min(a.top, a.bottom) * ATLAS_PX,
                     std::max(a.left, a.right) * ATLAS_PX, std::max(a.top, a.bottom) * ATLAS_PX};
            double cx = (area.x0 + area.x1) / 2, cy = (area.y0 + area.y1) / 2;
            if (cx < x0 || cx > x1 || cy < y0 || cy > y1)
                continue;
            SkinMargins m = SkinMarginsOf(e, area.x1 - area.x0, area.y1 - area.y0);
            if (m.left > 0)
                body.x0 = std::max(body.x0, area.x0 + m.left);
            if (m.top > 0)
                body.y0 = std::max(body.y0, area.y0 + m.top);
            if (m.right > 0)
                body.x1 = std::min(body.x1, area.x1 - m.right);
            if (m.bottom > 0)
                body.y1 = std::min(body.y1, area.y1 - m.bottom);
        }
    }
    return body;
}

// Piece() over the body of a piece's box.
void BodyPiece(cairo_t *cr, Box box, double r, Rgb top, Rgb bottom, Rgb border, double border_w)
{
    Box b = Body(box.x0, box.y0, box.x1, box.y1);
    Piece(cr, b.x0, b.y0, b.x1, b.y1, r, top, bottom, border, border_w);
}

struct ButtonLook {
    Rgb top, bottom, border;
};

const ButtonLook BUTTON_STATES[4] = {
    {Hex(0x4a7a3c), Hex(0x1e3a1c), HONEY_DARK},        // normal
    {Hex(0x6aa050), Hex(0x2c5226), HONEY},             // highlighted
    {Hex(0x1a3218), Hex(0x3a6030), HONEY_DARK},        // pressed
    {Hex(0x5a625a), Hex(0x343a34), Hex(0x6a6a62)},     // disabled
};

void LeftArrow(cairo_t *cr, double x0, double y0, double x1, double y1, Rgb fill)
{
    double w = x1 - x0, h = y1 - y0;
    auto path = [&](cairo_t *c) {
        cairo_new_path(c);
        cairo_move_to(c, x0 + w * 0.1, y0 + h * 0.5);
        cairo_line_to(c, x0 + w * 0.86, y0 + h * 0.12);
        cairo_line_to(c, x0 + w * 0.86, y0 + h * 0.88);
        cairo_close_path(c);
    };
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SoftShadow(cr, [&](cairo_t *c) {
        path(c);
        cairo_set_line_width(c, 16);
        cairo_stroke_preserve(c);
        cairo_fill(c);
    }, 2, 4, 5, 0.5);
    path(cr);
    cairo_set_line_width(cr, 16);
    SetColour(cr, Shade(fill, 0.45));
    cairo_stroke_preserve(cr);
    FillLit(cr, fill, 1.35, 0.7);
    cairo_set_line_width(cr, 8);
    cairo_stroke(cr);
}

void UpArrowButton(cairo_t *cr, double x0, double y0, double size, bool up)
{
    Piece(cr, x0, y0, x0 + size, y0 + size, 18, BUTTON_STATES[0].top, BUTTON_STATES[0].bottom, HONEY_DARK, 5);
    double cx = x0 + size * 0.5, cy = y0 + size * 0.5, s = size * 0.28, d = up ? -1.0 : 1.0;
    cairo_new_path(cr);
    cairo_move_to(cr, cx, cy + d * s);
    cairo_line_to(cr, cx + s * 1.1, cy - d * s * 0.7);
    cairo_line_to(cr, cx - s * 1.1, cy - d * s * 0.7);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    FillLit(cr, HONEY, 1.3, 0.7);
    cairo_set_line_width(cr, 3);
    SetColour(cr, Hex(0x3a2608));
    cairo_stroke(cr);
}

bool SkinAtlas(cairo_t *cr, int w, int h)
{
    cairo_scale(cr, w / 1024.0, h / 1024.0);

    // Windows: the green panel (Back1, Back3, StdWinBack, StdButtonBack, the
    // open list and the empty table row) and the brown one (Back2), which
    // holds pages of light text (Help, the Notice) and so stays dark enough
    // for that text to read at a contrast of 4.5:1 or more.
    BodyPiece(cr, {0, 0, 256, 256}, 8, Hex(0x2a4428), Hex(0x15241a), HONEY_DARK, 5);
    BodyPiece(cr, {262, 0, 508, 256}, 24, Hex(0x4a3418), Hex(0x2a1c0c), HONEY, 6);

    // Title bar and tab heading (upper), window title and heading (lower,
    // its points kept clear of the window title's extra).
    Ribbon(cr, 0, 257, 256, 319, Hex(0xd8a030), Hex(0x8a5a14), Hex(0x3a2608));
    Box lower = Body(0, 320, 256, 381);
    Ribbon(cr, lower.x0, 320, lower.x1, 381, Hex(0x355a30), Hex(0x17301a), HONEY_DARK);

    // The hide button.
    Piece(cr, 0, 446, 256, 512, 16, BUTTON_STATES[0].top, BUTTON_STATES[0].bottom, HONEY_DARK, 4);

    // "Main" buttons, four states of 62 pixels.
    const double MAIN_ROWS[4][2] = {{0, 62}, {63, 128}, {128, 192}, {192, 256}};
    for (int s = 0; s < 4; s++)
        Piece(cr, 513, MAIN_ROWS[s][0], 767, MAIN_ROWS[s][1], 14, BUTTON_STATES[s].top, BUTTON_STATES[s].bottom,
              BUTTON_STATES[s].border, 4);

    // Fields: text edit, focused text edit and highlighted panel (and the
    // table rows), panel and choice, pressed panel and choice (and the open
    // list's selected row).
    BodyPiece(cr, {513, 256, 767, 319}, 6, Hex(0x0c160c), Hex(0x1a2a18), HONEY_DARK, 3);
    BodyPiece(cr, {513, 319, 767, 384}, 6, Hex(0x24401f), Hex(0x31542a), HONEY, 3);
    BodyPiece(cr, {513, 384, 767, 447}, 6, Hex(0x1a2c18), Hex(0x253c21), HONEY_DARK, 3);
    BodyPiece(cr, {513, 447, 767, 511}, 6, Hex(0x6a4a14), Hex(0x4a320c), HONEY, 3);

    // Push buttons, four states in rows of 64 pixels.
    for (int s = 0; s < 4; s++)
        BodyPiece(cr, {769, 64.0 * s, 1023, 64.0 * (s + 1)}, 7, BUTTON_STATES[s].top, BUTTON_STATES[s].bottom,
                  BUTTON_STATES[s].border, 4);

    // Scrollbar pieces and check boxes.
    BodyPiece(cr, {516, 514, 637, 579}, 26, HONEY_LIGHT, HONEY_DARK, Hex(0x3a2608), 3);
    Piece(cr, 641, 518, 700, 633, 28, HONEY_LIGHT, HONEY_DARK, Hex(0x3a2608), 3);
    BodyPiece(cr, {702, 517, 766, 767}, 24, Hex(0x0c160c), Hex(0x1c2c1a), HONEY_DARK, 3);
    Piece(cr, 510, 575, 576, 641, 10, Hex(0x0c160c), Hex(0x1c2c1a), HONEY, 4);
    Piece(cr, 574, 575, 641, 641, 10, Hex(0x0c160c), Hex(0x1c2c1a), HONEY, 4);
    cairo_new_path(cr);
    cairo_move_to(cr, 586, 608);
    cairo_line_to(cr, 602, 625);
    cairo_line_to(cr, 630, 588);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 9);
    SetColour(cr, CREAM);
    cairo_stroke(cr);

    // "ArrowL" in its four states (the skin mirrors it for "ArrowR").
    const double ARROW_X[4][2] = {{7, 127}, {130, 255}, {257, 383}, {385, 510}};
    const Rgb ARROW_FILLS[4] = {HONEY, HONEY_LIGHT, HONEY_DARK, Hex(0x8a8a80)};
    for (int s = 0; s < 4; s++)
        LeftArrow(cr, ARROW_X[s][0], 642, ARROW_X[s][1], 896, ARROW_FILLS[s]);

    // Black and white boxes, the start button, the list arrows.
    Box black = Body(664, 792, 744, 872);
    Piece(cr, black.x0, black.y0, black.x1, black.y1, 10, Hex(0x101010), Hex(0x000000), Hex(0x3a3a3a), 3, 0.9);
    BodyPiece(cr, {792, 792, 872, 872}, 10, Hex(0xffffff), Hex(0xf0f0f0), Hex(0xffffff), 3);
    Piece(cr, 899, 769, 1022, 892, 20, Hex(0x6ac040), Hex(0x2a6a1c), HONEY, 5);
    UpArrowButton(cr, 769, 897, 126, true);
    UpArrowButton(cr, 897, 897, 126, false);
    return true;
}

}  // namespace

void SkinPainterAddJobs(std::vector<PictureJob> *jobs)
{
    jobs->push_back(PictureJob{"1001.dat", [](cairo_t *cr, int w, int h, std::string *) { return SkinAtlas(cr, w, h); }});
}
