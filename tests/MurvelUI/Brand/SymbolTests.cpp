#include "MurvelUI/Brand/MurvelSymbols.hpp"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

using MurvelUI::MurvelSymbols;

namespace {

// The most opaque pixel of `image`, unpremultiplied: the symbol's colour at its most covered pixel.
QColor strongestPixel(const QImage& image) {
    QColor strongest(0, 0, 0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QColor pixel = image.pixelColor(x, y); pixel.alpha() > strongest.alpha())
                strongest = pixel;
    return strongest;
}

// Symbols asked for one after the other, each differing from one before it in a single input: every
// one comes out as asked, whatever was made before it, and again the same when asked a second time.
TEST(MurvelSymbols, EachRequestGetsItsOwnImageWhateverCameBefore) {
    const struct {
        const char* name;
        int size;
        QColor color;
        qreal ratio;
    } cases[] = {
        {"magnifyingglass", 16, QColor(255, 0, 0), 1},
        {"magnifyingglass", 16, QColor(0, 0, 255), 1},      // the colour
        {"magnifyingglass", 16, QColor(0, 0, 255, 128), 1}, // its opacity alone
        {"magnifyingglass", 24, QColor(0, 0, 255), 1},      // the size
        {"magnifyingglass", 16, QColor(0, 0, 255), 2},      // the pixel ratio
        {"clock", 16, QColor(0, 0, 255), 1},                // the symbol
        {"magnifyingglass", 16, QColor(255, 0, 0), 1},      // the first again
    };
    QImage clock;
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& c : cases) {
            const QString name = QString::fromLatin1(c.name);
            const QImage image = MurvelSymbols::image(name, c.size, c.color, c.ratio);
            const QString label = QStringLiteral("%1 %2 %3 x%4 pass %5")
                                      .arg(name)
                                      .arg(c.size)
                                      .arg(c.color.name(QColor::HexArgb))
                                      .arg(c.ratio)
                                      .arg(pass);
            ASSERT_FALSE(image.isNull()) << label.toStdString();
            EXPECT_EQ(image.width(), int(c.size * c.ratio)) << label.toStdString();
            EXPECT_EQ(image.devicePixelRatio(), c.ratio) << label.toStdString();
            const QColor strongest = strongestPixel(image);
            EXPECT_NEAR(strongest.red(), c.color.red(), 2) << label.toStdString();
            EXPECT_NEAR(strongest.green(), c.color.green(), 2) << label.toStdString();
            EXPECT_NEAR(strongest.blue(), c.color.blue(), 2) << label.toStdString();
            // Not every shape covers a whole pixel: within a tenth of the colour's own opacity.
            EXPECT_NEAR(strongest.alpha(), c.color.alpha(), c.color.alpha() / 10 + 2) << label.toStdString();
            if (name == QStringLiteral("clock"))
                clock = image;
        }
    }
    // Another shape than the glass of the same size and colour.
    EXPECT_NE(clock, MurvelSymbols::image(QStringLiteral("magnifyingglass"), 16, QColor(0, 0, 255)));
    EXPECT_TRUE(MurvelSymbols::image(QStringLiteral("no.such.symbol"), 16, Qt::black).isNull());
}

} // namespace
