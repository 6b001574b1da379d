#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <gtest/gtest.h>

using namespace MurvelUI;
using namespace KitTest;

namespace {

TEST(MurvelSwitch, TrackShowsTheTintWhileOnAndTheKnobMoves) {
    const MurvelColor tint(QColor(15, 138, 125), QColor(72, 200, 182));
    for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        MurvelSwitch control;
        control.setTint(tint);
        layOut(control, control.sizeHint().width(), scheme);
        EXPECT_EQ(control.size(), QSize(38, 22));
        const QColor background = scheme == MurvelColorScheme::dark ? Qt::black : Qt::white;
        const QImage off = render(control, background);
        control.setChecked(true);
        const QImage on = render(control, background);
        SCOPED_TRACE(nameOf(scheme));
        // Off: the neutral track on the right, the white knob on the left; on: the other way round.
        EXPECT_TRUE(colorNear(
            off.pixelColor(30, 11),
            over(withOpacity(SystemPalette::primary(scheme), scheme == MurvelColorScheme::dark ? 0.16 : 0.1),
                 background)));
        EXPECT_TRUE(colorNear(off.pixelColor(11, 11), Qt::white));
        EXPECT_TRUE(colorNear(on.pixelColor(8, 11), tint.resolve(scheme)));
        EXPECT_TRUE(colorNear(on.pixelColor(27, 11), Qt::white));
        EXPECT_TRUE(colorNear(on.pixelColor(0, 0), background)) << "a capsule";
    }
}

TEST(MurvelSwitch, FlipsItselfUnlessBoundToAValueHeldElsewhere) {
    MurvelSwitch free;
    free.click();
    EXPECT_TRUE(free.isChecked());

    MurvelSwitch bound;
    QList<bool> requests;
    bound.setRequestHandler([&](bool on) { requests.append(on); });
    bound.click();
    EXPECT_FALSE(bound.isChecked()) << "the owner decides";
    EXPECT_EQ(requests, QList<bool>{true});
    bound.setChecked(true);
    bound.click();
    EXPECT_EQ(requests, (QList<bool>{true, false}));
}

TEST(MurvelSwitch, SizesFollowTheControlSize) {
    const struct {
        MurvelControlSize size;
        QSize expected;
    } cases[] = {
        {MurvelControlSize::small, {32, 18}},
        {MurvelControlSize::regular, {38, 22}},
        {MurvelControlSize::large, {46, 26}},
    };
    for (const auto& c : cases) {
        MurvelSwitch control;
        control.setControlSize(c.size);
        EXPECT_EQ(control.sizeHint(), c.expected);
    }
}

TEST(MurvelButton, BorderedAndGlassFillsAndSizes) {
    for (MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        const QColor background = scheme == MurvelColorScheme::dark ? Qt::black : Qt::white;
        MurvelButton bordered(QStringLiteral("Download"));
        bordered.setControlSize(MurvelControlSize::small);
        layOut(bordered, bordered.sizeHint().width(), scheme);
        EXPECT_EQ(bordered.height(), 20) << "small";
        EXPECT_TRUE(colorNear(
            render(bordered, background).pixelColor(3, 10),
            over(withOpacity(SystemPalette::primary(scheme), scheme == MurvelColorScheme::dark ? 0.13 : 0.08),
                 background)));

        MurvelButton glass(QStringLiteral("Brazil"));
        glass.setButtonStyle(MurvelButton::Style::glass);
        layOut(glass, glass.sizeHint().width(), scheme);
        EXPECT_EQ(glass.height(), 24) << "regular";
        const QImage image = render(glass, background);
        EXPECT_TRUE(colorNear(image.pixelColor(glass.width() / 2, 2),
                              over(SystemPalette::glass(scheme), background)));
        EXPECT_TRUE(colorNear(image.pixelColor(1, 1), background)) << "a capsule";
    }
}

TEST(MurvelButton, DisabledButtonsIgnoreClicksAndDim) {
    MurvelButton button(QStringLiteral("Not now"));
    int clicks = 0;
    QObject::connect(&button, &QAbstractButton::clicked, [&] { ++clicks; });
    layOut(button, button.sizeHint().width());
    const QImage enabled = render(button, Qt::white);
    button.setEnabled(false);
    button.click();
    EXPECT_EQ(clicks, 0);
    const QImage disabled = render(button, Qt::white);
    EXPECT_GT(disabled.pixelColor(3, 12).lightness(), enabled.pixelColor(3, 12).lightness());
    EXPECT_EQ(accessible(&button)->role(), QAccessible::Button);
    EXPECT_EQ(accessible(&button)->text(QAccessible::Name), QStringLiteral("Not now"));
}

} // namespace
