#include "tests/support/TestHttpsServer.hpp"

#include <QFile>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTimer>
#include <memory>

namespace TestSupport {

namespace {

QByteArray fixture(const QString& file) {
    QFile in(QStringLiteral(TEST_HTTPS_FIXTURES "/") + file);
    if (!in.open(QIODevice::ReadOnly))
        qFatal("missing test fixture %s", qPrintable(in.fileName()));
    return in.readAll();
}

// How much a stream keeps queued for a slow reader.
constexpr qint64 streamBacklog = 128 * 1024;

} // namespace

TestHttpsServer::TestHttpsServer(const QString& name) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate(name));
    tls.setPrivateKey(QSslKey(fixture(name + QStringLiteral(".key")), QSsl::Ec));
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    server_.setSslConfiguration(tls);
    QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, &server_, [this] { accept(); });
    if (!server_.listen(QHostAddress::LocalHost, 0))
        qFatal("test server cannot listen: %s", qPrintable(server_.errorString()));
    script_ = answer(200, {}, R"({"format":1,"apps":{}})");
}

TestHttpsServer::~TestHttpsServer() {
    for (const QPointer<QSslSocket>& socket : sockets_) {
        if (socket) {
            socket->disconnect();
            socket->abort();
        }
    }
}

QSslCertificate TestHttpsServer::certificate(const QString& name) {
    return QSslCertificate(fixture(name + QStringLiteral(".pem")), QSsl::Pem);
}

QString TestHttpsServer::certificateFile(const QString& name) {
    return QStringLiteral(TEST_HTTPS_FIXTURES "/") + name + QStringLiteral(".pem");
}

void TestHttpsServer::accept() {
    while (QTcpSocket* next = server_.nextPendingConnection()) {
        auto* socket = qobject_cast<QSslSocket*>(next);
        ++connections_;
        sockets_.append(socket);
        auto head = std::make_shared<QByteArray>();
        auto answered = std::make_shared<bool>(false);
        const auto readRequest = [this, socket, head, answered] {
            if (*answered)
                return;
            *head += socket->readAll();
            if (const qsizetype end = head->indexOf("\r\n\r\n"); end >= 0) {
                *answered = true;
                requests_.append(head->left(end + 4));
                script_(socket);
            }
        };
        QObject::connect(socket, &QSslSocket::readyRead, socket, readRequest);
        readRequest();
    }
}

void TestHttpsServer::write(QSslSocket* socket, const QByteArray& bytes) {
    bytesWritten_ += bytes.size();
    socket->write(bytes);
}

void TestHttpsServer::watchForEarlyClose(QSslSocket* socket, std::shared_ptr<bool> finished) {
    QObject::connect(socket, &QSslSocket::disconnected, socket, [this, finished] {
        if (!*finished)
            clientClosedEarly_ = true;
    });
}

TestHttpsServer::Script TestHttpsServer::answer(QByteArray response) {
    return [this, response](QSslSocket* socket) {
        write(socket, response);
        socket->disconnectFromHost(); // after what was written has gone out
    };
}

TestHttpsServer::Script TestHttpsServer::answer(int status, const QByteArray& fields,
                                                const QByteArray& body) {
    return answer("HTTP/1.1 " + QByteArray::number(status) + " Status\r\n" + fields + "Content-Length: " +
                  QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
}

TestHttpsServer::Script TestHttpsServer::stream(QByteArray prefix, QByteArray repeated) {
    return [this, prefix, repeated](QSslSocket* socket) {
        write(socket, prefix);
        watchForEarlyClose(socket, std::make_shared<bool>(false));
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [this, socket, repeated] {
            while (socket->state() == QAbstractSocket::ConnectedState &&
                   socket->bytesToWrite() < streamBacklog)
                write(socket, repeated);
        });
        timer->start(1);
    };
}

TestHttpsServer::Script TestHttpsServer::drip(QByteArray response, std::chrono::milliseconds interval) {
    return [this, response, interval](QSslSocket* socket) {
        auto finished = std::make_shared<bool>(false);
        watchForEarlyClose(socket, finished);
        auto* timer = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        QObject::connect(timer, &QTimer::timeout, socket, [this, socket, response, sent, finished, timer] {
            if (*sent == response.size()) {
                *finished = true;
                timer->stop();
                socket->disconnectFromHost();
                return;
            }
            write(socket, response.mid((*sent)++, 1));
        });
        timer->start(interval);
    };
}

} // namespace TestSupport
