#pragma once

/** Polynomial stand-in for cos(theta) on 0..pi/2: exactly 1 at 0, 4.76837158203125e-06 at pi/2. */
inline float equalPowerWeight (float theta) noexcept
{
    const float t = theta * theta;
    return ((t * 0.03705f) + (-0.4967f)) * t + 1.0f;
}

/** Weight of the processed signal for a dry/wet value w (1 = all processed). */
inline float processedWeight (float w) noexcept
{
    return equalPowerWeight ((float) ((1.0 - (double) w) * 1.5707963267948966));
}

/** Weight of the dry signal for a dry/wet value w. */
inline float dryWeight (float w) noexcept
{
    return equalPowerWeight ((float) ((double) w * 1.5707963267948966));
}

/** The output gain acts on the processed signal only, never on the dry one. */
inline float mixDryWet (float processed, float dry, float outGain, float w) noexcept
{
    const float p = outGain * processed;
    return processedWeight (w) * p + dryWeight (w) * dry;
}
