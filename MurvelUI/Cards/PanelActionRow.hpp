#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Cards/PanelActionRowPart.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

#include <QHash>
#include <QRectF>
#include <functional>
#include <optional>

namespace MurvelUI {

class MurvelSymbolView;
class MurvelText;

// A full-width row of the search panel: a leading symbol in the brand accent, a title of at most two
// lines with an optional badge, and a trailing view that keeps its size while the title gives way.
// With `perform` the row is a button that lights up under the pointer and can be marked as the
// suggested one; without it, a static label.
class PanelActionRow : public MurvelStack {
    Q_OBJECT
public:
    struct Inputs {
        QString title;
        QString symbol;
        MurvelBrand brand;
        // The row cannot be activated and shows no highlight.
        bool isDisabled = false;
        // When present, stands in for the row's own pointer tracking.
        std::optional<bool> hovered;
        bool isSuggested = false;
        // Short text after the title.
        std::optional<QString> badge;
        // Accessibility value and hint of the row; not drawn.
        std::optional<QString> value;
        std::optional<QString> hint;
        // What a click does; absent for a static label.
        std::function<void()> perform;
    };
    using LayoutReporter = std::function<void(PanelActionRowPart, QRectF)>;

    // The row owns `trailing`, which may be null for none.
    PanelActionRow(Inputs inputs, QWidget* trailing, QWidget* parent = nullptr);

    const Inputs& inputs() const { return inputs_; }
    void setTitle(const QString& title);
    void setBadge(const std::optional<QString>& badge);
    void setIsDisabled(bool disabled);
    void setHovered(std::optional<bool> hovered);
    void setSuggested(bool suggested);

    // Receives the frame of each part, in the row's coordinates, now and whenever one changes.
    void setOnLayout(LayoutReporter report);

    // The pointer is over the clickable area (the row's own tracking).
    bool isHovered() const { return pointerInside_; }
    // The background of the clickable area now: the neutral hover fill, the brand's suggested fill,
    // or transparent.
    QColor fillColor(MurvelColorScheme scheme) const;

    QWidget* actionArea() const { return actionArea_; }
    MurvelSymbolView* iconView() const { return icon_; }
    QWidget* textGroup() const { return textGroup_; }
    MurvelText* titleView() const { return title_; }
    MurvelText* badgeView() const { return badge_; }
    QWidget* trailing() const { return trailing_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class ActionButton;
    friend class ActionButton;
    void pointerMoved(bool inside);
    void reportParts();

    Inputs inputs_;
    bool pointerInside_ = false;
    QWidget* actionArea_ = nullptr;
    MurvelSymbolView* icon_ = nullptr;
    MurvelStack* textGroup_ = nullptr;
    MurvelText* title_ = nullptr;
    MurvelText* badge_ = nullptr;
    QWidget* trailing_ = nullptr;
    LayoutReporter report_;
    QHash<int, QRectF> reported_;
};

} // namespace MurvelUI
