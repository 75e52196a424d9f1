#include "options/numberedit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

bool numberKeyRefused(const QKeyEvent &key, const std::function<bool(QChar)> &accepts)
{
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString typed = key.text();
    // Tab, Backspace, Delete, Enter and Escape carry a control character as their text.
    for (const QChar c : typed)
        if (c.category() == QChar::Other_Control)
            return false;
    for (const QChar c : typed)
        if (!accepts(c))
            return true;
    return false;
}

FilteredLineEdit::FilteredLineEdit(std::function<bool(QChar)> accepts, QWidget *parent)
    : QLineEdit(parent), accepts_(std::move(accepts))
{
}

QString FilteredLineEdit::filtered(const QString &text) const
{
    QString out;
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control && accepts_(c))
            out += c;
    return out;
}

void FilteredLineEdit::filterChange(const QString &before)
{
    const QString after = text();
    if (after == before)
        return;
    // What came in is what lies between the parts that stayed at both ends.
    qsizetype head = 0;
    const qsizetype shorter = std::min(before.size(), after.size());
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const QString inserted = after.mid(head, after.size() - head - tail);
    const QString kept = filtered(inserted);
    if (kept == inserted)
        return;
    setText(after.left(head) + kept + after.right(tail));
    setCursorPosition(int(head + kept.size()));
}

void FilteredLineEdit::keyPressEvent(QKeyEvent *event)
{
    const QString before = text();
    if (event->matches(QKeySequence::Paste)) {
        QLineEdit::keyPressEvent(event);
        filterChange(before);
        return;
    }
    if (numberKeyRefused(*event, accepts_)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    if (!menu)
        return;
    // Whatever the menu's Paste (or Undo) brings in goes through the filter.
    const QString before = text();
    for (QAction *a : menu->actions())
        connect(a, &QAction::triggered, this, [this, before] { filterChange(before); });
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    // A middle click pastes the selection.
    const QString before = text();
    QLineEdit::mouseReleaseEvent(event);
    filterChange(before);
}

void FilteredLineEdit::dropEvent(QDropEvent *event)
{
    const QString before = text();
    QLineEdit::dropEvent(event);
    filterChange(before);
}
