#pragma once

#include <QWidget>

namespace MurvelUI {
class PanelActionRow;
class PanelShortcutKeys;
} // namespace MurvelUI

namespace Dialcove {

class ContactsPanel;

// The search shortcut in the panel's last card: the row "Search contacts" with the shortcut as key
// caps. A click on the caps starts recording a new shortcut, or stops it and keeps the old one;
// while recording, a hint line under the row says which keys do what. The recording itself belongs
// to the panel's key router: this only shows the keyboard state and toggles it. Main thread only.
class ShortcutSection final : public QWidget {
    Q_OBJECT
public:
    explicit ShortcutSection(ContactsPanel& panel, QWidget* parent = nullptr);

    // The caps' accessible hint: what a click on them does now.
    static QString editorHint(bool recording, bool conflict);

    MurvelUI::PanelActionRow* row() const { return row_; }
    MurvelUI::PanelShortcutKeys* keys() const { return keys_; }
    // Shown exactly while recording.
    QWidget* hintLine() const { return hint_; }

private:
    void refresh();

    ContactsPanel& panel_;
    MurvelUI::PanelActionRow* row_ = nullptr;
    MurvelUI::PanelShortcutKeys* keys_ = nullptr;
    QWidget* hint_ = nullptr;
};

} // namespace Dialcove
