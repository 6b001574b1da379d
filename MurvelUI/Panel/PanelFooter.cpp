#include "MurvelUI/Panel/PanelFooter.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"
#include "MurvelUI/Cards/PrivacyLine.hpp"
#include "MurvelUI/Controls/MurvelDivider.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "MurvelUI/Panel/PanelFooterButton.hpp"

#include <QCoreApplication>
#include <QShortcut>

namespace MurvelUI {

PanelFooter::PanelFooter(Inputs inputs, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 12, MurvelStackLayout::Alignment::leading, parent),
      quit_([] { QCoreApplication::quit(); }), shortVersion_(QCoreApplication::applicationVersion()),
      brandPrivacy_(new PrivacyLine(inputs.brand.privacyLine())),
      privacy_(new PrivacyLine(inputs.privacy, inputs.privacySymbol)), version_(new MurvelText) {
    setFillsWidth(true);
    stack()->addWidget(new MurvelDivider, MurvelStackLayout::Options::filling());

    auto* promises =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading);
    applyFont(promises, MurvelFont::detail);
    promises->stack()->addWidget(brandPrivacy_, {});
    promises->stack()->addWidget(privacy_, {});
    stack()->addWidget(promises, MurvelStackLayout::Options::filling());

    QString version = versionText(shortVersion_);
    if (inputs.footerAction && inputs.footerAction->badge)
        version += QStringLiteral(" \u00B7 ") + *inputs.footerAction->badge;
    version_->setText(version);
    version_->setMaximumLines(1);
    applyFont(version_, MurvelFont::versionLine);
    version_->setColor(MurvelColor::of(&BrandPalette::secondary));
    version_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto* row = new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    row->stack()->addWidget(version_, {});
    row->stack()->addSpacer();
    const MurvelColor systemAccent = MurvelColor::of(&SystemPalette::accent);
    if (inputs.showPreferences) {
        preferences_ = new PanelFooterButton(QCoreApplication::translate("PanelFooter", "Preferences"),
                                             QStringLiteral("gearshape"), false, systemAccent,
                                             inputs.showPreferences, inputs.preferencesFocusChanged);
        row->stack()->addWidget(preferences_, {});
        preferencesShortcut_ = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma), this);
        preferencesShortcut_->setContext(Qt::WindowShortcut);
        connect(preferencesShortcut_, &QShortcut::activated, this,
                [show = inputs.showPreferences] { show(); });
    }
    if (inputs.footerAction) {
        const PanelFooterAction& extra = *inputs.footerAction;
        const MurvelColor accent(inputs.brand.accent(MurvelColorScheme::light),
                                 inputs.brand.accent(MurvelColorScheme::dark));
        action_ = new PanelFooterButton(extra.title, extra.symbol, extra.showsDot, accent, extra.perform);
        row->stack()->addWidget(action_, {});
    }
    guide_ =
        new PanelFooterButton(QCoreApplication::translate("PanelFooter", "Getting Started"),
                              QStringLiteral("questionmark.circle"), false, systemAccent, inputs.showGuide);
    row->stack()->addWidget(guide_, {});
    quitButton_ = new PanelFooterButton(QCoreApplication::translate("PanelFooter", "Quit"),
                                        QStringLiteral("power"), false, systemAccent, [this] { quit(); });
    row->stack()->addWidget(quitButton_, {});
    quitShortcut_ = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    quitShortcut_->setContext(Qt::WindowShortcut);
    connect(quitShortcut_, &QShortcut::activated, this, [this] { quit(); });
    stack()->addWidget(row, MurvelStackLayout::Options::filling());
}

QString PanelFooter::versionText(const QString& shortVersion) {
    return QStringLiteral("Murvel Works (") + (shortVersion.isEmpty() ? QStringLiteral("?") : shortVersion) +
           QLatin1Char(')');
}

void PanelFooter::quit() const {
    if (quit_)
        quit_();
}

void PanelFooter::setShortcutsEnabled(bool enabled) {
    for (QShortcut* shortcut : shortcuts())
        shortcut->setEnabled(enabled);
}

QList<QShortcut*> PanelFooter::shortcuts() const {
    QList<QShortcut*> all{quitShortcut_};
    if (preferencesShortcut_)
        all.prepend(preferencesShortcut_);
    return all;
}

} // namespace MurvelUI
