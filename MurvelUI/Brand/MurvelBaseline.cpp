#include "MurvelUI/Brand/MurvelBaseline.hpp"

#include <QFontMetrics>
#include <QWidget>

namespace MurvelUI {

int MurvelBaseline::of(const QWidget* widget, QSize size) {
    if (const auto* known = dynamic_cast<const MurvelBaseline*>(widget))
        return known->firstBaseline(size);
    // Controls such as buttons centre one line of text.
    const QFontMetrics metrics(widget->font());
    return (size.height() - metrics.height()) / 2 + metrics.ascent();
}

} // namespace MurvelUI
