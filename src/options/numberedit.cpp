#include "options/numberedit.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

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

void FilteredLineEdit::insertFiltered(const QString &text)
{
    const QString keep = filtered(text);
    if (!keep.isEmpty())
        insert(keep);
}

void FilteredLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        if (!isReadOnly())
            insertFiltered(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    const QString text = event->text();
    // Keys that type nothing (arrows, Delete, shortcuts) are not filtered.
    if (!text.isEmpty() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const QChar c = event->key() == Qt::Key_Backspace ? QLatin1Char('\b') : text.at(0);
        if (text.size() > 1 || !accepts_(c)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void FilteredLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QPointer<QMenu> menu = createStandardContextMenu();
    if (!menu)
        return;
    // The menu's Paste goes through the filter too.
    for (QAction *a : menu->actions()) {
        if (a->objectName() == QLatin1String("edit-paste")) {
            disconnect(a, &QAction::triggered, nullptr, nullptr);
            connect(a, &QAction::triggered, this,
                    [this] { insertFiltered(QGuiApplication::clipboard()->text()); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void FilteredLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        if (!isReadOnly()) {
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            insertFiltered(clipboard->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FilteredLineEdit::dropEvent(QDropEvent *event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    insertFiltered(event->mimeData()->text());
    event->acceptProposedAction();
}
