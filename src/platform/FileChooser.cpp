#include "FileChooser.h"

#include "MsgBox.h"

#include <QFileDialog>
#include <QFileInfo>
#include <deque>

namespace {
std::deque<QString> g_paths;
QString g_lastFolder;
}

QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& filter)
{
    if (MsgBoxScript::active()) {
        if (g_paths.empty())
            return QString();
        const QString path = g_paths.front();
        g_paths.pop_front();
        return path;
    }
    const QString path = QFileDialog::getOpenFileName(parent, title, g_lastFolder, filter);
    if (!path.isEmpty())
        g_lastFolder = QFileInfo(path).absolutePath();
    return path;
}

void FileChooserScript::queue(const QString& path) { g_paths.push_back(path); }
