#include "Lfo.h"

#include "dsp/BeatTranslator.h"

#include <algorithm>
#include <cmath>
#include <limits>

float lfoRateForBlock (const ParameterSnapshot& snapshot, float msPerBar) noexcept
{
    if (snapshot.lfoHighRateMode)
        return snapshot.lfoHighRate;

    if (snapshot.lfoSync)
    {
        const int index = std::clamp (snapshot.lfoSyncedRateIndex, 0, 21);
        const float div = oskv::BeatTranslator::beatDivTableExtended[index];
        return 1000.0f / (msPerBar / div);
    }

    return snapshot.lfoRate;
}

float lfoPhaseIncrementFor (double inverseSampleRate, float rateHz) noexcept
{
    const float increment = (float) inverseSampleRate * rateHz;

    if (increment >= 0.0f && increment < 1.0f)
        return increment;

    // NaN and negative rates stop the LFO; a cycle shorter than one sample cannot be drawn.
    return increment >= 1.0f ? 1.0f - std::numeric_limits<float>::epsilon() : 0.0f;
}

bool isSteppedRandomWave (int wave) noexcept
{
    return wave == 5 || wave == 6;
}

void renderLfo (const std::vector<float>& table,
                bool steppedRandom,
                float phaseIncrement,
                float& phase,
                float& previousPhase,
                int& randomStepIndex,
                float* destination,
                int numSamples) noexcept
{
    const int L = (int) table.size();

    if (L == 0)
        return;

    const float length = (float) L;
    const float* t = table.data();

    float currentPhase = phase;
    float prev = previousPhase;
    int stepIndex = randomStepIndex;

    for (int i = 0; i < numSamples; ++i)
    {
        const float old = currentPhase;
        const float next = phaseIncrement + old;
        currentPhase = next >= 1.0f ? (float) ((double) next - 1.0) : next;

        float pos = steppedRandom ? (float) stepIndex * 0.0009765625f * length
                                  : old * length;

        if (! (pos < length))
            pos = length - 1.0f;

        const int idx = (int) std::floor (pos);
        const float lower = t[idx];
        const float upper = idx >= L - 1 ? t[0] : t[idx + 1];
        const float v = (upper - lower) * (pos - (float) idx) + lower;

        // The index moves on the sample after the wrap, so the value read on that sample
        // still comes from the old index.
        if (prev > old)
            stepIndex = stepIndex >= 1023 ? 0 : stepIndex + 1;

        prev = old;
        destination[i] = (v + 1.0f) * 0.5f;
    }

    phase = currentPhase;
    previousPhase = prev;
    randomStepIndex = stepIndex;
}
