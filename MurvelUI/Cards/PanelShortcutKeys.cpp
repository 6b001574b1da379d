#include "MurvelUI/Cards/PanelShortcutKeys.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QAccessible>
#include <QCoreApplication>
#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QThread>

namespace MurvelUI {

// The capsule: symbol and keys (or placeholder), with the tinted fill and border while editing or
// in conflict.
class PanelShortcutKeys::Content final : public MurvelStack {
public:
    explicit Content(PanelShortcutKeys* owner)
        : MurvelStack(MurvelStackLayout::Axis::horizontal, 4, MurvelStackLayout::Alignment::center, owner),
          owner_(owner) {
        setPadding(QMargins(8, 0, 8, 0));
        stack()->setMinimumCrossExtent(36);
    }

protected:
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override {
        if (!owner_->editing_ && !owner_->conflict_)
            return;
        if (!isEnabled())
            painter.setOpacity(0.5);
        const QColor tint = owner_->tint(scheme);
        const MurvelShape shape = MurvelShape::roundedRectangle(8);
        painter.fillPath(shape.path(QRectF(rect())), withOpacity(tint, 0.12));
        // A border drawn inside the shape: inset by half its width.
        QPen pen(tint, 1);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        pen.setMiterLimit(10);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape.path(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5)));
    }

private:
    PanelShortcutKeys* owner_;
};

PanelShortcutKeys::PanelShortcutKeys(const QStringList& keys, const std::optional<QString>& placeholder,
                                     const MurvelBrand& brand, bool isEditing, bool hasConflict,
                                     bool isDisabled, std::optional<Editor> editor, QWidget* parent)
    : QAbstractButton(parent), keys_(keys), placeholder_(placeholder), brand_(brand), editing_(isEditing),
      conflict_(hasConflict), disabled_(isDisabled), editor_(std::move(editor)) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    auto* layout = new MurvelStackLayout(MurvelStackLayout::Axis::horizontal, 0,
                                         MurvelStackLayout::Alignment::center, this);
    content_ = new Content(this);
    symbol_ = new MurvelSymbolView(QString());
    applyFont(symbol_, MurvelTextStyle::callout);
    placeholderText_ = new MurvelText();
    applyFont(placeholderText_, MurvelTextStyle::callout);
    placeholderText_->setColor(MurvelColor::of(&BrandPalette::secondary));
    caps_ = new KeyCaps(keys_);
    content_->stack()->addWidget(symbol_, MurvelStackLayout::Options::framed(12));
    content_->stack()->addWidget(placeholderText_, {});
    content_->stack()->addWidget(caps_, {});
    layout->addWidget(content_, {});

    connect(this, &QAbstractButton::clicked, this, [this] {
        if (editor_ && editor_->edit && !disabled_)
            editor_->edit();
    });
    applyEditor();
    refresh();
}

PanelShortcutKeys::PanelShortcutKeys(const QStringList& keys, const std::optional<QString>& placeholder,
                                     const MurvelBrand& brand, bool hasConflict, bool isDisabled,
                                     QWidget* parent)
    : PanelShortcutKeys(keys, placeholder, brand, false, hasConflict, isDisabled, std::nullopt, parent) {}

QWidget* PanelShortcutKeys::content() const {
    return content_;
}

void PanelShortcutKeys::setKeys(const QStringList& keys) {
    keys_ = keys;
    refresh();
}

void PanelShortcutKeys::setPlaceholder(const std::optional<QString>& placeholder) {
    placeholder_ = placeholder;
    refresh();
}

void PanelShortcutKeys::setEditing(bool editing) {
    editing_ = editing;
    refresh();
}

void PanelShortcutKeys::setConflict(bool conflict) {
    conflict_ = conflict;
    refresh();
}

void PanelShortcutKeys::setIsDisabled(bool disabled) {
    disabled_ = disabled;
    refresh();
}

void PanelShortcutKeys::setEditor(std::optional<Editor> editor) {
    const bool had = editor_.has_value();
    editor_ = std::move(editor);
    applyEditor();
    if (had != editor_.has_value())
        refresh();
    // Screen readers hear of the new label and hint without asking again.
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void PanelShortcutKeys::applyEditor() {
    if (editor_) {
        setFocusPolicy(Qt::TabFocus);
        setToolTip(editor_->help);
        setAttribute(Qt::WA_TransparentForMouseEvents, false);
        if (!ring_)
            ring_ = BrandFocusRing::forKeyboardFocus(this, MurvelShape::roundedRectangle(8));
    } else {
        if (hasFocus())
            clearFocus();
        setFocusPolicy(Qt::NoFocus);
        setToolTip(QString());
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

QColor PanelShortcutKeys::tint(MurvelColorScheme scheme) const {
    return conflict_ ? BrandPalette::attention(scheme) : brand_.accent(scheme);
}

QString PanelShortcutKeys::leadingSymbol() const {
    if (conflict_)
        return QStringLiteral("exclamationmark.circle");
    if (editing_)
        return QStringLiteral("pencil");
    return {};
}

QString PanelShortcutKeys::spokenText() const {
    return placeholder_.value_or(keys_.join(QLatin1Char(' ')));
}

MurvelAccessibility PanelShortcutKeys::accessibility() const {
    if (editor_)
        return MurvelAccessibility::combined(QAccessible::Button, editor_->label, spokenText(),
                                             editor_->hint);
    return MurvelAccessibility::combined(QAccessible::StaticText, spokenText());
}

void PanelShortcutKeys::refresh() {
    const QString symbol = leadingSymbol();
    symbol_->setSymbol(symbol);
    symbol_->setColor(MurvelColor(tint(MurvelColorScheme::light), tint(MurvelColorScheme::dark)));
    symbol_->setVisible(!symbol.isEmpty());
    // The placeholder wins whenever there is one.
    placeholderText_->setText(placeholder_.value_or(QString()));
    placeholderText_->setVisible(placeholder_.has_value());
    caps_->setKeys(keys_);
    caps_->setVisible(!placeholder_.has_value());

    if (editor_) {
        // A disabled button: the platform's dimming, nothing more.
        setEnabled(!disabled_);
        content_->setGraphicsEffect(nullptr);
    } else if (disabled_) {
        setEnabled(true);
        auto* effect = new QGraphicsOpacityEffect(content_);
        effect->setOpacity(0.5);
        content_->setGraphicsEffect(effect);
    } else {
        setEnabled(true);
        content_->setGraphicsEffect(nullptr);
    }
    content_->update();
    updateGeometry();
}

} // namespace MurvelUI
