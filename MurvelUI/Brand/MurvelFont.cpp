#include "MurvelUI/Brand/MurvelFont.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"

#include <QEvent>
#include <QWidget>

namespace MurvelUI {

namespace {

// Keeps a widget's font at its text style while the window's text size changes.
class FontBinding final : public QObject {
public:
    FontBinding(QWidget* widget, MurvelTextStyle style, std::optional<QFont::Weight> weight)
        : QObject(widget), widget_(widget), style_(style), weight_(weight) {
        widget->installEventFilter(this);
        apply();
    }

    void rebind(MurvelTextStyle style, std::optional<QFont::Weight> weight) {
        style_ = style;
        weight_ = weight;
        apply();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && (event->type() == MurvelEnvironment::changeEventType() ||
                                   event->type() == QEvent::ParentChange || event->type() == QEvent::Show))
            apply();
        return false;
    }

private:
    void apply() {
        const QFont font = textStyleFont(style_, MurvelEnvironment::of(widget_)->typeSize(), weight_);
        if (!(widget_->font() == font && widget_->font().resolveMask() == font.resolveMask()))
            widget_->setFont(font);
    }

    QWidget* widget_;
    MurvelTextStyle style_;
    std::optional<QFont::Weight> weight_;
};

} // namespace

MurvelTextStyle textStyleOf(MurvelFont role) {
    switch (role) {
    case MurvelFont::title:
        return MurvelTextStyle::largeTitle;
    case MurvelFont::text:
    case MurvelFont::textSemibold:
    case MurvelFont::welcomeTitle:
    case MurvelFont::mark:
        return MurvelTextStyle::title2;
    case MurvelFont::support:
    case MurvelFont::supportSemibold:
    case MurvelFont::footerSymbol:
        return MurvelTextStyle::title3;
    case MurvelFont::heading:
        return MurvelTextStyle::headline;
    case MurvelFont::detail:
    case MurvelFont::detailSemibold:
    case MurvelFont::keyCap:
        return MurvelTextStyle::callout;
    case MurvelFont::versionLine:
        return MurvelTextStyle::caption;
    case MurvelFont::readout:
        return MurvelTextStyle::title;
    }
    return MurvelTextStyle::body;
}

std::optional<QFont::Weight> weightOf(MurvelFont role) {
    switch (role) {
    case MurvelFont::title:
    case MurvelFont::welcomeTitle:
        return QFont::Bold;
    case MurvelFont::textSemibold:
    case MurvelFont::supportSemibold:
    case MurvelFont::detailSemibold:
    case MurvelFont::keyCap:
    case MurvelFont::readout:
        return QFont::DemiBold;
    default:
        return std::nullopt;
    }
}

QFont fontFor(MurvelFont role, MurvelTypeSize typeSize) {
    return textStyleFont(textStyleOf(role), typeSize, weightOf(role));
}

void applyFont(QWidget* widget, MurvelFont role) {
    applyFont(widget, textStyleOf(role), weightOf(role));
}

void applyFont(QWidget* widget, MurvelTextStyle style, std::optional<QFont::Weight> weight) {
    Q_ASSERT(widget);
    for (QObject* child : widget->children()) {
        if (auto* binding = dynamic_cast<FontBinding*>(child)) {
            binding->rebind(style, weight);
            return;
        }
    }
    new FontBinding(widget, style, weight);
}

} // namespace MurvelUI
