#include "controls/orvextab.h"

#include "controls/orvexbutton.h"
#include "controls/propertybag.h"
#include "coregui/syscolors.h"

#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString sep = QString(QChar(OrvexTab::separator));

QWidget *cell(const OrvexTab &t, int i) { return t.findChild<QWidget *>(QStringLiteral("picTabCap(%1)").arg(i)); }
QLabel *label(const OrvexTab &t, int i) { return t.findChild<QLabel *>(QStringLiteral("lblTabCap(%1)").arg(i)); }
QStringList captions(const OrvexTab &t)
{
    QStringList out;
    for (int i = 0; i < t.Tabs(); ++i)
        out << label(t, i)->text();
    return out;
}

// The options dialog's arrangement: a strip of 401 x 164 at (33, 390) over six pages.
struct Host {
    QWidget form;
    OrvexTab *tab = new OrvexTab(&form);
    QList<QWidget *> pages;
    QSignalSpy clicks{tab, &OrvexTab::Click};

    explicit Host(int pageCount = 6)
    {
        form.resize(460, 615);
        for (int i = 0; i < pageCount; ++i) {
            auto *p = new QWidget(&form);
            p->setObjectName(QStringLiteral("picOrvexTab(%1)").arg(i));
            p->setAutoFillBackground(true);
            QPalette pal = p->palette();
            pal.setColor(QPalette::Window, QColor(200, 200, 200));
            p->setPalette(pal);
            p->setGeometry(0, 0, 10, 10);
            pages << p;
        }
        tab->setGeometry(33, 390, 401, 164);
        PropertyBag design;
        design.write("Tabs", 6);
        design.write("TabsPerRow", 6);
        design.write("TabNow", 1);
        design.write("All_Caption", "Main" + sep + "Video" + sep + "Audio" + sep + "Picture" + sep + "Subtitles"
                                        + sep + "Special" + sep);
        design.write("TabCapColor", 0xFFFFFF);
        tab->readProperties(design);
    }
    // The page that lies in front of the others.
    QWidget *frontPage() const
    {
        QWidget *front = nullptr;
        for (QObject *o : form.children())
            if (pages.contains(o))
                front = static_cast<QWidget *>(o);
        return front;
    }
};

} // namespace

TEST(OrvexTab, CellGeometryOfOneAndOfSeveralRows)
{
    struct Case {
        const char *what;
        int width, tabs, perRow, header;
        std::vector<QRect> cells;
        std::vector<bool> isTop;
    } cases[] = {
        {"six tabs, six per row: the last cell is flush with the right edge",
         401, 6, 6, 22,
         {{0, 0, 67, 22}, {66, 0, 67, 22}, {132, 0, 67, 22}, {198, 0, 67, 22}, {264, 0, 67, 22}, {330, 0, 71, 22}},
         {true, true, true, true, true, true}},
        {"five tabs, three per row: the first tabs lie in the bottom row",
         300, 5, 3, 44,
         {{0, 22, 101, 22}, {100, 22, 101, 22}, {200, 22, 100, 22}, {0, 0, 101, 22}, {100, 0, 101, 22}},
         {false, false, true, true, true}},
        {"seven tabs, two per row",
         101, 7, 2, 88,
         {{0, 66, 51, 22}, {50, 66, 51, 22}, {0, 44, 51, 22}, {50, 44, 51, 22}, {0, 22, 51, 22}, {50, 22, 51, 22},
          {0, 0, 51, 22}},
         {false, false, false, false, false, true, true}},
    };
    for (const auto &c : cases) {
        OrvexTab t;
        t.resize(c.width, 150);
        t.setTabs(c.tabs);
        t.setTabsPerRow(c.perRow);
        for (int chosen : {0, c.tabs - 1}) {  // rows never change places
            t.setTabNow(chosen);
            EXPECT_EQ(t.headerHeight(), c.header) << c.what;
            for (int i = 0; i < c.tabs; ++i) {
                EXPECT_EQ(cell(t, i)->geometry(), c.cells[i]) << c.what << ", tab " << i;
                EXPECT_EQ(cell(t, i)->property("Tag").toString() == "isTop", c.isTop[i]) << c.what << ", tab " << i;
                EXPECT_EQ(label(t, i)->geometry(), QRect(0, 5, c.cells[i].width(), 22)) << c.what;
            }
            const QWidget *frame = t.findChild<QWidget *>("picFraTab");
            EXPECT_EQ(frame->geometry(), QRect(0, c.header, c.width, 150 - c.header)) << c.what;
        }
        // Lower tabs lie above higher ones where they overlap.
        EXPECT_EQ(t.childAt(c.cells[0].right(), c.cells[0].top() + 10), cell(t, 0)) << c.what;
    }
}

TEST(OrvexTab, CaptionsComeFromAllCaptionWithNumberedFallbacks)
{
    struct Case {
        QString all;
        QStringList shown;
    } cases[] = {
        {"", {"Tab 0", "Tab 1", "Tab 2"}},
        {"A" + sep + sep + "C" + sep, {"A", "Tab 1", "C"}},
        {"A" + sep, {"A", "Tab 1", "Tab 2"}},
        {"x=y" + sep + " " + sep + "≡≡", {"x=y", " ", "Tab 2"}},
    };
    for (const auto &c : cases) {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(OrvexTab::tabCaptionOf(c.all, i), c.shown[i]) << c.all.toStdString();
        OrvexTab t;
        PropertyBag bag;
        bag.write("All_Caption", c.all);
        t.resize(300, 100);
        t.readProperties(bag);
        EXPECT_EQ(captions(t), c.shown) << c.all.toStdString();
        EXPECT_TRUE(t.All_Caption().endsWith(sep));
    }

    // Writing the chosen tab's caption rebuilds All_Caption; an empty one falls back again.
    OrvexTab t;
    t.resize(300, 100);
    t.setTabNow(1);
    t.setTabCaption("Video");
    EXPECT_EQ(t.TabCaption(), QString("Video"));
    EXPECT_EQ(captions(t), QStringList({"Tab 0", "Video", "Tab 2"}));
    t.setTabCaption("");
    EXPECT_EQ(captions(t)[1], QString("Tab 1"));
}

TEST(OrvexTab, TheChosenCaptionHasTheCaptionColourAndFont)
{
    QFont font("Noto Sans", 11);
    font.setBold(true);
    font.setItalic(true);
    OrvexTab t;
    t.resize(300, 100);
    t.setTabCapFont(font);
    t.setTabCapColor(0x0000FF);  // red as 0x00BBGGRR
    t.setTabNow(2);
    for (int i = 0; i < 3; ++i) {
        const QLabel *l = label(t, i);
        EXPECT_EQ(l->palette().color(QPalette::WindowText), i == 2 ? QColor(255, 0, 0) : QColor(180, 180, 180)) << i;
        EXPECT_EQ(l->font().bold(), i == 2) << i;
        EXPECT_EQ(l->font().italic(), i == 2) << i;
        EXPECT_EQ(l->font().family(), font.family()) << i;
        EXPECT_EQ(l->font().pointSize(), 11) << i;
    }
    // A system-colour reference is shown as its table colour.
    t.setTabCapColor(0x80000008);
    EXPECT_EQ(label(t, 2)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

TEST(OrvexTab, PagesLieUnderTheHeaderWithTheChosenOneInFront)
{
    Host h;
    EXPECT_EQ(h.tab->TabNow(), 1);
    EXPECT_EQ(h.clicks.count(), 0);  // reading the design values clicks nothing
    for (QWidget *p : h.pages)
        EXPECT_EQ(p->geometry(), QRect(33, 412, 401, 142));
    EXPECT_EQ(h.frontPage(), h.pages[1]);

    h.tab->setTabNow(4);
    ASSERT_EQ(h.clicks.count(), 1);
    EXPECT_EQ(h.clicks.at(0).at(0).toInt(), 1);
    EXPECT_EQ(h.frontPage(), h.pages[4]);

    // Out of range: nothing at all.
    h.tab->setTabNow(7);
    h.tab->setTabNow(-1);
    EXPECT_EQ(h.tab->TabNow(), 4);
    EXPECT_EQ(h.clicks.count(), 1);

    // The current value again: no Click, but the pages are arranged anew.
    h.pages[4]->move(0, 0);
    h.pages[2]->raise();
    h.tab->setTabNow(4);
    EXPECT_EQ(h.clicks.count(), 1);
    EXPECT_EQ(h.pages[4]->geometry(), QRect(33, 412, 401, 142));
    EXPECT_EQ(h.frontPage(), h.pages[4]);

    // A click on a cell (anywhere in it, caption or not) chooses its tab.
    QTest::mouseClick(cell(*h.tab, 0), Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(h.clicks.count(), 2);
    EXPECT_EQ(h.clicks.at(1).at(0).toInt(), 4);
    EXPECT_EQ(h.tab->TabNow(), 0);
    QTest::mouseClick(label(*h.tab, 3), Qt::RightButton);
    EXPECT_EQ(h.tab->TabNow(), 0);
    QTest::mouseClick(cell(*h.tab, 0), Qt::LeftButton);  // the chosen tab again
    EXPECT_EQ(h.clicks.count(), 2);

    // Resizing the strip lays it out again and takes the pages along.
    h.form.show();
    h.tab->resize(300, 200);
    EXPECT_EQ(h.pages[0]->geometry(), QRect(33, 412, 300, 178));
    EXPECT_EQ(cell(*h.tab, 5)->geometry(), QRect(250, 0, 50, 22));
}

TEST(OrvexTab, MissingPagesAndBadCountsDoNotStopTheLayout)
{
    Host h(3);  // pages 3 to 5 do not exist
    h.tab->setTabNow(5);
    EXPECT_EQ(h.clicks.count(), 1);
    EXPECT_EQ(h.pages[2]->geometry(), QRect(33, 412, 401, 142));

    h.tab->setTabs(0);
    h.tab->setTabsPerRow(0);
    h.tab->setTabsPerRow(-2);
    EXPECT_EQ(h.tab->Tabs(), 6);
    EXPECT_EQ(h.tab->TabsPerRow(), 6);

    h.tab->setTabPictureBox("noSuchPages");
    h.tab->setTabNow(0);
    EXPECT_EQ(h.tab->TabNow(), 0);

    // Bad counts in a stored bag are ignored in the same way, and a chosen tab out of
    // range is brought into range rather than used.
    PropertyBag zeros, negative;
    zeros.write("Tabs", 0);
    zeros.write("TabsPerRow", 0);
    zeros.write("TabNow", -3);
    negative.write("Tabs", -1);
    negative.write("TabNow", 99);
    for (const auto &[text, bag] : {std::pair{"Tabs 0, per row 0, chosen -3", zeros}, std::pair{"Tabs -1, chosen 99", negative}}) {
        OrvexTab t;
        t.resize(200, 100);
        t.readProperties(bag);
        EXPECT_EQ(t.Tabs(), 3) << text;
        EXPECT_EQ(t.TabsPerRow(), 3) << text;
        EXPECT_GE(t.TabNow(), 0) << text;
        EXPECT_LE(t.TabNow(), 2) << text;
        EXPECT_EQ(t.headerHeight(), 22) << text;
    }
}

TEST(OrvexTab, FewerTabsRemoveTheirCellsAndMoreBringEmptyOnes)
{
    Host h;
    h.tab->setTabNow(5);
    h.tab->setTabs(2);
    EXPECT_EQ(h.tab->TabNow(), 1);
    for (int i = 2; i < 6; ++i)
        EXPECT_EQ(cell(*h.tab, i), nullptr) << i;
    EXPECT_EQ(h.tab->All_Caption(), "Main" + sep + "Video" + sep);
    h.tab->setTabs(6);
    EXPECT_EQ(captions(*h.tab), QStringList({"Main", "Video", "Tab 2", "Tab 3", "Tab 4", "Tab 5"}));
    EXPECT_NE(cell(*h.tab, 5), nullptr);
    EXPECT_EQ(cell(*h.tab, 5)->geometry(), QRect(330, 0, 71, 22));
}

TEST(OrvexTab, PageFramePixels)
{
    Host h;
    QWidget *page = h.pages[1];
    const QImage img = page->grab().toImage();
    const int w = img.width(), hgt = img.height();
    ASSERT_EQ(QSize(w, hgt), QSize(401, 142));
    const QRgb black = qRgb(0, 0, 0), accent = qRgb(147, 62, 31), inside = qRgb(200, 200, 200);
    for (QPoint p : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, hgt - 1), QPoint(w - 1, hgt - 1), QPoint(200, 0)})
        EXPECT_EQ(img.pixel(p), black) << p.x() << "," << p.y();
    for (QPoint p : {QPoint(1, 1), QPoint(w - 2, 1), QPoint(1, hgt - 2), QPoint(w - 2, hgt - 2), QPoint(1, 70)})
        EXPECT_EQ(img.pixel(p), accent) << p.x() << "," << p.y();
    EXPECT_EQ(img.pixel(2, 2), inside);
    EXPECT_EQ(img.pixel(w - 3, hgt - 3), inside);

    // The frame lets the page's own controls take the mouse, and stays only one per page.
    auto *child = new QWidget(page);
    child->setGeometry(0, 0, 50, 50);
    h.tab->setTabNow(1);
    h.tab->setTabNow(2);
    EXPECT_EQ(page->childAt(20, 20), child);
    EXPECT_EQ(page->findChildren<QWidget *>("orvexPageFrame", Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(page->grab().toImage().pixel(0, 0), black);  // still over the new child's corner

    // The area under the header of a strip that has no pages: button face, same frame.
    OrvexTab t;
    t.resize(120, 80);
    const QImage strip = t.grab().toImage();
    EXPECT_EQ(strip.pixel(0, 22), black);
    EXPECT_EQ(strip.pixel(119, 79), black);
    EXPECT_EQ(strip.pixel(1, 23), accent);
    EXPECT_EQ(strip.pixel(60, 50), syscolors::toQColor(0x8000000F).rgb());
}

TEST(OrvexTab, PropertiesRoundTripInTheirOrder)
{
    {
        // A strip read from a bag lacking every key writes nothing back.
        QWidget form;
        OrvexTab t(&form);
        t.resize(300, 100);
        t.readProperties(PropertyBag());
        PropertyBag bag;
        t.writeProperties(bag);
        EXPECT_EQ(bag.keys(), QStringList({"All_Caption"})) << bag.keys().join(' ').toStdString();  // "Tab 0≡..." once laid out
        EXPECT_EQ(t.TabCapColor(), 0x80000008u);
    }

    Host h;
    QFont arial("Arial", 9);
    h.tab->setTabCapFont(arial);
    h.tab->setTabPictureBox("picOrvexTab");
    PropertyBag bag;
    h.tab->writeProperties(bag);
    EXPECT_EQ(bag.keys(), QStringList({"Tabs", "TabsPerRow", "TabNow", "All_Caption", "TabCapColor", "TabCapFont"}));

    const PropertyBag parsed = bag;
    Host other;
    other.tab->setTabNow(3);
    other.tab->readProperties(parsed);
    EXPECT_EQ(other.tab->TabNow(), 1);
    EXPECT_EQ(other.tab->TabCapFont(), arial);
    EXPECT_EQ(captions(*other.tab)[5], QString("Special"));
    EXPECT_EQ(other.frontPage(), other.pages[1]);
    PropertyBag again;
    other.tab->writeProperties(again);
    EXPECT_TRUE(again == bag);
}

// Writes pictures of the looks for a person to look at, when MAVRELL_GALLERY_DIR names a folder.
TEST(OrvexTab, Gallery)
{
    const QString dir = qEnvironmentVariable("MAVRELL_GALLERY_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set MAVRELL_GALLERY_DIR to write the gallery";
    QDir().mkpath(dir);
    Host h;
    h.tab->setTabNow(2);
    h.form.grab().save(dir + "/orvextab_six.png");
    Host five;
    five.tab->setGeometry(33, 390, 300, 164);
    five.tab->setTabs(5);
    five.pages[5]->hide();  // no longer belongs to a tab
    five.tab->setTabsPerRow(3);
    five.tab->setTabNow(2);
    five.form.grab(QRect(20, 380, 330, 200)).save(dir + "/orvextab_five.png");

    QImage pic(12, 12, QImage::Format_RGB32);
    pic.fill(QColor(255, 0, 255));
    for (int i = 2; i < 10; ++i)
        for (int j = 2; j < 2 + (i - 1); ++j)
            pic.setPixelColor(j, i, Qt::darkBlue);
    QImage row(4 * 40, 30, QImage::Format_RGB32);
    row.fill(Qt::white);
    for (int state = 0; state < 4; ++state) {
        OrvexButton b;
        b.resize(23, 22);
        b.setMaskColor(0xFF00FF);
        b.setPicture(pic);
        b.setState(state);
        QPainter(&row).drawImage(state * 40 + 4, 4, b.grab().toImage());
    }
    row.scaled(row.size() * 4).save(dir + "/orvexbutton_looks.png");
}
