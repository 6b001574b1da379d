#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/KeyCaps.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QFontMetricsF>
#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

const QString control = QStringLiteral("\u2303");
const QString option = QStringLiteral("\u2325");

TEST(KeyCaps, CapWidthsFollowTheirNames) {
    const QFontMetricsF metrics(fontFor(MurvelFont::keyCap));
    const auto padded = [&](const char* name) {
        return std::max(20.0, std::ceil(metrics.horizontalAdvance(QString::fromUtf8(name))) + 16);
    };
    const struct {
        QStringList keys;
        QList<qreal> widths;
    } cases[] = {
        {{QStringLiteral("K")}, {20}},            // one character: square, no padding
        {{QStringLiteral("i")}, {20}},            // a narrow glyph never shrinks the cap
        {{QStringLiteral("\u2318")}, {20}},       // a symbol
        {{QStringLiteral("Fn")}, {padded("Fn")}}, // two characters: 8 on each side
        {{QStringLiteral("Space"), QStringLiteral("K")}, {padded("Space"), 20}},
        {{QStringLiteral("K"), QStringLiteral("K")}, {20, 20}}, // equal keys make two caps
        {{QStringLiteral("e\u0301")}, {20}},                    // one character, two code points
    };
    for (const auto& c : cases) {
        KeyCaps caps(c.keys);
        layOut(caps, caps.sizeHint().width());
        const QList<QRectF> rects = caps.capRects();
        ASSERT_EQ(rects.size(), c.widths.size()) << c.keys.join(QLatin1Char(' ')).toStdString();
        for (int i = 0; i < rects.size(); ++i) {
            EXPECT_DOUBLE_EQ(rects[i].width(), c.widths[i]) << c.keys[i].toStdString();
            EXPECT_GE(rects[i].height(), 20);
            if (i > 0) {
                EXPECT_DOUBLE_EQ(rects[i].left() - rects[i - 1].right(), 4) << "spacing";
            }
        }
    }
}

// At the largest text a one-letter cap grows with its line: still square, so the letter keeps room
// on both sides.
TEST(KeyCaps, AOneLetterCapStaysSquareAtTheLargestText) {
    QWidget host;
    MurvelEnvironment::of(&host)->setTypeSize(MurvelTypeSize::accessibility5);
    auto* caps = new KeyCaps({QStringLiteral("Ctrl"), QStringLiteral("K")}, &host);
    layOut(host, 400);
    caps->resize(caps->sizeHint());
    const QList<QRectF> rects = caps->capRects();
    ASSERT_EQ(rects.size(), 2);
    const QRectF k = rects[1];
    EXPECT_GT(k.height(), 30) << "the text is large";
    EXPECT_DOUBLE_EQ(k.width(), k.height());
    const qreal letter = QFontMetricsF(caps->font()).horizontalAdvance(QStringLiteral("K"));
    EXPECT_GE(k.width() - letter, 8) << "room on each side";
}

TEST(KeyCaps, ReadsOnceAsTheKeysJoinedBySpaces) {
    KeyCaps shortcut({control, option, QStringLiteral("K")});
    QAccessibleInterface* element = accessible(&shortcut);
    EXPECT_EQ(element->text(QAccessible::Name), control + QLatin1Char(' ') + option + QStringLiteral(" K"));
    EXPECT_EQ(element->childCount(), 0);

    KeyCaps none(QStringList{});
    EXPECT_EQ(accessible(&none)->text(QAccessible::Name), QString());
    EXPECT_EQ(none.sizeHint(), QSize(0, 0));
    EXPECT_TRUE(none.capRects().isEmpty());
}

TEST(KeyCaps, CapsSitOnTheQuaternaryFill) {
    for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        KeyCaps caps({QStringLiteral("K"), QStringLiteral("Space")});
        layOut(caps, caps.sizeHint().width(), scheme);
        const QColor background = scheme == MurvelColorScheme::dark ? Qt::black : Qt::white;
        const QImage image = render(caps, background);
        const QColor fill = over(SystemPalette::quaternary(scheme), background);
        const QList<QRectF> rects = caps.capRects();
        SCOPED_TRACE(nameOf(scheme));
        EXPECT_TRUE(colorNear(image.pixelColor(1, int(rects[0].center().y())), fill));
        EXPECT_TRUE(colorNear(image.pixelColor(int(rects[1].right()) - 2, int(rects[1].top()) + 1), fill));
        EXPECT_TRUE(
            colorNear(image.pixelColor(int(rects[0].right()) + 2, int(rects[0].center().y())), background))
            << "the gap between caps";
        EXPECT_TRUE(colorNear(image.pixelColor(0, int(rects[0].top())), background)) << "radius 4 corner";
        EXPECT_GT(pixelsUnlike(image, rects[0].toRect().adjusted(2, 2, -2, -2), fill), 0) << "the glyph";
    }
}

} // namespace
