#pragma once

#include <QLayout>
#include <QList>
#include <functional>
#include <optional>

namespace MurvelUI {

// A row or a column of widgets, laid out as the kit's views are described: a fixed spacing between
// neighbours, items that keep their ideal size, items that give way, items that take all the room
// left, spacers with a minimum length, and rows aligned on their first text baseline.
//
// In a row, a widget keeps its ideal width when its horizontal size policy cannot shrink or it has
// a priority; a widget that can shrink takes its ideal width or its share of what is left, whichever
// is smaller; a widget that expands, or is marked `fill`, takes all that is left. Leftover room goes
// to the spacers, or stays at the trailing end. In a column, each widget is as wide as its ideal
// width allows (or the full width when it fills) and as tall as that width makes it.
class MurvelStackLayout final : public QLayout {
    Q_OBJECT
public:
    enum class Axis { horizontal, vertical };
    // Where items sit across the axis: top, centre, bottom or on a shared first baseline in a row;
    // leading, centre or trailing in a column.
    enum class Alignment { leading, center, trailing, firstBaseline };

    struct Options {
        // The item's extent along the axis (a frame width in a row, a height in a column); the
        // widget is given exactly that.
        std::optional<int> frame;
        // The frame is a floor: an item whose ideal extent is larger (a symbol at a large text
        // size) takes that instead of being cut.
        bool frameGrows = false;
        // Takes all the room that is left along a row, or the full width of a column.
        bool fill = false;
        // In a row: sized before the others, at its ideal width.
        int priority = 0;

        static Options framed(int extent) {
            Options options;
            options.frame = extent;
            return options;
        }
        static Options atLeast(int extent) {
            Options options = framed(extent);
            options.frameGrows = true;
            return options;
        }
        static Options filling() {
            Options options;
            options.fill = true;
            return options;
        }
        static Options prioritized(int priority) {
            Options options;
            options.priority = priority;
            return options;
        }
    };

    MurvelStackLayout(Axis axis, int spacing, Alignment alignment, QWidget* parent = nullptr);
    ~MurvelStackLayout() override;

    void addWidget(QWidget* widget, Options options);
    using QLayout::addWidget;
    // Before the item at `index`; past the end appends.
    void insertWidget(int index, QWidget* widget, Options options);
    void addSpacer(int minimumLength = 0);

    // Rows: when the items do not fit side by side at their ideal widths, they stack as a column
    // instead, each on a line of its own (a row of buttons at a large text size, say).
    void setWrapsWhenCrowded(bool wraps);
    // Rows: when a text of the row, or of a row inside it, would break inside a word at the width
    // offered (the largest text sizes), the items stack as a column instead.
    void setStacksWhenWordsBreak(bool stacks);
    // The narrowest content width, padding excluded, at which no text inside breaks within a word.
    int unbrokenWidth() const;
    // Rows: the stack, padding included, is at least this tall, its content centred.
    void setMinimumCrossExtent(int extent);

    // The first baseline of the content when laid out in `rect`, from the rect's top.
    int firstBaseline(QSize size) const;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override { return int(items_.size()); }
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    Qt::Orientations expandingDirections() const override;

private:
    struct Entry {
        QLayoutItem* item;
        Options options;
        bool spacer;
        int minimumLength;
    };
    struct Placement {
        QList<QRect> rects; // one per entry, relative to the content's top-left; empty for hidden items
        int height = 0;
        int baseline = 0;
    };

    QList<int> visibleEntries() const;
    int combinedWidth(const std::function<int(const Entry&)>& widthOf) const;
    Placement arrange(int width, int height = -1) const;
    Placement arrangeRow(int width) const;
    Placement arrangeColumn(int width, int height) const;
    int idealMainExtent(const Entry& entry) const;
    int heightAt(const Entry& entry, int width) const;
    bool fills(const Entry& entry) const;
    bool keepsIdeal(const Entry& entry) const;
    int contentWidth(int outerWidth) const;
    bool crowded(int width) const;

    Axis axis_;
    Alignment alignment_;
    int minimumCrossExtent_ = 0;
    bool wraps_ = false;
    bool stacksWhenWordsBreak_ = false;
    QList<Entry> items_;
};

} // namespace MurvelUI
