#pragma once

// QRV.TXT, the description and install script a disc's author places in a program's directory:
// description lines, then an install header "[INSTALL name]" (marker matched without regard to
// case, anywhere in the line), then the script. Lines end at CR, CR LF or a lone LF.

#include <optional>
#include <string>
#include <string_view>

namespace spindeck::script {

inline constexpr std::string_view kInstallMarker = "[INSTALL ";

// The install name a line announces, in the line's own case: from after the first marker up to
// the first "]" after it, or to the end of the line when there is none. nullopt for a line without
// the marker.
[[nodiscard]] std::optional<std::string> installNameOf(std::string_view line);

struct QrvDescription {
    std::string text; // every line before the header, each followed by CR LF
    std::optional<std::string> installName;
};

// Splits the file at its first install header. Linear in the file's size.
[[nodiscard]] QrvDescription describe(std::string_view bytes);

} // namespace spindeck::script
