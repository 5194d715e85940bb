#include "config/conversions.h"

#include <cmath>
#include <gtest/gtest.h>

namespace spindeck::config {
namespace {

struct NumberCase {
    std::string_view name;
    std::string_view value;
    std::optional<double> strict; // nullopt: a conversion error
    double lenient;
};

class NumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberTest, ReadsStrictAndLenientNumbers) {
    const auto& c = GetParam();
    EXPECT_EQ(strictNumber(c.value), c.strict);
    EXPECT_EQ(lenientNumber(c.value), c.lenient);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, NumberTest,
    ::testing::Values(NumberCase{"hex", "&HC", 12.0, 12.0}, NumberCase{"hex_lower_case", "&hff", 255.0, 255.0},
                      NumberCase{"spaces_around", " 12 ", 12.0, 12.0},
                      NumberCase{"trailing_letters", "12abc", std::nullopt, 12.0},
                      NumberCase{"letters_only", "abc", std::nullopt, 0.0},
                      NumberCase{"sign_and_decimals", "-2.5", -2.5, -2.5}, NumberCase{"plus_sign", "+7", 7.0, 7.0},
                      NumberCase{"leading_point", ".5", 0.5, 0.5}, NumberCase{"trailing_point", "3.", 3.0, 3.0},
                      NumberCase{"exponent", "1.5E2", 150.0, 150.0}, NumberCase{"negative_exponent", "25e-1", 2.5, 2.5},
                      NumberCase{"exponent_without_digits", "1e", std::nullopt, 1.0},
                      NumberCase{"blanks_inside", "1 2", std::nullopt, 12.0},
                      NumberCase{"tab_is_not_trimmed_by_strict", "\t5", std::nullopt, 5.0},
                      NumberCase{"hex_without_digits", "&H", std::nullopt, 0.0},
                      NumberCase{"two_points", "1.2.3", std::nullopt, 1.2},
                      NumberCase{"sign_alone", "-", std::nullopt, 0.0},
                      NumberCase{"overflow", "1e999", std::nullopt, 0.0}, NumberCase{"empty", "", std::nullopt, 0.0}),
    [](const auto& row) { return std::string(row.param.name); });

struct IntegerCase {
    std::string_view name;
    double number;
    std::optional<int> expected;
};

class IntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTest, RoundsHalvesToEvenWithinSixteenBits) {
    EXPECT_EQ(toInteger(GetParam().number), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rounding, IntegerTest,
    ::testing::Values(IntegerCase{"half_down_to_even", 2.5, 2}, IntegerCase{"half_up_to_even", 3.5, 4},
                      IntegerCase{"negative_half_to_even", -2.5, -2}, IntegerCase{"negative_odd_half", -3.5, -4},
                      IntegerCase{"below_half", 2.49, 2}, IntegerCase{"above_half", 2.51, 3},
                      IntegerCase{"upper_limit", 32767.0, 32767}, IntegerCase{"lower_limit", -32768.0, -32768},
                      IntegerCase{"rounds_past_upper_limit", 32767.5, std::nullopt},
                      IntegerCase{"rounds_to_lower_limit", -32768.5, -32768},
                      IntegerCase{"past_lower_limit", -32769.0, std::nullopt},
                      IntegerCase{"not_finite", INFINITY, std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ColourTest, MapsTheSixteenColourChart) {
    EXPECT_EQ(colourOf(0), (Rgb{0, 0, 0}));
    EXPECT_EQ(colourOf(4), (Rgb{128, 0, 0}));
    EXPECT_EQ(colourOf(7), (Rgb{192, 192, 192}));
    EXPECT_EQ(colourOf(8), (Rgb{128, 128, 128}));
    EXPECT_EQ(colourOf(12), (Rgb{255, 0, 0}));
    EXPECT_EQ(colourOf(15), (Rgb{255, 255, 255}));
    EXPECT_EQ(colourOf(-1), std::nullopt);
    EXPECT_EQ(colourOf(16), std::nullopt);
}

struct BooleanCase {
    std::string_view name;
    std::string_view value;
    std::optional<bool> expected;
};

class BooleanTest : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(BooleanTest, AcceptsWordsAndNumbers) {
    EXPECT_EQ(toBoolean(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Forms, BooleanTest,
                         ::testing::Values(BooleanCase{"true_upper", "TRUE", true},
                                           BooleanCase{"false_mixed_case", "False", false},
                                           BooleanCase{"true_with_spaces", " true ", true},
                                           BooleanCase{"zero", "0", false}, BooleanCase{"minus_one", "-1", true},
                                           BooleanCase{"fraction", "0.5", true}, BooleanCase{"hex_zero", "&H0", false},
                                           BooleanCase{"yes_is_not_a_boolean", "yes", std::nullopt},
                                           BooleanCase{"number_with_letters", "1x", std::nullopt}),
                         [](const auto& row) { return std::string(row.param.name); });

} // namespace
} // namespace spindeck::config
