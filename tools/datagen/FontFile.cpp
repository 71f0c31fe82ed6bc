#include "tools/datagen/FontFile.h"

#include "tools/datagen/DataGenFiles.h"

#include <fstream>
#include <iterator>
#include <vector>

bool FontWriteFile(const std::string &out_dir, std::string *error)
{
    std::ifstream in(HW_FONT_SOURCE, std::ios::binary);
    std::vector<char> bytes;
    if (in)
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (bytes.empty()) {
        *error = std::string(HW_FONT_SOURCE) + ": cannot be read (is fonts-dejavu-core installed?)";
        return false;
    }
    return DataGenWriteFile(out_dir + "/1000.dat", bytes.data(), bytes.size(), error);
}
