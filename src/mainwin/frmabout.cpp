#include "mainwin/frmabout.h"

#include "core/fileobject.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "coregui/defaultinstance.h"
#include "coregui/desktop.h"
#include "mainwin/frmmain.h"
#include "mainwin/frmmain_text.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

using namespace mdlMavrell;

namespace smallwin {

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        QLinearGradient g(0, 0, 64, 64);
        g.setColorAt(0, QColor(0x2c, 0x6c, 0xa6));
        g.setColorAt(1, QColor(0x0d, 0x2a, 0x47));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
        // Two arrows turning into each other: one file made into another.
        p.setPen(QPen(QColor(0xf2, 0xf6, 0xfa), 6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(14, 14, 36, 36), 30 * 16, 150 * 16);
        p.drawArc(QRectF(14, 14, 36, 36), 210 * 16, 150 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf2, 0xf6, 0xfa));
        QPainterPath a;
        a.moveTo(50, 20);
        a.lineTo(54, 36);
        a.lineTo(40, 30);
        a.closeSubpath();
        QPainterPath b;
        b.moveTo(14, 44);
        b.lineTo(10, 28);
        b.lineTo(24, 34);
        b.closeSubpath();
        p.drawPath(a);
        p.drawPath(b);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

QIcon mainWindowIcon()
{
    if (MainWindowLink *link = mainWindowLink())
        if (QWidget *w = link->mainWidget(); w && !w->windowIcon().isNull())
            return w->windowIcon();
    return programIcon();
}

ClickableLabel *linkLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = new ClickableLabel(parent);
    l->setLinkLook();
    l->setObjectName(QString::fromLatin1(name));
    l->setText(text);
    l->setGeometry(geometry);
    return l;
}

} // namespace smallwin

// ---------------------------------------------------------------- the one instance

namespace {
DefaultInstance<FrmAbout> theAbout;
}

FrmAbout &frmAbout(QWidget *owner)
{
    return theAbout.get([owner] {
        auto *d = new FrmAbout(owner);
        d->Form_Load();
        return d;
    });
}

bool frmAboutLoaded() { return theAbout.loaded(); }

void unloadFrmAbout()
{
    theAbout.unload([](FrmAbout &d) { d.done(QDialog::Accepted); });
}

// ---------------------------------------------------------------- the window

FrmAbout::FrmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(420, 250);

    QFont base(FrmMain::fontFamilyFor(mainWindowLink() ? mainWindowLink()->languageCode() : QString()));
    base.setPixelSize(12);
    setFont(base);

    auto label = [this](const char *name, const QRect &geo) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(geo);
        return l;
    };
    picIcon = label("picIcon", QRect(20, 20, 48, 48));
    lblTitle = label("lblTitle", QRect(84, 18, 300, 28));
    QFont title = base;
    title.setPixelSize(22);
    title.setBold(true);
    lblTitle->setFont(title);
    lblVersion = label("lblVersion", QRect(84, 48, 320, 18));
    lblTitleNote[0] = label("lblTitleNote0", QRect(20, 84, 384, 34));
    lblTitleNote[1] = label("lblTitleNote1", QRect(20, 120, 384, 18));
    lblTitleNote[0]->setWordWrap(true);
    lblCopyright = label("lblCopyright", QRect(20, 144, 384, 18));
    lblWebTxt = label("lblWebTxt", QRect(20, 168, 80, 18));
    lblMailTxt = label("lblMailTxt", QRect(20, 190, 80, 18));

    lblHomepage = smallwin::linkLabel(this, "lblHomepage", QString::fromLatin1(smallwin::homePage),
                                      QRect(110, 168, 290, 18));
    lblMail = smallwin::linkLabel(this, "lblMail", QString::fromLatin1(smallwin::authorMail), QRect(110, 190, 290, 18));

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(310, 212, 96, 28);
    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);
    connect(lblHomepage, &ClickableLabel::Click, this, &FrmAbout::lblHomepage_Click);
    connect(lblMail, &ClickableLabel::Click, this, &FrmAbout::lblMail_Click);
    // The window's close unloads it like OK.
    connect(this, &QDialog::finished, this, [this] {
        if (theAbout.is(this))
            unloadFrmAbout();
    });
}

FrmAbout::~FrmAbout()
{
    theAbout.forget(this);
}

void FrmAbout::Form_Load()
{
    lblVersion->setText(QString(lng[txt::VersionLine]).replace(QLatin1String("aaa"), QString::fromLatin1(mainwin::versionText)));
    lblTitle->setText(QStringLiteral("Mavrell"));
    lblTitleNote[0]->setText(lng[txt::AboutPlaysAndEdits]);
    lblTitleNote[1]->setText(lng[txt::AboutConverts]);
    lblCopyright->setText(lng[txt::AboutCopyright]);
    lblWebTxt->setText(lng[txt::HomePage]);
    lblMailTxt->setText(lng[txt::MailWord]);
    cmdOK->setText(lng[txt::CloseWord]);
    setWindowTitle(lng[txt::AboutThisSoftware].isEmpty() ? QStringLiteral("Mavrell") : lng[txt::AboutThisSoftware]);

    // The links follow their captions in every language.
    lblWebTxt->adjustSize();
    lblMailTxt->adjustSize();
    lblHomepage->move(lblWebTxt->x() + lblWebTxt->width() + 5, lblHomepage->y());
    lblMail->move(lblMailTxt->x() + lblMailTxt->width() + 5, lblMail->y());
    lblHomepage->adjustSize();
    lblMail->adjustSize();

    const QIcon icon = smallwin::mainWindowIcon();
    setWindowIcon(icon);
    picIcon->setPixmap(icon.pixmap(48, 48));
}

void FrmAbout::cmdOK_Click() { unloadFrmAbout(); }

void FrmAbout::lblHomepage_Click() { OpenURL(lblHomepage->text() + QStringLiteral("index.html")); }

void FrmAbout::lblMail_Click() { OpenURL(QStringLiteral("mailto:") + lblMail->text()); }

void FrmAbout::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0xf3, 0xf7, 0xfb));
    g.setColorAt(1, QColor(0xdc, 0xe6, 0xf0));
    p.fillRect(rect(), g);
    p.setPen(QColor(0xc3, 0xcf, 0xdb));
    p.drawLine(20, 76, width() - 21, 76);
}
