#include "MurvelUI/Preferences/PreferencesPaneList.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Preferences/PreferencesHeading.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QPainter>

namespace MurvelUI {

namespace {

constexpr int sidePadding = 12;
constexpr int symbolColumn = 20;
constexpr int gap = 8;

} // namespace

PreferencesPaneButton::PreferencesPaneButton(const PreferencesPane& pane, const MurvelColor& accent,
                                             QWidget* parent)
    : QAbstractButton(parent), pane_(pane), accent_(accent), symbol_(new MurvelSymbolView(pane.symbol)),
      title_(new MurvelText(pane.title)) {
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    symbol_->setParent(this);
    title_->setParent(this);
    title_->setMaximumLines(1);
    title_->setAttribute(Qt::WA_TransparentForMouseEvents);
    symbol_->setAttribute(Qt::WA_TransparentForMouseEvents);
    applyFont(symbol_, MurvelFont::text);
    BrandFocusRing::forKeyboardFocus(this, MurvelShape::roundedRectangle(16));
    restyle();
}

void PreferencesPaneButton::setSelected(bool selected) {
    if (selected == selected_)
        return;
    selected_ = selected;
    restyle();
}

QColor PreferencesPaneButton::symbolColor(MurvelColorScheme scheme) const {
    if (pane_.tint)
        return pane_.tint->resolve(scheme);
    return selected_ ? SystemPalette::primary(scheme) : accent_.resolve(scheme);
}

void PreferencesPaneButton::restyle() {
    layOutContent();
    symbol_->setColor(
        MurvelColor(symbolColor(MurvelColorScheme::light), symbolColor(MurvelColorScheme::dark)));
    update();
}

QSize PreferencesPaneButton::sizeHint() const {
    const QFont font = fontFor(selected_ ? MurvelFont::textSemibold : MurvelFont::text,
                               MurvelEnvironment::of(this)->typeSize());
    return {2 * sidePadding + symbolColumn + gap + QFontMetrics(font).horizontalAdvance(pane_.title),
            rowHeight};
}

QSize PreferencesPaneButton::minimumSizeHint() const {
    return {2 * sidePadding + symbolColumn, rowHeight};
}

MurvelAccessibility PreferencesPaneButton::accessibility() const {
    // The selected pane says so, as a selected tab would.
    return MurvelAccessibility::element(QAccessible::PageTab, pane_.title,
                                        selected_ ? QCoreApplication::translate("MurvelUI", "selected")
                                                  : QString());
}

void PreferencesPaneButton::paintEvent(QPaintEvent*) {
    if (!selected_)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withOpacity(accent_.resolve(MurvelEnvironment::of(this)->colorScheme()), 0.25));
    painter.drawPath(MurvelShape::roundedRectangle(12).path(QRectF(rect())));
}

void PreferencesPaneButton::resizeEvent(QResizeEvent* event) {
    layOutContent();
    QAbstractButton::resizeEvent(event);
}

void PreferencesPaneButton::layOutContent() {
    const QSize symbol = symbol_->sizeHint();
    symbol_->setGeometry(sidePadding + (symbolColumn - symbol.width()) / 2, (height() - symbol.height()) / 2,
                         symbol.width(), symbol.height());
    const int left = sidePadding + symbolColumn + gap;
    const int width = std::max(0, this->width() - left - sidePadding);
    // One line; a title that is too long shrinks to 0.8 of its size before it is cut.
    QFont font = fontFor(selected_ ? MurvelFont::textSemibold : MurvelFont::text,
                         MurvelEnvironment::of(this)->typeSize());
    const int ideal = QFontMetrics(font).horizontalAdvance(pane_.title);
    if (ideal > width && ideal > 0 && font.pixelSize() > 0) {
        const qreal scale = std::max(0.8, qreal(width) / ideal);
        font.setPixelSize(std::max(1, int(font.pixelSize() * scale)));
    }
    if (title_->font() != font)
        title_->setFont(font);
    const int titleHeight = title_->heightForWidth(width);
    title_->setGeometry(left, (height() - titleHeight) / 2, width, titleHeight);
}

bool PreferencesPaneButton::event(QEvent* event) {
    if (event->type() == MurvelEnvironment::changeEventType() || event->type() == QEvent::Show) {
        layOutContent();
        updateGeometry();
    }
    return QAbstractButton::event(event);
}

PreferencesPaneList::PreferencesPaneList(const QList<PreferencesPane>& panes, const MurvelColor& accent,
                                         const QVariant& selection, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading, parent),
      selection_(selection) {
    setFillsWidth(true);
    for (const PreferencesPane& pane : panes) {
        if (pane.section) {
            auto* heading = new PreferencesHeading(*pane.section);
            applyFont(heading, MurvelFont::support);
            heading->setColor(MurvelColor::of(&BrandPalette::secondary));
            auto* padded =
                new MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
            padded->setPadding(QMargins(sidePadding, 8, sidePadding, 0));
            padded->stack()->addWidget(heading, MurvelStackLayout::Options::filling());
            stack()->addWidget(padded, MurvelStackLayout::Options::filling());
            headings_.append(heading);
        }
        auto* button = new PreferencesPaneButton(pane, accent);
        button->setSelected(pane.id == selection_);
        connect(button, &QAbstractButton::clicked, this, [this, id = pane.id] {
            setSelection(id);
            emit paneChosen(id);
        });
        stack()->addWidget(button, MurvelStackLayout::Options::filling());
        buttons_.append(button);
    }
}

void PreferencesPaneList::setSelection(const QVariant& selection) {
    selection_ = selection;
    for (QAbstractButton* button : buttons_) {
        auto* pane = static_cast<PreferencesPaneButton*>(button);
        pane->setSelected(pane->pane().id == selection_);
    }
}

} // namespace MurvelUI
