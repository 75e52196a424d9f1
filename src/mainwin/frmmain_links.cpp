// The web pages and the mail of the help popup and the hover link: the maker's site,
// the author's blog, the sibling products' pages and the cooperation mail.
#include "mainwin/frmmain.h"

#include "core/fileobject.h"
#include "core/mdlmavrell.h"
#include "core/userprompts.h"
#include "coregui/desktop.h"
#include "coregui/drawing.h"
#include "mainwin/frmabout.h"
#include "mainwin/frmmain_text.h"

#include <QAction>

using namespace mdlMavrell;

namespace mainwin {

namespace {
constexpr const char *blogBase = "https://blog.orvex.example/";
}

QString sitePage(const QString &path) { return QString::fromLatin1(smallwin::homePage) + path; }

QString blogPage() { return QString::fromLatin1(blogBase); }

QString versionNotePage()
{
    return blogPage() + QStringLiteral("mavrell-") + QString::fromLatin1(versionText) + QStringLiteral(".html");
}

QString familyPage(int index)
{
    const QStringList products = familyProducts();
    if (index < 0 || index >= products.size())
        return QString();
    // The page name is the product's name without its blanks.
    QString name = products.at(index);
    name.remove(QLatin1Char(' '));
    return sitePage(QStringLiteral("software/detail/") + name + QStringLiteral(".htm"));
}

QString coopMailAddress() { return QStringLiteral("mailto:") + QString::fromLatin1(smallwin::authorMail); }

} // namespace mainwin

void FrmMain::connectLinksAndHover()
{
    connect(lblMsgSay, &ClickableLabel::Click, this, &FrmMain::lblMsgSay_Click);
    connect(mnuNotice, &QAction::triggered, this, &FrmMain::mnuNotice_Click);
    connect(mnuBlog, &QAction::triggered, this, &FrmMain::mnuBlog_Click);
    connect(mnuVerNote, &QAction::triggered, this, &FrmMain::mnuVerNote_Click);
    connect(mnuLearn, &QAction::triggered, this, &FrmMain::mnuLearn_Click);
    connect(mnuUpdate, &QAction::triggered, this, &FrmMain::mnuUpdate_Click);
    for (int i = 0; i < int(mnuDlFamilyNew.size()); ++i)
        connect(mnuDlFamilyNew[size_t(i)], &QAction::triggered, this, [this, i] { mnuDlFamilyNew_Click(i); });
    for (int i = 0; i < int(mnuDlFamily.size()); ++i)
        connect(mnuDlFamily[size_t(i)], &QAction::triggered, this, [this, i] { mnuDlFamily_Click(i); });
    connect(mnuCoopAds, &QAction::triggered, this, &FrmMain::mnuCoopAds_Click);

    // The walking figure and the progress bar hide the hover link too: without tracking
    // a move with no button held would end at them and never reach the window.
    for (ClickableLabel *f : imgFun)
        f->setMouseTracking(true);
    picProgress->setMouseTracking(true);
}

void FrmMain::lblMsgSay_Click() { mnuBlog_Click(); }

void FrmMain::mnuLearn_Click() { OpenURL(mainwin::sitePage(QStringLiteral("software/detail/Mavrell/"))); }

void FrmMain::mnuNotice_Click() { OpenURL(mainwin::sitePage(QStringLiteral("software/notice.htm"))); }

void FrmMain::mnuVerNote_Click() { OpenURL(mainwin::versionNotePage()); }

void FrmMain::mnuBlog_Click() { OpenURL(mainwin::blogPage()); }

void FrmMain::mnuUpdate_Click() { OpenURL(mainwin::sitePage(QStringLiteral("software/detail/Mavrell.htm"))); }

void FrmMain::mnuDlFamilyNew_Click(int index)
{
    if (index < 0 || index >= int(mnuDlFamilyNew.size()))
        return;
    OpenURL(mainwin::familyPage(index));
}

void FrmMain::mnuDlFamily_Click(int index)
{
    if (index < 0 || index >= int(mnuDlFamily.size()))
        return;
    OpenURL(mainwin::familyPage(int(mnuDlFamilyNew.size()) + index));
}

void FrmMain::mnuCoopAds_Click()
{
    stopPlayerBeforeClosing();
    const prompts::Answer a =
        prompts::MsgBox(lng[txt::CooperationMailQuestion], prompts::Buttons::OkCancel, prompts::Icon::None, QStringLiteral("Mavrell"), this);
    if (a == prompts::Answer::Ok)
        OpenURL(mainwin::coopMailAddress());
}
