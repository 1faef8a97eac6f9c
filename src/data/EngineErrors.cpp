#include "EngineErrors.h"

#include <QHash>
#include <algorithm>
#include <sqlite3.h>

namespace {
// "%1" stands for the name; a description without a name drops " '%1' "
// ("データベース '%1' は" becomes "データベースは").
const QHash<int, QString>& descriptions()
{
    static const QHash<int, QString> texts = {
        {EngineError::Generic, QStringLiteral("データベースの操作を完了できませんでした。もう一度実行してください。")},
        {EngineError::NotReadyForUpdate, QStringLiteral("AddNew または Edit を実行せずに更新しようとしました。")},
        {EngineError::NoCurrentRecord, QStringLiteral("カレント レコードがありません。")},
        {EngineError::DuplicateKey,
         QStringLiteral("テーブルのインデックス、主キー、またはリレーションシップで重複する値が生成されるため、"
                        "テーブルへの変更は正常に行われませんでした。")},
        {EngineError::DiskFull, QStringLiteral("ディスクの空き容量が不足しています。")},
        {EngineError::ReadOnly, QStringLiteral("データベースまたはオブジェクトは読み取り専用なので、更新できません。")},
        {EngineError::CannotOpen,
         QStringLiteral("ファイル '%1' を開けません。ファイルがないか、ファイルを使用する権限がありません。")},
        {EngineError::ObjectNotFound, QStringLiteral("入力テーブルまたはクエリ '%1' が見つかりません。")},
        {EngineError::FieldTooSmall,
         QStringLiteral("フィールドが小さすぎて、追加しようとしたデータを格納できません。"
                        "挿入または貼り付けるデータの量を減らしてください。")},
        {EngineError::DatabaseExists, QStringLiteral("データベース '%1' は既に存在します。")},
        {EngineError::RecordDeleted, QStringLiteral("レコードは削除されています。")},
        {EngineError::ItemNotFound, QStringLiteral("このコレクションにアイテム '%1' が見つかりません。")},
        {EngineError::NullNotAllowed,
         QStringLiteral("フィールド '%1' には値が必要です。このフィールドに値を入力してください。")},
        {EngineError::UnrecognizedFormat, QStringLiteral("データベース形式 '%1' を認識できません。")},
        {EngineError::FieldOverflow, QStringLiteral("数値フィールドでオーバーフローが発生しました。")},
        {EngineError::OpenedExclusively,
         QStringLiteral("データベース '%1' は他のプログラムが排他的に開いています。"
                        "データベースが使用できるようになってから、もう一度実行してください。")},
        {EngineError::ObjectInvalid, QStringLiteral("オブジェクトが無効か、設定されていません。")},
    };
    return texts;
}

// The table and field that a failed constraint names ("T_選手.名前").
QString constrainedColumn(sqlite3* db)
{
    const QString message = QString::fromUtf8(sqlite3_errmsg(db));
    const qsizetype colon = message.lastIndexOf(QStringLiteral(": "));
    return colon < 0 ? QString() : message.mid(colon + 2).section(QLatin1Char(','), 0, 0).trimmed();
}
}

const std::vector<int>& EngineError::Numbers()
{
    static const std::vector<int> numbers = [] {
        std::vector<int> all;
        for (auto it = descriptions().cbegin(); it != descriptions().cend(); ++it)
            all.push_back(it.key());
        std::sort(all.begin(), all.end());
        return all;
    }();
    return numbers;
}

QString EngineDescription(int number, const QString& name)
{
    const QString text = descriptions().value(number, descriptions().value(EngineError::Generic));
    if (name.isEmpty())
        return QString(text).remove(QStringLiteral(" '%1' "));
    return QString(text).replace(QStringLiteral("%1"), name);
}

int EngineNumberFor(int code)
{
    switch (code) {
    case SQLITE_CONSTRAINT_PRIMARYKEY:
    case SQLITE_CONSTRAINT_UNIQUE:
        return EngineError::DuplicateKey;
    case SQLITE_CONSTRAINT_NOTNULL:
        return EngineError::NullNotAllowed;
    case SQLITE_CONSTRAINT_CHECK:
    // A number that is no whole number of the key's range, in a key column.
    case SQLITE_MISMATCH:
        return EngineError::FieldOverflow;
    default:
        break;
    }
    switch (code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return EngineError::OpenedExclusively;
    case SQLITE_FULL:
        return EngineError::DiskFull;
    case SQLITE_READONLY:
        return EngineError::ReadOnly;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return EngineError::CannotOpen;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return EngineError::UnrecognizedFormat;
    case SQLITE_TOOBIG:
        return EngineError::FieldTooSmall;
    default:
        return EngineError::Generic;
    }
}

void RaiseSqlite(sqlite3* db, int rc, const QString& source, const QString& name)
{
    const int code = db ? sqlite3_extended_errcode(db) : rc;
    int number = EngineNumberFor(code);
    QString subject = name;
    // A text longer than its column fails the check the schema names 長さ_<column>.
    const QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
    if (code == SQLITE_CONSTRAINT_CHECK && message.contains(QStringLiteral("constraint failed: 長さ_"))) {
        number = EngineError::FieldTooSmall;
        subject = message.section(QStringLiteral("長さ_"), 1).trimmed();
    }
    if (number == EngineError::NullNotAllowed && db)
        subject = constrainedColumn(db);
    throw RuntimeError(number, source, EngineDescription(number, subject));
}
