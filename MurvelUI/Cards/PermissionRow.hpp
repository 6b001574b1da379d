#pragma once

#include "MurvelUI/Brand/MurvelColor.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

#include <functional>

namespace MurvelUI {

class MurvelButton;
class MurvelLabel;
class MurvelSymbolView;
class MurvelText;

// One numbered permission of the welcome layout: "N.circle" in `color` while not granted (a green
// check once granted) in title 2, then its title in the headline font with an optional "Optional"
// mark, its message in callout and, only while not granted, a small glass button that runs
// `perform`. The symbol reads "Allowed" or "Not allowed yet".
class PermissionRow : public MurvelStack {
    Q_OBJECT
    Q_PROPERTY(bool granted READ isGranted WRITE setGranted NOTIFY grantedChanged)
public:
    PermissionRow(int number, bool isGranted, bool isOptional, const QString& title, const QString& message,
                  const QString& action, const MurvelColor& color, std::function<void()> perform,
                  QWidget* parent = nullptr);

    bool isGranted() const { return granted_; }
    void setGranted(bool granted);

    MurvelSymbolView* stateSymbol() const { return symbol_; }
    // "Allowed" or "Not allowed yet".
    QString stateLabel() const;
    MurvelText* titleView() const { return title_; }
    MurvelText* optionalMark() const { return optional_; }
    MurvelText* messageView() const { return message_; }
    MurvelButton* actionButton() const { return button_; }

signals:
    void grantedChanged();

private:
    void showState();

    int number_;
    bool granted_;
    MurvelColor color_;
    MurvelSymbolView* symbol_;
    MurvelText* title_;
    MurvelText* optional_;
    MurvelText* message_;
    QWidget* buttonBox_;
    MurvelButton* button_;
};

} // namespace MurvelUI
