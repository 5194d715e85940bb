// Selecting directories in the main window: description boxes, install name, Install button and
// the found-file cues.

#include "config/defaultfile.h"
#include "install/installform.h"
#include "support/program.h"

#include <QtTest>
#include <filesystem>
#include <unistd.h>

using namespace spindeck;
using spindeck::fakes::Program;
using spindeck::platform::testing_support::writeText;

namespace {

// A started program whose disc D: holds the directories a test needs.
class Disc {
public:
    Disc() {
        program.writeIni(config::defaultFileBytes());
        program.writePicture("QRV.BMP", Qt::darkBlue);
    }
    void write(const std::string& relative, std::string_view bytes) const {
        writeText(program.scratch / "d" / relative, bytes);
    }
    app::MainForm& start() {
        app::MainForm& main = program.start();
        program.log.clear();
        return main;
    }
    // Opens D:\<name> in the directory list as a person would and selects it.
    void select(app::MainForm& main, const QString& dosPath) const {
        QVERIFY(main.dirListBox->setPath(dosPath).has_value());
        emit main.dirListBox->clicked();
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> shown;
        std::copy_if(program.log.begin(), program.log.end(), std::back_inserter(shown),
                     [](const std::string& call) { return call.starts_with("message"); });
        return shown;
    }
    std::vector<std::string> cues() const {
        std::vector<std::string> calls;
        for (const auto& call : program.log) {
            if (call.starts_with("cue")) {
                calls.push_back(call);
            }
        }
        return calls;
    }

    Program program;
};

} // namespace

class BrowseTest : public QObject {
    Q_OBJECT

private slots:
    void cueFollowsTheFilesFound_data() {
        QTest::addColumn<bool>("diz");
        QTest::addColumn<bool>("qrv");
        QTest::addColumn<QString>("cue");
        QTest::newRow("both files") << true << true << "cue async D:\\GAMES\\MENU\\diznqrv.wav";
        QTest::newRow("only QRV.TXT") << false << true << "cue async D:\\GAMES\\MENU\\qrv.wav";
        QTest::newRow("only FILE_ID.DIZ") << true << false << "cue async D:\\GAMES\\MENU\\diz.wav";
        QTest::newRow("neither") << false << false << "";
    }

    void cueFollowsTheFilesFound() {
        QFETCH(bool, diz);
        QFETCH(bool, qrv);
        QFETCH(QString, cue);
        Disc disc;
        if (diz) {
            disc.write("GAME/File_Id.Diz", "A game\r\n");
        }
        if (qrv) {
            disc.write("GAME/qrv.TXT", "About the game\r\n");
        }
        std::filesystem::create_directories(disc.program.scratch / "d" / "GAME");
        auto& main = disc.start();
        disc.select(main, "D:\\GAME");
        QCOMPARE(disc.cues(), cue.isEmpty() ? std::vector<std::string>{} : std::vector<std::string>{cue.toStdString()});
        QCOMPARE(main.frmDiz->isVisibleTo(&main), diz);
        QCOMPARE(main.frmSpInfo->isVisibleTo(&main), qrv);
        QCOMPARE(disc.program.settings.gSelectedDir, std::string("D:\\GAME"));
    }

    void noCueWithTheSoundOff() {
        Disc disc;
        disc.write("GAME/FILE_ID.DIZ", "x\r\n");
        auto& main = disc.start();
        disc.program.settings.gSoundOn = false;
        disc.select(main, "D:\\GAME");
        QVERIFY(disc.cues().empty());
        QVERIFY(main.frmDiz->isVisibleTo(&main));
    }

    void theSetUpShowsTheRootWithoutACue() {
        Disc disc;
        disc.write("FILE_ID.DIZ", "The disc\r\n");
        disc.write("QRV.TXT", "Welcome\r\n[INSTALL Disc Tools]\r\nCOPY *.* <PATH>\r\n");
        auto& main = disc.program.start();
        QVERIFY(std::none_of(disc.program.log.begin(), disc.program.log.end(), [](const std::string& call) {
            return call.starts_with("cue async") && call.ends_with("diznqrv.wav");
        }));
        QCOMPARE(main.txtDiz->toPlainText(), QString("The disc"));
        QCOMPARE(main.txtSpInfo->toPlainText(), QString("Welcome\n"));
        QVERIFY(main.cmdInstall->isVisibleTo(&main));
        QCOMPARE(disc.program.settings.gInstallName, std::string("Disc Tools"));
        QCOMPARE(disc.program.forms->install.get().lblInstTitle->text(), QString("Disc Tools"));
    }

    void installNameStaysWhenTheNextDirectoryHasNone() {
        Disc disc;
        disc.write("ONE/QRV.TXT", "[install My Game]\r\n");
        disc.write("TWO/QRV.TXT", "Just words\r\n[INSTALL]\r\n");
        auto& main = disc.start();
        disc.select(main, "D:\\ONE");
        QCOMPARE(main.txtSpInfo->toPlainText(), QString());
        QVERIFY(main.frmSpInfo->isVisibleTo(&main));
        QVERIFY(main.cmdInstall->isVisibleTo(&main));
        QCOMPARE(disc.program.settings.gInstallName, std::string("My Game"));
        disc.select(main, "D:\\TWO");
        QCOMPARE(main.txtSpInfo->toPlainText(), QString("Just words\n[INSTALL]\n"));
        QVERIFY(!main.cmdInstall->isVisibleTo(&main));
        QCOMPARE(disc.program.settings.gInstallName, std::string("My Game"));
    }

    void aClosedInstallWindowIsBuiltAgainForTheName() {
        Disc disc;
        disc.write("GAME/QRV.TXT", "[INSTALL Racer]\r\n");
        auto& main = disc.start();
        disc.program.forms->install.unload();
        disc.select(main, "D:\\GAME");
        QVERIFY(disc.program.forms->install.loaded());
        QVERIFY(!disc.program.forms->install.get().isVisible());
        QCOMPARE(disc.program.forms->install.get().lblInstTitle->text(), QString("Racer"));
    }

    void bothBoxesShowCodePage437() {
        Disc disc;
        disc.write("ART/FILE_ID.DIZ", "\xC9\xCD\xBB\r\n\xC8\xCD\xBC \x01\r\n\x1A");
        disc.write("ART/QRV.TXT", "\xDB\xB2\xB1\xB0\r\n");
        auto& main = disc.start();
        disc.select(main, "D:\\ART");
        // The last two bytes (LF and the end-of-file mark) are not shown; the CR before them is.
        QCOMPARE(main.txtDiz->toPlainText(), QString::fromUtf8("╔═╗\n╚═╝ ☺\n"));
        QCOMPARE(main.txtSpInfo->toPlainText(), QString::fromUtf8("█▓▒░\n"));
    }

    void aTooShortDizEmptiesTheBox() {
        Disc disc;
        disc.write("LONG/FILE_ID.DIZ", "Old text\r\n");
        disc.write("SHORT/FILE_ID.DIZ", "x");
        auto& main = disc.start();
        disc.select(main, "D:\\LONG");
        disc.select(main, "D:\\SHORT");
        QCOMPARE(main.txtDiz->toPlainText(), QString());
        QVERIFY(main.frmDiz->isVisibleTo(&main));
    }

    void aLongDizIsCut() {
        Disc disc;
        disc.write("BIG/FILE_ID.DIZ", std::string(40002, 'z'));
        auto& main = disc.start();
        disc.select(main, "D:\\BIG");
        QCOMPARE(main.txtDiz->toPlainText(), QString(40000, 'z') + "\n---File Too Long: Truncated---");
    }

    // A description file that cannot be read empties its box without a message; its frame shows
    // because the file is there (a link that leads nowhere is no file, so its frame hides). A directory in the file's place and a link that leads nowhere can
    // be refused to any user; permission bits only to one who is not root.
    void anUnreadableDescriptionEmptiesItsBox_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("present");
        QTest::newRow("directory in the file's place") << "directory" << true;
        QTest::newRow("link to a vanished file is no file") << "dangling" << false;
        QTest::newRow("no permission") << "denied" << true;
    }
    void anUnreadableDescriptionEmptiesItsBox() {
        QFETCH(QString, kind);
        QFETCH(bool, present);
        Disc disc;
        disc.write("OLD/FILE_ID.DIZ", "Old art\r\n");
        disc.write("OLD/QRV.TXT", "Old words\r\n");
        const auto dir = disc.program.scratch / "d" / "BAD";
        std::filesystem::create_directories(dir);
        for (const char* name : {"FILE_ID.DIZ", "QRV.TXT"}) {
            if (kind == "directory") {
                std::filesystem::create_directory(dir / name);
            } else if (kind == "dangling") {
                std::filesystem::create_symlink(dir / "gone", dir / name);
            } else {
                if (::geteuid() == 0) {
                    QSKIP("root reads files without permission");
                }
                writeText(dir / name, "Secret\r\n");
                std::filesystem::permissions(dir / name, std::filesystem::perms::none);
            }
        }
        auto& main = disc.start();
        disc.select(main, "D:\\OLD");
        disc.select(main, "D:\\BAD");
        QCOMPARE(main.frmDiz->isVisibleTo(&main), present);
        QCOMPARE(main.frmSpInfo->isVisibleTo(&main), present);
        if (present) {
            QCOMPARE(main.txtDiz->toPlainText(), QString());
            QCOMPARE(main.txtSpInfo->toPlainText(), QString());
        }
        QVERIFY(disc.messages().empty());
    }

    // Every byte value, NUL included, in both files: shown one character per byte, painted whole.
    void binaryFilesShowEveryByte() {
        Disc disc;
        std::string bytes;
        for (int round = 0; round < 4; ++round) {
            for (int value = 0; value < 256; ++value) {
                bytes.push_back(static_cast<char>(value));
            }
        }
        disc.write("BIN/FILE_ID.DIZ", bytes);
        disc.write("BIN/QRV.TXT", bytes);
        auto& main = disc.start();
        main.show();
        disc.select(main, "D:\\BIN");
        const QString diz = main.txtDiz->toPlainText();
        QCOMPARE(diz.size(), qsizetype(4 * 256 - 2)); // no CR LF pair: each CR and LF is one line end
        QVERIFY(!diz.contains(QChar(0)));
        QVERIFY(main.txtSpInfo->toPlainText().startsWith(QChar(' ') + QString::fromUtf8("☺☻♥♦♣♠•◘\t")));
        QVERIFY(!main.txtDiz->grab().isNull());
        QVERIFY(!main.txtSpInfo->grab().isNull());
    }

    void aDriveWithoutMediumIsReportedOnceAndTheListStays() {
        Disc disc;
        disc.write("GAME/FILE_ID.DIZ", "A game\r\n");
        auto& main = disc.start();
        disc.select(main, "D:\\GAME");
        QVERIFY(main.drvList->setDrive("e:").has_value() == false);
        // As a person picks it in the drop-down.
        main.drvList->setCurrentIndex(main.drvList->findText("e:", Qt::MatchStartsWith));
        QCOMPARE(disc.messages(), (fakes::CallLog{"message : Device unavailable"}));
        QCOMPARE(main.dirListBox->path(), QString("D:\\GAME"));
        QVERIFY(main.drvList->drive().startsWith("e:"));
    }

    void aReadyDriveShowsItsCurrentDirectoryAndKeepsTheDescriptions() {
        Disc disc;
        disc.write("GAME/FILE_ID.DIZ", "A game\r\n");
        std::filesystem::create_directories(disc.program.scratch / "c" / "WORK");
        auto& main = disc.start();
        disc.select(main, "D:\\GAME");
        QVERIFY(disc.program.files->changeDirectory("C:\\WORK").has_value());
        main.drvList->setCurrentIndex(main.drvList->findText("c:", Qt::MatchStartsWith));
        QCOMPARE(main.dirListBox->path(), QString("C:\\WORK"));
        QVERIFY(main.frmDiz->isVisibleTo(&main));
        QCOMPARE(disc.program.settings.gSelectedDir, std::string("D:\\GAME"));
    }

    void theInstallButtonGivesWayToTheInstallWindow() {
        Disc disc;
        disc.write("GAME/QRV.TXT", "[INSTALL Racer]\r\n");
        auto& main = disc.start();
        main.show();
        disc.select(main, "D:\\GAME");
        auto* installWindow = &disc.program.forms->install.get();
        QTest::mouseClick(main.cmdInstall, Qt::LeftButton);
        QVERIFY(!main.isVisible());
        QVERIFY(installWindow->isVisible());
        QCOMPARE(&disc.program.forms->install.get(), installWindow); // shown as it was, not rebuilt
    }

    void helpMenuShowsItsThreeTexts() {
        Disc disc;
        auto& main = disc.start();
        main.mnuCommands->trigger();
        main.mnuConfig->trigger();
        main.mnuAbout->trigger();
        const auto shown = disc.messages();
        QCOMPARE(shown.size(), 3U);
        QVERIFY(shown[0].starts_with("message : Supported Commands:\n\r\n\rCTRL-"));
        QVERIFY(shown[1].starts_with("message Configuration Help!: Customize the look"));
        QVERIFY(shown[2].starts_with("message : Spindeck\n\r"));
    }
};

QTEST_MAIN(BrowseTest)
#include "browse_test.moc"
