#include "platform/oemstream.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace spindeck::platform {
namespace {

// The whole text a decoder gives for the pieces, its end included.
std::u16string decodeAll(const std::vector<std::string>& pieces) {
    OemStreamDecoder decoder;
    std::u16string text;
    for (const std::string& piece : pieces) {
        text += decoder.decode(piece);
    }
    return text + decoder.finish();
}

TEST(OemStreamDecoderTest, ALineEndSplitBetweenPiecesIsOneLineEnd) {
    EXPECT_EQ(decodeAll({"ONE\r", "\nTWO\r\n"}), u"ONE\nTWO\n");
    EXPECT_EQ(decodeAll({"ONE\r", "", "\n"}), u"ONE\n");
}

TEST(OemStreamDecoderTest, ALoneCrStillEndsALine) {
    EXPECT_EQ(decodeAll({"ONE\r", "TWO"}), u"ONE\nTWO");
    // At the very end of the output, once nothing more can follow.
    EXPECT_EQ(decodeAll({"LAST\r"}), u"LAST\n");
}

TEST(OemStreamDecoderTest, BytesShowAsOnADosScreen) {
    EXPECT_EQ(decodeAll({"\xC9\xCD", "\xBB\x01"}), u"\u2554\u2550\u2557\u263A");
}

TEST(OemStreamDecoderTest, AHeldBackCrIsGivenOnlyOnce) {
    OemStreamDecoder decoder;
    EXPECT_EQ(decoder.decode("A\r"), u"A");
    EXPECT_EQ(decoder.finish(), u"\n");
    EXPECT_EQ(decoder.finish(), u"");
}

} // namespace
} // namespace spindeck::platform
