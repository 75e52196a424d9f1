// The result check: the prober's packet lines read into stream spans, and the verdict
// on a target against what its job promises.
#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "engine/resultcheck.h"
#include "support/testenv.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <initializer_list>
#include <tuple>

#include <gtest/gtest.h>

using namespace resultcheck;

namespace {

TEST(ResultCheck, PacketLinesGiveEachStreamsFirstAndLastMoment)
{
    // Packets before the stream lines (the prober's order), a packet without pts that
    // counts by its dts, a second audio stream that does not count, and a junk line.
    const QString out = QStringLiteral(
        "packet|stream_index=1|pts_time=0.500000|dts_time=0.500000|duration_time=0.026122\n"
        "packet|stream_index=0|pts_time=0.540000|dts_time=N/A|duration_time=0.040000\n"
        "packet|stream_index=0|pts_time=N/A|dts_time=3.460000|duration_time=0.040000\n"
        "packet|stream_index=0|pts_time=3.380000|dts_time=3.300000|duration_time=0.040000\n"
        "packet|stream_index=1|pts_time=3.474000|dts_time=3.474000|duration_time=0.026122\n"
        "packet|stream_index=2|pts_time=9.000000|dts_time=9.000000|duration_time=1.000000\n"
        "[mpeg @ 0x1] some complaint\n"
        "stream|index=0|codec_name=mpeg2video|codec_type=video\n"
        "stream|index=1|codec_name=mp2|codec_type=audio\n"
        "stream|index=2|codec_name=ac3|codec_type=audio\n"
        "format|format_name=mpeg\n");
    const Spans s = readSpans(out);
    ASSERT_TRUE(s.readable);
    EXPECT_EQ(s.format, "mpeg");
    EXPECT_EQ(s.videoCodec, "mpeg2video");
    EXPECT_EQ(s.audioCodec, "mp2");
    ASSERT_TRUE(s.video.present && s.audio.present);
    EXPECT_DOUBLE_EQ(s.video.start, 0.54);
    EXPECT_DOUBLE_EQ(s.video.end, 3.5);
    EXPECT_DOUBLE_EQ(s.audio.start, 0.5);
    EXPECT_NEAR(s.audio.end, 3.500122, 1e-9);

    EXPECT_FALSE(readSpans(QStringLiteral("in.mp4: Invalid data found when processing input\n")).readable);

    // Two files joined end to end: the clock starts again, and the pieces add up.
    const Spans joined = readSpans(QStringLiteral(
        "packet|stream_index=0|pts_time=0.540000|dts_time=0.500000|duration_time=0.040000\n"
        "packet|stream_index=0|pts_time=0.500000|dts_time=0.540000|duration_time=0.040000\n"
        "packet|stream_index=0|pts_time=10.460000|dts_time=10.460000|duration_time=0.040000\n"
        "packet|stream_index=0|pts_time=0.500000|dts_time=0.500000|duration_time=0.040000\n"
        "packet|stream_index=0|pts_time=10.460000|dts_time=10.460000|duration_time=0.040000\n"
        "stream|index=0|codec_name=mpeg1video|codec_type=video\n"));
    EXPECT_NEAR(joined.video.length(), 20, 1e-9);
    EXPECT_DOUBLE_EQ(joined.video.end, 10.5);
}

// Packets in file order as the prober prints them: stream 0 the picture, 1 the sound.
QString packetLines(std::initializer_list<std::tuple<int, double, double>> packets)
{
    QString out = QStringLiteral("stream|index=0|codec_name=mpeg1video|codec_type=video\n"
                                 "stream|index=1|codec_name=mp2|codec_type=audio\n");
    for (const auto &[stream, time, pos] : packets)
        out += QStringLiteral("packet|stream_index=%1|pts_time=%2|dts_time=N/A|duration_time=0.04|pos=%3\n")
                   .arg(stream)
                   .arg(time, 0, 'f', 3)
                   .arg(pos < 0 ? QStringLiteral("N/A") : QString::number(qint64(pos)));
    return out;
}

TEST(ResultCheck, HowFarPictureAndSoundLieApartInTheFile)
{
    struct Case {
        const char *what;
        QString output;
        double distance;
    } cases[] = {
        {"interleaved, the picture 0.7 s ahead",
         packetLines({{0, 0.5, 0}, {0, 1.2, 100}, {1, 0.5, 200}, {0, 1.9, 300}, {1, 1.2, 400}, {1, 1.9, 500}}), 0.7},
        {"all the sound behind all the picture",
         packetLines({{0, 0.5, 0}, {0, 10, 100}, {0, 20, 200}, {1, 0.5, 300}, {1, 10, 400}, {1, 20, 500}}), 19.5},
        {"the sound ahead", packetLines({{1, 0.5, 0}, {1, 4.5, 100}, {0, 0.5, 200}, {0, 4.5, 300}}), 4},
        {"printed out of order, taken by position",
         packetLines({{1, 0.5, 300}, {0, 0.5, 0}, {0, 1.0, 100}, {1, 1.0, 400}, {0, 20, 200}}), 19.5},
        {"the sound outlasts the picture by 3 s",
         packetLines({{0, 0, 0}, {1, 0, 100}, {0, 17, 200}, {1, 17, 300}, {1, 18.5, 400}, {1, 20, 500}}), 0},
        {"two windows of a long file",
         packetLines({{0, 0.5, 0}, {1, 0.5, 100}, {0, 5.2, 200}, {1, 4.5, 300}, {1, 79.5, 9000}, {0, 80, 9100},
                      {1, 80, 9200}}),
         0.7},
        {"two files joined, the second with its sound 3 s behind",
         packetLines({{0, 0.5, 0}, {1, 0.5, 100}, {0, 10.5, 200}, {1, 10.5, 300}, {0, 0.5, 400}, {1, 0.5, 450},
                      {0, 4, 500}, {1, 1, 600}}),
         3},
        {"no positions", packetLines({{0, 20, -1}, {1, 0.5, -1}}), 0},
        {"the picture alone", packetLines({{0, 0.5, 0}}), 0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(fileOrderDistance(c.output), c.distance, 1e-9) << c.what;
    EXPECT_NEAR(readSpans(cases[1].output).fileOrderGap, 19.5, 1e-9);
}

TEST(ResultCheck, TheShapeThePictureShows)
{
    auto stream = [](const char *fields) {
        return QStringLiteral("stream|index=1|codec_name=mp2|codec_type=audio\nstream|index=0|codec_type=video|")
               + QString::fromLatin1(fields) + QStringLiteral("\n");
    };
    EXPECT_NEAR(displayShape(stream("codec_name=mpeg2video|width=720|height=480|sample_aspect_ratio=32:27")), 16.0 / 9, 1e-9);
    EXPECT_NEAR(displayShape(stream("codec_name=wmv2|width=720|height=480|sample_aspect_ratio=N/A")), 1.5, 1e-9);
    EXPECT_NEAR(displayShape(stream("codec_name=mpeg4|width=640|height=480|sample_aspect_ratio=0:1")), 4.0 / 3, 1e-9);
    EXPECT_EQ(displayShape(stream("codec_name=unknown|width=720|height=480")), 0);
    EXPECT_EQ(displayShape(QStringLiteral("stream|index=0|codec_name=mp2|codec_type=audio\n")), 0);
    EXPECT_NEAR(readSpans(stream("codec_name=h264|width=720|height=480|sample_aspect_ratio=32:27")).pictureShape, 16.0 / 9,
                1e-9);

    // Held against the shape the job gives, with room for an MPEG-1 pixel shape.
    mdlMavrell::loadLanguageTable(QStringLiteral("en"));
    Spans r;
    r.readable = true;
    r.video = Span{true, 0, 3};
    Expectation e;
    e.length = 3;
    e.picture = true;
    e.pictureShape = 16.0 / 9;
    r.pictureShape = 1.5;
    EXPECT_EQ(judge(r, e).message.toStdString(),
              "The picture of the result shows at 1.50:1 where it was to show at 1.78:1: it is squashed or stretched.");
    r.pictureShape = 880.0 / 657;
    e.pictureShape = 4.0 / 3;
    EXPECT_TRUE(judge(r, e).ok);
    e.pictureShape = 0;  // nothing to hold: a copied picture
    r.pictureShape = 1.5;
    EXPECT_TRUE(judge(r, e).ok);
}

// Packet lines of one stream from `from` to `to` seconds, one every `step` seconds; with
// pts false they carry only a dts (H.264 in AVI).
QString packets(int stream, double from, double to, double step, bool pts = true)
{
    QString out;
    for (double t = from; t < to - 1e-9; t += step) {
        const QString time = QString::number(t, 'f', 6);
        out += QStringLiteral("packet|stream_index=%1|pts_time=%2|dts_time=%3|duration_time=%4\n")
                   .arg(stream)
                   .arg(pts ? time : QStringLiteral("N/A"), time, QString::number(step, 'f', 6));
    }
    return out;
}

const QString avStreams = QStringLiteral("stream|index=0|codec_name=h264|codec_type=video\n"
                                         "stream|index=1|codec_name=mp3|codec_type=audio\n");

TEST(ResultCheck, WindowsReadApartAreJoinedNotAdded)
{
    struct Case {
        const char *what;
        QString head, tail;  // tail "": one reading of the whole file
        double video, audio;  // the lengths the file holds
        bool restarted;
    } cases[] = {
        {"the end window's seek lands on the key frame at 0 and reads from there again",
         packets(0, 0, 5, 1 / 15.0, false) + packets(1, 0, 5, 0.026) + avStreams,
         packets(0, 0, 25, 1 / 15.0, false) + packets(1, 0, 25.1, 0.026) + avStreams, 25, 25.1, false},
        {"a first window without pts reads on to the end, the end window reads its last 10 s again",
         packets(0, 0, 30, 0.04, false) + avStreams, packets(0, 20, 30, 0.04, false) + avStreams, 30, 0, false},
        {"windows apart: what lies between them is held", packets(0, 0, 5, 0.04) + packets(1, 0, 5, 0.026) + avStreams,
         packets(0, 15, 25, 0.04) + packets(1, 15, 25.1, 0.026) + avStreams, 25, 25.1, false},
        {"two files joined end to end, read whole: the pieces add up",
         packets(0, 0.5, 10.5, 0.04) + packets(0, 0.5, 10.5, 0.04) + packets(1, 0.5, 10.5, 0.026)
             + packets(1, 0.5, 10.5, 0.026) + avStreams,
         QString(), 20, 20, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Spans head = readSpans(c.head);
        const Spans s = c.tail.isEmpty() ? head : joinReadings(head, readSpans(c.tail));
        ASSERT_TRUE(s.readable);
        EXPECT_NEAR(s.video.length(), c.video, 0.03);
        EXPECT_NEAR(s.audio.length(), c.audio, 0.03);
        EXPECT_EQ(restarted(s), c.restarted);
    }
    // Times that start again within the end window (the prober guessed the times of packets
    // without a pts after its seek) are seen, so the file is read whole instead.
    EXPECT_TRUE(restarted(readSpans(packets(1, 15, 15.3, 0.026) + packets(1, 1, 11, 0.026) + avStreams)));
}

TEST(ResultCheck, VerdictOnTheJobsStreamsLengthAndStep)
{
    mdlMavrell::loadLanguageTable(QStringLiteral("en"));
    auto span = [](double a, double b) { return Span{true, a, b}; };
    struct Case {
        const char *what;
        Span video, audio;
        bool picture, sound;
        double length;
        int entry;  // 0: ok
        float percent;
        double clockShare = 0;
    } cases[] = {
        {"whole and in step", span(0.54, 4.5), span(0.5, 4.55), true, true, 4, 0, 100},
        {"MPEG start offset, sound 0.12 s longer", span(0.53, 4.47), span(0.5, 4.59), true, true, 4, 0, 100},
        {"sound-only job", {}, span(0, 3), false, true, 3, 0, 100},
        {"picture-only job from a silent source", span(0, 3), {}, true, false, 3, 0, 100},
        {"nothing in it", {}, {}, true, true, 3, 280, 0},
        {"no picture", {}, span(0, 3), true, true, 3, 281, 0},
        {"no sound", span(0, 3), {}, true, true, 3, 282, 0},
        {"an early exit: 0.05 s of 10 s", span(0, 0.05), span(0, 0.05), true, true, 10, 283, 0.5f},
        {"stretched picture", span(0.27, 6.64), span(0.23, 3.45), true, true, 3, 283, 100},
        {"the end of the sound lost", span(0.24, 4.2), span(0.24, 3.41), true, true, 4, 284, 79},
        {"the picture 3.1 s behind", span(3.64, 7.47), span(0.5, 4.5), true, true, 4, 285, 95.75f},
        {"sound a little short, picture a little long (in tolerance), ends apart", span(0, 4.1), span(0, 3.75), true,
         true, 4, 286, 93.75f},
        {"a 2-hour film that lost its last 3.5 minutes", span(0, 6990), span(0, 6990), true, true, 7200, 283, 97.1f},
        // The tolerance does not grow with the length.
        {"a one-hour WMV that lost its last 17 s", span(0, 3582.95), span(0, 3583), true, true, 3600, 283, 99.5f},
        {"a 10-minute result 0.5 s short", span(0, 599.5), span(0, 599.5), true, true, 600, 283, 99.9f},
        {"a one-hour result 0.25 s short", span(0, 3599.75), span(0.05, 3599.8), true, true, 3600, 0, 100},
        // WMA written by the encoder: its clock runs 0.14 % short at 64 kbit/s.
        {"a one-hour WMV whose clock runs 5 s short", span(0, 3595.2), span(0, 3594.9), true, true, 3600, 0, 100, 0.0014},
        {"the same WMV that also lost its last 17 s", span(0, 3578), span(0, 3578), true, true, 3600, 283, 99.4f, 0.0014},
        {"its sound changed, the picture copied: they end that far apart", span(0, 600), span(0, 599.13), true, true, 600,
         0, 100, 0.00145},
        {"the same without the encoder's WMA", span(0, 600), span(0, 599.13), true, true, 600, 284, 99.9f},
        {"sound short beyond tolerance", span(0, 4), span(0, 2.5), true, true, 4, 284, 62.5f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Spans r;
        r.readable = c.entry != 280;
        r.video = c.video;
        r.audio = c.audio;
        Expectation e;
        e.length = c.length;
        e.picture = c.picture;
        e.sound = c.sound;
        e.clockShare = c.clockShare;
        const Verdict v = judge(r, e);
        EXPECT_EQ(v.ok, c.entry == 0);
        EXPECT_NEAR(v.percent, c.percent, 0.5f);
        if (c.entry == 0) {
            EXPECT_TRUE(v.message.isEmpty());
            continue;
        }
        // The message is the entry with its numbers filled in.
        const QString head = mdlMavrell::lng[c.entry].left(mdlMavrell::lng[c.entry].indexOf(QLatin1String("aaa")));
        EXPECT_TRUE(v.message.startsWith(head)) << v.message.toStdString();
        EXPECT_FALSE(v.message.contains(QLatin1String("aaa"))) << v.message.toStdString();
    }

    // Picture and sound far apart in the file fail an MPEG program stream only.
    Spans apart;
    apart.readable = true;
    apart.video = span(0.5, 20.5);
    apart.audio = span(0.5, 20.5);
    apart.fileOrderGap = 19.5;
    Expectation programStream;
    programStream.length = 20;
    programStream.picture = programStream.sound = programStream.inFileOrder = true;
    EXPECT_EQ(judge(apart, programStream).message.toStdString(),
              "In the result the sound lies up to 19.5 s away from the picture it belongs to in the file: players that "
              "read the file in order lose the sound.");
    apart.fileOrderGap = 0.8;
    EXPECT_TRUE(judge(apart, programStream).ok);
    apart.fileOrderGap = 19.5;
    programStream.inFileOrder = false;
    EXPECT_TRUE(judge(apart, programStream).ok);

    // The message names what the result holds against the job's length.
    Spans early;
    early.readable = true;
    early.video = span(0, 0.2);
    early.audio = span(0, 0.2);
    Expectation ten;
    ten.length = 10;
    ten.picture = ten.sound = true;
    EXPECT_EQ(judge(early, ten).message.toStdString(),
              "The result holds 0.2 s of picture, but 10.0 s were to be converted.");

    // A source whose sound ends a second before its picture gives a result like it.
    Spans likeSource;
    likeSource.readable = true;
    likeSource.video = span(0, 4);
    likeSource.audio = span(0, 3);
    EXPECT_FALSE(judge(likeSource, ten).ok);
    Expectation four = ten;
    four.length = 4;
    four.sourceSoundLength = 3;
    four.sourceEndGap = 1;
    EXPECT_TRUE(judge(likeSource, four).ok) << judge(likeSource, four).message.toStdString();
}

// The share by which the encoder's WMA clock runs short, against what was measured on its
// results (600 s: 599.211 s of sound at 64 kbit/s, 597.596 s at 32 kbit/s, 600.019 s at 128).
TEST(ResultCheck, ClockOfTheEncodersWmaSound)
{
    const QString wmv8 = QStringLiteral(
        "/p/OrvexRes2 -oac lavc -ovc lavc -of lavf -lavfopts format=asf -lavcopts vcodec=wmv2:keyint=23:vbitrate=300:"
        "acodec=wmav2:abitrate=%1 -ofps 25 -vf-add scale=160:120 -delay 0 -channels 2 -srate %2 -af-add channels=2 "
        "-vf-add fixpts -vf-add harddup -mc 1 \"/v/in.avi\" -demuxer lavf -o \"/v/out.wmv.mavrell-part\"");
    const QString volume = QStringLiteral("/p/OrvexRes2 -ovc copy -oac lavc -of lavf -lavfopts format=asf -lavcopts "
                                          "acodec=wmav1:abitrate=%1 -af-add volume=6 -vf-add harddup -mc 0 \"/v/in.wmv\" "
                                          "-o \"/v/out.wmv.mavrell-part\"");
    struct Case {
        QString command;
        int sourceRate;
        double share;
    } cases[] = {
        {wmv8.arg(64).arg(44100), 48000, 1 - 371 / 371.519},
        {wmv8.arg(32).arg(44100), 48000, 1 - 185 / 185.760},
        {wmv8.arg(128).arg(44100), 48000, 1 - 743 / 743.039},
        {wmv8.arg(32).arg(16000), 48000, 0},  // 512 samples of 32 ms: 128 bytes even
        {volume.arg(64), 32000, 0},           // the first version's 1024 samples at 32000 Hz: 256 bytes
        {volume.arg(64), 44100, 1 - 371 / 371.519},
        {QStringLiteral("/p/OrvexRes2 -noodml -ovc lavc -lavcopts vcodec=mpeg4 -oac mp3lame -lameopts cbr:br=64 "
                        "\"/v/in.avi\" -o \"/v/out.avi\""),
         44100, 0},
        // The converter counts its times by the samples.
        {QStringLiteral("/p/OrvexRes3 -y -i \"/v/in.avi\" -f asf -acodec wmav2 -vn -ab 64000 \"/v/out.wma\""), 44100, 0},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(clockShortfall(c.command, c.sourceRate), c.share, 1e-5) << c.command.toStdString();
}

TEST(ResultCheck, SourceSideStretchesAreWhatTheJobIsToGive)
{
    mdlMavrell::loadLanguageTable(QStringLiteral("en"));
    auto span = [](double a, double b) { return Span{true, a, b}; };
    auto spans = [](Span v, Span a) {
        Spans s;
        s.readable = true;
        s.video = v;
        s.audio = a;
        return s;
    };
    Span joinedSpan = span(0.5, 10.5);
    joinedSpan.held = 10;
    joinedSpan.pieceStart = 0.5;
    joinedSpan.pieceEnd = 10.5;
    struct Case {
        const char *what;
        Spans source;
        double length, from, to;  // the job; to < 0: the whole source
        Spans result;
        bool ok;
    } cases[] = {
        {"sound 3 s longer than the picture, kept", spans(span(0, 17.04), span(0, 20.04)), 17.1, 0, -1,
         spans(span(0, 17.1), span(0, 20.1)), true},
        {"sound 3 s longer, but the result cut it at the picture's end", spans(span(0, 17.04), span(0, 20.04)), 17.1, 0,
         -1, spans(span(0, 17.1), span(0, 17.1)), false},
        {"a header that claims half: the whole 20 s converted", spans(span(0.5, 20.5), span(0.5, 20.52)), 10.1, 0, -1,
         spans(span(0.54, 20.5), span(0.5, 20.55)), true},
        {"a header that claims half: only 10 s converted", spans(span(0.5, 20.5), span(0.5, 20.52)), 10.1, 0, -1,
         spans(span(0.54, 10.6), span(0.5, 10.6)), false},
        {"the picture 1 s late, kept late", spans(span(1, 6), span(0, 6.01)), 6, 0, -1,
         spans(span(1.5, 6.5), span(0.5, 6.53)), true},
        {"the picture 1 s late, moved to the sound's start", spans(span(1, 6), span(0, 6.01)), 6, 0, -1,
         spans(span(0.5, 5.5), span(0.5, 6.53)), false},
        {"the picture 1 s late, its first picture filling the gap", spans(span(1, 6), span(0, 6.01)), 6, 0, -1,
         spans(span(0.54, 6.46), span(0.54, 6.57)), true},
        {"the picture 1 s late and stretched by a second", spans(span(1, 6), span(0, 6.01)), 6, 0, -1,
         spans(span(1.5, 7.42), span(0.5, 6.53)), false},
        {"a cut inside a source whose sound outlasts the picture", spans(span(0, 17.04), span(0, 20.04)), 4, 2, 6,
         spans(span(0, 4), span(0, 4.02)), true},
        {"two files joined: the whole 20 s converted", spans(joinedSpan, joinedSpan), 10.1, 0, -1,
         spans(span(0.54, 20.5), span(0.5, 20.55)), true},
        {"a cut over the picture's end keeps the longer sound", spans(span(0, 17.04), span(0, 20.04)), 5, 15, 20,
         spans(span(0, 2.04), span(0, 5.0)), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Expectation e;
        e.length = c.length;
        e.picture = e.sound = true;
        const Verdict v = judge(c.result, sourceExpectation(e, c.source, c.from, c.to));
        EXPECT_EQ(v.ok, c.ok) << v.message.toStdString();
    }
    // An unreadable source changes nothing.
    Expectation e;
    e.length = 4;
    const Expectation same = sourceExpectation(e, Spans{}, 0, -1);
    EXPECT_EQ(same.sourcePictureLength, -1);
    EXPECT_EQ(same.sourceSoundLength, -1);
}

TEST(ResultCheck, WithoutAProberNothingPassesAndThePathIsNamed)
{
    mdlMavrell::loadLanguageTable(QStringLiteral("en"));
    testenv::ProgramDir programDir;
    programDir.fakeTool(3, "exit 0\n");
    programDir.activate();
    QTemporaryDir emptyPath;
    const QByteArray searchPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(emptyPath.path()));
    const QString prober = proberPath();
    const Verdict v = checkTarget(emptyPath.filePath("result.avi"), QString(), [] { Expectation e; e.length = 4; return e; }(), 0, true);
    qputenv("PATH", searchPath);
    EXPECT_TRUE(prober.isEmpty());
    EXPECT_FALSE(v.ok);
    // Every place looked in is named: beside tool 3's file, then the search path.
    EXPECT_EQ(v.message.toStdString(), (mdlMavrell::lng[txt::ProberMissing] + "\r\n\r\n"
                                        + QFileInfo(programDir.pluginPath(3)).absolutePath() + "/ffprobe\r\n"
                                        + emptyPath.path() + "/ffprobe").toStdString());
}

TEST(ResultCheck, BothWindowsMustShowEveryStreamTheFileLists)
{
    auto spans = [](Span v, Span a) {
        Spans s;
        s.readable = true;
        s.videoCodec = v.present ? QStringLiteral("mpeg1video") : QString();
        s.audioCodec = a.present ? QStringLiteral("mp2") : QString();
        s.video = v;
        s.audio = a;
        return s;
    };
    // A 90 s file read in its first 5 s and from 80 s on.
    EXPECT_TRUE(windowsHoldEveryStream(spans({true, 0.54, 90.5}, {true, 0.5, 90.6}), 5, 80));
    EXPECT_TRUE(windowsHoldEveryStream(spans({true, 0.5, 90.5}, {}), 5, 80));
    // The sound's last packets lie before the end window in the file.
    EXPECT_FALSE(windowsHoldEveryStream(spans({true, 0.54, 90.5}, {true, 0.5, 5.0}), 5, 80));
    // The sound starts after the first window.
    EXPECT_FALSE(windowsHoldEveryStream(spans({true, 0.54, 90.5}, {true, 7, 90.5}), 5, 80));
    // A file that ends before the end window (a result cut short).
    EXPECT_FALSE(windowsHoldEveryStream(spans({true, 0.54, 40}, {true, 0.5, 40}), 5, 80));
    // A listed stream without a packet in either window.
    Spans silent = spans({true, 0.54, 90.5}, {});
    silent.audioCodec = QStringLiteral("mp2");
    EXPECT_FALSE(windowsHoldEveryStream(silent, 5, 80));
    // A file that starts late counts its first window from its first packet.
    EXPECT_TRUE(windowsHoldEveryStream(spans({true, 1.4, 91.4}, {true, 1.45, 91.4}), 5, 80));

    EXPECT_EQ(probeCommand("/p/ffprobe", "/v/a b.mpg"),
              "/p/ffprobe -v error -show_entries stream=index,codec_type,codec_name,width,height,sample_aspect_ratio:"
              "packet=stream_index,pts_time,dts_time,duration_time,pos:format=format_name -of compact \"/v/a b.mpg\"");
    EXPECT_TRUE(probeCommand("/p/ffprobe", "/v/a.mpg", 5).endsWith(" -read_intervals %+5 \"/v/a.mpg\""));
    EXPECT_TRUE(probeCommand("/p/ffprobe", "/v/a.mpg", 0, 80.5).endsWith(" -read_intervals 80% \"/v/a.mpg\""));
}

} // namespace
