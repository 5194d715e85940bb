#include "audiofixture.h"
#include "mkmedia/designs.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace spindeck::platform::audio {
namespace {

using namespace testing_support;

// Runs the Qt event loop for a while, so that timers fire.
void runEvents(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

class MusicTest : public AudioTest {
protected:
    explicit MusicTest(const char* driver = "disk") : AudioTest(driver) {
        writeText(m_c / "MUSIC/SHORT.MID", mkmedia::shortSong());
        writeText(m_c / "MUSIC/SONG.MID", mkmedia::demoSong());
        m_music.emplace(m_audio, *m_files);
        m_music->setDeviceType("Sequencer");
    }
    void closeAudio() override { m_music.reset(); }

    static inline int s_argc = 1;
    static inline char s_name[] = "musiccontrol_test";
    static inline char* s_argv[] = {s_name, nullptr};
    QCoreApplication m_application{s_argc, s_argv};
    std::optional<SdlMusicControl> m_music;
};

// Measured: FluidSynth reports the end about 2.7 s after the last note-off (its release tail).
TEST_F(MusicTest, PlaysOnceToTheEndThenStopsAndCanStartAgain) {
    m_music->setFileName("C:\\MUSIC\\short.mid");
    EXPECT_EQ(m_music->fileName(), "C:\\MUSIC\\short.mid");
    EXPECT_EQ(m_music->mode(), MusicControl::kNotOpen);
    m_music->command("open");
    EXPECT_EQ(m_music->mode(), MusicControl::kStopped);
    m_music->command("play");
    EXPECT_EQ(m_music->mode(), MusicControl::kPlaying);

    const auto start = std::chrono::steady_clock::now();
    while (m_music->mode() == MusicControl::kPlaying && secondsSince(start) < 15) {
        pause(0.05);
    }
    EXPECT_EQ(m_music->mode(), MusicControl::kStopped);
    EXPECT_GT(secondsSince(start), 0.8);
    EXPECT_LT(secondsSince(start), 10.0);

    m_music->command("Play"); // the window restarts the piece this way; words in any case
    EXPECT_EQ(m_music->mode(), MusicControl::kPlaying);
    m_music->command("close");
    EXPECT_EQ(m_music->mode(), MusicControl::kNotOpen);

    // The SoundFont was found: the notes were really rendered.
    const Heard heard = closeAndListen();
    ASSERT_TRUE(heard.first) << "the music was not heard";
    EXPECT_GT(heard.span(), 0.8);
    EXPECT_EQ(m_reports, std::vector<std::string>());
}

TEST_F(MusicTest, StopHaltsAndCloseFrees) {
    m_music->setFileName("C:\\MUSIC\\SONG.MID");
    m_music->command("play"); // not open yet: nothing happens
    EXPECT_EQ(m_music->mode(), MusicControl::kNotOpen);
    m_music->command("open");
    m_music->command("play");
    EXPECT_EQ(m_music->mode(), MusicControl::kPlaying);
    m_music->command("stop");
    EXPECT_EQ(m_music->mode(), MusicControl::kStopped);
    m_music->command("play");
    m_music->command("open"); // already open: changes nothing
    EXPECT_EQ(m_music->mode(), MusicControl::kPlaying);
    m_music->command("close");
    EXPECT_EQ(m_music->mode(), MusicControl::kNotOpen);
    m_music->command("stop");
    EXPECT_EQ(m_music->mode(), MusicControl::kNotOpen);
    m_music->command("open");
    EXPECT_EQ(m_music->mode(), MusicControl::kStopped);
    EXPECT_EQ(m_reports, std::vector<std::string>());
}

struct UnopenableCase {
    const char* label;
    const char* dosPath;
    const char* reason; // in the reported line
};

void PrintTo(const UnopenableCase& row, std::ostream* out) {
    *out << row.label;
}

class UnopenableMusicTest : public MusicTest, public testing::WithParamInterface<UnopenableCase> {};

TEST_P(UnopenableMusicTest, StaysNotOpenAndReportsOneLine) {
    writeText(m_c / "MUSIC/NOTES.MID", "These are not notes.\r\n");
    writeText(m_c / "MUSIC/BROKEN.MID", "MThd but not really");
    // The short song with its only track cut off in the middle.
    const std::string song = mkmedia::shortSong();
    writeText(m_c / "MUSIC/CUT.MID", song.substr(0, song.size() - 10));
    // Three tracks announced, one present.
    writeText(m_c / "MUSIC/TRACKS.MID", song.substr(0, 11) + '\3' + song.substr(12));
    m_music->setFileName(GetParam().dosPath);
    m_music->command("open");
    m_music->command("play");
    EXPECT_EQ(m_music->mode(), MusicControl::kNotOpen);
    ASSERT_EQ(m_reports.size(), 1U);
    EXPECT_NE(m_reports[0].find(GetParam().dosPath), std::string::npos) << m_reports[0];
    EXPECT_NE(m_reports[0].find(GetParam().reason), std::string::npos) << m_reports[0];
}

INSTANTIATE_TEST_SUITE_P(Table, UnopenableMusicTest,
                         testing::Values(UnopenableCase{"missing_file", "C:\\MUSIC\\GONE.MID", "file not found"},
                                         UnopenableCase{"text_named_mid", "C:\\MUSIC\\NOTES.MID", "not a MIDI file"},
                                         UnopenableCase{"broken_header", "C:\\MUSIC\\BROKEN.MID", "broken MIDI header"},
                                         UnopenableCase{"track_cut_short", "C:\\MUSIC\\CUT.MID",
                                                        "cut short in track 1"},
                                         UnopenableCase{"tracks_missing", "C:\\MUSIC\\TRACKS.MID", "1 of 3 tracks"},
                                         // A disc without music gives its directory with "\".
                                         UnopenableCase{"directory", "C:\\MUSIC\\", "is a directory"}),
                         RowLabel());

TEST_F(MusicTest, StatusHandlerIsCalledEveryInterval) {
    int calls = 0;
    m_music->onStatusUpdate([&calls] { ++calls; });
    m_music->setUpdateInterval(20);
    runEvents(400);
    EXPECT_GE(calls, 4);
    EXPECT_LE(calls, 25);

    m_music->setUpdateInterval(0);
    const int before = calls;
    runEvents(100);
    EXPECT_EQ(calls, before);
}

class NoSoundMusicTest : public MusicTest {
protected:
    NoSoundMusicTest() : MusicTest("no-such-driver") {}
};

// Without sound the control never opens, yet the window's status handler keeps its rhythm.
TEST_F(NoSoundMusicTest, NeverOpensAndStillCallsTheHandler) {
    ASSERT_EQ(m_reports.size(), 1U); // "no sound: ..."
    int calls = 0;
    m_music->onStatusUpdate([&calls] { ++calls; });
    m_music->setUpdateInterval(20);
    m_music->setFileName("C:\\MUSIC\\SONG.MID");
    m_music->command("open");
    m_music->command("play");
    EXPECT_EQ(m_music->mode(), MusicControl::kNotOpen);
    runEvents(200);
    EXPECT_GE(calls, 2);
    EXPECT_EQ(m_reports.size(), 1U);
}

} // namespace
} // namespace spindeck::platform::audio
