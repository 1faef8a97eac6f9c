#include "DailyFiles.h"

#include "Cp932.h"
#include "LhaArchive.h"
#include "RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <functional>
#include <set>

namespace DailyFiles {

namespace {
const QString kSource = QStringLiteral("Vantor");
const QString kProgramPending = QStringLiteral("この場のデータ更新は、いましばらくお待ちください。");
const QString kResultsPending = QStringLiteral("データは、この場の全レース終了後に登録されます。");
constexpr int MaxCourse = 24;

using Refuse = std::function<void(int line, const QString& problem)>;

Refuse refuser(const QString& fileName, const QString& kind)
{
    return [fileName, kind](int line, const QString& problem) {
        throw RuntimeError(ErrorNumber::BadFileFormat, kSource,
                           QStringLiteral("%1 は%2のファイルとして読めません。%3 行目：%4").arg(fileName, kind).arg(line).arg(problem));
    };
}

// The official files are Shift-JIS. One re-saved by an editor in another
// encoding would be misread without a word (a UTF-8 file decodes to other
// characters, and its fields move), so it is refused: a byte-order mark,
// NUL bytes (UTF-16), or text beyond ASCII that is valid UTF-8 throughout
// (real Shift-JIS kana and kanji never are) say it is not Shift-JIS.
void requireShiftJis(const QByteArray& bytes, const QString& fileName, const QString& kind)
{
    QString encoding;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        encoding = QStringLiteral("UTF-8");
    else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") || bytes.contains('\0'))
        encoding = QStringLiteral("UTF-16");
    else if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) &&
             bytes.isValidUtf8())  // stops at the first byte that is not, without a copy of the file
        encoding = QStringLiteral("UTF-8");
    if (encoding.isEmpty())
        return;
    throw RuntimeError(ErrorNumber::BadFileFormat, kSource,
                       QStringLiteral("%1 は%2のファイルとして読めません。Shift-JIS のファイルではありません（%3 で保存されています）。"
                                      "公式サイトから取り直すか、Shift-JIS で保存し直して下さい。")
                           .arg(fileName, kind, encoding));
}

// Lines without their ends (CR LF, or a lone LF).
std::vector<QByteArrayView> splitLines(const QByteArray& bytes)
{
    std::vector<QByteArrayView> lines;
    qsizetype from = 0;
    while (from < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', from);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        qsizetype length = end - from;
        if (length > 0 && bytes[end - 1] == '\r')
            --length;
        lines.emplace_back(bytes.constData() + from, length);
        from = next;
    }
    return lines;
}

QByteArrayView trimmedRight(QByteArrayView line)
{
    while (!line.isEmpty() && (line.back() == ' ' || line.back() == '\t'))
        line.chop(1);
    return line;
}

bool isDigits(QByteArrayView bytes)
{
    for (char c : bytes)
        if (c < '0' || c > '9')
            return false;
    return !bytes.isEmpty();
}

int number(QByteArrayView bytes)
{
    int n = 0;
    for (char c : bytes)
        if (c >= '0' && c <= '9')
            n = n * 10 + (c - '0');
    return n;
}

// "NN" + letter + word, as "07BBGN" or "07KEND"; the code NN or -1.
int sectionMark(QByteArrayView line, char letter, const char* word)
{
    line = trimmedRight(line);
    if (line.size() != 6 || !isDigits(line.first(2)) || line[2] != letter || line.sliced(3) != QByteArrayView(word))
        return -1;
    return number(line.first(2));
}

bool isDashes(QByteArrayView line)
{
    line = trimmedRight(line);
    if (line.size() < 10)
        return false;
    for (char c : line)
        if (c != '-')
            return false;
    return true;
}

// Blanks of both widths removed at both ends.
QString wideTrimmed(const QString& text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QChar(0x3000); };
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

// Full-width digits as half-width ones.
QString narrowDigits(QString text)
{
    for (QChar& c : text)
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            c = QChar(u'0' + (c.unicode() - 0xFF10));
    return text;
}

// The sections of a daily file: "START?" first, then sections "NN?BGN" ...
// "NN?END", then "FINAL?"; blank lines between them. `open` is told of each
// section, `inside` reads a line of it and returns the next line to read.
void walkSections(const std::vector<QByteArrayView>& lines, char letter, const Refuse& refuse,
                  const std::function<void(int code, int line)>& open, const std::function<int(int index)>& inside,
                  const std::function<void()>& close)
{
    const QByteArray start = QByteArray("START") + letter;
    const QByteArray final = QByteArray("FINAL") + letter;
    if (lines.empty() || trimmedRight(lines[0]) != start)
        refuse(1, QStringLiteral("1 行目が %1 ではありません。").arg(QString::fromLatin1(start)));
    const int count = int(lines.size());
    std::set<int> seen;
    int code = -1;
    for (int i = 1; i < count;) {
        const QByteArrayView line = trimmedRight(lines[size_t(i)]);
        if (code < 0) {
            if (line == final) {
                for (int j = i + 1; j < count; ++j)
                    if (!trimmedRight(lines[size_t(j)]).isEmpty())
                        refuse(j + 1, QStringLiteral("%1 の後に行があります。").arg(QString::fromLatin1(final)));
                return;
            }
            const int begin = sectionMark(line, letter, "BGN");
            if (begin >= 0) {
                if (begin < 1 || begin > MaxCourse)
                    refuse(i + 1, QStringLiteral("場コード %1 はありません（01～24）。").arg(begin, 2, 10, QLatin1Char('0')));
                if (!seen.insert(begin).second)
                    refuse(i + 1, QStringLiteral("場コード %1 の場が二度あります。").arg(begin, 2, 10, QLatin1Char('0')));
                code = begin;
                open(code, i + 1);
            } else if (!line.isEmpty()) {
                refuse(i + 1, QStringLiteral("場の始まり（NN%1BGN）か %2 があるはずの行です。")
                                  .arg(QLatin1Char(letter)).arg(QString::fromLatin1(final)));
            }
            ++i;
            continue;
        }
        const int end = sectionMark(line, letter, "END");
        if (end >= 0) {
            if (end != code)
                refuse(i + 1, QStringLiteral("場の終わり（%1）が始まりの場コード %2 と合いません。")
                                  .arg(QString::fromLatin1(line.toByteArray())).arg(code, 2, 10, QLatin1Char('0')));
            close();
            code = -1;
            ++i;
            continue;
        }
        if (sectionMark(line, letter, "BGN") >= 0 || line == final || line == start)
            refuse(i + 1, QStringLiteral("場コード %1 の場の終わり（%1%2END）がありません。")
                              .arg(code, 2, 10, QLatin1Char('0')).arg(QLatin1Char(letter)));
        i = inside(i);
    }
    refuse(count, QStringLiteral("%1 がないままファイルが終わっています。").arg(QString::fromLatin1(final)));
}

// The day of a file: every section that names a date names the same one.
void takeDate(QDate& day, const QDate& found, int line, const Refuse& refuse)
{
    if (!found.isValid())
        return;
    if (!day.isValid())
        day = found;
    else if (day != found)
        refuse(line, QStringLiteral("日付（%1）が前の場の日付（%2）と違います。")
                         .arg(found.toString(QStringLiteral("yyyy/M/d")), day.toString(QStringLiteral("yyyy/M/d"))));
}

QDate dateOf(const QRegularExpression& pattern, const QString& text)
{
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}
}

QByteArray ReadDailyFileBytes(const QString& path, char kind)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(ErrorNumber::FileNotFound, kSource,
                           QStringLiteral("ファイルを開けません。(%1: %2)").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    // An archive names its method ("-lh5-", "-lh0-" ...) in its first header.
    const bool archive = bytes.size() >= 7 && bytes[2] == '-' && bytes[3] == 'l' && bytes[6] == '-';
    if (!archive)
        return bytes;
    return ReadLhaMember(QByteArrayView(bytes), QFileInfo(path).fileName(), QLatin1Char(kind) + QStringLiteral("*.TXT")).data;
}

// ---- race programs ----

ProgramDay ParseProgram(const QByteArray& bytes, const QString& fileName)
{
    static const QRegularExpression datePattern(QStringLiteral("(\\d{4})年[\\s　]*(\\d{1,2})月[\\s　]*(\\d{1,2})日"));
    static const QRegularExpression distancePattern(QStringLiteral("Ｈ([０-９]{3,4})ｍ"));
    requireShiftJis(bytes, fileName, QStringLiteral("番組表"));
    const Refuse refuse = refuser(fileName, QStringLiteral("番組表"));
    const std::vector<QByteArrayView> lines = splitLines(bytes);
    const int count = int(lines.size());
    ProgramDay day;
    ProgramCourse course;

    auto readRace = [&](int i, const QString& text) {
        const int raceNo = (text[0] == QChar(0xFF11) ? 10 : 0) + (text[1].unicode() - 0xFF10);
        if (raceNo < 1 || raceNo > 12)
            refuse(i + 1, QStringLiteral("レース番号 %1 はありません（1～12）。").arg(raceNo));
        for (const ProgramRace& r : course.races)
            if (r.raceNo == raceNo)
                refuse(i + 1, QStringLiteral("%1R が二度あります。").arg(raceNo));
        ProgramRace race;
        race.raceNo = raceNo;
        const QRegularExpressionMatch distance = distancePattern.match(text, 3);
        if (!distance.hasMatch())
            refuse(i + 1, QStringLiteral("レースの距離（Ｈ…ｍ）がありません。"));
        race.title = wideTrimmed(text.mid(3, distance.capturedStart() - 3));
        race.distance = narrowDigits(distance.captured(1)).toInt();
        // Two dashed lines around two header lines, then the six boats.
        for (int k : {1, 4})
            if (i + k >= count || !isDashes(lines[size_t(i + k)]))
                refuse(i + k + 1, QStringLiteral("%1R の見出しの区切り線（-----）がありません。").arg(raceNo));
        for (int k = 0; k < 6; ++k) {
            const int j = i + 5 + k;
            if (j >= count)
                refuse(count, QStringLiteral("%1R の %2 号艇の行がないままファイルが終わっています。").arg(raceNo).arg(k + 1));
            const QByteArrayView line = lines[size_t(j)];
            if (line.size() != BoatLineLength)
                refuse(j + 1, QStringLiteral("%1R の艇の行が %2 バイトです（%3 バイトのはずです）。")
                                  .arg(raceNo).arg(line.size()).arg(BoatLineLength));
            if (line[0] != char('1' + k) || line[1] != ' ')
                refuse(j + 1, QStringLiteral("%1R の %2 号艇の行のはずです。").arg(raceNo).arg(k + 1));
            if (!isDigits(line.sliced(2, 4)))
                refuse(j + 1, QStringLiteral("%1R %2 号艇の登番が数字ではありません。").arg(raceNo).arg(k + 1));
            Boat boat;
            boat.boat = k + 1;
            boat.toban = number(line.sliced(2, 4));
            boat.name = wideTrimmed(DecodeCp932(line.sliced(6, 8)));
            boat.age = number(line.sliced(14, 2));
            boat.branch = wideTrimmed(DecodeCp932(line.sliced(16, 4)));
            boat.weight = number(line.sliced(20, 2));
            boat.kyu = QString::fromLatin1(line.sliced(22, 2).toByteArray()).trimmed();
            // The rates are kept where they read as numbers; they decide nothing.
            boat.winRate = QString::fromLatin1(line.sliced(24, 5).toByteArray()).trimmed().toDouble();
            boat.placeRate = QString::fromLatin1(line.sliced(29, 6).toByteArray()).trimmed().toDouble();
            race.boats.push_back(boat);
        }
        course.races.push_back(std::move(race));
        return i + 11;
    };

    walkSections(
        lines, 'B', refuse,
        [&](int code, int line) {
            course = ProgramCourse();
            course.code = code;
            course.line = line;
        },
        [&](int i) {
            const QString text = DecodeCp932(lines[size_t(i)]);
            if (text.contains(kProgramPending))
                course.pending = true;
            takeDate(day.date, dateOf(datePattern, narrowDigits(text)), i + 1, refuse);
            // A race head: "　１Ｒ" ... "１２Ｒ".
            if (text.size() >= 3 && (text[0] == QChar(0x3000) || text[0] == QChar(0xFF11)) &&
                text[1].unicode() >= 0xFF10 && text[1].unicode() <= 0xFF19 && text[2] == QChar(0xFF32))
                return readRace(i, text);
            return i + 1;
        },
        [&] { day.courses.push_back(std::move(course)); });

    for (const ProgramCourse& c : day.courses)
        if (!c.races.empty() && !day.date.isValid())
            refuse(c.line, QStringLiteral("日付（YYYY年M月D日）がありません。"));
    return day;
}

ProgramDay ReadProgram(const QString& path) { return ParseProgram(ReadDailyFileBytes(path, 'B'), QFileInfo(path).fileName()); }

// ---- results ----

int Finish::position() const
{
    if (code.size() == 2 && code[0] == QLatin1Char('0') && code[1] >= QLatin1Char('1') && code[1] <= QLatin1Char('6'))
        return code[1].unicode() - u'0';
    return 0;
}

const ResultRace* ResultCourse::race(int raceNo) const
{
    for (const ResultRace& r : races)
        if (r.raceNo == raceNo)
            return &r;
    return nullptr;
}

const ResultCourse* ResultDay::course(int code) const
{
    for (const ResultCourse& c : courses)
        if (c.code == code)
            return &c;
    return nullptr;
}

namespace {
bool isFinishCode(QByteArrayView code)
{
    static const char* const codes[] = {"01", "02", "03", "04", "05", "06", "F ", " F", "L0",
                                        "L1", "K0", "K1", "S0", "S1", "S2", "00"};
    for (const char* c : codes)
        if (code == QByteArrayView(c))
            return true;
    return false;
}

// A line in the place of a result line: two blanks, then a code.
bool looksLikeResult(QByteArrayView line)
{
    if (line.size() < 4 || line[0] != ' ' || line[1] != ' ')
        return false;
    const auto printable = [](char c) { return c > ' ' && c < 0x7F; };
    return printable(line[2]) || printable(line[3]);
}
}

ResultDay ParseResults(const QByteArray& bytes, const QString& fileName)
{
    static const QRegularExpression datePattern(QStringLiteral("(\\d{4})/\\s*(\\d{1,2})/\\s*(\\d{1,2})"));
    static const QRegularExpression racePattern(QStringLiteral("^\\s*(\\d{1,2})R(\\s|$)"));
    requireShiftJis(bytes, fileName, QStringLiteral("競走成績"));
    const Refuse refuse = refuser(fileName, QStringLiteral("競走成績"));
    const std::vector<QByteArrayView> lines = splitLines(bytes);
    const int count = int(lines.size());
    ResultDay day;
    ResultCourse course;
    int firstLine = 0;
    std::vector<int> voidRaces;
    int lastRace = 0;

    auto readRace = [&](int i, int raceNo) {
        if (raceNo < 1 || raceNo > 12)
            refuse(i + 1, QStringLiteral("レース番号 %1 はありません（1～12）。").arg(raceNo));
        if (course.race(raceNo))
            refuse(i + 1, QStringLiteral("%1R が二度あります。").arg(raceNo));
        if (i + 2 >= count || !isDashes(lines[size_t(i + 2)]))
            refuse(i + 3, QStringLiteral("%1R の見出しの区切り線（-----）がありません。").arg(raceNo));
        ResultRace race;
        race.raceNo = raceNo;
        int j = i + 3;
        for (; j < count && looksLikeResult(lines[size_t(j)]); ++j) {
            const QByteArrayView line = lines[size_t(j)];
            if (line.size() != ResultLineLength)
                refuse(j + 1, QStringLiteral("%1R の成績の行が %2 バイトです（%3 バイトのはずです）。")
                                  .arg(raceNo).arg(line.size()).arg(ResultLineLength));
            if (!isFinishCode(line.sliced(2, 2)))
                refuse(j + 1, QStringLiteral("%1R の着順「%2」は読めません。").arg(raceNo).arg(DecodeCp932(line.sliced(2, 2))));
            if (line[6] < '1' || line[6] > '6' || !isDigits(line.sliced(8, 4)))
                refuse(j + 1, QStringLiteral("%1R の艇番か登番が数字ではありません。").arg(raceNo));
            if (race.finishes.size() == 6)
                refuse(j + 1, QStringLiteral("%1R の成績が 6 艇を超えています。").arg(raceNo));
            Finish finish;
            finish.code = QString::fromLatin1(line.sliced(2, 2).toByteArray()).trimmed();
            finish.boat = line[6] - '0';
            finish.toban = number(line.sliced(8, 4));
            finish.name = wideTrimmed(DecodeCp932(line.sliced(13, 16)));
            race.finishes.push_back(finish);
        }
        if (race.finishes.empty())
            refuse(i + 4, QStringLiteral("%1R の成績の行がありません。").arg(raceNo));
        course.races.push_back(std::move(race));
        lastRace = raceNo;
        return j;
    };

    walkSections(
        lines, 'K', refuse,
        [&](int code, int line) {
            course = ResultCourse();
            course.code = code;
            voidRaces.clear();
            lastRace = 0;
            if (!firstLine)
                firstLine = line;
        },
        [&](int i) {
            const QString text = DecodeCp932(lines[size_t(i)]);
            if (text.contains(kResultsPending))
                course.pending = true;
            takeDate(day.date, dateOf(datePattern, text), i + 1, refuse);
            const QRegularExpressionMatch head = racePattern.match(text);
            const int raceNo = head.hasMatch() ? head.captured(1).toInt() : 0;
            if (text.contains(QStringLiteral("レース不成立"))) {
                // In the payout summary with its race number, or under the race's results.
                voidRaces.push_back(raceNo ? raceNo : lastRace);
                return i + 1;
            }
            if (!raceNo)
                return i + 1;
            // A race's head is followed by the column heads ("着 艇 登番 ...");
            // the payout summary's lines are not.
            if (i + 1 < count && wideTrimmed(DecodeCp932(lines[size_t(i + 1)])).startsWith(QStringLiteral("着")))
                return readRace(i, raceNo);
            if (text.contains(QStringLiteral("中　止")))
                course.cancelled.push_back(raceNo);
            return i + 1;
        },
        [&] {
            for (ResultRace& r : course.races)
                r.isVoid = std::find(voidRaces.begin(), voidRaces.end(), r.raceNo) != voidRaces.end();
            day.courses.push_back(std::move(course));
        });

    for (const ResultCourse& c : day.courses)
        if (!c.races.empty() && !day.date.isValid())
            refuse(firstLine, QStringLiteral("日付（YYYY/MM/DD）がありません。"));
    return day;
}

ResultDay ReadResults(const QString& path) { return ParseResults(ReadDailyFileBytes(path, 'K'), QFileInfo(path).fileName()); }

}
