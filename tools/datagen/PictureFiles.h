// The painted pictures and the picture descriptions of the data folder: all
// files of DataPictureList.h except the gardens.
#pragma once

#include <string>
#include <vector>

// Paints every picture into `out_dir` (side by side on several threads) and
// copies the picture descriptions from `source_dir` after checking them.
// Each problem is added to `errors`; true when there was none.
bool PicturesWriteAll(const std::string &source_dir, const std::string &out_dir, std::vector<std::string> *errors);

// Checks a picture description: a JSON object with "Textures" whose every
// "Filename" is a name the game's texture hooks know, and "Sets" or
// "Layers". False with *error set otherwise.
bool PicturesCheckDescription(const std::string &text, std::string *error);
