#include "oemtextaccessible.h"

#include "oemtextbox.h"

#include <QAccessibleWidget>
#include <utility>

namespace spindeck::ui {

namespace {

// A few lines cut from the box's text. Qt's own search for word, sentence and line boundaries
// reads the whole text it is handed; handed only the lines around an offset, it finds the same
// boundaries there without decoding the rest of the file.
class TextExcerpt final : public QAccessibleTextInterface {
public:
    TextExcerpt(int start, QString text) : m_start(start), m_text(std::move(text)) {}

    using Search = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
    QString find(Search search, int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                 int* endOffset) const {
        QString found = (this->*search)(offset - m_start, boundary, startOffset, endOffset);
        if (*startOffset >= 0) {
            *startOffset += m_start;
            *endOffset += m_start;
        }
        return found;
    }

    QString text(int startOffset, int endOffset) const override {
        return m_text.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(m_text.size()); }

    // An excerpt has no selection, cursor, geometry or attributes: the boundary search needs none.
    void selection(int /*selectionIndex*/, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = -1;
        return {};
    }

private:
    int m_start;
    QString m_text;
};

class OemTextBoxAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit OemTextBoxAccessible(OemTextBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        state.focusable = true;
        return state;
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        const auto [from, to] = box().selectedRange();
        const bool exists = selectionIndex == 0 && from < to;
        *startOffset = exists ? from : 0;
        *endOffset = exists ? to : 0;
    }
    int selectionCount() const override {
        const auto [from, to] = box().selectedRange();
        return from < to ? 1 : 0;
    }
    // The box has one selection; adding one replaces it.
    void addSelection(int startOffset, int endOffset) override { box().setSelectedRange(startOffset, endOffset); }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) {
            setCursorPosition(cursorPosition());
        }
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0) {
            box().setSelectedRange(startOffset, endOffset);
        }
    }

    int cursorPosition() const override { return box().cursorPosition(); }
    void setCursorPosition(int position) override { box().setSelectedRange(position, position); }

    // An end offset of -1 stands for the end of the text.
    QString text(int startOffset, int endOffset) const override {
        return box().textRange(startOffset, endOffset < 0 ? characterCount() : endOffset);
    }
    int characterCount() const override { return box().characterCount(); }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return findNear(&QAccessibleTextInterface::textBeforeOffset, offset, boundary, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return findNear(&QAccessibleTextInterface::textAfterOffset, offset, boundary, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        // There is no word or sentence at the very end of the text, and Qt's search for one there
        // never returns.
        const bool wordOrSentence = boundary == QAccessible::WordBoundary || boundary == QAccessible::SentenceBoundary;
        if (wordOrSentence && resolved(offset) >= characterCount()) {
            *startOffset = *endOffset = -1;
            return {};
        }
        return findNear(&QAccessibleTextInterface::textAtOffset, offset, boundary, startOffset, endOffset);
    }

    QRect characterRect(int offset) const override {
        const QRect rect = box().characterRect(offset);
        return rect.isEmpty() ? QRect() : QRect(box().viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = box().viewport()->mapFromGlobal(point);
        return box().viewport()->rect().contains(local) ? box().characterAt(local) : -1;
    }
    void scrollToSubstring(int startIndex, int /*endIndex*/) override { box().scrollToCharacter(startIndex); }
    // The box shows every character alike.
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    [[nodiscard]] OemTextBox& box() const { return *static_cast<OemTextBox*>(widget()); }

    // A search from the line holding the offset reaches the next word across blank lines, up to a
    // limit that keeps a file of blank lines from being decoded whole.
    static constexpr int kMaxLinesReached = 64;

    [[nodiscard]] bool isBlank(std::pair<int, int> line) const {
        return box().textRange(line.first, line.second).trimmed().isEmpty();
    }
    [[nodiscard]] int reachBack(int lineStart) const {
        for (int lines = 0; lineStart > 0 && lines < kMaxLinesReached; ++lines) {
            const auto line = box().lineRangeAt(lineStart - 1);
            lineStart = line.first;
            if (!isBlank(line)) {
                break;
            }
        }
        return lineStart;
    }
    [[nodiscard]] int reachForward(int lineEnd, int count) const {
        for (int lines = 0; lineEnd < count && lines < kMaxLinesReached; ++lines) {
            const auto line = box().lineRangeAt(lineEnd);
            lineEnd = line.second;
            if (!isBlank(line)) {
                break;
            }
        }
        return lineEnd;
    }

    // An offset of -1 stands for the end of the text, -2 for the cursor.
    [[nodiscard]] int resolved(int offset) const {
        if (offset == -1) {
            return characterCount();
        }
        return offset == -2 ? cursorPosition() : offset;
    }

    // Searches the line holding `offset` and the lines on either side of it. Only "no boundary"
    // asks for the whole text.
    QString findNear(TextExcerpt::Search search, int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                     int* endOffset) const {
        const int count = characterCount();
        offset = resolved(offset);
        if (boundary == QAccessible::NoBoundary) {
            return TextExcerpt(0, text(0, count)).find(search, offset, boundary, startOffset, endOffset);
        }
        const auto [lineStart, lineEnd] = box().lineRangeAt(offset);
        const int first = reachBack(lineStart);
        const int last = reachForward(lineEnd, count);
        return TextExcerpt(first, box().textRange(first, last)).find(search, offset, boundary, startOffset, endOffset);
    }
};

} // namespace

QAccessibleInterface* oemTextBoxAccessible(const QString& /*className*/, QObject* object) {
    if (auto* box = qobject_cast<OemTextBox*>(object)) {
        return new OemTextBoxAccessible(box);
    }
    return nullptr;
}

} // namespace spindeck::ui
