#pragma once

// The demo disc's media, as we designed them: a jingle for each cue, a short piece of music for
// the background and a second's worth of it for tests, the logo, and the program's icon.

#include "bmp.h"
#include "png.h"
#include "synth.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace spindeck::mkmedia {

inline constexpr int kCueSampleRate = 22050;

// The cue names: start, exit, diz, qrv, diznqrv, inst.
[[nodiscard]] const std::vector<std::string_view>& cueKinds();
// The tones of one cue; nullopt for a name that is not a cue.
[[nodiscard]] std::optional<std::vector<Tone>> cueTones(std::string_view kind);

// A General MIDI file of about 26 seconds: a melody over chords and a bass line, in format 1.
[[nodiscard]] std::string demoSong();
// A General MIDI file of one second, in format 0.
[[nodiscard]] std::string shortSong();

// The logo at the given size: a stack of discs on a spindle over a blue-green gradient.
[[nodiscard]] Image logo(int width, int height);

// The program's icon, side by side pixels: the logo's scene on a square with rounded corners.
[[nodiscard]] TranslucentImage icon(int side);

} // namespace spindeck::mkmedia
