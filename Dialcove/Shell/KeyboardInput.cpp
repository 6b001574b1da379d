#include "Dialcove/Shell/KeyboardInput.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Services/ContactsPanel.hpp"
#include "Dialcove/Services/DialcoveLogging.hpp"
#include "DialcoveCore/KeyboardRouting.hpp"
#include "DialcoveCore/PreferenceValue.hpp"
#include "MurvelPreferences/PreferenceSync.hpp"
#include "Platform/Desktop/FloatingPanel.hpp"
#include "Platform/Desktop/KeyTranslation.hpp"
#include "Platform/Desktop/PanelKeyMapping.hpp"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <optional>

using DialcoveCore::KeyDecision;
using DialcoveCore::ShortcutRecordingResult;

namespace Dialcove {

namespace {

// The focused widget as a text: whether the user can edit it and whether some of it is selected.
struct TextView {
    bool editable;
    bool hasSelection;
};

std::optional<TextView> textViewOf(const QWidget* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return TextView{!line->isReadOnly(), line->hasSelectedText()};
    if (const auto* edit = qobject_cast<const QTextEdit*>(widget))
        return TextView{!edit->isReadOnly(), edit->textCursor().hasSelection()};
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(widget))
        return TextView{!plain->isReadOnly(), plain->textCursor().hasSelection()};
    // A label only takes the focus when its text can be selected or its links followed.
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return TextView{false, label->hasSelectedText()};
    return std::nullopt;
}

bool isControl(const QWidget* widget) {
    return qobject_cast<const QAbstractButton*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractSlider*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr;
}

// A custom-drawn widget that presents itself as a button, a check box, a menu button, a radio
// button or a link is a control too.
bool hasControlRole(const QWidget* widget) {
    const QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget));
    if (accessible == nullptr)
        return false;
    switch (accessible->role()) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::ComboBox:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::RadioButton:
    case QAccessible::Link:
        return true;
    default:
        return false;
    }
}

} // namespace

KeyboardInput::KeyboardInput(const Platform::KeyTranslation& translation)
    : translation_(translation), recorder_(translation) {}

ResponderKind KeyboardInput::classifyResponder(const QWidget* responder, bool hasFocusedControl) {
    if (hasFocusedControl)
        return ResponderKind::control;
    if (responder == nullptr)
        return ResponderKind::panel;
    if (isControl(responder))
        return ResponderKind::control;
    if (const std::optional<TextView> text = textViewOf(responder))
        return text->editable ? ResponderKind::text : ResponderKind::control;
    return hasControlRole(responder) ? ResponderKind::control : ResponderKind::panel;
}

bool KeyboardInput::hasSpecialCharacter(const QString& text) {
    assertMainThread();
    for (const char32_t scalar : text.toUcs4()) {
        const QChar::Category category = QChar::category(scalar);
        if (category == QChar::Other_Control || category == QChar::Other_Format)
            return true;
        if (scalar >= 0xF700 && scalar <= 0xF8FF)
            return true;
    }
    return false;
}

bool KeyboardInput::handle(const QKeyEvent& event, const Platform::FloatingPanel& window,
                           ContactsPanel& panel) const {
    assertMainThread();
    if (panel.keyboard().recordingShortcut()) {
        record(event, panel);
        return true;
    }

    const QWidget* responder = window.focusWidget();
    const std::optional<TextView> textView = textViewOf(responder);
    if (classifyResponder(responder, panel.keyboard().anyControlFocused()) == ResponderKind::control &&
        event.key() != Qt::Key_Escape)
        return false;

    const bool composing = textView && window.isComposing();
    const Platform::PanelKeyPress press = Platform::PanelKeyMapping::read(
        event, textView && textView->hasSelection, translation_.virtualKey(event));

    if (panel.session().phase() == PanelPhase::detail && !press.command && !press.controlOrOption &&
        !composing) {
        const QString typed = event.text();
        if (!typed.isEmpty() && !hasSpecialCharacter(typed)) {
            panel.goBack();
            panel.search().update(typed);
            return true;
        }
    }

    if (!press.key)
        return false;
    const KeyDecision decision = DialcoveCore::KeyboardRouting::decide(
        *press.key, panel.session().phase() == PanelPhase::detail, composing, press.extraModifiers);
    if (decision.kind() == KeyDecision::Kind::passThrough)
        return false;
    perform(decision, panel);
    return true;
}

void KeyboardInput::record(const QKeyEvent& event, ContactsPanel& panel) const {
    const ShortcutRecordingResult result = recorder_.result(event);
    switch (result.kind()) {
    case ShortcutRecordingResult::Kind::ignored:
    case ShortcutRecordingResult::Kind::invalid:
        return;
    case ShortcutRecordingResult::Kind::cancelled:
        panel.keyboard().setRecordingShortcut(false);
        return;
    case ShortcutRecordingResult::Kind::accepted:
        break;
    }
    // Stored before the recording ends: ending it registers the hot key from the settings.
    const DialcoveCore::Shortcut& shortcut = *result.shortcut();
    panel.settings().update(DialcoveCore::PreferenceValue::shortcut(shortcut));
    if (MurvelPreferences::PreferenceSync* sync = panel.settings().sync())
        sync->set(shortcut.encoded(), QStringLiteral("shortcut"));
    panel.keyboard().setRecordingShortcut(false);
    qCInfo(lcKeys) << "shortcut recorded:" << shortcut.keyLabel().c_str();
}

void KeyboardInput::perform(KeyDecision decision, ContactsPanel& panel) {
    using Kind = KeyDecision::Kind;
    switch (decision.kind()) {
    case Kind::moveContact:
    case Kind::moveField:
        panel.navigation().move(*decision.direction());
        break;
    case Kind::moveAction:
        panel.navigation().moveAction(*decision.direction());
        break;
    case Kind::passThrough:
        break;
    case Kind::openContact:
        panel.navigation().openSelected();
        break;
    case Kind::performSelectedAction:
        panel.actions().performSelectedAction();
        break;
    case Kind::copyFirstPhone:
        panel.actions().copySelection();
        break;
    case Kind::openWhatsApp:
        panel.actions().openWhatsApp();
        break;
    case Kind::backToList:
        panel.goBack();
        break;
    case Kind::close:
        panel.close();
        break;
    }
}

} // namespace Dialcove
