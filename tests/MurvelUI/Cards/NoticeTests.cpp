#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Cards/InlineNotice.hpp"
#include "MurvelUI/Cards/NoticeCard.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelLabel.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const QString longText =
    QStringLiteral("Dialcove could not read your address book. Check that the contacts folder "
                   "exists and can be read, then try again.");

int baselineIn(const QWidget* widget, const QWidget* ancestor) {
    return rectIn(widget, ancestor).top() + MurvelBaseline::of(widget, widget->size());
}

TEST(NoticeKind, EachKindHasItsSymbolAndColour) {
    const struct {
        NoticeKind kind;
        const char* symbol;
        QColor (*color)(MurvelColorScheme);
    } cases[] = {
        {NoticeKind::warning, "exclamationmark.triangle", &BrandPalette::attention},
        {NoticeKind::waiting, "clock", &BrandPalette::secondary},
        {NoticeKind::info, "info.circle", &BrandPalette::secondary},
    };
    for (const auto& c : cases) {
        InlineNotice notice(c.kind, QStringLiteral("Note"));
        EXPECT_EQ(notice.symbolView()->symbol(), QString::fromLatin1(c.symbol));
        for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark})
            EXPECT_EQ(notice.symbolView()->color().resolve(scheme), c.color(scheme))
                << c.symbol << nameOf(scheme);
    }
}

TEST(InlineNotice, LaysOutSymbolTextAndTrailingWithItsPadding) {
    auto* button = new MurvelButton(QStringLiteral("Retry"));
    InlineNotice notice(NoticeKind::info, QStringLiteral("Sync is off."), button);
    layOut(notice, 336);
    const QRect symbol = rectIn(notice.symbolView(), &notice);
    const QRect text = rectIn(notice.textView(), &notice);
    EXPECT_EQ(symbol.left(), 12);
    EXPECT_EQ(symbol.width(), 20);
    EXPECT_EQ(text.left(), 12 + 20 + 12);
    EXPECT_EQ(rectIn(button, &notice).right(), 336 - 12 - 1) << "the trailing control ends the line";
    EXPECT_EQ(notice.textView()->font(), fontFor(MurvelFont::support));
    // Symbol, text and control share the first baseline.
    EXPECT_EQ(baselineIn(notice.symbolView(), &notice), baselineIn(notice.textView(), &notice));
    EXPECT_NEAR(baselineIn(button, &notice), baselineIn(notice.textView(), &notice), 1);
}

TEST(InlineNotice, LongTextWrapsAndKeepsTheSymbolOnTheFirstLine) {
    InlineNotice notice(NoticeKind::warning, longText);
    layOut(notice, 336);
    MurvelText* text = notice.textView();
    EXPECT_GT(text->lineCount(text->width()), 1);
    EXPECT_EQ(text->height(), text->heightForWidth(text->width())) << "never cut vertically";
    EXPECT_GE(rectIn(text, &notice).top(), 12);
    EXPECT_EQ(notice.height(), rectIn(text, &notice).bottom() + 1 + 12);
    EXPECT_EQ(baselineIn(notice.symbolView(), &notice), baselineIn(text, &notice));
    EXPECT_LT(rectIn(notice.symbolView(), &notice).bottom(), 12 + 2 * QFontMetrics(text->font()).height());
}

TEST(InlineNotice, FillsItsContainerOnARoundedQuietFill) {
    MurvelStack column(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    auto* notice = new InlineNotice(NoticeKind::info, QStringLiteral("Short."));
    column.stack()->addWidget(notice, {});
    for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        layOut(column, 300, scheme);
        EXPECT_EQ(notice->width(), 300);
        const QColor background = scheme == MurvelColorScheme::dark ? Qt::black : Qt::white;
        const QImage image = render(column, background);
        const QColor fill = over(BrandPalette::fill(scheme), background);
        SCOPED_TRACE(nameOf(scheme));
        EXPECT_TRUE(colorNear(image.pixelColor(6, notice->height() / 2), fill));
        EXPECT_TRUE(colorNear(image.pixelColor(290, 6), fill));
        EXPECT_TRUE(colorNear(image.pixelColor(12, 1), fill));
        // Corner radius 12: the corner pixel and one 3 points in stay clear.
        EXPECT_TRUE(colorNear(image.pixelColor(0, 0), background));
        EXPECT_TRUE(colorNear(image.pixelColor(2, 2), background));
    }
}

TEST(InlineNotice, ReadsAsOneElementUnlessItHasATrailingControl) {
    InlineNotice plain(NoticeKind::waiting, QStringLiteral("Waiting for access."));
    QAccessibleInterface* one = accessible(&plain);
    EXPECT_EQ(one->role(), QAccessible::StaticText);
    EXPECT_EQ(one->text(QAccessible::Name), QStringLiteral("Waiting for access."));
    EXPECT_EQ(one->childCount(), 0);

    auto* button = new MurvelButton(QStringLiteral("Retry"));
    InlineNotice withButton(NoticeKind::info, QStringLiteral("Sync is off."), button);
    QAccessibleInterface* group = accessible(&withButton);
    ASSERT_EQ(group->childCount(), 2) << "the text and the button; the symbol is not announced";
    EXPECT_EQ(group->child(0)->text(QAccessible::Name), QStringLiteral("Sync is off."));
    EXPECT_EQ(group->child(1)->object(), button);
    EXPECT_EQ(group->child(1)->role(), QAccessible::Button);
}

TEST(NoticeCard, StacksTitleMessageAndActionsAndSpansTheWidth) {
    auto* open = new MurvelButton(QStringLiteral("Open Settings"));
    auto* retry = new MurvelButton(QStringLiteral("Try Again"));
    MurvelStack column(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    auto* card = new NoticeCard(QStringLiteral("exclamationmark.triangle.fill"),
                                QStringLiteral("Access is off"), QStringLiteral("Short."), {open, retry});
    column.stack()->addWidget(card, {});
    layOut(column, 336);
    EXPECT_EQ(card->width(), 336);
    const QRect title = rectIn(card->titleLabel(), card);
    const QRect message = rectIn(card->messageView(), card);
    const QRect row = rectIn(card->actionRow(), card);
    EXPECT_EQ(title.topLeft(), QPoint(12, 12));
    EXPECT_EQ(message.top(), title.bottom() + 1 + 8);
    EXPECT_EQ(row.top(), message.bottom() + 1 + 8);
    EXPECT_EQ(card->height(), row.bottom() + 1 + 12);
    EXPECT_EQ(rectIn(retry, card).left(), rectIn(open, card).right() + 1 + 8);
    for (MurvelButton* button : {open, retry}) {
        EXPECT_EQ(button->buttonStyle(), MurvelButton::Style::bordered);
        EXPECT_EQ(button->controlSize(), MurvelControlSize::small);
    }
    EXPECT_EQ(card->titleLabel()->titleView()->font(),
              textStyleFont(MurvelTextStyle::callout, MurvelTypeSize::large, QFont::DemiBold));
    EXPECT_EQ(card->titleLabel()->symbolView()->color().resolve(MurvelColorScheme::dark),
              BrandPalette::attention(MurvelColorScheme::dark));
    EXPECT_EQ(card->messageView()->color().resolve(MurvelColorScheme::light),
              BrandPalette::secondary(MurvelColorScheme::light));
}

// A title wider than the card can give (a long one at a large text size) wraps inside its button
// instead of running past both edges.
TEST(NoticeCard, AButtonTooNarrowForItsTitleWrapsIt) {
    auto* button = new MurvelButton(QStringLiteral("Open Contacts Access Window Now"));
    // Placed by hand, as a fixed-width panel places it: a window would widen to its minimum size.
    QWidget host;
    auto* card = new NoticeCard(QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Title"),
                                QStringLiteral("Short."), {button}, &host);
    const int oneLine = button->sizeHint().height();
    host.setAttribute(Qt::WA_DontShowOnScreen);
    host.resize(140, 400);
    host.show();
    card->setGeometry(0, 0, 140, card->heightForWidth(140));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    const QRect tile = rectIn(button, card);
    EXPECT_LE(tile.right(), card->width() - 1 - 12);
    EXPECT_LT(tile.width(), button->sizeHint().width());
    EXPECT_GT(tile.height(), oneLine) << "more lines";
    EXPECT_EQ(tile.height(), button->heightForWidth(tile.width()));
    const QImage image = render(*card);
    // The title's dark pixels stay inside the tile.
    int inside = 0;
    int outside = 0;
    for (int y = tile.top(); y <= tile.bottom(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < 80)
                ++(tile.adjusted(1, 0, -1, 0).contains(x, y) ? inside : outside);
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
    // With room enough it is one line again.
    EXPECT_EQ(button->heightForWidth(button->sizeHint().width()), oneLine);
}

TEST(NoticeCard, GrowsForALongMessageAndKeepsAnEmptyActionRow) {
    NoticeCard shortCard(QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Title"),
                         QStringLiteral("Short."));
    NoticeCard longCard(QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Title"), longText);
    layOut(shortCard, 336);
    layOut(longCard, 336);
    MurvelText* message = longCard.messageView();
    EXPECT_GT(message->lineCount(message->width()), 1);
    EXPECT_EQ(message->height(), message->heightForWidth(message->width()));
    EXPECT_EQ(longCard.height() - shortCard.height(), message->height() - shortCard.messageView()->height());
    // No actions: the row is there, zero high, still after its 8 points of spacing.
    EXPECT_EQ(shortCard.actionRow()->height(), 0);
    EXPECT_EQ(shortCard.height(),
              12 + shortCard.titleLabel()->height() + 8 + shortCard.messageView()->height() + 8 + 0 + 12);
}

TEST(NoticeCard, FillIsANeutralLayerOverAnAttentionTintWithRadius16) {
    for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        NoticeCard card(QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("Title"),
                        QStringLiteral("Message."));
        layOut(card, 336, scheme);
        const QColor background = scheme == MurvelColorScheme::dark ? QColor(20, 20, 20) : Qt::white;
        const QImage image = render(card, background);
        QColor tint = BrandPalette::attention(scheme);
        tint.setAlphaF(0.12f);
        const QColor expected = over(BrandPalette::fill(scheme), over(tint, background));
        SCOPED_TRACE(nameOf(scheme));
        EXPECT_TRUE(colorNear(image.pixelColor(6, card.height() / 2), expected));
        EXPECT_TRUE(colorNear(image.pixelColor(330, card.height() - 6), expected));
        EXPECT_TRUE(colorNear(image.pixelColor(16, 1), expected));
        EXPECT_TRUE(colorNear(image.pixelColor(3, 3), background)) << "outside the 16-point corner";
    }
}

} // namespace
