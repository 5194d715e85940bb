#pragma once

// The read-only, multi-line box of the description files: text in the OEM character set, wrapped
// at the box's width, with a vertical scroll bar, selection and copy.
//
// Description files can be large (a QRV.TXT of many megabytes without an install section is shown
// whole), so the box keeps the file's bytes with an index of where each line starts, and decodes and
// lays out only the lines it paints. Showing a file costs one pass over its bytes. The scroll bar
// moves by text lines, as the stock text boxes do.
//
// Screen readers reach the text through an accessible interface of the box's own (installed with the
// first box) that asks for character counts and ranges only, so a large file is never decoded whole
// for them.

#include <QAbstractScrollArea>
#include <QRect>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QTextLayout;

namespace spindeck::ui {

class OemTextBox final : public QAbstractScrollArea {
    Q_OBJECT

public:
    // A line longer than this is shown as several, so that painting never lays out more than this
    // many characters for one line (a file of binary data may have no line end at all).
    static constexpr std::size_t kMaxLineLength = 4096;

    explicit OemTextBox(QWidget* parent = nullptr);

    // Shows the bytes; CR LF, a lone CR and a lone LF each end a line.
    void setOemText(std::string bytes);
    void clear();

    // The text as shown, each line end as one LF.
    [[nodiscard]] QString toPlainText() const;
    [[nodiscard]] QString selectedText() const;
    [[nodiscard]] int lineCount() const { return static_cast<int>(m_lines.size()); }
    [[nodiscard]] int firstVisibleLine() const;

    void selectAll();
    void copy() const;

    // Character offsets count the characters of toPlainText(); an offset outside the text is taken
    // as its nearest end. None of these decodes more than the range asked for.
    [[nodiscard]] int characterCount() const;
    [[nodiscard]] QString textRange(int from, int to) const;
    // The text line holding the character at `offset`, its line end included: [first, last).
    [[nodiscard]] std::pair<int, int> lineRangeAt(int offset) const;
    // The selection as [first, last); empty at the cursor when nothing is selected.
    [[nodiscard]] std::pair<int, int> selectedRange() const;
    [[nodiscard]] int cursorPosition() const;
    void setSelectedRange(int anchor, int position);
    // The character under a point of the viewport, and the viewport rectangle of a character (empty
    // while it is scrolled out of sight).
    [[nodiscard]] int characterAt(const QPoint& point) const;
    [[nodiscard]] QRect characterRect(int offset) const;
    // Scrolls the line holding the character at `offset` to the top, as far as the scroll bar goes.
    void scrollToCharacter(int offset);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    struct Line {
        std::size_t start = 0;
        std::size_t length = 0;
    };
    using LayoutVisitor = std::function<bool(const Line& line, QTextLayout& layout, qreal top)>;

    void indexLines();
    void updateScrollBar();
    [[nodiscard]] int visibleLineEstimate() const;
    [[nodiscard]] QString lineText(const Line& line) const;
    // Wraps the line at the box's width, stopping once `maxHeight` is filled; its height.
    qreal layOut(QTextLayout& layout, qreal maxHeight) const;
    // Lays out the lines from the first visible one down to the box's bottom, handing each to
    // `visit` until it returns false.
    void forEachVisibleLayout(const LayoutVisitor& visit) const;
    [[nodiscard]] std::size_t offsetAt(const QPoint& point) const;
    void select(std::size_t anchor, std::size_t position);
    void notifyTextChanged(const QString& removedHead);
    [[nodiscard]] std::size_t lineOfByte(std::size_t offset) const;
    [[nodiscard]] const std::vector<std::size_t>& textStarts() const;
    [[nodiscard]] std::size_t lineOfCharacter(std::size_t offset) const;
    [[nodiscard]] std::size_t clampedCharacter(int offset) const;
    [[nodiscard]] std::size_t byteOfCharacter(int offset) const;
    [[nodiscard]] int characterOfByte(std::size_t offset) const;

    std::string m_bytes;
    std::vector<Line> m_lines;
    // Where each line starts in toPlainText(), where a line end is one LF; empty until asked for.
    mutable std::vector<std::size_t> m_textStarts;
    std::size_t m_anchor = 0; // the selection runs between these two byte offsets
    std::size_t m_position = 0;
};

} // namespace spindeck::ui
