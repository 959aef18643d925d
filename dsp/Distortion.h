#pragma once

#include "dsp/HalfBandFilter.h"

#include <juce_core/juce_core.h>

#include <cmath>

/** A blend of soft clipping (tanh, shape 0) and folding (sine, shape 1) of the driven value. */
inline float shapeSample (float y, float driveGain, float shape) noexcept
{
    const float s = y * driveGain;
    const float t = std::tanh (s);
    return (std::sin (s) - t) * shape + t;
}

/** One host-rate sample through the twice-oversampled shaper. The second oversampled input is
    a zero that nothing compensates, so small signals come out at half level. feedbackMemory is
    the section's previous output, mixed in before the up-sampler. */
inline float distortSample (float x,
                            HalfBandFilter& upsampler,
                            HalfBandFilter& downsampler,
                            float& feedbackMemory,
                            float feedback,
                            float driveGain,
                            float shape) noexcept
{
    const float u = feedbackMemory * feedback + x;
    const float y1 = (float) upsampler.process ((double) u);
    const float y2 = (float) upsampler.process (0.0);

    const float w1 = shapeSample (y1, driveGain, shape);
    const float w2 = shapeSample (y2, driveGain, shape);

    const double d = downsampler.process ((double) w1);
    downsampler.process ((double) w2); // only advances the filter; its output is dropped

    feedbackMemory = (float) d;
    return (float) d;
}

/** The distortion of one channel's block; drive and shape are per-sample 0..1 values. */
inline void processDistortion (float* samples,
                               int numSamples,
                               HalfBandFilter& upsampler,
                               HalfBandFilter& downsampler,
                               float& feedbackMemory,
                               float feedback,
                               const float* drive,
                               const float* shape,
                               const juce::NormalisableRange<float>& driveGainRange) noexcept
{
    float memory = feedbackMemory;

    for (int i = 0; i < numSamples; ++i)
        samples[i] = distortSample (samples[i], upsampler, downsampler, memory, feedback,
                                    driveGainRange.convertFrom0to1 (drive[i]), shape[i]);

    feedbackMemory = memory;
}
