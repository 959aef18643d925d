#pragma once

#include "dsp/ParameterSnapshot.h"

#include <vector>

/** The LFO's rate for one block in Hz: high-rate mode wins over sync, sync over the free rate.
    A synced rate is `div` cycles per four-beat bar of msPerBar milliseconds. */
float lfoRateForBlock (const ParameterSnapshot& snapshot, float msPerBar) noexcept;

/** The per-sample phase increment for a rate. Only rates beyond the sample rate (absurd
    host tempos) fall outside 0..1; they are pinned there so the phase itself stays in 0..1. */
float lfoPhaseIncrementFor (double inverseSampleRate, float rateHz) noexcept;

/** True for the two random waves, which hold one table value per LFO cycle. */
bool isSteppedRandomWave (int wave) noexcept;

/** Writes numSamples LFO values, 0..1, reading `table` with linear interpolation, or for the
    stepped random waves at randomStepIndex. The phase, the previous sample's phase and the
    random index are the processor's own members; they advance here. */
void renderLfo (const std::vector<float>& table,
                bool steppedRandom,
                float phaseIncrement,
                float& phase,
                float& previousPhase,
                int& randomStepIndex,
                float* destination,
                int numSamples) noexcept;
