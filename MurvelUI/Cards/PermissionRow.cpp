#include "MurvelUI/Cards/PermissionRow.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Controls/MurvelButton.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QCoreApplication>
#include <QThread>

namespace MurvelUI {

namespace {

// The state symbol, named for screen readers although the kit's symbols are decoration.
class StateSymbol final : public MurvelSymbolView {
public:
    using MurvelSymbolView::MurvelSymbolView;
    QString label;
    MurvelAccessibility accessibility() const override {
        return MurvelAccessibility::element(QAccessible::Graphic, label);
    }
};

} // namespace

PermissionRow::PermissionRow(int number, bool isGranted, bool isOptional, const QString& title,
                             const QString& message, const QString& action, const MurvelColor& color,
                             std::function<void()> perform, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 12, MurvelStackLayout::Alignment::leading, parent),
      number_(number), granted_(isGranted), color_(color), symbol_(new StateSymbol(QString())),
      title_(new MurvelText(title)),
      optional_(new MurvelText(QCoreApplication::translate("MurvelUI", "Optional"))),
      message_(new MurvelText(message)), buttonBox_(new MurvelStack(MurvelStackLayout::Axis::vertical, 0,
                                                                    MurvelStackLayout::Alignment::leading)),
      button_(new MurvelButton(action)) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setFillsWidth(true);
    applyFont(symbol_, MurvelFont::text);

    auto* heading =
        new MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::firstBaseline);
    applyFont(title_, MurvelFont::heading);
    applyFont(optional_, MurvelFont::detail);
    optional_->setColor(MurvelColor::of(&BrandPalette::secondary));
    optional_->setVisible(isOptional);
    heading->stack()->addWidget(title_, {});
    heading->stack()->addWidget(optional_, {});
    heading->stack()->setStacksWhenWordsBreak(true);

    applyFont(message_, MurvelFont::detail);
    message_->setColor(MurvelColor::of(&BrandPalette::secondary));

    button_->setButtonStyle(MurvelButton::Style::glass);
    button_->setControlSize(MurvelControlSize::small);
    QObject::connect(button_, &QAbstractButton::clicked, this, [perform = std::move(perform)] {
        if (perform)
            perform();
    });
    auto* box = static_cast<MurvelStack*>(buttonBox_);
    box->setPadding(QMargins(0, 4, 0, 0));
    box->stack()->addWidget(button_, {});

    auto* column =
        new MurvelStack(MurvelStackLayout::Axis::vertical, 4, MurvelStackLayout::Alignment::leading);
    column->setFillsWidth(true);
    column->stack()->addWidget(heading, {});
    column->stack()->addWidget(message_, MurvelStackLayout::Options::filling());
    column->stack()->addWidget(buttonBox_, {});

    stack()->addWidget(symbol_, {});
    stack()->addWidget(column, MurvelStackLayout::Options::filling());
    showState();
}

void PermissionRow::setGranted(bool granted) {
    if (granted == granted_)
        return;
    granted_ = granted;
    showState();
    emit grantedChanged();
}

QString PermissionRow::stateLabel() const {
    return granted_ ? QCoreApplication::translate("MurvelUI", "Allowed")
                    : QCoreApplication::translate("MurvelUI", "Not allowed yet");
}

void PermissionRow::showState() {
    symbol_->setSymbol(granted_ ? QStringLiteral("checkmark.circle.fill")
                                : QString::number(number_) + QStringLiteral(".circle"));
    symbol_->setColor(granted_ ? MurvelColor::of(&PrivacyGreen::color) : color_);
    static_cast<StateSymbol*>(symbol_)->label = stateLabel();
    buttonBox_->setVisible(!granted_);
}

} // namespace MurvelUI
