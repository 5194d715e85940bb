#pragma once

// Lookups with the result the configuration rule gives, shared by the unit test of the lookup and
// the test of spindeck-ini get. Each file is given as its raw bytes.

#include <ostream>
#include <string_view>

namespace spindeck::config::testing {

struct LookupCase {
    std::string_view name;
    std::string_view file;
    std::string_view key;
    std::string_view expected;
};

inline std::ostream& operator<<(std::ostream& out, const LookupCase& c) {
    return out << c.name;
}

inline constexpr LookupCase kLookupCases[] = {
    {"value_between_equals_and_semicolon", "fBackColor=12;\r\n", "fBackColor", "12"},
    {"empty_value_means_not_set", "fBackColor=;\r\n", "fBackColor", ""},
    {"absent_key", "fForeColor=3;\r\n", "fBackColor", "-1"},
    {"no_semicolon_stops_the_search", "fBackColor=12\r\nfBackColor=3;\r\n", "fBackColor", "-1"},
    {"no_equals_before_the_semicolon", "fBackColor 12;\r\n", "fBackColor", "-1"},
    {"value_ends_at_the_last_semicolon", "tCaption=My Disc; Vol. 2;   note\r\n", "tCaption", "My Disc; Vol. 2"},
    {"value_starts_after_the_last_equals", "tCaption=A=B;\r\n", "tCaption", "B"},
    {"equals_in_the_comment_is_ignored", "sitAlignment=;         Aligns Text: 0=Left 1=Right 2=Center\r\n",
     "sitAlignment", ""},
    {"line_trimmed_value_not", "   tCaption= Hello ;\r\n", "tCaption", " Hello "},
    {"tabs_in_the_value_kept", "tCaption=\tx\t;\r\n", "tCaption", "\tx\t"},
    {"comment_line_captures_the_key", "# change fBackColor below\r\nfBackColor=1;\r\n", "fBackColor", "-1"},
    {"keys_are_case_sensitive", "FBACKCOLOR=1;\r\n", "fBackColor", "-1"},
    {"longer_key_first_captures_the_lookup", "idrFont=Arial;\r\ndrFont=;\r\n", "drFont", "Arial"},
    {"own_line_first_wins_over_longer_key", "drFont=Courier;\r\nidrFont=Arial;\r\n", "drFont", "Courier"},
    {"comment_holding_equals_and_semicolon_moves_the_value", "tCaption=Disc;  a=b; c\r\n", "tCaption", "b"},
    {"cr_only_line_ends", "fForeColor=3;\rfBackColor=7;\r", "fBackColor", "7"},
    {"lf_only_line_ends", "fForeColor=3;\nfBackColor=7;\n", "fBackColor", "7"},
    {"lone_lf_does_not_join_lines", "fBackColor=7\nx;\r\n", "fBackColor", "-1"},
    {"byte_order_mark_is_part_of_the_first_line", "\xEF\xBB\xBFtCaption=Hi;\r\n", "tCaption", "Hi"},
    {"empty_file", "", "fBackColor", "-1"},
    {"no_final_line_end", "fBackColor=5;", "fBackColor", "5"},
    {"value_with_high_bytes_kept", "tCaption=Caf\xE9 \xDB\xDB;\r\n", "tCaption", "Caf\xE9 \xDB\xDB"},
    {"negative_one_written_as_value", "iLeft=-1;\r\n", "iLeft", "-1"},
};

} // namespace spindeck::config::testing
