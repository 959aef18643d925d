#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

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

namespace oskv
{
/** Nearest integer of a plain value, halves going to the even neighbour. Values far
    outside every parameter range are pinned so the conversion stays defined. */
inline int nearestInteger (float value) noexcept
{
    const double v = (double) value;

    if (! std::isfinite (v))
        return v > 0.0 ? std::numeric_limits<int>::max() : std::numeric_limits<int>::min();

    return (int) std::nearbyint (std::clamp (v, -2.0e9, 2.0e9));
}
} // namespace oskv
