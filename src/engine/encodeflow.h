// The decisions of the encode button that need no window: the checks of the job
// against the source, the time range, the texts of the questions and reports, the
// retry test and the verdict on a run, and the run stage itself, which talks to the
// main window through EncodeWindow.
#pragma once

#include "engine/encodecommand.h"
#include "engine/encoderunner.h"

#include <QString>
#include <QStringList>

namespace encodeflow {

// ---- Before the run ----

// Source and target name the same file (canonical paths, not letter-for-letter text).
bool isSameFile(const QString &src, const QString &dst);
// The overwrite question: the target path, two line breaks, txt::TargetExistsOverwrite
// with the action word.
QString overwriteQuestion(const jobrecords::JobSettings &job, const QString &dst);

struct StartRange {
    float encodeSeconds = 0;
    QString range;  // "" or " -ss hh:mm:ss.s -endpos hh:mm:ss.s"
};
// From markIn, markOut and srcLength, before any key-frame alignment.
StartRange initialRange(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);

// The settings summary with its time-range line showing the part that will really be
// converted (from start, seconds long), as the key-frame alignment may have moved it;
// a summary without that line is returned as it stands.
QString summaryWithRange(const QString &settingsSummary, float start, float seconds);

// The note on an AVI copy job whose sound is not MP3 (it is turned into MP3); "" otherwise.
QString aviSoundNote(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);
// The start confirmation: the sparse-key-frame warning when previousKeyFrame is -1,
// txt::AboutToStart with the action word, the settings summary and the AVI sound note.
QString startConfirmation(const jobrecords::JobSettings &job, float previousKeyFrame, const QString &settingsSummary, const QString &aviNote);
// The progress note shown before the tool starts (0 % and what comes first).
QString firstProgressNote(const jobrecords::JobSettings &job);
// txt::ProgressPercent with the percentage: the bar's caption at rest (0) and at success (100).
QString percentNote(const QString &percent);

// What keeps a job from running, found before the encoder starts: the text-table entry
// naming the cause and the path it concerns. In this order: the source cannot be read;
// a tool is missing or cannot be run; the target is a folder; its folder does not
// exist; a name the job writes (the target, the intermediate file, the part) is too long for the
// folder's file system; nothing can be written into the folder. entry 0: nothing does.
struct Problem {
    int entry = 0;
    QString path;
};
Problem preRunProblem(const QString &src, const QString &dst, const QStringList &tools,
                      const QString &intermediate = QString(), const QString &part = QString());
// The drive of the folder has (almost) no room left for us.
bool driveFull(const QString &folder);

// ---- The name a result is written under ----

// The tools write a job's result under a name of its own beside the target (the same
// folder, so giving it the target's name is one atomic rename): the target's name
// followed by ".mavrell-part". No target kind makes such a name, since every target
// name ends in the kind's extension. A partial or unchecked file thus never lies under
// the target's name, also when the program is killed outright.
QString partPath(const QString &target);
// Gives the part the target's name, replacing a file of that name. False when it could not.
bool givePartItsName(const QString &part, const QString &target);

// ---- After the run ----

// The retry with the A/V sync correction switched off is offered when the tool gave
// up almost at once (1 % or less) with a small target (1 to 102399 bytes), once per
// click, not after Stop, and only when this try had the correction on.
bool offerRetry(float percent, bool retried, bool stopFlag, const QString &mc, qint64 targetSize);
// A conversion succeeded when every tool ran to its own end with status 0, the file
// they wrote (the part) exists and is not empty, the old target could be replaced, and
// the result check found the whole job in it (checkMessage empty).
bool isSuccess(const encoderunner::EncodeRunResult &run, const QString &written, const QString &inUseMessage,
               const QString &checkMessage = QString());
// The media length a finished job's target must hold, and where in the source it begins:
// the marked range of a cut or conversion, the whole source for a repair.
double checkedLength(const jobrecords::SourceInfo &source, const jobrecords::JobSettings &job);
double checkedSourceStart(const jobrecords::JobSettings &job);
// The job takes the whole source (no range, or a repair): the target is to hold all of it.
bool checksWholeSource(const jobrecords::JobSettings &job);
// Why a run that ended by itself without completing failed, as the tool tells it: it
// could not be started, ended with an error status, or was ended by a signal (each with
// the tool's path), then the tool's last message. "" for a run that completed, was
// stopped or stalled, or was ended by the job's watch: those say why themselves. When
// not empty it ends in two line breaks, ready to stand before the action word.
QString runFailureReason(const encoderunner::EncodeRunResult &run);
// Why an existing target could not be removed or replaced, from what the system said
// (errno): in use (EBUSY, txt::TargetInUse), protected (EPERM, EACCES: marked as
// unchangeable, or another user's file in a shared folder), else the system's own words.
// Ends in two line breaks; "" for 0.
QString targetNotReplacedText(int error);
// Removes the old target before the run: "" when it is gone (or was never there), else
// targetNotReplacedText of what the removal reported.
QString removeOldTarget(const QString &target);
// txt::TimeTaken, the seconds taken with one decimal, txt::Seconds.
QString timeTakenText(float seconds);
QString successText(const jobrecords::JobSettings &job, const QString &target, const QString &timeText);
// The failure report; whyMessage (the in-use message or what the result check found)
// stands before the action word.
QString failureText(const jobrecords::JobSettings &job, const QString &target, const QString &whyMessage, const QString &timeText);
// The size of a file; -1 when there is none.
qint64 fileSize(const QString &path);

// ---- The run stage ----

// What the run stage asks of the main window besides the runner's progress.
class EncodeWindow : public encoderunner::EncodeProgressSink {
public:
    // Shows the Stop button in place of the encode button (the command is built).
    virtual void showStopButton() {}
    // The developer preset chosen (-1 or 0: none; only in developer mode).
    virtual int developerPreset() { return -1; }
    // Developer review of the command: true when it is asked for; reviewCommand gives
    // the command as confirmed, "" when the review was cancelled.
    virtual bool reviewRequested() { return false; }
    virtual QString reviewCommand(const QString &command) { return command; }
    // Gives the progress frame back its resting look and size.
    virtual void restProgressFrame() {}
    // Locks (true) or unlocks the main window's buttons.
    virtual void setEncodingControls(bool encoding) {}
    // Opens the player window on the finished target.
    virtual void playResult(const QString &target) {}
};

// One job as the encode button hands it to the run stage: the records as they stood
// when the button was pressed, and what was worked out from them.
struct EncodeJob {
    jobrecords::SourceInfo source;
    jobrecords::JobSettings settings;
    encodecommand::Prepared prep;
    QString range;
    encodecommand::Inputs inputs;  // tools, source and target; retry is set by the stage
};

enum class Outcome {
    NotRun,     // the container check or the developer review was cancelled
    Stopped,    // the user stopped it (the part converted is kept) or the tool stalled
                // (nothing is kept); the runner has told the user
    Succeeded,  // reported as success (played when the user asked for it)
    Failed,     // reported as failure; what was written is removed
};

struct StageResult {
    Outcome outcome = Outcome::NotRun;
    QString command;  // the last command run (or built)
    bool retried = false;
    encoderunner::EncodeRunResult run;
    QString checkMessage;  // what the result check found wrong, "" when it passed or did not run
    Problem problem;       // what kept the job from running (entry 0: nothing)
};

// Builds the command, checks what can be checked before the run, runs it with the one
// offered retry, reports the end and puts the window at rest. The tools write the part
// (partPath), noted in the settings folder while they run (runrecord), and only a result
// the check passed gets the target's name. A result the job judged bad (the tool failed
// or stalled, the result check refused it, the drive is full, the folder went away) is
// removed and the report says nothing was kept; a stopped run gives the part converted
// the target's name and says the file holds only part; when the program is ending on a
// signal nothing of it is kept and nothing is shown.
StageResult runEncodeStage(EncodeJob &job, EncodeWindow &window,
                           const encoderunner::EncodeRunLimits &limits = encoderunner::EncodeRunLimits());

} // namespace encodeflow
