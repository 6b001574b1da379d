#include "Dialcove/Shell/StatusIconArt.hpp"
#include "EndToEndFixture.hpp"
#include "Platform/DesktopEntryFile.hpp"
#include "Platform/DesktopIdentity.hpp"
#include "tests/support/PrivateBus.hpp"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QIcon>
#include <QImage>
#include <QSet>

namespace {

using namespace EndToEndTest;
using DialcoveCore::MenuStatus;

// A StatusNotifierItem host's watcher on a test's bus: it says a host is there, so that Qt shows
// the icon as a StatusNotifierItem, and records each item that registers.
class FakeStatusNotifierWatcher final : public QDBusVirtualObject {
public:
    explicit FakeStatusNotifierWatcher(QDBusConnection bus) : bus_(std::move(bus)) {
        registered_ = bus_.registerVirtualObject(QStringLiteral("/StatusNotifierWatcher"), this) &&
                      bus_.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"));
    }

    bool isRegistered() const { return registered_; }
    QStringList items;

    QString introspect(const QString&) const override {
        return QStringLiteral(
            "<interface name='org.kde.StatusNotifierWatcher'>"
            "<property name='ProtocolVersion' type='i' access='read'/>"
            "<property name='RegisteredStatusNotifierItems' type='as' access='read'/>"
            "<property name='IsStatusNotifierHostRegistered' type='b' access='read'/>"
            "<method name='RegisterStatusNotifierItem'><arg type='s' name='service' direction='in'/></method>"
            "<method name='RegisterStatusNotifierHost'><arg type='s' name='service' direction='in'/></method>"
            "<signal name='StatusNotifierItemRegistered'><arg type='s' name='service'/></signal>"
            "</interface>");
    }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        const QVariantMap properties{{QStringLiteral("ProtocolVersion"), 0},
                                     {QStringLiteral("RegisteredStatusNotifierItems"), items},
                                     {QStringLiteral("IsStatusNotifierHostRegistered"), true}};
        const QString member = message.member();
        if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties")) {
            if (member == QLatin1String("GetAll"))
                return connection.send(message.createReply(properties));
            const QString name = message.arguments().value(1).toString();
            return connection.send(
                message.createReply(QVariant::fromValue(QDBusVariant(properties.value(name)))));
        }
        if (member == QLatin1String("RegisterStatusNotifierItem")) {
            items << message.arguments().value(0).toString();
            return connection.send(message.createReply());
        }
        if (member == QLatin1String("RegisterStatusNotifierHost"))
            return connection.send(message.createReply());
        return false;
    }

private:
    QDBusConnection bus_;
    bool registered_ = false;
};

// One entry of a com.canonical.dbusmenu layout, (ia{sv}av), with those below it.
struct MenuNode {
    int id = 0;
    QString label;
    std::vector<MenuNode> children;
};

MenuNode readMenuNode(const QDBusArgument& argument) {
    MenuNode node;
    QVariantMap properties;
    argument.beginStructure();
    argument >> node.id >> properties;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        node.children.push_back(readMenuNode(child.variant().value<QDBusArgument>()));
    }
    argument.endArray();
    argument.endStructure();
    node.label = properties.value(QStringLiteral("label")).toString();
    return node;
}

// The build installed into a prefix of the test's home as `cmake --install` puts it, and the
// environment of a session that knows it: its bin/ first on PATH, its share/ among the data folders.
class InstalledCopy : public EndToEnd {
protected:
    InstalledCopy() {
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(CMAKE_COMMAND),
                      {"--install", QStringLiteral(DIALCOVE_BUILD_DIR), "--prefix", prefix()});
        installed = install.waitForFinished(60000) && install.exitStatus() == QProcess::NormalExit &&
                    install.exitCode() == 0;
        installLog = install.readAll();
    }

    QString prefix() const { return xdg.path("prefix"); }
    QString program() const { return prefix() + "/bin/dialcove"; }

    QProcessEnvironment installedEnvironment() const {
        QProcessEnvironment session = environment();
        session.insert("PATH", prefix() + "/bin:" + session.value("PATH"));
        session.insert("XDG_DATA_DIRS", prefix() + "/share:/usr/share");
        return session;
    }

    // A top-level window of the program that is not its panel: the preferences or the welcome.
    std::optional<DesktopWindow> otherWindow() const {
        for (const DesktopWindow& window : viewableWindows(client.connection(), client.root()))
            if (window.belongsTo("dialcove") && window.parent == client.root() && !window.overrideRedirect)
                return window;
        return std::nullopt;
    }

    // The icon's menu while it is open: a popup of the program, taller than a tooltip.
    std::optional<DesktopWindow> menu() const {
        for (const DesktopWindow& window : viewableWindows(client.connection(), client.root()))
            if (window.belongsTo("dialcove") && window.parent == client.root() && window.overrideRedirect &&
                window.frame.width() != 368 && window.frame.height() >= 48)
                return window;
        return std::nullopt;
    }

    // Clicks the `index`th of the open menu's three entries.
    bool clickMenuEntry(int index) {
        const QRect frame = menu()->frame;
        const int y = frame.top() + frame.height() * (2 * index + 1) / 6;
        return xdotool({"mousemove", QString::number(frame.center().x()), QString::number(y), "click", "1"});
    }

    bool rightClickOn(const DesktopWindow& window) {
        const QPoint centre = window.frame.center();
        return xdotool({"mousemove", QString::number(centre.x()), QString::number(centre.y()), "click", "3"});
    }

    bool installed = false;
    QByteArray installLog;
};

// The colours of a window's pixels, as another client reads them from the screen.
QSet<QRgb> coloursOf(const DesktopWindow& window) {
    QProcess import;
    import.start(QStringLiteral("import"), {"-window", QString::number(window.id), "png:-"});
    import.waitForFinished(10000);
    const QImage image = QImage::fromData(import.readAllStandardOutput(), "PNG");
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

TEST_F(InstalledCopy, EveryStatusHasItsSymbolicIconWhereTheThemeLooks) {
    ASSERT_TRUE(installed) << installLog.constData();
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString theme = QIcon::themeName();
    // The theme's folders are those of hicolor's index.theme, which the system's copy holds.
    QIcon::setThemeSearchPaths({prefix() + "/share/icons", "/usr/share/icons"});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    for (const MenuStatus status : {MenuStatus::ready, MenuStatus::disabled, MenuStatus::needsPermission,
                                    MenuStatus::shortcutConflict, MenuStatus::copied}) {
        const QString name = Dialcove::StatusIconArt::themeName(status);
        EXPECT_TRUE(QIcon::hasThemeIcon(name)) << name.toStdString();
        EXPECT_FALSE(QIcon::fromTheme(name).pixmap(22, 22).isNull()) << name.toStdString();
    }
    EXPECT_TRUE(QIcon::hasThemeIcon(Platform::DesktopIdentity::appId()));
    QIcon::setThemeSearchPaths(searchPaths);
    QIcon::setThemeName(theme);
}

TEST_F(InstalledCopy, ItsTrayIconShowsAndItsMenuOpensPreferencesWhereOpenAtLoginNamesIt) {
    ASSERT_TRUE(installed) << installLog.constData();
    startTray();
    DialcoveRun run(installedEnvironment(), program());
    ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
    ASSERT_TRUE(waitLong([&] { return icon().has_value(); })) << windowList() << run.log().constData();
    const DesktopWindow trayIcon = settledIcon();
    // The symbol is drawn on the tray's background, once the icon has painted.
    EXPECT_TRUE(waitLong([&] { return coloursOf(trayIcon).size() >= 2; }));

    // A right click opens the menu, not the panel; its first entry opens the preferences.
    ASSERT_TRUE(rightClickOn(trayIcon));
    ASSERT_TRUE(waitUntil([&] { return menu().has_value(); })) << windowList();
    QTest::qWait(200);
    EXPECT_FALSE(panel().has_value());
    ASSERT_TRUE(clickMenuEntry(0));
    ASSERT_TRUE(waitUntil([&] { return otherWindow().has_value(); })) << windowList();
    EXPECT_EQ(otherWindow()->frame.width(), 560) << "the preferences window";

    // Open at Login, switched on with the keyboard, writes an entry that starts the installed copy
    // by the name PATH finds it under, with the menu entry's name, comment and icon.
    QTest::qWait(300);
    const QString entry = xdg.path("config/autostart/works.murvel.dialcove.desktop");
    ASSERT_TRUE(key("Tab space"));
    ASSERT_TRUE(waitUntil([&] { return QFileInfo::exists(entry); })) << run.log().constData();
    const QHash<QString, QString> keys =
        Platform::DesktopEntryFile::read(entry).value_or(QHash<QString, QString>());
    EXPECT_EQ(keys.value("Exec"), "dialcove");
    EXPECT_EQ(keys.value("Name"), "Dialcove");
    EXPECT_EQ(keys.value("Icon"), "works.murvel.dialcove");
    EXPECT_EQ(keys.value("Comment"), Platform::DesktopIdentity::summary());
    QProcess validate;
    validate.start(QStringLiteral("desktop-file-validate"), {entry});
    ASSERT_TRUE(validate.waitForFinished(10000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAll().constData();

    // The menu's last entry quits.
    ASSERT_TRUE(rightClickOn(trayIcon));
    ASSERT_TRUE(waitUntil([&] { return menu().has_value(); })) << windowList();
    QTest::qWait(200);
    const std::string shown = windowList();
    ASSERT_TRUE(clickMenuEntry(2));
    EXPECT_EQ(run.exitWithin(10000), 0) << shown << run.log().constData();
}

TEST_F(InstalledCopy, AStatusNotifierHostGetsTheInstalledIconByNameAndTheMenusEntriesWork) {
    ASSERT_TRUE(installed) << installLog.constData();
    TestSupport::PrivateBus bus;
    ASSERT_TRUE(bus.isRunning());
    FakeStatusNotifierWatcher watcher(bus.connect());
    ASSERT_TRUE(watcher.isRegistered());
    QProcessEnvironment session = installedEnvironment();
    session.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    DialcoveRun run(session, program());
    ASSERT_TRUE(run.waitUntilRunning()) << run.log().constData();
    ASSERT_TRUE(waitLong([&] { return !watcher.items.isEmpty(); })) << run.log().constData();

    QDBusConnection host = bus.connect();
    const QString item = watcher.items.front();
    const auto call = [&](const QString& path, const QString& interface, const QString& member,
                          const QVariantList& arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(item, path, interface, member);
        message.setArguments(arguments);
        return host.call(message, QDBus::Block, 10000);
    };
    const auto property = [&](const char* name) {
        const QDBusMessage reply = call("/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                                        {"org.kde.StatusNotifierItem", QString::fromLatin1(name)});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    };
    EXPECT_EQ(property("IconName").toString(), "works.murvel.dialcove-ready-symbolic");

    const QString menuPath = property("Menu").value<QDBusObjectPath>().path();
    ASSERT_FALSE(menuPath.isEmpty());
    const QDBusMessage layout = call(menuPath, "com.canonical.dbusmenu", "GetLayout", {0, -1, QStringList()});
    ASSERT_EQ(layout.arguments().size(), 2) << layout.errorMessage().toStdString();
    const MenuNode menu = readMenuNode(layout.arguments()[1].value<QDBusArgument>());
    QStringList labels;
    for (const MenuNode& entry : menu.children)
        labels << entry.label;
    ASSERT_EQ(labels, (QStringList{"Preferences", "Getting Started", "Quit"}));

    // The host's left click toggles the panel; the menu's second entry opens the welcome window.
    call("/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate", {0, 0});
    ASSERT_TRUE(waitUntil([&] { return panel().has_value(); })) << windowList() << run.log().constData();
    call(menuPath, "com.canonical.dbusmenu", "Event",
         {menu.children[1].id, "clicked", QVariant::fromValue(QDBusVariant(QString())), 0u});
    EXPECT_TRUE(waitUntil([&] { return !panel() && otherWindow().has_value(); })) << windowList();
    call(menuPath, "com.canonical.dbusmenu", "Event",
         {menu.children[2].id, "clicked", QVariant::fromValue(QDBusVariant(QString())), 0u});
    EXPECT_EQ(run.exitWithin(10000), 0) << run.log().constData();
}

} // namespace
