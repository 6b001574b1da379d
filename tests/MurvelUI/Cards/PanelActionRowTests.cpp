#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelTextStyle.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/PanelActionRow.hpp"
#include "MurvelUI/Cards/PanelShortcutKeys.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QEnterEvent>
#include <QGraphicsOpacityEffect>
#include <QTest>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                        QColor(72, 200, 182), QColor(15, 138, 125)};
const QStringList shortcut = {QStringLiteral("\u2303"), QStringLiteral("\u2325"), QStringLiteral("K")};

PanelActionRow::Inputs inputs(
    const QString& title, std::function<void()> perform = [] {}) {
    PanelActionRow::Inputs in;
    in.title = title;
    in.symbol = QStringLiteral("magnifyingglass");
    in.brand = brand;
    in.perform = std::move(perform);
    return in;
}

void movePointer(QWidget* area, bool inside) {
    if (inside) {
        QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
        QCoreApplication::sendEvent(area, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(area, &leave);
    }
}

TEST(PanelActionRow, FillFollowsHoverSuggestionAndDisabling) {
    enum Fill { clear, neutral, branded };
    const struct {
        bool clickable;
        std::optional<bool> hovered;
        bool suggested;
        bool disabled;
        bool pointer;
        Fill fill;
    } cases[] = {
        {true, std::nullopt, false, false, false, clear},
        {true, std::nullopt, false, false, true, neutral},
        {true, std::nullopt, true, false, false, branded},
        {true, std::nullopt, true, false, true, neutral}, // hover wins over the suggestion
        {true, false, true, false, true, branded},        // given false, the pointer does not count
        {true, true, false, false, false, neutral},       // given true, no pointer is needed
        {true, true, true, true, true, clear},            // disabled: never a fill
        {true, std::nullopt, true, true, false, clear},
        {false, true, true, false, true, clear}, // a static label never has one
        {false, std::nullopt, true, false, false, clear},
        {false, false, false, false, true, clear},
    };
    for (const auto& c : cases) {
        PanelActionRow::Inputs in =
            inputs(QStringLiteral("Row"), c.clickable ? std::function<void()>([] {}) : nullptr);
        in.hovered = c.hovered;
        in.isSuggested = c.suggested;
        in.isDisabled = c.disabled;
        PanelActionRow row(in, nullptr);
        if (c.clickable)
            movePointer(row.actionArea(), c.pointer);
        for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
            const QColor expected = c.fill == neutral   ? withOpacity(SystemPalette::primary(scheme), 0.08)
                                    : c.fill == branded ? withOpacity(brand.color, 0.16)
                                                        : QColor(Qt::transparent);
            EXPECT_EQ(row.fillColor(scheme), expected)
                << "clickable " << c.clickable << " hovered " << (c.hovered ? int(*c.hovered) : -1)
                << " suggested " << c.suggested << " disabled " << c.disabled << " pointer " << c.pointer
                << " " << nameOf(scheme);
        }
    }
}

TEST(PanelActionRow, PaintsTheFillInARoundedRectangle) {
    PanelActionRow::Inputs in = inputs(QStringLiteral("Suggested"));
    in.isSuggested = true;
    PanelActionRow row(in, nullptr);
    layOut(row, 336);
    const QImage suggested = render(row, Qt::white);
    const int middle = row.height() / 2;
    EXPECT_TRUE(colorNear(suggested.pixelColor(3, middle), over(withOpacity(brand.color, 0.16), Qt::white)));
    EXPECT_TRUE(colorNear(suggested.pixelColor(330, 2), over(withOpacity(brand.color, 0.16), Qt::white)));
    EXPECT_TRUE(colorNear(suggested.pixelColor(0, 0), Qt::white)) << "radius 8 corner";

    row.setHovered(true);
    MurvelEnvironment::of(&row)->setForcedColorScheme(MurvelColorScheme::dark);
    const QImage hovered = render(row, Qt::black);
    EXPECT_TRUE(colorNear(hovered.pixelColor(3, middle), over(QColor::fromRgbF(1, 1, 1, 0.08f), Qt::black)));
}

TEST(PanelActionRow, ClickPerformsUnlessDisabled) {
    int performed = 0;
    PanelActionRow row(inputs(QStringLiteral("Open"), [&] { ++performed; }), nullptr);
    layOut(row, 336);
    QTest::mouseClick(row.actionArea(), Qt::LeftButton);
    EXPECT_EQ(performed, 1);
    row.setIsDisabled(true);
    QTest::mouseClick(row.actionArea(), Qt::LeftButton);
    EXPECT_EQ(performed, 1);
    EXPECT_FALSE(row.actionArea()->isEnabled());
}

TEST(PanelActionRow, LabelAndTrailingKeepTheirPlaces) {
    auto* keys = new PanelShortcutKeys(shortcut, std::nullopt, brand, false, false);
    PanelActionRow::Inputs in = inputs(QStringLiteral("Recent"));
    in.badge = QStringLiteral("12");
    PanelActionRow row(in, keys);
    layOut(row, 336);
    const QRect area = rectIn(row.actionArea(), &row);
    const QRect icon = rectIn(row.iconView(), &row);
    const QRect title = rectIn(row.titleView(), &row);
    const QRect badge = rectIn(row.badgeView(), &row);
    const QRect trailing = rectIn(keys, &row);
    EXPECT_EQ(row.height(), 36) << "label and keys are both 36 high";
    EXPECT_EQ(area.height(), 36);
    EXPECT_EQ(trailing.height(), 36);
    EXPECT_EQ(trailing.right(), 335);
    EXPECT_EQ(trailing.width(), keys->sizeHint().width());
    EXPECT_EQ(area.right() + 1 + 12, trailing.left());
    EXPECT_EQ(icon.left(), 8);
    EXPECT_EQ(icon.width(), 20);
    EXPECT_EQ(title.left(), 8 + 20 + 12);
    EXPECT_EQ(badge.left(), title.right() + 1 + 4) << "the badge follows the title";
    EXPECT_NEAR(badge.center().y(), title.center().y(), 1);
    EXPECT_EQ(row.titleView()->font(), textStyleFont(MurvelTextStyle::callout));
    EXPECT_EQ(row.iconView()->color().resolve(MurvelColorScheme::dark),
              brand.accent(MurvelColorScheme::dark));
}

TEST(PanelActionRow, LongTitleGivesWayAndStopsAtTwoLines) {
    auto* keys = new PanelShortcutKeys(shortcut, std::nullopt, brand, false, false);
    PanelActionRow row(
        inputs(QStringLiteral("A title long enough to need three lines or more in a row this narrow, "
                              "and then some more words")),
        keys);
    layOut(row, 280);
    MurvelText* title = row.titleView();
    EXPECT_EQ(title->lineCount(title->width()), 2);
    EXPECT_EQ(title->height(), 2 * int(std::ceil(QFontMetricsF(title->font()).height())));
    EXPECT_EQ(keys->width(), keys->sizeHint().width()) << "the trailing view is sized first";
    EXPECT_GT(row.height(), 36);
    EXPECT_NEAR(rectIn(keys, &row).center().y(), row.height() / 2, 1) << "centred beside the two lines";
}

TEST(PanelActionRow, ReportsThePartFramesAndTheirChanges) {
    auto* keys = new PanelShortcutKeys(shortcut, std::nullopt, brand, false, false);
    PanelActionRow row(inputs(QStringLiteral("Search")), keys);
    layOut(row, 336);
    QList<std::pair<PanelActionRowPart, QRectF>> reports;
    row.setOnLayout([&](PanelActionRowPart part, QRectF frame) { reports.append({part, frame}); });
    ASSERT_EQ(reports.size(), 4);
    const QWidget* widgets[] = {row.actionArea(), row.iconView(), row.textGroup(), keys};
    const PanelActionRowPart parts[] = {PanelActionRowPart::action, PanelActionRowPart::icon,
                                        PanelActionRowPart::text, PanelActionRowPart::shortcut};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(reports[i].first, parts[i]);
        EXPECT_EQ(reports[i].second, QRectF(rectIn(widgets[i], &row)));
    }

    reports.clear();
    row.resize(300, row.height());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QList<PanelActionRowPart> changed;
    for (const auto& [part, frame] : reports) {
        EXPECT_FALSE(changed.contains(part)) << "once per change";
        changed.append(part);
    }
    EXPECT_TRUE(changed.contains(PanelActionRowPart::action));
    EXPECT_TRUE(changed.contains(PanelActionRowPart::shortcut));
    EXPECT_FALSE(changed.contains(PanelActionRowPart::icon)) << "the icon did not move";
}

TEST(PanelActionRow, AccessibilityOfAButtonRowAndOfAStaticLabel) {
    PanelActionRow::Inputs in = inputs(QStringLiteral("Search contacts"));
    in.value = QStringLiteral("\u2303\u2325K");
    in.hint = QStringLiteral("Opens the search panel");
    PanelActionRow row(in, nullptr);
    QAccessibleInterface* button = accessible(row.actionArea());
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Search contacts"));
    EXPECT_EQ(button->text(QAccessible::Value), QStringLiteral("\u2303\u2325K"));
    EXPECT_EQ(button->text(QAccessible::Description), QStringLiteral("Opens the search panel"));

    PanelActionRow bare(inputs(QStringLiteral("Bare")), nullptr);
    EXPECT_EQ(accessible(bare.actionArea())->text(QAccessible::Value), QString());

    PanelActionRow label(inputs(QStringLiteral("Static"), nullptr), nullptr);
    EXPECT_NE(accessible(label.actionArea())->role(), QAccessible::Button);
    EXPECT_TRUE(accessible(label.iconView())->state().invisible);
}

TEST(PanelShortcutKeys, SymbolAndTintFollowEditingAndConflict) {
    const struct {
        bool editing, conflict;
        const char* symbol;
    } cases[] = {
        {false, false, ""},
        {true, false, "pencil"},
        {false, true, "exclamationmark.circle"},
        {true, true, "exclamationmark.circle"},
    };
    for (const auto& c : cases) {
        PanelShortcutKeys keys(shortcut, std::nullopt, brand, c.editing, c.conflict, false, std::nullopt);
        EXPECT_EQ(keys.leadingSymbol(), QString::fromLatin1(c.symbol));
        EXPECT_EQ(keys.symbolView()->isHidden(), !*c.symbol);
        for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
            const QColor tint = c.conflict ? BrandPalette::attention(scheme) : brand.accent(scheme);
            EXPECT_EQ(keys.tint(scheme), tint);
            EXPECT_EQ(keys.symbolView()->color().resolve(scheme), tint);
        }
    }
}

TEST(PanelShortcutKeys, TintedFillAndInnerBorderOnlyWhileEditingOrInConflict) {
    for (bool editing : {false, true}) {
        PanelShortcutKeys keys(shortcut, std::nullopt, brand, editing, false, false, std::nullopt);
        layOut(keys, keys.sizeHint().width());
        EXPECT_EQ(keys.height(), 36);
        const QImage image = render(keys, Qt::white);
        const int middle = keys.height() / 2;
        const QColor tint = brand.accent(MurvelColorScheme::light);
        SCOPED_TRACE(editing);
        EXPECT_TRUE(colorNear(image.pixelColor(0, middle), editing ? tint : QColor(Qt::white), 3))
            << "the border";
        EXPECT_TRUE(colorNear(image.pixelColor(3, middle),
                              editing ? over(withOpacity(tint, 0.12), Qt::white) : Qt::white));
        EXPECT_TRUE(colorNear(image.pixelColor(0, 0), Qt::white)) << "radius 8 corner";
    }
}

TEST(PanelShortcutKeys, PaddingAndIdealWidth) {
    PanelShortcutKeys keys(shortcut, std::nullopt, brand, true, false, false, std::nullopt);
    layOut(keys, keys.sizeHint().width());
    EXPECT_EQ(keys.sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);
    const QRect symbol = rectIn(keys.symbolView(), &keys);
    const QRect caps = rectIn(keys.keyCaps(), &keys);
    EXPECT_EQ(symbol.left(), 8);
    EXPECT_EQ(symbol.width(), 12);
    EXPECT_EQ(caps.left(), symbol.right() + 1 + 4);
    EXPECT_EQ(caps.right() + 1 + 8, keys.width());
}

TEST(PanelShortcutKeys, PlaceholderWinsOverTheKeys) {
    PanelShortcutKeys keys(shortcut, QStringLiteral("Type a shortcut"), brand, true, false, false,
                           std::nullopt);
    EXPECT_TRUE(keys.keyCaps()->isHidden());
    EXPECT_FALSE(keys.placeholderView()->isHidden());
    EXPECT_EQ(keys.placeholderView()->text(), QStringLiteral("Type a shortcut"));
    EXPECT_EQ(keys.placeholderView()->color().resolve(MurvelColorScheme::light),
              BrandPalette::secondary(MurvelColorScheme::light));
    EXPECT_EQ(accessible(&keys)->text(QAccessible::Name), QStringLiteral("Type a shortcut"));

    keys.setPlaceholder(std::nullopt);
    EXPECT_FALSE(keys.keyCaps()->isHidden());
    EXPECT_TRUE(keys.placeholderView()->isHidden());
}

TEST(PanelShortcutKeys, ReadsAsTheKeysJoinedBySpaces) {
    PanelShortcutKeys two({QStringLiteral("\u2318"), QStringLiteral("K")}, std::nullopt, brand, false, false);
    EXPECT_EQ(accessible(&two)->text(QAccessible::Name), QStringLiteral("\u2318 K"));
    EXPECT_EQ(accessible(&two)->childCount(), 0);
    PanelShortcutKeys none(QStringList{}, std::nullopt, brand, false, false);
    EXPECT_EQ(accessible(&none)->text(QAccessible::Name), QString());
    EXPECT_TRUE(none.keyCaps()->keys().isEmpty());
}

TEST(PanelShortcutKeys, DisabledDimsItselfOnlyWithoutAnEditor) {
    PanelShortcutKeys plain(shortcut, std::nullopt, brand, false, true);
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(plain.content()->graphicsEffect());
    ASSERT_NE(effect, nullptr);
    EXPECT_DOUBLE_EQ(effect->opacity(), 0.5);
    plain.setIsDisabled(false);
    EXPECT_EQ(plain.content()->graphicsEffect(), nullptr);

    int edits = 0;
    const PanelShortcutKeys::Editor editor{QStringLiteral("Search shortcut"),
                                           QStringLiteral("Records a new one"),
                                           QStringLiteral("Change the shortcut"), [&] { ++edits; }};
    PanelShortcutKeys editable(shortcut, std::nullopt, brand, false, false, true, editor);
    EXPECT_EQ(editable.content()->graphicsEffect(), nullptr) << "a disabled button dims, nothing more";
    EXPECT_FALSE(editable.isEnabled());
    QTest::mouseClick(&editable, Qt::LeftButton);
    EXPECT_EQ(edits, 0);
    editable.setIsDisabled(false);
    QTest::mouseClick(&editable, Qt::LeftButton);
    EXPECT_EQ(edits, 1);
}

TEST(PanelShortcutKeys, WithAnEditorIsANamedButton) {
    const PanelShortcutKeys::Editor editor{QStringLiteral("Search shortcut"),
                                           QStringLiteral("Records a new one"),
                                           QStringLiteral("Change the shortcut"), [] {}};
    PanelShortcutKeys keys(shortcut, std::nullopt, brand, false, false, false, editor);
    QAccessibleInterface* button = accessible(&keys);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Search shortcut"));
    EXPECT_EQ(button->text(QAccessible::Value), QStringLiteral("\u2303 \u2325 K"));
    EXPECT_EQ(button->text(QAccessible::Description), QStringLiteral("Records a new one"));
    EXPECT_EQ(keys.toolTip(), QStringLiteral("Change the shortcut"));
    EXPECT_EQ(keys.focusPolicy(), Qt::TabFocus);

    PanelShortcutKeys plain(shortcut, std::nullopt, brand, false, false);
    EXPECT_EQ(accessible(&plain)->role(), QAccessible::StaticText);
    EXPECT_EQ(plain.focusPolicy(), Qt::NoFocus);
}

} // namespace

namespace {

TEST(PanelShortcutKeys, AChangedEditorIsHeardAtOnce) {
    int first = 0;
    int second = 0;
    PanelShortcutKeys keys(shortcut, std::nullopt, brand, false, false, false,
                           PanelShortcutKeys::Editor{QStringLiteral("Search contacts"),
                                                     QStringLiteral("Click to change the shortcut"),
                                                     QStringLiteral("Change it"), [&] { ++first; }});
    keys.setEditor(PanelShortcutKeys::Editor{QStringLiteral("Search contacts"),
                                             QStringLiteral("Type shortcut"), QStringLiteral("Change it now"),
                                             [&] { ++second; }});
    EXPECT_EQ(accessible(&keys)->text(QAccessible::Description), QStringLiteral("Type shortcut"));
    EXPECT_EQ(keys.toolTip(), QStringLiteral("Change it now"));
    QTest::mouseClick(&keys, Qt::LeftButton);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1) << "the new editor's edit runs";

    keys.setEditor(std::nullopt);
    EXPECT_FALSE(keys.hasEditor());
    EXPECT_EQ(keys.focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(accessible(&keys)->role(), QAccessible::StaticText);
    EXPECT_TRUE(keys.toolTip().isEmpty());
}

} // namespace
