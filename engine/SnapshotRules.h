#pragma once

#include <cmath>

/** A decibel parameter as a linear gain; -70 dB and below is silence, exactly. */
inline float decibelsToGain (float decibels) noexcept
{
    return decibels > -70.0f ? std::pow (10.0f, 0.05f * decibels) : 0.0f;
}

/** Switch parameters are on from the middle of their 0..1 range. */
inline bool switchIsOn (float value) noexcept
{
    return value >= 0.5f;
}
