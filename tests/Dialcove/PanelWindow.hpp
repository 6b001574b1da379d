#pragma once

#include "Dialcove/SearchPanel.hpp"
#include "PanelGraph.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"
#include "StandInPanelView.hpp"

#include <QRect>
#include <memory>

// The search panel window as the app builds it, over a panel graph of fakes and the stand-in view,
// with the panel's close hiding the window as the app wires it.
struct PanelWindow {
    explicit PanelWindow(std::shared_ptr<Dialcove::ContactSettings> settings = PanelGraph::inMemorySettings())
        : graph(std::move(settings)) {
        graph.panel->onClose = [this] {
            ++graph.closes;
            window.dismiss();
        };
    }

    // Shows the window under `anchor`, lists `listed` and waits for the search field to have the focus.
    void showAndList(const QRect& anchor, const QRect& trayArea = {},
                     const std::vector<DialcoveCore::Contact>& listed = Contacts::all()) {
        graph.openThrough([&] { window.show(anchor, trayArea); }, listed);
        EXPECT_TRUE(TestSupport::waitUntil([&] { return view->field->hasFocus(); }));
    }

    // What the tray icon's action and the hot key do: close an open panel, else show it.
    void toggle(const QRect& anchor, const QRect& trayArea = {}) {
        if (graph.session().phase() != Dialcove::PanelPhase::closed)
            graph.panel->close();
        else
            window.show(anchor, trayArea);
    }

    Platform::X11EventHub hub;
    Platform::X11KeyTranslation keys{hub};
    PanelGraph graph;
    StandInPanelView* view = nullptr;
    Dialcove::SearchPanel window{hub, keys, *graph.panel, [] {}, [] {}, StandInPanelView::factory(view)};
};
