// The classic desktop system colours as one fixed table, so that every control
// looks the same whatever theme the user's desktop runs.
//
// Colour values are 32-bit integers in the 0x00BBGGRR layout. A value with the
// high bit set (0x800000nn) is a reference to system colour nn instead of a
// colour of its own.
#pragma once

#include <QColor>
#include <cstdint>

namespace syscolors {

// Indexes of the system colours the program uses by name.
enum Index : int {
    ScrollBar = 0,
    Background = 1,
    ActiveCaption = 2,
    InactiveCaption = 3,
    Menu = 4,
    Window = 5,
    WindowFrame = 6,
    MenuText = 7,
    WindowText = 8,
    CaptionText = 9,
    ActiveBorder = 10,
    InactiveBorder = 11,
    AppWorkspace = 12,
    Highlight = 13,
    HighlightText = 14,
    ButtonFace = 15,
    ButtonShadow = 16,
    GrayText = 17,
    ButtonText = 18,
    InactiveCaptionText = 19,
    ButtonHighlight = 20,
    DarkShadow3D = 21,
    Light3D = 22,
    InfoText = 23,
    InfoBackground = 24,
    HotLight = 26,
    GradientActiveCaption = 27,
    GradientInactiveCaption = 28,
    MenuHighlight = 29,
    MenuBar = 30,
};

inline constexpr int count = 31;
inline constexpr std::uint32_t systemFlag = 0x80000000u;

// The system colour with this index as 0x00BBGGRR; 0 (black) for an index
// outside the table.
std::uint32_t sysColor(int index);

// The reference form of system colour index: 0x80000000 | index.
constexpr std::uint32_t sysRef(int index) { return systemFlag | static_cast<std::uint32_t>(index); }

// True when value is a system-colour reference (high bit set).
constexpr bool isSystemRef(std::uint32_t value) { return (value & systemFlag) != 0; }

// Turns a colour value into a plain 0x00BBGGRR colour: a system-colour reference
// becomes its table value (black for an unknown index), any other value keeps
// its low 24 bits.
std::uint32_t translate(std::uint32_t value);
inline std::uint32_t translate(int value) { return translate(static_cast<std::uint32_t>(value)); }

// A colour value (either form) as a QColor, fully opaque.
QColor toQColor(std::uint32_t value);
inline QColor toQColor(int value) { return toQColor(static_cast<std::uint32_t>(value)); }

// A QColor as a 0x00BBGGRR value (alpha dropped).
std::uint32_t fromQColor(const QColor &color);

// Builds a 0x00BBGGRR value from its parts, each 0..255.
constexpr std::uint32_t rgb(int r, int g, int b)
{
    return (static_cast<std::uint32_t>(r) & 0xFF) | ((static_cast<std::uint32_t>(g) & 0xFF) << 8)
           | ((static_cast<std::uint32_t>(b) & 0xFF) << 16);
}

} // namespace syscolors
