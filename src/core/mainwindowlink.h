// What the other windows need of the main window, without depending on it: the main
// window registers itself here when it is built; the options dialog and the player
// window reach it only through this interface.
#pragma once

#include <QString>

class QWidget;

class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    virtual QWidget *mainWidget() = 0;
    // The settings summary under the buttons (lblEncodeNote).
    virtual void setEncodeNote(const QString &text) = 0;
    virtual QString encodeNote() const = 0;
    // The code of the language last applied ("tw", "gb", "en"; mnuLanguage's tag).
    virtual QString languageCode() const = 0;
};

namespace mdlMavrell {
// The registered main window, or nullptr before it exists (and in tests that build none).
MainWindowLink *mainWindowLink();
void setMainWindowLink(MainWindowLink *link);
} // namespace mdlMavrell
