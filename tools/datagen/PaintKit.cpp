#include "tools/datagen/PaintKit.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

Rgb Hex(unsigned rgb)
{
    return Rgb{((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0};
}

Rgb Mix(Rgb a, Rgb b, double t) { return Rgb{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

Rgb Shade(Rgb c, double k)
{
    auto f = [k](double v) { return std::min(1.0, std::max(0.0, v * k)); };
    return Rgb{f(c.r), f(c.g), f(c.b)};
}

void SetColour(cairo_t *cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void RoundedRectPath(cairo_t *cr, double x, double y, double w, double h, double r)
{
    r = std::min(r, std::min(w, h) * 0.5);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -PAINT_PI / 2, 0.0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0.0, PAINT_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, PAINT_PI / 2, PAINT_PI);
    cairo_arc(cr, x + r, y + r, r, PAINT_PI, 1.5 * PAINT_PI);
    cairo_close_path(cr);
}

void EllipsePath(cairo_t *cr, double x, double y, double rx, double ry, double angle)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, 2.0 * PAINT_PI);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void StarPath(cairo_t *cr, double x, double y, double r, double inner, int points, double turn)
{
    cairo_new_sub_path(cr);
    int corners = inner < 1.0 ? points * 2 : points;
    for (int i = 0; i < corners; i++) {
        double a = turn + i * 2.0 * PAINT_PI / corners;
        double radius = (inner < 1.0 && i % 2 == 1) ? r * inner : r;
        double px = x + std::cos(a) * radius, py = y + std::sin(a) * radius;
        if (i == 0)
            cairo_move_to(cr, px, py);
        else
            cairo_line_to(cr, px, py);
    }
    cairo_close_path(cr);
}

void FillLit(cairo_t *cr, Rgb c, double light, double dark)
{
    double x0, y0, x1, y1;
    cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
    double w = x1 - x0, h = y1 - y0, r = std::max(w, h) * 0.62;
    double cx = (x0 + x1) * 0.5, cy = (y0 + y1) * 0.5;
    cairo_pattern_t *p = cairo_pattern_create_radial(cx - w * 0.18, cy - h * 0.2, 0.0, cx, cy, r);
    Rgb hi = Shade(c, light), lo = Shade(c, dark);
    cairo_pattern_add_color_stop_rgb(p, 0.0, hi.r, hi.g, hi.b);
    cairo_pattern_add_color_stop_rgb(p, 0.55, c.r, c.g, c.b);
    cairo_pattern_add_color_stop_rgb(p, 1.0, lo.r, lo.g, lo.b);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

void FillVertical(cairo_t *cr, double top, double bottom, Rgb from, Rgb to, double alpha)
{
    cairo_pattern_t *p = cairo_pattern_create_linear(0.0, top, 0.0, bottom);
    cairo_pattern_add_color_stop_rgba(p, 0.0, from.r, from.g, from.b, alpha);
    cairo_pattern_add_color_stop_rgba(p, 1.0, to.r, to.g, to.b, alpha);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
}

namespace {

// One box pass of the given radius along every row (or column).
void BoxPass(std::vector<float> &v, int width, int height, int radius, bool rows)
{
    int lines = rows ? height : width, length = rows ? width : height;
    std::vector<float> line((size_t)length), out((size_t)length);
    for (int l = 0; l < lines; l++) {
        for (int i = 0; i < length; i++)
            line[(size_t)i] = v[rows ? (size_t)l * width + i : (size_t)i * width + l];
        // Zero beyond both ends, so edges fade out rather than smear.
        double sum = 0.0;
        int window = radius * 2 + 1;
        for (int i = 0; i <= radius && i < length; i++)
            sum += line[(size_t)i];
        for (int i = 0; i < length; i++) {
            out[(size_t)i] = (float)(sum / window);
            int add = i + radius + 1, drop = i - radius;
            if (add < length)
                sum += line[(size_t)add];
            if (drop >= 0)
                sum -= line[(size_t)drop];
        }
        for (int i = 0; i < length; i++)
            v[rows ? (size_t)l * width + i : (size_t)i * width + l] = out[(size_t)i];
    }
}

}  // namespace

void BlurSurface(cairo_surface_t *surface, double radius)
{
    int r = std::max(1, (int)std::lround(radius / 1.7));
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    unsigned char *data = cairo_image_surface_get_data(surface);
    bool a8 = cairo_image_surface_get_format(surface) == CAIRO_FORMAT_A8;
    int channels = a8 ? 1 : 4;
    for (int c = 0; c < channels; c++) {
        std::vector<float> v((size_t)width * height);
        for (int y = 0; y < height; y++)
            for (int x = 0; x < width; x++)
                v[(size_t)y * width + x] =
                    a8 ? data[(size_t)y * stride + x] : (float)((((const uint32_t *)(data + (size_t)y * stride))[x] >> (c * 8)) & 255);
        for (int pass = 0; pass < 3; pass++) {
            BoxPass(v, width, height, r, true);
            BoxPass(v, width, height, r, false);
        }
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                unsigned value = (unsigned)std::lround(std::min(255.0f, std::max(0.0f, v[(size_t)y * width + x])));
                if (a8) {
                    data[(size_t)y * stride + x] = (unsigned char)value;
                } else {
                    uint32_t *p = &((uint32_t *)(data + (size_t)y * stride))[x];
                    *p = (*p & ~(255u << (c * 8))) | (value << (c * 8));
                }
            }
        }
    }
    cairo_surface_mark_dirty(surface);
}

void SoftShadow(cairo_t *cr, const ShapeFn &shape, double dx, double dy, double blur, double alpha, Rgb colour)
{
    cairo_surface_t *target = cairo_get_target(cr);
    int width = cairo_image_surface_get_width(target), height = cairo_image_surface_get_height(target);
    cairo_surface_t *mask = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
    cairo_t *m = cairo_create(mask);
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    cairo_set_matrix(m, &matrix);
    cairo_new_path(m);
    cairo_set_source_rgba(m, 0.0, 0.0, 0.0, 1.0);
    shape(m);
    cairo_destroy(m);
    BlurSurface(mask, blur);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    SetColour(cr, colour, alpha);
    cairo_mask_surface(cr, mask, dx, dy);
    cairo_restore(cr);
    cairo_surface_destroy(mask);
}

namespace {

void SelectFont(cairo_t *cr, double size, bool bold)
{
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    // Unhinted outlines: the same shapes at every size and on every machine.
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

}  // namespace

void TextPath(cairo_t *cr, const std::string &text, double x, double y, double size, bool bold)
{
    SelectFont(cr, size, bold);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_move_to(cr, x - e.x_bearing - e.width * 0.5, y - e.y_bearing - e.height * 0.5);
    cairo_text_path(cr, text.c_str());
}

double TextWidth(cairo_t *cr, const std::string &text, double size, bool bold)
{
    SelectFont(cr, size, bold);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.width;
}

void OutlinedText(cairo_t *cr, const std::string &text, double x, double y, double size, Rgb top, Rgb bottom,
                  Rgb outline_colour, double outline)
{
    cairo_new_path(cr);
    TextPath(cr, text, x, y, size);
    double x0, y0, x1, y1;
    cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, outline * 2.0);
    SetColour(cr, outline_colour);
    cairo_stroke_preserve(cr);
    FillVertical(cr, y0, y1, top, bottom);
    cairo_new_path(cr);
}
