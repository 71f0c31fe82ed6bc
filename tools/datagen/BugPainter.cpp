// The eleven bug pictures and their second frames, "Data/Bugs/<Name>.tga"
// and "<Name>2.tga": each kind seen from above with its front at the image
// top (the game turns the picture so that the top faces the way the bug
// walks). The two frames differ in the legs, which swing in the alternating
// tripods of a walking beetle, so the bugs scuttle as the game flips them.
//
// Each kind keeps the silhouette and colours of its real genus, so that the
// kinds are told apart at play size: a flat ribbed carrion beetle, a spotted
// ladybird, a round black hister beetle, a long-legged yellow ground beetle,
// a rove beetle with its bare abdomen, a green snouted weevil, a coppery and
// blue flea beetle, a red and violet longhorn, a broad-jawed flour beetle, a
// glossy globe of a spider beetle and a black sap beetle with four spots.
#include "tools/datagen/PaintKit.h"
#include "tools/datagen/PictureJob.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

enum class Pattern { Plain, Ribs, Spots, Striae, FourSpots, Patches, Metallic };
enum class Antenna { Thread, Club, Elbow, Long };

struct Species {
    const char *name;
    // Head: centre y, half width, half length; mandible length; snout length.
    double head_y, head_w, head_l, jaws, snout;
    // Pronotum: front and back y, widths at the front, widest and back.
    double pro_y0, pro_y1, pro_front, pro_max, pro_back;
    // Elytra: front and back y, width, fullness (0 tapering .. 1 rounded).
    double ely_y0, ely_y1, ely_w, ely_full;
    // Bare abdomen of a rove beetle reaching this y; 0 for none.
    double abdomen_y1;
    Rgb head, pronotum, elytra, legs, mark;
    double gloss;
    Pattern pattern;
    Antenna antenna;
    double antenna_len;
    double leg_len, leg_w;
    bool thick_hind_legs;
    // Pale patches at the pronotum's front corners (the ladybird's).
    bool pronotum_patches;
};

// Units: the picture spans -1..1 on both axes, y down, front at the top.
const Species SPECIES[] = {
    {"Aclypea", -0.53, 0.12, 0.09, 0.0, 0.0, -0.47, -0.2, 0.2, 0.46, 0.44, -0.2, 0.64, 0.54, 0.75, 0.0,
     Hex(0x1d1915), Hex(0x2b241e), Hex(0x3b3129), Hex(0x191411), Hex(0x5a4a3b), 0.3, Pattern::Ribs,
     Antenna::Club, 0.26, 1.0, 0.048, false, false},
    {"Adonia", -0.44, 0.11, 0.07, 0.0, 0.0, -0.43, -0.25, 0.2, 0.34, 0.36, -0.27, 0.5, 0.68, 1.0, 0.0,
     Hex(0x141210), Hex(0x161412), Hex(0xe2461b), Hex(0x151311), Hex(0x121010), 0.6, Pattern::Spots,
     Antenna::Club, 0.14, 0.72, 0.045, false, true},
    {"Altholus", -0.44, 0.14, 0.08, 0.13, 0.0, -0.42, -0.15, 0.3, 0.5, 0.52, -0.15, 0.47, 0.55, 0.95, 0.0,
     Hex(0x111111), Hex(0x141414), Hex(0x151515), Hex(0x2e1e16), Hex(0x050505), 0.75, Pattern::Striae,
     Antenna::Elbow, 0.17, 0.72, 0.058, false, false},
    {"Badister", -0.55, 0.14, 0.1, 0.08, 0.0, -0.46, -0.24, 0.22, 0.32, 0.2, -0.22, 0.64, 0.42, 0.55, 0.0,
     Hex(0x1c1410), Hex(0xcf7a2a), Hex(0xd08a33), Hex(0xc08040), Hex(0x1e140e), 0.35, Pattern::Patches,
     Antenna::Thread, 0.48, 1.22, 0.038, false, false},
    {"Baeocrara", -0.6, 0.12, 0.1, 0.05, 0.0, -0.5, -0.3, 0.17, 0.22, 0.19, -0.3, -0.03, 0.28, 1.0, 0.74,
     Hex(0x2f2119), Hex(0x3b2a1e), Hex(0x4c3324), Hex(0x9a6238), Hex(0x231811), 0.4, Pattern::Plain,
     Antenna::Thread, 0.32, 0.78, 0.036, false, false},
    {"Byctiscus", -0.4, 0.11, 0.09, 0.0, 0.22, -0.35, -0.13, 0.2, 0.31, 0.29, -0.13, 0.53, 0.48, 0.9, 0.0,
     Hex(0x2f8a3a), Hex(0x3a9a40), Hex(0x45a83e), Hex(0x2a6a4a), Hex(0xd8c03a), 0.55, Pattern::Metallic,
     Antenna::Elbow, 0.3, 0.92, 0.04, false, false},
    {"Crepidodera", -0.46, 0.13, 0.09, 0.0, 0.0, -0.42, -0.2, 0.26, 0.33, 0.33, -0.2, 0.56, 0.44, 0.7, 0.0,
     Hex(0x8a3c1e), Hex(0xbd5a2a), Hex(0x2c6f8c), Hex(0xc0903c), Hex(0x17394a), 0.65, Pattern::Striae,
     Antenna::Thread, 0.36, 0.92, 0.04, true, false},
    {"Gaurotes", -0.55, 0.13, 0.1, 0.04, 0.0, -0.46, -0.25, 0.2, 0.29, 0.27, -0.25, 0.68, 0.44, 0.35, 0.0,
     Hex(0x141414), Hex(0xd6401e), Hex(0x343a86), Hex(0x161616), Hex(0x6a74d0), 0.5, Pattern::Metallic,
     Antenna::Long, 1.0, 1.1, 0.04, false, false},
    {"Gnatocerus", -0.48, 0.2, 0.11, 0.19, 0.0, -0.41, -0.14, 0.34, 0.37, 0.33, -0.14, 0.58, 0.37, 0.85, 0.0,
     Hex(0x7c3618), Hex(0x8a3e1c), Hex(0x94461f), Hex(0x7a3818), Hex(0x5a2810), 0.35, Pattern::Striae,
     Antenna::Club, 0.22, 0.8, 0.045, false, false},
    {"Gibbium", -0.38, 0.09, 0.07, 0.0, 0.0, -0.36, -0.27, 0.14, 0.18, 0.2, -0.31, 0.45, 0.68, 1.0, 0.0,
     Hex(0x6a2816), Hex(0x74301a), Hex(0x7e321c), Hex(0xa87c4e), Hex(0x000000), 0.95, Pattern::Plain,
     Antenna::Thread, 0.56, 1.18, 0.036, false, false},
    {"Glischrochilus", -0.46, 0.16, 0.09, 0.06, 0.0, -0.42, -0.18, 0.28, 0.43, 0.43, -0.18, 0.5, 0.52, 0.85, 0.0,
     Hex(0x121212), Hex(0x151515), Hex(0x161616), Hex(0x2a1d15), Hex(0xee8a26), 0.6, Pattern::FourSpots,
     Antenna::Club, 0.22, 0.82, 0.046, false, false},
};

const double DEG = PAINT_PI / 180.0;

// ---- Paths of the body parts ----

void HeadPath(cairo_t *cr, const Species &s) { EllipsePath(cr, 0.0, s.head_y, s.head_w, s.head_l); }

void PronotumPath(cairo_t *cr, const Species &s)
{
    double y0 = s.pro_y0, y1 = s.pro_y1, ym = y0 + (y1 - y0) * 0.55;
    double a = s.pro_front * 0.5, b = s.pro_max * 0.5, c = s.pro_back * 0.5;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, -a, y0);
    cairo_curve_to(cr, -a * 0.4, y0 + 0.02, a * 0.4, y0 + 0.02, a, y0);
    cairo_curve_to(cr, a + (b - a) * 0.85, y0, b, ym - (ym - y0) * 0.55, b, ym);
    cairo_curve_to(cr, b, ym + (y1 - ym) * 0.6, c + (b - c) * 0.3, y1, c, y1);
    cairo_curve_to(cr, c * 0.4, y1 + 0.015, -c * 0.4, y1 + 0.015, -c, y1);
    cairo_curve_to(cr, -c - (b - c) * 0.3, y1, -b, ym + (y1 - ym) * 0.6, -b, ym);
    cairo_curve_to(cr, -b, ym - (ym - y0) * 0.55, -a - (b - a) * 0.85, y0, -a, y0);
    cairo_close_path(cr);
}

// One elytron, side +1 (right) or -1 (left).
void ElytronPath(cairo_t *cr, const Species &s, double side)
{
    double y0 = s.ely_y0, y1 = s.ely_y1, w = s.ely_w * 0.5, l = y1 - y0, f = s.ely_full;
    // Full shells have round shoulders and a round end; slim ones square
    // shoulders and a tapering end.
    double shoulder = 0.95 - 0.45 * f;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, 0.0, y0);
    cairo_curve_to(cr, side * w * shoulder, y0, side * w, y0 + l * 0.04, side * w, y0 + l * 0.25);
    cairo_curve_to(cr, side * w, y0 + l * (0.3 + 0.45 * f), side * w * (0.15 + 0.6 * f), y1, 0.0, y1);
    cairo_close_path(cr);
}

void ElytraPath(cairo_t *cr, const Species &s)
{
    ElytronPath(cr, s, 1.0);
    ElytronPath(cr, s, -1.0);
}

// The rove beetle's bare abdomen: tapering segments behind short elytra.
void AbdomenPath(cairo_t *cr, const Species &s)
{
    double y0 = s.ely_y1 - 0.03, y1 = s.abdomen_y1, w = s.ely_w * 0.47;
    cairo_new_sub_path(cr);
    cairo_move_to(cr, -w, y0);
    cairo_line_to(cr, w, y0);
    cairo_curve_to(cr, w * 1.05, y0 + (y1 - y0) * 0.45, w * 0.5, y1 - 0.06, w * 0.12, y1);
    cairo_line_to(cr, -w * 0.12, y1);
    cairo_curve_to(cr, -w * 0.5, y1 - 0.06, -w * 1.05, y0 + (y1 - y0) * 0.45, -w, y0);
    cairo_close_path(cr);
}

void BodyPath(cairo_t *cr, const Species &s)
{
    if (s.abdomen_y1 > 0.0)
        AbdomenPath(cr, s);
    ElytraPath(cr, s);
    PronotumPath(cr, s);
    HeadPath(cr, s);
}

// ---- Legs and antennae ----

struct Point {
    double x, y;
};

Point Along(Point p, double angle_deg, double length)
{
    return Point{p.x + std::cos(angle_deg * DEG) * length, p.y + std::sin(angle_deg * DEG) * length};
}

// The joints of one leg: pair 0 front, 1 middle, 2 hind; side +1 right,
// -1 left; `swing` in degrees, negative forwards.
std::vector<Point> LegJoints(const Species &s, int pair, double side, double swing)
{
    // Angles from the side axis, positive backwards: femur, tibia, tarsus.
    static const double ANGLES[3][3] = {{-38, -72, -92}, {6, 30, 46}, {36, 64, 80}};
    double attach_y, attach_x;
    if (pair == 0) {
        attach_y = s.pro_y0 + (s.pro_y1 - s.pro_y0) * 0.6;
        attach_x = s.pro_max * 0.3;
    } else {
        attach_y = s.ely_y0 + (pair == 1 ? 0.06 : 0.2);
        attach_x = s.ely_w * 0.3;
    }
    double l = s.leg_len;
    double lengths[3] = {0.25 * l, 0.27 * l, 0.16 * l};
    std::vector<Point> joints{Point{attach_x, attach_y}};
    for (int k = 0; k < 3; k++)
        joints.push_back(Along(joints.back(), ANGLES[pair][k] + swing, lengths[k]));
    for (Point &p : joints)
        p.x *= side;
    return joints;
}

// The swing of each leg in a frame: the legs of one tripod (right front,
// left middle, right hind) forward while the other tripod's are back.
double Swing(int pair, double side, int frame)
{
    bool first_tripod = (pair == 1) == (side < 0.0);
    double swing = first_tripod ? -11.0 : 11.0;
    return frame == 0 ? swing : -swing;
}

void StrokeLeg(cairo_t *cr, const Species &s, const std::vector<Point> &j, int pair)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    double widths[3] = {s.leg_w * (pair == 2 && s.thick_hind_legs ? 2.1 : 1.15), s.leg_w * 0.8, s.leg_w * 0.55};
    for (int k = 0; k < 3; k++) {
        cairo_move_to(cr, j[(size_t)k].x, j[(size_t)k].y);
        cairo_line_to(cr, j[(size_t)k + 1].x, j[(size_t)k + 1].y);
        cairo_set_line_width(cr, widths[k]);
        cairo_stroke(cr);
    }
}

void Legs(cairo_t *cr, const Species &s, int frame, bool silhouette)
{
    for (int pair = 0; pair < 3; pair++) {
        for (double side : {-1.0, 1.0}) {
            std::vector<Point> j = LegJoints(s, pair, side, Swing(pair, side, frame));
            if (silhouette) {
                StrokeLeg(cr, s, j, pair);
                continue;
            }
            SetColour(cr, Shade(s.legs, 0.75));
            StrokeLeg(cr, s, j, pair);
            // A lit edge along each segment.
            cairo_save(cr);
            cairo_translate(cr, -s.leg_w * 0.12, -s.leg_w * 0.15);
            SetColour(cr, Shade(s.legs, 1.5), 0.55);
            Species thin = s;
            thin.leg_w *= 0.35;
            StrokeLeg(cr, thin, j, pair);
            cairo_restore(cr);
            // Claws.
            Point tip = j.back();
            double a = std::atan2(tip.y - j[2].y, tip.x - j[2].x) / DEG;
            SetColour(cr, Shade(s.legs, 0.6));
            cairo_set_line_width(cr, s.leg_w * 0.35);
            for (double spread : {-25.0, 25.0}) {
                Point c = Along(tip, a + spread, s.leg_w * 0.9);
                cairo_move_to(cr, tip.x, tip.y);
                cairo_line_to(cr, c.x, c.y);
            }
            cairo_stroke(cr);
        }
    }
}

void Antennae(cairo_t *cr, const Species &s, bool silhouette)
{
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (double side : {-1.0, 1.0}) {
        double l = s.antenna_len;
        Point base{side * s.head_w * 0.62, s.head_y - s.head_l * 0.55};
        if (s.snout > 0.0)
            base = Point{side * 0.035, s.head_y - s.head_l - s.snout * 0.45};
        std::vector<Point> pts{base};
        bool club = false;
        switch (s.antenna) {
        case Antenna::Thread:
            pts.insert(pts.end(), {Point{base.x + side * l * 0.22, base.y - l * 0.5}, Point{base.x + side * l * 0.5, base.y - l * 0.85}});
            break;
        case Antenna::Club:
            pts.insert(pts.end(), {Point{base.x + side * l * 0.3, base.y - l * 0.55}, Point{base.x + side * l * 0.55, base.y - l * 0.8}});
            club = true;
            break;
        case Antenna::Elbow:
            pts.insert(pts.end(), {Point{base.x + side * l * 0.12, base.y - l * 0.5}, Point{base.x + side * l * 0.6, base.y - l * 0.78}});
            club = true;
            break;
        case Antenna::Long:
            // Swept out and back along the body, as longhorns carry them.
            pts.insert(pts.end(), {Point{base.x + side * l * 0.28, base.y - l * 0.22}, Point{base.x + side * l * 0.5, base.y + l * 0.05},
                   Point{base.x + side * l * 0.58, base.y + l * 0.42}, Point{base.x + side * l * 0.55, base.y + l * 0.8}});
            break;
        }
        double width = s.leg_w * (s.antenna == Antenna::Long ? 0.95 : 0.55);
        cairo_move_to(cr, pts[0].x, pts[0].y);
        if (s.antenna == Antenna::Elbow) {
            cairo_line_to(cr, pts[1].x, pts[1].y);
            cairo_line_to(cr, pts[2].x, pts[2].y);
        } else {
            for (size_t i = 1; i + 1 < pts.size(); i++) {
                Point m{(pts[i].x + pts[i + 1].x) * 0.5, (pts[i].y + pts[i + 1].y) * 0.5};
                if (i + 2 == pts.size())
                    m = pts[i + 1];
                cairo_curve_to(cr, pts[i].x, pts[i].y, pts[i].x, pts[i].y, m.x, m.y);
            }
        }
        if (!silhouette)
            SetColour(cr, Shade(s.legs, 0.7));
        cairo_set_line_width(cr, width);
        cairo_stroke(cr);
        Point end = pts.back();
        if (club) {
            Point prev = pts[pts.size() - 2];
            double a = std::atan2(end.y - prev.y, end.x - prev.x);
            EllipsePath(cr, end.x, end.y, width * 2.0, width * 1.3, a);
            if (!silhouette)
                FillLit(cr, Shade(s.legs, 0.9));
            cairo_fill(cr);
        }
        if (s.antenna == Antenna::Long && !silhouette) {
            // Pale rings on the segments.
            cairo_move_to(cr, pts[0].x, pts[0].y);
            for (size_t i = 1; i + 1 < pts.size(); i++) {
                Point m{(pts[i].x + pts[i + 1].x) * 0.5, (pts[i].y + pts[i + 1].y) * 0.5};
                if (i + 2 == pts.size())
                    m = pts[i + 1];
                cairo_curve_to(cr, pts[i].x, pts[i].y, pts[i].x, pts[i].y, m.x, m.y);
            }
            double dash[2] = {0.025, 0.075};
            cairo_set_dash(cr, dash, 2, 0.0);
            SetColour(cr, Hex(0x8088b8), 0.85);
            cairo_set_line_width(cr, width * 0.8);
            cairo_stroke(cr);
            cairo_set_dash(cr, nullptr, 0, 0.0);
        }
    }
}

// ---- Surfaces ----

// Gloss and a darker rim inside the current clip, over a part's fill.
void Sheen(cairo_t *cr, double cx, double cy, double r, double gloss)
{
    cairo_pattern_t *p = cairo_pattern_create_radial(cx, cy, 0.0, cx, cy, r);
    cairo_pattern_add_color_stop_rgba(p, 0.0, 1.0, 1.0, 1.0, gloss * 0.75);
    cairo_pattern_add_color_stop_rgba(p, 0.35, 1.0, 1.0, 1.0, gloss * 0.25);
    cairo_pattern_add_color_stop_rgba(p, 1.0, 1.0, 1.0, 1.0, 0.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
}

void Rim(cairo_t *cr, const ShapeFn &path, double width, double alpha)
{
    for (int k = 0; k < 3; k++) {
        cairo_new_path(cr);
        path(cr);
        cairo_set_line_width(cr, width * (1.0 - k * 0.3));
        cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, alpha * 0.4);
        cairo_stroke(cr);
    }
}

void PartFill(cairo_t *cr, const ShapeFn &path, Rgb colour, double gloss, double hx, double hy, double hr)
{
    cairo_save(cr);
    cairo_new_path(cr);
    path(cr);
    FillLit(cr, colour, 1.25, 0.7);
    cairo_clip(cr);
    Sheen(cr, hx, hy, hr, gloss);
    Rim(cr, path, 0.09, 0.55);
    cairo_restore(cr);
}

void ElytraPattern(cairo_t *cr, const Species &s)
{
    double y0 = s.ely_y0, l = s.ely_y1 - s.ely_y0, w = s.ely_w * 0.5;
    cairo_save(cr);
    cairo_new_path(cr);
    ElytraPath(cr, s);
    cairo_clip(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (s.pattern) {
    case Pattern::Ribs:
        for (double side : {-1.0, 1.0}) {
            for (double f : {0.3, 0.58, 0.84}) {
                cairo_move_to(cr, side * w * f, y0 + l * 0.05);
                cairo_curve_to(cr, side * w * f, y0 + l * 0.5, side * w * f * 0.8, y0 + l * 0.8, side * w * f * 0.3, y0 + l * 0.97);
                SetColour(cr, s.mark, 0.9);
                cairo_set_line_width(cr, 0.035);
                cairo_stroke_preserve(cr);
                SetColour(cr, Shade(s.mark, 1.4), 0.6);
                cairo_set_line_width(cr, 0.012);
                cairo_stroke(cr);
            }
        }
        break;
    case Pattern::Spots: {
        const double SPOTS[][3] = {{0.2, 0.2, 0.12}, {0.55, 0.3, 0.1}, {0.35, 0.52, 0.12}, {0.75, 0.6, 0.09}, {0.2, 0.78, 0.1}};
        for (double side : {-1.0, 1.0})
            for (const auto &spot : SPOTS)
                EllipsePath(cr, side * w * spot[0], y0 + l * spot[1], w * spot[2] * 1.1, w * spot[2]);
        EllipsePath(cr, 0.0, y0 + l * 0.05, w * 0.16, w * 0.12);
        SetColour(cr, s.mark);
        cairo_fill(cr);
        break;
    }
    case Pattern::Striae:
    case Pattern::Metallic:
        for (double side : {-1.0, 1.0}) {
            for (int k = 1; k <= 4; k++) {
                double f = k / 5.0;
                cairo_move_to(cr, side * w * f, y0 + l * 0.06);
                cairo_curve_to(cr, side * w * f, y0 + l * 0.6, side * w * f * 0.85, y0 + l * 0.85, side * w * f * 0.3, y0 + l * 0.98);
            }
        }
        {
            double dash[2] = {0.0, 0.035};
            cairo_set_dash(cr, dash, 2, 0.0);
            cairo_set_line_width(cr, 0.022);
            SetColour(cr, Shade(s.elytra, 0.55), 0.8);
            cairo_stroke(cr);
            cairo_set_dash(cr, nullptr, 0, 0.0);
        }
        if (s.pattern == Pattern::Metallic) {
            // A coloured sheen sliding across the shell.
            cairo_pattern_t *p = cairo_pattern_create_linear(-w, y0, w, y0 + l);
            cairo_pattern_add_color_stop_rgba(p, 0.0, s.mark.r, s.mark.g, s.mark.b, 0.0);
            cairo_pattern_add_color_stop_rgba(p, 0.45, s.mark.r, s.mark.g, s.mark.b, 0.35);
            cairo_pattern_add_color_stop_rgba(p, 0.7, s.mark.r, s.mark.g, s.mark.b, 0.0);
            cairo_set_source(cr, p);
            cairo_paint(cr);
            cairo_pattern_destroy(p);
        }
        break;
    case Pattern::FourSpots:
        for (double side : {-1.0, 1.0}) {
            StarPath(cr, side * w * 0.45, y0 + l * 0.22, w * 0.36, 0.62, 7, 0.3 * side);
            EllipsePath(cr, side * w * 0.45, y0 + l * 0.7, w * 0.34, w * 0.24, 0.2 * side);
        }
        FillLit(cr, s.mark, 1.2, 0.8);
        break;
    case Pattern::Patches:
        for (double side : {-1.0, 1.0}) {
            EllipsePath(cr, side * w * 0.55, y0 + l * 0.14, w * 0.36, l * 0.1, 0.0);
            EllipsePath(cr, side * w * 0.42, y0 + l * 0.68, w * 0.48, l * 0.2, 0.25 * side);
        }
        SetColour(cr, s.mark, 0.92);
        cairo_fill(cr);
        for (double side : {-1.0, 1.0}) {
            for (int k = 1; k <= 4; k++) {
                double f = k / 5.0;
                cairo_move_to(cr, side * w * f, y0 + l * 0.05);
                cairo_curve_to(cr, side * w * f, y0 + l * 0.6, side * w * f * 0.8, y0 + l * 0.85, side * w * f * 0.3, y0 + l * 0.98);
            }
        }
        SetColour(cr, Shade(s.elytra, 0.6), 0.6);
        cairo_set_line_width(cr, 0.012);
        cairo_stroke(cr);
        break;
    case Pattern::Plain:
        break;
    }
    cairo_restore(cr);
}

void Abdomen(cairo_t *cr, const Species &s)
{
    double y0 = s.ely_y1 - 0.03, y1 = s.abdomen_y1;
    PartFill(cr, [&](cairo_t *c) { AbdomenPath(c, s); }, s.head, s.gloss, -0.03, y0 + (y1 - y0) * 0.3, 0.25);
    cairo_save(cr);
    cairo_new_path(cr);
    AbdomenPath(cr, s);
    cairo_clip(cr);
    for (int k = 1; k < 6; k++) {
        double y = y0 + (y1 - y0) * k / 6.0;
        cairo_move_to(cr, -0.3, y - 0.02);
        cairo_curve_to(cr, -0.1, y + 0.015, 0.1, y + 0.015, 0.3, y - 0.02);
    }
    SetColour(cr, Shade(s.head, 0.4), 0.9);
    cairo_set_line_width(cr, 0.02);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void HeadDetails(cairo_t *cr, const Species &s)
{
    // Mandibles: two curved blades closing in front of the head.
    if (s.jaws > 0.0) {
        for (double side : {-1.0, 1.0}) {
            double bx = side * s.head_w * 0.45, by = s.head_y - s.head_l * 0.7;
            cairo_move_to(cr, bx - side * 0.03, by);
            cairo_curve_to(cr, bx + side * s.jaws * 0.35, by - s.jaws * 0.4, bx + side * s.jaws * 0.1, by - s.jaws * 0.95,
                           bx - side * s.jaws * 0.35, by - s.jaws);
            cairo_curve_to(cr, bx - side * s.jaws * 0.05, by - s.jaws * 0.7, bx + side * s.jaws * 0.05, by - s.jaws * 0.3,
                           bx - side * 0.06, by + 0.01);
            cairo_close_path(cr);
        }
        FillLit(cr, Shade(s.head, 1.1), 1.6, 0.6);
        cairo_new_path(cr);
    }
    // A weevil's snout.
    if (s.snout > 0.0) {
        double top = s.head_y - s.head_l * 0.6 - s.snout;
        cairo_move_to(cr, -0.03, s.head_y - s.head_l * 0.5);
        cairo_line_to(cr, -0.04, top + 0.02);
        cairo_curve_to(cr, -0.04, top - 0.01, 0.04, top - 0.01, 0.04, top + 0.02);
        cairo_line_to(cr, 0.03, s.head_y - s.head_l * 0.5);
        cairo_close_path(cr);
        FillLit(cr, s.head, 1.4, 0.7);
        cairo_new_path(cr);
    }
    PartFill(cr, [&](cairo_t *c) { HeadPath(c, s); }, s.head, s.gloss, -s.head_w * 0.3, s.head_y - s.head_l * 0.3,
             s.head_w);
    // Eyes.
    for (double side : {-1.0, 1.0}) {
        EllipsePath(cr, side * s.head_w * 0.78, s.head_y - s.head_l * 0.1, s.head_w * 0.24, s.head_l * 0.4, 0.0);
        SetColour(cr, Hex(0x0c0c0c));
        cairo_fill(cr);
        cairo_arc(cr, side * s.head_w * 0.74 - 0.008, s.head_y - s.head_l * 0.25, s.head_w * 0.07, 0.0, 2.0 * PAINT_PI);
        cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.7);
        cairo_fill(cr);
    }
}

void PaintBug(cairo_t *cr, int width, int height, const Species &s, int frame)
{
    cairo_translate(cr, width * 0.5, height * 0.5);
    cairo_scale(cr, width * 0.5, height * 0.5);
    double px = width / 256.0;

    // A soft shadow under the whole bug, almost beneath it, so that it reads
    // right whichever way the game turns the picture.
    SoftShadow(
        cr,
        [&](cairo_t *c) {
            BodyPath(c, s);
            cairo_fill(c);
            Legs(c, s, frame, true);
            Antennae(c, s, true);
        },
        2.0 * px, 4.0 * px, 7.0 * px, 0.5);

    Legs(cr, s, frame, false);
    Antennae(cr, s, false);
    if (s.abdomen_y1 > 0.0)
        Abdomen(cr, s);

    double ly = s.ely_y1 - s.ely_y0;
    for (double side : {-1.0, 1.0}) {
        PartFill(cr, [&](cairo_t *c) { ElytronPath(c, s, side); }, s.elytra, s.gloss,
                 side * s.ely_w * 0.2 - 0.05, s.ely_y0 + ly * 0.28, ly * 0.45);
    }
    ElytraPattern(cr, s);
    // The seam between the wing cases.
    cairo_move_to(cr, 0.0, s.ely_y0 + 0.01);
    cairo_line_to(cr, 0.0, s.ely_y1 - 0.01);
    SetColour(cr, Shade(s.elytra, 0.35), 0.9);
    cairo_set_line_width(cr, 0.018);
    cairo_stroke(cr);

    PartFill(cr, [&](cairo_t *c) { PronotumPath(c, s); }, s.pronotum, s.gloss, -s.pro_max * 0.15,
             s.pro_y0 + (s.pro_y1 - s.pro_y0) * 0.35, s.pro_max * 0.5);
    if (s.pronotum_patches) {
        cairo_save(cr);
        cairo_new_path(cr);
        PronotumPath(cr, s);
        cairo_clip(cr);
        for (double side : {-1.0, 1.0})
            EllipsePath(cr, side * s.pro_max * 0.36, s.pro_y0 + 0.05, s.pro_max * 0.16, 0.06, 0.0);
        SetColour(cr, Hex(0xf2efe4));
        cairo_fill(cr);
        cairo_restore(cr);
    }
    HeadDetails(cr, s);
}

}  // namespace

void BugPainterAddJobs(std::vector<PictureJob> *jobs)
{
    for (const Species &s : SPECIES) {
        for (int frame = 0; frame < 2; frame++) {
            std::string file = std::string("Bugs/") + s.name + (frame == 0 ? "" : "2") + ".tga";
            jobs->push_back(PictureJob{file, [&s, frame](cairo_t *cr, int w, int h, std::string *) {
                                           PaintBug(cr, w, h, s, frame);
                                           return true;
                                       }});
        }
    }
}
