#include "Download.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <limits>
#include <memory>

namespace Download {

namespace {
QNetworkAccessManager& manager()
{
    static QPointer<QNetworkAccessManager> nam;
    if (!nam) {
        QNetworkProxyFactory::setUseSystemConfiguration(true);
        nam = new QNetworkAccessManager(QCoreApplication::instance());
        // Redirects are followed, but never from https down to http.
        nam->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    }
    return *nam;
}

// When the last request ended: the next one waits out the pause from there.
QElapsedTimer& lastRequestEnd()
{
    static QElapsedTimer timer;
    return timer;
}

bool stopped(const Watch& watch) { return watch.cancelled && watch.cancelled(); }

// Lets the event loop run for `ms`; false when the user stopped it meanwhile.
bool pause(qint64 ms, const Watch& watch)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms) {
        if (stopped(watch))
            return false;
        QEventLoop loop;
        QTimer::singleShot(int(std::min<qint64>(50, ms - waited.elapsed())), &loop, &QEventLoop::quit);
        loop.exec();
    }
    return !stopped(watch);
}

struct Attempt {
    Result result;
    bool mayPass = false;  // worth one more try
};

QString hostOf(const QUrl& url) { return url.port() >= 0 ? QStringLiteral("%1:%2").arg(url.host()).arg(url.port()) : url.host(); }

// The proxy the request goes through ("host:port"), or empty.
QString proxyOf(const QUrl& url)
{
    const QList<QNetworkProxy> proxies = QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(url));
    if (proxies.isEmpty() || proxies.first().type() == QNetworkProxy::NoProxy || proxies.first().type() == QNetworkProxy::DefaultProxy)
        return {};
    return QStringLiteral("%1:%2").arg(proxies.first().hostName()).arg(proxies.first().port());
}

bool unreachable(int error)
{
    switch (error) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return true;
    default:
        return false;
    }
}

Attempt once(const QUrl& url, const Watch& watch)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Vantor/1.10"));
    const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(manager().get(request),
                                                                          [](QNetworkReply* r) { r->deleteLater(); });
    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(settings().timeoutMs);
    QTimer poll;
    poll.setInterval(50);
    bool timedOut = false;
    bool cancelled = false;
    bool tooBig = false;
    QByteArray bytes;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        bytes += reply->readAll();
        idle.start();
        if (bytes.size() > settings().maxBytes) {
            tooBig = true;
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress, &loop, [&](qint64 received, qint64 total) {
        idle.start();
        if (watch.progress)
            watch.progress(received, total);
    });
    QObject::connect(&idle, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (stopped(watch)) {
            cancelled = true;
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    idle.start();
    poll.start();
    if (!reply->isFinished())
        loop.exec();
    idle.stop();
    poll.stop();
    if (!tooBig && reply->isOpen())
        bytes += reply->readAll();

    Attempt attempt;
    Result& result = attempt.result;
    result.requests = 1;
    const QString host = hostOf(url);
    if (cancelled) {
        result.status = Status::Cancelled;
        return attempt;
    }
    if (timedOut) {
        result.reason = QStringLiteral("%1 から %2 秒間応答がありません。").arg(host).arg(settings().timeoutMs / 1000.0);
        result.unreachable = true;
        attempt.mayPass = true;
        return attempt;
    }
    if (tooBig) {
        result.reason = QStringLiteral("%1 の答えが大きすぎます（%2 バイトを超えています）。").arg(host).arg(settings().maxBytes);
        return attempt;
    }
    const int http = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (http == 404 || http == 410) {
        result.status = Status::NotFound;
        return attempt;
    }
    if (http >= 400) {
        result.reason = QStringLiteral("%1 がエラーを返しました（HTTP %2 %3）。")
                            .arg(host).arg(http)
                            .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString());
        attempt.mayPass = http >= 500;
        return attempt;
    }
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    const bool cut = length.isValid() && bytes.size() < length.toLongLong();
    if (cut || (reply->error() == QNetworkReply::RemoteHostClosedError && http > 0)) {
        result.reason = length.isValid() ? QStringLiteral("%1 からの転送が途中で切れました（%2 バイトのうち %3 バイト）。")
                                               .arg(host).arg(length.toLongLong()).arg(bytes.size())
                                         : QStringLiteral("%1 からの転送が途中で切れました。").arg(host);
        attempt.mayPass = true;
        return attempt;
    }
    if (reply->error() != QNetworkReply::NoError) {
        int error = reply->error();
        QString detail = reply->errorString();
        // Through a proxy, the connection that failed is the one to the proxy.
        const QString proxy = proxyOf(url);
        if (!proxy.isEmpty() && (error == QNetworkReply::ConnectionRefusedError || error == QNetworkReply::HostNotFoundError)) {
            error = QNetworkReply::ProxyConnectionRefusedError;
            detail = proxy;
        }
        result.reason = FaultText(error, url, detail);
        result.unreachable = unreachable(error);
        attempt.mayPass = error == QNetworkReply::RemoteHostClosedError || error == QNetworkReply::TemporaryNetworkFailureError ||
                          error == QNetworkReply::TimeoutError || error == QNetworkReply::ProxyTimeoutError;
        return attempt;
    }
    result.status = Status::Done;
    result.bytes = std::move(bytes);
    return attempt;
}
}

Settings& settings()
{
    static Settings s;
    return s;
}

Result Get(const QUrl& url, const Watch& watch)
{
    Result result;
    for (int attempt = 1; attempt <= 2; ++attempt) {
        QElapsedTimer& last = lastRequestEnd();
        if (last.isValid() && !pause(settings().pauseMs - last.elapsed(), watch)) {
            result.status = Status::Cancelled;
            return result;
        }
        Attempt tried = once(url, watch);
        last.start();
        tried.result.requests = attempt;
        result = std::move(tried.result);
        if (!tried.mayPass || result.status != Status::Failed)
            break;
    }
    return result;
}

QString FaultText(int networkError, const QUrl& url, const QString& detail)
{
    const QString host = hostOf(url);
    const QString why = detail.isEmpty() ? QString() : QStringLiteral("（%1）").arg(detail);
    switch (networkError) {
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("ネットワークに接続できません。%1 が見つかりません。インターネットにつながっているか確かめて下さい。").arg(host);
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("ネットワークに接続できません。%1 が接続を受け付けません。").arg(host);
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("%1 が答えの前に接続を切りました。").arg(host);
    case QNetworkReply::TimeoutError:
        return QStringLiteral("%1 から応答がありません。").arg(host);
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
    case QNetworkReply::UnknownNetworkError:
        return QStringLiteral("ネットワークに接続できません%1。インターネットにつながっているか確かめて下さい。").arg(why);
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return QStringLiteral("プロキシに接続できません%1。環境変数 http_proxy / https_proxy の設定を確かめて下さい。").arg(why);
    case QNetworkReply::ProtocolUnknownError:
        // Qt knows no https without its TLS backend and the OpenSSL library.
        if (url.scheme() == QLatin1String("https"))
            return QStringLiteral("この環境では https の通信ができません（TLS のライブラリ libssl3 がありません）%1。").arg(why);
        return QStringLiteral("%1 からダウンロードできません%2。").arg(host, why);
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("%1 と安全な接続（https）ができません%2。").arg(host, why);
    default:
        return QStringLiteral("%1 からダウンロードできません%2。").arg(host, why);
    }
}

}

DownloadForm::DownloadForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DownloadForm"));
    setWindowTitle(QStringLiteral("ダウンロード中"));
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    LabelItem = new QLabel(this);
    LabelItem->setObjectName(QStringLiteral("LabelItem"));
    LabelItem->setGeometry(12, 10, 296, 20);
    ProgressBytes = new QProgressBar(this);
    ProgressBytes->setObjectName(QStringLiteral("ProgressBytes"));
    ProgressBytes->setGeometry(12, 36, 296, 22);
    ProgressBytes->setRange(0, 0);
    ProgressBytes->setFormat(QStringLiteral("%v / %m バイト"));
    CommandCancel = new QPushButton(QStringLiteral("中止"), this);
    CommandCancel->setObjectName(QStringLiteral("CommandCancel"));
    CommandCancel->setGeometry(118, 68, 84, 28);
    connect(CommandCancel, &QPushButton::clicked, this, &DownloadForm::reject);
    setFixedSize(320, 106);
}

void DownloadForm::setItem(const QString& text)
{
    LabelItem->setText(text);
    ProgressBytes->setRange(0, 0);
}

void DownloadForm::reject()
{
    // The request ends at the next look; the window goes with its owner's work.
    cancelled_ = true;
    CommandCancel->setEnabled(false);
}

Download::Watch DownloadForm::watch()
{
    QPointer<DownloadForm> self(this);
    Download::Watch watch;
    watch.progress = [self](qint64 received, qint64 total) {
        if (!self)
            return;
        // A size beyond the bar's range leaves it moving to and fro.
        if (total > 0 && total <= std::numeric_limits<int>::max()) {
            self->ProgressBytes->setRange(0, int(total));
            self->ProgressBytes->setValue(int(std::min(received, total)));
        } else {
            self->ProgressBytes->setRange(0, 0);
        }
    };
    watch.cancelled = [self] { return !self || self->cancelled_; };
    return watch;
}
