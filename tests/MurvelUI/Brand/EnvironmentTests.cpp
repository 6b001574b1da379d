#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Update/SampleUpdateNotifier.hpp"
#include "tests/MurvelUI/Support/KitTestSupport.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace MurvelUI;

namespace {

// Counts the environment's change events that reach one widget.
class Listener final : public QWidget {
public:
    using QWidget::QWidget;
    int changes = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == MurvelEnvironment::changeEventType())
            ++changes;
        return QWidget::event(event);
    }
};

TEST(MurvelEnvironment, OneForEachWindowFoundFromAnyWidgetInIt) {
    QWidget window;
    auto* inner = new QWidget(new QWidget(&window));
    QWidget other;
    EXPECT_EQ(MurvelEnvironment::of(inner), MurvelEnvironment::of(&window));
    EXPECT_NE(MurvelEnvironment::of(&other), MurvelEnvironment::of(&window));
    EXPECT_EQ(MurvelEnvironment::of(&window)->window(), &window);
}

TEST(MurvelEnvironment, DefaultsWhereNobodySetAnything) {
    QWidget window;
    const MurvelEnvironment* environment = MurvelEnvironment::of(&window);
    EXPECT_FALSE(environment->keyboardUsed());
    EXPECT_EQ(environment->typeSize(), MurvelTypeSize::large);
    EXPECT_EQ(environment->updateNotifier(), nullptr);
    EXPECT_FALSE(environment->forcedColorScheme().has_value());
}

TEST(MurvelEnvironment, SchemeFollowsTheWindowPaletteUnlessForced) {
    QWidget window;
    MurvelEnvironment* environment = MurvelEnvironment::of(&window);
    QPalette light;
    light.setColor(QPalette::Window, QColor(236, 236, 236));
    window.setPalette(light);
    EXPECT_EQ(environment->colorScheme(), MurvelColorScheme::light);

    QSignalSpy changed(environment, &MurvelEnvironment::changed);
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(30, 30, 30));
    window.setPalette(dark);
    EXPECT_EQ(environment->colorScheme(), MurvelColorScheme::dark);
    EXPECT_EQ(changed.count(), 1);

    environment->setForcedColorScheme(MurvelColorScheme::light);
    EXPECT_EQ(environment->colorScheme(), MurvelColorScheme::light);
    window.setPalette(light);
    window.setPalette(dark);
    EXPECT_EQ(environment->colorScheme(), MurvelColorScheme::light);
    EXPECT_EQ(changed.count(), 2); // forcing only; palettes no longer count
}

TEST(MurvelEnvironment, TheApplicationPalettesReadBackAsTheirSchemeAndPlainWidgetsFollow) {
    for (const MurvelColorScheme scheme : {MurvelColorScheme::light, MurvelColorScheme::dark}) {
        SCOPED_TRACE(scheme == MurvelColorScheme::dark ? "dark" : "light");
        QApplication::setPalette(SystemPalette::application(scheme));
        QWidget window;
        auto* field = new QLineEdit(&window);
        EXPECT_EQ(MurvelEnvironment::of(&window)->colorScheme(), scheme);
        const QPalette palette = field->palette();
        EXPECT_EQ(palette.color(QPalette::Window), SystemPalette::windowBackground(scheme));
        EXPECT_EQ(palette.color(QPalette::Text), SystemPalette::primary(scheme));
        EXPECT_EQ(palette.color(QPalette::PlaceholderText), SystemPalette::secondaryLabel(scheme));
        // Typed text stands out from the field, in every group.
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            EXPECT_GT(std::abs(palette.color(group, QPalette::Text).lightnessF() -
                               palette.color(group, QPalette::Base).lightnessF()),
                      0.7);
            EXPECT_GT(std::abs(palette.color(group, QPalette::WindowText).lightnessF() -
                               palette.color(group, QPalette::Window).lightnessF()),
                      0.7);
        }
    }
    QApplication::setPalette(QPalette());
}

TEST(MurvelEnvironment, ChangesReachEveryWidgetOnceAndSameValuesNone) {
    Listener window;
    auto* child = new Listener(&window);
    auto* grandchild = new Listener(child);
    MurvelEnvironment* environment = MurvelEnvironment::of(grandchild);
    QSignalSpy changed(environment, &MurvelEnvironment::changed);
    SampleUpdateNotifier notifier;

    environment->setKeyboardUsed(true);
    environment->setTypeSize(MurvelTypeSize::accessibility2);
    environment->setForcedColorScheme(MurvelColorScheme::dark);
    environment->setUpdateNotifier(&notifier);
    EXPECT_EQ(changed.count(), 4);
    for (Listener* widget : {&window, child, grandchild})
        EXPECT_EQ(widget->changes, 4);

    environment->setKeyboardUsed(true);
    environment->setTypeSize(MurvelTypeSize::accessibility2);
    environment->setForcedColorScheme(MurvelColorScheme::dark);
    environment->setUpdateNotifier(&notifier);
    EXPECT_EQ(changed.count(), 4);
    EXPECT_EQ(grandchild->changes, 4);
    EXPECT_EQ(environment->updateNotifier(), &notifier);
}

TEST(MurvelEnvironment, ForgetsANotifierThatIsGone) {
    QWidget window;
    auto notifier = std::make_unique<SampleUpdateNotifier>();
    MurvelEnvironment::of(&window)->setUpdateNotifier(notifier.get());
    notifier.reset();
    EXPECT_EQ(MurvelEnvironment::of(&window)->updateNotifier(), nullptr);
}

TEST(MurvelEnvironment, OpensUrlsThroughTheWindowsOpenerElseTheApplications) {
    QWidget window, other;
    QStringList opened;
    MurvelEnvironment::setDefaultUrlOpener([&](const QUrl& url) {
        opened.append(QStringLiteral("default ") + url.toString());
        return true;
    });
    MurvelEnvironment::of(&window)->setUrlOpener([&](const QUrl& url) {
        opened.append(QStringLiteral("window ") + url.toString());
        return false;
    });
    const QUrl url(QStringLiteral("https://example.org/"));
    EXPECT_FALSE(MurvelEnvironment::of(&window)->openUrl(url));
    EXPECT_TRUE(MurvelEnvironment::of(&other)->openUrl(url));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("window https://example.org/"),
                                   QStringLiteral("default https://example.org/")}));
    MurvelEnvironment::setDefaultUrlOpener(nullptr);
}

} // namespace
