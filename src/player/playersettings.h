// The player window's settings file "Tessaly.ini": four key=value lines (window
// position in twips, the aspect and top-most menu options, the volume), CR LF ends,
// keys matched without regard to case, rewritten whole through a safe save.
#pragma once

#include <QString>
#include <optional>

namespace playersettings {

// The volume runs 0..1000; a position beyond this many twips either way is cut to it.
inline constexpr int maxVolume = 1000;
inline constexpr int maxTwips = 1 << 28;

struct Values {
    bool rectFound = false;         // a MainRect line was there (even a bad one)
    std::optional<int> left, top;   // twips, only when both parts were numbers
    std::optional<bool> keepWH;     // only for a readable Boolean
    std::optional<bool> topMost;
    std::optional<int> volume;      // leading number of MciVol (0 when none), at most 1000; 1000 for a negative one
};

// Reads the lines of a settings file; a later line for a key overrides an earlier one.
Values parse(const QString &text);
// "True"/"False" in any case, or a number (0 False); nothing for other text.
std::optional<bool> parseBool(const QString &text);
// The four lines as the window writes them.
QString compose(int leftTwips, int topTwips, bool keepWH, bool topMost, int volume);

// The program folder when it is writable, else the user's configuration folder;
// ends in "/".
QString settingsFolder();
// settingsFolder() + "Tessaly.ini".
QString settingsPath();
// The file's text, "" when it is missing or unreadable (CR LF or LF lines).
QString readFile(const QString &path);
// Writes text as the whole file; an old file survives a failed write. False on failure.
bool writeFile(const QString &path, const QString &text);

} // namespace playersettings
