#pragma once

/** Per-channel state of the saturating state-variable filter. Only s1 and s2 carry
    from one sample to the next; the others record what the last sample used. */
struct FilterChannelState
{
    float g = 1.0f;
    float h = 1.0f;
    float k = 1.0f;
    float s1 = 0.0f;
    float s2 = 1.0f;
    float R = 1.0f;
};
