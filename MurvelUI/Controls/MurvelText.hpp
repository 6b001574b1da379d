#pragma once

#include "MurvelUI/Brand/MurvelAccessibility.hpp"
#include "MurvelUI/Brand/MurvelBaseline.hpp"
#include "MurvelUI/Brand/MurvelColor.hpp"

#include <QWidget>

class QTextLayout;

namespace MurvelUI {

// Text shown as given, in the widget's font (inherited unless set), in a colour of the window's
// scheme. It wraps at word boundaries onto as many lines as it needs, up to `maximumLines`, and
// takes the height of those lines, so it is never cut vertically; what does not fit in the last
// allowed line ends in an ellipsis. Drawn at half opacity while disabled.
class MurvelText : public QWidget, public MurvelAccessibleElement, public MurvelBaseline {
    Q_OBJECT
public:
    explicit MurvelText(const QString& text = {}, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

    // The primary colour unless set.
    MurvelColor color() const { return color_; }
    void setColor(const MurvelColor& color);

    // 0 for no limit.
    int maximumLines() const { return maximumLines_; }
    void setMaximumLines(int lines);

    // Qt::AlignLeading (the default), Qt::AlignTrailing or Qt::AlignHCenter for the lines of a wrapped
    // text.
    void setTextAlignment(Qt::Alignment alignment);

    // The width of the text on one line.
    int idealWidth() const;
    // The width of its longest word: narrower, the text breaks inside a word.
    int longestWordWidth() const;
    // How many lines the text takes at `width`, after the limit.
    int lineCount(int width) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    int firstBaseline(QSize size) const override;
    MurvelAccessibility accessibility() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Line {
        QString text;
        qreal x;
        qreal y;
        qreal width;
    };
    // The visible lines at `width`, the last one elided when the limit cuts the text.
    QList<Line> layOut(qreal width, qreal* height) const;

    QString text_;
    MurvelColor color_;
    int maximumLines_ = 0;
    Qt::Alignment alignment_ = Qt::AlignLeading;
};

} // namespace MurvelUI
