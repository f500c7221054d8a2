#pragma once

#include <cstdint>
#include <vector>

#include "recipe.h"

namespace synth {

// The game's audio device runs at this rate; making the files at it spares
// the mixer a resampling step.
constexpr int kRate = 22050;

// The recipe played into 16-bit mono samples: exactly its length long,
// starting and ending at zero, without DC, its loudest sample at its peak level.
std::vector<std::int16_t> render(const cRecipe& recipe);

} // namespace synth
