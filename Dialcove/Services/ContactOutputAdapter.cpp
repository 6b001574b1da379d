#include "Dialcove/Services/ContactOutputAdapter.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "DialcoveCore/DisplayText.hpp"
#include "Platform/UrlOpener.hpp"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>
#include <optional>

using DialcoveCore::ActionRequest;

namespace Dialcove {

namespace {

// The RFC 3986 path characters beyond the unreserved ones, which stay as they are. For "sms", "tel"
// and "mailto" the set loses "?", "#" and "%", none of which it holds, so one set serves both.
constexpr char pathDelimiters[] = "!$&'()*+,;=:@/";
// In "mailto:" a comma separates addresses (and some mail programs split at ";" too), so both are
// encoded there: one value is always one address.
constexpr char addressDelimiters[] = "!$&'()*+=:@/";

// None for text that is not valid UTF-8 or is empty.
std::optional<QString> percentEncoded(const std::string& text, const char* kept = pathDelimiters) {
    const QByteArray bytes = QByteArray::fromStdString(text);
    if (bytes.isEmpty() || QString::fromUtf8(bytes).toUtf8() != bytes)
        return std::nullopt;
    return QString::fromLatin1(bytes.toPercentEncoding(kept));
}

// The number without its leading "+" signs; none unless only digits and "+" remain.
std::optional<QString> chatDigits(const std::string& internationalNumber) {
    const std::size_t start = internationalNumber.find_first_not_of('+');
    if (start == std::string::npos)
        return std::nullopt;
    const std::string digits = internationalNumber.substr(start);
    if (digits.find_first_not_of("0123456789+") != std::string::npos)
        return std::nullopt;
    return QString::fromStdString(digits);
}

const char* schemeOf(ActionRequest::Kind kind) {
    switch (kind) {
    case ActionRequest::Kind::message:
        return "sms";
    case ActionRequest::Kind::call:
        return "tel";
    case ActionRequest::Kind::email:
        return "mailto";
    case ActionRequest::Kind::copy:
    case ActionRequest::Kind::whatsapp:
        break;
    }
    return nullptr;
}

} // namespace

ContactOutputAdapter::ContactOutputAdapter(std::shared_ptr<ExternalWorkspace> workspace)
    : workspace_(std::move(workspace)) {}

bool ContactOutputAdapter::copy(const std::string& text) {
    assertMainThread();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Pasted elsewhere, a bidi override would show the text in another order than its own.
    const QString value = QString::fromStdString(DialcoveCore::withoutBidiControls(text));
    clipboard->clear(QClipboard::Clipboard);
    clipboard->setText(value, QClipboard::Clipboard);
    return clipboard->text(QClipboard::Clipboard) == value;
}

QCoro::Task<bool> ContactOutputAdapter::open(ActionRequest request) {
    // The frame keeps the workspace alive across the wait.
    const std::shared_ptr<ExternalWorkspace> workspace = workspace_;
    if (request.kind == ActionRequest::Kind::copy)
        co_return false;

    if (request.kind == ActionRequest::Kind::whatsapp) {
        const std::optional<QString> digits = chatDigits(request.text);
        if (!digits)
            co_return false;
        const QString appLink = QStringLiteral("whatsapp://send?phone=") + *digits;
        if (Platform::UrlOpener::isWellFormed(appLink) && workspace->hasApplication(appLink))
            co_return co_await workspace->open(appLink);
        const QString webLink = QStringLiteral("https://") + chatLinkHost + u'/' + *digits;
        if (!Platform::UrlOpener::isWellFormed(webLink))
            co_return false;
        co_return co_await workspace->open(webLink);
    }

    const bool email = request.kind == ActionRequest::Kind::email;
    const std::optional<QString> encoded =
        percentEncoded(request.text, email ? addressDelimiters : pathDelimiters);
    if (!encoded)
        co_return false;
    QString url = QString::fromLatin1(schemeOf(request.kind)) + u':' + *encoded;
    // An extension as RFC 3966 writes it; the request holds only its digits.
    if (request.kind == ActionRequest::Kind::call && !request.extension.empty()) {
        if (request.extension.find_first_not_of("0123456789") != std::string::npos)
            co_return false;
        url += QStringLiteral(";ext=") + QString::fromStdString(request.extension);
    }
    if (!Platform::UrlOpener::isWellFormed(url))
        co_return false;
    co_return co_await workspace->open(url);
}

QCoro::Task<bool> ContactOutputAdapter::openContact(DialcoveCore::ContactID id) {
    const std::shared_ptr<ExternalWorkspace> workspace = workspace_;
    const std::optional<QString> encoded = percentEncoded(id.rawValue);
    if (!encoded)
        co_return false;
    const QString url = QStringLiteral("addressbook://") + *encoded;
    if (!Platform::UrlOpener::isWellFormed(url))
        co_return false;
    co_return co_await workspace->open(url);
}

} // namespace Dialcove
