#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Update/AvailableUpdate.hpp"

#include <functional>

namespace MurvelUI {

class MurvelButton;
class MurvelLabel;
class MurvelText;

// The offer of a newer version: "Version <version> is here" after "arrow.down.circle" in the brand
// accent, how to install it, and the buttons "Download" (opens the download link through the
// window's `MurvelEnvironment`) and "Not now" (runs `setAside`). Spans its container's width on the
// quiet fill. Holds no state: its host removes it when the update is no longer offered.
class UpdateCard : public MurvelStack {
    Q_OBJECT
public:
    UpdateCard(const MurvelBrand& brand, const AvailableUpdate& update, std::function<void()> setAside,
               QWidget* parent = nullptr);

    const AvailableUpdate& update() const { return update_; }
    MurvelLabel* titleLabel() const { return title_; }
    MurvelText* messageView() const { return message_; }
    MurvelButton* downloadButton() const { return download_; }
    MurvelButton* notNowButton() const { return notNow_; }

protected:
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override;

private:
    AvailableUpdate update_;
    std::function<void()> setAside_;
    MurvelLabel* title_;
    MurvelText* message_;
    MurvelButton* download_;
    MurvelButton* notNow_;
};

} // namespace MurvelUI
