#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Controls/KeyboardUseMonitor.hpp"
#include "MurvelUI/Snapshot/MurvelSnapshot.hpp"
#include "Platform/UserDefaults.hpp"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

using MurvelUI::MurvelBrand;
using MurvelUI::MurvelColorScheme;
using MurvelUI::MurvelSnapshot;
using MurvelUI::MurvelTypeSize;
using Surface = MurvelUI::MurvelSnapshot::Surface;

namespace {

MurvelBrand brand() {
    MurvelBrand brand;
    brand.name = QStringLiteral("Dialcove");
    brand.color = QColor(20, 120, 200);
    return brand;
}

QWidget* fixedView(QSize size) {
    auto* view = new QWidget;
    view->setFixedSize(size);
    return view;
}

QScreen* screenNamed(const char* name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QLatin1String(name))
            return screen;
    return nullptr;
}

// Counts what reaches it: wheel turns, and the moves and entries hover relies on.
class Counting final : public QWidget {
public:
    Counting() {
        setMouseTracking(true);
        setAttribute(Qt::WA_Hover);
    }
    int wheels = 0;
    int moves = 0;
    int enters = 0;
    int hovers = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::HoverMove)
            ++hovers;
        return QWidget::event(event);
    }
    void wheelEvent(QWheelEvent*) override { ++wheels; }
    void mouseMoveEvent(QMouseEvent*) override { ++moves; }
    void enterEvent(QEnterEvent*) override { ++enters; }
};

} // namespace

TEST(MurvelSnapshot, HelpersInOneTable) {
    struct Row {
        QStringList arguments;
        bool active;
        QString flag;
        std::optional<QString> after;
    };
    const std::vector<Row> table{
        {{}, false, "--x", std::nullopt},
        {{"app", "--verbose"}, false, "--verbose", std::nullopt},
        {{"app", "x--snapshot-menu", "y"}, false, "x--snapshot-menu", "y"},
        {{"app", "--snapshot-"}, true, "--snapshot-", std::nullopt},
        {{"app", "--snapshot-dark", "--size", "2"}, true, "--size", "2"},
        {{"app", "--size", "1", "--size", "2", "--snapshot-x"}, true, "--size", "1"},
        {{"app", "--size", "1"}, false, "--siz", std::nullopt},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        EXPECT_EQ(MurvelSnapshot::isActive(row.arguments), row.active);
        EXPECT_EQ(MurvelSnapshot::argument(row.arguments, row.flag), row.after);
    }
    // This process was started with a snapshot switch.
    EXPECT_TRUE(MurvelSnapshot::isActive());
    EXPECT_EQ(MurvelSnapshot::title(brand()), "Dialcove Snapshot");
    EXPECT_EQ(MurvelSnapshot::cornerRadius(Surface::menu), 16);
    EXPECT_EQ(MurvelSnapshot::cornerRadius(Surface::welcome), 26);

    struct Suite {
        QString name;
        bool given;
    };
    for (const Suite& suite : std::vector<Suite>{{"dialcove", true},
                                                 {"Dialcove.snapshot_1-a", true},
                                                 {"...", true},
                                                 {"", false},
                                                 {".", false},
                                                 {"..", false},
                                                 {"../x", false},
                                                 {"a/b", false},
                                                 {"a b", false},
                                                 {"dialcove\n", false},
                                                 {QString::fromUtf8("caf\u00e9"), false}}) {
        const auto defaults = MurvelSnapshot::defaults(suite.name);
        EXPECT_EQ(defaults != nullptr, suite.given) << suite.name.toStdString();
    }
}

TEST(MurvelSnapshot, DefaultsStartEmptyAndLeaveTheAppSettingsAlone) {
    const QString appFile = Platform::UserDefaults::standardPath();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(appFile).path()));
    {
        QFile file(appFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nshortcut=ctrl+space\n");
    }
    const auto readApp = [&] {
        QFile file(appFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
    };
    const QByteArray before = readApp();

    QString firstPath;
    {
        const auto defaults = MurvelSnapshot::defaults(QStringLiteral("dialcove"));
        ASSERT_TRUE(defaults);
        EXPECT_FALSE(defaults->contains(QStringLiteral("shortcut")));
        EXPECT_NE(QFileInfo(defaults->path()).canonicalPath(), QFileInfo(appFile).canonicalPath());
        defaults->setString(QStringLiteral("shortcut"), QStringLiteral("alt+d"));
        EXPECT_TRUE(QFile::exists(defaults->path()));
        firstPath = defaults->path();
        // A second one is fresh too.
        const auto again = MurvelSnapshot::defaults(QStringLiteral("dialcove"));
        EXPECT_FALSE(again->contains(QStringLiteral("shortcut")));
    }
    EXPECT_EQ(readApp(), before);
    // Its folder goes with it.
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(firstPath).path()));
}

TEST(MurvelSnapshot, CentresOnTheSharpestScreen) {
    using Frame = MurvelSnapshot::ScreenFrame;
    const QRectF left(0, 0, 1000, 800);
    const QRectF right(1000, 100, 600, 400);
    struct Row {
        std::vector<Frame> screens;
        std::optional<QPointF> origin;
    };
    const std::vector<Row> table{
        {{}, std::nullopt},
        {{{1, left}, {1, right}}, QPointF(350, 300)},
        {{{2, left}, {2, right}}, QPointF(350, 300)},
        {{{1, left}, {2, right}}, QPointF(1150, 200)},
        {{{2, left}, {1, right}}, QPointF(350, 300)},
        // Not rounded.
        {{{1, QRectF(0, 0, 301, 201)}}, QPointF(0.5, 0.5)},
    };
    for (const Row& row : table)
        EXPECT_EQ(MurvelSnapshot::centeredOrigin(row.screens, QSizeF(300, 200)), row.origin);

    QScreen* sharp = screenNamed("sharp");
    ASSERT_TRUE(sharp);
    ASSERT_GT(sharp->devicePixelRatio(), screenNamed("plain")->devicePixelRatio());
    QWidget window;
    window.resize(300, 200);
    MurvelSnapshot::center(&window);
    EXPECT_EQ(window.geometry().center(), sharp->availableGeometry().center());
}

TEST(MurvelSnapshot, PresentsTheViewDoubledOnItsBackdrop) {
    QPointer<QWidget> view = fixedView(QSize(300, 200));
    MurvelSnapshot::present(view, brand(), Surface::menu, MurvelColorScheme::dark,
                            MurvelTypeSize::accessibility5);
    QWidget* window = MurvelSnapshot::window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "Dialcove Snapshot");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(window->size(), QSize(300, 200));
    EXPECT_EQ(view->window(), window);
    EXPECT_EQ(view->mapTo(window, QPoint(0, 0)), QPoint(0, 0));
    EXPECT_EQ(MurvelUI::MurvelEnvironment::of(view)->colorScheme(), MurvelColorScheme::dark);
    EXPECT_EQ(MurvelUI::MurvelEnvironment::of(view)->typeSize(), MurvelTypeSize::accessibility5);
    EXPECT_FALSE(MurvelUI::MurvelEnvironment::of(view)->openUrl(QUrl("https://example.com")));

    // It opens on the 2x screen, so it shows at four times there; on the 1x screen it is doubled.
    EXPECT_EQ(window->screen(), screenNamed("sharp"));
    EXPECT_EQ(window->grab().toImage().size(), QSize(1200, 800));
    window->move(screenNamed("plain")->availableGeometry().topLeft() + QPoint(40, 40));
    QApplication::processEvents();
    ASSERT_EQ(window->screen(), screenNamed("plain"));
    const QImage image = window->grab().toImage();
    EXPECT_EQ(image.size(), QSize(600, 400));
    const QColor backdrop = MurvelUI::SystemPalette::windowBackground(MurvelColorScheme::dark);
    EXPECT_EQ(image.pixelColor(300, 200), backdrop);
    EXPECT_EQ(image.pixelColor(300, 2), backdrop);
    // The rounded corner leaves the window see-through.
    EXPECT_EQ(image.pixelColor(1, 1).alpha(), 0);

    // A close request does not end snapshot mode.
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
}

TEST(MurvelSnapshot, MeasuresAHeightForWidthViewAtItsWidth) {
    auto* view = new QWidget;
    view->setFixedWidth(320);
    auto* layout = new QVBoxLayout(view);
    auto* label = new QLabel(QString("word ").repeated(200));
    label->setWordWrap(true);
    layout->addWidget(label);
    MurvelSnapshot::present(view, brand(), Surface::welcome);
    QWidget* window = MurvelSnapshot::window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->width(), 320);
    EXPECT_EQ(window->height(), view->heightForWidth(320));
    // Left of the text, in the view's margin.
    EXPECT_EQ(window->grab().toImage().pixelColor(6, window->height()),
              MurvelUI::SystemPalette::windowBackground(MurvelColorScheme::light));
}

TEST(MurvelSnapshot, FollowsAViewThatGrowsOrShrinksOnceShown) {
    // A list that measures its rows only after its first layout, as the panel's does.
    auto* view = new QWidget;
    view->setFixedWidth(300);
    auto* layout = new QVBoxLayout(view);
    auto* rows = new QWidget;
    rows->setMinimumHeight(100);
    layout->addWidget(rows);
    MurvelSnapshot::present(view, brand(), Surface::menu);
    QWidget* window = MurvelSnapshot::window();
    ASSERT_TRUE(window);
    const int first = window->height();

    for (const int rowsHeight : {400, 60}) {
        rows->setMinimumHeight(rowsHeight);
        QApplication::processEvents();
        QApplication::processEvents();
        EXPECT_EQ(window->height(), view->sizeHint().height()) << rowsHeight;
        EXPECT_EQ(window->height(), view->height()) << rowsHeight;
    }
    EXPECT_LT(window->height(), first);
    EXPECT_EQ(window->width(), 300);
}

TEST(MurvelSnapshot, DropsInputButPassesHover) {
    auto* view = new QWidget;
    view->setFixedSize(300, 200);
    auto* layout = new QVBoxLayout(view);
    auto* button = new QPushButton(QStringLiteral("Press"));
    auto* field = new QLineEdit;
    auto* clickTarget = new QLineEdit;
    auto* counting = new Counting;
    counting->setMinimumHeight(80);
    layout->addWidget(button);
    layout->addWidget(field);
    layout->addWidget(clickTarget);
    layout->addWidget(counting);
    int clicks = 0;
    int quits = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), view);
    QObject::connect(quit, &QShortcut::activated, [&] { ++quits; });
    MurvelSnapshot::present(view, brand(), Surface::menu);
    QWidget* window = MurvelSnapshot::window();
    ASSERT_TRUE(window);
    window->activateWindow();
    field->setFocus();
    QApplication::processEvents();
    // A watcher of keys started once the window shows, as a settings window's content starts one.
    int keysSeen = 0;
    MurvelUI::KeyboardUseMonitor keys;
    keys.start([&] { ++keysSeen; });
    QEvent activated(QEvent::WindowActivate);
    QApplication::sendEvent(window, &activated);

    // Through the window, as the display delivers them: a click on a field or a button would
    // give it the focus.
    const auto at = [&](QWidget* widget) { return widget->mapTo(window, widget->rect().center()); };
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at(clickTarget));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at(button));
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, at(button));
    QTest::keyClicks(field, QStringLiteral("abc"));
    QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Return);
    QWheelEvent wheel(QPointF(10, 10), QPointF(counting->mapToGlobal(QPoint(10, 10))), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(counting, &wheel);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(counting->mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(counting, &enter);
    QTest::mouseMove(counting, QPoint(20, 20));
    QTest::mouseMove(counting, QPoint(40, 30));
    QApplication::processEvents();

    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(field->text().isEmpty());
    // A click moved no focus; no key was seen as keyboard use.
    EXPECT_EQ(window->focusWidget(), field);
    EXPECT_EQ(keysSeen, 0);
    EXPECT_EQ(counting->wheels, 0);
    EXPECT_GT(counting->moves, 0);
    EXPECT_GE(counting->enters, 1);
    EXPECT_GT(counting->hovers, 0);

    // Outside the snapshot window input works as ever.
    QPushButton other(QStringLiteral("Other"));
    int otherClicks = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++otherClicks; });
    other.show();
    QTest::mouseClick(&other, Qt::LeftButton);
    EXPECT_EQ(otherClicks, 1);
}

TEST(MurvelSnapshot, ASecondPresentDeletesTheFirstWindow) {
    QPointer<QWidget> firstView = fixedView(QSize(100, 100));
    MurvelSnapshot::present(firstView, brand(), Surface::menu);
    QPointer<QWidget> first = MurvelSnapshot::window();
    ASSERT_TRUE(first);
    QPointer<QWidget> secondView = fixedView(QSize(120, 80));
    MurvelSnapshot::present(secondView, brand(), Surface::welcome);
    EXPECT_FALSE(first);
    EXPECT_FALSE(firstView);
    ASSERT_TRUE(MurvelSnapshot::window());
    EXPECT_EQ(MurvelSnapshot::window()->size(), QSize(120, 80));
    MurvelSnapshot::releaseWindow();
    EXPECT_FALSE(MurvelSnapshot::window());
    EXPECT_FALSE(secondView);
}
