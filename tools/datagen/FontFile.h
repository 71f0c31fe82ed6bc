// The game font "Data/1000.dat": a copy of DejaVu Sans Bold from the
// system's fonts-dejavu-core, whose path the build passes in as
// HW_FONT_SOURCE. Bold keeps the small play-screen texts readable.
#pragma once

#include <string>

bool FontWriteFile(const std::string &out_dir, std::string *error);
