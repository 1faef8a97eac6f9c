#include "SaveDialog.h"

#include <QFileDialog>
#include <deque>

namespace {
bool g_active = false;
std::deque<QString> g_answers;
std::vector<SaveDialogScript::Asked> g_asked;
}

QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggested, const QString& filter)
{
    if (g_active) {
        g_asked.push_back({caption, suggested});
        if (g_answers.empty())
            return QString();
        const QString answer = g_answers.front();
        g_answers.pop_front();
        return answer;
    }
    QFileDialog dialog(parent, caption, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(suggested);
    // Japanese like the message boxes, with or without Qt's own translation.
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("保存する場所:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("ファイル名:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("ファイルの種類:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("保存(&S)"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("キャンセル"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void SaveDialogScript::start()
{
    g_active = true;
    g_answers.clear();
    g_asked.clear();
}

void SaveDialogScript::stop()
{
    g_active = false;
    g_answers.clear();
}

bool SaveDialogScript::active() { return g_active; }
void SaveDialogScript::queue(const QString& path) { g_answers.push_back(path); }
const std::vector<SaveDialogScript::Asked>& SaveDialogScript::asked() { return g_asked; }
