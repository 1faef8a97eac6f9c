#include "HelpViewer.h"

#include "MsgBox.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QString g_helpFile;
QPointer<QDialog> g_viewer;  // one viewer per program
}

void SetHelpFile(const QString& helpFile) { g_helpFile = helpFile; }
QString HelpFile() { return g_helpFile; }

void KeepHelpOpen(QWidget* closingOwner, QWidget* newOwner)
{
    if (!g_viewer || g_viewer->parentWidget() != closingOwner)
        return;
    g_viewer->setParent(newOwner, g_viewer->windowFlags());
    g_viewer->show();
}

void ShowHelp(QWidget* owner, const QString& helpFile)
{
    if (!QFileInfo::exists(helpFile)) {
        MsgBox(QStringLiteral("ヘルプファイルが見つかりません。\r\n%1").arg(helpFile), Mb::OKOnly + Mb::Exclamation);
        return;
    }
    // One viewer per program: a second request shows the contents page again,
    // owned by the window that asked (a modal box blocks every other owner).
    QPointer<QDialog>& viewer = g_viewer;
    if (viewer && viewer->parentWidget() != owner)
        viewer->setParent(owner, viewer->windowFlags());
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
