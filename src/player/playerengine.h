// The player window's engine: a small media-control interface (open, play a frame
// range, pause, resume, step, seek, position, volume, stop) carried out by probing
// the file with the tools and driving the player tool in slave mode through the one
// slave console. It draws nothing (the tool draws into the widget given to openMCI)
// and owns no process: starting, stopping and closing act on the console's player,
// whoever started it.
#pragma once

#include <QString>
#include <functional>

class ConsoleOwner;

namespace playerengine {

// What the probe finds out about one file.
struct Fields {
    int videoWidth = 0;
    int videoHeight = 0;
    float framesPerSecond = 0;
    float lengthSeconds = 0;
    float startOffset = 0;
    QString audioCodec;   // lower case; "" = no sound
    QString videoFormat;  // lower case
    QString demuxer;      // lower case
    // The stream's start time as the player tool reports it (ID_START_TIME), -1 when
    // the key is missing.
    float toolStartTime = -1;
};

// The identify run's keys into f (size, rate, length, demuxer, formats, codec).
void readIdentify(const QString &output, Fields &f);
// The size of a GIF from the "VIDEO:  [\bRGB]" line of the identify run.
void readGifSize(const QString &output, Fields &f);
// The frame-count run of a GIF ("-fps 10000"): its last "V:" status gives the length
// and the frame counter, and from them the frame rate.
void readGifFrames(const QString &output, Fields &f);
// The ASF start-offset and frame-rate repair, given tool 3's start time and rate
// (0 when it found none). A player tool that reports the start time itself gives
// its length as the true duration and its positions from that start: the offset is
// its start time and the length stays. Without that key the offset is tool 3's
// start time (3 seconds when it has none) and comes off the length.
void fixAsf(Fields &f, float tool3Start, float tool3Fps);
// The closing steps every probe ends with: whole seconds, and 30 frames per second
// when no real rate was found.
void finish(Fields &f);
// Whether tool 3 is asked for the length (MPEG program streams).
bool needsTool3Length(const Fields &f);

} // namespace playerengine

class MPlayer {
public:
    // The window's play state, as playState reports it.
    enum PlayState : int { Playing = 1, Paused = 4, Stopped = 5 };

    // playState reads the window's play state (a PlayState); owner gets the console's
    // setStopDosIo callback for the processes started here.
    MPlayer(std::function<int()> playState, ConsoleOwner *owner);

    QString FileName() const { return fileName_; }
    void setFileName(const QString &name) { fileName_ = name; }
    bool isAudioOnly();
    void setAudioOnly(bool v) { audioOnlyFlag_ = v; }
    bool isVideoOnly() const { return f_.audioCodec.isEmpty(); }
    bool isSuccess();
    void setSuccess(bool v) { successFlag_ = v; }

    // Stores the file and the window the tool draws into, resets every field and
    // probes the file; ask isSuccess afterwards.
    void openMCI(const QString &fileName, unsigned long long hwnd, const QString &aliasName = {});
    // Ends the probe of a running openMCI within one polling round; that open then
    // finds nothing (isSuccess false) and openCancelled says why.
    void cancelOpen() { cancelOpen_ = true; }
    bool openCancelled() const { return cancelOpen_; }
    // Starts the tool on the file for the frame range (0, 0: the whole file).
    void playMCI(long fromWhere, long toWhere);
    void putMCI(int movWidth, int movHeight) {}
    void pauseMCI();
    void resumeMCI();
    void stepMCI(int nFrames = 1);
    void stopMCI(const QString &aliasName = {}, long toWhere = 0);
    void closeMCI(const QString &aliasName = {});
    void closeAllMCI();
    // "stopped" when the player process no longer runs, else "".
    QString getStatus() const;
    long getTotalFrames();
    float getTotalSeconds();
    void setCurFrame(long toWhere, bool andPlay);
    // Reads what the tool printed since the last call: position, index progress, end.
    long getCurFrame();
    float getFramesPerSecond() const { return f_.framesPerSecond; }
    float getFramesRateMPG() const { return f_.framesPerSecond; }
    void getDefaultSize(int &w, int &h) const { w = f_.videoWidth; h = f_.videoHeight; }
    int getVolume() const { return volume_; }
    void setVolume(int vol);
    // Sound on (the stored volume) or off.
    void setAudioShow(bool isOn);

    // The index progress of the last read (1..99), -1 when that read held none.
    int indexPercent() const { return indexPercent_; }
    // The last start line given to the console ("" when nothing was started).
    QString lastStartLine() const { return lastStartLine_; }
    // The probe's findings, shown as the file icon's tooltip: demuxer, video format,
    // audio codec and, for a shifted start, the offset; sep joins them.
    QString infoTip(const QString &sep) const;
    const playerengine::Fields &fields() const { return f_; }
    float curSeconds() const { return curSeconds_; }

private:
    void probeMedia();
    QString buildRangeArgs(long fromWhere, long toWhere) const;
    bool paused() const;
    void send(const QString &command);

    std::function<int()> playState_;
    ConsoleOwner *owner_;
    QString fileName_;
    unsigned long long videoWindow_ = 0;
    long totalFrames_ = 0;
    float totalSeconds_ = 0;
    int volume_ = 0;
    bool successFlag_ = false;
    bool audioOnlyFlag_ = false;
    float curSeconds_ = 0;
    playerengine::Fields f_;
    int indexPercent_ = -1;
    QString lastStartLine_;
    bool cancelOpen_ = false;
};
