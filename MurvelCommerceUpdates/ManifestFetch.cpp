#include "MurvelCommerceUpdates/ManifestFetch.hpp"

#include "MurvelCommerceUpdates/UpdateLogging.hpp"

#include <QSocketNotifier>
#include <mutex>

namespace MurvelCommerceUpdates {

namespace {

// The request's fields, in this order and no others; "Connection: close" keeps the connection to
// this one request.
constexpr const char* requestFields[] = {
    "User-Agent: MurvelWorks",
    "Accept: application/json",
    "Accept-Language: *",
    "Connection: close",
};

bool initialiseCurl() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ready;
}

template <typename Value> bool set(CURL* easy, CURLoption option, Value value) {
    return curl_easy_setopt(easy, option, value) == CURLE_OK;
}

} // namespace

void ManifestFetch::Watch::discard() {
    for (QSocketNotifier* notifier : {read, write}) {
        if (notifier) {
            notifier->setEnabled(false);
            notifier->disconnect();
            notifier->deleteLater();
        }
    }
    read = write = nullptr;
}

ManifestFetch::ManifestFetch(const SiteUpdateFeed::Settings& settings, QObject* context,
                             std::function<void(FeedResult)> done)
    : QObject(context), settings_(settings), done_(std::move(done)) {}

ManifestFetch::~ManifestFetch() {
    release();
}

void ManifestFetch::start() {
    const QUrl& url = settings_.manifest;
    // curl would send a user name and password written into the address; none is ever wanted.
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty() ||
        !url.userInfo().isEmpty()) {
        settle(UpdateFailure::unreachable, "not an https address");
        return;
    }
    if (!prepare()) {
        settle(UpdateFailure::unreachable, "the transfer could not be set up");
        return;
    }

    // Precise: a coarse timer may fire 5 % early.
    idle_.setTimerType(Qt::PreciseTimer);
    idle_.setSingleShot(true);
    idle_.setInterval(settings_.idleTimeout);
    connect(&idle_, &QTimer::timeout, this, [this] { settle(UpdateFailure::unreachable, "idle time-out"); });
    curlTimer_.setTimerType(Qt::PreciseTimer);
    curlTimer_.setSingleShot(true);
    connect(&curlTimer_, &QTimer::timeout, this, [this] { drive(CURL_SOCKET_TIMEOUT, 0); });
    idle_.start();

    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK)
        settle(UpdateFailure::unreachable, "the transfer could not be started");
}

bool ManifestFetch::prepare() {
    if (!initialiseCurl())
        return false;
    multi_ = curl_multi_init();
    easy_ = curl_easy_init();
    if (!multi_ || !easy_)
        return false;
    for (const char* field : requestFields) {
        curl_slist* longer = curl_slist_append(headers_, field);
        if (!longer)
            return false;
        headers_ = longer;
    }
    url_ = settings_.manifest.toEncoded();
    const auto totalMilliseconds = static_cast<long>(settings_.totalTimeout.count());
    bool ok = curl_multi_setopt(multi_, CURLMOPT_SOCKETFUNCTION, &ManifestFetch::onSocket) == CURLM_OK &&
              curl_multi_setopt(multi_, CURLMOPT_SOCKETDATA, this) == CURLM_OK &&
              curl_multi_setopt(multi_, CURLMOPT_TIMERFUNCTION, &ManifestFetch::onTimer) == CURLM_OK &&
              curl_multi_setopt(multi_, CURLMOPT_TIMERDATA, this) == CURLM_OK;
    ok = ok && set(easy_, CURLOPT_URL, url_.constData()) &&
         // HTTPS and nothing else, never a redirect: a 3xx is the answer itself.
         set(easy_, CURLOPT_PROTOCOLS_STR, "https") && set(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "https") &&
         set(easy_, CURLOPT_FOLLOWLOCATION, 0L) && set(easy_, CURLOPT_MAXREDIRS, 0L) &&
         set(easy_, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1)) && set(easy_, CURLOPT_HTTPGET, 1L) &&
         set(easy_, CURLOPT_HTTPHEADER, headers_) &&
         // Nothing kept: no cookie engine (no cookie file is ever named), no connection or TLS
         // session left for a later fetch.
         set(easy_, CURLOPT_FORBID_REUSE, 1L) && set(easy_, CURLOPT_FRESH_CONNECT, 1L) &&
         set(easy_, CURLOPT_SSL_SESSIONID_CACHE, 0L) && set(easy_, CURLOPT_SSL_VERIFYPEER, 1L) &&
         set(easy_, CURLOPT_SSL_VERIFYHOST, 2L) &&
         set(easy_, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2)) &&
         set(easy_, CURLOPT_TIMEOUT_MS, totalMilliseconds) &&
         // A Content-Length over the limit ends the fetch before the body; onBody holds the limit
         // for every other framing.
         set(easy_, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(SiteUpdateFeed::maximumBodyBytes)) &&
         set(easy_, CURLOPT_HEADERFUNCTION, &ManifestFetch::onHead) && set(easy_, CURLOPT_HEADERDATA, this) &&
         set(easy_, CURLOPT_WRITEFUNCTION, &ManifestFetch::onBody) && set(easy_, CURLOPT_WRITEDATA, this) &&
         // Signals are the app's: curl neither installs handlers nor uses alarms.
         set(easy_, CURLOPT_NOSIGNAL, 1L) &&
         // An abandoned fetch (the app quitting, a time-out) leaves a name still being looked up
         // to its resolver thread instead of waiting for it.
         set(easy_, CURLOPT_QUICK_EXIT, 1L);
    if (ok && !settings_.authorityFile.isEmpty()) {
        authorityFile_ = settings_.authorityFile.toLocal8Bit();
        ok = set(easy_, CURLOPT_CAINFO, authorityFile_.constData()) &&
             set(easy_, CURLOPT_CAPATH, static_cast<const char*>(nullptr));
    }
    return ok;
}

int ManifestFetch::onSocket(CURL*, curl_socket_t socket, int what, void* self, void*) {
    static_cast<ManifestFetch*>(self)->watch(socket, what);
    return 0;
}

void ManifestFetch::watch(curl_socket_t socket, int what) {
    if (what == CURL_POLL_REMOVE) {
        if (auto found = watches_.find(socket); found != watches_.end()) {
            found->discard();
            watches_.erase(found);
        }
        return;
    }
    Watch& current = watches_[socket];
    const auto ensure = [&](QSocketNotifier*& notifier, QSocketNotifier::Type type, int event, bool wanted) {
        if (!wanted) {
            if (notifier)
                notifier->setEnabled(false);
            return;
        }
        if (!notifier) {
            notifier = new QSocketNotifier(socket, type, this);
            connect(notifier, &QSocketNotifier::activated, this, [this, socket, event] {
                // Bytes from the site, or its close: either ends a wait.
                if (event == CURL_CSELECT_IN)
                    idle_.start();
                drive(socket, event);
            });
        }
        notifier->setEnabled(true);
    };
    ensure(current.read, QSocketNotifier::Read, CURL_CSELECT_IN,
           what == CURL_POLL_IN || what == CURL_POLL_INOUT);
    ensure(current.write, QSocketNotifier::Write, CURL_CSELECT_OUT,
           what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
}

int ManifestFetch::onTimer(CURLM*, long milliseconds, void* self) {
    auto* fetch = static_cast<ManifestFetch*>(self);
    // Never from inside curl: a due timer runs from the event loop.
    if (milliseconds < 0)
        fetch->curlTimer_.stop();
    else
        fetch->curlTimer_.start(static_cast<int>(milliseconds));
    return 0;
}

void ManifestFetch::drive(curl_socket_t socket, int events) {
    if (settled_ || !multi_)
        return;
    int running = 0;
    if (curl_multi_socket_action(multi_, socket, events, &running) != CURLM_OK) {
        settle(UpdateFailure::unreachable, "the transfer failed");
        return;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
            finished(message->data.result);
            return;
        }
    }
}

long ManifestFetch::status() const {
    long code = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

size_t ManifestFetch::onHead(char*, size_t size, size_t count, void* self) {
    auto* fetch = static_cast<ManifestFetch*>(self);
    // Every line counts, interim answers and trailers too; curl hands over whole lines, and holds
    // a single line to 100 KiB itself.
    const size_t bytes = size * count;
    fetch->headBytes_ += static_cast<qsizetype>(bytes);
    if (fetch->headBytes_ > SiteUpdateFeed::maximumHeadBytes) {
        fetch->headTooLarge_ = true;
        return 0;
    }
    // The empty line ends a head: past an interim answer, any status but 200 ends the fetch
    // before its body.
    const long code = fetch->status();
    if (bytes <= 2 && code >= 200 && code != 200)
        return 0;
    return bytes;
}

size_t ManifestFetch::onBody(char* data, size_t size, size_t count, void* self) {
    auto* fetch = static_cast<ManifestFetch*>(self);
    const size_t bytes = size * count;
    if (fetch->status() != 200)
        return 0;
    if (fetch->body_.size() + static_cast<qsizetype>(bytes) > SiteUpdateFeed::maximumBodyBytes) {
        fetch->bodyTooLarge_ = true;
        return 0;
    }
    fetch->body_.append(data, static_cast<qsizetype>(bytes));
    return bytes;
}

void ManifestFetch::finished(CURLcode code) {
    const long answered = status();
    if (headTooLarge_) {
        settle(UpdateFailure::unreachable, "head over the limit");
    } else if (answered != 0 && answered != 200) {
        settle(UpdateFailure::unreachable, qPrintable(QStringLiteral("status %1").arg(answered)));
    } else if (bodyTooLarge_ || code == CURLE_FILESIZE_EXCEEDED) {
        settle(UpdateFailure::unreadable, "body over the limit");
    } else if (code != CURLE_OK) {
        settle(UpdateFailure::unreachable, curl_easy_strerror(code));
    } else if (answered != 200) {
        settle(UpdateFailure::unreachable, "no status");
    } else {
        settle(body_, nullptr);
    }
}

void ManifestFetch::settle(FeedResult result, const char* why) {
    if (settled_)
        return;
    settled_ = true;
    if (why)
        qCDebug(lcUpdates) << "manifest fetch:" << why;
    release();
    QMetaObject::invokeMethod(
        parent(), [done = std::move(done_), result = std::move(result)] { done(result); },
        Qt::QueuedConnection);
    deleteLater();
}

void ManifestFetch::release() {
    idle_.stop();
    curlTimer_.stop();
    if (multi_ && easy_)
        curl_multi_remove_handle(multi_, easy_); // closes the connection; its sockets leave watches_
    if (easy_)
        curl_easy_cleanup(easy_);
    if (multi_)
        curl_multi_cleanup(multi_);
    easy_ = nullptr;
    multi_ = nullptr;
    curl_slist_free_all(headers_);
    headers_ = nullptr;
    for (Watch& watch : watches_)
        watch.discard();
    watches_.clear();
}

} // namespace MurvelCommerceUpdates
