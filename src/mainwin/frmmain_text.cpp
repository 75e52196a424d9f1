#include "mainwin/frmmain_text.h"

#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/timetext.h"
#include "coregui/jobstate.h"

#include <cmath>

namespace mainwin {

using namespace mdlMavrell;

QString openFileFilterText()
{
    static const char *const pieces[] = {
        "Supported Files|*.gif;*.avi;*.mpg;*.mpeg;*.dat;*.vob;*.mp4;*.m4v;*.wmv;*.asf;*.rm;*.rmvb;*.ram;*.mov;"
        "*.qt;*.flv;*.3gp;*.3gpp;*.ogm;*.iso;*.mdf;*.mds;*.divx;*.h264;*.mkv;*.ape;*.wav;*.pcm;*.wma;*.ra;*.rma;"
        "*.m1a;*.m2a;*.m3a;*.m4a;*.mpa;*.mpc;*.mp1;*.mp2;*.mp3;*.ac3;*.aac;*.dts;*.ogg;*.amr;*.flac",
        "AVI Files (*.avi)|*.avi",
        "MPEG Files (*.mpg;*.mpeg;*.dat;*.vob)|*.mpg;*.mpeg;*.dat;*.vob",
        "MPEG-4 Video Files (*.mp4;*.m4v)|*.mp4;*.m4v",
        "Windows Media Files (*.wmv;*.asf)|*.wmv;*.asf",
        "Real Media Files (*.rm;*.rmvb;*.ram)|*.rm;*.rmvb;*.ram",
        "QuickTime Files (*.mov;*.qt)|*.mov;*.qt",
        "Flash Video Files (*.flv)|*.flv",
        "3GP Files (*.3gp;*.3gpp)|*.3gp;*.3gpp",
        "OGM Vorbis Files (*.ogm)|*.ogm",
        "ISO, MDF Files (*.iso;*.mdf;*.mds)|*.iso;*.mdf;*.mds",
        "Other Movie Files (*.divx;*.h264;*.avs;*.mkv)|*.divx;*.h264;*.avs;*.mkv",
        "Animated Gifs Files (*.gif)|*.gif",
        "Audio Music Files|*.ape;*.wav;*.pcm;*.wma;*.ra;*.rma;*.m1a;*.m2a;*.m3a;*.m4a;*.mpa;*.mpc;*.mp1;*.mp2;"
        "*.mp3;*.mp4;*.ac3;*.aac;*.dts;*.ogg;*.amr;*.flac",
        "All Files (*.*)|*.*",
    };
    QStringList all;
    for (const char *p : pieces)
        all << QString::fromLatin1(p);
    return all.join(QLatin1Char('|'));
}

QString videoSizeText()
{
    QString s = lng[txt::SourcePictureSize];
    if (jobstate::sourceInfo.srcWidth > 0)
        s += numbertext::integer(jobstate::sourceInfo.srcWidth) + QStringLiteral(" x ") + numbertext::integer(jobstate::sourceInfo.srcHeight);
    else
        s += lng[txt::Unknown];
    return s;
}

QString videoLenText()
{
    QString s = lng[txt::SourceLength];
    if (jobstate::sourceInfo.srcLength > 0)
        s += FormatTime(float(numbertext::roundHalfEven(jobstate::sourceInfo.srcLength)), 3, 0);
    else
        s += lng[txt::Unknown];
    s += lng[txt::FramesPerSecondIs];
    if (jobstate::sourceInfo.srcFps > 0 && jobstate::sourceInfo.srcLength > 0)
        s += numbertext::single(jobstate::sourceInfo.srcFps);
    else
        s += lng[txt::Unknown];
    return s;
}

QString cpuLineText(const QString &meterText)
{
    QString s = meterText;
    if (numbertext::Val(s) < 0)
        s = QStringLiteral("0.0");
    return lng[txt::CpuLoad] + s + QStringLiteral(" %");
}

QStringList familyProducts()
{
    return {QStringLiteral("Tessaly Player"),       QStringLiteral("Mavrell Audio Joiner"),
            QStringLiteral("Mavrell Disc Copier"),  QStringLiteral("Quennet Screen Catcher"),
            QStringLiteral("Mavrell Photo Sizer"),  QStringLiteral("Mavrell Subtitle Maker"),
            QStringLiteral("Tessaly Tag Editor"),   QStringLiteral("Quennet Clock"),
            QStringLiteral("Mavrell Ringtone Cutter"), QStringLiteral("Tessaly Slide Show")};
}

} // namespace mainwin
