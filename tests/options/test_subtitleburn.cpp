// The subtitle piece on a real encoder run: burnt into a generated clip, it changes
// the picture in the subtitle's time range only; a positive delay shows it later; a
// comma in the subtitle's path does not lose it.
#include "core/numbertext.h"
#include "coregui/jobstate.h"
#include "options/optionlists.h"
#include "options/optionpieces.h"
#include "options/optionstestlang.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace opt;

namespace {

QString run(const QString &program, const QStringList &args, int *exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(60000);
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAll());
}

// Per frame: its time in seconds and the hash of its decoded picture.
QList<std::pair<double, QString>> frameHashes(const QString &file)
{
    int code = 0;
    const QString out = run("ffmpeg", {"-nostdin", "-loglevel", "error", "-i", file, "-an", "-f", "framemd5", "-"}, &code);
    EXPECT_EQ(code, 0) << out.toStdString();
    double tb = 1.0 / 25;
    QList<std::pair<double, QString>> frames;
    for (const QString &line : out.split('\n')) {
        if (line.startsWith("#tb 0:")) {
            const QStringList r = line.mid(6).trimmed().split('/');
            if (r.size() == 2 && numbertext::Val(r[1]) > 0)
                tb = numbertext::Val(r[0]) / numbertext::Val(r[1]);
            continue;
        }
        const QStringList cols = line.split(',');
        if (line.startsWith('#') || cols.size() < 6)
            continue;
        frames.append({numbertext::Val(cols[2]) * tb, cols[5].trimmed()});
    }
    return frames;
}

class SubtitleBurn : public ::testing::Test {
protected:
    void SetUp() override
    {
        optionstest::loadEnglish();
        optionstest::resetJob();
        jobstate::jobSettings.targetFormat = "XviD";
        jobstate::jobSettings.targetExt = "avi";
        clip = testenv::fixture("silent.avi");  // picture only: the test looks at the picture
        ASSERT_FALSE(clip.isEmpty());
        ASSERT_TRUE(dir.isValid());
        programs.activate();
        // A path with commas, which the player's "-sub" list would otherwise split.
        const QString folder = dir.path() + "/films, subtitles";
        ASSERT_TRUE(QDir().mkpath(folder));
        subFile = folder + "/clip,en.srt";
        QFile srt(subFile);
        ASSERT_TRUE(srt.open(QIODevice::WriteOnly));
        srt.write("1\n00:00:01,000 --> 00:00:02,000\nHello subtitle\n");
        srt.close();

        fillDesignLists(f);
        for (const auto &font : mdlGetFontsFile::InstalledFonts())
            if (font.family == "DejaVu Sans" && font.text.contains("(DejaVuSans.ttf)"))
                f.subFonts.append(font);
        for (const auto &font : f.subFonts)
            f.cboSubFont.add(font.text);
        f.cboSubFont.select(f.cboSubFont.count() > 0 ? 0 : -1);
        f.cboSubcp.select(0);
        f.optSub[0].value = false;
        f.optSub[1].value = true;
        f.txtSubFile.text = subFile;
    }

    // Encodes the clip losslessly with tool 2, the given piece appended, as the
    // encode step joins it; returns the frame hashes of the result.
    QList<std::pair<double, QString>> encode(const QString &name, const QString &piece)
    {
        const QString out = dir.path() + '/' + name;
        const QString cmd = programs.pluginPath(2) + " \"" + clip + "\" -really-quiet -nosound -noautosub -ovc lavc"
                            " -lavcopts vcodec=ffv1 -o \"" + out + "\"" + piece;
        QStringList args = QProcess::splitCommand(cmd);
        const QString program = args.takeFirst();
        int code = 0;
        const QString log = run(program, args, &code);
        EXPECT_EQ(code, 0) << log.toStdString();
        EXPECT_GT(QFileInfo(out).size(), 0) << log.toStdString();
        return frameHashes(out);
    }

    // Frames that differ lie inside (from, to) and every frame well inside differs.
    void expectChangedOnlyWithin(const QList<std::pair<double, QString>> &base,
                                 const QList<std::pair<double, QString>> &burnt, double from, double to)
    {
        ASSERT_EQ(base.size(), burnt.size());
        ASSERT_GE(base.size(), 70);
        int changed = 0;
        for (int i = 0; i < base.size(); ++i) {
            const double t = base[i].first;
            const bool differs = base[i].second != burnt[i].second;
            changed += differs;
            if (t > from + 0.1 && t < to - 0.1) {
                EXPECT_TRUE(differs) << "frame at " << t << " s shows no subtitle";
            }
            if (t < from - 0.1 || t > to + 0.15) {
                EXPECT_FALSE(differs) << "frame at " << t << " s changed outside the subtitle";
            }
        }
        EXPECT_GT(changed, 15);
    }

    QString clip, subFile;
    QTemporaryDir dir;
    testenv::ProgramDir programs;
    OptionsForm f;
};

TEST_F(SubtitleBurn, PieceBurnsTheSubtitleInItsTimeRangeOnly)
{
    bool failed = false;
    const QString piece = getSubPara(f, failed, false);
    ASSERT_FALSE(failed);
    ASSERT_TRUE(piece.startsWith(" -sub \"" + dir.path() + "/films\\, subtitles/clip\\,en.srt\"")) << piece.toStdString();
    if (!f.subFonts.isEmpty()) {
        EXPECT_TRUE(piece.contains(" -font \"DejaVu Sans\""));
    }

    const auto base = encode("base.avi", QString());
    const auto burnt = encode("burnt.avi", piece);
    expectChangedOnlyWithin(base, burnt, 1.0, 2.0);

    // A positive delay shows the subtitle later, as the delay box's help promises.
    f.txtSubDelay.text = "1";
    const QString delayed = getSubPara(f, failed, false);
    ASSERT_TRUE(delayed.contains(" -subdelay 1"));
    expectChangedOnlyWithin(base, encode("delayed.avi", delayed), 2.0, 3.0);
}

} // namespace
