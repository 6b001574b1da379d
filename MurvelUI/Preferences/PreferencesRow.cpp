#include "MurvelUI/Preferences/PreferencesRow.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QEvent>
#include <algorithm>

namespace MurvelUI {

namespace {

// The title and note, hidden from screen readers when the control reads them itself.
class LabelBlock final : public MurvelStack, public MurvelAccessibleElement {
public:
    explicit LabelBlock(bool hidden)
        : MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading),
          hidden_(hidden) {}
    MurvelAccessibility accessibility() const override {
        return hidden_ ? MurvelAccessibility::decoration() : MurvelAccessibility();
    }

private:
    bool hidden_;
};

constexpr int horizontalSpacing = 12;
constexpr int verticalSpacing = 8;

} // namespace

PreferencesRow::PreferencesRow(const QString& title, const std::optional<QString>& note, bool controlIsNamed,
                               QWidget* control, QWidget* parent)
    : QWidget(parent), label_(new LabelBlock(controlIsNamed)), title_(new MurvelText(title)),
      control_(control), controlIsNamed_(controlIsNamed) {
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    label_->setParent(this);
    applyFont(label_, MurvelFont::support);
    label_->stack()->addWidget(title_, MurvelStackLayout::Options::filling());
    if (note) {
        note_ = new MurvelText(*note);
        note_->setColor(MurvelColor::of(&BrandPalette::secondary));
        label_->stack()->addWidget(note_, MurvelStackLayout::Options::filling());
    }
    if (control_) {
        control_->setParent(this);
        if (auto* button = qobject_cast<MurvelButton*>(control_)) {
            button->setControlSize(MurvelControlSize::large);
            button->setFontRole(MurvelFont::support);
        } else if (auto* toggle = qobject_cast<MurvelSwitch*>(control_)) {
            toggle->setControlSize(MurvelControlSize::large);
            applyFont(control_, MurvelFont::support);
        } else {
            applyFont(control_, MurvelFont::support);
        }
        if (controlIsNamed_ && note)
            control_->setAccessibleDescription(*note);
    }
}

bool PreferencesRow::isVertical() const {
    return isAccessibilitySize(MurvelEnvironment::of(this)->typeSize());
}

QSize PreferencesRow::controlSize() const {
    if (!control_)
        return {};
    // Its ideal size, within what it allows; a control without a hint keeps its minimum.
    const QSize hint = control_->sizeHint().expandedTo(control_->minimumSizeHint());
    return hint.expandedTo(control_->minimumSize())
        .boundedTo(control_->maximumSize())
        .expandedTo(QSize(0, 0));
}

PreferencesRow::Placement PreferencesRow::place(int width) const {
    const int padding = verticalPadding();
    const QSize control = controlSize();
    Placement placement;
    if (isVertical()) {
        const int labelHeight = label_->heightForWidth(width);
        placement.label = QRect(0, 0, width, labelHeight);
        const int controlTop = labelHeight + (control_ ? verticalSpacing : 0);
        placement.control = QRect(width - control.width(), controlTop, control.width(), control.height());
        placement.height = controlTop + (control_ ? control.height() : 0);
    } else {
        const int labelWidth = std::max(0, width - (control_ ? control.width() + horizontalSpacing : 0));
        const int labelHeight = label_->heightForWidth(labelWidth);
        const int content = std::max(labelHeight, control.height());
        placement.label = QRect(0, (content - labelHeight) / 2, labelWidth, labelHeight);
        placement.control = QRect(width - control.width(), (content - control.height()) / 2, control.width(),
                                  control.height());
        placement.height = content;
    }
    // Padded, then centred in the minimum height.
    const int padded = placement.height + 2 * padding;
    const int height = std::max(padded, minimumHeight);
    const int offset = padding + (height - padded) / 2;
    placement.label.translate(0, offset);
    placement.control.translate(0, offset);
    placement.height = height;
    return placement;
}

QSize PreferencesRow::sizeHint() const {
    const int labelWidth = label_->sizeHint().width();
    const QSize control = controlSize();
    const int width = isVertical() ? std::max(labelWidth, control.width())
                                   : labelWidth + (control_ ? horizontalSpacing + control.width() : 0);
    return {width, heightForWidth(width)};
}

QSize PreferencesRow::minimumSizeHint() const {
    return {controlSize().width(), minimumHeight};
}

int PreferencesRow::heightForWidth(int width) const {
    return place(width).height;
}

MurvelAccessibility PreferencesRow::accessibility() const {
    return {};
}

bool PreferencesRow::event(QEvent* event) {
    if (event->type() == MurvelEnvironment::changeEventType() || event->type() == QEvent::LayoutRequest) {
        updateGeometry();
        const Placement placement = place(width());
        label_->setGeometry(placement.label);
        if (control_)
            control_->setGeometry(placement.control);
    }
    return QWidget::event(event);
}

void PreferencesRow::resizeEvent(QResizeEvent* event) {
    const Placement placement = place(width());
    label_->setGeometry(placement.label);
    if (control_)
        control_->setGeometry(placement.control);
    QWidget::resizeEvent(event);
}

} // namespace MurvelUI
