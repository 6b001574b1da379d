// Renders the app's own pictures to PNG files: the tray icon of every status on a light and a dark
// panel, at the sizes trays ask for, and the window icon. Usage: DialcoveStatusIconGallery <output folder>.

#include "Dialcove/Shell/AppWindowIcon.hpp"
#include "Dialcove/Shell/LiveRuntime.hpp"
#include "tests/MurvelUI/Support/OffscreenSetup.hpp"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

using DialcoveCore::MenuStatus;

namespace {

struct Scheme {
    const char* name;
    QColor background; // a tray panel
    QColor text;       // the palette's window text, which the icon is drawn in
};

const std::pair<MenuStatus, const char*> statuses[] = {
    {MenuStatus::ready, "ready"},
    {MenuStatus::disabled, "disabled"},
    {MenuStatus::needsPermission, "needsPermission"},
    {MenuStatus::shortcutConflict, "shortcutConflict"},
    {MenuStatus::copied, "copied"},
};
constexpr int sizes[] = {16, 22, 32, 48};

QImage statusIcons(const Scheme& scheme) {
    const int column = 150;
    const int row = 64;
    QImage image(column * int(std::size(statuses)), row + 24, QImage::Format_ARGB32_Premultiplied);
    image.fill(scheme.background);
    QPainter painter(&image);
    painter.setPen(scheme.text);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    for (std::size_t i = 0; i < std::size(statuses); ++i) {
        const auto& [status, name] = statuses[i];
        const QIcon icon = Dialcove::LiveRuntime::statusIcon(status, scheme.text);
        int x = int(i) * column + 8;
        for (const int size : sizes) {
            painter.drawPixmap(x, 8 + (48 - size) / 2, icon.pixmap(size, size));
            x += size + 6;
        }
        painter.drawText(QRect(int(i) * column, row, column, 20), Qt::AlignCenter, QString::fromLatin1(name));
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: DialcoveStatusIconGallery <output folder>\n");
        return 2;
    }
    QTemporaryDir home;
    KitTest::prepareOffscreen(home);
    QApplication app(argc, argv);
    KitTest::pinRendering();

    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }
    const Scheme schemes[] = {{"light", QColor(0xf0, 0xf0, 0xf0), QColor(0x1e, 0x1e, 0x1e)},
                              {"dark", QColor(0x2a, 0x2a, 0x2e), QColor(0xf2, 0xf2, 0xf2)}};
    bool saved = true;
    for (const Scheme& scheme : schemes)
        saved &= statusIcons(scheme).save(out.filePath(
            QStringLiteral("dialcove-status-icons-%1.png").arg(QString::fromLatin1(scheme.name))));
    saved &=
        Dialcove::appWindowIcon().pixmap(128, 128).toImage().save(out.filePath("dialcove-window-icon.png"));
    if (!saved) {
        std::fprintf(stderr, "cannot write the pictures to %s\n", argv[1]);
        return 1;
    }
    std::printf("Dialcove's pictures written to %s\n", argv[1]);
    return 0;
}
