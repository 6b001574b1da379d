#pragma once

#include <QObject>
#include <QPointer>
#include <QSizeF>
#include <QMargins>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace MurvelUI {

class FixedNativeWindow;
class FixedWindowContent;

// One window of fixed width whose height follows its content: the user can neither resize nor
// minimise it. The window is made on the first `show` (or `makeWindow`), kept when closed and shown
// again as it was, with the same content and its state. Shown while hidden, it is centred on the
// screen under the pointer.
//
// Content reports its size in one of two ways: a scrolling window measures the content itself (its
// size hint's width, the height for that width); a non-scrolling window hands the content a
// `FixedWindowSizeReport` through `MurvelEnvironment::fixedWindowIdealSize()`, and the content
// calls it. Reports made in one turn of the event loop are applied once, with the newest size: the
// height rounded up to a multiple of 4 and capped at the screen's available height less 64 (see
// `FixedWindowGeometry`). Only this object sizes the window; its content never does.
//
// Main thread only. The object owns its window and deletes it when it goes.
class FixedWindow final : public QObject {
    Q_OBJECT
public:
    // Builds the content once, when the window is made; the window owns what it returns.
    using ContentBuilder = std::function<QWidget*()>;

    // `closesWithCommandW`: Control-W closes the window. `anchorsTop`: a new height keeps the top
    // edge (else the vertical centre), and a window shown before its first report is centred again
    // after that report. `scrollsContent`: the content sits in a vertical scroll area and is measured.
    FixedWindow(bool closesWithCommandW, bool anchorsTop, bool scrollsContent, QObject* parent = nullptr);
    ~FixedWindow() override;

    // Makes the window if needed, places it when hidden, then shows, raises and activates it.
    // `onClose` runs after each close from now on, replacing the previous one; the title, width and
    // content count only when the window is made.
    QWidget* show(const QString& title, int width, std::function<void()> onClose,
                  const ContentBuilder& content);
    // Makes the window once (without showing it) and returns it; `onClose` as for `show`.
    QWidget* makeWindow(const QString& title, int width, std::function<void()> onClose,
                        const ContentBuilder& content);

    // Accepts a content size (finite and above zero, else dropped) and applies it one turn later,
    // together with any other reports of this turn.
    void report(QSizeF size);
    // Sizes and places the window for a content size now.
    void resize(QSizeF size);

    // Centres `window`'s frame on the available area of the screen under the pointer (else the
    // primary screen), rounded to whole points and not moved inside the screen.
    static void centerOnMouseScreen(QWidget* window);

    // The window, once made.
    QWidget* window() const;
    FixedWindowContent* windowContent() const { return content_; }
    std::optional<QSizeF> contentSize() const { return contentSize_; }
    bool centersAfterResize() const { return centersAfterResize_; }
    // How often the window's frame was written (sized or moved) by `resize`; for tests.
    int frameWrites() const { return frameWrites_; }

private:
    // Centres the window on the screen under the pointer, noting the frame it was centred with.
    void centre();
    static void centerOnMouseScreen(QWidget* window, QSize frameSize);

    bool closesWithCommandW_;
    bool anchorsTop_;
    bool scrollsContent_;
    QPointer<FixedNativeWindow> window_;
    FixedWindowContent* content_ = nullptr;
    std::function<void()> onClose_;
    std::optional<QSizeF> contentSize_;
    // The frame the window had when it was last centred in this showing; none once it closed.
    std::optional<QMargins> centredMargins_;
    bool resizePending_ = false;
    bool centersAfterResize_ = false;
    int frameWrites_ = 0;
};

} // namespace MurvelUI
