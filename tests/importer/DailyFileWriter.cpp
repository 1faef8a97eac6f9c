#include "DailyFileWriter.h"

#include "Cp932.h"
#include "FanFileWriter.h"

#include <QFile>

namespace {
const char* const kCourses[25] = {"",       "桐　生", "戸　田", "江戸川", "平和島", "多摩川", "浜名湖", "蒲　郡", "常　滑",
                                  "　津　", "三　国", "びわこ", "住之江", "尼　崎", "鳴　門", "丸　亀", "児　島",
                                  "宮　島", "徳　山", "下　関", "若　松", "芦　屋", "福　岡", "唐　津", "大　村"};

QByteArray sjis(const QString& text) { return EncodeCp932(text); }

// Bytes cut or padded with blanks to exactly n.
QByteArray fixed(const QByteArray& bytes, int n) { return bytes.left(n).leftJustified(n, ' '); }

// Full-width text cut or padded with full-width blanks to n characters.
QByteArray wideFixed(const QString& text, int n) { return sjis(text.left(n).leftJustified(n, QChar(0x3000))); }

QString wide(const QString& ascii)
{
    QString out;
    for (QChar c : ascii)
        out += c.isDigit() ? QChar(0xFF10 + (c.unicode() - u'0')) : c == QLatin1Char(' ') ? QChar(0x3000) : c;
    return out;
}

QByteArray right(int n, int width) { return QByteArray::number(n).rightJustified(width, ' '); }

void line(QByteArray& file, const QByteArray& text) { file += text + "\r\n"; }
void line(QByteArray& file, const QString& text) { line(file, sjis(text)); }
const QByteArray kDashes(79, '-');
}

ProgramRaceText MakeProgramRace(int raceNo, int firstToban)
{
    ProgramRaceText race;
    race.raceNo = raceNo;
    for (int k = 0; k < 6; ++k)
        race.boats[size_t(k)].toban = firstToban + k;
    return race;
}

QByteArray BoatLine(int boat, const ProgramBoat& b)
{
    QByteArray bytes = QByteArray::number(boat) + ' ' + right(b.toban, 4).replace(' ', '0');
    bytes += wideFixed(b.name, 4) + right(b.age, 2) + wideFixed(b.branch, 2) + right(b.weight, 2) + fixed(b.kyu.toLatin1(), 2);
    bytes += fixed(b.rest.toLatin1(), 55);
    return bytes;
}

QByteArray ProgramFileBytes(const QDate& date, const std::vector<ProgramCourseText>& courses)
{
    QByteArray file;
    line(file, QByteArray("STARTB"));
    for (const ProgramCourseText& c : courses) {
        const QString name = QString::fromUtf8(kCourses[c.code]);
        const QString code = QStringLiteral("%1").arg(c.code, 2, 10, QLatin1Char('0'));
        line(file, code + QStringLiteral("BBGN"));
        line(file, QStringLiteral("ボートレース%1　　　%2月%3日  第３２回日本財団会長杯　　第　２日")
                       .arg(name, wide(QStringLiteral("%1").arg(date.month(), 2)), wide(QStringLiteral("%1").arg(date.day(), 2))));
        line(file, QByteArray());
        if (c.pending) {
            line(file, QStringLiteral("この場のデータ更新は、いましばらくお待ちください。"));
            line(file, QByteArray());
            line(file, code + QStringLiteral("BEND"));
            continue;
        }
        line(file, QStringLiteral("                            ＊＊＊　番組表　＊＊＊"));
        line(file, QByteArray());
        line(file, QStringLiteral("   第　２日          %1年%2月%3日                  ボートレース%4")
                       .arg(wide(QString::number(date.year())), wide(QStringLiteral("%1").arg(date.month(), 2)),
                            wide(QStringLiteral("%1").arg(date.day(), 2)), name));
        line(file, QByteArray());
        for (const ProgramRaceText& r : c.races) {
            line(file, QStringLiteral("%1Ｒ  %2          Ｈ%3ｍ  電話投票締切予定１０：４５")
                           .arg(wide(QStringLiteral("%1").arg(r.raceNo, 2)), r.title.leftJustified(6, QChar(0x3000)),
                                wide(QString::number(r.distance))));
            line(file, kDashes);
            line(file, QStringLiteral("艇 選手 選手  年 支 体級    全国      当地     モーター   ボート   今節成績  早"));
            line(file, QStringLiteral("番 登番  名   齢 部 重別 勝率  2率  勝率  2率  NO  2率  NO  2率  １２３４５６ 見"));
            line(file, kDashes);
            for (int k = 0; k < 6; ++k)
                line(file, BoatLine(k + 1, r.boats[size_t(k)]));
            line(file, QByteArray());
        }
        line(file, code + QStringLiteral("BEND"));
    }
    line(file, QByteArray("FINALB"));
    return file;
}

ResultRaceText MakeResultRace(int raceNo, int firstToban)
{
    ResultRaceText race;
    race.raceNo = raceNo;
    for (int k = 0; k < 6; ++k) {
        ResultLineText r;
        r.code = QStringLiteral("0%1").arg(k + 1);
        r.boat = k + 1;
        r.toban = firstToban + k;
        race.lines.push_back(r);
    }
    return race;
}

QByteArray ResultLine(const ResultLineText& r)
{
    QByteArray bytes = "  " + fixed(r.code.toLatin1(), 2) + "  " + QByteArray::number(r.boat) + ' ' +
                       right(r.toban, 4).replace(' ', '0') + ' ';
    QString spaced;  // "山　田　太　郎　", as the file spaces a name
    for (QChar c : r.name)
        spaced += QString(c) + QChar(0x3000);
    bytes += wideFixed(spaced, 8);
    bytes += right(23, 5) + right(45, 5) + QByteArray("  6.75") + right(r.boat, 4);
    bytes += r.timing.toLatin1().rightJustified(8, ' ') + r.time.toLatin1().rightJustified(9, ' ');
    return bytes;
}

QByteArray ResultFileBytes(const QDate& date, const std::vector<ResultCourseText>& courses)
{
    QByteArray file;
    line(file, QByteArray("STARTK"));
    for (const ResultCourseText& c : courses) {
        const QString name = QString::fromUtf8(kCourses[c.code]);
        const QString code = QStringLiteral("%1").arg(c.code, 2, 10, QLatin1Char('0'));
        line(file, code + QStringLiteral("KBGN"));
        line(file, QStringLiteral("%1［成績］      %2/%3      第３２回日本財団会長杯  第 2日")
                       .arg(name).arg(date.month(), 2).arg(date.day(), 2));
        line(file, QByteArray());
        if (c.pending) {
            line(file, QStringLiteral("データは、この場の全レース終了後に登録されます。"));
            line(file, QByteArray());
            line(file, code + QStringLiteral("KEND"));
            continue;
        }
        line(file, QStringLiteral("                            ＊＊＊　競走成績　＊＊＊"));
        line(file, QByteArray());
        line(file, QStringLiteral("   第 2日          %1/%2/%3                             ボートレース%4")
                       .arg(date.year()).arg(date.month(), 2).arg(date.day(), 2).arg(name));
        line(file, QByteArray());
        line(file, QStringLiteral("   [払戻金]       ３連単           ３連複           ２連単         ２連複"));
        for (const ResultRaceText& r : c.races) {
            if (r.cancelled)
                line(file, QStringLiteral("%1R  中　止").arg(r.raceNo, 3));
            else
                line(file, QStringLiteral("          %1R  1-2-3      1000    1-2-3       200    1-2       300    1-2       200")
                               .arg(r.raceNo, 3));
        }
        line(file, QByteArray());
        for (const ResultRaceText& r : c.races) {
            if (r.cancelled)
                continue;
            line(file, QStringLiteral("%1R       予選                 H1800m  晴　  風  北西　 1m  波　  1cm").arg(r.raceNo, 4));
            line(file, QStringLiteral("  着 艇 登番 　選　手　名　　ﾓｰﾀｰ ﾎﾞｰﾄ 展示 進入 ｽﾀｰﾄﾀｲﾐﾝｸ ﾚｰｽﾀｲﾑ 差し"));
            line(file, kDashes);
            for (const ResultLineText& l : r.lines)
                line(file, ResultLine(l));
            line(file, QByteArray());
            if (r.isVoid) {
                line(file, QStringLiteral("  レース不成立"));
            } else {
                line(file, QStringLiteral("        単勝     1          150"));
                line(file, QStringLiteral("        複勝     1          100  2          110"));
            }
            line(file, QByteArray());
        }
        line(file, code + QStringLiteral("KEND"));
    }
    line(file, QByteArray("FINALK"));
    return file;
}

int LineOf(const QByteArray& file, const QByteArray& text)
{
    const QList<QByteArray> lines = file.split('\n');
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i] == text + '\r')
            return i + 1;
    return 0;
}

std::vector<GeneratedDay> GeneratePeriod(const QDate& first, int days, int courses, int races, int firstToban, int racerCount)
{
    std::vector<GeneratedDay> period;
    int running = 0;
    for (int d = 0; d < days; ++d) {
        GeneratedDay day;
        day.date = first.addDays(d);
        for (int c = 1; c <= courses; ++c) {
            ProgramCourseText program{c, false, {}};
            ResultCourseText results{c, false, {}};
            for (int r = 1; r <= races; ++r) {
                ProgramRaceText pr = MakeProgramRace(r, 0);
                ResultRaceText rr = MakeResultRace(r, 0);
                for (int k = 0; k < 6; ++k) {
                    const int toban = firstToban + (running++ * 7) % racerCount;
                    pr.boats[size_t(k)].toban = toban;
                    rr.lines[size_t(k)].toban = toban;
                }
                program.races.push_back(pr);
                results.races.push_back(rr);
            }
            day.programs.push_back(program);
            day.results.push_back(results);
        }
        period.push_back(day);
    }
    return period;
}

std::array<QString, 2> WriteDayFiles(const QString& folder, const GeneratedDay& day, bool archives)
{
    const QString stem = day.date.toString(QStringLiteral("yyMMdd"));
    const QByteArray contents[2] = {ProgramFileBytes(day.date, day.programs), ResultFileBytes(day.date, day.results)};
    std::array<QString, 2> paths;
    for (int i = 0; i < 2; ++i) {
        const QString letter = i == 0 ? QStringLiteral("b") : QStringLiteral("k");
        const QByteArray member = (letter.toUpper() + stem + QStringLiteral(".TXT")).toLatin1();
        paths[size_t(i)] = folder + letter + stem + (archives ? QStringLiteral(".lzh") : QStringLiteral(".txt"));
        QFile file(paths[size_t(i)]);
        const QByteArray bytes = archives ? Lh0Archive({{member, contents[i]}}) : contents[i];
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(paths[size_t(i)]));
    }
    return paths;
}
