// Small drawing helpers shared by the picture painters: colours, shaded
// shapes, blurred soft shadows and glows, and text in DejaVu Sans. Every
// helper draws through cairo in the caller's current coordinates.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>

struct Rgb {
    double r = 0.0, g = 0.0, b = 0.0;  // 0..1
};

const double PAINT_PI = 3.14159265358979323846;

Rgb Hex(unsigned rgb);
Rgb Mix(Rgb a, Rgb b, double t);
// Lighter (k > 1) or darker (k < 1), clamped.
Rgb Shade(Rgb c, double k);
void SetColour(cairo_t *cr, Rgb c, double alpha = 1.0);

// Paths (no fill).
void RoundedRectPath(cairo_t *cr, double x, double y, double w, double h, double r);
void EllipsePath(cairo_t *cr, double x, double y, double rx, double ry, double angle = 0.0);
// A regular polygon or star: `points` outer corners of radius r, inner
// corners of radius r * inner (1 for a polygon), the first at `turn`.
void StarPath(cairo_t *cr, double x, double y, double r, double inner, int points, double turn);

// Fills the current path with a lit look: a light spot up and to the left
// and a darker rim; keeps the path.
void FillLit(cairo_t *cr, Rgb c, double light = 1.35, double dark = 0.6);
// Fills the current path with a top-to-bottom gradient; keeps the path.
void FillVertical(cairo_t *cr, double top, double bottom, Rgb from, Rgb to, double alpha = 1.0);

// Draws a silhouette (fills and strokes) into the given context, whose
// source is opaque black and whose coordinates are the caller's.
using ShapeFn = std::function<void(cairo_t *)>;

// A soft shadow of `shape`, blurred by `blur` device pixels, moved by
// (dx, dy) device pixels, drawn in `colour` with `alpha` under whatever
// follows.
void SoftShadow(cairo_t *cr, const ShapeFn &shape, double dx, double dy, double blur, double alpha,
                Rgb colour = Rgb{0.0, 0.03, 0.0});

// Blurs the alpha of a whole ARGB32 or A8 surface in place: three box
// passes, close to a Gaussian of the given radius in pixels.
void BlurSurface(cairo_surface_t *surface, double radius);

// Text in DejaVu Sans (bold when asked), `size` in user units, centred on
// (x, y) by its ink box; adds to the current path.
void TextPath(cairo_t *cr, const std::string &text, double x, double y, double size, bool bold = true);
// The ink width of such text.
double TextWidth(cairo_t *cr, const std::string &text, double size, bool bold = true);
// Outlined, filled text: a dark outline of `outline` user units under a
// vertical gradient fill.
void OutlinedText(cairo_t *cr, const std::string &text, double x, double y, double size, Rgb top, Rgb bottom,
                  Rgb outline_colour, double outline);
