#pragma once

#include "MurvelUI/Brand/FixedWindowSizeReport.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Brand/MurvelColorScheme.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "MurvelUI/Update/UpdateNotifier.hpp"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <optional>

class QWidget;

namespace MurvelUI {

// The values a window hands down to every kit view inside it: the colour scheme, whether the
// keyboard has been used, the text size, the tint, the update notifier, the way to open a URL and
// the way content reports its ideal size to a fixed window.
//
// Each window has one, made on first use and owned by the window. Kit views read it when they
// paint or lay out. A change emits `changed` and sends an event of `changeEventType()` to the
// window and every widget in it, then repaints the window; a value set to what it already holds
// changes nothing. Main thread only.
class MurvelEnvironment final : public QObject {
    Q_OBJECT
public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    // The environment of the window that holds `widget`.
    static MurvelEnvironment* of(const QWidget* widget);
    // The event that a change of any value sends to the widgets of the window.
    static QEvent::Type changeEventType();

    QWidget* window() const { return window_; }

    // The forced scheme when one is set, else dark exactly when the window's palette is dark.
    MurvelColorScheme colorScheme() const;
    std::optional<MurvelColorScheme> forcedColorScheme() const { return forcedScheme_; }
    void setForcedColorScheme(std::optional<MurvelColorScheme> scheme);

    // True once the user has used the keyboard in the window; the window chrome sets it.
    bool keyboardUsed() const { return keyboardUsed_; }
    void setKeyboardUsed(bool used);

    MurvelTypeSize typeSize() const { return typeSize_; }
    void setTypeSize(MurvelTypeSize size);

    // The colour of controls that have no tint of their own (switches, the `good` status icon);
    // none by default, and then each control falls back to the system accent. The preferences
    // chrome sets it to the brand accent.
    std::optional<MurvelColor> tint() const { return tint_; }
    void setTint(std::optional<MurvelColor> tint);

    // Where content that sizes a non-scrolling `FixedWindow` reports its natural size; none by
    // default, and set by that window only.
    const std::optional<FixedWindowSizeReport>& fixedWindowIdealSize() const { return idealSize_; }
    void setFixedWindowIdealSize(std::optional<FixedWindowSizeReport> report);

    // None by default, so a window without a notifier shows no update card.
    UpdateNotifier* updateNotifier() const { return updateNotifier_; }
    void setUpdateNotifier(UpdateNotifier* notifier);

    // Opens `url` through this window's opener, else the process-wide one, else the desktop's
    // default; true when it was handed over.
    bool openUrl(const QUrl& url) const;
    void setUrlOpener(UrlOpener opener);
    // The opener of every window that has none of its own; the application sets it once.
    static void setDefaultUrlOpener(UrlOpener opener);

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit MurvelEnvironment(QWidget* window);
    void publish();

    QWidget* window_;
    std::optional<MurvelColorScheme> forcedScheme_;
    MurvelColorScheme publishedScheme_;
    bool keyboardUsed_ = false;
    MurvelTypeSize typeSize_ = MurvelTypeSize::large;
    std::optional<MurvelColor> tint_;
    std::optional<FixedWindowSizeReport> idealSize_;
    QPointer<UpdateNotifier> updateNotifier_;
    UrlOpener urlOpener_;
};

} // namespace MurvelUI
