#pragma once

#include "MurvelCommerceUpdates/SiteUpdateFeed.hpp"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <curl/curl.h>

class QSocketNotifier;

namespace MurvelCommerceUpdates {

// One GET of the manifest by SiteUpdateFeed, through libcurl on a connection of its own, driven
// from this thread's event loop: curl's sockets are watched by socket notifiers and its timer is a
// QTimer, so nothing blocks and no other thread is involved. A child of the caller's context:
// destroying that aborts the fetch without an answer.
class ManifestFetch final : public QObject {
public:
    ManifestFetch(const SiteUpdateFeed::Settings& settings, QObject* context,
                  std::function<void(FeedResult)> done);
    ~ManifestFetch() override;

    void start();

private:
    // The notifiers of one of curl's sockets, children of the fetch.
    struct Watch {
        QSocketNotifier* read = nullptr;
        QSocketNotifier* write = nullptr;
        // Possibly from inside one of these notifiers' own signal: each goes once that returns,
        // and with the fetch at the latest.
        void discard();
    };

    static int onSocket(CURL*, curl_socket_t socket, int what, void* self, void*);
    static int onTimer(CURLM*, long milliseconds, void* self);
    static size_t onHead(char* data, size_t size, size_t count, void* self);
    static size_t onBody(char* data, size_t size, size_t count, void* self);

    bool prepare();
    void watch(curl_socket_t socket, int what);
    // Tells curl what happened on `socket` (or that its timer ran out), then looks for the end.
    void drive(curl_socket_t socket, int events);
    void finished(CURLcode code);
    long status() const;
    // Answers once: ends the transfer and closes its connection first, so nothing after can change
    // the outcome, then queues `done` on the context and deletes this.
    void settle(FeedResult result, const char* why);
    void release();

    SiteUpdateFeed::Settings settings_;
    std::function<void(FeedResult)> done_;
    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    curl_slist* headers_ = nullptr;
    QByteArray url_;
    QByteArray authorityFile_;
    QHash<curl_socket_t, Watch> watches_;
    QTimer curlTimer_;
    QTimer idle_;
    QByteArray body_;
    qsizetype headBytes_ = 0;
    bool headTooLarge_ = false;
    bool bodyTooLarge_ = false;
    bool settled_ = false;
};

} // namespace MurvelCommerceUpdates
