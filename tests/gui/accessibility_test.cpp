// What screen readers and the tools that drive windows through the accessibility tree find: every
// control of the designs named by its caption, its frame or its label, and the description box's
// text with its ranges, boundaries, selection and change events.

#include "support/scratch.h"
#include "ui/designs.h"

#include <QAccessible>
#include <QComboBox>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <optional>

using namespace spindeck;
using platform::testing_support::ScratchDir;
using ui::OemTextBox;

namespace {

QAccessibleTextInterface& textOf(QWidget& widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    Q_ASSERT(accessible != nullptr && accessible->textInterface() != nullptr);
    return *accessible->textInterface();
}

bool isLabelledBy(QAccessibleInterface& node, QObject* label) {
    const auto labels = node.relations(QAccessible::Label);
    return std::any_of(labels.begin(), labels.end(),
                       [label](const auto& relation) { return relation.first->object() == label; });
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        std::filesystem::create_directories(m_dir / "c");
        m_files.emplace(platform::DriveMap({platform::Drive{'C', m_dir / "c", platform::DriveKind::Fixed, {}}}),
                        "C:\\");
        m_main = std::make_unique<ui::MainDesign>(*m_files);
        m_install = std::make_unique<ui::InstallDesign>(*m_files);
        m_editor = std::make_unique<ui::BatchEditorDesign>();
    }

    void everyControlIsNamed_data() {
        QTest::addColumn<QWidget*>("control");
        QTest::addColumn<QString>("name");
        const auto row = [](QWidget* control, const QString& name) {
            QTest::newRow(qPrintable(control->parentWidget()->window()->objectName() + " " + name)) << control << name;
        };
        row(m_main->drvList, "Drive");
        row(m_main->dirListBox, "Directory");
        row(m_main->cmdInstall, "Install");
        row(m_main->txtSpInfo, "Special Information");
        row(m_main->txtDiz, "FILE_ID.DIZ");
        row(m_main->cmdExit, "Exit");
        row(m_install->chkExitQRV, "Exit Spindeck After Installation");
        row(m_install->chkConfirm, "Confrm Installation");
        row(m_install->cmdCancel, "Cancel Install");
        row(m_install->cmdCreateDir, "Create Folder");
        row(m_install->txtMkDir, "Create Folder/Directory");
        row(m_install->cmdInstallNow, "Install Now");
        row(m_install->txtDiskFree, "Disk Space Available");
        row(m_install->txtOptInst, "Currently Selected Path");
        row(m_install->InstDrvList, "Select Install Drive:");
        row(m_install->InstDirBox, "Select Install Directory:");
        row(m_editor->cmdCancel, "Exit");
        row(m_editor->cmdExec, "Execute Revised Batch File");
        row(m_editor->txtQRVTXT, "QRV.TXT");
        row(m_editor->txtQRVBAT, "QRV.BAT");
    }
    // The tree gives each name as set, but for the drop-downs: on Linux it names them by their
    // current entry, as AT-SPI expects, and links them to their frame as their label.
    void everyControlIsNamed() {
        QFETCH(QWidget*, control);
        QFETCH(QString, name);
        QCOMPARE(control->accessibleName(), name);
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
        if (qobject_cast<QComboBox*>(control) != nullptr) {
            QVERIFY(isLabelledBy(*node, control->parentWidget()));
        } else {
            QCOMPARE(node->text(QAccessible::Name), name);
        }
    }

    void theCheckBoxesAreLabelledByTheirLabels() {
        QVERIFY(isLabelledBy(*QAccessible::queryAccessibleInterface(m_install->chkConfirm), m_install->Label2));
        QVERIFY(isLabelledBy(*QAccessible::queryAccessibleInterface(m_install->chkExitQRV), m_install->Label1));
    }

    void theBoxGivesItsTextAndEveryRange_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("CR LF, lone CR, lone LF, closing end") << QByteArray("ab\r\ncd\ref\n\r\n");
        QTest::newRow("box art and glyphs below 0x20") << QByteArray("\xC9\xCD\xBB\r\n\xBA\x01\t\xBA\r\n\xC8\xCD\xBC");
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb");
    }
    void theBoxGivesItsTextAndEveryRange() {
        QFETCH(QByteArray, bytes);
        OemTextBox box;
        box.setOemText(bytes.toStdString());
        const QString whole = box.toPlainText();
        QAccessibleTextInterface& text = textOf(box);
        QCOMPARE(text.characterCount(), whole.size());
        QCOMPARE(text.text(0, -1), whole);
        for (int from = 0; from <= whole.size(); ++from) {
            for (int to = from; to <= whole.size(); ++to) {
                QCOMPARE(text.text(from, to), whole.mid(from, to - from));
            }
        }
    }

    // The boundaries come from the lines around the offset only; they must be those Qt finds in the
    // whole text.
    void boundariesMatchTheWholeText_data() {
        QTest::addColumn<int>("boundary");
        QTest::newRow("character") << int(QAccessible::CharBoundary);
        QTest::newRow("word") << int(QAccessible::WordBoundary);
        QTest::newRow("sentence") << int(QAccessible::SentenceBoundary);
        QTest::newRow("line") << int(QAccessible::LineBoundary);
        QTest::newRow("paragraph") << int(QAccessible::ParagraphBoundary);
        QTest::newRow("none") << int(QAccessible::NoBoundary);
    }
    void boundariesMatchTheWholeText() {
        QFETCH(int, boundary);
        const auto type = static_cast<QAccessible::TextBoundaryType>(boundary);
        OemTextBox box;
        box.setOemText("First line here.\r\nSecond one\r\n\r\n \r\nthe \xB0\xB1 fourth. And more\rlast\r\n\r\n");
        QAccessibleTextInterface& text = textOf(box);
        const int count = text.characterCount();
        // Qt's own search for a word or sentence at the very end of a text never returns.
        const bool wordOrSentence = type == QAccessible::WordBoundary || type == QAccessible::SentenceBoundary;
        for (int offset = 0; offset <= count; ++offset) {
            int start = 0;
            int end = 0;
            int wholeStart = -1;
            int wholeEnd = -1;
            const QString whole =
                wordOrSentence && offset == count
                    ? QString()
                    : text.QAccessibleTextInterface::textAtOffset(offset, type, &wholeStart, &wholeEnd);
            QCOMPARE(text.textAtOffset(offset, type, &start, &end), whole);
            QCOMPARE(std::pair(start, end), std::pair(wholeStart, wholeEnd));
            QCOMPARE(text.textBeforeOffset(offset, type, &start, &end),
                     text.QAccessibleTextInterface::textBeforeOffset(offset, type, &wholeStart, &wholeEnd));
            QCOMPARE(std::pair(start, end), std::pair(wholeStart, wholeEnd));
            QCOMPARE(text.textAfterOffset(offset, type, &start, &end),
                     text.QAccessibleTextInterface::textAfterOffset(offset, type, &wholeStart, &wholeEnd));
            QCOMPARE(std::pair(start, end), std::pair(wholeStart, wholeEnd));
        }
    }

    // The interface reads the box as it is now. (The change event goes out only while a screen
    // reader is connected, which the offscreen platform never is: the end-to-end test listens
    // for it.)
    void theTextFollowsSetOemText() {
        OemTextBox box;
        box.setOemText("old\r\ntext");
        QAccessibleTextInterface& text = textOf(box);
        QCOMPARE(text.text(0, -1), "old\ntext");
        box.setOemText("\xDA\xC4\xBF new\r\n");
        QCOMPARE(text.text(0, -1), box.toPlainText());
        QCOMPARE(text.text(0, -1), QString::fromUtf8("┌─┐ new\n"));
        QCOMPARE(text.characterCount(), 8);
        box.clear();
        QCOMPARE(text.characterCount(), 0);
    }

    // Selection, cursor and geometry are in characters of the shown text, where CR LF is one.
    void selectionAndGeometryCountCharacters() {
        OemTextBox box;
        box.resize(300, 200);
        box.setOemText("one\r\ntwo three\r\nfour");
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QAccessibleTextInterface& text = textOf(box);

        text.setSelection(0, 4, 7);
        QCOMPARE(box.selectedText(), "two");
        QCOMPARE(text.selectionCount(), 1);
        int start = 0;
        int end = 0;
        text.selection(0, &start, &end);
        QCOMPARE(std::pair(start, end), std::pair(4, 7));
        text.setCursorPosition(8);
        QCOMPARE(text.selectionCount(), 0);
        QCOMPARE(text.cursorPosition(), 8);

        const QRect rect = text.characterRect(8);
        QVERIFY(!rect.isEmpty());
        QCOMPARE(text.offsetAtPoint(rect.center()), 8);
    }

    // A screen reader scrolls to what it reads; the line holding the text comes to the top.
    void scrollingBringsTheLineToTheTop() {
        OemTextBox box;
        box.resize(300, 120);
        std::string lines;
        for (int i = 0; i < 100; ++i) {
            lines += "line " + std::to_string(i) + "\r\n";
        }
        box.setOemText(lines);
        const int line50 = static_cast<int>(box.toPlainText().indexOf("line 50"));
        textOf(box).scrollToSubstring(line50 + 2, line50 + 6);
        QCOMPARE(box.firstVisibleLine(), 50);
    }

private:
    ScratchDir m_dir;
    std::optional<platform::DosFileSystem> m_files;
    std::unique_ptr<ui::MainDesign> m_main;
    std::unique_ptr<ui::InstallDesign> m_install;
    std::unique_ptr<ui::BatchEditorDesign> m_editor;
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
