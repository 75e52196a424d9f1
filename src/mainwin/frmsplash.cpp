#include "mainwin/frmsplash.h"

#include "core/fileobject.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "core/numbertext.h"
#include "core/systeminfo.h"
#include "coregui/defaultinstance.h"
#include "coregui/desktop.h"
#include "mainwin/frmmain.h"
#include "mainwin/settingsfile.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <cmath>

using namespace mdlMavrell;

namespace splash {

int fadeTick(FadeState &s, bool mainShown)
{
    s.tick += 1;
    if (!mainShown)
        return -1;
    if (s.firstTick == 0) {
        s.firstTick = s.tick;
        if (s.firstTick < fadeEndTick)
            s.step = 250.0f / float(fadeEndTick - s.tick);
    }
    // Seen only at the end of the fade: no fade, the splash's close makes it opaque.
    if (s.firstTick >= fadeEndTick)
        return -1;
    const float raw = s.step * float(s.tick - s.firstTick);
    const double alpha = numbertext::roundHalfEven(raw);
    return alpha > 255 ? 255 : int(alpha);
}

bool chineseMarquee(bool settingsExist, const QString &settingsText, const QString &localeCode)
{
    if (settingsExist)
        return settingsText.contains(QLatin1String("Language=tw"), Qt::CaseSensitive);
    return localeCode == QLatin1String("tw");
}

QString englishText()
{
    return QStringLiteral("Welcome to Orvex\r\n"
                          "Made with care by Quennet\r\n"
                          "\r\n"
                          "Loading Language\r\n"
                          "Loading Module\r\n"
                          "Loading Decoder\r\n"
                          "Loading Encoder\r\n"
                          "Loading Plugins\r\n"
                          "Loading Config\r\n"
                          "Loading Options");
}

QString chineseText()
{
    return QStringLiteral("歡迎您使用 Orvex\r\n"
                          "Quennet 用心製作\r\n"
                          "\r\n"
                          "正在讀取：語庫\r\n"
                          "正在讀取：模組\r\n"
                          "正在讀取：解碼器\r\n"
                          "正在讀取：轉碼器\r\n"
                          "正在讀取：介面區\r\n"
                          "正在讀取：配置表\r\n"
                          "正在讀取：緩衝頁");
}

QPixmap background(const QSize &size)
{
    QPixmap pm(size);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(4, 4, -4, -4);

    QPainterPath shape;
    shape.addRoundedRect(body, 26, 26);
    QLinearGradient fill(body.topLeft(), body.bottomRight());
    fill.setColorAt(0, QColor(0x1d, 0x4e, 0x79));
    fill.setColorAt(1, QColor(0x0b, 0x22, 0x3a));
    p.fillPath(shape, fill);
    p.setPen(QPen(QColor(0x7f, 0xa9, 0xcf), 2));
    p.drawPath(shape);

    // A film strip across the right side.
    const QRectF strip(body.right() - 150, body.top() + 22, 118, body.height() - 44);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x05, 0x12, 0x20));
    p.drawRoundedRect(strip, 6, 6);
    p.setBrush(QColor(0xd7, 0xe4, 0xf0));
    for (qreal y = strip.top() + 6; y + 6 < strip.bottom(); y += 14) {
        p.drawRoundedRect(QRectF(strip.left() + 6, y, 8, 7), 1.5, 1.5);
        p.drawRoundedRect(QRectF(strip.right() - 14, y, 8, 7), 1.5, 1.5);
    }
    const qreal frameH = (strip.height() - 24) / 3;
    const QColor frames[] = {QColor(0x3f, 0x8c, 0xc9), QColor(0xe0, 0x9a, 0x3c), QColor(0x5b, 0xb0, 0x7a)};
    for (int i = 0; i < 3; ++i) {
        const QRectF f(strip.left() + 20, strip.top() + 6 + i * (frameH + 6), strip.width() - 40, frameH);
        QLinearGradient g(f.topLeft(), f.bottomLeft());
        g.setColorAt(0, frames[i].lighter(130));
        g.setColorAt(1, frames[i]);
        p.setBrush(g);
        p.drawRect(f);
    }
    // A play mark on the middle frame.
    const QPointF c(strip.center());
    QPainterPath play;
    play.moveTo(c + QPointF(-7, -9));
    play.lineTo(c + QPointF(10, 0));
    play.lineTo(c + QPointF(-7, 9));
    play.closeSubpath();
    p.fillPath(play, QColor(0xfa, 0xfa, 0xfa));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0xf4, 0xf8, 0xfc));
    p.drawText(QRectF(body.left() + 24, body.top() + 18, 240, 44), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Mavrell"));
    QFont sub = title;
    sub.setPixelSize(12);
    sub.setBold(false);
    p.setFont(sub);
    p.setPen(QColor(0x9f, 0xc2, 0xe2));
    p.drawText(QRectF(body.left() + 26, body.top() + 62, 240, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Video and audio converter"));
    return pm;
}

} // namespace splash

// ---------------------------------------------------------------- the one instance

namespace {
DefaultInstance<FrmSplash> theSplash;

QWidget *mainWindowWidget()
{
    MainWindowLink *link = mainWindowLink();
    return link ? link->mainWidget() : nullptr;
}

constexpr QRect marqueeBox{28, 92, 250, 78};
} // namespace

FrmSplash &frmSplash()
{
    return theSplash.get([] {
        auto *s = new FrmSplash;
        s->Form_Load();
        return s;
    });
}

bool frmSplashLoaded() { return theSplash.loaded(); }

void unloadFrmSplash()
{
    theSplash.unload([](FrmSplash &s) { s.Form_Unload(); });  // it may be unloading itself from its own timer
}

// ---------------------------------------------------------------- the window

FrmSplash::FrmSplash(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Mavrell"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    setFixedSize(445, 194);

    Marquee = new QLabel(this);
    Marquee->setObjectName(QStringLiteral("Marquee"));
    Marquee->setGeometry(marqueeBox);
    Marquee->setAutoFillBackground(false);
    lblMarquee = new QLabel(Marquee);
    lblMarquee->setObjectName(QStringLiteral("lblMarquee"));
    lblMarquee->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette pal = lblMarquee->palette();
    pal.setColor(QPalette::WindowText, QColor(0xdc, 0xe8, 0xf4));
    lblMarquee->setPalette(pal);

    timeMarquee.setInterval(splash::tickMs);
    connect(&timeMarquee, &QTimer::timeout, this, &FrmSplash::timeMarquee_Timer);
}

FrmSplash::~FrmSplash()
{
    theSplash.forget(this);
}

void FrmSplash::Form_Load()
{
    // The marquee's language.
    QString ini = settingsfile::settingsFolder() + QStringLiteral("Mavrell.ini");
    const bool exists = fileObject().FileExists(ini);
    const QString text = exists ? fileObject().GetFileText(ini) : QString();
    chinese_ = splash::chineseMarquee(exists, text, exists ? QString() : mdlLocaleLng::GetLocaleLng());
    QFont f(FrmMain::fontFamilyFor(chinese_ ? QStringLiteral("tw") : QStringLiteral("en")));
    f.setPixelSize(13);
    lblMarquee->setFont(f);
    lblMarquee->setText((chinese_ ? splash::chineseText() : splash::englishText()).replace(QLatin1String("\r\n"),
                                                                                         QLatin1String("\n")));
    lblMarquee->adjustSize();
    lblMarquee->resize(marqueeBox.width(), lblMarquee->height());
    marqueeTopTwips_ = 0;
    placeMarquee();

    picture_ = splash::background(size());
    if (QScreen *scr = screen())
        move(scr->availableGeometry().center() - rect().center());

    // The main window stays invisible until the fade brings it in.
    SetTranslucent(mainWindowWidget(), -1, 0, 0);
    // White around the shaped picture is see-through.
    SetTranslucent(this, 0xFFFFFF, -1, 0);
    timeMarquee.start();
    SetTopMost(this, true);
}

void FrmSplash::timeMarquee_Timer()
{
    // Without a window manager "stay on top" holds nothing, and the main window, shown
    // after the splash, would cover it: the splash goes back above it once it shows.
    if (!raisedOverMain_) {
        QWidget *main = mainWindowWidget();
        if (main && main->isVisible()) {
            raise();
            raisedOverMain_ = true;
        }
    }
    const int alpha = splash::fadeTick(fade_, mainFormShown);
    if (alpha >= 0)
        SetTranslucent(mainWindowWidget(), -1, alpha, 0);
    marqueeTopTwips_ -= 1;
    placeMarquee();
    if (splash::finished(fade_))
        unloadFrmSplash();
}

void FrmSplash::Form_Unload()
{
    timeMarquee.stop();
    SetTranslucent(mainWindowWidget(), -1, 255, 0);
}

void FrmSplash::placeMarquee()
{
    const int y = int(std::floor(double(marqueeTopTwips_) / double(twipsPerPixelY > 0 ? twipsPerPixelY : 15)));
    lblMarquee->move(0, y);
}

void FrmSplash::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

void FrmSplash::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    unloadFrmSplash();
}
