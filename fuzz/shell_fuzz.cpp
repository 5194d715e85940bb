// The command interpreter's text rules on any batch file: its lines, %-expansion with parameters and
// variables taken from the input, the split at "|" with the redirections taken out, the command
// word and the arguments of every stage.

#include "shell/commandline.h"

#include <cstdint>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

using namespace spindeck::shell;

namespace {

void splitLine(const std::string& line) {
    const auto stages = splitPipeline(line);
    if (!stages) {
        return;
    }
    for (const PipelineStage& stage : *stages) {
        const CommandWord internal = internalCommandWord(stage.text);
        (void)splitArguments(internal.tail);
        const CommandWord program = programWord(stage.text);
        (void)splitParameters(program.tail);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<std::string> parameters;
    for (int i = input.ConsumeIntegralInRange(0, 10); i > 0; --i) {
        parameters.push_back(input.ConsumeRandomLengthString(16));
    }
    const std::string value = input.ConsumeRandomLengthString(32);
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    const auto lines = splitBatchLines(bytes);
    if (!lines) {
        return 0;
    }
    // Every variable has one value, so the expansion meets every kind of text without a table.
    const VariableLookup lookup = [&value](std::string_view name) -> std::optional<std::string> {
        if (name.empty() || name.size() % 3 == 0) {
            return std::nullopt;
        }
        return value;
    };
    for (const std::string& line : *lines) {
        splitLine(expandPercents(line, parameters, lookup));
        splitLine(line);
    }
    return 0;
}
