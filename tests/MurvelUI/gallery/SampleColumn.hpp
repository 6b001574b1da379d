#pragma once

#include "MurvelUI/Brand/BrandBackground.hpp"
#include "MurvelUI/Brand/BrandPalette.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Controls/MurvelText.hpp"
#include "tests/MurvelUI/gallery/GalleryVariants.hpp"

#include <QPainter>

namespace Gallery {

// A column of labelled samples on the brand background, as the gallery's pages draw them.
class SampleColumn : public MurvelUI::MurvelStack {
public:
    SampleColumn()
        : MurvelStack(MurvelUI::MurvelStackLayout::Axis::vertical, 12,
                      MurvelUI::MurvelStackLayout::Alignment::leading) {
        setPadding(16);
    }

    void caption(const QString& text) {
        auto* label = new MurvelUI::MurvelText(text);
        MurvelUI::applyFont(label, MurvelUI::MurvelFont::versionLine);
        label->setColor(MurvelUI::MurvelColor::of(&MurvelUI::BrandPalette::secondary));
        stack()->addWidget(label, {});
    }

    void add(QWidget* widget, bool fill = true) {
        stack()->addWidget(widget, fill ? MurvelUI::MurvelStackLayout::Options::filling()
                                        : MurvelUI::MurvelStackLayout::Options());
    }

protected:
    void paintBackground(QPainter& painter, MurvelUI::MurvelColorScheme scheme) override {
        MurvelUI::BrandBackground::paint(painter, QRectF(rect()), brand.color, scheme);
    }
};

} // namespace Gallery
