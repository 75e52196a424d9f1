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

    // Added for the options dialog; the defaults do nothing.
    // Captions of the settings button (cmdOpt) and of the encode button (cmdEncode(0)),
    // which the settings summary names.
    virtual QString settingsButtonCaption() const { return {}; }
    virtual QString encodeButtonCaption() const { return {}; }
    // Places lblEncodeNote beside the settings button after its text changed; the
    // conversion summary sits 2 pixels higher.
    virtual void placeEncodeNote(bool conversionLayout) {}
    // The donation box, modal over owner.
    virtual void showDonation(QWidget *owner) {}
    // The developer console window shown or hidden.
    virtual void setConsoleWindowVisible(bool visible) {}
    // Ends the walking figure for good: its timer off, both figures hidden.
    virtual void stopFunEffect() {}
};

namespace mdlMavrell {
// The registered main window, or nullptr before it exists (and in tests that build none).
MainWindowLink *mainWindowLink();
void setMainWindowLink(MainWindowLink *link);
// Ends the main window's walking figure (nothing without a main window).
void stopFunEffect();
} // namespace mdlMavrell
