#include "oemtextbox.h"

#include "oemtextaccessible.h"
#include "platform/codepage.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <algorithm>
#include <limits>

namespace spindeck::ui {

namespace {

constexpr int kMargin = 4;   // pixels between the frame and the text
constexpr int kTabWidth = 8; // columns per tab stop, as on a DOS screen

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A screen reader speaks what a change event carries; more than a few screens of it helps nobody,
// and the whole of a large file stays readable through text ranges.
constexpr int kMaxAnnouncedLength = 64 * 1024;

int clampedInt(std::size_t value) {
    return static_cast<int>(std::min<std::size_t>(value, std::numeric_limits<int>::max()));
}

} // namespace

OemTextBox::OemTextBox(QWidget* parent) : QAbstractScrollArea(parent) {
    static const bool accessibleInstalled = (QAccessible::installFactory(&oemTextBoxAccessible), true);
    Q_UNUSED(accessibleInstalled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    indexLines();
}

void OemTextBox::setOemText(std::string bytes) {
    const QString removedHead = QAccessible::isActive() ? textRange(0, kMaxAnnouncedLength) : QString();
    m_bytes = std::move(bytes);
    m_anchor = m_position = 0;
    indexLines();
    verticalScrollBar()->setValue(0);
    updateScrollBar();
    viewport()->update();
    notifyTextChanged(removedHead);
}

// The change is told as the old text replaced by the new one, each cut to its first
// kMaxAnnouncedLength characters. Nothing is decoded while no screen reader listens.
void OemTextBox::notifyTextChanged(const QString& removedHead) {
    if (!QAccessible::isActive()) {
        return;
    }
    QAccessibleTextUpdateEvent event(this, 0, removedHead, textRange(0, kMaxAnnouncedLength));
    event.setCursorPosition(0);
    QAccessible::updateAccessibility(&event);
}

void OemTextBox::clear() {
    setOemText({});
}

QString OemTextBox::toPlainText() const {
    return QString::fromStdU16String(platform::oemTextForDisplay(m_bytes));
}

QString OemTextBox::selectedText() const {
    const auto [from, to] = std::minmax(m_anchor, m_position);
    return QString::fromStdU16String(platform::oemTextForDisplay(std::string_view(m_bytes).substr(from, to - from)));
}

int OemTextBox::firstVisibleLine() const {
    return verticalScrollBar()->value();
}

void OemTextBox::selectAll() {
    select(0, m_bytes.size());
}

void OemTextBox::copy() const {
    if (m_anchor != m_position) {
        QApplication::clipboard()->setText(selectedText());
    }
}

// One pass over the bytes. A text that ends with a line end has an empty last line, as in any
// text box.
void OemTextBox::indexLines() {
    m_lines.clear();
    const std::size_t size = m_bytes.size();
    m_textStarts.clear();
    std::size_t start = 0;
    for (;;) {
        std::size_t end = start;
        while (end < size && !isLineEnd(m_bytes[end]) && end - start < kMaxLineLength) {
            ++end;
        }
        m_lines.push_back({start, end - start});
        if (end == size) {
            break;
        }
        if (isLineEnd(m_bytes[end])) {
            const bool crLf = m_bytes[end] == '\r' && end + 1 < size && m_bytes[end + 1] == '\n';
            end += crLf ? 2 : 1;
        }
        start = end;
    }
}

std::size_t OemTextBox::lineOfByte(std::size_t offset) const {
    const auto after = std::upper_bound(m_lines.begin(), m_lines.end(), offset,
                                        [](std::size_t value, const Line& line) { return value < line.start; });
    return static_cast<std::size_t>(std::distance(m_lines.begin(), after)) - 1;
}

// Made on the first request for characters after a change, from the line index alone: showing a
// file costs nothing more for it. A line is followed by a line end (one character) when the next
// line does not start right after it.
const std::vector<std::size_t>& OemTextBox::textStarts() const {
    if (m_textStarts.empty()) {
        m_textStarts.reserve(m_lines.size());
        std::size_t text = 0;
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            m_textStarts.push_back(text);
            text += m_lines[i].length;
            if (i + 1 < m_lines.size() && m_lines[i + 1].start > m_lines[i].start + m_lines[i].length) {
                ++text;
            }
        }
    }
    return m_textStarts;
}

std::size_t OemTextBox::lineOfCharacter(std::size_t offset) const {
    const std::vector<std::size_t>& starts = textStarts();
    return static_cast<std::size_t>(
               std::distance(starts.begin(), std::upper_bound(starts.begin(), starts.end(), offset))) -
           1;
}

std::size_t OemTextBox::clampedCharacter(int offset) const {
    return static_cast<std::size_t>(std::clamp(offset, 0, characterCount()));
}

// The line end that follows a line is one character and one or two bytes; an offset on it maps to
// its first byte.
std::size_t OemTextBox::byteOfCharacter(int offset) const {
    const std::size_t character = clampedCharacter(offset);
    const std::size_t index = lineOfCharacter(character);
    return m_lines[index].start + std::min(character - textStarts()[index], m_lines[index].length);
}

int OemTextBox::characterOfByte(std::size_t offset) const {
    const std::size_t index = lineOfByte(std::min(offset, m_bytes.size()));
    return clampedInt(textStarts()[index] + std::min(offset - m_lines[index].start, m_lines[index].length));
}

int OemTextBox::characterCount() const {
    return clampedInt(textStarts().back() + m_lines.back().length);
}

QString OemTextBox::textRange(int from, int to) const {
    const std::size_t first = byteOfCharacter(from);
    const std::size_t last = std::max(first, byteOfCharacter(to));
    return QString::fromStdU16String(
        platform::oemTextForDisplay(std::string_view(m_bytes).substr(first, last - first)));
}

std::pair<int, int> OemTextBox::lineRangeAt(int offset) const {
    const std::size_t index = lineOfCharacter(clampedCharacter(offset));
    const std::vector<std::size_t>& starts = textStarts();
    const std::size_t end = index + 1 < m_lines.size() ? starts[index + 1] : starts[index] + m_lines[index].length;
    return {clampedInt(starts[index]), clampedInt(end)};
}

std::pair<int, int> OemTextBox::selectedRange() const {
    const auto [from, to] = std::minmax(m_anchor, m_position);
    return {characterOfByte(from), characterOfByte(to)};
}

int OemTextBox::cursorPosition() const {
    return characterOfByte(m_position);
}

void OemTextBox::setSelectedRange(int anchor, int position) {
    select(byteOfCharacter(anchor), byteOfCharacter(position));
}

int OemTextBox::characterAt(const QPoint& point) const {
    return characterOfByte(offsetAt(point));
}

QRect OemTextBox::characterRect(int offset) const {
    const std::size_t byte = byteOfCharacter(offset);
    QRect found;
    forEachVisibleLayout([&](const Line& line, QTextLayout& layout, qreal top) {
        if (byte < line.start || byte > line.start + line.length) {
            return true;
        }
        const auto column = static_cast<int>(byte - line.start);
        const QTextLine row = layout.lineForTextPosition(column);
        if (row.isValid()) {
            const qreal left = row.cursorToX(column);
            const qreal right = column < static_cast<int>(line.length) ? row.cursorToX(column + 1) : left + 1;
            found = QRectF(kMargin + left, top + row.y(), std::max<qreal>(1, right - left), row.height()).toRect();
        }
        return false;
    });
    return found;
}

void OemTextBox::scrollToCharacter(int offset) {
    verticalScrollBar()->setValue(clampedInt(lineOfCharacter(clampedCharacter(offset))));
}

// The last scroll position shows the last lines at the bottom of the box, however they wrap.
void OemTextBox::updateScrollBar() {
    const qreal available = viewport()->height() - 2 * kMargin;
    qreal height = 0;
    int fitting = 0;
    for (auto index = m_lines.size(); index > 0; --index, ++fitting) {
        QTextLayout layout(lineText(m_lines[index - 1]), font());
        height += layOut(layout, available - height + 1);
        if (height > available) {
            break;
        }
    }
    QScrollBar& bar = *verticalScrollBar();
    bar.setPageStep(visibleLineEstimate());
    bar.setSingleStep(1);
    bar.setRange(0, lineCount() - std::max(1, fitting));
}

int OemTextBox::visibleLineEstimate() const {
    const int lineHeight = std::max(1, fontMetrics().lineSpacing());
    return std::max(1, (viewport()->height() - 2 * kMargin) / lineHeight);
}

QString OemTextBox::lineText(const Line& line) const {
    QString text(static_cast<qsizetype>(line.length), Qt::Uninitialized);
    QChar* out = text.data();
    for (std::size_t i = 0; i < line.length; ++i) {
        out[i] = QChar(platform::oemCharacter(static_cast<unsigned char>(m_bytes[line.start + i])));
    }
    return text;
}

qreal OemTextBox::layOut(QTextLayout& layout, qreal maxHeight) const {
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(fontMetrics().horizontalAdvance(QLatin1Char(' ')) * kTabWidth);
    layout.setTextOption(option);
    const qreal width = std::max(1, viewport()->width() - 2 * kMargin);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine row = layout.createLine(); row.isValid() && height < maxHeight; row = layout.createLine()) {
        row.setLineWidth(width);
        row.setPosition(QPointF(0, height));
        height += row.height();
    }
    layout.endLayout();
    return std::max<qreal>(height, fontMetrics().lineSpacing());
}

void OemTextBox::forEachVisibleLayout(const LayoutVisitor& visit) const {
    const qreal bottom = viewport()->height();
    qreal top = kMargin;
    for (auto index = static_cast<std::size_t>(firstVisibleLine()); index < m_lines.size() && top < bottom; ++index) {
        QTextLayout layout(lineText(m_lines[index]), font());
        const qreal height = layOut(layout, bottom - top);
        if (!visit(m_lines[index], layout, top)) {
            return;
        }
        top += height;
    }
}

void OemTextBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    const auto [from, to] = std::minmax(m_anchor, m_position);
    painter.setPen(palette().color(QPalette::Text));
    forEachVisibleLayout([&](const Line& line, QTextLayout& layout, qreal top) {
        QList<QTextLayout::FormatRange> selection;
        const std::size_t lineEnd = line.start + line.length;
        if (from < to && from <= lineEnd && to > line.start) {
            const std::size_t first = std::max(from, line.start) - line.start;
            const std::size_t last = std::min(to, lineEnd) - line.start;
            QTextLayout::FormatRange range;
            range.start = static_cast<int>(first);
            range.length = static_cast<int>(last - first);
            range.format.setBackground(palette().brush(QPalette::Highlight));
            range.format.setForeground(palette().brush(QPalette::HighlightedText));
            selection.append(range);
        }
        layout.draw(&painter, QPointF(kMargin, top), selection);
        return true;
    });
}

void OemTextBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void OemTextBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateScrollBar();
        viewport()->update();
    }
}

void OemTextBox::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void OemTextBox::keyPressEvent(QKeyEvent* event) {
    QScrollBar& bar = *verticalScrollBar();
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::MoveToPreviousLine)) {
        bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    } else if (event->matches(QKeySequence::MoveToNextLine)) {
        bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    } else if (event->matches(QKeySequence::MoveToPreviousPage)) {
        bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    } else if (event->matches(QKeySequence::MoveToNextPage)) {
        bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        bar.triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        bar.triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

std::size_t OemTextBox::offsetAt(const QPoint& point) const {
    std::size_t offset = m_lines.empty() ? 0 : m_lines.back().start + m_lines.back().length;
    bool above = true;
    forEachVisibleLayout([&](const Line& line, QTextLayout& layout, qreal top) {
        if (above && point.y() < top) {
            offset = line.start;
            return false;
        }
        above = false;
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine row = layout.lineAt(i);
            if (point.y() < top + row.y() + row.height()) {
                offset = line.start + static_cast<std::size_t>(row.xToCursor(point.x() - kMargin));
                return false;
            }
        }
        offset = line.start + line.length;
        return true;
    });
    return offset;
}

void OemTextBox::select(std::size_t anchor, std::size_t position) {
    m_anchor = std::min(anchor, m_bytes.size());
    m_position = std::min(position, m_bytes.size());
    viewport()->update();
    if (QAccessible::isActive()) {
        const auto [from, to] = selectedRange();
        QAccessibleTextSelectionEvent event(this, from, to);
        event.setCursorPosition(cursorPosition());
        QAccessible::updateAccessibility(&event);
    }
}

void OemTextBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const std::size_t offset = offsetAt(event->position().toPoint());
        select(event->modifiers() & Qt::ShiftModifier ? m_anchor : offset, offset);
    }
}

void OemTextBox::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) {
        select(m_anchor, offsetAt(event->position().toPoint()));
    }
}

void OemTextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    std::size_t start = offsetAt(event->position().toPoint());
    std::size_t end = start;
    const auto inWord = [this](std::size_t at) { return !isBlank(m_bytes[at]) && !isLineEnd(m_bytes[at]); };
    while (start > 0 && inWord(start - 1)) {
        --start;
    }
    while (end < m_bytes.size() && inWord(end)) {
        ++end;
    }
    select(start, end);
}

void OemTextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction = menu.addAction(tr("&Copy"), this, &OemTextBox::copy);
    copyAction->setEnabled(m_anchor != m_position);
    menu.addAction(tr("Select &All"), this, &OemTextBox::selectAll);
    menu.exec(event->globalPos());
}

} // namespace spindeck::ui
