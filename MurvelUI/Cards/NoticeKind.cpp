#include "MurvelUI/Cards/NoticeKind.hpp"

#include "MurvelUI/Brand/BrandPalette.hpp"

namespace MurvelUI {

QString symbolOf(NoticeKind kind) {
    switch (kind) {
    case NoticeKind::warning:
        return QStringLiteral("exclamationmark.triangle");
    case NoticeKind::waiting:
        return QStringLiteral("clock");
    case NoticeKind::info:
        return QStringLiteral("info.circle");
    }
    return {};
}

MurvelColor symbolColorOf(NoticeKind kind) {
    return MurvelColor::of(kind == NoticeKind::warning ? &BrandPalette::attention : &BrandPalette::secondary);
}

} // namespace MurvelUI
