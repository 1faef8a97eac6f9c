#pragma once

#include <QFrame>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class Database;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class Recordset;

// One line of the result list, as the selection slots take it over.
struct ListRow {
    QString shozokuMei;   // 6 characters, padded
    int16_t sensyuId = 0;
    QString namae;        // 22 characters, padded
    int16_t ki = 0;
    int16_t seiNen = 0;
    int16_t seiTuki = 0;
    int16_t seiHi = 0;
    QString bladType;
    int16_t syoritu = 0;  // win rate x 100
    int16_t fukuritu = 0; // place rate x 10
};

// The columns of a racer recordset (Q_選手 or Q_選手抽出) that the searches read.
struct RacerFields {
    int shozokuId, shozokuMei, sensyuId, ki, namae, toban, yomiganaId, seiNen, seiTuki, seiHi, bladType, syoritu,
        fukuritu;
    static RacerFields of(const Recordset& rs);
};

// The result-list line of the racer recordset's current record; its data go
// to `row`, as the selection slots take them over.
QString List_Add(const Recordset& rs, const RacerFields& f, ListRow& row, bool fullRow = true);

// The racer search panel: prefecture map, term and registration-number
// drop-downs, kana grid, list-all button, the AND box, and the result list
// with its row table. It is the frame `PictureWaku` of its window; the result
// list and its header are placed on the window itself.
class SearchPanel : public QFrame {
    Q_OBJECT
public:
    static constexpr int MaxLines = 501;

    enum class Kind { Prefecture = 0, Number = 1, Term = 2, Kana = 3, ListAll = 4 };

    struct Options {
        // Reopen the search recordset before every search (else only the
        // prefecture and list-all searches do).
        bool reopenBeforeEverySearch = false;
        // The term search's no-match message carries the two keys.
        bool termNoMatchShowsKeys = true;
        // Each line's racer data goes to the row table; else only its
        // registration number does (nothing there to overflow).
        bool fullRows = true;
        int listHeight = 280;
    };

    SearchPanel(QWidget* window, Database& db, Options options);
    ~SearchPanel() override;

    // Reopens the search recordset for the current ExtractMode, and lets the
    // window reopen its own recordsets (onTableChange).
    void Table_Change();
    std::function<void()> onTableChange;
    // Told before each search: its kind and key.
    std::function<void(Kind, int)> onSearch;

    Recordset& recordset() { return *recordset_; }
    // Refills the term and registration-number drop-downs.
    void fillDropDowns();

    void Kenmei_Click(int index);
    void ComboKi_Click();
    void ComboToban_Click();
    void ComboNamae_Click(int index);
    void Command500_Click();

    // The panel's controls in reading order: the map, the AND box, the
    // drop-downs and list-all, the kana grid. The window puts them into its
    // own Tab chain.
    QList<QWidget*> TabStops() const;
    QListWidget* list() const { return List1; }
    QString ComboTobanText() const;
    QString ComboKiText() const;
    const ListRow& row(int line) const { return W_ListData[size_t(line)]; }
    int16_t W_KenNo = 0;
    int16_t W_KI = 0;
    int16_t W_Toban = 0;

    QCheckBox* CheckSelect;
    std::array<QWidget*, 3> PicNo{};

private:
    struct Search {
        Kind kind;
        const char* overflowMessage;
        QString noMatchMessage;
    };
    // Lists every record from `start` to the end that meets `matches`.
    void scan(const Search& search, const std::function<bool()>& findStart, const std::function<bool(int)>& matches);
    void addLine(int row, QStringList& lines);
    void cacheFieldIndexes();

    Database& db_;
    Options options_;
    std::unique_ptr<Recordset> recordset_;
    std::array<QPushButton*, 48> Kenmei{};
    std::array<QPushButton*, 50> ComboNamae{};
    QComboBox* ComboKi;
    QComboBox* ComboToban;
    QPushButton* Command500;
    QLabel* LabelHyouji;
    QListWidget* List1;
    std::vector<ListRow> W_ListData;
    RacerFields f_{};
};
