// The options dialog's controls copied into plain data and back. A control's own
// enabled and hidden flags are copied (not the ones it inherits from a hidden or
// disabled window), and its Tag is the "Tag" property.
#include "options/frmoptions.h"

#include "controls/orvextab.h"
#include "controls/stylebutton.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

bool ownEnabled(const QWidget *w) { return !w->testAttribute(Qt::WA_ForceDisabled); }
QString tagOf(const QObject *o) { return o->property("Tag").toString(); }
void setTagOf(QObject *o, const QString &tag)
{
    if (tagOf(o) != tag)
        o->setProperty("Tag", tag);
}
void setEnabledIf(QWidget *w, bool enabled)
{
    if (ownEnabled(w) != enabled)
        w->setEnabled(enabled);
}

void read(const QComboBox *w, opt::Combo &c)
{
    c.items.clear();
    for (int i = 0; i < w->count(); ++i)
        c.items.append(w->itemText(i));
    c.listIndex = w->currentIndex();
    c.text = w->currentText();
    // A text typed over a chosen item means no item is chosen.
    if (w->isEditable() && c.listIndex >= 0 && c.text != w->itemText(c.listIndex))
        c.listIndex = -1;
    c.enabled = ownEnabled(w);
    c.tag = tagOf(w);
}

void write(const opt::Combo &c, QComboBox *w)
{
    QStringList items;
    for (int i = 0; i < w->count(); ++i)
        items.append(w->itemText(i));
    if (items != c.items) {
        w->clear();
        w->addItems(c.items);
    }
    const int index = c.listIndex >= 0 && c.listIndex < c.count() ? c.listIndex : -1;
    if (w->currentIndex() != index)
        w->setCurrentIndex(index);
    if (w->isEditable() && w->currentText() != c.text)
        w->setEditText(c.text);
    setEnabledIf(w, c.enabled);
    setTagOf(w, c.tag);
}

void read(const QLineEdit *w, opt::TextBox &t)
{
    t.text = w->text();
    t.enabled = ownEnabled(w);
    t.tag = tagOf(w);
}

void write(const opt::TextBox &t, QLineEdit *w)
{
    if (w->text() != t.text)
        w->setText(t.text);
    setEnabledIf(w, t.enabled);
    setTagOf(w, t.tag);
}

void read(const QLabel *w, opt::Label &l)
{
    l.caption = w->text();
    l.tag = tagOf(w);
    l.toolTip = w->toolTip();
    l.enabled = ownEnabled(w);
}

void write(const opt::Label &l, QLabel *w)
{
    if (w->text() != l.caption)
        w->setText(l.caption);
    setTagOf(w, l.tag);
    if (w->toolTip() != l.toolTip)
        w->setToolTip(l.toolTip);
    setEnabledIf(w, l.enabled);
}

void read(const QRadioButton *w, opt::Option &o)
{
    o.value = w->isChecked();
    o.enabled = ownEnabled(w);
    o.tag = tagOf(w);
    o.caption = w->text();
}

void write(const opt::Option &o, QRadioButton *w)
{
    // Only the chosen one is set: its partner follows, as in every option group.
    if (o.value && !w->isChecked())
        w->setChecked(true);
    setEnabledIf(w, o.enabled);
    setTagOf(w, o.tag);
    if (w->text() != o.caption)
        w->setText(o.caption);
}

void read(const QCheckBox *w, opt::Check &c)
{
    c.value = w->isChecked() ? 1 : 0;
    c.enabled = ownEnabled(w);
    c.tag = tagOf(w);
    c.caption = w->text();
}

void write(const opt::Check &c, QCheckBox *w)
{
    if (w->isChecked() != (c.value == 1))
        w->setChecked(c.value == 1);
    setEnabledIf(w, c.enabled);
    setTagOf(w, c.tag);
    if (w->text() != c.caption)
        w->setText(c.caption);
}

void read(const StyleButton *w, opt::Button &b)
{
    b.caption = w->Caption();
    b.tag = w->Tag();
    b.toolTip = w->toolTip();
    b.enabled = w->Enabled();
    b.visible = !w->isHidden();
    b.mousePointer = w->MousePointer();
}

void write(const opt::Button &b, StyleButton *w, bool withCaption)
{
    if (withCaption && w->Caption() != b.caption)
        w->setCaption(b.caption);
    w->setTag(b.tag);
    if (w->toolTip() != b.toolTip)
        w->setToolTip(b.toolTip);
    if (w->Enabled() != b.enabled)
        w->setEnabled(b.enabled);
    if (w->isHidden() == b.visible)
        w->setVisible(b.visible);
    if (w->MousePointer() != b.mousePointer)
        w->setMousePointer(b.mousePointer);
}

template <typename W, typename D, std::size_t N>
void readAll(const std::array<W *, N> &w, std::array<D, N> &d)
{
    for (std::size_t i = 0; i < N; ++i)
        read(w[i], d[i]);
}
template <typename D, typename W, std::size_t N>
void writeAll(const std::array<D, N> &d, const std::array<W *, N> &w)
{
    for (std::size_t i = 0; i < N; ++i)
        write(d[i], w[i]);
}
template <std::size_t N>
void writeButtons(const std::array<opt::Button, N> &d, const std::array<StyleButton *, N> &w, bool withCaption)
{
    for (std::size_t i = 0; i < N; ++i)
        write(d[i], w[i], withCaption);
}

} // namespace

void FrmOptions::readForm()
{
    opt::OptionsForm &f = form_;
    read(lblFormatStr, f.lblFormatStr);
    read(lblScopeStr, f.lblScopeStr);
    read(lblScopeStr2, f.lblScopeStr2);
    read(lblFpsStr, f.lblFpsStr);
    read(lblRotateStr, f.lblRotateStr);
    read(lblRotateStr2, f.lblRotateStr2);
    read(lblScopeNote, f.lblScopeNote);
    readAll(txtScope, f.txtScope);
    read(cboFps, f.cboFps);
    read(cboRotate, f.cboRotate);

    read(lblVideoBitrateStr, f.lblVideoBitrateStr);
    read(lblSizeStr, f.lblSizeStr);
    read(lblSizeStr2, f.lblSizeStr2);
    read(lblCropStr, f.lblCropStr);
    read(lblExpandStr, f.lblExpandStr);
    readAll(lblExpand2Str, f.lblExpand2Str);
    read(cboVideoBitrate, f.cboVideoBitrate);
    read(cboSize, f.cboSize);
    readAll(txtSize, f.txtSize);
    readAll(optScaleCrop, f.optScaleCrop);
    readAll(txtExpand, f.txtExpand);

    readAll(optAudio, f.optAudio);
    read(lblAudioBitrateStr, f.lblAudioBitrateStr);
    read(lblAudioSampleStr, f.lblAudioSampleStr);
    read(lblAudioDelayStr, f.lblAudioDelayStr);
    read(cboAudioBitrate, f.cboAudioBitrate);
    read(cboAudioSample, f.cboAudioSample);
    read(txtAudioDelay, f.txtAudioDelay);
    read(chkAudioVolnorm, f.chkAudioVolnorm);

    read(lblVolume, f.lblVolume);
    read(lblBrightness, f.lblBrightness);
    read(lblContrast, f.lblContrast);
    read(lblHue, f.lblHue);
    read(lblSaturation, f.lblSaturation);
    readAll(imgVolume, f.imgVolume);
    readAll(imgBrightness, f.imgBrightness);
    readAll(imgContrast, f.imgContrast);
    readAll(imgHue, f.imgHue);
    readAll(imgSaturation, f.imgSaturation);
    read(lblVolPlay, f.lblVolPlay);
    readAll(lblVol, f.lblVol);
    f.picCrSpecScaleWidth = picCrSpec->width();
    f.lneCrSpecX = lneCrSpec->x();

    readAll(optSub, f.optSub);
    read(txtSubFile, f.txtSubFile);
    read(mbSubFIle, f.mbSubFIle);
    read(lblSubSizeStr, f.lblSubSizeStr);
    read(lblSubPosHgtStr, f.lblSubPosHgtStr);
    read(lblSubPosHgt2Str, f.lblSubPosHgt2Str);
    read(lblSubOutlineStr, f.lblSubOutlineStr);
    read(lblSubBlurStr, f.lblSubBlurStr);
    read(lblSubDelayStr, f.lblSubDelayStr);
    read(lblSubFontStr, f.lblSubFontStr);
    read(lblSubcpStr, f.lblSubcpStr);
    read(txtSubSize, f.txtSubSize);
    read(txtSubPosHgt, f.txtSubPosHgt);
    read(txtSubOutline, f.txtSubOutline);
    read(txtSubBlur, f.txtSubBlur);
    read(txtSubDelay, f.txtSubDelay);
    read(cboSubFont, f.cboSubFont);
    read(cboSubcp, f.cboSubcp);
    // cmdSubPlay is a plain push button: its caption and enabled state.
    f.cmdSubPlay.caption = cmdSubPlay->text();
    f.cmdSubPlay.enabled = ownEnabled(cmdSubPlay);

    for (int i = 0; i < 5; ++i)
        f.picTabMaskVisible[i] = !picTabMask[i]->isHidden();
    readAll(lblMark, f.lblMark);
    readAll(cmdOkCancel, f.cmdOkCancel);

    f.picPlayerScaleWidth = picPlayer->width();
    f.picPlayerScaleHeight = picPlayer->height();
    f.shpCrop.visible = !shpCrop->isHidden();
    f.shpCrop.left = shpCrop->x();
    f.shpCrop.top = shpCrop->y();
    f.shpCrop.width = shpCrop->width();
    f.shpCrop.height = shpCrop->height();

    f.tabNow = tabMn->TabNow();
    f.focusRequest.clear();
}

void FrmOptions::writeForm()
{
    const opt::OptionsForm &f = form_;
    write(f.lblFormatStr, lblFormatStr);
    write(f.lblScopeStr, lblScopeStr);
    write(f.lblScopeStr2, lblScopeStr2);
    write(f.lblFpsStr, lblFpsStr);
    write(f.lblRotateStr, lblRotateStr);
    write(f.lblRotateStr2, lblRotateStr2);
    write(f.lblScopeNote, lblScopeNote);
    writeAll(f.txtScope, txtScope);
    write(f.cboFps, cboFps);
    write(f.cboRotate, cboRotate);

    write(f.lblVideoBitrateStr, lblVideoBitrateStr);
    write(f.lblSizeStr, lblSizeStr);
    write(f.lblSizeStr2, lblSizeStr2);
    write(f.lblCropStr, lblCropStr);
    write(f.lblExpandStr, lblExpandStr);
    writeAll(f.lblExpand2Str, lblExpand2Str);
    write(f.cboVideoBitrate, cboVideoBitrate);
    write(f.cboSize, cboSize);
    writeAll(f.txtSize, txtSize);
    writeAll(f.optScaleCrop, optScaleCrop);
    writeAll(f.txtExpand, txtExpand);

    writeAll(f.optAudio, optAudio);
    write(f.lblAudioBitrateStr, lblAudioBitrateStr);
    write(f.lblAudioSampleStr, lblAudioSampleStr);
    write(f.lblAudioDelayStr, lblAudioDelayStr);
    write(f.cboAudioBitrate, cboAudioBitrate);
    write(f.cboAudioSample, cboAudioSample);
    write(f.txtAudioDelay, txtAudioDelay);
    write(f.chkAudioVolnorm, chkAudioVolnorm);

    write(f.lblVolume, lblVolume);
    write(f.lblBrightness, lblBrightness);
    write(f.lblContrast, lblContrast);
    write(f.lblHue, lblHue);
    write(f.lblSaturation, lblSaturation);
    // The adjusters' buttons are pictures without captions.
    writeButtons(f.imgVolume, imgVolume, false);
    writeButtons(f.imgBrightness, imgBrightness, false);
    writeButtons(f.imgContrast, imgContrast, false);
    writeButtons(f.imgHue, imgHue, false);
    writeButtons(f.imgSaturation, imgSaturation, false);
    write(f.lblVolPlay, lblVolPlay, false);
    writeButtons(f.lblVol, lblVol, false);
    const int x = int(f.lneCrSpecX);
    if (lneCrSpec->x() != x)
        lneCrSpec->move(x, 0);

    writeAll(f.optSub, optSub);
    write(f.txtSubFile, txtSubFile);
    write(f.mbSubFIle, mbSubFIle, false);
    write(f.lblSubSizeStr, lblSubSizeStr);
    write(f.lblSubPosHgtStr, lblSubPosHgtStr);
    write(f.lblSubPosHgt2Str, lblSubPosHgt2Str);
    write(f.lblSubOutlineStr, lblSubOutlineStr);
    write(f.lblSubBlurStr, lblSubBlurStr);
    write(f.lblSubDelayStr, lblSubDelayStr);
    write(f.lblSubFontStr, lblSubFontStr);
    write(f.lblSubcpStr, lblSubcpStr);
    write(f.txtSubSize, txtSubSize);
    write(f.txtSubPosHgt, txtSubPosHgt);
    write(f.txtSubOutline, txtSubOutline);
    write(f.txtSubBlur, txtSubBlur);
    write(f.txtSubDelay, txtSubDelay);
    write(f.cboSubFont, cboSubFont);
    write(f.cboSubcp, cboSubcp);
    if (cmdSubPlay->text() != f.cmdSubPlay.caption)
        cmdSubPlay->setText(f.cmdSubPlay.caption);
    setEnabledIf(cmdSubPlay, f.cmdSubPlay.enabled);

    for (int i = 0; i < 5; ++i)
        if (picTabMask[i]->isHidden() == f.picTabMaskVisible[i])
            picTabMask[i]->setVisible(f.picTabMaskVisible[i]);
    writeButtons(f.lblMark, lblMark, true);
    writeButtons(f.cmdOkCancel, cmdOkCancel, true);

    if (f.shpCrop.visible) {
        shpCrop->setGeometry(int(f.shpCrop.left), int(f.shpCrop.top), int(f.shpCrop.width), int(f.shpCrop.height));
        shpCrop->show();
    } else {
        shpCrop->hide();
    }

    if (tabMn->TabNow() != f.tabNow)
        tabMn->setTabNow(f.tabNow);
}

opt::OptionsForm FrmOptions::form()
{
    readForm();
    return form_;
}
