// What a conversion's tools are writing, noted in the settings folder while they run.
// A run the program cannot end itself (SIGKILL, a power cut) leaves its unfinished files
// under names of their own beside the target; the next start reads the notes of runs
// whose program is gone and removes what they name. Nothing else is ever removed: a file
// must be named in such a note and carry one of the run's own endings.
#pragma once

#include <QString>
#include <QStringList>

namespace runrecord {

// The endings of the files only a run writes: the unchecked result and the DVD route's
// intermediate.
bool isRunFileName(const QString &path);

// The note of one run of this program: written when made (the files that are not run
// files by name are left out), removed when destroyed. One note per process at a time.
class Record {
public:
    Record(const QStringList &files, const QString &folder);
    ~Record();
    Record(const Record &) = delete;
    Record &operator=(const Record &) = delete;
    // Where the note lies; "" when it could not be written.
    QString path() const { return path_; }

private:
    QString path_;
};

// The notes in folder of runs whose program no longer runs (another boot, a process that
// is gone or is another one now): the run files they name are removed, and the notes.
// The notes of a copy that still runs (of another user sharing the folder) stay. Returns
// the files removed.
QStringList clearLeftovers(const QString &folder);

} // namespace runrecord
