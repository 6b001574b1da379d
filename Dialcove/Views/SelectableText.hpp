#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"

#include <QTextLayout>
#include <QWidget>
#include <memory>

namespace Dialcove {

// A value the user may select with the mouse and copy: shown in the widget's font and a colour of
// the window's scheme, wrapped onto as many lines as it needs, breaking inside a word that is wider
// than the line, so nothing ever reaches past the widget's right edge. Line breaks in the text are
// kept as line breaks. A drag selects, a double click selects everything; the selection goes to the
// desktop's primary selection and the context menu copies it (or the whole text) to the clipboard.
// Takes no keyboard focus: the panel's keys stay with the panel.
class SelectableText final : public QWidget, public MurvelUI::MurvelAccessibleElement {
    Q_OBJECT
public:
    explicit SelectableText(const QString& text = {}, QWidget* parent = nullptr);
    ~SelectableText() override;

    QString text() const { return text_; }
    void setText(const QString& text);
    void setColor(const MurvelUI::MurvelColor& color);

    // The selected part of the text; empty when nothing is selected.
    QString selectedText() const;
    void selectAll();
    // How many lines the text takes at `width`.
    int lineCount(int width) const;
    // The widest line at the current width.
    qreal longestLineWidth() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    MurvelUI::MurvelAccessibility accessibility() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The text laid out at `width`, kept until the text, font or width changes.
    QTextLayout& layoutAt(int width) const;
    qreal laidOutHeight(int width) const;
    int cursorAt(const QPointF& point) const;
    void setSelection(int anchor, int position);
    void publishSelection() const;
    void relayout();

    QString text_;
    MurvelUI::MurvelColor color_;
    mutable std::unique_ptr<QTextLayout> layout_;
    mutable int layoutWidth_ = -1;
    int anchor_ = 0;
    int position_ = 0;
    bool selecting_ = false;
};

} // namespace Dialcove
