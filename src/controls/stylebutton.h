// The skinned button: a button that paints itself in one of fourteen looks, with a
// caption, up to four pictures, an optional hover look and an optional latch mode.
//
// Looks (ButtonType): 1 raised with cut corners, 2 classic, 3 gradient with a ring,
// 4 soft, 5/10/13 picture only, 6 light edge, 7 single edge, 8 flat with a single
// edge on hover, 9 flat selection, 11 see-through (shows its container's pixels),
// 12 flat with a classic edge on hover, 14 glass. States (ButtonState): 0 up,
// 1 over, 2 down; any other value paints only the background.
//
// Mouse rules: a press of any button but the right one shows the down look; a
// release inside after a left press raises Click; a right press changes no look.
// In switch mode (ButtonSwitchMode) a press latches the button down until the next
// press. The hover look (SkipOverAndEnter False) is tracked by a 100 ms timer that
// runs only while it shows. The keyboard does not press the button.
//
// Colours are 0x00BBGGRR values or 0x800000nn system-colour references; the
// painting itself lives in stylebutton_paint.h.
#pragma once

#include "controls/stylebutton_paint.h"

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class PropertyBag;
class QMimeData;

class StyleButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int OLEDropMode READ OLEDropMode WRITE setOLEDropMode)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(uint BackColorOver READ BackColorOver WRITE setBackColorOver)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(uint ForeColorOver READ ForeColorOver WRITE setForeColorOver)
    Q_PROPERTY(uint MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(bool SkipOverAndEnter READ SkipOverAndEnter WRITE setSkipOverAndEnter)
    Q_PROPERTY(bool ButtonSwitchMode READ ButtonSwitchMode WRITE setButtonSwitchMode)
    Q_PROPERTY(int ButtonState READ ButtonState WRITE setButtonState)
    Q_PROPERTY(int ButtonType READ ButtonType WRITE setButtonType)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int DownPictureShift READ DownPictureShift WRITE setDownPictureShift)
    Q_PROPERTY(int DownCaptionShift READ DownCaptionShift WRITE setDownCaptionShift)
    Q_PROPERTY(int Caption_ShiftX READ Caption_ShiftX WRITE setCaption_ShiftX)
    Q_PROPERTY(int Caption_ShiftY READ Caption_ShiftY WRITE setCaption_ShiftY)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(int ColorScheme READ ColorScheme WRITE setColorScheme)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QImage MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(QImage Picture READ Picture WRITE setPicture)
    Q_PROPERTY(QImage PictureOver READ PictureOver WRITE setPictureOver)
    Q_PROPERTY(QImage PictureDown READ PictureDown WRITE setPictureDown)
    Q_PROPERTY(QImage PictureDisabled READ PictureDisabled WRITE setPictureDisabled)
    Q_PROPERTY(bool PictureDisabledSame READ PictureDisabledSame WRITE setPictureDisabledSame)
    Q_PROPERTY(int PicturePosition READ PicturePosition WRITE setPicturePosition)
    Q_PROPERTY(bool MaskColorUse READ MaskColorUse WRITE setMaskColorUse)
    Q_PROPERTY(bool PictureGreyUse READ PictureGreyUse WRITE setPictureGreyUse)
    Q_PROPERTY(bool PictureDisableGreyUse READ PictureDisableGreyUse WRITE setPictureDisableGreyUse)
    Q_PROPERTY(QString Tag READ Tag WRITE setTag)
    Q_PROPERTY(bool DisplayAsDefault READ DisplayAsDefault WRITE setDisplayAsDefault)

public:
    // A new button with the values of a freshly placed control; its caption is name.
    explicit StyleButton(QWidget *parent = nullptr, const QString &name = {});
    ~StyleButton() override;

    // ---- Properties ----
    int OLEDropMode() const { return oleDropMode_; }
    void setOLEDropMode(int mode);
    std::uint32_t BackColor() const { return backColor_; }
    void setBackColor(std::uint32_t colour);
    std::uint32_t BackColorOver() const { return backColorOver_; }
    void setBackColorOver(std::uint32_t colour);
    std::uint32_t ForeColor() const { return foreColor_; }
    void setForeColor(std::uint32_t colour);
    std::uint32_t ForeColorOver() const { return foreColorOver_; }
    void setForeColorOver(std::uint32_t colour);
    std::uint32_t MaskColor() const { return maskColor_; }
    void setMaskColor(std::uint32_t colour);
    bool SkipOverAndEnter() const { return skipOverAndEnter_; }
    void setSkipOverAndEnter(bool skip);
    bool ButtonSwitchMode() const { return switchMode_; }
    void setButtonSwitchMode(bool on);
    // The states ButtonState takes (stored as these numbers).
    enum StateLook : int { StateUp = 0, StateOver = 1, StateDown = 2 };
    int ButtonState() const { return state_; }
    void setButtonState(int state);
    int ButtonType() const { return buttonType_; }
    void setButtonType(int type);
    QString Caption() const { return caption_; }
    void setCaption(const QString &caption);
    int DownPictureShift() const { return downPictureShift_; }
    void setDownPictureShift(int pixels);
    int DownCaptionShift() const { return downCaptionShift_; }
    void setDownCaptionShift(int pixels);
    int Caption_ShiftX() const { return captionShiftX_; }
    void setCaption_ShiftX(int pixels);
    int Caption_ShiftY() const { return captionShiftY_; }
    void setCaption_ShiftY(int pixels);
    // The button's own enabled flag (QWidget::setEnabled sets it); a button inside a
    // disabled window keeps its look.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    int ColorScheme() const { return colorScheme_; }
    void setColorScheme(int scheme);
    bool ShowFocusRect() const { return showFocusRect_; }
    void setShowFocusRect(bool show);
    // 0 default, 1 arrow, 2 cross, 3 I-beam, 5/15 size all, 6..9 sizing, 10 up arrow,
    // 11 wait, 12 no drop, 13 busy, 14 what's this, 99 MouseIcon (a pointing hand
    // while there is none; reading the properties makes handPicture() the icon then).
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    QImage MouseIcon() const { return mouseIcon_; }
    void setMouseIcon(const QImage &icon);
    // The built-in pointing hand (32 x 32, black and white); shown as the desktop's hand.
    static const QImage &handPicture();
    QImage Picture() const { return picture_; }
    void setPicture(const QImage &picture);
    QImage PictureOver() const { return pictureOver_; }
    void setPictureOver(const QImage &picture);
    QImage PictureDown() const { return pictureDown_; }
    void setPictureDown(const QImage &picture);
    QImage PictureDisabled() const { return pictureDisabled_; }
    void setPictureDisabled(const QImage &picture);
    bool PictureDisabledSame() const { return pictureDisabledSame_; }
    void setPictureDisabledSame(bool same);
    int PicturePosition() const { return picturePosition_; }
    void setPicturePosition(int position);
    bool MaskColorUse() const { return maskColorUse_; }
    void setMaskColorUse(bool use);
    bool PictureGreyUse() const { return pictureGreyUse_; }
    void setPictureGreyUse(bool grey);
    bool PictureDisableGreyUse() const { return pictureDisableGreyUse_; }
    void setPictureDisableGreyUse(bool grey);
    WId hwnd() const { return internalWinId(); }

    // Given by the host: the control's tag, and whether the host shows it as its
    // default button (looks 2, 3 and 14 mark that).
    QString Tag() const { return tag_; }
    void setTag(const QString &tag) { tag_ = tag; }
    bool DisplayAsDefault() const { return displayAsDefault_; }
    void setDisplayAsDefault(bool isDefault);

    // ---- Methods ----
    // Rebuilds colours and layout, takes the background again and repaints.
    void Refresh();
    // Replaces every picture by a copy stretched to the button's size on white;
    // nothing on a button of size 0.
    void SetStretchPicture();

    // ---- Persistence ----
    // The values of a freshly placed control (caption := name).
    void initProperties(const QString &name);
    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

    // ---- For tests and galleries ----
    // The finished image the button shows.
    const QImage &image() const { return image_; }
    bool isHoverTracking() const { return OverTimer.isActive(); }
    const stylepaint::Layout &layout() const { return layout_; }
    const QImage &backgroundCopy() const { return background_; }

signals:
    void Click();
    void DblClick();
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    void KeyPress(int KeyAscii);
    void KeyDown(int KeyCode, int Shift);
    void KeyUp(int KeyCode, int Shift);
    void MouseEnter();
    void MouseLeave();
    void OLEDragDrop(const QMimeData *Data, int Effect, int Button, int Shift, float X, float Y);
    // A property was set; the host saves it under this key.
    void propertyChanged(const QString &key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void OverTimer_Timer();

    void drawButton(int state, bool force);
    void redraw() { drawButton(state_, true); }
    void handleResize();
    void syncSize();
    void calcLayout();
    void pickSizingPicture();
    void captureBackground();
    void pictureChanged(const char *key);
    void applyCursor();
    bool canShowOver() const { return state_ != StateDown || !switchMode_; }
    bool isMouseOver(const QPoint &globalPos) const;
    bool hitTest(const QPoint &pos) const;
    stylepaint::PaletteInput paletteInput() const;

    // Properties.
    int oleDropMode_ = 0;
    std::uint32_t backColor_ = 0, backColorOver_ = 0, foreColor_ = 0, foreColorOver_ = 0;
    std::uint32_t maskColor_ = 0;
    bool skipOverAndEnter_ = true;
    bool switchMode_ = false;
    int state_ = 0;
    int buttonType_ = 2;
    QString caption_;
    int downPictureShift_ = 1, downCaptionShift_ = 1;
    int captionShiftX_ = 0, captionShiftY_ = 0;
    int colorScheme_ = stylepaint::SystemColours;
    bool showFocusRect_ = false;
    int mousePointer_ = 0;
    QImage mouseIcon_;
    QImage picture_, pictureOver_, pictureDown_, pictureDisabled_;
    bool pictureDisabledSame_ = false;
    int picturePosition_ = 4;
    bool maskColorUse_ = false;
    bool pictureGreyUse_ = false;
    bool pictureDisableGreyUse_ = false;
    QString tag_;
    bool displayAsDefault_ = false;

    // Private state.
    int lastButton_ = 0;         // the button of the last press (1 left, 2 right, 4 middle)
    bool pressPending_ = false;  // a press waits for its release to count as a click
    bool focused_ = false;
    bool visible_ = true;        // false from Hide to Show: nothing is painted meanwhile
    bool hover_ = false;
    QString lastCaption_;
    bool lastEnabled_ = true;

    // Painter state.
    int W_ = 0, H_ = 0;
    int pw_ = 0, ph_ = 0;
    stylepaint::Layout layout_;
    QImage image_;
    QImage background_;          // look 11: the container's pixels under the button
    bool resizing_ = false;
    bool capturing_ = false;     // rendering the container sends our pending events

    QTimer OverTimer;
};
