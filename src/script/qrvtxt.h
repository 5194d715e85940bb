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
    // Every line before the header with its own line end; a last line without one gets CR LF.
    std::string text;
    std::optional<std::string> installName;
};

// Splits the file at its first install header. Takes the bytes so that a file without header
// becomes its description without a copy; linear in the file's size.
[[nodiscard]] QrvDescription describe(std::string bytes);

} // namespace spindeck::script
