// The donation box: how to support the author, with a mail link and a second payment
// address. Shown modal from the help popup or the options dialog.
#pragma once

#include "mainwin/frmabout.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace smallwin {
// The second payment address of the donation box.
inline constexpr const char *paymentAddress = "donate@orvex.example";
}

class FrmMoney : public QDialog {
    Q_OBJECT
public:
    explicit FrmMoney(QWidget *parent = nullptr);
    ~FrmMoney() override;

    QPlainTextEdit *txtMoney = nullptr;  // the payment details (read only)
    QLabel *lblDonation = nullptr;
    QLabel *lblMailTxt = nullptr;
    ClickableLabel *lblMail = nullptr;
    QPushButton *cmdOK = nullptr;
    QLabel *picIcon = nullptr;
    QLabel *lblPayPal = nullptr;
    QLineEdit *txtPayPal = nullptr;

    void Form_Load();
    void cmdOK_Click();
    void lblMail_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
};

FrmMoney &frmMoney(QWidget *owner = nullptr);
bool frmMoneyLoaded();
void unloadFrmMoney();
