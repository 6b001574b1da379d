#include "MurvelUI/Cards/PrivacyLine.hpp"

#include "MurvelUI/Brand/PrivacyGreen.hpp"
#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QCoreApplication>
#include <QThread>

namespace MurvelUI {

PrivacyLine::PrivacyLine(const QString& text, const QString& symbol, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::firstBaseline,
                  parent),
      symbol_(new MurvelSymbolView(symbol, MurvelColor::of(&PrivacyGreen::color))),
      text_(new MurvelText(text)) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    text_->setColor(MurvelColor::of(&PrivacyGreen::color));
    // The symbol's column is 20 wide; a symbol grown with the text widens it rather than being cut.
    stack()->addWidget(symbol_, MurvelStackLayout::Options::atLeast(20));
    stack()->addWidget(text_, {});
}

PrivacyLine::PrivacyLine(const PrivacyPromise& promise, QWidget* parent)
    : PrivacyLine(promise.text, promise.symbol, parent) {}

MurvelAccessibility PrivacyLine::accessibility() const {
    return MurvelAccessibility::element(QAccessible::Grouping, {});
}

} // namespace MurvelUI
