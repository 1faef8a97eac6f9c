#include "Recordset.h"

#include "Database.h"
#include "EngineErrors.h"

#include <QSet>

namespace {
const QString kSource = QStringLiteral("Recordset");

// Stale rows re-read together: a scan after a change costs one query for
// each chunk of rows, not one for each row.
constexpr int kRefreshChunk = 256;

// Stored queries that take changes, and the column that identifies a row.
QString viewKeyColumn(const QString& view)
{
    if (view == QStringLiteral("Q_選手") || view == QStringLiteral("Q_選手抽出"))
        return QStringLiteral("選手ID");
    return QString();
}

QString quoted(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// An engine error with the engine's own description; `name` is the table
// or field it speaks of.
[[noreturn]] void raiseEngine(int number, const QString& name = QString())
{
    throw RuntimeError(number, kSource, EngineDescription(number, name));
}

// The rows of a source with their key first: a view carries its own `_key`,
// a table's key is its rowid. `tail` orders or picks rows.
QString rowQuery(const QString& source, bool isView, const QString& tail)
{
    return (isView ? QStringLiteral("SELECT * FROM %1 ") : QStringLiteral("SELECT rowid AS _key, * FROM %1 "))
               .arg(quoted(source)) + tail;
}

// Where a query puts its `_key` column; -1 when it has none.
int keyIndexOf(const Statement& select)
{
    for (int c = 0; c < select.columnCount(); ++c)
        if (select.columnName(c) == QLatin1String("_key"))
            return c;
    return -1;
}

// The fetched row, its key apart from its values.
Recordset::Row fetchRow(const Statement& select, int keyIndex, int width)
{
    Recordset::Row row;
    row.values.reserve(size_t(width));
    for (int c = 0; c < select.columnCount(); ++c) {
        if (c == keyIndex)
            row.key = select.value(c);
        else
            row.values.push_back(select.value(c));
    }
    return row;
}
}

Recordset::Recordset(Database& db, const QString& source)
    : db_(&db), source_(source)
{
    auto cached = std::static_pointer_cast<Data>(db.cachedRows(source));
    data_ = cached ? cached : load(db, source);
    if (!cached)
        db.cacheRows(source, data_);
    live_ = int(data_->rows.size());
    pos_ = 0;
}

std::shared_ptr<Recordset::Data> Recordset::load(Database& db, const QString& source)
{
    auto data = std::make_shared<Data>();
    Statement kind = db.prepare(QStringLiteral("SELECT type FROM sqlite_master WHERE name = ?1 AND type IN ('table','view')"));
    kind.bind(1, source);
    if (!kind.step())
        raiseEngine(EngineError::ObjectNotFound, source);
    data->isView = kind.value(0).toString() == QLatin1String("view");

    if (data->isView) {
        data->keyColumn = viewKeyColumn(source);
        data->writable = !data->keyColumn.isEmpty();
    } else {
        // A single INTEGER PRIMARY KEY column is the rowid itself.
        Statement info = db.prepare(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?1)"));
        info.bind(1, source);
        int pkCount = 0;
        QString pkName;
        bool integer = false;
        while (info.step()) {
            if (info.value(2).toInt() > 0) {
                ++pkCount;
                pkName = info.value(0).toString();
                integer = info.value(1).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
            }
        }
        if (pkCount == 1 && integer)
            data->keyColumn = pkName;
    }

    Statement select = db.prepare(rowQuery(source, data->isView, data->isView ? QString() : QStringLiteral("ORDER BY rowid")));
    const int keyIndex = keyIndexOf(select);
    for (int c = 0; c < select.columnCount(); ++c) {
        if (c == keyIndex)
            continue;
        data->index.insert(select.columnName(c), int(data->columns.size()));
        data->columns << select.columnName(c);
    }
    data->keyed = keyIndex >= 0;
    data->seen = db.changeStamp(true);
    while (select.step())
        data->rows.push_back(fetchRow(select, keyIndex, int(data->columns.size())));
    return data;
}

void Recordset::detach()
{
    if (data_.use_count() > 1)
        data_ = std::make_shared<Data>(*data_);
}

QString Recordset::keyExpression() const
{
    return data_->isView ? QStringLiteral("_key") : QStringLiteral("rowid");
}

void Recordset::requireOpen() const
{
    if (!open_)
        raiseEngine(EngineError::ObjectInvalid);
}

bool Recordset::eof() const
{
    requireOpen();
    return live_ == 0 || pos_ >= int(data_->rows.size());
}

bool Recordset::bof() const
{
    requireOpen();
    return live_ == 0 || pos_ < 0;
}

int Recordset::RecordCount() const
{
    requireOpen();
    return live_;
}

int Recordset::AbsolutePosition() const
{
    if (bof() || eof())
        return -1;
    int n = 0;
    for (int i = 0; i < pos_; ++i)
        n += data_->rows[i].deleted ? 0 : 1;
    return n;
}

int Recordset::nextLive(int from, int step) const
{
    int i = from;
    while (i >= 0 && i < int(data_->rows.size()) && data_->rows[i].deleted)
        i += step;
    return i;
}

void Recordset::MoveFirst()
{
    requireOpen();
    if (live_ == 0)
        raiseEngine(EngineError::NoCurrentRecord);
    pos_ = nextLive(0, 1);
}

void Recordset::MoveLast()
{
    requireOpen();
    if (live_ == 0)
        raiseEngine(EngineError::NoCurrentRecord);
    pos_ = nextLive(int(data_->rows.size()) - 1, -1);
}

void Recordset::MoveNext()
{
    if (eof())
        raiseEngine(EngineError::NoCurrentRecord);
    pos_ = nextLive(pos_ + 1, 1);
    if (pos_ > int(data_->rows.size()))
        pos_ = int(data_->rows.size());
}

void Recordset::MovePrevious()
{
    if (bof())
        raiseEngine(EngineError::NoCurrentRecord);
    pos_ = nextLive(pos_ - 1, -1);
    if (pos_ < -1)
        pos_ = -1;
}

void Recordset::find(int from, const QString& column, qint64 value)
{
    const int c = fieldIndex(column);
    Data& data = *data_;
    if (data.keyed && data.freshEpoch != data.epochAt(db_->changeStamp())) {
        // Values changed since the rows were read: the database says which
        // of them match now.
        Statement select = db_->prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?1")
                                            .arg(keyExpression(), quoted(source_), quoted(column)));
        select.bind(1, value);
        QSet<qint64> keys;
        while (select.step())
            keys.insert(select.value(0).toLongLong());
        for (int i = std::max(from, 0); i < int(data.rows.size()); ++i) {
            if (!data.rows[i].deleted && keys.contains(data.rows[i].key.toLongLong())) {
                pos_ = i;
                noMatch_ = false;
                return;
            }
        }
        noMatch_ = true;
        return;
    }
    for (int i = std::max(from, 0); i < int(data.rows.size()); ++i) {
        const Row& row = data.rows[i];
        if (row.deleted || row.gone)
            continue;
        const QVariant& v = row.values[c];
        if (v.isNull())
            continue;
        bool ok = false;
        const double number = v.toDouble(&ok);
        if (ok && number == double(value)) {
            pos_ = i;
            noMatch_ = false;
            return;
        }
    }
    noMatch_ = true;
}

void Recordset::FindFirst(const QString& column, qint64 value)
{
    requireOpen();
    find(0, column, value);
}

bool Recordset::DeletedElsewhere(qint64 key) const
{
    requireOpen();
    for (const Row& row : data_->rows) {
        if (!row.deleted && row.key.toLongLong() == key) {
            Row stored;
            return data_->keyed && !readRow(row.key, &stored);
        }
    }
    return false;
}

int Recordset::fieldIndex(const QString& name) const
{
    requireOpen();
    const auto it = data_->index.constFind(name);
    if (it == data_->index.constEnd())
        raiseEngine(EngineError::ItemNotFound, name);
    return it.value();
}

void Recordset::requireCurrent() const
{
    if (bof() || eof())
        raiseEngine(EngineError::NoCurrentRecord);
    if (data_->rows[pos_].deleted)
        raiseEngine(EngineError::RecordDeleted);
}

const Recordset::Row& Recordset::current() const
{
    requireCurrent();
    refresh(pos_);
    const Row& row = data_->rows[pos_];
    if (row.gone)
        raiseEngine(EngineError::RecordDeleted);
    return row;
}

void Recordset::refresh(int i) const
{
    Data& data = *data_;
    if (!data.keyed)
        return;  // a query without row keys is read once, when it opens
    const quint32 now = data.epochAt(db_->changeStamp());
    if (data.rows[i].epoch == now)
        return;
    QHash<qint64, int> stale;
    qint64 low = 0;
    qint64 high = 0;
    const int end = std::min(int(data.rows.size()), i + kRefreshChunk);
    for (int j = i; j < end; ++j) {
        if (data.rows[j].epoch == now)
            continue;
        const qint64 key = data.rows[j].key.toLongLong();
        low = stale.isEmpty() ? key : std::min(low, key);
        high = stale.isEmpty() ? key : std::max(high, key);
        stale.insert(key, j);
    }
    Statement select = db_->prepare(rowQuery(source_, data.isView, QStringLiteral("WHERE %1 BETWEEN ?1 AND ?2").arg(keyExpression())));
    select.bind(1, low);
    select.bind(2, high);
    const int keyIndex = keyIndexOf(select);
    while (select.step()) {
        const auto it = stale.constFind(select.value(keyIndex).toLongLong());
        if (it == stale.constEnd())
            continue;
        Row& row = data.rows[it.value()];
        row.values = fetchRow(select, keyIndex, int(data.columns.size())).values;
        row.gone = false;
        row.epoch = now;
        ++data.refreshed;
        stale.erase(it);
    }
    // Whatever the database no longer has was deleted elsewhere.
    for (const int j : std::as_const(stale)) {
        data.rows[j].gone = true;
        data.rows[j].epoch = now;
        ++data.refreshed;
    }
    if (data.refreshed == data.rows.size())
        data.freshEpoch = now;
}

QVariant Recordset::field(int index) const
{
    requireOpen();
    if (index < 0 || index >= int(data_->columns.size()))
        raiseEngine(EngineError::ItemNotFound);
    if (mode_ != Mode::None)
        return buffer_[index];
    return current().values[index];
}

void Recordset::requireWritable() const
{
    requireOpen();
    if (!data_->writable)
        raiseEngine(EngineError::ReadOnly);
}

void Recordset::AddNew()
{
    requireWritable();
    mode_ = Mode::Adding;
    buffer_.assign(data_->columns.size(), QVariant());
    dirty_.assign(data_->columns.size(), false);
}

void Recordset::Edit()
{
    requireWritable();
    const Row& row = current();
    mode_ = Mode::Editing;
    buffer_ = row.values;
    dirty_.assign(data_->columns.size(), false);
}

void Recordset::setField(const QString& name, const QVariant& value)
{
    const int c = fieldIndex(name);
    if (mode_ == Mode::None)
        raiseEngine(EngineError::NotReadyForUpdate);
    buffer_[c] = value;
    dirty_[c] = true;
}

void Recordset::CancelUpdate()
{
    mode_ = Mode::None;
    buffer_.clear();
    dirty_.clear();
}

bool Recordset::readRow(const QVariant& key, Row* row) const
{
    Statement select = db_->prepare(rowQuery(source_, data_->isView, QStringLiteral("WHERE ") + keyExpression() + QStringLiteral(" = ?1")));
    select.bind(1, key);
    if (!select.step())
        return false;
    *row = fetchRow(select, keyIndexOf(select), int(data_->columns.size()));
    return true;
}

void Recordset::Update()
{
    requireOpen();
    if (mode_ == Mode::None)
        raiseEngine(EngineError::NotReadyForUpdate);

    detach();
    QStringList names;
    std::vector<QVariant> values;
    for (int c = 0; c < int(data_->columns.size()); ++c) {
        if (dirty_[c]) {
            names << quoted(data_->columns[c]);
            values.push_back(buffer_[c]);
        }
    }
    const int keyCol = data_->keyColumn.isEmpty() ? -1 : data_->index.value(data_->keyColumn, -1);

    if (mode_ == Mode::Adding) {
        QString sql;
        if (names.isEmpty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(source_));
        } else {
            QStringList marks;
            for (int i = 1; i <= names.size(); ++i)
                marks << QStringLiteral("?%1").arg(i);
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoted(source_), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        }
        Statement insert = db_->prepare(sql);
        for (int i = 0; i < int(values.size()); ++i)
            insert.bind(i + 1, values[i]);
        insert.step();

        Row row;
        const QVariant key = data_->isView ? (keyCol >= 0 ? buffer_[keyCol] : QVariant())
                                     : QVariant(db_->lastInsertRowId());
        if (!readRow(key, &row)) {
            row.key = key;
            row.values = buffer_;
        }
        row.epoch = data_->epochAt(db_->changeStamp());
        const bool atEnd = pos_ >= int(data_->rows.size());
        data_->rows.push_back(std::move(row));
        ++live_;
        if (atEnd)
            pos_ = int(data_->rows.size());
    } else {
        Row& row = data_->rows[pos_];
        if (!names.isEmpty()) {
            QStringList sets;
            for (int i = 0; i < names.size(); ++i)
                sets << QStringLiteral("%1 = ?%2").arg(names[i]).arg(i + 1);
            Statement update = db_->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?%4")
                                                .arg(quoted(source_), sets.join(QLatin1Char(',')), keyExpression())
                                                .arg(names.size() + 1));
            int i = 0;
            for (; i < int(values.size()); ++i)
                update.bind(i + 1, values[i]);
            update.bind(i + 1, row.key);
            update.step();
            if (!data_->isView && db_->changes() == 0) {
                CancelUpdate();
                raiseEngine(EngineError::RecordDeleted);
            }
        }
        const QVariant key = keyCol >= 0 ? buffer_[keyCol] : row.key;
        Row fresh;
        if (readRow(key, &fresh))
            row = std::move(fresh);
        else
            row.values = buffer_;
        row.epoch = data_->epochAt(db_->changeStamp());
    }
    CancelUpdate();
}

void Recordset::Delete()
{
    requireWritable();
    requireCurrent();
    detach();
    Row& row = data_->rows[pos_];
    Statement remove = db_->prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?1").arg(quoted(source_), keyExpression()));
    remove.bind(1, row.key);
    remove.step();
    if (!data_->isView && db_->changes() == 0)
        raiseEngine(EngineError::RecordDeleted);
    row.deleted = true;
    --live_;
}

void Recordset::Close()
{
    open_ = false;
    data_ = std::make_shared<Data>();
    live_ = 0;
    CancelUpdate();
}
