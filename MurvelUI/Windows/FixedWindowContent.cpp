#include "MurvelUI/Windows/FixedWindowContent.hpp"

#include "MurvelUI/Windows/ScrollEdgeStrip.hpp"

#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

namespace MurvelUI {

namespace {

QSize idealSize(const QWidget* widget) {
    // A widget of fixed width is measured at that width.
    const int width = std::clamp(widget->sizeHint().width(), widget->minimumWidth(), widget->maximumWidth());
    const int height =
        widget->hasHeightForWidth() ? widget->heightForWidth(width) : widget->sizeHint().height();
    return {width, height};
}

} // namespace

FixedWindowContent::FixedWindowContent(QWidget* content, int initialWidth, bool scrolls,
                                       std::function<void(QSizeF)> resize, QWidget* parent)
    : QWidget(parent), content_(content), initialWidth_(initialWidth), scrolls_(scrolls),
      resize_(std::move(resize)) {
    if (scrolls_) {
        scrollArea_ = new QScrollArea(this);
        scrollArea_->setFrameShape(QFrame::NoFrame);
        scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scrollArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        scrollArea_->setWidgetResizable(false);
        // The content paints its own background; the viewport shows it through.
        scrollArea_->setAutoFillBackground(false);
        scrollArea_->viewport()->setAutoFillBackground(false);
        scrollArea_->setWidget(content);
        content->installEventFilter(this);
        connect(scrollArea_->verticalScrollBar(), &QScrollBar::valueChanged, this,
                &FixedWindowContent::updateScrolled);
        edgeStrip_ = new ScrollEdgeStrip(this);
    } else {
        content->setParent(this);
        content->installEventFilter(this);
    }
    placeContent();
}

void FixedWindowContent::measure() {
    if (!content_)
        return;
    const QSize size = idealSize(content_);
    if (size.width() <= 0)
        return;
    measuredWidth_ = size.width();
    fillViewport(size);
    if (resize_)
        resize_(QSizeF(size));
}

bool FixedWindowContent::eventFilter(QObject* watched, QEvent* event) {
    if (watched == content_) {
        if (scrolls_ && (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show))
            measure();
        else if (!scrolls_ && event->type() == QEvent::LayoutRequest)
            placeContent();
    }
    return false;
}

void FixedWindowContent::resizeEvent(QResizeEvent* event) {
    placeContent();
    QWidget::resizeEvent(event);
}

void FixedWindowContent::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ParentChange)
        placeContent();
    QWidget::changeEvent(event);
}

void FixedWindowContent::placeContent() {
    if (!content_)
        return;
    if (scrolls_) {
        scrollArea_->setGeometry(rect());
        if (measuredWidth_)
            fillViewport(idealSize(content_));
        edgeStrip_->setGeometry(0, 0, width(), ScrollEdgeStrip::stripHeight);
        edgeStrip_->raise();
        updateScrolled();
        return;
    }
    // At the top, `initialWidth` wide and as tall as it wants; the window follows its reports.
    const int width = initialWidth_;
    const int height =
        content_->hasHeightForWidth() ? content_->heightForWidth(width) : content_->sizeHint().height();
    content_->setGeometry(0, 0, width, std::max(height, this->height()));
}

void FixedWindowContent::fillViewport(QSize ideal) {
    // At least as tall as the area, so that a height rounded up for the window shows no gap under it.
    const QSize size(ideal.width(), std::max(ideal.height(), scrollArea_->viewport()->height()));
    if (content_->size() != size)
        content_->resize(size);
}

void FixedWindowContent::updateScrolled() {
    if (!scrollArea_)
        return;
    const bool scrolled = scrollArea_->verticalScrollBar()->value() > 1;
    if (scrolled != isScrolled_)
        isScrolled_ = scrolled;
    edgeStrip_->setShown(isScrolled_);
}

} // namespace MurvelUI
