#include "Dialcove/Services/PanelKeyboard.hpp"

#include "Dialcove/Async/MainThread.hpp"
#include "Dialcove/Async/PropertyUpdate.hpp"

namespace Dialcove {

PanelKeyboard::PanelKeyboard(QObject* parent) : QObject(parent) {}

void PanelKeyboard::setOnRecordingChange(std::function<void()> callback) {
    assertMainThread();
    onRecordingChange_ = callback ? std::move(callback) : std::function<void()>([] {});
    emit onRecordingChangeChanged();
}

void PanelKeyboard::setRecordingShortcut(bool recording) {
    assertMainThread();
    updateProperty(recordingShortcut_, recording, [this] { emit recordingShortcutChanged(); });
    // A copy: the callback may replace itself.
    const auto callback = onRecordingChange_;
    callback();
}

void PanelKeyboard::toggleRecording() {
    setRecordingShortcut(!recordingShortcut_);
}

void PanelKeyboard::reset() {
    setRecordingShortcut(false);
    setFocusedControls({});
}

void PanelKeyboard::setShortcutConflict(bool conflict) {
    assertMainThread();
    updateProperty(shortcutConflict_, conflict, [this] { emit shortcutConflictChanged(); });
}

void PanelKeyboard::setControlFocused(const QUuid& identity, bool focused) {
    QSet<QUuid> controls = focusedControls_;
    if (focused)
        controls.insert(identity);
    else
        controls.remove(identity);
    setFocusedControls(std::move(controls));
}

void PanelKeyboard::setFocusedControls(QSet<QUuid> controls) {
    assertMainThread();
    updateProperty(focusedControls_, std::move(controls), [this] { emit focusedControlsChanged(); });
}

} // namespace Dialcove
