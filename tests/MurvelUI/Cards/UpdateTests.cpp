#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Cards/UpdateCard.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelLabel.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Update/SampleUpdateNotifier.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const MurvelBrand brand{QStringLiteral("Dialcove"), QColor(15, 158, 143), MurvelBrand::Connection::offline,
                        QColor(72, 200, 182), std::nullopt};

TEST(SampleUpdateNotifier, OffersOneVersionUntilSetAside) {
    SampleUpdateNotifier notifier;
    ASSERT_TRUE(notifier.available().has_value());
    EXPECT_EQ(notifier.available()->version, QStringLiteral("1.1"));
    EXPECT_TRUE(notifier.available()->download.isValid());
    EXPECT_EQ(notifier.available()->download.scheme(), QStringLiteral("https"));
    QSignalSpy changes(&notifier, &UpdateNotifier::availableChanged);

    notifier.refresh();
    EXPECT_TRUE(notifier.available().has_value()) << "refresh does nothing";
    notifier.setAvailable(AvailableUpdate{QStringLiteral("1.1"), SampleUpdateNotifier::downloadPage()});
    EXPECT_EQ(changes.count(), 0) << "an equal value changes nothing";

    notifier.setAside();
    EXPECT_FALSE(notifier.available().has_value());
    EXPECT_EQ(changes.count(), 1);
    notifier.setAside();
    notifier.refresh();
    EXPECT_FALSE(notifier.available().has_value()) << "never offered again";
    EXPECT_EQ(changes.count(), 1);
}

TEST(AvailableUpdate, EqualWhenVersionAndLinkAre) {
    const QUrl link(QStringLiteral("https://murvel.works/downloads/"));
    EXPECT_EQ((AvailableUpdate{QStringLiteral("1.1"), link}), (AvailableUpdate{QStringLiteral("1.1"), link}));
    EXPECT_NE((AvailableUpdate{QStringLiteral("1.1"), link}), (AvailableUpdate{QStringLiteral("1.2"), link}));
    EXPECT_NE((AvailableUpdate{QStringLiteral("1.1"), link}),
              (AvailableUpdate{QStringLiteral("1.1"), QUrl(QStringLiteral("https://murvel.works/"))}));
}

TEST(UpdateCard, NamesTheVersionAsPublished) {
    UpdateCard card(brand, {QStringLiteral("2.0 beta"), QUrl(QStringLiteral("https://murvel.works/"))},
                    [] {});
    EXPECT_EQ(card.titleLabel()->titleView()->text(), QStringLiteral("Version 2.0 beta is here"));
    EXPECT_EQ(card.titleLabel()->symbolView()->symbol(), QStringLiteral("arrow.down.circle"));
    EXPECT_EQ(card.messageView()->text(),
              QStringLiteral(
                  "Download it, quit the app and drag the new copy to Applications. Your settings stay."));
    EXPECT_EQ(card.messageView()->color(), MurvelColor::of(&BrandPalette::secondary));
    EXPECT_EQ(card.downloadButton()->text(), QStringLiteral("Download"));
    EXPECT_EQ(card.notNowButton()->text(), QStringLiteral("Not now"));
    for (MurvelButton* button : {card.downloadButton(), card.notNowButton()}) {
        EXPECT_EQ(button->buttonStyle(), MurvelButton::Style::bordered);
        EXPECT_EQ(button->controlSize(), MurvelControlSize::small);
    }
}

TEST(UpdateCard, SymbolTakesTheAccentOfTheScheme) {
    UpdateCard withDark(brand, {QStringLiteral("1.1"), SampleUpdateNotifier::downloadPage()}, [] {});
    // The dark accent in dark; no light accent, so the brand colour in light.
    EXPECT_EQ(withDark.titleLabel()->symbolView()->color().resolve(MurvelColorScheme::dark),
              QColor(72, 200, 182));
    EXPECT_EQ(withDark.titleLabel()->symbolView()->color().resolve(MurvelColorScheme::light), brand.color);
}

TEST(UpdateCard, SpansItsContainerAndLaysOutItsRows) {
    MurvelStack column(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    auto* card = new UpdateCard(brand, {QStringLiteral("1.1"), SampleUpdateNotifier::downloadPage()}, [] {});
    column.stack()->addWidget(card, {});
    layOut(column, 600);
    EXPECT_EQ(card->width(), 600) << "even with short texts";
    EXPECT_EQ(rectIn(card->titleLabel(), card).topLeft(), QPoint(12, 12));
    EXPECT_EQ(rectIn(card->messageView(), card).top(), rectIn(card->titleLabel(), card).bottom() + 1 + 8);
    EXPECT_EQ(rectIn(card->notNowButton(), card).left(),
              rectIn(card->downloadButton(), card).right() + 1 + 8);
    EXPECT_EQ(card->height(), rectIn(card->downloadButton(), card).bottom() + 1 + 12);

    const QImage image = render(column, Qt::white);
    EXPECT_TRUE(colorNear(image.pixelColor(590, card->height() / 2),
                          over(BrandPalette::fill(MurvelColorScheme::light), Qt::white)));
    EXPECT_TRUE(colorNear(image.pixelColor(3, 3), Qt::white)) << "radius 16";
}

TEST(UpdateCard, ButtonsTooWideForOneRowStackWithWholeTitles) {
    MurvelStack column(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading);
    auto* card = new UpdateCard(brand, {QStringLiteral("1.1"), SampleUpdateNotifier::downloadPage()}, [] {});
    column.stack()->addWidget(card, {});
    const int both = card->downloadButton()->sizeHint().width() + 8 + card->notNowButton()->sizeHint().width();
    layOut(column, both + 24 - 1);
    const QRect download = rectIn(card->downloadButton(), card);
    const QRect notNow = rectIn(card->notNowButton(), card);
    EXPECT_GT(notNow.top(), download.bottom()) << "one under the other";
    EXPECT_EQ(notNow.width(), card->notNowButton()->sizeHint().width()) << "not cut";
    EXPECT_LE(notNow.right(), card->width() - 12);
    EXPECT_EQ(card->height(), notNow.bottom() + 1 + 12);
}

TEST(UpdateCard, DownloadOpensTheLinkAndNotNowSetsTheUpdateAside) {
    SampleUpdateNotifier notifier;
    QWidget window;
    auto* card = new UpdateCard(
        brand, *notifier.available(), [&] { notifier.setAside(); }, &window);
    QList<QUrl> opened;
    MurvelEnvironment::of(&window)->setUrlOpener([&](const QUrl& url) {
        opened.append(url);
        return true;
    });

    card->downloadButton()->click();
    EXPECT_EQ(opened, QList<QUrl>{SampleUpdateNotifier::downloadPage()});
    EXPECT_TRUE(notifier.available().has_value()) << "downloading sets nothing aside";

    card->notNowButton()->click();
    EXPECT_FALSE(notifier.available().has_value());
    EXPECT_EQ(opened.size(), 1);
}

} // namespace
