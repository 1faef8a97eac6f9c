// An import killed at any moment leaves the racer table as it was or as the
// file gives it, never between, in a database that stays whole.
#include "Database.h"
#include "FanFileWriter.h"
#include "FanHandbook.h"
#include "TestSupport.h"

#include <QDir>
#include <QTest>

namespace {
QByteArray racerDigest(const QString& folder)
{
    return RowsDigest(folder, {QStringLiteral("SELECT * FROM T_選手 ORDER BY 選手ID")});
}
}

int RunImportChild(const QString& folder, const QString& file)
{
    Database db(folder);
    const FanHandbook::Lookups lookups = FanHandbook::LoadLookups(db);
    return RunChildWork([&] { FanHandbook::Import(db, lookups, file); });
}

class ImportCrashTest : public QObject {
    Q_OBJECT
private slots:
    void importKilledAtAnyMomentKeepsOneWholeSet()
    {
        TestFolder t;
        // The old set: other racers than the file's.
        std::vector<TestRacer> old;
        for (int id = 5000; id < 6400; ++id)
            old.push_back({id, 1 + id % 120, 1 + id % 47});
        SeedRacers(t.folder(), old);
        const QByteArray oldRacers = racerDigest(t.folder());
        const QByteArray start = FileBytes(t.file("Vantor.mdb"));

        // A real-sized handbook: 1,650 records of the current layout.
        std::vector<FanRecord> records(1650);
        for (size_t i = 0; i < records.size(); ++i) {
            records[i].toban = QString::number(3000 + int(i));
            records[i].ki = QString::number(100 + int(i) % 30);
        }
        const QString file = QDir::tempPath() + QStringLiteral("/FAN%1.TXT").arg(QCoreApplication::applicationPid());
        WriteFile(file, FanFileBytes(records, FanHandbook::NewRecordLength));

        const QString databaseFolder = t.folder() + QStringLiteral("run/");
        QVERIFY(QDir().mkpath(databaseFolder));
        const auto restore = [&] {
            for (const QString& name : QDir(databaseFolder).entryList(QDir::Files))
                QFile::remove(databaseFolder + name);
            WriteFile(databaseFolder + QStringLiteral("Vantor.mdb"), start);
        };
        const QStringList child{QStringLiteral("--child-import"), databaseFolder, file};

        const qint64 work = ShortestRun(child, restore);
        QVERIFY(work >= 0);
        const QByteArray newRacers = racerDigest(databaseFolder);
        QVERIFY(newRacers != oldRacers);

        int midway = 0, oldKept = 0;
        for (const qint64 moment : SpreadMoments(work, 24)) {
            restore();
            if (RunChild(child, moment) < 0)
                ++midway;
            QCOMPARE(IntegrityCheck(databaseFolder), QStringLiteral("ok"));
            const QByteArray racers = racerDigest(databaseFolder);
            QVERIFY(racers == oldRacers || racers == newRacers);
            oldKept += racers == oldRacers;
        }
        QFile::remove(file);
        qInfo("import of %lld us killed 24 times: %d midway, %d left the old set", work, midway, oldKept);
        QVERIFY(midway >= 12);
    }
};

#include "ImportCrashTest.moc"

QObject* NewImportCrashTest() { return new ImportCrashTest; }
