// Writes a contact sheet of the generated pictures for review: every picture
// of the picture list in a labelled cell, on a checkerboard that shows its
// transparent parts. The game never reads it.
//   hw_contact_sheet <Data folder> <sheet.png> [<part of a file name>]
// Pictures that are missing or do not decode get a red cell.
#include "tools/datagen/DataGenFiles.h"
#include "tools/datagen/DataPictureList.h"

#include <cairo.h>
#include <stb_image.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const int CELL = 200, LABEL = 30, PAD = 10, COLUMNS = 10;

void Checkerboard(cairo_t *cr, double x, double y, double w, double h)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    for (int j = 0; j * 10 < h; j++) {
        for (int i = 0; i * 10 < w; i++) {
            double v = (i + j) % 2 ? 0.78 : 0.62;
            cairo_set_source_rgb(cr, v, v, v);
            cairo_rectangle(cr, x + i * 10, y + j * 10, 10, 10);
            cairo_fill(cr);
        }
    }
    cairo_restore(cr);
}

// The picture as a cairo surface (premultiplied), or null.
cairo_surface_t *Load(const std::string &path, int *width, int *height)
{
    int channels = 0;
    unsigned char *pixels = stbi_load(path.c_str(), width, height, &channels, 4);
    if (!pixels)
        return nullptr;
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, *width, *height);
    unsigned char *data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < *height; y++) {
        uint32_t *row = (uint32_t *)(data + (size_t)y * stride);
        for (int x = 0; x < *width; x++) {
            const unsigned char *p = pixels + ((size_t)y * *width + x) * 4;
            unsigned a = p[3];
            row[x] = (a << 24) | ((p[0] * a + 127) / 255 << 16) | ((p[1] * a + 127) / 255 << 8) | ((p[2] * a + 127) / 255);
        }
    }
    cairo_surface_mark_dirty(surface);
    stbi_image_free(pixels);
    return surface;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 4) {
        fprintf(stderr, "usage: %s <Data folder> <sheet.png> [<part of a file name>]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1], filter = argc == 4 ? argv[3] : "";
    std::vector<const DataPicture *> shown;
    for (const DataPicture &p : DATA_PICTURES)
        if (std::string(p.file).find(filter) != std::string::npos)
            shown.push_back(&p);
    int columns = std::max(1, std::min(COLUMNS, (int)shown.size()));
    int rows = ((int)shown.size() + columns - 1) / columns;
    int width = columns * (CELL + PAD) + PAD, height = rows * (CELL + LABEL + PAD) + PAD;
    cairo_surface_t *sheet = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t *cr = cairo_create(sheet);
    cairo_set_source_rgb(cr, 0.16, 0.17, 0.18);
    cairo_paint(cr);
    int failed = 0;
    for (size_t i = 0; i < shown.size(); i++) {
        const DataPicture &p = *shown[i];
        double x = PAD + (double)(i % (size_t)columns) * (CELL + PAD);
        double y = PAD + (double)(i / (size_t)columns) * (CELL + LABEL + PAD);
        int w = 0, h = 0;
        cairo_surface_t *picture = Load(folder + "/" + p.file, &w, &h);
        if (!picture) {
            cairo_set_source_rgb(cr, 0.7, 0.1, 0.1);
            cairo_rectangle(cr, x, y, CELL, CELL);
            cairo_fill(cr);
            failed++;
        } else {
            double k = std::min((double)CELL / w, (double)CELL / h);
            double dw = w * k, dh = h * k, dx = x + (CELL - dw) * 0.5, dy = y + (CELL - dh) * 0.5;
            Checkerboard(cr, dx, dy, dw, dh);
            cairo_save(cr);
            cairo_translate(cr, dx, dy);
            cairo_scale(cr, k, k);
            cairo_set_source_surface(cr, picture, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
            cairo_surface_destroy(picture);
        }
        cairo_set_source_rgb(cr, 0.92, 0.92, 0.9);
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, 10.5);
        cairo_move_to(cr, x, y + CELL + 12);
        cairo_show_text(cr, p.file);
        cairo_move_to(cr, x, y + CELL + 25);
        std::string what = std::string(p.what) + " " + std::to_string(w) + "x" + std::to_string(h);
        cairo_show_text(cr, what.c_str());
    }
    cairo_destroy(cr);
    std::string error;
    bool ok = DataGenWritePng(sheet, argv[2], &error);
    cairo_surface_destroy(sheet);
    if (!ok) {
        fprintf(stderr, "contact sheet: %s\n", error.c_str());
        return 1;
    }
    if (failed)
        fprintf(stderr, "contact sheet: %d pictures missing or unreadable\n", failed);
    return 0;
}
