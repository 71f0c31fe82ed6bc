// The two run-time files of each garden, made together from its definition
// in data/gardens: the picture "Data/110<g>.dat" and the road data
// "Data/113<g>.dat".
#pragma once

#include "tools/datagen/GardenDefinition.h"
#include "tools/datagen/GardenRoad.h"
#include "game/RoadDataFile.h"

#include <string>

const int GARDEN_COUNT = 4;

// Fills the road data from the built road: steps, headings, and the ground
// map with the road (as drawn, plus its margin) and every decoration's
// footprint blocked. `data` must be zeroed.
void GardenFillRoadData(const GardenDefinition &garden, const GardenRoad &road, _TraverseData *data);

// Checks that no decoration reaches onto the road's blocked band, where it
// would be drawn over the road that bugs walk.
bool GardenCheckDecorations(const GardenDefinition &garden, const GardenRoad &road, std::string *error);

// Reads "<source>/gardens/garden<g>.json" and writes both files of garden g
// into `out_dir`.
bool GardenWriteFiles(int g, const std::string &source_dir, const std::string &out_dir, std::string *error);
