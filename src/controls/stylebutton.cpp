#include "controls/stylebutton.h"

#include "controls/propertybag.h"
#include "coregui/drawing.h"
#include "coregui/mousecodes.h"
#include "coregui/syscolors.h"

#include <QApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <iterator>

namespace {

// Key codes of the events: letters and digits are their upper-case character code,
// the named keys the classic virtual-key numbers.
int keyCode(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 0x70 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return key & 0xFFFF;
    }
}

int dropEffect(Qt::DropAction a)
{
    switch (a) {
    case Qt::CopyAction: return 1;
    case Qt::MoveAction: return 2;
    case Qt::LinkAction: return 4;
    default: return 0;
    }
}

} // namespace

StyleButton::StyleButton(QWidget *parent, const QString &name) : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    OverTimer.setInterval(100);
    connect(&OverTimer, &QTimer::timeout, this, &StyleButton::OverTimer_Timer);
    initProperties(name);
}

StyleButton::~StyleButton()
{
    visible_ = false;
}

// ---------------------------------------------------------------- persistence

void StyleButton::initProperties(const QString &name)
{
    setEnabled(true);
    skipOverAndEnter_ = true;
    showFocusRect_ = false;
    maskColorUse_ = false;
    pictureDisabledSame_ = false;
    downPictureShift_ = 1;
    downCaptionShift_ = 1;
    picturePosition_ = 4;
    caption_ = name;
    buttonType_ = 2;
    colorScheme_ = stylepaint::SystemColours;
    const stylepaint::Palette pal = stylepaint::buildPalette(paletteInput());
    backColor_ = backColorOver_ = maskColor_ = pal.base;
    foreColor_ = foreColorOver_ = pal.text;
    calcLayout();
}

void StyleButton::readProperties(const PropertyBag &bag)
{
    setOLEDropMode(static_cast<int>(bag.readInt("OLEDropMode", 0)));
    buttonType_ = static_cast<int>(bag.readInt("BTYPE", 2));
    state_ = static_cast<int>(bag.readInt("BSTATE", 0));
    skipOverAndEnter_ = bag.readBool("SkipOverAndEnter", true);
    switchMode_ = bag.readBool("ButtonSwitchMode", false);
    caption_ = bag.readString("TX", QString());
    const bool enabled = bag.readBool("ENAB", true);
    setFont(bag.readFont("FONT", font()));
    colorScheme_ = static_cast<int>(bag.readInt("COLTYPE", stylepaint::OwnColours));
    showFocusRect_ = bag.readBool("FOCUSR", false);
    backColor_ = bag.readColor("BCOL", syscolors::sysColor(syscolors::ButtonFace));
    backColorOver_ = bag.readColor("BCOLO", backColor_);
    foreColor_ = bag.readColor("FCOL", syscolors::sysColor(syscolors::ButtonText));
    foreColorOver_ = bag.readColor("FCOLO", foreColor_);
    maskColor_ = bag.readColor("MCOL", backColor_);
    mousePointer_ = static_cast<int>(bag.readInt("MPTR", 99));
    mouseIcon_ = bag.readPicture("MICON");
    picture_ = bag.readPicture("PICN");
    pictureOver_ = bag.readPicture("PICO");
    pictureDown_ = bag.readPicture("PICDn");
    pictureDisabled_ = bag.readPicture("PICD");
    pictureDisabledSame_ = bag.readBool("PicdSame", false);
    maskColorUse_ = bag.readBool("UMCOL", false);
    picturePosition_ = static_cast<int>(bag.readInt("PICPOS", 4));
    pictureGreyUse_ = bag.readBool("NGREY", false);
    pictureDisableGreyUse_ = bag.readBool("PictureDisableGreyUse", false);
    captionShiftX_ = static_cast<int>(bag.readInt("Caption_ShiftX", 0));
    captionShiftY_ = static_cast<int>(bag.readInt("Caption_ShiftY", 0));
    downPictureShift_ = static_cast<int>(bag.readInt("DownPictureShift", 1));
    downCaptionShift_ = static_cast<int>(bag.readInt("DownCaptionShift", 1));

    // A custom pointer without an icon of its own gets the built-in hand.
    if (mousePointer_ == 99 && mouseIcon_.isNull())
        mouseIcon_ = handPicture();
    applyCursor();
    lastEnabled_ = enabled;
    setEnabled(enabled);
    pickSizingPicture();
    calcLayout();
    // The look, the region and the inset follow the type read.
    if (W_ * H_ != 0)
        handleResize();
}

void StyleButton::writeProperties(PropertyBag &bag) const
{
    auto colour = [](std::uint32_t c) { return QVariant::fromValue<qint64>(c); };
    bag.write("OLEDropMode", oleDropMode_, 0);
    bag.write("BTYPE", buttonType_);
    bag.write("BSTATE", state_);
    bag.write("SkipOverAndEnter", skipOverAndEnter_, true);
    bag.write("ButtonSwitchMode", switchMode_);
    bag.write("TX", caption_);
    bag.write("ENAB", Enabled());
    bag.write("FONT", font());
    bag.write("COLTYPE", colorScheme_);
    bag.write("FOCUSR", showFocusRect_);
    bag.write("BCOL", colour(backColor_));
    bag.write("BCOLO", colour(backColorOver_));
    bag.write("FCOL", colour(foreColor_));
    bag.write("FCOLO", colour(foreColorOver_));
    bag.write("MCOL", colour(maskColor_));
    bag.write("MPTR", mousePointer_);
    bag.write("MICON", mouseIcon_);
    bag.write("PICN", picture_);
    bag.write("PICO", pictureOver_);
    bag.write("PICDn", pictureDown_);
    bag.write("PICD", pictureDisabled_);
    bag.write("PicdSame", pictureDisabledSame_);
    bag.write("UMCOL", maskColorUse_);
    bag.write("PICPOS", picturePosition_);
    bag.write("NGREY", pictureGreyUse_);
    bag.write("PictureDisableGreyUse", pictureDisableGreyUse_);
    bag.write("Caption_ShiftX", captionShiftX_, 0);
    bag.write("Caption_ShiftY", captionShiftY_, 0);
    bag.write("DownPictureShift", downPictureShift_, 1);
    bag.write("DownCaptionShift", downCaptionShift_, 1);
}

// ---------------------------------------------------------------- properties

void StyleButton::setOLEDropMode(int mode)
{
    oleDropMode_ = mode;
    setAcceptDrops(mode == 1);
    emit propertyChanged("OLEDropMode");
}

void StyleButton::setBackColor(std::uint32_t colour)
{
    backColor_ = colour;
    redraw();
    emit propertyChanged("BCOL");
}

void StyleButton::setBackColorOver(std::uint32_t colour)
{
    backColorOver_ = colour;
    redraw();
    emit propertyChanged("BCOLO");
}

void StyleButton::setForeColor(std::uint32_t colour)
{
    foreColor_ = colour;
    redraw();
    emit propertyChanged("FCOL");
}

void StyleButton::setForeColorOver(std::uint32_t colour)
{
    foreColorOver_ = colour;
    redraw();
    emit propertyChanged("FCOLO");
}

void StyleButton::setMaskColor(std::uint32_t colour)
{
    maskColor_ = colour;
    redraw();
    emit propertyChanged("MCOL");
}

void StyleButton::setColorScheme(int scheme)
{
    colorScheme_ = scheme;
    redraw();
    emit propertyChanged("COLTYPE");
}

void StyleButton::setSkipOverAndEnter(bool skip)
{
    skipOverAndEnter_ = skip;
    emit propertyChanged("SkipOverAndEnter");
}

void StyleButton::setButtonSwitchMode(bool on)
{
    switchMode_ = on;
    emit propertyChanged("ButtonSwitchMode");
}

void StyleButton::setButtonState(int state)
{
    hover_ = state == StateOver;
    drawButton(state, true);
    emit propertyChanged("BSTATE");
}

void StyleButton::setButtonType(int type)
{
    buttonType_ = type;
    handleResize();  // inset, layout, region, background copy and paint of the new look
    emit propertyChanged("BTYPE");
}

void StyleButton::setCaption(const QString &caption)
{
    caption_ = caption;
    calcLayout();
    redraw();
    emit propertyChanged("TX");
}

void StyleButton::setCaption_ShiftX(int pixels)
{
    captionShiftX_ = pixels;
    calcLayout();
    redraw();
    emit propertyChanged("Caption_ShiftX");
}

void StyleButton::setCaption_ShiftY(int pixels)
{
    captionShiftY_ = pixels;
    calcLayout();
    redraw();
    emit propertyChanged("Caption_ShiftY");
}

void StyleButton::setPicturePosition(int position)
{
    picturePosition_ = position;
    emit propertyChanged("PICPOS");
    calcLayout();
    redraw();
}

void StyleButton::setDownPictureShift(int pixels)
{
    downPictureShift_ = pixels;
    if (state_ == StateDown)
        drawButton(StateDown, true);
    emit propertyChanged("DownPictureShift");
}

void StyleButton::setDownCaptionShift(int pixels)
{
    downCaptionShift_ = pixels;
    calcLayout();  // the down caption rectangle follows at once
    if (state_ == StateDown)
        drawButton(StateDown, true);
    emit propertyChanged("DownCaptionShift");
}

void StyleButton::setPictureDisableGreyUse(bool grey)
{
    pictureDisableGreyUse_ = grey;
    if (state_ == StateDown)
        drawButton(StateDown, true);
    emit propertyChanged("PictureDisableGreyUse");
}

void StyleButton::setPictureGreyUse(bool grey)
{
    pictureGreyUse_ = grey;
    if (state_ != StateDown)
        redraw();
    emit propertyChanged("NGREY");
}

void StyleButton::setMaskColorUse(bool use)
{
    maskColorUse_ = use;
    if (!picture_.isNull())
        redraw();
    emit propertyChanged("UMCOL");
}

void StyleButton::setPictureDisabledSame(bool same)
{
    pictureDisabledSame_ = same;
    if (!Enabled())
        drawButton(StateUp, true);
    emit propertyChanged("PicdSame");
}

void StyleButton::setShowFocusRect(bool show)
{
    showFocusRect_ = show;
    redraw();
    emit propertyChanged("FOCUSR");
}

void StyleButton::setMousePointer(int pointer)
{
    mousePointer_ = pointer;
    applyCursor();
    emit propertyChanged("MPTR");
}

void StyleButton::setMouseIcon(const QImage &icon)
{
    mouseIcon_ = icon;
    applyCursor();
    emit propertyChanged("MICON");
}

void StyleButton::setPicture(const QImage &picture)
{
    picture_ = picture;
    pictureChanged("PICN");
}

void StyleButton::setPictureOver(const QImage &picture)
{
    pictureOver_ = picture;
    pictureChanged("PICO");
}

void StyleButton::setPictureDown(const QImage &picture)
{
    pictureDown_ = picture;
    pictureChanged("PICDn");
}

void StyleButton::setPictureDisabled(const QImage &picture)
{
    pictureDisabled_ = picture;
    pictureChanged("PICD");
}

void StyleButton::setDisplayAsDefault(bool isDefault)
{
    displayAsDefault_ = isDefault;
    redraw();
}

void StyleButton::pictureChanged(const char *key)
{
    pickSizingPicture();
    calcLayout();
    captureBackground();
    redraw();
    emit propertyChanged(QString::fromLatin1(key));
}

const QImage &StyleButton::handPicture()
{
    static const QImage hand = [] {
        QImage img(32, 32, QImage::Format_Mono);
        img.setColor(0, qRgb(255, 255, 255));
        img.setColor(1, qRgb(0, 0, 0));
        img.fill(0);
        QImage draw(32, 32, QImage::Format_RGB32);
        draw.fill(Qt::white);
        QPainter p(&draw);
        p.setPen(Qt::black);
        p.setBrush(Qt::white);
        // The raised forefinger, the folded fingers and the thumb.
        p.drawRoundedRect(QRect(6, 1, 5, 16), 2, 2);
        p.drawRoundedRect(QRect(10, 10, 5, 9), 2, 2);
        p.drawRoundedRect(QRect(14, 11, 5, 8), 2, 2);
        p.drawRoundedRect(QRect(18, 12, 5, 8), 2, 2);
        p.drawPolygon(QPolygon({{6, 15}, {1, 12}, {0, 14}, {5, 22}, {8, 28}, {21, 28}, {23, 20}, {6, 18}}));
        p.end();
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                img.setPixel(x, y, qGray(draw.pixel(x, y)) < 128 ? 1 : 0);
        return img;
    }();
    return hand;
}

void StyleButton::applyCursor()
{
    static const Qt::CursorShape shapes[] = {
        Qt::ArrowCursor,      Qt::ArrowCursor,     Qt::CrossCursor,     Qt::IBeamCursor,
        Qt::ArrowCursor,      Qt::SizeAllCursor,   Qt::SizeBDiagCursor, Qt::SizeVerCursor,
        Qt::SizeFDiagCursor,  Qt::SizeHorCursor,   Qt::UpArrowCursor,   Qt::WaitCursor,
        Qt::ForbiddenCursor,  Qt::BusyCursor,      Qt::WhatsThisCursor, Qt::SizeAllCursor,
    };
    if (mousePointer_ == 99) {
        if (mouseIcon_.isNull() || mouseIcon_ == handPicture())
            setCursor(Qt::PointingHandCursor);
        else
            setCursor(QCursor(QPixmap::fromImage(mouseIcon_)));
    } else if (mousePointer_ > 0 && mousePointer_ < static_cast<int>(std::size(shapes))) {
        setCursor(shapes[mousePointer_]);
    } else {
        unsetCursor();
    }
}

// ---------------------------------------------------------------- methods

void StyleButton::Refresh()
{
    syncSize();
    calcLayout();
    visible_ = true;
    captureBackground();
    redraw();
}

void StyleButton::SetStretchPicture()
{
    syncSize();
    if (W_ * H_ <= 0)
        return;
    auto stretch = [this](QImage &pic) {
        if (pic.isNull())
            return;
        pic = mdlStretchPicture::StretchPicture(QPixmap::fromImage(pic), W_, H_, 0, 0xFFFFFF, 0).toImage();
    };
    stretch(picture_);
    stretch(pictureOver_);
    stretch(pictureDown_);
    stretch(pictureDisabled_);
    pickSizingPicture();
    calcLayout();
    captureBackground();
    redraw();
}

// ---------------------------------------------------------------- painting

stylepaint::PaletteInput StyleButton::paletteInput() const
{
    stylepaint::PaletteInput in;
    in.scheme = colorScheme_;
    in.buttonType = buttonType_;
    in.back = backColor_;
    in.fore = foreColor_;
    in.foreOver = foreColorOver_;
    in.mask = maskColor_;
    const QPalette pal = parentWidget() ? parentWidget()->palette() : palette();
    in.containerBack = syscolors::fromQColor(pal.color(QPalette::Window));
    in.containerFore = syscolors::fromQColor(pal.color(QPalette::WindowText));
    return in;
}

void StyleButton::drawButton(int state, bool force)
{
    syncSize();
    if (state == StateUp && hover_)
        state = StateOver;
    if (state == StateOver && skipOverAndEnter_)
        state = StateUp;
    hover_ = state == StateOver;
    if (caption_ == lastCaption_ && !force && state == state_)
        return;
    if (H_ == 0 || !visible_) {
        // Kept so that the next paint (at the latest on Show) shows it.
        state_ = state;
        return;
    }
    state_ = state;
    lastCaption_ = caption_;

    stylepaint::LookInput in;
    in.width = W_;
    in.height = H_;
    in.buttonType = buttonType_;
    in.state = state;
    in.hover = hover_;
    in.pointerOver = state == StateDown && isMouseOver(QCursor::pos());
    in.enabled = Enabled();
    in.focused = focused_;
    in.showFocusRect = showFocusRect_;
    in.displayAsDefault = displayAsDefault_;
    in.colours = paletteInput();
    in.backOver = backColorOver_;
    in.caption = caption_;
    in.font = font();
    in.layout = layout_;
    in.pictureWidth = pw_;
    in.pictureHeight = ph_;
    in.picturePosition = picturePosition_;
    in.downPictureShift = downPictureShift_;
    in.picture = picture_;
    in.pictureOver = pictureOver_;
    in.pictureDown = pictureDown_;
    in.pictureDisabled = pictureDisabled_;
    in.pictureDisabledSame = pictureDisabledSame_;
    in.maskColorUse = maskColorUse_;
    in.pictureGreyUse = pictureGreyUse_;
    in.pictureDisableGreyUse = pictureDisableGreyUse_;
    if (buttonType_ == 11)
        in.background = background_;
    // Painted with the screen's pixels, so that the caption stays sharp at any scale.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(W_, H_) * ratio).toSize();
    if (image_.size() != pixels || image_.devicePixelRatio() != ratio) {
        image_ = QImage(pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
    }
    stylepaint::paintLook(image_, in);
    update();
}

void StyleButton::calcLayout()
{
    stylepaint::LayoutInput in;
    in.width = W_;
    in.height = H_;
    in.picturePosition = picturePosition_;
    in.pictureWidth = pw_;
    in.pictureHeight = ph_;
    in.hasPictureOrOver = !picture_.isNull() || !pictureOver_.isNull();
    in.captionShiftX = captionShiftX_;
    in.captionShiftY = captionShiftY_;
    in.downCaptionShift = downCaptionShift_;
    in.caption = caption_;
    in.font = font();
    in.previousPictureX = layout_.pictureX;
    in.previousPictureY = layout_.pictureY;
    layout_ = stylepaint::calcLayout(in);
}

void StyleButton::pickSizingPicture()
{
    for (const QImage *pic : {&picture_, &pictureOver_, &pictureDown_, &pictureDisabled_}) {
        if (!pic->isNull()) {
            pw_ = pic->width();
            ph_ = pic->height();
            return;
        }
    }
    pw_ = ph_ = 0;
}

void StyleButton::captureBackground()
{
    syncSize();
    if (W_ * H_ == 0 || buttonType_ != 11 || !parentWidget() || capturing_)
        return;
    capturing_ = true;
    // The container's own drawing under the button, without its child controls.
    QImage copy(W_, H_, QImage::Format_RGB32);
    copy.fill(Qt::black);
    parentWidget()->render(&copy, QPoint(0, 0), QRegion(geometry()), QWidget::DrawWindowBackground);
    background_ = copy;
    capturing_ = false;
}

void StyleButton::syncSize()
{
    if (!resizing_ && (width() != W_ || height() != H_))
        handleResize();
}

void StyleButton::handleResize()
{
    if (resizing_)
        return;
    resizing_ = true;
    W_ = width();
    H_ = height();
    calcLayout();
    const QRegion region = stylepaint::buildRegion(buttonType_, W_, H_);
    if (W_ > 0 && H_ > 0 && region != QRegion(rect()))
        setMask(region);
    else
        clearMask();
    // A see-through button shows what lies under it now, at its new size.
    captureBackground();
    resizing_ = false;
    if (W_ * H_ != 0)
        redraw();
}

void StyleButton::paintEvent(QPaintEvent *)
{
    // Moved to a screen of another scale: painted again for its pixels.
    if (!image_.isNull() && image_.devicePixelRatio() != devicePixelRatioF())
        drawButton(state_, true);
    QPainter p(this);
    if (image_.isNull())
        return;
    p.drawImage(0, 0, image_);
}

void StyleButton::resizeEvent(QResizeEvent *)
{
    handleResize();
}

void StyleButton::moveEvent(QMoveEvent *)
{
    if (buttonType_ == 11) {
        captureBackground();
        redraw();
    }
}

void StyleButton::showEvent(QShowEvent *)
{
    visible_ = true;
    captureBackground();
    redraw();
}

void StyleButton::hideEvent(QHideEvent *)
{
    visible_ = false;
}

void StyleButton::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        // Only the button's own flag changes its look, not a disabled window around it.
        if (Enabled() != lastEnabled_) {
            lastEnabled_ = Enabled();
            drawButton(StateUp, true);
            emit propertyChanged("ENAB");
        }
        break;
    case QEvent::FontChange:
        calcLayout();
        redraw();
        emit propertyChanged("FONT");
        break;
    case QEvent::PaletteChange:
        if (colorScheme_ == stylepaint::ContainerColours)
            redraw();
        break;
    default: break;
    }
    QWidget::changeEvent(event);
}

void StyleButton::focusInEvent(QFocusEvent *event)
{
    focused_ = true;
    redraw();
    QWidget::focusInEvent(event);
}

void StyleButton::focusOutEvent(QFocusEvent *event)
{
    focused_ = false;
    redraw();
    QWidget::focusOutEvent(event);
}

// ---------------------------------------------------------------- mouse and keys

bool StyleButton::isMouseOver(const QPoint &globalPos) const
{
    return QApplication::widgetAt(globalPos) == this;
}

bool StyleButton::hitTest(const QPoint &pos) const
{
    // The cut corners of a shaped button are not part of it, even for events that
    // did not come through the window system.
    const QRegion m = mask();
    return m.isEmpty() ? rect().contains(pos) : m.contains(pos);
}

void StyleButton::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int button = mousecodes::button(event->button());
    if (!hitTest(pos) || button == 0) {
        event->ignore();
        return;
    }
    lastButton_ = button;
    pressPending_ = true;
    if (button != 2) {
        if (!switchMode_) {
            drawButton(StateDown, false);
        } else {
            if (state_ != StateDown)
                drawButton(StateDown, false);  // latch
            else
                drawButton(isMouseOver(event->globalPosition().toPoint()) ? 1 : 0, false);
            if (state_ == StateOver && !skipOverAndEnter_)
                OverTimer.start();
            else
                OverTimer.stop();
        }
    }
    emit MouseDown(button, mousecodes::shift(event->modifiers()), event->position().x(), event->position().y());
}

void StyleButton::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const int button = mousecodes::button(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    if (button != 2 && canShowOver()) {
        drawButton(isMouseOver(event->globalPosition().toPoint()) ? 1 : 0, false);
        if (state_ == StateOver && !skipOverAndEnter_)
            OverTimer.start();
        else
            OverTimer.stop();
    }
    emit MouseUp(button, mousecodes::shift(event->modifiers()), event->position().x(), event->position().y());
    // A press and a release on the button make a click; only a left one counts.
    const bool clicked = pressPending_ && hitTest(pos);
    pressPending_ = false;
    if (clicked && lastButton_ == 1 && Enabled())
        emit Click();
}

void StyleButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!hitTest(event->position().toPoint()) || mousecodes::button(event->button()) == 0) {
        event->ignore();
        return;
    }
    // The second press of a double click is reported as the double click alone,
    // and its release makes no further click.
    pressPending_ = false;
    if (lastButton_ == 1 && Enabled())
        emit DblClick();
}

void StyleButton::mouseMoveEvent(QMouseEvent *event)
{
    const int buttons = mousecodes::buttons(event->buttons());
    if (buttons == 0 || buttons == 1) {
        if (isMouseOver(event->globalPosition().toPoint())) {
            if (buttons == 0 && !OverTimer.isActive()) {
                if (canShowOver())
                    drawButton(StateOver, false);
                if (!skipOverAndEnter_) {
                    OverTimer.start();
                    emit MouseEnter();
                }
            }
        } else {
            // Dragged out with the button held: the button keeps the mouse.
            hover_ = false;
            if (canShowOver())
                drawButton(StateUp, false);
        }
    }
    emit MouseMove(buttons, mousecodes::shift(event->modifiers()), event->position().x(), event->position().y());
}

void StyleButton::OverTimer_Timer()
{
    if (isMouseOver(QCursor::pos()))
        return;
    OverTimer.stop();
    hover_ = false;
    if (canShowOver())
        drawButton(StateUp, false);
    emit MouseLeave();
}

void StyleButton::keyPressEvent(QKeyEvent *event)
{
    const int shift = mousecodes::shift(event->modifiers());
    emit KeyDown(keyCode(event->key()), shift);
    const QString text = event->text();
    if (!text.isEmpty())
        emit KeyPress(text.at(0).unicode());
    // The keyboard does not press the button: the key goes on to the window, so that
    // Escape and Enter work there as they do from any other control.
    event->ignore();
}

void StyleButton::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat())
        return;
    emit KeyUp(keyCode(event->key()), mousecodes::shift(event->modifiers()));
}

void StyleButton::dragEnterEvent(QDragEnterEvent *event)
{
    if (oleDropMode_ == 1)
        event->acceptProposedAction();
    else
        event->ignore();
}

void StyleButton::dragMoveEvent(QDragMoveEvent *event)
{
    if (oleDropMode_ == 1)
        event->acceptProposedAction();
    else
        event->ignore();
}

void StyleButton::dropEvent(QDropEvent *event)
{
    if (oleDropMode_ != 1) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit OLEDragDrop(event->mimeData(), dropEffect(event->dropAction()),
                     mousecodes::buttons(event->buttons()), mousecodes::shift(event->modifiers()),
                     static_cast<float>(event->position().x()), static_cast<float>(event->position().y()));
}
