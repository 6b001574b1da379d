#include "Dialcove/Views/SelectableText.hpp"

#include "MurvelUI/Brand/MurvelEnvironment.hpp"
#include "MurvelUI/Brand/SystemPalette.hpp"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace Dialcove {

namespace {

QString displayed(QString text) {
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);
    return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
}

} // namespace

SelectableText::SelectableText(const QString& text, QWidget* parent)
    : QWidget(parent), text_(text), color_(MurvelUI::MurvelColor::of(&MurvelUI::SystemPalette::primary)) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::NoFocus);
}

SelectableText::~SelectableText() = default;

void SelectableText::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    anchor_ = position_ = 0;
    relayout();
}

void SelectableText::setColor(const MurvelUI::MurvelColor& color) {
    if (color == color_)
        return;
    color_ = color;
    update();
}

void SelectableText::relayout() {
    layout_.reset();
    layoutWidth_ = -1;
    updateGeometry();
    update();
}

QTextLayout& SelectableText::layoutAt(int width) const {
    width = std::max(width, 1);
    if (layout_ && layoutWidth_ == width)
        return *layout_;
    layout_ = std::make_unique<QTextLayout>(displayed(text_), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTextDirection(layoutDirection());
    layout_->setTextOption(option);
    layout_->setCacheEnabled(true);
    const qreal minimumLine = QFontMetricsF(font()).height();
    qreal y = 0;
    layout_->beginLayout();
    for (QTextLine line = layout_->createLine(); line.isValid(); line = layout_->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += std::max(line.height(), minimumLine);
    }
    layout_->endLayout();
    layoutWidth_ = width;
    return *layout_;
}

qreal SelectableText::laidOutHeight(int width) const {
    QTextLayout& layout = layoutAt(width);
    if (layout.lineCount() == 0)
        return QFontMetricsF(font()).height(); // an empty value still takes one line
    const QTextLine last = layout.lineAt(layout.lineCount() - 1);
    return last.y() + std::max(last.height(), QFontMetricsF(font()).height());
}

int SelectableText::lineCount(int width) const {
    return layoutAt(width).lineCount();
}

qreal SelectableText::longestLineWidth() const {
    QTextLayout& layout = layoutAt(width());
    qreal widest = 0;
    for (int i = 0; i < layout.lineCount(); ++i)
        widest = std::max(widest, layout.lineAt(i).naturalTextWidth());
    return widest;
}

QSize SelectableText::sizeHint() const {
    // The width of the text on one line, capped: a hostile value must not ask for a huge window.
    // Measured without laying the text out, so the layout kept for the real width stays.
    const QFontMetricsF metrics(font());
    const QStringList lines = displayed(text_).split(QChar::LineSeparator);
    qreal widest = 0;
    for (const QString& line : lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const int width = int(std::ceil(std::min<qreal>(widest, 4096)));
    return {width, int(std::ceil(metrics.height() * qreal(lines.size())))};
}

QSize SelectableText::minimumSizeHint() const {
    return {0, int(std::ceil(QFontMetricsF(font()).height()))};
}

int SelectableText::heightForWidth(int width) const {
    return int(std::ceil(laidOutHeight(width)));
}

MurvelUI::MurvelAccessibility SelectableText::accessibility() const {
    return MurvelUI::MurvelAccessibility::element(QAccessible::StaticText, text_);
}

QString SelectableText::selectedText() const {
    const int from = std::min(anchor_, position_);
    const int to = std::max(anchor_, position_);
    // Line separators stand for the value's own line breaks.
    return displayed(text_).mid(from, to - from).replace(QChar::LineSeparator, QLatin1Char('\n'));
}

void SelectableText::selectAll() {
    setSelection(0, int(displayed(text_).size()));
    publishSelection();
}

int SelectableText::cursorAt(const QPointF& point) const {
    QTextLayout& layout = layoutAt(width());
    if (layout.lineCount() == 0)
        return 0;
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (point.y() < line.y() + line.height() || i == layout.lineCount() - 1)
            return line.xToCursor(point.x());
    }
    return 0;
}

void SelectableText::setSelection(int anchor, int position) {
    if (anchor == anchor_ && position == position_)
        return;
    anchor_ = anchor;
    position_ = position;
    update();
}

void SelectableText::publishSelection() const {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString selected = selectedText();
    if (clipboard && clipboard->supportsSelection() && !selected.isEmpty())
        clipboard->setText(selected, QClipboard::Selection);
}

void SelectableText::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    const int cursor = cursorAt(event->position());
    selecting_ = true;
    setSelection(cursor, cursor);
}

void SelectableText::mouseMoveEvent(QMouseEvent* event) {
    if (!selecting_)
        return QWidget::mouseMoveEvent(event);
    setSelection(anchor_, cursorAt(event->position()));
}

void SelectableText::mouseReleaseEvent(QMouseEvent* event) {
    if (!selecting_ || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    selecting_ = false;
    setSelection(anchor_, cursorAt(event->position()));
    publishSelection();
}

void SelectableText::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    selectAll();
}

void SelectableText::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const QString chosen = selectedText().isEmpty() ? text_ : selectedText();
    menu.addAction(tr("Copy"), this, [chosen] {
        if (QClipboard* clipboard = QGuiApplication::clipboard())
            clipboard->setText(chosen);
    });
    menu.exec(event->globalPos());
}

void SelectableText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const MurvelUI::MurvelColorScheme scheme = MurvelUI::MurvelEnvironment::of(this)->colorScheme();
    QColor color = color_.resolve(scheme);
    if (!isEnabled())
        color.setAlphaF(color.alphaF() * 0.5f);
    painter.setPen(color);
    QVector<QTextLayout::FormatRange> selections;
    if (anchor_ != position_) {
        QTextLayout::FormatRange range;
        range.start = std::min(anchor_, position_);
        range.length = std::abs(position_ - anchor_);
        range.format.setBackground(palette().brush(QPalette::Highlight));
        range.format.setForeground(palette().brush(QPalette::HighlightedText));
        selections.append(range);
    }
    layoutAt(width()).draw(&painter, QPointF(0, 0), selections);
}

void SelectableText::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LayoutDirectionChange)
        relayout();
    QWidget::changeEvent(event);
}

} // namespace Dialcove
