// Renders the app's search panel in the states a user meets, light and dark and at the largest text
// size, to PNG files, so that a person can look at it without running the app.
// Usage: DialcoveGallery <output folder>.

#include "Dialcove/ContactListSection.hpp"
#include "MurvelUI/MurvelTypeSize.hpp"
#include "MurvelUI/SampleUpdateNotifier.hpp"
#include "tests/Dialcove/ShownPanelView.hpp"
#include "tests/MurvelUI/OffscreenSetup.hpp"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <functional>
#include <stdexcept>

using Dialcove::ContactPermission;
using MurvelUI::MurvelColorScheme;
using MurvelUI::MurvelTypeSize;

namespace {

struct Page {
    const char* name;
    int maximumHeight;
    ContactPermission permission;
    std::function<void(ShownPanelView&)> enter;
};

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
        {"capped-648-last-row", 648, ContactPermission::allowed,
         [](ShownPanelView& p) {
             p.graph.openWith(Contacts::numbered(8));
             selectNext(p, 7);
         }},
    };
    return all;
}

bool render(const QString& folder, const Page& page, MurvelColorScheme scheme, MurvelTypeSize size,
            const QString& variant) {
    ShownPanelView shown(page.maximumHeight, page.permission);
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

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    KitTest::prepareOffscreen(home);
    QApplication app(argc, argv);
    KitTest::pinRendering();
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));

    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "gallery: cannot create %s\n", qPrintable(folder));
        return 1;
    }
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
    return ok ? 0 : 1;
}
