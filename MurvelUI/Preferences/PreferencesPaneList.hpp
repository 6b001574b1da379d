#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Preferences/PreferencesPane.hpp"

#include <QAbstractButton>
#include <QList>

namespace MurvelUI {

class MurvelSymbolView;
class MurvelText;

// The list of panes of the sidebar layout (kit-internal): per pane, in order and 4 points apart, an
// optional section heading and a 40-point button with the pane's symbol and title. The selected
// pane's button sits on the accent at 0.25 (radius 12) and shows its symbol in the primary colour
// and its title semibold; the others show the symbol in the accent (or the pane's own tint). A
// click or the keyboard (Space) on a button emits `paneChosen`; focus and selection are apart.
class PreferencesPaneList final : public MurvelStack {
    Q_OBJECT
public:
    PreferencesPaneList(const QList<PreferencesPane>& panes, const MurvelColor& accent,
                        const QVariant& selection, QWidget* parent = nullptr);

    QVariant selection() const { return selection_; }
    // Moves the highlight; emits nothing.
    void setSelection(const QVariant& selection);
    // The pane buttons, in list order.
    QList<QAbstractButton*> buttons() const { return buttons_; }
    // The section headings, in list order.
    QList<MurvelText*> headings() const { return headings_; }

signals:
    void paneChosen(const QVariant& id);

private:
    QList<QAbstractButton*> buttons_;
    QList<MurvelText*> headings_;
    QVariant selection_;
};

// One button of the list (kit-internal).
class PreferencesPaneButton final : public QAbstractButton, public MurvelAccessibleElement {
    Q_OBJECT
public:
    PreferencesPaneButton(const PreferencesPane& pane, const MurvelColor& accent, QWidget* parent = nullptr);

    const PreferencesPane& pane() const { return pane_; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);
    // The symbol's colour in `scheme`.
    QColor symbolColor(MurvelColorScheme scheme) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    MurvelAccessibility accessibility() const override;

    static constexpr int rowHeight = 40;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void restyle();
    void layOutContent();

    PreferencesPane pane_;
    MurvelColor accent_;
    bool selected_ = false;
    MurvelSymbolView* symbol_;
    MurvelText* title_;
};

} // namespace MurvelUI
