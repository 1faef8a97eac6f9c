#include "HttpTestServer.h"

#include <QTcpSocket>

HttpTestServer::HttpTestServer()
{
    clock_.start();
    server_.listen(QHostAddress::LocalHost);
    port_ = server_.serverPort();
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            sockets_.emplace_back(socket);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

HttpTestServer::~HttpTestServer() { stop(); }

QString HttpTestServer::base() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

void HttpTestServer::answer(const QByteArray& path, const Answer& answer) { answers_.insert(path, answer); }

void HttpTestServer::stop()
{
    server_.close();
    for (const QPointer<QTcpSocket>& socket : sockets_)
        if (socket)
            socket->abort();
    sockets_.clear();
}

QList<QByteArray> HttpTestServer::paths() const
{
    QList<QByteArray> list;
    for (const Request& r : requests_)
        list << r.path;
    return list;
}

void HttpTestServer::serve(QTcpSocket* socket)
{
    QByteArray received = socket->property("received").toByteArray() + socket->readAll();
    socket->setProperty("received", received);
    if (!received.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> words = received.left(received.indexOf("\r\n")).split(' ');
    Request request;
    request.target = words.value(1);
    request.path = request.target;
    if (request.path.startsWith("http://")) {
        const qsizetype slash = request.path.indexOf('/', 7);
        request.path = slash < 0 ? QByteArray("/") : request.path.mid(slash);
    }
    request.atMs = clock_.elapsed();
    requests_.push_back(request);

    Answer answer;
    if (answers_.contains(request.path))
        answer = answers_.value(request.path);
    else
        answer = {404, QByteArrayLiteral("not found"), Mode::Whole};
    if (answer.mode == Mode::Silent)
        return;
    const QByteArray reason = answer.status == 200 ? "OK" : answer.status == 404 ? "Not Found" : "Error";
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + ' ' + reason + "\r\n" +
                      "Content-Type: application/octet-stream\r\n" +
                      "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n" +
                      "Connection: close\r\n\r\n";
    socket->write(head);
    socket->write(answer.mode == Mode::CutOff ? answer.body.left(answer.body.size() / 2) : answer.body);
    socket->disconnectFromHost();
}
