#include "e2edriver.h"

#include "controls/stylebutton.h"
#include "core/console.h"
#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/quitsignals.h"
#include "core/timetext.h"
#include "coregui/drawing.h"
#include "mainwin/frmmain.h"
#include "options/frmoptions.h"
#include "player/frmplayer.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace e2e {

void out(const char *prefix, const QString &text)
{
    const QByteArray line = QByteArray(prefix) + ": " + oneLine(text).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

// ---------------------------------------------------------------- prompts

AnsweringPrompts::AnsweringPrompts(const QStringList &answers, const QString &source)
    : answers_(answers), source_(source)
{
    prompts::install(this);
}

AnsweringPrompts::~AnsweringPrompts() { prompts::install(nullptr); }

prompts::Answer AnsweringPrompts::message(const prompts::MessageRequest &request)
{
    // Ending on a signal, the program shows nothing and takes every box as closed.
    if (quitsignals::requested()) {
        out("unshown", request.text);
        return prompts::closedAnswer(request.buttons);
    }
    boxes << request.text;
    out("box", request.text);
    QString word;
    if (isQuestion(request.buttons) && !answers_.isEmpty())
        word = answers_.takeFirst();
    const prompts::Answer a = answerFor(word, request.buttons);
    out("answer", answerName(a));
    return a;
}

prompts::FileAnswer AnsweringPrompts::file(const prompts::FileRequest &request)
{
    prompts::FileAnswer a;
    // The target item's open dialog gets the source; any later dialog is cancelled.
    if (quitsignals::requested()) {
        out("dialog", request.title + QStringLiteral(" -> not shown while ending"));
    } else if (request.kind == prompts::FileRequest::Open && sourceDialogs == 0) {
        ++sourceDialogs;
        a.accepted = true;
        a.paths = {source_};
        a.filterIndex = request.filterIndex;
        out("dialog", request.title + QStringLiteral(" -> ") + source_);
    } else {
        out("dialog", request.title + QStringLiteral(" -> cancelled"));
    }
    return a;
}

// ---------------------------------------------------------------- program folder

ProgramFolder::ProgramFolder(const QString &given)
{
    if (given.isEmpty()) {
        temporary_ = std::make_unique<QTemporaryDir>();
        if (!temporary_->isValid())
            return;
        path_ = temporary_->path();
    } else {
        path_ = QDir(given).absolutePath();
    }
    if (!QDir().mkpath(appDir() + QStringLiteral("plugins")))
        return;
    const char *tools[] = {"mplayer", "mencoder", "ffmpeg"};
    for (int n = 1; n <= 3; ++n) {
        const QString name = QString::fromLatin1(tools[n - 1]);
        const QString found = QStandardPaths::findExecutable(name);
        if (found.isEmpty()) {
            missing_ << name;
            continue;
        }
        const QString link = appDir() + QStringLiteral("plugins/OrvexRes") + QString::number(n);
        if (!QFileInfo::exists(link))
            QFile::link(found, link);
    }
}

// ---------------------------------------------------------------- menu items

QAction *findTargetItem(FrmMain &w, const QString &controlName, int index)
{
    const std::pair<const char *, QList<QAction *> *> arrays[] = {
        {"mnuSrcIsFileToMpg", &w.mnuSrcIsFileToMpg},
        {"mnuSrcIsFileToWmv", &w.mnuSrcIsFileToWmv},
        {"mnuSrcIsFileToAvi", &w.mnuSrcIsFileToAvi},
        {"mnuSrcIsFileToSound", &w.mnuSrcIsFileToSound},
        {"mnuSrcIsFileToChangeVol", &w.mnuSrcIsFileToChangeVol},
        {"mnuSrcIsFileToCut", &w.mnuSrcIsFileToCut},
        {"mnuSrcIsFileToFix", &w.mnuSrcIsFileToFix},
    };
    for (const auto &[name, list] : arrays) {
        if (controlName.compare(QLatin1String(name), Qt::CaseInsensitive) != 0)
            continue;
        if (index < 0 || index >= list->size())
            return nullptr;
        QAction *a = list->at(index);
        return a && !a->isSeparator() ? a : nullptr;
    }
    return nullptr;
}

namespace {

QString plainCaption(const QAction *a)
{
    QString t = a->text();
    t.remove('&');
    return t.trimmed();
}

void collectItems(QMenu *menu, QList<QAction *> &items)
{
    for (QAction *a : menu->actions()) {
        if (a->isSeparator())
            continue;
        if (QMenu *sub = a->menu())
            collectItems(sub, items);
        else
            items << a;
    }
}

} // namespace

QList<QAction *> findTargetItemsByCaption(QMenu *menu, const QString &caption)
{
    QList<QAction *> all, exact, containing;
    collectItems(menu, all);
    const QString wanted = caption.trimmed();
    for (QAction *a : all) {
        const QString c = plainCaption(a);
        if (c == wanted)
            exact << a;
        else if (c.contains(wanted, Qt::CaseInsensitive))
            containing << a;
    }
    return exact.isEmpty() ? containing : exact;
}

// ---------------------------------------------------------------- the run

namespace {

constexpr int idleLimitMs = 10 * 60 * 1000;

// Lets the program work until done() holds, looking every 50 ms; false after limitMs.
bool waitUntil(const std::function<bool()> &done, int limitMs)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limitMs)
            return false;
        if (quitsignals::requested()) {
            // Every event loop is being left now: none of them can wait.
            QCoreApplication::processEvents();
            QThread::msleep(10);
            continue;
        }
        QEventLoop loop;
        QTimer::singleShot(50, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Types text into a box as the user does: the old text selected and typed over.
// Key events carry only what a keyboard types directly; a text with other letters (a
// subtitle path in Chinese) goes in as a paste puts it, over the selection.
void typeInto(QLineEdit *box, const QString &text, bool pressEnter)
{
    box->setFocus();
    box->selectAll();
    const bool typable = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 128; });
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else if (typable)
        QTest::keyClicks(box, text);
    else
        box->insert(text);
    if (pressEnter)
        QTest::keyClick(box, Qt::Key_Return);
}

// Chooses a list item by its text, else by the number it starts with; an editable
// list that has no such item gets the value typed in. Returns a problem or "".
QString chooseInList(QComboBox *list, const QString &value, const QString &name)
{
    if (!list->isEnabled())
        return name + QStringLiteral(" is disabled for this target");
    int index = list->findText(value, Qt::MatchFixedString);
    const double number = numbertext::Val(value);
    for (int i = 0; index < 0 && i < list->count(); ++i)
        if (number > 0 && numbertext::Val(list->itemText(i)) == number)
            index = i;
    if (index >= 0) {
        list->setCurrentIndex(index);
        emit list->activated(index);
        return QString();
    }
    if (list->isEditable() && list->lineEdit()) {
        typeInto(list->lineEdit(), value, false);
        return QString();
    }
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return name + QStringLiteral(" has no item \"") + value + QStringLiteral("\" (items: ") + items.join(QStringLiteral("; "))
           + ')';
}

QString chooseSize(QComboBox *list, const QString &value)
{
    if (!list->isEnabled())
        return QStringLiteral("cboSize is disabled for this target");
    // A whole number is the item's place in the list; any other value its text, or
    // the one item that contains it.
    bool isIndex = false;
    int index = value.toInt(&isIndex);
    if (!isIndex || index < 0 || index >= list->count()) {
        index = isIndex ? -1 : list->findText(value, Qt::MatchFixedString);
        QList<int> hits;
        for (int i = 0; index < 0 && !isIndex && i < list->count(); ++i)
            if (list->itemText(i).contains(value, Qt::CaseInsensitive))
                hits << i;
        if (hits.size() == 1)
            index = hits[0];
    }
    if (index < 0) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items << QString::number(i) + '=' + list->itemText(i);
        return QStringLiteral("cboSize has no single item \"") + value + QStringLiteral("\" (items: ")
               + items.join(QStringLiteral("; ")) + ')';
    }
    list->setCurrentIndex(index);
    emit list->activated(index);
    return QString();
}

QString click(QRadioButton *option, const QString &name)
{
    if (!option->isEnabled())
        return name + QStringLiteral(" is disabled for this target");
    option->click();
    return QString();
}

QString typeBox(QLineEdit *box, const QString &text, const QString &name, bool pressEnter)
{
    if (!box->isEnabled())
        return name + QStringLiteral(" is disabled for this target");
    typeInto(box, text, pressEnter);
    return QString();
}

// Sets what the flags ask for, page by page as a user would; returns the first problem.
QString applySettings(FrmOptions &o, const Args &a)
{
    QString p;
    auto failed = [&p](QString problem) {
        p = std::move(problem);
        return !p.isEmpty();
    };
    if (!a.size.isEmpty() && failed(chooseSize(o.cboSize, a.size)))
        return p;
    if (!a.width.isEmpty() && failed(typeBox(o.txtSize[0], a.width, QStringLiteral("txtSize(0)"), true)))
        return p;
    if (!a.height.isEmpty() && failed(typeBox(o.txtSize[1], a.height, QStringLiteral("txtSize(1)"), true)))
        return p;
    if (!a.fps.isEmpty() && failed(chooseInList(o.cboFps, a.fps, QStringLiteral("cboFps"))))
        return p;
    if (!a.videoBitrate.isEmpty()
        && failed(chooseInList(o.cboVideoBitrate, a.videoBitrate, QStringLiteral("cboVideoBitrate"))))
        return p;
    if (a.noSound && failed(click(o.optAudio[1], QStringLiteral("optAudio(1)"))))
        return p;
    if (!a.audioBitrate.isEmpty()
        && failed(chooseInList(o.cboAudioBitrate, a.audioBitrate, QStringLiteral("cboAudioBitrate"))))
        return p;
    if (!a.sampleRate.isEmpty()
        && failed(chooseInList(o.cboAudioSample, a.sampleRate, QStringLiteral("cboAudioSample"))))
        return p;
    if (a.volume) {
        // The adjuster moves 2 dB a click.
        const int clicks = (std::abs(*a.volume) + 1) / 2;
        StyleButton *button = o.imgVolume[*a.volume > 0 ? 1 : 0];
        if (clicks > 0 && !button->isEnabled())
            return QStringLiteral("imgVolume is disabled for this target");
        for (int i = 0; i < clicks; ++i)
            emit button->Click();
        if (*a.volume % 2 != 0)
            out("note", QStringLiteral("the volume moves in 2 dB steps: ") + o.lblVolume->text());
    }
    if (!a.subtitle.isEmpty()) {
        if (failed(click(o.optSub[1], QStringLiteral("optSub(1)"))))
            return p;
        if (failed(typeBox(o.txtSubFile, QFileInfo(a.subtitle).absoluteFilePath(), QStringLiteral("txtSubFile"), false)))
            return p;
    }
    if (!a.start.isEmpty() && failed(typeBox(o.txtScope[0], a.start, QStringLiteral("txtScope(0)"), true)))
        return p;
    if (!a.end.isEmpty() && failed(typeBox(o.txtScope[1], a.end, QStringLiteral("txtScope(1)"), true)))
        return p;
    // Typed times become the marks once the box is left.
    const bool startTaken = a.start.isEmpty() || mdlMavrell::ParseTime(a.start) == 0 || !o.lblMark[0]->Tag().isEmpty();
    const bool endTaken = a.end.isEmpty() || !o.lblMark[1]->Tag().isEmpty();
    if (!startTaken || !endTaken)
        return QStringLiteral("the options dialog did not take the typed time range (marks \"") + o.lblMark[0]->Tag()
               + QStringLiteral("\", \"") + o.lblMark[1]->Tag() + QStringLiteral("\")");
    return QString();
}

int driverError(const QString &message)
{
    out("error", message);
    return int(Exit::DriverError);
}

// A quit signal ends the driver as it ends the program: with 128 + the signal.
int endedBySignal()
{
    out("signal", QString::number(quitsignals::signalNumber()));
    return 128 + quitsignals::signalNumber();
}

int reportResult(const QString &result)
{
    out("result", result);
    return result == QLatin1String("success") ? int(Exit::Success) : int(Exit::NotSuccess);
}

void tearDown()
{
    if (frmPlayerLoaded())
        unloadFrmPlayer();
    if (frmOptionsLoaded())
        unloadFrmOptions();
    mdlConsole::StopConsole();
    if (frmMainExists())
        destroyFrmMain();
}

int drive(const Args &args, AnsweringPrompts &answering)
{
    FrmMain &w = frmMain();
    w.Form_Load();
    w.show();
    settle(50);

    // The source button pops up the target menu; the item is picked from it.
    emit w.cmdInput->Click();
    settle(20);
    if (!w.mnuSrcType->isVisible())
        return driverError(QStringLiteral("the source button showed no target menu"));
    QAction *item = nullptr;
    if (!args.caption.isEmpty()) {
        const QList<QAction *> hits = findTargetItemsByCaption(w.mnuSrcType, args.caption);
        if (hits.size() > 1) {
            QStringList names;
            for (QAction *a : hits)
                names << plainCaption(a);
            w.mnuSrcType->hide();
            return driverError(QStringLiteral("the caption fits several items: ") + names.join(QStringLiteral("; ")));
        }
        item = hits.value(0);
    } else {
        item = findTargetItem(w, args.itemName, args.itemIndex);
    }
    if (!item) {
        w.mnuSrcType->hide();
        return driverError(QStringLiteral("no target-menu item ")
                           + (args.caption.isEmpty() ? args.itemName + ' ' + QString::number(args.itemIndex)
                                                     : '"' + args.caption + '"'));
    }
    if (!item->isEnabled() || !item->isVisible()) {
        w.mnuSrcType->hide();
        return driverError(QStringLiteral("the item \"") + plainCaption(item) + QStringLiteral("\" cannot be chosen"));
    }
    out("item", plainCaption(item));
    // A click on an item closes the menu before its handler runs.
    w.mnuSrcType->hide();
    item->trigger();
    if (!waitUntil([&w] { return !w.isBusy(); }, idleLimitMs))
        return driverError(QStringLiteral("the source set-up did not end"));
    if (quitsignals::requested())
        return endedBySignal();
    if (answering.sourceDialogs == 0)
        return driverError(QStringLiteral("the item opened no file dialog"));
    const QString target = w.lblOutput->text();
    if (target.isEmpty())
        return reportResult(QStringLiteral("refused"));
    out("target", target);

    if (args.openOptions) {
        emit w.cmdOpt->Click();
        settle(50);
        if (!frmOptionsLoaded() || !frmOptions().isVisible())
            return driverError(QStringLiteral("the settings button showed no options dialog"));
        FrmOptions &o = frmOptions();
        const qsizetype boxesBefore = answering.boxes.size();
        const QString problem = applySettings(o, args);
        // A message while the values are entered is the dialog refusing one of them (it
        // then keeps a value of its own): the program's answer, and not the job asked for.
        if (answering.boxes.size() > boxesBefore) {
            emit o.cmdOkCancel[1]->Click();
            if (!problem.isEmpty())
                out("note", problem);
            return reportResult(QStringLiteral("refused"));
        }
        if (!problem.isEmpty()) {
            emit o.cmdOkCancel[1]->Click();
            return driverError(problem);
        }
        emit o.cmdOkCancel[0]->Click();
        settle(20);
        if (quitsignals::requested())
            return endedBySignal();
        if (o.isVisible()) {
            // A setting was refused; the dialog stays open on it.
            emit o.cmdOkCancel[1]->Click();
            return reportResult(QStringLiteral("refused"));
        }
    }

    // Progress while the Stop button shows: each new value, at most a line a second.
    QString lastProgress;
    QElapsedTimer sincePrinted;
    QTimer progress;
    progress.setInterval(100);
    QObject::connect(&progress, &QTimer::timeout, [&] {
        if (w.cmdEncode[1]->isHidden() || (sincePrinted.isValid() && sincePrinted.elapsed() < 1000))
            return;
        const QString value = w.picProgress->Tag;
        if (!value.isEmpty() && value != lastProgress) {
            lastProgress = value;
            sincePrinted.start();
            out("progress", value);
        }
    });
    progress.start();

    // Stop, pressed once the Stop button shows after the given time.
    QTimer stop;
    stop.setInterval(100);
    QElapsedTimer sinceClick;
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (sinceClick.elapsed() < qint64(args.stopAfter * 1000) || w.cmdEncode[1]->isHidden())
            return;
        stop.stop();
        out("stop", QStringLiteral("pressed"));
        emit w.cmdEncode[1]->Click();
    });
    sinceClick.start();
    if (args.stopAfter >= 0)
        stop.start();

    emit w.cmdEncode[0]->Click();
    const bool ended = waitUntil([&w] { return !w.isBusy(); }, idleLimitMs);
    progress.stop();
    stop.stop();
    if (!ended)
        return driverError(QStringLiteral("the conversion did not end"));

    const encodeflow::StageResult &r = w.lastEncode;
    if (!r.command.isEmpty())
        out("cmd", r.command);
    QString result = QStringLiteral("refused");
    switch (r.outcome) {
    case encodeflow::Outcome::Succeeded: result = QStringLiteral("success"); break;
    case encodeflow::Outcome::Failed: result = QStringLiteral("failure"); break;
    case encodeflow::Outcome::Stopped: result = QStringLiteral("stopped"); break;
    case encodeflow::Outcome::NotRun: break;
    }
    if (quitsignals::requested()) {
        out("result", result);
        return endedBySignal();
    }
    return reportResult(result);
}

} // namespace

int runConversion(const Args &args)
{
    const QFileInfo src(args.source);
    if (!src.isFile())
        return driverError(QStringLiteral("no source file ") + args.source);
    if (!args.subtitle.isEmpty() && !QFileInfo(args.subtitle).isFile())
        return driverError(QStringLiteral("no subtitle file ") + args.subtitle);

    ProgramFolder folder(args.programFolder);
    if (!folder.isValid())
        return driverError(QStringLiteral("cannot make a temporary program folder"));
    out("program", folder.appDir());
    for (const QString &tool : folder.missingTools())
        out("note", QStringLiteral("tool not found on PATH: ") + tool);
    mdlMavrell::appDir = folder.appDir();
    mdlMavrell::tempDir = mdlMavrell::AddSlash(QDir::tempPath());

    AnsweringPrompts answering(args.answers, src.absoluteFilePath());
    const int rc = drive(args, answering);
    tearDown();
    return rc;
}

} // namespace e2e
