#include "platform/codepage.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace spindeck::platform {
namespace {

std::u16string u16(std::u16string_view text) {
    return std::u16string(text);
}

TEST(OemTextTest, ShowsScreenGlyphsButKeepsLineEndsAndTabs) {
    EXPECT_EQ(oemTextForDisplay("\x01\x03\x0E\x7F"), u16(u"\u263A\u2665\u266B\u2302"));
    EXPECT_EQ(oemTextForDisplay("a\r\nb\rc\nd\te"), u16(u"a\nb\nc\nd\te"));
    EXPECT_EQ(oemTextForDisplay("\xC9\xCD\xBB\xB3\xDB\xB0\xFE"), u16(u"\u2554\u2550\u2557\u2502\u2588\u2591\u25A0"));
    EXPECT_EQ(oemTextForDisplay(std::string_view("\0", 1)), u16(u" "));
    EXPECT_EQ(oemCharacter(0x1A), u'\u2192');
}

TEST(AnsiTextTest, DecodesWindows1252AndKeepsTheUndefinedBytes) {
    EXPECT_EQ(ansiText("\x80\x81\x93\x94\xE9\xFF"), u16(u"\u20AC\u0081\u201C\u201D\u00E9\u00FF"));
}

TEST(AnsiTextTest, EveryByteComesBackAndForeignCharactersBecomeQuestionMarks) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    EXPECT_EQ(ansiBytes(ansiText(all)), all);
    EXPECT_EQ(ansiBytes(u"\u20AC \u2192 \u0080"), "\x80 ? ?");
}

// Real FILE_ID.DIZ files from other people's discs (shared corpus): their box and block art must
// come out as the DOS screen drew it.
struct CorpusCase {
    std::string_view file;
    std::u16string_view expected;
};

class CorpusTest : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusTest, ShowsTheArtAsDrawn) {
    const auto path = std::filesystem::path(SPINDECK_CORPUS) / std::string(GetParam().file);
    if (!std::filesystem::exists(path)) {
        GTEST_SKIP() << "the corpus is not beside the repository: " << path;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::u16string text = oemTextForDisplay(bytes.str());
    EXPECT_NE(text.find(GetParam().expected), std::u16string::npos) << GetParam().file;
}

INSTANTIATE_TEST_SUITE_P(
    Corpus, CorpusTest,
    ::testing::Values(
        CorpusCase{"sceners__evc-quick_2000__File_id.diz", u"\u2554\u2550"},                     // ╔═
        CorpusCase{"sceners__grumpys-source-pack-collection__FILE_ID.DIZ", u"\u2552\u2550"},     // ╒═
        CorpusCase{"sceners__grumpys-source-pack-collection__3DVECT25__FILE_ID.DIZ", u"\u2502"}, // │
        CorpusCase{"Jimvin__BlueBEEP__FILE_ID.DIZ", u"\u2558\u2550"},                            // ╘═
        CorpusCase{"flynnsbit__DOS_Shareware_MyMenu__GAMES__-Demo_Scene__Triton_Collection__ft2_play__FILE_ID.DIZ",
                   u"\u250C\u2500"},                                                                 // ┌─
        CorpusCase{"flynnsbit__DOS_Shareware_MyMenu__PLAYERS__AT2__FILE_ID.DIZ", u"\u250C-\u2500"}), // ┌-─
    [](const auto& row) { return "D" + std::to_string(row.index); });

} // namespace
} // namespace spindeck::platform
