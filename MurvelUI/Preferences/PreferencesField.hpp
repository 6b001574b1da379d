#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelFont.hpp"

#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace MurvelUI {

class BrandFocusRing;

// A text field of preference forms: a frameless line edit in the `support` (or, for
// `detailField`, the `detail`) font on the strong fill in a capsule exactly 28 points tall, with 12
// points of room at each end. A click anywhere in the capsule focuses the field while it is enabled.
// The kit's capsule ring shows while the field has the focus, once the keyboard has been used in
// the window; a field focused by a click before any key press shows none.
class PreferencesField final : public QWidget, public MurvelAccessibleElement {
    Q_OBJECT
public:
    explicit PreferencesField(MurvelFont role = MurvelFont::support, QWidget* parent = nullptr);
    static PreferencesField* detailField(QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return edit_; }
    BrandFocusRing* ring() const { return ring_; }
    MurvelFont role() const { return role_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    MurvelAccessibility accessibility() const override { return {}; }

    static constexpr int fieldHeight = 28;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateRing();
    void restyle();

    MurvelFont role_;
    QLineEdit* edit_;
    QPointer<BrandFocusRing> ring_;
};

} // namespace MurvelUI
