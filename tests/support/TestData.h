// The generated data folder seen as "Data" in the test's working folder, as
// the program sees it beside itself.
#pragma once

#include <filesystem>

inline void LinkGeneratedDataFolder()
{
    if (!std::filesystem::exists("Data"))
        std::filesystem::create_directory_symlink(HW_DATA_DIR, "Data");
}
