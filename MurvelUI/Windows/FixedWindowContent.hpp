#pragma once

#include <QPointer>
#include <QSizeF>
#include <QWidget>
#include <functional>
#include <optional>

class QScrollArea;

namespace MurvelUI {

class ScrollEdgeStrip;

// What fills the client area of a `FixedWindow` (kit-internal).
//
// Without scrolling, the content sits at the top, `initialWidth` wide, and reports its own size
// through `MurvelEnvironment::fixedWindowIdealSize`. With scrolling, the content sits in a vertical
// scroll area at its ideal size (its size hint's width and the height for that width), which is
// measured whenever its layout changes and handed to `resize`; while the area is scrolled away from
// its top, the edge strip shows at the client's top edge, where the title bar ends.
class FixedWindowContent final : public QWidget {
    Q_OBJECT
public:
    FixedWindowContent(QWidget* content, int initialWidth, bool scrolls, std::function<void(QSizeF)> resize,
                       QWidget* parent = nullptr);

    QWidget* content() const { return content_; }
    QScrollArea* scrollArea() const { return scrollArea_; }
    // The last measured content width; none until the content is measured at a width above zero.
    std::optional<int> measuredWidth() const { return measuredWidth_; }
    // Whether the scroll area is scrolled away from its top (and the edge strip shows).
    bool isScrolled() const { return isScrolled_; }
    ScrollEdgeStrip* edgeStrip() const { return edgeStrip_; }

    // Measures the content now and reports its size when the width is usable.
    void measure();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeContent();
    void updateScrolled();
    void fillViewport(QSize ideal);

    QPointer<QWidget> content_;
    int initialWidth_;
    bool scrolls_;
    std::function<void(QSizeF)> resize_;
    QScrollArea* scrollArea_ = nullptr;
    ScrollEdgeStrip* edgeStrip_ = nullptr;
    std::optional<int> measuredWidth_;
    bool isScrolled_ = false;
};

} // namespace MurvelUI
