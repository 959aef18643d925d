#pragma once

#include "dsp/SnapshotRules.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace oskv
{
/** A number with at most the given number of decimals: trailing zero decimals are
    dropped while more than one remains, so 50 reads "50.0" and 0.125 reads "0.125". */
inline juce::String numberText (float value, int decimals)
{
    const double v = (double) value;

    if (! std::isfinite (v) || std::abs (v) >= 1.0e15)
        return juce::String (v);

    double scale = 1.0;
    for (int i = 0; i < decimals; ++i)
        scale *= 10.0;

    auto m = (unsigned long long) (std::abs (v) * scale + 0.5);
    int n = decimals;

    while (n >= 2 && m % 10 == 0)
    {
        m /= 10;
        --n;
    }

    auto digits = juce::String (m);

    if (n > 0)
    {
        digits = digits.paddedLeft ('0', n + 1);
        digits = digits.dropLastCharacters (n) + "." + digits.getLastCharacters (n);
    }

    return (v < 0.0 ? "-" : "") + digits;
}

// The value-to-text functions of the parameters; the host and the editor show these texts.

static inline juce::String getDecibelsParameterText (float value)
{
    if (value <= -70.0f)
        return "-INF dB";

    return (value >= 0.0f ? "+" : "") + numberText (value, 2) + " dB";
}

static inline juce::String getPercentParameterText (float value)
{
    return numberText (value, 2) + " %";
}

static inline juce::String getHertzParameterText (float value)
{
    return juce::String (nearestInteger (value)) + " Hz";
}

static inline juce::String getHertzWithDecimalsParameterText (float value)
{
    return numberText (value, 3) + " Hz";
}

static inline juce::String getExtendedSyncedTimeParameterText (float value)
{
    static const char* const names[] = { "8 BARS", "6 BARS", "4 BARS", "3 BARS", "2 BARS", "1 BAR",
                                         "1/2d",   "2/3",    "1/2",    "1/4d",   "1/3",    "1/4",
                                         "1/8d",   "1/8",    "1/16d",  "1/16",   "1/32d",  "1/32",
                                         "1/64d",  "1/64",   "1/128d", "1/128" };

    const int i = nearestInteger (value);
    return juce::isPositiveAndBelow (i, (int) std::size (names)) ? juce::String (names[i]) : juce::String();
}
} // namespace oskv
