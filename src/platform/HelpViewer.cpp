#include "HelpViewer.h"

#include "MsgBox.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
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

namespace {
// The window the viewer belongs to: none, so that it stays open until the
// user closes it, whatever window opened it closes meanwhile; but while a
// modal box or dialog is up, that one, since a modal window blocks every
// window outside it.
QWidget* ownerNow(QWidget* leaving = nullptr)
{
    QWidget* modal = QApplication::activeModalWidget();
    return modal == leaving ? nullptr : modal;
}

void moveViewer(QWidget* owner)
{
    if (!g_viewer || g_viewer->parentWidget() == owner)
        return;
    const bool shown = g_viewer->isVisible();
    g_viewer->setParent(owner, g_viewer->windowFlags());
    if (shown)
        g_viewer->show();
}

// Moves the viewer off a modal owner that closes, before it can take the
// viewer with it.
class OwnerWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::Hide || event->type() == QEvent::Close) && g_viewer &&
            g_viewer->parentWidget() == watched) {
            watched->removeEventFilter(this);
            moveViewer(ownerNow(static_cast<QWidget*>(watched)));
        }
        return false;
    }
};
}

void ShowHelp(const QString& helpFile)
{
    if (!QFileInfo::exists(helpFile)) {
        MsgBox(QStringLiteral("ヘルプファイルが見つかりません。\r\n%1").arg(helpFile), Mb::OKOnly + Mb::Exclamation);
        return;
    }
    // One viewer per program: a second request shows the contents page again.
    QPointer<QDialog>& viewer = g_viewer;
    QWidget* owner = ownerNow();
    if (!viewer) {
        viewer = new QDialog(owner, Qt::Window);
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
    moveViewer(owner);
    if (owner) {
        static OwnerWatch* watch = new OwnerWatch(qApp);
        owner->installEventFilter(watch);
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
