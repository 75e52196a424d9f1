// The pointer's state as the display server sees it, also while the window manager
// holds the mouse (dragging a window frame), when Qt itself gets no events.
#pragma once

namespace playerpointer {

// The left mouse button is down.
bool leftButtonHeld();

} // namespace playerpointer
