#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

#include <QWidget>
#include <optional>

namespace MurvelUI {

class MurvelStack;
class MurvelText;

// A labelled preference row: the title (title 3) with an optional note under it in the secondary
// colour, and one control in the `support` font at the large control size, never compressed.
//
// Up to the largest regular text size the label takes the width the control leaves and the two sit
// side by side, 12 points apart, centred vertically; at the accessibility sizes the label takes the
// full width and the control sits under it at the trailing edge, 8 points below. Texts wrap and are
// never cut. The row is padded by 4 points at top and bottom (8 with a note) and is at least 44 tall.
//
// With `controlIsNamed` the control names itself (a switch labelled with the title, a menu with its
// own name): the title and note are then hidden from screen readers, and the note becomes the
// control's hint. Otherwise they are read as texts and the control gets no hint.
class PreferencesRow : public QWidget, public MurvelAccessibleElement {
    Q_OBJECT
public:
    // The row owns `control`.
    PreferencesRow(const QString& title, const std::optional<QString>& note, bool controlIsNamed,
                   QWidget* control, QWidget* parent = nullptr);

    QWidget* control() const { return control_; }
    MurvelText* titleView() const { return title_; }
    MurvelText* noteView() const { return note_; }
    QWidget* labelBlock() const { return label_; }
    bool controlIsNamed() const { return controlIsNamed_; }
    // True at the accessibility text sizes, where label and control stack.
    bool isVertical() const;
    int verticalPadding() const { return note_ ? 8 : 4; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    MurvelAccessibility accessibility() const override;

    static constexpr int minimumHeight = 44;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placement {
        QRect label;
        QRect control;
        int height;
    };
    Placement place(int width) const;
    QSize controlSize() const;

    MurvelStack* label_;
    MurvelText* title_;
    MurvelText* note_ = nullptr;
    QWidget* control_;
    bool controlIsNamed_;
};

} // namespace MurvelUI
