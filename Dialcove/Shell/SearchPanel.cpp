#include "Dialcove/Shell/SearchPanel.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "MurvelUI/Panel/MurvelPanel.hpp"
#include "Platform/Desktop/PanelPlacement.hpp"

#include <QEvent>
#include <QKeyEvent>
#include <algorithm>

namespace Dialcove {

using Platform::PanelPlacement;

SearchPanel::SearchPanel(Platform::WindowSystem& windows, const Platform::KeyTranslation& keys,
                         ContactsPanel& panel, std::function<void()> showPreferences,
                         std::function<void()> showWelcome, MurvelUI::UpdateNotifier* updateNotifier)
    : FloatingPanel(windows), panel_(panel), input_(keys) {
    assertMainThread();
    resize(initialSize);
    view_ = new ContactsPanelView(panel_, std::move(showPreferences), std::move(showWelcome), panelGeometry_,
                                  updateNotifier, this);
    // The window's corners are round: the brand background stays inside them.
    view_->chrome()->setCornerRadius(cornerRadius);
    view_->setGeometry(rect());

    setKeyHandler([this](QKeyEvent& event) { return input_.handle(event, *this, panel_); });
    // The press itself goes on to where it landed.
    connect(this, &FloatingPanel::outsideClicked, this, [this] { panel_.close(); });
}

SearchPanel::~SearchPanel() {
    // Children go after the members; the view may still use the geometry as it goes.
    delete view_;
}

void SearchPanel::show(const QRect& anchor, const QRect& trayArea,
                       const Platform::WindowSystem::Activation& activation) {
    assertMainThread();
    anchor_ = anchor;
    const std::optional<Platform::PanelScreen> screen = PanelPlacement::screenFor(anchor_);
    panelGeometry_.setMaximumHeight(PanelPlacement::maximumHeight(screen));
    panel_.open();
    present(PanelPlacement::frame(anchor_, contentHeight(), screen), trayArea, activation);
}

void SearchPanel::position(int contentHeight) {
    assertMainThread();
    place(PanelPlacement::frame(anchor_, contentHeight, PanelPlacement::screenFor(anchor_)));
}

int SearchPanel::contentHeight() const {
    const int ideal = view_->hasHeightForWidth() ? view_->heightForWidth(PanelPlacement::width)
                                                 : view_->sizeHint().height();
    return std::clamp(ideal, view_->minimumHeight(),
                      std::max(view_->minimumHeight(), view_->maximumHeight()));
}

bool SearchPanel::event(QEvent* event) {
    // The content's size hint changed: grow or shrink downwards from under the anchor.
    if (event->type() == QEvent::LayoutRequest && isVisible())
        position(contentHeight());
    return FloatingPanel::event(event);
}

void SearchPanel::resizeEvent(QResizeEvent* event) {
    FloatingPanel::resizeEvent(event);
    view_->setGeometry(rect());
}

} // namespace Dialcove
