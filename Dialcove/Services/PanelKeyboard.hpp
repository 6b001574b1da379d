#pragma once

#include <QObject>
#include <QSet>
#include <QUuid>
#include <functional>

namespace Dialcove {

// The panel's shared keyboard state: whether a new shortcut is being recorded, whether the last
// registration of the hot key failed, and which of the panel's controls has keyboard focus.
// Main thread only.
class PanelKeyboard final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool recordingShortcut READ recordingShortcut NOTIFY recordingShortcutChanged)
    Q_PROPERTY(
        bool shortcutConflict READ shortcutConflict WRITE setShortcutConflict NOTIFY shortcutConflictChanged)

public:
    explicit PanelKeyboard(QObject* parent = nullptr);

    bool recordingShortcut() const { return recordingShortcut_; }
    bool shortcutConflict() const { return shortcutConflict_; }
    const QSet<QUuid>& focusedControls() const { return focusedControls_; }
    bool anyControlFocused() const { return !focusedControls_.isEmpty(); }

    // Runs after every write of recordingShortcut, also one that changes nothing: the hot key is
    // released while recording and registered again afterwards.
    void setOnRecordingChange(std::function<void()> callback);

    void setRecordingShortcut(bool recording);
    void toggleRecording();
    // Stops recording (so the hot key comes back) and forgets the focused controls.
    void reset();
    void setShortcutConflict(bool conflict);
    void setControlFocused(const QUuid& identity, bool focused);

signals:
    void recordingShortcutChanged();
    void shortcutConflictChanged();
    void onRecordingChangeChanged();
    void focusedControlsChanged();

private:
    void setFocusedControls(QSet<QUuid> controls);

    bool recordingShortcut_ = false;
    bool shortcutConflict_ = false;
    std::function<void()> onRecordingChange_ = [] {};
    QSet<QUuid> focusedControls_;
};

} // namespace Dialcove
