// Draws a garden picture from its definition and its built road.
#pragma once

#include "tools/datagen/GardenDefinition.h"
#include "tools/datagen/GardenRoad.h"

#include <cairo.h>

// The picture is square; the board's -1..1 spans its middle seven eighths,
// so board (0, 0) is the picture's centre and one board unit is 448 pixels.
const int GARDEN_PICTURE_SIZE = 1024;
const double GARDEN_PIXELS_PER_UNIT = 448.0;

// Paints the whole picture onto an ARGB32 surface of GARDEN_PICTURE_SIZE
// pixels: ground, strewn details, the road along the road's own step points,
// and the decorations.
void GardenPaint(const GardenDefinition &garden, const GardenRoad &road, cairo_surface_t *surface);
