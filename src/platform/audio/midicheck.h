#pragma once

// SDL_mixer opens any file it takes for MIDI (by its header or its .MID extension) without reading
// it; FluidSynth parses it only when it plays, and a broken file then "plays" for a few
// milliseconds and writes FluidSynth's complaint to standard error, again at every restart. So
// the music control checks the outline of a MIDI file when it opens it.

#include <filesystem>
#include <optional>
#include <string>

namespace spindeck::platform::audio {

// Why FluidSynth could not play the standard MIDI file, or nullopt when its outline is sound: an
// "MThd" header of format 0 or 1 with timing in ticks, then the tracks it announces ("MTrk"
// chunks, other chunks skipped), each complete within the file. Events are not checked.
[[nodiscard]] std::optional<std::string> midiOutlineProblem(const std::filesystem::path& file);

} // namespace spindeck::platform::audio
