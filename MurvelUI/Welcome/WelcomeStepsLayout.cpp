#include "MurvelUI/Welcome/WelcomeStepsLayout.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Brand/MurvelSymbols.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/PrivacyLine.hpp"
#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Controls/DefaultAction.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Preferences/PreferencesChrome.hpp"
#include "MurvelUI/Preferences/PreferencesToggleRow.hpp"
#include "MurvelUI/Welcome/WelcomeButton.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>
#include <algorithm>
#include <cmath>

namespace MurvelUI {

namespace {

// The chrome's insets around the page: 48 at the top, 32 elsewhere.
const int topInset = PreferencesChrome::insets().top();
const int sideInset = PreferencesChrome::insets().bottom();
constexpr int sectionGap = 32;

// The page inside the frame: as tall as its two sections and the gap; its owner places them.
class Page final : public QWidget {
public:
    explicit Page(std::function<int()> natural) : natural_(std::move(natural)) {}
    QSize sizeHint() const override { return {WelcomeStepsLayout::pageWidth, natural_()}; }
    QSize minimumSizeHint() const override { return {WelcomeStepsLayout::pageWidth, 0}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int) const override { return natural_(); }

private:
    std::function<int()> natural_;
};

// The step's badge: its number on a circle of the brand accent at 0.25, or the green check.
class Badge final : public QWidget, public MurvelAccessibleElement {
public:
    Badge(const MurvelBrand& brand, int step) : brand_(brand), step_(step) {
        applyFont(this, MurvelFont::supportSemibold);
        fit();
    }
    void setDone(bool done) {
        done_ = done;
        update();
    }
    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange)
            fit();
        QWidget::changeEvent(event);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
        const QRectF box(rect());
        if (done_) {
            MurvelSymbols::paint(painter, QStringLiteral("checkmark.circle.fill"), box,
                                 PrivacyGreen::color(scheme));
            return;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(brand_.accent(scheme), 0.25));
        painter.drawEllipse(box);
        painter.setPen(SystemPalette::primary(scheme));
        painter.setFont(font());
        // Plain digits, never localised.
        painter.drawText(box, Qt::AlignCenter, QString::number(step_));
    }

private:
    // 24 points square; larger only when the text size makes the number taller than that.
    void fit() {
        const int side = std::max(24, int(std::ceil(QFontMetricsF(font()).height())) + 2);
        setFixedSize(side, side);
    }

    MurvelBrand brand_;
    int step_;
    bool done_ = false;
};

// One 8-point dot per step, 8 apart; the current step's in the brand accent.
class Dots final : public QWidget, public MurvelAccessibleElement {
public:
    Dots(const MurvelBrand& brand, int count, int lit)
        : brand_(brand), count_(std::max(count, 1)), lit_(lit) {
        setFixedSize(count_ * 16 - 8, 8);
    }
    int count() const { return count_; }
    int lit() const { return lit_ >= 1 && lit_ <= count_ ? lit_ : 0; }
    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        const MurvelColorScheme scheme = MurvelEnvironment::of(this)->colorScheme();
        for (int number = 1; number <= count_; ++number) {
            painter.setBrush(number == lit_ ? brand_.accent(scheme) : BrandPalette::strongFill(scheme));
            painter.drawEllipse(QRectF((number - 1) * 16, 0, 8, 8));
        }
    }

private:
    MurvelBrand brand_;
    int count_;
    int lit_;
};

// The button row: skip at the leading end, back and primary at the trailing end, 12 apart, centred
// on one line. When the titles are too wide for one line (large text sizes), each button takes a
// line of its own, on the same side, so that no title is ever cut.
class ButtonRow final : public QWidget {
public:
    ButtonRow(MurvelButton* skip, MurvelButton* back, MurvelButton* primary)
        : skip_(skip), back_(back), primary_(primary) {
        for (QWidget* button : buttons()) {
            button->setParent(this);
            button->installEventFilter(this);
        }
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return {lineWidth(), place(lineWidth()).height}; }
    QSize minimumSizeHint() const override { return {0, 0}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return place(width).height; }
    bool isOneLine() const { return lineWidth() <= width(); }

protected:
    void resizeEvent(QResizeEvent*) override { apply(); }
    // A button's new font (a new text size) changes the row's height, shown or not.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FontChange) {
            updateGeometry();
            apply();
        }
        return QWidget::eventFilter(watched, event);
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::LayoutRequest) {
            updateGeometry();
            apply();
        }
        return QWidget::event(event);
    }

private:
    struct Placement {
        QList<QRect> rects;
        int height = 0;
    };
    QList<MurvelButton*> buttons() const {
        QList<MurvelButton*> list;
        for (MurvelButton* button : {skip_, back_, primary_})
            if (button != nullptr)
                list.append(button);
        return list;
    }
    int lineWidth() const {
        int total = 0;
        for (MurvelButton* button : buttons())
            total += button->sizeHint().width();
        return total + 12 * int(buttons().size() - 1);
    }
    Placement place(int width) const {
        Placement placement;
        const QList<MurvelButton*> list = buttons();
        if (lineWidth() <= width) {
            int line = 0;
            for (MurvelButton* button : list)
                line = std::max(line, button->sizeHint().height());
            int right = width;
            for (qsizetype i = list.size() - 1; i >= 0; --i) {
                const QSize size = list[i]->sizeHint();
                const int x = list[i] == skip_ ? 0 : right - size.width();
                placement.rects.prepend(QRect(QPoint(x, (line - size.height()) / 2), size));
                right = x - 12;
            }
            placement.height = line;
            return placement;
        }
        int y = 0;
        for (MurvelButton* button : list) {
            const QSize size = button->sizeHint();
            placement.rects.append(QRect(QPoint(button == skip_ ? 0 : width - size.width(), y), size));
            y += size.height() + 12;
        }
        placement.height = std::max(0, y - 12);
        return placement;
    }
    void apply() {
        const Placement placement = place(width());
        const QList<MurvelButton*> list = buttons();
        for (qsizetype i = 0; i < list.size(); ++i)
            list[i]->setGeometry(placement.rects[i]);
    }

    MurvelButton* skip_;
    MurvelButton* back_;
    MurvelButton* primary_;
};

// The card's quiet rounded fill.
class CardBox final : public MurvelStack {
public:
    explicit CardBox(QWidget* card)
        : MurvelStack(MurvelStackLayout::Axis::vertical, 0, MurvelStackLayout::Alignment::leading) {
        setPadding(QMargins(16, 8, 16, 8));
        setFillsWidth(true);
        stack()->addWidget(card, MurvelStackLayout::Options::filling());
    }

protected:
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override {
        painter.fillPath(MurvelShape::roundedRectangle(16).path(QRectF(rect())), BrandPalette::fill(scheme));
    }
};

MurvelStack* column(int spacing) {
    auto* stack =
        new MurvelStack(MurvelStackLayout::Axis::vertical, spacing, MurvelStackLayout::Alignment::leading);
    stack->setFillsWidth(true);
    return stack;
}

MurvelText* secondaryText(const QString& text, MurvelFont role) {
    auto* view = new MurvelText(text);
    applyFont(view, role);
    view->setColor(MurvelColor::of(&BrandPalette::secondary));
    return view;
}

} // namespace

WelcomeStepsLayout::WelcomeStepsLayout(Inputs inputs, QWidget* card, QWidget* parent)
    : QWidget(parent), inputs_(std::move(inputs)), stepDone_(inputs_.isStepDone), card_(card) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    const MurvelBrand& brand = inputs_.brand;

    // The step section.
    auto* header = column(8);
    auto* titleRow =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::center);
    titleRow->stack()->setMinimumCrossExtent(48);
    auto* title = new MurvelText(inputs_.title);
    applyFont(title, MurvelFont::title);
    title->setAccessibleDescription(QStringLiteral("heading"));
    titleRow->stack()->addWidget(new AppIcon(48), {});
    titleRow->stack()->addWidget(title, MurvelStackLayout::Options::filling());
    header->stack()->addWidget(titleRow, MurvelStackLayout::Options::filling());
    header->stack()->addWidget(secondaryText(inputs_.lead, MurvelFont::support),
                               MurvelStackLayout::Options::filling());

    auto* stepRow =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    stepRow->setFillsWidth(true);
    // The step's title keeps its words whole: at the largest sizes the progress goes under it.
    stepRow->stack()->setStacksWhenWordsBreak(true);
    auto* badge = new Badge(brand, inputs_.step);
    badge->setDone(stepDone_);
    badge_ = badge;
    auto* stepTitle = new MurvelText(inputs_.stepTitle);
    applyFont(stepTitle, MurvelFont::textSemibold);
    stepRow->stack()->addWidget(badge_, {});
    stepRow->stack()->addWidget(stepTitle, {});
    stepRow->stack()->addSpacer(8);
    if (inputs_.stepLabel) {
        auto* progress =
            new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
        progress->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        stepLabel_ = secondaryText(*inputs_.stepLabel, MurvelFont::support);
        dots_ = new Dots(brand, inputs_.stepCount, inputs_.step);
        progress->stack()->addWidget(stepLabel_, {});
        progress->stack()->addWidget(dots_, {});
        stepRow->stack()->addWidget(progress, MurvelStackLayout::Options::prioritized(1));
    }
    auto* stepBlock = column(8);
    stepBlock->stack()->addWidget(stepRow, MurvelStackLayout::Options::filling());
    stepBlock->stack()->addWidget(new CardBox(card_), MurvelStackLayout::Options::filling());

    auto* privacy = column(4);
    applyFont(privacy, MurvelFont::support);
    privacy->stack()->addWidget(new PrivacyLine(brand.privacyLine()), {});
    privacy->stack()->addWidget(new PrivacyLine(inputs_.privacy, inputs_.privacySymbol), {});

    steps_ = column(sectionGap);
    steps_->setFixedWidth(pageWidth);
    steps_->stack()->addWidget(header, MurvelStackLayout::Options::filling());
    steps_->stack()->addWidget(stepBlock, MurvelStackLayout::Options::filling());
    steps_->stack()->addWidget(privacy, MurvelStackLayout::Options::filling());

    // The footer.
    footer_ = column(16);
    auto* loginRow =
        new PreferencesToggleRow(QCoreApplication::translate("MurvelUI", "Open at Login"), std::nullopt,
                                 inputs_.opensAtLogin, inputs_.requestOpensAtLogin);
    switch_ = loginRow->toggle();

    if (inputs_.skip)
        skip_ = WelcomeButton::make(*inputs_.skip, brand, false);
    if (inputs_.back)
        back_ = WelcomeButton::make(*inputs_.back, brand, false);
    primary_ = WelcomeButton::make(inputs_.primary, brand, true);
    buttons_ = new ButtonRow(skip_, back_, primary_);
    return_ = pressOnReturn(this, primary_);

    footer_->setFixedWidth(pageWidth);
    footer_->stack()->addWidget(loginRow, MurvelStackLayout::Options::filling());
    footer_->stack()->addWidget(buttons_, MurvelStackLayout::Options::filling());
    if (inputs_.note) {
        note_ = secondaryText(*inputs_.note, MurvelFont::support);
        footer_->stack()->addWidget(note_, MurvelStackLayout::Options::filling());
    }

    // The step section always scrolls; while the page fits, its area is exactly as tall as it.
    page_ = new Page([this] { return stepHeight_ + sectionGap + footerHeight_; });
    scroll_ = new QScrollArea(page_);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setWidgetResizable(false);
    scroll_->setAutoFillBackground(false);
    scroll_->viewport()->setAutoFillBackground(false);
    scroll_->setWidget(steps_);
    // The area fills what it holds; the page shows the frame's gradient through it.
    steps_->setAutoFillBackground(false);
    footer_->setParent(page_);
    steps_->installEventFilter(this);
    footer_->installEventFilter(this);
    page_->installEventFilter(this);

    frame_ = new PreferencesChrome(brand, width, page_);
    frame_->setParent(this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    measure();
}

void WelcomeStepsLayout::setStepDone(bool done) {
    if (done == stepDone_)
        return;
    stepDone_ = done;
    static_cast<Badge*>(badge_)->setDone(done);
    emit stepDoneChanged();
}

void WelcomeStepsLayout::setOpensAtLogin(bool on) {
    switch_->setChecked(on);
}

int WelcomeStepsLayout::dotCount() const {
    return dots_ ? static_cast<Dots*>(dots_)->count() : 0;
}

int WelcomeStepsLayout::litDot() const {
    return dots_ ? static_cast<Dots*>(dots_)->lit() : 0;
}

int WelcomeStepsLayout::naturalHeight() const {
    return stepHeight_ + topInset + sideInset + sectionGap + footerHeight_;
}

QSize WelcomeStepsLayout::sizeHint() const {
    return {width, naturalHeight()};
}

QSize WelcomeStepsLayout::minimumSizeHint() const {
    return {width, 0};
}

int WelcomeStepsLayout::heightForWidth(int) const {
    return naturalHeight();
}

void WelcomeStepsLayout::measure() {
    stepHeight_ = steps_->heightForWidth(pageWidth);
    footerHeight_ = footer_->heightForWidth(pageWidth);
    const int total = naturalHeight();
    if (total != lastTotal_) {
        lastTotal_ = total;
        page_->updateGeometry();
        frame_->updateGeometry();
        updateGeometry();
    }
    placePage();
    if (stepHeight_ <= 0 || footerHeight_ <= 0)
        return;
    const std::optional<FixedWindowSizeReport>& report = MurvelEnvironment::of(this)->fixedWindowIdealSize();
    if (!report || !report->report)
        return;
    const QSizeF size(width, total);
    if (lastReport_ == size)
        return;
    lastReport_ = size;
    report->report(size);
}

void WelcomeStepsLayout::placePage() {
    frame_->setGeometry(0, 0, width, std::max(height(), 0));
    // The page ends where the window does: 32 above its bottom edge, the footer always above that.
    int visible = page_->height();
    if (QWidget* top = window(); top != nullptr && top != page_)
        visible = std::min(visible, top->height() - page_->mapTo(top, QPoint(0, 0)).y() - sideInset);
    const int area = std::clamp(visible - sectionGap - footerHeight_, 0, stepHeight_);
    // While the steps scroll, they give the scroll bar its strip rather than run under it.
    const bool scrolls = area < stepHeight_;
    const int stepsWidth = scrolls ? pageWidth - scroll_->verticalScrollBar()->sizeHint().width() : pageWidth;
    if (steps_->width() != stepsWidth)
        steps_->setFixedWidth(stepsWidth);
    steps_->resize(stepsWidth, scrolls ? steps_->heightForWidth(stepsWidth) : stepHeight_);
    scroll_->setGeometry(0, 0, pageWidth, area);
    footer_->setGeometry(0, area + sectionGap, pageWidth, footerHeight_);
}

void WelcomeStepsLayout::watchWindow() {
    QWidget* top = window();
    if (top == watchedWindow_)
        return;
    if (watchedWindow_)
        watchedWindow_->removeEventFilter(this);
    watchedWindow_ = top;
    if (top != this)
        top->installEventFilter(this);
}

bool WelcomeStepsLayout::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        // Another window, another report: it hears the size at once.
        lastReport_.reset();
        watchWindow();
        measure();
    } else if (event->type() == MurvelEnvironment::changeEventType() || event->type() == QEvent::Show ||
               event->type() == QEvent::FontChange || event->type() == QEvent::LayoutRequest) {
        // The report may have come with the window's environment: the first size goes to it then.
        watchWindow();
        measure();
    }
    return QWidget::event(event);
}

bool WelcomeStepsLayout::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == steps_ || watched == footer_) && event->type() == QEvent::LayoutRequest)
        measure();
    else if ((watched == page_ || watched == watchedWindow_) && event->type() == QEvent::Resize)
        placePage();
    return QWidget::eventFilter(watched, event);
}

void WelcomeStepsLayout::resizeEvent(QResizeEvent* event) {
    placePage();
    QWidget::resizeEvent(event);
}

} // namespace MurvelUI
