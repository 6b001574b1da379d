#include "XTestSupport.hpp"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QProcess>
#include <QWindow>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Sends itself a client message through the application's own connection: the server queues it
// after every event it sent before, so once it arrives those have been handled.
class SyncMarker : public QAbstractNativeEventFilter {
public:
    SyncMarker() {
        connection_ = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        window_.create();
        const char name[] = "DIALCOVE_TEST_SYNC";
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, sizeof name - 1, name), nullptr);
        type_ = reply->atom;
        std::free(reply);
        qGuiApp->installNativeEventFilter(this);
    }

    ~SyncMarker() override { qGuiApp->removeNativeEventFilter(this); }

    void sync() {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = static_cast<xcb_window_t>(window_.winId());
        message.type = type_;
        message.data.data32[0] = ++sent_;
        xcb_send_event(connection_, 0, message.window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(connection_);
        if (!QTest::qWaitFor([this] { return received_ >= sent_; }, 5000))
            qWarning("x sync marker did not come back");
        QCoreApplication::sendPostedEvents();
    }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (client->type != type_)
            return false;
        received_ = client->data.data32[0];
        return true;
    }

private:
    xcb_connection_t* connection_;
    QWindow window_;
    xcb_atom_t type_;
    uint32_t sent_ = 0;
    uint32_t received_ = 0;
};

} // namespace

bool xdotool(const QStringList& arguments) {
    // The application goes on handling its events meanwhile, as it would while a user types.
    QProcess process;
    process.start("xdotool", arguments);
    return QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000) &&
           process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool clickAt(const QPoint& where, int button) {
    const bool clicked = xdotool({"mousemove", QString::number(where.x()), QString::number(where.y()),
                                  "click", QString::number(button)});
    syncWithX();
    return clicked;
}

static SyncMarker* marker = nullptr;

void syncWithX() {
    if (marker == nullptr) {
        marker = new SyncMarker;
        // Its window must go while the application still exists.
        qAddPostRoutine([] {
            delete marker;
            marker = nullptr;
        });
    }
    marker->sync();
}
