// Writes the seed corpus of the handbook fuzz target into the folder given:
// small handbook files of both layouts made by the tests' file writer, each
// touching another path of the reader.
#include "FanFileWriter.h"
#include "FanHandbook.h"

#include <QFile>
#include <cstdio>

namespace {
bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

std::vector<FanRecord> racers()
{
    FanRecord a;
    FanRecord b;
    b.toban = QStringLiteral("4001");
    b.name = QStringLiteral("高　橋　　二　朗");
    b.yomi = QStringLiteral("ﾀｶﾊｼ ｼﾞﾛｳ");
    b.branch = QStringLiteral("福岡");
    b.era = QStringLiteral("H");
    b.year = QStringLiteral("01");
    b.blood = QStringLiteral("AB");
    FanRecord c;
    c.toban = QStringLiteral("0072");
    c.branch = QStringLiteral("火星");  // no such branch
    c.era = QStringLiteral("x");
    c.blood = QStringLiteral("  ");
    c.win = QStringLiteral(" 5");
    c.ki = QStringLiteral("   ");
    return {a, b, c};
}
}

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]) + QLatin1Char('/');
    const std::vector<FanRecord> three = racers();
    std::vector<FanRecord> unfinished = three;
    unfinished.back().lineEnd = false;
    std::vector<FanRecord> twice = three;
    twice.push_back(three.front());

    bool ok = true;
    for (const int length : {FanHandbook::OldRecordLength, FanHandbook::NewRecordLength}) {
        const QString layout = QString::number(length);
        ok &= write(folder + QStringLiteral("three-%1").arg(layout), FanFileBytes(three, length));
        ok &= write(folder + QStringLiteral("unfinished-%1").arg(layout), FanFileBytes(unfinished, length));
        ok &= write(folder + QStringLiteral("twice-%1").arg(layout), FanFileBytes(twice, length));
        ok &= write(folder + QStringLiteral("tail-%1").arg(layout), FanFileBytes(three, length) + QByteArray(100, ' '));
    }
    return ok ? 0 : 1;
}
