// The status lines: CPU load every second, the time line of a running conversion,
// and the source information.
#include "mainwin/frmmain.h"

#include "core/cpuload.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "coregui/drawing.h"
#include "mainwin/frmmain_text.h"

#include <QCoreApplication>
#include <QPainter>

using namespace mdlMavrell;

void FrmMain::tmrCPU_Timer()
{
    const QString s = cpuMeter ? cpuMeter->query() : QStringLiteral("0.0");
    lblEncodeEsti->setText(mainwin::cpuLineText(s));
    QString capt;
    setEncodeTimeEsti(capt);
}

void FrmMain::setEncodeTimeEsti(QString &capt)
{
    if (picEncodeEsti->isHidden())
        return;
    if (capt.isEmpty()) {
        const double start = numbertext::Val(picEncodeEsti->Tag);
        const float elapsed = float((double(tickSource()) - start) / 1000.0);
        const float percent = float(numbertext::Val(picProgress->Tag));
        capt = estimate_.update(elapsed < 0 ? 0 : elapsed, percent, lng[txt::ElapsedAndLeft]);
    }
    picEncodeEsti->Cls();
    QImage &canvas = picEncodeEsti->canvas();
    QPainter p(&canvas);
    p.setFont(picEncodeEsti->font());
    p.setPen(picEncodeEsti->palette().color(QPalette::WindowText));
    const QFontMetrics fm(picEncodeEsti->font());
    const int x = canvas.width() / 2 - fm.horizontalAdvance(capt) / 2 + 1;
    const int y = (canvas.height() - fm.height()) / 2;
    p.drawText(x, y + fm.ascent(), capt);
    p.end();
    picEncodeEsti->setProperty("printed", capt);
    picEncodeEsti->Refresh();
}

void FrmMain::setVideoInfoNote()
{
    lblVideoSize->setText(mainwin::videoSizeText());
    lblVideoLen->setText(mainwin::videoLenText());
    QCoreApplication::processEvents();
}
