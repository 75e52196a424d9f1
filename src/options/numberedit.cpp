#include "options/numberedit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

FilteredLineEdit::FilteredLineEdit(std::function<bool(QChar)> accepts, QWidget *parent)
    : QLineEdit(parent), accepts_(std::move(accepts))
{
}

QString FilteredLineEdit::filtered(const QString &text) const
{
    QString out;
    for (const QChar c : text)
        if (c != QLatin1Char('\b') && accepts_(c))
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
    const QString typed = event->text();
    // Keys that type nothing (arrows, Delete, shortcuts) are not filtered.
    if (!typed.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = event->key() == Qt::Key_Backspace ? QLatin1Char('\b') : typed.at(0);
        if (typed.size() > 1 || !accepts_(c)) {
            event->accept();
            return;
        }
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
