// What ffprobe says of a file a test made, and what the screen shows of a widget.
#pragma once

#include <QString>
#include <QStringList>

class QFont;
class QImage;
class QRect;
class QWidget;

namespace testenv {

struct Probed {
    QString format;       // ffprobe's format_name
    double duration = 0;  // the container's
    QString video;        // codec of the first video stream, "" when none
    QString audio;        // codec of the first audio stream, "" when none
    int width = 0, height = 0;
    double shape = 0;     // width x sample_aspect_ratio / height of the first video stream
    int sampleRate = 0;
};
Probed ffprobe(const QString &path);

// First and last moment of each stream as a viewer meets it: the earliest packet time
// and the latest packet time plus its duration, of the first video and audio stream.
struct StreamTimes {
    bool present = false;
    double first = 0, last = 0;
};
struct PacketTimes {
    StreamTimes video, audio;
    // How far apart picture and sound lie in the file: walking the packets by their byte
    // positions, the largest difference between the latest picture time and the latest
    // sound time met so far (each held within the span both streams cover).
    double apartInFile = 0;
};
PacketTimes packetTimes(const QString &path);

// The ones below are in the window tests' support library (screenprobe.cpp).
// What the screen shows where the widget is.
QImage onScreen(QWidget *w);
// Colours of the image other than black and the player's colour key, sampled on a grid.
int pictureColours(const QImage &img);
// The share of a rectangle's pixels that show a picture, not the dark of an empty video
// surface.
double litShare(const QImage &img, const QRect &r);
// The font faces the glyphs of text come from when it is set in font.
QStringList facesOf(const QString &text, const QFont &font);

} // namespace testenv
