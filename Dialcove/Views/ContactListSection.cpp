#include "Dialcove/Views/ContactListSection.hpp"

#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ContactListRow.hpp"
#include "Dialcove/Views/ContactsPanelView.hpp"
#include "Dialcove/Views/PanelControlFocus.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/PanelCard.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelLabel.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Controls/ThinScrollBar.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace Dialcove {

using MurvelUI::MurvelColor;
using MurvelUI::MurvelColorScheme;
using MurvelUI::MurvelStack;
using MurvelUI::MurvelStackLayout;

namespace {

QString translated(const char* text) {
    return QCoreApplication::translate("ContactListSection", text);
}

// A label line of the phase cards: symbol before text, semibold.
MurvelUI::MurvelLabel* labelLine(const QString& symbol, const QString& text) {
    auto* label = new MurvelUI::MurvelLabel(symbol, text);
    MurvelUI::applyFont(label, MurvelUI::MurvelFont::detailSemibold);
    return label;
}

// The optional second line of the phase cards.
MurvelUI::MurvelText* secondLine(const QString& text) {
    auto* line = new MurvelUI::MurvelText(text);
    line->setColor(MurvelColor::of(&MurvelUI::BrandPalette::secondary));
    return line;
}

} // namespace

// The magnifying glass and the field, on the opaque window background in a rounded rectangle.
class ContactListSection::SearchRow final : public MurvelStack {
public:
    explicit SearchRow(QLineEdit* field)
        : MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center),
          field_(field) {
        setPadding(QMargins(12, 0, 12, 0));
        setFillsWidth(true);
        stack()->setMinimumCrossExtent(44);
        stack()->addWidget(
            new MurvelUI::MurvelSymbolView(QStringLiteral("magnifyingglass"),
                                           MurvelColor::of(&MurvelUI::BrandPalette::secondary)),
            {});
        stack()->addWidget(field_, MurvelStackLayout::Options::filling());
    }

    void restyle() {
        const MurvelColorScheme scheme = MurvelUI::MurvelEnvironment::of(this)->colorScheme();
        QPalette palette = field_->palette();
        palette.setColor(QPalette::Base, Qt::transparent);
        palette.setColor(QPalette::Text, MurvelUI::SystemPalette::primary(scheme));
        palette.setColor(QPalette::PlaceholderText, MurvelUI::BrandPalette::secondary(scheme));
        palette.setColor(QPalette::Highlight, appBrand().accent(scheme));
        field_->setPalette(palette);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == MurvelUI::MurvelEnvironment::changeEventType() || event->type() == QEvent::Show)
            restyle();
        return MurvelStack::event(event);
    }
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override {
        painter.fillPath(MurvelUI::MurvelShape::roundedRectangle(12).path(QRectF(rect())),
                         MurvelUI::SystemPalette::windowBackground(scheme));
    }

private:
    QLineEdit* field_;
};

ContactListSection::ContactListSection(ContactsPanel& panel, ContactsPanelView& view, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 16, MurvelStackLayout::Alignment::leading, parent),
      panel_(panel), view_(view), field_(new QLineEdit), loadingCard_(new MurvelUI::PanelCard(8)),
      resultsCard_(new MurvelUI::PanelCard(4)), emptyCard_(new MurvelUI::PanelCard(8)),
      resultsTitle_(new MurvelUI::MurvelText), clear_(new MurvelUI::MurvelButton(translated("Clear"))),
      emptyDetail_(secondLine({})), scroll_(new QScrollArea),
      rowsHost_(
          new MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading)) {
    setFillsWidth(true);

    // A frameless line edit, so that the key router sees a text field.
    field_->setFrame(false);
    field_->setPlaceholderText(translated("Name, company, email or number"));
    field_->setAttribute(Qt::WA_MacShowFocusRect, false);
    searchRow_ = new SearchRow(field_);
    stack()->addWidget(searchRow_, MurvelStackLayout::Options::filling());

    loadingCard_->addContent(
        labelLine(QStringLiteral("person.crop.rectangle"), translated("Loading your contacts\u2026")));
    stack()->addWidget(loadingCard_, MurvelStackLayout::Options::filling());

    // The results card: its header, then the scrolling rows.
    auto* header =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    header->setPadding(QMargins(8, 0, 8, 0));
    MurvelUI::applyFont(resultsTitle_, MurvelUI::MurvelFont::detailSemibold);
    header->stack()->addWidget(resultsTitle_, {});
    header->stack()->addSpacer();
    clear_->setButtonStyle(MurvelUI::MurvelButton::Style::plain);
    // The brand colour reads on both schemes' cards.
    clear_->setTint(appBrand().color);
    clear_->setMinimumHeight(32);
    PanelControlFocus::attach(clear_, &panel_.keyboard());
    connect(clear_, &QAbstractButton::clicked, this, [this] { panel_.search().clearRecents(); });
    header->stack()->addWidget(clear_, {});
    resultsCard_->stack()->addWidget(header, MurvelStackLayout::Options::filling());

    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setWidgetResizable(true);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->viewport()->setAutoFillBackground(false);
    scroll_->setAutoFillBackground(false);
    scroll_->setStyleSheet(QStringLiteral("QScrollArea { background: transparent; }"));
    MurvelUI::ThinScrollBar::apply(scroll_->verticalScrollBar());
    rowsHost_->setAutoFillBackground(false);
    scroll_->setWidget(rowsHost_);
    rowsHost_->setAutoFillBackground(false); // setWidget turned it on
    scroll_->setFixedHeight(0);
    scroll_->installEventFilter(this);
    resultsCard_->stack()->addWidget(scroll_, MurvelStackLayout::Options::filling());
    stack()->addWidget(resultsCard_, MurvelStackLayout::Options::filling());

    emptyLabel_ = labelLine(QStringLiteral("clock"), {});
    emptyCard_->addContent(emptyLabel_);
    emptyCard_->addContent(emptyDetail_);
    stack()->addWidget(emptyCard_, MurvelStackLayout::Options::filling());

    // The field writes only what the user typed; a query that arrives moves the field.
    connect(field_, &QLineEdit::textEdited, this,
            [this](const QString& text) { panel_.search().update(text); });
    connect(&panel_.search(), &ContactSearch::queryChanged, this, [this] { showQuery(); });
    connect(&panel_.navigation(), &ContactNavigation::resultsChanged, this, [this] { rebuildRows(); });
    connect(&panel_.navigation(), &ContactNavigation::stateChanged, this, [this] { showSelection(); });
    connect(&panel_.session(), &ContactSession::phaseChanged, this, [this] { showPhase(); });

    scrollTimer_.setSingleShot(true);
    scrollTimer_.setInterval(0);
    connect(&scrollTimer_, &QTimer::timeout, this, [this] { scrollToSelection(); });

    showQuery();
    rebuildRows();
    showPhase();
}

QWidget* ContactListSection::searchRow() const {
    return searchRow_;
}

MurvelUI::PanelCard* ContactListSection::phaseCard() const {
    for (MurvelUI::PanelCard* card : {loadingCard_, resultsCard_, emptyCard_})
        if (!card->isHidden())
            return card;
    return nullptr;
}

void ContactListSection::showQuery() {
    const QString& query = panel_.search().query();
    if (field_->text() != query)
        field_->setText(query);
    showPhase();
    followScrollTarget();
}

void ContactListSection::rebuildRows() {
    qDeleteAll(rows_);
    rows_.clear();
    for (const DialcoveCore::Contact& contact : panel_.navigation().results()) {
        auto* row = new ContactListRow(contact, panel_.keyboard());
        connect(row, &QAbstractButton::clicked, this, [this, id = contact.id()] {
            panel_.navigation().selectContact(id);
            panel_.navigation().openSelected();
        });
        rowsHost_->stack()->addWidget(row, MurvelStackLayout::Options::filling());
        // Shown now rather than at the next turn of the event loop, as the layout would: the measure
        // below skips hidden rows, and nothing measures the list again until it changes.
        row->show();
        rows_.append(row);
    }
    showSelection();
    measureRows();
    showPhase();
}

void ContactListSection::showSelection() {
    const std::optional<DialcoveCore::ContactID>& selected = panel_.navigation().state().selectedContactID;
    for (ContactListRow* row : rows_)
        row->setSelected(selected && row->contact().id() == *selected);
    followScrollTarget();
}

void ContactListSection::showPhase() {
    const PanelPhase phase = panel_.session().phase();
    const bool hasResults = !panel_.navigation().results().empty();
    const QString& query = panel_.search().query();

    field_->setEnabled(phase != PanelPhase::permission && phase != PanelPhase::failure);

    // The query as typed decides the header; trimmed, the empty state.
    resultsTitle_->setText(query.isEmpty() ? translated("Recent") : translated("Results"));
    clear_->setVisible(query.isEmpty());
    const bool blank = query.trimmed().isEmpty();
    emptyLabel_->symbolView()->setSymbol(blank ? QStringLiteral("clock") : QStringLiteral("magnifyingglass"));
    emptyLabel_->titleView()->setText(blank ? translated("Your recent contacts appear here")
                                            : translated("No contacts found"));
    emptyDetail_->setText(blank ? translated("Search for a name to get started.")
                                : translated("Try another name, company or number."));

    const bool wasEmpty = !emptyCard_->isHidden();
    loadingCard_->setVisible(phase == PanelPhase::loading);
    resultsCard_->setVisible(phase == PanelPhase::list && hasResults);
    emptyCard_->setVisible(phase == PanelPhase::list && !hasResults);
    // The empty state has no viewport: until the list is measured again the chrome stays as it was.
    if (!emptyCard_->isHidden() && !wasEmpty)
        view_.setMeasuredViewport(0);
}

void ContactListSection::measureRows() {
    const int width = std::max(1, scroll_->viewport()->width());
    const QLayout* layout = rowsHost_->layout();
    const int height = rows_.isEmpty()               ? 0
                       : layout->hasHeightForWidth() ? layout->totalHeightForWidth(width)
                                                     : layout->totalSizeHint().height();
    view_.setListContentHeight(height);
    applyViewportHeight();
}

void ContactListSection::applyViewportHeight() {
    const int height = std::min(view_.listContentHeight(), view_.viewportHeight());
    if (scroll_->minimumHeight() != height || scroll_->maximumHeight() != height) {
        scroll_->setFixedHeight(height);
        // The layouts above keep the heights they measured until told: tell every one up to the window.
        for (QWidget* widget = scroll_; widget != nullptr; widget = widget->parentWidget()) {
            if (widget->layout() != nullptr)
                widget->layout()->invalidate();
            widget->updateGeometry();
        }
    }
    followScrollTarget();
}

bool ContactListSection::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_ && event->type() == QEvent::Resize && !resultsCard_->isHidden())
        view_.setMeasuredViewport(scroll_->height());
    return MurvelStack::eventFilter(watched, event);
}

void ContactListSection::setSearchFocused(bool focused) {
    if (focused && field_->isEnabled())
        field_->setFocus(Qt::OtherFocusReason);
    else if (!focused && field_->window()->focusWidget() == field_)
        field_->clearFocus();
}

void ContactListSection::followScrollTarget() {
    ContactListScrollTarget target;
    target.selected = panel_.navigation().state().selectedContactID;
    for (const DialcoveCore::Contact& contact : panel_.navigation().results())
        target.contacts.push_back(contact.id());
    target.query = panel_.search().query();
    target.contentHeight = view_.listContentHeight();
    target.viewportHeight = view_.viewportHeight();
    if (target == scrollTarget_)
        return;
    scrollTarget_ = std::move(target);
    // One pending scroll at most: a newer key replaces the older request.
    scrollTimer_.start();
}

void ContactListSection::scrollToSelection() {
    if (view_.listContentHeight() <= 0)
        return;
    const std::optional<DialcoveCore::ContactID>& selected = panel_.navigation().state().selectedContactID;
    if (!selected)
        return;
    for (ContactListRow* row : rows_) {
        if (row->contact().id() != *selected)
            continue;
        // Lay the rows out first, so that the row stands where it will be drawn.
        rowsHost_->stack()->activate();
        QScrollBar* bar = scroll_->verticalScrollBar();
        const int centre = row->y() + row->height() / 2;
        bar->setValue(std::clamp(centre - scroll_->viewport()->height() / 2, bar->minimum(), bar->maximum()));
        return;
    }
}

} // namespace Dialcove
