// The description box: lines and their ends, long lines, scrolling to the last line, selection and
// copy.

#include "ui/oemtextbox.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QtTest>

using spindeck::ui::OemTextBox;

class OemTextBoxTest : public QObject {
    Q_OBJECT

private slots:
    void linesEndAtCrLfAndLoneCrOrLf_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("lines");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QByteArray() << 1 << QString();
        QTest::newRow("no line end") << QByteArray("one") << 1 << QString("one");
        QTest::newRow("closing line end gives an empty last line") << QByteArray("one\r\n") << 2 << QString("one\n");
        QTest::newRow("mixed ends") << QByteArray("a\r\nb\rc\nd") << 4 << QString("a\nb\nc\nd");
        QTest::newRow("CR CR LF is two ends") << QByteArray("a\r\r\nb") << 3 << QString("a\n\nb");
        QTest::newRow("glyphs below 0x20") << QByteArray("\x01\x03\t\x7F") << 1 << QString::fromUtf8("☺♥\t⌂");
    }
    void linesEndAtCrLfAndLoneCrOrLf() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, lines);
        QFETCH(QString, text);
        OemTextBox box;
        box.setOemText(bytes.toStdString());
        QCOMPARE(box.lineCount(), lines);
        QCOMPARE(box.toPlainText(), text);
    }

    // A file without line ends is shown in pieces, so that no paint lays out megabytes at once.
    void aLineWithoutEndIsShownInPieces() {
        OemTextBox box;
        box.resize(300, 200);
        box.setOemText(std::string(3 * OemTextBox::kMaxLineLength + 5, 'x'));
        QCOMPARE(box.lineCount(), 4);
        QCOMPARE(box.toPlainText(), QString(3 * OemTextBox::kMaxLineLength + 5, 'x'));
        QVERIFY(!box.grab().isNull());
    }

    // The end of the scroll range shows the last line at the bottom of the box, even when the
    // lines before it wrap.
    void theScrollBarReachesTheLastLine() {
        OemTextBox box;
        box.resize(200, 120);
        std::string text;
        for (int i = 0; i < 100; ++i) {
            text += "line " + std::to_string(i) + " with words enough to wrap in a narrow box\r\n";
        }
        text += "LAST";
        box.setOemText(text);
        box.show();
        QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(box.firstVisibleLine(), box.verticalScrollBar()->maximum());
        QVERIFY(box.firstVisibleLine() > 90);
        QVERIFY(box.firstVisibleLine() < 100); // the lines above the last fill the box
        QTest::keyClick(&box, Qt::Key_Up);
        QCOMPARE(box.firstVisibleLine(), box.verticalScrollBar()->maximum() - 1);
        QTest::keyClick(&box, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(box.firstVisibleLine(), 0);
    }

    void aDragSelectsAndCopyTakesTheSelection() {
        OemTextBox box;
        box.resize(400, 200);
        box.setOemText("\xC9\xCD\xBB first\r\nsecond line\r\n");
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const int lineHeight = box.fontMetrics().lineSpacing();
        QTest::mousePress(box.viewport(), Qt::LeftButton, {}, QPoint(2, lineHeight / 2 + 4));
        QTest::mouseMove(box.viewport(), QPoint(395, lineHeight + lineHeight / 2 + 4));
        QMouseEvent move(QEvent::MouseMove, QPointF(395, lineHeight + lineHeight / 2 + 4), QPointF(), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &move);
        QCOMPARE(box.selectedText(), QString::fromUtf8("╔═╗ first\nsecond line"));
        box.copy();
        QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("╔═╗ first\nsecond line"));
        box.selectAll();
        QCOMPARE(box.selectedText(), box.toPlainText());
        box.setOemText("new");
        QCOMPARE(box.selectedText(), QString());
    }
};

QTEST_MAIN(OemTextBoxTest)
#include "oemtextbox_test.moc"
