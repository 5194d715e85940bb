// The background music and the sound switch, through the main window's menu and function keys.

#include "config/defaultfile.h"
#include "support/program.h"

#include <QtTest>

using namespace spindeck;
using spindeck::fakes::CallLog;
using spindeck::fakes::Program;

namespace {

CallLog musicCalls(const CallLog& log) {
    CallLog calls;
    for (const auto& call : log) {
        if (call.starts_with("music")) {
            calls.push_back(call);
        }
    }
    return calls;
}

app::MainForm& startConfigured(Program& program, std::string_view ini) {
    program.writeIni(ini);
    app::MainForm& main = program.start();
    program.log.clear();
    return main;
}

} // namespace

class MediaTest : public QObject {
    Q_OBJECT

private slots:
    void setUpStartsTheConfiguredPiece() {
        Program program;
        program.writeIni("mMIDI=TUNES\\SONG.MID;\r\n");
        program.start();
        QCOMPARE(musicCalls(program.log), (CallLog{"music DeviceType Sequencer", "music UpdateInterval 1000",
                                                   "music FileName D:\\GAMES\\MENU\\TUNES\\SONG.MID", "music close",
                                                   "music open", "music play"}));
    }

    void theLoopRestartsOnlyAStoppedPiece_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("restarts");
        QTest::newRow("stopped at its end") << 525 << true;
        QTest::newRow("playing") << 526 << false;
        QTest::newRow("not open") << 524 << false;
    }

    void theLoopRestartsOnlyAStoppedPiece() {
        QFETCH(int, mode);
        QFETCH(bool, restarts);
        Program program;
        startConfigured(program, config::defaultFileBytes());
        QVERIFY(program.music.m_statusUpdate);
        program.music.m_mode = mode;
        program.music.m_statusUpdate();
        QCOMPARE(musicCalls(program.log), restarts ? (CallLog{"music close", "music open", "music play"}) : CallLog{});
    }

    void musicOnTogglesOffAndOnAgain() {
        Program program;
        auto& main = startConfigured(program, config::defaultFileBytes());
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        QTest::keyClick(main.dirListBox, Qt::Key_F5);
        QVERIFY(!main.mnuMusicOn->isChecked());
        QCOMPARE(musicCalls(program.log), (CallLog{"music stop", "music close"}));
        program.log.clear();
        main.mnuMusicOn->trigger();
        QVERIFY(main.mnuMusicOn->isChecked());
        QCOMPARE(musicCalls(program.log),
                 (CallLog{"music FileName D:\\GAMES\\MENU\\MUSIC.MID", "music open", "music play"}));
    }

    void aPieceThatNeverOpenedKeepsItsCheckMark() {
        Program program;
        auto& main = startConfigured(program, "mMIDI=NOWHERE.MID;\r\n");
        program.music.m_mode = platform::MusicControl::kNotOpen;
        program.music.m_statusUpdate();
        QVERIFY(main.mnuMusicOn->isChecked());
        QVERIFY(musicCalls(program.log).empty());
    }

    void soundOnFollowsTheCheckMarkNotTheFlag() {
        Program program(platform::DriveKind::Fixed, 0);
        auto& main = startConfigured(program, config::defaultFileBytes());
        QVERIFY(main.mnuSoundOn->isChecked());
        QVERIFY(!program.settings.gSoundOn);
        main.mnuSoundOn->trigger();
        QVERIFY(!main.mnuSoundOn->isChecked());
        QVERIFY(!program.settings.gSoundOn);
        main.mnuSoundOn->trigger();
        QVERIFY(main.mnuSoundOn->isChecked());
        QVERIFY(program.settings.gSoundOn);
    }

    void soundOffSilencesTheExit() {
        Program program;
        auto& main = startConfigured(program, config::defaultFileBytes());
        main.mnuSoundOn->trigger();
        main.exitProgram();
        QCOMPARE(program.log, (CallLog{"music stop", "music close", "end"}));
    }
};

QTEST_MAIN(MediaTest)
#include "media_test.moc"
