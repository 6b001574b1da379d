#include "MurvelUI/Welcome/WelcomeLayout.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Cards/GlassCard.hpp"
#include "MurvelUI/Cards/LoginItem.hpp"
#include "MurvelUI/Cards/PrivacyLine.hpp"
#include "MurvelUI/Controls/AppIcon.hpp"
#include "MurvelUI/Controls/DefaultAction.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSwitch.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QCoreApplication>
#include <QThread>

namespace MurvelUI {

WelcomeLayout::WelcomeLayout(const MurvelBrand& brand, const QString& title, const QString& subtitle,
                             const QString& privacy, const QString& privacySymbol,
                             std::function<void()> start, QWidget* extra, const QList<QWidget*>& permissions,
                             LoginItem* login, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 24, MurvelStackLayout::Alignment::center, parent),
      login_(login != nullptr ? login : &LoginItem::shared()), title_(new MurvelText(title)),
      subtitle_(new MurvelText(subtitle)), extra_(extra), card_(new GlassCard(16, permissions)),
      switch_(new MurvelSwitch),
      start_(new MurvelButton(QCoreApplication::translate("MurvelUI", "Get Started"))), return_(nullptr) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setPadding(24);
    setFixedWidth(480);
    // Texts without a role of their own read in the body style, at the window's text size.
    applyFont(this, MurvelTextStyle::body);

    auto* heading =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 8, MurvelStackLayout::Alignment::center);
    applyFont(title_, MurvelFont::welcomeTitle);
    title_->setTextAlignment(Qt::AlignHCenter);
    subtitle_->setTextAlignment(Qt::AlignHCenter);
    subtitle_->setColor(MurvelColor::of(&BrandPalette::secondary));
    heading->stack()->addWidget(title_, {});
    heading->stack()->addWidget(subtitle_, {});

    auto* privacyLines =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading);
    applyFont(privacyLines, MurvelFont::detail);
    privacyLines->setFillsWidth(true);
    privacyLines->stack()->addWidget(new PrivacyLine(brand.privacyLine()), {});
    privacyLines->stack()->addWidget(new PrivacyLine(privacy, privacySymbol), {});

    switch_->setControlSize(MurvelControlSize::small);
    switch_->setTint(brand.color);
    switch_->setAccessibleName(QCoreApplication::translate("MurvelUI", "Open at Login"));
    switch_->setChecked(login_->enabled());
    switch_->setRequestHandler([login = login_](bool on) {
        if (login)
            login->setEnabled(on);
    });
    connect(login_, &LoginItem::enabledChanged, switch_, &MurvelSwitch::setChecked);
    auto* switchLabel = new MurvelText(QCoreApplication::translate("MurvelUI", "Open at Login"));

    start_->setButtonStyle(MurvelButton::Style::prominent);
    start_->setTint(brand.color);
    start_->setControlSize(MurvelControlSize::large);
    connect(start_, &QAbstractButton::clicked, this, [start = std::move(start)] {
        if (start)
            start();
    });
    return_ = pressOnReturn(this, start_);

    auto* footer =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 16, MurvelStackLayout::Alignment::center);
    footer->setFillsWidth(true);
    // At the largest sizes the switch's label and the button go on lines of their own rather than
    // break "Open at Login" inside its words.
    footer->stack()->setStacksWhenWordsBreak(true);
    auto* toggle =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    toggle->stack()->addWidget(switch_, {});
    toggle->stack()->addWidget(switchLabel, {});
    footer->stack()->addWidget(toggle, {});
    footer->stack()->addSpacer();
    footer->stack()->addWidget(start_, {});

    stack()->addWidget(new AppIcon(88), {});
    stack()->addWidget(heading, MurvelStackLayout::Options::filling());
    if (extra_ != nullptr)
        stack()->addWidget(extra_, {});
    stack()->addWidget(card_, MurvelStackLayout::Options::filling());
    stack()->addWidget(privacyLines, MurvelStackLayout::Options::filling());
    stack()->addWidget(footer, MurvelStackLayout::Options::filling());
}

void WelcomeLayout::showEvent(QShowEvent* event) {
    if (login_)
        login_->refresh();
    MurvelStack::showEvent(event);
}

} // namespace MurvelUI
