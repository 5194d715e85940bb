// Install Now and the batch editor: the batch file written from the install section, the run, the
// install query and what follows each answer, and the editor's caps, round trip and ways out.

#include "batchedit/batcheditor.h"
#include "config/defaultfile.h"
#include "install/installform.h"
#include "support/program.h"

#include <QtTest>

using namespace spindeck;
using spindeck::fakes::Program;
using spindeck::platform::testing_support::readText;
using spindeck::platform::testing_support::writeText;

namespace {

constexpr std::string_view kWorkedExample = "A small demonstration program.\r\n[INSTALL Demo Tool]\r\n"
                                            "pkunzip -d -o yahoo.zip <TEMP>\r\ncopy <temp>\\*.* <PATH>\r\n"
                                            "deltree /y <temp>\r\n";

// A started program whose main window has selected the source directory and whose install window
// is open on C:\GAMES\DEMO. The batch file's bytes are caught while it "runs".
struct Installation {
    explicit Installation(std::string_view qrvTxt, const QString& source = "D:\\DEMO",
                          platform::DriveKind discKind = platform::DriveKind::Fixed, bool confirmInFile = true)
        : program(discKind) {
        std::filesystem::create_directories(program.scratch / "c" / "GAMES" / "DEMO");
        const std::string folder = source.mid(3).toStdString();
        writeText(program.scratch / "d" / folder / "QRV.TXT", qrvTxt);
        if (!confirmInFile) {
            std::string ini = config::defaultFileBytes();
            ini.replace(ini.find("mConfirmInstall=TRUE;"), 21, "mConfirmInstall=FALSE;");
            program.writeIni(ini);
        }
        main = &program.start();
        QVERIFY(main->dirListBox->setPath(source).has_value());
        emit main->dirListBox->clicked();
        main->openInstallWindow();
        window = &program.forms->install.get();
        QVERIFY(window->InstDrvList->setDrive("c:").has_value());
        QVERIFY(window->InstDirBox->setPath("C:\\GAMES\\DEMO").has_value());
        program.shell.m_duringRun = [this](const std::string&) { batchDuringRun = readText(batchFile()); };
        program.log.clear();
    }
    [[nodiscard]] std::filesystem::path batchFile() const { return program.scratch / "c" / "QRV.BAT"; }
    // As a list of texts, so that a failed comparison shows them.
    [[nodiscard]] QStringList calls(std::string_view prefix) const {
        QStringList found;
        for (const std::string& call : program.log) {
            if (call.starts_with(prefix)) {
                found << QString::fromStdString(call);
            }
        }
        return found;
    }
    void answer(int reply) { program.toolkit.m_answers.push_back(reply); }

    Program program;
    app::MainForm* main = nullptr;
    install::InstallForm* window = nullptr;
    std::string batchDuringRun;
};

using Log = QStringList;

} // namespace

Q_DECLARE_METATYPE(spindeck::platform::DriveKind)

namespace {

constexpr int kYes = ui::Toolkit::kAnswerYes;
constexpr int kNo = ui::Toolkit::kAnswerNo;

} // namespace

class InstallNowTest : public QObject {
    Q_OBJECT

private slots:
    void theWorkedExampleGivesItsBatchFile() {
        Installation install(kWorkedExample);
        install.answer(kYes);
        install.window->cmdInstallNow->click();
        QCOMPARE(install.calls("shell"), (Log{"shell c:\\qrv.bat 1"}));
        QCOMPARE(install.batchDuringRun,
                 std::string("D:\r\nCD \"\\DEMO\"\r\nPKUNZIP -D -O YAHOO.ZIP c:\\games\\demo.qrv\r\n"
                             "COPY c:\\games\\demo.qrv\\*.* c:\\games\\demo\r\n"
                             "DELTREE /Y c:\\games\\demo.qrv\r\n"));
        QCOMPARE(install.calls("message"), (Log{"message Install Query...: Did Demo Tool install correctly?"}));
        QCOMPARE(install.calls("pointer"), (Log{"pointer 11", "pointer 0"}));
    }

    void aSourceAtADriveRootMovesToItsRoot() {
        Installation install("[INSTALL Disc]\r\necho\r\n", "D:\\");
        install.answer(kYes);
        install.window->cmdInstallNow->click();
        QCOMPARE(install.batchDuringRun, std::string("D:\r\nCD \"\\\"\r\nECHO\r\n"));
    }

    // The target is D:, the disc of the kind in the row, or E:, a drive without its medium.
    void theTargetDrivesKindDecides_data() {
        QTest::addColumn<platform::DriveKind>("discKind");
        QTest::addColumn<QString>("drive");
        QTest::addColumn<QString>("message");
        QTest::newRow("fixed") << platform::DriveKind::Fixed << "d:" << QString();
        QTest::newRow("removable") << platform::DriveKind::Removable << "d:" << QString();
        QTest::newRow("remote") << platform::DriveKind::Remote << "d:" << QString();
        QTest::newRow("RAM disk") << platform::DriveKind::RamDisk << "d:" << QString();
        QTest::newRow("CD-ROM") << platform::DriveKind::CdRom << "d:"
                                << "message : Cannot Install Program on CD-ROM";
        QTest::newRow("not ready") << platform::DriveKind::Fixed << "e:"
                                   << "message : Cannot Install Program on Selected Device";
    }
    void theTargetDrivesKindDecides() {
        QFETCH(platform::DriveKind, discKind);
        QFETCH(QString, drive);
        QFETCH(QString, message);
        Installation install(kWorkedExample, "D:\\DEMO", discKind);
        auto& list = *install.window->InstDrvList;
        list.setCurrentIndex(list.findText(drive, Qt::MatchStartsWith));
        install.program.log.clear();
        install.answer(kYes);
        install.window->cmdInstallNow->click();
        if (message.isEmpty()) {
            QCOMPARE(install.calls("shell").size(), 1);
        } else {
            QCOMPARE(install.calls(""), (Log{message}));
            QVERIFY(install.window->isVisible());
            QVERIFY(!std::filesystem::exists(install.batchFile()));
        }
    }

    void theHeaderDecidesWhatIsWritten_data() {
        QTest::addColumn<QByteArray>("qrvTxt");
        QTest::addColumn<QByteArray>("batch"); // empty: nothing written or run
        QTest::newRow("lower case") << QByteArray("about\r\n[install tool]\r\nmd x\r\n")
                                    << QByteArray("D:\r\nCD \"\\DEMO\"\r\nMD X\r\n");
        QTest::newRow("no blank after the word") << QByteArray("[INSTALL]\r\nmd x\r\n") << QByteArray();
        QTest::newRow("header is the last line") << QByteArray("about\r\n[INSTALL Tool]\r\n") << QByteArray();
        QTest::newRow("second header is script") << QByteArray("[INSTALL A]\r\nmd a\r\n[install b]\r\n")
                                                 << QByteArray("D:\r\nCD \"\\DEMO\"\r\nMD A\r\n[INSTALL B]\r\n");
    }
    void theHeaderDecidesWhatIsWritten() {
        QFETCH(QByteArray, qrvTxt);
        QFETCH(QByteArray, batch);
        Installation install(qrvTxt.toStdString());
        install.answer(kNo);
        install.window->cmdInstallNow->click();
        QCOMPARE(install.batchDuringRun, batch.toStdString());
        QCOMPARE(install.calls("shell").size(), batch.isEmpty() ? 0 : 1);
        if (batch.isEmpty()) {
            QVERIFY(!std::filesystem::exists(install.batchFile()));
            QCOMPARE(install.calls("pointer"), (Log{"pointer 11", "pointer 0"}));
            QVERIFY(install.window->isVisible());
        }
    }

    // The four ways an installation ends.
    void windowsAfterTheRun_data() {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("exitAfterwards");
        QTest::addColumn<int>("reply");
        QTest::addColumn<QString>("shown"); // main, editor or none (the program ended)
        QTest::addColumn<bool>("batchKept");
        QTest::newRow("Yes") << true << false << kYes << "main" << false;
        QTest::newRow("No") << true << true << kNo << "editor" << true;
        QTest::newRow("confirmation off") << false << false << 0 << "main" << false;
        QTest::newRow("Yes and exit") << true << true << kYes << "none" << false;
        QTest::newRow("confirmation off and exit") << false << true << 0 << "none" << false;
    }
    void windowsAfterTheRun() {
        QFETCH(bool, confirm);
        QFETCH(bool, exitAfterwards);
        QFETCH(int, reply);
        QFETCH(QString, shown);
        QFETCH(bool, batchKept);
        Installation install(kWorkedExample);
        install.window->chkConfirm->setChecked(confirm); // the menu follows the box
        install.window->chkExitQRV->setChecked(exitAfterwards);
        if (reply != 0) {
            install.answer(reply);
        }
        install.window->cmdInstallNow->click();
        QCOMPARE(install.calls("message").size(), confirm ? 1 : 0);
        QCOMPARE(std::filesystem::exists(install.batchFile()), batchKept);
        QVERIFY(!install.window->isVisible());
        const auto& forms = *install.program.forms;
        QCOMPARE(install.main->isVisible(), shown == "main");
        QCOMPARE(forms.batchEditor.loaded() && install.program.forms->batchEditor.get().isVisible(), shown == "editor");
        QCOMPARE(install.program.toolkit.m_ended, shown == "none");
        if (shown == "none") {
            QCOMPARE(install.calls("cue wait").size(), 1); // the exit cue plays to its end
        }
    }

    // The menu says no while the box says yes: no question, no direct finish either.
    void confirmationOffInTheFileWithTheBoxUntouched() {
        Installation install(kWorkedExample, "D:\\DEMO", platform::DriveKind::Fixed, false);
        install.window->cmdInstallNow->click();
        QVERIFY(install.calls("message").empty());
        QVERIFY(std::filesystem::exists(install.batchFile()));
        QVERIFY(install.window->isVisible());
        QVERIFY(!install.main->isVisible());
    }

    void aMissingDescriptionOrAnUnwritableBatchFileRunsNothing_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("QRV.TXT gone") << "gone"
                                      << "message : Cannot read D:\\DEMO\\QRV.TXT: file not found";
        QTest::newRow("batch file not writable") << "blocked"
                                                 << "message : Cannot write C:\\QRV.BAT: access denied";
    }
    void aMissingDescriptionOrAnUnwritableBatchFileRunsNothing() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        Installation install(kWorkedExample);
        if (fault == "gone") {
            std::filesystem::remove(install.program.scratch / "d" / "DEMO" / "QRV.TXT");
        } else {
            std::filesystem::create_directories(install.batchFile() / "inside");
        }
        install.window->cmdInstallNow->click();
        QCOMPARE(install.calls("message").size(), 1);
        QVERIFY2(install.calls("message").front().startsWith(message), qPrintable(install.calls("message").front()));
        QVERIFY(install.calls("shell").empty());
        QCOMPARE(install.calls("pointer"), (Log{"pointer 11", "pointer 0"}));
        QVERIFY(install.window->isVisible());
    }
};

QTEST_MAIN(InstallNowTest)
#include "installnow_test.moc"
