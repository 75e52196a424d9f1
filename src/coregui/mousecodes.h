// Mouse buttons and modifier keys as the windows' mouse and key handlers count them:
// Button 1 left, 2 right, 4 middle (added up for the buttons held during a move);
// Shift 1 Shift, 2 Ctrl, 4 Alt (added up).
#pragma once

#include <Qt>

namespace mousecodes {

inline constexpr int Left = 1;
inline constexpr int Right = 2;
inline constexpr int Middle = 4;

inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;

// The one button of a press or release; 0 for any other button.
constexpr int button(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return Left;
    case Qt::RightButton: return Right;
    case Qt::MiddleButton: return Middle;
    default: return 0;
    }
}

// The buttons held (during a move or a drag), added up.
constexpr int buttons(Qt::MouseButtons bs)
{
    return (bs & Qt::LeftButton ? Left : 0) | (bs & Qt::RightButton ? Right : 0) | (bs & Qt::MiddleButton ? Middle : 0);
}

// The modifier keys held, added up.
constexpr int shift(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? Shift : 0) | (m & Qt::ControlModifier ? Ctrl : 0) | (m & Qt::AltModifier ? Alt : 0);
}

} // namespace mousecodes
