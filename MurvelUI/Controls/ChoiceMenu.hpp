#pragma once

#include "MurvelUI/Controls/MurvelButton.hpp"

#include <QMenu>
#include <QPointer>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <vector>

namespace MurvelUI {

// A compact menu button that shows the current choice and opens the list of all choices, the
// current one checked. It is as wide as its label and never stretches. Choosing an entry makes it
// the selection and emits `selectionChosen`; the owner may set another selection back.
//
// Options are values of one type carried in QVariant, compared with ==; `make` builds a menu over a
// typed list. With an accessible name (`setAccessibleName`, what is chosen) it reads as that name
// with the current choice as its value; without one, as the current choice.
class ChoiceMenu : public MurvelButton {
    Q_OBJECT
public:
    using Label = std::function<QString(const QVariant&)>;

    ChoiceMenu(const QVariant& selection, const QVariantList& options, Label label,
               QWidget* parent = nullptr);

    template <typename T>
    static ChoiceMenu* make(const T& selection, const std::vector<T>& options,
                            std::function<QString(const T&)> label, QWidget* parent = nullptr) {
        QVariantList values;
        for (const T& option : options)
            values.append(QVariant::fromValue(option));
        return new ChoiceMenu(
            QVariant::fromValue(selection), values,
            [label = std::move(label)](const QVariant& value) { return label(value.value<T>()); }, parent);
    }

    QVariant selection() const { return selection_; }
    // Shows `selection`'s label even when it is not among the options.
    void setSelection(const QVariant& selection);
    QVariantList options() const { return options_; }
    void setOptions(const QVariantList& options);

    // The menu while it is open, else null.
    QMenu* openMenu() const { return menu_; }
    // Opens the menu under the button.
    void openChoices();

    MurvelAccessibility accessibility() const override;

signals:
    void selectionChosen(const QVariant& selection);

private:
    QVariant selection_;
    QVariantList options_;
    Label label_;
    QPointer<QMenu> menu_;
};

} // namespace MurvelUI
