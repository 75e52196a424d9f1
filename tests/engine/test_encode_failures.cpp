// Why a job cannot run or did not work, told with its cause and path before or when
// it happens, and nothing that looks like a result left behind: fake encoders for the
// causes before the run and a folder that goes away, a real small drive for a full one.
#include "engine/encodejob.h"
#include "engine/testjob.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace mdlMavrell;
using encodeflow::Outcome;

namespace {

// Marks a file unchangeable (the file system's immutable flag) or clears the mark.
bool setUnchangeable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// A small tmpfs of its own (the superuser only; false where it cannot be mounted).
bool mountSmallDrive(const QString &dir, const char *options)
{
    return ::geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, options) == 0;
}

class Failures : public ::testing::Test {
protected:
    void SetUp() override
    {
        src = tmp.path() + "/in.avi";
        ASSERT_TRUE(encodetest::standInJob(programDir, src));
        // An encoder that logs its start, writes to the file after "-o" and then runs on.
        programDir.fakeTool(2, "out=''; prev=''; for a; do [ \"$prev\" = -o ] && out=$a; prev=$a; done\n"
                               "echo $$ >> '" + QFile::encodeName(log()) + "'\n"
                               "head -c 4000 /dev/zero > \"$out\"\n"
                               "while true; do printf 'Pos:   1.0s   25f\\r'; sleep 0.1; done\n");
    }
    void TearDown() override
    {
        if (!mounted.isEmpty())
            ::umount2(QFile::encodeName(mounted).constData(), MNT_DETACH);
    }
    QString log() const { return tmp.path() + "/log"; }
    bool toolRan() const { return QFile::exists(log()); }

    testenv::ProgramDir programDir;
    QTemporaryDir tmp;
    QString src, mounted;
    encodetest::RecordingWindow window;
    ScriptedPrompts prompts;
};

// Each cause found before the encoder starts: its message names the cause and the
// path, no tool runs, and nothing is written.
TEST_F(Failures, CausesFoundBeforeTheRun)
{
    const QString folderTarget = tmp.path() + "/a folder.avi";
    ASSERT_TRUE(QDir().mkpath(folderTarget));
    const QString longName = tmp.path() + "/" + QString(252, QLatin1Char('n')) + ".avi";
    // A name the file system takes, but not with the ending of the part the tools write.
    const QString nearLimit = tmp.path() + "/" + QString(246, QLatin1Char('n')) + ".avi";
    const QString noFolder = tmp.path() + "/gone";
    const QString lockedTool = programDir.pluginPath(3);
    struct Case {
        const char *what;
        QString dst;
        int entry;
        QString path;
        std::function<void()> arrange, undo;
    } cases[] = {
        {"target is a folder", folderTarget, txt::TargetIsFolder, folderTarget, {}, {}},
        {"target name too long", longName, txt::TargetNameTooLong, longName, {}, {}},
        {"the part's name too long", nearLimit, txt::TargetNameTooLong, encodeflow::partPath(nearLimit), {}, {}},
        {"target folder missing", noFolder + "/out.avi", txt::TargetFolderMissing, noFolder, {}, {}},
        // The tool is a link to the system's program: it is replaced, never changed.
        {"tool not executable", tmp.path() + "/out.avi", txt::ToolNotExecutable, lockedTool,
         [&] {
             QFile::remove(lockedTool);
             QFile plain(lockedTool);
             plain.open(QIODevice::WriteOnly);
             plain.write("#!/bin/sh\n");
             plain.close();
             plain.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
         },
         [&] {
             QFile::remove(lockedTool);
             QFile::link("/usr/bin/ffmpeg", lockedTool);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.arrange)
            c.arrange();
        prompts.messages.clear();
        const auto r = encodetest::convert(src, c.dst, window);
        if (c.undo)
            c.undo();
        EXPECT_EQ(r.outcome, Outcome::Failed);
        EXPECT_EQ(r.problem.entry, c.entry);
        ASSERT_EQ(prompts.messages.size(), 1);
        EXPECT_EQ(prompts.lastText(), lng[c.entry] + "\n\n" + c.path);
        EXPECT_FALSE(toolRan());
    }
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "only the source is there";

    // The DVD route also writes a file whose name is longer than the target's.
    encodetest::setTarget("DVD", "vob");
    const QString dvdNearLimit = tmp.path() + "/" + QString(245, QLatin1Char('v')) + ".vob";
    prompts.messages.clear();
    const auto r = encodetest::convert(src, dvdNearLimit, window);
    EXPECT_EQ(r.problem.entry, txt::TargetNameTooLong);
    EXPECT_EQ(prompts.lastText(), lng[txt::TargetNameTooLong] + "\n\n" + encodecommand::intermediatePath(dvdNearLimit));
}

// A folder nothing can be written to (a read-only drive; the superuser passes every
// permission bit, so a read-only mount stands in for it), and a source that cannot be
// read (checked as another user: the superuser reads everything).
TEST_F(Failures, FolderNotWritableAndSourceUnreadable)
{
    const QString ro = tmp.path() + "/ro";
    ASSERT_TRUE(QDir().mkpath(ro));
    if (mountSmallDrive(ro, "size=1m,mode=0755"))
        mounted = ro;
    if (!mounted.isEmpty()) {
        ASSERT_EQ(::mount(nullptr, QFile::encodeName(ro).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    } else if (::geteuid() != 0) {
        QFile::setPermissions(ro, QFile::ReadOwner | QFile::ExeOwner);
    } else {
        GTEST_SKIP() << "no read-only folder can be made here";
    }
    const auto r = encodetest::convert(src, ro + "/out.avi", window);
    EXPECT_EQ(r.problem.entry, txt::TargetFolderNotWritable);
    EXPECT_EQ(prompts.lastText(), lng[txt::TargetFolderNotWritable] + "\n\n" + ro);
    EXPECT_FALSE(toolRan());

    // The source's check as a user who may not read it.
    QFile::setPermissions(src, QFile::WriteOwner);
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
    const bool asOther = ::geteuid() == 0;
    if (asOther) {
        ASSERT_EQ(::setresuid(65534, 65534, 0), 0);
    }
    const encodeflow::Problem p = encodeflow::preRunProblem(src, tmp.path() + "/out.avi", {});
    if (asOther) {
        ASSERT_EQ(::setresuid(0, 0, 0), 0);
    }
    EXPECT_EQ(p.entry, txt::SourceUnreadable);
    EXPECT_EQ(p.path, src);
}

// The target's folder removed while the tool writes into it: the run ends at once with
// that cause, the tool is gone, and the report says nothing was kept.
TEST_F(Failures, FolderRemovedDuringTheRun)
{
    const QString folder = tmp.path() + "/goes";
    ASSERT_TRUE(QDir().mkpath(folder));
    QTimer::singleShot(400, [&] { QDir(folder).removeRecursively(); });
    QElapsedTimer t;
    t.start();
    const auto r = encodetest::convert(src, folder + "/out.avi", window);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_TRUE(toolRan());
    ASSERT_EQ(prompts.messages.size(), 1);
    const QString report = prompts.lastText();
    EXPECT_TRUE(report.contains(lng[txt::TargetFolderRemoved] + "\r\n" + folder)) << report.toStdString();
    EXPECT_TRUE(report.contains("Convert failed")) << report.toStdString();
    EXPECT_TRUE(report.endsWith(lng[txt::NothingKept])) << report.toStdString();
    QFile pids(log());
    ASSERT_TRUE(pids.open(QIODevice::ReadOnly));
    EXPECT_NE(::kill(QString::fromLatin1(pids.readAll()).trimmed().toInt(), 0), 0) << "the encoder still runs";
}

// An old target the system will not let go (marked unchangeable, which only the
// superuser can do) is named as protected, not as in use by another program; it stays
// as it was and no tool runs.
TEST_F(Failures, ProtectedOldTargetIsNamedAsSuch)
{
    const QString dst = tmp.path() + "/out.avi";
    {
        QFile old(dst);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    if (!setUnchangeable(dst, true))
        GTEST_SKIP() << "no file can be marked unchangeable here";
    const auto r = encodetest::convert(src, dst, window);
    setUnchangeable(dst, false);
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_FALSE(toolRan());
    ASSERT_EQ(prompts.messages.size(), 1);
    const QString report = prompts.lastText();
    EXPECT_TRUE(report.startsWith(dst + "\r\n\r\n" + lng[txt::TargetProtected] + "\r\n\r\nConvert failed"))
        << report.toStdString();
    EXPECT_FALSE(report.contains(lng[txt::TargetInUse]));
    QFile kept(dst);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
}

// The real encoder filling a small drive: a failure that names the full drive, and the
// partial file is removed, so the drive has its room back. Mounting needs the superuser;
// elsewhere the removal after a failing tool is what FailuresAreNeverSuccesses shows.
TEST_F(Failures, FullDriveKeepsNothing)
{
    const QString small = tmp.path() + "/small";
    ASSERT_TRUE(QDir().mkpath(small));
    if (!mountSmallDrive(small, "size=400k"))
        GTEST_SKIP() << "no small drive can be mounted here";
    mounted = small;
    programDir.activate();
    QFile::remove(programDir.pluginPath(2));
    ASSERT_TRUE(QFile::link("/usr/bin/mencoder", programDir.pluginPath(2)));
    const QString clip = testenv::fixture("long.avi");
    encodetest::probeSource(clip);
    encodetest::setTarget("DivX", "avi");
    const QString dst = small + "/full.avi";
    const auto r = encodetest::convert(clip, dst, window);
    EXPECT_EQ(r.outcome, Outcome::Failed) << r.command.toStdString();
    ASSERT_FALSE(prompts.messages.isEmpty());
    const QString report = prompts.lastText();
    EXPECT_TRUE(report.contains(lng[txt::TargetDiskFull] + "\r\n" + small)) << report.toStdString();
    EXPECT_TRUE(report.endsWith(lng[txt::NothingKept])) << report.toStdString();
    EXPECT_TRUE(QDir(small).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_GT(QStorageInfo(small).bytesAvailable(), 380 * 1024);
}

} // namespace
