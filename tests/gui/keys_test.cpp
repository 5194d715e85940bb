// The keyboard's drive commands in the main window's lists and boxes and in the install window.
// The disc has drives C:, D: and E: (E: without a medium), so three drives are listed.

#include "config/defaultfile.h"
#include "install/installform.h"
#include "keys/keycodes.h"
#include "support/program.h"

#include <QtTest>

using namespace spindeck;
using spindeck::fakes::CallLog;
using spindeck::fakes::Program;

namespace {

// Drive lists of 4, 8 and 12 entries: C:, D:, E: (no medium) and 1, 5 or 9 more.
int extraDrivesFor(int listed) {
    return listed - 3;
}

app::MainForm& started(Program& program) {
    program.writeIni(config::defaultFileBytes());
    app::MainForm& main = program.start();
    program.log.clear();
    return main;
}

CallLog messages(const CallLog& log) {
    CallLog shown;
    std::copy_if(log.begin(), log.end(), std::back_inserter(shown),
                 [](const std::string& call) { return call.starts_with("message"); });
    return shown;
}

void ctrl(QWidget* control, Qt::Key letter) {
    QTest::keyClick(control, letter, Qt::ControlModifier);
}

} // namespace

class KeysTest : public QObject {
    Q_OBJECT

private slots:
    void characterCodesComeFromTheKeyNotTheText_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("code");
        QTest::newRow("Ctrl+D as test drivers send it") << int(Qt::Key_D) << int(Qt::ControlModifier) << "d" << 4;
        QTest::newRow("Ctrl+D as an X server sends it") << int(Qt::Key_D) << int(Qt::ControlModifier) << "\x04" << 4;
        QTest::newRow("Ctrl+Shift+Z") << int(Qt::Key_Z) << int(Qt::ControlModifier | Qt::ShiftModifier) << "" << 26;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8;
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << 13;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "\r" << 13;
        QTest::newRow("a letter") << int(Qt::Key_X) << 0 << "x" << int('x');
        QTest::newRow("a key that types nothing") << int(Qt::Key_F1) << 0 << "" << 0;
    }

    void characterCodesComeFromTheKeyNotTheText() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, code);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QCOMPARE(keys::characterCode(event), code);
    }

    void theMainDirectoryListMovesBothListsToADrive() {
        Program program;
        auto& main = started(program);
        ctrl(main.dirListBox, Qt::Key_C);
        QCOMPARE(main.dirListBox->path(), QString("C:\\"));
        QVERIFY(main.drvList->drive().startsWith("c:"));
        // The drive list follows, and its change handler opens D:'s current directory, the
        // program's own since the start.
        ctrl(main.dirListBox, Qt::Key_D);
        QCOMPARE(main.dirListBox->path(), QString("D:\\GAMES\\MENU"));
        QVERIFY(main.drvList->drive().startsWith("d:"));
        QVERIFY(program.settings.gCtrlDown);
    }

    void lettersPastTheDriveCountLeaveThePath() {
        Program program;
        auto& main = started(program);
        ctrl(main.dirListBox, Qt::Key_E); // 5 - 1 is greater than 3 drives
        ctrl(main.dirListBox, Qt::Key_B); // A and B are never drive commands here
        QCOMPARE(main.dirListBox->path(), QString("D:\\"));
        QVERIFY(messages(program.log).empty());
    }

    void enterOpensTheHighlightedDirectoryOnlyWithoutCtrl() {
        Program program;
        auto& main = started(program);
        main.dirListBox->setListIndex(0); // GAMES
        QTest::keyClick(main.dirListBox, Qt::Key_Control);
        QVERIFY(program.settings.gCtrlDown);
        QTest::keyClick(main.dirListBox, Qt::Key_Down, Qt::NoModifier);
        main.dirListBox->setListIndex(0);
        QTest::keyClick(main.dirListBox, Qt::Key_Return);
        QVERIFY(!program.settings.gCtrlDown);
        QCOMPARE(main.dirListBox->path(), QString("D:\\GAMES"));
        QCOMPARE(program.files->currentDirectory('D'), std::string("D:\\GAMES"));
    }

    void aDriveWithoutMediumShowsTheMessageAndMovesNothing() {
        Program program;
        auto& main = started(program);
        std::filesystem::remove_all(program.scratch / "c");
        ctrl(main.dirListBox, Qt::Key_C);
        QCOMPARE(messages(program.log), (CallLog{"message : Device unavailable"}));
        QCOMPARE(main.dirListBox->path(), QString("D:\\"));
        QVERIFY(main.drvList->drive().startsWith("d:"));
    }

    void descriptionBoxesMoveOnlyTheDirectoryList() {
        Program program;
        auto& main = started(program);
        main.frmDiz->show();
        ctrl(main.txtDiz, Qt::Key_C);
        QCOMPARE(main.dirListBox->path(), QString("C:\\"));
        QVERIFY(main.drvList->drive().startsWith("d:")); // the drive list keeps its drive
        ctrl(main.txtDiz, Qt::Key_A);                    // 1 drive letter within the count, but no drive A
        QCOMPARE(messages(program.log), (CallLog{"message : Device unavailable"}));
        QCOMPARE(main.dirListBox->path(), QString("C:\\"));
    }

    void theDriveCountBoundsEachFamily_data() {
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("path");
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("4 listed, Ctrl+F in the list: 5 is past the count")
            << 4 << "list" << int(Qt::Key_F) << ctrl << "D:\\";
        QTest::newRow("4 listed, Ctrl+D in a box") << 4 << "box" << int(Qt::Key_D) << ctrl << "D:\\";
        QTest::newRow("4 listed, Ctrl+E in a box is past the count") << 4 << "box" << int(Qt::Key_E) << ctrl << "D:\\";
        QTest::newRow("8 listed, Ctrl+H in the list") << 8 << "list" << int(Qt::Key_H) << ctrl << "H:\\";
        QTest::newRow("8 listed, Backspace in a box acts as Ctrl+H")
            << 8 << "box" << int(Qt::Key_Backspace) << 0 << "H:\\";
        QTest::newRow("8 listed, Ctrl+J in the list is past the count")
            << 8 << "list" << int(Qt::Key_J) << ctrl << "D:\\";
        QTest::newRow("12 listed, Ctrl+M in the list") << 12 << "list" << int(Qt::Key_M) << ctrl << "M:\\";
        QTest::newRow("12 listed, Ctrl+N in the list is past the count")
            << 12 << "list" << int(Qt::Key_N) << ctrl << "D:\\";
    }

    void theDriveCountBoundsEachFamily() {
        QFETCH(int, listed);
        QFETCH(QString, control);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, path);
        Program program(platform::DriveKind::Fixed, 1, extraDrivesFor(listed));
        auto& main = started(program);
        QCOMPARE(main.drvList->listCount(), listed);
        main.frmDiz->show();
        QWidget* target = control == "list" ? static_cast<QWidget*>(main.dirListBox) : main.txtDiz;
        QTest::keyClick(target, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(main.dirListBox->path(), path);
        QVERIFY(messages(program.log).empty());
    }

    void installEnterOpensThenActsAsM_data() {
        QTest::addColumn<int>("listed");
        QTest::addColumn<QString>("path");
        QTest::newRow("12 listed: then M:") << 12 << "M:\\";
        QTest::newRow("8 listed: only the opened directory") << 8 << "D:\\GAMES";
    }

    void installEnterOpensThenActsAsM() {
        QFETCH(int, listed);
        QFETCH(QString, path);
        Program program(platform::DriveKind::Fixed, 1, extraDrivesFor(listed));
        started(program);
        auto& install = program.forms->install.get();
        QVERIFY(install.InstDirBox->setPath("D:\\").has_value());
        install.InstDirBox->setListIndex(0);
        QTest::keyClick(install.InstDirBox, Qt::Key_Return);
        QCOMPARE(install.InstDirBox->path(), path);
        QCOMPARE(program.files->currentDirectory('D'), std::string("D:\\GAMES"));
    }

    void functionKeysWorkFromADescriptionBox() {
        Program program;
        auto& main = started(program);
        main.frmSpInfo->show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        for (QAction* item : {main.mnuMusicOn, main.mnuSoundOn, main.mnuConfirm}) {
            QSignalSpy triggered(item, &QAction::triggered);
            main.txtSpInfo->setFocus();
            QTest::keyClick(main.txtSpInfo, static_cast<Qt::Key>(item->shortcut()[0].key()));
            QCOMPARE(triggered.size(), 1);
        }
    }

    void theInstallListsMoveTheInstallDirectoryList() {
        Program program;
        started(program);
        auto& install = program.forms->install.get();
        ctrl(install.InstDrvList, Qt::Key_C);
        QCOMPARE(install.InstDirBox->path(), QString("C:\\"));
        QVERIFY(install.InstDrvList->drive().startsWith("c:"));
        QVERIFY(install.InstDirBox->setPath("D:\\").has_value());
        install.InstDirBox->setListIndex(0);
        QTest::keyClick(install.InstDirBox, Qt::Key_Return);
        QCOMPARE(install.InstDirBox->path(), QString("D:\\GAMES"));
        QVERIFY(install.InstDrvList->drive().startsWith("d:"));
    }
};

QTEST_MAIN(KeysTest)
#include "keys_test.moc"
