#pragma once

#include <QLayout>
#include <QList>

namespace MurvelUI {

// A run of buttons laid out in one row when it fits, else in a grid of two equal columns: the first
// layout of the two whose items keep their ideal widths at the width offered.
//
// In the row, every item gets at least its ideal width, and the room left raises the narrowest
// ones first, so the items end as equal as their ideal widths allow and fill the width together.
// In the grid, row k holds items 2k and 2k + 1 in two columns of equal width; an odd last item sits
// alone in the first column. A run of `gridFrom` items or more always takes the grid. Items are as
// tall as their height for their width (at least their ideal height), centred in their row.
class MurvelRowOrGridLayout final : public QLayout {
    Q_OBJECT
public:
    explicit MurvelRowOrGridLayout(int spacing, int gridFrom = 4, QWidget* parent = nullptr);
    ~MurvelRowOrGridLayout() override;

    // When set, a grid whose column is narrower than an item's ideal width has one column instead,
    // each item on a line of its own: for the largest text sizes, where two columns would elide
    // every title. Off by default.
    void setStacksWhenCrowded(bool stacks);
    bool stacksWhenCrowded() const { return stacksWhenCrowded_; }

    // Whether the visible items go in one row at `width` (content width, without margins).
    bool fitsInRow(int width) const;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override { return int(items_.size()); }
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }

private:
    QList<QLayoutItem*> visibleItems() const;
    // Each visible item's rectangle at content width `width`, from the content's top-left.
    QList<QRect> arrange(int width, int* height) const;
    int spacingBetween() const;

    int gridFrom_;
    bool stacksWhenCrowded_ = false;
    QList<QLayoutItem*> items_;
};

} // namespace MurvelUI
