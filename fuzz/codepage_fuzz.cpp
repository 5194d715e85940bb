// The code page 437 and Windows-1252 decoders on any bytes, and the Windows-1252 round trip that the
// batch editor relies on: every byte read comes back as it was.

#include "platform/codepage.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

using namespace spindeck::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::u16string display = oemTextForDisplay(bytes);
    if (display.size() > bytes.size()) {
        std::abort();
    }
    const std::u16string text = ansiText(bytes);
    if (text.size() != bytes.size() || ansiBytes(text) != bytes) {
        std::abort();
    }
    // Text typed by the user may hold any UTF-16, unpaired surrogates included.
    std::u16string typed(size / 2, u'\0');
    std::memcpy(typed.data(), data, typed.size() * sizeof(char16_t));
    (void)ansiBytes(typed);
    return 0;
}
