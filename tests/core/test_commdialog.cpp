#include "core/commdialog.h"
#include "core/mdlmavrell.h"
#include "coregui/qtprompts.h"
#include "support/scriptedprompts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

prompts::FileAnswer chose(const QStringList &paths, int filterIndex = 0)
{
    prompts::FileAnswer a;
    a.accepted = true;
    a.paths = paths;
    a.filterIndex = filterIndex;
    return a;
}

QString currentDir() { return QDir::currentPath() + "/"; }

// The patterns of a dialog filter ("Desc (p1 p2)"), as the dialog reads them.
QStringList patternsOf(const QString &nameFilter)
{
    const auto m = QRegularExpression("\\(([^()]*)\\)$").match(nameFilter);
    return (m.hasMatch() ? m.captured(1) : nameFilter).split(' ', Qt::SkipEmptyParts);
}

} // namespace

TEST(CommDialogFilter, KeepsTheTextAndBuildsTheDialogForm)
{
    struct Case { const char *text; QStringList expected; };
    const Case cases[] = {
        {"A|*.a|B|*.b", {"A (*.a)", "B (*.b)"}},
        {"Video|*.avi;*.mpg|All Files (*.*)|*.*", {"Video (*.avi *.mpg)", "All Files (*)"}},
        {"Sub Files (*.srt;*.sub)|*.srt; *.sub", {"Sub Files (*.srt *.sub)"}},
        {"|*.mp4", {"*.mp4"}},
        {"Odd|*.a|Dangling", {"Odd (*.a)"}},
        {"Nothing|", {}},
        {"", {}},
    };
    for (const auto &c : cases) {
        CommDialog d;
        d.setFilter(c.text);
        EXPECT_EQ(d.Filter(), c.text);
        EXPECT_EQ(d.nameFilters(), c.expected) << c.text;
    }
}

// The dialog as the program shows it lists a file under its filter whatever the
// letter case of its name; "*.*" lists every file.
TEST(CommDialogFilter, TheDialogListsFilesInEitherLetterCase)
{
    QTemporaryDir dir;
    const QStringList names{"clip.avi", "CLIP2.AVI", "Clip3.Avi", "x.MPG", "a.b.avi",
                            "clip.avi.txt", "clipavi", "clip.mp4", "README"};
    for (const QString &n : names) {
        QFile f(dir.filePath(n));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    prompts::FileRequest r;
    r.initDir = dir.path() + "/";
    r.nameFilters = CommDialog::toNameFilters("Video|*.avi;*.mpg|All Files (*.*)|*.*");
    QFileDialog dlg(nullptr, QString(), r.initDir);
    prompts::setUpFileDialog(dlg, r);
    auto *model = dlg.findChild<QFileSystemModel *>();
    ASSERT_NE(model, nullptr);
    auto listed = [&] {
        QStringList out;
        const QModelIndex root = model->index(dir.path());
        for (int i = 0; i < model->rowCount(root); ++i) {
            const QModelIndex child = model->index(i, 0, root);
            // Filtered-out files stay in the model only when shown disabled.
            if (model->flags(child) & Qt::ItemIsEnabled)
                out << child.data().toString();
        }
        out.sort();
        return out;
    };
    model->index(dir.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(model->index(dir.path())) > 0; }));
    if (!model->nameFilterDisables()) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return listed().size() == 5; })) << listed().join(' ').toStdString();
    }
    EXPECT_EQ(listed(), QStringList({"CLIP2.AVI", "Clip3.Avi", "a.b.avi", "clip.avi", "x.MPG"}));
    dlg.selectNameFilter(r.nameFilters[1]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listed().size() == names.size(); })) << listed().join(' ').toStdString();
}

TEST(CommDialogFilter, TheDialogReadsTheSamePatterns)
{
    // Qt's own dialog (never shown) takes the bracketed patterns as they are.
    const QStringList f = CommDialog::toNameFilters("Video|*.avi;*.mpg|All Files (*.*)|*.*");
    QFileDialog dlg;
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setNameFilters(f);
    auto *model = dlg.findChild<QFileSystemModel *>();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->nameFilters(), patternsOf(f[0]));
    dlg.selectNameFilter(f[1]);
    EXPECT_EQ(model->nameFilters(), QStringList({"*"}));
}

TEST(CommDialog, OpenOneFile)
{
    ScriptedPrompts prompts;
    QWidget owner;
    CommDialog d;
    EXPECT_EQ(d.FilterIndex(), 1);  // before any dialog
    d.hwndOwner = &owner;
    d.DialogTitle = "Pick";
    d.setFilter("Video|*.avi|All Files (*.*)|*.*");
    d.FileName = "start.avi";
    prompts.fileAnswers.push_back(chose({"/clips/Movie.AVI"}, 1));

    EXPECT_EQ(d.ShowOpen(false, false), "/clips/Movie.AVI");
    EXPECT_EQ(d.FileName, "/clips/Movie.AVI");
    EXPECT_EQ(d.FileTitle(), "Movie.AVI");
    EXPECT_EQ(d.FileExt(), "avi");
    EXPECT_EQ(d.FilterIndex(), 2);
    EXPECT_EQ(d.InitDir, currentDir());  // an empty start folder became the current one

    ASSERT_EQ(prompts.fileRequests.size(), 1);
    const prompts::FileRequest &r = prompts.fileRequests[0];
    EXPECT_EQ(r.kind, prompts::FileRequest::Open);
    EXPECT_EQ(r.title, "Pick");
    EXPECT_EQ(r.initDir, currentDir());
    EXPECT_EQ(r.fileName, "start.avi");
    EXPECT_EQ(r.nameFilters, d.nameFilters());
    EXPECT_EQ(r.filterIndex, 0);
    EXPECT_FALSE(r.multiSelect);
    EXPECT_EQ(r.parent, &owner);

    // The next dialog preselects the pair left selected, in the given start folder.
    d.InitDir = "/media/";
    prompts.cancelFile();
    d.ShowOpen(true, false);
    EXPECT_EQ(prompts.fileRequests[1].filterIndex, 1);
    EXPECT_EQ(prompts.fileRequests[1].initDir, "/media/");
    EXPECT_TRUE(d.InitDir.isEmpty());
}

TEST(CommDialog, CancelClearsTheChoice)
{
    ScriptedPrompts prompts;
    CommDialog d;
    d.setFilter("A|*.a|B|*.b");
    d.setFilterIndex(2);
    prompts.answerFile("/x/first.a");
    d.ShowOpen();
    prompts.fileAnswers.push_back(chose({"/x/one.a", "/x/two.a"}));
    d.ShowOpen(false, true);

    d.FileName = "proposed.b";
    prompts.cancelFile();
    EXPECT_EQ(d.ShowOpen(true, false), "");
    EXPECT_EQ(d.FileName, "");
    EXPECT_EQ(d.FileTitle(), "");
    EXPECT_EQ(d.FileExt(), "");
    EXPECT_EQ(d.FilterIndex(), 1);                                  // the last confirmed choice
    EXPECT_EQ(d.FileArray(), QStringList({"/x/one.a", "/x/two.a"}));  // left as it was
    EXPECT_TRUE(d.InitDir.isEmpty());

    // An accepted dialog that names no file is no choice either.
    prompts.fileAnswers.push_back(chose({}));
    EXPECT_EQ(d.ShowSave(), "");
}

TEST(CommDialog, MultipleSelection)
{
    ScriptedPrompts prompts;
    CommDialog d;
    prompts.fileAnswers.push_back(chose({"/clips/x.avi", "/clips/y.avi"}));
    EXPECT_EQ(d.ShowOpen(false, true), "2");
    EXPECT_TRUE(prompts.fileRequests[0].multiSelect);
    EXPECT_EQ(d.FileArray(), QStringList({"/clips/x.avi", "/clips/y.avi"}));
    EXPECT_EQ(d.FileTitle(), "");
    EXPECT_EQ(d.FileExt(), "");

    prompts.fileAnswers.push_back(chose({"/clips/z.mpg"}));
    EXPECT_EQ(d.ShowOpen(false, true), "1");
    EXPECT_EQ(d.FileArray(), QStringList({"/clips/z.mpg"}));
}

TEST(CommDialog, SaveAsksBeforeOverwritingByDefault)
{
    ScriptedPrompts prompts;
    CommDialog d;
    d.FileName = "clip.mpg";
    d.InitDir = "/out";
    prompts.answerFile("/out/clip.mpg");
    EXPECT_EQ(d.ShowSave(false), "/out/clip.mpg");
    EXPECT_EQ(d.FileExt(), "mpg");
    const prompts::FileRequest &r = prompts.fileRequests[0];
    EXPECT_EQ(r.kind, prompts::FileRequest::Save);
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_FALSE(r.multiSelect);
    EXPECT_EQ(r.fileName, "clip.mpg");
    EXPECT_EQ(r.initDir, "/out/");
    EXPECT_EQ(d.InitDir, "/out");

    d.FlagsSave = 4;  // overwrite prompt switched off
    prompts.cancelFile();
    d.ShowSave();
    EXPECT_FALSE(prompts.fileRequests[1].overwritePrompt);

    // A name typed without an extension gets the default one, in lower case.
    d.DefaultExt = "AVI";
    for (const auto &[typed, kept] : {std::pair{"/out/clip", "/out/clip.avi"}, {"/out/clip.mpg", "/out/clip.mpg"},
                                      {"/out.d/clip", "/out.d/clip.avi"}}) {
        prompts.answerFile(typed);
        EXPECT_EQ(d.ShowSave(), kept);
        EXPECT_EQ(prompts.fileRequests.last().defaultSuffix, "avi");
    }
}

TEST(CommDialog, FolderEndsInOneSlash)
{
    ScriptedPrompts prompts;
    CommDialog d;
    d.DialogTitle = "Target folder";
    struct Case { QString answer; QString expected; };
    const Case cases[] = {{"/", "/"}, {"/home/me/Video", "/home/me/Video/"}, {"/home/me/Video/", "/home/me/Video/"}};
    for (const auto &c : cases) {
        prompts.answerFile(c.answer);
        EXPECT_EQ(d.ShowDir(false), c.expected);
        EXPECT_EQ(d.DirName, c.expected);
    }
    EXPECT_EQ(prompts.fileRequests[0].kind, prompts::FileRequest::Folder);
    EXPECT_EQ(prompts.fileRequests[0].title, "Target folder");
    EXPECT_EQ(prompts.fileRequests[0].initDir, currentDir());

    prompts.cancelFile();
    EXPECT_EQ(d.ShowDir(true), "");
    EXPECT_EQ(d.DirName, "");
    EXPECT_TRUE(d.InitDir.isEmpty());
}

TEST(CommDialog, OneSharedInstance)
{
    CommDialog &a = mdlMavrell::commDialog();
    a.DialogTitle = "shared";
    EXPECT_EQ(&mdlMavrell::commDialog(), &a);
    EXPECT_EQ(mdlMavrell::commDialog().DialogTitle, "shared");
    a.DialogTitle.clear();
}
