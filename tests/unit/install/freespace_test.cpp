#include "install/freespace.h"

#include <gtest/gtest.h>

namespace spindeck::install {
namespace {

struct FreeSpaceCase {
    std::uint64_t bytes;
    std::string_view atSetUp;
    std::string_view afterDriveChange;
};

class FreeSpaceTest : public ::testing::TestWithParam<FreeSpaceCase> {};

TEST_P(FreeSpaceTest, ShowsBothPatterns) {
    const auto& c = GetParam();
    EXPECT_EQ(freeSpaceLine("c: [DOS]", c.bytes, FreeSpacePattern::SetUp, "."), c.atSetUp);
    EXPECT_EQ(freeSpaceLine("c: [DOS]", c.bytes, FreeSpacePattern::DriveChange, "."), c.afterDriveChange);
}

INSTANTIATE_TEST_SUITE_P(Bytes, FreeSpaceTest,
                         ::testing::Values(
                             // The examples the window's behaviour is defined by.
                             FreeSpaceCase{512'345'678, "Drive C:= 512.35 Megs", "Drive C:= 500.34 Megs"},
                             FreeSpaceCase{12'000'000, "Drive C:= 12. Megs", "Drive C:= 11.72 Megs"},
                             FreeSpaceCase{250'000, "Drive C:= .25 Megs", "Drive C:= 0.24 Megs"},
                             FreeSpaceCase{0, "Drive C:= . Megs", "Drive C:= 0.00 Megs"},
                             // One trailing zero dropped; rounding that carries into the whole part.
                             FreeSpaceCase{1'500'000, "Drive C:= 1.5 Megs", "Drive C:= 1.46 Megs"},
                             FreeSpaceCase{999'999, "Drive C:= 1. Megs", "Drive C:= 0.98 Megs"},
                             FreeSpaceCase{1'023'999, "Drive C:= 1.02 Megs", "Drive C:= 1.00 Megs"},
                             // Past the 32-bit limits: 3 GiB and 5 TiB.
                             FreeSpaceCase{3'221'225'472, "Drive C:= 3221.23 Megs", "Drive C:= 3145.73 Megs"},
                             FreeSpaceCase{5'497'558'138'880, "Drive C:= 5497558.14 Megs",
                                           "Drive C:= 5368709.12 Megs"}),
                         [](const auto& row) { return std::to_string(row.param.bytes); });

TEST(FreeSpaceLineTest, TakesTheDriveFromTheListTextAndTheSystemsDecimalSeparator) {
    EXPECT_EQ(freeSpaceLine("d:", 512'345'678, FreeSpacePattern::DriveChange, ","), "Drive D:= 500,34 Megs");
    EXPECT_EQ(freeSpaceLine("e: [USB STICK]", 250'000, FreeSpacePattern::SetUp, ","), "Drive E:= ,25 Megs");
}

} // namespace
} // namespace spindeck::install
