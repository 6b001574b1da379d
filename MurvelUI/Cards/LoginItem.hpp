#pragma once

#include "Platform/AutostartEntry.hpp"

#include <QObject>

namespace MurvelUI {

// Whether the application opens at login: the one source of truth that every switch binds to.
// The setting lives only in the desktop's autostart entry; nothing else keeps a copy, so the flag is
// always read back from there. Main thread only.
class LoginItem final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled NOTIFY enabledChanged)
public:
    // Over the autostart entry of the running binary; made on first use.
    static LoginItem& shared();

    // Rewrites an entry that an earlier version wrote for this program (AutostartEntry::renewEarlierEntry).
    explicit LoginItem(Platform::AutostartEntry entry, QObject* parent = nullptr);

    // True exactly when the entry starts this program at login.
    bool enabled() const { return enabled_; }

    // Registers (true) or unregisters (false) the application, then reads the status back. A
    // failure is logged, "login item change failed: <reason>", and goes no further.
    void setEnabled(bool enabled);
    // Reads the status back into `enabled`.
    void refresh();

    const Platform::AutostartEntry& entry() const { return entry_; }

signals:
    // Only when the flag actually changes.
    void enabledChanged(bool enabled);

private:
    Platform::AutostartEntry entry_;
    bool enabled_ = false;
};

} // namespace MurvelUI
