// Drag-and-flick scrolling of an area by touch. Windows, tab panels and
// script buttons own one and drive it only on tablets; on the desktop it is
// constructed off, turned on by nobody, and its tick does nothing.
#pragma once

class EngScroller {
public:
    EngScroller();
    ~EngScroller();
    EngScroller(const EngScroller &) = delete;
    EngScroller &operator=(const EngScroller &) = delete;

    // Clears the on flag only.
    void TurnOff() { m_on = 0; }
    char IsOn() const { return m_on; }
    // True when the scrolled position changed or a tap is pending; false
    // while off.
    char Tick();

private:
    char m_on;
};
