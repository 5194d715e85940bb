#pragma once

// The errorlevels the archive commands return; the numbers are those the DOS unzip program used,
// so a batch file's "IF ERRORLEVEL" tests read the same for every archive program here.

namespace spindeck::shell::archive::errorlevel {

inline constexpr int kSuccess = 0;
inline constexpr int kWarning = 1; // an entry was refused or could not be written; the others were
inline constexpr int kDamaged = 3;
inline constexpr int kArchiveNotFound = 9;
inline constexpr int kBadCommandLine = 10;
inline constexpr int kNothingToExtract = 11;
inline constexpr int kDiskFull = 50;

} // namespace spindeck::shell::archive::errorlevel
