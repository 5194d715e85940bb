#include "shell/transcript.h"
#include "shell_fixture.h"

namespace spindeck::shell::testing {
namespace {

namespace fs = std::filesystem;

TEST(Transcript, OneFilePerRunNamedByTheStartEvenWithinOneSecond) {
    ScratchDir scratch;
    RecordingConsole inner;
    const auto start = std::chrono::system_clock::now();
    std::string problem;
    const auto first = TranscriptConsole::open(inner, scratch / "state" / "spindeck", start, problem);
    const auto second = TranscriptConsole::open(inner, scratch / "state" / "spindeck", start, problem);
    ASSERT_TRUE(first && second) << problem;
    EXPECT_EQ(first->path().filename(), transcriptFileName(start));
    EXPECT_NE(first->path(), second->path());

    first->commandStarted("COPY A B");
    first->write("        1 file(s) copied\n");
    first->writeError("File not found - B");
    first->flush();
    EXPECT_EQ(readText(first->path()), "> COPY A B\n        1 file(s) copied\n! File not found - B\n");
    EXPECT_EQ(inner.out, "        1 file(s) copied\n");
    EXPECT_EQ(inner.err, "File not found - B\n");
}

TEST(Transcript, LivesInTheStateDirectory) {
    const platform::testing_support::ScopedEnv state("XDG_STATE_HOME", std::string("/var/tmp/state"));
    EXPECT_EQ(transcriptDirectory(), fs::path("/var/tmp/state/spindeck"));
    const platform::testing_support::ScopedEnv noState("XDG_STATE_HOME", std::nullopt);
    const platform::testing_support::ScopedEnv home("HOME", std::string("/home/someone"));
    EXPECT_EQ(transcriptDirectory(), fs::path("/home/someone/.local/state/spindeck"));
}

TEST(Transcript, AFolderThatCannotBeMadeIsReported) {
    ScratchDir scratch;
    writeText(scratch / "file", "not a folder");
    RecordingConsole inner;
    std::string problem;
    EXPECT_EQ(TranscriptConsole::open(inner, scratch / "file" / "spindeck", std::chrono::system_clock::now(), problem),
              nullptr);
    EXPECT_NE(problem.find("cannot write the transcript"), std::string::npos) << problem;
}

} // namespace
} // namespace spindeck::shell::testing
