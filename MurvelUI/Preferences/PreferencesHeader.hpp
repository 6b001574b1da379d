#pragma once

#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

class AppIcon;
class MurvelText;

// The title line of the preference layouts (kit-internal): the application icon at 48 points when
// `showsIcon`, then the title in the large bold `title` role, wrapping onto more lines rather than
// being cut, read as a heading. At least 48 points tall.
class PreferencesHeader final : public MurvelStack {
    Q_OBJECT
public:
    PreferencesHeader(const QString& title, bool showsIcon, QWidget* parent = nullptr);

    MurvelText* titleView() const { return title_; }
    AppIcon* icon() const { return icon_; }
    void setTitle(const QString& title);

private:
    AppIcon* icon_ = nullptr;
    MurvelText* title_;
};

} // namespace MurvelUI
