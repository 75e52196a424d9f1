#include "mainwin/frmdonation.h"

#include "core/fileobject.h"
#include "core/mainwindowlink.h"
#include "core/mdlmavrell.h"
#include "coregui/defaultinstance.h"
#include "coregui/desktop.h"
#include "mainwin/frmmain.h"

#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace mdlMavrell;

namespace {
DefaultInstance<FrmMoney> theMoney;
}

FrmMoney &frmMoney(QWidget *owner)
{
    return theMoney.get([owner] {
        auto *d = new FrmMoney(owner);
        d->Form_Load();
        return d;
    });
}

bool frmMoneyLoaded() { return theMoney.loaded(); }

void unloadFrmMoney()
{
    theMoney.unload([](FrmMoney &d) { d.done(QDialog::Accepted); });
}

FrmMoney::FrmMoney(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMoney"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(420, 276);
    setWindowTitle(QStringLiteral("Mavrell"));

    QFont base(FrmMain::fontFamilyFor(mainWindowLink() ? mainWindowLink()->languageCode() : QString()));
    base.setPixelSize(12);
    setFont(base);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(20, 20, 48, 48);
    lblDonation = new QLabel(this);
    lblDonation->setObjectName(QStringLiteral("lblDonation"));
    lblDonation->setGeometry(84, 18, 320, 52);
    lblDonation->setWordWrap(true);
    lblDonation->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    txtMoney = new QPlainTextEdit(this);
    txtMoney->setObjectName(QStringLiteral("txtMoney"));
    txtMoney->setGeometry(20, 80, 384, 84);
    txtMoney->setReadOnly(true);

    lblMailTxt = new QLabel(this);
    lblMailTxt->setObjectName(QStringLiteral("lblMailTxt"));
    lblMailTxt->setGeometry(20, 174, 80, 18);
    lblMail = smallwin::linkLabel(this, "lblMail", QString::fromLatin1(smallwin::authorMail), QRect(110, 174, 290, 18));

    lblPayPal = new QLabel(this);
    lblPayPal->setObjectName(QStringLiteral("lblPayPal"));
    lblPayPal->setGeometry(20, 200, 110, 22);
    lblPayPal->setText(QStringLiteral("Online payment:"));
    txtPayPal = new QLineEdit(this);
    txtPayPal->setObjectName(QStringLiteral("txtPayPal"));
    txtPayPal->setGeometry(134, 200, 270, 22);
    txtPayPal->setReadOnly(true);
    txtPayPal->setText(QString::fromLatin1(smallwin::paymentAddress));

    cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(308, 238, 96, 28);
    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &FrmMoney::cmdOK_Click);
    connect(lblMail, &ClickableLabel::Click, this, &FrmMoney::lblMail_Click);
    connect(this, &QDialog::finished, this, [this] {
        if (theMoney.is(this))
            unloadFrmMoney();
    });
}

FrmMoney::~FrmMoney()
{
    theMoney.forget(this);
}

void FrmMoney::Form_Load()
{
    txtMoney->setPlainText(lng[txt::HowToDonate]);
    lblDonation->setText(lng[txt::DonationText]);
    lblMailTxt->setText(lng[txt::EmailWord]);
    cmdOK->setText(lng[txt::CloseWord]);
    lblMailTxt->adjustSize();
    lblMail->move(lblMailTxt->x() + lblMailTxt->width() + 5, lblMail->y());
    lblMail->adjustSize();
    const QIcon icon = smallwin::mainWindowIcon();
    setWindowIcon(icon);
    picIcon->setPixmap(icon.pixmap(48, 48));
}

void FrmMoney::cmdOK_Click() { unloadFrmMoney(); }

void FrmMoney::lblMail_Click() { OpenURL(QStringLiteral("mailto:") + lblMail->text()); }

void FrmMoney::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0xf3, 0xf7, 0xfb));
    g.setColorAt(1, QColor(0xdc, 0xe6, 0xf0));
    p.fillRect(rect(), g);
}
