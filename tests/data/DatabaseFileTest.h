#pragma once

#include <QObject>

// The database file is never lost or silently changed: leftovers of an
// interrupted compaction, write-protected files and folders, names that are
// no plain file, and compactions killed at any moment.
class DatabaseFileTest : public QObject {
    Q_OBJECT
private slots:
    void aLeftoverCopyIsRemovedBeforeCompacting();
    void aFailedCompactionLeavesNoCopy();
    void aWriteProtectedFileIsNeitherOpenedNorReplaced();
    void aProtectedFolderIsRefused();
    void aNameThatIsNoFileIsRefusedAtOnce();
    void theCompleteCopyOfAnInterruptedCompactionIsPutBack();
    void anIncompleteCopyIsKeptAndRefused();
    void compactionKilledAtAnyMomentLosesNothing();
    void anOutsideWriteOpenAtExitIsKept_data();
    void anOutsideWriteOpenAtExitIsKept();
    void anOlderDatabaseIsUpgradedAndCompacted();
    void aFirstVersionFileGetsTheRulesOfANewOne();
    void rowsThatDoNotFitTheNewRulesAreKept();
};

// The child of the outside-writer test: another program's connection to the
// database file at `path` that opens a write transaction (with `insert`, one
// roster row named "外から" in it), says "ready", commits when a line comes on
// its input and says "committed" with the engine's result.
int RunOutsideWriter(const QString& path, bool insert);
