#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"
#include "MurvelUI/Panel/PanelFooterAction.hpp"

#include <QList>
#include <functional>
#include <optional>

class QShortcut;

namespace MurvelUI {

class MurvelText;
class PanelFooterButton;
class PrivacyLine;

// The bottom of the search panel: a divider, the brand's privacy line over the caller's, the
// version line ("Murvel Works (<version>)", then "· <badge>" when the extra action has one) and the
// round buttons "Preferences" (only with `showPreferences`; Ctrl+,), the extra action, "Getting
// Started" and "Quit" (Ctrl+Q). Built by `MurvelPanel`.
class PanelFooter final : public MurvelStack {
    Q_OBJECT
public:
    struct Inputs {
        MurvelBrand brand;
        QString privacy;
        QString privacySymbol;
        std::function<void()> showGuide;
        // None: no "Preferences" button and no Ctrl+,.
        std::function<void()> showPreferences;
        std::function<void(bool)> preferencesFocusChanged;
        std::optional<PanelFooterAction> footerAction;
    };

    explicit PanelFooter(Inputs inputs, QWidget* parent = nullptr);

    // "Murvel Works (<version>)", with "?" for an empty version.
    static QString versionText(const QString& shortVersion);
    // The application's version, read when the footer is built.
    QString shortVersion() const { return shortVersion_; }

    // What "Quit" and Ctrl+Q run: QCoreApplication::quit unless replaced.
    void setQuitAction(std::function<void()> quit) { quit_ = std::move(quit); }
    // The window shortcuts (Ctrl+, and Ctrl+Q), off while another control must get every key.
    void setShortcutsEnabled(bool enabled);
    QList<QShortcut*> shortcuts() const;

    PrivacyLine* brandPrivacyLine() const { return brandPrivacy_; }
    PrivacyLine* privacyLine() const { return privacy_; }
    MurvelText* versionView() const { return version_; }
    PanelFooterButton* preferencesButton() const { return preferences_; }
    PanelFooterButton* actionButton() const { return action_; }
    PanelFooterButton* guideButton() const { return guide_; }
    PanelFooterButton* quitButton() const { return quitButton_; }

private:
    void quit() const;

    std::function<void()> quit_;
    QString shortVersion_;
    PrivacyLine* brandPrivacy_;
    PrivacyLine* privacy_;
    MurvelText* version_;
    PanelFooterButton* preferences_ = nullptr;
    PanelFooterButton* action_ = nullptr;
    PanelFooterButton* guide_;
    PanelFooterButton* quitButton_;
    QShortcut* preferencesShortcut_ = nullptr;
    QShortcut* quitShortcut_;
};

} // namespace MurvelUI
