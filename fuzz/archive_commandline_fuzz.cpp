// The archive programs' command lines: any program, any operands, and a directory probe that
// answers from the operand's text.

#include "shell/archive/commandline.h"

#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

using namespace spindeck::shell::archive;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string name = input.ConsumeRandomLengthString(16);
    (void)archiveProgram(name);
    const auto program = static_cast<ArchiveProgram>(input.ConsumeIntegralInRange(0, 5));
    (void)programName(program);
    std::vector<std::string> args;
    while (input.remaining_bytes() > 0 && args.size() < 12) {
        args.push_back(input.ConsumeRandomLengthString(32));
    }
    const auto isDirectory = [](std::string_view path) { return !path.empty() && path.back() == '\\'; };
    (void)parseCommandLine(program, args, isDirectory);
    return 0;
}
