#pragma once

#include "Database.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

// An updatable result set over a table or stored query, opened by name: a
// dynaset. Its set of rows is fixed when it opens, in the source's order;
// rows added elsewhere appear only in a recordset opened afterwards. A row's
// values are those stored when the row is read: a change made through another
// recordset, window or program is seen, and a row deleted elsewhere reads as
// 3167. Values are kept in memory with the change stamp they were read at and
// re-read only when the database has changed since. AddNew/Edit/Update/Delete
// write through to the database at once. Errors are the engine's run-time
// errors (3021 no current record, 3022 duplicate key, 3167 record deleted,
// 3265 unknown field).
class Recordset {
public:
    Recordset(Database& db, const QString& source);

    const QString& source() const { return source_; }
    bool isOpen() const { return open_; }

    bool eof() const;
    bool bof() const;
    int RecordCount() const;
    // 0-based position of the current record among the live ones; -1 at BOF/EOF.
    int AbsolutePosition() const;

    void MoveFirst();
    void MoveNext();
    void MovePrevious();
    void MoveLast();

    // Finds the first record whose column equals the number. On no match
    // NoMatch() is true and the position is unchanged.
    void FindFirst(const QString& column, qint64 value);
    bool NoMatch() const { return noMatch_; }
    // Whether the set holds a row with this key that was deleted elsewhere
    // (the row a search no longer finds reads as 3167, not as a key the set
    // never had).
    bool DeletedElsewhere(qint64 key) const;

    int fieldIndex(const QString& name) const;
    QVariant field(const QString& name) const { return field(fieldIndex(name)); }
    QVariant field(int index) const;
    const QStringList& fieldNames() const { return data_->columns; }

    void AddNew();
    void Edit();
    void setField(const QString& name, const QVariant& value);
    void Update();
    void CancelUpdate();
    void Delete();
    void Close();

    // The rows and columns of an opened source. Opening the same source again
    // on the same database shares them while the database is unchanged.
    struct Row {
        QVariant key;
        std::vector<QVariant> values;
        bool deleted = false;    // through this recordset
        bool gone = false;       // elsewhere, as found when the row was re-read
        quint32 epoch = 0;       // of the data, when the values were read
    };
    struct Data {
        bool isView = false;
        bool writable = true;
        bool keyed = true;   // rows carry a key to re-read them by
        QString keyColumn;   // a real column that equals the row key, if any
        QStringList columns;
        QHash<QString, int> index;
        std::vector<Row> rows;
        // The database's change stamp as last seen, counted in epochs: a row
        // is current when it was read in the present epoch.
        Database::Stamp seen;
        quint32 epoch = 0;
        quint32 freshEpoch = 0;  // every row was read in this epoch
        size_t refreshed = 0;    // rows read in the present epoch
        quint32 epochAt(const Database::Stamp& now)
        {
            if (!(now == seen)) {
                seen = now;
                ++epoch;
                refreshed = 0;
            }
            return epoch;
        }
    };

private:
    enum class Mode { None, Editing, Adding };
    static std::shared_ptr<Data> load(Database& db, const QString& source);
    // Gives this recordset its own rows before it changes them.
    void detach();

    void requireOpen() const;
    void requireCurrent() const;
    void requireWritable() const;
    // The current row with its stored values; 3167 when it is gone.
    const Row& current() const;
    // Re-reads row i, and the stale rows after it, when the database has
    // changed since they were read.
    void refresh(int i) const;
    bool readRow(const QVariant& key, Row* row) const;
    void find(int from, const QString& column, qint64 value);
    int nextLive(int from, int step) const;
    QString keyExpression() const;

    Database* db_;
    QString source_;
    bool open_ = true;
    std::shared_ptr<Data> data_;
    int live_ = 0;
    int pos_ = 0;
    bool noMatch_ = false;
    Mode mode_ = Mode::None;
    std::vector<QVariant> buffer_;
    std::vector<bool> dirty_;
};
