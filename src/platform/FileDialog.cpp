#include "FileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <deque>
#include <optional>

namespace {
bool g_active = false;
std::deque<QString> g_answers;
std::vector<FileDialogScript::Asked> g_asked;
QString g_lastFolder;

// The scripted answer while the test hook is active, else nothing.
std::optional<QString> scripted(const QString& caption, const QString& suggested, bool save)
{
    if (!g_active)
        return std::nullopt;
    g_asked.push_back({caption, suggested, save});
    if (g_answers.empty())
        return QString();
    const QString answer = g_answers.front();
    g_answers.pop_front();
    return answer;
}

// Japanese like the message boxes, with or without Qt's own translation.
void speakJapanese(QFileDialog& dialog, bool save)
{
    dialog.setLabelText(QFileDialog::LookIn, save ? QStringLiteral("保存する場所:") : QStringLiteral("ファイルの場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, save ? QStringLiteral("保存(&S)") : QStringLiteral("開く(&O)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
}

QString run(QFileDialog& dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
}

QString ChooseOpenFile(QWidget* parent, const QString& caption, const QString& filter)
{
    if (const auto answer = scripted(caption, QString(), false))
        return *answer;
    QFileDialog dialog(parent, caption, g_lastFolder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    speakJapanese(dialog, false);
    const QString path = run(dialog);
    if (!path.isEmpty())
        g_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

QString ChooseFolder(QWidget* parent, const QString& caption)
{
    if (const auto answer = scripted(caption, QString(), false))
        return *answer;
    QFileDialog dialog(parent, caption, g_lastFolder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    speakJapanese(dialog, false);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("選択(&S)"));
    const QString path = run(dialog);
    if (!path.isEmpty())
        g_lastFolder = path;
    return path;
}

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter)
{
    if (const auto answer = scripted(caption, suggested, true))
        return *answer;
    QFileDialog dialog(parent, caption, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(suggested);
    speakJapanese(dialog, true);
    return run(dialog);
}

void FileDialogScript::start()
{
    g_active = true;
    g_answers.clear();
    g_asked.clear();
}

void FileDialogScript::stop()
{
    g_active = false;
    g_answers.clear();
}

bool FileDialogScript::active() { return g_active; }
void FileDialogScript::queue(const QString& path) { g_answers.push_back(path); }
const std::vector<FileDialogScript::Asked>& FileDialogScript::asked() { return g_asked; }
