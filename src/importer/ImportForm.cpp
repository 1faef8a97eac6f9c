#include "ImportForm.h"

#include "Database.h"
#include "ErrorReport.h"
#include "FileDialog.h"
#include "Forms.h"
#include "GlobalModule.h"
#include "MenuItems.h"
#include "HelpViewer.h"
#include "Launcher.h"
#include "MsgBox.h"
#include "OfficialFiles.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QStorageInfo>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>

namespace {
const QString kInformation = QStringLiteral(
    "                 （選手テーブル最新版更新手順）\r\n"
    "①当処理の前に、競艇公式ホームページから最新版ファン手帳をダウンロードします。\r\n"
    "  ファイルは、FANxxxx.LZH（xxxx は年月） という名前でダウンロードされます。\r\n"
    "  競艇公式ホームページアドレス…https://www.boatrace.jp/\r\n"
    "②解凍は不要です。ダウンロードしたフォルダを左下のフォルダ一覧で開きます。\r\n"
    "③右の一覧で FANxxxx.LZH（または .TXT）を選び、インポートをクリックします。\r\n"
    "④インポート終了ボックスがでれば完了です。\r\n"
    "※ファン手帳のフォーマットが変更された場合、インポート出来ない場合があります。\r\n");

// The folder memory's name for the handbook files (as the file dialogs keep theirs).
const QString kHandbookFolder = QStringLiteral("ファン手帳");

QString withSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}
}

DirList::DirList(QWidget* parent) : QListWidget(parent)
{
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        setPath(item->data(Qt::UserRole).toString());
    });
}

void DirList::setPath(const QString& path)
{
    const QDir dir(path);
    if (!dir.exists())
        return;
    path_ = dir.absolutePath();
    clear();
    QStringList chain;
    for (QDir up(path_);; ) {
        chain.prepend(up.absolutePath());
        if (!up.cdUp())
            break;
    }
    int depth = 0;
    for (const QString& folder : chain) {
        const QString name = folder == QLatin1String("/") ? folder : QDir(folder).dirName();
        auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_DirOpenIcon),
                                         QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, folder);
        ++depth;
    }
    setCurrentRow(count() - 1);
    for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(style()->standardIcon(QStyle::SP_DirIcon),
                                         QString(depth * 2, QLatin1Char(' ')) + sub, this);
        item->setData(Qt::UserRole, dir.absoluteFilePath(sub));
    }
    emit pathChanged(path_);
}

CautionForm::CautionForm(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("CautionForm"));
    setWindowTitle(QStringLiteral("インポート中"));
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("PictureWaku"));
    frame->setFrameShape(QFrame::StyledPanel);
    Set_Control(frame, 193, 74, 8, 8);
    SizeAndCentre(this, 210, 90);
}

ImportForm::ImportForm(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("ImportForm"));
    setWindowTitle(QStringLiteral("選手テーブルインポート"));
    auto* client = new QWidget(this);
    setCentralWidget(client);

    QMenuBar* bar = menuBar();
    auto add = [this](QWidget* menu, const char* name, const QString& caption, std::function<void()> handler) {
        AddMenuItem(menu, QString::fromLatin1(name), caption, this, std::move(handler));
    };
    // The menu items run the command handler, whose report has no icon.
    auto command = [this](int index) { return [this, index] { Guarded([&] { CommandButton_Click(index); }, 0); }; };
    add(bar, "Menu_Close", QStringLiteral("終了(&X&ｻ)"), command(0));
    add(bar, "Menu_Import", QStringLiteral("ｲﾝﾎﾟｰﾄ(&I&ﾆ)"), command(1));
    QMenu* help = bar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H&ｸ)"));
    help->setObjectName(QStringLiteral("Menu_Help"));
    add(help, "Menu_Help_Card", QStringLiteral("ﾍﾙﾌﾟ(&H&ｸ)"), command(2));
    add(help, "Menu_Help_About", QStringLiteral("ﾊﾞｰｼﾞｮﾝ(&A&ﾁ)"), [this] { Menu_Help_About_Click(); });

    auto* frame = new QFrame(client);
    frame->setObjectName(QStringLiteral("PictureWaku_0"));
    frame->setFrameShape(QFrame::StyledPanel);
    Set_Control(frame, 520, 400, 16, 8);

    TextInformation = new QPlainTextEdit(frame);
    TextInformation->setObjectName(QStringLiteral("TextInformation"));
    TextInformation->setReadOnly(true);
    // The box holds the eight lines and nothing after them: a line end after
    // the last one would add an empty ninth line, and the wheel would scroll
    // the heading out of sight.
    QString information = kInformation;
    information.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (information.endsWith(QLatin1Char('\n')))
        information.chop(1);
    TextInformation->setPlainText(information);
    Set_ControlFont(TextInformation, 9, 485, 120, 16, 16);
    // All eight lines fit the box, neither wrapped nor scrolled: narrow
    // margins and lines one font size apart.
    TextInformation->document()->setDocumentMargin(2);
    QTextCursor all(TextInformation->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat lines;
    lines.setLineHeight(QFontMetrics(TextInformation->font()).height(), QTextBlockFormat::FixedHeight);
    all.mergeBlockFormat(lines);
    TextInformation->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    TextInformation->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* label = new QLabel(QStringLiteral("選択ファイル"), frame);
    label->setObjectName(QStringLiteral("Label1"));
    Set_ControlFont(label, 10, 248, 17, 16, 152);
    ListFile = new QLineEdit(frame);
    ListFile->setObjectName(QStringLiteral("ListFile"));
    ListFile->setReadOnly(true);  // the import reads the chosen file, never typed text
    Set_ControlFont(ListFile, 10, 248, 18, 16, 168);

    SelectDrive = new QComboBox(frame);
    SelectDrive->setObjectName(QStringLiteral("SelectDrive"));
    Set_ComboFont(SelectDrive, 10, 245, 16, 200);
    SelectDir = new DirList(frame);
    SelectDir->setObjectName(QStringLiteral("SelectDir"));
    Set_ControlFont(SelectDir, 10, 248, 154, 16, 232);

    auto* buttons = new QFrame(frame);
    buttons->setObjectName(QStringLiteral("PictureWaku_1"));
    Set_Control(buttons, 220, 35, 280, 152);
    const char* captions[3] = {"終  了", "インポート", "ヘルプ"};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(QString::fromUtf8(captions[i]), buttons);
        button->setObjectName(QStringLiteral("CommandButton_%1").arg(i));
        Set_ControlFont(button, 10, 72, 32, 72 * i, 0);
        connect(button, &QPushButton::clicked, this, command(i));
        CommandButton[size_t(i)] = button;
    }
    CommandDownload = new QPushButton(QStringLiteral("ダウンロード"), frame);
    CommandDownload->setObjectName(QStringLiteral("CommandDownload"));
    Set_ControlFont(CommandDownload, 10, 221, 28, 280, 200);
    connect(CommandDownload, &QPushButton::clicked, this, [this] { Guarded([&] { CommandDownload_Click(); }, 0); });
    FileSelect = new QListWidget(frame);
    FileSelect->setObjectName(QStringLiteral("FileSelect"));
    Set_ControlFont(FileSelect, 10, 221, 152, 280, 232);
    SizeAndCentre(this, 549, 424);

    // The volumes, the root first; the folder list starts in the folder of
    // the last import, else at the home folder.
    const QString remembered = RememberedFolder(kHandbookFolder);
    const QString start = remembered.isEmpty() ? QDir::homePath() : remembered;
    QString homeVolume = QStringLiteral("/");
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (!roots.contains(root))
            roots << root;
        if (start.startsWith(withSlash(root)) && root.size() > homeVolume.size())
            homeVolume = root;
    }
    SelectDrive->addItems(roots);
    SelectDrive->setCurrentText(homeVolume);
    // The load, drive, folder and file handlers report with the critical-stop icon.
    connect(SelectDrive, &QComboBox::activated, this, [this] { Guarded([&] { SelectDrive_Change(); }, Mb::Critical); });
    connect(SelectDir, &DirList::pathChanged, this, [this] { Guarded([&] { SelectDir_Change(); }, Mb::Critical); });
    // The highlighted file is the chosen one, whether clicked or reached
    // with the keyboard.
    connect(FileSelect, &QListWidget::itemSelectionChanged, this, [this] { Guarded([&] { FileSelect_Click(); }, Mb::Critical); });
    SelectDir->setPath(start);

    Guarded([this] {
        // On an error the rows read before it stay in the lookups.
        Database db(Global().DataFolder);
        FanHandbook::LoadLookups(db, lookups_);
    }, Mb::Critical);
}

void ImportForm::SelectDrive_Change()
{
    const QString root = SelectDrive->currentText();
    const QStorageInfo volume(root);
    if (!volume.isValid() || !volume.isReady() || !QDir(root).isReadable()) {
        MsgBox(QStringLiteral("ディスクをセットしてください。"), Mb::OKOnly + Mb::Critical);
        return;
    }
    SelectDir->setPath(root);
}

void ImportForm::SelectDir_Change()
{
    QDir::setCurrent(SelectDir->path());
    showFiles();
}

void ImportForm::showFiles()
{
    FileSelect->clear();
    // "Fan*.txt" and the archives "Fan*.lzh" they come in, in any case of letters.
    const QDir dir(SelectDir->path());
    FileSelect->addItems(dir.entryList({QStringLiteral("Fan*.txt"), QStringLiteral("Fan*.lzh")}, QDir::Files,
                                       QDir::Name | QDir::IgnoreCase));
}

void ImportForm::FileSelect_Click()
{
    const QList<QListWidgetItem*> selected = FileSelect->selectedItems();
    if (selected.isEmpty())
        return;  // a folder change empties the list; the choice stays
    QListWidgetItem* item = selected.first();
    chosenFolder_ = withSlash(SelectDir->path());
    const QString name = item->text();
    if (name == QLatin1String("FAN.TXT")) {
        MsgBox(QStringLiteral("FAN.TXT ファイルは選択出来ません。"));
        return;
    }
    chosenFile_ = chosenFolder_ + name;
    ListFile->setText(chosenFile_);
}

void ImportForm::CommandButton_Click(int index)
{
    switch (index) {
    case 0:
        hide();
        Guarded([] { StartProgram(ProgramFile(QStringLiteral("vantor"))); });
        Forms::unload(this);
        QApplication::quit();
        break;
    case 1:
        runImport();
        break;
    case 2:
        ShowHelp(ProgramFile(QStringLiteral("Vantor.hlp")));
        break;
    default:
        break;
    }
}

void ImportForm::CommandDownload_Click()
{
    const QPointer<ImportForm> alive(this);
    const QString kept = OfficialFiles::FetchNewestHandbookShown(this);
    if (!alive || kept.isEmpty())
        return;
    const QString name = QFileInfo(kept).fileName();
    const QString target = withSlash(SelectDir->path()) + name;
    if (QFileInfo(target).absoluteFilePath() != QFileInfo(kept).absoluteFilePath()) {
        QFile from(kept);
        const QByteArray bytes = from.open(QIODevice::ReadOnly) ? from.readAll() : QByteArray();
        QFile present(target);
        const bool same = present.open(QIODevice::ReadOnly) && present.readAll() == bytes;
        present.close();
        if (!same) {
            QSaveFile copy(target);
            if (bytes.isEmpty() || !copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.commit()) {
                MsgBox(QStringLiteral("%1 に書き込めません。\r\nダウンロードしたファイルは %2 にあります。\r\n")
                           .arg(target, OfficialFiles::KeptFolder()),
                       Mb::OKOnly + Mb::Exclamation);
                SelectDir->setPath(OfficialFiles::KeptFolder());
            }
        }
    }
    showFiles();
    const QList<QListWidgetItem*> found = FileSelect->findItems(name, Qt::MatchFixedString);
    if (!found.isEmpty())
        FileSelect->setCurrentItem(found.first());
}

void ImportForm::runImport()
{
    if (ListFile->text().isEmpty()) {
        MsgBox(QStringLiteral("ファイル選択後、実行して下さい。"));
        return;
    }
    if (!olderEditionAccepted())
        return;
    const QString question = QStringLiteral("選手テーブルを、ファン手帳からインポートします。") + QLatin1Char('\r') +
                             QLatin1Char('\r') + QStringLiteral("既存の選手テーブルは削除されます。") + QLatin1Char('\r') +
                             QStringLiteral("ＯＫなら、はいを押して下さい。");
    if (MsgBox(question, Mb::Confirm, QStringLiteral("選手テーブルインポート")) != Mb::Yes)
        return;
    auto* caution = new CautionForm(this);
    caution->show();
    QApplication::processEvents();
    int racers = 0;
    try {
        Database db(Global().DataFolder);
        racers = FanHandbook::Import(db, lookups_, chosenFile_);
    } catch (...) {
        // The table is as it was; the progress window goes before the report.
        delete caution;
        throw;
    }
    delete caution;
    RememberFolder(kHandbookFolder, QFileInfo(chosenFile_).absolutePath());
    MsgBox(QStringLiteral("インポート終了\r\n%1 人の選手をインポートしました。").arg(racers), Mb::OKOnly,
           QStringLiteral("終了確認"));
}

bool ImportForm::olderEditionAccepted()
{
    const int chosen = FanHandbook::EditionOfFile(chosenFile_);
    int last = 0;
    {
        Database db(Global().DataFolder);
        last = FanHandbook::LastEdition(db);
    }
    if (chosen == 0 || chosen >= last)
        return true;
    const QString question = QStringLiteral("選んだファン手帳（%1）は、前回インポートしたもの（%2）より古い版です。\r"
                                            "インポートを続けますか。")
                                 .arg(FanHandbook::EditionText(chosen), FanHandbook::EditionText(last));
    return MsgBox(question, Mb::Confirm, QStringLiteral("選手テーブルインポート")) == Mb::Yes;
}

void ImportForm::Menu_Help_About_Click()
{
    MsgBox(QStringLiteral("ドリックス  Ver1.10\r\n\r\nファン手帳から選手テーブルを作り直すツールです。"), Mb::OKOnly + Mb::Information,
           QStringLiteral("ドリックス Ver1.10"));
}
