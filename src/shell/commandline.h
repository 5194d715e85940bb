#pragma once

// The text rules of a command line, without running anything: batch lines split from a file's
// bytes, %-expansion, the split at "|" with the redirections taken out wherever they stand, the
// command word, and arguments. The interpreter (interpreter.h) runs what these give it.

#include "platform/expected.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::shell {

// Longest batch line that is run; a longer one ends the batch file with a message.
inline constexpr std::size_t kMaxBatchLine = 8191;

struct BatchTextError {
    std::size_t line = 0; // 1-based
    std::string reason;
};

// The lines of a batch file: text after ^Z (0x1A) is ignored, and CR LF, LF and a lone CR each
// end a line. A NUL byte or a line longer than kMaxBatchLine means the file is not a batch file.
Expected<std::vector<std::string>, BatchTextError> splitBatchLines(std::string_view bytes);

// Looks an environment variable up by its upper-case name.
using VariableLookup = std::function<std::optional<std::string>(std::string_view upperName)>;

// Batch-line expansion: "%%" gives "%", "%0" to "%9" the parameters (missing ones are empty),
// "%NAME%" the variable (undefined ones are empty), and a "%" without a closing one is dropped.
[[nodiscard]] std::string expandPercents(std::string_view line, const std::vector<std::string>& parameters,
                                         const VariableLookup& lookup);

struct Redirections {
    std::optional<std::string> input;  // "<"
    std::optional<std::string> output; // ">" or ">>"
    bool append = false;
};

struct PipelineStage {
    std::string text; // the command with its redirections taken out
    Redirections redirections;
};

// Splits at "|" and takes the redirections out of each stage wherever they stand
// ("copy >nul a b" redirects like "copy a b >nul"). Nullopt for a redirection without a target or
// a "|" without a command on either side.
[[nodiscard]] std::optional<std::vector<PipelineStage>> splitPipeline(std::string_view line);

struct CommandWord {
    std::string name; // upper case
    std::string tail; // the rest, starting with the character that ended the name
};

// The name of an internal command ends at a blank or at any of , ; = / \ . + " [ so that "CD..",
// "CD\", "ECHO." and "COPY/B" name CD, ECHO and COPY.
[[nodiscard]] CommandWord internalCommandWord(std::string_view text);
// The name of a program or batch file ends only at a blank or a "/" ("C:\NOS\LHA", "SETUP.EXE").
[[nodiscard]] CommandWord programWord(std::string_view text);

// Arguments of an internal command: separated by blanks, tabs, commas, semicolons and "="; a "/"
// starts a new argument even without a blank ("*.*/S"), "+" is an argument of its own, and text in
// double quotes is one argument without its quotes.
[[nodiscard]] std::vector<std::string> splitArguments(std::string_view tail);

// Parameters of a batch file as DOS splits them: at blanks, tabs, commas, semicolons and "=".
[[nodiscard]] std::vector<std::string> splitParameters(std::string_view tail);

[[nodiscard]] bool isBlank(char c);
[[nodiscard]] std::string_view trimBlanks(std::string_view text);

} // namespace spindeck::shell
