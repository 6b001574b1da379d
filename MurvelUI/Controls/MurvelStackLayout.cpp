#include "MurvelUI/Controls/MurvelStackLayout.hpp"

#include "MurvelUI/Brand/MurvelBaseline.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"

#include <QWidget>
#include <algorithm>

namespace MurvelUI {

MurvelStackLayout::MurvelStackLayout(Axis axis, int spacing, Alignment alignment, QWidget* parent)
    : QLayout(parent), axis_(axis), alignment_(alignment) {
    setSpacing(spacing);
    setContentsMargins(0, 0, 0, 0);
}

MurvelStackLayout::~MurvelStackLayout() {
    for (const Entry& entry : items_)
        delete entry.item;
}

void MurvelStackLayout::addWidget(QWidget* widget, Options options) {
    addChildWidget(widget);
    items_.append({new QWidgetItemV2(widget), options, false, 0});
    invalidate();
}

void MurvelStackLayout::insertWidget(int index, QWidget* widget, Options options) {
    addChildWidget(widget);
    items_.insert(std::clamp(index, 0, int(items_.size())), {new QWidgetItemV2(widget), options, false, 0});
    invalidate();
}

void MurvelStackLayout::addSpacer(int minimumLength) {
    items_.append({new QSpacerItem(0, 0), {}, true, std::max(0, minimumLength)});
    invalidate();
}

void MurvelStackLayout::setMinimumCrossExtent(int extent) {
    minimumCrossExtent_ = extent;
    invalidate();
}

void MurvelStackLayout::addItem(QLayoutItem* item) {
    items_.append({item, {}, item->spacerItem() != nullptr, 0});
    invalidate();
}

QLayoutItem* MurvelStackLayout::itemAt(int index) const {
    return index >= 0 && index < items_.size() ? items_.at(index).item : nullptr;
}

QLayoutItem* MurvelStackLayout::takeAt(int index) {
    if (index < 0 || index >= items_.size())
        return nullptr;
    QLayoutItem* item = items_.takeAt(index).item;
    invalidate();
    return item;
}

bool MurvelStackLayout::fills(const Entry& entry) const {
    return !entry.spacer &&
           (entry.options.fill || entry.item->expandingDirections().testFlag(Qt::Horizontal));
}

bool MurvelStackLayout::keepsIdeal(const Entry& entry) const {
    if (entry.options.priority > 0)
        return true;
    const QWidget* widget = entry.item->widget();
    return widget && !(widget->sizePolicy().horizontalPolicy() & QSizePolicy::ShrinkFlag);
}

int MurvelStackLayout::idealMainExtent(const Entry& entry) const {
    if (entry.spacer)
        return entry.minimumLength;
    const QSize hint = entry.item->sizeHint();
    const int ideal = axis_ == Axis::horizontal ? hint.width() : hint.height();
    if (entry.options.frame)
        return entry.options.frameGrows ? std::max(*entry.options.frame, ideal) : *entry.options.frame;
    return ideal;
}

int MurvelStackLayout::heightAt(const Entry& entry, int width) const {
    if (entry.spacer)
        return 0;
    if (entry.item->hasHeightForWidth())
        return entry.item->heightForWidth(width);
    return entry.item->sizeHint().height();
}

int MurvelStackLayout::contentWidth(int outerWidth) const {
    const QMargins margins = contentsMargins();
    return std::max(0, outerWidth - margins.left() - margins.right());
}

QList<int> MurvelStackLayout::visibleEntries() const {
    QList<int> visible;
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i].spacer || !items_[i].item->isEmpty())
            visible.append(i);
    return visible;
}

void MurvelStackLayout::setWrapsWhenCrowded(bool wraps) {
    wraps_ = wraps;
    invalidate();
}

void MurvelStackLayout::setStacksWhenWordsBreak(bool stacks) {
    stacksWhenWordsBreak_ = stacks;
    invalidate();
}

namespace {

// The narrowest a widget gets without breaking a word of its texts; others keep their ideal width.
int unbrokenWidthOf(const QWidget* widget) {
    if (widget->sizePolicy().horizontalPolicy() == QSizePolicy::Fixed)
        return widget->sizeHint().width();
    if (const auto* text = qobject_cast<const MurvelText*>(widget))
        return text->longestWordWidth();
    if (const QLayout* layout = widget->layout()) {
        if (const auto* stack = qobject_cast<const MurvelStackLayout*>(layout)) {
            const QMargins margins = stack->contentsMargins();
            return stack->unbrokenWidth() + margins.left() + margins.right();
        }
    }
    return widget->sizeHint().width();
}

} // namespace

int MurvelStackLayout::unbrokenWidth() const {
    int total = 0;
    int shown = 0;
    for (const int i : visibleEntries()) {
        const Entry& entry = items_[i];
        const int width = entry.spacer           ? entry.minimumLength
                          : entry.options.frame  ? *entry.options.frame
                          : entry.item->widget() ? unbrokenWidthOf(entry.item->widget())
                                                 : entry.item->sizeHint().width();
        total = axis_ == Axis::horizontal ? total + width : std::max(total, width);
        ++shown;
    }
    if (axis_ == Axis::horizontal && shown > 1)
        total += spacing() * (shown - 1);
    return total;
}

bool MurvelStackLayout::crowded(int width) const {
    if (axis_ != Axis::horizontal)
        return false;
    if (stacksWhenWordsBreak_ && unbrokenWidth() > width)
        return true;
    if (!wraps_)
        return false;
    const QMargins margins = contentsMargins();
    const int ideal = combinedWidth([this](const Entry& entry) { return idealMainExtent(entry); }) -
                      margins.left() - margins.right();
    return ideal > width;
}

MurvelStackLayout::Placement MurvelStackLayout::arrange(int width, int height) const {
    if (crowded(width))
        return arrangeColumn(width, -1);
    return axis_ == Axis::horizontal ? arrangeRow(width) : arrangeColumn(width, height);
}

MurvelStackLayout::Placement MurvelStackLayout::arrangeRow(int width) const {
    Placement placement;
    placement.rects.resize(items_.size());
    const QList<int> visible = visibleEntries();
    if (visible.isEmpty()) {
        const QMargins margins = contentsMargins();
        placement.height = std::max(0, minimumCrossExtent_ - margins.top() - margins.bottom());
        return placement;
    }

    QList<int> widths(items_.size(), 0);
    int remaining = width - spacing() * int(visible.size() - 1);
    QList<int> flexible, filling, spacers;
    // Priority items first, then the other rigid ones, each at its ideal width while room lasts.
    QList<int> rigid;
    for (int i : visible) {
        const Entry& entry = items_[i];
        if (entry.spacer) {
            widths[i] = entry.minimumLength;
            remaining -= widths[i];
            spacers.append(i);
        } else if (entry.options.frame || keepsIdeal(entry)) {
            rigid.append(i);
        } else if (fills(entry)) {
            filling.append(i);
        } else {
            flexible.append(i);
        }
    }
    std::stable_sort(rigid.begin(), rigid.end(),
                     [&](int a, int b) { return items_[a].options.priority > items_[b].options.priority; });
    for (int i : rigid) {
        widths[i] = std::min(idealMainExtent(items_[i]), std::max(0, remaining));
        remaining -= widths[i];
    }
    // Items that give way take their ideal width or a fair share, narrowest first.
    std::stable_sort(flexible.begin(), flexible.end(),
                     [&](int a, int b) { return idealMainExtent(items_[a]) < idealMainExtent(items_[b]); });
    int left = int(flexible.size() + filling.size());
    for (int i : flexible) {
        const int share = std::max(0, remaining) / left--;
        widths[i] = std::min(idealMainExtent(items_[i]), share);
        remaining -= widths[i];
    }
    for (int i : filling) {
        widths[i] = std::max(0, remaining) / left--;
        remaining -= widths[i];
    }
    if (remaining > 0 && !spacers.isEmpty()) {
        for (int k = 0; k < spacers.size(); ++k)
            widths[spacers[k]] += remaining / int(spacers.size()) + (k < remaining % spacers.size() ? 1 : 0);
    }

    // Heights and the cross-axis position.
    QList<int> heights(items_.size(), 0), tops(items_.size(), 0);
    int rowHeight = 0;
    int baseline = 0;
    if (alignment_ == Alignment::firstBaseline) {
        QList<int> baselines(items_.size(), 0);
        for (int i : visible) {
            heights[i] = heightAt(items_[i], widths[i]);
            if (!items_[i].spacer && items_[i].item->widget())
                baselines[i] = MurvelBaseline::of(items_[i].item->widget(), QSize(widths[i], heights[i]));
            baseline = std::max(baseline, baselines[i]);
        }
        for (int i : visible) {
            tops[i] = items_[i].spacer ? 0 : baseline - baselines[i];
            rowHeight = std::max(rowHeight, tops[i] + heights[i]);
        }
    } else {
        for (int i : visible)
            rowHeight = std::max(rowHeight, heights[i] = heightAt(items_[i], widths[i]));
        for (int i : visible) {
            const QWidget* widget = items_[i].item->widget();
            if (widget && widget->sizePolicy().verticalPolicy() & QSizePolicy::ExpandFlag)
                heights[i] = rowHeight;
            switch (alignment_) {
            case Alignment::leading:
                tops[i] = 0;
                break;
            case Alignment::trailing:
                tops[i] = rowHeight - heights[i];
                break;
            default:
                tops[i] = (rowHeight - heights[i]) / 2;
            }
        }
    }
    // The minimum counts the padding, as a frame around the padded stack would.
    const QMargins margins = contentsMargins();
    const int minimumHeight = minimumCrossExtent_ - margins.top() - margins.bottom();
    const int offset = std::max(0, minimumHeight - rowHeight) / 2;
    placement.height = std::max(rowHeight, minimumHeight);

    int x = 0;
    bool baselineTaken = alignment_ == Alignment::firstBaseline;
    placement.baseline = baseline + offset;
    for (int i : visible) {
        if (!items_[i].spacer) {
            placement.rects[i] = QRect(x, tops[i] + offset, widths[i], heights[i]);
            if (!baselineTaken && items_[i].item->widget()) {
                placement.baseline =
                    tops[i] + offset +
                    MurvelBaseline::of(items_[i].item->widget(), QSize(widths[i], heights[i]));
                baselineTaken = true;
            }
        }
        x += widths[i] + spacing();
    }
    return placement;
}

MurvelStackLayout::Placement MurvelStackLayout::arrangeColumn(int width, int height) const {
    Placement placement;
    placement.rects.resize(items_.size());
    const QList<int> visible = visibleEntries();

    QList<int> widths(items_.size(), 0), heights(items_.size(), 0);
    int total = spacing() * std::max(0, int(visible.size() - 1));
    int spacerCount = 0;
    for (int i : visible) {
        const Entry& entry = items_[i];
        if (entry.spacer) {
            heights[i] = entry.minimumLength;
            ++spacerCount;
        } else {
            const int ideal = entry.item->sizeHint().width();
            widths[i] = fills(entry) ? width : std::min(ideal, width);
            heights[i] = !entry.options.frame      ? heightAt(entry, widths[i])
                         : axis_ == Axis::vertical ? idealMainExtent(entry)
                                                   : *entry.options.frame;
        }
        total += heights[i];
    }
    // A column given more height than it needs hands the rest to its spacers.
    int extra = height > total && spacerCount > 0 ? height - total : 0;
    int y = 0;
    bool baselineTaken = false;
    for (int i : visible) {
        if (items_[i].spacer) {
            const int share = extra / spacerCount--;
            extra -= share;
            y += heights[i] + share + spacing();
            continue;
        }
        int x = 0;
        if (axis_ == Axis::horizontal) // a crowded row: its lines start at the leading edge
            x = 0;
        else if (alignment_ == Alignment::center)
            x = (width - widths[i]) / 2;
        else if (alignment_ == Alignment::trailing)
            x = width - widths[i];
        placement.rects[i] = QRect(x, y, widths[i], heights[i]);
        if (!baselineTaken && items_[i].item->widget()) {
            placement.baseline =
                y + MurvelBaseline::of(items_[i].item->widget(), QSize(widths[i], heights[i]));
            baselineTaken = true;
        }
        y += heights[i] + spacing();
    }
    placement.height = std::max(0, total);
    return placement;
}

int MurvelStackLayout::combinedWidth(const std::function<int(const Entry&)>& widthOf) const {
    // Summed with the spacing along a row, the widest item across a column.
    int width = 0;
    int counted = 0;
    for (const Entry& entry : items_) {
        if (entry.item->isEmpty() && !entry.spacer)
            continue;
        if (axis_ == Axis::horizontal) {
            width += widthOf(entry);
            ++counted;
        } else if (!entry.spacer) {
            width = std::max(width, widthOf(entry));
        }
    }
    if (axis_ == Axis::horizontal)
        width += spacing() * std::max(0, counted - 1);
    const QMargins margins = contentsMargins();
    return width + margins.left() + margins.right();
}

QSize MurvelStackLayout::sizeHint() const {
    const int width = combinedWidth([this](const Entry& entry) {
        return axis_ == Axis::horizontal ? idealMainExtent(entry) : entry.item->sizeHint().width();
    });
    return {width, heightForWidth(width)};
}

QSize MurvelStackLayout::minimumSize() const {
    if (wraps_ && axis_ == Axis::horizontal) {
        int widest = 0;
        for (const Entry& entry : items_)
            if (!entry.spacer && !entry.item->isEmpty())
                widest = std::max(widest, idealMainExtent(entry));
        const QMargins margins = contentsMargins();
        return {widest + margins.left() + margins.right(),
                heightForWidth(widest + margins.left() + margins.right())};
    }
    const int width = combinedWidth([this](const Entry& entry) {
        if (entry.spacer || entry.options.frame || keepsIdeal(entry))
            return axis_ == Axis::horizontal ? idealMainExtent(entry) : entry.item->sizeHint().width();
        return std::min(entry.item->minimumSize().width(), entry.item->sizeHint().width());
    });
    // The content is shortest at its ideal width, where no text wraps.
    return {width, heightForWidth(sizeHint().width())};
}

void MurvelStackLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect content = rect.marginsRemoved(contentsMargins());
    const Placement placement = arrange(content.width(), content.height());
    const bool mirrored = parentWidget() && parentWidget()->layoutDirection() == Qt::RightToLeft;
    for (int i = 0; i < items_.size(); ++i) {
        if (items_[i].spacer || items_[i].item->isEmpty())
            continue;
        QRect r = placement.rects[i].translated(content.topLeft());
        if (mirrored)
            r.moveLeft(content.left() + content.right() - r.right());
        // The rectangle is final: a widget item would shrink it back to a fixed widget's own hint.
        if (QWidget* widget = items_[i].item->widget())
            widget->setGeometry(r);
        else
            items_[i].item->setGeometry(r);
    }
}

bool MurvelStackLayout::hasHeightForWidth() const {
    if (wraps_ && axis_ == Axis::horizontal)
        return true;
    return std::any_of(items_.begin(), items_.end(),
                       [](const Entry& entry) { return !entry.spacer && entry.item->hasHeightForWidth(); });
}

int MurvelStackLayout::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    return arrange(contentWidth(width)).height + margins.top() + margins.bottom();
}

int MurvelStackLayout::firstBaseline(QSize size) const {
    const QMargins margins = contentsMargins();
    return margins.top() + arrange(contentWidth(size.width())).baseline;
}

Qt::Orientations MurvelStackLayout::expandingDirections() const {
    const bool anyFill =
        std::any_of(items_.begin(), items_.end(), [this](const Entry& e) { return fills(e); });
    return anyFill ? Qt::Horizontal : Qt::Orientations();
}

} // namespace MurvelUI
