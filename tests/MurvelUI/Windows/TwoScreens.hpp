#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>

namespace WindowTest {

// The desktop of the window tests: a primary screen 1280 by 800 and, right of it, one 1024 by 700.
inline const QRect primaryArea(0, 0, 1280, 800);
inline const QRect secondArea(1280, 0, 1024, 700);

inline QByteArray screensConfig() {
    return R"({
  "synchronousWindowSystemEvents": true,
  "windowFrameMargins": true,
  "screens": [
    {"name": "primary", "x": 0, "y": 0, "width": 1280, "height": 800,
     "logicalDpiX": 96, "logicalDpiY": 96, "dpr": 1},
    {"name": "second", "x": 1280, "y": 0, "width": 1024, "height": 700,
     "logicalDpiX": 96, "logicalDpiY": 96, "dpr": 1}
  ]
})";
}

inline QScreen* screenNamed(const char* name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == QLatin1String(name))
            return screen;
    return nullptr;
}

} // namespace WindowTest
