// The about box: version, what the program does, the maker's home page and mail links.
// Shown modal from the help popup; OK or the window's close unloads it.
#pragma once

#include "controls/clickablelabel.h"

#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <array>

class QPushButton;

namespace smallwin {

// The maker's home page (ends in "/") and the author's mail address, shown as links.
inline constexpr const char *homePage = "https://www.orvex.example/";
inline constexpr const char *authorMail = "quennet@orvex.example";

// The program's icon, drawn in code: the main window carries it and the small windows
// take it from there.
QIcon programIcon();
// The icon a small window shows: the main window's when it has one, else programIcon().
QIcon mainWindowIcon();
// A label of the small windows that looks like a link and reports a click.
ClickableLabel *linkLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry);

} // namespace smallwin

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget *parent = nullptr);
    ~FrmAbout() override;

    QLabel *lblVersion = nullptr;
    QLabel *lblTitle = nullptr;
    std::array<QLabel *, 2> lblTitleNote{};
    QLabel *lblCopyright = nullptr;
    QLabel *lblWebTxt = nullptr;
    ClickableLabel *lblHomepage = nullptr;
    QLabel *lblMailTxt = nullptr;
    ClickableLabel *lblMail = nullptr;
    QPushButton *cmdOK = nullptr;
    QLabel *picIcon = nullptr;

    void Form_Load();
    void cmdOK_Click();
    void lblHomepage_Click();
    void lblMail_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The one about box, created (and loaded) on first use; unloading destroys it.
FrmAbout &frmAbout(QWidget *owner = nullptr);
bool frmAboutLoaded();
void unloadFrmAbout();
