#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"

#include <QWidget>

namespace MurvelUI {

// The running application's icon (the application's window icon), stretched to exactly `size` by
// `size` points; a generic application image when the application has none. Decoration: hidden
// from accessibility, since the title or text beside it names the application.
class AppIcon : public QWidget, public MurvelAccessibleElement {
    Q_OBJECT
public:
    explicit AppIcon(qreal size, QWidget* parent = nullptr);

    qreal iconSize() const { return size_; }

    QSize sizeHint() const override;
    MurvelAccessibility accessibility() const override { return MurvelAccessibility::decoration(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal size_;
};

} // namespace MurvelUI
