// The volume piece of a sound target on the real converter: the gain measured in the
// result is the gain in dB the adjuster's caption names.
#include "core/numbertext.h"
#include "core/timetext.h"
#include "coregui/jobstate.h"
#include "options/optionpieces.h"
#include "options/optionstestlang.h"
#include "support/testenv.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace opt;

namespace {

QString runTool(const QString &cmd)
{
    QStringList args = QProcess::splitCommand(cmd);
    const QString program = args.takeFirst();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.waitForFinished(30000);
    const QString out = QString::fromUtf8(p.readAll());
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    return out;
}

// Converts the tone as the sound-target command does, with the piece appended, and
// returns the mean level of the result in dB.
double meanVolume(const QString &tool3, const QString &source, const QString &piece, const QString &target)
{
    runTool(tool3 + " -nostdin -y -i \"" + source + "\" -ac 2 -ar 44100" + piece + " \"" + target + "\"");
    const QString out = runTool(tool3 + " -nostdin -hide_banner -i \"" + target + "\" -af volumedetect -f null -");
    const QString value = mdlMavrell::GetBetween(out, "mean_volume:", "dB");
    EXPECT_FALSE(value.isEmpty()) << out.toStdString();
    return numbertext::Val(value);
}

TEST(VolumeGain, SoundTargetGainIsTheCaptionsDecibels)
{
    optionstest::loadEnglish();
    optionstest::resetJob();
    jobstate::jobSettings.targetIsAudio = true;
    jobstate::jobSettings.targetFormat = "Sound MP3";
    const QString tone = testenv::fixture("tone.wav");
    ASSERT_FALSE(tone.isEmpty());
    testenv::ProgramDir programs;
    const QString tool3 = programs.pluginPath(3);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.path() + "/out.wav";
    const double base = meanVolume(tool3, tone, QString(), target);
    OptionsForm f;
    for (int db : {6, -6, -20}) {
        SCOPED_TRACE(db);
        f.lblVolume.tag = numbertext::integer(db);
        const QString piece = volumePiece(f);
        ASSERT_TRUE(piece.startsWith(" -vol "));
        EXPECT_NEAR(meanVolume(tool3, tone, piece, target) - base, db, 0.3);
    }
}

} // namespace
