#include "oemstream.h"

#include "codepage.h"

namespace spindeck::platform {

std::u16string OemStreamDecoder::decode(std::string_view bytes) {
    std::string piece;
    piece.reserve(bytes.size() + 1);
    if (m_pendingCr) {
        piece += '\r';
    }
    piece += bytes;
    m_pendingCr = !piece.empty() && piece.back() == '\r';
    if (m_pendingCr) {
        piece.pop_back();
    }
    return oemTextForDisplay(piece);
}

std::u16string OemStreamDecoder::finish() {
    const bool pending = m_pendingCr;
    m_pendingCr = false;
    return pending ? std::u16string(1, u'\n') : std::u16string();
}

} // namespace spindeck::platform
