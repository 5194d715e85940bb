#include "browse/diz.h"

#include <gtest/gtest.h>

namespace spindeck::browse {
namespace {

TEST(DizShownTest, DropsTheLastTwoCharacters) {
    EXPECT_EQ(dizShown("Hello\r\n", 7), "Hello");
    EXPECT_EQ(dizShown("ab", 2), "") << "exactly 2 bytes show an empty box";
    EXPECT_EQ(dizShown("a", 1), "") << "shorter files show nothing, not an old text";
    EXPECT_EQ(dizShown("", 0), "");
}

TEST(DizShownTest, CapsLongFilesWithAMarker) {
    const std::string justFits(kDizCap + 1, 'x');
    EXPECT_EQ(dizShown(justFits, justFits.size()), std::string(kDizCap - 1, 'x')) << "40000 + 1 bytes: no marker";
    const std::string tooLong(kDizCap + 2, 'y');
    EXPECT_EQ(dizShown(std::string_view(tooLong).substr(0, kDizCap), tooLong.size()),
              std::string(kDizCap, 'y') + "\r\n---File Too Long: Truncated---");
}

} // namespace
} // namespace spindeck::browse
