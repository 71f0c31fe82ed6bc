// Platform letters and their icons (see the header).
#include "modules/Platform.h"

#include "engine/core/EngDebug.h"
#include "engine/core/EngMath.h"
#include "engine/graphics/EngTexture.h"

#include <cstring>

namespace {

const char kValidLetters[] = "ABFILMPRSWbmr";

// Each letter's cell in the icons texture (row 3 is unused).
const struct {
    char letter;
    int column, row;
} icon_cells[] = {
    {'M', 0, 0}, {'m', 0, 0}, {'W', 1, 0}, {'I', 2, 0}, {'P', 3, 0}, {'A', 0, 1}, {'L', 1, 1},
    {'R', 2, 1}, {'S', 3, 1}, {'F', 0, 2}, {'r', 1, 2}, {'B', 2, 2}, {'b', 3, 2},
};

const float kCell = 0.25f;
const float kInset = 0.01f;
const int kMaxUnknownReports = 20;

EngTexture *icons = nullptr;
int unknown_reports = 0;

} // namespace

char PlatformGetCurrentPlatform()
{
    return 'W';
}

bool PlatformIsPlatformValid(char platform, char report)
{
    if (platform != 0 && strchr(kValidLetters, platform))
        return true;
    if (report)
        DebugError("PlatformIsPlatformValid", "Invalid platform '%d'.", platform);
    return false;
}

bool PlatformCreateGraphics()
{
    if (icons && icons->IsCreated())
        return true;
    if (!icons)
        icons = new EngTexture();
    icons->Destroy();
    if (!icons->LoadFromFile("Data\\Common\\Platform.png", 1, 2)) {
        DebugError("PlatformCreateGraphics", "Could not create texture");
        return false;
    }
    return true;
}

void PlatformDestroyGraphics()
{
    if (icons && icons->IsCreated())
        icons->Destroy();
}

void PlatformDrawIcon(char platform, const _Dimension *rect, float alpha)
{
    if (!icons || !icons->IsCreated() || !rect)
        return;
    for (const auto &cell : icon_cells) {
        if (cell.letter != platform)
            continue;
        float u = cell.column * kCell, v = cell.row * kCell;
        icons->PositionRatioedToDimension(rect);
        icons->DrawWithTextureCoordinatesAndColour(u + kInset, v + kInset, u + kCell - kInset, v + kCell - kInset, 1,
                                                   1, 1, alpha);
        if (alpha != 1)
            icons->SetColour(1, 1, 1, 1);
        return;
    }
    if (unknown_reports < kMaxUnknownReports) {
        unknown_reports++;
        DebugError("PlatformDrawIcon", "Unknown platform: %c", platform);
    }
}

void PlatformResetForTests()
{
    delete icons;
    icons = nullptr;
    unknown_reports = 0;
}
