// Writing the generated files: plain bytes, and cairo pictures as PNG.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <string>

// Writes `size` bytes to `path`, replacing any file there.
bool DataGenWriteFile(const std::string &path, const void *bytes, size_t size, std::string *error);

// Writes an ARGB32 cairo surface as an 8-bit RGBA PNG (straight alpha).
bool DataGenWritePng(cairo_surface_t *surface, const std::string &path, std::string *error);

// PngOneOverAlpha is for pictures the game blends with ONE / SRCALPHA (the
// texture cursor): colour premultiplied by coverage, alpha = 1 - coverage,
// so the screen shows through where the picture is clear.
enum class DataImageFormat { Png, Tga, Jpeg, PngOneOverAlpha };

// Writes an ARGB32 cairo surface as PNG or TGA (8-bit RGBA, straight alpha),
// as JPEG (RGB, the picture laid on black) or in the ONE / SRCALPHA form.
bool DataGenWriteImage(cairo_surface_t *surface, DataImageFormat format, const std::string &path, std::string *error);
