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
    // each day with its own question.
    std::vector<Outcome> outcomes;
    {
        const QPointer<DownloadForm> form = new DownloadForm(owner);
        form->show();
        for (const QDate& day : days) {
            if (!form)
                return false;
            form->setItem(QStringLiteral("%1（%2）　%3 / %4 日")
                             .arg(OfficialFiles::FileName(Kind::Results, day), OfficialFiles::DayText(day))
                             .arg(outcomes.size() + 1)
                             .arg(days.size()));
            QApplication::processEvents();
            outcomes.push_back(OfficialFiles::Fetch(Kind::Results, day, form->watch()));
            if (outcomes.back().status == Outcome::Cancelled) {
                delete form.data();
                return false;
            }
        }
        delete form.data();
    }

    bool written = false;
    QStringList notRead;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        const Outcome& outcome = outcomes[i];
        const QString text = OfficialFiles::OutcomeText(Kind::Results, days[qsizetype(i)], outcome);
        if (days.size() == 1 && !text.isEmpty())
            MsgBox(text, Mb::OKOnly + OfficialFiles::OutcomeIcon(outcome));
        else if (!text.isEmpty())
            notRead << OfficialFiles::DayText(days[qsizetype(i)]) + QStringLiteral("：") + text.section(QStringLiteral("\r\n"), 0, 0);
        if (outcome.status == Outcome::Ready)
            written = ReadResultsFrom(owner, outcome.path) || written;
    }
    if (!notRead.isEmpty())
        MsgBox(QStringLiteral("成績を読み込めなかった日があります。\r\n") + notRead.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"),
               Mb::OKOnly + Mb::Exclamation);
    return written;
}
