#include "MurvelUI/Controls/MurvelRowOrGridLayout.hpp"

#include <QWidget>
#include <algorithm>
#include <functional>

namespace MurvelUI {

namespace {

int heightAt(QLayoutItem* item, int width) {
    const int ideal = item->sizeHint().height();
    return item->hasHeightForWidth() ? std::max(ideal, item->heightForWidth(width)) : ideal;
}

// Widths of at least each ideal that add up to `width`: items wider than an equal share keep their
// ideal, the rest share what is left equally, and leftover pixels go to the first of those.
QList<int> levelled(const QList<int>& ideals, int width) {
    QList<int> widest = ideals;
    std::sort(widest.begin(), widest.end(), std::greater<>());
    int level = 0;
    int remaining = width;
    for (int i = 0; i < widest.size(); ++i) {
        const int share = remaining / int(widest.size() - i);
        if (widest[i] <= share) {
            level = share;
            break;
        }
        remaining -= widest[i];
    }
    QList<int> widths;
    int used = 0;
    for (int ideal : ideals) {
        widths.append(std::max(ideal, level));
        used += widths.back();
    }
    for (int i = 0; i < widths.size() && used < width; ++i) {
        if (widths[i] == level) {
            ++widths[i];
            ++used;
        }
    }
    return widths;
}

} // namespace

MurvelRowOrGridLayout::MurvelRowOrGridLayout(int spacing, int gridFrom, QWidget* parent)
    : QLayout(parent), gridFrom_(gridFrom) {
    setSpacing(spacing);
    setContentsMargins(0, 0, 0, 0);
}

MurvelRowOrGridLayout::~MurvelRowOrGridLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void MurvelRowOrGridLayout::addItem(QLayoutItem* item) {
    items_.append(item);
    invalidate();
}

QLayoutItem* MurvelRowOrGridLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_[index] : nullptr;
}

QLayoutItem* MurvelRowOrGridLayout::takeAt(int index) {
    if (index < 0 || index >= items_.size())
        return nullptr;
    QLayoutItem* item = items_.takeAt(index);
    invalidate();
    return item;
}

void MurvelRowOrGridLayout::setStacksWhenCrowded(bool stacks) {
    if (stacks == stacksWhenCrowded_)
        return;
    stacksWhenCrowded_ = stacks;
    invalidate();
}

int MurvelRowOrGridLayout::spacingBetween() const {
    return std::max(0, spacing());
}

QList<QLayoutItem*> MurvelRowOrGridLayout::visibleItems() const {
    QList<QLayoutItem*> visible;
    for (QLayoutItem* item : items_)
        if (!item->isEmpty())
            visible.append(item);
    return visible;
}

bool MurvelRowOrGridLayout::fitsInRow(int width) const {
    const QList<QLayoutItem*> visible = visibleItems();
    if (visible.size() >= gridFrom_)
        return false;
    int needed = spacingBetween() * std::max<int>(0, int(visible.size()) - 1);
    for (QLayoutItem* item : visible)
        needed += item->sizeHint().width();
    return needed <= width;
}

QList<QRect> MurvelRowOrGridLayout::arrange(int width, int* height) const {
    const QList<QLayoutItem*> visible = visibleItems();
    const int gap = spacingBetween();
    QList<QRect> rects;
    *height = 0;
    if (visible.isEmpty())
        return rects;

    if (fitsInRow(width)) {
        QList<int> ideals;
        for (QLayoutItem* item : visible)
            ideals.append(item->sizeHint().width());
        const QList<int> widths = levelled(ideals, width - gap * int(visible.size() - 1));
        int rowHeight = 0;
        for (int i = 0; i < visible.size(); ++i)
            rowHeight = std::max(rowHeight, heightAt(visible[i], widths[i]));
        int x = 0;
        for (int i = 0; i < visible.size(); ++i) {
            const int h = heightAt(visible[i], widths[i]);
            rects.append(QRect(x, (rowHeight - h) / 2, widths[i], h));
            x += widths[i] + gap;
        }
        *height = rowHeight;
        return rects;
    }

    int columns = 2;
    const int half = std::max(0, (width - gap) / 2);
    if (stacksWhenCrowded_)
        for (QLayoutItem* item : visible)
            if (item->sizeHint().width() > half)
                columns = 1;
    const int column = columns == 2 ? half : std::max(0, width);
    int y = 0;
    for (int first = 0; first < visible.size(); first += columns) {
        const int last = std::min<int>(first + columns - 1, int(visible.size()) - 1);
        int rowHeight = 0;
        for (int i = first; i <= last; ++i)
            rowHeight = std::max(rowHeight, heightAt(visible[i], column));
        for (int i = first; i <= last; ++i) {
            const int h = heightAt(visible[i], column);
            rects.append(QRect((i - first) * (column + gap), y + (rowHeight - h) / 2, column, h));
        }
        y += rowHeight + gap;
    }
    *height = y - gap;
    return rects;
}

QSize MurvelRowOrGridLayout::sizeHint() const {
    const QList<QLayoutItem*> visible = visibleItems();
    const QMargins margins = contentsMargins();
    const QSize extra(margins.left() + margins.right(), margins.top() + margins.bottom());
    if (visible.isEmpty())
        return extra;
    // Ideally one row; a run that always takes the grid, two columns of its widest item.
    int width = 0;
    if (int(visible.size()) < gridFrom_) {
        width = spacingBetween() * int(visible.size() - 1);
        for (QLayoutItem* item : visible)
            width += item->sizeHint().width();
    } else {
        int widest = 0;
        for (QLayoutItem* item : visible)
            widest = std::max(widest, item->sizeHint().width());
        width = 2 * widest + spacingBetween();
    }
    return QSize(width, heightForWidth(width + extra.width()) - extra.height()) + extra;
}

QSize MurvelRowOrGridLayout::minimumSize() const {
    const QList<QLayoutItem*> visible = visibleItems();
    const QMargins margins = contentsMargins();
    const QSize extra(margins.left() + margins.right(), margins.top() + margins.bottom());
    // The grid's columns may shrink below their labels; the layout gives way rather than push.
    int tallest = 0;
    for (QLayoutItem* item : visible)
        tallest = std::max(tallest, item->minimumSize().height());
    return QSize(0, tallest) + extra;
}

int MurvelRowOrGridLayout::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    int height = 0;
    arrange(width - margins.left() - margins.right(), &height);
    return height + margins.top() + margins.bottom();
}

void MurvelRowOrGridLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect content = rect.marginsRemoved(contentsMargins());
    int height = 0;
    const QList<QRect> rects = arrange(content.width(), &height);
    const QList<QLayoutItem*> visible = visibleItems();
    const bool rightToLeft = parentWidget() && parentWidget()->layoutDirection() == Qt::RightToLeft;
    for (int i = 0; i < visible.size(); ++i) {
        QRect placed = rects[i].translated(content.topLeft());
        if (rightToLeft)
            placed.moveLeft(content.left() + content.right() - placed.right());
        visible[i]->setGeometry(placed);
    }
}

} // namespace MurvelUI
