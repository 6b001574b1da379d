#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

namespace Platform {

// The desktop's light or dark preference as its settings portal reports it (the key "color-scheme"
// of "org.freedesktop.appearance"): asked once, without waiting, then followed as it changes. It
// stays unknown where no portal answers, or the portal does not know the key. Main thread only.
class DesktopColorScheme : public QObject {
    Q_OBJECT

public:
    enum class Scheme { unknown, noPreference, preferDark, preferLight };
    Q_ENUM(Scheme)

    static constexpr const char* service = "org.freedesktop.portal.Desktop";
    static constexpr const char* path = "/org/freedesktop/portal/desktop";
    static constexpr const char* interface = "org.freedesktop.portal.Settings";
    static constexpr const char* settingsNamespace = "org.freedesktop.appearance";
    static constexpr const char* key = "color-scheme";

    // Over the session bus.
    explicit DesktopColorScheme(QObject* parent = nullptr);
    // Over `bus`, a test's private bus for instance.
    explicit DesktopColorScheme(QDBusConnection bus, QObject* parent = nullptr);

    Scheme scheme() const { return scheme_; }

    // The portal's number for the preference: 1 dark, 2 light, anything else none.
    static Scheme fromPortalValue(uint value);

signals:
    void schemeChanged(Platform::DesktopColorScheme::Scheme scheme);

private slots:
    void settingChanged(const QDBusMessage& message);

private:
    void take(const QVariant& value);

    QDBusConnection bus_;
    Scheme scheme_ = Scheme::unknown;
    // A change heard before the first answer came is newer than that answer.
    bool heardChange_ = false;
};

} // namespace Platform
