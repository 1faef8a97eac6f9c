#include "ResultsImport.h"

#include "DailyFiles.h"
#include "Database.h"
#include "DayRaces.h"
#include "FileDialog.h"
#include "GlobalModule.h"
#include "MsgBox.h"

#include <QFileInfo>

namespace {
QString dayText(const QDate& date) { return QStringLiteral("%1年%2月%3日").arg(date.year()).arg(date.month()).arg(date.day()); }

QString summary(const DayRaces::ResultsPlan& plan, bool done)
{
    QString text = QStringLiteral("順位を入れ%1レース：%2 件（順位 %3 席、F・L・K・S など %4 席）\r\n")
                       .arg(done ? QStringLiteral("た") : QStringLiteral("る"))
                       .arg(plan.races)
                       .arg(plan.positions)
                       .arg(plan.codes);
    text += QStringLiteral("成績のないレース（中止・未実施・ファイルにない場）：%1 件\r\n").arg(plan.withoutResult);
    if (plan.unmatchedSeats > 0)
        text += QStringLiteral("成績に登番のない席：%1 席\r\n").arg(plan.unmatchedSeats);
    return text;
}
}

bool ReadResultsFile(QWidget* owner)
{
    const QString path = ChooseOpenFile(owner, QStringLiteral("競走成績のファイル"), QStringLiteral("競走成績"),
                                        QStringLiteral("競走成績 (k*.txt K*.TXT k*.lzh K*.LZH);;すべてのファイル (*)"));
    if (path.isEmpty())
        return false;
    return ReadResultsFrom(owner, path);
}

bool ReadResultsFrom(QWidget*, const QString& path)
{
    const DailyFiles::ResultDay day = DailyFiles::ReadResults(path);
    if (!day.date.isValid()) {
        MsgBox(QStringLiteral("%1 にはまだ成績がありません。\r\n").arg(QFileInfo(path).fileName()));
        return false;
    }
    Database db(Global().DataFolder);
    const DayRaces::ResultsPlan plan = DayRaces::PlanResults(db, day);
    if (plan.storedRaces == 0) {
        MsgBox(QStringLiteral("%1のレース履歴がありません。\r\n").arg(dayText(day.date)));
        return false;
    }
    if (plan.races == 0) {
        MsgBox(QStringLiteral("%1の成績を入れられるレース履歴がありません。\r\n").arg(dayText(day.date)) + summary(plan, false));
        return false;
    }
    QString question = QStringLiteral("%1の成績を読み込みます。\r\n").arg(dayText(day.date)) + summary(plan, false);
    if (plan.changedEntered > 0)
        question += QStringLiteral("入力済みの順位が %1 席で変わります。\r\n").arg(plan.changedEntered);
    question += QStringLiteral("履歴テーブルを更新しますか。\r\n");
    if (MsgBox(question, Mb::Confirm, QStringLiteral("履歴テーブル更新")) != Mb::Yes)
        return false;
    DayRaces::ApplyResults(db, plan);
    MsgBox(QStringLiteral("%1の成績を読み込みました。\r\n").arg(dayText(day.date)) + summary(plan, true));
    return true;
}
