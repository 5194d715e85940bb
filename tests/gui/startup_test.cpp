// The start: splash, the main window's set-up with the configuration written or applied, and the
// ways the program ends from the main window.

#include "app/forms.h"
#include "app/mainform.h"
#include "app/splashform.h"
#include "config/defaultfile.h"
#include "config/lint.h"
#include "install/installform.h"
#include "support/program.h"
#include "ui/twips.h"

#include <QImage>
#include <QSignalSpy>
#include <QtTest>
#include <algorithm>

using namespace spindeck;
using spindeck::fakes::Program;
using spindeck::platform::testing_support::readText;
using spindeck::platform::testing_support::writeText;

namespace {

// Only the calls to the music control and the cue player, in order.
std::vector<std::string> soundCalls(const fakes::CallLog& log) {
    std::vector<std::string> calls;
    std::copy_if(log.begin(), log.end(), std::back_inserter(calls),
                 [](const std::string& call) { return call.starts_with("music") || call.starts_with("cue"); });
    return calls;
}

QColor rgb(int r, int g, int b) {
    return {r, g, b};
}

QRect twips(int left, int top, int width, int height) {
    return ui::twipsRect(left, top, width, height);
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartWritesTheDefaultFileAndKeepsTheDesignLook() {
        Program program;
        auto& main = program.start();
        QCOMPARE(QString::fromStdString(readText(program.programDir() / "QRV.INI")),
                 QString::fromStdString(config::defaultFileBytes()));
        QCOMPARE(main.windowTitle(), QString("Spindeck  v1.0"));
        QCOMPARE(main.lblTitle->text(), QString("Spindeck"));
        QCOMPARE(ui::backColor(*main.lblTitle), rgb(192, 0, 192));
        QVERIFY(main.imgLogo->picture().isNull());
        QVERIFY(!program.forms->install.loaded());
        QCOMPARE(program.settings.gMidiFile, std::string());
        // The start-up cue has no file name; the music has none either.
        QCOMPARE(soundCalls(program.log),
                 (std::vector<std::string>{"cue async D:\\GAMES\\MENU\\", "music DeviceType Sequencer",
                                           "music UpdateInterval 1000", "music FileName D:\\GAMES\\MENU\\",
                                           "music close", "music open", "music play"}));
    }

    void noFileOnACdRomWritesAndAppliesNothing() {
        Program program(platform::DriveKind::CdRom);
        auto& main = program.start();
        QVERIFY(!std::filesystem::exists(program.programDir() / "QRV.INI"));
        QVERIFY(program.toolkit.problems.isEmpty());
        QCOMPARE(main.lblTitle->text(), QString("Spindeck"));
        QVERIFY(!program.forms->install.loaded());
    }

    void startsAtTheRootOfTheProgramsDrive() {
        Program program;
        auto& main = program.start();
        QCOMPARE(main.dirListBox->path(), QString("D:\\"));
        QCOMPARE(program.settings.gSelectedDir, std::string("D:\\"));
        QCOMPARE(main.drvList->drive().left(2), QString("d:"));
    }

    void theDefaultFileAppliesItsFourValues() {
        Program program;
        program.writeIni(config::defaultFileBytes());
        program.writePicture("QRV.BMP", Qt::darkCyan);
        auto& main = program.start();
        QCOMPARE(main.lblTitle->text(), QString("Spindeck"));
        QVERIFY(main.mnuConfirm->isChecked());
        QCOMPARE(main.imgLogo->picture().size(), QSize(64, 48));
        QVERIFY(program.forms->install.loaded());
        QVERIFY(!program.forms->install.get().isVisible());
        QCOMPARE(program.forms->install.get().imgInstLogo->picture().size(), QSize(64, 48));
        QCOMPARE(program.settings.gMidiFile, std::string("MUSIC.MID"));
        QCOMPARE(program.settings.mStartUp, std::string("start.wav"));
        QCOMPARE(program.settings.mFoundDizNQRV, std::string("diznqrv.wav"));
        QCOMPARE(soundCalls(program.log).front(), std::string("cue async D:\\GAMES\\MENU\\start.wav"));
        QVERIFY2(program.toolkit.problems.isEmpty(), qPrintable(program.toolkit.problems.join('\n')));
    }

    void theSplashShowsItsConfiguredPicture() {
        Program program;
        program.writeIni("mSplashLogo=SPLASH.BMP;\r\n");
        program.writePicture("SPLASH.BMP", Qt::red);
        app::prepareSplash(*program.forms, *program.services);
        auto& splash = program.forms->splash.get();
        QVERIFY2(program.toolkit.problems.isEmpty(), qPrintable(program.toolkit.problems.join('\n')));
        QCOMPARE(splash.backgroundPicture().size(), QSize(64, 48));
        QCOMPARE(splash.lblVersion->text(), QString("Spindeck     v1.0"));
        program.start();
    }

    void everyKeyReachesItsElement() {
        Program program;
        program.writePicture("LOGO.BMP", Qt::blue);
        const std::string ini = "mInstall=in.wav;\r\n"
                                "mConfirmInstall=FALSE;\r\n"
                                "fBackColor=1;\r\nfForeColor=2;\r\n"
                                "tCaption=My Disc;\r\ntBorderStyle=0;\r\ntFont=DejaVu Serif;\r\ntBackStyle=1;\r\n"
                                "tBackColor=4;\r\ntForeColor=14;\r\n"
                                "drFont=DejaVu Sans;\r\ndrForeColor=10;\r\ndrBackColor=1;\r\ndrHeight=330;\r\n"
                                "drWidth=2010;\r\ndrTop=150;\r\ndrLeft=90;\r\n"
                                "dbFont=DejaVu Sans Mono;\r\ndbForeColor=11;\r\ndbBackColor=8;\r\ndbHeight=2700;\r\n"
                                "dbWidth=2400;\r\ndbTop=300;\r\ndbLeft=60;\r\n"
                                "iPicture=LOGO.BMP;\r\niBorderStyle=1;\r\niHeight=1500;\r\niWidth=3000;\r\n"
                                "iTop=30;\r\niLeft=-15;\r\n"
                                "sitBackColor=0;\r\nsitForeColor=15;\r\nsitFont=Liberation Mono;\r\n"
                                "sitWidth=4500;\r\nsitHeight=900;\r\nsitTop=300;\r\nsitLeft=150;\r\n"
                                "dtBackColor=3;\r\ndtForeColor=7;\r\ndtWidth=4800;\r\ndtHeight=1800;\r\n"
                                "dtTop=270;\r\ndtLeft=105;\r\n"
                                "iwBackColor=5;\r\niwForeColor=6;\r\n"
                                "iiPicture=LOGO.BMP;\r\niiBorderStyle=1;\r\niiHeight=1200;\r\niiWidth=2400;\r\n"
                                "iiTop=45;\r\niiLeft=30;\r\n"
                                "idbFont=Liberation Serif;\r\nidbForeColor=12;\r\nidbBackColor=9;\r\n"
                                "idbHeight=2400;\r\nidbWidth=2250;\r\nidbTop=285;\r\nidbLeft=75;\r\n"
                                "idrFont=Liberation Sans;\r\nidrForeColor=13;\r\nidrBackColor=2;\r\n"
                                "idrHeight=345;\r\nidrWidth=2100;\r\nidrTop=255;\r\nidrLeft=135;\r\n"
                                "mMIDI=SONG.MID;\r\nmStartUp=hi.wav;\r\nmExit=bye.wav;\r\nmFoundDiz=d.wav;\r\n"
                                "mFoundQRVTXT=q.wav;\r\nmFoundDizNQRV=dq.wav;\r\nmSplashLogo=LOGO.BMP;\r\n";
        // The file must not fall into the lookup's traps itself.
        QVERIFY(config::lintIni(config::IniDocument::fromBytes(ini), [](std::string_view) { return true; }).empty());
        program.writeIni(ini);
        auto& main = program.start();
        auto& install = program.forms->install.get();

        QVERIFY(!main.mnuConfirm->isChecked());
        QCOMPARE(ui::backColor(*main.client()), rgb(0, 0, 128));
        QCOMPARE(ui::foreColor(*main.client()), rgb(0, 128, 0));
        for (ui::Label* title : {main.lblTitle, install.lblInstTitle}) {
            QCOMPARE(title->borderStyle(), 0);
            QCOMPARE(title->font().family(), QString("DejaVu Serif"));
            QCOMPARE(title->backStyle(), 1);
            QCOMPARE(ui::backColor(*title), rgb(128, 0, 0));
            QCOMPARE(ui::foreColor(*title), rgb(255, 255, 0));
        }
        QCOMPARE(main.lblTitle->text(), QString("My Disc"));
        QCOMPARE(install.lblInstTitle->text(), QString()); // its set-up shows the program's name: none yet

        QCOMPARE(main.drvList->font().family(), QString("DejaVu Sans"));
        QCOMPARE(ui::foreColor(*main.drvList), rgb(0, 255, 0));
        QCOMPARE(ui::backColor(*main.drvList), rgb(0, 0, 128));
        QCOMPARE(main.drvList->geometry(), twips(90, 150, 2010, 330));

        QCOMPARE(main.dirListBox->font().family(), QString("DejaVu Sans Mono"));
        QCOMPARE(ui::foreColor(*main.dirListBox), rgb(0, 255, 255));
        QCOMPARE(ui::backColor(*main.dirListBox), rgb(128, 128, 128));
        QCOMPARE(main.dirListBox->geometry(), twips(60, 300, 2400, 2700));

        QCOMPARE(main.imgLogo->picture().size(), QSize(64, 48));
        QCOMPARE(main.imgLogo->borderStyle(), 1);
        QCOMPARE(main.imgLogo->geometry(), twips(-15, 30, 3000, 1500));

        QCOMPARE(ui::backColor(*main.txtSpInfo), rgb(0, 0, 0));
        QCOMPARE(ui::foreColor(*main.txtSpInfo), rgb(255, 255, 255));
        QCOMPARE(main.txtSpInfo->font().family(), QString("Liberation Mono"));
        QCOMPARE(main.txtSpInfo->geometry(), twips(150, 300, 4500, 900));

        QCOMPARE(ui::backColor(*main.txtDiz), rgb(0, 128, 128));
        QCOMPARE(ui::foreColor(*main.txtDiz), rgb(192, 192, 192));
        QCOMPARE(main.txtDiz->geometry(), twips(105, 270, 4800, 1800));

        QCOMPARE(ui::backColor(install), rgb(128, 0, 128));
        QCOMPARE(ui::foreColor(install), rgb(128, 128, 0));
        QCOMPARE(install.imgInstLogo->picture().size(), QSize(64, 48));
        QCOMPARE(install.imgInstLogo->borderStyle(), 1);
        QCOMPARE(install.imgInstLogo->geometry(), twips(30, 45, 2400, 1200));

        QCOMPARE(install.InstDirBox->font().family(), QString("Liberation Serif"));
        QCOMPARE(ui::foreColor(*install.InstDirBox), rgb(255, 0, 0));
        QCOMPARE(ui::backColor(*install.InstDirBox), rgb(0, 0, 255));
        QCOMPARE(install.InstDirBox->geometry(), twips(75, 285, 2250, 2400));

        QCOMPARE(install.InstDrvList->font().family(), QString("Liberation Sans"));
        QCOMPARE(ui::foreColor(*install.InstDrvList), rgb(255, 0, 255));
        QCOMPARE(ui::backColor(*install.InstDrvList), rgb(0, 128, 0));
        QCOMPARE(install.InstDrvList->geometry(), twips(135, 255, 2100, 345));

        QCOMPARE(program.settings.gMidiFile, std::string("SONG.MID"));
        QCOMPARE(program.settings.mStartUp, std::string("hi.wav"));
        QCOMPARE(program.settings.mExit, std::string("bye.wav"));
        QCOMPARE(program.settings.mInstall, std::string("in.wav"));
        QCOMPARE(program.settings.mFoundDiz, std::string("d.wav"));
        QCOMPARE(program.settings.mFoundQRVTXT, std::string("q.wav"));
        QCOMPARE(program.settings.mFoundDizNQRV, std::string("dq.wav"));
        QCOMPARE(soundCalls(program.log).front(), std::string("cue async D:\\GAMES\\MENU\\hi.wav"));
        QCOMPARE(program.music.fileName(), std::string("D:\\GAMES\\MENU\\SONG.MID"));
        QVERIFY2(program.toolkit.problems.isEmpty(), qPrintable(program.toolkit.problems.join('\n')));
    }

    void titleColourStylesBothTitles() {
        Program program;
        program.writeIni("tBackColor=4;\r\ntBackStyle=1;\r\n");
        auto& main = program.start();
        for (ui::Label* title : {main.lblTitle, program.forms->install.get().lblInstTitle}) {
            QCOMPARE(ui::backColor(*title), rgb(128, 0, 0));
            QCOMPARE(title->backStyle(), 1);
        }
    }

    void strictAndLenientSizesDiffer() {
        Program program;
        program.writeIni("drHeight=abc;\r\ndbHeight=abc;\r\n");
        const QRect designedDrive = twips(120, 195, 2415, 315);
        auto& main = program.start();
        QCOMPARE(main.drvList->geometry(), designedDrive);
        QCOMPARE(main.dirListBox->height(), 0);
        QCOMPARE(program.toolkit.problems.size(), 1);
        QVERIFY(program.toolkit.problems.front().contains("drHeight"));
    }

    void confirmationCanStartOff() {
        Program program;
        program.writeIni("mConfirmInstall=FALSE;\r\n");
        QVERIFY(!program.start().mnuConfirm->isChecked());
    }

    void aPictureThatDoesNotLoadIsReportedAndTheStartGoesOn() {
        Program program;
        program.writeIni("iPicture=MISSING.BMP;\r\nmSplashLogo=NOTAPIC.BMP;\r\n");
        writeText(program.programDir() / "NOTAPIC.BMP", "text, not a picture");
        auto& main = program.start();
        QVERIFY(main.imgLogo->picture().isNull());
        QCOMPARE(program.toolkit.problems.size(), 2);
    }

    void withoutSoundDevicesNoCuePlays() {
        Program program(platform::DriveKind::Fixed, 0);
        program.writeIni(config::defaultFileBytes());
        auto& main = program.start();
        QVERIFY(!program.settings.gSoundOn);
        QVERIFY(main.mnuSoundOn->isChecked());
        main.exitProgram();
        for (const auto& call : soundCalls(program.log)) {
            QVERIFY2(!call.starts_with("cue"), call.c_str());
        }
        QVERIFY(program.toolkit.m_ended);
    }

    void exitStopsTheMusicThenWaitsForTheExitCue_data() {
        QTest::addColumn<int>("way");
        QTest::newRow("Exit button") << 0;
        QTest::newRow("File, Exit") << 1;
    }

    void exitStopsTheMusicThenWaitsForTheExitCue() {
        QFETCH(int, way);
        Program program;
        program.writeIni(config::defaultFileBytes());
        auto& main = program.start();
        program.log.clear();
        if (way == 0) {
            QTest::mouseClick(main.cmdExit, Qt::LeftButton);
        } else {
            main.mnuExit->trigger();
        }
        QCOMPARE(program.log,
                 (fakes::CallLog{"music stop", "music close", "cue wait D:\\GAMES\\MENU\\exit.wav", "end"}));
    }

    void closingTheMainWindowUnloadsTheInstallWindowSilently() {
        Program program;
        program.writeIni(config::defaultFileBytes());
        auto& main = program.start();
        QVERIFY(program.forms->install.loaded());
        program.log.clear();
        main.close();
        QVERIFY(!program.forms->install.loaded());
        QVERIFY(!program.forms->main.loaded());
        QVERIFY(soundCalls(program.log).empty());
        QVERIFY(!program.toolkit.m_ended);
    }

    void functionKeysReachTheMenuFromEveryControl() {
        Program program;
        auto& main = program.start();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        for (QAction* item : {main.mnuMusicOn, main.mnuSoundOn, main.mnuConfirm}) {
            for (QWidget* control : std::initializer_list<QWidget*>{main.drvList, main.dirListBox, main.cmdExit}) {
                QSignalSpy triggered(item, &QAction::triggered);
                control->setFocus();
                QTest::keyClick(control, static_cast<Qt::Key>(item->shortcut()[0].key()));
                QCOMPARE(triggered.size(), 1);
            }
        }
    }

    void anUnloadedWindowIsBuiltAgainFromItsDesign() {
        Program program;
        program.writeIni("iwBackColor=4;\r\ntBackColor=2;\r\n");
        program.start();
        QCOMPARE(ui::backColor(program.forms->install.get()), rgb(128, 0, 0));
        const ui::InstallDesign design(*program.files);
        program.forms->install.unload();
        QVERIFY(!program.forms->install.loaded());
        auto& rebuilt = program.forms->install.get();
        QCOMPARE(ui::backColor(rebuilt), ui::backColor(design));
        QCOMPARE(ui::backColor(*rebuilt.lblInstTitle), rgb(192, 0, 192));
        QCOMPARE(rebuilt.windowTitle(), QString("Spindeck Installer  v1.0"));
    }

    void focusGoesToTheDirectoryListAtFirstActivationOnly() {
        Program program;
        auto& main = program.start();
        main.activateWindow();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(main.dirListBox));
        // Back from the install window, say: a later activation leaves the focus where it is.
        main.cmdExit->setFocus();
        QEvent activation(QEvent::WindowActivate);
        QApplication::sendEvent(&main, &activation);
        QCOMPARE(main.focusWidget(), static_cast<QWidget*>(main.cmdExit));
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
