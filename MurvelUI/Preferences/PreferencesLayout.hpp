#pragma once

#include "MurvelUI/Preferences/PreferencesChrome.hpp"

namespace MurvelUI {

class PreferencesHeader;

// The single-form preferences page: in a 560-point `PreferencesChrome`, a header with the
// application icon and `title`, and 32 points below it the content, across the chrome's inner
// width of 496 points.
class PreferencesLayout final : public PreferencesChrome {
    Q_OBJECT
public:
    // The layout owns `content`.
    PreferencesLayout(const MurvelBrand& brand, const QString& title, QWidget* content,
                      QWidget* parent = nullptr);

    PreferencesHeader* header() const { return header_; }
    QWidget* formContent() const { return formContent_; }

    static constexpr int outerWidth = 560;

private:
    PreferencesLayout(const MurvelBrand& brand, PreferencesHeader* header, QWidget* content, QWidget* parent);

    PreferencesHeader* header_;
    QWidget* formContent_;
};

} // namespace MurvelUI
