#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelBrand.hpp"

#include <QAbstractButton>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

namespace MurvelUI {

class BrandFocusRing;
class KeyCaps;
class MurvelStack;
class MurvelSymbolView;
class MurvelText;

// A compact capsule that shows a keyboard shortcut as key caps, or a placeholder text instead. While
// editing or in conflict it is tinted (the attention colour for a conflict, the brand accent
// otherwise) with a fill and a border, and shows "exclamationmark.circle" for a conflict or "pencil"
// while editing. Given an `Editor`, it is a button that starts editing the shortcut.
class PanelShortcutKeys : public QAbstractButton, public MurvelAccessibleElement {
    Q_OBJECT
public:
    struct Editor {
        // The button's accessibility label and hint, and its tooltip.
        QString label;
        QString hint;
        QString help;
        std::function<void()> edit;
    };

    PanelShortcutKeys(const QStringList& keys, const std::optional<QString>& placeholder,
                      const MurvelBrand& brand, bool isEditing, bool hasConflict, bool isDisabled,
                      std::optional<Editor> editor, QWidget* parent = nullptr);
    // Not editing and without an editor.
    PanelShortcutKeys(const QStringList& keys, const std::optional<QString>& placeholder,
                      const MurvelBrand& brand, bool hasConflict, bool isDisabled, QWidget* parent = nullptr);

    QStringList keys() const { return keys_; }
    std::optional<QString> placeholder() const { return placeholder_; }
    bool isEditing() const { return editing_; }
    bool hasConflict() const { return conflict_; }
    bool isDisabled() const { return disabled_; }
    bool hasEditor() const { return editor_.has_value(); }

    void setKeys(const QStringList& keys);
    void setPlaceholder(const std::optional<QString>& placeholder);
    void setEditing(bool editing);
    void setConflict(bool conflict);
    void setIsDisabled(bool disabled);
    // Replaces the editor: its label, hint (the accessible description) and tooltip follow at once.
    // None makes the keys a plain label again.
    void setEditor(std::optional<Editor> editor);

    // The tint of the editing and conflict states.
    QColor tint(MurvelColorScheme scheme) const;
    // "exclamationmark.circle", "pencil" or nothing.
    QString leadingSymbol() const;
    // The placeholder, else the keys joined by spaces.
    QString spokenText() const;

    MurvelSymbolView* symbolView() const { return symbol_; }
    KeyCaps* keyCaps() const { return caps_; }
    MurvelText* placeholderView() const { return placeholderText_; }
    // The capsule: the content with its padding, fill and border.
    QWidget* content() const;

    MurvelAccessibility accessibility() const override;

protected:
    // The capsule draws itself; the button adds nothing.
    void paintEvent(QPaintEvent*) override {}

private:
    class Content;
    void refresh();
    void applyEditor();

    QStringList keys_;
    std::optional<QString> placeholder_;
    MurvelBrand brand_;
    bool editing_;
    bool conflict_;
    bool disabled_;
    std::optional<Editor> editor_;
    Content* content_ = nullptr;
    MurvelSymbolView* symbol_ = nullptr;
    KeyCaps* caps_ = nullptr;
    MurvelText* placeholderText_ = nullptr;
    QPointer<BrandFocusRing> ring_;
};

} // namespace MurvelUI
