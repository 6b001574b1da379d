#include "MurvelUI/Panel/PanelHeader.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

namespace MurvelUI {

// The 8-point status dot.
class PanelHeader::Dot final : public QWidget {
public:
    Dot() { setFixedSize(8, 8); }
    MurvelColor color;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(color.resolve(MurvelEnvironment::of(this)->colorScheme()));
        painter.drawEllipse(QRectF(rect()));
    }
};

// At least 44 by 44 around the switch; a click anywhere in it flips the switch.
class PanelHeader::SwitchFrame final : public QWidget {
public:
    explicit SwitchFrame(MurvelSwitch* control) : control_(control) {
        control_->setParent(this);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override { return control_->sizeHint().expandedTo(QSize(44, 44)); }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent*) override {
        const QSize size = control_->sizeHint();
        control_->setGeometry(
            QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            control_->isEnabled())
            control_->click();
    }
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }

private:
    MurvelSwitch* control_;
};

PanelHeader::PanelHeader(const MurvelBrand& brand, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center, parent),
      icon_(new AppIcon(40)), name_(new MurvelText(brand.name)), status_(new MurvelText), dot_(new Dot),
      switch_(new MurvelSwitch), switchFrame_(new SwitchFrame(switch_)) {
    applyFont(name_, MurvelFont::heading);
    applyFont(status_, MurvelFont::detail);
    status_->setColor(MurvelColor::of(&BrandPalette::secondary));
    status_->setMaximumLines(2);

    auto* statusRow =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 4, MurvelStackLayout::Alignment::center);
    statusRow->stack()->addWidget(dot_, {});
    statusRow->stack()->addWidget(status_, {});
    auto* titles =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading);
    titles->stack()->addWidget(name_, {});
    titles->stack()->addWidget(statusRow, {});

    switch_->setAccessibleName(brand.name);
    switch_->setTint(
        MurvelColor(brand.accent(MurvelColorScheme::light), brand.accent(MurvelColorScheme::dark)));
    connect(switch_, &QAbstractButton::toggled, this, [this] { updateTooltip(); });

    stack()->addWidget(icon_, {});
    stack()->addWidget(titles, {});
    stack()->addSpacer(8);
    stack()->addWidget(switchFrame_, {});
    updateTooltip();
}

QWidget* PanelHeader::dotView() const {
    return dot_;
}

QWidget* PanelHeader::switchFrame() const {
    return switchFrame_;
}

void PanelHeader::setStatus(const QString& status) {
    status_->setText(status);
}

void PanelHeader::setDotColor(const MurvelColor& color) {
    if (dot_->color == color)
        return;
    dot_->color = color;
    dot_->update();
}

MurvelColor PanelHeader::dotColor() const {
    return dot_->color;
}

void PanelHeader::setOn(bool on) {
    switch_->setChecked(on);
    updateTooltip();
}

bool PanelHeader::isOn() const {
    return switch_->isChecked();
}

void PanelHeader::setSwitchEnabled(bool enabled) {
    switch_->setEnabled(enabled);
}

void PanelHeader::setOnRequest(std::function<void(bool)> request) {
    switch_->setRequestHandler(std::move(request));
}

void PanelHeader::updateTooltip() {
    const QString tip = switch_->isChecked() ? QCoreApplication::translate("PanelHeader", "Turn off")
                                             : QCoreApplication::translate("PanelHeader", "Turn on");
    switch_->setToolTip(tip);
    switchFrame_->setToolTip(tip);
}

} // namespace MurvelUI
