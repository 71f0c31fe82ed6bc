#include "tools/datagen/DataGenFiles.h"

#include <stb_image_write.h>

#include <cstdint>
#include <cstdio>
#include <vector>

bool DataGenWriteFile(const std::string &path, const void *bytes, size_t size, std::string *error)
{
    FILE *file = fopen(path.c_str(), "wb");
    if (!file) {
        *error = path + ": cannot be created";
        return false;
    }
    bool written = fwrite(bytes, 1, size, file) == size;
    if (fclose(file) != 0 || !written) {
        *error = path + ": could not be written";
        return false;
    }
    return true;
}

namespace {

void AppendBytes(void *context, void *data, int size)
{
    std::vector<unsigned char> *out = (std::vector<unsigned char> *)context;
    out->insert(out->end(), (unsigned char *)data, (unsigned char *)data + size);
}

}  // namespace

bool DataGenWritePng(cairo_surface_t *surface, const std::string &path, std::string *error)
{
    cairo_surface_flush(surface);
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    const unsigned char *data = cairo_image_surface_get_data(surface);
    if (cairo_image_surface_get_format(surface) != CAIRO_FORMAT_ARGB32 || !data) {
        *error = path + ": the picture is not an ARGB32 surface";
        return false;
    }
    // Cairo keeps native-endian words with premultiplied alpha.
    std::vector<unsigned char> rgba((size_t)width * height * 4);
    for (int y = 0; y < height; y++) {
        const uint32_t *row = (const uint32_t *)(data + (size_t)y * stride);
        for (int x = 0; x < width; x++) {
            uint32_t p = row[x];
            unsigned a = p >> 24, r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
            if (a != 0 && a != 255) {
                r = (r * 255 + a / 2) / a;
                g = (g * 255 + a / 2) / a;
                b = (b * 255 + a / 2) / a;
            }
            unsigned char *out = &rgba[((size_t)y * width + x) * 4];
            out[0] = (unsigned char)r;
            out[1] = (unsigned char)g;
            out[2] = (unsigned char)b;
            out[3] = (unsigned char)a;
        }
    }
    std::vector<unsigned char> png;
    if (!stbi_write_png_to_func(AppendBytes, &png, width, height, 4, rgba.data(), width * 4)) {
        *error = path + ": PNG encoding failed";
        return false;
    }
    return DataGenWriteFile(path, png.data(), png.size(), error);
}
