#include "MurvelUI/Controls/MurvelRowOrGridLayout.hpp"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>

using MurvelUI::MurvelRowOrGridLayout;

namespace {

// A button stand-in with a fixed ideal size.
class Item final : public QWidget {
public:
    Item(int width, int height) : ideal_(width, height) {
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return ideal_; }

private:
    QSize ideal_;
};

struct Laid {
    QWidget host;
    MurvelRowOrGridLayout* layout = new MurvelRowOrGridLayout(8, 4, &host);
    QList<Item*> items;

    explicit Laid(const QList<int>& widths, int height = 32) {
        for (int w : widths) {
            items.append(new Item(w, height));
            layout->addWidget(items.back());
        }
        // Items of a host never shown count as hidden.
        host.setAttribute(Qt::WA_DontShowOnScreen);
        host.show();
    }
    void at(int width) {
        host.resize(width, layout->heightForWidth(width));
        layout->setGeometry(QRect(0, 0, width, host.height()));
    }
    // Item indexes per row, top to bottom, each row left to right.
    std::vector<std::vector<int>> rows() const {
        std::map<int, std::map<int, int>> byRow;
        for (int i = 0; i < items.size(); ++i)
            if (!items[i]->isHidden())
                byRow[items[i]->geometry().top()][items[i]->geometry().left()] = i;
        std::vector<std::vector<int>> result;
        for (const auto& [top, row] : byRow) {
            result.emplace_back();
            for (const auto& [left, index] : row)
                result.back().push_back(index);
        }
        return result;
    }
};

using Rows = std::vector<std::vector<int>>;

// Items of these ideal widths laid out at `width` give these rows of item indices.
struct Case {
    const char* name;
    QList<int> widths;
    int width;
    Rows rows;
};

TEST(RowOrGridLayout, OneRowWhenTheIdealWidthsFitElseTwoEqualColumns) {
    const Case cases[] = {
        {"three that fit", {40, 60, 30}, 300, {{0, 1, 2}}},
        {"exactly fitting", {40, 60, 30}, 40 + 60 + 30 + 16, {{0, 1, 2}}},
        {"one pixel short", {40, 60, 30}, 40 + 60 + 30 + 15, {{0, 1}, {2}}},
        {"two that fit", {40, 60}, 200, {{0, 1}}},
        {"four always in the grid", {10, 10, 10, 10}, 1000, {{0, 1}, {2, 3}}},
        {"five in the grid, the last alone", {10, 10, 10, 10, 10}, 1000, {{0, 1}, {2, 3}, {4}}},
        {"one alone", {40}, 300, {{0}}},
    };
    for (const Case& c : cases) {
        Laid laid(c.widths);
        laid.at(c.width);
        EXPECT_EQ(laid.rows(), c.rows) << c.name;
    }
}

TEST(RowOrGridLayout, ARowFillsTheWidthAsEvenlyAsTheIdealsAllow) {
    Laid laid({40, 150, 30});
    laid.at(316);
    // 300 to share: the wide item keeps its 150, the two others take 75 each.
    EXPECT_EQ(laid.items[0]->width(), 75);
    EXPECT_EQ(laid.items[1]->width(), 150);
    EXPECT_EQ(laid.items[2]->width(), 75);
    EXPECT_EQ(laid.items[2]->geometry().right(), 315);
    EXPECT_EQ(laid.items[1]->x(), 75 + 8);
}

TEST(RowOrGridLayout, GridColumnsAreEqualAndTheOddLastSitsInTheFirst) {
    Laid laid({40, 60, 30}, 32);
    laid.at(120);
    const int column = (120 - 8) / 2;
    EXPECT_EQ(laid.items[0]->geometry(), QRect(0, 0, column, 32));
    EXPECT_EQ(laid.items[1]->geometry(), QRect(column + 8, 0, column, 32));
    EXPECT_EQ(laid.items[2]->geometry(), QRect(0, 40, column, 32));
    EXPECT_EQ(laid.layout->heightForWidth(120), 72);
    EXPECT_EQ(laid.layout->heightForWidth(500), 32) << "one row";
}

TEST(RowOrGridLayout, StackingWhenCrowdedPutsItemsWiderThanAColumnOneALine) {
    const Case cases[] = {
        {"one wider than a column", {40, 100, 30}, 150, {{0}, {1}, {2}}},
        {"four, one wider than a column", {10, 200, 10, 10}, 300, {{0}, {1}, {2}, {3}}},
        {"every one fits a column: still two", {40, 60, 30}, 140, {{0, 1}, {2}}},
        {"a row that fits stays a row", {40, 60, 30}, 300, {{0, 1, 2}}},
    };
    for (const Case& c : cases) {
        Laid laid(c.widths);
        laid.layout->setStacksWhenCrowded(true);
        laid.at(c.width);
        EXPECT_EQ(laid.rows(), c.rows) << c.name;
    }
    Laid laid({40, 100, 30}, 32);
    laid.layout->setStacksWhenCrowded(true);
    laid.at(150);
    EXPECT_EQ(laid.items[1]->geometry(), QRect(0, 40, 150, 32)) << "the whole line";
    EXPECT_EQ(laid.layout->heightForWidth(150), 3 * 32 + 2 * 8);
}

TEST(RowOrGridLayout, HiddenItemsTakeNoPlace) {
    Laid laid({40, 60, 30, 20});
    laid.items[3]->hide();
    laid.at(300);
    EXPECT_TRUE(laid.layout->fitsInRow(300)) << "three visible items may share a row";
    EXPECT_EQ(laid.rows(), (std::vector<std::vector<int>>{{0, 1, 2}}));
}

} // namespace
