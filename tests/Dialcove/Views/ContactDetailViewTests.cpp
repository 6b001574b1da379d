#include "Dialcove/Views/AppBrand.hpp"
#include "Dialcove/Views/ContactButtonBody.hpp"
#include "Dialcove/Views/ContactButtonStyle.hpp"
#include "Dialcove/Views/ContactDetailView.hpp"
#include "Dialcove/Views/SelectableText.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Cards/PanelCard.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "tests/Dialcove/Support/PanelGraph.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"
#include "tests/support/QtPrinters.hpp"

#include <QEnterEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <map>

using namespace Dialcove;
using DialcoveCore::ActionRequest;
using DialcoveCore::Contact;
using DialcoveCore::ContactAction;
using DialcoveCore::ContactField;
using DialcoveCore::ContactID;
using DialcoveCore::FieldID;
using DialcoveCore::FieldKind;
using DialcoveCore::MoveDirection;
using DialcoveCore::PhonePlan;
using MurvelUI::MurvelColorScheme;

namespace {

constexpr int panelWidth = 360;

std::shared_ptr<ContactSettings> settingsWith(PhonePlan plan) {
    return std::make_shared<ContactSettings>(
        nullptr, DialcoveCore::ContactPreferences{true, plan, DialcoveCore::Shortcut::defaultShortcut()});
}

Contact person(std::vector<ContactField> fields,
               std::optional<DialcoveCore::Birthday> birthday = std::nullopt, std::string name = "Ana Lima") {
    return {ContactID("card"), name, "", "", "Acme", "", std::move(fields), birthday};
}

// A card over the real panel graph: the contact listed, opened as Return opens it, and the view
// laid out at `width` in the panel's viewport.
struct OpenCard {
    explicit OpenCard(const Contact& contact, PhonePlan plan = PhonePlan::brazil, int width = panelWidth,
                      qreal viewport = 340, const std::function<void(PanelGraph&)>& beforeView = {})
        : graph(settingsWith(plan)) {
        graph.openWith({contact});
        graph.navigation().openSelected();
        EXPECT_EQ(graph.session().phase(), PanelPhase::detail);
        if (beforeView)
            beforeView(graph);
        view = std::make_unique<ContactDetailView>(*graph.panel, *graph.navigation().contact(), viewport,
                                                   [this](qreal height) { measured.push_back(height); });
        if (width > 0)
            layOut(width);
    }

    void layOut(int width) {
        KitTest::layOut(*view, width);
        TestSupport::drainEvents();
    }

    QRect rectOf(const QWidget* part) const { return KitTest::rectIn(part, view.get()); }

    PanelGraph graph;
    std::vector<qreal> measured;
    std::unique_ptr<ContactDetailView> view;
};

// The titles of a field's buttons, row by row as laid out (top to bottom, left to right).
std::vector<std::vector<QString>> rowsOf(const ContactDetailView& view, const FieldID& field) {
    std::map<int, std::map<int, QString>> rows;
    for (const ContactButtonBody* button : view.buttons(field))
        rows[button->geometry().top()][button->geometry().left()] = button->text();
    std::vector<std::vector<QString>> titles;
    for (const auto& [top, row] : rows) {
        titles.emplace_back();
        for (const auto& [left, title] : row)
            titles.back().push_back(title);
    }
    return titles;
}

TEST(ContactButtonStyle, FillAndOpacityByState) {
    const QColor brand = appBrand().color;
    struct Case {
        bool selected, hovered, pressed, enabled;
        double primaryOpacity; // of the primary colour; 0 for the brand colour
        qreal opacity;
    };
    const Case cases[] = {
        {false, false, false, true, 0.08, 1.0},  {false, true, false, true, 0.16, 1.0},
        {false, false, true, true, 0.16, 1.0},   {false, true, true, true, 0.16, 1.0},
        {true, false, false, true, 0, 1.0},      {true, true, false, true, 0, 1.0},
        {true, false, true, true, 0, 1.0},       {true, true, true, true, 0, 1.0},
        {false, false, false, false, 0.08, 0.5}, {false, true, false, false, 0.16, 0.5},
        {true, true, false, false, 0, 0.5},
    };
    for (const Case& c : cases) {
        for (const MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
            SCOPED_TRACE(testing::Message()
                         << "selected " << c.selected << ", hovered " << c.hovered << ", pressed "
                         << c.pressed << ", enabled " << c.enabled << ", " << KitTest::nameOf(scheme));
            const QColor fill = ContactButtonStyle{c.selected}.fill(c.hovered, c.pressed, scheme);
            if (c.primaryOpacity == 0) {
                EXPECT_EQ(fill, brand);
            } else {
                const double primary = scheme == MurvelColorScheme::dark ? 1 : 0;
                EXPECT_TRUE(KitTest::componentsNear(fill, primary, primary, primary, c.primaryOpacity, 1e-3));
            }
            EXPECT_EQ(ContactButtonStyle::opacity(c.enabled), c.opacity);
        }
    }
}

TEST(ContactButtonBody, HoverTogglesTheRestingAndStrongFills) {
    ContactButtonBody button(QStringLiteral("Copy"));
    KitTest::layOut(button, 80);
    EXPECT_EQ(button.fill(MurvelColorScheme::light), appQuietFill(MurvelColorScheme::light));
    QEvent enter(QEvent::HoverEnter);
    QCoreApplication::sendEvent(&button, &enter);
    EXPECT_TRUE(button.isHovered());
    EXPECT_EQ(button.fill(MurvelColorScheme::light),
              MurvelUI::BrandPalette::strongFill(MurvelColorScheme::light));
    QEvent leave(QEvent::HoverLeave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.fill(MurvelColorScheme::light), appQuietFill(MurvelColorScheme::light));
    button.setSelected(true);
    EXPECT_EQ(button.labelColor(MurvelColorScheme::dark), QColor(Qt::black)) << "black reads on the brand";
    EXPECT_EQ(button.focusPolicy(), Qt::TabFocus);
    EXPECT_TRUE(KitTest::accessible(&button)->state().selected);
}

TEST(ContactDetailView, OffersTheFieldsButtonsLinesAndLayout) {
    using Rows = std::vector<std::vector<QString>>;
    struct Case {
        const char* name;
        FieldKind kind;
        const char* value;
        PhonePlan plan;
        int width;
        Rows rows;
        std::optional<QString> line;
    };
    const Case cases[] = {
        {"international phone",
         FieldKind::phone,
         "+55 11 91234-5678",
         PhonePlan::brazil,
         panelWidth,
         {{"Copy", "WhatsApp"}, {"Message", "Call"}},
         "On WhatsApp: +5511912345678"},
        {"national number under other",
         FieldKind::phone,
         "212 555 0123",
         PhonePlan::other,
         panelWidth,
         {{"Copy", "Message", "Call"}},
         "Save it with + and the country code for WhatsApp"},
        {"national number, narrow",
         FieldKind::phone,
         "212 555 0123",
         PhonePlan::other,
         150,
         {{"Copy", "Message"}, {"Call"}},
         "Save it with + and the country code for WhatsApp"},
        {"e-mail",
         FieldKind::email,
         "ana@example.com",
         PhonePlan::brazil,
         panelWidth,
         {{"Copy", "Email"}},
         std::nullopt},
        {"missing area code",
         FieldKind::phone,
         "91234-5678",
         PhonePlan::brazil,
         panelWidth,
         {{"Copy", "Message", "Call"}},
         "No area code, so no WhatsApp"},
        {"service number",
         FieldKind::phone,
         "0800 1234567",
         PhonePlan::germany,
         panelWidth,
         {{"Copy", "Message", "Call"}},
         "Service numbers have no WhatsApp"},
        {"invalid number",
         FieldKind::phone,
         "030 1234",
         PhonePlan::germany,
         panelWidth,
         {{"Copy", "Message", "Call"}},
         "Not a number WhatsApp can open"},
        {"no digits",
         FieldKind::phone,
         "ask at the desk",
         PhonePlan::brazil,
         panelWidth,
         {{"Copy"}},
         "Not a number WhatsApp can open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenCard card(person({Contacts::field("f", c.kind, "work", c.value)}), c.plan, c.width);
        const FieldID id("f");
        EXPECT_EQ(rowsOf(*card.view, id), c.rows);
        EXPECT_EQ(card.view->whatsAppLineOf(id), c.line);
        // Every button stays inside its block, and a row's buttons share its width evenly.
        const QRect block = card.rectOf(card.view->block(id));
        for (const ContactButtonBody* button : card.view->buttons(id)) {
            EXPECT_TRUE(block.contains(card.rectOf(button))) << button->text().toStdString();
            EXPECT_GE(button->height(), 32);
        }
        const auto buttons = card.view->buttons(id);
        if (c.rows.size() > 1) {
            EXPECT_EQ(buttons.front()->width(), buttons.back()->width()) << "two equal columns";
        }
    }
}

TEST(ContactDetailView, JustOpenedTheFirstBlockAndItsCopyAreSelected) {
    OpenCard card(Contacts::ana());
    ContactDetailView& view = *card.view;
    const FieldID mobile("ana-mobile");
    const FieldID mail("ana-mail");
    EXPECT_TRUE(view.isHighlighted(mobile));
    EXPECT_FALSE(view.isHighlighted(mail));
    ContactButtonBody* copy = view.button(mobile, ContactAction::copy);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->isSelected());

    const QImage image = KitTest::render(view);
    const QRect tile = card.rectOf(copy);
    EXPECT_TRUE(
        KitTest::colorNear(image.pixelColor(tile.left() + 3, tile.center().y()), QColor(15, 158, 143)))
        << "the tile beside its label";
    int dark = 0;
    int light = 0;
    for (int x = tile.left(); x <= tile.right(); ++x) {
        const QColor pixel = image.pixelColor(x, tile.center().y());
        dark += KitTest::colorNear(pixel, Qt::black, 40) ? 1 : 0;
        light += pixel.lightness() > 200 ? 1 : 0;
    }
    EXPECT_GT(dark, 0) << "a black label";
    EXPECT_EQ(light, 0) << "no white label";
    // The highlight reaches into the block's margin; the other block has none.
    const QColor card0 = KitTest::over(MurvelUI::BrandPalette::fill(MurvelColorScheme::light), Qt::white);
    const QRect first = card.rectOf(view.block(mobile));
    const QRect second = card.rectOf(view.block(mail));
    EXPECT_TRUE(KitTest::colorNear(image.pixelColor(first.left() + 3, first.center().y()),
                                   KitTest::over(appSelectionFill(), card0)));
    EXPECT_TRUE(KitTest::colorNear(image.pixelColor(second.left() + 3, second.center().y()), card0));

    // Another action of the same field: the fill moves, the block's highlight stays.
    card.graph.navigation().moveAction(MoveDirection::next);
    EXPECT_FALSE(copy->isSelected());
    EXPECT_TRUE(view.button(mobile, ContactAction::whatsapp)->isSelected());
    EXPECT_TRUE(view.isHighlighted(mobile));

    // The edit row: no block highlighted, Edit filled, nothing scrolls.
    const int scrolled = view.scrollArea()->verticalScrollBar()->value();
    card.graph.navigation().move(MoveDirection::next);
    card.graph.navigation().move(MoveDirection::next);
    ASSERT_TRUE(card.graph.navigation().state().detail->isEdit());
    TestSupport::drainEvents();
    EXPECT_FALSE(view.isHighlighted(mobile));
    EXPECT_FALSE(view.isHighlighted(mail));
    EXPECT_TRUE(view.editButton()->isSelected());
    for (const FieldID& field : {mobile, mail})
        for (const ContactButtonBody* button : view.buttons(field))
            EXPECT_FALSE(button->isSelected());
    EXPECT_EQ(view.scrollArea()->verticalScrollBar()->value(), scrolled);
    EXPECT_TRUE(
        KitTest::colorNear(KitTest::render(view).pixelColor(card.rectOf(view.editButton()).left() + 3,
                                                            card.rectOf(view.editButton()).center().y()),
                           QColor(15, 158, 143)));
}

TEST(ContactDetailView, ARunningActionDimsAndDeafensEveryActionButEdit) {
    OpenCard card(Contacts::ana());
    ContactDetailView& view = *card.view;
    QTest::mouseClick(view.button(FieldID("ana-mail"), ContactAction::email), Qt::LeftButton);
    ASSERT_TRUE(card.graph.actions().inProgress());
    for (const FieldID& field : {FieldID("ana-mobile"), FieldID("ana-mail")})
        for (const ContactButtonBody* button : view.buttons(field))
            EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    EXPECT_FALSE(view.editButton()->isEnabled());
    EXPECT_TRUE(view.backButton()->isEnabled());

    // Drawn at half opacity: the selected Email tile is the brand colour at 0.5.
    const QImage image = KitTest::render(view);
    const QRect email = card.rectOf(view.button(FieldID("ana-mail"), ContactAction::email));
    const QColor under = image.pixelColor(email.left() - 2, email.center().y());
    EXPECT_TRUE(KitTest::colorNear(image.pixelColor(email.left() + 3, email.center().y()),
                                   KitTest::over(MurvelUI::withOpacity(appBrand().color, 0.5), under)));

    // A click on a dimmed button does nothing.
    QTest::mouseClick(view.button(FieldID("ana-mobile"), ContactAction::copy), Qt::LeftButton);
    EXPECT_EQ(card.graph.navigation().state().detail,
              DialcoveCore::DetailSelection::field(FieldID("ana-mail"), ContactAction::email));
    EXPECT_TRUE(card.graph.output->copies.empty());
    card.graph.awaitLookUp(1).answer.answer(std::optional(Contacts::ana()));
    card.graph.awaitOpen(1).answer.answer(false);
    PanelGraph::settle(card.graph.actions().task());
    EXPECT_FALSE(card.graph.actions().inProgress());
    EXPECT_TRUE(view.editButton()->isEnabled());
    EXPECT_TRUE(view.button(FieldID("ana-mobile"), ContactAction::copy)->isEnabled());
}

TEST(ContactDetailView, AClickSelectsThenPerformsAndEditOpensTheCardFile) {
    {
        OpenCard card(Contacts::ana());
        QTest::mouseClick(card.view->button(FieldID("ana-mobile"), ContactAction::whatsapp), Qt::LeftButton);
        EXPECT_EQ(card.graph.navigation().state().detail,
                  DialcoveCore::DetailSelection::field(FieldID("ana-mobile"), ContactAction::whatsapp));
        card.graph.awaitLookUp(1).answer.answer(std::optional(Contacts::ana()));
        const auto opening = card.graph.awaitOpen(1);
        EXPECT_EQ(opening.request, ActionRequest::whatsapp("+5511912345678"));
        EXPECT_FALSE(card.view->hasFocus() ||
                     card.view->button(FieldID("ana-mobile"), ContactAction::whatsapp)->hasFocus())
            << "a click leaves the keys with the panel";
        opening.answer.answer(true);
        PanelGraph::settle(card.graph.actions().task());
        EXPECT_EQ(card.graph.closes, 1);
    }
    {
        OpenCard card(Contacts::ana());
        QTest::mouseClick(card.view->editButton(), Qt::LeftButton);
        card.graph.awaitLookUp(1).answer.answer(std::optional(Contacts::ana()));
        EXPECT_TRUE(TestSupport::waitUntil([&] { return !card.graph.output->cards.empty(); }));
        ASSERT_EQ(card.graph.output->cards.size(), 1u);
        EXPECT_EQ(card.graph.output->cards[0].id, ContactID("ana"));
        card.graph.output->cards[0].answer.answer(true);
        PanelGraph::settle(card.graph.actions().task());
    }
    {
        OpenCard card(Contacts::ana());
        QTest::mouseClick(card.view->backButton(), Qt::LeftButton);
        EXPECT_EQ(card.graph.session().phase(), PanelPhase::list) << "Back returns to the list";
    }
}

TEST(ContactDetailView, HeaderShowsTheBirthdayInTheCardsLocale) {
    {
        OpenCard card(person({}));
        EXPECT_EQ(card.view->birthdayLabel(), nullptr) << "Back alone";
        EXPECT_TRUE(card.view->backButton()->isVisible());
        // Without fields: the identity row, and Edit still there and selected.
        EXPECT_TRUE(card.view->identityRow()->isVisible());
        EXPECT_TRUE(card.view->editButton()->isVisible());
        EXPECT_TRUE(card.view->editButton()->isSelected());
        EXPECT_GT(card.view->contentHeight(), 0);
    }
    struct Case {
        const char* locale;
        const char* shown;
    };
    for (const Case c : {Case{"en_US", "July 4, 1990"}, Case{"de_DE", "4. Juli 1990"}}) {
        OpenCard card(person({}, DialcoveCore::Birthday::make(4, 7, 1990)));
        card.view->setLocale(QLocale(QString::fromLatin1(c.locale)));
        QWidget* birthday = card.view->birthdayLabel();
        ASSERT_NE(birthday, nullptr);
        QAccessibleInterface* spoken = KitTest::accessible(birthday);
        EXPECT_EQ(spoken->text(QAccessible::Name), QStringLiteral("Birthday"));
        EXPECT_EQ(spoken->text(QAccessible::Value), QString::fromUtf8(c.shown)) << c.locale;
        EXPECT_EQ(spoken->childCount(), 0);
    }
}

TEST(ContactDetailView, ScrollsTheSelectedBlockToTheCentreOnceMeasured) {
    std::vector<ContactField> fields;
    for (int i = 1; i <= 12; ++i)
        fields.push_back(Contacts::field(("f" + std::to_string(i)).c_str(), FieldKind::email, "work",
                                         ("person" + std::to_string(i) + "@example.com").c_str()));
    // The tenth field selected before the card has been measured: nothing scrolls yet.
    OpenCard card(person(fields), PhonePlan::brazil, 0, 88, [](PanelGraph& graph) {
        for (int i = 1; i < 10; ++i)
            graph.navigation().move(MoveDirection::next);
    });
    ContactDetailView& view = *card.view;
    TestSupport::drainEvents();
    EXPECT_EQ(view.contentHeight(), 0);
    EXPECT_EQ(view.scrollArea()->verticalScrollBar()->value(), 0);

    card.layOut(panelWidth);
    EXPECT_GT(view.contentHeight(), 88);
    EXPECT_EQ(view.scrollArea()->height(), 88);
    ASSERT_FALSE(card.measured.empty());
    EXPECT_EQ(card.measured.back(), 88) << "the viewport's height goes to the panel";
    const auto centreOf = [&](const char* field) {
        const QWidget* block = view.block(FieldID(field));
        return block->mapTo(view.scrollArea()->viewport(), block->rect().center()).y();
    };
    EXPECT_NEAR(centreOf("f10"), 44, 1);

    // Down back to the first field, then down to the tenth again.
    for (int i = 0; i < 9; ++i)
        card.graph.navigation().move(MoveDirection::previous);
    TestSupport::drainEvents();
    EXPECT_NEAR(centreOf("f1"), 44, 1);
    for (int i = 0; i < 9; ++i)
        card.graph.navigation().move(MoveDirection::next);
    TestSupport::drainEvents();
    EXPECT_NEAR(centreOf("f10"), 44, 1);

    // A taller viewport follows.
    view.setViewportHeight(200);
    TestSupport::drainEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    view.resize(view.width(), view.heightForWidth(view.width()));
    TestSupport::drainEvents();
    EXPECT_EQ(view.scrollArea()->height(), 200);
    EXPECT_EQ(card.measured.back(), 200);
    EXPECT_NEAR(centreOf("f10"), 100, 1) << "centred again in the taller viewport";
}

// The card's spacing: its texts 12 in from its edges and 24 under the name, as in every card; a
// block's highlight reaches 8 past its texts, never pushing them in.
TEST(ContactDetailView, TheCardKeepsItsSpacingAndTheHighlightReachesPastTheTexts) {
    OpenCard card(person({Contacts::field("a", FieldKind::email, "work", "ana@example.com"),
                          Contacts::field("b", FieldKind::email, "home", "ana@home.example")}));
    ContactDetailView& view = *card.view;
    const auto in = [&](const QWidget* part) {
        return QRect(part->mapTo(view.card(), QPoint(0, 0)), part->size());
    };
    const QRect identity = in(view.identityRow());
    const QRect first = in(view.block(FieldID("a")));
    const QRect second = in(view.block(FieldID("b")));
    const QRect value = in(view.valueText(FieldID("a")));
    EXPECT_EQ(identity.top(), 12);
    EXPECT_EQ(value.left(), 12) << "the texts line up with the card's padding";
    EXPECT_EQ(first.left(), value.left() - 8) << "the highlight reaches 8 past the texts";
    EXPECT_EQ(first.top() + 8 - (identity.bottom() + 1), 24) << "24 under the name";
    EXPECT_EQ(second.top() - (first.bottom() + 1), 8) << "24 between the texts of two blocks";
    EXPECT_EQ(view.card()->width() - (first.right() + 1), 4);
}

// A name that wraps onto several lines: the card opens at its top, the header whole, as long as
// the selected first block shows whole under it; a later block is centred.
TEST(ContactDetailView, ALongNameOpensWithItsHeaderWhole) {
    std::vector<ContactField> fields;
    for (int i = 1; i <= 6; ++i)
        fields.push_back(Contacts::field(("f" + std::to_string(i)).c_str(), FieldKind::email, "work",
                                         ("person" + std::to_string(i) + "@example.com").c_str()));
    const std::string name = "Maria Aparecida dos Santos Oliveira Figueiredo de Albuquerque e Vasconcelos";
    OpenCard card(person(fields, std::nullopt, name), PhonePlan::brazil, panelWidth, 600);
    ContactDetailView& view = *card.view;
    TestSupport::drainEvents();
    ASSERT_GT(view.identityRow()->height(), 60) << "the name wraps";
    // A viewport that holds the header and the first block, and no more.
    const QWidget* first = view.block(FieldID("f1"));
    view.setViewportHeight(first->mapTo(view.card(), QPoint(0, first->height())).y() + 8);
    card.layOut(panelWidth);
    ASSERT_LT(view.scrollArea()->height(), view.card()->height());
    EXPECT_EQ(view.scrollArea()->verticalScrollBar()->value(), 0);

    for (int i = 1; i < 5; ++i)
        card.graph.navigation().move(MoveDirection::next);
    TestSupport::drainEvents();
    const QWidget* block = view.block(FieldID("f5"));
    EXPECT_NEAR(block->mapTo(view.scrollArea()->viewport(), block->rect().center()).y(),
                view.scrollArea()->viewport()->height() / 2, 1);
}

TEST(ContactDetailView, HostileValuesStayInsideTheirBlocks) {
    const std::string longMail = std::string(290, 'a') + "@example.com";
    ASSERT_GE(longMail.size(), 300u);
    OpenCard card(person({
        Contacts::field("long", FieldKind::email, "work", longMail.c_str()),
        Contacts::field("rtl", FieldKind::phone, "mobile", "\u202E+55 11 91234-5678"),
        Contacts::field("break", FieldKind::phone, "home", "+55 11\n91234-5678"),
    }));
    ContactDetailView& view = *card.view;
    const QRect cardRect = card.rectOf(view.card());
    for (const char* id : {"long", "rtl", "break"}) {
        SelectableText* value = view.valueText(FieldID(id));
        ASSERT_NE(value, nullptr);
        const QRect block = card.rectOf(view.block(FieldID(id)));
        EXPECT_TRUE(block.contains(card.rectOf(value))) << id;
        EXPECT_LE(block.right(), cardRect.right()) << id;
        EXPECT_LE(value->longestLineWidth(), value->width() + 0.5) << id;
    }
    EXPECT_GT(view.valueText(FieldID("long"))->lineCount(view.valueText(FieldID("long"))->width()), 2);
    EXPECT_EQ(view.valueText(FieldID("break"))->lineCount(300), 2);

    // Copy takes the whole value.
    QTest::mouseClick(view.button(FieldID("long"), ContactAction::copy), Qt::LeftButton);
    card.graph.awaitLookUp(1).answer.answer(std::optional(*card.graph.navigation().contact()));
    EXPECT_TRUE(TestSupport::waitUntil([&] { return !card.graph.output->copies.empty(); }));
    EXPECT_EQ(card.graph.output->copies, std::vector{longMail});
}

// A card's bidi controls are not honoured: each text reads in its own order, and the value that
// is shown is the one selected and copied from the card.
TEST(ContactDetailView, CardTextsShowWithoutTheirBidiControls) {
    const Contact spoof{
        ContactID("card"),
        "\u202Eevil\u202C Bidi Override",
        "",
        "",
        "\u202BAcme",
        "\u2067Designer\u2069",
        {Contacts::field("rtl", FieldKind::phone, "\u202Emobile", "\u202E+55 11 91234-5678")}};
    OpenCard card(spoof);
    QStringList shown;
    for (const MurvelUI::MurvelText* text : card.view->identityRow()->findChildren<MurvelUI::MurvelText*>())
        shown << text->text();
    for (const MurvelUI::MurvelText* text :
         card.view->block(FieldID("rtl"))->findChildren<MurvelUI::MurvelText*>())
        shown << text->text();
    EXPECT_TRUE(shown.contains("evil Bidi Override")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains(QString::fromUtf8("\u2068Acme\u2069 \u00B7 \u2068Designer\u2069")))
        << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains("mobile")) << shown.join(" | ").toStdString();
    EXPECT_EQ(card.view->valueText(FieldID("rtl"))->text(), "+55 11 91234-5678");
}

TEST(ContactDetailView, AReloadThatChangesTheFieldsRebuildsTheBlocksInPlace) {
    OpenCard card(Contacts::ana());
    ContactDetailView& view = *card.view;
    QWidget* before = view.block(FieldID("ana-mobile"));
    // Only a selection change: nothing is rebuilt.
    card.graph.navigation().moveAction(MoveDirection::next);
    EXPECT_EQ(view.block(FieldID("ana-mobile")), before);

    Contact changed = Contacts::ana();
    changed = Contact(changed.id(), changed.formattedName(), changed.givenName(), changed.familyName(),
                      changed.organization(), changed.jobTitle(),
                      {Contacts::field("ana-home", FieldKind::phone, "home", "+55 11 3456-7890")});
    card.graph.navigation().showContact(changed, card.graph.navigation().state());
    EXPECT_EQ(view.contact(), changed);
    EXPECT_EQ(view.block(FieldID("ana-mobile")), nullptr);
    ASSERT_NE(view.block(FieldID("ana-home")), nullptr);
    EXPECT_TRUE(view.isHighlighted(FieldID("ana-home")));
}

} // namespace

namespace {

TEST(ContactDetailView, ALongCardIsBuiltInBatchesAndKeepsTheSelectionInView) {
    std::vector<ContactField> fields;
    for (int i = 1; i <= 100; ++i)
        fields.push_back(Contacts::field(("f" + std::to_string(i)).c_str(), FieldKind::phone, "mobile",
                                         ("+55 11 9" + std::to_string(1000 + i) + "-5678").c_str()));
    // A reload restored the selection far down the card.
    OpenCard card(person(fields), PhonePlan::brazil, 0, 200, [](PanelGraph& graph) {
        for (int i = 1; i < 60; ++i)
            graph.navigation().move(MoveDirection::next);
    });
    ContactDetailView& view = *card.view;
    EXPECT_LT(view.builtBlockCount(), 100) << "the first batch only";
    EXPECT_GT(view.builtBlockCount(), 0);
    card.layOut(panelWidth);
    EXPECT_TRUE(TestSupport::waitUntil([&] { return view.isComplete(); }));
    TestSupport::drainEvents();
    EXPECT_TRUE(view.isHighlighted(FieldID("f60")));
    EXPECT_TRUE(view.button(FieldID("f60"), ContactAction::copy)->isSelected());
    const QWidget* block = view.block(FieldID("f60"));
    EXPECT_NEAR(block->mapTo(view.scrollArea()->viewport(), block->rect().center()).y(), 100, 1);
}

} // namespace

namespace {

TEST(ContactDetailView, ButtonsTakeFocusByTabOnlyAndReportIt) {
    OpenCard card(Contacts::ana(), PhonePlan::brazil, 0);
    ContactDetailView& view = *card.view;
    view.resize(panelWidth, view.heightForWidth(panelWidth));
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    QList<QWidget*> controls{view.backButton(), view.editButton()};
    for (ContactButtonBody* button : view.buttons(FieldID("ana-mobile")))
        controls.append(button);
    for (QWidget* control : controls) {
        EXPECT_EQ(control->focusPolicy(), Qt::TabFocus);
        control->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(card.graph.panel->keyboard().anyControlFocused());
        control->clearFocus();
        EXPECT_FALSE(card.graph.panel->keyboard().anyControlFocused());
    }
}

} // namespace

namespace {

// At the largest text size two columns cannot hold "WhatsApp" or "Message": every title keeps its
// ideal width, one button a line; back at the usual size the grid returns.
TEST(ContactDetailView, AtTheLargestTextSizeNoTitleIsCut) {
    OpenCard card(Contacts::ana(), PhonePlan::brazil, 0);
    ContactDetailView& view = *card.view;
    MurvelUI::MurvelEnvironment::of(&view)->setTypeSize(MurvelUI::MurvelTypeSize::accessibility5);
    card.layOut(panelWidth);
    const FieldID mobile("ana-mobile");
    for (const ContactButtonBody* button : view.buttons(mobile))
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    EXPECT_EQ(rowsOf(view, mobile).size(), 4u);

    MurvelUI::MurvelEnvironment::of(&view)->setTypeSize(MurvelUI::MurvelTypeSize::large);
    card.layOut(panelWidth);
    EXPECT_EQ(rowsOf(view, mobile),
              (std::vector<std::vector<QString>>{{"Copy", "WhatsApp"}, {"Message", "Call"}}));
}

} // namespace
