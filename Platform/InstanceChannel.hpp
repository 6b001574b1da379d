#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QLocalServer;
class QLocalSocket;

namespace Platform {

// How a second start reaches the running copy: a local socket beside the single-instance lock, in
// the same folder of the user's own, so it is per user and display and never on a network. The
// second start sends one request, carrying the activation token its desktop gave it, and the
// running copy answers once the request has been handed on. Only a process of the same user is
// heard. Main thread only on the listening side.
class InstanceChannel final : public QObject {
    Q_OBJECT

public:
    // What a request may carry at most: a desktop's token is far shorter.
    static constexpr int maximumRequestBytes = 4096;
    static constexpr int maximumTokenLength = 512;
    // How long the running copy waits for a connection to finish its request.
    static constexpr std::chrono::milliseconds requestBound{2000};

    // What the second start's desktop gave it for the focus; empty when it gave nothing. Only
    // printable ASCII of at most maximumTokenLength characters travels.
    struct Request {
        // XDG_ACTIVATION_TOKEN
        QByteArray activationToken;
        // DESKTOP_STARTUP_ID
        QByteArray startupId;
    };

    struct Sent {
        bool delivered = false;
        // Why it was not, as a short sentence.
        QString problem;
    };

    // Listens at `path`. Only the holder of the single-instance lock may: whatever is there is
    // left from a copy that ended, and goes first.
    explicit InstanceChannel(QString path, QObject* parent = nullptr);
    ~InstanceChannel() override;

    // False (logged) when the socket cannot be made; a second start then cannot reach this copy.
    bool listen();
    bool isListening() const;
    const QString& path() const { return path_; }

    // Runs for each request in turn; requests that come before it is set wait for it.
    void setHandler(std::function<void(const Request&)> handler);

    // Sends `request` to the copy listening at `path` and waits for its answer, `bound` at most in
    // all. A copy that is still starting has not made its socket yet, so a missing or refusing
    // socket is tried again within the bound. Needs no event loop.
    static Sent send(const QString& path, const Request& request, std::chrono::milliseconds bound);

    // The token as it may travel: kept when it is printable ASCII and not too long, else empty.
    static QByteArray acceptedToken(const QByteArray& token);

private:
    void accept();
    void readFrom(QLocalSocket* socket);
    void deliver();

    QString path_;
    std::unique_ptr<QLocalServer> server_;
    std::function<void(const Request&)> handler_;
    // Read requests waiting for the handler, with the connection that awaits the answer.
    std::vector<std::pair<Request, QLocalSocket*>> waiting_;
};

} // namespace Platform
