#pragma once

#include <QWidget>

namespace MurvelUI {
class MurvelText;
class PanelActionRow;
class PanelShortcutKeys;
} // namespace MurvelUI

namespace Dialcove {

class ContactsPanel;

// The search shortcut in the panel's last card: the row "Search contacts" with the shortcut as key
// caps (as the desktop routes give them: the portal's trigger where the portal holds the key), and a
// note under it where the desktop holds the shortcut or nothing else opens Dialcove. A click on the caps starts recording a new shortcut, or stops it and keeps the old one;
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
    // How to open Dialcove where the caps alone do not say it; hidden when they do, and while
    // recording.
    QWidget* noteLine() const { return note_; }
    MurvelUI::MurvelText* noteText() const { return noteText_; }

private:
    void refresh();

    ContactsPanel& panel_;
    MurvelUI::PanelActionRow* row_ = nullptr;
    MurvelUI::PanelShortcutKeys* keys_ = nullptr;
    QWidget* hint_ = nullptr;
    QWidget* note_ = nullptr;
    MurvelUI::MurvelText* noteText_ = nullptr;
};

} // namespace Dialcove
