#include "MurvelUI/Cards/SymbolRow.hpp"

#include "MurvelUI/Controls/MurvelSymbolView.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QCoreApplication>
#include <QThread>

namespace MurvelUI {

SymbolRow::SymbolRow(const QString& title, const QString& symbol, const MurvelColor& symbolColor,
                     QWidget* trailing, QWidget* parent)
    : MurvelStack(MurvelStackLayout::Axis::horizontal, 8, MurvelStackLayout::Alignment::center, parent),
      symbol_(new MurvelSymbolView(symbol, symbolColor)), title_(new MurvelText(title)), trailing_(trailing) {
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    setFillsWidth(true);
    stack()->setMinimumCrossExtent(32);
    title_->setMaximumLines(1);
    stack()->addWidget(symbol_, MurvelStackLayout::Options::framed(20));
    stack()->addWidget(title_, {});
    stack()->addSpacer(8);
    if (trailing_)
        stack()->addWidget(trailing_, MurvelStackLayout::Options::prioritized(1));
}

} // namespace MurvelUI
