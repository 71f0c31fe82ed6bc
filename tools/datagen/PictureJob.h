// One painted picture of the data folder: the file it becomes and the
// painter that draws it. The runner (PictureFiles) gives each painter a clear
// ARGB32 surface of the size that DataPictureList.h sets for the file.
#pragma once

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

struct PictureJob {
    std::string file;  // relative to the Data folder, as in DataPictureList.h
    // Paints onto `cr` (a width x height surface); false with *error set
    // when the picture cannot be made.
    std::function<bool(cairo_t *cr, int width, int height, std::string *error)> paint;
    // Written for blending with ONE / SRCALPHA instead of ordinary alpha.
    bool one_over_alpha = false;
};

// Each painter adds the jobs of the files it draws.
void BugPainterAddJobs(std::vector<PictureJob> *jobs);
void WeaponPainterAddJobs(std::vector<PictureJob> *jobs);
void InterfacePainterAddJobs(std::vector<PictureJob> *jobs);
void SkinPainterAddJobs(std::vector<PictureJob> *jobs);
void FlagPainterAddJobs(std::vector<PictureJob> *jobs);
void AdPainterAddJobs(std::vector<PictureJob> *jobs);
