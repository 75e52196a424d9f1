// Number boxes: the one rule for their keys, and the edit field of a number list
// (frame rate, bit rates), in which what the user types or pastes keeps only the
// characters the list accepts. A refused key types nothing; pasted, dropped or
// middle-clicked text loses its refused characters.
#pragma once

#include <QLineEdit>
#include <functional>

class QKeyEvent;

// Whether a key press types something a number box refuses. Only typed characters are
// filtered: editing keys (Tab, Shift+Tab, Backspace, Delete, Home, End, the arrows,
// Enter, Escape) and shortcuts (the clipboard's among them) do what they do in any box,
// even where they come with a control character as their text.
bool numberKeyRefused(const QKeyEvent &key, const std::function<bool(QChar)> &accepts);

class FilteredLineEdit : public QLineEdit {
    Q_OBJECT
public:
    // accepts: whether a typed character may go in.
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
