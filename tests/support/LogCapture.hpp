#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace TestSupport {

// Collects the messages logged while it lives.
class LogCapture {
public:
    LogCapture() {
        current = this;
        previous_ = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
                current->messages.append({QString::fromLatin1(context.category), text, type});
            });
    }
    ~LogCapture() {
        qInstallMessageHandler(previous_);
        current = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    struct Message {
        QString category;
        QString text;
        QtMsgType type;
    };
    QList<Message> messages;

    // The messages of one category at one level.
    QList<Message> of(const QString& category, QtMsgType type) const {
        QList<Message> found;
        for (const Message& message : messages)
            if (message.category == category && message.type == type)
                found.append(message);
        return found;
    }

private:
    static inline LogCapture* current = nullptr;
    QtMessageHandler previous_;
};

} // namespace TestSupport
