#pragma once

#include "Dialcove/Services/PanelGeometry.hpp"
#include "Dialcove/Shell/LinuxStrings.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"

#include <QCoreApplication>
#include <QImage>

// Generated people to list: "Person 1" at "Company 1", and so on.
namespace Contacts {

inline std::vector<DialcoveCore::Contact> numbered(int count) {
    std::vector<DialcoveCore::Contact> contacts;
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        contacts.push_back({DialcoveCore::ContactID("person-" + n),
                            "Person " + n,
                            "Person",
                            n,
                            "Company " + n,
                            i % 2 ? "Engineer" : "",
                            {field(("person-" + n + "-mobile").c_str(), DialcoveCore::FieldKind::phone,
                                   "mobile", ("+55 11 9000-000" + n).c_str())}});
    }
    return contacts;
}

} // namespace Contacts

// The panel's view as the window builds it, over a panel graph of fakes, shown off screen at the
// size its content asks for, as the window would take it.
struct ShownPanelView {
    explicit ShownPanelView(
        int maximumHeight = Dialcove::PanelGeometry::initialMaximumHeight,
        Dialcove::ContactPermission status = Dialcove::ContactPermission::allowed,
        std::shared_ptr<Dialcove::ContactSettings> settings = PanelGraph::inMemorySettings())
        : graph(std::move(settings), status) {
        Dialcove::LinuxStrings::install();
        geometry.setMaximumHeight(maximumHeight);
        view.setAttribute(Qt::WA_DontShowOnScreen);
    }

    MurvelUI::MurvelEnvironment& environment() { return *MurvelUI::MurvelEnvironment::of(&view); }

    // Shows the view and lets it follow its content until its height holds still.
    void settle() {
        if (!view.isVisible())
            view.show();
        for (int round = 0; round < 20; ++round) {
            TestSupport::drainEvents();
            const int wanted = view.heightForWidth(Dialcove::ContactsPanelView::panelWidth);
            if (view.height() == wanted && round > 1)
                return;
            view.resize(Dialcove::ContactsPanelView::panelWidth, wanted);
        }
    }

    QImage render(qreal scale = 1) {
        settle();
        QImage image(view.size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        view.render(&image);
        return image;
    }

    PanelGraph graph;
    Dialcove::PanelGeometry geometry;
    int preferences = 0;
    int guides = 0;
    Dialcove::ContactsPanelView view{*graph.panel, [this] { ++preferences; }, [this] { ++guides; }, geometry,
                                     nullptr};
};
