#pragma once

// Tag substitution for the lines of an install script. Outside tags a line is upper-cased; a tag
// runs from "<" to the next ">" (or the line's end) and is matched in upper case:
//   <PATH>       the short form of the install path without its trailing backslash, lower case
//   <TEMP>       the same followed by ".qrv": a scratch directory beside the install directory
//   <GOTO PATH>  nothing; the program's current drive and directory become the install path
//   <GOTO TEMP>  nothing; likewise (the install path, not the scratch directory)
// Any other tag comes back upper-cased as written.

#include "platform/dosfs.h"

#include <string>
#include <string_view>

namespace spindeck::script {

inline constexpr std::string_view kNoShortForm = "<DOS filename can not be determined>";

// `installPath` is the install window's "Currently Selected Path", ending in a backslash. The GOTO
// tags change `files`' current drive and directory as the line is converted.
[[nodiscard]] std::string SubstituteTags(std::string_view line, std::string_view installPath,
                                         platform::DosFileSystem& files);

} // namespace spindeck::script
