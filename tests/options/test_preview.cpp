// The preview's rules without a window: what a poll of the player's output means,
// slider and seek arithmetic, cut marks and their bar, the typed range times, the crop
// rectangle and the hover help table.
#include "core/mdlmavrell.h"
#include "options/frmoptions_preview.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace preview;

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace {

void fillLanguage()
{
    testenv::placeholderTexts();
    mdlMavrell::lng[txt::PlayTip] = QStringLiteral(" Play (Space)");
    mdlMavrell::lng[txt::StopTip] = QStringLiteral("Stop(S)");
}

TEST(PreviewPoll, ReadsPositionsProgressScreenshotsAndEnds)
{
    struct Case {
        const char *text;
        bool gif;
        float start;
        bool hasPos;
        float pos;
        int index;
        const char *shot;
        bool failed, exited;
    };
    const Case cases[] = {
        {"A:   5.3 V:   5.3 A-V:  0.000 ct:  0.000  133/133\r", false, 0, true, 5.3f, -1, "", false, false},
        {"A:  12.0 (12.0) of 20.0 (20.0)  0.5%\r", false, 2, true, 10.0f, -1, "", false, false},
        // Several status lines in one read: the newest one is where the picture is.
        {"A:   1.0 V:   1.0\rA:   1.4 V:   1.4\r", false, 0, true, 1.4f, -1, "", false, false},
        // Video without sound: the last "V:" with one digit after the point.
        {"V:   3.25   81/ 81 12%\r", false, 0, true, 3.2f, -1, "", false, false},
        // An animated GIF: 4th frame of 8 in a 2-second GIF.
        {"V:   0.3   4/  4  0%\r", true, 0, true, 1.0f, -1, "", false, false},
        {"Generating Index: 100 %\r", false, 0, false, 0, 99, "", false, false},
        {"Generating Index:   0 %\r", false, 0, false, 0, 1, "", false, false},
        {"*** screenshot 'shot0001.png' ***\n", false, 0, false, 0, -1, "shot0001.png", false, false},
        {"Exiting... (End of file)\n", false, 0, false, 0, -1, "", false, true},
        // A failure with an exit in the same read counts as a failure only.
        {"FATAL: Cannot initialize video driver.\nExiting... (Quit)\n", false, 0, false, 0, -1, "", true, false},
        {"Error opening/initializing the selected video_out (-vo) device.\n", false, 0, false, 0, -1, "", true,
         false},
        {"", false, 0, false, 0, -1, "", false, false},
    };
    for (const Case &c : cases) {
        const PollRead r = readPoll(QString::fromLatin1(c.text), c.gif, c.start, 2.0f, 8);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(r.hasPosition, c.hasPos);
        if (c.hasPos) {
            EXPECT_NEAR(r.position, c.pos, 0.001);
        }
        EXPECT_EQ(r.indexPercent, c.index);
        EXPECT_EQ(r.screenshot, QString::fromLatin1(c.shot));
        EXPECT_EQ(r.failed, c.failed);
        EXPECT_EQ(r.exited, c.exited);
    }
}

TEST(PreviewPoll, AnEndBeforeAnythingPlayedIsAFailureUnlessGif)
{
    PollRead ended;
    ended.exited = true;
    EXPECT_EQ(endAction(ended, 0, 0, QStringLiteral("/v/clip.avi")), EndAction::Failed);
    EXPECT_EQ(endAction(ended, 0, 0, QStringLiteral("/v/anim.GIF")), EndAction::Stop);
    EXPECT_EQ(endAction(ended, 10, 0, QStringLiteral("/v/clip.avi")), EndAction::Stop);
    EXPECT_EQ(endAction(ended, 0, 1.5f, QStringLiteral("/v/clip.avi")), EndAction::Stop);
    EXPECT_EQ(endAction(PollRead{}, 0, 0, QStringLiteral("/v/clip.avi")), EndAction::None);
}

TEST(PreviewNote, BrokenIntoLinesOfThePictureWidth)
{
    // One unit per character.
    auto measure = [](const QString &t) { return int(t.size()); };
    struct Case { const char *text; int width; const char *lines; };
    const Case cases[] = {
        {"short", 10, "short"},
        {"Saving a picture. Name --> clip.png", 12, "Saving a \npicture. \nName --> \nclip.png"},
        // A name longer than a line is broken where the line is full.
        {"Name --> a-very-long-file-name.png", 10, "Name --> \na-very-lon\ng-file-nam\ne.png"},
        {"two\nlines", 20, "two\nlines"},
        {"", 5, ""},
    };
    for (const Case &c : cases) {
        const QString wrapped = preview::wrapNote(QString::fromUtf8(c.text), c.width, measure);
        EXPECT_EQ(wrapped, QString::fromUtf8(c.lines)) << c.text;
        for (const QString &line : wrapped.split(QLatin1Char('\n')))
            EXPECT_LE(line.trimmed().size(), c.width) << c.text;
    }
}

TEST(PreviewSlider, KnobAndSeekArithmetic)
{
    // 90 s over a 300-unit track: the knob's centre stands at the time.
    EXPECT_EQ(knobLeftFor(45, 0.3f, 40, 12), 40 + 150 - 6);
    EXPECT_EQ(knobRestLeft(40, 12), 34);
    // A drag stops at the ends, it is not clamped.
    EXPECT_TRUE(knobMoveAllowed(40 - 12, 40, 300, 12));
    EXPECT_FALSE(knobMoveAllowed(40 - 13, 40, 300, 12));
    EXPECT_TRUE(knobMoveAllowed(340, 40, 300, 12));
    EXPECT_FALSE(knobMoveAllowed(341, 40, 300, 12));

    struct Case {
        float value;
        int type;
        bool inSeconds;
        float length;
        const char *command;
    };
    const Case cases[] = {
        {100, 2, false, 90, "seek 33.33 1"},  // a third of the track: 30.0 s
        {-10, 0, true, 90, "seek -10 0"},
        {10, 0, true, 90, "seek 10 0"},
        {300, 2, false, 90, "seek 100 1"},
        {100, 2, false, 0, ""},               // no length: no seek
    };
    for (const Case &c : cases)
        EXPECT_EQ(seekCommand(c.value, c.type, c.inSeconds, 0.3f, c.length), QString::fromLatin1(c.command))
            << c.value;
}

TEST(PreviewMarks, StartEndAndClearing)
{
    Marks m{QString(), QStringLiteral("8")};
    // The start clears an earlier end.
    EXPECT_TRUE(setMarkTime(m, 0, 2.5f, false, 20));
    EXPECT_EQ(m.start, QStringLiteral("2.5"));
    EXPECT_TRUE(m.end.isEmpty());
    EXPECT_TRUE(setMarkTime(m, 1, 7.25f, false, 20));
    EXPECT_EQ(m.end, QStringLiteral("7.25"));
    // An end at or before the start clears both.
    EXPECT_FALSE(setMarkTime(m, 1, 2.5f, false, 20));
    EXPECT_TRUE(m.start.isEmpty() && m.end.isEmpty());
    // Beyond the length: the length, or nothing at all for the whole file when typed.
    m = Marks{QStringLiteral("3"), QString()};
    EXPECT_TRUE(setMarkTime(m, 1, 25, true, 20));
    EXPECT_EQ(m.end, QStringLiteral("20"));
    m = Marks{};
    EXPECT_FALSE(setMarkTime(m, 1, 25, true, 20));
    m = Marks{};
    EXPECT_TRUE(setMarkTime(m, 1, 25, false, 20));
    EXPECT_EQ(m.end, QStringLiteral("20"));
}

TEST(PreviewMarks, RangeBar)
{
    const ScopeBar b = scopeBar(3, 9, 0.5f, 40);
    EXPECT_EQ(b.kind, ScopeBar::Show);
    EXPECT_EQ(b.left, 46);
    EXPECT_EQ(b.width, 12);
    EXPECT_EQ(scopeBar(3, 3.1f, 0.5f, 40).width, 1);  // shorter than a unit: still one wide
    EXPECT_EQ(scopeBar(5, 4, 0.5f, 40).kind, ScopeBar::Clear);
    EXPECT_EQ(scopeBar(3, 9, 0, 40).kind, ScopeBar::Nothing);
}

TEST(PreviewMarks, TypedTimes)
{
    for (const char *good : {"00:00:00.0", "99:59:59.9", "01:05:30.2"})
        EXPECT_TRUE(isRangeTime(QString::fromLatin1(good))) << good;
    for (const char *bad : {"00:60:00.0", "00:00:60.0", "0:00:00.0", "00:00:00", "00:00:00.00", " 00:00:00.0",
                            "00-00:00.0", ""})
        EXPECT_FALSE(isRangeTime(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(rangeKeyAllowed('7') && rangeKeyAllowed(':') && rangeKeyAllowed('.') && rangeKeyAllowed(8));
    EXPECT_FALSE(rangeKeyAllowed('a') || rangeKeyAllowed('-') || rangeKeyAllowed(' '));
}

TEST(PreviewCrop, DragsInEveryDirectionAndDropsSmallRectangles)
{
    CropDrag c;
    cropPress(c, 100, 80);
    EXPECT_EQ(c.rect, QRect(100, 80, 1, 1));
    cropMove(c, true, 40, 20, 320, 240);
    cropRelease(c, 320, 240);
    EXPECT_TRUE(c.visible);
    EXPECT_EQ(c.rect, QRect(40, 20, 60, 60));

    // Beyond the right and bottom edges the rectangle stops at the edge.
    cropPress(c, 300, 200);
    cropMove(c, true, 500, 400, 320, 240);
    EXPECT_EQ(c.rect, QRect(300, 200, 20, 40));

    // A right-button move changes nothing; the release then drops the 1 x 1 rectangle.
    cropPress(c, 50, 50);
    cropMove(c, false, 150, 150, 320, 240);
    EXPECT_EQ(c.rect, QRect(50, 50, 1, 1));
    cropRelease(c, 320, 240);
    EXPECT_FALSE(c.visible);

    // Three units wide is too small, whatever the height.
    cropPress(c, 50, 50);
    cropMove(c, true, 53, 150, 320, 240);
    cropRelease(c, 320, 240);
    EXPECT_FALSE(c.visible);
}

TEST(PreviewHover, HelpTable)
{
    fillLanguage();
    using mdlMavrell::lng;
    HoverState st;
    struct Case {
        const char *control, *previous;
        bool change;
        QString text;
    };
    const Case cases[] = {
        {"txtAudioDelay", "", true, lng[txt::AudioDelayTip]},
        {"txtSubBlur", "", true, lng[txt::SubtitleBlurTip]},
        {"txtSize(0)", "", true, lng[txt::ResizePictureTip]},
        {"txtSize(1)", "txtSize(0)", false, {}},    // same group: the text stays
        {"txtExpand(0)", "txtSize(1)", true, lng[txt::AddBordersTip]},
        {"txtScope(1)", "txtScope(0)", false, {}},
        {"lblMark(0)", "", true, lng[txt::PlayBeforeMarking]},           // nothing played yet
        {"lblPlay", "", true, QStringLiteral("Play")},
        {"lblStop", "", true, QStringLiteral("Stop")},
        {"lblVolPlay", "", true, lng[txt::AdjustVolumeClickTip]},
        {"imgVolume(2)", "", true, lng[txt::RestoreVolumeTip]},
        {"imgHue(0)", "", true, lng[txt::HueNotPreviewedTip]},
        {"lblCut2Pic", "", true, lng[txt::ContinuousScreenshotHint]},
        {"", "txtSubSize", true, QString()},         // elsewhere: the line goes
    };
    for (const Case &c : cases) {
        const HoverHelp h = hoverHelp(QString::fromLatin1(c.control), QString::fromLatin1(c.previous), st);
        EXPECT_EQ(h.change, c.change) << c.control;
        EXPECT_EQ(h.text, c.text) << c.control;
    }

    st.timesShown = true;
    EXPECT_EQ(hoverHelp(QStringLiteral("lblMark(1)"), {}, st).text, lng[txt::MarkEndTip]);
    st.scopeEnabled = false;
    EXPECT_EQ(hoverHelp(QStringLiteral("lblMark(1)"), {}, st).text, lng[txt::RepairWholeNoMarks]);
    st.jobImpossible = true;
    EXPECT_EQ(hoverHelp(QStringLiteral("lblMark(0)"), {}, st).text, lng[txt::FormatRestrictedNoMarks]);
    st.audioOnlySource = true;
    EXPECT_EQ(hoverHelp(QStringLiteral("lblSrceenshot"), {}, st).text, lng[txt::FileIsMusic]);
    // A disabled adjuster leaves the line as it is.
    st.adjusterEnabled[0] = false;
    EXPECT_FALSE(hoverHelp(QStringLiteral("imgVolume(1)"), {}, st).change);
    // A stream job with the subtitle page unmasked keeps its hint everywhere else.
    st.subtitleOnlyHint = true;
    EXPECT_EQ(hoverHelp(QString(), QStringLiteral("lblPlay"), st).text, lng[txt::SubtitlesOnlyForPlaying]);
}

} // namespace
