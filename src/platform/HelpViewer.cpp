#include "HelpViewer.h"

#include "MsgBox.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

void ShowHelp(QWidget* owner, const QString& helpFile)
{
    if (!QFileInfo::exists(helpFile)) {
        MsgBox(QStringLiteral("ヘルプファイルが見つかりません。\r\n%1").arg(helpFile), Mb::OKOnly + Mb::Exclamation);
        return;
    }
    // One viewer per program: a second request shows the contents page again.
    static QPointer<QDialog> viewer;
    if (!viewer) {
        viewer = new QDialog(owner);
        viewer->setObjectName(QStringLiteral("HelpViewer"));
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        viewer->setWindowTitle(QStringLiteral("ヘルプ"));
        viewer->resize(640, 520);
        auto* layout = new QVBoxLayout(viewer);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* browser = new QTextBrowser(viewer);
        browser->setObjectName(QStringLiteral("HelpBrowser"));
        layout->addWidget(browser);
    }
    auto* browser = viewer->findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    // The file keeps its program-given extension, so say that it is HTML.
    QFile file(helpFile);
    if (file.open(QIODevice::ReadOnly)) {
        browser->setSearchPaths({QFileInfo(helpFile).absolutePath()});
        browser->setHtml(QString::fromUtf8(file.readAll()));
        browser->scrollToAnchor(QStringLiteral("contents"));
    }
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}
