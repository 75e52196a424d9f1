// The options dialog's controls and their places. Positions are pixels in the
// container named; the rows of the pages are laid out again after every language
// change so that each caption gets the width it needs.
#include "options/frmoptions.h"

#include "controls/orvextab.h"
#include "controls/stylebutton.h"
#include "controls/videosurface.h"
#include "core/mdlmavrell.h"
#include "core/textentries.h"
#include "options/frmoptions_skin.h"
#include "options/numberedit.h"
#include "options/optionlists.h"

#include <QCheckBox>
#include <algorithm>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QRegion>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>

using optskin::Glyph;

namespace {

QString indexed(const char *name, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

QFont controlFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9);
    return f;
}

template <typename W>
W *make(QWidget *parent, const QString &name, int x, int y, int w, int h)
{
    auto *widget = new W(parent);
    widget->setObjectName(name);
    widget->setGeometry(x, y, w, h);
    return widget;
}

QLabel *label(QWidget *parent, const QString &name, int x, int y, int w, int h = 16)
{
    auto *l = make<QLabel>(parent, name, x, y, w, h);
    l->setFont(controlFont());
    return l;
}

QLineEdit *textBox(QWidget *parent, const QString &name, const QString &text, int x, int y, int w)
{
    auto *t = make<QLineEdit>(parent, name, x, y, w, 20);
    t->setFont(controlFont());
    t->setText(text);
    return t;
}

QComboBox *combo(QWidget *parent, const QString &name, bool editable, int x, int y, int w)
{
    auto *c = make<QComboBox>(parent, name, x, y, w, 22);
    c->setFont(controlFont());
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    // A typed number stays as typed: no completion from the list.
    if (editable)
        c->setCompleter(nullptr);
    c->setMaxVisibleItems(16);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    c->setMinimumContentsLength(3);
    return c;
}

// An editable number list whose edit field takes only what the key filter lets through.
QComboBox *numberCombo(QWidget *parent, const QString &name, opt::KeyFilter kind, int x, int y, int w)
{
    QComboBox *c = combo(parent, name, true, x, y, w);
    auto *edit = new FilteredLineEdit([kind](QChar ch) { return opt::filterKey(kind, ch.unicode()) != 0; }, c);
    edit->setObjectName(name + QStringLiteral("Edit"));
    c->setLineEdit(edit);
    c->setCompleter(nullptr);  // setLineEdit makes a new one
    // A chosen item shows from its start, not scrolled to its end.
    QObject::connect(c, &QComboBox::currentIndexChanged, edit, [edit] {
        if (!edit->hasFocus())
            edit->home(false);
    });
    return c;
}

// A skinned picture button: look 11 over its container, plates for up, over and down.
StyleButton *pictureButton(QWidget *parent, const QString &name, int x, int y, int w, int h, Glyph glyph)
{
    auto *b = new StyleButton(parent, QString());
    b->setObjectName(name);
    b->setGeometry(x, y, w, h);
    b->setButtonType(11);
    b->setCaption(QString());
    b->setSkipOverAndEnter(false);
    b->setMousePointer(99);
    b->setPicture(optskin::buttonPlate(QSize(w, h), glyph, 0));
    b->setPictureOver(optskin::buttonPlate(QSize(w, h), glyph, 1));
    b->setPictureDown(optskin::buttonPlate(QSize(w, h), glyph, 2));
    b->setPictureDisabled(optskin::buttonPlate(QSize(w, h), glyph, 3));
    return b;
}

// A skinned button with a caption (the marks, OK, Cancel, donation).
StyleButton *captionButton(QWidget *parent, const QString &name, int x, int y, int w, int h)
{
    StyleButton *b = pictureButton(parent, name, x, y, w, h, Glyph::None);
    b->setFont(controlFont());
    b->setForeColor(0xFFFFFF);
    b->setForeColorOver(0x80C0FF);
    b->setColorScheme(1);
    return b;
}

QPixmap pix(const QImage &img) { return QPixmap::fromImage(img); }

// The crop rectangle: a light outer and a dark inner line, so that it shows on any
// picture. Only the two lines belong to its window; the picture inside stays the
// tool's.
class CropFrame : public QFrame {
public:
    static constexpr int edge = 2;
    explicit CropFrame(QWidget *parent) : QFrame(parent) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(0xFF, 0xC0, 0x80));
        if (width() > 2 && height() > 2)
            p.fillRect(rect().adjusted(1, 1, -1, -1), Qt::black);
    }
    void resizeEvent(QResizeEvent *event) override
    {
        QFrame::resizeEvent(event);
        QRegion ring(rect());
        if (width() > 2 * edge && height() > 2 * edge)
            ring -= QRegion(rect().adjusted(edge, edge, -edge, -edge));
        setMask(ring);
    }
};

// Places a row of controls from x0 on: a label gets the width its text needs (at least
// minWidth), every other control keeps its width; stretch > 0 widens the last control
// to the right edge.
struct Cell {
    QWidget *w;
    int gap = 4;        // before the control
    int minWidth = 0;   // labels
};
void flowRow(int x0, int y, int right, std::initializer_list<Cell> cells, bool stretchLast = false)
{
    int x = x0;
    const Cell *last = nullptr;
    for (const Cell &c : cells) {
        x += c.gap;
        if (auto *l = qobject_cast<QLabel *>(c.w)) {
            const int need = QFontMetrics(l->font()).horizontalAdvance(l->text()) + 2;
            l->setGeometry(x, y + 2, std::max(need, c.minWidth), 16);
        } else if (auto *b = qobject_cast<QAbstractButton *>(c.w); b && !qobject_cast<QPushButton *>(c.w)) {
            const int need = QFontMetrics(b->font()).horizontalAdvance(b->text()) + 22;
            b->setGeometry(x, y + 1, std::max(need, c.minWidth), 18);
        } else {
            c.w->move(x, y);
        }
        x += c.w->width();
        last = &c;
    }
    if (stretchLast && last && last->w->x() < right)
        last->w->resize(std::max(right - last->w->x(), 24), last->w->height());
}

} // namespace

void FrmOptions::buildControls()
{
    setObjectName(QStringLiteral("frmOptions"));
    setFixedSize(formWidth, formHeight);
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9.75);
    setFont(f);

    buildPreviewArea();
    buildPages();

    cmdOkCancel[0] = captionButton(this, indexed("cmdOkCancel", 0), 276, 567, 65, 29);
    cmdOkCancel[1] = captionButton(this, indexed("cmdOkCancel", 1), 369, 567, 65, 29);
    // The help line reaches to the OK button and wraps its longer texts.
    lblNote = label(this, QStringLiteral("lblNote"), 20, 571, 250, 16);
    lblNote->setWordWrap(true);
    lblNote->hide();
    lblPos = label(this, QStringLiteral("lblPos"), formWidth, formHeight, 15, 15);
    lblPos->hide();
    cmdFocus = make<QPushButton>(this, QStringLiteral("cmdFocus"), 448, -50, 11, 17);

    tmrWindowFrom.setInterval(250);
    tmrSpecCheck.setInterval(500);
    tmrCheck.setInterval(333);
    tmrWindowFrom.setObjectName(QStringLiteral("tmrWindowFrom"));
    tmrSpecCheck.setObjectName(QStringLiteral("tmrSpecCheck"));
    tmrCheck.setObjectName(QStringLiteral("tmrCheck"));

    // Text, combo and option controls: white Arial on the dark skin, edit fields very dark red.
    // The sheet goes on the dialog's own controls and containers, not on the dialog: the
    // message boxes it opens and the tab strip keep their own colours.
    const QString sheet(QStringLiteral(
        "QLabel, QRadioButton, QCheckBox { color: #FFFFFF; background: transparent; }"
        "QLabel:disabled, QRadioButton:disabled, QCheckBox:disabled { color: #8C7478; }"
        "QLineEdit { color: #FFFFFF; background: #400000; border: 1px solid #7A5058;"
        "  selection-background-color: #E08A3C; padding: 0 2px; }"
        "QLineEdit:disabled { color: #A08A8E; background: #2A1416; border-color: #4A3034; }"
        "QComboBox { color: #FFFFFF; background: #400000; border: none; padding: 1px 4px;"
        "  selection-background-color: #E08A3C; }"
        "QComboBox:disabled { color: #A08A8E; background: #2A1416; }"
        "QRadioButton::indicator { width: 10px; height: 10px; border: 1px solid #D8B8BE; border-radius: 6px;"
        "  background: #400000; }"
        "QRadioButton::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5,"
        "  stop:0 #FFD0A0, stop:0.45 #E08A3C, stop:0.55 #400000, stop:1 #400000); }"
        "QCheckBox::indicator { width: 10px; height: 10px; border: 1px solid #D8B8BE; background: #400000; }"
        "QCheckBox::indicator:checked { background: qradialgradient(cx:0.5, cy:0.5, radius:0.7, fx:0.5, fy:0.5,"
        "  stop:0 #FFD0A0, stop:0.5 #E08A3C, stop:0.62 #400000, stop:1 #400000); }"
        "QRadioButton::indicator:disabled, QCheckBox::indicator:disabled { border-color: #6A5054;"
        "  background: #2A1416; }"
        "QComboBox QAbstractItemView { color: #FFFFFF; background: #400000;"
        "  selection-background-color: #E08A3C; border: 1px solid #7A5058; }"
        "QLabel#lblNote { color: #FFC080; }"
        "QPushButton#cmdSubPlay { color: #FFFFFF; background: #5E3E44; border: 1px solid #9A7078;"
        "  border-radius: 3px; padding: 1px 6px; }"
        "QPushButton#cmdSubPlay:hover { background: #7A5058; }"
        "QPushButton#cmdSubPlay:pressed { background: #24161A; }"
        "QFrame#ShapCropBase { border: 1px solid #6E484E; border-radius: 3px; background: transparent; }"));
    for (QWidget *c : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!c->isWindow() && c != tabMn && !qobject_cast<StyleButton *>(c))
            c->setStyleSheet(sheet);
}

void FrmOptions::buildPreviewArea()
{
    lblSrceenshot = pictureButton(this, QStringLiteral("lblSrceenshot"), 31, 16, 40, 31, Glyph::Camera);
    lblCut2Pic = pictureButton(this, QStringLiteral("lblCut2Pic"), 77, 15, 34, 31, Glyph::Film);
    lblCut2Pic->setButtonSwitchMode(true);

    picTime = make<QFrame>(this, QStringLiteral("picTime"), 128, 8, 208, 42);
    lblCurTime = label(picTime, QStringLiteral("lblCurTime"), 47, 15, 50, 16);
    lblSp = label(picTime, QStringLiteral("lblSp"), 99, 15, 14, 16);
    lblSp->setText(QStringLiteral("/"));
    lblSp->setAlignment(Qt::AlignCenter);
    lblTotalTime = label(picTime, QStringLiteral("lblTotalTime"), 116, 15, 50, 16);
    // Each side of the "/" takes what its longest text needs: the current time its
    // "00:00:00", ending at the slash, the total time also the word shown while the
    // length is still unknown, up to the box's edge.
    const int timeWidth = QFontMetrics(lblCurTime->font()).horizontalAdvance(QStringLiteral("00:00:00")) + 2;
    lblCurTime->setGeometry(lblSp->x() - 2 - std::max(50, timeWidth), 15, std::max(50, timeWidth), 16);
    lblCurTime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblTotalTime->resize(picTime->width() - lblTotalTime->x() - 4, 16);
    lblCurTime->setText(QStringLiteral("00:00:00"));
    lblTotalTime->setText(QStringLiteral("00:00:00"));
    picTime->hide();

    lbl2BigScreen = pictureButton(this, QStringLiteral("lbl2BigScreen"), 362, 15, 33, 33, Glyph::BigScreen);
    lbl2BigScreen->setButtonSwitchMode(true);
    lblVolPlay = pictureButton(this, QStringLiteral("lblVolPlay"), 400, 18, 26, 27, Glyph::Speaker);
    lblVolPlay->setTag(QStringLiteral("100"));
    lblVol[0] = pictureButton(this, indexed("lblVol", 0), 432, 28, 18, 18, Glyph::Down);
    lblVol[1] = pictureButton(this, indexed("lblVol", 1), 432, 7, 18, 18, Glyph::Up);
    lblVol[0]->hide();
    lblVol[1]->hide();

    picPlayerFrame = make<QFrame>(this, QStringLiteral("picPlayerFrame"), 31, 50, 401, 280);
    picPlayerContainer = make<QFrame>(picPlayerFrame, QStringLiteral("picPlayerContainer"), 41, 10, 320, 240);
    picPlayer = make<VideoSurface>(picPlayerContainer, QStringLiteral("picPlayer"), 0, 0, 320, 240);
    lblPlayerNote = label(picPlayer, QStringLiteral("lblPlayerNote"), 8, 8, 304, 16);
    lblPlayerNote->setStyleSheet(
        QStringLiteral("QLabel#lblPlayerNote { color: #FFFFFF; background: #000000; padding: 1px 3px; }"));
    lblPlayerNote->setAutoFillBackground(true);
    lblPlayerNote->hide();
    VideoSurface::makeOverlay(lblPlayerNote);
    shpCrop = new CropFrame(picPlayer);
    shpCrop->setObjectName(QStringLiteral("shpCrop"));
    shpCrop->setGeometry(0, 0, 1, 1);
    shpCrop->hide();
    VideoSurface::makeOverlay(shpCrop);

    imgSliderBG = make<QLabel>(picPlayerFrame, QStringLiteral("imgSliderBG"), 40, 251, 322, 29);
    shpScope = make<QFrame>(picPlayerFrame, QStringLiteral("shpScope"), 40, 262, 0, 6);
    shpScope->setStyleSheet(QStringLiteral("QFrame#shpScope { background: #E08A3C; border: none; }"));
    // The range bar lies on the track: a click there is the track's.
    shpScope->setAttribute(Qt::WA_TransparentForMouseEvents);
    imgSlider = make<QLabel>(picPlayerFrame, QStringLiteral("imgSlider"), 236, 251, 12, 29);
    imgSliderBG->setCursor(Qt::PointingHandCursor);
    imgSlider->setCursor(Qt::PointingHandCursor);

    const std::array<std::pair<StyleButton **, std::pair<const char *, Glyph>>, 5> transport{{
        {&lblPlay, {"lblPlay", Glyph::Play}},
        {&lblPause, {"lblPause", Glyph::Pause}},
        {&lblStop, {"lblStop", Glyph::Stop}},
        {&lblBackward, {"lblBackward", Glyph::Backward}},
        {&lblForward, {"lblForward", Glyph::Forward}},
    }};
    const int lefts[5] = {41, 70, 99, 128, 156};
    for (int i = 0; i < 5; ++i)
        *transport[i].first = pictureButton(this, QLatin1String(transport[i].second.first), lefts[i], 334, 24, 24,
                                            transport[i].second.second);
    lblMark[0] = captionButton(this, indexed("lblMark", 0), 192, 334, 92, 23);
    lblMark[1] = captionButton(this, indexed("lblMark", 1), 296, 334, 92, 23);
    lblMarkDel = pictureButton(this, QStringLiteral("lblMarkDel"), 396, 334, 24, 24, Glyph::Clear);
    lblScopeNote = label(this, QStringLiteral("lblScopeNote"), 31, 366, 401, 15);
    lblScopeNote->setAlignment(Qt::AlignCenter);
}

void FrmOptions::buildPages()
{
    tabMn = new OrvexTab(this);
    tabMn->setObjectName(QStringLiteral("tabMn"));
    tabMn->setTabPictureBox(QStringLiteral("picOrvexTab"));
    // Each page widget is found by the strip through its name, so the pages come first.
    for (int i = 0; i < 6; ++i) {
        picOrvexTab[i] = make<QFrame>(this, indexed("picOrvexTab", i), 33, 412, 401, 142);
        picOrvexTab[i]->setAutoFillBackground(true);
        QPalette pal = picOrvexTab[i]->palette();
        pal.setColor(QPalette::Window, optskin::pageBack);
        picOrvexTab[i]->setPalette(pal);
    }
    buildPage0(picOrvexTab[0]);
    buildPage1(picOrvexTab[1]);
    buildPage2(picOrvexTab[2]);
    buildPage3(picOrvexTab[3]);
    buildPage4(picOrvexTab[4]);
    buildPage5(picOrvexTab[5]);
    for (int i = 0; i < 5; ++i) {
        picTabMask[i] = make<QFrame>(picOrvexTab[i], indexed("picTabMask", i), 2, 2, 397, 138);
        picTabMask[i]->setAutoFillBackground(true);
        lblTabMaskMsg[i] = label(picTabMask[i], indexed("lblTabMaskMsg", i), 8, 8, 381, 122);
        lblTabMaskMsg[i]->setAlignment(Qt::AlignCenter);
        lblTabMaskMsg[i]->setWordWrap(true);
    }

    tabMn->setGeometry(33, 390, 401, 164);
    QFont capFont(QStringLiteral("Arial"));
    capFont.setPointSizeF(9);
    tabMn->setTabCapFont(capFont);
    tabMn->setTabCapColor(0xFFFFFF);
    tabMn->setTabs(6);
    tabMn->setTabsPerRow(6);
    // Fixed captions in every language: Main, Video, Audio, Picture, Subtitles, Special.
    const QStringList captions{QStringLiteral("主要"), QStringLiteral("視訊"), QStringLiteral("音訊"),
                               QStringLiteral("畫面"), QStringLiteral("字幕"), QStringLiteral("特別")};
    for (int i = 0; i < 6; ++i) {
        tabMn->setTabNow(i);
        tabMn->setTabCaption(captions[i]);
    }
    tabMn->setTabNow(1);
}

void FrmOptions::buildPage0(QFrame *p)
{
    lblFormatStr = label(p, QStringLiteral("lblFormatStr"), 10, 8, 380);
    lblFormatStr->setText(QStringLiteral("="));
    lblScopeStr = label(p, QStringLiteral("lblScopeStr"), 10, 34, 150);
    txtScope[0] = textBox(p, indexed("txtScope", 0), QStringLiteral("00:00:00.0"), 160, 32, 80);
    lblScopeStr2 = label(p, QStringLiteral("lblScopeStr2"), 242, 34, 10);
    lblScopeStr2->setText(QStringLiteral("-"));
    txtScope[1] = textBox(p, indexed("txtScope", 1), QStringLiteral("00:00:00.0"), 254, 32, 80);
    lblFpsStr = label(p, QStringLiteral("lblFpsStr"), 10, 62, 150);
    cboFps = numberCombo(p, QStringLiteral("cboFps"), opt::KeyFilter::FpsCombo, 160, 60, 128);
    lblRotateStr = label(p, QStringLiteral("lblRotateStr"), 10, 90, 150);
    cboRotate = combo(p, QStringLiteral("cboRotate"), false, 160, 88, 128);
    cboRotate->view()->setMinimumWidth(280);
    lblRotateStr2 = label(p, QStringLiteral("lblRotateStr2"), 10, 114, 282, 26);
    lblRotateStr2->setWordWrap(true);
    lblRotateStr2->setStyleSheet(QStringLiteral("color: #D8C0C4;"));
    imgFun = make<QLabel>(p, QStringLiteral("imgFun"), 296, 40, 100, 90);
}

void FrmOptions::buildPage1(QFrame *p)
{
    lblVideoBitrateStr = label(p, QStringLiteral("lblVideoBitrateStr"), 8, 8, 150);
    cboVideoBitrate = numberCombo(p, QStringLiteral("cboVideoBitrate"), opt::KeyFilter::BitrateCombo, 160, 6, 150);
    lblSizeStr = label(p, QStringLiteral("lblSizeStr"), 8, 34, 100);
    txtSize[0] = textBox(p, indexed("txtSize", 0), QStringLiteral("320"), 110, 32, 40);
    lblSizeStr2 = label(p, QStringLiteral("lblSizeStr2"), 152, 34, 10);
    lblSizeStr2->setText(QStringLiteral("x"));
    txtSize[1] = textBox(p, indexed("txtSize", 1), QStringLiteral("240"), 164, 32, 40);
    cboSize = combo(p, QStringLiteral("cboSize"), false, 210, 31, 183);
    ShapCropBase = make<QFrame>(p, QStringLiteral("ShapCropBase"), 6, 58, 389, 24);
    optScaleCrop[0] = make<QRadioButton>(p, indexed("optScaleCrop", 0), 12, 61, 180, 18);
    optScaleCrop[1] = make<QRadioButton>(p, indexed("optScaleCrop", 1), 200, 61, 180, 18);
    for (auto *o : optScaleCrop)
        o->setFont(controlFont());
    optScaleCrop[0]->setChecked(true);
    lblCropStr = label(p, QStringLiteral("lblCropStr"), 8, 86, 385);
    lblExpandStr = label(p, QStringLiteral("lblExpandStr"), 8, 118, 100);
    for (int i = 0; i < 4; ++i) {
        lblExpand2Str[i] = label(p, indexed("lblExpand2Str", i), 8, 118, 40);
        txtExpand[i] = textBox(p, indexed("txtExpand", i), QStringLiteral("0"), 8, 116, 32);
    }
}

void FrmOptions::buildPage2(QFrame *p)
{
    optAudio[0] = make<QRadioButton>(p, indexed("optAudio", 0), 8, 6, 180, 18);
    optAudio[1] = make<QRadioButton>(p, indexed("optAudio", 1), 200, 6, 180, 18);
    for (auto *o : optAudio)
        o->setFont(controlFont());
    optAudio[0]->setChecked(true);
    lblAudioBitrateStr = label(p, QStringLiteral("lblAudioBitrateStr"), 8, 34, 150);
    cboAudioBitrate = numberCombo(p, QStringLiteral("cboAudioBitrate"), opt::KeyFilter::BitrateCombo, 160, 32, 150);
    lblAudioSampleStr = label(p, QStringLiteral("lblAudioSampleStr"), 8, 62, 150);
    cboAudioSample = combo(p, QStringLiteral("cboAudioSample"), false, 160, 60, 90);
    lblAudioDelayStr = label(p, QStringLiteral("lblAudioDelayStr"), 8, 90, 150);
    txtAudioDelay = textBox(p, QStringLiteral("txtAudioDelay"), QStringLiteral("0"), 160, 88, 50);
    chkAudioVolnorm = make<QCheckBox>(p, QStringLiteral("chkAudioVolnorm"), 220, 89, 170, 18);
    chkAudioVolnorm->setFont(controlFont());
    lblVolume = label(p, QStringLiteral("lblVolume"), 8, 118, 150);
    for (int i = 0; i < 3; ++i)
        imgVolume[i] = pictureButton(p, indexed("imgVolume", i), 160 + i * 26, 115, 22, 22,
                                     i == 0 ? Glyph::Minus : i == 1 ? Glyph::Plus : Glyph::Reset);
}

void FrmOptions::buildPage3(QFrame *p)
{
    const std::array<std::pair<QLabel **, const char *>, 4> rows{{{&lblBrightness, "lblBrightness"},
                                                                  {&lblContrast, "lblContrast"},
                                                                  {&lblHue, "lblHue"},
                                                                  {&lblSaturation, "lblSaturation"}}};
    const std::array<std::array<StyleButton *, 3> *, 4> buttons{&imgBrightness, &imgContrast, &imgHue, &imgSaturation};
    const char *names[4] = {"imgBrightness", "imgContrast", "imgHue", "imgSaturation"};
    for (int r = 0; r < 4; ++r) {
        const int y = 8 + r * 33;
        *rows[r].first = label(p, QLatin1String(rows[r].second), 10, y + 3, 160);
        for (int i = 0; i < 3; ++i)
            (*buttons[r])[i] = pictureButton(p, indexed(names[r], i), 176 + i * 26, y, 22, 22,
                                             i == 0 ? Glyph::Minus : i == 1 ? Glyph::Plus : Glyph::Reset);
    }
    picCrSpec = make<QFrame>(p, QStringLiteral("picCrSpec"), 262, 72, 130, 18);
    imgCrSpec = make<QLabel>(picCrSpec, QStringLiteral("imgCrSpec"), 0, 0, 130, 18);
    lneCrSpec = make<QFrame>(picCrSpec, QStringLiteral("lneCrSpec"), 65, 0, 1, 18);
    lneCrSpec->setStyleSheet(QStringLiteral("QFrame#lneCrSpec { background: #FFFFFF; border: none; }"));
    imgCrSpecGray = make<QLabel>(p, QStringLiteral("imgCrSpecGray"), 262, 72, 130, 18);
    imgCrSpecGray->hide();
}

void FrmOptions::buildPage4(QFrame *p)
{
    optSub[0] = make<QRadioButton>(p, indexed("optSub", 0), 8, 5, 100, 18);
    optSub[1] = make<QRadioButton>(p, indexed("optSub", 1), 110, 5, 150, 18);
    for (auto *o : optSub)
        o->setFont(controlFont());
    optSub[0]->setChecked(true);
    txtSubFile = textBox(p, QStringLiteral("txtSubFile"), QString(), 262, 4, 104);
    mbSubFIle = pictureButton(p, QStringLiteral("mbSubFIle"), 370, 4, 24, 20, Glyph::Folder);
    lblSubFontStr = label(p, QStringLiteral("lblSubFontStr"), 8, 30, 100);
    cboSubFont = combo(p, QStringLiteral("cboSubFont"), false, 110, 28, 283);
    lblSubcpStr = label(p, QStringLiteral("lblSubcpStr"), 8, 54, 100);
    cboSubcp = combo(p, QStringLiteral("cboSubcp"), false, 110, 52, 283);
    lblSubSizeStr = label(p, QStringLiteral("lblSubSizeStr"), 8, 78, 100);
    txtSubSize = textBox(p, QStringLiteral("txtSubSize"), QStringLiteral("4"), 110, 76, 32);
    lblSubOutlineStr = label(p, QStringLiteral("lblSubOutlineStr"), 150, 78, 100);
    txtSubOutline = textBox(p, QStringLiteral("txtSubOutline"), QStringLiteral("2"), 260, 76, 32);
    lblSubBlurStr = label(p, QStringLiteral("lblSubBlurStr"), 8, 100, 100);
    txtSubBlur = textBox(p, QStringLiteral("txtSubBlur"), QStringLiteral("2"), 110, 98, 32);
    lblSubDelayStr = label(p, QStringLiteral("lblSubDelayStr"), 150, 100, 100);
    txtSubDelay = textBox(p, QStringLiteral("txtSubDelay"), QStringLiteral("0"), 260, 98, 44);
    lblSubPosHgtStr = label(p, QStringLiteral("lblSubPosHgtStr"), 8, 122, 100);
    txtSubPosHgt = textBox(p, QStringLiteral("txtSubPosHgt"), QStringLiteral("5"), 110, 120, 32);
    lblSubPosHgt2Str = label(p, QStringLiteral("lblSubPosHgt2Str"), 146, 122, 120);
    cmdSubPlay = make<QPushButton>(p, QStringLiteral("cmdSubPlay"), 290, 118, 104, 22);
    cmdSubPlay->setFont(controlFont());
}

void FrmOptions::buildPage5(QFrame *p)
{
    lblTabSpec = label(p, QStringLiteral("lblTabSpec"), 10, 30, 381, 40);
    lblTabSpec->setAlignment(Qt::AlignCenter);
    lblTabSpec->setWordWrap(true);
    cmdDonation = captionButton(p, QStringLiteral("cmdDonation"), 150, 80, 100, 29);
    cmdDonation->setCaption(QStringLiteral("♥"));
}

void FrmOptions::layoutPages()
{
    // Every row flows from the left: labels as wide as their captions, the inputs after them.
    const int right = 393;
    // Main page: labels in one column as wide as the widest.
    int col = 0;
    for (QLabel *l : {lblScopeStr, lblFpsStr, lblRotateStr})
        col = std::max(col, QFontMetrics(l->font()).horizontalAdvance(l->text()) + 2);
    col = std::max(col, 90);
    flowRow(6, 30, right, {{lblScopeStr, 4, col}, {txtScope[0], 2}, {lblScopeStr2, 3, 8}, {txtScope[1], 3}});
    flowRow(6, 56, right, {{lblFpsStr, 4, col}, {cboFps, 2}});
    flowRow(6, 82, right, {{lblRotateStr, 4, col}, {cboRotate, 2}});
    lblRotateStr2->setGeometry(10, 108, 282, 32);
    // The rotation box shows its longest item whole (the quarter turns with a flip are
    // long in English); the picture beside it gives way.
    int rotateWidth = std::max(128, 290 - cboRotate->x());
    const QFontMetrics rotateMetrics(cboRotate->font());
    for (const int entry : {txt::NoFlipNoRotation, txt::FlipHorizontally, txt::FlipVertically, txt::Rotate180,
                            txt::TurnRight90, txt::TurnRightAndFlip, txt::TurnLeft90, txt::TurnLeftAndFlip})
        rotateWidth = std::max(rotateWidth, rotateMetrics.horizontalAdvance(mdlMavrell::lng[entry]) + 34);
    cboRotate->resize(std::min(rotateWidth, right - cboRotate->x()), 22);
    // The frame-rate box shows its longest item whole; the picture beside it gives way.
    int fpsWidth = 128;
    const QFontMetrics fpsMetrics(cboFps->font());
    const QString longest[] = {mdlMavrell::lng[txt::SameAsSource],
                               QStringLiteral("23.976") + mdlMavrell::lng[txt::QualityNormal]};
    for (const QString &item : longest)
        fpsWidth = std::max(fpsWidth, fpsMetrics.horizontalAdvance(item) + 34);
    fpsWidth = std::min(fpsWidth, right - 40 - cboFps->x());
    cboFps->resize(fpsWidth, 22);
    const int funLeft = std::max({296, cboFps->x() + fpsWidth + 6, cboRotate->geometry().right() + 7});
    // Too narrow to show its film strip, the picture steps aside altogether.
    imgFun->setVisible(396 - funLeft >= 40);
    if (!imgFun->isHidden() && imgFun->x() != funLeft) {
        imgFun->setGeometry(funLeft, 40, std::min(100, 396 - funLeft), 90);
        imgFun->setPixmap(pix(optskin::funPicture(imgFun->size())));
    }
    lblFormatStr->setGeometry(10, 8, 381, 16);

    // Video page
    flowRow(4, 6, right, {{lblVideoBitrateStr}, {cboVideoBitrate, 4}});
    flowRow(4, 32, right, {{lblSizeStr}, {txtSize[0], 2}, {lblSizeStr2, 3, 8}, {txtSize[1], 2}, {cboSize, 6}}, true);
    flowRow(8, 58, right, {{optScaleCrop[0]}, {optScaleCrop[1], 20}});
    flowRow(4, 80, right, {{lblCropStr}});
    flowRow(4, 98, right, {{lblExpandStr}});
    flowRow(4, 117, right,
            {{lblExpand2Str[0]}, {txtExpand[0], 2}, {lblExpand2Str[1], 10}, {txtExpand[1], 2},
             {lblExpand2Str[2], 10}, {txtExpand[2], 2}, {lblExpand2Str[3], 10}, {txtExpand[3], 2}});
    // Borders: the label above the row when the row needs the whole width, else beside it.
    const int rowWidth = txtExpand[3]->x() + txtExpand[3]->width() - lblExpand2Str[0]->x();
    const int headWidth = QFontMetrics(lblExpandStr->font()).horizontalAdvance(lblExpandStr->text()) + 8;
    if (rowWidth + headWidth <= 389) {
        flowRow(4, 110, right,
                {{lblExpandStr}, {lblExpand2Str[0], 6}, {txtExpand[0], 2}, {lblExpand2Str[1], 10}, {txtExpand[1], 2},
                 {lblExpand2Str[2], 10}, {txtExpand[2], 2}, {lblExpand2Str[3], 10}, {txtExpand[3], 2}});
        lblCropStr->move(lblCropStr->x(), 86);
    } else {
        lblCropStr->move(lblCropStr->x(), 82);
    }
    ShapCropBase->setGeometry(6, 57, 389, 22);

    // Audio page
    flowRow(4, 6, right, {{optAudio[0]}, {optAudio[1], 24}});
    col = 0;
    for (QLabel *l : {lblAudioBitrateStr, lblAudioSampleStr, lblAudioDelayStr, lblVolume})
        col = std::max(col, QFontMetrics(l->font()).horizontalAdvance(l->text()) + 2);
    flowRow(4, 32, right, {{lblAudioBitrateStr, 4, col}, {cboAudioBitrate, 4}});
    flowRow(4, 60, right, {{lblAudioSampleStr, 4, col}, {cboAudioSample, 4}});
    flowRow(4, 88, right, {{lblAudioDelayStr, 4, col}, {txtAudioDelay, 4}, {chkAudioVolnorm, 14}});
    // The volume caption changes with its value: room for "-100" and the unit.
    lblVolume->setGeometry(8, 118, std::max(col, 150), 16);
    for (int i = 0; i < 3; ++i)
        imgVolume[i]->move(lblVolume->x() + lblVolume->width() + 6 + i * 26, 115);

    // Subtitle page
    flowRow(4, 4, right, {{optSub[0]}, {optSub[1], 8}, {txtSubFile, 6}}, true);
    txtSubFile->resize(std::max(60, 366 - txtSubFile->x()), 20);
    mbSubFIle->move(370, 4);
    col = std::max(QFontMetrics(lblSubFontStr->font()).horizontalAdvance(lblSubFontStr->text()),
                   QFontMetrics(lblSubcpStr->font()).horizontalAdvance(lblSubcpStr->text())) + 2;
    flowRow(4, 28, right, {{lblSubFontStr, 4, col}, {cboSubFont, 4}}, true);
    flowRow(4, 52, right, {{lblSubcpStr, 4, col}, {cboSubcp, 4}}, true);
    int c1 = 0, c2 = 0;
    for (QLabel *l : {lblSubSizeStr, lblSubBlurStr, lblSubPosHgtStr})
        c1 = std::max(c1, QFontMetrics(l->font()).horizontalAdvance(l->text()) + 2);
    for (QLabel *l : {lblSubOutlineStr, lblSubDelayStr})
        c2 = std::max(c2, QFontMetrics(l->font()).horizontalAdvance(l->text()) + 2);
    flowRow(4, 76, right, {{lblSubSizeStr, 4, c1}, {txtSubSize, 4}, {lblSubOutlineStr, 18, c2}, {txtSubOutline, 4}});
    flowRow(4, 98, right, {{lblSubBlurStr, 4, c1}, {txtSubBlur, 4}, {lblSubDelayStr, 18, c2}, {txtSubDelay, 4}});
    flowRow(4, 120, right, {{lblSubPosHgtStr, 4, c1}, {txtSubPosHgt, 4}, {lblSubPosHgt2Str, 4}});
    const int playWidth = QFontMetrics(cmdSubPlay->font()).horizontalAdvance(cmdSubPlay->text()) + 18;
    cmdSubPlay->setGeometry(395 - std::max(playWidth, 80), 118, std::max(playWidth, 80), 22);
}

void FrmOptions::fitToScreen(const QRect &workArea)
{
    // A work area lower than the dialog (a large scale on a small screen) takes the
    // height off the preview's picture, so OK, Cancel and every page stay on the screen.
    constexpr int pictureHeight = 240, leastPicture = 120, belowPreview = 330;
    const int shrink = std::clamp(formHeight - workArea.height(), 0, pictureHeight - leastPicture);
    const int delta = shrink - shrink_;
    if (delta == 0)
        return;
    shrink_ = shrink;
    picPlayerFrame->resize(picPlayerFrame->width(), picPlayerFrame->height() - delta);
    picPlayerContainer->resize(picPlayerContainer->width(), picPlayerContainer->height() - delta);
    for (QWidget *w : {static_cast<QWidget *>(imgSliderBG), static_cast<QWidget *>(imgSlider),
                       static_cast<QWidget *>(shpScope)})
        w->move(w->x(), w->y() - delta);
    for (QWidget *w : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow() && w->y() >= belowPreview - shrink_ + delta)
            w->move(w->x(), w->y() - delta);
    setFixedSize(formWidth, formHeight - shrink_);
    paintSkins();
    adjustVideoLoc();
}

void FrmOptions::paintSkins()
{
    background_ = optskin::formBackground(size());
    auto skin = [](QFrame *frame, const QImage &img) {
        QPalette pal = frame->palette();
        pal.setBrush(QPalette::Window, QBrush(pix(img)));
        frame->setPalette(pal);
        frame->setAutoFillBackground(true);
    };
    skin(picPlayerFrame, optskin::playerFrame(picPlayerFrame->size()));
    skin(picTime, optskin::timeBox(picTime->size()));
    QPalette black = picPlayerContainer->palette();
    black.setColor(QPalette::Window, QColor(0x0A, 0x06, 0x07));
    picPlayerContainer->setPalette(black);
    picPlayerContainer->setAutoFillBackground(true);
    imgSliderBG->setPixmap(pix(optskin::sliderTrack(imgSliderBG->size())));
    imgSlider->setPixmap(pix(optskin::sliderKnob(imgSlider->size())));
    imgCrSpec->setPixmap(pix(optskin::spectrum(imgCrSpec->size(), false)));
    imgCrSpecGray->setPixmap(pix(optskin::spectrum(imgCrSpecGray->size(), true)));
    imgFun->setPixmap(pix(optskin::funPicture(imgFun->size())));
}
