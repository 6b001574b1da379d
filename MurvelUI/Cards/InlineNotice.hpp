#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Cards/NoticeKind.hpp"
#include "MurvelUI/Controls/MurvelStack.hpp"

namespace MurvelUI {

class MurvelSymbolView;
class MurvelText;

// A compact, quiet notice inside a form or card: the kind's symbol, a text that wraps as needed,
// and optionally a trailing control, on one first baseline, in the `support` font, on a rounded
// quiet fill that spans the container's width.
class InlineNotice : public MurvelStack, public MurvelAccessibleElement {
    Q_OBJECT
public:
    // `trailing`, when given, is owned by the notice and stays reachable on its own.
    InlineNotice(NoticeKind kind, const QString& text, QWidget* trailing = nullptr,
                 QWidget* parent = nullptr);

    NoticeKind kind() const { return kind_; }
    bool hasTrailing() const { return trailing_ != nullptr; }
    MurvelSymbolView* symbolView() const { return symbol_; }
    MurvelText* textView() const { return text_; }
    QWidget* trailing() const { return trailing_; }

    MurvelAccessibility accessibility() const override;

protected:
    void paintBackground(QPainter& painter, MurvelColorScheme scheme) override;

private:
    NoticeKind kind_;
    MurvelSymbolView* symbol_;
    MurvelText* text_;
    QWidget* trailing_;
};

} // namespace MurvelUI
