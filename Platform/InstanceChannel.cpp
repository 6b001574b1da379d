#include "Platform/InstanceChannel.hpp"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLoggingCategory>
#include <QPointer>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <optional>
#include <poll.h>
#include <ctime>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace Platform {

namespace {

Q_LOGGING_CATEGORY(lcChannel, "works.murvel.dialcove.instance")

constexpr char toggleRequest[] = "toggle";
constexpr char answer[] = "ok\n";

// Milliseconds on the machine's monotonic clock, the same in every process.
qint64 monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

QByteArray encode(const InstanceChannel::Request& request, qint64 until) {
    // `until`: the sender has given up by then, and said so; a request read later is dropped.
    QJsonObject object{{QStringLiteral("request"), QLatin1String(toggleRequest)},
                       {QStringLiteral("until"), until}};
    if (!request.activationToken.isEmpty())
        object.insert(QStringLiteral("activationToken"), QString::fromLatin1(request.activationToken));
    if (!request.startupId.isEmpty())
        object.insert(QStringLiteral("startupId"), QString::fromLatin1(request.startupId));
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<InstanceChannel::Request> decode(const QByteArray& line) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("request")).toString() != QLatin1String(toggleRequest))
        return std::nullopt;
    if (object.value(QStringLiteral("until")).toDouble() < double(monotonicNow())) {
        qCInfo(lcChannel) << "a second start's request came after it gave up";
        return std::nullopt;
    }
    const auto token = [&object](const char* key) {
        return InstanceChannel::acceptedToken(object.value(QLatin1String(key)).toString().toUtf8());
    };
    return InstanceChannel::Request{token("activationToken"), token("startupId")};
}

// The peer runs as this user: the folder is private already, this holds if it ever is not.
bool sameUser(const QLocalSocket& socket) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return getsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           credentials.uid == ::getuid();
}

int remainingMs(const QDeadlineTimer& deadline) {
    return int(std::max<qint64>(deadline.remainingTime(), 0));
}

QString errorText(const char* what, int error) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(error)));
}

// One blocking connection attempt within `deadline`; -1 with `problem` set when it failed.
int connectWithin(const QByteArray& path, const QDeadlineTimer& deadline, QString& problem, bool& again) {
    again = false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= qsizetype(sizeof address.sun_path)) {
        problem = QStringLiteral("the socket's path is too long");
        return -1;
    }
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        problem = errorText("no socket", errno);
        return -1;
    }
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return fd;
    const int error = errno;
    if (error == EINPROGRESS || error == EAGAIN) {
        pollfd entry{fd, POLLOUT, 0};
        int soError = 0;
        socklen_t length = sizeof soError;
        if (::poll(&entry, 1, remainingMs(deadline)) == 1 &&
            getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &length) == 0 && soError == 0)
            return fd;
        problem = soError != 0 ? errorText("cannot connect", soError) : QStringLiteral("no answer");
        ::close(fd);
        return -1;
    }
    ::close(fd);
    // Not made yet, or left by a copy that ended: a copy that is starting makes it soon.
    again = error == ENOENT || error == ECONNREFUSED;
    problem = errorText("cannot connect", error);
    return -1;
}

} // namespace

InstanceChannel::InstanceChannel(QString path, QObject* parent) : QObject(parent), path_(std::move(path)) {}

InstanceChannel::~InstanceChannel() {
    if (server_)
        server_->close();
}

bool InstanceChannel::listen() {
    if (isListening())
        return true;
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path_);
    if (!server_->listen(path_)) {
        qCWarning(lcChannel) << "cannot listen for a second start at" << path_ << server_->errorString();
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &InstanceChannel::accept);
    return true;
}

bool InstanceChannel::isListening() const {
    return server_ && server_->isListening();
}

void InstanceChannel::setHandler(std::function<void(const Request&)> handler) {
    handler_ = std::move(handler);
    deliver();
}

void InstanceChannel::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!sameUser(*socket)) {
            qCWarning(lcChannel) << "a second start of another user was turned away";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // A connection that does not finish its request in time is dropped.
        QTimer::singleShot(requestBound, socket, [socket] {
            if (socket->property("dialcove.read").toBool())
                return;
            qCInfo(lcChannel) << "a second start's request did not come in time";
            socket->abort();
            socket->deleteLater();
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        readFrom(socket);
    }
}

void InstanceChannel::readFrom(QLocalSocket* socket) {
    if (socket->property("dialcove.read").toBool())
        return;
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() >= maximumRequestBytes) {
            qCInfo(lcChannel) << "a second start's request was too long";
            socket->abort();
            socket->deleteLater();
        }
        return;
    }
    socket->setProperty("dialcove.read", true);
    const std::optional<Request> request = decode(socket->readLine(maximumRequestBytes).trimmed());
    if (!request) {
        qCInfo(lcChannel) << "a second start's request was not understood";
        socket->abort();
        socket->deleteLater();
        return;
    }
    waiting_.emplace_back(*request, socket);
    deliver();
}

void InstanceChannel::deliver() {
    if (!handler_)
        return;
    while (!waiting_.empty()) {
        auto [request, raw] = waiting_.front();
        waiting_.erase(waiting_.begin());
        const QPointer<QLocalSocket> socket(raw);
        // A copy: the handler may replace itself.
        const auto handler = handler_;
        handler(request);
        if (socket) {
            socket->write(answer);
            socket->flush();
            socket->disconnectFromServer();
        }
    }
}

InstanceChannel::Sent InstanceChannel::send(const QString& path, const Request& request,
                                            std::chrono::milliseconds bound) {
    const QDeadlineTimer deadline(bound);
    const QByteArray file = QFile::encodeName(path);
    QString problem;
    int fd = -1;
    for (;;) {
        bool again = false;
        fd = connectWithin(file, deadline, problem, again);
        if (fd >= 0 || !again || deadline.hasExpired())
            break;
        ::usleep(25000);
    }
    if (fd < 0)
        return {false, problem};

    const QByteArray message =
        encode(Request{acceptedToken(request.activationToken), acceptedToken(request.startupId)},
               monotonicNow() + std::max<qint64>(deadline.remainingTime(), 0));
    qsizetype written = 0;
    while (written < message.size()) {
        const ssize_t n = ::send(fd, message.constData() + written, std::size_t(message.size() - written),
                                 MSG_NOSIGNAL);
        if (n > 0) {
            written += n;
            continue;
        }
        pollfd entry{fd, POLLOUT, 0};
        if ((n < 0 && errno != EAGAIN) || ::poll(&entry, 1, remainingMs(deadline)) != 1) {
            ::close(fd);
            return {false, QStringLiteral("the request could not be sent")};
        }
    }

    QByteArray reply;
    while (!reply.contains('\n') && reply.size() < 64) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, remainingMs(deadline)) != 1) {
            ::close(fd);
            return {false, QStringLiteral("no answer in time")};
        }
        char buffer[64];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            if (n < 0 && errno == EAGAIN)
                continue;
            break;
        }
        reply.append(buffer, n);
    }
    ::close(fd);
    if (reply != answer)
        return {false, QStringLiteral("the request was turned down")};
    return {true, {}};
}

QByteArray InstanceChannel::acceptedToken(const QByteArray& token) {
    if (token.size() > maximumTokenLength)
        return {};
    for (const char c : token)
        if (c < 0x21 || c > 0x7e)
            return {};
    return token;
}

} // namespace Platform
