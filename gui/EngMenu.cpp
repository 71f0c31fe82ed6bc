// The menu bar: without a menu every query answers "none".
#include "gui/EngMenu.h"

#include "engine/runtime/EngDevice.h"

namespace {

// The bar's state; nothing in this program builds a menu.
struct MenuState {
    char exists = 0;
    char enabled = 0;
    int height = 0;
    _Dimension crop = {0, 0, 0, 0};
};

MenuState menu;

} // namespace

char EngMenuExists()
{
    return menu.exists;
}

char EngMenuIsEnabled()
{
    return menu.exists && menu.enabled;
}

char EngMenuEnable()
{
    if (!menu.exists)
        return 0;
    menu.enabled = 1;
    return 1;
}

char EngMenuDisable()
{
    if (!menu.exists)
        return 0;
    menu.enabled = 0;
    return 1;
}

int EngMenuGetHeight()
{
    return menu.exists ? menu.height : 0;
}

char EngMenuMouseMove(int, int)
{
    return 0;
}

char EngMenuMousePress(char, char)
{
    return 0;
}

const _Dimension *EngMenuTurnOnCropToDimension(const _Dimension *dimension)
{
    if (!eng_device || !dimension)
        return nullptr;
    eng_device->TurnOnCropToDimension(dimension);
    menu.crop = *dimension;
    return &menu.crop;
}

const _Dimension *EngMenuTurnOnCrop(float x, float y, float w, float h)
{
    if (!eng_device)
        return nullptr;
    eng_device->TurnOnCrop(x, y, w, h);
    menu.crop = {x, y, w, h};
    return &menu.crop;
}
