#pragma once

#include <string>

// The puzzle model names the sound an event makes (a step, a fall, a goal)
// but owns no sound device. Whoever runs the model decides where the cue goes:
// the game sends it to the sound cache, the level tool's search sends it nowhere,
// tests record it.
namespace soundCue {

using Sink = void (*)(const std::string& path);

inline constexpr const char* kStep = "data/sounds/step.wav";
inline constexpr const char* kOhNo = "data/sounds/ohno.wav";
inline constexpr const char* kWin = "data/sounds/win.wav";

// Routes every later cue to `sink`; null silences the model. Returns the previous sink.
Sink setSink(Sink sink);
void play(const std::string& path);

} // namespace soundCue
