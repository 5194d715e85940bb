#pragma once

// The install section of QRV.TXT and the batch file "c:\qrv.bat" made from it: a line that changes
// to the source directory's drive, a line that changes into the source directory, then every
// script line as the tag substitution returns it. Lines end in CR LF.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::script {

inline constexpr std::string_view kBatchFile = "C:\\QRV.BAT";

// The lines after the first install header (lines end at CR, CR LF or a lone LF). nullopt when the
// file has no header or the header is its last line: there is nothing to install.
[[nodiscard]] std::optional<std::vector<std::string>> installScript(std::string_view qrvTxt);

// `selectedDir` is the source directory as the directory list gives it ("D:\DEMO", "D:\").
[[nodiscard]] std::string batchFileBytes(std::string_view selectedDir, const std::vector<std::string>& script,
                                         const std::function<std::string(std::string_view)>& substitute);

} // namespace spindeck::script
