#include "Launcher.h"

#include "RuntimeError.h"

#include <QFileInfo>
#include <QProcess>

void StartProgram(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isExecutable())
        throw RuntimeError(ErrorNumber::FileNotFound, QFileInfo(path).fileName(),
                           QStringLiteral("ファイルが見つかりません。(%1)").arg(path));
    if (!QProcess::startDetached(path, {}, info.absolutePath()))
        throw RuntimeError(ErrorNumber::PathFileAccess, info.fileName(),
                           QStringLiteral("プログラムを起動できません。(%1)").arg(path));
}
