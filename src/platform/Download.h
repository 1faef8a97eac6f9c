#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <QUrl>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// Files fetched over HTTP(S), one request at a time. A request runs in the
// program's event loop, so the windows keep drawing and answering while it
// waits; the caller is told of the bytes as they come and is asked now and
// then whether the user stopped it. Proxies come from the system's
// configuration (on Linux the environment's http_proxy / https_proxy).
namespace Download {

struct Settings {
    int timeoutMs = 30000;       // no byte for this long ends a request
    int pauseMs = 1000;          // at least this long from one request's end to the next one's start
    qint64 maxBytes = 64 * 1024 * 1024;
};
// The settings in force; the tests shorten the waits.
Settings& settings();

enum class Status {
    Done,       // the whole answer is in `bytes`
    NotFound,   // the server says there is no such file (404, 410)
    Cancelled,  // the user stopped it
    Failed,     // `reason` says why, in the user's words
};

struct Result {
    Status status = Status::Failed;
    QByteArray bytes;
    QString reason;
    int requests = 0;  // 1, or 2 after a retry
    // Failed because the host could not be reached at all (no network, a
    // name that does not resolve, a refused connection, the proxy, no
    // answer in time): the next request would most likely fail the same way.
    bool unreachable = false;
};

struct Watch {
    std::function<void(qint64 received, qint64 total)> progress;  // total -1: size not told
    std::function<bool()> cancelled;
};

// Fetches the whole file at `url`. A fault that may pass (no answer in
// time, a transfer cut off, the server busy) is tried once more after the
// pause; nothing is tried a third time.
Result Get(const QUrl& url, const Watch& watch = {});

// The sentence that tells the user why a request failed, from Qt's error
// code (QNetworkReply::NetworkError) and the request's host.
QString FaultText(int networkError, const QUrl& url, const QString& detail = QString());

}

// The small window shown while files are fetched: what is being fetched, a
// bar of the bytes (moving to and fro while the size is not known) and
// "中止". Closing it is the same as "中止".
class DownloadForm : public QDialog {
    Q_OBJECT
public:
    explicit DownloadForm(QWidget* parent = nullptr);

    void setItem(const QString& text);
    bool cancelled() const { return cancelled_; }
    // Progress and cancel of this window for Download::Get.
    Download::Watch watch();

protected:
    void reject() override;

private:
    bool cancelled_ = false;
    QLabel* LabelItem = nullptr;
    QProgressBar* ProgressBytes = nullptr;
    QPushButton* CommandCancel = nullptr;
};
