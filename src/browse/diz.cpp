#include "diz.h"

namespace spindeck::browse {

std::string dizShown(std::string_view head, std::uint64_t length) {
    if (length < 2) {
        return {};
    }
    if (length - 1 <= kDizCap) {
        return std::string(head.substr(0, static_cast<std::size_t>(length - 2)));
    }
    std::string shown(head.substr(0, kDizCap));
    shown += "\r\n";
    shown += kDizTruncated;
    return shown;
}

} // namespace spindeck::browse
