#pragma once

#include "dsp/FilterChannelState.h"

#include <cmath>
#include <limits>

/** What the state-variable filter computes once per block from the resonance and the sample period. */
struct FilterBlockCoefficients
{
    double halfT = 0.0;
    double twoOverT = 0.0;
    double twoR = 0.0;
    float R = 1.0f;
};

/** The four outputs of one filter sample, before their gains. */
struct FilterOutputs
{
    float lp = 0.0f;
    float hp = 0.0f;
    float bp = 0.0f;
    float notch = 0.0f;
};

/** resonance is 0..1 already scaled by the sample-rate factor; Q runs from 0.5 to 10. */
inline FilterBlockCoefficients makeFilterBlockCoefficients (float resonance, double inverseSampleRate) noexcept
{
    const float Q = resonance * resonance * 9.5f + 0.5f;

    FilterBlockCoefficients c;
    // The period goes through float on purpose: that is the precision the design was tuned with.
    const double T = (double) (float) inverseSampleRate;
    c.halfT = T * 0.5;
    c.twoOverT = 2.0 / T;
    c.R = (float) (1.0 / ((double) Q + (double) Q));
    c.twoR = (double) c.R + (double) c.R;
    return c;
}

/** The LFO only opens the filter: depth 1 and LFO output 1 reach targetCutoff. */
inline float modulatedCutoff (float lfoValue, float baseCutoff, float depth, float targetCutoff) noexcept
{
    const float m = lfoValue < 0.0f ? 0.0f : (lfoValue > 1.0f ? 1.0f : lfoValue);
    return (targetCutoff - baseCutoff) * (m * depth) + baseCutoff;
}

/** Highest cutoff the filter accepts at this rate. From 22050 Hz on, the highest cutoff the
    parameters can reach (11000 Hz) keeps the tangent's argument below pi/2, so there is no
    limit; below that rate the cutoff stays under 0.45 x rate, clear of the tangent's pole. */
inline float cutoffLimitFor (double sampleRate) noexcept
{
    if (sampleRate >= 22050.0)
        return std::numeric_limits<float>::infinity();

    return (float) (0.45 * sampleRate);
}

/** One sample through the trapezoidal state-variable filter with a tanh inside the band-pass
    integrator. Coefficients are recomputed per sample because the cutoff moves per sample. */
inline FilterOutputs processFilterSample (FilterChannelState& st,
                                          float x,
                                          float cutoffHz,
                                          const FilterBlockCoefficients& c,
                                          float bandPassSaturationGain) noexcept
{
    const double wd = (double) cutoffHz * 6.283185307179586 * c.halfT;
    const double gd = std::tan (wd) * c.twoOverT * c.halfT;

    st.R = c.R;
    const float h = (float) (1.0 / (gd * gd + (c.twoR * gd + 1.0)));
    st.h = h;
    const float g = (float) gd;
    st.g = g;
    const float k = (float) (gd + c.twoR);
    st.k = k;

    FilterOutputs o;
    o.hp = ((x - k * st.s1) - st.s2) * h;
    const float v = o.hp * g;
    o.bp = std::tanh ((st.s1 + v) * bandPassSaturationGain);
    o.lp = st.s2 + g * o.bp;
    st.s1 = v + o.bp;
    st.s2 = g * o.bp + o.lp;
    o.notch = (float) ((double) o.lp * 0.5 + (double) o.hp * 0.5);
    return o;
}

/** The four outputs summed with their linear gains, in this order. */
inline float mixFilterOutputs (const FilterOutputs& o, float lpfGain, float hpfGain, float bpfGain, float notchGain) noexcept
{
    return ((o.lp * lpfGain + o.hp * hpfGain) + o.bp * bpfGain) + o.notch * notchGain;
}
