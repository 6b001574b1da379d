#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QSslCertificate>
#include <QSslServer>
#include <QSslSocket>
#include <QUrl>
#include <chrono>
#include <functional>

namespace TestSupport {

// An HTTPS server on 127.0.0.1 in the test's own event loop. Each connection's request head is
// recorded, then the current script answers it: a whole response, a stream that never ends, a
// drip, or nothing at all.
class TestHttpsServer {
public:
    using Script = std::function<void(QSslSocket*)>;

    // Serves the fixture certificate `name` ("localhost" or "other-host").
    explicit TestHttpsServer(const QString& name = QStringLiteral("localhost"));
    ~TestHttpsServer();

    static QSslCertificate certificate(const QString& name = QStringLiteral("localhost"));
    // The PEM file of that certificate, which is its own authority.
    static QString certificateFile(const QString& name = QStringLiteral("localhost"));

    quint16 port() const { return server_.serverPort(); }
    QString site() const { return QStringLiteral("https://127.0.0.1:%1").arg(port()); }
    QUrl manifestUrl() const { return QUrl(site() + QStringLiteral("/downloads/versions.json")); }

    void setScript(Script script) { script_ = std::move(script); }

    // Connections that finished their TLS handshake.
    int connections() const { return connections_; }
    // The request heads received, in order.
    const QList<QByteArray>& requests() const { return requests_; }
    // Whether the client closed a connection while the server still meant to write.
    bool clientClosedEarly() const { return clientClosedEarly_; }
    // Bytes the scripts handed to the connections, in all.
    qint64 bytesWritten() const { return bytesWritten_; }

    // Writes `response` and closes the connection.
    Script answer(QByteArray response);
    // A status line and fields, then `body` as is.
    Script answer(int status, const QByteArray& fields, const QByteArray& body);
    // Writes `prefix`, then `repeated` for as long as the client reads.
    Script stream(QByteArray prefix, QByteArray repeated);
    // Writes `response` one byte every `interval`, then closes.
    Script drip(QByteArray response, std::chrono::milliseconds interval);
    // Keeps the connection open and writes nothing.
    static Script silence() {
        return [](QSslSocket*) {};
    }

private:
    void accept();
    void write(QSslSocket* socket, const QByteArray& bytes);
    void watchForEarlyClose(QSslSocket* socket, std::shared_ptr<bool> finished);

    QSslServer server_;
    Script script_;
    int connections_ = 0;
    QList<QByteArray> requests_;
    bool clientClosedEarly_ = false;
    qint64 bytesWritten_ = 0;
    QList<QPointer<QSslSocket>> sockets_;
};

} // namespace TestSupport
