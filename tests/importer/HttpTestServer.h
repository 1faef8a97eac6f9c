#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <vector>

class QTcpSocket;

// A small HTTP server on 127.0.0.1 for the download tests, in the test's own
// thread (the program's event loop serves it while a request waits). Each
// path gets a prepared answer; any other path is "404 Not Found". Requests
// in the absolute form a proxy receives ("GET http://host/path") are
// answered by their path too.
class HttpTestServer : public QObject {
    Q_OBJECT
public:
    enum class Mode {
        Whole,   // the answer as it is
        Silent,  // the request is read and never answered
        CutOff,  // the header names the whole length; half the body comes, then the connection ends
    };
    struct Answer {
        int status = 200;
        QByteArray body;
        Mode mode = Mode::Whole;
    };
    struct Request {
        QByteArray target;  // as in the request line
        QByteArray path;    // without scheme and host
        qint64 atMs = 0;    // since the server started
    };

    HttpTestServer();
    ~HttpTestServer() override;

    // "http://127.0.0.1:<port>"
    QString base() const;
    void answer(const QByteArray& path, const Answer& answer);
    // Closes the listener and every connection: afterwards a connection is refused.
    void stop();
    const std::vector<Request>& requests() const { return requests_; }
    QList<QByteArray> paths() const;

private:
    void serve(QTcpSocket* socket);

    QTcpServer server_;
    quint16 port_ = 0;
    QHash<QByteArray, Answer> answers_;
    std::vector<Request> requests_;
    QElapsedTimer clock_;
    std::vector<QPointer<QTcpSocket>> sockets_;
};
