#pragma once

#include "MurvelUI/Controls/ChoiceMenu.hpp"

namespace MurvelUI {

// A `ChoiceMenu` in the preference menu style (`applyPreferencesMenuStyle`), read as `title` with
// the current choice as its value. Choosing an item writes the selection and emits
// `selectionChosen`, nothing else; `setSelection` moves it without a signal.
class PreferencesChoiceMenu final : public ChoiceMenu {
    Q_OBJECT
public:
    PreferencesChoiceMenu(const QString& title, const QVariant& selection, const QVariantList& options,
                          Label label, QWidget* parent = nullptr);

    template <typename T>
    static PreferencesChoiceMenu* make(const QString& title, const T& selection,
                                       const std::vector<T>& options, std::function<QString(const T&)> label,
                                       QWidget* parent = nullptr) {
        QVariantList values;
        for (const T& option : options)
            values.append(QVariant::fromValue(option));
        return new PreferencesChoiceMenu(
            title, QVariant::fromValue(selection), values,
            [label = std::move(label)](const QVariant& value) { return label(value.value<T>()); }, parent);
    }
};

} // namespace MurvelUI
