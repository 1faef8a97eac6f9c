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
    void anOlderDatabaseIsUpgradedAndCompacted();
    void copiesKeptOneASeatAreKeptOnceInPlace();
};
