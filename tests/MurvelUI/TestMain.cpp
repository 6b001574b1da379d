#include "MurvelUI/MurvelSymbols.hpp"
#include "MurvelUI/MurvelTextStyle.hpp"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says what it cannot do (size hints, raising, grabs) each time a test shows
// a window or a menu.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    defaultHandler = qInstallMessageHandler(quietHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nothing a test does may reach the real home.
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qputenv(variable, home.filePath(QString::fromLatin1(variable)).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QApplication app(argc, argv);
    // Renders come out the same on every machine: a font from the package list, no icon theme.
    MurvelUI::setKitFontFamily(QStringLiteral("DejaVu Sans"));
    MurvelUI::MurvelSymbols::setIconThemeEnabled(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
