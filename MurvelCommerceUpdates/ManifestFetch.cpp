#include "MurvelCommerceUpdates/ManifestFetch.hpp"

#include "MurvelCommerceUpdates/UpdateLogging.hpp"

#include <QSslConfiguration>

namespace MurvelCommerceUpdates {

namespace {

// At most this much waits decrypted in the socket between two reads.
constexpr qint64 socketBufferBytes = 32768;

} // namespace

ManifestFetch::ManifestFetch(const SiteUpdateFeed::Settings& settings, QObject* context,
                             std::function<void(FeedResult)> done)
    : QObject(context), settings_(settings), done_(std::move(done)),
      reader_(SiteUpdateFeed::maximumHeadBytes, SiteUpdateFeed::maximumBodyBytes) {}

ManifestFetch::~ManifestFetch() {
    // The socket's own teardown emits signals; none may reach this half-destroyed object.
    socket_.disconnect(this);
    socket_.abort();
}

void ManifestFetch::start() {
    const QUrl& url = settings_.manifest;
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty() ||
        !url.userInfo().isEmpty()) {
        settle(UpdateFailure::unreachable, "not an https address");
        return;
    }

    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.addCaCertificates(settings_.trustedCertificates);
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    tls.setProtocol(QSsl::SecureProtocols);
    socket_.setSslConfiguration(tls);
    socket_.setPeerVerifyName(url.host());
    socket_.setReadBufferSize(socketBufferBytes);

    // A certificate error is never ignored: the handshake fails and errorOccurred follows.
    connect(&socket_, &QSslSocket::encrypted, this, &ManifestFetch::send);
    connect(&socket_, &QSslSocket::readyRead, this, &ManifestFetch::receive);
    connect(&socket_, &QSslSocket::disconnected, this, &ManifestFetch::ended);
    connect(&socket_, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            ended();
        else
            settle(UpdateFailure::unreachable, qPrintable(socket_.errorString()));
    });

    // Precise: a coarse timer may fire 5 % early.
    idle_.setTimerType(Qt::PreciseTimer);
    total_.setTimerType(Qt::PreciseTimer);
    idle_.setSingleShot(true);
    idle_.setInterval(settings_.idleTimeout);
    connect(&idle_, &QTimer::timeout, this, [this] { settle(UpdateFailure::unreachable, "idle time-out"); });
    total_.setSingleShot(true);
    total_.setInterval(settings_.totalTimeout);
    connect(&total_, &QTimer::timeout, this,
            [this] { settle(UpdateFailure::unreachable, "total time-out"); });
    idle_.start();
    total_.start();

    socket_.connectToHostEncrypted(url.host(), static_cast<quint16>(url.port(443)));
}

void ManifestFetch::send() {
    idle_.start();
    const QUrl& url = settings_.manifest;
    QByteArray target = url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty())
        target = "/";
    if (url.hasQuery())
        target += '?' + url.query(QUrl::FullyEncoded).toLatin1();
    // Exactly these fields; "Connection: close" keeps the connection to this one request.
    const QByteArray request = "GET " + target + " HTTP/1.1\r\n" +
                               "Host: " + url.authority(QUrl::FullyEncoded).toLatin1() + "\r\n" +
                               "User-Agent: MurvelWorks\r\n"
                               "Accept: application/json\r\n"
                               "Accept-Language: *\r\n"
                               "Connection: close\r\n"
                               "\r\n";
    socket_.write(request);
}

void ManifestFetch::receive() {
    idle_.start();
    while (!settled_ && socket_.bytesAvailable() > 0) {
        // Never more than one byte past the head's or the body's allowance.
        const QByteArray chunk = socket_.read(static_cast<qint64>(reader_.wanted()));
        reader_.feed(std::string_view(chunk.constData(), static_cast<std::size_t>(chunk.size())));
        if (reader_.status() != 0 && reader_.status() != 200) {
            settle(UpdateFailure::unreachable, qPrintable(QStringLiteral("status %1").arg(reader_.status())));
        } else if (reader_.state() == HttpResponseReader::State::failed) {
            switch (reader_.failure()) {
            case HttpResponseReader::Failure::bodyTooLarge:
                settle(UpdateFailure::unreadable, "body over the limit");
                break;
            case HttpResponseReader::Failure::headTooLarge:
                settle(UpdateFailure::unreachable, "head over the limit");
                break;
            default:
                settle(UpdateFailure::unreachable, "malformed response");
                break;
            }
        } else if (reader_.state() == HttpResponseReader::State::complete) {
            settle(QByteArray::fromStdString(reader_.body()), nullptr);
        }
    }
}

void ManifestFetch::ended() {
    if (settled_)
        return;
    receive(); // what arrived before the close
    if (settled_)
        return;
    reader_.close();
    if (reader_.state() == HttpResponseReader::State::complete)
        settle(QByteArray::fromStdString(reader_.body()), nullptr);
    else
        settle(UpdateFailure::unreachable, "connection ended early");
}

void ManifestFetch::settle(FeedResult result, const char* why) {
    if (settled_)
        return;
    settled_ = true;
    idle_.stop();
    total_.stop();
    socket_.disconnect(this);
    socket_.abort();
    if (why)
        qCDebug(lcUpdates) << "manifest fetch:" << why;
    QMetaObject::invokeMethod(
        parent(), [done = std::move(done_), result = std::move(result)] { done(result); },
        Qt::QueuedConnection);
    deleteLater();
}

} // namespace MurvelCommerceUpdates
