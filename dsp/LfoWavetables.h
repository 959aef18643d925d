#pragma once

#include "Wavetable.h"

#include <vector>

namespace oskv
{
/** Number of values in every LFO wavetable. */
constexpr int lfoTableLength = 1024;

/** Appends the seven LFO waveforms in wave-parameter order: sine, square, saw up,
    saw down, triangle, random and smooth random. The random ones differ per call. */
void appendLfoWavetables (std::vector<Wavetable<float>>& tables);
} // namespace oskv
