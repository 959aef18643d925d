#pragma once

#include <cmath>

/** One-pole DC blocker: previous input, previous output and pole. */
struct DCBlocker
{
    float x1 = 0.0f;
    float y1 = 0.0f;
    float R = 0.0f;

    /** Clears the memory and puts the corner near 126 / (2 pi), about 20 Hz, at any rate. */
    void prepare (double sampleRate) noexcept
    {
        R = (float) (1.0 + (-126.0 / (double) (float) sampleRate));
        x1 = 0.0f;
        y1 = 0.0f;
    }

    float process (float x) noexcept
    {
        const float y = R * y1 + (x - x1);
        x1 = x;
        y1 = y;
        return y;
    }

    void process (float* samples, int numSamples) noexcept
    {
        // Locals, so the memory is not re-read through the sample pointer on every step.
        float px = x1, py = y1;
        const float pole = R;

        for (int i = 0; i < numSamples; ++i)
        {
            const float x = samples[i];
            py = pole * py + (x - px);
            px = x;
            samples[i] = py;
        }

        x1 = px;
        y1 = py;
    }

    /** A NaN or infinity caught in the memory would otherwise stay there for good. */
    void clearIfNotFinite() noexcept
    {
        if (! (std::isfinite (x1) && std::isfinite (y1)))
        {
            x1 = 0.0f;
            y1 = 0.0f;
        }
    }
};
