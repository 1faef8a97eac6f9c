#include "FileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QLibraryInfo>
#include <QTranslator>
#include <deque>
#include <optional>

namespace {
bool g_active = false;
std::deque<QString> g_answers;
std::vector<FileDialogScript::Asked> g_asked;

// For the run only, until the program sets its own memory.
QHash<QString, QString> g_runFolders;
FolderMemory runMemory()
{
    return {[](const QString& kind) { return g_runFolders.value(kind); },
            [](const QString& kind, const QString& folder) { g_runFolders.insert(kind, folder); }};
}

FolderMemory& memory()
{
    static FolderMemory kept = runMemory();
    return kept;
}

// The kind's folder, else the home folder (never the program's own).
QString startFolder(const QString& kind)
{
    const QString folder = RememberedFolder(kind);
    return folder.isEmpty() ? QDir::homePath() : folder;
}

// The scripted answer while the test hook is active, else nothing.
std::optional<QString> scripted(const QString& caption, const QString& suggested, const QString& folder, bool save)
{
    if (!g_active)
        return std::nullopt;
    g_asked.push_back({caption, suggested, folder, save});
    if (g_answers.empty())
        return QString();
    const QString answer = g_answers.front();
    g_answers.pop_front();
    return answer;
}

// Japanese like the message boxes, with or without Qt's own translation.
void speakJapanese(QFileDialog& dialog, bool save)
{
    // Qt's own dialog always, so that these texts and Qt's translation apply.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::LookIn, save ? QStringLiteral("保存する場所:") : QStringLiteral("ファイルの場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("保存(&S)") : QStringLiteral("開く(&O)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
}

QString run(QFileDialog& dialog, const QString& kind)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString path = dialog.selectedFiles().constFirst();
    RememberFolder(kind, QFileInfo(path).absolutePath());
    return path;
}
}

QString ChooseOpenFile(QWidget* parent, const QString& caption, const QString& kind, const QString& filter)
{
    const QString folder = startFolder(kind);
    if (const auto answer = scripted(caption, QString(), folder, false)) {
        if (!answer->isEmpty())
            RememberFolder(kind, QFileInfo(*answer).absolutePath());
        return *answer;
    }
    QFileDialog dialog(parent, caption, folder, filter);
    speakJapanese(dialog, false);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return run(dialog, kind);
}

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& kind, const QString& fileName,
                        const QString& filter)
{
    const QString folder = startFolder(kind);
    const QString suggested = QDir(folder).filePath(fileName);
    if (const auto answer = scripted(caption, suggested, folder, true)) {
        if (!answer->isEmpty())
            RememberFolder(kind, QFileInfo(*answer).absolutePath());
        return *answer;
    }
    QFileDialog dialog(parent, caption, suggested, filter);
    speakJapanese(dialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(suggested);
    return run(dialog, kind);
}

void SetFolderMemory(FolderMemory kept) { memory() = std::move(kept); }

QString RememberedFolder(const QString& kind)
{
    const QString folder = memory().recall(kind);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolder(const QString& kind, const QString& folder) { memory().remember(kind, folder); }

bool LoadQtJapanese()
{
    // Once for the program; the file dialog's texts, like the standard
    // buttons', are in Qt's base catalogue.
    static QTranslator* translator = nullptr;
    if (translator)
        return true;
    auto* loaded = new QTranslator(qApp);
    if (!loaded->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

void FileDialogScript::start()
{
    g_active = true;
    g_answers.clear();
    g_asked.clear();
    // Each test starts with no folder known.
    g_runFolders.clear();
    memory() = runMemory();
}

void FileDialogScript::stop()
{
    g_active = false;
    g_answers.clear();
}

bool FileDialogScript::active() { return g_active; }
void FileDialogScript::queue(const QString& path) { g_answers.push_back(path); }
const std::vector<FileDialogScript::Asked>& FileDialogScript::asked() { return g_asked; }
