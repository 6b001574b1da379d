// Renders the app's views, light, dark and at the largest text size, to PNG files, so that a person
// can look at them without running the app: the search panel in the states a user meets, and the
// preferences window as it opens (its height capped by the screen) and its whole content.
// Usage: DialcoveGallery <output folder>.

#include "Dialcove/Services/ContactSettings.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Views/ContactDetailView.hpp"
#include "Dialcove/Views/ContactListSection.hpp"
#include "Dialcove/Views/ContactsPreferencesView.hpp"
#include "MurvelCommerceUpdates/UpdateChecker.hpp"
#include "MurvelCommerceUpdates/UpdateFeed.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Update/SampleUpdateNotifier.hpp"
#include "MurvelUI/Windows/FixedWindow.hpp"
#include "Platform/AutostartEntry.hpp"
#include "Platform/SyncFolderStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "WelcomeViewPages.hpp"
#include "tests/Dialcove/Support/ShownPanelView.hpp"
#include "tests/MurvelUI/Support/OffscreenSetup.hpp"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <stdexcept>

using namespace MurvelUI;
using Dialcove::ContactPermission;

namespace {

struct Variant {
    const char* suffix;
    MurvelColorScheme scheme;
    MurvelTypeSize size;
};

bool save(const QImage& image, const QString& folder, const QString& name, const Variant& variant) {
    const QString file = folder + QLatin1Char('/') + name + QLatin1Char('-') + QLatin1String(variant.suffix) +
                         QStringLiteral(".png");
    if (!image.save(file)) {
        std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

QImage renderAt2x(QWidget& widget) {
    QImage image(widget.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::transparent);
    widget.render(&image);
    return image;
}

void settle() {
    for (int turn = 0; turn < 10; ++turn)
        QCoreApplication::processEvents();
}

// The search panel.

// A maker's site that publishes `manifest`, answered on the next turn as the network would.
class PublishedManifest final : public MurvelCommerceUpdates::UpdateFeed {
public:
    explicit PublishedManifest(QByteArray manifest) : manifest_(std::move(manifest)) {}

    void fetch(QObject* context, std::function<void(MurvelCommerceUpdates::FeedResult)> done) override {
        QTimer::singleShot(0, context, [done = std::move(done), bytes = manifest_] { done(bytes); });
    }

private:
    QByteArray manifest_;
};

// The app's own update checker, as it stands after the site published 99.0: the offer the card
// shows is the checker's, not a sample's. Its defaults live in a folder of their own.
MurvelUI::UpdateNotifier* checkerOffering99(QObject* parent) {
    static QTemporaryDir home;
    static int made = 0;
    auto defaults = std::make_shared<Platform::UserDefaults>(
        home.filePath(QStringLiteral("defaults-%1.ini").arg(++made)));
    auto* checker = new MurvelCommerceUpdates::UpdateChecker(
        QStringLiteral("dialcove"), QCoreApplication::applicationVersion(),
        std::make_shared<PublishedManifest>(R"({"format":1,"apps":{"dialcove":"99.0"}})"),
        std::move(defaults), [] { return QDateTime::currentDateTimeUtc(); }, parent);
    checker->refresh();
    TestSupport::waitUntil([checker] { return checker->available().has_value(); });
    return checker;
}

struct Page {
    const char* name;
    int maximumHeight;
    ContactPermission permission;
    std::function<void(ShownPanelView&)> enter;
    DialcoveCore::PhonePlan plan = DialcoveCore::PhonePlan::brazil;
};

std::shared_ptr<Dialcove::ContactSettings> settingsWith(DialcoveCore::PhonePlan plan) {
    return std::make_shared<Dialcove::ContactSettings>(
        nullptr, DialcoveCore::ContactPreferences{true, plan, DialcoveCore::Shortcut::defaultShortcut()});
}

DialcoveCore::Contact cardContact(std::vector<DialcoveCore::ContactField> fields,
                                  std::optional<DialcoveCore::Birthday> birthday = std::nullopt,
                                  std::string name = "Marina Costa", std::string company = "Acme") {
    return {DialcoveCore::ContactID("card"), name, "", "", company, "", std::move(fields), birthday};
}

DialcoveCore::Contact nationalNumber() {
    return cardContact({Contacts::field("card-home", DialcoveCore::FieldKind::phone, "home", "030 1234567")});
}

// Lists `contact` alone and opens it, as Return does.
void openCard(ShownPanelView& p, const DialcoveCore::Contact& contact) {
    p.graph.openWith({contact});
    p.graph.navigation().openSelected();
}

void selectNext(ShownPanelView& p, int times) {
    for (int i = 0; i < times; ++i)
        p.graph.navigation().move(DialcoveCore::MoveDirection::next);
}

const std::vector<Page>& pages() {
    static const std::vector<Page> all = {
        {"results-selected", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.type("a", Contacts::all());
             selectNext(p, 1);
         }},
        {"recents", 900, ContactPermission::allowed, [](ShownPanelView& p) { p.graph.openWith(); }},
        {"empty-recents", 900, ContactPermission::allowed, [](ShownPanelView& p) { p.graph.openWith({}); }},
        {"empty-results", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.type("zzq", {});
         }},
        {"loading", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.panel->open();
             p.graph.awaitLoad();
         }},
        {"permission-unknown", 900, ContactPermission::unknown,
         [](ShownPanelView& p) { p.graph.panel->open(); }},
        {"permission-denied", 900, ContactPermission::denied,
         [](ShownPanelView& p) { p.graph.panel->open(); }},
        {"permission-restricted", 900, ContactPermission::restricted,
         [](ShownPanelView& p) { p.graph.panel->open(); }},
        {"failure", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.panel->open();
             p.graph.awaitLoad().answer.fail(std::runtime_error("the contacts folder cannot be read"));
             TestSupport::waitUntil(
                 [&] { return p.graph.session().phase() == Dialcove::PanelPhase::failure; });
         }},
        {"conflict", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.panel->keyboard().setShortcutConflict(true);
         }},
        // No tray: what opens the panel is said where the icon would be named.
        {"no-tray-off", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.panel->routes().setTrayAvailable(false);
             p.graph.settings->update(DialcoveCore::PreferenceValue::enabled(false));
         }},
        {"no-tray-conflict", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.panel->routes().setTrayAvailable(false);
             p.graph.panel->keyboard().setShortcutConflict(true);
         }},
        // A Wayland desktop: the portal's trigger, or the desktop's own settings.
        {"portal-trigger", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.panel->routes().setHotKeyRoute(Dialcove::DesktopRoutes::HotKeyRoute::portal);
             p.graph.panel->routes().setPortalTrigger(QStringLiteral("Meta+Shift+F9"));
         }},
        {"desktop-shortcut", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.panel->routes().setTrayAvailable(false);
             p.graph.panel->routes().setHotKeyRoute(Dialcove::DesktopRoutes::HotKeyRoute::desktopSettings);
         }},
        {"action-failure", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.actions().setExternalFailure(true);
         }},
        {"update", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.environment().setUpdateNotifier(new MurvelUI::SampleUpdateNotifier(&p.view));
             p.graph.openWith();
         }},
        {"update-checked", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.environment().setUpdateNotifier(checkerOffering99(&p.view));
             p.graph.openWith();
         }},
        {"capped-648-last-row", 648, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith(Contacts::numbered(8));
             selectNext(p, 7);
         }},
        {"shortcut-recording", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith();
             p.graph.panel->keyboard().setRecordingShortcut(true);
         }},
        // The contact card.
        {"card-international-copy", 900, ContactPermission::allowed,
         [](ShownPanelView& p) { openCard(p, Contacts::ana()); }},
        {"card-national-one-row", 900, ContactPermission::allowed,
         [](ShownPanelView& p) { openCard(p, nationalNumber()); }, DialcoveCore::PhonePlan::other},
        {"card-email", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             openCard(p, cardContact({Contacts::field("card-mail", DialcoveCore::FieldKind::email, "work",
                                                      "marina.costa@example.com")}));
         }},
        {"card-no-fields-edit", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             openCard(p, cardContact({}));
             p.graph.navigation().move(DialcoveCore::MoveDirection::next);
         }},
        {"card-action-running", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             openCard(p, Contacts::ana());
             // The copy waits for its look-up, which the gallery never answers.
             p.graph.actions().performSelectedAction();
         }},
        {"card-birthday", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             openCard(p, cardContact({Contacts::field("card-mobile", DialcoveCore::FieldKind::phone, "mobile",
                                                      "+55 11 91234-5678")},
                                     DialcoveCore::Birthday::make(4, 7, 1990)));
         }},
        {"card-long-name", 900, ContactPermission::allowed,
         [](ShownPanelView& p) {
             openCard(p, cardContact({Contacts::field("card-mobile", DialcoveCore::FieldKind::phone, "mobile",
                                                      "+55 11 91234-5678")},
                                     DialcoveCore::Birthday::make(29, 2),
                                     "Maria Eduarda Albuquerque de Vasconcelos Cavalcanti Sobrinho",
                                     "Companhia Brasileira de Distribuição e Logística Internacional"));
         }},
    };
    return all;
}

bool render(const QString& folder, const Page& page, MurvelColorScheme scheme, MurvelTypeSize size,
            const QString& variant) {
    ShownPanelView shown(page.maximumHeight, page.permission, settingsWith(page.plan));
    shown.environment().setForcedColorScheme(scheme);
    shown.environment().setTypeSize(size);
    shown.settle();
    page.enter(shown);
    const QImage image = shown.render(2);
    const QString file = folder + QStringLiteral("/panel-") + QString::fromLatin1(page.name) +
                         QLatin1Char('-') + variant + QStringLiteral(".png");
    if (!image.save(file)) {
        std::fprintf(stderr, "gallery: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// The card of a national number at a narrow width, where its three buttons take two rows.
bool renderNarrowCard(const QString& folder) {
    const Variant variants[] = {{"light", MurvelColorScheme::light, MurvelTypeSize::large},
                                {"dark", MurvelColorScheme::dark, MurvelTypeSize::large},
                                {"largest", MurvelColorScheme::light, MurvelTypeSize::accessibility5}};
    bool ok = true;
    for (const Variant& variant : variants) {
        PanelGraph graph(settingsWith(DialcoveCore::PhonePlan::other));
        graph.openWith({nationalNumber()});
        graph.navigation().openSelected();
        Dialcove::ContactDetailView card(*graph.panel, *graph.navigation().contact(), 340, [](qreal) {});
        card.setAttribute(Qt::WA_DontShowOnScreen);
        MurvelEnvironment::of(&card)->setForcedColorScheme(variant.scheme);
        MurvelEnvironment::of(&card)->setTypeSize(variant.size);
        card.show();
        for (int round = 0; round < 5; ++round) {
            card.resize(200, card.heightForWidth(200));
            settle();
        }
        QImage image(card.size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        image.fill(variant.scheme == MurvelColorScheme::dark ? QColor(40, 40, 40) : QColor(246, 246, 246));
        card.render(&image, {}, {}, QWidget::DrawChildren);
        ok = save(image, folder, QStringLiteral("card-national-narrow"), variant) && ok;
    }
    return ok;
}

bool renderPreferences(const QString& folder, const QTemporaryDir& home) {
    // No sync folder: the note and its button show.
    Dialcove::ContactSettings settings(
        std::make_shared<Platform::UserDefaults>(home.filePath(QStringLiteral("defaults.ini"))), std::nullopt,
        Dialcove::ContactSettings::Sources{std::make_shared<Platform::SyncFolderStore>(std::nullopt),
                                           [] { return std::optional<std::string>("DE"); }});
    LoginItem login(Platform::AutostartEntry(QStringLiteral("works.murvel.dialcove.gallery"),
                                             QStringLiteral("Gallery"),
                                             QCoreApplication::applicationFilePath()));

    const Variant variants[] = {{"light", MurvelColorScheme::light, MurvelTypeSize::large},
                                {"dark", MurvelColorScheme::dark, MurvelTypeSize::large},
                                {"accessibility5", MurvelColorScheme::light, MurvelTypeSize::accessibility5}};
    bool ok = true;
    for (const Variant& variant : variants) {
        FixedWindow window(true, true, true);
        Dialcove::ContactsPreferencesView* view = nullptr;
        QWidget* native = window.makeWindow(QStringLiteral("Preferences"), 560, {}, [&] {
            view = new Dialcove::ContactsPreferencesView(
                settings, false, [](QWidget*) {}, &login);
            return view;
        });
        MurvelEnvironment::of(native)->setForcedColorScheme(variant.scheme);
        MurvelEnvironment::of(native)->setTypeSize(variant.size);
        window.show(QStringLiteral("Preferences"), 560, {}, {});
        settle();
        ok = save(renderAt2x(*native), folder, QStringLiteral("preferences-window"), variant) && ok;
        ok = save(renderAt2x(*view), folder, QStringLiteral("preferences-view"), variant) && ok;
        native->close();
    }
    ok = Gallery::renderWelcomeViewPages(folder, home.path(), login) && ok;
    return ok;
}

bool renderPanels(const QString& folder) {
    bool ok = true;
    for (const Page& page : pages()) {
        ok = render(folder, page, MurvelColorScheme::light, MurvelTypeSize::large, QStringLiteral("light")) &&
             ok;
        ok = render(folder, page, MurvelColorScheme::dark, MurvelTypeSize::large, QStringLiteral("dark")) &&
             ok;
        ok = render(folder, page, MurvelColorScheme::light, MurvelTypeSize::accessibility5,
                    QStringLiteral("largest")) &&
             ok;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    KitTest::prepareOffscreen(home);
    QApplication app(argc, argv);
    KitTest::pinRendering();
    Dialcove::LinuxStrings::install();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));

    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "gallery: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    const bool panels = renderPanels(folder) && renderNarrowCard(folder);
    const bool preferences = renderPreferences(folder, home);
    return panels && preferences ? 0 : 1;
}
