#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Brand/MurvelColorScheme.hpp"
#include "MurvelUI/Brand/MurvelTypeSize.hpp"
#include "Platform/UserDefaults.hpp"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <span>

class QWidget;

namespace MurvelUI {

// Snapshot mode: the program draws one fixed state of a view for screenshots, in a borderless
// window that shows it doubled and ignores every click, key and scroll. Main thread only.
//
// The doubling is the process's scale factor: call `prepareDoubling` in main before the
// application object exists, so the window is exactly twice the view's size in pixels.
class MurvelSnapshot {
public:
    // Which backdrop goes behind the view: the panel's or the welcome window's corners.
    enum class Surface { menu, welcome };

    // A screen as centring sees it: its pixel ratio and the part windows may cover.
    struct ScreenFrame {
        qreal pixelRatio = 1;
        QRectF visible;
    };

    MurvelSnapshot() = delete;

    static qreal cornerRadius(Surface surface);

    // True when any argument begins with "--snapshot-"; a prefix later in an argument does not count.
    static bool isActive();
    static bool isActive(const QStringList& arguments);
    // The argument right after the first one equal to `flag`; none when `flag` is missing or last.
    static std::optional<QString> argument(const QString& flag);
    static std::optional<QString> argument(const QStringList& arguments, const QString& flag);

    // A fresh, empty settings store named `suiteName`, in a new temporary folder that goes with it,
    // so snapshot mode never reads or changes the user's settings. None for a name that is not
    // only letters, digits, '.', '_' and '-', or is "." or "..": it could name another file.
    static std::shared_ptr<Platform::UserDefaults> defaults(const QString& suiteName);

    // The brand's name and " Snapshot".
    static QString title(const MurvelBrand& brand);

    // Doubles every window of the process when `argv` holds a snapshot switch. Before QApplication.
    static void prepareDoubling(int argc, char** argv);

    // Shows `view` on its backdrop in a new snapshot window, in `scheme` at `typeSize`, measured at
    // its fixed width, centred on the sharpest screen and activated. The window owns `view`; a
    // window presented before is closed and deleted.
    static void present(QWidget* view, const MurvelBrand& brand, Surface surface,
                        MurvelColorScheme scheme = MurvelColorScheme::light,
                        MurvelTypeSize typeSize = MurvelTypeSize::large);

    // Moves `window` to the middle of the visible frame of the sharpest screen (the first among
    // equals); leaves it where it is when there is no screen.
    static void center(QWidget* window);
    // The top-left corner `center` gives a window of `size` on `screens`.
    static std::optional<QPointF> centeredOrigin(std::span<const ScreenFrame> screens, QSizeF size);

    // The snapshot window, if one is shown.
    static QWidget* window();
    // Deletes the snapshot window. Must run before the application object goes; `present` makes it
    // run when the application is about to quit.
    static void releaseWindow();
};

} // namespace MurvelUI
