// Writing the generated files: plain bytes, and cairo pictures as PNG.
#pragma once

#include <cairo.h>

#include <cstddef>
#include <string>

// Writes `size` bytes to `path`, replacing any file there.
bool DataGenWriteFile(const std::string &path, const void *bytes, size_t size, std::string *error);

// Writes an ARGB32 cairo surface as an 8-bit RGBA PNG (straight alpha).
bool DataGenWritePng(cairo_surface_t *surface, const std::string &path, std::string *error);

enum class DataImageFormat { Png, Tga, Jpeg };

// Writes an ARGB32 cairo surface as PNG or TGA (8-bit RGBA, straight alpha)
// or as JPEG (RGB, the picture laid on black).
bool DataGenWriteImage(cairo_surface_t *surface, DataImageFormat format, const std::string &path, std::string *error);
