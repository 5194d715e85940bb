#pragma once

// Output of a program that arrives in pieces, decoded as the DOS screen shows it (codepage.h).
// A line end may be split between two pieces: a CR at the end of a piece is held back until the
// next piece tells whether an LF follows, so that CR LF gives one line end, not two.

#include <string>
#include <string_view>

namespace spindeck::platform {

class OemStreamDecoder final {
public:
    // The text of the next piece; line ends become LF.
    [[nodiscard]] std::u16string decode(std::string_view bytes);
    // What was held back, at the end of the stream.
    [[nodiscard]] std::u16string finish();

private:
    bool m_pendingCr = false;
};

} // namespace spindeck::platform
