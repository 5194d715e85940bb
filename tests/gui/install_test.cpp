// The install window: set-up, target drive and directory, free space, the ways back to the main
// window, folder creation and the confirmation switches.

#include "config/defaultfile.h"
#include "install/installform.h"
#include "support/program.h"

#include <QRegularExpression>
#include <QtTest>

using namespace spindeck;
using spindeck::fakes::Program;

namespace {

// "Drive D:= 512.35 Megs" at set-up (no zeros at the end, nothing before the point below 1);
// "Drive D:= 500.34 Megs" after a drive change (two decimals always).
const QRegularExpression kSetUpLine(R"(^Drive [A-Z]:= (\d*)\.(\d?[1-9])? Megs$)");
const QRegularExpression kDriveChangeLine(R"(^Drive [A-Z]:= \d+\.\d\d Megs$)");

// A started program (the current drive is D:, the program's) with the install window open.
struct InstallWindow {
    explicit InstallWindow(platform::DriveKind discKind = platform::DriveKind::Fixed) : program(discKind) {
        std::filesystem::create_directories(program.scratch / "c" / "GAMES");
        program.start();
        program.log.clear();
        window = &program.forms->install.get();
    }
    [[nodiscard]] std::vector<std::string> messages() const {
        std::vector<std::string> shown;
        std::copy_if(program.log.begin(), program.log.end(), std::back_inserter(shown),
                     [](const std::string& call) { return call.starts_with("message"); });
        return shown;
    }
    void createFolder(const QString& typed) const {
        window->txtMkDir->clear();
        QTest::keyClicks(window->txtMkDir, typed);
        window->cmdCreateDir->click();
    }
    [[nodiscard]] bool isDirectory(const std::string& relative) const {
        return std::filesystem::is_directory(program.scratch / relative);
    }

    Program program;
    install::InstallForm* window = nullptr;
};

} // namespace

class InstallTest : public QObject {
    Q_OBJECT

private slots:
    void setUpOpensTheCurrentDrivesRoot() {
        InstallWindow install;
        auto& window = *install.window;
        QCOMPARE(window.windowTitle(), QString("Spindeck Installer  v1.0"));
        QCOMPARE(window.InstDirBox->path(), QString("D:\\"));
        QCOMPARE(window.txtOptInst->text(), QString("D:\\"));
        QVERIFY2(kSetUpLine.match(window.txtDiskFree->toPlainText()).hasMatch(),
                 qPrintable(window.txtDiskFree->toPlainText()));
        QVERIFY(window.txtDiskFree->toPlainText().startsWith("Drive D:= "));
    }

    void aClickAndAnOpenGiveTheSamePath() {
        InstallWindow install;
        auto& window = *install.window;
        QVERIFY(window.InstDrvList->setDrive("c:").has_value());
        QCOMPARE(window.InstDirBox->path(), QString("C:\\"));
        QTest::keyClick(window.InstDirBox, Qt::Key_Down); // highlights GAMES
        QCOMPARE(window.txtOptInst->text(), QString("C:\\GAMES\\"));
        QCOMPARE(window.InstDirBox->path(), QString("C:\\"));
        QTest::keyClick(window.InstDirBox, Qt::Key_Return);
        QCOMPARE(window.InstDirBox->path(), QString("C:\\GAMES"));
        QCOMPARE(window.txtOptInst->text(), QString("C:\\GAMES\\"));
    }

    void aDriveChangeOpensTheDrivesCurrentDirectory() {
        InstallWindow install;
        auto& window = *install.window;
        QVERIFY(install.program.files->changeDirectory("C:\\GAMES").has_value());
        window.InstDrvList->setCurrentIndex(window.InstDrvList->findText("c:", Qt::MatchStartsWith));
        QCOMPARE(window.InstDirBox->path(), QString("C:\\GAMES"));
        QCOMPARE(window.txtOptInst->text(), QString("C:\\GAMES\\"));
        QVERIFY2(kDriveChangeLine.match(window.txtDiskFree->toPlainText()).hasMatch(),
                 qPrintable(window.txtDiskFree->toPlainText()));
        QVERIFY(window.txtDiskFree->toPlainText().startsWith("Drive C:= "));
        QVERIFY(install.messages().empty());
    }

    void aDriveNotReadyKeepsTheListAndTheFreeSpaceLine() {
        InstallWindow install;
        auto& window = *install.window;
        const QString freeSpace = window.txtDiskFree->toPlainText();
        window.InstDrvList->setCurrentIndex(window.InstDrvList->findText("e:", Qt::MatchStartsWith));
        QCOMPARE(install.messages(), (fakes::CallLog{"message : Device unavailable"}));
        QCOMPARE(window.InstDirBox->path(), QString("D:\\"));
        QCOMPARE(window.txtOptInst->text(), QString("D:\\"));
        QCOMPARE(window.txtDiskFree->toPlainText(), freeSpace);
        QVERIFY(window.InstDrvList->drive().startsWith("e:"));
    }

    void cancelKeepsTheWindowAndClosingDiscardsIt() {
        InstallWindow install;
        auto& forms = *install.program.forms;
        auto& main = forms.main.get();
        main.openInstallWindow();
        install.window->chkConfirm->setChecked(false);
        install.window->chkExitQRV->setChecked(true);
        install.window->cmdCancel->click();
        QVERIFY(main.isVisible());
        QVERIFY(!install.window->isVisible());
        QCOMPARE(&forms.install.get(), install.window);
        QVERIFY(!install.window->chkConfirm->isChecked());

        main.openInstallWindow();
        QVERIFY(install.window->close());
        QVERIFY(main.isVisible());
        QVERIFY(!forms.install.loaded());
        auto& again = forms.install.get();
        QCOMPARE(again.windowTitle(), QString("Spindeck Installer  v1.0"));
        QVERIFY(again.chkConfirm->isChecked());
        QVERIFY(!again.chkExitQRV->isChecked());
        QVERIFY(!main.mnuConfirm->isChecked()); // the menu keeps its mark
    }

    void theEntryRefusesCharactersNoFileNameHolds() {
        InstallWindow install;
        QLineEdit& entry = *install.window->txtMkDir;
        QTest::keyClicks(&entry, "A*B<C>D/E?F\"G|H\\I:J");
        QCOMPARE(entry.text(), QString("ABCDEFGH\\I:J"));
        entry.selectAll();
        QTest::keyClick(&entry, '?');
        QCOMPARE(entry.text(), QString()); // the selection the key replaced stays deleted
        entry.insert("pasted*text");
        QCOMPARE(entry.text(), QString("pasted*text"));
    }

    void createFolderMakesTheMissingFoldersAndOpensTheDeepest_data() {
        QTest::addColumn<QString>("highlighted");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("path");
        QTest::newRow("relative") << "C:\\GAMES"
                                  << "NEW\\SUB"
                                  << "c/GAMES/NEW/SUB"
                                  << "C:\\GAMES\\NEW\\SUB\\";
        QTest::newRow("trailing backslash") << "C:\\GAMES"
                                            << "NEW\\SUB\\"
                                            << "c/GAMES/NEW/SUB"
                                            << "C:\\GAMES\\NEW\\SUB\\";
        QTest::newRow("drive without backslash") << "C:\\GAMES"
                                                 << "D:APPS"
                                                 << "d/APPS"
                                                 << "D:\\APPS\\";
        QTest::newRow("drive and path") << "C:\\GAMES"
                                        << "d:\\APPS\\NEW"
                                        << "d/APPS/NEW"
                                        << "D:\\APPS\\NEW\\";
        QTest::newRow("drive alone") << "C:\\GAMES"
                                     << "D:"
                                     << "d"
                                     << "D:\\";
        QTest::newRow("everything there") << "C:\\"
                                          << "games"
                                          << "c/GAMES"
                                          << "C:\\GAMES\\";
    }
    void createFolderMakesTheMissingFoldersAndOpensTheDeepest() {
        QFETCH(QString, highlighted);
        QFETCH(QString, typed);
        QFETCH(QString, made);
        QFETCH(QString, path);
        InstallWindow install;
        auto& window = *install.window;
        QVERIFY(window.InstDrvList->setDrive(highlighted.left(2)).has_value());
        QVERIFY(window.InstDirBox->setPath(highlighted).has_value());
        install.createFolder(typed);
        QVERIFY(install.isDirectory(made.toStdString()));
        QCOMPARE(window.txtOptInst->text(), path);
        QCOMPARE(window.InstDirBox->path() + (path.size() > 3 ? "\\" : ""), path);
        QVERIFY(window.InstDrvList->drive().startsWith(path.left(2).toLower()));
        QCOMPARE(window.txtMkDir->text(), QString());
        QVERIFY(install.messages().empty());
        // The program's current directory is the deepest folder, so a later drive change opens it.
        QCOMPARE(QString::fromStdString(install.program.files->currentDirectory(path.front().toLatin1())) +
                     (path.size() > 3 ? "\\" : ""),
                 path);
    }

    void anEmptyEntryChangesNothing() {
        InstallWindow install;
        install.window->cmdCreateDir->click();
        QCOMPARE(install.window->txtOptInst->text(), QString("D:\\"));
        QCOMPARE(install.window->InstDirBox->path(), QString("D:\\"));
        QVERIFY(install.messages().empty());
    }

    // One message naming the folder and the reason; what was made stays; the entry keeps its text, so
    // the user can correct it. The list and the path text agree: where they were, or on the drive
    // the entry named, which the drive list moved to before the folders were made.
    void aFolderThatCannotBeMadeIsReported_data() {
        QTest::addColumn<bool>("cdrom");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("listPath");
        QTest::newRow("name the platform refuses") << false << "NEW\\A:B"
                                                   << "Cannot create the folder C:\\GAMES\\NEW\\A:B: invalid name"
                                                   << "c/GAMES/NEW"
                                                   << "C:\\GAMES";
        QTest::newRow("a file in the way")
            << false << "FILE\\SUB"
            << "Cannot create the folder C:\\GAMES\\FILE: a file of that name is in the way"
            << "c/GAMES"
            << "C:\\GAMES";
        QTest::newRow("CD-ROM") << true << "D:\\NEW"
                                << "Cannot create the folder D:\\NEW: the drive is read-only (CD-ROM)"
                                << "d"
                                << "D:\\GAMES\\MENU";
        QTest::newRow("drive not mapped") << false << "Q:\\NEW"
                                          << "Cannot create the folder Q:\\NEW: drive Q: is unknown"
                                          << "c/GAMES"
                                          << "C:\\GAMES";
        QTest::newRow("drive without medium") << false << "E:NEW"
                                              << "Cannot create the folder E:NEW: drive E: is not ready"
                                              << "c/GAMES"
                                              << "C:\\GAMES";
    }
    void aFolderThatCannotBeMadeIsReported() {
        QFETCH(bool, cdrom);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, made);
        QFETCH(QString, listPath);
        InstallWindow install(cdrom ? platform::DriveKind::CdRom : platform::DriveKind::Fixed);
        platform::testing_support::writeText(install.program.scratch / "c" / "GAMES" / "FILE", "x");
        auto& window = *install.window;
        QVERIFY(window.InstDrvList->setDrive("c:").has_value());
        QVERIFY(window.InstDirBox->setPath("C:\\GAMES").has_value());
        install.createFolder(typed);
        QCOMPARE(install.messages(), (fakes::CallLog{"message : " + message.toStdString()}));
        QVERIFY(install.isDirectory(made.toStdString()));
        QCOMPARE(window.InstDirBox->path(), listPath);
        QCOMPARE(window.txtOptInst->text(), listPath + "\\");
        QCOMPARE(window.txtMkDir->text(), typed);
    }

    void theBoxAndTheMenuSwitchTogether() {
        InstallWindow install;
        auto& main = install.program.forms->main.get();
        auto& box = *install.window->chkConfirm;
        QVERIFY(main.mnuConfirm->isChecked() && box.isChecked());
        QTest::mouseClick(&box, Qt::LeftButton);
        QVERIFY(!box.isChecked());
        QVERIFY(!main.mnuConfirm->isChecked());
        QTest::mouseClick(&box, Qt::LeftButton);
        QVERIFY(main.mnuConfirm->isChecked());
        main.mnuConfirm->trigger();
        QVERIFY(!main.mnuConfirm->isChecked());
        QVERIFY(!box.isChecked());
        main.mnuConfirm->trigger();
        QVERIFY(main.mnuConfirm->isChecked() && box.isChecked());
        QVERIFY(!install.window->chkExitQRV->isChecked()); // read only, never switched
    }

    // At start the menu follows the file and the box its design, until one of them is switched.
    void confirmationSwitchedOffInTheFile() {
        Program program;
        std::string ini = config::defaultFileBytes();
        ini.replace(ini.find("mConfirmInstall=TRUE;"), 21, "mConfirmInstall=FALSE;");
        program.writeIni(ini);
        auto& main = program.start();
        auto& box = *program.forms->install.get().chkConfirm;
        QVERIFY(!main.mnuConfirm->isChecked());
        QVERIFY(box.isChecked());
        main.mnuConfirm->trigger();
        QVERIFY(main.mnuConfirm->isChecked() && box.isChecked());
        main.mnuConfirm->trigger();
        QVERIFY(!main.mnuConfirm->isChecked() && !box.isChecked());
    }
};

QTEST_MAIN(InstallTest)
#include "install_test.moc"
