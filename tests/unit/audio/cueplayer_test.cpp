#include "audiofixture.h"

#include <csignal>
#include <sys/stat.h>

namespace spindeck::platform::audio {
namespace {

using namespace testing_support;

class CuePlayerTest : public AudioTest {
protected:
    CuePlayerTest() { m_cues.emplace(m_audio, *m_files); }
    void closeAudio() override { m_cues.reset(); }

    std::optional<SdlCuePlayer> m_cues;
};

TEST_F(CuePlayerTest, AsyncCueReturnsAtOnceAndIsHeardToItsEnd) {
    writeText(m_c / "SOUNDS/BEEP.WAV", toneWav(0.8));
    EXPECT_GE(m_cues->waveOutGetNumDevs(), 1);

    const auto start = std::chrono::steady_clock::now();
    m_cues->sndPlaySoundA("C:\\SOUNDS\\beep.wav", CuePlayer::kAsync);
    EXPECT_LT(secondsSince(start), 0.4);
    pause(1.2);

    const Heard heard = closeAndListen();
    ASSERT_TRUE(heard.first) << "nothing was heard";
    EXPECT_GT(heard.span(), 0.6);
    EXPECT_LT(heard.span(), 1.0);
    EXPECT_EQ(m_reports, std::vector<std::string>());
}

TEST_F(CuePlayerTest, WaitReturnsWhenTheCueHasEnded) {
    writeText(m_c / "BEEP.WAV", toneWav(0.5));
    const auto start = std::chrono::steady_clock::now();
    m_cues->sndPlaySoundA("C:\\BEEP.WAV", CuePlayer::kWait);
    const double waited = secondsSince(start);
    EXPECT_GT(waited, 0.4);
    EXPECT_LT(waited, 2.5);

    const Heard heard = closeAndListen();
    ASSERT_TRUE(heard.first) << "nothing was heard";
    EXPECT_GT(heard.span(), 0.35);
    EXPECT_EQ(m_reports, std::vector<std::string>());
}

// A program directory at a drive root gives "C:\" + "\" + the file name.
TEST_F(CuePlayerTest, DoubledSeparatorAfterADriveRootStillFindsTheFile) {
    writeText(m_c / "BEEP.WAV", toneWav(0.3));
    m_cues->sndPlaySoundA("C:\\\\BEEP.WAV", CuePlayer::kWait);
    EXPECT_EQ(m_reports, std::vector<std::string>());
}

TEST_F(CuePlayerTest, NewCueCutsOffTheOneStillSounding) {
    writeText(m_c / "LONG.WAV", toneWav(2.0, 330));
    writeText(m_c / "SHORT.WAV", toneWav(0.2, 660));
    m_cues->sndPlaySoundA("C:\\LONG.WAV", CuePlayer::kAsync);
    pause(0.3);
    m_cues->sndPlaySoundA("C:\\SHORT.WAV", CuePlayer::kAsync);
    pause(0.8);

    // Sound from the long cue's start to the short cue's end: about 0.5 s, not 2.
    const Heard heard = closeAndListen();
    ASSERT_TRUE(heard.first) << "nothing was heard";
    EXPECT_GT(heard.span(), 0.35);
    EXPECT_LT(heard.span(), 1.2);
}

struct UnplayableCase {
    const char* label;
    const char* dosPath;
    const char* reason; // in the reported line
};

void PrintTo(const UnplayableCase& row, std::ostream* out) {
    *out << row.label;
}

class UnplayableCueTest : public CuePlayerTest, public testing::WithParamInterface<UnplayableCase> {};

// Verified by ear too: the chime is two bright notes, about 0.3 s.
TEST_P(UnplayableCueTest, SoundsTheDefaultChimeAndReportsOneLine) {
    writeText(m_c / "EMPTY.WAV", "");
    writeText(m_c / "NOTES.WAV", "These are not the sounds you are looking for.\r\n");
    std::filesystem::create_directories(m_c / "SOUNDS");
    ASSERT_EQ(::mkfifo((m_c / "PIPE.WAV").c_str(), 0600), 0);

    m_cues->sndPlaySoundA(GetParam().dosPath, CuePlayer::kWait);

    ASSERT_EQ(m_reports.size(), 1U);
    EXPECT_NE(m_reports[0].find(GetParam().dosPath), std::string::npos) << m_reports[0];
    EXPECT_NE(m_reports[0].find(GetParam().reason), std::string::npos) << m_reports[0];
    const Heard heard = closeAndListen();
    ASSERT_TRUE(heard.first) << "the chime was not heard";
    EXPECT_GT(heard.span(), 0.2);
    EXPECT_LT(heard.span(), 0.6);
}

INSTANTIATE_TEST_SUITE_P(Table, UnplayableCueTest,
                         testing::Values(UnplayableCase{"missing_file", "C:\\GONE.WAV", "file not found"},
                                         UnplayableCase{"missing_folder", "C:\\GONE\\X.WAV", "path not found"},
                                         UnplayableCase{"empty_file", "C:\\EMPTY.WAV", "the default chime"},
                                         UnplayableCase{"text_file", "C:\\NOTES.WAV", "the default chime"},
                                         UnplayableCase{"directory", "C:\\SOUNDS\\", "is a directory"},
                                         // Opening a pipe would wait for a writer that never comes.
                                         UnplayableCase{"named_pipe", "C:\\PIPE.WAV", "not a regular file"}),
                         RowLabel());

// SDL would otherwise take SIGTERM and SIGINT for a quit event nobody reads.
TEST_F(CuePlayerTest, LeavesTheProgramsSignalsAlone) {
    for (const int signal : {SIGTERM, SIGINT}) {
        struct sigaction action {};
        ASSERT_EQ(::sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

class NoSoundTest : public AudioTest {
protected:
    NoSoundTest() : AudioTest("no-such-driver") {}
};

TEST_F(NoSoundTest, NoDeviceAndCuesDoNothing) {
    ASSERT_EQ(m_reports.size(), 1U);
    EXPECT_TRUE(m_reports[0].starts_with("no sound: ")) << m_reports[0];
    SdlCuePlayer cues(m_audio, *m_files);
    EXPECT_EQ(cues.waveOutGetNumDevs(), 0);

    const auto start = std::chrono::steady_clock::now();
    cues.sndPlaySoundA("C:\\GONE.WAV", CuePlayer::kWait);
    EXPECT_LT(secondsSince(start), 0.2);
    EXPECT_EQ(m_reports.size(), 1U);
}

// With no sound card, alsa-lib has its own complaints; only our one line may reach the user.
class NoSoundCardTest : public testing::Test {};

TEST_F(NoSoundCardTest, OpeningWritesNothingToStandardError) {
    const ScopedEnv driver("SDL_AUDIODRIVER", std::string("alsa"));
    std::vector<std::string> reports;
    testing::internal::CaptureStderr();
    const SdlAudio audio([&reports](const std::string& line) { reports.push_back(line); });
    const std::string written = testing::internal::GetCapturedStderr();
    if (audio.isOpen()) {
        GTEST_SKIP() << "this machine has a sound card";
    }
    EXPECT_EQ(written, "");
    EXPECT_EQ(reports.size(), 1U);
}

} // namespace
} // namespace spindeck::platform::audio
