#include "MurvelUI/Cards/UpdateCard.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/MurvelShape.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelLabel.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QCoreApplication>
#include <QPainter>
#include <QThread>

namespace MurvelUI {

UpdateCard::UpdateCard(const MurvelBrand& brand, const AvailableUpdate& update,
                       std::function<void()> setAside, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::vertical, 8, MurvelStackLayout::Alignment::leading, parent),
      update_(update), setAside_(std::move(setAside)),
      title_(
          new MurvelLabel(QStringLiteral("arrow.down.circle"),
                          QCoreApplication::translate("MurvelUI", "Version %1 is here").arg(update.version))),
      message_(new MurvelText(QCoreApplication::translate(
          "MurvelUI",
          "Download it, quit the app and drag the new copy to Applications. Your settings stay."))),
      download_(new MurvelButton(QCoreApplication::translate("MurvelUI", "Download"))),
      notNow_(new MurvelButton(QCoreApplication::translate("MurvelUI", "Not now"))) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setPadding(12);
    setFillsWidth(true);
    title_->setSymbolColor(
        MurvelColor(brand.accent(MurvelColorScheme::light), brand.accent(MurvelColorScheme::dark)));
    applyFont(title_, MurvelTextStyle::callout, QFont::DemiBold);
    applyFont(message_, MurvelTextStyle::callout);
    message_->setColor(MurvelColor::of(&BrandPalette::secondary));

    auto* buttons =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center);
    // At a large text size the two buttons stack rather than cut their titles.
    buttons->stack()->setWrapsWhenCrowded(true);
    for (MurvelButton* button : {download_, notNow_}) {
        button->setButtonStyle(MurvelButton::Style::bordered);
        button->setControlSize(MurvelControlSize::small);
        buttons->stack()->addWidget(button, {});
    }
    connect(download_, &QAbstractButton::clicked, this,
            [this] { MurvelEnvironment::of(this)->openUrl(update_.download); });
    connect(notNow_, &QAbstractButton::clicked, this, [this] {
        if (setAside_)
            setAside_();
    });

    stack()->addWidget(title_, {});
    stack()->addWidget(message_, {});
    stack()->addWidget(buttons, {});
}

void UpdateCard::paintBackground(QPainter& painter, MurvelColorScheme scheme) {
    painter.fillPath(MurvelShape::roundedRectangle(16).path(QRectF(rect())), BrandPalette::fill(scheme));
}

} // namespace MurvelUI
