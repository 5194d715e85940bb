// The batch editor: both files shown without their last two characters and cut at 40000, the
// batch file written back byte for byte, and the ways out.

#include "batchedit/batcheditor.h"
#include "install/installform.h"
#include "support/program.h"

#include <QtTest>

using namespace spindeck;
using spindeck::fakes::Program;
using spindeck::platform::testing_support::readText;
using spindeck::platform::testing_support::writeText;

namespace {

// A started program, the main window hidden behind the install window as after an answer No, with
// the description in D:\DEMO and the batch file on C:.
struct Editor {
    Editor(std::string_view qrvTxt, std::string_view batch, const std::string& selectedDir = "D:\\DEMO") {
        writeText(program.scratch / "d" / "DEMO" / "QRV.TXT", qrvTxt);
        writeText(program.scratch / "d" / "QRV.TXT", "root\r\n");
        writeText(batchFile(), batch);
        main = &program.start();
        program.settings.gSelectedDir = selectedDir;
        main->hide();
        program.log.clear();
    }
    batchedit::BatchEditor& open() {
        auto& editor = program.forms->batchEditor.get();
        editor.show();
        return editor;
    }
    [[nodiscard]] std::filesystem::path batchFile() const { return program.scratch / "c" / "QRV.BAT"; }
    [[nodiscard]] QStringList messages() const {
        QStringList shown;
        for (const std::string& call : program.log) {
            if (call.starts_with("message")) {
                shown << QString::fromStdString(call);
            }
        }
        return shown;
    }

    Program program;
    app::MainForm* main = nullptr;
};

QString text(const QPlainTextEdit& box) {
    return box.toPlainText();
}

} // namespace

class BatchEditorTest : public QObject {
    Q_OBJECT

private slots:
    void bothFilesWithoutTheirLastTwoCharacters() {
        Editor editor("About\r\n[INSTALL X]\r\nmd <PATH>\r\n", "D:\r\nCD \"\\DEMO\"\r\nMD c:\\x\r\n");
        auto& window = editor.open();
        QCOMPARE(text(*window.txtQRVTXT), QString("About\n[INSTALL X]\nmd <PATH>"));
        QCOMPARE(text(*window.txtQRVBAT), QString("D:\nCD \"\\DEMO\"\nMD c:\\x"));
        QVERIFY(window.txtQRVTXT->isReadOnly());
        QVERIFY(!window.txtQRVBAT->isReadOnly());
    }

    void theDescriptionOfARootOrASubdirectory_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("shown");
        QTest::newRow("subdirectory") << "D:\\DEMO"
                                      << "demo";
        QTest::newRow("drive root") << "D:\\"
                                    << "root";
    }
    void theDescriptionOfARootOrASubdirectory() {
        QFETCH(QString, selected);
        QFETCH(QString, shown);
        Editor editor("demo\r\n", "x\r\n", selected.toStdString());
        QCOMPARE(text(*editor.open().txtQRVTXT), shown);
    }

    // 40000 + 2 characters fit; 40000 + 3 are cut, with the message for the batch file only.
    void longFilesAreCut_data() {
        QTest::addColumn<int>("qrvLength");
        QTest::addColumn<int>("batchLength");
        QTest::addColumn<bool>("qrvCut");
        QTest::addColumn<bool>("batchCut");
        QTest::newRow("both fit") << 40002 << 40002 << false << false;
        QTest::newRow("batch file too long") << 100 << 40003 << false << true;
        QTest::newRow("description too long") << 40003 << 100 << true << false;
    }
    void longFilesAreCut() {
        QFETCH(int, qrvLength);
        QFETCH(int, batchLength);
        QFETCH(bool, qrvCut);
        QFETCH(bool, batchCut);
        Editor editor(std::string(static_cast<std::size_t>(qrvLength), 'q'),
                      std::string(static_cast<std::size_t>(batchLength), 'b'));
        auto& window = editor.open();
        const auto expected = [](char c, int length, bool cut) {
            return cut ? QString(40000, c) + "---File Too Long: Truncated---" : QString(length - 2, c);
        };
        QCOMPARE(text(*window.txtQRVTXT), expected('q', qrvLength, qrvCut));
        QCOMPARE(text(*window.txtQRVBAT), expected('b', batchLength, batchCut));
        QCOMPARE(editor.messages(),
                 batchCut ? QStringList{"message Error!: Sorry, File Too Long To Edit!"} : QStringList{});
        QCOMPARE(window.txtQRVBAT->isReadOnly(), batchCut);
    }

    // Every byte value, lone CR and LF, and the line end the box does not show come back.
    void executeWithoutEditingWritesBackTheSameBytes() {
        std::string batch = "D:\r\nCD \"\\DEMO\"\r\nECHO lone\rCR lone\nLF \xA0 ";
        for (int byte = 0x80; byte < 0x100; ++byte) {
            batch.push_back(static_cast<char>(byte));
        }
        batch += "\r\n";
        Editor editor("x\r\n", batch);
        std::string duringRun;
        editor.program.shell.m_duringRun = [&](const std::string&) { duringRun = readText(editor.batchFile()); };
        editor.open().cmdExec->click();
        QCOMPARE(QByteArray::fromStdString(duringRun), QByteArray::fromStdString(batch));
        QCOMPARE(QByteArray::fromStdString(readText(editor.batchFile())), QByteArray::fromStdString(batch));
    }

    void anEmptyBoxWritesOneLineEnd() {
        Editor editor("x\r\n", "ECHO\r\n");
        auto& window = editor.open();
        window.txtQRVBAT->clear();
        window.cmdExec->click();
        QCOMPARE(readText(editor.batchFile()), std::string("\r\n"));
        QVERIFY(window.isVisible()); // the user may edit and run again
    }

    void exitDeletesTheBatchFile_data() {
        QTest::addColumn<bool>("exitAfterwards");
        QTest::addColumn<bool>("byTitleBar");
        QTest::newRow("back to the main window") << false << false;
        QTest::newRow("the title bar's close acts as Exit") << false << true;
        QTest::newRow("the program ends") << true << false;
    }
    void exitDeletesTheBatchFile() {
        QFETCH(bool, exitAfterwards);
        QFETCH(bool, byTitleBar);
        Editor editor("x\r\n", "ECHO\r\n");
        editor.program.forms->install.get().chkExitQRV->setChecked(exitAfterwards);
        auto& window = editor.open();
        if (byTitleBar) {
            QVERIFY(window.close());
        } else {
            window.cmdCancel->click();
        }
        QVERIFY(!std::filesystem::exists(editor.batchFile()));
        QVERIFY(!editor.program.forms->batchEditor.loaded());
        QCOMPARE(editor.program.toolkit.m_ended, exitAfterwards);
        QCOMPARE(editor.main->isVisible(), !exitAfterwards);
        QVERIFY(!editor.program.forms->install.get().isVisible());
    }

    void exitWhenTheBatchFileIsAlreadyGone() {
        Editor editor("x\r\n", "ECHO\r\n");
        auto& window = editor.open();
        std::filesystem::remove(editor.batchFile());
        window.cmdCancel->click();
        QVERIFY(editor.messages().isEmpty());
        QVERIFY(editor.main->isVisible());
    }
};

QTEST_MAIN(BatchEditorTest)
#include "batcheditor_test.moc"
