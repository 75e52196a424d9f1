// The edit field of a number list (frame rate, bit rates): what the user types or
// pastes in keeps only the characters the list accepts. A refused key types nothing;
// pasted, dropped or middle-clicked text loses its refused characters.
#pragma once

#include <QLineEdit>
#include <functional>

class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    // accepts: whether a typed character may go in (Backspace comes as '\b').
    FilteredLineEdit(std::function<bool(QChar)> accepts, QWidget *parent = nullptr);

    // text without the characters that would be refused.
    QString filtered(const QString &text) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Takes the refused characters out of what came in since the text was before.
    void filterChange(const QString &before);

    std::function<bool(QChar)> accepts_;
};
