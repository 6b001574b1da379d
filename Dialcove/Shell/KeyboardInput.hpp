#pragma once

#include "Dialcove/Shell/ResponderKind.hpp"
#include "Dialcove/Shell/ShortcutRecorder.hpp"
#include "DialcoveCore/KeyDecision.hpp"

class QKeyEvent;
class QString;
class QWidget;

namespace Platform {
class FloatingPanel;
class KeyTranslation;
} // namespace Platform

namespace Dialcove {

class ContactsPanel;

// The search panel's key router: every key press in the panel window meets it before the focused
// control, and it decides whether the key belongs to the panel or to that control. In this order:
//
//  1. While a shortcut is being recorded every key goes to the recorder and is consumed, so none
//     leaks into the panel. An accepted shortcut goes into the settings and then the sync, and ends
//     the recording; Escape cancels it; anything else waits for the next key.
//  2. A focused control (a button, a menu) keeps every key but Escape.
//  3. In an open contact, typing a character (Shift allowed, not Control, Alt or Super) goes back to
//     the list and searches for just that character.
//  4. Otherwise the key becomes a panel key (Platform::PanelKeyMapping) and the routing table
//     decides: move, open, act, copy, go back or close. What it passes through, and every key that
//     is no panel key, goes on to the focused control: letters type into the search field.
//
// Main thread only.
class KeyboardInput {
public:
    // `translation` reads key presses as the hot key does; it must outlive the router.
    explicit KeyboardInput(const Platform::KeyTranslation& translation);

    // True when the key was consumed; false sends it on to the focused control of `window`.
    bool handle(const QKeyEvent& event, const Platform::FloatingPanel& window, ContactsPanel& panel) const;

    // What `responder` (the focused widget, or none) is; any control the panel keyboard reports as
    // focused makes it a control.
    static ResponderKind classifyResponder(const QWidget* responder, bool hasFocusedControl);

    // The text holds a control or format character, or a character of U+F700 to U+F8FF, where some
    // systems report arrow and function keys: it was not typed as text.
    static bool hasSpecialCharacter(const QString& text);

private:
    void record(const QKeyEvent& event, ContactsPanel& panel) const;
    static void perform(DialcoveCore::KeyDecision decision, ContactsPanel& panel);

    const Platform::KeyTranslation& translation_;
    const ShortcutRecorder recorder_;
};

} // namespace Dialcove
