#pragma once

#include "MurvelCommerceUpdates/HttpResponseReader.hpp"
#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"

#include <QObject>
#include <QSslSocket>
#include <QTimer>

namespace MurvelCommerceUpdates {

// One GET of the manifest by SiteUpdateFeed, on a TLS connection of its own, read by hand so that
// the head is bounded as well as the body (Qt's HTTP client keeps a head of any length). A child of
// the caller's context: destroying that aborts the fetch without an answer.
class ManifestFetch final : public QObject {
public:
    ManifestFetch(const SiteUpdateFeed::Settings& settings, QObject* context,
                  std::function<void(FeedResult)> done);
    ~ManifestFetch() override;

    void start();

private:
    void send();
    void receive();
    void ended();
    // Answers once: stops the timers and the connection first, so nothing after can change the
    // outcome, then queues `done` on the context and deletes this.
    void settle(FeedResult result, const char* why);

    SiteUpdateFeed::Settings settings_;
    std::function<void(FeedResult)> done_;
    QSslSocket socket_;
    QTimer idle_;
    QTimer total_;
    HttpResponseReader reader_;
    bool settled_ = false;
};

} // namespace MurvelCommerceUpdates
