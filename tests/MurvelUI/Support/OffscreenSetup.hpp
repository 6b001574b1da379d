#pragma once

#include "MurvelUI/Brand/MurvelSymbols.hpp"
#include "MurvelUI/Brand/MurvelTextStyle.hpp"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <initializer_list>

namespace KitTest {

// What the kit's tests and the gallery share before they build a QApplication: the offscreen
// platform unless another is asked for, and the XDG folders in `home`, so that nothing reaches the
// real configuration.
inline void prepareOffscreen(const QTemporaryDir& home) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qputenv(variable, home.filePath(QString::fromLatin1(variable)).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    // The offscreen platform says what it cannot do (size hints, raising, grabs) each time a window
    // or a menu is shown.
    static const QtMessageHandler defaultHandler =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QLatin1String("This plugin does not support")))
                defaultHandler(type, context, message);
        });
}

// Renders that come out the same on every machine: a font from the package list, no icon theme.
inline void pinRendering() {
    MurvelUI::setKitFontFamily(QStringLiteral("DejaVu Sans"));
    MurvelUI::MurvelSymbols::setIconThemeEnabled(false);
}

} // namespace KitTest
