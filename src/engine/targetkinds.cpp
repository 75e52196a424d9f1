#include "engine/targetkinds.h"

#include "core/textentries.h"

namespace engine {

namespace {

// Tool 2's general muxer falls behind in an MPEG program stream ("buffer underflow") at
// the mux rate it works out itself (1085200 bit/s for a VCD whose streams take 1.4 Mbit/s)
// and even at the VCD's 1411200 bit/s: the sound ends up far behind the picture in the
// file (19.6 s behind in a 20 s VCD). At a mux rate far above any job's the packets follow
// each other as they come, picture and sound within a second. Such a file is an
// intermediate: tool 3 then writes the target from it, copying both streams, with the mux
// rate and packet size of its format.
const QString fastMux = QStringLiteral(":muxrate=100000000");
const QString copyBoth = QStringLiteral(" -map 0:v -map 0:a? -c copy");
// A VCD's sectors: packets of 2324 bytes at 75 sectors of 2352 bytes a second.
const QString vcdStream = copyBoth + QStringLiteral(" -f vcd -muxrate 1411200 -packetsize 2324");
const QString mpeg1Stream = copyBoth + QStringLiteral(" -f mpeg");
const QString mpeg2Stream = copyBoth + QStringLiteral(" -f vob");
// A DVD's sound is AC-3: the encoder here has no working AC-3 encoder of its own.
const QString dvdStream =
    QStringLiteral(" -map 0:v -map 0:a? -vcodec copy -acodec ac3 -ab 320000 -ar 48000 -f vob");

QList<TargetKind> buildKinds()
{
    QList<TargetKind> kinds;
    // A kind that encodes the picture again.
    auto video = [&](const QString &format, TargetFamily family, QList<ToolOptions> options) -> TargetKind & {
        TargetKind k;
        k.format = format;
        k.family = family;
        k.options = std::move(options);
        kinds.append(k);
        return kinds.last();
    };
    const QString lavc = QStringLiteral(" -ovc lavc -of lavf -lavfopts ");

    {
        TargetKind &k = video(kind::Mpeg1, TargetFamily::Mpeg1,
                              {{QString(),
                                QStringLiteral("{mp2}") + lavc + QStringLiteral("format=vcd") + fastMux
                                    + QStringLiteral(" -lavcopts vcodec=mpeg1video:keyint={key}"
                                                     ":vrc_buf_size={vrate}:vrc_minrate={vrate}"
                                                     ":vrc_maxrate={vrate}:vbitrate={vrate}:autoaspect -ofps {fps}"),
                                mpeg1Stream}});
        k.minVideoRate = 1200;
        k.generalMuxer = true;
        k.shape = ShapeRule::Mpeg1;
    }
    {
        TargetKind &k = video(kind::Vcd, TargetFamily::Vcd,
                              {{QString(),
                                QStringLiteral("{mp2:224}") + lavc + QStringLiteral("format=vcd") + fastMux
                                    + QStringLiteral(" -lavcopts vcodec=mpeg1video:keyint=18"
                                                     ":vrc_buf_size=1152:vrc_minrate=1152:vrc_maxrate=1152"
                                                     ":vbitrate=1152:autoaspect -ofps 30000/1001"),
                                vcdStream}});
        k.generalMuxer = true;
        k.fixedFrame = true;
        k.shape = ShapeRule::Frame43;
    }
    {
        TargetKind &k = video(kind::Mpeg2, TargetFamily::Mpeg2,
                              {{QString(),
                                QStringLiteral("{mp2}") + lavc + QStringLiteral("format=vob") + fastMux
                                    + QStringLiteral(" -lavcopts vcodec=mpeg2video:keyint={key}:vrc_buf_size={vrate}"
                                                     ":vrc_maxrate={peak}:vbitrate={vrate}:vstrict=0:autoaspect"
                                                     " -ofps {fps}"),
                                mpeg2Stream}});
        k.generalMuxer = true;
        k.shape = ShapeRule::Mpeg2;
    }
    {
        // The picture and an MP2 sound track first; the second run makes the sound AC-3.
        TargetKind &k = video(kind::Dvd, TargetFamily::Dvd,
                              {{QString(),
                                QStringLiteral("{mp2:384}") + lavc + QStringLiteral("format=dvd") + fastMux
                                    + QStringLiteral(" -lavcopts vcodec=mpeg2video:keyint=18:vrc_buf_size=1835"
                                                     ":vrc_maxrate=9000:vbitrate=4800:vstrict=0:autoaspect"
                                                     " -ofps 30000/1001"),
                                dvdStream}});
        k.generalMuxer = true;
        k.fixedFrame = true;
        k.shape = ShapeRule::Frame43Or169;
    }
    // WMV and MS-MPEG-4 pictures hold no shape of their own (only the ASF or AVI header
    // could say it): they are sized to square pixels, which every player shows as they are.
    for (const auto &[format, vcodec, acodec] :
         {std::tuple{kind::Wmv7, "wmv1", "wmav1"}, std::tuple{kind::Wmv8, "wmv2", "wmav2"}}) {
        TargetKind &k = video(format, TargetFamily::OtherVideo,
                              {{QString(), QStringLiteral(" -oac lavc") + lavc + QStringLiteral("format=asf -lavcopts vcodec=")
                                               + QLatin1String(vcodec) + QStringLiteral(":keyint={key}:vbitrate={vrate}:acodec=")
                                               + QLatin1String(acodec) + QStringLiteral(":abitrate={arate} -ofps {fps}")}});
        k.generalMuxer = true;
        k.shape = ShapeRule::Square;
    }
    {
        TargetKind &k =
            video(kind::Mp42, TargetFamily::OtherVideo,
                  {{QStringLiteral("wmv"), QStringLiteral(" -noodml -oac lavc") + lavc
                                               + QStringLiteral("format=asf -lavcopts vcodec=msmpeg4v2:keyint={key}"
                                                                ":vbitrate={vrate}:acodec=wmav2:abitrate={arate} -ofps {fps}")},
                   {QStringLiteral("avi"), QStringLiteral(" -noodml") + lavc
                                               + QStringLiteral("format=avi -lavcopts vcodec=msmpeg4v2:keyint={key}:vbitrate={vrate}"
                                                                " -oac mp3lame -lameopts cbr:br={arate} -ofps {fps}")}});
        k.generalMuxer = true;
        k.shape = ShapeRule::Square;
    }
    // MPEG-4 and H.264 pictures carry their pixels' shape: XviD and x264 take it from the
    // filter chain, lavc with autoaspect.
    const QString mp3 = QStringLiteral(" -oac mp3lame -lameopts cbr:br={arate}");
    video(kind::Xvid, TargetFamily::OtherVideo,
          {{QString(), QStringLiteral(" -noodml -ofps {fps} -ovc xvid -xvidencopts max_key_interval={key}:bitrate={vrate}"
                                      ":max_bframes=0:quant_type=h263:me_quality=4")
                           + mp3}})
        .shape = ShapeRule::Flag;
    video(kind::Divx, TargetFamily::OtherVideo,
          {{QString(), QStringLiteral(" -noodml -ofps {fps} -ovc lavc -ffourcc DX50 -lavcopts vcodec=mpeg4:keyint={key}"
                                      ":vbitrate={vrate}:autoaspect")
                           + mp3}})
        .shape = ShapeRule::Flag;
    video(kind::H264, TargetFamily::OtherVideo,
          {{QString(), QStringLiteral(" -noodml -ofps {fps} -ovc x264 -x264encopts keyint={key}:bitrate={vrate}:bframes=0")
                           + mp3}})
        .shape = ShapeRule::Flag;

    {
        // The picture as it is, the sound made MP3.
        TargetKind &k = video(kind::KeepVideoMp3, TargetFamily::Sound,
                              {{QString(), QStringLiteral(" -noodml -ovc copy") + mp3}});
        k.tail = OptionTail::Sound;
        k.sync = SyncRule::FlvOnly;
        k.copiesPicture = true;
        k.needsSound = true;
        k.noSoundEntry = txt::NoAudioForMp3;
        k.subtitles = false;
        k.nameSuffix = QStringLiteral("_AudIsMp3.");
    }

    // The stream copies keep the source's container; what they write depends on it.
    auto copy = [&](const QString &format, TargetFamily family, const QString &suffix, OptionTail tail,
                    QList<ToolOptions> options) -> TargetKind & {
        TargetKind &k = video(format, family, std::move(options));
        k.tail = tail;
        k.sync = SyncRule::Off;
        k.copyJob = true;
        k.copiesPicture = true;
        k.subtitles = false;
        k.nameSuffix = suffix;
        return k;
    };
    {
        const QString ps = QStringLiteral(" -of lavf -lavfopts format=");
        TargetKind &k = copy(kind::ChangeVolume, TargetFamily::Sound, QStringLiteral("_NewVol."), OptionTail::Sound,
                             {{QStringLiteral("mpg-mpeg2"), QStringLiteral(" -ovc copy{mp2}") + ps + QStringLiteral("vob") + fastMux,
                               mpeg2Stream},
                              {QStringLiteral("mpg"), QStringLiteral(" -ovc copy{mp2}") + ps + QStringLiteral("vcd") + fastMux,
                               mpeg1Stream},
                              {QStringLiteral("dat"), QStringLiteral(" -ovc copy{mp2:224}") + ps + QStringLiteral("vcd") + fastMux,
                               vcdStream},
                              {QStringLiteral("vob"), QStringLiteral(" -ovc copy{mp2:384}") + ps + QStringLiteral("dvd") + fastMux,
                               dvdStream},
                              {QStringLiteral("wmv"), QStringLiteral(" -ovc copy -oac lavc") + ps
                                                          + QStringLiteral("asf -lavcopts acodec={wma}:abitrate={arate}")},
                              {QStringLiteral("avi"), QStringLiteral(" -noodml -ovc copy") + mp3}});
        k.needsSound = true;
        k.noSoundEntry = txt::NoAudioForVolume;
        k.words = JobWords::AdjustVolume;
    }
    // A cut and a repair copy both streams; a repair rebuilds the index (-idx).
    auto copies = [](const QString &idx) -> QList<ToolOptions> {
        const QString both = idx + QStringLiteral(" -ovc copy -oac copy -of lavf -lavfopts format=");
        return {{QStringLiteral("mpg-mpeg2"), both + QStringLiteral("vob") + fastMux, mpeg2Stream},
                {QStringLiteral("mpg"), both + QStringLiteral("vcd") + fastMux, mpeg1Stream},
                {QStringLiteral("dat"), both + QStringLiteral("vcd") + fastMux, vcdStream},
                {QStringLiteral("vob"), both + QStringLiteral("dvd") + fastMux, mpeg2Stream},
                {QStringLiteral("wmv"), idx + QStringLiteral(" -ovc copy -oac lavc -of lavf -lavfopts format=asf"
                                                             " -lavcopts acodec={wma}:abitrate={srcrate}{audio}")},
                {QStringLiteral("avi-mp3"), QStringLiteral(" -noodml") + idx + QStringLiteral(" -ovc copy{avimp3}")},
                {QStringLiteral("avi"), QStringLiteral(" -noodml") + idx + QStringLiteral(" -ovc copy -oac copy")}};
    };
    copy(kind::Cut, TargetFamily::Cut, QStringLiteral("_Cut."), OptionTail::Range, copies(QString())).words =
        JobWords::Cut;
    {
        TargetKind &k = copy(kind::Repair, TargetFamily::Repair, QStringLiteral("_Fix."), OptionTail::Plain,
                             copies(QStringLiteral(" -idx")));
        k.repair = true;
        k.words = JobWords::Repair;
    }

    // The sound targets: tool 3 writes the sound alone.
    TargetKind sound;
    sound.soundTarget = true;
    sound.needsSound = true;
    sound.noSoundEntry = txt::NoAudioForAudioTarget;
    sound.subtitles = false;
    sound.resultPicture = false;
    sound.family = TargetFamily::Sound;
    kinds.append(sound);
    return kinds;
}

} // namespace

const ToolOptions *TargetKind::optionsFor(const QString &variant) const
{
    const QString general = variant.section(QLatin1Char('-'), 0, 0);
    for (const QString &v : {variant, general, QString()})
        for (const ToolOptions &o : options)
            if (o.variant == v)
                return &o;
    return nullptr;
}

const QList<TargetKind> &targetKinds()
{
    static const QList<TargetKind> kinds = buildKinds();
    return kinds;
}

const TargetKind *findTargetKind(const QString &format)
{
    for (const TargetKind &k : targetKinds())
        if (!k.soundTarget && k.format == format)
            return &k;
    return nullptr;
}

const TargetKind *targetKindOf(const jobrecords::JobSettings &job)
{
    if (jobrecords::isAudioTarget(job))
        return &targetKinds().last();
    return findTargetKind(job.targetFormat);
}

QString copyContainer(const QString &ext)
{
    if (ext == QLatin1String("mpg") || ext == QLatin1String("mpeg") || ext == QLatin1String("dat")
        || ext == QLatin1String("vob"))
        return QStringLiteral("mpegps");
    if (ext == QLatin1String("wmv"))
        return QStringLiteral("asf");
    return QStringLiteral("avi");
}

int jobMismatchEntry(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job)
{
    if (!jobrecords::isAudioTarget(job) && jobrecords::isAudioOnlySource(source))
        return txt::MusicCannotBeVideo;
    const TargetKind *k = targetKindOf(job);
    if (k && k->needsSound && !source.hasSound())
        return k->noSoundEntry;
    return 0;
}

bool isJobImpossible(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job)
{
    return jobMismatchEntry(source, job) != 0;
}

} // namespace engine
