#include "controls/orvexbutton.h"

#include "controls/propertybag.h"
#include "coregui/mousecodes.h"
#include "coregui/syscolors.h"

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr std::uint32_t kButtonFace = syscolors::sysRef(syscolors::ButtonFace);         // &H8000000F
constexpr std::uint32_t kButtonText = syscolors::sysRef(syscolors::ButtonText);         // &H80000012
constexpr std::uint32_t kButtonShadow = syscolors::sysRef(syscolors::ButtonShadow);     // &H80000010
constexpr std::uint32_t kButtonHighlight = syscolors::sysRef(syscolors::ButtonHighlight);  // &H80000014

QColor qc(std::uint32_t value) { return syscolors::toQColor(value); }

// The picture with every pixel of the mask colour made transparent.
QImage masked(const QImage &picture, std::uint32_t maskColour)
{
    QImage img = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = qc(maskColour).rgb() & 0xFFFFFF;
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((line[x] & 0xFFFFFF) == key && qAlpha(line[x]) != 0)
                line[x] = 0;
    }
    return img;
}

// The engraved look of a picture on a disabled button: its dark pixels drawn in the
// shadow colour over a highlight copy one pixel right and down.
QImage engraved(const QImage &picture)
{
    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.width() + 1, src.height() + 1, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const QRgb hi = qc(kButtonHighlight).rgb();
    const QRgb sh = qc(kButtonShadow).rgb();
    for (int pass = 0; pass < 2; ++pass) {
        const int d = pass == 0 ? 1 : 0;
        for (int y = 0; y < src.height(); ++y) {
            const auto *line = reinterpret_cast<const QRgb *>(src.constScanLine(y));
            for (int x = 0; x < src.width(); ++x)
                if (qAlpha(line[x]) >= 128 && qGray(line[x]) < 192)
                    out.setPixel(x + d, y + d, pass == 0 ? hi : sh);
        }
    }
    return out;
}

} // namespace

// ---- The inner button: a push-like check box with pictures and a caption ----

class OrvexButtonFace final : public QWidget {
public:
    explicit OrvexButtonFace(OrvexButton *owner) : QWidget(owner), owner_(owner)
    {
        setMouseTracking(true);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    int value = 0;
    QString caption;
    std::uint32_t backColor = kButtonFace;
    std::uint32_t foreColor = kButtonText;
    std::uint32_t maskColor = kButtonFace;
    bool useMaskColor = true;
    int oleDropMode = 0;
    QImage picture, downPicture, disabledPicture;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override { owner_->chkBn_MouseDown(e); }
    void mouseReleaseEvent(QMouseEvent *e) override { owner_->chkBn_MouseUp(e); }
    void mouseMoveEvent(QMouseEvent *e) override { owner_->chkBn_MouseMove(e); }
    void dragEnterEvent(QDragEnterEvent *e) override
    {
        if (oleDropMode == 1)
            e->acceptProposedAction();
    }
    void dropEvent(QDropEvent *e) override
    {
        if (oleDropMode != 1)
            return;
        e->acceptProposedAction();
        const QPointF p = e->position();
        emit owner_->OLEDragDrop(e->mimeData(), int(e->dropAction()), mousecodes::buttons(e->buttons()),
                                 mousecodes::shift(e->modifiers()), float(p.x()), float(p.y()));
    }

private:
    OrvexButton *owner_;
};

void OrvexButtonFace::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width(), h = height();
    const QColor back = qc(backColor);
    p.fillRect(rect(), back);
    if (value == 1) {
        // A pressed push-like box: the face dithered with the highlight colour.
        const QColor hi = qc(kButtonHighlight);
        for (int y = 2; y < h - 2; ++y)
            for (int x = 2 + ((y + 1) & 1); x < w - 2; x += 2)
                p.fillRect(x, y, 1, 1, hi);
    }

    // Two-ring border, drawn as one-pixel rows and columns (no end-pixel ambiguity).
    const QColor hi = qc(kButtonHighlight), light = qc(syscolors::sysRef(syscolors::Light3D));
    const QColor sh = qc(kButtonShadow), dark = qc(syscolors::sysRef(syscolors::DarkShadow3D));
    auto ring = [&](int inset, const QColor &topLeft, const QColor &bottomRight) {
        const int l = inset, t = inset, r = w - 1 - inset, b = h - 1 - inset;
        if (r < l || b < t)
            return;
        p.fillRect(l, t, r - l + 1, 1, topLeft);
        p.fillRect(l, t, 1, b - t + 1, topLeft);
        p.fillRect(l, b, r - l + 1, 1, bottomRight);
        p.fillRect(r, t, 1, b - t + 1, bottomRight);
    };
    if (value == 1) {
        ring(0, sh, hi);
        ring(1, dark, light);
    } else {
        ring(0, hi, dark);
        ring(1, light, sh);
    }

    // Picture over caption, centred; both move one pixel right and down while pressed.
    QImage pic;
    if (!isEnabled())
        pic = !disabledPicture.isNull() ? disabledPicture : picture;
    else if (value == 1 && !downPicture.isNull())
        pic = downPicture;
    else
        pic = picture;
    if (!pic.isNull() && useMaskColor)
        pic = masked(pic, maskColor);
    if (!pic.isNull() && !isEnabled() && disabledPicture.isNull())
        pic = engraved(pic);

    const QFontMetrics fm(font());
    const int textH = caption.isEmpty() ? 0 : fm.height();
    const int contentH = (pic.isNull() ? 0 : pic.height()) + textH;
    const int shift = value == 1 ? 1 : 0;
    int y = (h - contentH) / 2 + shift;
    if (!pic.isNull()) {
        p.drawImage((w - pic.width()) / 2 + shift, y, pic);
        y += pic.height();
    }
    if (!caption.isEmpty()) {
        const QRect textRect(shift, y, w, textH);
        if (isEnabled()) {
            p.setPen(qc(foreColor));
            p.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, caption);
        } else {
            p.setPen(qc(kButtonHighlight));
            p.drawText(textRect.translated(1, 1), Qt::AlignHCenter | Qt::AlignTop, caption);
            p.setPen(qc(syscolors::sysRef(syscolors::GrayText)));
            p.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, caption);
        }
    }
}

// ---- An edge strip: one pixel of the edge look ----

class OrvexEdgeStrip final : public QWidget {
public:
    explicit OrvexEdgeStrip(OrvexButton *owner) : QWidget(owner), owner_(owner)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    std::uint32_t colour = kButtonFace;

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), qc(colour)); }
    void mouseMoveEvent(QMouseEvent *) override { owner_->picLn_MouseMove(); }

private:
    OrvexButton *owner_;
};

// ---- The control ----

OrvexButton::OrvexButton(QWidget *parent) : QWidget(parent)
{
    focusSink_ = new QWidget(this);
    focusSink_->setFocusPolicy(Qt::ClickFocus);
    focusSink_->setGeometry(0, 0, 1, 1);
    chkBn_ = new OrvexButtonFace(this);
    for (auto &strip : picLn_) {
        strip = new OrvexEdgeStrip(this);
        strip->raise();
    }
    focusSink_->lower();
    tmrCheck_.setInterval(100);
    connect(&tmrCheck_, &QTimer::timeout, this, &OrvexButton::tmrCheck_Timer);
    applyLayout(true);
}

OrvexButton::~OrvexButton() = default;

QWidget *OrvexButton::hwnd() const { return chkBn_; }

void OrvexButton::setState(int state)
{
    state_ = state;
    applyLayout(false);
    emit propertyChanged(QStringLiteral("State"));
}

void OrvexButton::setStyle(int style)
{
    style_ = style;
    applyLayout(false);
    emit propertyChanged(QStringLiteral("Style"));
}

void OrvexButton::setMode(int mode)
{
    mode_ = mode;
    emit propertyChanged(QStringLiteral("Mode"));
}

int OrvexButton::OLEDropMode() const { return chkBn_->oleDropMode; }
void OrvexButton::setOLEDropMode(int mode)
{
    chkBn_->oleDropMode = mode;
    chkBn_->setAcceptDrops(mode == 1);
    emit propertyChanged(QStringLiteral("OLEDropMode"));
}

QString OrvexButton::Caption() const { return chkBn_->caption; }
void OrvexButton::setCaption(const QString &caption)
{
    chkBn_->caption = caption;
    chkBn_->update();
    emit propertyChanged(QStringLiteral("Caption"));
}

void OrvexButton::SetToolTip(const QString &text)
{
    setToolTip(text);
    chkBn_->setToolTip(toolTip());
}

std::uint32_t OrvexButton::BackColor() const { return chkBn_->backColor; }
void OrvexButton::setBackColor(std::uint32_t colour)
{
    chkBn_->backColor = colour;
    chkBn_->update();
    applyLayout(true);
    emit propertyChanged(QStringLiteral("BackColor"));
}

std::uint32_t OrvexButton::ForeColor() const { return chkBn_->foreColor; }
void OrvexButton::setForeColor(std::uint32_t colour)
{
    chkBn_->foreColor = colour;
    chkBn_->update();
    emit propertyChanged(QStringLiteral("ForeColor"));
}

std::uint32_t OrvexButton::MaskColor() const { return chkBn_->maskColor; }
void OrvexButton::setMaskColor(std::uint32_t colour)
{
    chkBn_->maskColor = colour;
    chkBn_->update();
    emit propertyChanged(QStringLiteral("MaskColor"));
}

bool OrvexButton::UseMaskColor() const { return chkBn_->useMaskColor; }
void OrvexButton::setUseMaskColor(bool use)
{
    chkBn_->useMaskColor = use;
    chkBn_->update();
    emit propertyChanged(QStringLiteral("UseMaskColor"));
}

QImage OrvexButton::Picture() const { return chkBn_->picture; }
void OrvexButton::setPicture(const QImage &picture)
{
    chkBn_->picture = picture;
    chkBn_->update();
    emit propertyChanged(QStringLiteral("Picture"));
}

QImage OrvexButton::DisabledPicture() const { return chkBn_->disabledPicture; }
void OrvexButton::setDisabledPicture(const QImage &picture)
{
    chkBn_->disabledPicture = picture;
    chkBn_->update();
    emit propertyChanged(QStringLiteral("DisabledPicture"));
}

QImage OrvexButton::DownPicture() const { return chkBn_->downPicture; }
void OrvexButton::setDownPicture(const QImage &picture)
{
    chkBn_->downPicture = picture;
    chkBn_->update();
    emit propertyChanged(QStringLiteral("DownPicture"));
}

std::uint32_t OrvexButton::edgeColour(int strip) const
{
    return strip >= 0 && strip < 4 ? picLn_[strip]->colour : 0;
}

// ---- Persistence ----

void OrvexButton::readProperties(const PropertyBag &bag)
{
    state_ = int(bag.readInt(QStringLiteral("State"), 0));
    mode_ = int(bag.readInt(QStringLiteral("Mode"), 0));
    style_ = int(bag.readInt(QStringLiteral("Style"), 0));
    chkBn_->maskColor = bag.readColor(QStringLiteral("MaskColor"), kButtonFace);
    chkBn_->backColor = bag.readColor(QStringLiteral("BackColor"), kButtonFace);
    chkBn_->foreColor = bag.readColor(QStringLiteral("ForeColor"), kButtonText);
    chkBn_->useMaskColor = bag.readBool(QStringLiteral("UseMaskColor"), true);
    chkBn_->oleDropMode = int(bag.readInt(QStringLiteral("OLEDropMode"), 0));
    chkBn_->setAcceptDrops(chkBn_->oleDropMode == 1);
    chkBn_->caption = bag.readString(QStringLiteral("Caption"), QString());
    chkBn_->picture = bag.readPicture(QStringLiteral("Picture"));
    chkBn_->downPicture = bag.readPicture(QStringLiteral("DownPicture"));
    chkBn_->disabledPicture = bag.readPicture(QStringLiteral("DisabledPicture"));
    chkBn_->update();
    applyLayout(true);
}

void OrvexButton::writeProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("State"), state_, 0);
    bag.write(QStringLiteral("Mode"), mode_, 0);
    bag.write(QStringLiteral("Style"), style_, 0);
    bag.write(QStringLiteral("MaskColor"), chkBn_->maskColor, kButtonFace);
    bag.write(QStringLiteral("BackColor"), chkBn_->backColor, kButtonFace);
    bag.write(QStringLiteral("ForeColor"), chkBn_->foreColor, kButtonText);
    bag.write(QStringLiteral("UseMaskColor"), chkBn_->useMaskColor, true);
    bag.write(QStringLiteral("OLEDropMode"), chkBn_->oleDropMode, 0);
    bag.write(QStringLiteral("Caption"), chkBn_->caption, QString());
    bag.write(QStringLiteral("Picture"), chkBn_->picture, QImage());
    bag.write(QStringLiteral("DownPicture"), chkBn_->downPicture, QImage());
    bag.write(QStringLiteral("DisabledPicture"), chkBn_->disabledPicture, QImage());
}

// ---- Private operations ----

bool OrvexButton::isUserMode() const
{
    // There is no form designer here: the control always runs inside the program.
    return true;
}

bool OrvexButton::isMouseOver() const
{
    return QApplication::widgetAt(QCursor::pos()) == chkBn_;
}

bool OrvexButton::isToggledDown()
{
    if (focusSink_->isVisible())
        focusSink_->setFocus(Qt::MouseFocusReason);
    return mode_ == 2 && chkBn_->value == 1;
}

void OrvexButton::setLinesVisible(bool visible)
{
    for (auto *strip : picLn_)
        strip->setVisible(visible);
}

void OrvexButton::setStripColour(int strip, std::uint32_t colour)
{
    if (picLn_[strip]->colour != colour) {
        picLn_[strip]->colour = colour;
        picLn_[strip]->update();
    }
}

void OrvexButton::setValue(int v)
{
    if (v < 0)
        v = 1 - chkBn_->value;
    if (chkBn_->value != v) {
        chkBn_->value = v;
        chkBn_->update();
    }
    if (style_ == 1)
        return;
    showHover(0);
    if (v == 1) {
        setStripColour(0, kButtonShadow);
        setStripColour(1, kButtonHighlight);
        setStripColour(2, kButtonHighlight);
        setStripColour(3, kButtonShadow);
    }
}

void OrvexButton::showHover(int mode)
{
    if (style_ == 1 || chkBn_->value != 0)
        return;
    if (mode != 0 && picLn_[0]->colour == kButtonHighlight && tmrCheck_.isActive())
        return;
    for (int i = 0; i < 4; ++i)
        setStripColour(i, mode != 0 ? lnTag_[i] : chkBn_->backColor);
    if (mode == 1 && isUserMode())
        tmrCheck_.start();
}

void OrvexButton::applyState()
{
    switch (state_) {
    case StateUp:
    case StateDisabled: setValue(0); break;
    case StateRaised:
        setValue(0);
        showHover(2);
        break;
    case StateDown: setValue(1); break;
    default: break;
    }
    chkBn_->setEnabled(state_ != StateDisabled);
}

void OrvexButton::applyLayout(bool storeColours)
{
    const int w = width(), h = height();
    if (style_ == 0)
        chkBn_->setGeometry(-1, -1, w + 2, h + 2);
    else
        chkBn_->setGeometry(0, 0, w, h);
    if (storeColours)
        lnTag_ = {kButtonHighlight, kButtonShadow, kButtonShadow, kButtonHighlight};
    setLinesVisible(style_ == 0);
    applyState();
}

// ---- Events ----

void OrvexButton::resizeEvent(QResizeEvent *)
{
    const int w = width(), h = height();
    picLn_[0]->setGeometry(0, 0, w - 1, 1);
    picLn_[1]->setGeometry(w - 1, 0, 1, h);
    picLn_[2]->setGeometry(0, h - 1, w, 1);
    picLn_[3]->setGeometry(0, 0, 1, h - 1);
    focusSink_->setGeometry(w / 2, h / 2, 1, 1);
    applyLayout(true);
}

void OrvexButton::showEvent(QShowEvent *)
{
    chkBn_->setToolTip(toolTip());
}

void OrvexButton::chkBn_MouseDown(QMouseEvent *e)
{
    const int button = mousecodes::button(e->button());
    const QPointF pos = e->position();
    emit MouseDown(button, mousecodes::shift(e->modifiers()), float(pos.x()), float(pos.y()));
    const bool latched = isToggledDown();
    if (!isUserMode() || button != 1 || latched)
        return;
    // The inner button holds the mouse until the release (Qt grabs it on a press).
    if (mode_ != 1) {
        setValue(1);
        state_ = StateDown;
        pushPressed_ = mode_ == 0;
        if (mode_ == 2)
            emit Click();
    } else {
        setValue(-1);
        state_ = chkBn_->value == 1 ? StateDown : StateUp;
        emit Click();
    }
}

void OrvexButton::chkBn_MouseUp(QMouseEvent *e)
{
    const int button = mousecodes::button(e->button());
    const QPointF pos = e->position();
    emit MouseUp(button, mousecodes::shift(e->modifiers()), float(pos.x()), float(pos.y()));
    const bool latched = isToggledDown();
    if (latched || button != 1 || mode_ == 1 || !isUserMode())
        return;
    // Only the release of a push that this button started ends it. A latch button
    // that its host released while the mouse was still down is not pressed again,
    // and a push whose look the host changed during the press still ends up.
    if (!pushPressed_)
        return;
    pushPressed_ = false;
    setValue(0);
    state_ = chkBn_->value == 1 ? StateDown : StateUp;
    emit Click();
}

void OrvexButton::chkBn_MouseMove(QMouseEvent *e)
{
    const QPointF pos = e->position();
    emit MouseMove(mousecodes::buttons(e->buttons()), mousecodes::shift(e->modifiers()), float(pos.x()), float(pos.y()));
    if (isUserMode())
        showHover(1);
}

void OrvexButton::picLn_MouseMove()
{
    if (isUserMode() && chkBn_->isEnabled())
        showHover(0);
}

void OrvexButton::tmrCheck_Timer()
{
    if (picLn_[0]->colour != kButtonHighlight) {
        tmrCheck_.stop();
        return;
    }
    if (!isMouseOver()) {
        tmrCheck_.stop();
        state_ = StateUp;
        applyState();
    }
}
