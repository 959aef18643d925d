#pragma once

/** One-pole DC blocker: previous input, previous output and pole. */
struct DCBlocker
{
    float x1 = 0.0f;
    float y1 = 0.0f;
    float R = 0.0f;
};
