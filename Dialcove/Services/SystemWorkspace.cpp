#include "Dialcove/Services/SystemWorkspace.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Platform/SchemeHandlerLookup.hpp"
#include "Platform/UrlOpener.hpp"

#include <QByteArray>
#include <QCoreApplication>
#include <QThread>

namespace Dialcove {

namespace {

const QString cardPrefix = QStringLiteral("addressbook://");

} // namespace

SystemWorkspace::SystemWorkspace(CardFileLookup cardFile, std::chrono::milliseconds openTimeout)
    : cardFile_(std::move(cardFile)), openTimeout_(openTimeout) {}

bool SystemWorkspace::hasApplication(const QString& url) {
    if (!Platform::UrlOpener::isWellFormed(url))
        return false;
    return Platform::SchemeHandlerLookup::applicationFor(QStringView(url).first(url.indexOf(u':')))
        .has_value();
}

QCoro::Task<bool> SystemWorkspace::open(QString url) {
    assertMainThread();
    const std::chrono::milliseconds timeout = openTimeout_;
    QString target = url;
    if (url.startsWith(cardPrefix, Qt::CaseInsensitive)) {
        if (!cardFile_ || !Platform::UrlOpener::isWellFormed(url))
            co_return false;
        const QByteArray raw = QByteArray::fromPercentEncoding(url.mid(cardPrefix.size()).toLatin1());
        const std::optional<QString> path = cardFile_(DialcoveCore::ContactID(raw.toStdString()));
        const std::optional<QString> file = path ? Platform::UrlOpener::fileUrl(*path) : std::nullopt;
        if (!file)
            co_return false;
        target = *file;
    }
    const Platform::UrlOpener::Outcome outcome = co_await Platform::UrlOpener::open(target, timeout);
    co_return outcome != Platform::UrlOpener::Outcome::failed;
}

} // namespace Dialcove
