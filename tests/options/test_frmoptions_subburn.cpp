// The subtitle piece the options dialog writes, given to the real encoder: a subtitle
// file whose name holds a comma and a blank is burnt into a generated clip in its own
// time range and nowhere else.
#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "coregui/jobstate.h"
#include "options/frmoptions.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace mdlMavrell;

namespace {

QByteArray run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "timed out: " << program.toStdString();
        return {};
    }
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << " " << args.join(' ').toStdString() << "\n"
                               << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

// Encodes the clip with every frame a key frame (so frames do not lean on each other)
// and returns its frames as small grey pictures.
QList<QByteArray> encodeFrames(const QString &src, const QString &out, const QString &pieces)
{
    const QString plugins = testenv::buildAppDir() + QStringLiteral("plugins/");
    QStringList args{src, QStringLiteral("-o"), out, QStringLiteral("-noautosub"), QStringLiteral("-nosound"),
                     QStringLiteral("-ovc"), QStringLiteral("lavc"), QStringLiteral("-lavcopts"),
                     QStringLiteral("vcodec=mpeg4:vqscale=2:keyint=1")};
    args += QProcess::splitCommand(pieces);
    run(plugins + QStringLiteral("OrvexRes2"), args);
    const QByteArray raw = run(plugins + QStringLiteral("OrvexRes3"),
                               {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), out,
                                QStringLiteral("-f"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
                                QStringLiteral("gray"), QStringLiteral("-s"), QStringLiteral("160x120"),
                                QStringLiteral("-")});
    QList<QByteArray> frames;
    const int size = 160 * 120;
    for (int at = 0; at + size <= raw.size(); at += size)
        frames.append(raw.mid(at, size));
    return frames;
}

// Pixels that differ clearly between two frames.
int changedPixels(const QByteArray &a, const QByteArray &b)
{
    int n = 0;
    for (int i = 0; i < a.size() && i < b.size(); ++i)
        if (std::abs(int(uchar(a[i])) - int(uchar(b[i]))) > 40)
            ++n;
    return n;
}


TEST(FrmOptionsSubtitleBurn, SubtitlesAppearInTheirTimeRangeOnly)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A clip of independent frames: the encoder decodes them the same way every time.
    const QString src = dir.path() + QStringLiteral("/clip.avi");
    run(testenv::buildAppDir() + QStringLiteral("plugins/OrvexRes3"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
         QStringLiteral("-i"), QStringLiteral("testsrc=size=320x240:rate=25:duration=3"), QStringLiteral("-c:v"),
         QStringLiteral("mjpeg"), QStringLiteral("-q:v"), QStringLiteral("3"), src});
    ASSERT_TRUE(QFile::exists(src));
    const QString subFile = dir.path() + QStringLiteral("/film, part one.srt");
    QFile srt(subFile);
    ASSERT_TRUE(srt.open(QIODevice::WriteOnly));
    srt.write("1\n00:00:01,000 --> 00:00:02,000\nWWWWWWWW\nMMMMMMMM\n\n");
    srt.close();

    ASSERT_TRUE(loadLanguageTable(QStringLiteral("en")));
    ScriptedPrompts prompts;
    jobstate::sourceInfo = testenv::sampleSource(320, 240, 3, {}, "mp3");
    jobstate::jobSettings.targetFormat = QStringLiteral("DivX");
    jobstate::jobSettings.targetExt = QStringLiteral("avi");
    jobstate::jobSettings.outWidth = 320;
    jobstate::jobSettings.outHeight = 240;

    FrmOptions &dlg = frmOptions();
    dlg.applyLanguage();
    dlg.setCboFpsItem(false);
    dlg.cboFps->setCurrentIndex(0);
    dlg.setCboVideoBitrateItem(false);
    dlg.cboVideoBitrate->setCurrentIndex(8);
    dlg.cboAudioBitrate->setCurrentIndex(6);
    dlg.setCboRotateItem(false);
    dlg.cboRotate->setCurrentIndex(0);
    dlg.cboSize->setCurrentIndex(0);
    dlg.SetSizeSetting();
    dlg.SetSubSetting(true);
    dlg.showForSettings(src);
    QTest::mouseClick(dlg.optSub[1], Qt::LeftButton, {}, QPoint(4, 4));
    dlg.txtSubFile->setText(subFile);
    dlg.txtSubSize->setText(QStringLiteral("8"));
    dlg.cmdOkCancel_Click(0);
    ASSERT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
    ASSERT_TRUE(jobstate::jobSettings.subtitleOpts.startsWith(QStringLiteral(" -sub \""))) << jobstate::jobSettings.subtitleOpts.toStdString();
    ASSERT_TRUE(jobstate::jobSettings.subtitleOpts.contains(QStringLiteral("film\\, part one.srt"))) << jobstate::jobSettings.subtitleOpts.toStdString();

    const QList<QByteArray> plain = encodeFrames(src, dir.path() + QStringLiteral("/plain.avi"), QString());
    const QList<QByteArray> burnt = encodeFrames(src, dir.path() + QStringLiteral("/burnt.avi"), jobstate::jobSettings.subtitleOpts);
    ASSERT_GE(plain.size(), 70);
    ASSERT_EQ(burnt.size(), plain.size());
    const double fps = plain.size() / 3.0;
    int inside = 0, insideChanged = 0;
    for (int i = 0; i < plain.size(); ++i) {
        const double t = i / fps;
        const int changed = changedPixels(plain[i], burnt[i]);
        if (t > 1.1 && t < 1.9) {
            ++inside;
            if (changed > 30)
                ++insideChanged;
        } else if (t < 0.9 || t > 2.1) {
            EXPECT_EQ(changed, 0) << "frame " << i;
        }
    }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(insideChanged, inside);
    unloadFrmOptions();
}

} // namespace
