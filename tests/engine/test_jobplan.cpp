// Job planning: the open dialog's filters, the target's extension, folder and name,
// the size cap, and the whole job start on real clips.
#include "engine/jobplan.h"
#include "engine/optionpresets.h"
#include "engine/tabmasks.h"
#include "engine/testjob.h"

#include "core/mdlmavrell.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"
#include "texttable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace engine;

namespace {

QString touch(const QString &path, const QByteArray &bytes = "x")
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

} // namespace

TEST(JobPlan, OpenDialogFilters)
{
    mdlMavrell::openFileFilter = "Media (*.avi;*.mpg)|*.avi;*.mpg|All Files (*.*)|*.*";
    EXPECT_EQ(sourceOpenFilter("avi", "DivX"), mdlMavrell::openFileFilter);
    EXPECT_EQ(sourceOpenFilter("mpg|dat|vob", "onlyCut"),
              QString("MPEG Files (*.mpg;*.mpeg;*.dat;*.vob)|*.mpg;*.mpeg;*.dat;*.vob|All Files (*.*)|*.*"));
    EXPECT_EQ(sourceOpenFilter("wmv", "onlyFix"), QString("WMV Files (*.wmv)|*.wmv|All Files (*.*)|*.*"));
    EXPECT_EQ(nameFiltersOf(sourceOpenFilter("mpg|dat|vob", "onlyTransVol")),
              QStringList({"MPEG Files (*.mpg *.mpeg *.dat *.vob)", "All Files (*)"}));

    ScriptedPrompts prompts;
    prompts.cancelFile();
    EXPECT_EQ(chooseSource(*targetChoice(TargetMenu::ToFix, 1)), QString());
    ASSERT_EQ(prompts.fileRequests.size(), 1);
    EXPECT_EQ(prompts.fileRequests[0].kind, prompts::FileRequest::Open);
    EXPECT_EQ(prompts.fileRequests[0].nameFilters, QStringList({"WMV Files (*.wmv)", "All Files (*)"}));
    prompts.answerFile("/v/clip.wmv");
    EXPECT_EQ(chooseSource(*targetChoice(TargetMenu::ToFix, 1)), QString("/v/clip.wmv"));
    prompts.cancelFile();
    EXPECT_FALSE(openSourceForTarget(*targetChoice(TargetMenu::ToFix, 1), PlanSettings(), testjob::source, testjob::job, testjob::preview).started);
    EXPECT_TRUE(prompts.messages.isEmpty()) << "a cancelled dialog says nothing";
}

TEST(JobPlan, TargetExtensionKeepsACopyJobsContainer)
{
    struct Case {
        const char *ext, *source, *want;
    } cases[] = {
        {"mpg|dat|vob", "/v/a.MPEG", "mpg"}, {"mpg|dat|vob", "/x/film.dat", "dat"},
        {"mpg|dat|vob", "/x/f.VOB", "vob"},  {"mpg|dat|vob", "/x/f.pg", "mpg"},  // whole items, not a substring
        {"mpg|dat|vob", "/x/noext", "mpg"},  {"mpg|dat|vob", "/x/f.d", "mpg"},
        {"mpg|dat|vob", "/x/f.avi", "mpg"},  {"wmv", "/x/f.asf", "wmv"},
        {"mp3", "/x/f.avi", "mp3"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(targetExtFor(c.ext, c.source), QString(c.want)) << c.source;
}

TEST(JobPlan, TargetNamesSuffixesAndCollisions)
{
    QTemporaryDir tmp;
    const QString d = tmp.path() + "/";
    struct Case {
        const char *source, *format, *ext, *want;
    } cases[] = {
        {"a.MPEG", "onlyTransVol", "mpg", "a_NewVol.mpg"},
        {"film.dat", "onlyCut", "dat", "film_Cut.dat"},
        {"film.avi", "onlyFix", "avi", "film_Fix.avi"},
        {"c.wmv", "AudIsMp3", "avi", "c_AudIsMp3.avi"},
        {"b.mpg", "MPEG1", "mpg", "b_mpg2.mpg"},      // would name the source itself
        {"B.MPG", "MPEG2", "mpg", "B_mpg2.mpg"},      // compared without regard to case
        {"clip.old.avi", "DivX", "avi", "clip.old_avi2.avi"},
        {"clip.avi", "{264} MP3", "mp3", "clip.mp3"},
        {"noext", "MPEG1", "mpg", "noext.mpg"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(targetPathFor(d + c.source, d, c.format, c.ext), d + c.want) << c.source;

    // A target folder that reaches the source's folder through a link is the same place.
    touch(d + "v.avi");
    ASSERT_TRUE(QFile::link(tmp.path(), d + "link"));
    EXPECT_EQ(targetPathFor(d + "v.avi", d + "link/", "XviD", "avi"), d + "link/v_avi2.avi");
}

TEST(JobPlan, TargetFolderFallsBackToHome)
{
    QTemporaryDir tmp;
    QDir(tmp.path()).mkdir("out");
    const QString home = QDir::homePath() + "/";
    EXPECT_EQ(targetFolder(tmp.path() + "/clip.avi", true, "/ignored"), tmp.path() + "/");
    EXPECT_EQ(targetFolder(tmp.path() + "/clip.avi", false, tmp.path() + "/out"), tmp.path() + "/out/");
    EXPECT_EQ(targetFolder(tmp.path() + "/clip.avi", false, tmp.path() + "/deleted"), home);
    EXPECT_EQ(targetFolder(tmp.path() + "/clip.avi", false, ""), home);
    // A fixed folder that exists but could not stand in a command line, however it was set.
    ASSERT_TRUE(QDir(tmp.path()).mkdir("q\"dir"));
    EXPECT_EQ(targetFolder(tmp.path() + "/clip.avi", false, tmp.path() + "/q\"dir"), home);
}

TEST(JobPlan, FitSizeTo1280)
{
    struct Case {
        int w, h, outW, outH;
    } cases[] = {{0, 0, 0, 0}, {320, 0, 320, 0}, {1280, 1280, 1280, 1280}, {640, 480, 640, 480},
                 {1920, 1080, 1280, 720}, {1000, 1500, 854, 1280}, {1400, 2000, 896, 1280},
                 {1281, 1, 1280, 2}, {2560, 1081, 1280, 540}};  // 540.5 rounds to even 540
    for (const Case &c : cases) {
        int w = -1, h = -1;
        fitSizeTo1280(c.w, c.h, w, h);
        EXPECT_EQ(w, c.outW) << c.w << "x" << c.h;
        EXPECT_EQ(h, c.outH) << c.w << "x" << c.h;
    }
}

TEST(JobPlan, PathLabelsSitOnTheirButtons)
{
    EXPECT_EQ(pathLabelTop(100, 40, 20, false), 112);
    EXPECT_EQ(pathLabelTop(100, 40, 20, true), 111);
    EXPECT_EQ(subtitleCodePageIndex("tw"), 1);
    EXPECT_EQ(subtitleCodePageIndex("gb"), 2);
    EXPECT_EQ(subtitleCodePageIndex("en"), 0);
}

class JobStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillMarkerTable();
        programDir.activate();
    }
    QString copyClip(const char *fixture, const QString &name)
    {
        const QString to = tmp.path() + "/" + name;
        QFile::copy(testenv::fixture(fixture), to);
        return to;
    }
    testenv::ProgramDir programDir;
    QTemporaryDir tmp;
    ScriptedPrompts prompts;
};

TEST_F(JobStart, PlansAVideoJobWithItsSubtitle)
{
    const QString source = copyClip("mpeg4.avi", "clip.avi");
    touch(tmp.path() + "/clip.srt");
    // Left-overs of an earlier job.
    testjob::job.markIn = 5;
    testjob::job.markOut = 9;
    testjob::job.scaleFilter = " -vf-add crop=1:1:0:0";
    testjob::job.subtitleOpts = " -sub x";
    testjob::job.cropRect[0] = 1;
    testjob::preview.previewPos = 3;

    PlanSettings s;
    s.language = "tw";
    const JobPlan plan = planJob(*targetChoice(TargetMenu::ToAvi, 2), source, s, testjob::source, testjob::job, testjob::preview);
    ASSERT_TRUE(plan.started);
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(plan.target, tmp.path() + "/clip_avi2.avi");
    EXPECT_EQ(testjob::job.targetExt, QString("avi"));
    EXPECT_EQ(testjob::job.targetFormat, QString("DivX"));
    EXPECT_FALSE(isAudioTarget(testjob::job));
    EXPECT_EQ(testjob::source.srcWidth, 320);
    EXPECT_EQ(testjob::job.outWidth, 320);
    EXPECT_EQ(testjob::job.outHeight, 240);
    EXPECT_FLOAT_EQ(testjob::job.markIn, 0);
    EXPECT_FLOAT_EQ(testjob::job.markOut, 0);
    EXPECT_TRUE(testjob::job.scaleFilter.isEmpty());
    EXPECT_TRUE(testjob::job.subtitleOpts.isEmpty());
    EXPECT_EQ(testjob::job.cropRect[0], 0);
    EXPECT_FLOAT_EQ(testjob::preview.previewPos, 0);

    EXPECT_EQ(plan.neutral.scopeStart, QString("00:00:00.0"));
    EXPECT_EQ(plan.neutral.scopeEnd, QString("00:00:03.1"));
    EXPECT_EQ(plan.neutral.subtitleFile, tmp.path() + "/clip.srt");
    EXPECT_TRUE(plan.neutral.useSubtitle);
    EXPECT_TRUE(plan.neutral.subtitleChoice);
    EXPECT_EQ(plan.neutral.subtitleCodePage, 1);
}

TEST_F(JobStart, SubtitleIsLookedForInTheTargetFolder)
{
    const QString source = copyClip("mpeg4.avi", "clip.avi");
    touch(tmp.path() + "/clip.srt");
    QDir(tmp.path()).mkdir("out");
    PlanSettings s;
    s.targetBesideSource = false;
    s.fixedFolder = tmp.path() + "/out";
    const JobPlan plan = planJob(*targetChoice(TargetMenu::ToMpg, 3), source, s, testjob::source, testjob::job, testjob::preview);
    EXPECT_EQ(plan.target, tmp.path() + "/out/clip.mpg");
    EXPECT_TRUE(plan.neutral.subtitleFile.isEmpty());
    EXPECT_FALSE(plan.neutral.useSubtitle);
    EXPECT_TRUE(plan.neutral.subtitleChoice);
}

TEST_F(JobStart, AudioSourceHasNoSubtitleChoice)
{
    const QString source = copyClip("tone.mp3", "tone.mp3");
    touch(tmp.path() + "/tone.srt");
    const JobPlan plan = planJob(*targetChoice(TargetMenu::ToSound, 0), source, PlanSettings(), testjob::source, testjob::job, testjob::preview);
    ASSERT_TRUE(plan.started);
    EXPECT_EQ(plan.target, tmp.path() + "/tone.wav");
    EXPECT_TRUE(isAudioTarget(testjob::job));
    EXPECT_EQ(testjob::job.targetFormat, QString("{264} WAV"));
    EXPECT_FALSE(plan.neutral.subtitleChoice);
    EXPECT_TRUE(plan.neutral.subtitleFile.isEmpty());
    EXPECT_EQ(testjob::job.outWidth, 0);
}

TEST_F(JobStart, CopyJobKeepsTheContainerAndNamesTheSuffix)
{
    const QString source = copyClip("mpeg1.mpg", "film.MPEG");
    const JobPlan plan = planJob(*targetChoice(TargetMenu::ToCut, 0), source, PlanSettings(), testjob::source, testjob::job, testjob::preview);
    EXPECT_EQ(testjob::job.targetExt, QString("mpg"));
    EXPECT_EQ(plan.target, tmp.path() + "/film_Cut.mpg");
    EXPECT_EQ(testjob::source.srcDemuxer, QString("mpegps"));
}

TEST_F(JobStart, StillGifIsToldAndTheJobGoesOn)
{
    const QString source = copyClip("still.gif", "still.gif");
    const JobPlan plan = planJob(*targetChoice(TargetMenu::ToAvi, 1), source, PlanSettings(), testjob::source, testjob::job, testjob::preview);
    ASSERT_TRUE(plan.started);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), "{56}\n\n" + source);
    EXPECT_EQ(plan.gifResult, QString("Static Gif"));
    EXPECT_EQ(plan.target, tmp.path() + "/still.avi");
}

TEST_F(JobStart, UnusableSourceIsRefusedAndTheJobKept)
{
    testjob::job.targetFormat = "MPEG2";
    testjob::source.srcWidth = 640;
    testjob::job.markIn = 2;
    const QString empty = touch(tmp.path() + "/empty.avi", "");
    const JobPlan plan = planJob(*targetChoice(TargetMenu::ToAvi, 1), empty, PlanSettings(), testjob::source, testjob::job, testjob::preview);
    EXPECT_FALSE(plan.started);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), "{10}\n\n" + empty);
    EXPECT_EQ(testjob::job.targetFormat, QString("MPEG2"));
    EXPECT_EQ(testjob::source.srcWidth, 640);
    EXPECT_FLOAT_EQ(testjob::job.markIn, 2);
}

TEST_F(JobStart, SoundFileForAVideoTargetMasksEveryPage)
{
    const QString source = copyClip("tone.mp3", "song.mp3");
    const auto choice = *targetChoice(TargetMenu::ToAvi, 2);
    ASSERT_TRUE(planJob(choice, source, PlanSettings(), testjob::source, testjob::job, testjob::preview).started);
    const OptionPreset p = presetJob(testjob::source, testjob::job, choice.formatCaption);
    EXPECT_EQ(p.family, TargetFamily::OtherVideo);
    EXPECT_EQ(testjob::job.scaleFilter, QString(" -vf-add scale=0:0"));
    EXPECT_TRUE(isJobImpossible(testjob::source, testjob::job));
    for (const TabMask &m : tabMasks(6, testjob::source, testjob::job)) {
        EXPECT_TRUE(m.visible);
        EXPECT_EQ(m.message, QString("{248}"));
    }
}

TEST_F(JobStart, SilentVideoMasksOnlyTheAudioPage)
{
    const QString source = copyClip("silent.avi", "silent.avi");
    const auto choice = *targetChoice(TargetMenu::ToWmv, 2);
    ASSERT_TRUE(planJob(choice, source, PlanSettings(), testjob::source, testjob::job, testjob::preview).started);
    const OptionPreset p = presetJob(testjob::source, testjob::job, choice.formatCaption);
    EXPECT_EQ(p.fps.items.size(), 9);
    EXPECT_EQ(p.fps.items.last(), QString("25{120}")) << "never above the source's 25 frames per second";
    EXPECT_EQ(testjob::job.fpsText, QString("20{120}"));
    const QList<TabMask> masks = tabMasks(6, testjob::source, testjob::job);
    for (int i = 0; i < masks.size(); ++i)
        EXPECT_EQ(masks[i].visible, i == AudioPage) << i;
    EXPECT_EQ(masks[0].message, QString("{249}"));
}
