// QRV.TXT from any bytes: the description and install header, the install section, and the batch
// file made from it.

#include "script/batchfile.h"
#include "script/qrvtxt.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace spindeck::script;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const QrvDescription description = describe(bytes);
    // The description is what stands before the header, so it is never longer than the file and
    // its missing last line end.
    if (description.text.size() > bytes.size() + 2) {
        std::abort();
    }
    const auto script = installScript(bytes);
    // An install section follows a header, so the description must have found one.
    if (script && !description.installName) {
        std::abort();
    }
    if (script) {
        for (const std::string& line : *script) {
            (void)installNameOf(line);
        }
        const std::string batch =
            batchFileBytes("D:\\DEMO", *script, [](std::string_view line) { return std::string(line); });
        if (batch.size() < 4 || batch.substr(batch.size() - 2) != "\r\n") {
            std::abort();
        }
    }
    return 0;
}
