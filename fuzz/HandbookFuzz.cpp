// libFuzzer target: the fan handbook reader and the import behind it. Any
// input either becomes racers or is refused with a run-time error; nothing
// else may happen (a crash, a sanitizer report, another exception).
// Built by scripts/fuzz.
#include "Database.h"
#include "FanHandbook.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>

namespace {
struct Target {
    QTemporaryDir folder;
    std::unique_ptr<Database> db;
    FanHandbook::Lookups lookups;
    QString file;
};

Target* target = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    target = new Target;
    const QString folder = target->folder.path() + QLatin1Char('/');
    target->db = std::make_unique<Database>(folder);
    // Inputs come by the thousand: the journal need not survive a crash here.
    target->db->execute(QStringLiteral("PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF"));
    target->lookups = FanHandbook::LoadLookups(*target->db);
    target->file = folder + QStringLiteral("FAN0000.TXT");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    {
        QFile file(target->file);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            abort();
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    try {
        const int count = FanHandbook::Import(*target->db, target->lookups, target->file);
        if (count < 0 || size_t(count) * FanHandbook::OldRecordLength > size)
            abort();
    } catch (const RuntimeError&) {
        // A refused file: the table is left as it was.
    }
    return 0;
}
