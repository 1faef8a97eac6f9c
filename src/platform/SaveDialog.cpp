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
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
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
