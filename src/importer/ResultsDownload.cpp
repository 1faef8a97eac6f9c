#include "ResultsDownload.h"

#include "Database.h"
#include "Download.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "OfficialFiles.h"
#include "ResultsImport.h"

#include <QApplication>
#include <QPointer>
#include <QStringList>

using OfficialFiles::Kind;
using OfficialFiles::Outcome;

QList<QDate> DaysWithoutResults(Database& db, const QDate& today, int limit)
{
    Statement select = db.prepare(QStringLiteral(
        "SELECT DISTINCT 調査年, 調査月, 調査日 FROM T_レース履歴 "
        "WHERE 結果1 = 0 AND 結果2 = 0 AND 結果3 = 0 AND 結果4 = 0 AND 結果5 = 0 AND 結果6 = 0 "
        "AND 着1 IS NULL AND 着2 IS NULL AND 着3 IS NULL AND 着4 IS NULL AND 着5 IS NULL AND 着6 IS NULL "
        "ORDER BY 調査年 DESC, 調査月 DESC, 調査日 DESC"));
    QList<QDate> days;
    while (days.size() < limit && select.step()) {
        const QDate day(select.value(0).toInt(), select.value(1).toInt(), select.value(2).toInt());
        if (day.isValid() && day <= today)
            days.prepend(day);
    }
    return days;
}

bool DownloadResults(QWidget* owner)
{
    QList<QDate> days;
    {
        Database db(Global().DataFolder);
        days = DaysWithoutResults(db, OfficialFiles::TodayInJapan(), MaxResultDays);
    }
    if (days.isEmpty()) {
        MsgBox(QStringLiteral("順位の入っていないレース履歴がありません。\r\n"));
        return false;
    }

    // Every day is fetched first; the tables are written only after that,
    // each day with its own question. Once the site cannot be reached, the
    // days left are read from their kept files only: each further request
    // would wait for the same fault.
    std::vector<Outcome> outcomes;
    std::vector<bool> notAsked;
    bool offline = false;
    {
        const QPointer<DownloadForm> form = new DownloadForm(owner);
        form->show();
        for (const QDate& day : days) {
            if (!form)
                return false;
            if (offline && !OfficialFiles::KeptIsCurrent(Kind::Results, day)) {
                outcomes.push_back(Outcome{});
                notAsked.push_back(true);
                continue;
            }
            form->setItem(QStringLiteral("%1（%2）　%3 / %4 日")
                             .arg(OfficialFiles::FileName(Kind::Results, day), OfficialFiles::DayText(day))
                             .arg(outcomes.size() + 1)
                             .arg(days.size()));
            QApplication::processEvents();
            outcomes.push_back(OfficialFiles::Fetch(Kind::Results, day, form->watch()));
            notAsked.push_back(false);
            if (outcomes.back().status == Outcome::Cancelled) {
                delete form.data();
                return false;
            }
            offline = offline || outcomes.back().unreachable;
        }
        delete form.data();
    }

    bool written = false;
    QStringList notRead;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome& outcome = outcomes[i];
        const QDate& day = days[qsizetype(i)];
        const QString text = OfficialFiles::OutcomeText(Kind::Results, day, outcome);
        if (outcome.status == Outcome::Ready) {
            // An older kept copy is read, and the user is told why.
            if (!text.isEmpty())
                MsgBox(text, Mb::OKOnly + OfficialFiles::OutcomeIcon(outcome));
            written = ReadResultsFrom(owner, outcome.path) || written;
        } else if (days.size() == 1) {
            if (!text.isEmpty())
                MsgBox(text, Mb::OKOnly + OfficialFiles::OutcomeIcon(outcome));
        } else if (notAsked[i]) {
            notRead << OfficialFiles::DayText(day) + QStringLiteral("：%1 はネットワークに接続できないため、ダウンロードしていません。")
                                                        .arg(OfficialFiles::FileName(Kind::Results, day));
        } else if (!text.isEmpty()) {
            // The first line says what, the second (of a failure) why.
            const QStringList lines = text.split(QStringLiteral("\r\n"));
            notRead << OfficialFiles::DayText(day) + QStringLiteral("：") + lines[0] +
                           (outcome.status == Outcome::Failed && lines.size() > 1 ? lines[1] : QString());
        }
    }
    if (!notRead.isEmpty())
        MsgBox(QStringLiteral("成績を読み込めなかった日があります。\r\n") + notRead.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"),
               Mb::OKOnly + Mb::Exclamation);
    return written;
}
