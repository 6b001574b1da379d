#include "MurvelUI/Panel/MurvelPanel.hpp"

#include "MurvelUI/Brand/BrandBackground.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Cards/UpdateCard.hpp"
#include "MurvelUI/Controls/KeyboardUseTracker.hpp"
#include "MurvelUI/Panel/PanelFooter.hpp"
#include "MurvelUI/Panel/PanelHeader.hpp"
#include "MurvelUI/Update/SampleUpdateNotifier.hpp"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>

namespace MurvelUI {

namespace {

std::optional<QStringList>& argumentsOverride() {
    static std::optional<QStringList> arguments;
    return arguments;
}

} // namespace

void MurvelPanel::setArguments(std::optional<QStringList> arguments) {
    argumentsOverride() = std::move(arguments);
}

std::optional<PanelStatus> MurvelPanel::Dot::status() const {
    if (const auto* status = std::get_if<PanelStatus>(&value_))
        return *status;
    return std::nullopt;
}

QColor MurvelPanel::Dot::resolve(MurvelColorScheme scheme) const {
    if (const auto* status = std::get_if<PanelStatus>(&value_))
        return status->color(scheme);
    return std::get<MurvelColor>(value_).resolve(scheme);
}

MurvelPanel::MurvelPanel(Inputs inputs, QWidget* content, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 16, MurvelStackLayout::Alignment::leading, parent),
      brand_(inputs.brand), dot_(inputs.dot), refreshLoginItemOnAppear_(inputs.refreshLoginItemOnAppear),
      keys_(new KeyboardUseTracker(this)), header_(new PanelHeader(inputs.brand)), content_(content),
      footer_(
          new PanelFooter({inputs.brand, inputs.privacy, inputs.privacySymbol, inputs.showGuide,
                           inputs.showPreferences, inputs.preferencesFocusChanged, inputs.footerAction})) {
    setPadding(padding);
    setFixedWidth(width);
    header_->setStatus(inputs.status);
    header_->setOn(inputs.isOn);
    header_->setOnRequest(std::move(inputs.setOn));
    header_->setSwitchEnabled(inputs.isSwitchEnabled);
    updateDot();

    stack()->addWidget(header_, MurvelStackLayout::Options::filling());
    // Hidden while empty: a hidden slot takes neither room nor spacing.
    updateSlot_->setFillsWidth(true);
    updateSlot_->hide();
    stack()->addWidget(updateSlot_, MurvelStackLayout::Options::filling());
    if (content_)
        stack()->addWidget(content_, MurvelStackLayout::Options::filling());
    stack()->addWidget(footer_, MurvelStackLayout::Options::filling());
}

MurvelPanel* MurvelPanel::withColor(Inputs inputs, const MurvelColor& dot, QWidget* content,
                                    QWidget* parent) {
    inputs.dot = Dot::color(dot);
    inputs.showPreferences = nullptr;
    inputs.preferencesFocusChanged = nullptr;
    inputs.refreshLoginItemOnAppear = true;
    inputs.isSwitchEnabled = true;
    return new MurvelPanel(std::move(inputs), content, parent);
}

void MurvelPanel::setStatus(const QString& status) {
    header_->setStatus(status);
}

void MurvelPanel::setDot(const Dot& dot) {
    if (dot == dot_)
        return;
    dot_ = dot;
    updateDot();
    update();
}

void MurvelPanel::updateDot() {
    // Both variants, so the dot follows the window's scheme on its own.
    header_->setDotColor(
        MurvelColor(dot_.resolve(MurvelColorScheme::light), dot_.resolve(MurvelColorScheme::dark)));
}

void MurvelPanel::setOn(bool on) {
    header_->setOn(on);
}

void MurvelPanel::setCornerRadius(qreal radius) {
    cornerRadius_ = radius;
    update();
}

QSize MurvelPanel::sizeHint() const {
    return {width, heightForWidth(width)};
}

UpdateNotifier* MurvelPanel::effectiveNotifier() {
    if (!sampleChecked_) {
        sampleChecked_ = true;
        const QStringList arguments = argumentsOverride().value_or(QCoreApplication::arguments());
        // Exactly this argument: "--snapshot-update=1" or a longer name does not count.
        if (arguments.contains(QStringLiteral("--snapshot-update")))
            sample_ = new SampleUpdateNotifier(this);
    }
    if (sample_)
        return sample_;
    return MurvelEnvironment::of(this)->updateNotifier();
}

void MurvelPanel::followNotifier() {
    UpdateNotifier* notifier = effectiveNotifier();
    if (notifier != followed_) {
        disconnect(availableConnection_);
        followed_ = notifier;
        if (notifier)
            availableConnection_ =
                connect(notifier, &UpdateNotifier::availableChanged, this, [this] { showUpdateCard(); });
    }
    showUpdateCard();
}

void MurvelPanel::showUpdateCard() {
    UpdateNotifier* notifier = followed_;
    const std::optional<AvailableUpdate> offer = notifier ? notifier->available() : std::nullopt;
    if (updateCard_ && offer && updateCard_->update() == *offer)
        return;
    delete updateCard_;
    updateCard_ = nullptr;
    updateSlot_->setVisible(offer.has_value());
    if (!offer)
        return;
    QPointer<UpdateNotifier> target = notifier;
    updateCard_ = new UpdateCard(brand_, *offer, [target] {
        if (target)
            target->setAside();
    });
    updateSlot_->stack()->addWidget(updateCard_, MurvelStackLayout::Options::filling());
}

bool MurvelPanel::keyboardUsed() const {
    return keys_->keyboardUsed();
}

void MurvelPanel::appear() {
    if (refreshLoginItemOnAppear_)
        LoginItem::shared().refresh();
    if (UpdateNotifier* notifier = effectiveNotifier())
        notifier->refresh();
}

void MurvelPanel::showEvent(QShowEvent* event) {
    MurvelStack::showEvent(event);
    followNotifier();
    appear();
}

bool MurvelPanel::event(QEvent* event) {
    // The window's notifier may have changed; the environment tells every widget of the window.
    if (event->type() == MurvelEnvironment::changeEventType() && isVisible())
        followNotifier();
    return MurvelStack::event(event);
}

void MurvelPanel::paintBackground(QPainter& painter, MurvelColorScheme scheme) {
    if (!dot_.isState())
        return;
    const QRectF area(rect());
    if (cornerRadius_ > 0) {
        QPainterPath outline;
        outline.addRoundedRect(area, cornerRadius_, cornerRadius_);
        painter.setClipPath(outline);
    }
    BrandBackground::paint(painter, area, brand_.color, scheme, layoutDirection());
}

} // namespace MurvelUI
