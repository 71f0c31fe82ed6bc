#include "tools/datagen/GardenPainter.h"

#include "tools/datagen/DataGenRandom.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const double PI = 3.14159265358979323846;
const double PIXEL = 1.0 / GARDEN_PIXELS_PER_UNIT;
// The picture reaches this far from the board's centre in board units.
const double PICTURE_REACH = GARDEN_PICTURE_SIZE * 0.5 / GARDEN_PIXELS_PER_UNIT;
// Where the sun stands: shadows fall this way, per unit of a thing's size.
const double SHADOW_DX = 0.22, SHADOW_DY = 0.30;

// ---- Colours ----

GardenColour Mix(GardenColour a, GardenColour b, double t)
{
    return GardenColour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

GardenColour Scale(GardenColour c, double k)
{
    return GardenColour{std::min(1.0, c.r * k), std::min(1.0, c.g * k), std::min(1.0, c.b * k)};
}

GardenColour Hex(unsigned rgb)
{
    return GardenColour{((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}

// Dark, middle and light by t in 0..1.
GardenColour Ramp(GardenColour dark, GardenColour mid, GardenColour light, double t)
{
    return t < 0.5 ? Mix(dark, mid, t * 2.0) : Mix(mid, light, (t - 0.5) * 2.0);
}

double Clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

// Value noise bunches round 0.5; spread it back over 0..1.
double Spread(double n, double k = 2.2) { return Clamp01((n - 0.5) * k + 0.5); }

uint32_t Pack(GardenColour c, double alpha = 1.0)
{
    unsigned a = (unsigned)std::lround(Clamp01(alpha) * 255.0);
    auto channel = [a](double v) { return (unsigned)std::lround(Clamp01(v) * a); };
    return (a << 24) | (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

void Paint(cairo_t *cr, GardenColour c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

const GardenColour &Pick(const std::vector<GardenColour> &colours, DataGenRandom &rng)
{
    return colours[(size_t)rng.Int(0, (int)colours.size())];
}

// ---- Shapes (board units) ----

void EllipsePath(cairo_t *cr, double x, double y, double rx, double ry, double angle)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void Disc(cairo_t *cr, double x, double y, double r, GardenColour c, double alpha = 1.0)
{
    cairo_new_path(cr);
    cairo_arc(cr, x, y, r, 0.0, 2.0 * PI);
    Paint(cr, c, alpha);
    cairo_fill(cr);
}

// A disc shaded as a lit ball: bright towards the sun, dark away from it.
void ShadedDisc(cairo_t *cr, double x, double y, double r, GardenColour c, double light = 1.35, double dark = 0.62)
{
    cairo_pattern_t *p = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.4, 0.0, x, y, r * 1.05);
    GardenColour hi = Scale(c, light), lo = Scale(c, dark);
    cairo_pattern_add_color_stop_rgb(p, 0.0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 0.55, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, lo.r, lo.g, lo.b);
    cairo_new_path(cr);
    cairo_arc(cr, x, y, r, 0.0, 2.0 * PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// A soft shadow of an ellipse: stacked faint layers, widest first.
void SoftShadow(cairo_t *cr, double x, double y, double rx, double ry, double angle, double strength)
{
    double size = std::max(rx, ry);
    for (int layer = 0; layer < 5; layer++) {
        double grow = 1.12 - layer * 0.05;
        cairo_new_path(cr);
        EllipsePath(cr, x + size * SHADOW_DX, y + size * SHADOW_DY, rx * grow, ry * grow, angle);
        cairo_set_source_rgba(cr, 0.0, 0.02, 0.0, strength / 5.0);
        cairo_fill(cr);
    }
}

// A fallen leaf: pointed oval with a midrib and a stalk.
void Leaf(cairo_t *cr, double x, double y, double size, double angle, GardenColour c)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_new_path(cr);
    cairo_move_to(cr, -size, 0.0);
    cairo_curve_to(cr, -size * 0.3, -size * 0.62, size * 0.45, -size * 0.5, size, 0.0);
    cairo_curve_to(cr, size * 0.45, size * 0.5, -size * 0.3, size * 0.62, -size, 0.0);
    cairo_close_path(cr);
    Paint(cr, c);
    cairo_fill_preserve(cr);
    Paint(cr, Scale(c, 0.6), 0.5);
    cairo_set_line_width(cr, size * 0.07);
    cairo_stroke(cr);
    cairo_move_to(cr, -size * 1.3, 0.0);
    cairo_line_to(cr, size * 0.8, 0.0);
    Paint(cr, Scale(c, 0.55), 0.7);
    cairo_set_line_width(cr, size * 0.08);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// A flower seen from above: `petals` round petals and a centre.
void Flower(cairo_t *cr, double x, double y, double size, int petals, double turn, GardenColour petal,
            GardenColour centre)
{
    for (int k = 0; k < petals; k++) {
        double a = turn + k * 2.0 * PI / petals;
        Disc(cr, x + std::cos(a) * size * 0.45, y + std::sin(a) * size * 0.45, size * 0.36, petal);
    }
    Disc(cr, x, y, size * 0.26, centre);
}

// ---- Ground ----

void PaintGround(cairo_surface_t *surface, const GardenGroundDef &ground, const DataGenNoise &noise)
{
    cairo_surface_flush(surface);
    unsigned char *data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    double sa = std::sin(ground.stripe_angle * PI / 180.0), ca = std::cos(ground.stripe_angle * PI / 180.0);
    for (int py = 0; py < GARDEN_PICTURE_SIZE; py++) {
        uint32_t *row = (uint32_t *)(data + (size_t)py * stride);
        double y = (py + 0.5) * PIXEL - PICTURE_REACH;
        for (int px = 0; px < GARDEN_PICTURE_SIZE; px++) {
            double x = (px + 0.5) * PIXEL - PICTURE_REACH;
            double patches = Spread(noise.Fractal(x * 2.5, y * 2.5, 4));
            double mottle = noise.Fractal(x * 11.0 + 40.0, y * 11.0 + 40.0, 3);
            double grain = noise.Hash(px, py, 1) - 0.5;
            double k = 0.9 + 0.2 * mottle + grain * 0.07;
            if (ground.stripe_width > 0.0) {
                double u = (x * ca + y * sa) / ground.stripe_width;
                k *= 1.0 + 0.05 * std::max(-1.0, std::min(1.0, std::sin(2.0 * PI * u) * 3.0));
            }
            row[px] = Pack(Scale(Ramp(ground.dark, ground.colour, ground.light, patches), k));
        }
    }
    cairo_surface_mark_dirty(surface);
}

// Short strokes of grass, batched by shade so that each shade is one stroke.
void PaintBlades(cairo_t *cr, const GardenGroundDef &ground, DataGenRandom &rng)
{
    const int SHADES = 12;
    std::vector<std::vector<double>> strokes(SHADES);
    for (int i = 0; i < ground.blades; i++) {
        double x = rng.Range(-PICTURE_REACH, PICTURE_REACH), y = rng.Range(-PICTURE_REACH, PICTURE_REACH);
        double a = rng.Range(0.0, PI), len = rng.Range(0.006, 0.013);
        std::vector<double> &s = strokes[(size_t)rng.Int(0, SHADES)];
        s.insert(s.end(), {x, y, x + std::cos(a) * len, y + std::sin(a) * len});
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.5 * PIXEL);
    for (int shade = 0; shade < SHADES; shade++) {
        cairo_new_path(cr);
        const std::vector<double> &s = strokes[(size_t)shade];
        for (size_t i = 0; i < s.size(); i += 4) {
            cairo_move_to(cr, s[i], s[i + 1]);
            cairo_line_to(cr, s[i + 2], s[i + 3]);
        }
        Paint(cr, Mix(ground.blade_dark, ground.blade_light, shade / (SHADES - 1.0)), 0.55);
        cairo_stroke(cr);
    }
}

// ---- Strewn details ----

void PaintScatterItem(cairo_t *cr, const GardenScatter &item, const GardenGroundDef &ground, double x, double y,
                      DataGenRandom &rng)
{
    double s = item.size * rng.Range(0.75, 1.15);
    double turn = rng.Range(0.0, 2.0 * PI);
    if (item.kind == "daisy") {
        for (int k = 0; k < 9; k++) {
            double a = turn + k * 2.0 * PI / 9.0;
            cairo_new_path(cr);
            EllipsePath(cr, x + std::cos(a) * s * 0.55, y + std::sin(a) * s * 0.55, s * 0.42, s * 0.17, a);
            Paint(cr, Hex(0xf6f5ec));
            cairo_fill(cr);
        }
        Disc(cr, x, y, s * 0.28, Hex(0xf2c21b));
    } else if (item.kind == "flower") {
        Flower(cr, x, y, s, 5, turn, Pick(item.colours, rng), Hex(0xf7d84a));
    } else if (item.kind == "clover") {
        GardenColour c = item.colours.empty() ? Scale(ground.dark, 0.85) : Pick(item.colours, rng);
        for (int k = 0; k < 9; k++) {
            double cx = x + rng.Range(-s, s) * 0.8, cy = y + rng.Range(-s, s) * 0.8, a = rng.Range(0.0, 2.0 * PI);
            for (int l = 0; l < 3; l++) {
                double b = a + l * 2.0 * PI / 3.0;
                Disc(cr, cx + std::cos(b) * s * 0.17, cy + std::sin(b) * s * 0.17, s * 0.17, c, 0.8);
            }
        }
    } else if (item.kind == "pebble") {
        GardenColour c = item.colours.empty() ? Hex(0x9c978d) : Pick(item.colours, rng);
        c = Scale(c, rng.Range(0.85, 1.15));
        double rx = s * rng.Range(0.6, 1.0), ry = s * rng.Range(0.4, 0.7);
        cairo_new_path(cr);
        EllipsePath(cr, x + s * 0.15, y + s * 0.2, rx, ry, turn);
        cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.25);
        cairo_fill(cr);
        cairo_new_path(cr);
        EllipsePath(cr, x, y, rx, ry, turn);
        Paint(cr, c);
        cairo_fill(cr);
        cairo_new_path(cr);
        EllipsePath(cr, x - rx * 0.25, y - ry * 0.3, rx * 0.45, ry * 0.35, turn);
        cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.25);
        cairo_fill(cr);
    } else if (item.kind == "leaf") {
        Leaf(cr, x, y, s, turn, Scale(Pick(item.colours, rng), rng.Range(0.85, 1.1)));
    } else if (item.kind == "tuft") {
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, 1.6 * PIXEL);
        for (int k = 0; k < 11; k++) {
            double a = rng.Range(0.0, 2.0 * PI), len = s * rng.Range(0.5, 1.0);
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + std::cos(a) * len, y + std::sin(a) * len);
            GardenColour c = item.colours.empty() ? Mix(ground.blade_dark, ground.blade_light, rng.Unit())
                                                  : Pick(item.colours, rng);
            Paint(cr, c, 0.8);
            cairo_stroke(cr);
        }
    }
}

void PaintScatter(cairo_t *cr, const GardenDefinition &garden, const GardenRoad &road, DataGenRandom &rng)
{
    double clear = garden.road.half_width + garden.road.edge_width;
    for (const GardenScatter &item : garden.scatter) {
        for (int i = 0; i < item.count; i++) {
            // A few tries for a place off the road; things hidden under the
            // road would only waste the picture.
            for (int attempt = 0; attempt < 8; attempt++) {
                double x = rng.Range(-PICTURE_REACH, PICTURE_REACH), y = rng.Range(-PICTURE_REACH, PICTURE_REACH);
                if (road.DistanceTo(x, y, clear + item.size) < clear + item.size)
                    continue;
                PaintScatterItem(cr, item, garden.ground, x, y, rng);
                break;
            }
        }
    }
}

// ---- Road ----

// The road's centre line through every step point, continued straight past
// both ends to beyond the picture's edge.
void RoadPath(cairo_t *cr, const GardenRoad &road)
{
    const std::vector<GardenVec> &p = road.Points();
    int n = road.NumSteps();
    GardenVec d0 = road.Direction(0), d1 = road.Direction(n - 1);
    cairo_new_path(cr);
    cairo_move_to(cr, p[0].x - d0.x * 0.5, p[0].y - d0.y * 0.5);
    for (int i = 0; i < n; i++)
        cairo_line_to(cr, p[(size_t)i].x, p[(size_t)i].y);
    cairo_line_to(cr, p[(size_t)n - 1].x + d1.x * 0.5, p[(size_t)n - 1].y + d1.y * 0.5);
}

void StrokeRoad(cairo_t *cr, const GardenRoad &road, double half_width)
{
    RoadPath(cr, road);
    cairo_set_line_width(cr, half_width * 2.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr);
}

struct Voronoi {
    double near = 1e9, second = 1e9;  // distances to the nearest and second nearest seed
    int64_t cell_x = 0, cell_y = 0;   // the nearest seed's cell
    double dx = 0.0, dy = 0.0;        // from the nearest seed to the point
};

// Cells of a jittered grid of `size`; the distance to the boundary between
// two cells is about (second - near) / 2.
Voronoi VoronoiAt(const DataGenNoise &noise, double x, double y, double size, uint64_t salt)
{
    Voronoi v;
    int64_t gx = (int64_t)std::floor(x / size), gy = (int64_t)std::floor(y / size);
    for (int64_t oy = -1; oy <= 1; oy++) {
        for (int64_t ox = -1; ox <= 1; ox++) {
            int64_t cx = gx + ox, cy = gy + oy;
            double sx = (cx + 0.1 + 0.8 * noise.Hash(cx, cy, salt)) * size;
            double sy = (cy + 0.1 + 0.8 * noise.Hash(cx, cy, salt + 1)) * size;
            double d = std::hypot(x - sx, y - sy);
            if (d < v.near) {
                v.second = v.near;
                v.near = d;
                v.cell_x = cx;
                v.cell_y = cy;
                v.dx = x - sx;
                v.dy = y - sy;
            } else if (d < v.second) {
                v.second = d;
            }
        }
    }
    return v;
}

// The colour of the road's surface at (x, y); `grain` is a per-pixel -0.5..0.5.
GardenColour RoadSurfaceAt(const GardenRoadDef &road, const DataGenNoise &noise, double x, double y, double grain)
{
    if (road.surface == "dirt") {
        GardenColour c = Ramp(road.dark, road.colour, road.light, Spread(noise.Fractal(x * 9.0, y * 9.0, 4)));
        Voronoi v = VoronoiAt(noise, x, y, 0.018, 11);
        double r = 0.0025 + 0.003 * noise.Hash(v.cell_x, v.cell_y, 13);
        if (noise.Hash(v.cell_x, v.cell_y, 14) < 0.35 && v.near < r)
            return Scale(Mix(road.light, Hex(0xa8a397), 0.5), 1.0 - 0.35 * (v.dx + v.dy) / r * 0.5);
        return Scale(c, 1.0 + grain * 0.12);
    }
    if (road.surface == "sand") {
        GardenColour c = Mix(road.colour, road.light, Spread(noise.Fractal(x * 6.0, y * 6.0, 3)));
        double ripple = std::sin((x * 0.8 + y * 0.6) * 150.0 + 9.0 * noise.Fractal(x * 4.0, y * 4.0, 2));
        c = Scale(c, 1.0 + 0.035 * ripple + grain * 0.1);
        return grain > 0.49 ? road.dark : c;
    }
    if (road.surface == "paving") {
        Voronoi v = VoronoiAt(noise, x, y, 0.06, 21);
        double border = v.second - v.near;
        if (border < 0.006)
            return Scale(road.dark, 0.9 + grain * 0.2);
        GardenColour stone = Mix(road.colour, road.light, noise.Hash(v.cell_x, v.cell_y, 23));
        double bevel = border < 0.016 ? 0.86 + 0.14 * (border - 0.006) / 0.01 : 1.0;
        double mottle = 0.94 + 0.12 * noise.Fractal(x * 30.0, y * 30.0, 2);
        return Scale(stone, bevel * mottle + grain * 0.06);
    }
    // gravel: small round stones in the road's shades, packed close.
    Voronoi v = VoronoiAt(noise, x, y, 0.011, 31);
    if (v.second - v.near < 0.0018)
        return Scale(road.dark, 0.75);
    GardenColour stone = Ramp(road.dark, road.colour, road.light, noise.Hash(v.cell_x, v.cell_y, 33));
    double lit = 1.08 - 0.6 * (v.near / 0.011) * (v.near / 0.011) - 4.0 * (v.dx + v.dy);
    return Scale(stone, std::max(0.6, lit) + grain * 0.05);
}

// The surface, painted pixel by pixel through the road's own shape.
void PaintRoadSurface(cairo_t *cr, const GardenDefinition &garden, const GardenRoad &road,
                      const DataGenNoise &noise)
{
    cairo_surface_t *mask = cairo_image_surface_create(CAIRO_FORMAT_A8, GARDEN_PICTURE_SIZE, GARDEN_PICTURE_SIZE);
    cairo_t *mcr = cairo_create(mask);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    cairo_set_matrix(mcr, &m);
    cairo_set_source_rgba(mcr, 1.0, 1.0, 1.0, 1.0);
    StrokeRoad(mcr, road, garden.road.half_width);
    cairo_destroy(mcr);
    cairo_surface_flush(mask);

    cairo_surface_t *texture =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, GARDEN_PICTURE_SIZE, GARDEN_PICTURE_SIZE);
    const unsigned char *mdata = cairo_image_surface_get_data(mask);
    int mstride = cairo_image_surface_get_stride(mask);
    unsigned char *tdata = cairo_image_surface_get_data(texture);
    int tstride = cairo_image_surface_get_stride(texture);
    for (int py = 0; py < GARDEN_PICTURE_SIZE; py++) {
        const unsigned char *mrow = mdata + (size_t)py * mstride;
        uint32_t *trow = (uint32_t *)(tdata + (size_t)py * tstride);
        double y = (py + 0.5) * PIXEL - PICTURE_REACH;
        for (int px = 0; px < GARDEN_PICTURE_SIZE; px++) {
            if (mrow[px] == 0)
                continue;
            double x = (px + 0.5) * PIXEL - PICTURE_REACH;
            GardenColour c = RoadSurfaceAt(garden.road, noise, x, y, noise.Hash(px, py, 2) - 0.5);
            trow[px] = Pack(c, mrow[px] / 255.0);
        }
    }
    cairo_surface_mark_dirty(texture);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_source_surface(cr, texture, 0.0, 0.0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(texture);
    cairo_surface_destroy(mask);
}

// What lines the road, drawn under the surface.
void PaintRoadBed(cairo_t *cr, const GardenRoadDef &def, const GardenRoad &road)
{
    double outer = def.half_width + def.edge_width;
    cairo_set_source_rgba(cr, 0.0, 0.0, 0.0, 0.12);
    StrokeRoad(cr, road, outer + 0.012);
    StrokeRoad(cr, road, outer + 0.006);
    if (def.edge == "bricks") {
        // Bricks end to end along both sides, with dark mortar between them.
        Paint(cr, Scale(def.edge_colour, 0.55));
        StrokeRoad(cr, road, outer);
        double dash[] = {0.026, 0.004};
        cairo_set_dash(cr, dash, 2, 0.0);
        Paint(cr, def.edge_colour);
        StrokeRoad(cr, road, outer - 0.0025);
        cairo_set_dash(cr, nullptr, 0, 0.0);
    } else {
        Paint(cr, def.edge_colour);
        StrokeRoad(cr, road, outer);
    }
}

// What lines the road, drawn over the surface's edges.
void PaintRoadEdges(cairo_t *cr, const GardenDefinition &garden, const GardenRoad &road, DataGenRandom &rng)
{
    const GardenRoadDef &def = garden.road;
    const std::vector<GardenVec> &p = road.Points();
    int n = road.NumSteps();
    if (def.edge == "stones") {
        int every = std::max(1, (int)std::lround(0.013 / def.step_length));
        for (int i = 0; i < n; i += every) {
            GardenVec d = road.Direction(i);
            for (int side = -1; side <= 1; side += 2) {
                double off = def.half_width + def.edge_width * rng.Range(0.35, 0.6);
                double x = p[(size_t)i].x - d.y * off * side, y = p[(size_t)i].y + d.x * off * side;
                double r = def.edge_width * rng.Range(0.45, 0.62);
                GardenColour c = Mix(Hex(0xb9b3a6), Hex(0x8f877a), rng.Unit());
                Disc(cr, x + r * 0.25, y + r * 0.3, r, Hex(0x000000), 0.25);
                ShadedDisc(cr, x, y, r, c, 1.25, 0.7);
            }
        }
    } else if (def.edge == "grass") {
        // Blades from the lawn lean over the road's edge.
        int every = std::max(1, (int)std::lround(0.004 / def.step_length));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, 1.6 * PIXEL);
        for (int i = 0; i < n; i += every) {
            GardenVec d = road.Direction(i);
            for (int side = -1; side <= 1; side += 2) {
                double from = def.half_width + def.edge_width + rng.Range(0.0, 0.006);
                double to = def.half_width + rng.Range(-0.008, 0.004);
                double slant = rng.Range(-0.006, 0.006);
                GardenVec a{p[(size_t)i].x - d.y * from * side, p[(size_t)i].y + d.x * from * side};
                GardenVec b{p[(size_t)i].x - d.y * to * side + d.x * slant, p[(size_t)i].y + d.x * to * side + d.y * slant};
                cairo_move_to(cr, a.x, a.y);
                cairo_line_to(cr, b.x, b.y);
                Paint(cr, Mix(garden.ground.blade_dark, garden.ground.blade_light, rng.Unit()), 0.85);
                cairo_stroke(cr);
            }
        }
    }
}

// ---- Decorations ----

std::vector<GardenColour> ColoursOr(const GardenDecoration &d, std::vector<GardenColour> fallback)
{
    return d.colours.empty() ? fallback : d.colours;
}

// Round clumps of foliage; leaves[0..2] are the greens, any further colours
// are blossoms dotted over it.
void PaintFoliage(cairo_t *cr, const GardenDecoration &d, int lobes, DataGenRandom &rng)
{
    std::vector<GardenColour> colours = ColoursOr(d, {Hex(0x3f7d2c), Hex(0x4f9134), Hex(0x356e27)});
    size_t greens = std::min<size_t>(3, colours.size());
    double r = d.radius;
    struct Lobe {
        double x, y, r;
        GardenColour c;
    };
    // An outer ring of clumps round a few inner ones.
    std::vector<Lobe> all;
    int inner = std::max(3, lobes / 3);
    for (int k = 0; k < lobes + inner; k++) {
        bool outer = k < lobes;
        double a = (outer ? k * 2.0 * PI / lobes : k * 2.0 * PI / inner + 0.5) + rng.Range(-0.2, 0.2);
        double dist = outer ? r * rng.Range(0.5, 0.56) : r * rng.Range(0.15, 0.25);
        double lr = outer ? r * rng.Range(0.38, 0.44) : r * rng.Range(0.36, 0.42);
        all.push_back({d.at.x + std::cos(a) * dist, d.at.y + std::sin(a) * dist, lr,
                       colours[(size_t)rng.Int(0, (int)greens)]});
    }
    // The canopy's shaded underside fills the gaps between the clumps.
    Disc(cr, d.at.x, d.at.y, r * 0.93, Scale(colours[0], 0.5));
    // Lobes nearer the sun are drawn last, over the shaded ones.
    std::stable_sort(all.begin(), all.end(), [](const Lobe &a, const Lobe &b) { return a.x + a.y > b.x + b.y; });
    for (const Lobe &l : all)
        ShadedDisc(cr, l.x, l.y, l.r, l.c);
    for (int k = 0; k < (int)(r * 2500.0); k++) {
        double a = rng.Range(0.0, 2.0 * PI), dist = r * 0.85 * std::sqrt(rng.Unit());
        double x = d.at.x + std::cos(a) * dist, y = d.at.y + std::sin(a) * dist;
        bool lit = (x - d.at.x) + (y - d.at.y) < 0.0;
        Disc(cr, x, y, r * rng.Range(0.025, 0.05), Scale(colours[(size_t)rng.Int(0, (int)greens)], lit ? 1.4 : 0.7),
             0.35);
    }
    for (size_t c = greens; c < colours.size(); c++) {
        for (int k = 0; k < (int)(r * 250.0); k++) {
            double a = rng.Range(0.0, 2.0 * PI), dist = r * 0.8 * std::sqrt(rng.Unit());
            Flower(cr, d.at.x + std::cos(a) * dist, d.at.y + std::sin(a) * dist, r * 0.09, 5, a, colours[c],
                   Hex(0xf5e27a));
        }
    }
}

void PaintRock(cairo_t *cr, const GardenDecoration &d, DataGenRandom &rng)
{
    GardenColour c = ColoursOr(d, {Hex(0xa39f96)})[0];
    double turn = d.angle * PI / 180.0;
    std::vector<GardenVec> outline;
    for (int k = 0; k < 11; k++) {
        double a = k * 2.0 * PI / 11.0 + rng.Range(-0.15, 0.15), f = rng.Range(0.82, 1.0);
        double lx = std::cos(a) * d.radius * f, ly = std::sin(a) * d.radius_y * f;
        outline.push_back({d.at.x + lx * std::cos(turn) - ly * std::sin(turn),
                           d.at.y + lx * std::sin(turn) + ly * std::cos(turn)});
    }
    auto path = [&](double scale, double ox, double oy) {
        cairo_new_path(cr);
        for (const GardenVec &v : outline)
            cairo_line_to(cr, d.at.x + (v.x - d.at.x) * scale + ox, d.at.y + (v.y - d.at.y) * scale + oy);
        cairo_close_path(cr);
    };
    double r = std::max(d.radius, d.radius_y);
    cairo_pattern_t *p = cairo_pattern_create_linear(d.at.x - r, d.at.y - r, d.at.x + r, d.at.y + r);
    GardenColour hi = Scale(c, 1.3), lo = Scale(c, 0.6);
    cairo_pattern_add_color_stop_rgb(p, 0.0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 0.5, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, lo.r, lo.g, lo.b);
    path(1.0, 0.0, 0.0);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgba(cr, 0.1, 0.1, 0.08, 0.55);
    cairo_set_line_width(cr, 1.5 * PIXEL);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    // A lit upper face and a few patches of moss.
    path(0.55, -r * 0.18, -r * 0.22);
    cairo_set_source_rgba(cr, 1.0, 1.0, 0.95, 0.16);
    cairo_fill(cr);
    for (int k = 0; k < 6; k++)
        Disc(cr, d.at.x + rng.Range(-0.5, 0.3) * r, d.at.y + rng.Range(-0.6, 0.0) * r, r * rng.Range(0.05, 0.1),
             Hex(0x6f8a3a), 0.45);
}

void PaintPond(cairo_t *cr, const GardenDecoration &d, DataGenRandom &rng)
{
    double turn = d.angle * PI / 180.0;
    double p1 = rng.Range(0.0, 2.0 * PI), p2 = rng.Range(0.0, 2.0 * PI);
    auto edge = [&](double a, double scale) {
        double f = scale * (1.0 + 0.07 * std::sin(3.0 * a + p1) + 0.04 * std::sin(5.0 * a + p2));
        double lx = std::cos(a) * d.radius * f, ly = std::sin(a) * d.radius_y * f;
        return GardenVec{d.at.x + lx * std::cos(turn) - ly * std::sin(turn),
                         d.at.y + lx * std::sin(turn) + ly * std::cos(turn)};
    };
    auto path = [&](double scale) {
        cairo_new_path(cr);
        for (int k = 0; k < 180; k++) {
            GardenVec v = edge(k * 2.0 * PI / 180.0, scale);
            cairo_line_to(cr, v.x, v.y);
        }
        cairo_close_path(cr);
    };
    path(1.0);
    Paint(cr, Hex(0x6e604b));
    cairo_fill(cr);
    double r = std::max(d.radius, d.radius_y);
    cairo_pattern_t *water = cairo_pattern_create_radial(d.at.x, d.at.y, 0.0, d.at.x, d.at.y, r);
    cairo_pattern_add_color_stop_rgb(water, 0.0, 0.12, 0.30, 0.45);
    cairo_pattern_add_color_stop_rgb(water, 0.7, 0.20, 0.44, 0.58);
    cairo_pattern_add_color_stop_rgb(water, 1.0, 0.36, 0.58, 0.60);
    path(0.9);
    cairo_set_source(cr, water);
    cairo_fill(cr);
    cairo_pattern_destroy(water);
    // Glints on the water.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int k = 0; k < 5; k++) {
        double a = rng.Range(0.0, 2.0 * PI), dist = rng.Range(0.2, 0.6);
        double x = d.at.x + std::cos(a) * d.radius * dist, y = d.at.y + std::sin(a) * d.radius_y * dist;
        double len = r * rng.Range(0.1, 0.22);
        cairo_new_path(cr);
        cairo_move_to(cr, x - len, y - len * 0.25);
        cairo_line_to(cr, x + len, y + len * 0.25);
        cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.22);
        cairo_set_line_width(cr, 2.5 * PIXEL);
        cairo_stroke(cr);
    }
    // Water lilies: pads with a notch, one in flower.
    for (int k = 0; k < 4; k++) {
        double a = rng.Range(0.0, 2.0 * PI), dist = rng.Range(0.25, 0.6);
        double x = d.at.x + std::cos(a) * d.radius * dist, y = d.at.y + std::sin(a) * d.radius_y * dist;
        double pr = r * rng.Range(0.1, 0.15), notch = rng.Range(0.0, 2.0 * PI);
        cairo_new_path(cr);
        cairo_move_to(cr, x, y);
        cairo_arc(cr, x, y, pr, notch + 0.35, notch + 2.0 * PI - 0.35);
        cairo_close_path(cr);
        Paint(cr, Hex(0x4d8a35));
        cairo_fill_preserve(cr);
        Paint(cr, Hex(0x2f5e22), 0.6);
        cairo_set_line_width(cr, PIXEL);
        cairo_stroke(cr);
        if (k == 0)
            Flower(cr, x, y, pr * 0.7, 7, notch, Hex(0xf3b6d0), Hex(0xf6da5a));
    }
    // Stones round the rim.
    int stones = (int)(r * 160.0);
    for (int k = 0; k < stones; k++) {
        GardenVec v = edge(k * 2.0 * PI / stones + rng.Range(-0.02, 0.02), 0.95);
        ShadedDisc(cr, v.x, v.y, r * rng.Range(0.045, 0.065), Mix(Hex(0xb4ae9f), Hex(0x857d70), rng.Unit()), 1.25,
                   0.7);
    }
}

void PaintBed(cairo_t *cr, const GardenDecoration &d, DataGenRandom &rng)
{
    std::vector<GardenColour> colours =
        ColoursOr(d, {Hex(0xd8303a), Hex(0xf3c623), Hex(0x8a4fc1), Hex(0xf28ab0), Hex(0xf4f1ea)});
    double turn = d.angle * PI / 180.0;
    double border = 0.014;
    cairo_new_path(cr);
    EllipsePath(cr, d.at.x, d.at.y, d.radius, d.radius_y, turn);
    Paint(cr, Hex(0x7d5b3c));
    cairo_fill(cr);
    cairo_new_path(cr);
    EllipsePath(cr, d.at.x, d.at.y, d.radius - border, d.radius_y - border, turn);
    Paint(cr, Hex(0x4a3324));
    cairo_fill(cr);
    double rx = d.radius - border * 1.8, ry = d.radius_y - border * 1.8;
    auto place = [&](double u, double v) {
        double lx = u * rx, ly = v * ry;
        return GardenVec{d.at.x + lx * std::cos(turn) - ly * std::sin(turn),
                         d.at.y + lx * std::sin(turn) + ly * std::cos(turn)};
    };
    auto inside = [&](double &u, double &v) {
        do {
            u = rng.Range(-1.0, 1.0);
            v = rng.Range(-1.0, 1.0);
        } while (u * u + v * v > 1.0);
    };
    double area = PI * rx * ry;
    for (int k = 0; k < (int)(area * 4000.0); k++) {
        double u, v;
        inside(u, v);
        GardenVec p = place(u, v);
        Disc(cr, p.x, p.y, rng.Range(0.002, 0.004), rng.Unit() < 0.5 ? Hex(0x3a271b) : Hex(0x63462f), 0.8);
    }
    for (int k = 0; k < (int)(area * 1400.0); k++) {
        double u, v;
        inside(u, v);
        GardenVec p = place(u, v);
        ShadedDisc(cr, p.x, p.y, rng.Range(0.008, 0.013), Mix(Hex(0x2f6a26), Hex(0x4a8c33), rng.Unit()));
    }
    // Rows of one colour across the bed, as planted.
    for (int k = 0; k < (int)(area * 4200.0); k++) {
        double u, v;
        inside(u, v);
        GardenVec p = place(u, v);
        size_t row = std::min(colours.size() - 1, (size_t)((v + 1.0) * 0.5 * colours.size()));
        Flower(cr, p.x, p.y, rng.Range(0.008, 0.012), 5, rng.Range(0.0, 2.0 * PI), colours[row], Hex(0xf6d64a));
    }
}

void PaintStump(cairo_t *cr, const GardenDecoration &d, DataGenRandom &rng)
{
    double r = d.radius;
    Disc(cr, d.at.x, d.at.y, r, Hex(0x4d3422));
    Disc(cr, d.at.x, d.at.y, r * 0.84, Hex(0xc79d6b));
    cairo_set_line_width(cr, 1.3 * PIXEL);
    for (int k = 1; k <= 6; k++) {
        cairo_new_path(cr);
        EllipsePath(cr, d.at.x + r * 0.03, d.at.y + r * 0.02, r * 0.13 * k, r * 0.125 * k, rng.Range(0.0, PI));
        Paint(cr, Hex(0x9c7147), 0.7);
        cairo_stroke(cr);
    }
    for (int k = 0; k < 3; k++) {
        double a = rng.Range(0.0, 2.0 * PI);
        cairo_move_to(cr, d.at.x + std::cos(a) * r * 0.3, d.at.y + std::sin(a) * r * 0.3);
        cairo_line_to(cr, d.at.x + std::cos(a) * r * 0.84, d.at.y + std::sin(a) * r * 0.84);
        Paint(cr, Hex(0x4d3422), 0.8);
        cairo_set_line_width(cr, 2.0 * PIXEL);
        cairo_stroke(cr);
    }
}

void PaintPumpkin(cairo_t *cr, const GardenDecoration &d, DataGenRandom &rng)
{
    GardenColour c = ColoursOr(d, {Hex(0xe07a22)})[0];
    double r = d.radius;
    ShadedDisc(cr, d.at.x, d.at.y, r, c, 1.3, 0.65);
    cairo_set_line_width(cr, r * 0.07);
    for (int k = 0; k < 8; k++) {
        double a = k * PI / 4.0 + rng.Range(-0.1, 0.1);
        cairo_new_path(cr);
        cairo_move_to(cr, d.at.x + std::cos(a) * r * 0.15, d.at.y + std::sin(a) * r * 0.15);
        cairo_curve_to(cr, d.at.x + std::cos(a + 0.2) * r * 0.6, d.at.y + std::sin(a + 0.2) * r * 0.6,
                       d.at.x + std::cos(a) * r * 0.9, d.at.y + std::sin(a) * r * 0.9, d.at.x + std::cos(a) * r * 0.98,
                       d.at.y + std::sin(a) * r * 0.98);
        Paint(cr, Scale(c, 0.6), 0.5);
        cairo_stroke(cr);
    }
    Leaf(cr, d.at.x + r * 0.35, d.at.y - r * 0.25, r * 0.45, rng.Range(-1.0, 0.0), Hex(0x4d7a2a));
    Disc(cr, d.at.x, d.at.y, r * 0.16, Hex(0x5b6b2a));
}

void PaintBirdbath(cairo_t *cr, const GardenDecoration &d)
{
    double r = d.radius;
    ShadedDisc(cr, d.at.x, d.at.y, r, Hex(0xc9c3b6), 1.15, 0.7);
    cairo_pattern_t *water = cairo_pattern_create_radial(d.at.x, d.at.y, 0.0, d.at.x, d.at.y, r * 0.74);
    cairo_pattern_add_color_stop_rgb(water, 0.0, 0.42, 0.62, 0.72);
    cairo_pattern_add_color_stop_rgb(water, 1.0, 0.30, 0.48, 0.58);
    cairo_new_path(cr);
    cairo_arc(cr, d.at.x, d.at.y, r * 0.74, 0.0, 2.0 * PI);
    cairo_set_source(cr, water);
    cairo_fill(cr);
    cairo_pattern_destroy(water);
    cairo_new_path(cr);
    cairo_arc(cr, d.at.x, d.at.y, r * 0.5, PI * 1.05, PI * 1.45);
    cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.5);
    cairo_set_line_width(cr, r * 0.06);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
    cairo_new_path(cr);
    cairo_arc(cr, d.at.x, d.at.y, r * 0.74, 0.0, 2.0 * PI);
    Paint(cr, Hex(0x8a8477), 0.8);
    cairo_set_line_width(cr, 1.5 * PIXEL);
    cairo_stroke(cr);
}

void PaintPot(cairo_t *cr, const GardenDecoration &d, DataGenRandom &rng)
{
    std::vector<GardenColour> colours = ColoursOr(d, {Hex(0x4f9134), Hex(0xe0405a)});
    double r = d.radius;
    ShadedDisc(cr, d.at.x, d.at.y, r, Hex(0xbf6a3d), 1.2, 0.7);
    Disc(cr, d.at.x, d.at.y, r * 0.8, Hex(0x3f2a1c));
    for (int k = 0; k < 7; k++) {
        double a = k * 2.0 * PI / 7.0 + rng.Range(-0.2, 0.2);
        ShadedDisc(cr, d.at.x + std::cos(a) * r * 0.38, d.at.y + std::sin(a) * r * 0.38, r * 0.38, colours[0]);
    }
    for (size_t c = 1; c < colours.size(); c++) {
        for (int k = 0; k < 5; k++) {
            double a = rng.Range(0.0, 2.0 * PI), dist = r * rng.Range(0.0, 0.55);
            Flower(cr, d.at.x + std::cos(a) * dist, d.at.y + std::sin(a) * dist, r * 0.22, 5, a, colours[c],
                   Hex(0xf6d64a));
        }
    }
}

void PaintLeafPile(cairo_t *cr, const GardenDecoration &d, DataGenRandom &rng)
{
    std::vector<GardenColour> colours =
        ColoursOr(d, {Hex(0xd9641e), Hex(0xe9a227), Hex(0xb8321f), Hex(0x9a5a24), Hex(0xf0c43a)});
    double turn = d.angle * PI / 180.0;
    for (int k = 0; k < (int)(d.radius * d.radius_y * 60000.0); k++) {
        double a = rng.Range(0.0, 2.0 * PI), dist = std::pow(rng.Unit(), 0.7) * 0.88;
        double lx = std::cos(a) * d.radius * dist, ly = std::sin(a) * d.radius_y * dist;
        double x = d.at.x + lx * std::cos(turn) - ly * std::sin(turn);
        double y = d.at.y + lx * std::sin(turn) + ly * std::cos(turn);
        // Leaves deeper in the pile lie in its shade.
        double shade = 0.75 + 0.35 * (k / (d.radius * d.radius_y * 60000.0));
        Leaf(cr, x, y, rng.Range(0.012, 0.019), rng.Range(0.0, 2.0 * PI), Scale(Pick(colours, rng), shade));
    }
}

// Flat things first, tall things last, so canopies overlap what is below.
int DrawOrder(const std::string &kind)
{
    static const char *order[] = {"pond", "bed", "leaves", "stump", "rock", "pumpkin", "birdbath", "pot", "bush", "tree"};
    for (int i = 0; i < (int)(sizeof(order) / sizeof(order[0])); i++)
        if (kind == order[i])
            return i;
    return 0;
}

void PaintDecorations(cairo_t *cr, const GardenDefinition &garden, DataGenRandom &rng)
{
    std::vector<const GardenDecoration *> sorted;
    for (const GardenDecoration &d : garden.decorations)
        sorted.push_back(&d);
    std::stable_sort(sorted.begin(), sorted.end(), [](const GardenDecoration *a, const GardenDecoration *b) {
        return DrawOrder(a->kind) < DrawOrder(b->kind);
    });
    for (const GardenDecoration *d : sorted) {
        if (d->kind == "tree")
            PaintFoliage(cr, *d, 10, rng);
        else if (d->kind == "bush")
            PaintFoliage(cr, *d, 7, rng);
        else if (d->kind == "rock")
            PaintRock(cr, *d, rng);
        else if (d->kind == "pond")
            PaintPond(cr, *d, rng);
        else if (d->kind == "bed")
            PaintBed(cr, *d, rng);
        else if (d->kind == "stump")
            PaintStump(cr, *d, rng);
        else if (d->kind == "pumpkin")
            PaintPumpkin(cr, *d, rng);
        else if (d->kind == "birdbath")
            PaintBirdbath(cr, *d);
        else if (d->kind == "pot")
            PaintPot(cr, *d, rng);
        else if (d->kind == "leaves")
            PaintLeafPile(cr, *d, rng);
    }
}

// Shadows go down before the road, so that none ever falls across it.
void PaintShadows(cairo_t *cr, const GardenDefinition &garden)
{
    for (const GardenDecoration &d : garden.decorations) {
        if (d.kind == "pond" || d.kind == "bed")
            continue;
        double strength = d.kind == "tree" ? 0.42 : d.kind == "leaves" ? 0.2 : 0.3;
        SoftShadow(cr, d.at.x, d.at.y, d.radius, d.radius_y, d.angle * PI / 180.0, strength);
    }
}

}  // namespace

void GardenPaint(const GardenDefinition &garden, const GardenRoad &road, cairo_surface_t *surface)
{
    DataGenNoise noise(garden.seed);
    DataGenRandom rng(garden.seed * 7919u + 1u);
    cairo_t *cr = cairo_create(surface);
    cairo_translate(cr, GARDEN_PICTURE_SIZE * 0.5, GARDEN_PICTURE_SIZE * 0.5);
    cairo_scale(cr, GARDEN_PIXELS_PER_UNIT, GARDEN_PIXELS_PER_UNIT);

    PaintGround(surface, garden.ground, noise);
    PaintBlades(cr, garden.ground, rng);
    PaintScatter(cr, garden, road, rng);
    PaintShadows(cr, garden);
    PaintRoadBed(cr, garden.road, road);
    PaintRoadSurface(cr, garden, road, noise);
    PaintRoadEdges(cr, garden, road, rng);
    PaintDecorations(cr, garden, rng);

    cairo_destroy(cr);
    cairo_surface_flush(surface);
}
