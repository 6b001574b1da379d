#pragma once

#include <QSize>

class QWidget;

namespace MurvelUI {

// A widget that knows where the baseline of its first line of text lies, so that a stack can align
// it with its neighbours' first lines.
class MurvelBaseline {
public:
    virtual ~MurvelBaseline() = default;
    // The distance from the widget's top to its first baseline when laid out at `size`.
    virtual int firstBaseline(QSize size) const = 0;

    // The first baseline of any widget: its own answer, or that of text centred in it.
    static int of(const QWidget* widget, QSize size);

protected:
    MurvelBaseline() = default;
    MurvelBaseline(const MurvelBaseline&) = default;
    MurvelBaseline& operator=(const MurvelBaseline&) = default;
};

} // namespace MurvelUI
