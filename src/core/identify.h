// The one reader of tool 1's identify output, shared by the source probe, the
// options preview and the player window: the ID_...= keys of "-identify", the
// picture line of a GIF, and the "V:" status line a play-through ends with.
#pragma once

#include <QString>

namespace identify {

// What the ID_...= lines say. Sizes and rates that were missing, empty or not above
// 0 stay 0; the audio values take the defaults the program uses for them.
struct Keys {
    int width = 0;            // ID_VIDEO_WIDTH, rounded to a whole number
    int height = 0;           // ID_VIDEO_HEIGHT
    float fps = 0;            // ID_VIDEO_FPS
    float aspect = 0;         // ID_VIDEO_ASPECT, its last value above 0: width / height as shown
    float length = 0;         // ID_LENGTH; 99999 when its whole part has six digits or more
    QString demuxer;          // ID_DEMUXER, lower case
    QString videoFormat;      // ID_VIDEO_FORMAT, lower case
    QString audioCodec;       // ID_AUDIO_CODEC, lower case; "" = no sound track
    int audioBitrate = 64;    // ID_AUDIO_BITRATE in kbit/s (above 320 counts as 128)
    int audioRate = 22050;    // ID_AUDIO_RATE in Hz
    int audioChannels = 2;    // ID_AUDIO_NCH
    bool hasStartTime = false;  // ID_START_TIME was printed
    float startTime = 0;
};

// Reads the keys of an identify run. A key counts only at the start of a line, so a
// file name holding "ID_LENGTH=" or "ID_VIDEO_WIDTH=" (which the tool echoes in its
// "Playing" and ID_FILENAME lines) cannot feed values in, and the source's tags
// (echoed raw, line breaks and all, in the tool's clip-info block) are not read. The picture keys are read
// from their first line; the audio keys and the start time from their last, since
// the tool prints a group of placeholders for them before it opens the streams.
Keys read(const QString &output);

// The size on a GIF's picture line ("VIDEO:  [RGB]  160x120  8bpp ...", the format
// name led by a backspace or not). False, and nothing written, when there is none;
// a part that is no number leaves its value alone.
bool readGifSize(const QString &output, int &width, int &height);

// The last "V:" status line of the text: the time, up to one digit after its point,
// and the frame counter in front of its "/".
struct VideoStatus {
    bool found = false;    // a time was read
    double seconds = 0;
    bool counted = false;  // a "/" follows the time (a play-through's frame counter)
    int frame = -1;        // the counter; -1 when it is no number
};
VideoStatus lastVideoStatus(const QString &text);

// What tools 1 and 2 need to be told to read a source of the given demuxer whole. Their
// own reader of MPEG program streams takes many of them for badly interleaved (MPEG-1
// and MPEG-2 files and DVD files of this program and of other muxers alike) and then
// hands on the sound of the first second or less; read as non-interleaved, picture and
// sound come whole. " -ni" for "mpegps", "" for every other demuxer.
QString readerPiece(const QString &demuxer);

} // namespace identify
