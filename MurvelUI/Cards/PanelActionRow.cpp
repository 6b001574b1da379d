#include "MurvelUI/Cards/PanelActionRow.hpp"

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QThread>

namespace MurvelUI {

// The clickable area: a plain button around the row label, filled by the row's state.
class PanelActionRow::ActionButton final : public QAbstractButton, public MurvelAccessibleElement {
public:
    ActionButton(PanelActionRow* row, QWidget* label) : QAbstractButton(row), row_(row) {
        auto* layout = new MurvelStackLayout(MurvelStackLayout::Axis::horizontal, 0,
                                             MurvelStackLayout::Alignment::center, this);
        layout->addWidget(label, MurvelStackLayout::Options::filling());
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }

    MurvelAccessibility accessibility() const override {
        const Inputs& inputs = row_->inputs_;
        return MurvelAccessibility::combined(QAccessible::Button, inputs.title,
                                             inputs.value.value_or(QString()),
                                             inputs.hint.value_or(QString()));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(MurvelShape::roundedRectangle(8).path(QRectF(rect())),
                         row_->fillColor(MurvelEnvironment::of(this)->colorScheme()));
    }
    void enterEvent(QEnterEvent* event) override {
        row_->pointerMoved(true);
        QAbstractButton::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        row_->pointerMoved(false);
        QAbstractButton::leaveEvent(event);
    }

private:
    PanelActionRow* row_;
};

PanelActionRow::PanelActionRow(Inputs inputs, QWidget* trailing, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center, parent),
      inputs_(std::move(inputs)), trailing_(trailing) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setFillsWidth(true);

    // The row label: symbol, then title and badge.
    auto* label =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center);
    label->setPadding(8);
    label->stack()->setMinimumCrossExtent(36);
    label->setFillsWidth(true);
    const MurvelBrand brand = inputs_.brand;
    icon_ = new MurvelSymbolView(inputs_.symbol, MurvelColor(brand.accent(MurvelColorScheme::light),
                                                             brand.accent(MurvelColorScheme::dark)));
    textGroup_ =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 4, MurvelStackLayout::Alignment::center);
    textGroup_->setFillsWidth(true);
    applyFont(textGroup_, MurvelTextStyle::callout);
    title_ = new MurvelText(inputs_.title);
    title_->setMaximumLines(2);
    badge_ = new MurvelText(inputs_.badge.value_or(QString()));
    badge_->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    badge_->setVisible(inputs_.badge.has_value());
    textGroup_->stack()->addWidget(title_, {});
    textGroup_->stack()->addWidget(badge_, {});
    // A symbol grown with the text widens its column rather than shrinking.
    label->stack()->addWidget(icon_, MurvelStackLayout::Options::atLeast(20));
    label->stack()->addWidget(textGroup_, MurvelStackLayout::Options::filling());

    if (inputs_.perform) {
        auto* button = new ActionButton(this, label);
        button->setEnabled(!inputs_.isDisabled);
        connect(button, &QAbstractButton::clicked, this, [this] {
            if (inputs_.perform && !inputs_.isDisabled)
                inputs_.perform();
        });
        actionArea_ = button;
    } else {
        actionArea_ = label;
    }
    stack()->addWidget(actionArea_, MurvelStackLayout::Options::filling());
    if (trailing_)
        stack()->addWidget(trailing_, MurvelStackLayout::Options::prioritized(1));
}

void PanelActionRow::setTitle(const QString& title) {
    inputs_.title = title;
    title_->setText(title);
}

void PanelActionRow::setBadge(const std::optional<QString>& badge) {
    inputs_.badge = badge;
    badge_->setText(badge.value_or(QString()));
    badge_->setVisible(badge.has_value());
}

void PanelActionRow::setIsDisabled(bool disabled) {
    inputs_.isDisabled = disabled;
    if (inputs_.perform)
        actionArea_->setEnabled(!disabled);
    actionArea_->update();
}

void PanelActionRow::setHovered(std::optional<bool> hovered) {
    inputs_.hovered = hovered;
    actionArea_->update();
}

void PanelActionRow::setSuggested(bool suggested) {
    inputs_.isSuggested = suggested;
    actionArea_->update();
}

void PanelActionRow::pointerMoved(bool inside) {
    if (inside == pointerInside_)
        return;
    pointerInside_ = inside;
    actionArea_->update();
}

QColor PanelActionRow::fillColor(MurvelColorScheme scheme) const {
    if (!inputs_.perform || inputs_.isDisabled)
        return Qt::transparent;
    if (inputs_.hovered.value_or(pointerInside_))
        return withOpacity(SystemPalette::primary(scheme), 0.08);
    if (inputs_.isSuggested)
        return withOpacity(inputs_.brand.color, 0.16); // the brand colour itself, not the accent
    return Qt::transparent;
}

void PanelActionRow::setOnLayout(LayoutReporter report) {
    report_ = std::move(report);
    reported_.clear();
    if (!report_)
        return;
    for (QWidget* part :
         {actionArea_, static_cast<QWidget*>(icon_), static_cast<QWidget*>(textGroup_), trailing_})
        if (part)
            part->installEventFilter(this);
    reportParts();
}

bool PanelActionRow::eventFilter(QObject*, QEvent* event) {
    if (report_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        reportParts();
    return false;
}

void PanelActionRow::reportParts() {
    const std::pair<PanelActionRowPart, QWidget*> parts[] = {
        {PanelActionRowPart::action, actionArea_},
        {PanelActionRowPart::icon, icon_},
        {PanelActionRowPart::text, textGroup_},
        {PanelActionRowPart::shortcut, trailing_},
    };
    for (const auto& [part, widget] : parts) {
        if (!widget || !report_)
            continue;
        const QRectF frame(QPointF(widget->mapTo(this, QPoint(0, 0))), QSizeF(widget->size()));
        const auto key = static_cast<int>(part);
        if (reported_.contains(key) && reported_.value(key) == frame)
            continue;
        reported_.insert(key, frame);
        report_(part, frame);
    }
}

} // namespace MurvelUI
