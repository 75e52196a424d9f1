#include "core/commdialog.h"
#include "core/mdlmavrell.h"
#include "support/scriptedprompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>
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

bool shows(const QString &nameFilter, const QString &fileName)
{
    for (const QString &p : patternsOf(nameFilter)) {
        // Matched by case on purpose: the strictest a dialog may be.
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(p));
        if (re.match(fileName).hasMatch())
            return true;
    }
    return false;
}

} // namespace

TEST(CommDialogFilter, KeepsTheTextAndBuildsTheDialogForm)
{
    struct Case { const char *text; QStringList expected; };
    const Case cases[] = {
        {"A|*.a|B|*.b", {"A (*.[aA])", "B (*.[bB])"}},
        {"Video|*.avi;*.mpg|All Files (*.*)|*.*", {"Video (*.[aA][vV][iI] *.[mM][pP][gG])", "All Files (*)"}},
        {"Sub Files (*.srt;*.sub)|*.srt; *.sub", {"Sub Files (*.[sS][rR][tT] *.[sS][uU][bB])"}},
        {"|*.mp4", {"*.[mM][pP]4"}},
        {"Odd|*.a|Dangling", {"Odd (*.[aA])"}},
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

TEST(CommDialogFilter, PatternsMatchWhateverTheCase)
{
    const QStringList f = CommDialog::toNameFilters("Video|*.avi;*.mpg|All Files (*.*)|*.*");
    ASSERT_EQ(f.size(), 2);
    for (const char *name : {"clip.avi", "CLIP.AVI", "Clip.Avi", "x.MPG", "a.b.avi"})
        EXPECT_TRUE(shows(f[0], name)) << name;
    for (const char *name : {"clip.avi.txt", "clipavi", "clip.mp4"})
        EXPECT_FALSE(shows(f[0], name)) << name;
    // "*.*" means every file, also one without an extension.
    for (const char *name : {"README", "x.avi", ".hidden"})
        EXPECT_TRUE(shows(f[1], name)) << name;
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
