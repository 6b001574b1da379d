#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Controls/KeyboardUseTracker.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

// The frame of every settings-like window (the preference layouts, the welcome steps): exactly
// `width` points wide and as tall as its content plus the insets (48 points at the top, 32 on the
// other edges), on the brand gradient. Inside it, the window's tint is the brand accent and the
// window's `keyboardUsed` is the chrome's own flag.
//
// Focus rings show only after keyboard use, as its `KeyboardUseTracker` records it: while the
// chrome is shown in the active window, the first key press sets the flag; the window becoming
// active again clears it. Nothing inside draws Qt's own focus frame; the kit's rings are the only
// focus marks.
// The chrome sets the environment of whatever window it is in when it is shown.
class PreferencesChrome : public MurvelStack {
    Q_OBJECT
    Q_PROPERTY(bool keyboardUsed READ keyboardUsed NOTIFY keyboardUsedChanged)
public:
    // The chrome owns `content`.
    PreferencesChrome(const MurvelBrand& brand, int width, QWidget* content, QWidget* parent = nullptr);

    const MurvelBrand& brand() const { return brand_; }
    QWidget* content() const { return content_; }
    int chromeWidth() const { return width_; }

    bool keyboardUsed() const { return keys_->keyboardUsed(); }
    // Whether the chrome's window was last seen active (from its activation events).
    bool appearsActive() const { return keys_->appearsActive(); }
    const KeyboardUseMonitor& keyboardMonitor() const { return keys_->monitor(); }

    // Always `width` wide, and as tall as the content needs at that width.
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

    // The inset of the content: 16 + 32 at the top, 32 elsewhere.
    static QMargins insets() { return {32, 48, 32, 32}; }

signals:
    void keyboardUsedChanged(bool used);

protected:
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void publish();

    MurvelBrand brand_;
    int width_;
    QWidget* content_;
    KeyboardUseTracker* keys_;
};

} // namespace MurvelUI
