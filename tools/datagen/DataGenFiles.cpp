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

// Cairo keeps native-endian words with premultiplied alpha; the writers take
// straight RGBA bytes.
bool StraightRgba(cairo_surface_t *surface, const std::string &path, std::vector<unsigned char> *rgba,
                  std::string *error)
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
    rgba->assign((size_t)width * height * 4, 0);
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
            unsigned char *out = &(*rgba)[((size_t)y * width + x) * 4];
            out[0] = (unsigned char)r;
            out[1] = (unsigned char)g;
            out[2] = (unsigned char)b;
            out[3] = (unsigned char)a;
        }
    }
    return true;
}

}  // namespace

bool DataGenWriteImage(cairo_surface_t *surface, DataImageFormat format, const std::string &path, std::string *error)
{
    std::vector<unsigned char> rgba;
    if (!StraightRgba(surface, path, &rgba, error))
        return false;
    int width = cairo_image_surface_get_width(surface);
    int height = cairo_image_surface_get_height(surface);
    std::vector<unsigned char> encoded;
    int written = 0;
    switch (format) {
    case DataImageFormat::Png:
        written = stbi_write_png_to_func(AppendBytes, &encoded, width, height, 4, rgba.data(), width * 4);
        break;
    case DataImageFormat::Tga:
        written = stbi_write_tga_to_func(AppendBytes, &encoded, width, height, 4, rgba.data());
        break;
    case DataImageFormat::Jpeg:
        // JPEG has no alpha: the picture is taken as it stands on black.
        for (size_t i = 0; i < rgba.size(); i += 4)
            for (int c = 0; c < 3; c++)
                rgba[i + (size_t)c] = (unsigned char)((rgba[i + (size_t)c] * rgba[i + 3] + 127) / 255);
        written = stbi_write_jpg_to_func(AppendBytes, &encoded, width, height, 4, rgba.data(), 92);
        break;
    case DataImageFormat::PngOneOverAlpha:
        for (size_t i = 0; i < rgba.size(); i += 4) {
            for (int c = 0; c < 3; c++)
                rgba[i + (size_t)c] = (unsigned char)((rgba[i + (size_t)c] * rgba[i + 3] + 127) / 255);
            rgba[i + 3] = (unsigned char)(255 - rgba[i + 3]);
        }
        written = stbi_write_png_to_func(AppendBytes, &encoded, width, height, 4, rgba.data(), width * 4);
        break;
    }
    if (!written) {
        *error = path + ": encoding failed";
        return false;
    }
    return DataGenWriteFile(path, encoded.data(), encoded.size(), error);
}

bool DataGenWritePng(cairo_surface_t *surface, const std::string &path, std::string *error)
{
    return DataGenWriteImage(surface, DataImageFormat::Png, path, error);
}
