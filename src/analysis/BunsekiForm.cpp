#include "BunsekiForm.h"

#include "AnalysisReport.h"
#include "Basic.h"
#include "CharPrinter.h"
#include "Database.h"
#include "ErrorReport.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MsgBox.h"
#include "RateChart.h"
#include "Recordset.h"
#include "Rhythm.h"
#include "FileDialog.h"
#include "WholeFile.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

using Basic::CStr;
using Basic::Trim;

namespace {
const QString kNoRecord = QStringLiteral("該当レコードがありません");

// Day numbers and calendar days differ by a constant for every date the
// day numbers count correctly (1 March 1900 to 28 February 2100); outside
// that the two conversions below still undo each other.
qint64 julianOffset()
{
    static const qint64 offset = QDate(2000, 3, 1).toJulianDay() - qint64(DayNumber(2000, 3, 1));
    return offset;
}

QString dateText(const QDate& date) { return date.toString(QStringLiteral("yyyy.M.d")); }
}

QDate BunsekiForm::DateOf(double dayNumber) { return QDate::fromJulianDay(qint64(dayNumber) + julianOffset()); }

double BunsekiForm::DayNumberOf(const QDate& date) { return double(date.toJulianDay() - julianOffset()); }

BunsekiForm::BunsekiForm() : QWidget(Forms::find(QStringLiteral("RirekiForm")), Qt::Window)
{
    setObjectName(QStringLiteral("BunsekiForm"));
    setWindowTitle(QStringLiteral("成績分析"));

    auto* filters = new QHBoxLayout;
    auto* dateCaption = new QLabel(QStringLiteral("調査日"), this);
    DateFrom = new QDateEdit(this);
    DateFrom->setObjectName(QStringLiteral("DateFrom"));
    auto* dash = new QLabel(QStringLiteral("～"), this);
    DateTo = new QDateEdit(this);
    DateTo->setObjectName(QStringLiteral("DateTo"));
    for (QDateEdit* edit : {DateFrom, DateTo}) {
        edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
        edit->setCalendarPopup(true);
    }
    auto* courseCaption = new QLabel(QStringLiteral("競艇場"), this);
    ComboKyoteijyo = new QComboBox(this);
    ComboKyoteijyo->setObjectName(QStringLiteral("ComboKyoteijyo"));
    ComboKyoteijyo->setMinimumContentsLength(6);
    auto* print = new QPushButton(QStringLiteral("印刷"), this);
    print->setObjectName(QStringLiteral("CommandPrint"));
    auto* csv = new QPushButton(QStringLiteral("CSV保存"), this);
    csv->setObjectName(QStringLiteral("CommandCsv"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    close->setObjectName(QStringLiteral("CommandClose"));
    filters->addWidget(dateCaption);
    filters->addWidget(DateFrom);
    filters->addWidget(dash);
    filters->addWidget(DateTo);
    filters->addSpacing(16);
    filters->addWidget(courseCaption);
    filters->addWidget(ComboKyoteijyo);
    filters->addStretch();
    filters->addWidget(print);
    filters->addWidget(csv);
    filters->addWidget(close);

    TableBunseki = new QTableWidget(AnalysisTable::RowCount, 10, this);
    TableBunseki->setObjectName(QStringLiteral("TableBunseki"));
    TableBunseki->setHorizontalHeaderLabels({QStringLiteral("区分"), QStringLiteral("状態"), QStringLiteral("出走"),
                                             QStringLiteral("1着率(%)"), QStringLiteral("95%区間"),
                                             QStringLiteral("2連対率(%)"), QStringLiteral("95%区間"),
                                             QStringLiteral("3連対率(%)"), QStringLiteral("95%区間"),
                                             QStringLiteral("平均着順")});
    TableBunseki->verticalHeader()->hide();
    TableBunseki->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableBunseki->setSelectionMode(QAbstractItemView::NoSelection);
    TableBunseki->setFocusPolicy(Qt::NoFocus);
    TableBunseki->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TableBunseki->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PictureGraph = new RateChart(this);
    PictureGraph->setObjectName(QStringLiteral("PictureGraph"));
    auto* body = new QHBoxLayout;
    body->addWidget(TableBunseki);
    body->addWidget(PictureGraph, 1);

    LabelGaitou = new QLabel(kNoRecord, this);
    LabelGaitou->setObjectName(QStringLiteral("LabelGaitou"));
    LabelGaitou->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    LabelGaitou->hide();
    LabelJogai = new QLabel(this);
    LabelJogai->setObjectName(QStringLiteral("LabelJogai"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(body, 1);
    layout->addWidget(LabelGaitou);
    layout->addWidget(LabelJogai);

    connect(print, &QPushButton::clicked, this, [this] { Guarded([this] { CommandPrint_Click(); }); });
    connect(csv, &QPushButton::clicked, this, [this] { Guarded([this] { CommandCsv_Click(); }); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    // Fill the table once so that its size is known before the window is.
    table_ = Analyse({}, {});
    showTable();
    TableBunseki->resizeColumnsToContents();
    int tableWidth = 2 * TableBunseki->frameWidth();
    for (int c = 0; c < TableBunseki->columnCount(); ++c) {
        TableBunseki->setColumnWidth(c, std::max(TableBunseki->columnWidth(c), c == 0 ? 110 : 72));
        tableWidth += TableBunseki->columnWidth(c);
    }
    TableBunseki->setFixedWidth(tableWidth);
    TableBunseki->setMinimumHeight(TableBunseki->horizontalHeader()->sizeHint().height() +
                                   AnalysisTable::RowCount * TableBunseki->rowHeight(0) + 2 * TableBunseki->frameWidth());

    Guarded([this] {
        db_ = std::make_unique<Database>(Global().DataFolder);
        loadCourses();
        loadRaces();
    });
    connect(DateFrom, &QDateEdit::dateChanged, this, [this] { Guarded([this] { Filter_Change(); }); });
    connect(DateTo, &QDateEdit::dateChanged, this, [this] { Guarded([this] { Filter_Change(); }); });
    connect(ComboKyoteijyo, &QComboBox::currentIndexChanged, this, [this] { Guarded([this] { Filter_Change(); }); });
    Guarded([this] { Filter_Change(); });

    resize(sizeHint());
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

BunsekiForm::~BunsekiForm() = default;

void BunsekiForm::loadCourses()
{
    ComboKyoteijyo->addItem(QStringLiteral("全競艇場"));
    Recordset courses(*db_, QStringLiteral("T_競艇場"));
    for (courses.MoveFirst(); !courses.eof(); courses.MoveNext())
        ComboKyoteijyo->addItem(Trim(courses.field(QStringLiteral("競艇場名")).toString()),
                                courses.field(QStringLiteral("競艇場ID")).toInt());
}

qint64 BunsekiForm::dataVersion() const
{
    Statement version = db_->prepare(QStringLiteral("PRAGMA data_version"));
    return version.step() ? version.value(0).toLongLong() : -1;
}

void BunsekiForm::loadRaces()
{
    loadedVersion_ = dataVersion();
    races_ = LoadStoredRaces(*db_);
    QDate first, last;
    if (!races_.empty()) {
        const auto [low, high] = std::minmax_element(races_.begin(), races_.end(), [](const StoredRace& a, const StoredRace& b) {
            return DayNumber(a.year, a.month, a.day) < DayNumber(b.year, b.month, b.day);
        });
        first = DateOf(DayNumber(low->year, low->month, low->day));
        last = DateOf(DayNumber(high->year, high->month, high->day));
    } else {
        first = last = QDate::currentDate();
    }
    // Bounds the user set stay; bounds still on the stored range follow it.
    const QSignalBlocker blockFrom(DateFrom);
    const QSignalBlocker blockTo(DateTo);
    if (!firstDate_.isValid() || DateFrom->date() == firstDate_)
        DateFrom->setDate(first);
    if (!lastDate_.isValid() || DateTo->date() == lastDate_)
        DateTo->setDate(last);
    firstDate_ = first;
    lastDate_ = last;
}

bool BunsekiForm::event(QEvent* e)
{
    // Positions entered in the history window while this window is open
    // count as soon as the user comes back to it.
    if (e->type() == QEvent::WindowActivate && db_ && loadedVersion_ >= 0)
        Guarded([this] {
            if (dataVersion() != loadedVersion_) {
                loadRaces();
                Filter_Change();
            }
        });
    return QWidget::event(e);
}

void BunsekiForm::Filter_Change()
{
    AnalysisFilter filter;
    filter.from = DayNumberOf(DateFrom->date());
    filter.to = DayNumberOf(DateTo->date());
    if (const QVariant course = ComboKyoteijyo->currentData(); course.isValid())
        filter.course = course.toInt();
    table_ = Analyse(races_, filter);
    showTable();
}

void BunsekiForm::showTable()
{
    auto put = [this](int row, int column, const QString& text, bool number) {
        QTableWidgetItem* item = TableBunseki->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment(number ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
            if (row == AnalysisTable::AllRow || row == AnalysisTable::AllCriticalRow) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            TableBunseki->setItem(row, column, item);
        }
        item->setText(text);
    };
    const bool empty = table_.empty();
    for (int r = 0; r < AnalysisTable::RowCount; ++r) {
        const AnalysisRow& row = table_.rows[size_t(r)];
        const Tally& t = row.tally;
        put(r, 0, row.group, false);
        put(r, 1, row.state, false);
        put(r, 2, empty ? QString() : CStr(t.starts), true);
        int column = 3;
        for (int k : {t.first, t.topTwo, t.topThree}) {
            put(r, column++, RateText(k, t.starts), true);
            put(r, column++, IntervalText(k, t.starts), true);
        }
        put(r, column, AverageText(t), true);
    }
    PictureGraph->setTable(table_);
    LabelGaitou->setVisible(empty);
    LabelJogai->setText(LeftOutLines(table_).join(QLatin1Char('\n')));
}

QString BunsekiForm::conditionText() const
{
    return QStringLiteral("調査日 ") + dateText(DateFrom->date()) + QStringLiteral("～") + dateText(DateTo->date()) +
           QStringLiteral("　") + ComboKyoteijyo->currentText();
}

QString BunsekiForm::fileTitle() const
{
    return QStringLiteral("成績分析-%1-%2-%3")
        .arg(DateFrom->date().toString(QStringLiteral("yyyyMMdd")), DateTo->date().toString(QStringLiteral("yyyyMMdd")),
             ComboKyoteijyo->currentText());
}

void BunsekiForm::CommandPrint_Click()
{
    if (table_.empty()) {
        MsgBox(kNoRecord);
        return;
    }
    if (MsgBox(QStringLiteral("成績分析を印刷しますか。\r\n"), Mb::Confirm, QStringLiteral("成績分析印刷")) != Mb::Yes)
        return;
    CharPrinter printer(Global().DataFolder, fileTitle());
    BuildAnalysisPrint(printer, table_, conditionText());
    printer.endDoc();
}

void BunsekiForm::CommandCsv_Click()
{
    if (table_.empty()) {
        MsgBox(kNoRecord);
        return;
    }
    const QString path = AskSaveFileName(this, QStringLiteral("CSV保存"), QStringLiteral("CSV"), fileTitle() + QStringLiteral(".csv"),
                                         QStringLiteral("CSV ファイル (*.csv)"));
    if (path.isEmpty())
        return;
    QString problem;
    if (!SaveWholeFile(path, AnalysisCsv(table_, conditionText()), &problem))
        MsgBox(QStringLiteral("CSV ファイルを保存できませんでした。\r\n%1\r\n%2").arg(path, problem),
               Mb::OKOnly + Mb::Critical, QStringLiteral("CSV保存"));
}
