// The preview's controls on the options dialog without a player: cut marks, typed
// ranges and their messages, the range bar, the crop rectangle drawn with the mouse,
// the slider without a length, the screenshot button and the hover line.
#include "controls/orvextab.h"
#include "controls/stylebutton.h"
#include "core/languagetable.h"
#include "core/mdlmavrell.h"
#include "core/timetext.h"
#include "coregui/jobstate.h"
#include "options/frmoptions.h"
#include "options/frmoptions_preview.h"
#include "support/scriptedprompts.h"
#include "support/testenv.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace mdlMavrell;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

class PreviewDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int n = 1; n < lngSize; ++n)
            lng[n] = QStringLiteral("L%1 ").arg(n);
        jobstate::sourceInfo = testenv::sampleSource(320, 240, 20, "avi");
        jobstate::jobSettings.targetFormat = QStringLiteral("XviD");
        jobstate::jobSettings.targetExt = QStringLiteral("avi");
        dlg = &frmOptions();
        jobstate::previewState.secPerSliderUnit = jobstate::sourceInfo.srcLength / float(dlg->imgSliderBG->width());
        dlg->adjustVideoLoc();
    }
    void TearDown() override { unloadFrmOptions(); }

    // As while a preview plays at the given second.
    void playingAt(float seconds)
    {
        jobstate::previewState.previewPos = seconds;
        dlg->lblCurTime->setText(FormatTime(seconds, 3, 0));
        dlg->lblTotalTime->setText(QStringLiteral("00:00:20"));
    }
    QString startMark() const { return dlg->lblMark[0]->Tag(); }
    QString endMark() const { return dlg->lblMark[1]->Tag(); }
    void typeRange(const QString &from, const QString &to, int leaving)
    {
        dlg->txtScope[0]->setText(from);
        dlg->txtScope[1]->setText(to);
        dlg->txtScope_LostFocus(leaving);
    }

    FrmOptions *dlg = nullptr;
    ScriptedPrompts prompts;
};

TEST_F(PreviewDialog, MarkButtonsSetTheRangeAtThePosition)
{
    // Nothing played yet: the buttons do nothing.
    jobstate::previewState.previewPos = 4;
    dlg->lblMark_Click(0);
    EXPECT_TRUE(startMark().isEmpty());

    playingAt(4);
    dlg->lblMark_Click(0);
    EXPECT_EQ(startMark(), QStringLiteral("4"));
    EXPECT_EQ(dlg->lblScopeNote->text(), lng[txt::MarkedTimeRange] + QStringLiteral("00:00:04.0 - ?? = ??"));
    EXPECT_EQ(dlg->txtScope[1]->text(), QStringLiteral("00:00:20.0"));

    playingAt(9.5f);
    dlg->lblMark_Click(1);
    EXPECT_EQ(endMark(), QStringLiteral("9.5"));
    EXPECT_EQ(dlg->lblScopeNote->text(), lng[txt::MarkedTimeRange] + QStringLiteral("00:00:04.0 - 00:00:09.5 = 00:00:05.5"));
    EXPECT_FALSE(dlg->shpScope->isHidden());
    EXPECT_EQ(dlg->shpScope->x(), dlg->imgSliderBG->x() + int(4 / jobstate::previewState.secPerSliderUnit + 0.5));

    // An end before the start clears the range.
    playingAt(3);
    dlg->lblMark_Click(1);
    EXPECT_TRUE(startMark().isEmpty() && endMark().isEmpty());
    EXPECT_TRUE(dlg->shpScope->isHidden());

    // Marks are refused where the target allows none.
    dlg->txtScope[0]->setEnabled(false);
    dlg->lblMark_Click(0);
    EXPECT_TRUE(startMark().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(PreviewDialog, TypedRangesAreCheckedAndKeepTheMarksWhenRefused)
{
    typeRange(QStringLiteral("00:00:02.0"), QStringLiteral("00:00:30.0"), 1);
    EXPECT_EQ(startMark(), QStringLiteral("2"));
    EXPECT_EQ(endMark(), QStringLiteral("20"));  // beyond the length: the length
    EXPECT_FALSE(dlg->shpScope->isHidden());

    // A wrongly formed time: the message, the marks stay, the boxes show them again.
    typeRange(QStringLiteral("00:00:02.0"), QStringLiteral("00:61:00.0"), 1);
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.lastText().startsWith(lng[txt::TimeFormWrong] + QStringLiteral("hh:mm:ss.s")));
    EXPECT_EQ(startMark(), QStringLiteral("2"));
    EXPECT_EQ(endMark(), QStringLiteral("20"));
    EXPECT_EQ(dlg->txtScope[1]->text(), QStringLiteral("00:00:20.0"));

    // An end before the start: its own message, the marks stay.
    typeRange(QStringLiteral("00:00:12.0"), QStringLiteral("00:00:05.0"), 0);
    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(prompts.lastText(), lng[txt::MarkEndBeforeStart]);
    EXPECT_EQ(startMark(), QStringLiteral("2"));
    EXPECT_EQ(dlg->txtScope[0]->text(), QStringLiteral("00:00:02.0"));

    // A start of 0 and an end beyond the length is the whole file: no range.
    typeRange(QStringLiteral("00:00:00.0"), QStringLiteral("00:00:25.0"), 1);
    EXPECT_TRUE(startMark().isEmpty() && endMark().isEmpty());
    EXPECT_TRUE(dlg->shpScope->isHidden());

    // Leaving the boxes as they stand, with a length the tenths cannot show exactly,
    // makes no range either.
    jobstate::sourceInfo.srcLength = 20.04f;
    dlg->SetScopeNote();
    dlg->txtScope_LostFocus(1);
    EXPECT_TRUE(startMark().isEmpty() && endMark().isEmpty());
    EXPECT_EQ(prompts.messages.size(), 2);
}

TEST_F(PreviewDialog, RangeBoxesTakeOnlyTimeKeysAndEnterChecks)
{
    dlg->txtScope[0]->clear();
    QTest::keyClicks(dlg->txtScope[0], QStringLiteral("0a0:-0 1"));
    EXPECT_EQ(dlg->txtScope[0]->text(), QStringLiteral("00:01"));
    QTest::keyClick(dlg->txtScope[0], Qt::Key_Return);
    ASSERT_EQ(prompts.messages.size(), 1);  // not yet a whole time
    EXPECT_TRUE(prompts.lastText().startsWith(lng[txt::TimeFormWrong]));
}

TEST_F(PreviewDialog, UnloadingWithAHalfTypedRangeAsksNothing)
{
    dlg->show();
    dlg->activateWindow();
    dlg->tabMn->setTabNow(0);
    dlg->txtScope[0]->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->txtScope[0]->hasFocus(); }, 2000));
    dlg->txtScope[0]->setText(QStringLiteral("00:0"));
    unloadFrmOptions();
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.lastText().toStdString();
}

void mouse(QWidget *w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

TEST_F(PreviewDialog, CropRectangleIsDrawnWithTheMouse)
{
    QWidget *pic = dlg->picPlayer;
    ASSERT_EQ(pic->size(), QSize(320, 240));
    mouse(pic, QEvent::MouseButtonPress, {100, 80}, Qt::LeftButton, Qt::LeftButton);
    mouse(pic, QEvent::MouseMove, {40, 20}, Qt::NoButton, Qt::LeftButton);
    mouse(pic, QEvent::MouseButtonRelease, {40, 20}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(dlg->shpCrop->isHidden());
    EXPECT_EQ(dlg->shpCrop->geometry(), QRect(40, 20, 60, 60));
    // OK reads the same rectangle.
    EXPECT_TRUE(dlg->form().shpCrop.visible);
    EXPECT_EQ(dlg->form().shpCrop.width, 60);

    // With the crop setting disabled nothing happens, and the rectangle stays.
    dlg->lblCropStr->setEnabled(false);
    mouse(pic, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(pic, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(dlg->shpCrop->geometry(), QRect(40, 20, 60, 60));
    EXPECT_FALSE(dlg->shpCrop->isHidden());

    // A click without a drag clears it.
    dlg->lblCropStr->setEnabled(true);
    mouse(pic, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(pic, QEvent::MouseButtonRelease, {5, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(dlg->shpCrop->isHidden());
}

TEST_F(PreviewDialog, SliderWithoutAPlayerOrALength)
{
    const int rest = dlg->imgSliderBG->x() - dlg->imgSlider->width() / 2;
    // A drag past the right end leaves the knob where it was.
    dlg->imgSlider->move(100, dlg->imgSlider->y());
    dlg->imgSlider_MouseMove(1, 1000);
    EXPECT_EQ(dlg->imgSlider->x(), 100);
    dlg->imgSlider_MouseMove(1, 20);
    EXPECT_EQ(dlg->imgSlider->x(), 100 + 20 - 6);

    // No source to play: a click on the track puts the knob back to the start.
    jobstate::sourceInfo.srcLength = 0;
    dlg->imgSliderBG_MouseUp(1, 150);
    EXPECT_EQ(dlg->imgSlider->x(), rest);
    EXPECT_FALSE(dlg->tmrCheck.isActive());
}

TEST_F(PreviewDialog, ScreenshotAsksToPlayFirst)
{
    dlg->lblSrceenshot_MouseUp();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.lastText(), lng[txt::PlayMediaFirst]);
    // Not for a sound file at all.
    jobstate::sourceInfo.srcWidth = 0;
    jobstate::sourceInfo.srcFps = 0;
    jobstate::sourceInfo.srcDemuxer = QStringLiteral("audio");
    dlg->lblSrceenshot_MouseUp();
    EXPECT_EQ(prompts.messages.size(), 1);
}

TEST_F(PreviewDialog, HoverLineFollowsThePointer)
{
    dlg->hoverOver(dlg->txtSize[0]);
    EXPECT_EQ(dlg->lblNote->text(), lng[txt::ResizePictureTip]);
    EXPECT_FALSE(dlg->lblNote->isHidden());
    dlg->lblNote->setText(QStringLiteral("kept"));
    dlg->hoverOver(dlg->txtSize[1]);
    EXPECT_EQ(dlg->lblNote->text(), QStringLiteral("kept"));
    dlg->hoverOver(dlg->txtExpand[0]);
    EXPECT_EQ(dlg->lblNote->text(), lng[txt::AddBordersTip]);

    dlg->hoverOver(dlg->lblMark[0]);
    EXPECT_EQ(dlg->lblNote->text(), lng[txt::PlayBeforeMarking]);
    playingAt(2);
    dlg->hoverOver(dlg->lblMark[1]);
    EXPECT_EQ(dlg->lblNote->text(), lng[txt::MarkEndTip]);

    // A widget of no row hides the line.
    dlg->hoverOver(dlg->lblFormatStr);
    EXPECT_TRUE(dlg->lblNote->isHidden());
}

TEST_F(PreviewDialog, HelpLinesAndTimesFitTheirLabelsInEveryLanguage)
{
    // The dialog asks for Arial: the set-up installs a font with its metrics.
    EXPECT_EQ(QFontInfo(dlg->lblNote->font()).family(), QStringLiteral("Liberation Sans"));
    const int bandTop = dlg->tabMn->y() + dlg->tabMn->height();
    const QLabel *note = dlg->lblNote;
    for (const QString &code : languageCodes()) {
        ASSERT_TRUE(loadLanguageTable(code));
        dlg->ChangeLanguage();
        for (int entry : preview::hoverEntries()) {
            const QString text = lng[entry];
            dlg->showNote(text);
            const QRect need = QFontMetrics(note->font())
                                   .boundingRect(QRect(0, 0, note->width(), 1000), Qt::TextWordWrap, text);
            const std::string where = code.toStdString() + " entry " + std::to_string(entry);
            EXPECT_LE(need.width(), note->width()) << where;
            EXPECT_LE(need.height(), note->height()) << where;
            EXPECT_GE(note->y(), bandTop) << where;
            EXPECT_LE(note->y() + note->height(), FrmOptions::formHeight) << where;
            if (entry == 85 && qEnvironmentVariableIsSet("MAVRELL_HELP_SHOT"))
                dlg->grab().save(qEnvironmentVariable("MAVRELL_HELP_SHOT") + QLatin1Char('-') + code
                                 + QStringLiteral(".png"));
        }
        EXPECT_LE(note->x() + note->width(), dlg->cmdOkCancel[0]->x());
        const QFontMetrics times(dlg->lblCurTime->font());
        EXPECT_LE(times.horizontalAdvance(QStringLiteral("00:00:00")), dlg->lblCurTime->contentsRect().width());
        for (const QString &total : {QStringLiteral("00:00:00"), lng[txt::Calculating]})
            EXPECT_LE(times.horizontalAdvance(total), dlg->lblTotalTime->contentsRect().width())
                << code.toStdString() << " " << total.toStdString();
        EXPECT_LE(dlg->lblCurTime->geometry().right(), dlg->lblSp->x());
        EXPECT_GE(dlg->lblTotalTime->x(), dlg->lblSp->geometry().right());
        EXPECT_LE(dlg->lblTotalTime->geometry().right(), dlg->picTime->width());
    }
}

} // namespace
