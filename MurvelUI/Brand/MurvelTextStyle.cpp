#include "MurvelUI/Brand/MurvelTextStyle.hpp"

#include <QFontDatabase>
#include <cmath>

namespace MurvelUI {

namespace {

constexpr int styleCount = 11;
constexpr int sizeCount = 12;
constexpr int largeColumn = static_cast<int>(MurvelTypeSize::large);

// Sizes at the default text size, the desktop's compact scale.
constexpr int baseSizes[styleCount] = {26, 22, 17, 15, 13, 13, 12, 11, 10, 10, 10};

// How each style grows and shrinks across the text sizes; a style's size at a text size is its base
// size scaled by the ratio of its row's entry to the row's default entry.
constexpr int growth[styleCount][sizeCount] = {
    {31, 32, 33, 34, 36, 38, 40, 44, 48, 52, 56, 60}, // large title
    {25, 26, 27, 28, 30, 32, 34, 38, 43, 48, 53, 58}, // title
    {19, 20, 21, 22, 24, 26, 28, 34, 39, 44, 50, 56}, // title 2
    {17, 18, 19, 20, 22, 24, 26, 31, 37, 43, 49, 55}, // title 3
    {14, 15, 16, 17, 19, 21, 23, 28, 33, 40, 47, 53}, // headline
    {14, 15, 16, 17, 19, 21, 23, 28, 33, 40, 47, 53}, // body
    {13, 14, 15, 16, 18, 20, 22, 26, 32, 38, 44, 51}, // callout
    {12, 13, 14, 15, 17, 19, 21, 25, 30, 36, 42, 49}, // subheadline
    {12, 12, 12, 13, 15, 17, 19, 23, 27, 33, 38, 44}, // footnote
    {11, 11, 11, 12, 14, 16, 18, 22, 26, 32, 37, 43}, // caption
    {11, 11, 11, 11, 13, 15, 17, 20, 24, 29, 34, 40}, // caption 2
};

QString& familyOverride() {
    static QString family;
    return family;
}

} // namespace

int textStylePixelSize(MurvelTextStyle style, MurvelTypeSize typeSize) {
    const int row = static_cast<int>(style);
    const int column = static_cast<int>(typeSize);
    return static_cast<int>(
        std::lround(double(baseSizes[row]) * growth[row][column] / growth[row][largeColumn]));
}

QFont textStyleFont(MurvelTextStyle style, MurvelTypeSize typeSize, std::optional<QFont::Weight> weight) {
    QFont font(kitFontFamily());
    font.setPixelSize(textStylePixelSize(style, typeSize));
    font.setWeight(weight.value_or(style == MurvelTextStyle::headline ? QFont::Bold : QFont::Normal));
    return font;
}

QString kitFontFamily() {
    if (!familyOverride().isEmpty())
        return familyOverride();
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

void setKitFontFamily(const QString& family) {
    familyOverride() = family;
}

} // namespace MurvelUI
