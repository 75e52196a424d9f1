#include "controls/orvextab.h"

#include "controls/clickablelabel.h"
#include "controls/propertybag.h"
#include "coregui/syscolors.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegion>

namespace {

constexpr std::uint32_t kWindowText = syscolors::sysRef(syscolors::WindowText);  // &H80000008
const QColor kOtherCaption(180, 180, 180);
const QColor kFrameAccent(147, 62, 31);
const char *const kFrameName = "orvexPageFrame";

QFont plainFace(const QFont &font)
{
    QFont f = font;
    f.setBold(false);
    f.setItalic(false);
    f.setStrikeOut(false);
    f.setUnderline(false);
    return f;
}

// The frame of a page: a black outer ring and an accent ring just inside it.
void paintPageFrame(QPainter &p, int w, int h)
{
    auto ring = [&](int inset, const QColor &c) {
        const int l = inset, t = inset, r = w - 1 - inset, b = h - 1 - inset;
        if (r < l || b < t)
            return;
        p.fillRect(l, t, r - l + 1, 1, c);
        p.fillRect(l, b, r - l + 1, 1, c);
        p.fillRect(l, t, 1, b - t + 1, c);
        p.fillRect(r, t, 1, b - t + 1, c);
    };
    ring(0, Qt::black);
    ring(1, kFrameAccent);
}

QRegion frameRing(int w, int h)
{
    const QRegion outer(0, 0, w, h);
    return w > 4 && h > 4 ? outer.subtracted(QRegion(2, 2, w - 4, h - 4)) : outer;
}

} // namespace

// The frame under the header (filled with the button face), and the same frame laid
// over each page as a ring-shaped overlay that lets the page's own content and mouse
// input through.
class OrvexPageFrame final : public QWidget {
public:
    OrvexPageFrame(QWidget *parent, bool overlay) : QWidget(parent), overlay_(overlay)
    {
        if (overlay_) {
            setObjectName(QLatin1String(kFrameName));
            setAttribute(Qt::WA_TransparentForMouseEvents);
            parent->installEventFilter(this);
            fitParent();
        }
    }

    void fitParent()
    {
        setGeometry(parentWidget()->rect());
        setMask(frameRing(width(), height()));
        raise();
        show();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        if (!overlay_)
            p.fillRect(rect(), syscolors::toQColor(syscolors::sysRef(syscolors::ButtonFace)));
        paintPageFrame(p, width(), height());
    }
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (watched == parentWidget() && e->type() == QEvent::Resize)
            fitParent();
        if (watched == parentWidget() && e->type() == QEvent::ChildAdded)
            raise();
        return false;
    }

private:
    bool overlay_;
};

// One header cell: its background, the closing line, and the click of the whole cell.
// Mouse moves over it go on to the window (a drag there moves the window).
class OrvexTabCell final : public ClickableLabel {
public:
    OrvexTabCell(OrvexTab *owner, int index) : ClickableLabel(owner)
    {
        setObjectName(QStringLiteral("picTabCap(%1)").arg(index));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMovesPassedOn(true);
        connect(this, &ClickableLabel::Click, owner, [owner, index] { owner->lblTabCap_Click(index); });
    }
    bool closingLine = false;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int w = width(), h = height();
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, QColor(0x5a, 0x6e, 0x8c));
        g.setColorAt(1, QColor(0x1e, 0x28, 0x3c));
        p.fillRect(rect(), g);
        // Left, top and right edges; the right one overlaps the next cell's left one.
        p.fillRect(0, 0, 1, h, Qt::black);
        p.fillRect(w - 1, 0, 1, h, Qt::black);
        p.fillRect(0, 0, w, 1, Qt::black);
        if (closingLine)
            p.fillRect(1, 1, qMin(6, w - 2), 1, kFrameAccent);
    }
};

// ---- The strip ----

OrvexTab::OrvexTab(QWidget *parent) : QWidget(parent)
{
    tabCapFont_ = ambientFont();
    picFraTab_ = new OrvexPageFrame(this, false);
    picFraTab_->setObjectName(QStringLiteral("picFraTab"));
    setTabCount(0, 3, false);
}

OrvexTab::~OrvexTab() = default;

QFont OrvexTab::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void OrvexTab::setTabPictureBox(const QString &name)
{
    tabPictureBox_ = name;
    emit propertyChanged(QStringLiteral("TabPictureBox"));
}

void OrvexTab::setTabs(int tabs)
{
    if (tabs < 1)
        return;
    setTabCount(tabs_, tabs, true);
    emit propertyChanged(QStringLiteral("Tabs"));
}

void OrvexTab::setTabsPerRow(int perRow)
{
    if (perRow < 1)
        return;
    tabsPerRow_ = perRow;
    selectTab(tabNow_);
    emit propertyChanged(QStringLiteral("TabsPerRow"));
}

void OrvexTab::setTabNow(int tab)
{
    if (tab < 0 || tab > tabs_ - 1)
        return;
    lblTabCap_Click(tab);
    emit propertyChanged(QStringLiteral("TabNow"));
}

QString OrvexTab::TabCaption() const
{
    return tabNow_ >= 0 && tabNow_ < cells_.size() ? cells_[tabNow_].lblTabCap->text() : QString();
}

void OrvexTab::setTabCaption(const QString &caption)
{
    if (tabNow_ < 0 || tabNow_ >= cells_.size())
        return;
    cells_[tabNow_].lblTabCap->setText(caption);
    rebuildAllCaption();
    selectTab(tabNow_);
    emit propertyChanged(QStringLiteral("TabCaption"));
}

void OrvexTab::setTabCapColor(std::uint32_t colour)
{
    tabCapColor_ = colour;
    if (tabNow_ >= 0 && tabNow_ < cells_.size()) {
        QLabel *l = cells_[tabNow_].lblTabCap;
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, syscolors::toQColor(colour));
        l->setPalette(pal);
    }
    emit propertyChanged(QStringLiteral("TabCapColor"));
}

void OrvexTab::setTabCapFont(const QFont &font)
{
    tabCapFont_ = font;
    refreshCaptions();
    emit propertyChanged(QStringLiteral("TabCapFont"));
}

QString OrvexTab::tabCaptionOf(const QString &allCaption, int i)
{
    const QStringList parts = allCaption.split(QChar(separator));
    if (i >= 0 && i < parts.size() && !parts[i].isEmpty())
        return parts[i];
    return QStringLiteral("Tab ") + QString::number(i);
}

void OrvexTab::rebuildAllCaption()
{
    QString all;
    for (int i = 0; i < tabs_; ++i)
        all += cells_[i].lblTabCap->text() + QChar(separator);
    allCaption_ = all;
}

void OrvexTab::refreshCaptions()
{
    const QFont plain = plainFace(tabCapFont_);
    for (int i = 0; i < cells_.size(); ++i) {
        QLabel *l = cells_[i].lblTabCap;
        l->setText(tabCaptionOf(allCaption_, i));
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, i == tabNow_ ? syscolors::toQColor(tabCapColor_) : kOtherCaption);
        l->setPalette(pal);
        l->setFont(i == tabNow_ ? tabCapFont_ : plain);
    }
}

void OrvexTab::setTabCount(int oldCount, int newCount, bool layOut)
{
    for (int i = int(cells_.size()); i < newCount; ++i) {
        Cell c;
        c.picTabCap = new OrvexTabCell(this, i);
        c.lblTabCap = new QLabel(c.picTabCap);
        c.lblTabCap->setObjectName(QStringLiteral("lblTabCap(%1)").arg(i));
        c.lblTabCap->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        c.lblTabCap->setAttribute(Qt::WA_TransparentForMouseEvents);
        c.picTabCap->show();
        c.lblTabCap->show();
        cells_.append(c);
    }
    while (cells_.size() > qMax(newCount, 1)) {
        delete cells_.last().picTabCap;  // takes its caption label with it
        cells_.removeLast();
    }
    Q_UNUSED(oldCount);
    tabs_ = qMax(newCount, 1);
    if (layOut)
        selectTab(tabNow_);
}

void OrvexTab::selectTab(int i)
{
    if (i > tabs_ - 1)
        i = tabs_ - 1;
    if (i < 0)
        i = 0;
    tabNow_ = i;

    const int w = width();
    const int c = w / tabsPerRow_;
    const int rows = (tabs_ + tabsPerRow_ - 1) / tabsPerRow_;
    for (int k = 0; k < tabs_; ++k) {
        cells_[tabs_ - 1 - k].picTabCap->raise();
        OrvexTabCell *cell = cells_[k].picTabCap;
        const int column = k % tabsPerRow_;
        const int row = rows - 1 - k / tabsPerRow_;
        const bool isTop = k + tabsPerRow_ >= tabs_;
        cell->setProperty("Tag", isTop ? QStringLiteral("isTop") : QString());
        const int left = column * c;
        const int cellWidth = column == tabsPerRow_ - 1 ? w - left : c + 1;
        cell->setGeometry(left, row * rowHeight, cellWidth, rowHeight);
        // The chosen cell closes its top edge where no cell lies above it below the top row.
        cell->closingLine = k == tabNow_ && isTop && row > 0;
        cell->update();
        cells_[k].lblTabCap->setGeometry(0, 5, cellWidth, rowHeight);
    }
    refreshCaptions();
    rebuildAllCaption();

    headerHeight_ = rows * rowHeight;
    picFraTab_->setGeometry(0, headerHeight_, w, height() - headerHeight_);
    picFraTab_->update();
    arrangePages();
}

void OrvexTab::arrangePages()
{
    if (headerHeight_ == 0)
        return;
    QWidget *host = window();
    if (host == this)
        return;
    QWidget *chosen = nullptr;
    for (int i = 0; i < tabs_; ++i) {
        QWidget *page = host->findChild<QWidget *>(QStringLiteral("%1(%2)").arg(tabPictureBox_).arg(i));
        if (!page || page == this || isAncestorOf(page) || page->isAncestorOf(this))
            continue;  // a missing page leaves its step out
        QWidget *pageParent = page->parentWidget();
        const QPoint at = pageParent ? pageParent->mapFromGlobal(mapToGlobal(QPoint(0, headerHeight_)))
                                     : mapToGlobal(QPoint(0, headerHeight_));
        page->setGeometry(at.x(), at.y(), width(), height() - headerHeight_);
        auto *frame = page->findChild<OrvexPageFrame *>(QLatin1String(kFrameName), Qt::FindDirectChildrenOnly);
        if (!frame)
            frame = new OrvexPageFrame(page, true);
        frame->fitParent();
        frame->update();
        if (i == tabNow_)
            chosen = page;
        else
            page->hide();  // nothing behind the chosen page takes the keyboard
    }
    if (chosen) {
        chosen->show();
        chosen->raise();
    }
}

void OrvexTab::lblTabCap_Click(int index)
{
    if (index != tabNow_) {
        const int previous = tabNow_;
        selectTab(index);
        emit Click(previous);
    } else {
        arrangePages();
    }
}

void OrvexTab::resizeEvent(QResizeEvent *)
{
    selectTab(tabNow_);
}

// ---- Persistence ----

void OrvexTab::readProperties(const PropertyBag &bag)
{
    tabPictureBox_ = bag.readString(QStringLiteral("TabPictureBox"), QStringLiteral("picOrvexTab"));
    // Counts below 1 are ignored, as a write would ignore them (a row count of 0 would
    // leave nothing to divide the width by).
    const int tabs = int(bag.readInt(QStringLiteral("Tabs"), 3));
    const int perRow = int(bag.readInt(QStringLiteral("TabsPerRow"), 3));
    if (perRow >= 1)
        tabsPerRow_ = perRow;
    tabNow_ = int(bag.readInt(QStringLiteral("TabNow"), 0));
    allCaption_ = bag.readString(QStringLiteral("All_Caption"), QString());
    tabCapColor_ = bag.readColor(QStringLiteral("TabCapColor"), kWindowText);
    tabCapFont_ = bag.readFont(QStringLiteral("TabCapFont"), ambientFont());
    setTabCount(tabs_, tabs >= 1 ? tabs : tabs_, true);
    refreshCaptions();
}

void OrvexTab::writeProperties(PropertyBag &bag) const
{
    bag.write(QStringLiteral("TabPictureBox"), tabPictureBox_, QStringLiteral("picOrvexTab"));
    bag.write(QStringLiteral("Tabs"), tabs_, 3);
    bag.write(QStringLiteral("TabsPerRow"), tabsPerRow_, 3);
    bag.write(QStringLiteral("TabNow"), tabNow_, 0);
    bag.write(QStringLiteral("All_Caption"), allCaption_, QString());
    bag.write(QStringLiteral("TabCapColor"), tabCapColor_, kWindowText);
    bag.write(QStringLiteral("TabCapFont"), tabCapFont_, ambientFont());
}
