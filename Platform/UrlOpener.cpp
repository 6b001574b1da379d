#include "Platform/UrlOpener.hpp"

#include "Platform/PlatformLogging.hpp"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFuture>
#include <QLoggingCategory>
#include <QProcess>
#include <QPromise>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <memory>
#include <qcoro/qcorofuture.h>

namespace Platform {

namespace {

bool isAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isHexDigit(QChar c) {
    return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Unreserved, sub-delims and the gen-delims other than "[", "]" and "#".
bool isPlainUrlCharacter(QChar c) {
    static const QStringView others = u"-._~!$&'()*+,;=:/?@";
    return isAsciiLetter(c) || isAsciiDigit(c) || others.contains(c);
}

} // namespace

bool UrlOpener::isWellFormed(QStringView url) {
    const qsizetype colon = url.indexOf(u':');
    if (colon <= 0 || !isAsciiLetter(url.front()))
        return false;
    for (const QChar c : url.first(colon))
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u'+' && c != u'-' && c != u'.')
            return false;
    bool inFragment = false;
    for (qsizetype i = colon + 1; i < url.size(); ++i) {
        const QChar c = url[i];
        if (c == u'%') {
            if (i + 2 >= url.size() || !isHexDigit(url[i + 1]) || !isHexDigit(url[i + 2]))
                return false;
            i += 2;
        } else if (c == u'#') {
            if (inFragment)
                return false;
            inFragment = true;
        } else if (!isPlainUrlCharacter(c)) {
            return false;
        }
    }
    return true;
}

QCoro::Task<UrlOpener::Outcome> UrlOpener::open(QString url, std::chrono::milliseconds timeout) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!isWellFormed(url))
        co_return Outcome::failed;

    // Parented to the application so that an opener outliving this call is still reaped.
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(QStringLiteral("xdg-open"));
    process->setArguments({url});
    // A handler inherits these; a pipe nobody reads would stall it once full.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);

    auto promise = std::make_shared<QPromise<Outcome>>();
    QFuture<Outcome> verdict = promise->future();
    promise->start();
    const auto settle = [promise](Outcome outcome) {
        if (promise->future().isFinished())
            return;
        promise->addResult(outcome);
        promise->finish();
    };
    QObject::connect(
        process, &QProcess::finished, process, [process, settle](int exitCode, QProcess::ExitStatus status) {
            settle(status == QProcess::NormalExit && exitCode == 0 ? Outcome::opened : Outcome::failed);
            process->deleteLater();
        });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, settle](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         qCWarning(lcOpener) << "xdg-open could not be started:" << process->errorString();
                         settle(Outcome::failed);
                         process->deleteLater();
                     });
    QTimer::singleShot(timeout, process, [settle] { settle(Outcome::stillRunning); });
    process->start();

    co_return co_await verdict;
}

bool UrlOpener::openDetached(const QString& url) {
    if (!isWellFormed(url))
        return false;
    QProcess process;
    process.setProgram(QStringLiteral("xdg-open"));
    process.setArguments({url});
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    qCWarning(lcOpener) << "could not start xdg-open";
    return false;
}

std::optional<QString> UrlOpener::fileUrl(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile())
        return std::nullopt;
    // QUrl leaves "[" and "]" bare in a path, where they are not allowed and open would refuse them.
    return QUrl::fromLocalFile(file.absoluteFilePath())
        .toString(QUrl::FullyEncoded)
        .replace(u'[', QLatin1String("%5B"))
        .replace(u']', QLatin1String("%5D"));
}

} // namespace Platform
