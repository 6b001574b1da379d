#pragma once

#include "MurvelUI/Welcome/WelcomeStepsLayout.hpp"

#include <QPointer>
#include <functional>

namespace MurvelUI {
class KeyCaps;
class LoginItem;
class MurvelText;
class WelcomeStepRow;
} // namespace MurvelUI

namespace Dialcove {

class ContactsPanel;

// The welcome window's one page: "Your contacts, one shortcut away", one setup step (Contacts
// access: its state, its message and a button that asks for access or opens the Contacts Access
// window), the search shortcut as key caps, "Open at Login", and two buttons that both run
// `finish` (Return is "Let’s go"). It reads the panel's authorization and shortcut, and the desktop's
// routes to the panel (the portal's trigger; with no tray and no hot key, the desktop shortcut that
// runs `dialcove`), and follows their changes in place; it owns no service.
//
// Live, the switch shows the login item and a flip asks the item to change; in snapshot mode it is
// the view's own flag and the login item is never touched.
class ContactsWelcomeView final : public MurvelUI::WelcomeStepsLayout {
    Q_OBJECT
public:
    // `login` defaults to the shared login item; it is not used in snapshot mode. The panel
    // outlives the view.
    ContactsWelcomeView(ContactsPanel& panel, bool isSnapshot, std::function<void()> finish,
                        MurvelUI::LoginItem* login = nullptr, QWidget* parent = nullptr);

    MurvelUI::WelcomeStepRow* accessRow() const { return row_; }
    MurvelUI::MurvelText* messageLine() const { return message_; }
    MurvelUI::MurvelText* pathLine() const { return path_; }
    MurvelUI::KeyCaps* shortcutCaps() const { return caps_; }
    // Beside the caps: what the shortcut does, or how to open Dialcove where the caps do not say.
    MurvelUI::MurvelText* shortcutText() const { return shortcutText_; }

protected:
    // A language change shows the access texts again: their reading may follow the folder.
    void changeEvent(QEvent* event) override;

private:
    struct Parts;
    ContactsWelcomeView(ContactsPanel& panel, bool isSnapshot, std::function<void()> finish,
                        MurvelUI::LoginItem* login, Parts parts, QWidget* parent);

    void showAuthorization();
    void showShortcut();

    QPointer<ContactsPanel> panel_;
    MurvelUI::WelcomeStepRow* row_;
    MurvelUI::MurvelText* message_;
    MurvelUI::MurvelText* path_;
    MurvelUI::KeyCaps* caps_;
    MurvelUI::MurvelText* shortcutText_;
};

} // namespace Dialcove
