#pragma once

#include "MurvelUI/Brand/MurvelBrand.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

#include <QList>
#include <QPointer>
#include <functional>

class QShortcut;

namespace MurvelUI {

class GlassCard;
class LoginItem;
class MurvelButton;
class MurvelSwitch;
class MurvelText;

// The kit's single-page welcome, 480 points wide with 24 points of padding: the app icon, a title
// and a subtitle, an optional extra view, a glass card of permission rows, the brand's privacy line
// and the product's own, then an "Open at Login" switch bound to the login item and a prominent
// "Get Started" button in the brand colour that Return presses too. Coming on screen, it reads the
// login item again.
class WelcomeLayout : public MurvelStack {
    Q_OBJECT
public:
    // The layout owns `extra` (none for no extra view: then it takes no room and no spacing) and
    // `permissions`. `login` defaults to the shared login item.
    WelcomeLayout(const MurvelBrand& brand, const QString& title, const QString& subtitle,
                  const QString& privacy, const QString& privacySymbol, std::function<void()> start,
                  QWidget* extra, const QList<QWidget*>& permissions, LoginItem* login = nullptr,
                  QWidget* parent = nullptr);

    MurvelText* titleView() const { return title_; }
    MurvelText* subtitleView() const { return subtitle_; }
    QWidget* extra() const { return extra_; }
    GlassCard* card() const { return card_; }
    MurvelSwitch* loginSwitch() const { return switch_; }
    MurvelButton* startButton() const { return start_; }
    QShortcut* returnShortcut() const { return return_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPointer<LoginItem> login_;
    MurvelText* title_;
    MurvelText* subtitle_;
    QWidget* extra_;
    GlassCard* card_;
    MurvelSwitch* switch_;
    MurvelButton* start_;
    QShortcut* return_;
};

} // namespace MurvelUI
