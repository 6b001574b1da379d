#pragma once

#include "Dialcove/Shell/SearchPanel.hpp"
#include "Dialcove/Views/ContactListSection.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "MurvelUI/Panel/MurvelPanel.hpp"
#include "MurvelUI/Panel/PanelFooter.hpp"
#include "MurvelUI/Panel/PanelFooterButton.hpp"
#include "Platform/X11/X11EventHub.hpp"
#include "Platform/X11/X11KeyTranslation.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"

#include <QLineEdit>
#include <QRect>

// The search panel window as the app builds it, with its own view, over a panel graph of fakes,
// with the panel's close hiding the window as the app wires it. The footer's Preferences and
// Getting Started buttons count their presses; Quit only counts too.
struct PanelWindow {
    explicit PanelWindow(std::shared_ptr<Dialcove::ContactSettings> settings = PanelGraph::inMemorySettings())
        : graph(std::move(settings)) {
        graph.panel->onClose = [this] {
            ++graph.closes;
            window.dismiss();
        };
        view().chrome()->footer()->setQuitAction([this] { ++quits; });
    }

    // Shows the window under `anchor`, lists `listed` and waits for the search field to have the focus.
    void showAndList(const QRect& anchor, const QRect& trayArea = {},
                     const std::vector<DialcoveCore::Contact>& listed = Contacts::all()) {
        graph.openThrough([&] { window.show(anchor, trayArea); }, listed);
        EXPECT_TRUE(TestSupport::waitUntil([&] { return field()->hasFocus(); }));
    }

    // What the tray icon's action and the hot key do: close an open panel, else show it.
    void toggle(const QRect& anchor, const QRect& trayArea = {}) {
        if (graph.session().phase() != Dialcove::PanelPhase::closed)
            graph.panel->close();
        else
            window.show(anchor, trayArea);
    }

    Dialcove::ContactsPanelView& view() const { return *window.view(); }
    QLineEdit* field() const { return view().listSection()->field(); }
    // The footer's Preferences button: a control that keeps its keys while focused.
    QAbstractButton* button() const { return view().chrome()->footer()->preferencesButton(); }

    Platform::X11EventHub hub;
    Platform::X11KeyTranslation keys{hub};
    PanelGraph graph;
    int buttonPresses = 0; // the Preferences button's
    int guides = 0;
    int quits = 0;
    // No update notifier: nothing reaches the network.
    Dialcove::SearchPanel window{
        hub, keys, *graph.panel, [this] { ++buttonPresses; }, [this] { ++guides; }, nullptr};
};
