#include "MurvelUI/Controls/MurvelText.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <cmath>

namespace MurvelUI {

namespace {

QString displayed(QString text) {
    return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

} // namespace

MurvelText::MurvelText(const QString& text, QWidget* parent)
    : QWidget(parent), text_(text), color_(MurvelColor::of(&SystemPalette::primary)) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void MurvelText::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    updateGeometry();
    update();
}

void MurvelText::setColor(const MurvelColor& color) {
    if (color == color_)
        return;
    color_ = color;
    update();
}

void MurvelText::setMaximumLines(int lines) {
    if (lines == maximumLines_)
        return;
    maximumLines_ = std::max(0, lines);
    updateGeometry();
    update();
}

void MurvelText::setTextAlignment(Qt::Alignment alignment) {
    alignment_ = alignment & (Qt::AlignLeading | Qt::AlignTrailing | Qt::AlignHCenter);
    update();
}

QList<MurvelText::Line> MurvelText::layOut(qreal width, qreal* height) const {
    const QString text = displayed(text_);
    const QFontMetricsF metrics(font());
    QTextLayout layout(text, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTextDirection(layoutDirection());
    layout.setTextOption(option);
    layout.setCacheEnabled(true);

    QList<Line> lines;
    qreal y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max<qreal>(width, 1));
        const bool last = maximumLines_ > 0 && lines.size() + 1 == maximumLines_;
        QString content = text.mid(line.textStart(), last ? -1 : line.textLength());
        qreal natural = line.naturalTextWidth();
        if (last && line.textStart() + line.textLength() < text.size()) {
            content = metrics.elidedText(content.simplified(), Qt::ElideRight, width);
            natural = metrics.horizontalAdvance(content);
        }
        lines.append({content, 0, y, natural});
        y += std::max(line.height(), metrics.height());
        if (last)
            break;
    }
    layout.endLayout();
    if (lines.isEmpty())
        y = metrics.height(); // an empty text still takes one line

    const bool trailing = alignment_.testFlag(Qt::AlignTrailing) != (layoutDirection() == Qt::RightToLeft);
    const bool centred = alignment_.testFlag(Qt::AlignHCenter);
    for (Line& line : lines)
        line.x = centred ? (width - line.width) / 2 : trailing ? width - line.width : 0;
    *height = y;
    return lines;
}

int MurvelText::idealWidth() const {
    // Measured by the same engine that breaks the lines, so the text fits on one line at this width.
    QTextLayout layout(displayed(text_), font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(layoutDirection());
    layout.setTextOption(option);
    qreal widest = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(1e6);
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout.endLayout();
    return int(std::ceil(widest));
}

int MurvelText::lineCount(int width) const {
    qreal height = 0;
    return int(layOut(width, &height).size());
}

int MurvelText::longestWordWidth() const {
    const QFontMetricsF metrics(font());
    qreal widest = 0;
    for (const QString& word :
         displayed(text_).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return int(std::ceil(widest));
}

QSize MurvelText::sizeHint() const {
    const int width = idealWidth();
    return {width, heightForWidth(width)};
}

QSize MurvelText::minimumSizeHint() const {
    const QFontMetricsF metrics(font());
    const int ellipsis = int(std::ceil(metrics.horizontalAdvance(QStringLiteral("\u2026"))));
    return {std::min(ellipsis, idealWidth()), int(std::ceil(metrics.height()))};
}

int MurvelText::heightForWidth(int width) const {
    qreal height = 0;
    layOut(width, &height);
    return int(std::ceil(height));
}

int MurvelText::firstBaseline(QSize) const {
    return int(std::round(QFontMetricsF(font()).ascent()));
}

MurvelAccessibility MurvelText::accessibility() const {
    return MurvelAccessibility::element(QAccessible::StaticText, text_);
}

void MurvelText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QColor color = color_.resolve(MurvelEnvironment::of(this)->colorScheme());
    if (!isEnabled())
        color.setAlphaF(color.alphaF() * 0.5f);
    painter.setPen(color);
    painter.setFont(font());
    const qreal ascent = std::round(QFontMetricsF(font()).ascent());
    qreal height = 0;
    for (const Line& line : layOut(width(), &height))
        painter.drawText(QPointF(line.x, line.y + ascent), line.text.trimmed());
}

void MurvelText::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LayoutDirectionChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

} // namespace MurvelUI
