// The tab strip: a header of tabs in one or several rows, over pages that belong to
// the host window.
//
// The pages are not children of the strip: they are widgets of the host window
// named "<TabPictureBox>(<i>)", e.g. "picOrvexTab(0)" to "picOrvexTab(5)"; page i
// belongs to tab i. Choosing a tab moves every page under the header, frames it and
// brings the chosen page to the front; the others are hidden, so the keyboard never
// reaches them. Captions are kept in All_Caption, each one followed by "≡"; an empty
// caption shows as "Tab " and the tab's number.
//
// Rows hold TabsPerRow cells of 22 pixels height; the first tabs lie in the bottom
// row next to the pages and rows never change places when a tab is chosen.
#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>
#include <cstdint>

class PropertyBag;
class QLabel;

class OrvexTab : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString TabPictureBox READ TabPictureBox WRITE setTabPictureBox)
    Q_PROPERTY(int Tabs READ Tabs WRITE setTabs)
    Q_PROPERTY(int TabsPerRow READ TabsPerRow WRITE setTabsPerRow)
    Q_PROPERTY(int TabNow READ TabNow WRITE setTabNow)
    Q_PROPERTY(QString TabCaption READ TabCaption WRITE setTabCaption)
    Q_PROPERTY(QString All_Caption READ All_Caption)
    Q_PROPERTY(uint TabCapColor READ TabCapColor WRITE setTabCapColor)
    Q_PROPERTY(QFont TabCapFont READ TabCapFont WRITE setTabCapFont)

public:
    static constexpr int rowHeight = 22;
    static constexpr char16_t separator = u'\u2261';  // "≡"

    explicit OrvexTab(QWidget *parent = nullptr);
    ~OrvexTab() override;

    QString TabPictureBox() const { return tabPictureBox_; }
    void setTabPictureBox(const QString &name);  // takes effect at the next layout
    int Tabs() const { return tabs_; }
    void setTabs(int tabs);                      // below 1: ignored
    int TabsPerRow() const { return tabsPerRow_; }
    void setTabsPerRow(int perRow);              // below 1: ignored
    int TabNow() const { return tabNow_; }
    // Acts as a click on that tab; a value outside 0 .. Tabs - 1 is ignored.
    void setTabNow(int tab);
    QString TabCaption() const;                  // the chosen tab's caption
    void setTabCaption(const QString &caption);
    QString All_Caption() const { return allCaption_; }
    std::uint32_t TabCapColor() const { return tabCapColor_; }
    void setTabCapColor(std::uint32_t colour);
    QFont TabCapFont() const { return tabCapFont_; }
    void setTabCapFont(const QFont &font);

    // Rows times 22 pixels; 0 before the first layout.
    int headerHeight() const { return headerHeight_; }

    // The caption of tab i as All_Caption gives it ("Tab i" for an empty or missing part).
    static QString tabCaptionOf(const QString &allCaption, int i);

    void readProperties(const PropertyBag &bag);
    void writeProperties(PropertyBag &bag) const;

signals:
    // The user, or a write to TabNow, chose a tab other than the current one.
    void Click(int PreviousTab);
    void propertyChanged(const QString &name);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class OrvexTabCell;
    void lblTabCap_Click(int index);
    void setTabCount(int oldCount, int newCount, bool layOut);
    void selectTab(int i);
    void refreshCaptions();
    void rebuildAllCaption();
    void arrangePages();
    QFont ambientFont() const;

    QString tabPictureBox_ = QStringLiteral("picOrvexTab");
    int tabs_ = 0;
    int tabsPerRow_ = 3;
    int tabNow_ = 0;
    QString allCaption_;
    std::uint32_t tabCapColor_ = 0;
    QFont tabCapFont_;
    int headerHeight_ = 0;

    struct Cell {
        class OrvexTabCell *picTabCap = nullptr;
        QLabel *lblTabCap = nullptr;
    };
    QList<Cell> cells_;
    class OrvexPageFrame *picFraTab_ = nullptr;
};
