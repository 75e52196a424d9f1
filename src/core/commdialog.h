// Open, save and folder dialogs for every window, on one shared object
// (mdlMavrell::commDialog()). A caller sets a title, a filter, a start folder or a
// file name, then calls ShowOpen, ShowSave or ShowDir. The dialogs go through the
// prompts seam (core/userprompts.h), so tests answer them.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

class CommDialog {
public:
    QWidget *hwndOwner = nullptr;  // owner window of the dialogs
    QString DialogTitle;           // title of the next dialog
    bool CancelError = false;      // kept, not used
    int FlagsDir = 0x64;           // kept; the folder dialog has nothing to switch
    int FlagsOpen = 0x81004;       // kept; an opened file always has to exist
    int FlagsSave = 6;             // bit 2: ask before overwriting
    int FlagsColor = 0;            // kept, not used
    QString DirName;               // folder of the last ShowDir, ending in "/"; "" after a cancel
    QString InitDir;               // start folder; the current folder is put in when empty
    int Color = 0;                 // kept, not used
    QString FileName;              // in: the proposed name; out: the chosen file, "" after a cancel
    QString DefaultExt;            // save: added (in lower case) to a name typed without an extension

    // Files of the last multiple selection, in the dialog's order.
    QStringList FileArray() const { return fileArray_; }
    // Name without folder, and lower-case extension, of the last single choice.
    QString FileTitle() const { return fileTitle_; }
    QString FileExt() const { return fileExt_; }

    // The filter pair (1-based) the next dialog preselects; reads back the pair of
    // the last dialog, 1 before any.
    void setFilterIndex(int n) { filterIndex_ = n; }
    int FilterIndex() const { return filterIndex_ == 0 ? 1 : filterIndex_; }

    // Filter text: description and pattern pairs separated by "|", as in
    // "Video|*.avi;*.mpg|All Files (*.*)|*.*". Reads back as set; "" means no filter.
    QString Filter() const { return filter_; }
    void setFilter(const QString &text);
    // The filter as the dialogs take it: "Video (*.avi *.mpg)", ...; "*.*" stands for
    // every file. The dialogs match the patterns in either letter case.
    QStringList nameFilters() const { return nameFilters_; }
    static QStringList toNameFilters(const QString &filterText);

    // Folder dialog: the folder chosen, ending in "/", or "" when cancelled.
    QString ShowDir(bool thenNoUseInitDir = false);
    // Open dialog: the chosen path, or "" when cancelled. With isMultiSelect the
    // number of files chosen comes back as text ("1", "2", ...) and FileArray
    // holds their paths.
    QString ShowOpen(bool thenNoUseInitDir = false, bool isMultiSelect = false);
    // Save dialog: as ShowOpen with a single file.
    QString ShowSave(bool thenNoUseInitDir = false);

private:
    QString showFile(bool save, bool thenNoUseInitDir, bool isMultiSelect);
    void fillInitDir();
    void clearChoice();

    QString filter_;
    QStringList nameFilters_;
    int filterIndex_ = 0;
    QString fileTitle_;
    QString fileExt_;
    QStringList fileArray_;
};
