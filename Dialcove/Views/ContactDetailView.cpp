#include "Dialcove/Views/ContactDetailView.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ContactButtonBody.hpp"
#include "Dialcove/Views/PanelControlFocus.hpp"
#include "Dialcove/Views/SelectableText.hpp"
#include "DialcoveCore/DisplayText.hpp"
#include "DialcoveCore/FieldActions.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Brand/MurvelSymbols.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/PanelCard.hpp"
#include "MurvelUI/Controls/BrandFocusRing.hpp"
#include "MurvelUI/Controls/MurvelLabel.hpp"
#include "MurvelUI/Controls/MurvelRowOrGridLayout.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Controls/ThinScrollBar.hpp"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>

namespace Dialcove {

using DialcoveCore::ContactAction;
using DialcoveCore::FieldID;
using MurvelUI::MurvelColor;
using MurvelUI::MurvelColorScheme;
using MurvelUI::MurvelStackLayout;

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

MurvelColor muted() {
    return MurvelColor::of(&MurvelUI::BrandPalette::secondary);
}

// "Back" after a left chevron, with no tile of its own.
class BackButton final : public QAbstractButton, public MurvelUI::MurvelAccessibleElement {
public:
    explicit BackButton(QWidget* parent = nullptr) : QAbstractButton(parent) {
        setText(ContactDetailView::tr("Back"));
        setFocusPolicy(Qt::TabFocus);
        setAttribute(Qt::WA_Hover);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        MurvelUI::BrandFocusRing::forKeyboardFocus(this, MurvelUI::MurvelShape::roundedRectangle(6));
    }

    QSize sizeHint() const override {
        const QFontMetricsF metrics(font());
        const qreal side = std::ceil(metrics.height());
        return {int(std::ceil(side + gap + metrics.horizontalAdvance(text()))),
                std::max(32, int(std::ceil(metrics.height())))};
    }

    MurvelUI::MurvelAccessibility accessibility() const override {
        return MurvelUI::MurvelAccessibility::combined(QAccessible::Button, text());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const MurvelColorScheme scheme = MurvelUI::MurvelEnvironment::of(this)->colorScheme();
        QColor label = MurvelUI::SystemPalette::primary(scheme);
        if (isDown())
            label = MurvelUI::BrandPalette::secondary(scheme);
        if (!isEnabled())
            painter.setOpacity(0.5);
        const QFontMetricsF metrics(font());
        const qreal side = std::ceil(metrics.height());
        const qreal baseline = std::round((height() - metrics.height()) / 2 + metrics.ascent());
        const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
        const qreal symbolX = rightToLeft ? width() - side : 0;
        MurvelUI::MurvelSymbols::paint(
            painter, rightToLeft ? QStringLiteral("chevron.right") : QStringLiteral("chevron.left"),
            QRectF(symbolX, baseline - metrics.capHeight() / 2 - side / 2, side, side), label);
        painter.setPen(label);
        painter.setFont(font());
        const qreal textX =
            rightToLeft ? width() - side - gap - metrics.horizontalAdvance(text()) : side + gap;
        painter.drawText(QPointF(textX, baseline), text());
    }

private:
    static constexpr qreal gap = 4;
};

// The birthday, read as one element: "Birthday" with the date as its value.
class BirthdayLabel final : public MurvelUI::MurvelLabel {
public:
    explicit BirthdayLabel(const QString& text) : MurvelLabel(QStringLiteral("birthday.cake"), text) {
        setSymbolColor(muted());
        setTitleColor(muted());
    }
    MurvelUI::MurvelAccessibility accessibility() const override {
        return MurvelUI::MurvelAccessibility::combined(
            QAccessible::StaticText, ContactDetailView::tr("Birthday"), titleView()->text());
    }
};

// The initials on a quiet circle; decoration, as the name follows.
class Avatar final : public QWidget, public MurvelUI::MurvelAccessibleElement {
public:
    explicit Avatar(const QString& initials) : initials_(initials) {
        setFixedSize(48, 48);
        MurvelUI::applyFont(this, MurvelUI::MurvelFont::heading);
    }
    MurvelUI::MurvelAccessibility accessibility() const override {
        return MurvelUI::MurvelAccessibility::decoration();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const MurvelColorScheme scheme = MurvelUI::MurvelEnvironment::of(this)->colorScheme();
        painter.fillPath(MurvelUI::MurvelShape::circle().path(QRectF(rect())),
                         MurvelUI::SystemPalette::quaternary(scheme));
        painter.setPen(MurvelUI::SystemPalette::primary(scheme));
        // At the largest text sizes the initials shrink to stay inside their circle.
        QFont fitted = font();
        const qreal room = width() - 10;
        const qreal needed =
            std::max(QFontMetricsF(fitted).horizontalAdvance(initials_), QFontMetricsF(fitted).height());
        if (needed > room && fitted.pointSizeF() > 0)
            fitted.setPointSizeF(fitted.pointSizeF() * room / needed);
        else if (needed > room && fitted.pixelSize() > 0)
            fitted.setPixelSize(std::max(1, int(fitted.pixelSize() * room / needed)));
        painter.setFont(fitted);
        painter.drawText(rect(), Qt::AlignCenter, initials_);
    }

private:
    QString initials_;
};

// The name, announced as the card's heading.
class HeadingText final : public MurvelUI::MurvelText {
public:
    using MurvelText::MurvelText;
    MurvelUI::MurvelAccessibility accessibility() const override {
        return MurvelUI::MurvelAccessibility::element(QAccessible::Heading, text());
    }
};

} // namespace

// One number or address: its texts and buttons inside 8 points of margin, on its own highlight
// while the selection is on this field.
class ContactDetailView::Block final : public MurvelUI::MurvelStack {
public:
    Block(const DialcoveCore::ContactField& field, const std::vector<ContactAction>& actions,
          std::optional<QString> whatsAppLine)
        : MurvelStack(MurvelStackLayout::Axis::vertical, 12, MurvelStackLayout::Alignment::leading),
          field_(field), actions_(actions), whatsAppLine_(std::move(whatsAppLine)) {
        setPadding(8);
        setFillsWidth(true);
        setObjectName(QStringLiteral("block:") + qs(field.id.rawValue));

        auto* texts =
            new MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading);
        auto* label = new MurvelUI::MurvelText(qs(DialcoveCore::withoutBidiControls(field.label)));
        label->setColor(muted());
        label->setVisible(!field.label.empty());
        value_ = new SelectableText(qs(DialcoveCore::withoutBidiControls(field.value)));
        MurvelUI::applyFont(value_, MurvelUI::MurvelFont::detailSemibold);
        texts->stack()->addWidget(label, MurvelStackLayout::Options::filling());
        texts->stack()->addWidget(value_, MurvelStackLayout::Options::filling());
        if (whatsAppLine_) {
            auto* line = new MurvelUI::MurvelText(*whatsAppLine_);
            line->setColor(muted());
            texts->stack()->addWidget(line, MurvelStackLayout::Options::filling());
        }
        stack()->addWidget(texts, MurvelStackLayout::Options::filling());

        if (!actions_.empty()) {
            auto* row = new QWidget;
            layout_ = new MurvelUI::MurvelRowOrGridLayout(8, 4, row);
            for (ContactAction action : actions_) {
                auto* button = new ContactButtonBody(ContactDetailView::title(action));
                button->setObjectName(qs(std::string(DialcoveCore::rawValue(action))));
                layout_->addWidget(button);
                buttons_.append(button);
            }
            stack()->addWidget(row, MurvelStackLayout::Options::filling());
        }
    }

    const DialcoveCore::ContactField& field() const { return field_; }
    const std::vector<ContactAction>& actions() const { return actions_; }
    const QList<ContactButtonBody*>& buttons() const { return buttons_; }
    const std::optional<QString>& whatsAppLine() const { return whatsAppLine_; }
    SelectableText* valueText() const { return value_; }

    ContactButtonBody* button(ContactAction action) const {
        for (std::size_t i = 0; i < actions_.size(); ++i)
            if (actions_[i] == action)
                return buttons_[int(i)];
        return nullptr;
    }

    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) {
        if (highlighted == highlighted_)
            return;
        highlighted_ = highlighted;
        update();
    }

protected:
    bool event(QEvent* event) override {
        // At the accessibility text sizes two columns would elide every title: one a line then.
        if (layout_ && (event->type() == QEvent::Polish || event->type() == QEvent::ParentChange ||
                        event->type() == MurvelUI::MurvelEnvironment::changeEventType()))
            layout_->setStacksWhenCrowded(
                MurvelUI::isAccessibilitySize(MurvelUI::MurvelEnvironment::of(this)->typeSize()));
        return MurvelStack::event(event);
    }

    void paintBackground(QPainter& painter, MurvelColorScheme) override {
        if (highlighted_)
            painter.fillPath(MurvelUI::MurvelShape::roundedRectangle(12).path(QRectF(rect())),
                             appSelectionFill());
    }

private:
    DialcoveCore::ContactField field_;
    std::vector<ContactAction> actions_;
    std::optional<QString> whatsAppLine_;
    SelectableText* value_ = nullptr;
    MurvelUI::MurvelRowOrGridLayout* layout_ = nullptr;
    QList<ContactButtonBody*> buttons_;
    bool highlighted_ = false;
};

// The scrolling area: as tall as the card, at most the viewport height. The card takes the width of
// the area (less the scroll bar when it shows) and the height that width gives it.
class ContactDetailView::ScrollArea final : public QScrollArea {
public:
    explicit ScrollArea(ContactDetailView* owner) : owner_(owner) {
        setFrameShape(QFrame::NoFrame);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        MurvelUI::ThinScrollBar::apply(verticalScrollBar());
        setWidgetResizable(false);
        setFocusPolicy(Qt::NoFocus);
        viewport()->setAutoFillBackground(false);
        setAutoFillBackground(false);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override {
        const QWidget* card = widget();
        const int content = card ? card->heightForWidth(width) : 0;
        return std::min(content, int(std::floor(owner_->viewportHeight())));
    }
    QSize sizeHint() const override {
        const QWidget* card = widget();
        const int width = card ? card->sizeHint().width() : 0;
        return {width, heightForWidth(width)};
    }
    QSize minimumSizeHint() const override { return {0, 0}; }

    // Gives the card its width and the height that width needs.
    void fitCard() {
        QWidget* card = widget();
        if (!card)
            return;
        const int full = std::max(0, width());
        int cardWidth = full;
        if (card->heightForWidth(full) > height())
            cardWidth = std::max(0, full - verticalScrollBar()->sizeHint().width());
        const QSize size(cardWidth, card->heightForWidth(cardWidth));
        if (card->size() != size)
            card->resize(size);
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        fitCard();
    }

private:
    ContactDetailView* owner_;
};

ContactDetailView::ContactDetailView(ContactsPanel& panel, DialcoveCore::Contact contact,
                                     qreal viewportHeight, MeasureViewport measureViewport, QWidget* parent)
    : QWidget(parent), panel_(panel), contact_(std::move(contact)),
      plan_(panel.settings().values().phonePlan), viewportHeight_(viewportHeight),
      measureViewport_(std::move(measureViewport)) {
    assertMainThread();
    MurvelUI::applyFont(this, MurvelUI::MurvelFont::detail);
    auto* root = new MurvelStackLayout(MurvelStackLayout::Axis::vertical, 16,
                                       MurvelStackLayout::Alignment::leading, this);

    buildTimer_.setSingleShot(true);
    buildTimer_.setInterval(0);
    connect(&buildTimer_, &QTimer::timeout, this, &ContactDetailView::buildMoreBlocks);
    scrollTimer_.setSingleShot(true);
    scrollTimer_.setInterval(0);
    connect(&scrollTimer_, &QTimer::timeout, this, &ContactDetailView::scrollToSelection);

    buildHeader();

    scrollArea_ = new ScrollArea(this);
    // The card's texts sit 12 in from its edge and 24 apart, as in every card; a block's highlight
    // reaches 8 past its texts, into the card's padding and into that spacing. So the card is
    // padded 4 where blocks meet its edges, and the name sits 16 above the first highlight.
    card_ = new MurvelUI::PanelCard(16);
    card_->setPadding(QMargins(4, 12, 4, 4));
    card_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    identity_ = new MurvelUI::MurvelStack(MurvelStackLayout::Axis::horizontal, 12,
                                          MurvelStackLayout::Alignment::leading);
    // The blocks reach 8 points past their texts; the name lines up with those texts.
    identity_->setPadding(QMargins(8, 0, 8, 0));
    identity_->setFillsWidth(true);
    card_->addContent(identity_);
    blocksColumn_ = new MurvelUI::MurvelStack(MurvelStackLayout::Axis::vertical, 8,
                                              MurvelStackLayout::Alignment::leading);
    blocksColumn_->setFillsWidth(true);
    card_->addContent(blocksColumn_);
    scrollArea_->setWidget(card_);
    // The area would paint the window colour under the card; the card is drawn on the panel.
    card_->setAutoFillBackground(false);
    card_->installEventFilter(this);
    scrollArea_->installEventFilter(this);

    edit_ = new ContactButtonBody(tr("Edit in Contacts"), QStringLiteral("pencil"));
    edit_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    PanelControlFocus::attach(edit_, &panel_.keyboard());
    connect(edit_, &QAbstractButton::clicked, this, [this] { panel_.actions().openInContacts(); });

    QWidget* header = back_->parentWidget();
    root->addWidget(header, MurvelStackLayout::Options::filling());
    root->addWidget(scrollArea_, MurvelStackLayout::Options::filling());
    root->addWidget(edit_, MurvelStackLayout::Options::filling());

    buildIdentity();
    buildBlocks();
    applySelection();
    applyInProgress();

    connect(&panel_.navigation(), &ContactNavigation::stateChanged, this, [this] {
        applySelection();
        requestScroll();
    });
    connect(&panel_.navigation(), &ContactNavigation::contactChanged, this, [this] {
        const auto& open = panel_.navigation().contact();
        if (open && open->id() == contact_.id())
            setContact(*open);
    });
    connect(&panel_.settings(), &ContactSettings::valuesChanged, this, [this] {
        const DialcoveCore::PhonePlan plan = panel_.settings().values().phonePlan;
        if (plan == plan_)
            return;
        plan_ = plan;
        buildBlocks();
        applySelection();
        applyInProgress();
        requestScroll();
    });
    connect(&panel_.actions(), &ContactActions::inProgressChanged, this, &ContactDetailView::applyInProgress);
    requestScroll();
}

ContactDetailView::~ContactDetailView() = default;

QString ContactDetailView::title(ContactAction action) {
    switch (action) {
    case ContactAction::copy:
        return tr("Copy");
    case ContactAction::whatsapp:
        return tr("WhatsApp");
    case ContactAction::message:
        return tr("Message");
    case ContactAction::call:
        return tr("Call");
    case ContactAction::email:
        return tr("Email");
    }
    return {};
}

QString ContactDetailView::whatsAppLine(const DialcoveCore::PhoneResolution& resolution) {
    using DialcoveCore::PhoneUnavailableReason;
    if (resolution.internationalNumber())
        return tr("On WhatsApp: %1").arg(qs(*resolution.internationalNumber()));
    switch (resolution.reason().value_or(PhoneUnavailableReason::invalidNationalNumber)) {
    case PhoneUnavailableReason::missingInternationalPrefix:
        return tr("Save it with + and the country code for WhatsApp");
    case PhoneUnavailableReason::missingAreaCode:
        return tr("No area code, so no WhatsApp");
    case PhoneUnavailableReason::serviceNumber:
        return tr("Service numbers have no WhatsApp");
    case PhoneUnavailableReason::invalidNationalNumber:
    case PhoneUnavailableReason::invalidInternationalNumber:
    case PhoneUnavailableReason::unsupportedCharacters:
        break;
    }
    return tr("Not a number WhatsApp can open");
}

void ContactDetailView::buildHeader() {
    auto* header = new MurvelUI::MurvelStack(MurvelStackLayout::Axis::horizontal, 12,
                                             MurvelStackLayout::Alignment::center, this);
    header->setFillsWidth(true);
    back_ = new BackButton;
    PanelControlFocus::attach(back_, &panel_.keyboard());
    connect(back_, &QAbstractButton::clicked, this, [this] { panel_.goBack(); });
    header->stack()->addWidget(back_, {});
    header->stack()->addSpacer(8);
    birthday_ = new BirthdayLabel(QString());
    header->stack()->addWidget(birthday_, {});
    refreshBirthday();
}

void ContactDetailView::refreshBirthday() {
    auto* label = static_cast<BirthdayLabel*>(birthday_);
    const auto& birthday = contact_.birthday();
    const QString text = birthday ? qs(birthday->formatted(locale().name().toStdString())) : QString();
    label->titleView()->setText(text);
    label->setVisible(!text.isEmpty());
}

QScrollArea* ContactDetailView::scrollArea() const {
    return scrollArea_;
}

QWidget* ContactDetailView::identityRow() const {
    return identity_;
}

QWidget* ContactDetailView::birthdayLabel() const {
    return birthday_->isHidden() ? nullptr : birthday_;
}

void ContactDetailView::buildIdentity() {
    while (QLayoutItem* item = identity_->stack()->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    identity_->stack()->addWidget(new Avatar(qs(DialcoveCore::withoutBidiControls(contact_.initials()))),
                                  MurvelStackLayout::Options::framed(48));
    auto* names = new MurvelUI::MurvelStack(MurvelStackLayout::Axis::vertical, 4,
                                            MurvelStackLayout::Alignment::leading);
    auto* name = new HeadingText(qs(DialcoveCore::withoutBidiControls(contact_.displayName())));
    MurvelUI::applyFont(name, MurvelUI::MurvelFont::heading);
    names->stack()->addWidget(name, MurvelStackLayout::Options::filling());
    const QString subtitle = qs(DialcoveCore::isolatedSubtitle(contact_.subtitle()));
    if (!subtitle.isEmpty()) {
        auto* second = new MurvelUI::MurvelText(subtitle);
        second->setColor(muted());
        names->stack()->addWidget(second, MurvelStackLayout::Options::filling());
    }
    identity_->stack()->addWidget(names, MurvelStackLayout::Options::filling());
}

void ContactDetailView::buildBlocks() {
    buildTimer_.stop();
    highlighted_ = nullptr;
    selectedButton_ = nullptr;
    blockByField_.clear();
    for (Block* block : std::as_const(blocks_))
        delete block;
    blocks_.clear();
    blocksColumn_->setVisible(!contact_.fields().empty());
    buildMoreBlocks();
}

void ContactDetailView::buildMoreBlocks() {
    // Enough for any viewport at first; then batches that grow with the card, so the card is laid
    // out again only a few times however long it is.
    constexpr int firstBatch = 24;
    constexpr int largestBatch = 256;
    const auto& fields = contact_.fields();
    const int from = int(blocks_.size());
    const int batch = from == 0 ? firstBatch : std::clamp(from, firstBatch, largestBatch);
    const int to = std::min<int>(int(fields.size()), from + batch);
    const bool enabled = !panel_.actions().inProgress();
    for (int i = from; i < to; ++i) {
        const DialcoveCore::ContactField& field = fields[std::size_t(i)];
        std::optional<QString> line;
        if (field.kind == DialcoveCore::FieldKind::phone)
            line = whatsAppLine(DialcoveCore::PhoneResolution(field.value, plan_));
        auto* block = new Block(field, DialcoveCore::FieldActions::make(field, plan_), line);
        for (std::size_t a = 0; a < block->actions().size(); ++a) {
            ContactButtonBody* button = block->buttons()[int(a)];
            const ContactAction action = block->actions()[a];
            button->setEnabled(enabled);
            PanelControlFocus::attach(button, &panel_.keyboard());
            connect(button, &QAbstractButton::clicked, this,
                    [this, id = field.id, action] { perform(id, action); });
        }
        blocksColumn_->stack()->addWidget(block, MurvelStackLayout::Options::filling());
        blocks_.append(block);
        blockByField_.insert(qs(field.id.rawValue), block);
    }
    if (from > 0)
        applySelection(); // the selection may be on a block just built
    if (to < int(fields.size()))
        buildTimer_.start();
}

void ContactDetailView::setContact(const DialcoveCore::Contact& contact) {
    if (contact == contact_)
        return;
    contact_ = contact;
    refreshBirthday();
    buildIdentity();
    buildBlocks();
    applySelection();
    applyInProgress();
    requestScroll();
}

void ContactDetailView::perform(const FieldID& field, ContactAction action) {
    panel_.navigation().selectField(field, action);
    if (const auto& open = panel_.navigation().contact())
        panel_.actions().perform(action, field, *open);
}

void ContactDetailView::applySelection() {
    const auto& detail = panel_.navigation().state().detail;
    Block* block = nullptr;
    ContactButtonBody* button = nullptr;
    if (detail && !detail->isEdit()) {
        block = blockByField_.value(qs(detail->fieldID().rawValue));
        if (block)
            button = block->button(detail->action());
    }
    if (highlighted_ != block) {
        if (highlighted_)
            highlighted_->setHighlighted(false);
        if (block)
            block->setHighlighted(true);
        highlighted_ = block;
    }
    if (selectedButton_ != button) {
        if (selectedButton_)
            selectedButton_->setSelected(false);
        if (button)
            button->setSelected(true);
        selectedButton_ = button;
    }
    edit_->setSelected(detail && detail->isEdit());
}

void ContactDetailView::applyInProgress() {
    const bool enabled = !panel_.actions().inProgress();
    for (Block* block : std::as_const(blocks_))
        for (ContactButtonBody* button : block->buttons())
            button->setEnabled(enabled);
    edit_->setEnabled(enabled);
}

QWidget* ContactDetailView::block(const FieldID& field) const {
    return blockByField_.value(qs(field.rawValue));
}

bool ContactDetailView::isHighlighted(const FieldID& field) const {
    const Block* found = blockByField_.value(qs(field.rawValue));
    return found && found->isHighlighted();
}

QList<ContactButtonBody*> ContactDetailView::buttons(const FieldID& field) const {
    const Block* found = blockByField_.value(qs(field.rawValue));
    return found ? found->buttons() : QList<ContactButtonBody*>();
}

ContactButtonBody* ContactDetailView::button(const FieldID& field, ContactAction action) const {
    const Block* found = blockByField_.value(qs(field.rawValue));
    return found ? found->button(action) : nullptr;
}

SelectableText* ContactDetailView::valueText(const FieldID& field) const {
    const Block* found = blockByField_.value(qs(field.rawValue));
    return found ? found->valueText() : nullptr;
}

std::optional<QString> ContactDetailView::whatsAppLineOf(const FieldID& field) const {
    const Block* found = blockByField_.value(qs(field.rawValue));
    return found ? found->whatsAppLine() : std::nullopt;
}

int ContactDetailView::laidOutViewportHeight() const {
    return scrollArea_->heightForWidth(scrollArea_->width());
}

void ContactDetailView::setViewportHeight(qreal height) {
    if (height == viewportHeight_)
        return;
    viewportHeight_ = height;
    // The layouts above keep the heights they measured until told: tell every one up to the
    // window, or the panel is laid out at the old viewport and measures that.
    for (QWidget* widget = scrollArea_; widget != nullptr; widget = widget->parentWidget()) {
        if (widget->layout() != nullptr)
            widget->layout()->invalidate();
        widget->updateGeometry();
    }
    emit viewportHeightChanged();
    requestScroll();
}

void ContactDetailView::setContentHeight(qreal height) {
    if (height == contentHeight_)
        return;
    contentHeight_ = height;
    emit contentHeightChanged();
    requestScroll();
}

bool ContactDetailView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == card_ && event->type() == QEvent::Resize) {
        setContentHeight(card_->height());
    } else if (watched == card_ && event->type() == QEvent::LayoutRequest) {
        // The card's content changed size: the area may grow or shrink, and the card with it.
        scrollArea_->updateGeometry();
        scrollArea_->fitCard();
    } else if (watched == scrollArea_ && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        // Shown again, it hands its height back even when that height did not change: the panel
        // may have forgotten it meanwhile.
        const qreal measured = scrollArea_->height();
        if (measured != lastMeasuredViewport_ || event->type() == QEvent::Show) {
            lastMeasuredViewport_ = measured;
            if (measureViewport_)
                measureViewport_(measured);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ContactDetailView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LocaleChange)
        refreshBirthday();
    QWidget::changeEvent(event);
}

ContactDetailView::DetailScrollTarget ContactDetailView::scrollTarget() const {
    DetailScrollTarget target;
    if (const auto field = panel_.navigation().selectedField())
        target.field = field->id;
    target.contentHeight = contentHeight_;
    target.viewportHeight = viewportHeight_;
    return target;
}

void ContactDetailView::requestScroll() {
    const DetailScrollTarget target = scrollTarget();
    if (lastTarget_ && *lastTarget_ == target)
        return;
    lastTarget_ = target;
    // One pending request: moves in quick succession scroll once, to where the last one ended.
    scrollTimer_.start();
}

void ContactDetailView::scrollToSelection() {
    if (contentHeight_ <= 0)
        return;
    const auto field = panel_.navigation().selectedField();
    if (!field)
        return;
    const Block* target = blockByField_.value(qs(field->id.rawValue));
    if (!target)
        return;
    // Where the block sits once every pending layout has run.
    if (card_->layout())
        card_->layout()->activate();
    const int centre = target->mapTo(card_, target->rect().center()).y();
    // Its highlight reaches 8 points past the block.
    const int bottom = target->mapTo(card_, QPoint(0, target->height())).y() + 8;
    const int viewport = scrollArea_->viewport()->height();
    QScrollBar* bar = scrollArea_->verticalScrollBar();
    // A block that shows whole with the card's top leaves the header whole (a long name wraps
    // onto several lines); any other is centred.
    const int value = bottom <= viewport ? 0 : centre - viewport / 2;
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

} // namespace Dialcove
