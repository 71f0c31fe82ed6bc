// Drag-and-flick scrolling: construction, and the tick while off.
#include "gui/EngScroller.h"

EngScroller::EngScroller() : m_on(0) {}

EngScroller::~EngScroller()
{
    TurnOff();
}

char EngScroller::Tick()
{
    // An idle scroller has nothing to glide and no tap to report.
    return 0;
}
